#include "ludora/startup_programs.h"

#include <array>
#include <string_view>
#include <vector>

#include "platform/command_batches.h"
#include "platform/command_line.h"
#include "platform/command_run.h"
#include "platform/resume_next.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kPolicies[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr char kPolicyRun[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
constexpr int kCommonStartup = 24;  // CSIDL_COMMON_STARTUP
constexpr int kUserStartup = 7;     // CSIDL_STARTUP
constexpr DWORD kHiddenOrSystem = 0x2 | 0x4;
constexpr DWORD kMaxCommandBytes = 32768;  // past CreateProcess's own limit

// One place Windows starts programs from at log-on.
struct Source {
  HKEY root = 0;         // a Run key, or 0 for a Startup folder
  const char* key = "";  // the key, or nothing
  int folder = 0;        // CSIDL of the folder
  bool once = false;     // RunOnce: values deleted as they are run
  bool waits = false;    // each program ended before the next starts
  // The policy that turns the source off ("Do not process the legacy run
  // list", "Do not process the run once list"), set in the machine's or the
  // user's policies; nothing when none does.
  const char* offBy = nullptr;
};

constexpr std::array<Source, 8> kSources = {{
    {HKLM, kRunOnce, 0, true, true, "DisableLocalMachineRunOnce"},
    {HKLM, kRun, 0, false, false, "DisableLocalMachineRun"},
    {HKLM, kPolicyRun},
    {HKCU, kPolicyRun},
    {HKCU, kRun, 0, false, false, "DisableCurrentUserRun"},
    {0, "", kCommonStartup},
    {0, "", kUserStartup},
    {HKCU, kRunOnce, 0, true, false, "DisableCurrentUserRunOnce"},
}};

// A policy is set by a non-zero DWORD in the machine's or the user's
// Explorer policies, as Windows' own shell reads it.
bool PolicySet(WindowsApi& api, const char* name) {
  for (const HKEY root : {HKLM, HKCU}) {
    ScopedKey key(api);
    if (api.RegOpenKeyExA(root, kPolicies, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS)
      continue;
    DWORD type = 0, value = 0, size = sizeof value;
    if (api.RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                             &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value && value != 0) {
      return true;
    }
  }
  return false;
}

struct RunValue {
  std::string name;
  DWORD type;
  std::string data;
};

// The key's values, read whole before any is deleted.
std::vector<RunValue> ValuesOf(WindowsApi& api, HKEY key) {
  std::vector<RunValue> values;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD nameSize = sizeof name;
    DWORD type = 0;
    std::vector<BYTE> data(2048);
    auto dataSize = static_cast<DWORD>(data.size());
    LONG status =
        api.RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data.data(), &dataSize);
    if (status == static_cast<LONG>(ERROR_MORE_DATA) && dataSize > data.size() &&
        dataSize <= kMaxCommandBytes) {
      data.resize(dataSize);
      nameSize = sizeof name;
      status =
          api.RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data.data(), &dataSize);
    }
    if (status == static_cast<LONG>(ERROR_MORE_DATA)) continue;  // too long a value: skipped
    if (status != ERROR_SUCCESS) break;
    std::string text(reinterpret_cast<const char*>(data.data()), dataSize);
    text.erase(std::min(text.find('\0'), text.size()));
    values.push_back({std::string(name, nameSize), type, std::move(text)});
  }
  return values;
}

std::string Expanded(WindowsApi& api, const std::string& text) {
  std::vector<char> buffer(1024);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const auto size = static_cast<DWORD>(buffer.size());
    const DWORD needed = api.ExpandEnvironmentStringsA(text, buffer.data(), size);
    if (needed == 0) break;
    if (needed <= size) return std::string(buffer.data());
    buffer.resize(needed);
  }
  return text;
}

// Starts one command line of a Run key as Windows does: as a process
// (quoted or unquoted program path, with its arguments, found on the path),
// else by shell open of its program with the rest as parameters. The
// process handle when it was started as a process and `process` is given.
bool StartCommandLine(WindowsApi& api, const std::string& commandLine, HANDLE* process) {
  if (RunCommandLine(api, commandLine, SW_SHOWNORMAL, process)) return true;
  // Not a program: a document, or a name only the shell knows (App Paths).
  const std::string_view arguments = AfterProgramName(commandLine);
  const std::string program =
      PathArgument(std::string_view(commandLine).substr(0, commandLine.size() - arguments.size()));
  if (program.empty()) return false;
  const std::string parameters(arguments);
  return api.ShellExecuteA(0, nullptr, program, parameters.empty() ? nullptr : parameters.c_str(),
                           nullptr, SW_SHOWNORMAL) > 32;
}

void RunKey(WindowsApi& api, const Source& source, bool safeMode) {
  const DWORD access = KEY_QUERY_VALUE | (source.once ? KEY_SET_VALUE : 0);
  ScopedKey key(api);
  if (api.RegOpenKeyExA(source.root, source.key, 0, access, key.out()) != ERROR_SUCCESS) return;
  int number = 0;
  for (const RunValue& value : ValuesOf(api, key.get())) {
    Attempt(api, {"a startup program", ++number}, [&] {
      if (safeMode && !value.name.starts_with('*')) return;
      const bool deleteAfter = source.once && value.name.starts_with('!');
      if (source.once && !deleteAfter) api.RegDeleteValueA(key.get(), value.name);
      if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
        api.Sleep(CommandBatches::kPacing);
        const std::string command =
            value.type == REG_EXPAND_SZ ? Expanded(api, value.data) : value.data;
        HANDLE started = 0;
        StartCommandLine(api, command, source.waits ? &started : nullptr);
        const ScopedHandle process(api, started);
        if (process) api.WaitForSingleObject(process.get(), INFINITE);
      }
      if (deleteAfter) api.RegDeleteValueA(key.get(), value.name);
    });
  }
}

void RunFolder(WindowsApi& api, int csidl) {
  ScopedPidl pidl(api);
  char path[260] = {};
  if (api.SHGetSpecialFolderLocation(0, csidl, pidl.out()) != 0 ||
      !api.SHGetPathFromIDListA(pidl.get(), path) || path[0] == '\0') {
    return;
  }
  const std::string folder = path;
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  const ScopedFind find(api, api.FindFirstFileA(folder + "\\*", &found));
  if (!find) return;
  do {
    if (!(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kHiddenOrSystem))) {
      files.push_back(folder + "\\" + found.cFileName);
    }
  } while (api.FindNextFileA(find.get(), &found));
  for (const std::string& file : files) {
    api.Sleep(CommandBatches::kPacing);
    api.ShellExecuteA(0, nullptr, file, nullptr, nullptr, SW_SHOWNORMAL);
  }
}

}  // namespace

void StartStartupPrograms(WindowsApi& api, bool safeMode) {
  for (const Source& source : kSources) {
    if (safeMode && !source.once) continue;  // "*" RunOnce values only
    if (source.offBy && PolicySet(api, source.offBy)) continue;
    if (source.root) {
      RunKey(api, source, safeMode);
    } else {
      RunFolder(api, source.folder);
    }
  }
}

}  // namespace ludora
