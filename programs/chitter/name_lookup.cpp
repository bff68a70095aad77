#include "chitter/name_lookup.h"

#include "win32/real_socket_api.h"

namespace ludora::win32 {

namespace {

DWORD WINAPI LookUp(void* parameter) {
  std::unique_ptr<NameLookup::Answer> answer(static_cast<NameLookup::Answer*>(parameter));
  RealSocketApi sockets;  // gethostbyname's answer is the adapter's own
  if (const ludora::HOSTENT* found = sockets.gethostbyname(answer->host)) {
    for (int i = 0; i < found->count; ++i)
      answer->addresses.push_back(SocketAddress::FromRecord({AF_INET_, 0, found->addresses[i]}).ip);
  }
  const HWND window = answer->window;
  if (::PostMessageA(window, kResolvedMessage, 0, reinterpret_cast<LPARAM>(answer.get())))
    answer.release();
  return 0;
}

}  // namespace

void NameLookup::Resolve(std::uint32_t ticket, const std::string& host) {
  auto answer = std::make_unique<Answer>(Answer{window_, ticket, host, {}});
  DWORD id = 0;
  const HANDLE thread = ::CreateThread(nullptr, 0, LookUp, answer.get(), 0, &id);
  if (!thread) {
    ::PostMessageA(window_, kResolvedMessage, 0, reinterpret_cast<LPARAM>(answer.release()));
    return;
  }
  answer.release();
  ::CloseHandle(thread);
}

}  // namespace ludora::win32
