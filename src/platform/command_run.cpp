#include "platform/command_run.h"

#include <vector>

#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

bool RunCommandLine(WindowsApi& api, const std::string& commandLine, WORD show, HANDLE* process) {
  std::vector<char> line(commandLine.begin(), commandLine.end());  // Windows may write to it
  line.push_back('\0');
  STARTUPINFOA startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  PROCESS_INFORMATION started;
  if (!api.CreateProcessA(nullptr, line.data(), nullptr, nullptr, 0, NORMAL_PRIORITY_CLASS, nullptr,
                          nullptr, &startup, &started)) {
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

}  // namespace ludora
