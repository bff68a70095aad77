// A network in memory behind the socket seam: datagram peers that answer
// what is sent to them, stream peers a test drives, names that resolve, and
// any operation made to fail. Sockets never block: a read with nothing to
// read, and a connection under way, answer WSAEWOULDBLOCK as a non-blocking
// socket on Windows does. The events WSAAsyncSelect would post are the
// test's to hand to the program.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/socket_api.h"

namespace ludora::testing {

class FakeSockets : public SocketApi {
 public:
  struct Datagram {
    SOCKET socket;
    SocketAddress peer;  // to whom it went, or from whom it came
    std::string bytes;
  };
  // Every datagram the program sent, in order.
  std::vector<Datagram> sent;
  // A datagram peer: what it answers a datagram, each string one datagram
  // back from its address, at once.
  using Peer = std::function<std::vector<std::string>(const std::string& received)>;
  std::map<SocketAddress, Peer> peers;
  // A datagram from anyone, to be read next by the socket.
  void Deliver(SOCKET s, SocketAddress from, std::string bytes);

  // Stream peers: the addresses that accept a connection.
  std::set<SocketAddress> listening;
  std::string StreamSent(SOCKET s) const;  // all the program sent on it so far, closed or not
  void PeerSends(SOCKET s, std::string bytes);
  void PeerCloses(SOCKET s);            // recv then answers 0, send WSAECONNRESET
  void PeerStopsReading(SOCKET s);      // send then answers WSAEWOULDBLOCK
  std::vector<SocketAddress> connects;  // every connect's address, in order
  SOCKET LastSocket() const { return next_ - 1; }
  bool IsOpen(SOCKET s) const { return sockets_.contains(s); }

  std::map<std::string, std::vector<SocketAddress>> hosts;  // by name, the ports ignored
  std::set<std::string> failing;  // operations, by name, that fail with WSAENETDOWN
  // The sockets' WSAAsyncSelect calls: "<socket> <window> <message> <events>".
  std::vector<std::string> asyncSelects;

#define FAKE_SOCKET_OPERATION(result, name, parameters, arguments) result name parameters override;
  LUDORA_SOCKET_API(FAKE_SOCKET_OPERATION)
#undef FAKE_SOCKET_OPERATION

 private:
  struct Socket {
    int type = 0;
    bool nonBlocking = false;
    SocketAddress local;
    std::optional<SocketAddress> peer;  // a stream's, once it is connected
    bool peerClosed = false;
    bool peerReads = true;
    std::deque<Datagram> datagrams;  // to be read
    std::string streamIn;            // to be read
    std::string streamOut;           // sent by the program
  };
  bool Fails(const char* operation);
  int Refuse(int error) {
    lastError_ = error;
    return kSocketError;
  }
  Socket* Find(SOCKET s);

  std::map<SOCKET, Socket> sockets_;
  std::map<SOCKET, std::string> closedOut_;  // what went on sockets closed since
  SOCKET next_ = 100;
  WORD nextPort_ = 50000;
  int lastError_ = 0;
  HOSTENT answer_;
};

}  // namespace ludora::testing
