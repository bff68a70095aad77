// Name look-ups on threads of their own: gethostbyname can take seconds, and
// the window must answer meanwhile. Each look-up puts its answer in a queue
// the window reads at kResolvedMessage, which carries nothing; an answer
// that comes after the window has gone is freed with the queue.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chitter/session.h"
#include "win32/posted_queue.h"
#include "win32/win.h"

namespace ludora::win32 {

inline constexpr UINT kResolvedMessage = WM_APP + 3;

class NameLookup : public chitter::Resolver {
 public:
  struct Answer {
    std::uint32_t ticket;
    std::string host;
    std::vector<ludora::DWORD> addresses;  // IPv4, host order
  };

  explicit NameLookup(HWND window)
      : answers_(PostedQueue<Answer>::Make(window, kResolvedMessage)) {}
  void Resolve(std::uint32_t ticket, const std::string& host) override;
  // The answers that came since the last time.
  std::vector<Answer> Take() { return answers_->Take(); }

 private:
  std::shared_ptr<PostedQueue<Answer>> answers_;
};

}  // namespace ludora::win32
