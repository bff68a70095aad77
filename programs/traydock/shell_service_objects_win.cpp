#include "traydock/shell_service_objects_win.h"

#include <docobj.h>
#include <objbase.h>

#include <string>

namespace ludora::win32 {

namespace {

constexpr char kList[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad";
// CGID_ShellServiceObject's commands: start, and stop before release.
constexpr GUID kShellServiceObject = {0x000214D2, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr DWORD kOpen = 2, kClose = 3;

// The class ids of the list: each value's data, "{...}".
std::vector<CLSID> ListedClasses() {
  std::vector<CLSID> classes;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kList, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return classes;
  }
  for (DWORD index = 0;; ++index) {
    char name[256], data[64];
    DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
    const LONG status = ::RegEnumValueA(key, index, name, &nameSize, nullptr, &type,
                                        reinterpret_cast<BYTE*>(data), &dataSize);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS || type != REG_SZ) continue;
    data[dataSize] = '\0';
    wchar_t text[64];
    CLSID id;
    if (::MultiByteToWideChar(CP_ACP, 0, data, -1, text, 64) &&
        SUCCEEDED(::CLSIDFromString(text, &id))) {
      classes.push_back(id);
    }
  }
  ::RegCloseKey(key);
  return classes;
}

}  // namespace

void ShellServiceObjects::Load() {
  comStarted_ = SUCCEEDED(::CoInitialize(nullptr));
  for (const CLSID& id : ListedClasses()) {
    IOleCommandTarget* object = nullptr;
    if (FAILED(::CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IOleCommandTarget,
                                  reinterpret_cast<void**>(&object)))) {
      continue;
    }
    loaded_.push_back(object);
    object->Exec(&kShellServiceObject, kOpen, 0, nullptr, nullptr);
  }
}

void ShellServiceObjects::Unload() {
  for (IOleCommandTarget* object : loaded_) {
    object->Exec(&kShellServiceObject, kClose, 0, nullptr, nullptr);
    object->Release();
  }
  loaded_.clear();
  if (comStarted_) ::CoUninitialize();
  comStarted_ = false;
}

}  // namespace ludora::win32
