// Name look-ups on threads of their own: gethostbyname can take seconds, and
// the window must answer meanwhile. Each look-up posts its answer to the
// window; a window gone leaves the answer to be freed with the process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chitter/session.h"
#include "win32/win.h"

namespace ludora::win32 {

inline constexpr UINT kResolvedMessage = WM_APP + 3;

class NameLookup : public chitter::Resolver {
 public:
  struct Answer {
    HWND window;
    std::uint32_t ticket;
    std::string host;
    std::vector<ludora::DWORD> addresses;  // IPv4, host order
  };

  explicit NameLookup(HWND window) : window_(window) {}
  void Resolve(std::uint32_t ticket, const std::string& host) override;
  // The answer a kResolvedMessage carries.
  static std::unique_ptr<Answer> Take(LPARAM lParam) {
    return std::unique_ptr<Answer>(reinterpret_cast<Answer*>(lParam));
  }

 private:
  HWND window_;
};

}  // namespace ludora::win32
