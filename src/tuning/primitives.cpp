#include "tuning/primitives.h"

#include "platform/win_constants.h"

namespace ludora {

int GetPlatform(WindowsApi& api) {
  OSVERSIONINFOA info;
  info.dwOSVersionInfoSize = 148;
  if (!api.GetVersionExA(&info)) return kPlatformUnknown;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT ? kPlatformNt : kPlatformNotNt;
}

void SetThreadPriorities(WindowsApi& api, std::int16_t priority) {
  for (std::intptr_t handle = -500; handle <= 500; ++handle) {
    api.SetThreadPriority(static_cast<HANDLE>(handle), priority);
  }
}

std::optional<PriorityError> ChangePriority(WindowsApi& api, DWORD priorityClass) {
  const DWORD pid = api.GetCurrentProcessId();
  const HANDLE process = api.OpenProcess(PROCESS_DUP_HANDLE, 1, pid);
  if (process == 0) return PriorityError{2, "ChangePriority", "Unable To open the source process"};
  const BOOL changed = api.SetPriorityClass(process, priorityClass);
  api.CloseHandle(process);
  if (!changed) return PriorityError{4, "ChangePriority", "Unable To close source handle"};
  return std::nullopt;
}

namespace {

bool SetRegValue(WindowsApi& api, HKEY root, const std::string& keyPath,
                 const std::string& valueName, DWORD type, const BYTE* data, DWORD size) {
  HKEY key = 0;
  const bool opened = api.RegCreateKeyA(root, keyPath, &key) == ERROR_SUCCESS;
  // With no key the write and the close fail harmlessly, as Windows would.
  const bool written = api.RegSetValueExA(key, valueName, 0, type, data, size) == ERROR_SUCCESS;
  api.RegCloseKey(key);
  return opened && written;
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
  return api.WritePrivateProfileStringA(section, key, value, fileName) != 0;
}

}  // namespace ludora
