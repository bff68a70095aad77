// Games found as shortcuts and programs: in the games folder, which is the
// player's own list (everything there is a game), and in the Start menu,
// the machine's and the user's (a game when it sits in a games folder or
// its program in a games place; other programs are offered).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "parlour/found_game.h"
#include "parlour/shell_link.h"
#include "platform/windows_api.h"

namespace ludora::parlour {

// `text` with its %variables% expanded by Windows; as given when it cannot.
std::string Expanded(WindowsApi& api, const std::string& text);
// A shortcut's text in the ANSI code page; nothing when a character has no place there.
std::optional<std::string> AnsiText(WindowsApi& api, const LinkText& text);
// `relative` taken from `folder`, its "." and ".." steps gone.
std::string Resolved(const std::string& folder, const std::string& relative);

// What the shortcut at `path` starts, named as the shortcut; nothing when
// it starts no file a path can name (an installer's shortcut).
std::optional<FoundGame> GameFromShortcut(WindowsApi& api, const std::string& path);

// Every shortcut and program in the games folder and its subfolders.
std::vector<FoundGame> GamesFolderGames(WindowsApi& api, const std::string& gamesFolder);

// The programs the Start menu's shortcuts start, but for Windows' own tools,
// the startup programs and what is no game; `windowsFolder` in lower case.
std::vector<FoundGame> StartMenuGames(WindowsApi& api, const std::string& windowsFolder,
                                      std::size_t& budget);

}  // namespace ludora::parlour
