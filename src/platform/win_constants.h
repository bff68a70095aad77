// Windows constants for the portable code, with their Windows names and
// values. Several of these names are macros in <windows.h>, so the Win32
// layer never includes this header.
#pragma once

#include "platform/win_types.h"

namespace ludora {

// Predefined registry roots, as their 32-bit handle values.
inline constexpr HKEY HKCR = 0x80000000u;  // HKEY_CLASSES_ROOT
inline constexpr HKEY HKCU = 0x80000001u;  // HKEY_CURRENT_USER
inline constexpr HKEY HKLM = 0x80000002u;  // HKEY_LOCAL_MACHINE
inline constexpr HKEY HKU = 0x80000003u;   // HKEY_USERS

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_NO_MORE_FILES = 18;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_CALL_NOT_IMPLEMENTED = 120;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_MORE_DATA = 234;
inline constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_NOT_LOGGED_ON = 1245;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_OPTION_VOLATILE = 1;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;
inline constexpr DWORD KEY_QUERY_VALUE = 0x1;
inline constexpr DWORD KEY_SET_VALUE = 0x2;

inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

inline constexpr DWORD PROCESS_TERMINATE = 0x1;
inline constexpr DWORD PROCESS_DUP_HANDLE = 0x40;
inline constexpr DWORD PROCESS_QUERY_INFORMATION = 0x400;
inline constexpr DWORD TOKEN_QUERY = 0x8;
inline constexpr int TokenUser = 1;  // GetTokenInformation: the account, as a SID
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 0x102;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD SYNCHRONIZE = 0x100000;
inline constexpr DWORD EVENT_MODIFY_STATE = 0x2;
inline constexpr DWORD NORMAL_PRIORITY_CLASS = 0x20;
inline constexpr DWORD IDLE_PRIORITY_CLASS = 0x40;
inline constexpr DWORD HIGH_PRIORITY_CLASS = 0x80;
inline constexpr DWORD CREATE_SUSPENDED = 0x4;
inline constexpr DWORD STARTF_USESHOWWINDOW = 0x1;
inline constexpr int THREAD_PRIORITY_IDLE = -15;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_FORCEMINIMIZE = 11;

inline constexpr UINT MB_OK = 0;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr int IDYES = 6;

inline constexpr UINT MF_STRING = 0x0;
inline constexpr UINT MF_GRAYED = 0x1;
inline constexpr UINT MF_CHECKED = 0x8;
inline constexpr UINT MF_POPUP = 0x10;
inline constexpr UINT MF_BYPOSITION = 0x400;
inline constexpr UINT MF_SEPARATOR = 0x800;
inline constexpr UINT TPM_NONOTIFY = 0x80;
inline constexpr UINT TPM_RETURNCMD = 0x100;

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;
inline constexpr UINT PM_REMOVE = 0x1;

// A resource or export named by number instead of text.
inline const char* MAKEINTRESOURCEA(WORD number) {
  return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(number));
}
inline constexpr WORD VS_VERSION_INFO = 1;
inline constexpr WORD RT_VERSION = 16;

inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD GENERIC_READ = 0x80000000u;
inline constexpr DWORD GENERIC_WRITE = 0x40000000u;
inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD FILE_SHARE_READ = 0x1;
inline constexpr DWORD FILE_SHARE_WRITE = 0x2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD FILE_FLAG_SEQUENTIAL_SCAN = 0x08000000u;
inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 1;

inline constexpr DWORD MEM_COMMIT = 0x1000;
inline constexpr DWORD MEM_RESERVE = 0x2000;
inline constexpr DWORD MEM_RELEASE = 0x8000;
inline constexpr DWORD PAGE_READWRITE = 0x04;

inline constexpr DWORD LOCALE_USER_DEFAULT = 0x400;
inline constexpr DWORD DATE_LONGDATE = 0x2;

inline constexpr int CSIDL_DESKTOPDIRECTORY = 16;
inline constexpr int CSIDL_COMMON_PROGRAMS = 23;

}  // namespace ludora
