#include "tuning/primitives.h"

#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

Platform GetPlatform(WindowsApi& api) {
  OSVERSIONINFOA info;
  info.dwOSVersionInfoSize = 148;
  if (!api.GetVersionExA(&info)) return Platform::Unknown;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT ? Platform::Nt : Platform::NotNt;
}

void SetThreadPriorities(WindowsApi& api, std::int16_t priority) {
  for (std::intptr_t handle = -500; handle <= 500; ++handle) {
    api.SetThreadPriority(static_cast<HANDLE>(handle), priority);
  }
}

std::optional<PriorityError> ChangePriority(WindowsApi& api, DWORD priorityClass) {
  const DWORD pid = api.GetCurrentProcessId();
  const ScopedHandle process(api, api.OpenProcess(PROCESS_DUP_HANDLE, 1, pid));
  if (!process) return PriorityError{2, "ChangePriority", "Unable To open the source process"};
  const BOOL changed = api.SetPriorityClass(process.get(), priorityClass);
  if (!changed) return PriorityError{4, "ChangePriority", "Unable To close source handle"};
  return std::nullopt;
}

namespace {

bool SetRegValue(WindowsApi& api, HKEY root, const std::string& keyPath,
                 const std::string& valueName, DWORD type, const BYTE* data, DWORD size) {
  ScopedKey key(api);
  if (api.RegCreateKeyA(root, keyPath, key.out()) != ERROR_SUCCESS) return false;
  return api.RegSetValueExA(key.get(), valueName, 0, type, data, size) == ERROR_SUCCESS;
}

}  // namespace

bool SetRegDword(WindowsApi& api, HKEY root, const std::string& keyPath,
                 const std::string& valueName, DWORD data) {
  const BYTE bytes[4] = {static_cast<BYTE>(data), static_cast<BYTE>(data >> 8),
                         static_cast<BYTE>(data >> 16), static_cast<BYTE>(data >> 24)};
  return SetRegValue(api, root, keyPath, valueName, REG_DWORD, bytes, 4);
}

bool SetRegString(WindowsApi& api, HKEY root, const std::string& keyPath,
                  const std::string& valueName, const std::string& data) {
  return SetRegValue(api, root, keyPath, valueName, REG_SZ,
                     reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
}

bool SetIniString(WindowsApi& api, const std::string& section, const std::string& key,
                  const std::string& value, const std::string& fileName) {
  return api.WritePrivateProfileStringA(section, key, value.c_str(), fileName) != 0;
}

}  // namespace ludora
