// A tooltip control over rectangles of one window.
#pragma once

#include <string>

#include "win32/win.h"

namespace ludora::win32 {

class Tooltips {
 public:
  Tooltips() = default;
  ~Tooltips();
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;

  void Create(HWND owner);
  // Where tools overlap, the one added first is shown.
  void Add(UINT id, const RECT& area, const std::string& text);
  void SetText(UINT id, const std::string& text);
  void Remove(UINT id);

 private:
  HWND owner_ = nullptr;
  HWND control_ = nullptr;
};

}  // namespace ludora::win32
