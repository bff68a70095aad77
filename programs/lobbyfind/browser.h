// The browser's network side: one non-blocking datagram socket that Windows
// tells the window about, the query engine over it, and the table of
// servers. The window calls Read on the socket's message and Tick on its
// timer; each takes the time now.
#pragma once

#include <string>
#include <vector>

#include "lobbyfind/query_engine.h"
#include "lobbyfind/user_files.h"
#include "platform/socket_api.h"

namespace ludora::lobbyfind {

// The datagrams read at one go, at most: each read is a call into the
// system (under Wine a round trip to its server), and a click waits for the
// batch under way. Windows posts the socket's message again while more wait.
inline constexpr int kReadsPerMessage = 32;
inline constexpr int kMaxDatagram = 8192;  // larger ones are bad replies

class Browser {
 public:
  Browser(SocketApi& sockets, std::vector<Game> games, const UserSettings& settings,
          std::uint32_t seed);
  ~Browser();
  Browser(const Browser&) = delete;
  Browser& operator=(const Browser&) = delete;

  // The socket, bound to any port, telling `window` with `message` when a
  // datagram waits; false when Windows refuses one of the steps.
  bool Open(HWND window, UINT message);

  // Asks again every server of the view (and the masters for the Internet,
  // the local network for LAN); master names that are not numbers are
  // handed back, for the caller to resolve and give to AskMaster.
  struct NamedMaster {
    std::string name;
    int game;
  };
  std::vector<NamedMaster> Refresh(unsigned view);
  // Whether the last refresh of `view` was cut short by another view's,
  // its servers then left unasked: showing it again refreshes it.
  bool Interrupted(unsigned view) const { return (interrupted_ & view) != 0; }
  void AskMaster(SocketAddress master, int game) { engine_.AskMaster(master, game); }
  // A server added to the favourites by its address; nothing when the
  // table is full.
  std::optional<std::size_t> AddFavourite(SocketAddress address, int game);
  // The favourites to save: the table's, then those of games the table
  // does not know, as they were read.
  std::vector<Favourite> Favourites() const;

  void Tick(DWORD now);
  bool Read(DWORD now);  // whether anything changed

  QueryEngine& engine() { return engine_; }
  ServerTable& servers() { return servers_; }
  std::vector<Game>& games() { return games_; }

 private:
  void SendAll();

  SocketApi& sockets_;
  SOCKET socket_ = kInvalidSocket;
  std::vector<Game> games_;
  ServerTable servers_;
  QueryEngine engine_;
  DWORD lanAddress_;
  std::vector<Outgoing> out_;
  std::vector<Favourite> unknown_;
  unsigned refreshed_ = 0, interrupted_ = 0;  // views
};

}  // namespace ludora::lobbyfind
