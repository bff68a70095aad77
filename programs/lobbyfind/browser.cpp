#include "lobbyfind/browser.h"

namespace ludora::lobbyfind {

Browser::Browser(SocketApi& sockets, std::vector<Game> games, const UserSettings& settings,
                 std::uint32_t seed, BrowserView& window, std::function<DWORD()> clock)
    : sockets_(sockets),
      games_(std::move(games)),
      engine_(servers_, games_, settings.limits, seed),
      lanAddress_(settings.lanAddress),
      window_(window),
      clock_(std::move(clock)),
      view_(settings.view),
      filter_(settings.filter) {
  for (const Favourite& favourite : settings.favourites) {
    int game = -1;
    for (std::size_t row = 0; row < games_.size(); ++row) {
      if (SameText(games_[row].name, favourite.game)) game = static_cast<int>(row);
    }
    if (game >= 0) {
      AddFavourite(favourite.address, game);
    } else {
      unknown_.push_back(favourite);  // a game the table no longer has: kept as it was
    }
  }
}

std::vector<Favourite> Browser::Favourites() const {
  std::vector<Favourite> favourites;
  for (std::size_t at = 0; at < servers_.size(); ++at) {
    if ((servers_[at].views & kFavourites) && servers_[at].game >= 0) {
      favourites.push_back(
          {servers_[at].address, games_[static_cast<std::size_t>(servers_[at].game)].name});
    }
  }
  favourites.insert(favourites.end(), unknown_.begin(), unknown_.end());
  return favourites;
}

Browser::~Browser() {
  if (socket_ != kInvalidSocket) sockets_.closesocket(socket_);
}

bool Browser::Open(HWND window, UINT message) {
  socket_ = sockets_.socket(AF_INET_, SOCK_DGRAM_, IPPROTO_UDP_);
  if (socket_ == kInvalidSocket) return false;
  const int yes = 1, buffer = 1 << 18;  // a burst of answers waits here for the window
  sockets_.setsockopt(socket_, SOL_SOCKET_, SO_BROADCAST_, reinterpret_cast<const char*>(&yes),
                      sizeof yes);
  sockets_.setsockopt(socket_, SOL_SOCKET_, SO_RCVBUF_, reinterpret_cast<const char*>(&buffer),
                      sizeof buffer);
  const SOCKADDR_IN any = SocketAddress{}.ToRecord();
  return sockets_.bind(socket_, &any, sizeof any) == 0 &&
         sockets_.WSAAsyncSelect(socket_, window, message, FD_READ_) == 0;
}

std::vector<Browser::NamedMaster> Browser::Refresh(unsigned view) {
  std::vector<NamedMaster> named;
  if (engine_.Refreshing()) interrupted_ |= refreshed_;
  interrupted_ &= ~view;
  refreshed_ = view;
  engine_.Restart();
  if (view == kLan) engine_.ScanLan(lanAddress_);
  for (std::size_t at = 0; at < servers_.size(); ++at) {
    if (servers_[at].views & view) engine_.Ask(at);
  }
  if (view != kInternet) return named;
  for (std::size_t row = 0; row < games_.size(); ++row) {
    for (const std::string& master : games_[row].masters) {
      const auto address = SocketAddress::Parse(master);
      if (address && address->port != 0) {
        engine_.AskMaster(*address, static_cast<int>(row));
      } else if (const auto colon = master.rfind(':'); colon != std::string::npos) {
        named.push_back({master, static_cast<int>(row)});
      }
    }
  }
  return named;
}

std::optional<std::size_t> Browser::AddFavourite(SocketAddress address, int game) {
  if (game < 0 || static_cast<std::size_t>(game) >= games_.size()) return std::nullopt;
  return servers_.Add(address, games_[game].protocol, game, kFavourites);
}

void Browser::Tick(DWORD now) {
  engine_.Tick(now, out_);
  SendAll();
}

void Browser::SendAll() {
  for (const Outgoing& datagram : out_) {
    const SOCKADDR_IN to = datagram.to.ToRecord();
    sockets_.sendto(socket_, datagram.bytes.data(), static_cast<int>(datagram.bytes.size()), 0, &to,
                    sizeof to);
  }
  out_.clear();
}

bool Browser::Read(DWORD now) {
  bool changed = false;
  char buffer[kMaxDatagram];
  for (int reads = 0; reads < kReadsPerMessage; ++reads) {
    SOCKADDR_IN from;
    int fromLength = sizeof from;
    const int received = sockets_.recvfrom(socket_, buffer, sizeof buffer, 0, &from, &fromLength);
    std::string_view bytes(buffer, received > 0 ? static_cast<std::size_t>(received) : 0);
    if (received < 0) {
      const int error = sockets_.WSAGetLastError();
      // Windows' report of an ICMP "port unreachable" for an earlier query:
      // the server will stay silent, and its timeout says so.
      if (error == WSAECONNRESET_) continue;
      if (error != WSAEMSGSIZE_) break;  // nothing more to read
      bytes = {};  // too large for any sane answer: read as nothing, a bad reply
    }
    changed |= engine_.Receive(now, SocketAddress::FromRecord(from), bytes, out_);
  }
  SendAll();
  return changed;
}

}  // namespace ludora::lobbyfind
