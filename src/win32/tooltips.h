// A tooltip control over rectangles of one window.
#pragma once

#include <string>
#include <vector>

#include "win32/win.h"

namespace ludora::win32 {

class Tooltips {
 public:
  Tooltips() = default;
  ~Tooltips();
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;

  // Whether the control could be made; the common controls are loaded then.
  bool Create(HWND owner);
  // Hands the control a mouse message its owner had before the control existed.
  void Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Where tools overlap, the one added first is shown.
  void Add(UINT id, const RECT& area, const std::string& text);
  // A tool whose text the owner gives when it shows (TTN_GETDISPINFO).
  void AddAnswered(UINT id, const RECT& area);
  // The shown text of every tool asked for again.
  void Refresh();
  void RemoveAll();
  void SetText(UINT id, const std::string& text);
  void Remove(UINT id);
  // The owner is being destroyed, and the control with it: its handle may
  // soon name another window.
  void OwnerDestroyed() { control_ = nullptr; }

 private:
  HWND owner_ = nullptr;
  HWND control_ = nullptr;
  std::vector<UINT> answered_;  // the ids of the tools added by AddAnswered
};

}  // namespace ludora::win32
