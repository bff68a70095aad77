#include "ludora-record/record_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace ludora {

namespace {

constexpr std::string_view kHeaderBefore = "Corvane Ludora machine record 1";
constexpr std::string_view kHeader = "Corvane Ludora machine record 2";
constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr DWORD kLastType = 11;  // REG_QWORD: REG_NONE up to it are what Windows stores

std::uint32_t Checksum(std::string_view text) {  // FNV-1a
  std::uint32_t hash = 2166136261u;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

std::string Hex(const std::vector<BYTE>& bytes) {
  std::string text;
  for (const BYTE byte : bytes) {
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 15];
  }
  return text;
}

std::optional<std::vector<BYTE>> FromHex(std::string_view hex, std::size_t longest) {
  if (hex.size() % 2 || hex.size() > 2 * longest) return std::nullopt;
  std::vector<BYTE> bytes;
  for (std::size_t at = 0; at < hex.size(); at += 2) {
    const std::size_t high = kHexDigits.find(hex[at]), low = kHexDigits.find(hex[at + 1]);
    if (high == std::string_view::npos || low == std::string_view::npos) return std::nullopt;
    bytes.push_back(static_cast<BYTE>(high * 16 + low));
  }
  return bytes;
}

// A number of at most `digits` decimal digits, nothing else.
std::optional<std::size_t> Number(std::string_view text, std::size_t digits) {
  if (text.empty() || text.size() > digits) return std::nullopt;
  std::size_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::size_t>(c - '0');
  }
  return value;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t at = 0;;) {
    const std::size_t end = text.find(separator, at);
    parts.push_back(text.substr(at, end == std::string_view::npos ? end : end - at));
    if (end == std::string_view::npos) return parts;
    at = end + 1;
  }
}

std::optional<PlaceState> ParseLine(std::string_view line, const std::vector<Place>& list) {
  const std::vector<std::string_view> f = Split(line, '\t');
  if (f.size() < 5 || (f[0] != "reg" && f[0] != "ini")) return std::nullopt;
  PlaceState state;
  state.place = {f[0] == "ini", 0, std::string(f[2]), std::string(f[3])};
  if (state.place.ini && f[1] != "-") return std::nullopt;
  for (const auto& [handle, name] : kRootNames) {
    if (!state.place.ini && f[1] == name) state.place.root = handle;
  }
  // Only a place of the list, spelled as the tables spell it.
  if (std::find(list.begin(), list.end(), state.place) == list.end()) return std::nullopt;
  if (f[4] == "absent") return f.size() == 5 ? std::optional(state) : std::nullopt;
  const auto type = Number(f[4], 2);
  const auto data = f.size() == 6 ? FromHex(f[5], kLargestValue) : std::nullopt;
  if (!type || *type > kLastType || !data) return std::nullopt;
  // A profile entry is one line of text: a line end in it would write lines of its own.
  const bool oneLine = std::none_of(data->begin(), data->end(),
                                    [](BYTE b) { return b == 0 || b == '\r' || b == '\n'; });
  if (state.place.ini && (*type != REG_SZ || !oneLine)) return std::nullopt;
  state.present = true;
  state.type = static_cast<DWORD>(*type);
  state.data = *data;
  return state;
}

}  // namespace

std::string RecordText(const MachineRecord& record) {
  std::string text = std::string(kHeader) + "\n";
  std::string account = record.account.value_or("");
  text += "account\t" + Hex({account.begin(), account.end()}) + "\n";
  for (const PlaceState& state : record.states) {
    const Place& place = state.place;
    std::string_view root = "-";
    for (const auto& [handle, name] : kRootNames) {
      if (!place.ini && handle == place.root) root = name;
    }
    text += std::string(place.ini ? "ini" : "reg") + "\t" + std::string(root) + "\t" + place.key +
            "\t" + place.name + "\t";
    text += state.present ? std::to_string(state.type) + "\t" + Hex(state.data) : "absent";
    text += "\n";
  }
  char end[40];
  std::snprintf(end, sizeof end, "end\t%zu\t%08x\n", record.states.size(), Checksum(text));
  text += end;
  // CR LF, as every editor on Windows reads it.
  std::string lines;
  for (const char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  return lines;
}

std::size_t LongestRecord() {
  const std::size_t lineEnd = 2;
  std::size_t longest = kHeader.size() + lineEnd + 8 + 2 * kLongestAccount + lineEnd;
  for (const Place& place : PlacesLudoraWrites()) {
    longest += 9 + place.key.size() + 1 + place.name.size() + 4 + 2 * kLargestValue + lineEnd;
  }
  return longest + 4 + 20 + 1 + 8 + lineEnd;
}

std::optional<MachineRecord> ParseRecord(std::string_view raw) {
  if (raw.size() > LongestRecord()) return std::nullopt;
  std::string text;
  for (std::size_t at = 0; at < raw.size(); ++at) {
    if (!(raw[at] == '\r' && at + 1 < raw.size() && raw[at + 1] == '\n')) text += raw[at];
  }
  if (!text.ends_with('\n')) text += '\n';
  const std::size_t end = text.rfind('\n', text.size() - 2) + 1;  // the last line
  const std::string_view last = std::string_view(text).substr(end);
  const bool before = text.starts_with(std::string(kHeaderBefore) + "\n");
  const std::size_t body = kHeader.size() + 1;  // both headers are as long
  if (end < body || (!before && !text.starts_with(std::string(kHeader) + "\n"))) {
    return std::nullopt;
  }
  const std::vector<std::string_view> f = Split(last.substr(0, last.size() - 1), '\t');
  const auto count = f.size() == 3 && f[0] == "end" ? Number(f[1], 6) : std::nullopt;
  char checksum[9];
  std::snprintf(checksum, sizeof checksum, "%08x", Checksum(std::string_view(text).substr(0, end)));
  if (!count || f[2] != checksum) return std::nullopt;

  MachineRecord record;
  std::vector<std::string_view> lines;
  if (end > body) lines = Split(std::string_view(text).substr(body, end - body - 1), '\n');
  if (!before) {
    const std::vector<std::string_view> account =
        lines.empty() ? std::vector<std::string_view>{} : Split(lines.front(), '\t');
    const auto name = account.size() == 2 && account[0] == "account"
                          ? FromHex(account[1], kLongestAccount)
                          : std::nullopt;
    if (!name) return std::nullopt;
    if (!name->empty()) record.account = std::string(name->begin(), name->end());
    lines.erase(lines.begin());
  }
  const std::vector<Place> list = PlacesLudoraWrites();
  for (const std::string_view line : lines) {
    const auto state = ParseLine(line, list);
    const auto same = [&](const PlaceState& s) { return state && s.place == state->place; };
    if (!state || std::any_of(record.states.begin(), record.states.end(), same)) {
      return std::nullopt;
    }
    record.states.push_back(*state);
  }
  if (record.states.size() != *count) return std::nullopt;
  return record;
}

}  // namespace ludora
