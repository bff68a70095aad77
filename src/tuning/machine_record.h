// The record of the machine as it was before Ludora was installed: the
// state of every registry value and system.ini entry that Ludora can ever
// write, so that uninstalling can put each one back exactly.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_api.h"
#include "tuning/primitives.h"

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

// Every place Ludora writes, each once, from the shell's own tables: the
// start-up set, both default-shell switches with their registration rows,
// the service start types of both, the open command of executables.
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

// The places as they are now; one that cannot be read is left out.
std::vector<PlaceState> ReadPlaces(WindowsApi& api, const std::vector<Place>& places);

// The record as text, a file anyone can read:
//   Corvane Ludora machine record 1
//   reg<TAB>HKLM<TAB><key path><TAB><value name><TAB><type number><TAB><data in hex>
//   reg<TAB>HKCU<TAB><key path><TAB><value name><TAB>absent
//   ini<TAB>-<TAB><section><TAB><key><TAB>1<TAB><text in hex>
//   ...
//   end<TAB><number of places><TAB><FNV-1a checksum of all lines before>
// A line a place; the last line makes a record cut short or altered known
// as such.
std::string RecordText(const std::vector<PlaceState>& states);
// The record's places, or nothing when anything in it is amiss.
std::optional<std::vector<PlaceState>> ParseRecord(std::string_view text);

// Puts every place back as recorded: the recorded type and data, or the
// value or entry deleted. Goes on past a refusal; whether all were accepted.
bool ApplyRecord(WindowsApi& api, const std::vector<PlaceState>& states);

// Whether a shell place (Winlogon's Shell, system.ini's [boot] shell) names
// ludora.exe, as after "Set Ludora as default shell".
bool ShellNamesLudora(WindowsApi& api);

// What an uninstall falls back to without a sound record: Explorer as the
// shell, with the values and start types its switch writes.
void RestoreExplorerDefaults(WindowsApi& api, Platform platform);

}  // namespace ludora
