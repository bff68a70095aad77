// What the user can ask of lobbyfind's window, from its menus and its keys,
// and which key asks what.
#pragma once

#include "platform/win_types.h"

namespace ludora::lobbyfind {

enum class Command {
  None,
  Join,
  RefreshOne,  // the server selected alone
  RefreshAll,  // the view shown
  AddAddress,
  Favourite,        // the server selected into the favourites, or out of them
  LeaveFavourites,  // the server selected out of the favourites, in their view only
  CopyAddress,
  ChooseProgram,
  Exit,
  ShowInternet,
  ShowLan,
  ShowFavourites,
  Colours,  // names in the games' colours, or plain
  Masters,
};

// The window's command of a key pressed with the modifiers held, `inList`
// when the list of servers has the keyboard; None for keys that are the
// controls' own (Delete, Enter and Ctrl+C are the edit boxes' there).
Command CommandOfKey(UINT virtualKey, bool ctrl, bool alt, bool shift, bool inList);

}  // namespace ludora::lobbyfind
