#include "lobbyfind/resolver.h"

namespace ludora::lobbyfind {

namespace {

struct Lookup {
  WindowsApi& api;
  std::unique_ptr<SocketApi> sockets;
  HWND window;
  UINT message;
  std::string name;
  int game;
  bool favourite;
};

DWORD LUDORA_WINAPI ResolveName(void* parameter) {
  const std::unique_ptr<Lookup> asked(static_cast<Lookup*>(parameter));
  const auto colon = asked->name.rfind(':');
  if (colon == std::string::npos) return 0;
  const auto port = SocketAddress::Parse("0.0.0.0" + asked->name.substr(colon));
  const HOSTENT* found = asked->sockets->gethostbyname(asked->name.substr(0, colon));
  if (!found || found->count == 0 || !port) return 0;
  SOCKADDR_IN record = port->ToRecord();
  record.sin_addr = found->addresses[0];
  const ResolvedWords words =
      PackResolved({SocketAddress::FromRecord(record), asked->game, asked->favourite});
  asked->api.PostMessageA(asked->window, asked->message, words.wParam,
                          static_cast<LPARAM>(static_cast<std::int32_t>(words.lParam)));
  return 0;
}

}  // namespace

ResolvedWords PackResolved(const Resolved& resolved) {
  const auto game = static_cast<std::uint32_t>(resolved.game) & kMaxResolvedGame;
  return {resolved.address.ip,
          resolved.address.port | game << 16 | (resolved.favourite ? 1u << 30 : 0u)};
}

Resolved UnpackResolved(std::uint32_t wParam, std::uint32_t lParam) {
  return {{wParam, static_cast<WORD>(lParam & 0xFFFF)},
          static_cast<int>(lParam >> 16 & kMaxResolvedGame),
          (lParam & 1u << 30) != 0};
}

bool ResolveLater(WindowsApi& api, std::unique_ptr<SocketApi> sockets, HWND window, UINT message,
                  const std::string& name, int game, bool favourite) {
  if (game < 0 || game > kMaxResolvedGame) return false;
  auto* asked = new Lookup{api, std::move(sockets), window, message, name, game, favourite};
  const HANDLE thread = api.CreateThread(nullptr, 0, &ResolveName, asked, 0, nullptr);
  if (!thread) {
    delete asked;
    return false;
  }
  api.CloseHandle(thread);
  return true;
}

}  // namespace ludora::lobbyfind
