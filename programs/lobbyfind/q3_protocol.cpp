#include "lobbyfind/q3_protocol.h"

#include <cctype>
#include <charconv>

#include "platform/settings_file.h"

namespace ludora::lobbyfind {

namespace {

std::string Capped(std::string_view text) {
  return std::string(text.substr(0, kMaxText));
}

// `datagram` after the four 0xFF bytes and `command`, which ends at a line
// feed, a '\' or the end; nothing when it is another command.
std::optional<std::string_view> Body(std::string_view datagram, std::string_view command) {
  if (!datagram.starts_with(kOutOfBand)) return std::nullopt;
  datagram.remove_prefix(kOutOfBand.size());
  if (!datagram.starts_with(command)) return std::nullopt;
  datagram.remove_prefix(command.size());
  if (!datagram.empty() && datagram[0] != '\n' && datagram[0] != '\\') return std::nullopt;
  return datagram;
}

std::optional<int> Integer(std::string_view& text) {
  while (!text.empty() && text[0] == ' ') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{}) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

// `score ping "name"`; the name is what stands between the first quote
// and the last, so a quote inside it stays.
std::optional<Player> PlayerLine(std::string_view line) {
  const auto score = Integer(line);
  const auto ping = Integer(line);
  if (!score || !ping) return std::nullopt;
  const auto open = line.find('"'), close = line.rfind('"');
  std::string_view name = line;
  if (open != std::string_view::npos && close > open) {
    name = line.substr(open + 1, close - open - 1);
  } else {
    while (!name.empty() && name[0] == ' ') name.remove_prefix(1);
  }
  return Player{Capped(name), *score, *ping, -1};
}

bool IsColourCode(std::string_view text, std::size_t at) {
  return text[at] == '^' && at + 1 < text.size() &&
         std::isalnum(static_cast<unsigned char>(text[at + 1]));
}

}  // namespace

std::string GetInfoRequest(std::string_view challenge) {
  return std::string(kOutOfBand) + "getinfo " + std::string(challenge);
}

std::string GetStatusRequest(std::string_view challenge) {
  return std::string(kOutOfBand) + "getstatus " + std::string(challenge);
}

std::string GetServersRequest(std::string_view gameName, int protocol) {
  std::string request = std::string(kOutOfBand) + "getservers ";
  if (!gameName.empty()) request += std::string(gameName) + ' ';
  return request + std::to_string(protocol) + " empty full";
}

std::optional<Settings> ParseInfoString(std::string_view text) {
  Settings settings;
  if (text.empty()) return settings;
  if (text[0] != '\\') return std::nullopt;
  text.remove_prefix(1);
  while (!text.empty()) {
    const auto keyEnd = text.find('\\');
    if (keyEnd == std::string_view::npos) return std::nullopt;  // a key without its value
    const std::string_view key = text.substr(0, keyEnd);
    text.remove_prefix(keyEnd + 1);
    const auto valueEnd = std::min(text.find('\\'), text.size());
    if (settings.size() < kMaxSettings && !key.empty()) {
      settings.emplace_back(Capped(key), Capped(text.substr(0, valueEnd)));
    }
    text.remove_prefix(std::min(valueEnd + 1, text.size()));
  }
  return settings;
}

std::string_view Value(const Settings& settings, std::string_view key) {
  for (const auto& [name, value] : settings) {
    if (SameText(name, key)) return value;
  }
  return {};
}

std::optional<ServerReply> ParseServerReply(std::string_view datagram) {
  ServerReply reply;
  auto body = Body(datagram, "infoResponse");
  if (!body) {
    body = Body(datagram, "statusResponse");
    reply.status = true;
  }
  if (!body) return std::nullopt;
  std::string_view rest = *body;
  if (!rest.empty() && rest[0] == '\n') rest.remove_prefix(1);
  const auto lineEnd = std::min(rest.find('\n'), rest.size());
  auto settings = ParseInfoString(rest.substr(0, lineEnd));
  if (!settings) return std::nullopt;
  reply.settings = std::move(*settings);
  rest.remove_prefix(std::min(lineEnd + 1, rest.size()));
  while (reply.status && !rest.empty() && reply.players.size() < kMaxPlayers) {
    const auto end = std::min(rest.find('\n'), rest.size());
    if (auto player = PlayerLine(rest.substr(0, end))) reply.players.push_back(std::move(*player));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return reply;
}

std::optional<MasterPage> ParseServersResponse(std::string_view datagram) {
  auto body = Body(datagram, "getserversResponse");
  if (!body) return std::nullopt;
  MasterPage page;
  std::string_view rest = *body;
  constexpr std::size_t kRecord = 7;  // '\', four address bytes, two port bytes
  while (rest.size() >= 4 && rest[0] == '\\') {
    if (rest.substr(1, 3) == "EOT" &&
        (rest.size() < kRecord || rest.substr(4, 3) == std::string_view("\0\0\0", 3))) {
      page.last = true;
      break;
    }
    if (rest.size() < kRecord) break;
    const auto byte = [&](std::size_t at) {
      return static_cast<DWORD>(static_cast<BYTE>(rest[at]));
    };
    const SocketAddress server{byte(1) << 24 | byte(2) << 16 | byte(3) << 8 | byte(4),
                               static_cast<WORD>(byte(5) << 8 | byte(6))};
    if (server.ip != 0 && server.port != 0) page.servers.push_back(server);
    rest.remove_prefix(kRecord);
  }
  return page;
}

std::string StripColours(std::string_view text) {
  std::string plain;
  for (const ColourRun& run : ColourRuns(text)) plain += run.text;
  return plain;
}

std::vector<ColourRun> ColourRuns(std::string_view text) {
  std::vector<ColourRun> runs{{-1, {}}};
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (IsColourCode(text, at)) {
      const int colour = (text[++at] - '0') & 7;
      if (runs.back().text.empty()) {
        runs.back().colour = colour;
      } else {
        runs.push_back({colour, {}});
      }
      continue;
    }
    runs.back().text += text[at];
  }
  if (runs.size() > 1 && runs.back().text.empty()) runs.pop_back();
  return runs;
}

}  // namespace ludora::lobbyfind
