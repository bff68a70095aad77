// The seam to Windows Sockets, for the programs that talk to a network. It
// is an interface of its own beside WindowsApi so that only those programs
// import ws2_32.dll. As there: Windows' names, Windows' arguments in their
// order, one list below that makes the interface, the real adapter and the
// test fake. Addresses and ports in the records are in network byte order,
// as Windows keeps them; SocketAddress converts.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace ludora {

using SOCKET = std::uintptr_t;
inline constexpr SOCKET kInvalidSocket = ~SOCKET{0};  // INVALID_SOCKET
inline constexpr int kSocketError = -1;               // SOCKET_ERROR

inline constexpr int AF_INET_ = 2;
inline constexpr int SOCK_STREAM_ = 1;
inline constexpr int SOCK_DGRAM_ = 2;
inline constexpr int IPPROTO_TCP_ = 6;
inline constexpr int IPPROTO_UDP_ = 17;
inline constexpr int SOL_SOCKET_ = 0xFFFF;
inline constexpr int SO_BROADCAST_ = 0x0020;
inline constexpr int SO_RCVBUF_ = 0x1002;
inline constexpr long FIONBIO_ = static_cast<long>(0x8004667Eu);
// WSAAsyncSelect's events; the message's lParam holds the event in its low
// word and the error in its high word.
inline constexpr long FD_READ_ = 0x01;
inline constexpr long FD_WRITE_ = 0x02;
inline constexpr long FD_CONNECT_ = 0x10;
inline constexpr long FD_CLOSE_ = 0x20;
// WSAGetLastError's answers the programs tell apart.
inline constexpr int WSAEWOULDBLOCK_ = 10035;
inline constexpr int WSAEINPROGRESS_ = 10036;
inline constexpr int WSAEMSGSIZE_ = 10040;
inline constexpr int WSAECONNRESET_ = 10054;
inline constexpr int WSAECONNREFUSED_ = 10061;
inline constexpr int WSAETIMEDOUT_ = 10060;
inline constexpr int WSAHOST_NOT_FOUND_ = 11001;

// sockaddr_in: family, port and IPv4 address, the last two in network order.
struct SOCKADDR_IN {
  short sin_family = AF_INET_;
  WORD sin_port = 0;
  DWORD sin_addr = 0;
};

struct WSADATA {
  WORD wVersion = 0;
  WORD wHighVersion = 0;
};

// gethostbyname's answer, its IPv4 addresses only (network order), valid
// until the thread's next call.
struct HOSTENT {
  static constexpr int kMaxAddresses = 8;
  int count = 0;
  DWORD addresses[kMaxAddresses] = {};
};

// clang-format off
#define LUDORA_SOCKET_API(X) \
  X(int, WSAStartup, (WORD versionRequested, WSADATA* data), (versionRequested, data)) \
  X(int, WSACleanup, (), ()) \
  X(int, WSAGetLastError, (), ()) \
  X(SOCKET, socket, (int family, int type, int protocol), (family, type, protocol)) \
  X(int, closesocket, (SOCKET s), (s)) \
  X(int, bind, (SOCKET s, const SOCKADDR_IN* name, int nameLength), (s, name, nameLength)) \
  X(int, getsockname, (SOCKET s, SOCKADDR_IN* name, int* nameLength), (s, name, nameLength)) \
  X(int, connect, (SOCKET s, const SOCKADDR_IN* name, int nameLength), (s, name, nameLength)) \
  X(int, send, (SOCKET s, const char* buffer, int length, int flags), (s, buffer, length, flags)) \
  X(int, recv, (SOCKET s, char* buffer, int length, int flags), (s, buffer, length, flags)) \
  X(int, sendto, (SOCKET s, const char* buffer, int length, int flags, const SOCKADDR_IN* to, int toLength), (s, buffer, length, flags, to, toLength)) \
  X(int, recvfrom, (SOCKET s, char* buffer, int length, int flags, SOCKADDR_IN* from, int* fromLength), (s, buffer, length, flags, from, fromLength)) \
  X(int, ioctlsocket, (SOCKET s, long command, DWORD* argument), (s, command, argument)) \
  X(int, setsockopt, (SOCKET s, int level, int optionName, const char* optionValue, int optionLength), (s, level, optionName, optionValue, optionLength)) \
  X(int, WSAAsyncSelect, (SOCKET s, HWND window, UINT message, long events), (s, window, message, events)) \
  X(const HOSTENT*, gethostbyname, (const std::string& name), (name))
// clang-format on

class SocketApi {
 public:
  virtual ~SocketApi() = default;

#define LUDORA_DECLARE_SOCKET_OPERATION(result, name, parameters, arguments) \
  virtual result name parameters = 0;
  LUDORA_SOCKET_API(LUDORA_DECLARE_SOCKET_OPERATION)
#undef LUDORA_DECLARE_SOCKET_OPERATION
};

// An IPv4 address and port in host order, and the record Windows takes.
struct SocketAddress {
  DWORD ip = 0;  // 127.0.0.1 is 0x7F000001
  WORD port = 0;
  auto operator<=>(const SocketAddress&) const = default;

  SOCKADDR_IN ToRecord() const;
  static SocketAddress FromRecord(const SOCKADDR_IN& record);
  // "a.b.c.d" or "a.b.c.d:port" (the port then 1 to 65535); nothing for
  // anything else.
  static std::optional<SocketAddress> Parse(std::string_view text);
  std::string ToString() const;  // "a.b.c.d:port"
};

}  // namespace ludora
