#include "tuning/tuning_rows.h"

#include "platform/win_constants.h"
#include "tuning/primitives.h"

namespace ludora {

bool ApplyRow(WindowsApi& api, const TuningRow& row, const RowInputs& inputs) {
  const std::string key(row.key);
  const std::string name(row.name);
  switch (row.data) {
    case RowData::Constant:
      break;
    case RowData::PrefetchByMemory:
      return SetRegDword(api, row.root, key, name, inputs.memory->megabytes > 180 ? 3 : 0);
    case RowData::PageLockByMemory: {
      const auto pageLock = PageLockAsInteger(inputs.memory->pageLock);
      if (!pageLock) return false;
      return SetRegDword(api, row.root, key, name, static_cast<DWORD>(*pageLock));
    }
    case RowData::UnloadDllByPlatform:
      return SetRegString(api, row.root, key, name, inputs.platform == kPlatformNotNt ? "0" : "1");
  }
  switch (row.kind) {
    case RowKind::Dword:
      return SetRegDword(api, row.root, key, name, row.number);
    case RowKind::String:
      return SetRegString(api, row.root, key, name, std::string(row.text));
    case RowKind::Ini:
      return SetIniString(api, key, name, std::string(row.text), std::string(kSystemIni));
  }
  return false;
}

void ApplyRows(WindowsApi& api, std::span<const TuningRow> rows, const RowInputs& inputs) {
  for (const TuningRow& row : rows) ApplyRow(api, row, inputs);
}

void ApplyServiceStarts(WindowsApi& api, std::span<const ServiceStart> services) {
  for (const ServiceStart& service : services) {
    SetRegDword(api, HKLM, "SYSTEM\\CurrentControlSet\\Services\\" + std::string(service.service),
                "Start", service.start);
  }
}

}  // namespace ludora
