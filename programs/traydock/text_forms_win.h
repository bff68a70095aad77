// A program's text in the form a Windows call wants: UTF-16 for the wide
// functions (the NT family), the ANSI code page's bytes for the others.
#pragma once

#include <windows.h>

#include <string>

#include "traydock/notify_request.h"

namespace ludora::win32 {

inline std::wstring WideText(const traydock::Text& text) {
  if (text.wide) return {text.utf16.begin(), text.utf16.end()};
  std::wstring wide(text.ansi.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      ::MultiByteToWideChar(CP_ACP, 0, text.ansi.data(), static_cast<int>(text.ansi.size()),
                            wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

inline std::string AnsiText(const traydock::Text& text) {
  if (!text.wide) return text.ansi;
  const std::wstring wide(text.utf16.begin(), text.utf16.end());
  std::string ansi(wide.size() * 2, '\0');
  ansi.resize(static_cast<std::size_t>(
      ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                            static_cast<int>(ansi.size()), nullptr, nullptr)));
  return ansi;
}

}  // namespace ludora::win32
