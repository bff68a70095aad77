// What Ludora writes at its places on this machine, so that an uninstall
// can tell a value Ludora left from one the user set since.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "memory/memory_reading.h"
#include "platform/windows_api.h"
#include "tuning/places.h"
#include "tuning/tuning_rows.h"

namespace ludora {

// The value a row writes at its place; nothing when its data cannot be had.
std::optional<PlaceState> RowValue(const TuningRow& row, const RowInputs& inputs);

// The inputs Ludora's rows would take here when it runs from `appFolder`:
// a memory reading into `memory`, the platform, the folder's short form.
RowInputs MachineInputs(WindowsApi& api, const std::string& appFolder, MemoryFigures& memory);

// Every value Ludora writes, from its tables and `inputs`: the start-up set,
// both switches (the shell named by its short or long path), the service
// start types, the launch redirect. Windows maps the shell places (system.ini's
// [boot] shell, Winlogon's Shell) onto one another, so each of them takes
// every value any of them is given.
std::vector<PlaceState> ValuesLudoraWrites(const RowInputs& inputs);

// Whether `now` is one of `written`: a value Ludora left there.
bool HoldsValueLudoraWrites(const PlaceState& now, const std::vector<PlaceState>& written);

}  // namespace ludora
