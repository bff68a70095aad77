// The queries of a refresh, scheduled fast and politely: a bounded number
// awaiting an answer, a bounded pace of sending, at most one query at a
// time to a server and a pause between two (and between two to one
// Internet host, whatever the port), a timeout and a retry. A master's list
// is taken only as far as address_scope.h allows. Pure:
// the time comes in, and with it the datagrams received; the datagrams to
// send go out. An answer is taken only from the address that was asked (a
// Quake III answer also only with the challenge that was sent), or, for a
// scan of the local network, as an answer to the broadcast; anything else
// is dropped.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lobbyfind/a2s_protocol.h"
#include "lobbyfind/a2s_split.h"
#include "lobbyfind/server_table.h"

namespace ludora::lobbyfind {

struct Limits {
  std::size_t inFlight = 128;  // queries awaiting an answer at once
  DWORD perSecond = 1000;      // datagrams sent, at most
  DWORD timeout = 1000;        // ms until a query is sent again, or given up
  int tries = 2;               // the first and one retry
  DWORD gap = 250;             // ms at least between two queries to one server
};

struct Outgoing {
  SocketAddress to;
  std::string bytes;
};

struct Progress {
  std::size_t asked = 0;     // servers in this refresh
  std::size_t answered = 0;  // of them, with a sound answer
  std::size_t finished = 0;  // answered, silent or bad
};

class QueryEngine {
 public:
  QueryEngine(ServerTable& servers, const std::vector<Game>& games, Limits limits,
              std::uint32_t seed);

  // A new refresh: what was waiting or asked is forgotten, the counts start again.
  void Restart();
  // The server's row (its players and settings too with `details`, which go
  // to details() and come first).
  void Ask(std::size_t server, bool details = false);
  // The servers a master lists for a game, then each of them.
  void AskMaster(SocketAddress master, int game);
  // The servers of every game on the local network, by a query to
  // `broadcast` on each port of the games' ranges.
  void ScanLan(DWORD broadcast);

  void Tick(DWORD now, std::vector<Outgoing>& out);
  // Whether the datagram changed the table or the details.
  bool Receive(DWORD now, SocketAddress from, std::string_view bytes, std::vector<Outgoing>& out);

  // Whether the refresh goes on: servers, masters or a scan awaited (a
  // server's details asked meanwhile do not count).
  bool Refreshing() const {
    return progress_.finished < progress_.asked || masters_ > 0 || !lan_.empty();
  }
  // Whether nothing waits to be sent or answered: the ticks may stop.
  bool Idle() const { return queue_.empty() && flying_.empty() && lan_.empty(); }
  const Progress& progress() const { return progress_; }
  const Details& details() const { return details_; }
  std::size_t dropped() const { return dropped_; }

 private:
  static constexpr int kMaxTries = 3;
  enum class Kind { Info, Details, Master, Lan };
  struct Job {
    Kind kind = Kind::Info;
    std::size_t server = 0;
    SocketAddress to;
    Protocol protocol = Protocol::Q3;
    int game = -1;
    int tries = 0;
    DWORD sentAt[kMaxTries] = {};
    std::uint32_t tokens[kMaxTries] = {};    // the challenges of a Quake III query
    std::uint32_t challenge = kNoChallenge;  // an A2S server's
    int challenges = 0;                      // asked of us in this job
    bool playersStep = false;                // an A2S job's second question
    bool pages = false;                      // a master answered
  };
  enum class Taken { Yes, No };

  using Flying = std::map<SocketAddress, Job>::iterator;

  // Sends the job's query; `again` sends it anew within the same try (an
  // A2S server asked for a challenge).
  void Send(Job& job, DWORD now, std::vector<Outgoing>& out, bool again = false);
  std::string Request(const Job& job) const;
  bool Paced(const Job& job, DWORD now) const;
  Flying Finish(Flying job, State state);
  void Count(std::size_t server, State state);
  Taken FromAsked(Flying job, DWORD now, std::string_view bytes, std::vector<Outgoing>& out);
  Taken FromQ3(Flying job, DWORD now, std::string_view bytes);
  Taken FromA2s(Flying job, DWORD now, std::string_view bytes, std::vector<Outgoing>& out);
  bool FromLan(DWORD now, SocketAddress from, std::string_view bytes);
  bool OfScannedNetwork(DWORD ip) const;
  bool Fill(std::size_t server, ServerReply& reply, int ping);
  void Fill(std::size_t server, const A2sInfo& info, int ping);
  void Grow();
  std::uint32_t Token() { return seed_ ^ (++serial_ * 2654435761u); }

  ServerTable& servers_;
  const std::vector<Game>& games_;
  Limits limits_;
  std::uint32_t seed_, serial_ = 0;
  std::deque<Job> queue_;
  std::map<SocketAddress, Job> flying_;
  // The split answers being joined, by server: of the last question sent
  // there, which is still in flight. Apart from the jobs, which wait in
  // the queue by the thousand.
  std::map<SocketAddress, A2sPieces> joins_;
  std::vector<Job> lan_;
  DWORD lanTarget_ = 0;                        // where the scan went
  std::vector<DWORD> lastSent_;                // by server
  std::unordered_map<DWORD, DWORD> hostSent_;  // by Internet host: when it was last asked
  std::vector<bool> inRun_;                    // by server: asked in this refresh
  // Datagrams that may be sent, in thousandths: a slow pace earns a part
  // of one at every tick.
  static constexpr long long kCreditUnit = 1000;
  // Datagrams sent in one tick, at most: each is a call into the system,
  // and the window's input waits for the tick to end.
  static constexpr std::size_t kBurst = 32;
  long long credit_ = 0;
  DWORD lastTick_ = 0;
  bool ticked_ = false;
  Progress progress_;
  Details details_;
  std::size_t dropped_ = 0;
  int masters_ = 0;  // masters asked and not yet done
};

}  // namespace ludora::lobbyfind
