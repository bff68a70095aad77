// A network the user is on: its client, its connection to one of its
// servers in turn, and the timing around them. A name is looked up on a
// thread of its own (the Resolver), so the window never waits for it. A
// connection lost, refused or gone silent is tried again after a pause that
// grows from 5 seconds to 5 minutes, and starts again from 5 seconds once a
// connection has held for a minute; only the user's /quit stops it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chitter/client.h"
#include "chitter/connection.h"
#include "chitter/line_reader.h"

namespace ludora::chitter {

// Looks names up away from the window's thread; the answer comes back by
// Chat::OnResolved with the same ticket.
class Resolver {
 public:
  virtual ~Resolver() = default;
  virtual void Resolve(std::uint32_t ticket, const std::string& host) = 0;
};

// The window messages of the connections and the tickets of the look-ups,
// each a number not used for a while.
class Numbers {
 public:
  static constexpr UINT kFirstMessage = 0x8100;  // WM_APP + 0x100
  static constexpr UINT kMessages = 0x3000;
  UINT Next() { return kFirstMessage + (next_++ % kMessages); }
  static bool IsSocketMessage(UINT message) {
    return message >= kFirstMessage && message < kFirstMessage + kMessages;
  }

 private:
  UINT next_ = 0;
};

// "host", "host:port" (6667 when none is given).
struct ServerName {
  std::string host;
  WORD port = 6667;
  static std::optional<ServerName> Parse(std::string_view text);
};

class Session {
 public:
  static constexpr std::uint64_t kFirstPauseMs = 5000, kLongestPauseMs = 300000;
  static constexpr std::uint64_t kConnectLimitMs = 30000, kRegisterLimitMs = 60000;
  static constexpr std::uint64_t kQuietMs = 120000, kPingAnswerMs = 60000, kHeldMs = 60000;
  static constexpr std::size_t kReadLimit = 16384, kTurnLimit = 262144;
  // FD_READs closer than this to the last read wait for the next tick: a
  // busy channel is read in a few large pieces, not in hundreds of small ones.
  static constexpr std::uint64_t kReadGapMs = 40;

  struct Services {
    SocketApi& sockets;
    Resolver& resolver;
    Numbers& numbers;
    HWND window;
  };

  Session(const Services& services, std::vector<ServerName> servers,
          std::unique_ptr<Client> client);

  Client& client() { return *client_; }
  // The servers to try from now on, the first one first.
  void UseServers(std::vector<ServerName> servers) {
    servers_ = std::move(servers), serverIndex_ = 0;
  }
  // Connects now (to the next server), whatever it was doing.
  void Connect(const Clock& now);
  // The user's /quit: the client says goodbye, the connection closes, and
  // it stays closed.
  void Stop(std::string_view reason, const Clock& now);
  bool stopped() const { return state_ == State::Off; }

  void OnResolved(std::uint32_t ticket, const std::vector<DWORD>& addresses, const Clock& now);
  // Whether the message was this session's connection's.
  bool OnSocket(UINT message, WPARAM wParam, LPARAM lParam, const Clock& now);
  // The pace of what is sent, and the timers; called every tenth of a second or so.
  void Tick(const Clock& now);

 private:
  enum class State { Off, Resolving, Connecting, Online, Waiting };

  void ConnectTo(DWORD address, const Clock& now);
  void Read(const Clock& now);
  void Fail(const std::string& why, const Clock& now);
  void Pump(const Clock& now);
  const ServerName& Current() const { return servers_[serverIndex_ % servers_.size()]; }

  Services services_;
  std::vector<ServerName> servers_;
  std::unique_ptr<Client> client_;
  std::unique_ptr<Connection> connection_;
  LineReader reader_;
  State state_ = State::Off;
  std::size_t serverIndex_ = 0;
  std::uint32_t ticket_ = 0;
  std::uint64_t since_ = 0;  // when the state began
  std::uint64_t heard_ = 0;  // when the server last sent anything
  bool pinged_ = false;
  bool readPending_ = false;
  std::size_t readThisTurn_ = 0;
  std::uint64_t lastRead_ = 0;
  std::uint64_t pause_ = kFirstPauseMs;
};

}  // namespace ludora::chitter
