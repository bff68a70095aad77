#include "parlour/game_start.h"

#include <cstring>
#include <vector>

#include "launch/companions.h"
#include "parlour/file_bytes.h"
#include "platform/paths.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora::parlour {

namespace {

constexpr DWORD kSnapProcess = 0x2, kSnapModule = 0x8;

bool Run(WindowsApi& api, std::string commandLine, const std::string& folder, DWORD* pid) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started;
  if (!api.CreateProcessA(nullptr, line.data(), nullptr, nullptr, 0, NORMAL_PRIORITY_CLASS, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &started))
    return false;
  const ScopedHandle process(api, started.hProcess), thread(api, started.hThread);
  *pid = started.dwProcessId;
  return true;
}

// A folder as a comparison sees it: lower case, no final backslash but a drive's.
std::string FolderKey(const std::string& folder) {
  std::string key = Lower(folder);
  while (key.size() > 3 && key.ends_with('\\')) key.pop_back();
  return key;
}

}  // namespace

std::vector<RunningProcess> RunningProcesses(WindowsApi& api) {
  std::vector<RunningProcess> running;
  const ScopedFile snapshot(api, api.CreateToolhelp32Snapshot(kSnapProcess, 0));
  if (!snapshot) return running;
  PROCESSENTRY32 entry;
  for (BOOL more = api.Process32First(snapshot.get(), &entry); more && running.size() < 65536;
       more = api.Process32Next(snapshot.get(), &entry)) {
    running.push_back(
        {entry.th32ProcessID, entry.th32ParentProcessID,
         std::string(entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile))});
  }
  return running;
}

std::string ProgramPathOfProcess(WindowsApi& api, DWORD pid) {
  const ScopedFile snapshot(api, api.CreateToolhelp32Snapshot(kSnapModule, pid));
  MODULEENTRY32 module;
  if (!snapshot || !api.Module32First(snapshot.get(), &module)) return {};
  return std::string(module.szExePath, strnlen(module.szExePath, sizeof module.szExePath));
}

std::optional<DWORD> StartGame(WindowsApi& api, const std::string& appFolder, const Game& game) {
  if (!Exists(api, game.program)) return std::nullopt;
  const std::string programFolder = AsWorkingFolder(FolderOf(game.program));
  const std::string folder = game.folder.empty() ? programFolder : game.folder;
  const std::string quoted =
      "\"" + game.program + "\"" + (game.arguments.empty() ? "" : " " + game.arguments);
  DWORD pid = 0;
  if (FolderKey(folder) == FolderKey(programFolder) &&
      Run(api, "\"" + appFolder + "\\" + std::string(companions::kLauncher) + "\" " + quoted,
          folder, &pid))
    return pid;
  if (Run(api, quoted, folder, &pid)) return pid;
  return std::nullopt;
}

}  // namespace ludora::parlour
