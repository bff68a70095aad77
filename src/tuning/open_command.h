// The open command of executable files (HKCR exefile\shell\open\Command,
// default value) and the launch rule of the performance modes: in High and
// Real-time mode a launch from a folder menu goes through the companion
// launcher, which the command names for the length of that one launch.
#pragma once

#include <string>
#include <string_view>

#include "platform/windows_api.h"

namespace ludora {

inline constexpr std::string_view kOpenCommandKey = "exefile\\shell\\open\\Command";
inline constexpr std::string_view kDefaultOpenCommandText = "\"%1\" %*";

// The launcher's path is quoted: unquoted, a folder with blanks would make
// Windows try "C:\Program.exe" first for every program started meanwhile.
std::string RedirectedOpenCommand(const std::string& appFolder);

// Never throws, so unloads and guards can always call it; whether written.
bool WriteDefaultOpenCommand(WindowsApi& api) noexcept;
bool WriteRedirectedOpenCommand(WindowsApi& api, const std::string& appFolder);

// Starts `path` with the shell; with `redirect` the redirected command is in
// place around the call. The default command is written back afterwards in
// every case, so no redirect outlives the launch.
void LaunchThroughOpenCommand(WindowsApi& api, const std::string& appFolder,
                              const std::string& path, bool redirect);

}  // namespace ludora
