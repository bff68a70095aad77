#include "tuning/machine_record.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>
#include <strings.h>

#include "platform/resume_next.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"
#include "tuning/open_command.h"
#include "tuning/shell_switch.h"
#include "tuning/startup_set.h"

namespace ludora {

namespace {

constexpr std::string_view kHeader = "Corvane Ludora machine record 1";
constexpr char kAbsent[] = "\x01";  // no system.ini entry says this
constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr std::array<std::pair<HKEY, std::string_view>, 4> kRoots = {
    {{HKCR, "HKCR"}, {HKCU, "HKCU"}, {HKLM, "HKLM"}, {HKU, "HKU"}}};

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

Place PlaceOf(const TuningRow& row) {
  const bool ini = row.kind == RowKind::Ini;
  return {ini, ini ? 0 : row.root, std::string(row.key), std::string(row.name)};
}

void Add(std::vector<Place>& places, Place place) {
  const bool known =
      std::any_of(places.begin(), places.end(), [&](const Place& p) { return p.SameAs(place); });
  if (!known) places.push_back(std::move(place));
}

std::uint32_t Checksum(std::string_view text) {  // FNV-1a
  std::uint32_t hash = 2166136261u;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
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

std::optional<std::vector<BYTE>> FromHex(std::string_view hex) {
  if (hex.size() % 2) return std::nullopt;
  std::vector<BYTE> bytes;
  for (std::size_t at = 0; at < hex.size(); at += 2) {
    unsigned value = 0;
    for (const char c : hex.substr(at, 2)) {
      const std::size_t digit = kHexDigits.find(c);
      if (digit == std::string_view::npos) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    bytes.push_back(static_cast<BYTE>(value));
  }
  return bytes;
}

std::optional<PlaceState> ParseLine(std::string_view line) {
  const std::vector<std::string_view> f = Split(line, '\t');
  if (f.size() < 5 || (f[0] != "reg" && f[0] != "ini")) return std::nullopt;
  PlaceState state;
  state.place = {f[0] == "ini", 0, std::string(f[2]), std::string(f[3])};
  if (!state.place.ini) {
    const auto root =
        std::find_if(kRoots.begin(), kRoots.end(), [&](const auto& r) { return r.second == f[1]; });
    if (root == kRoots.end()) return std::nullopt;
    state.place.root = root->first;
  }
  if (f[4] == "absent") return f.size() == 5 ? std::optional(state) : std::nullopt;
  const auto data = f.size() == 6 ? FromHex(f[5]) : std::nullopt;
  unsigned type = 0;
  if (!data || std::sscanf(std::string(f[4]).c_str(), "%u", &type) != 1) return std::nullopt;
  state.present = true;
  state.type = type;
  state.data = *data;
  return state;
}

// A place's state; nothing when it could not be read (no right to the key,
// say): such a place is left out of the record, and so left alone later.
std::optional<PlaceState> Read(WindowsApi& api, const Place& place) {
  PlaceState state{place};
  if (place.ini) {
    std::vector<char> text(4096);
    const DWORD length =
        api.GetPrivateProfileStringA(place.key, place.name, kAbsent, text.data(),
                                     static_cast<DWORD>(text.size()), std::string(kSystemIni));
    if (std::string_view(text.data(), length) == kAbsent) return state;
    return PlaceState{place, true, REG_SZ, {text.begin(), text.begin() + length}};
  }
  const auto absentOrUnknown = [&](LONG status) -> std::optional<PlaceState> {
    if (status == static_cast<LONG>(ERROR_FILE_NOT_FOUND)) return state;
    return std::nullopt;
  };
  ScopedKey key(api);
  const LONG opened = api.RegOpenKeyExA(place.root, place.key, 0, KEY_QUERY_VALUE, key.out());
  if (opened != ERROR_SUCCESS) return absentOrUnknown(opened);
  DWORD type = 0, size = 0;
  const LONG sized = api.RegQueryValueExA(key.get(), place.name, nullptr, &type, nullptr, &size);
  if (sized != ERROR_SUCCESS) return absentOrUnknown(sized);
  std::vector<BYTE> data(size);
  if (api.RegQueryValueExA(key.get(), place.name, nullptr, &type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(size);
  return PlaceState{place, true, type, std::move(data)};
}

bool Write(WindowsApi& api, const PlaceState& state) {
  const Place& place = state.place;
  // Without an open command no program starts from the shell: a record that
  // says there was none gets the default one.
  if (!place.ini && place.root == HKCR && SameText(place.key, std::string(kOpenCommandKey)) &&
      !state.present) {
    return WriteDefaultOpenCommand(api);
  }
  if (place.ini) {
    const std::string text(state.data.begin(), state.data.end());
    return api.WritePrivateProfileStringA(place.key, place.name,
                                          state.present ? text.c_str() : nullptr,
                                          std::string(kSystemIni)) != 0;
  }
  ScopedKey key(api);
  if (!state.present) {
    // No key, no value: already as recorded. A key that cannot be opened
    // may still hold the value.
    const LONG opened = api.RegOpenKeyExA(place.root, place.key, 0, KEY_SET_VALUE, key.out());
    if (opened != ERROR_SUCCESS) return opened == static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    const LONG deleted = api.RegDeleteValueA(key.get(), place.name);
    return deleted == ERROR_SUCCESS || deleted == static_cast<LONG>(ERROR_FILE_NOT_FOUND);
  }
  return api.RegCreateKeyA(place.root, place.key, key.out()) == ERROR_SUCCESS &&
         api.RegSetValueExA(key.get(), place.name, 0, state.type, state.data.data(),
                            static_cast<DWORD>(state.data.size())) == ERROR_SUCCESS;
}

}  // namespace

bool Place::SameAs(const Place& other) const {
  return ini == other.ini && root == other.root && SameText(key, other.key) &&
         SameText(name, other.name);
}

std::vector<Place> PlacesLudoraWrites() {
  std::vector<Place> places;
  for (const std::span<const TuningRow> table :
       {StartupRows(), LudoraRegistrationRows(), LudoraTuningRows(), LudoraClosingRows(),
        ExplorerRegistrationRows(), ExplorerTuningRows(), ExplorerClosingRows()}) {
    for (const TuningRow& row : table) Add(places, PlaceOf(row));
  }
  for (const std::span<const ServiceStart> services :
       {LudoraServiceStarts(), ExplorerServiceStarts()}) {
    for (const ServiceStart& service : services) {
      Add(places, {false, HKLM, std::string(kServicesKey) + std::string(service.service), "Start"});
    }
  }
  return places;
}

std::vector<PlaceState> ReadPlaces(WindowsApi& api, const std::vector<Place>& places) {
  std::vector<PlaceState> states;
  for (const Place& place : places) {
    if (auto state = Read(api, place)) states.push_back(std::move(*state));
  }
  return states;
}

std::string RecordText(const std::vector<PlaceState>& states) {
  std::string text = std::string(kHeader) + "\n";
  for (const PlaceState& state : states) {
    const Place& place = state.place;
    std::string_view root = "-";
    for (const auto& [handle, name] : kRoots) {
      if (!place.ini && handle == place.root) root = name;
    }
    text += std::string(place.ini ? "ini" : "reg") + "\t" + std::string(root) + "\t" + place.key +
            "\t" + place.name + "\t";
    if (!state.present) {
      text += "absent\n";
      continue;
    }
    text += std::to_string(state.type) + "\t";
    for (const BYTE byte : state.data) {
      text += kHexDigits[byte >> 4];
      text += kHexDigits[byte & 15];
    }
    text += "\n";
  }
  char end[32];
  std::snprintf(end, sizeof end, "end\t%zu\t%08x\n", states.size(), Checksum(text));
  return text + end;
}

std::optional<std::vector<PlaceState>> ParseRecord(std::string_view text) {
  const std::size_t end = text.rfind("end\t");
  if (end == std::string_view::npos || !text.starts_with(std::string(kHeader) + "\n")) {
    return std::nullopt;
  }
  std::size_t count = 0;
  unsigned checksum = 0;
  char after = 0;
  if (std::sscanf(std::string(text.substr(end)).c_str(), "end\t%zu\t%8x%c", &count, &checksum,
                  &after) != 3 ||
      after != '\n' || end + 4 + std::to_string(count).size() + 10 != text.size() ||
      checksum != Checksum(text.substr(0, end))) {
    return std::nullopt;
  }
  std::vector<PlaceState> states;
  const std::string_view body = text.substr(kHeader.size() + 1, end - kHeader.size() - 1);
  for (const std::string_view line : Split(body, '\n')) {
    if (line.empty()) continue;
    const auto state = ParseLine(line);
    if (!state) return std::nullopt;
    states.push_back(*state);
  }
  if (states.size() != count) return std::nullopt;
  return states;
}

bool ApplyRecord(WindowsApi& api, const std::vector<PlaceState>& states) {
  // The registry first: the profile mapping it holds decides where a
  // system.ini entry (the [boot] shell) is written, and it must be the
  // recorded one when the entries are put back. Should Windows go on using
  // the mapping it read at boot, the entry lands in the registry instead:
  // the registry once more puts that place back too.
  bool all = true;
  for (const bool ini : {false, true, false}) {
    for (const PlaceState& state : states) {
      if (state.place.ini == ini) {
        all &= Succeeded(api, "ApplyRecord", [&] { return Write(api, state); });
      }
    }
  }
  return all;
}

bool ShellNamesLudora(WindowsApi& api) {
  for (const std::span<const TuningRow> table :
       {LudoraRegistrationRows(), ExplorerRegistrationRows()}) {
    for (const TuningRow& row : table) {
      const auto state = Read(api, PlaceOf(row));
      if (!state || !state->present) continue;
      std::string text(state->data.begin(), state->data.end());
      std::transform(text.begin(), text.end(), text.begin(), ::tolower);
      if (text.find("ludora.exe") != std::string::npos) return true;
    }
  }
  return false;
}

void RestoreExplorerDefaults(WindowsApi& api, Platform platform) {
  ResumeNext(
      api, "RestoreExplorerDefaults", [&] { RegisterExplorerShell(api); },
      [&] { ApplyExplorerTuning(api, platform); });
}

}  // namespace ludora
