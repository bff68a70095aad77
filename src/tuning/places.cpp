#include "tuning/places.h"

#include <algorithm>
#include <array>
#include <cstring>
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

constexpr char kAbsent[] = "\x01";  // no system.ini entry says this

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

void Add(std::vector<Place>& places, Place place) {
  const bool known =
      std::any_of(places.begin(), places.end(), [&](const Place& p) { return p.SameAs(place); });
  if (!known) places.push_back(std::move(place));
}

}  // namespace

Place PlaceOf(const TuningRow& row) {
  const bool ini = row.kind == RowKind::Ini;
  return {ini, ini ? 0 : row.root, std::string(row.key), std::string(row.name)};
}

std::string Describe(const Place& place) {
  if (place.ini) return "system.ini [" + place.key + "] " + place.name;
  std::string root = "?";
  for (const auto& [handle, name] : kRootNames) {
    if (handle == place.root) root = name;
  }
  return root + "\\" + place.key + " [" + (place.name.empty() ? "(default)" : place.name) + "]";
}

std::optional<PlaceState> ReadPlace(WindowsApi& api, const Place& place, std::size_t largest) {
  PlaceState state{place};
  if (place.ini) {
    // Room for one character more: a longer entry is seen as such.
    std::vector<char> text(largest + 2);
    const DWORD length =
        api.GetPrivateProfileStringA(place.key, place.name, kAbsent, text.data(),
                                     static_cast<DWORD>(text.size()), std::string(kSystemIni));
    if (std::string_view(text.data(), length) == kAbsent) return state;
    if (length > largest) return std::nullopt;
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
  if (size > largest) return std::nullopt;
  std::vector<BYTE> data(size);
  if (api.RegQueryValueExA(key.get(), place.name, nullptr, &type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(size);
  return PlaceState{place, true, type, std::move(data)};
}

DWORD WritePlace(WindowsApi& api, const PlaceState& state) {
  const Place& place = state.place;
  if (place.ini) {
    const std::string text(state.data.begin(), state.data.end());
    if (api.WritePrivateProfileStringA(place.key, place.name,
                                       state.present ? text.c_str() : nullptr,
                                       std::string(kSystemIni))) {
      return 0;
    }
    const DWORD error = api.GetLastError();
    return error ? error : ERROR_ACCESS_DENIED;
  }
  ScopedKey key(api);
  if (!state.present) {
    // No key, no value: already as recorded. A key that cannot be opened
    // may still hold the value.
    const LONG opened = api.RegOpenKeyExA(place.root, place.key, 0, KEY_SET_VALUE, key.out());
    if (opened == static_cast<LONG>(ERROR_FILE_NOT_FOUND)) return 0;
    if (opened != ERROR_SUCCESS) return static_cast<DWORD>(opened);
    const LONG deleted = api.RegDeleteValueA(key.get(), place.name);
    return deleted == static_cast<LONG>(ERROR_FILE_NOT_FOUND) ? 0 : static_cast<DWORD>(deleted);
  }
  LONG status = api.RegCreateKeyA(place.root, place.key, key.out());
  if (status == ERROR_SUCCESS) {
    status = api.RegSetValueExA(key.get(), place.name, 0, state.type, state.data.data(),
                                static_cast<DWORD>(state.data.size()));
  }
  return static_cast<DWORD>(status);
}

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
    if (auto state = ReadPlace(api, place)) states.push_back(std::move(*state));
  }
  return states;
}

std::optional<std::string> AccountName(WindowsApi& api) {
  char name[kLongestAccount + 1];
  DWORD size = sizeof name;
  if (!api.GetUserNameA(name, &size)) return std::nullopt;
  const std::string text(name, strnlen(name, sizeof name));
  if (text.empty()) return std::nullopt;
  return text;
}

std::vector<Place> RegistrationPlaces() {
  std::vector<Place> places;
  for (const std::span<const TuningRow> table :
       {LudoraRegistrationRows(), ExplorerRegistrationRows()}) {
    for (const TuningRow& row : table) Add(places, PlaceOf(row));
  }
  return places;
}

bool ShellNamesLudora(WindowsApi& api) {
  for (const Place& place : RegistrationPlaces()) {
    // A place that cannot be read cannot be confirmed free of it.
    const auto state = ReadPlace(api, place, kLargestReadBack);
    if (!state) return true;
    if (state->present &&
        NamesLudora({reinterpret_cast<const char*>(state->data.data()), state->data.size()})) {
      return true;
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
