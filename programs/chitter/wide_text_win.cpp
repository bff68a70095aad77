#include "chitter/wide_text_win.h"

#include <vector>

namespace ludora::win32 {

namespace {

template <typename Function>
Function* User32(const char* name) {
  return reinterpret_cast<Function*>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), name)));
}

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

std::u16string WindowsCodePage::ToUtf16(std::string_view ansi) const {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size());
  const int units = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  std::u16string text(static_cast<std::size_t>(units > 0 ? units : 0), u'\0');
  if (units > 0)
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, reinterpret_cast<wchar_t*>(text.data()),
                          units);
  return text;
}

std::string WindowsCodePage::FromUtf16(std::u16string_view text) const {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) ::WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), bytes, "?", nullptr);
  return ansi;
}

WideText::WideText(const chitter::CodePage& ansi) : ansi_(ansi) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT) return;
  sendMessage_ = User32<decltype(::SendMessageW)>("SendMessageW");
  setText_ = User32<decltype(::SetWindowTextW)>("SetWindowTextW");
  getText_ = User32<decltype(::GetWindowTextW)>("GetWindowTextW");
  getLength_ = User32<decltype(::GetWindowTextLengthW)>("GetWindowTextLengthW");
  if (sendMessage_ && setText_ && getText_ && getLength_)
    createWindow_ = User32<decltype(::CreateWindowExW)>("CreateWindowExW");
}

HWND WideText::CreateControl(const char* ansiClass, const wchar_t* wideClass, DWORD style,
                             DWORD exStyle, HWND parent, UINT id) const {
  const auto menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  if (createWindow_)
    return createWindow_(exStyle, wideClass, L"", style, 0, 0, 0, 0, parent, menu, instance,
                         nullptr);
  return ::CreateWindowExA(exStyle, ansiClass, "", style, 0, 0, 0, 0, parent, menu, instance,
                           nullptr);
}

void WideText::SetText(HWND window, std::string_view utf8) const {
  SetText16(window, chitter::Utf8ToUtf16(utf8));
}

void WideText::SetText16(HWND window, const std::u16string& text) const {
  if (setText_) {
    setText_(window, Wide(text));
  } else {
    ::SetWindowTextA(window, ansi_.FromUtf16(text).c_str());
  }
}

std::u16string WideText::Text(HWND window) const {
  if (getText_) {
    std::u16string text(static_cast<std::size_t>(getLength_(window)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(
        getText_(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
    return text;
  }
  std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return ansi_.ToUtf16(text);
}

LRESULT WideText::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  return sendMessage_ ? sendMessage_(window, message, wParam, lParam)
                      : ::SendMessageA(window, message, wParam, lParam);
}

void DrawWide(HDC dc, int x, int y, const RECT& clip, std::u16string_view text) {
  ::ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, reinterpret_cast<const wchar_t*>(text.data()),
                static_cast<UINT>(text.size()), nullptr);
}

}  // namespace ludora::win32
