// The tuning every start of the shell applies: registry values and
// system.ini entries, then one `sc stop` command per service.
#pragma once

#include <span>
#include <string_view>

#include <vector>

#include "memory/memory_reading.h"
#include "platform/command_batches.h"
#include "platform/windows_api.h"
#include "tuning/tuning_rows.h"

namespace ludora {

std::span<const TuningRow> StartupRows();
std::span<const std::string_view> StartupServiceStops();  // service names, in order

void ApplyStartupRows(WindowsApi& api, const MemoryFigures& memory);
// "sc stop <service>" for every service, in order, hidden, by the sc.exe of
// the system folder; none when Windows cannot say where that is.
std::vector<CommandStart> ServiceStopCommands(WindowsApi& api);

}  // namespace ludora
