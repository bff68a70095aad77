// The room's view of the library: which games show (a category, the
// search typed so far, hidden ones or not), in which order, which is
// selected, and where each tile lies on the window. Keys and the gamepad
// both move through it.
#pragma once

#include <string>
#include <vector>

#include "parlour/library.h"
#include "platform/win_types.h"

namespace ludora::parlour {

enum class Sort { Name, LastPlayed, PlayTime };

inline constexpr char kAll[] = "All";
inline constexpr char kFavourites[] = "Favourites";
inline constexpr char kRecent[] = "Recently played";
inline constexpr std::size_t kRecentCount = 24;  // games the recent category holds
inline constexpr std::size_t kMaxSearch = 64;

// Where things are on the room's window, in pixels: a header of categories
// and the search, tiles in rows, a footer of hints.
struct Layout {
  static constexpr int kHeader = 72, kFooter = 28, kMargin = 16;
  static constexpr int kTileWidth = 144, kTileHeight = 136, kGap = 12;
  static constexpr int kPictureWidth = 112, kPictureHeight = 84;  // a picture's box in its tile
  int width = 0, height = 0;

  int Columns() const;
  int Rows() const;  // rows wholly in view, at least one
  // The tile at `position` of the shown games, the row `topRow` at the top.
  RECT Tile(int position, int topRow) const;
  // The position of the tile at (x, y); -1 where there is none of the `count`.
  int HitTile(int x, int y, int topRow, int count) const;
};

class Room {
 public:
  explicit Room(const Library& library) : library_(library) { Refresh(); }

  // The library changed: the games shown are found again, and the selected
  // one stays selected where it still shows.
  void Refresh();

  const std::vector<int>& Shown() const { return shown_; }  // library indices, in order
  int Selection() const { return selection_; }              // in Shown(); -1: none shows
  int SelectedGame() const { return selection_ < 0 ? -1 : shown_[selection_]; }
  int TopRow() const { return topRow_; }
  const std::string& Search() const { return search_; }
  const std::vector<std::string>& Categories() const { return categories_; }
  int Category() const { return category_; }
  Sort SortOrder() const { return sort_; }
  bool ShowsHidden() const { return showHidden_; }

  void SetGrid(int columns, int rows);
  void Select(int position);
  void Move(int across, int down);  // by tiles and rows, stopping at the ends
  void Page(int pages);
  void Home() { Select(0); }
  void End() { Select(static_cast<int>(shown_.size()) - 1); }
  void Scroll(int rows);  // the view alone, the selection where it was
  // Type-ahead: the shown games are those whose names hold what is typed.
  void Type(char c);
  void Erase();
  // Escape, or the gamepad's back button: the search goes, else the room
  // goes back to All; false when it shows All already (the room closes).
  bool Back();
  void ChangeCategory(int step);  // to the next or previous, round
  void SelectCategory(int index);
  void SetSort(Sort sort);
  void ShowHidden(bool show);

 private:
  void Filter();
  void KeepInView();

  const Library& library_;
  std::vector<int> shown_;
  std::vector<std::string> categories_ = {kAll, kFavourites, kRecent};
  int category_ = 0, selection_ = -1, topRow_ = 0, columns_ = 1, rows_ = 1;
  std::string search_;
  Sort sort_ = Sort::Name;
  bool showHidden_ = false;
};

}  // namespace ludora::parlour
