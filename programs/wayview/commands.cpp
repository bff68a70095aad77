#include "wayview/commands.h"

namespace ludora::wayview {

namespace {

enum Modifiers { kNone = 0, kCtrl = 1, kAlt = 2 };

struct KeyRow {
  UINT key;
  int modifiers;
  Command command;
};

// The keys of the browsers of Windows, and the browser keys of multimedia keyboards.
constexpr KeyRow kKeys[] = {
    {0x74, kNone, Command::Refresh},       // F5
    {'R', kCtrl, Command::Refresh},        //
    {0xA8, kNone, Command::Refresh},       // VK_BROWSER_REFRESH
    {0x1B, kNone, Command::Stop},          // Escape
    {0xA9, kNone, Command::Stop},          // VK_BROWSER_STOP
    {0x25, kAlt, Command::Back},           // Alt+Left
    {0xA6, kNone, Command::Back},          // VK_BROWSER_BACK
    {0x27, kAlt, Command::Forward},        // Alt+Right
    {0xA7, kNone, Command::Forward},       // VK_BROWSER_FORWARD
    {0x24, kAlt, Command::Home},           // Alt+Home
    {0xAC, kNone, Command::Home},          // VK_BROWSER_HOME
    {'L', kCtrl, Command::FocusAddress},   //
    {0x75, kNone, Command::FocusAddress},  // F6
    {'D', kAlt, Command::FocusAddress},    //
    {'D', kCtrl, Command::AddFavorite},    //
    {'N', kCtrl, Command::NewWindow},      //
    {'W', kCtrl, Command::Close},          //
    {0x7A, kNone, Command::FullScreen},    // F11
};

}  // namespace

Command CommandOfKey(UINT virtualKey, bool ctrl, bool alt, bool shift) {
  if (shift) return Command::None;  // Shift+keys are the page's (Shift+F5, Shift+Tab ...)
  const int held = (ctrl ? kCtrl : kNone) | (alt ? kAlt : kNone);
  for (const KeyRow& row : kKeys) {
    if (row.key == virtualKey && row.modifiers == held) return row.command;
  }
  return Command::None;
}

}  // namespace ludora::wayview
