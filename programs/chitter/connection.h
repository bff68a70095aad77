// One TCP connection to a server through the socket seam: non-blocking, its
// events posted to a window as WSAAsyncSelect posts them, each connection
// under a message number of its own, so that an event of a closed socket
// still in the queue is never taken for one of its successor's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/socket_api.h"

namespace ludora::chitter {

class Connection {
 public:
  enum class Event { Connected, Failed, Readable, Writable, Closed };
  enum class Sent { Yes, Failed, TooMuchWaits };
  // What may wait for the server to read it: far more than a server that
  // reads at all ever leaves, far less than one that reads nothing would
  // make the client hold.
  static constexpr std::size_t kMostUnsent = 65536;

  Connection(SocketApi& sockets, HWND window, UINT message);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Starts connecting; false when that failed at once.
  bool Open(SocketAddress address);
  UINT message() const { return message_; }
  bool IsMine(UINT message, WPARAM socket) const {
    return message == message_ && socket_ != kInvalidSocket && socket == socket_;
  }
  // What one of its messages says; `error` is Windows Sockets' error code.
  static Event Read(LPARAM lParam, int& error);

  // What arrived, at most `limit` bytes; empty when nothing is there now,
  // nothing when the connection ended or failed.
  std::optional<std::string> Receive(std::size_t limit);
  // Sends what it can now, the rest when Windows says it can; TooMuchWaits
  // when more than kMostUnsent bytes wait after that.
  Sent Send(std::string_view bytes);
  bool Flush();
  std::size_t unsent() const { return unsent_.size(); }

 private:
  void Close();

  SocketApi& sockets_;
  HWND window_;
  UINT message_;
  SOCKET socket_ = kInvalidSocket;
  std::string unsent_;
};

}  // namespace ludora::chitter
