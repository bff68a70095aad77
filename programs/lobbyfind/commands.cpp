#include "lobbyfind/commands.h"

namespace ludora::lobbyfind {

namespace {

enum Modifiers { kNone = 0, kCtrl = 1, kAlt = 2, kShift = 4 };
enum Where { kAnywhere, kInList };

struct KeyRow {
  UINT key;
  int modifiers;
  Where where;
  Command command;
};

// The README's table of keys, one row a key; the modifiers as held, no more.
constexpr KeyRow kKeys[] = {
    {0x0D, kNone, kInList, Command::Join},             // Enter
    {0x74, kNone, kAnywhere, Command::RefreshAll},     // F5
    {0x74, kShift, kAnywhere, Command::RefreshOne},    // Shift+F5
    {0x2D, kNone, kAnywhere, Command::AddAddress},     // Insert
    {'D', kCtrl, kAnywhere, Command::Favourite},       //
    {0x2E, kNone, kInList, Command::LeaveFavourites},  // Delete
    {'C', kCtrl, kInList, Command::CopyAddress},       //
    {'1', kCtrl, kAnywhere, Command::ShowInternet},    //
    {'2', kCtrl, kAnywhere, Command::ShowLan},         //
    {'3', kCtrl, kAnywhere, Command::ShowFavourites},  //
};

}  // namespace

Command CommandOfKey(UINT virtualKey, bool ctrl, bool alt, bool shift, bool inList) {
  const int held = (ctrl ? kCtrl : kNone) | (alt ? kAlt : kNone) | (shift ? kShift : kNone);
  for (const KeyRow& row : kKeys) {
    if (row.key == virtualKey && row.modifiers == held && (inList || row.where == kAnywhere)) {
      return row.command;
    }
  }
  return Command::None;
}

}  // namespace ludora::lobbyfind
