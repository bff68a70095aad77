// The operations whose DLLs come in when first needed, and those newer than
// some Windows the programs run on: looked up at run time, never imported.
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <cstddef>
#include <cstring>

#include "win32/adapter_casts.h"
#include "win32/real_windows_api.h"

namespace ludora {

namespace {

// A function of a system DLL that is loaded when it is first needed.
template <typename Function>
Function* Late(const char* dll, const char* name) {
  const ::HMODULE module = ::LoadLibraryA(dll);
  return module
             ? reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
             : nullptr;
}

// A late function kept once found. Two threads may look it up at once (the
// log-on's starts run on a thread of their own): both find the same address.
template <typename Function>
Function* Kept(std::atomic<Function*>& kept, const char* dll, const char* name) {
  Function* function = kept.load(std::memory_order_acquire);
  if (!function) {
    function = Late<Function>(dll, name);
    kept.store(function, std::memory_order_release);
  }
  return function;
}

// shell32 and ole32 come in at the shell's first launch or folder menu, not
// at start-up: the bar needs neither to show, and both are heavy.
std::atomic<decltype(::ShellExecuteA)*> shellExecute{};
std::atomic<decltype(::SHGetSpecialFolderLocation)*> folderLocation{};
std::atomic<decltype(::SHGetPathFromIDListA)*> pathFromList{};
std::atomic<decltype(::CoTaskMemFree)*> taskMemFree{};
std::atomic<decltype(::CoInitialize)*> comInitialize{};
std::atomic<decltype(::CoUninitialize)*> comUninitialize{};
std::atomic<decltype(::GetLongPathNameA)*> longPathName{};
std::atomic<decltype(::MoveFileExA)*> moveFileEx{};
std::atomic<decltype(::AllowSetForegroundWindow)*> allowForeground{};
std::atomic<decltype(::GetOpenFileNameA)*> openFileName{};
std::atomic<decltype(::OpenProcessToken)*> openProcessToken{};
std::atomic<decltype(::GetTokenInformation)*> tokenInformation{};
std::atomic<decltype(::GetLastInputInfo)*> lastInputInfo{};
std::atomic<decltype(::PlaySoundA)*> playSound{};

// COM on the calling thread, as shell opens of shortcuts want it: kept
// initialised on a thread once it is, never counted up twice.
void ComOnThisThread() {
  const auto initialise = Kept(comInitialize, "ole32.dll", "CoInitialize");
  if (!initialise || initialise(nullptr) != S_FALSE) return;
  if (const auto uninitialise = Kept(comUninitialize, "ole32.dll", "CoUninitialize")) {
    uninitialise();
  }
}

template <typename Function>
Function* Shell32(std::atomic<Function*>& kept, const char* name) {
  ComOnThisThread();
  return Kept(kept, "shell32.dll", name);
}

}  // namespace

// Looked up when first used: Windows 95 and NT 4 do not have it.
BOOL RealWindowsApi::MoveFileExA(const std::string& existingPath, const std::string& newPath,
                                 DWORD flags) {
  const auto move = Kept(moveFileEx, "kernel32.dll", "MoveFileExA");
  if (!move) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  return move(existingPath.c_str(), newPath.c_str(), flags);
}

DWORD RealWindowsApi::GetLongPathNameA(const std::string& shortPath, char* longPath, DWORD size) {
  const auto get = Kept(longPathName, "kernel32.dll", "GetLongPathNameA");
  if (!get) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
  }
  return get(shortPath.c_str(), longPath, size);
}

// Looked up when first used: Windows 95 and NT 4 have no foreground lock, and no such function.
BOOL RealWindowsApi::AllowSetForegroundWindow(DWORD processId) {
  const auto allow = Kept(allowForeground, "user32.dll", "AllowSetForegroundWindow");
  return allow && allow(processId);
}

// Looked up when first used: Windows 98 has no accounts, and its advapi32 may lack them.
BOOL RealWindowsApi::OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) {
  const auto open = Kept(openProcessToken, "advapi32.dll", "OpenProcessToken");
  ::HANDLE opened = nullptr;
  if (!open) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  const BOOL done = open(ToHandle(process), desiredAccess, &opened);
  *token = Raw(opened);
  return done;
}

BOOL RealWindowsApi::GetTokenInformation(HANDLE token, int informationClass, void* information,
                                         DWORD length, DWORD* returnLength) {
  const auto get = Kept(tokenInformation, "advapi32.dll", "GetTokenInformation");
  if (!get) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  ::DWORD returned = 0;
  const BOOL done = get(ToHandle(token), static_cast<::TOKEN_INFORMATION_CLASS>(informationClass),
                        information, length, &returned);
  *returnLength = returned;
  return done;
}

std::intptr_t RealWindowsApi::ShellExecuteA(HWND owner, const char* operation,
                                            const std::string& file, const char* parameters,
                                            const char* directory, int showCmd) {
  const auto execute = Shell32(shellExecute, "ShellExecuteA");
  if (!execute) return SE_ERR_FNF;
  return reinterpret_cast<std::intptr_t>(
      execute(ToHwnd(owner), operation, file.c_str(), parameters, directory, showCmd));
}

HRESULT RealWindowsApi::SHGetSpecialFolderLocation(HWND owner, int csidl, PIDL* pidl) {
  LPITEMIDLIST list = nullptr;
  const auto locate = Shell32(folderLocation, "SHGetSpecialFolderLocation");
  if (!locate) return E_FAIL;
  const ::HRESULT result = locate(ToHwnd(owner), csidl, &list);
  *pidl = Raw(list);
  return result;
}

BOOL RealWindowsApi::SHGetPathFromIDListA(PIDL pidl, char* path) {
  const auto pathOf = Shell32(pathFromList, "SHGetPathFromIDListA");
  return pathOf && pathOf(As<ITEMIDLIST>(pidl), path);
}

void RealWindowsApi::CoTaskMemFree(PIDL pidl) {
  if (const auto free = Kept(taskMemFree, "ole32.dll", "CoTaskMemFree")) free(As<void>(pidl));
}

BOOL RealWindowsApi::GetOpenFileNameA(OPENFILENAMEA* dialog) {
  ::OPENFILENAMEA open;
  std::memset(&open, 0, sizeof open);
  // The size before Windows 2000 added fields: understood by every version.
  open.lStructSize = offsetof(::OPENFILENAMEA, lpTemplateName) + sizeof open.lpTemplateName;
  open.hwndOwner = ToHwnd(dialog->hwndOwner);
  open.lpstrFilter = dialog->lpstrFilter;
  open.lpstrFile = dialog->lpstrFile;
  open.nMaxFile = dialog->nMaxFile;
  open.lpstrTitle = dialog->lpstrTitle;
  open.Flags = dialog->Flags;
  // comdlg32 (and the printing DLLs it brings) only for the one program that asks.
  const auto open_dialog = Kept(openFileName, "comdlg32.dll", "GetOpenFileNameA");
  return open_dialog && open_dialog(&open);
}

// Looked up when first used: Windows 98 keeps no time of the last input.
BOOL RealWindowsApi::GetLastInputInfo(LASTINPUTINFO* info) {
  const auto get = Kept(lastInputInfo, "user32.dll", "GetLastInputInfo");
  ::LASTINPUTINFO last = {sizeof last, 0};
  if (!get) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
  }
  if (!get(&last)) return FALSE;
  info->dwTime = last.dwTime;
  return TRUE;
}

// winmm only for the program that makes a sound, when it first does.
BOOL RealWindowsApi::PlaySoundA(const char* sound, HMODULE module, DWORD flags) {
  const auto play = Kept(playSound, "winmm.dll", "PlaySoundA");
  return play && play(sound, As<HINSTANCE__>(module), flags);
}

}  // namespace ludora
