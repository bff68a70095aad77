#include "lobbyfind/list_pane_win.h"

#include <commctrl.h>

#include "lobbyfind/q3_protocol.h"

namespace ludora::win32 {

HWND MakeList(HINSTANCE instance, HWND parent, int id, const std::vector<ListColumn>& columns,
              bool virtualRows) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                      LVS_SHOWSELALWAYS | (virtualRows ? LVS_OWNERDATA : 0);
  const HWND list =
      ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  for (std::size_t at = 0; at < columns.size(); ++at) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(columns[at].title);
    column.cx = columns[at].width;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, at, reinterpret_cast<LPARAM>(&column));
  }
  return list;
}

void FillList(HWND list, const std::vector<std::vector<std::string>>& rows) {
  ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::size_t cell = 0; cell < rows[row].size(); ++cell) {
      LVITEMA item = {};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(row);
      item.iSubItem = static_cast<int>(cell);
      item.pszText = const_cast<char*>(rows[row][cell].c_str());
      ::SendMessageA(list, cell == 0 ? LVM_INSERTITEMA : LVM_SETITEMA, 0,
                     reinterpret_cast<LPARAM>(&item));
    }
  }
  ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

int SelectedRow(HWND list) {
  return static_cast<int>(
      ::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectRow(HWND list, int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = row >= 0 ? item.stateMask : 0;
  ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row >= 0 ? row : -1),
                 reinterpret_cast<LPARAM>(&item));
  if (row >= 0) ::SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

LRESULT DrawColouredNames(const NMLVCUSTOMDRAW& draw, const std::string& name) {
  // The games' eight colours, black and white swapped for the list's own.
  static const COLORREF kColours[8] = {
      RGB(96, 96, 96), RGB(204, 0, 0),   RGB(0, 150, 0),   RGB(170, 140, 0),
      RGB(0, 0, 204),  RGB(0, 150, 170), RGB(170, 0, 170), 0};
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) return CDRF_NOTIFYSUBITEMDRAW;
  if (draw.nmcd.dwDrawStage != (CDDS_ITEMPREPAINT | CDDS_SUBITEM) || name.empty()) {
    return CDRF_DODEFAULT;
  }
  const HWND list = draw.nmcd.hdr.hwndFrom;
  const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
  RECT cell = {};
  cell.top = draw.iSubItem;
  cell.left = LVIR_BOUNDS;
  ::SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&cell));
  const bool selected =
      ::SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
  const HDC dc = draw.nmcd.hdc;
  ::FillRect(dc, &cell, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(dc, TRANSPARENT);
  cell.left += 6;
  for (const auto& run : lobbyfind::ColourRuns(name)) {
    const COLORREF plain = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    ::SetTextColor(dc, selected || run.colour < 0 ? plain
                       : kColours[run.colour]     ? kColours[run.colour]
                                                  : plain);
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, run.text.c_str(), static_cast<int>(run.text.size()), &size);
    ::DrawTextA(dc, run.text.c_str(), static_cast<int>(run.text.size()), &cell,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    cell.left += size.cx;
    if (cell.left >= cell.right) break;
  }
  return CDRF_SKIPDEFAULT;
}

}  // namespace ludora::win32
