// The room's painting: the background around the tiles, the header of
// categories and the search, each tile through a bitmap of its own size
// (so nothing flickers, and no bitmap of the whole screen is kept), the
// footer of hints.
#include <algorithm>
#include <string>

#include "parlour/library_file.h"
#include "parlour/room_window_win.h"

namespace ludora::win32 {

namespace {

constexpr COLORREF kBackground = RGB(22, 26, 34), kTileColour = RGB(38, 44, 56),
                   kSelected = RGB(66, 78, 102), kAccent = RGB(255, 170, 40),
                   kText = RGB(236, 238, 242), kDim = RGB(140, 148, 162),
                   kMissing = RGB(236, 92, 80);

HFONT MakeFont(int height, int weight) {
  return ::CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  ::SetBkColor(dc, colour);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

void Text(HDC dc, const std::string& text, RECT area, COLORREF colour, UINT format) {
  ::SetTextColor(dc, colour);
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
              format | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

const char* SortName(parlour::Sort sort) {
  return sort == parlour::Sort::Name         ? "name"
         : sort == parlour::Sort::LastPlayed ? "last played"
                                             : "play time";
}

}  // namespace

RoomWindow::Fonts::Fonts()
    : title(MakeFont(22, FW_BOLD)), name(MakeFont(14, FW_BOLD)), small(MakeFont(13, FW_NORMAL)) {}

RoomWindow::Fonts::~Fonts() {
  for (const HFONT font : {title, name, small})
    if (font) ::DeleteObject(font);
}

void RoomWindow::Paint(HDC dc) {
  RECT client;
  ::GetClientRect(hwnd(), &client);
  const parlour::Room& room = room_.room();
  const int count = static_cast<int>(room.Shown().size());
  const int first = room.TopRow() * layout_.Columns();
  const int last = std::min(count, first + (layout_.Rows() + 1) * layout_.Columns());
  const int saved = ::SaveDC(dc);
  ::SetBkMode(dc, TRANSPARENT);
  const RECT footer = {0, client.bottom - parlour::Layout::kFooter, client.right, client.bottom};
  ::IntersectClipRect(dc, 0, 0, client.right, footer.top);  // tiles cut by the footer stop there
  for (int position = first; position < last; ++position) {
    const RECT tile = ToRect(layout_.Tile(position, room.TopRow()));
    PaintTile(dc, position, tile);
    ::ExcludeClipRect(dc, tile.left, tile.top, tile.right, tile.bottom);
  }
  Fill(dc, {0, parlour::Layout::kHeader, client.right, footer.top}, kBackground);
  ::RestoreDC(dc, saved);
  ::SetBkMode(dc, TRANSPARENT);
  PaintHeader(dc, client);
  PaintFooter(dc, client);
  if (count == 0) {
    const RECT middle = {0, parlour::Layout::kHeader, client.right, footer.top};
    ::SelectObject(dc, fonts_.name);
    Text(dc,
         searching_              ? "Looking for games..."
         : room.Search().empty() ? "No games here. Press F5 to look for games, Ins to add one."
                                 : "No game's name holds \"" + room.Search() + "\".",
         middle, kDim, DT_CENTER | DT_VCENTER);
  }
}

void RoomWindow::PaintHeader(HDC dc, const RECT& client) {
  const parlour::Room& room = room_.room();
  Fill(dc, {0, 0, client.right, parlour::Layout::kHeader}, kBackground);
  // Below the height of Ludora's bar, which stays over the top-left corner.
  ::SelectObject(dc, fonts_.title);
  Text(dc, "Games Room", {16, 22, 400, 46}, kText, DT_LEFT | DT_VCENTER);
  ::SelectObject(dc, fonts_.small);
  const std::string search =
      room.Search().empty() ? "Type a name to search" : "Search: " + room.Search() + "_";
  Text(dc, search + "     Sorted by " + SortName(room.SortOrder()) + " (F3)",
       {400, 22, client.right - 16, 46}, room.Search().empty() ? kDim : kAccent,
       DT_RIGHT | DT_VCENTER);
  ::SelectObject(dc, fonts_.name);
  categoryTabs_.clear();
  int x = 16;
  for (std::size_t i = 0; i < room.Categories().size(); ++i) {
    const std::string& name = room.Categories()[i];
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, name.c_str(), static_cast<int>(name.size()), &size);
    const RECT tab = {x, 48, x + size.cx + 20, 68};
    categoryTabs_.push_back(tab);
    const bool current = static_cast<int>(i) == room.Category();
    if (current) Fill(dc, {tab.left, tab.bottom - 3, tab.right, tab.bottom}, kAccent);
    Text(dc, name, tab, current ? kText : kDim, DT_CENTER | DT_VCENTER);
    x = tab.right + 8;
  }
}

void RoomWindow::PaintFooter(HDC dc, const RECT& client) {
  const RECT footer = {0, client.bottom - parlour::Layout::kFooter, client.right, client.bottom};
  Fill(dc, footer, kTileColour);
  ::SelectObject(dc, fonts_.small);
  const int game = room_.room().SelectedGame();
  std::string left = room_.notice();
  if (left.empty() && game >= 0) {
    const parlour::Game& entry = room_.library().games[game];
    left = entry.name + " - " + parlour::PlayedText(entry, parlour::UnixNow(api_));
  }
  if (!room_.Offers().empty())
    left = std::to_string(room_.Offers().size()) +
           " more programs found: F5 to choose the games among them.  " + left;
  static constexpr char kHints[] =
      "Enter Play   Esc Back   Tab Category   F2 Properties   F5 Find   Ins Add";
  SIZE hints = {};
  ::GetTextExtentPoint32A(dc, kHints, sizeof kHints - 1, &hints);
  const int split = std::max(client.right / 3, client.right - 16 - static_cast<int>(hints.cx));
  Text(dc, left, {16, footer.top, split - 24, footer.bottom}, kText, DT_LEFT | DT_VCENTER);
  Text(dc, kHints, {split, footer.top, client.right - 16, footer.bottom}, kDim,
       DT_RIGHT | DT_VCENTER);
}

void RoomWindow::PaintTile(HDC target, int position, const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  const HDC dc = ::CreateCompatibleDC(target);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(target, width, height);
  if (!dc || !bitmap) {
    if (dc) ::DeleteDC(dc);
    if (bitmap) ::DeleteObject(bitmap);
    return;
  }
  const HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
  ::SetBkMode(dc, TRANSPARENT);
  const parlour::Room& room = room_.room();
  const int index = room.Shown()[position];
  const parlour::Game& game = room_.library().games[index];
  const bool selected = position == room.Selection();
  Fill(dc, {0, 0, width, height}, kBackground);
  Fill(dc, {2, 2, width - 2, height - 2}, selected ? kSelected : kTileColour);
  if (selected) {
    for (const RECT edge : {RECT{0, 0, width, 3}, RECT{0, height - 3, width, height},
                            RECT{0, 0, 3, height}, RECT{width - 3, 0, width, height}})
      Fill(dc, edge, kAccent);
  }
  const TileCache::Tile* tile = tiles_.Find(index);
  const int boxLeft = (width - parlour::Layout::kPictureWidth) / 2, boxTop = 10;
  if (tile && tile->picture) {
    const Picture& picture = *tile->picture;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, boxLeft + (parlour::Layout::kPictureWidth - picture.width) / 2,
                        boxTop + (parlour::Layout::kPictureHeight - picture.height) / 2,
                        picture.width, picture.height, 0, 0, 0, picture.height,
                        picture.pixels.data(), &info, DIB_RGB_COLORS);
  } else if (tile && tile->icon) {
    const int size = tile->iconSize;
    ::DrawIconEx(dc, (width - size) / 2, boxTop + (parlour::Layout::kPictureHeight - size) / 2,
                 tile->icon, size, size, 0, nullptr, DI_NORMAL);
  } else {
    // No icon (yet, or at all): the name's first letter in a box of the icon's size.
    const RECT box = {(width - 48) / 2, boxTop + 18, (width + 48) / 2, boxTop + 66};
    Fill(dc, box, tile && tile->missing ? kMissing : kSelected);
    ::SelectObject(dc, fonts_.title);
    Text(dc, game.name.substr(0, 1), box, kText, DT_CENTER | DT_VCENTER);
  }
  ::SelectObject(dc, fonts_.name);
  Text(dc, game.name, {8, 98, width - 8, 116}, game.hidden ? kDim : kText, DT_CENTER | DT_VCENTER);
  ::SelectObject(dc, fonts_.small);
  const bool missing = tile && tile->missing;
  const std::string detail = missing                ? "missing"
                             : game.playSeconds > 0 ? parlour::PlayTime(game.playSeconds)
                             : game.favourite       ? "Favourite"
                                                    : "";
  Text(dc, detail, {8, 116, width - 8, 132}, missing ? kMissing : kDim, DT_CENTER | DT_VCENTER);
  if (game.favourite) Fill(dc, {width - 14, 6, width - 6, 14}, kAccent);
  ::BitBlt(target, area.left, area.top, width, height, dc, 0, 0, SRCCOPY);
  ::SelectObject(dc, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
}

}  // namespace ludora::win32
