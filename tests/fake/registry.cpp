// The registry and profile operations of the in-memory Windows.
#include "fake/registry.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "fake/fake_windows.h"

namespace ludora::testing {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), ::tolower);
  return text;
}

void FakeRegistry::SetValue(const std::string& key, const std::string& name, DWORD type,
                            std::vector<BYTE> data) {
  keys.insert(Lower(key));
  registry[Lower(key + " [" + name + "]")] = {type, std::move(data)};
}

std::optional<std::string> FakeRegistry::Value(const std::string& key,
                                               const std::string& name) const {
  const auto found = registry.find(Lower(key + " [" + name + "]"));
  if (found == registry.end()) return std::nullopt;
  return Rendered(found->second.type, found->second.data.data(),
                  static_cast<DWORD>(found->second.data.size()));
}

std::string FakeRegistry::RootName(HKEY root) {
  static const std::map<HKEY, std::string> roots = {
      {HKCR, "HKCR"}, {HKCU, "HKCU"}, {HKLM, "HKLM"}, {HKU, "HKU"}};
  return roots.at(root);
}

std::string FakeRegistry::Rendered(DWORD type, const BYTE* data, DWORD size) {
  if (type == REG_DWORD && size == 4) {
    return "REG_DWORD " +
           std::to_string(data[0] | data[1] << 8 | data[2] << 16 | DWORD{data[3]} << 24);
  }
  if (type == REG_SZ) {
    return "REG_SZ " + std::string(reinterpret_cast<const char*>(data),
                                   strnlen(reinterpret_cast<const char*>(data), size));
  }
  std::string text = std::to_string(type);
  char hex[4];
  for (DWORD i = 0; i < size; ++i) text += (std::snprintf(hex, sizeof hex, " %02x", data[i]), hex);
  return text;
}

bool FakeRegistry::Refused(const std::string& key) const {
  return std::any_of(refusedKeys.begin(), refusedKeys.end(), [&](const std::string& refused) {
    return strncasecmp(key.c_str(), refused.c_str(), refused.size()) == 0;
  });
}

// A value handed out as Windows does: no type or size wanted, none given; no
// buffer, the size asked.
static LONG HandOver(const FakeRegistry::RegValue& value, DWORD* type, BYTE* data, DWORD* size) {
  if (type) *type = value.type;
  if (!size) return ERROR_SUCCESS;
  const bool fits = data && *size >= value.data.size();
  if (fits) std::copy(value.data.begin(), value.data.end(), data);
  *size = static_cast<DWORD>(value.data.size());
  return !data || fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

LONG FakeWindows::DoRegCreateKeyA(bool failing, HKEY root, const std::string& subKey,
                                  HKEY* result) {
  return DoRegCreateKeyExA(failing, root, subKey, 0, nullptr, 0, 0, nullptr, result, nullptr);
}

LONG FakeWindows::DoRegCreateKeyExA(bool failing, HKEY root, const std::string& subKey, DWORD,
                                    const char*, DWORD options, DWORD, const SECURITY_ATTRIBUTES*,
                                    HKEY* result, DWORD* disposition) {
  *result = 0;
  const std::string key = RootName(root) + "\\" + subKey;
  if (failing || Refused(key)) return ERROR_ACCESS_DENIED;
  const bool existed = keys.contains(Lower(key));
  keys.insert(Lower(key));
  // Asked for a volatile key, Windows 98 makes a lasting one and says nothing.
  if (!existed && (options & REG_OPTION_VOLATILE) && volatileKeysSupported)
    log.push_back("reg-volatile " + key);
  if (disposition) *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *result = Open(Kind::Key, key);
  return ERROR_SUCCESS;
}

// The values of a key in the order of their names.
LONG FakeWindows::DoRegEnumValueA(bool failing, HKEY key, DWORD index, char* name, DWORD* nameSize,
                                  DWORD*, DWORD* type, BYTE* data, DWORD* dataSize) {
  if (failing) return ERROR_ACCESS_DENIED;
  if (!Is(key, Kind::Key)) return ERROR_INVALID_HANDLE;
  const std::string prefix = Lower(At(key).name) + " [";
  DWORD at = 0;
  for (const auto& [place, value] : registry) {
    if (!place.starts_with(prefix) || at++ != index) continue;
    const std::string valueName = place.substr(prefix.size(), place.size() - prefix.size() - 1);
    if (*nameSize <= valueName.size()) return ERROR_MORE_DATA;
    *nameSize = CopyName(valueName, name, *nameSize);
    return HandOver(value, type, data, dataSize);
  }
  return ERROR_NO_MORE_ITEMS;
}

LONG FakeWindows::DoRegSetValueExA(bool failing, HKEY key, const std::string& name, DWORD,
                                   DWORD type, const BYTE* data, DWORD size) {
  if (failing) return ERROR_ACCESS_DENIED;
  if (!Is(key, Kind::Key)) return ERROR_INVALID_HANDLE;
  SetValue(At(key).name, name, type, {data, data + size});
  log.push_back("reg " + At(key).name + " [" + name + "] " + Rendered(type, data, size));
  return ERROR_SUCCESS;
}

LONG FakeWindows::DoRegCloseKey(bool failing, HKEY key) {
  return !failing && Close(key, Kind::Key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG FakeWindows::DoRegOpenKeyExA(bool failing, HKEY root, const std::string& subKey, DWORD, DWORD,
                                  HKEY* result) {
  *result = 0;
  if (failing) return ERROR_ACCESS_DENIED;
  const std::string key = (Is(root, Kind::Key) ? At(root).name : RootName(root)) + "\\" + subKey;
  // A key is there when it or a key below it is.
  const auto at = keys.lower_bound(Lower(key));
  if (at == keys.end() || (*at != Lower(key) && !at->starts_with(Lower(key) + "\\")))
    return ERROR_FILE_NOT_FOUND;
  *result = Open(Kind::Key, key);
  return ERROR_SUCCESS;
}

LONG FakeWindows::DoRegQueryValueExA(bool failing, HKEY key, const std::string& name, DWORD*,
                                     DWORD* type, BYTE* data, DWORD* size) {
  if (failing) return ERROR_ACCESS_DENIED;
  if (!Is(key, Kind::Key)) return ERROR_INVALID_HANDLE;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  const auto found = registry.find(Lower(At(key).name + " [" + name + "]"));
  return found == registry.end() ? ERROR_FILE_NOT_FOUND : HandOver(found->second, type, data, size);
}

LONG FakeWindows::DoRegDeleteValueA(bool failing, HKEY key, const std::string& name) {
  if (failing) return ERROR_ACCESS_DENIED;
  if (!Is(key, Kind::Key)) return ERROR_INVALID_HANDLE;
  log.push_back("reg-delete " + At(key).name + " [" + name + "]");
  return registry.erase(Lower(At(key).name + " [" + name + "]")) ? ERROR_SUCCESS
                                                                 : ERROR_FILE_NOT_FOUND;
}

BOOL FakeWindows::DoGetUserNameA(bool failing, char* buffer, DWORD* size) {
  if (failing || !userName) return Refuse(0, ERROR_NOT_LOGGED_ON);
  if (*size <= userName->size()) {
    *size = static_cast<DWORD>(userName->size() + 1);
    return Refuse(0, ERROR_INSUFFICIENT_BUFFER);
  }
  *size = CopyName(*userName, buffer, *size) + 1;  // the NUL counted, as Windows counts it
  return 1;
}

BOOL FakeWindows::DoWritePrivateProfileStringA(bool failing, const std::string& section,
                                               const std::string& key, const char* value,
                                               const std::string& file) {
  if (failing) return Refuse(0, ERROR_ACCESS_DENIED);
  log.push_back("ini " + file + " [" + section + "] " + key +
                (value ? "=" + std::string(value) : " deleted"));
  const std::string at = Lower(section + "|" + key);
  if (value) Profile(file)[at] = value;
  if (!value) Profile(file).erase(at);
  return 1;
}

DWORD FakeWindows::DoGetPrivateProfileStringA(bool failing, const std::string& section,
                                              const std::string& key,
                                              const std::string& defaultValue, char* buffer,
                                              DWORD size, const std::string& file) {
  const auto& profile = Profile(file);
  const auto found = profile.find(Lower(section + "|" + key));
  return CopyName(failing || found == profile.end() ? defaultValue : found->second, buffer, size);
}

}  // namespace ludora::testing
