#include "lobbyfind/query_engine.h"

#include <algorithm>
#include <charconv>

#include "lobbyfind/address_scope.h"

namespace ludora::lobbyfind {

namespace {

std::string Hex(std::uint32_t value) {
  char text[9] = {};
  const auto end = std::to_chars(text, text + 8, value, 16).ptr;
  return std::string(text, end);
}

// A count a reply gives as text; -1 when it is none.
int Amount(std::string_view text) {
  int value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && value >= 0 && value <= 9999 ? value : -1;
}

std::string_view FirstOf(const Settings& settings, std::initializer_list<std::string_view> keys) {
  for (const std::string_view key : keys) {
    if (const std::string_view value = Value(settings, key); !value.empty()) return value;
  }
  return {};
}

bool Final(State state) {
  return state == State::Answered || state == State::Silent || state == State::BadReply;
}

}  // namespace

QueryEngine::QueryEngine(ServerTable& servers, const std::vector<Game>& games, Limits limits,
                         std::uint32_t seed)
    : servers_(servers), games_(games), limits_(limits), seed_(seed) {
  limits_.tries = std::clamp(limits_.tries, 1, kMaxTries);
  limits_.inFlight = std::max<std::size_t>(limits_.inFlight, 1);
  limits_.perSecond = std::max<DWORD>(limits_.perSecond, 1);
}

void QueryEngine::Grow() {
  lastSent_.resize(servers_.size());
  inRun_.resize(servers_.size());
}

void QueryEngine::Restart() {
  for (const auto& [address, job] : flying_) {
    if (job.kind == Kind::Info) servers_[job.server].state = State::Waiting;
  }
  queue_.clear();
  flying_.clear();
  joins_.clear();
  lan_.clear();
  progress_ = {};
  masters_ = 0;
  std::fill(inRun_.begin(), inRun_.end(), false);
}

void QueryEngine::Ask(std::size_t server, bool details) {
  if (server >= servers_.size()) return;
  Grow();
  const Server& row = servers_[server];
  Job job{details ? Kind::Details : Kind::Info, server, row.address, row.protocol, row.game};
  if (details) {
    std::erase_if(queue_, [](const Job& queued) { return queued.kind == Kind::Details; });
    details_ = Details{};
    details_.server = server;
    queue_.push_front(job);
    return;
  }
  if (inRun_[server] && !Final(row.state)) return;  // on its way already
  Count(server, State::Waiting);
  servers_[server].state = State::Waiting;
  queue_.push_back(job);
}

void QueryEngine::AskMaster(SocketAddress master, int game) {
  if (game < 0 || static_cast<std::size_t>(game) >= games_.size()) return;
  queue_.push_front(Job{Kind::Master, 0, master, Protocol::Q3, game});
  ++masters_;
}

void QueryEngine::ScanLan(DWORD broadcast) {
  lanTarget_ = broadcast;
  std::vector<std::pair<Protocol, WORD>> ports;
  for (const Game& game : games_) {
    for (DWORD port = game.firstPort; port <= game.lastPort; ++port) {
      const std::pair<Protocol, WORD> one{game.protocol, static_cast<WORD>(port)};
      if (std::find(ports.begin(), ports.end(), one) == ports.end()) ports.push_back(one);
    }
  }
  for (const auto& [protocol, port] : ports) {
    queue_.push_front(Job{Kind::Lan, 0, SocketAddress{broadcast, port}, protocol});
  }
}

// The counts of the refresh, as a server enters it (Waiting) or ends in it.
void QueryEngine::Count(std::size_t server, State state) {
  Grow();
  const State before = servers_[server].state;
  if (!inRun_[server]) {
    inRun_[server] = true;
    ++progress_.asked;
  } else if (Final(before) && inRun_[server]) {
    --progress_.finished;
    if (before == State::Answered) --progress_.answered;
  }
  if (Final(state)) ++progress_.finished;
  if (state == State::Answered) ++progress_.answered;
  servers_[server].state = state;
}

std::string QueryEngine::Request(const Job& job) const {
  const std::string token = Hex(job.tokens[job.tries - 1]);
  const auto challenge =
      job.challenge == kNoChallenge ? std::nullopt : std::optional(job.challenge);
  switch (job.kind) {
    case Kind::Master:
      return GetServersRequest(games_[job.game].masterGame, games_[job.game].masterProtocol);
    case Kind::Details:
      if (job.protocol == Protocol::Q3) return GetStatusRequest(token);
      if (job.playersStep) return A2sPlayerRequest(job.challenge);
      [[fallthrough]];
    default:
      return job.protocol == Protocol::Q3 ? GetInfoRequest(token) : A2sInfoRequest(challenge);
  }
}

void QueryEngine::Send(Job& job, DWORD now, std::vector<Outgoing>& out, bool again) {
  if (!again) job.tokens[job.tries++] = Token();
  joins_.erase(job.to);  // a new question: the pieces of an answer to the last are not awaited
  job.sentAt[job.tries - 1] = now;
  out.push_back({job.to, Request(job)});
  if (job.kind == Kind::Info || job.kind == Kind::Details) {
    lastSent_[job.server] = now | 1;
    if (ScopeOf(job.to.ip) == Scope::Public) hostSent_[job.to.ip] = now | 1;
  }
  credit_ -= kCreditUnit;
}

QueryEngine::Flying QueryEngine::Finish(Flying job, State state) {
  const Job& done = job->second;
  if (done.kind == Kind::Info) Count(done.server, state);
  if (done.kind == Kind::Details && details_.server == done.server) details_.ready = true;
  if (done.kind == Kind::Master) --masters_;
  joins_.erase(job->first);
  return flying_.erase(job);
}

void QueryEngine::Tick(DWORD now, std::vector<Outgoing>& out) {
  Grow();
  const DWORD elapsed = ticked_ ? std::min<DWORD>(now - lastTick_, 10000) : 10000;
  ticked_ = true;
  lastTick_ = now;
  credit_ =
      std::min<long long>(credit_ + 1LL * elapsed * limits_.perSecond,
                          static_cast<long long>(std::min(limits_.inFlight, kBurst)) * kCreditUnit);
  for (auto job = flying_.begin(); job != flying_.end();) {
    Job& asked = job->second;
    if (now - asked.sentAt[asked.tries - 1] < limits_.timeout) {
      ++job;
    } else if (asked.tries < limits_.tries) {
      if (credit_ >= kCreditUnit && !Paced(asked, now)) Send(asked, now, out);
      ++job;
    } else {
      job =
          Finish(job, asked.kind == Kind::Master && asked.pages ? State::Answered : State::Silent);
    }
  }
  for (Job& scan : lan_) {
    if (now - scan.sentAt[scan.tries - 1] >= limits_.timeout && scan.tries < limits_.tries) {
      Send(scan, now, out);
    }
  }
  std::erase_if(lan_, [&](const Job& scan) {
    return scan.tries >= limits_.tries && now - scan.sentAt[scan.tries - 1] >= limits_.timeout;
  });
  std::deque<Job> later;
  for (std::size_t scanned = 0, waiting = queue_.size();
       scanned < waiting && flying_.size() < limits_.inFlight && credit_ >= kCreditUnit;
       ++scanned) {
    Job job = std::move(queue_.front());
    queue_.pop_front();
    if (job.kind == Kind::Lan) {
      Send(job, now, out);
      lan_.push_back(std::move(job));
      continue;
    }
    if (Paced(job, now) || flying_.contains(job.to)) {
      later.push_back(std::move(job));
      continue;
    }
    Job& placed = flying_.emplace(job.to, std::move(job)).first->second;
    if (placed.kind == Kind::Info) servers_[placed.server].state = State::Asked;
    Send(placed, now, out);
  }
  queue_.insert(queue_.begin(), later.begin(), later.end());
}

// A server asked less than the gap ago waits, for its first try or its
// retry; so does one on an Internet host asked less than the gap ago,
// whichever of its ports it was: a list may name one host on a thousand ports.
bool QueryEngine::Paced(const Job& job, DWORD now) const {
  if (job.kind == Kind::Master) return false;
  // Times are kept with their lowest bit set, so 0 is never: cleared, the
  // time is at most the real one.
  const auto recent = [&](DWORD sent) { return sent != 0 && now - (sent & ~1u) < limits_.gap; };
  if (recent(lastSent_[job.server])) return true;
  const auto host = hostSent_.find(job.to.ip);
  return host != hostSent_.end() && recent(host->second);
}

bool QueryEngine::Receive(DWORD now, SocketAddress from, std::string_view bytes,
                          std::vector<Outgoing>& out) {
  const auto job = flying_.find(from);
  if (job != flying_.end() && FromAsked(job, now, bytes, out) == Taken::Yes) return true;
  if (FromLan(now, from, bytes)) return true;
  ++dropped_;
  return false;
}

QueryEngine::Taken QueryEngine::FromAsked(Flying job, DWORD now, std::string_view bytes,
                                          std::vector<Outgoing>& out) {
  Job& asked = job->second;
  if (asked.kind != Kind::Master) {
    return asked.protocol == Protocol::Q3 ? FromQ3(job, now, bytes) : FromA2s(job, now, bytes, out);
  }
  const auto page = ParseServersResponse(bytes);
  if (!page) return Taken::No;
  asked.pages = true;
  asked.sentAt[asked.tries - 1] = now;  // the next page is awaited from now on
  for (const SocketAddress& address : page->servers) {
    if (!MayList(job->first.ip, address)) continue;
    if (const auto server = servers_.Add(address, Protocol::Q3, asked.game, kInternet))
      Ask(*server);
  }
  if (page->last) Finish(job, State::Answered);
  return Taken::Yes;
}

QueryEngine::Taken QueryEngine::FromQ3(Flying job, DWORD now, std::string_view bytes) {
  Job& asked = job->second;
  auto reply = ParseServerReply(bytes);
  if (!reply) {
    Finish(job, State::BadReply);
    return Taken::Yes;
  }
  // The answer to which try: its challenge says, where the server echoes it.
  const std::string_view challenge = Value(reply->settings, "challenge");
  int which = challenge.empty() ? asked.tries - 1 : -1;
  for (int i = 0; i < asked.tries; ++i) {
    if (challenge == Hex(asked.tokens[i])) which = i;
  }
  if (which < 0 || reply->status != (asked.kind == Kind::Details)) return Taken::No;
  const int ping = static_cast<int>(now - asked.sentAt[which]);
  if (!Fill(asked.server, *reply, ping)) {
    Finish(job, State::BadReply);
    return Taken::Yes;
  }
  if (asked.kind == Kind::Details && details_.server == asked.server) {
    details_.players = std::move(reply->players);
    std::erase_if(reply->settings, [](const auto& pair) { return pair.first == "challenge"; });
    details_.settings = std::move(reply->settings);  // without the challenge, which was ours
  }
  Finish(job, State::Answered);
  return Taken::Yes;
}

QueryEngine::Taken QueryEngine::FromA2s(Flying job, DWORD now, std::string_view bytes,
                                        std::vector<Outgoing>& out) {
  Job& asked = job->second;
  // A split answer that cannot be joined ends the question as a bad one;
  // for a server's players, its row keeps what its info said.
  if (IsPiece(bytes)) {
    switch (joins_[job->first].Add(bytes)) {
      case A2sPieces::Step::Waiting:
        return Taken::Yes;
      case A2sPieces::Step::Ignored:
        return Taken::No;
      case A2sPieces::Step::Compressed:
      case A2sPieces::Step::Bad:
        Finish(job, State::BadReply);
        return Taken::Yes;
      case A2sPieces::Step::Whole:
        break;
    }
  }
  const auto reply =
      ParseA2sReply(IsPiece(bytes) ? std::string_view(joins_[job->first].whole()) : bytes);
  if (!reply || (reply->kind == A2sReply::Kind::Challenge && ++asked.challenges > 3)) {
    Finish(job, State::BadReply);
    return Taken::Yes;
  }
  const int ping = static_cast<int>(now - asked.sentAt[asked.tries - 1]);
  switch (reply->kind) {
    case A2sReply::Kind::Challenge:
      asked.challenge = reply->challenge;
      Send(asked, now, out, true);
      return Taken::Yes;
    case A2sReply::Kind::Info:
      if (asked.playersStep) return Taken::No;
      Fill(asked.server, reply->info, ping);
      if (asked.kind == Kind::Details) {
        if (details_.server == asked.server) details_.settings = A2sSettings(reply->info);
        asked.playersStep = true;
        Send(asked, now, out, true);
        return Taken::Yes;
      }
      break;
    case A2sReply::Kind::Players:
      if (!asked.playersStep) return Taken::No;
      if (details_.server == asked.server) details_.players = reply->players;
      break;
  }
  Finish(job, State::Answered);
  return Taken::Yes;
}

// Whether `ip` is of the network the scan went to: the one address a scan
// pointed at; for a directed broadcast the addresses under it (its 255
// bytes the hosts'); for 255.255.255.255 the private and link-local ones.
bool QueryEngine::OfScannedNetwork(DWORD ip) const {
  const DWORD to = lanTarget_;
  if (to == 0xFFFFFFFF) {
    return (ip >> 24) == 10 || (ip >> 24) == 127 || (ip >> 20) == 0xAC1 || (ip >> 16) == 0xC0A8 ||
           (ip >> 16) == 0xA9FE;
  }
  DWORD hosts = 0;
  for (DWORD byte = 0xFF; byte && (to & byte) == byte; byte <<= 8) hosts |= byte;
  return hosts == 0 ? ip == to : (ip & ~hosts) == (to & ~hosts);
}

bool QueryEngine::FromLan(DWORD now, SocketAddress from, std::string_view bytes) {
  if (lan_.empty() || !OfScannedNetwork(from.ip)) return false;
  // Quake III: the answer carries the challenge of a scan's try.
  if (auto reply = ParseServerReply(bytes); reply && !reply->status) {
    const std::string_view challenge = Value(reply->settings, "challenge");
    for (const Job& scan : lan_) {
      for (int i = 0; i < scan.tries && scan.protocol == Protocol::Q3; ++i) {
        if (challenge != Hex(scan.tokens[i])) continue;
        const auto server = servers_.Add(from, Protocol::Q3, -1, kLan);
        if (server && !Final(servers_[*server].state)) {
          const bool sound = Fill(*server, *reply, static_cast<int>(now - scan.sentAt[i]));
          Count(*server, sound ? State::Answered : State::BadReply);
        }
        return true;
      }
    }
    return false;
  }
  // A2S: an answer from the games' ports while a scan of them runs.
  const auto scan = std::find_if(lan_.begin(), lan_.end(),
                                 [](const Job& job) { return job.protocol == Protocol::A2s; });
  const bool inRange = std::any_of(games_.begin(), games_.end(), [&](const Game& game) {
    return game.protocol == Protocol::A2s && from.port >= game.firstPort &&
           from.port <= game.lastPort;
  });
  const auto reply = ParseA2sReply(bytes);
  if (scan == lan_.end() || !inRange || !reply || reply->kind == A2sReply::Kind::Players)
    return false;
  const auto server = servers_.Add(from, Protocol::A2s, -1, kLan);
  if (!server) return true;
  if (reply->kind == A2sReply::Kind::Challenge) {
    Ask(*server);  // asked again on its own, with the challenge it will give
  } else if (!Final(servers_[*server].state)) {
    Fill(*server, reply->info, static_cast<int>(now - scan->sentAt[scan->tries - 1]));
    Count(*server, State::Answered);
  }
  return true;
}

bool QueryEngine::Fill(std::size_t at, ServerReply& reply, int ping) {
  Server& server = servers_[at];
  const Settings& settings = reply.settings;
  const std::string_view name = FirstOf(settings, {"hostname", "sv_hostname"});
  const std::string_view map = FirstOf(settings, {"mapname"});
  if (name.empty() && map.empty()) return false;
  server.name = name;
  server.map = map;
  server.maxPlayers = Amount(FirstOf(settings, {"sv_maxclients"}));
  // A list longer than the server's places is cut to them.
  if (server.maxPlayers > 0 && reply.players.size() > static_cast<std::size_t>(server.maxPlayers)) {
    reply.players.resize(static_cast<std::size_t>(server.maxPlayers));
  }
  server.players = reply.status ? static_cast<int>(reply.players.size())
                                : Amount(FirstOf(settings, {"clients"}));
  server.bots = std::max(0, Amount(FirstOf(settings, {"bots"})));
  const std::string_view locked = FirstOf(settings, {"g_needpass", "needpass", "pswrd"});
  server.locked = !locked.empty() && locked != "0";
  server.game =
      GameOf(games_, Protocol::Q3, Amount(FirstOf(settings, {"protocol"})), {}, server.game);
  server.ping = ping;
  return true;
}

void QueryEngine::Fill(std::size_t at, const A2sInfo& info, int ping) {
  Server& server = servers_[at];
  server.name = info.name;
  server.map = info.map;
  server.players = info.players;
  server.maxPlayers = info.maxPlayers;
  server.bots = info.bots;
  server.locked = info.locked;
  server.game = GameOf(games_, Protocol::A2s, info.appId, info.folder, server.game);
  server.ping = ping;
}

}  // namespace ludora::lobbyfind
