#include "record/record_tool.h"

#include "launch/companions.h"
#include "platform/command_line.h"
#include "platform/command_run.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"
#include "tuning/machine_record.h"
#include "tuning/shell_switch.h"

namespace ludora::record {

namespace {

constexpr DWORD kLongestRecord = 1 << 20;
constexpr DWORD kShellEndsWithin = 10000;    // ms, after it is asked to close
constexpr DWORD kShellIsEndedWithin = 5000;  // ms, after it is ended

// Writes a new file; an existing one is left alone. 0 written, 1 failed, 2 there.
int WriteNewFile(WindowsApi& api, const std::string& path, const std::string& text) {
  bool whole = false;
  {
    const ScopedFile file(api, api.CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, 0));
    if (!file) return api.GetLastError() == ERROR_FILE_EXISTS ? 2 : 1;
    DWORD written = 0;
    whole = api.WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                          nullptr) &&
            written == text.size();
  }
  // A record cut short (a full disk) must not stay: the next install would
  // keep it as the first one, and the uninstall could not use it.
  if (!whole) api.DeleteFileA(path);
  return whole ? 0 : 1;
}

std::string ReadSmallFile(WindowsApi& api, const std::string& path) {
  const ScopedFile file(
      api, api.CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, 0));
  std::string text;
  char piece[4096];
  DWORD read = 0;
  while (file && text.size() <= kLongestRecord &&
         api.ReadFile(file.get(), piece, sizeof piece, &read, nullptr) && read > 0) {
    text.append(piece, read);
  }
  return text;
}

int Restore(WindowsApi& api, const std::string& path) {
  const bool running = CloseRunningShell(api);
  // Ludora was the desktop when no Explorer desktop stands beside it.
  const bool wasDesktop = running && api.FindWindowA("Progman", nullptr) == 0;
  int result = 0;
  if (const auto record = ParseRecord(ReadSmallFile(api, path))) {
    if (!ApplyRecord(api, *record)) result = kIncomplete;
    // A record taken where Ludora was the shell already (set up by hand)
    // would name a program that is about to go: Explorer instead.
    if (ShellNamesLudora(api)) RegisterExplorerShell(api);
  } else {
    RestoreExplorerDefaults(api, GetPlatform(api));
    result = kRestoredDefaults;
  }
  if (wasDesktop) RunCommandLine(api, "explorer.exe", SW_SHOWNORMAL);
  return result;
}

}  // namespace

bool CloseRunningShell(WindowsApi& api) {
  const HWND bar = api.FindWindowA(companions::kBarWindowClass, nullptr);
  const HWND menu = api.FindWindowA(companions::kQuickMenuWindowClass, nullptr);
  if (!bar && !menu) return false;
  DWORD processId = 0;
  api.GetWindowThreadProcessId(menu ? menu : bar, &processId);
  const ScopedHandle process(api, api.OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, 0, processId));
  for (const HWND window : {bar, menu}) {
    if (window) api.PostMessageA(window, WM_CLOSE, 0, 0);
  }
  // A window of its own may keep it going (the defragmenter ignores a close
  // while it counts): ended then, as its files are about to be replaced or
  // removed. What its unload would have written, the installer writes.
  if (process && api.WaitForSingleObject(process.get(), kShellEndsWithin) != WAIT_OBJECT_0 &&
      api.TerminateProcess(process.get(), 0)) {
    api.WaitForSingleObject(process.get(), kShellIsEndedWithin);
  }
  return true;
}

int Run(WindowsApi& api, const std::string& commandLine) {
  const auto [command, rest] = FirstWord(AfterProgramName(commandLine));
  if (command == "close" && rest.empty()) return CloseRunningShell(api) ? kWasRunning : 0;
  const std::string file = PathArgument(rest);
  if (file.empty()) return 1;
  if (command == "restore") return Restore(api, file);
  if (command != "record") return 1;
  const int written = WriteNewFile(api, file, RecordText(ReadPlaces(api, PlacesLudoraWrites())));
  return written == 1 ? 1 : 0;
}

}  // namespace ludora::record
