#include "ludora/commands.h"

#include <algorithm>
#include <array>

#include "launch/companions.h"
#include "ludora/web_pages.h"
#include "platform/command_run.h"
#include "platform/win_constants.h"

namespace ludora {

namespace {

using enum StartBy;
using enum QuickItem;

constexpr std::array<Command, 16> kCommands = {{
    {mnugamelaunch, ShellOpen, companions::kLauncher, true},
    {mnualien, ShellOpen, web_pages::kWebGames, true},
    {mnugamesroom, ShellOpen, companions::kGamesRoom, true},
    {mnujoin, ShellOpen, companions::kGameFinder, true},
    {mnunimbra, ShellOpen, companions::kWebBrowser, true},
    {mnuim, ShellOpen, companions::kMessenger, true},
    {mnunetwork, ShellOpen, "explorer", false, "/root,::{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
    {mnucomp, ShellOpen, "explorer", false, "/root,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
    {mnudatetime, ShellOpen, "iexplore", false},
    {mnurecycle, ShellOpen, "explorer", false, "/root,::{645FF040-5081-101B-9F08-00AA002F954E}"},
    {mnucontrol, CommandLine, "control", false, {}, SW_SHOWNORMAL},
    {mnusystem, ShellOpen, "rundll32.exe", false, "shell32.dll,Control_RunDLL sysdm.cpl,,0"},
    {mnudisplay, ShellOpen, "rundll32.exe", false, "shell32.dll,Control_RunDLL desk.cpl,,0"},
    {mnutaskman, ShellOpen, "taskmgr", false},
    {mnusystray, ShellOpen, companions::kTrayDock, true},
    {mnuturbolia, ShellOpen, web_pages::kTurbolia, true},
}};

std::string InAppFolder(const std::string& appFolder, std::string_view file) {
  return appFolder + "\\" + std::string(file);
}

void OpenWithShell(WindowsApi& api, const std::string& file, const char* parameters = nullptr) {
  api.ShellExecuteA(0, nullptr, file, parameters, nullptr, SW_SHOWNORMAL);
}

}  // namespace

std::span<const Command> CommandTable() {
  return kCommands;
}

bool RunCommand(WindowsApi& api, const std::string& appFolder, QuickItem item) {
  const auto command = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const Command& c) { return c.item == item; });
  if (command == kCommands.end()) return false;
  const std::string file =
      command->inAppFolder ? InAppFolder(appFolder, command->file) : std::string(command->file);
  if (command->how == StartBy::CommandLine) {
    // Windows' own Control Panel, never a control.exe beside Ludora.
    RunProgram(api, WindowsProgram(api, WindowsFolder::System, file + ".exe"), file,
               command->windowStyle);
  } else {
    const std::string parameters(command->parameters);
    OpenWithShell(api, file, parameters.empty() ? nullptr : parameters.c_str());
  }
  return true;
}

void PlayBundledGame(WindowsApi& api, const std::string& appFolder, Platform platform) {
  const std::string game = InAppFolder(appFolder, companions::kBundledGame);
  if (platform == Platform::NotNt) {
    OpenWithShell(api, game);
    return;
  }
  // START takes a quoted first argument as the window title, so "High" goes
  // first; the game's own path is quoted for folders with blanks.
  RunProgram(api, WindowsProgram(api, WindowsFolder::System, "cmd.exe"),
             "CMD /C START \"High\" /high \"" + game + "\"", SW_HIDE);
}

void DefragmentHardDrives(WindowsApi& api, Platform platform) {
  OpenWithShell(api, platform == Platform::NotNt ? "defrag" : "dfrg.msc");
}

std::string AboutText(const FileVersion& version) {
  // Line feed before carriage return, the About box's own line break.
  const std::string lineBreak = "\n\r";
  return "Version " + std::to_string(version.major) + "." + std::to_string(version.minor) +
         lineBreak + "Made by the Corvane Ludora team for PCs that live for games." + lineBreak +
         "Copyright (C) 2008-2026 Corvane. All rights reserved.";
}

void ShowAbout(WindowsApi& api, HWND owner) {
  api.MessageBoxA(owner, AboutText(OwnFileVersion(api).value_or(FileVersion{})),
                  "About Corvane Ludora 2008", MB_OK | MB_ICONINFORMATION);
}

bool ShowShutDownDialog(WindowsApi& api) {
  using ShutDownDialog = void(LUDORA_WINAPI*)(HWND owner);
  const HMODULE shell32 = api.LoadLibraryA("shell32.dll");
  const FARPROC found = shell32 ? api.GetProcAddress(shell32, MAKEINTRESOURCEA(60)) : nullptr;
  if (!found) return false;
  reinterpret_cast<ShutDownDialog>(found)(0);
  return true;
}

}  // namespace ludora
