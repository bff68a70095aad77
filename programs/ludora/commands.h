// The fixed commands of the quick menu and of two hot spots: each starts one
// thing and returns at once.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "ludora/file_version.h"
#include "ludora/quick_menu.h"
#include "platform/windows_api.h"
#include "tuning/primitives.h"

namespace ludora {

enum class StartBy { ShellOpen, CommandLine };

// One command that is alike the others: a shell open of a file with
// parameters, or the command line of a program of Windows' system folder
// with a window style.
struct Command {
  QuickItem item;
  StartBy how;
  std::string_view file;  // or the command line, the program's name without ".exe"
  bool inAppFolder;       // the file lies in the application folder
  std::string_view parameters = {};
  WORD windowStyle = 1;  // command lines: 0 hidden, 1 normal
};

std::span<const Command> CommandTable();

// Runs the table's command for `item`; false when the table has none.
bool RunCommand(WindowsApi& api, const std::string& appFolder, QuickItem item);

// The commands that are not alike.
void PlayBundledGame(WindowsApi& api, const std::string& appFolder, Platform platform);
void DefragmentHardDrives(WindowsApi& api, Platform platform);
std::string AboutText(const FileVersion& version);
void ShowAbout(WindowsApi& api, HWND owner);
// The system's Shut Down Windows dialog: shell32's export number 60, looked
// up each time, as not every Windows has it. Whether there was one.
bool ShowShutDownDialog(WindowsApi& api);

}  // namespace ludora
