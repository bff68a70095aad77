// The games room's two dialogs: a game's properties, and the programs a
// search found that may be games.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "parlour/games_room.h"
#include "platform/windows_api.h"
#include "win32/win.h"

namespace ludora::win32 {

// comctl32, loaded and set up before the first dialog or message box rather
// than at start (the room's own window uses none of its controls): with it
// the dialogs' buttons and boxes have the look the manifest asks for.
void LoadCommonControls();

// The player's changes to `game`; nothing when cancelled.
std::optional<parlour::GameEdit> EditProperties(HINSTANCE instance, HWND owner,
                                                ludora::WindowsApi& api, const parlour::Game& game,
                                                const std::vector<std::string>& categories);

// Which of `offers` the player imports; nothing when left for later.
std::optional<std::vector<bool>> ChooseOffers(HINSTANCE instance, HWND owner,
                                              const std::vector<parlour::FoundGame>& offers);

}  // namespace ludora::win32
