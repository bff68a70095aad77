#include "lobbyfind/a2s_protocol.h"

#include <cstring>

namespace ludora::lobbyfind {

namespace {

// Reads a record front to back; any read past the end fails the record.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}
  bool ok() const { return ok_; }
  std::uint32_t Byte() { return Number(1); }
  std::uint32_t Short() { return Number(2); }
  std::uint32_t Long() { return Number(4); }
  float Float() {
    const std::uint32_t bits = Long();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::string String() {
    const auto end = rest_.find('\0');
    if (end == std::string_view::npos) return Fail(), std::string();
    std::string text(rest_.substr(0, std::min(end, kMaxText)));
    rest_.remove_prefix(end + 1);
    return text;
  }
  bool empty() const { return rest_.empty(); }

 private:
  std::uint32_t Number(std::size_t bytes) {
    if (rest_.size() < bytes) return Fail(), 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i)
      value |= static_cast<std::uint32_t>(static_cast<BYTE>(rest_[i])) << (8 * i);
    rest_.remove_prefix(bytes);
    return value;
  }
  void Fail() {
    ok_ = false;
    rest_ = {};
  }
  std::string_view rest_;
  bool ok_ = true;
};

std::string LittleEndian(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

void SourceInfo(Reader& in, A2sInfo& info) {
  in.Byte();  // protocol
  info.name = in.String();
  info.map = in.String();
  info.folder = in.String();
  info.game = in.String();
  info.appId = static_cast<int>(in.Short());
  info.players = static_cast<int>(in.Byte());
  info.maxPlayers = static_cast<int>(in.Byte());
  info.bots = static_cast<int>(in.Byte());
  info.type = static_cast<char>(in.Byte());
  info.os = static_cast<char>(in.Byte());
  info.locked = in.Byte() != 0;
  info.secure = in.Byte() != 0;
  if (info.appId == 2400) in.Byte(), in.Byte(), in.Byte();  // The Ship's mode, witnesses, duration
  info.version = in.String();
  // The extra data that may follow (port, Steam id, keywords) is not shown.
}

void OldInfo(Reader& in, A2sInfo& info) {
  in.String();  // the address the server thinks it has
  info.name = in.String();
  info.map = in.String();
  info.folder = in.String();
  info.game = in.String();
  info.players = static_cast<int>(in.Byte());
  info.maxPlayers = static_cast<int>(in.Byte());
  in.Byte();  // protocol
  info.type = static_cast<char>(in.Byte());
  info.os = static_cast<char>(in.Byte());
  info.locked = in.Byte() != 0;
  if (in.Byte() == 1) {  // a mod: its site, download, a NUL, version, size, type, library
    in.String(), in.String(), in.Byte(), in.Long(), in.Long(), in.Byte(), in.Byte();
  }
  info.secure = in.Byte() != 0;
  info.bots = static_cast<int>(in.Byte());
}

}  // namespace

std::string A2sInfoRequest(std::optional<std::uint32_t> challenge) {
  std::string request = std::string(kOutOfBand) + "TSource Engine Query";
  request += '\0';
  return challenge ? request + LittleEndian(*challenge) : request;
}

std::string A2sPlayerRequest(std::uint32_t challenge) {
  return std::string(kOutOfBand) + 'U' + LittleEndian(challenge);
}

std::optional<A2sReply> ParseA2sReply(std::string_view datagram) {
  if (!datagram.starts_with(kOutOfBand) || datagram.size() < 5) return std::nullopt;
  Reader in(datagram.substr(5));
  A2sReply reply;
  switch (datagram[4]) {
    case 'A':
      reply.kind = A2sReply::Kind::Challenge;
      reply.challenge = in.Long();
      break;
    case 'I':
      SourceInfo(in, reply.info);
      break;
    case 'm':
      OldInfo(in, reply.info);
      break;
    case 'D': {
      reply.kind = A2sReply::Kind::Players;
      const std::uint32_t count = in.Byte();
      for (std::uint32_t i = 0; i < count && in.ok() && !in.empty(); ++i) {
        in.Byte();  // index
        Player player{in.String(), static_cast<int>(in.Long()), -1, -1};
        if (const float seconds = in.Float(); seconds >= 0 && seconds < 1e8f) {
          player.seconds = static_cast<int>(seconds);
        }
        if (in.ok() && reply.players.size() < kMaxPlayers)
          reply.players.push_back(std::move(player));
      }
      break;
    }
    default:
      return std::nullopt;
  }
  // A player list cut short keeps the players that came whole.
  if (!in.ok() && reply.kind != A2sReply::Kind::Players) return std::nullopt;
  return reply;
}

Settings A2sSettings(const A2sInfo& info) {
  const auto letter = [](char c) { return c ? std::string(1, c) : std::string(); };
  return {{"game", info.game},
          {"folder", info.folder},
          {"version", info.version},
          {"app id", std::to_string(info.appId)},
          {"bots", std::to_string(info.bots)},
          {"type", letter(info.type)},
          {"system", letter(info.os)},
          {"anti-cheat", info.secure ? "on" : "off"}};
}

}  // namespace ludora::lobbyfind
