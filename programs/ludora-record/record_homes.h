// The two homes of the machine record: the file beside the program, for
// people to read, and a key of the machine's own outside the program folder
// (HKLM\Software\Corvane\Ludora), which on Windows XP only administrators
// (and Power Users, as everywhere under HKLM\Software) can write. Either one
// alone is enough: a program folder deleted by hand leaves the record in the
// registry for the next install and its uninstall.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_api.h"
#include "ludora-record/record_text.h"

namespace ludora::record {

inline constexpr std::string_view kRecordFile = "machine-record.txt";
inline constexpr std::string_view kRecordKey = "Software\\Corvane\\Ludora";

// What the recorder has to tell the installer: lines for its details, the
// ones starting with "! " for its message box too.
struct Report {
  std::vector<std::string> lines;
  void Note(const std::string& line) { lines.push_back(line); }
  void Tell(const std::string& line) { lines.push_back("! " + line); }
  std::string Text() const;
};

// Writes a new file; an existing one is left alone, and a file cut short
// (a full disk) deleted. 0 written, 1 failed, 2 there already.
int WriteNewFile(WindowsApi& api, const std::string& path, const std::string& text);

struct FoundRecord {
  MachineRecord record;
  std::string text;     // as found, for the other home
  bool inFile = false;  // which homes hold it
  bool inRegistry = false;
};

// The first record, from the registry or the file in `folder`. A damaged
// copy is never used and never deleted: it is set aside as a dated file in
// `folder`, and the report says where. A file that differs from a sound
// copy in the registry is set aside too: the registry's is the one only
// administrators can write. Nothing when neither home holds a sound record.
std::optional<FoundRecord> FindRecord(WindowsApi& api, const std::string& folder, Report& report);

// Puts the record into each home that does not hold it yet. Whether both do now.
bool KeepRecord(WindowsApi& api, const std::string& folder, const FoundRecord& found);

}  // namespace ludora::record
