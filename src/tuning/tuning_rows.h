// Tuning rows: one registry value or profile-file entry each, applied in
// table order with the primitives. Most rows are constants; a few take their
// data from the memory reading or the platform at the moment they are written.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "memory/memory_reading.h"
#include "platform/windows_api.h"
#include "tuning/primitives.h"

namespace ludora {

enum class RowKind { Dword, String, Ini };

// Where a row's data comes from when it is not the constant of the row.
enum class RowData {
  Constant,
  PrefetchByMemory,     // 3 above 180 MB of installed memory, else 0
  PageLockByMemory,     // the page-lock figure as a whole number
  UnloadDllByPlatform,  // "0" off the NT family, else "1"
  ShortShellPath,       // the short application folder + "\ludora.exe", unquoted
  QuotedShellPath,      // the long application folder + "\ludora.exe", in quotes
};

struct TuningRow {
  RowKind kind;
  HKEY root;              // registry rows
  std::string_view key;   // key path, or the profile section
  std::string_view name;  // value name, or the profile key
  std::string_view text;  // REG_SZ or profile data
  DWORD number;           // REG_DWORD data
  RowData data = RowData::Constant;
};

constexpr TuningRow Dword(HKEY root, std::string_view key, std::string_view name, DWORD number,
                          RowData data = RowData::Constant) {
  return {RowKind::Dword, root, key, name, {}, number, data};
}
constexpr TuningRow Sz(HKEY root, std::string_view key, std::string_view name,
                       std::string_view text, RowData data = RowData::Constant) {
  return {RowKind::String, root, key, name, text, 0, data};
}
constexpr TuningRow Ini(std::string_view section, std::string_view key, std::string_view value,
                        RowData data = RowData::Constant) {
  return {RowKind::Ini, 0, section, key, value, 0, data};
}

// What derived rows read at the moment they are written.
struct RowInputs {
  const MemoryFigures* memory = nullptr;  // the last memory reading
  Platform platform = Platform::Nt;
  std::string appFolder = {};    // long form, no trailing backslash
  std::string shortFolder = {};  // its 8.3 form; empty when Windows cannot give it
};

// The file every profile row goes to; a bare name, so Windows' own copy.
inline constexpr std::string_view kSystemIni = "system.ini";

// A REG_DWORD row's data now; nothing when it cannot be had (no page-lock figure).
std::optional<DWORD> RowNumber(const TuningRow& row, const RowInputs& inputs);
// A REG_SZ or profile row's data now.
std::string RowText(const TuningRow& row, const RowInputs& inputs);

// Writes one row. Returns whether Windows accepted it; a row whose data
// cannot be had (no page-lock figure) is skipped and reported as refused.
bool ApplyRow(WindowsApi& api, const TuningRow& row, const RowInputs& inputs);
// Writes every row, in order, whatever became of the ones before; whether
// Windows accepted them all.
bool ApplyRows(WindowsApi& api, std::span<const TuningRow> rows, const RowInputs& inputs);

// A service start type: HKLM SYSTEM\CurrentControlSet\Services\<name>, Start.
inline constexpr std::string_view kServicesKey = "SYSTEM\\CurrentControlSet\\Services\\";
struct ServiceStart {
  std::string_view service;
  DWORD start;  // 2 automatic, 3 manual, 4 disabled
};
void ApplyServiceStarts(WindowsApi& api, std::span<const ServiceStart> services);

}  // namespace ludora
