#include "fake/sockets.h"

#include <algorithm>
#include <cstring>

namespace ludora::testing {

namespace {
constexpr int kNetworkDown = 10050;   // WSAENETDOWN
constexpr int kNotSocket = 10038;     // WSAENOTSOCK
constexpr int kNotConnected = 10057;  // WSAENOTCONN
}  // namespace

bool FakeSockets::Fails(const char* operation) {
  if (!failing.contains(operation)) return false;
  lastError_ = kNetworkDown;
  return true;
}

FakeSockets::Socket* FakeSockets::Find(SOCKET s) {
  const auto found = sockets_.find(s);
  if (found == sockets_.end()) lastError_ = kNotSocket;
  return found == sockets_.end() ? nullptr : &found->second;
}

void FakeSockets::Deliver(SOCKET s, SocketAddress from, std::string bytes) {
  if (Socket* socket = Find(s)) socket->datagrams.push_back({s, from, std::move(bytes)});
}

std::string FakeSockets::StreamSent(SOCKET s) const {
  const auto found = sockets_.find(s);
  if (found != sockets_.end()) return found->second.streamOut;
  const auto closed = closedOut_.find(s);
  return closed == closedOut_.end() ? std::string() : closed->second;
}

void FakeSockets::PeerSends(SOCKET s, std::string bytes) {
  if (Socket* socket = Find(s)) socket->streamIn += bytes;
}

void FakeSockets::PeerCloses(SOCKET s) {
  if (Socket* socket = Find(s)) socket->peerClosed = true;
}

void FakeSockets::PeerStopsReading(SOCKET s) {
  if (Socket* socket = Find(s)) socket->peerReads = false;
}

int FakeSockets::WSAStartup(WORD versionRequested, WSADATA* data) {
  if (Fails("WSAStartup")) return kNetworkDown;
  data->wVersion = versionRequested;
  data->wHighVersion = 0x0202;
  return 0;
}

int FakeSockets::WSACleanup() {
  return 0;
}

int FakeSockets::WSAGetLastError() {
  return lastError_;
}

SOCKET FakeSockets::socket(int, int type, int) {
  if (Fails("socket")) return kInvalidSocket;
  sockets_[next_].type = type;
  return next_++;
}

int FakeSockets::closesocket(SOCKET s) {
  if (!Find(s)) return kSocketError;
  closedOut_[s] = std::move(sockets_[s].streamOut);
  sockets_.erase(s);
  return 0;
}

int FakeSockets::bind(SOCKET s, const SOCKADDR_IN* name, int) {
  Socket* socket = Find(s);
  if (!socket || Fails("bind")) return kSocketError;
  socket->local = SocketAddress::FromRecord(*name);
  if (socket->local.port == 0) socket->local.port = nextPort_++;
  return 0;
}

int FakeSockets::getsockname(SOCKET s, SOCKADDR_IN* name, int* nameLength) {
  Socket* socket = Find(s);
  if (!socket) return kSocketError;
  *name = socket->local.ToRecord();
  *nameLength = sizeof *name;
  return 0;
}

int FakeSockets::connect(SOCKET s, const SOCKADDR_IN* name, int) {
  Socket* socket = Find(s);
  if (!socket || Fails("connect")) return kSocketError;
  const SocketAddress to = SocketAddress::FromRecord(*name);
  connects.push_back(to);
  if (listening.contains(to)) socket->peer = to;
  if (socket->nonBlocking) return Refuse(WSAEWOULDBLOCK_);
  return socket->peer ? 0 : Refuse(WSAECONNREFUSED_);
}

int FakeSockets::send(SOCKET s, const char* buffer, int length, int) {
  Socket* socket = Find(s);
  if (!socket || Fails("send")) return kSocketError;
  if (!socket->peer) return Refuse(kNotConnected);
  if (socket->peerClosed) return Refuse(WSAECONNRESET_);
  if (!socket->peerReads) return Refuse(WSAEWOULDBLOCK_);
  socket->streamOut.append(buffer, static_cast<std::size_t>(length));
  return length;
}

int FakeSockets::recv(SOCKET s, char* buffer, int length, int) {
  Socket* socket = Find(s);
  if (!socket || Fails("recv")) return kSocketError;
  if (socket->streamIn.empty()) return socket->peerClosed ? 0 : Refuse(WSAEWOULDBLOCK_);
  const auto count = std::min(socket->streamIn.size(), static_cast<std::size_t>(length));
  std::memcpy(buffer, socket->streamIn.data(), count);
  socket->streamIn.erase(0, count);
  return static_cast<int>(count);
}

int FakeSockets::sendto(SOCKET s, const char* buffer, int length, int, const SOCKADDR_IN* to, int) {
  Socket* socket = Find(s);
  if (!socket || Fails("sendto")) return kSocketError;
  if (socket->local.port == 0) socket->local.port = nextPort_++;
  const SocketAddress peer = SocketAddress::FromRecord(*to);
  std::string bytes(buffer, static_cast<std::size_t>(length));
  sent.push_back({s, peer, bytes});
  if (const auto found = peers.find(peer); found != peers.end()) {
    for (auto& answer : found->second(bytes)) socket->datagrams.push_back({s, peer, answer});
  }
  return length;
}

// A datagram longer than the buffer is cut to it and answered WSAEMSGSIZE,
// as Windows does.
int FakeSockets::recvfrom(SOCKET s, char* buffer, int length, int, SOCKADDR_IN* from,
                          int* fromLength) {
  Socket* socket = Find(s);
  if (!socket || Fails("recvfrom")) return kSocketError;
  if (socket->datagrams.empty()) return Refuse(WSAEWOULDBLOCK_);
  const Datagram datagram = std::move(socket->datagrams.front());
  socket->datagrams.pop_front();
  if (from) *from = datagram.peer.ToRecord();
  if (fromLength) *fromLength = sizeof *from;
  const auto count = std::min(datagram.bytes.size(), static_cast<std::size_t>(length));
  std::memcpy(buffer, datagram.bytes.data(), count);
  return count < datagram.bytes.size() ? Refuse(WSAEMSGSIZE_) : static_cast<int>(count);
}

int FakeSockets::ioctlsocket(SOCKET s, long command, DWORD* argument) {
  Socket* socket = Find(s);
  if (!socket || Fails("ioctlsocket")) return kSocketError;
  if (command == FIONBIO_) socket->nonBlocking = *argument != 0;
  return 0;
}

int FakeSockets::setsockopt(SOCKET s, int, int, const char*, int) {
  return Find(s) && !Fails("setsockopt") ? 0 : kSocketError;
}

int FakeSockets::WSAAsyncSelect(SOCKET s, HWND window, UINT message, long events) {
  Socket* socket = Find(s);
  if (!socket || Fails("WSAAsyncSelect")) return kSocketError;
  socket->nonBlocking = true;  // as Windows makes it
  asyncSelects.push_back(std::to_string(s) + ' ' + std::to_string(window) + ' ' +
                         std::to_string(message) + ' ' + std::to_string(events));
  return 0;
}

const HOSTENT* FakeSockets::gethostbyname(const std::string& name) {
  const auto found = hosts.find(name);
  if (found == hosts.end() || Fails("gethostbyname")) {
    lastError_ = WSAHOST_NOT_FOUND_;
    return nullptr;
  }
  answer_.count = 0;
  for (const SocketAddress& address : found->second) {
    if (answer_.count == HOSTENT::kMaxAddresses) break;
    answer_.addresses[answer_.count++] = address.ToRecord().sin_addr;
  }
  return &answer_;
}

}  // namespace ludora::testing
