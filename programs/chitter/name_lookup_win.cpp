#include "chitter/name_lookup_win.h"

#include "win32/real_socket_api.h"

namespace ludora::win32 {

namespace {

struct Job {
  std::shared_ptr<PostedQueue<NameLookup::Answer>> answers;
  NameLookup::Answer answer;
};

DWORD WINAPI LookUp(void* parameter) {
  const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
  RealSocketApi sockets;  // gethostbyname's answer is the adapter's own
  if (const ludora::HOSTENT* found = sockets.gethostbyname(job->answer.host)) {
    for (int i = 0; i < found->count; ++i) {
      job->answer.addresses.push_back(
          SocketAddress::FromRecord({AF_INET_, 0, found->addresses[i]}).ip);
    }
  }
  job->answers->Put(std::move(job->answer));
  return 0;
}

}  // namespace

void NameLookup::Resolve(std::uint32_t ticket, const std::string& host) {
  auto job = std::make_unique<Job>(Job{answers_, {ticket, host, {}}});
  DWORD id = 0;
  const HANDLE thread = ::CreateThread(nullptr, 0, LookUp, job.get(), 0, &id);
  if (!thread) return answers_->Put(std::move(job->answer));  // not found, then
  job.release();
  ::CloseHandle(thread);
}

}  // namespace ludora::win32
