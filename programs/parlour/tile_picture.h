// The picture of a game's tile: the one the player picked, else a
// folder.jpg beside the game; decoded by Ludora's own JPEG reading and
// scaled once to the tile's box.
#pragma once

#include <optional>
#include <string>

#include "parlour/library.h"
#include "picture/jpeg_picture.h"
#include "platform/windows_api.h"

namespace ludora::parlour {

inline constexpr std::size_t kMaxPictureBytes = 2 * 1024 * 1024;

// The picture's file for `game`; empty when there is none.
std::string PictureFile(WindowsApi& api, const Game& game);

// `picture` as large as fits in `width` x `height`, its proportions kept:
// each pixel the mean of those it covers.
Picture ScaledToFit(const Picture& picture, int width, int height);

// Nothing when there is no picture, or it cannot be read.
std::optional<Picture> TilePicture(WindowsApi& api, const Game& game, int width, int height);

}  // namespace ludora::parlour
