// <windows.h> for the window code. The portable headers name their own
// handle types in namespace ludora; inside ludora::win32 these using
// declarations make the plain names mean the Windows types again.
#pragma once

#include <windows.h>

namespace ludora::win32 {

using ::BOOL;
using ::BYTE;
using ::DWORD;
using ::FARPROC;
using ::HANDLE;
using ::HGLOBAL;
using ::HICON;
using ::HKEY;
using ::HMENU;
using ::HMODULE;
using ::HRSRC;
using ::HWND;
using ::LONG;
using ::LPARAM;
using ::MSG;
using ::POINT;
using ::RECT;
using ::UINT;
using ::WORD;
using ::WPARAM;

// Window pixels for a length in twips on this screen (15 twips a pixel at 96 dpi).
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);
// A label's area in window pixels, from its left, top, width and height in twips.
RECT PixelRect(int left, int top, int width, int height);

}  // namespace ludora::win32
