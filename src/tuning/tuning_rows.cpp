#include "tuning/tuning_rows.h"

#include <optional>

#include "platform/resume_next.h"
#include "platform/win_constants.h"
#include "tuning/primitives.h"

namespace ludora {

std::optional<DWORD> RowNumber(const TuningRow& row, const RowInputs& inputs) {
  switch (row.data) {
    case RowData::PrefetchByMemory:
      if (!inputs.memory) return std::nullopt;
      return inputs.memory->megabytes > 180 ? 3 : 0;
    case RowData::PageLockByMemory:
      if (!inputs.memory) return std::nullopt;
      if (const auto pageLock = PageLockAsInteger(inputs.memory->pageLock)) {
        return static_cast<DWORD>(*pageLock);
      }
      return std::nullopt;
    default:
      return row.number;
  }
}

std::string RowText(const TuningRow& row, const RowInputs& inputs) {
  switch (row.data) {
    case RowData::UnloadDllByPlatform:
      return inputs.platform == Platform::NotNt ? "0" : "1";
    case RowData::ShortShellPath:
      // Without a short form the long one still names the right program.
      return (inputs.shortFolder.empty() ? inputs.appFolder : inputs.shortFolder) + "\\ludora.exe";
    case RowData::QuotedShellPath:
      return "\"" + inputs.appFolder + "\\ludora.exe\"";
    default:
      return std::string(row.text);
  }
}

bool ApplyRow(WindowsApi& api, const TuningRow& row, const RowInputs& inputs) {
  const std::string key(row.key);
  const std::string name(row.name);
  switch (row.kind) {
    case RowKind::Dword: {
      const auto number = RowNumber(row, inputs);
      return number && SetRegDword(api, row.root, key, name, *number);
    }
    case RowKind::String:
      return SetRegString(api, row.root, key, name, RowText(row, inputs));
    case RowKind::Ini:
      return SetIniString(api, key, name, RowText(row, inputs), std::string(kSystemIni));
  }
  return false;
}

bool ApplyRows(WindowsApi& api, std::span<const TuningRow> rows, const RowInputs& inputs) {
  bool all = true;
  int number = 0;
  for (const TuningRow& row : rows) {
    all &= Succeeded(api, {"ApplyRows", ++number}, [&] { return ApplyRow(api, row, inputs); });
  }
  return all;
}

void ApplyServiceStarts(WindowsApi& api, std::span<const ServiceStart> services) {
  int number = 0;
  for (const ServiceStart& service : services) {
    Attempt(api, {"ApplyServiceStarts", ++number}, [&] {
      SetRegDword(api, HKLM, std::string(kServicesKey) + std::string(service.service), "Start",
                  service.start);
    });
  }
}

}  // namespace ludora
