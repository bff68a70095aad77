#include "ludora/window_system_win.h"

#include "ludora/defrag_window_win.h"
#include "ludora/quick_menu_window_win.h"

namespace ludora::win32 {

Win32WindowSystem::Win32WindowSystem(HINSTANCE instance) : instance_(instance) {}

Win32WindowSystem::~Win32WindowSystem() = default;

void Win32WindowSystem::LoadForm1(Form1& form) {
  form1Window_ = std::make_unique<QuickMenuWindow>(*this, form);
}

Form2View* Win32WindowSystem::CreateForm2(Form2& form) {
  auto window = std::make_unique<DefragWindow>(*this, form);
  if (!window->hwnd()) return nullptr;
  // Owned by its window from now on: it deletes itself when the window is destroyed.
  return window.release();
}

void Win32WindowSystem::WindowGone() {
  if (--liveWindows_ <= 0) ::PostQuitMessage(0);
}

}  // namespace ludora::win32
