// The two default-shell switches of the quick menu: Ludora becomes the
// program Windows starts after log-on, or Explorer does again. Each one
// registers the shell, tells the user, then writes its tuning rows.
#pragma once

#include <span>
#include <string>

#include "memory/memory_reading.h"
#include "platform/windows_api.h"
#include "tuning/tuning_rows.h"

namespace ludora {

// Registration of Ludora as the shell ([boot] shell, the profile mapping,
// the user's Winlogon Shell). `shortFolder` is the 8.3 form of the
// application folder, empty when Windows could not give it. Returns whether
// every write was accepted.
bool RegisterLudoraShell(WindowsApi& api, const std::string& appFolder,
                         const std::string& shortFolder);
// The switch tuning set, written after the user closed the message box.
void ApplyLudoraTuning(WindowsApi& api, const MemoryFigures& memory, int platform);

bool RegisterExplorerShell(WindowsApi& api);
void ApplyExplorerTuning(WindowsApi& api, int platform);

enum class ShellChoice { Ludora, Explorer };
// The modal message box that stands between registration and tuning.
void ShowShellSwitchMessage(WindowsApi& api, ShellChoice choice, bool registered);

// Tables, exposed for the tests.
std::span<const TuningRow> LudoraTuningRows();   // before the service rows
std::span<const TuningRow> LudoraClosingRows();  // after the service rows
std::span<const ServiceStart> LudoraServiceStarts();
std::span<const ServiceStart> ExplorerServiceStarts();

}  // namespace ludora
