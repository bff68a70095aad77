// What the list shows: the servers of a view that pass the filters, in the
// order of a column, and the text of each cell.
#pragma once

#include <string>
#include <vector>

#include "lobbyfind/server_table.h"
#include "lobbyfind/user_files.h"

namespace ludora::lobbyfind {

enum class Column { Lock, Name, Game, Map, Players, Ping, Address };

struct Sort {
  Column column = Column::Ping;
  bool descending = false;
};

std::vector<std::size_t> VisibleRows(const ServerTable& servers, const std::vector<Game>& games,
                                     unsigned view, const Filter& filter, Sort sort);

// The cell's text; the name with its colour codes only when `colours`.
std::string CellText(const Server& server, const std::vector<Game>& games, Column column,
                     bool colours);

// One line for a server: name, map, players and ping, or its state.
std::string Summary(const Server& server);

}  // namespace ludora::lobbyfind
