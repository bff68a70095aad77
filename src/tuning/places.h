// The places Ludora writes and their states: every registry value and
// system.ini entry that Ludora can ever write, read and written back one by
// one, so that uninstalling can put each one back exactly.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win_constants.h"
#include "platform/windows_api.h"
#include "tuning/primitives.h"
#include "tuning/tuning_rows.h"

namespace ludora {

// One registry value (root, key, value name) or one system.ini entry
// (section, key), by where it lies: letter case does not tell places apart.
struct Place {
  bool ini = false;
  HKEY root = 0;     // registry values
  std::string key;   // key path, or the system.ini section
  std::string name;  // value name, or the system.ini key
  bool SameAs(const Place& other) const;
  bool operator==(const Place&) const = default;
};

// The registry roots places lie under, by the names records and reports give them.
inline constexpr std::array<std::pair<HKEY, std::string_view>, 4> kRootNames = {
    {{HKCR, "HKCR"}, {HKCU, "HKCU"}, {HKLM, "HKLM"}, {HKU, "HKU"}}};

Place PlaceOf(const TuningRow& row);
// As the user reads it: "HKCU\Control Panel\Desktop [MenuShowDelay]",
// "system.ini [boot] shell".
std::string Describe(const Place& place);

// Every place Ludora writes, each once, spelled as the shell's own tables
// spell it: the start-up set, both default-shell switches with their
// registration rows, the service start types of both, the open command of
// executables.
std::vector<Place> PlacesLudoraWrites();

// What a place held: absent, or a value type and its bytes (system.ini
// entries as REG_SZ text without the NUL).
struct PlaceState {
  Place place;
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> data = {};
  bool operator==(const PlaceState&) const = default;
};

// The largest value a record holds; a larger one is not recorded, and so
// left alone later.
inline constexpr std::size_t kLargestValue = 2048;
// The largest value an uninstall reads back, to tell whose it is: a larger
// one is never Ludora's.
inline constexpr std::size_t kLargestReadBack = 65536;

// A place as it is now; nothing when it cannot be read (no right to the
// key, say) or holds more than `largest` bytes.
std::optional<PlaceState> ReadPlace(WindowsApi& api, const Place& place,
                                    std::size_t largest = kLargestValue);
// The places as they are now; one that cannot be read is left out.
std::vector<PlaceState> ReadPlaces(WindowsApi& api, const std::vector<Place>& places);

// Puts a place in the state given: the type and data, or the value or
// entry deleted. 0, or the error Windows gave.
DWORD WritePlace(WindowsApi& api, const PlaceState& state);

// The account this program runs under; nothing when Windows cannot say
// (no one logged on to Windows 98) or the name is longer than it allows.
inline constexpr std::size_t kLongestAccount = 256;
std::optional<std::string> AccountName(WindowsApi& api);

// The shell registration: the places both default-shell switches write it to.
std::vector<Place> RegistrationPlaces();

// Whether a shell place (Winlogon's Shell, system.ini's [boot] shell) names
// ludora.exe, as after "Set Ludora as default shell", or cannot be read.
bool ShellNamesLudora(WindowsApi& api);

// What an uninstall falls back to without a sound record: Explorer as the
// shell, with the values and start types its switch writes.
void RestoreExplorerDefaults(WindowsApi& api, Platform platform);

}  // namespace ludora
