// The Windows data types the portable code speaks in. Handles are opaque
// integers; the real adapter casts them to and from the Windows types.
// Records carry only the fields Ludora reads or writes. Nothing here may
// collide with a <windows.h> macro: this header is included next to
// <windows.h> in the Win32 layer.
#pragma once

#include <cstddef>
#include <cstdint>

// The calling convention of Windows' own functions, for the ones Ludora
// looks up at run time and calls through a pointer.
#if defined(_WIN32) && !defined(_WIN64)
#define LUDORA_WINAPI __stdcall
#else
#define LUDORA_WINAPI
#endif

namespace ludora {

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using HRESULT = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

using HANDLE = std::uintptr_t;
using HKEY = std::uintptr_t;
using HWND = std::uintptr_t;
using HMENU = std::uintptr_t;
using HICON = std::uintptr_t;
using HMODULE = std::uintptr_t;  // 0: the running program
using HRSRC = std::uintptr_t;
using HGLOBAL = std::uintptr_t;
using PIDL = std::uintptr_t;  // an item-id list the shell handed out
using FARPROC = void (*)();
using LPTHREAD_START_ROUTINE = DWORD(LUDORA_WINAPI*)(void* parameter);

// INVALID_HANDLE_VALUE, under a name of its own: <windows.h> makes that one a macro.
inline constexpr HANDLE kInvalidHandle = static_cast<HANDLE>(-1);

// The only part of a security record the programs give: whether a handle
// made with it passes on to the processes started with inherited handles.
// Elsewhere always null.
struct SECURITY_ATTRIBUTES {
  BOOL bInheritHandle = 0;
};

// GetVersionExA's record: 148 bytes on Windows; only the fields read here.
struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize = 0;
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
};

// GlobalMemoryStatus's record as a 32-bit program receives it.
struct MEMORYSTATUS {
  DWORD dwLength = 0;
  DWORD dwMemoryLoad = 0;
  DWORD dwTotalPhys = 0;
  DWORD dwAvailPhys = 0;
  DWORD dwTotalPageFile = 0;
  DWORD dwAvailPageFile = 0;
  DWORD dwTotalVirtual = 0;
  DWORD dwAvailVirtual = 0;
};

struct POINT {
  LONG x = 0;
  LONG y = 0;
};

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};

struct MSG {
  HWND hwnd = 0;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
};

// One directory entry of FindFirstFileA / FindNextFileA.
struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes = 0;
  char cFileName[260] = {};
};

// CreateProcessA's start-up record: the window the new process shows first.
struct STARTUPINFOA {
  DWORD cb = 68;  // its size on Windows
  DWORD dwFlags = 0;
  WORD wShowWindow = 0;
};

struct PROCESS_INFORMATION {
  HANDLE hProcess = 0;
  HANDLE hThread = 0;
  DWORD dwProcessId = 0;
  DWORD dwThreadId = 0;
};

// A time as Windows keeps it: 100-nanosecond intervals since 1601 (UTC).
struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};

// A process of a toolhelp snapshot: on the NT family its program's file
// name only, on 98 its full path.
struct PROCESSENTRY32 {
  DWORD th32ProcessID = 0;
  DWORD th32ParentProcessID = 0;
  char szExeFile[260] = {};
};

// A module of a process's toolhelp snapshot; the first is its program.
struct MODULEENTRY32 {
  DWORD th32ProcessID = 0;
  char szExePath[260] = {};
};

}  // namespace ludora
