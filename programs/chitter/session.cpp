#include "chitter/session.h"

#include <algorithm>
#include <charconv>

namespace ludora::chitter {

std::optional<ServerName> ServerName::Parse(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  ServerName name;
  const auto colon = text.rfind(':');
  if (colon != std::string_view::npos) {
    unsigned port = 0;
    const std::string_view digits = text.substr(colon + 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error != std::errc{} || end != digits.data() + digits.size() || port == 0 || port > 0xFFFF)
      return std::nullopt;
    name.port = static_cast<WORD>(port);
    text = text.substr(0, colon);
  }
  const bool sound =
      !text.empty() && text.size() <= 255 && text.find_first_of(" ,/\\") == std::string_view::npos;
  if (!sound) return std::nullopt;
  name.host = text;
  return name;
}

Session::Session(const Services& services, std::vector<ServerName> servers,
                 std::unique_ptr<Client> client)
    : services_(services), servers_(std::move(servers)), client_(std::move(client)) {}

void Session::Connect(const Clock& now) {
  client_->At(now);
  if (state_ == State::Online) {
    client_->Quit("");
    Pump(now);
    client_->Lost("connecting again");
  }
  connection_.reset();
  readPending_ = false;
  if (servers_.empty()) {
    state_ = State::Off;
    return client_->Note(client_->server(), LineKind::Error, "This network has no server.");
  }
  const ServerName& server = Current();
  since_ = now.ms;
  client_->Note(client_->server(), LineKind::Info,
                "Connecting to " + client_->Shown(server.host) + " port " +
                    std::to_string(server.port) + "...");
  if (const auto address = SocketAddress::Parse(server.host)) return ConnectTo(address->ip, now);
  state_ = State::Resolving;
  ticket_ = services_.numbers.Next();
  services_.resolver.Resolve(ticket_, server.host);
}

void Session::OnResolved(std::uint32_t ticket, const std::vector<DWORD>& addresses,
                         const Clock& now) {
  if (state_ != State::Resolving || ticket != ticket_) return;
  client_->At(now);
  if (addresses.empty())
    return Fail("the name " + client_->Shown(Current().host) + " was not found", now);
  ConnectTo(addresses.front(), now);
}

void Session::ConnectTo(DWORD address, const Clock& now) {
  state_ = State::Connecting;
  since_ = now.ms;
  connection_ =
      std::make_unique<Connection>(services_.sockets, services_.window, services_.numbers.Next());
  if (!connection_->Open({address, Current().port})) Fail("no connection could be made", now);
}

bool Session::OnSocket(UINT message, WPARAM wParam, LPARAM lParam, const Clock& now) {
  if (!connection_ || !connection_->IsMine(message, wParam)) return false;
  client_->At(now);
  int error = 0;
  switch (Connection::Read(lParam, error)) {
    case Connection::Event::Connected:
      state_ = State::Online;
      since_ = heard_ = now.ms;
      lastRead_ = now.ms - kReadGapMs;  // the first read is never held back
      pinged_ = false;
      reader_.Reset();
      client_->Connected();
      break;
    case Connection::Event::Readable:
      if (now.ms - lastRead_ < kReadGapMs) {
        readPending_ = true;
      } else {
        Read(now);
      }
      break;
    case Connection::Event::Writable:
      if (!connection_->Flush()) Fail("the connection failed", now);
      return true;
    case Connection::Event::Failed:
      Fail(state_ == State::Connecting
               ? "the server did not accept the connection (error " + std::to_string(error) + ")"
               : "the connection failed (error " + std::to_string(error) + ")",
           now);
      return true;
    case Connection::Event::Closed:
      // What is still there is read before the end (a server's ERROR, say).
      for (int turn = 0; turn < 16 && state_ == State::Online; ++turn) {
        const auto bytes = connection_->Receive(kReadLimit);
        if (!bytes || bytes->empty()) break;
        reader_.Feed(*bytes, [&](std::string_view line) { client_->Received(line); });
      }
      Fail("the server closed the connection", now);
      return true;
  }
  Pump(now);
  return true;
}

// Reads what is there, at most kTurnLimit bytes a turn (the time between
// two ticks): posted messages come before the user's input, and a server
// that sends without end must leave the window turns of its own. Windows
// posts the next FD_READ while more is there.
void Session::Read(const Clock& now) {
  lastRead_ = now.ms;
  readPending_ = false;
  while (state_ == State::Online) {
    if (readThisTurn_ >= kTurnLimit) {
      readPending_ = true;
      return;
    }
    const auto bytes = connection_->Receive(kReadLimit);
    if (!bytes) return Fail("the connection was lost", now);
    if (bytes->empty()) return;
    heard_ = now.ms;
    pinged_ = false;
    readThisTurn_ += bytes->size();
    reader_.Feed(*bytes, [&](std::string_view line) { client_->Received(line); });
    if (bytes->size() < kReadLimit) return;
  }
}

void Session::Pump(const Clock& now) {
  if (state_ != State::Online || !connection_) return;
  std::string bytes;
  for (std::string& line : client_->Outgoing()) bytes += line + "\r\n";
  if (bytes.empty()) return;
  switch (connection_->Send(bytes)) {
    case Connection::Sent::Yes:
      return;
    case Connection::Sent::Failed:
      return Fail("the connection failed", now);
    case Connection::Sent::TooMuchWaits:
      return Fail("the server read nothing of the last " +
                      std::to_string(connection_->unsent() / 1024) + " KiB sent",
                  now);
  }
}

void Session::Fail(const std::string& why, const Clock& now) {
  connection_.reset();
  readPending_ = false;
  client_->At(now);
  client_->Lost(why);
  ++serverIndex_;
  state_ = State::Waiting;
  since_ = now.ms;
  client_->Note(
      client_->server(), LineKind::Error,
      "Connection lost: " + why + ". Connecting again in " + std::to_string(pause_ / 1000) + " s.");
}

void Session::Stop(std::string_view reason, const Clock& now) {
  client_->At(now);
  if (state_ == State::Online) {
    client_->Quit(reason);
    Pump(now);
  }
  connection_.reset();
  if (state_ == State::Online || state_ == State::Connecting) client_->Lost("you quit");
  state_ = State::Off;
}

void Session::Tick(const Clock& now) {
  client_->At(now);
  const std::uint64_t in = now.ms - since_;
  switch (state_) {
    case State::Off:
      return;
    case State::Resolving:
      if (in >= kConnectLimitMs) Fail("the name was not found in time", now);
      return;
    case State::Waiting:
      if (in >= pause_) {
        pause_ = std::min(pause_ * 2, kLongestPauseMs);
        Connect(now);
      }
      return;
    case State::Connecting:
      if (in >= kConnectLimitMs) Fail("the server did not answer", now);
      return;
    case State::Online:
      break;
  }
  if (!client_->registered() && in >= kRegisterLimitMs)
    return Fail("registration took too long", now);
  if (client_->registered() && in >= kHeldMs) pause_ = kFirstPauseMs;
  const std::uint64_t quiet = now.ms - heard_;
  if (quiet >= kQuietMs + kPingAnswerMs) return Fail("the server stopped answering", now);
  if (quiet >= kQuietMs && !pinged_) {
    pinged_ = true;
    client_->Raw("PING :" + client_->nick());
  }
  readThisTurn_ = 0;
  if (readPending_) Read(now);
  if (state_ != State::Online) return;
  client_->Tick();
  Pump(now);
}

}  // namespace ludora::chitter
