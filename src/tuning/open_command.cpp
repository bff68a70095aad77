#include "tuning/open_command.h"

#include "platform/resume_next.h"
#include "platform/win_constants.h"
#include "tuning/primitives.h"

namespace ludora {

namespace {

// Writes the default command when it goes out of scope.
class DefaultOpenCommandGuard {
 public:
  explicit DefaultOpenCommandGuard(WindowsApi& api) : api_(api) {}
  ~DefaultOpenCommandGuard() { WriteDefaultOpenCommand(api_); }
  DefaultOpenCommandGuard(const DefaultOpenCommandGuard&) = delete;
  DefaultOpenCommandGuard& operator=(const DefaultOpenCommandGuard&) = delete;

 private:
  WindowsApi& api_;
};

}  // namespace

std::string RedirectedOpenCommand(const std::string& appFolder) {
  return "\"" + appFolder + "\\sparkrun.exe\" \"%1\"";
}

bool WriteDefaultOpenCommand(WindowsApi& api) noexcept {
  // Refused once, it is asked once more: a redirect must not outlive a launch.
  const auto write = [&] {
    return Succeeded(api, "WriteDefaultOpenCommand", [&] {
      return SetRegString(api, HKCR, std::string(kOpenCommandKey), "",
                          std::string(kDefaultOpenCommandText));
    });
  };
  return write() || write();
}

bool WriteRedirectedOpenCommand(WindowsApi& api, const std::string& appFolder) {
  return SetRegString(api, HKCR, std::string(kOpenCommandKey), "",
                      RedirectedOpenCommand(appFolder));
}

void LaunchThroughOpenCommand(WindowsApi& api, const std::string& appFolder,
                              const std::string& path, bool redirect) {
  DefaultOpenCommandGuard restore(api);
  if (redirect) WriteRedirectedOpenCommand(api, appFolder);
  api.ShellExecuteA(0, nullptr, path, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace ludora
