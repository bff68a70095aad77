// The machine record as text: the state of every place Ludora writes, as the
// installer found them, and the account that installed, whose per-user
// values the HKCU lines are. A file anyone can read:
//   Corvane Ludora machine record 2
//   account<TAB><account name in hex>
//   reg<TAB>HKLM<TAB><key path><TAB><value name><TAB><type number><TAB><data in hex>
//   reg<TAB>HKCU<TAB><key path><TAB><value name><TAB>absent
//   ini<TAB>-<TAB><section><TAB><key><TAB>1<TAB><text in hex>
//   ...
//   end<TAB><number of places><TAB><FNV-1a checksum of all lines before>
// A line a place, CR LF at the end of each; the last line makes a record
// cut short or altered known as such. Records of format 1 (no account line,
// LF line ends) read too.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tuning/places.h"

namespace ludora {

struct MachineRecord {
  std::optional<std::string> account;  // who installed; nothing when unknown
  std::vector<PlaceState> states;
  bool operator==(const MachineRecord&) const = default;
};

std::string RecordText(const MachineRecord& record);

// The longest text RecordText can give: every place on the list holding the
// largest value of the longest type number, the longest account.
std::size_t LongestRecord();

// The record, or nothing when anything in it is amiss: a line of a place
// not on the list (root, key and value name spelled as the tables spell
// them), a place twice, a type Windows does not store, a system.ini text
// with a line end in it, a wrong count or checksum, more than LongestRecord().
// Line ends may be CR LF or LF; the last line's may be missing.
std::optional<MachineRecord> ParseRecord(std::string_view text);

}  // namespace ludora
