// The report list views of the window: the servers (a virtual list: the
// rows are asked for as they are drawn, so thousands cost the list
// nothing), the players and the settings of the one selected.
#pragma once

#include <string>
#include <vector>

#include "lobbyfind/server_view.h"
#include "win32/win.h"

#include <commctrl.h>

namespace ludora::win32 {

struct ListColumn {
  const char* title;
  int width;
};

// A report list view with these columns, child `id` of `parent`.
HWND MakeList(HINSTANCE instance, HWND parent, int id, const std::vector<ListColumn>& columns,
              bool virtualRows);

// Fills a list view with rows of texts.
void FillList(HWND list, const std::vector<std::vector<std::string>>& rows);

// The selected row of a list view, -1 when none.
int SelectedRow(HWND list);
void SelectRow(HWND list, int row);

// Custom drawing of the server list: the name column in the games' colours.
// `name` gives the name of a row with its colour codes, or empty when it
// is to be drawn plainly.
LRESULT DrawColouredNames(const NMLVCUSTOMDRAW& draw, const std::string& name);

}  // namespace ludora::win32
