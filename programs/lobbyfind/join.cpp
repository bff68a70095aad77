#include "lobbyfind/join.h"

#include "platform/settings_file.h"
#include "platform/paths.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora::lobbyfind {

namespace {

void ReplaceAll(std::string& text, std::string_view name, const std::string& value) {
  for (auto at = text.find(name); at != std::string::npos;
       at = text.find(name, at + value.size())) {
    text.replace(at, name.size(), value);
  }
}

// `text` as one argument of a command line, as the C runtime splits one
// (Microsoft's "Parsing C++ command-line arguments"): quoted when it holds a
// blank, a tab or a quote, a quote inside escaped with a backslash, and the
// backslashes before a quote, or before the closing one, doubled; others
// stay single. The Quake III engine also splits its command line at a '+'
// outside quotes, so that is quoted too.
std::string Argument(const std::string& text) {
  if (!text.empty() && text.find_first_of(" \t\"+") == std::string::npos) return text;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : text) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + '"';
}

// A file that opens (a folder does not).
bool Exists(WindowsApi& api, const std::string& path) {
  return ScopedFile(api, api.CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, 0, 0))
      .
      operator bool();
}

// A text value of the registry; empty when there is none.
std::string RegistryText(WindowsApi& api, HKEY root, const std::string& key,
                         const std::string& name) {
  ScopedKey opened(api);
  if (api.RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, opened.out()) != ERROR_SUCCESS) return {};
  char data[1024] = {};
  DWORD type = 0, size = sizeof data - 1;
  if (api.RegQueryValueExA(opened.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data),
                           &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  std::string text(data, std::min<DWORD>(size, sizeof data - 1));
  return text.substr(0, text.find('\0'));
}

// "HKLM\key\value" as root, key and value name.
std::string FromRegistry(WindowsApi& api, const std::string& place) {
  const auto first = place.find('\\'), last = place.rfind('\\');
  if (first == std::string::npos || last == first) return {};
  const std::string root = place.substr(0, first);
  const HKEY key = SameText(root, "HKLM") ? HKLM : SameText(root, "HKCU") ? HKCU : 0;
  if (!key) return {};
  return RegistryText(api, key, place.substr(first + 1, last - first - 1), place.substr(last + 1));
}

}  // namespace

std::string JoinArguments(const Game& game, SocketAddress address, const std::string& password) {
  std::string arguments = game.join;
  ReplaceAll(arguments, "%address%", address.ToString());
  if (!password.empty()) {
    std::string extra = game.password;
    ReplaceAll(extra, "%password%", Argument(password));
    arguments += ' ' + extra;
  }
  return arguments;
}

std::string FindProgram(WindowsApi& api, const Game& game) {
  if (!game.path.empty() && Exists(api, game.path)) return game.path;
  if (!game.registry.empty()) {
    std::string found = FromRegistry(api, game.registry);
    if (!found.empty() && !game.program.empty() && !Exists(api, found)) {
      found = (found.back() == '\\' ? found : found + '\\') + game.program;
    }
    if (!found.empty() && Exists(api, found)) return found;
  }
  if (!game.program.empty()) {
    const std::string found = RegistryText(
        api, HKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + game.program, "");
    if (!found.empty() && Exists(api, found)) return found;
  }
  return {};
}

bool StartGame(WindowsApi& api, const std::string& program, const std::string& arguments) {
  std::string commandLine = '"' + program + "\" " + arguments;
  const std::string folder = AsWorkingFolder(FolderOf(program));
  STARTUPINFOA startup;
  PROCESS_INFORMATION started;
  if (!api.CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, 0,
                          NORMAL_PRIORITY_CLASS, nullptr, folder.empty() ? nullptr : folder.c_str(),
                          &startup, &started)) {
    return false;
  }
  api.CloseHandle(started.hThread);
  api.CloseHandle(started.hProcess);
  return true;
}

}  // namespace ludora::lobbyfind
