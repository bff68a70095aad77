// The windows' text: Unicode on the NT family, through the W functions
// looked up at run time (Windows 98 has them at most as stubs); the ANSI
// code page on 98. The program's text is UTF-8 throughout.
#pragma once

#include <string>
#include <string_view>

#include "chitter/text.h"
#include "win32/win.h"

namespace ludora::win32 {

// The machine's ANSI code page, as Windows converts it.
class WindowsCodePage : public chitter::CodePage {
 public:
  std::u16string ToUtf16(std::string_view ansi) const override;
  std::string FromUtf16(std::u16string_view text) const override;
  unsigned Number() const override { return ::GetACP(); }
};

class WideText {
 public:
  explicit WideText(const chitter::CodePage& ansi);
  // Whether the windows hold Unicode (the NT family's W functions are there).
  bool unicode() const { return createWindow_ != nullptr; }

  // A control of a class both forms have ("EDIT", "RichEdit20"), in Unicode where it can be.
  HWND CreateControl(const char* ansiClass, const wchar_t* wideClass, DWORD style, DWORD exStyle,
                     HWND parent, UINT id) const;
  void SetText(HWND window, std::string_view utf8) const;
  std::u16string Text(HWND window) const;
  void SetText16(HWND window, const std::u16string& text) const;
  // Sends a message whose wide form the control answers when it is Unicode.
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
  const chitter::CodePage& ansi() const { return ansi_; }

 private:
  const chitter::CodePage& ansi_;
  decltype(::CreateWindowExW)* createWindow_ = nullptr;
  decltype(::SendMessageW)* sendMessage_ = nullptr;
  decltype(::SetWindowTextW)* setText_ = nullptr;
  decltype(::GetWindowTextW)* getText_ = nullptr;
  decltype(::GetWindowTextLengthW)* getLength_ = nullptr;
};

// Draws UTF-16 text (ExtTextOutW, which 98's GDI has too).
void DrawWide(HDC dc, int x, int y, const RECT& clip, std::u16string_view text);

}  // namespace ludora::win32
