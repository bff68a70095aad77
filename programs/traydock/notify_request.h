// What a program asks of the notification area. Shell_NotifyIcon finds the
// window of class Shell_TrayWnd and sends it the program's NOTIFYICONDATA
// in a WM_COPYDATA; this reads that record without trusting it: a size is
// checked before every field behind it is read, a text is taken only up to
// the end of its field, and anything unknown is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace ludora::traydock {

// Shell_NotifyIcon's messages, NIM_ADD to NIM_SETVERSION.
enum class Command : DWORD { Add = 0, Modify = 1, Delete = 2, SetFocus = 3, SetVersion = 4 };

// Which fields of a request count (NIF_MESSAGE, NIF_ICON, NIF_TIP, NIF_STATE,
// NIF_INFO: a balloon), and the one state the area knows (NIS_HIDDEN).
inline constexpr UINT kSetsMessage = 0x1;
inline constexpr UINT kSetsIcon = 0x2;
inline constexpr UINT kSetsTip = 0x4;
inline constexpr UINT kSetsState = 0x8;
inline constexpr UINT kSetsBalloon = 0x10;
inline constexpr DWORD kStateHidden = 0x1;

// A text as the program wrote it: bytes of the ANSI code page, or UTF-16.
struct Text {
  bool wide = false;
  std::string ansi;
  std::u16string utf16;
  bool operator==(const Text&) const = default;
};

// A picture sent as its bits, as Wine's shell32 sends icons: CreateIcon's
// arguments, the AND mask first.
struct IconBits {
  int width = 0;
  int height = 0;
  BYTE planes = 0;
  BYTE bitsPerPixel = 0;
  std::vector<BYTE> mask, colour;
};

struct Request {
  Command command = Command::Add;
  HWND owner = 0;
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  HICON icon = 0;                // the program's own icon handle (Windows' record)
  std::optional<IconBits> bits;  // or its picture (Wine's record)
  Text tip;
  DWORD state = 0;
  DWORD stateMask = 0;
  UINT version = 0;
  // The balloon: its text (none takes it away), title, icon and sound
  // (dwInfoFlags), and how long it asks to show, in milliseconds (uTimeout,
  // the same field as the version).
  Text balloonText, balloonTitle;
  DWORD balloonFlags = 0;
  UINT timeout = 0;
};

// The record Windows' shell32 sends: COPYDATASTRUCT.dwData 1, the bytes a
// signature, the message, and the NOTIFYICONDATA, whose handles are 32 bits
// wide also from 64-bit programs.
inline constexpr std::uintptr_t kWindowsRecord = 1;
inline constexpr DWORD kWindowsSignature = 0x34753423;

// Wine's shell32 sends a record of its own instead: dwData the message, the
// bytes its fixed part (the size below), then the icon's bits.
inline constexpr std::size_t kWineRecordSize = 960;

// Reads a WM_COPYDATA that reached the tray window: its dwData and its
// bytes. Nothing when the bytes are no request in either form, are cut
// short, or name a message or structure size that no Windows sends.
std::optional<Request> DecodeRequest(std::uintptr_t kind, std::span<const BYTE> data);

}  // namespace ludora::traydock
