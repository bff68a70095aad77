#include <algorithm>
#include <charconv>
#include <string>

#include "platform/socket_api.h"

namespace ludora {

namespace {

WORD Swap16(WORD value) {
  return static_cast<WORD>((value >> 8) | (value << 8));
}

DWORD Swap32(DWORD value) {
  return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

// A decimal number of at most `digits` digits, no sign, no blanks.
std::optional<DWORD> Number(std::string_view text, std::size_t digits) {
  DWORD value = 0;
  if (text.empty() || text.size() > digits) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

// Windows keeps both in network order, which is big-endian; every machine
// Windows runs these programs on is little-endian.
SOCKADDR_IN SocketAddress::ToRecord() const {
  return SOCKADDR_IN{AF_INET_, Swap16(port), Swap32(ip)};
}

SocketAddress SocketAddress::FromRecord(const SOCKADDR_IN& record) {
  return SocketAddress{Swap32(record.sin_addr), Swap16(record.sin_port)};
}

std::optional<SocketAddress> SocketAddress::Parse(std::string_view text) {
  SocketAddress address;
  if (const auto colon = text.find(':'); colon != std::string_view::npos) {
    const auto port = Number(text.substr(colon + 1), 5);
    if (!port || *port == 0 || *port > 0xFFFF) return std::nullopt;
    address.port = static_cast<WORD>(*port);
    text = text.substr(0, colon);
  }
  for (int part = 0; part < 4; ++part) {
    const auto dot = part < 3 ? text.find('.') : text.size();
    if (dot == std::string_view::npos) return std::nullopt;
    const auto byte = Number(text.substr(0, dot), 3);
    if (!byte || *byte > 255) return std::nullopt;
    address.ip = (address.ip << 8) | *byte;
    text = text.substr(std::min(dot + 1, text.size()));
  }
  return address;
}

std::string SocketAddress::ToString() const {
  return std::to_string(ip >> 24) + '.' + std::to_string((ip >> 16) & 0xFF) + '.' +
         std::to_string((ip >> 8) & 0xFF) + '.' + std::to_string(ip & 0xFF) + ':' +
         std::to_string(port);
}

}  // namespace ludora
