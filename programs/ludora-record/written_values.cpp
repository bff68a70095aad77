#include "ludora-record/written_values.h"

#include <algorithm>
#include <span>

#include "platform/paths.h"
#include "platform/win_constants.h"
#include "tuning/open_command.h"
#include "tuning/shell_switch.h"
#include "tuning/startup_set.h"

namespace ludora {

namespace {

bool IsShellPlace(const Place& place) {
  if (place.ini) return place.key == "boot" && place.name == "shell";
  return place.key == kWinlogonKey && place.name == "Shell";
}

}  // namespace

std::optional<PlaceState> RowValue(const TuningRow& row, const RowInputs& inputs) {
  PlaceState state{PlaceOf(row), true, REG_SZ};
  if (row.kind == RowKind::Dword) {
    const auto number = RowNumber(row, inputs);
    if (!number) return std::nullopt;
    state.type = REG_DWORD;
    for (int shift = 0; shift < 32; shift += 8) state.data.push_back(BYTE(*number >> shift));
    return state;
  }
  const std::string text = RowText(row, inputs);
  state.data.assign(text.begin(), text.end());
  if (row.kind == RowKind::String) state.data.push_back(0);
  return state;
}

RowInputs MachineInputs(WindowsApi& api, const std::string& appFolder, MemoryFigures& memory) {
  MEMORYSTATUS status;
  memorycheck(api, status, memory);
  return {&memory, GetPlatform(api), appFolder, ShortPathOf(api, appFolder)};
}

std::vector<PlaceState> ValuesLudoraWrites(const RowInputs& inputs) {
  RowInputs longPath = inputs;
  longPath.shortFolder.clear();  // the switch's fallback when there is no short form
  std::vector<PlaceState> values;
  for (const RowInputs& with : {inputs, longPath}) {
    for (const std::span<const TuningRow> table :
         {StartupRows(), LudoraRegistrationRows(), LudoraTuningRows(), LudoraClosingRows(),
          ExplorerRegistrationRows(), ExplorerTuningRows(), ExplorerClosingRows()}) {
      for (const TuningRow& row : table) {
        if (auto value = RowValue(row, with)) values.push_back(std::move(*value));
      }
    }
  }
  for (const std::span<const ServiceStart> services :
       {LudoraServiceStarts(), ExplorerServiceStarts()}) {
    for (const ServiceStart& service : services) {
      const std::string key = std::string(kServicesKey) + std::string(service.service);
      values.push_back(*RowValue(Dword(HKLM, key, "Start", service.start), inputs));
    }
  }
  const std::string redirect = RedirectedOpenCommand(inputs.appFolder);
  values.push_back(*RowValue(Sz(HKCR, kOpenCommandKey, "", redirect), inputs));

  // Every shell value at every shell place, as text or as REG_SZ data.
  std::vector<Place> shellPlaces;
  std::vector<std::string> shellTexts;
  for (const PlaceState& value : values) {
    if (!IsShellPlace(value.place)) continue;
    shellPlaces.push_back(value.place);
    shellTexts.emplace_back(value.data.begin(),
                            std::find(value.data.begin(), value.data.end(), BYTE{0}));
  }
  for (const Place& place : shellPlaces) {
    for (const std::string& text : shellTexts) {
      PlaceState value{place, true, REG_SZ, {text.begin(), text.end()}};
      if (!place.ini) value.data.push_back(0);
      values.push_back(std::move(value));
    }
  }
  return values;
}

bool HoldsValueLudoraWrites(const PlaceState& now, const std::vector<PlaceState>& written) {
  return now.present && std::any_of(written.begin(), written.end(), [&](const PlaceState& value) {
           return value.place.SameAs(now.place) && value.type == now.type && value.data == now.data;
         });
}

}  // namespace ludora
