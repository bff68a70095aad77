// Names of masters and servers resolved off the window's thread. The answer
// comes back as a window message whose two parameters hold 32 bits each on
// the shipped build: the IPv4 address in wParam, the port and the tag (the
// game's row, and whether the server joins the favourites) in lParam.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/socket_api.h"
#include "platform/windows_api.h"

namespace ludora::lobbyfind {

struct Resolved {
  SocketAddress address;
  int game = 0;            // the game's row, below kMaxResolvedGame
  bool favourite = false;  // a server for the favourites, else a master
};
inline constexpr int kMaxResolvedGame = 0x3FFF;

struct ResolvedWords {
  std::uint32_t wParam, lParam;
};
ResolvedWords PackResolved(const Resolved& resolved);
Resolved UnpackResolved(std::uint32_t wParam, std::uint32_t lParam);

// Resolves "name:port" on a thread of its own with `sockets` (the thread's
// own: gethostbyname's answer is kept per seam), then posts `message` to
// `window`; nothing is posted for an unknown name. False when no thread
// could start.
bool ResolveLater(WindowsApi& api, std::unique_ptr<SocketApi> sockets, HWND window, UINT message,
                  const std::string& name, int game, bool favourite);

}  // namespace ludora::lobbyfind
