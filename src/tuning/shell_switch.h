// The two default-shell switches of the quick menu: Ludora becomes the
// program Windows starts after log-on, or Explorer does again. Each one
// registers the shell, tells the user, then writes its tuning rows.
#pragma once

#include <span>
#include <string_view>

#include "platform/windows_api.h"
#include "tuning/tuning_rows.h"

namespace ludora {

// Where the user's and the machine's shell are named (value "Shell").
inline constexpr std::string_view kWinlogonKey =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// The profile mapping of system.ini's [boot] shell (Windows NT, 2000, XP).
inline constexpr std::string_view kIniFileMappingBoot =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\IniFileMapping\\system.ini\\boot";

// Whether a shell command line names ludora.exe, in any case.
bool NamesLudora(std::string_view commandLine);

// Registration of Ludora as the shell ([boot] shell, the profile mapping,
// the user's Winlogon Shell), from the inputs' folders. Whether Windows
// accepted every write.
bool RegisterLudoraShell(WindowsApi& api, const RowInputs& inputs);
// The switch tuning set, written after the user closed the message box.
void ApplyLudoraTuning(WindowsApi& api, const RowInputs& inputs);

bool RegisterExplorerShell(WindowsApi& api);
void ApplyExplorerTuning(WindowsApi& api, Platform platform);

enum class ShellChoice { Ludora, Explorer };
// The modal message box, owned by `owner`, that stands between registration and tuning.
void ShowShellSwitchMessage(WindowsApi& api, HWND owner, ShellChoice choice, bool registered);

// The tables, in the order each switch writes them.
std::span<const TuningRow> LudoraRegistrationRows();
std::span<const TuningRow> LudoraTuningRows();  // before the service rows
std::span<const ServiceStart> LudoraServiceStarts();
std::span<const TuningRow> LudoraClosingRows();  // after the service rows
std::span<const TuningRow> ExplorerRegistrationRows();
std::span<const TuningRow> ExplorerTuningRows();
std::span<const ServiceStart> ExplorerServiceStarts();
std::span<const TuningRow> ExplorerClosingRows();

}  // namespace ludora
