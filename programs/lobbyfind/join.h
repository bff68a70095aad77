// Joining a server: the game's program, found as its row of the table says
// (the user's choice, a registry value, Windows' App Paths), started in its
// own folder with the row's arguments for the server.
#pragma once

#include <string>

#include "lobbyfind/games_table.h"
#include "platform/windows_api.h"

namespace ludora::lobbyfind {

// The join arguments: %address% in the template becomes the server's
// address; with a password, the password template (its %password% the
// password, as one argument of the command line) comes after.
std::string JoinArguments(const Game& game, SocketAddress address, const std::string& password);

// The game's program, a path that exists; empty when none is found.
std::string FindProgram(WindowsApi& api, const Game& game);

// Starts `program` with `arguments` in the program's folder; whether it started.
bool StartGame(WindowsApi& api, const std::string& program, const std::string& arguments);

}  // namespace ludora::lobbyfind
