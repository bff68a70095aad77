#include "platform/command_run.h"

#include <vector>

#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

bool RunCommandLine(WindowsApi& api, const std::string& commandLine, WORD show) {
  std::vector<char> line(commandLine.begin(), commandLine.end());  // Windows may write to it
  line.push_back('\0');
  STARTUPINFOA startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  PROCESS_INFORMATION started;
  if (!api.CreateProcessA(nullptr, line.data(), nullptr, nullptr, 0, 0, nullptr, nullptr, &startup,
                          &started)) {
    return false;
  }
  ScopedHandle process(api, started.hProcess), thread(api, started.hThread);
  return true;
}

}  // namespace ludora
