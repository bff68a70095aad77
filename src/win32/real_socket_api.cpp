#include "win32/real_socket_api.h"

#include <winsock2.h>

#include <cstring>

namespace ludora {

namespace {

static_assert(sizeof(DWORD) == sizeof(::u_long));

::sockaddr_in ToWindows(const SOCKADDR_IN& from) {
  ::sockaddr_in to{};
  to.sin_family = static_cast<short>(from.sin_family);
  to.sin_port = from.sin_port;
  to.sin_addr.s_addr = from.sin_addr;
  return to;
}

void FromWindows(const ::sockaddr_in& from, SOCKADDR_IN* to) {
  to->sin_family = static_cast<short>(from.sin_family);
  to->sin_port = from.sin_port;
  to->sin_addr = from.sin_addr.s_addr;
}

// The portable record stands for a whole sockaddr_in: the lengths Windows
// checks are its own.
constexpr int kRecordLength = sizeof(::sockaddr_in);

::SOCKET ToSocket(SOCKET s) {
  return static_cast<::SOCKET>(s);
}

}  // namespace

int RealSocketApi::WSAStartup(WORD versionRequested, WSADATA* data) {
  ::WSADATA windows{};
  const int status = ::WSAStartup(versionRequested, &windows);
  data->wVersion = windows.wVersion;
  data->wHighVersion = windows.wHighVersion;
  return status;
}

int RealSocketApi::WSACleanup() {
  return ::WSACleanup();
}

int RealSocketApi::WSAGetLastError() {
  return ::WSAGetLastError();
}

SOCKET RealSocketApi::socket(int family, int type, int protocol) {
  const ::SOCKET s = ::socket(family, type, protocol);
  return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SOCKET>(s);
}

int RealSocketApi::closesocket(SOCKET s) {
  return ::closesocket(ToSocket(s));
}

int RealSocketApi::bind(SOCKET s, const SOCKADDR_IN* name, int) {
  const ::sockaddr_in address = ToWindows(*name);
  return ::bind(ToSocket(s), reinterpret_cast<const ::sockaddr*>(&address), kRecordLength);
}

int RealSocketApi::getsockname(SOCKET s, SOCKADDR_IN* name, int* nameLength) {
  ::sockaddr_in address{};
  int length = kRecordLength;
  const int status = ::getsockname(ToSocket(s), reinterpret_cast<::sockaddr*>(&address), &length);
  if (status == 0) FromWindows(address, name);
  *nameLength = static_cast<int>(sizeof *name);
  return status;
}

int RealSocketApi::connect(SOCKET s, const SOCKADDR_IN* name, int) {
  const ::sockaddr_in address = ToWindows(*name);
  return ::connect(ToSocket(s), reinterpret_cast<const ::sockaddr*>(&address), kRecordLength);
}

int RealSocketApi::send(SOCKET s, const char* buffer, int length, int flags) {
  return ::send(ToSocket(s), buffer, length, flags);
}

int RealSocketApi::recv(SOCKET s, char* buffer, int length, int flags) {
  return ::recv(ToSocket(s), buffer, length, flags);
}

int RealSocketApi::sendto(SOCKET s, const char* buffer, int length, int flags,
                          const SOCKADDR_IN* to, int) {
  const ::sockaddr_in address = ToWindows(*to);
  return ::sendto(ToSocket(s), buffer, length, flags, reinterpret_cast<const ::sockaddr*>(&address),
                  kRecordLength);
}

int RealSocketApi::recvfrom(SOCKET s, char* buffer, int length, int flags, SOCKADDR_IN* from,
                            int* fromLength) {
  ::sockaddr_in address{};
  int addressLength = kRecordLength;
  const int received = ::recvfrom(ToSocket(s), buffer, length, flags,
                                  reinterpret_cast<::sockaddr*>(&address), &addressLength);
  // A datagram cut to the buffer (WSAEMSGSIZE) still says where it came from.
  if (from && (received >= 0 || ::WSAGetLastError() == WSAEMSGSIZE)) FromWindows(address, from);
  if (fromLength) *fromLength = static_cast<int>(sizeof *from);
  return received;
}

int RealSocketApi::ioctlsocket(SOCKET s, long command, DWORD* argument) {
  return ::ioctlsocket(ToSocket(s), command, reinterpret_cast<::u_long*>(argument));
}

int RealSocketApi::setsockopt(SOCKET s, int level, int optionName, const char* optionValue,
                              int optionLength) {
  return ::setsockopt(ToSocket(s), level, optionName, optionValue, optionLength);
}

int RealSocketApi::WSAAsyncSelect(SOCKET s, HWND window, UINT message, long events) {
  return ::WSAAsyncSelect(ToSocket(s), reinterpret_cast<::HWND>(window), message, events);
}

const HOSTENT* RealSocketApi::gethostbyname(const std::string& name) {
  HOSTENT& answer = answer_;
  const ::hostent* found = ::gethostbyname(name.c_str());
  if (!found || found->h_addrtype != AF_INET || found->h_length != 4) return nullptr;
  answer.count = 0;
  for (char** address = found->h_addr_list; *address && answer.count < HOSTENT::kMaxAddresses;
       ++address) {
    std::memcpy(&answer.addresses[answer.count++], *address, 4);
  }
  return &answer;
}

}  // namespace ludora
