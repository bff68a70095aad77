// The fixed commands of the quick menu and of two hot spots: each starts one
// thing and returns at once.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/windows_api.h"

namespace ludora {

enum class StartBy { ShellOpen, CommandLine };

// One command that is alike the others: a shell open of a file with
// parameters, or a command line with a window style.
struct Command {
  std::string_view item;
  StartBy how;
  std::string_view file;  // or the command line
  bool inAppFolder;       // the file lies in the application folder
  std::string_view parameters = {};
  int windowStyle = 1;  // command lines: 0 hidden, 1 normal
};

std::span<const Command> CommandTable();

// Runs the table's command for `item`; false when the table has none.
bool RunCommand(WindowsApi& api, const std::string& appFolder, std::string_view item);

// The commands that are not alike.
void PlayBundledGame(WindowsApi& api, const std::string& appFolder, int platform);
void DefragmentHardDrives(WindowsApi& api, int platform);
std::string AboutText(const FileVersion& version);
void ShowAbout(WindowsApi& api);
void ShowShutDownDialog(WindowsApi& api);

}  // namespace ludora
