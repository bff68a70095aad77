#include "win32/tooltips.h"

#include <commctrl.h>

namespace ludora::win32 {

namespace {

// The record size every comctl32 since version 4.70 accepts.
TOOLINFOA ToolInfo(HWND owner, UINT id) {
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = owner;
  tool.uId = id;
  return tool;
}

}  // namespace

Tooltips::~Tooltips() {
  if (control_) ::DestroyWindow(control_);
}

bool Tooltips::Create(HWND owner) {
  // comctl32 comes in when the first tooltip is made, not with the program.
  static const bool loaded = [] {
    const HMODULE comctl32 = ::LoadLibraryA("comctl32.dll");
    const auto initialise = comctl32 ? reinterpret_cast<void(WINAPI*)()>(reinterpret_cast<void*>(
                                           ::GetProcAddress(comctl32, "InitCommonControls")))
                                     : nullptr;
    if (initialise) initialise();
    return initialise != nullptr;
  }();
  if (!loaded) return false;
  owner_ = owner;
  control_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
  if (control_) ::SendMessageA(control_, TTM_SETMAXTIPWIDTH, 0, 400);
  return control_ != nullptr;
}

void Tooltips::Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!control_) return;
  MSG relayed = {window, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
  ::SendMessageA(control_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void Tooltips::Add(UINT id, const RECT& area, const std::string& text) {
  if (!control_) return;
  TOOLINFOA tool = ToolInfo(owner_, id);
  tool.uFlags = TTF_SUBCLASS;
  tool.rect = area;
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  tool.lpszText = buffer.data();
  ::SendMessageA(control_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::SetText(UINT id, const std::string& text) {
  if (!control_) return;
  TOOLINFOA tool = ToolInfo(owner_, id);
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  tool.lpszText = buffer.data();
  ::SendMessageA(control_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::AddAnswered(UINT id, const RECT& area) {
  if (!control_) return;
  TOOLINFOA tool = ToolInfo(owner_, id);
  tool.uFlags = TTF_SUBCLASS;
  tool.rect = area;
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  if (::SendMessageA(control_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) {
    answered_.push_back(id);
  }
}

void Tooltips::Refresh() {
  for (const UINT id : answered_) {
    TOOLINFOA tool = ToolInfo(owner_, id);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    ::SendMessageA(control_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void Tooltips::RemoveAll() {
  for (const UINT id : answered_) Remove(id);
  answered_.clear();
}

void Tooltips::Remove(UINT id) {
  if (!control_) return;
  TOOLINFOA tool = ToolInfo(owner_, id);
  ::SendMessageA(control_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace ludora::win32
