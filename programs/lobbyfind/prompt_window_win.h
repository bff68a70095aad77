// A small modal window that asks the user for one line of text: an
// address, a password, the masters of a game.
#pragma once

#include <optional>
#include <string>

#include "win32/window_base.h"

namespace ludora::win32 {

// The text entered, or nothing when the user cancels (Escape, Cancel, close).
std::optional<std::string> AskText(HINSTANCE instance, HWND owner, const std::string& title,
                                   const std::string& question, const std::string& text,
                                   bool secret = false);

}  // namespace ludora::win32
