#include "platform/command_run.h"

#include <vector>

#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

namespace {

bool Start(WindowsApi& api, const char* application, const std::string& commandLine, WORD show,
           HANDLE* process, bool inheritHandles) {
  std::vector<char> line(commandLine.begin(), commandLine.end());  // Windows may write to it
  line.push_back('\0');
  STARTUPINFOA startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  PROCESS_INFORMATION started;
  if (!api.CreateProcessA(application, line.data(), nullptr, nullptr, inheritHandles,
                          NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started)) {
    return false;
  }
  const ScopedHandle thread(api, started.hThread);
  if (process) {
    *process = started.hProcess;
  } else {
    api.CloseHandle(started.hProcess);
  }
  return true;
}

}  // namespace

bool RunCommandLine(WindowsApi& api, const std::string& commandLine, WORD show, HANDLE* process,
                    bool inheritHandles) {
  return Start(api, nullptr, commandLine, show, process, inheritHandles);
}

bool RunProgram(WindowsApi& api, const std::string& application, const std::string& commandLine,
                WORD show, HANDLE* process, bool inheritHandles) {
  return !application.empty() &&
         Start(api, application.c_str(), commandLine, show, process, inheritHandles);
}

std::string WindowsProgram(WindowsApi& api, WindowsFolder folder, std::string_view file) {
  char path[260] = {};
  const UINT length = folder == WindowsFolder::System ? api.GetSystemDirectoryA(path, sizeof path)
                                                      : api.GetWindowsDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return {};
  std::string program(path, length);
  if (!program.ends_with('\\')) program += '\\';
  return program + std::string(file);
}

}  // namespace ludora
