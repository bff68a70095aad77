// The Windows data types the portable code speaks in. Handles are opaque
// integers; the real adapter casts them to and from the Windows types.
// Nothing here may collide with a <windows.h> macro: this header is
// included next to <windows.h> in the Win32 layer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ludora {

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using HRESULT = std::int32_t;

using HANDLE = std::uintptr_t;
using HKEY = std::uintptr_t;
using HWND = std::uintptr_t;
using HMENU = std::uintptr_t;
using PIDL = std::uintptr_t;  // an item-id list the shell handed out

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

// One directory entry of FindFirstFileA / FindNextFileA.
struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes = 0;
  char cFileName[260] = {};
};

// The handles of a started process, when its starter keeps them.
struct ProcessHandles {
  HANDLE process = 0;
  HANDLE thread = 0;
};

// The numbers of a program's own version record.
struct FileVersion {
  WORD major = 0;
  WORD minor = 0;
  WORD build = 0;
  WORD revision = 0;
};

}  // namespace ludora
