#include "chitter/connection.h"

namespace ludora::chitter {

Connection::Connection(SocketApi& sockets, HWND window, UINT message)
    : sockets_(sockets), window_(window), message_(message) {}

Connection::~Connection() {
  Close();
}

void Connection::Close() {
  if (socket_ == kInvalidSocket) return;
  sockets_.WSAAsyncSelect(socket_, window_, 0, 0);
  sockets_.closesocket(socket_);
  socket_ = kInvalidSocket;
}

bool Connection::Open(SocketAddress address) {
  Close();
  socket_ = sockets_.socket(AF_INET_, SOCK_STREAM_, IPPROTO_TCP_);
  if (socket_ == kInvalidSocket) return false;
  // WSAAsyncSelect makes the socket non-blocking: connect answers at once.
  const SOCKADDR_IN record = address.ToRecord();
  if (sockets_.WSAAsyncSelect(socket_, window_, message_,
                              FD_CONNECT_ | FD_READ_ | FD_WRITE_ | FD_CLOSE_) != 0 ||
      (sockets_.connect(socket_, &record, sizeof record) != 0 &&
       sockets_.WSAGetLastError() != WSAEWOULDBLOCK_)) {
    Close();
    return false;
  }
  return true;
}

Connection::Event Connection::Read(LPARAM lParam, int& error) {
  const auto event = static_cast<long>(lParam & 0xFFFF);
  error = static_cast<int>((lParam >> 16) & 0xFFFF);
  switch (event) {
    case FD_CONNECT_:
      return error ? Event::Failed : Event::Connected;
    case FD_READ_:
      return error ? Event::Failed : Event::Readable;
    case FD_WRITE_:
      return error ? Event::Failed : Event::Writable;
    default:
      return Event::Closed;
  }
}

std::optional<std::string> Connection::Receive(std::size_t limit) {
  std::string bytes(limit, '\0');
  const int got = sockets_.recv(socket_, bytes.data(), static_cast<int>(limit), 0);
  if (got > 0) {
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
  }
  if (got < 0 && sockets_.WSAGetLastError() == WSAEWOULDBLOCK_) return std::string();
  return std::nullopt;
}

Connection::Sent Connection::Send(std::string_view bytes) {
  unsent_ += bytes;
  if (!Flush()) return Sent::Failed;
  return unsent_.size() > kMostUnsent ? Sent::TooMuchWaits : Sent::Yes;
}

bool Connection::Flush() {
  while (!unsent_.empty()) {
    const int sent = sockets_.send(socket_, unsent_.data(), static_cast<int>(unsent_.size()), 0);
    if (sent < 0) return sockets_.WSAGetLastError() == WSAEWOULDBLOCK_;
    unsent_.erase(0, static_cast<std::size_t>(sent));
  }
  return true;
}

}  // namespace ludora::chitter
