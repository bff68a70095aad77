#include "sparkrun/launch_request.h"

#include <algorithm>
#include <cctype>

#include <vector>

#include "platform/command_line.h"
#include "platform/paths.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora::sparkrun {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

void ShowCannotStart(WindowsApi& api, const std::string& path) {
  api.MessageBoxA(0, "Ludora could not start \"" + path + "\".", "Corvane Ludora",
                  MB_OK | MB_ICONINFORMATION);
}

}  // namespace

std::string ProgramArgument(const std::string& commandLine) {
  return PathArgument(AfterProgramName(commandLine));
}

std::string ProgramArguments(const std::string& commandLine) {
  const std::string_view program = AfterProgramName(commandLine);
  return program.starts_with('"') ? std::string(AfterProgramName(program)) : std::string();
}

bool StartsDirectly(const std::string& path) {
  const std::string lower = Lower(path);
  const auto ends = [&](const char* suffix) {
    const std::string s(suffix);
    return lower.size() >= s.size() && lower.compare(lower.size() - s.size(), s.size(), s) == 0;
  };
  return ends(".exe") || ends(".com");
}

bool Launch(WindowsApi& api, const std::string& path, const std::string& arguments) {
  const std::string folder = AsWorkingFolder(FolderOf(path));
  const char* directory = folder.empty() ? nullptr : folder.c_str();
  bool started = false;
  if (StartsDirectly(path)) {
    const std::string quoted = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> line(quoted.c_str(), quoted.c_str() + quoted.size() + 1);  // with its NUL
    STARTUPINFOA startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION program;
    started = api.CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, 0,
                                 HIGH_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr, directory,
                                 &startup, &program) != 0;
    if (started) {
      const ScopedHandle process(api, program.hProcess), thread(api, program.hThread);
      // Windows gives the program the class of the creation flags; Wine
      // ignores them, so the class is set again before the program runs.
      api.SetPriorityClass(process.get(), HIGH_PRIORITY_CLASS);
      api.ResumeThread(thread.get());
    }
  } else {
    started = api.ShellExecuteA(0, nullptr, path, arguments.empty() ? nullptr : arguments.c_str(),
                                directory, SW_SHOWNORMAL) > 32;
  }
  if (!started) ShowCannotStart(api, path);
  return started;
}

int Run(WindowsApi& api, const std::string& commandLine) {
  std::string path = ProgramArgument(commandLine);
  if (path.empty()) {
    static constexpr char kFilter[] =
        "Games and shortcuts (*.exe;*.lnk)\0*.exe;*.lnk;*.com;*.bat;*.pif\0All files (*.*)\0*.*\0";
    char picked[260] = {};
    OPENFILENAMEA dialog;
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = picked;
    dialog.nMaxFile = sizeof picked;
    dialog.lpstrTitle = "Launch Specific Game";
    dialog.Flags = kOpenDialogFlags;
    if (!api.GetOpenFileNameA(&dialog)) return 0;
    path = picked;
  }
  return Launch(api, path, ProgramArguments(commandLine)) ? 0 : 1;
}

}  // namespace ludora::sparkrun
