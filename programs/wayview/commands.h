// What the user can ask of a frame, from its buttons, its menus and its
// keys, and which key asks what.
#pragma once

#include "platform/win_types.h"

namespace ludora::wayview {

enum class Command {
  None,
  Back,
  Forward,
  Stop,
  Refresh,
  Home,
  FocusAddress,
  ResetAddress,  // Escape in the address box: the current address again
  AddFavorite,
  OrganizeFavorites,
  NewWindow,
  Close,
  FullScreen,
  Retry,
  OpenElsewhere,  // the current address in the default browser
  SetHome,        // the current page as the home page
  ResetHome,      // Ludora's start page as the home page
};

// The buttons of the frame, in their order.
inline constexpr Command kButtons[] = {Command::Back, Command::Forward, Command::Stop,
                                       Command::Refresh, Command::Home};

// The frame's command of a key pressed with the modifiers held; None for
// keys that are the page's or the address box's own.
Command CommandOfKey(UINT virtualKey, bool ctrl, bool alt, bool shift);

}  // namespace ludora::wayview
