#include "parlour/room.h"

#include <algorithm>
#include <map>

namespace ludora::parlour {

int Layout::Columns() const {
  return std::max(1, (width - 2 * kMargin + kGap) / (kTileWidth + kGap));
}

int Layout::Rows() const {
  return std::max(1, (height - kHeader - kFooter + kGap) / (kTileHeight + kGap));
}

RECT Layout::Tile(int position, int topRow) const {
  const int columns = Columns();
  const int used = columns * (kTileWidth + kGap) - kGap;
  const int left = std::max(kMargin, (width - used) / 2) + position % columns * (kTileWidth + kGap);
  const int top = kHeader + (position / columns - topRow) * (kTileHeight + kGap);
  return {left, top, left + kTileWidth, top + kTileHeight};
}

int Layout::HitTile(int x, int y, int topRow, int count) const {
  const int rows = Rows() + 1;  // and the row cut by the footer
  for (int position = topRow * Columns();
       position < count && position < (topRow + rows) * Columns(); ++position) {
    const RECT tile = Tile(position, topRow);
    if (x >= tile.left && x < tile.right && y >= tile.top && y < tile.bottom &&
        y < height - kFooter)
      return position;
  }
  return -1;
}

void Room::Refresh() {
  const std::string category = categories_[category_];
  // The player's categories, case aside, in order, each as its first game spells it.
  std::map<std::string, std::string> own;
  for (const Game& game : library_.games) {
    if (!game.category.empty() && (!game.hidden || showHidden_))
      own.emplace(Lower(game.category), game.category);
  }
  categories_.resize(3);
  for (auto& [lower, spelt] : own) categories_.push_back(std::move(spelt));
  const auto found = std::find(categories_.begin(), categories_.end(), category);
  category_ = found == categories_.end() ? 0 : static_cast<int>(found - categories_.begin());
  const int selected = SelectedGame();
  Filter();
  const auto at = std::find(shown_.begin(), shown_.end(), selected);
  Select(at == shown_.end() ? std::min(std::max(selection_, 0), static_cast<int>(shown_.size()) - 1)
                            : static_cast<int>(at - shown_.begin()));
}

void Room::Filter() {
  shown_.clear();
  const std::string search = Lower(search_);
  const std::string category = Lower(categories_[category_]);
  for (std::size_t i = 0; i < library_.games.size(); ++i) {
    const Game& game = library_.games[i];
    if (game.hidden && !showHidden_) continue;
    if (category_ == 1 && !game.favourite) continue;
    if (category_ == 2 && game.lastPlayed == 0) continue;
    if (category_ > 2 && Lower(game.category) != category) continue;
    if (!search.empty() && Lower(game.name).find(search) == std::string::npos) continue;
    shown_.push_back(static_cast<int>(i));
  }
  const auto& games = library_.games;
  std::vector<std::string> names(games.size());
  for (const int i : shown_) names[i] = Lower(games[i].name);
  const auto byName = [&](int a, int b) {
    return names[a] != names[b] ? names[a] < names[b] : a < b;
  };
  const Sort sort = category_ == 2 ? Sort::LastPlayed : sort_;
  std::sort(shown_.begin(), shown_.end(), [&](int a, int b) {
    if (sort == Sort::LastPlayed && games[a].lastPlayed != games[b].lastPlayed)
      return games[a].lastPlayed > games[b].lastPlayed;
    if (sort == Sort::PlayTime && games[a].playSeconds != games[b].playSeconds)
      return games[a].playSeconds > games[b].playSeconds;
    return byName(a, b);
  });
  if (category_ == 2 && shown_.size() > kRecentCount) shown_.resize(kRecentCount);
}

void Room::SetGrid(int columns, int rows) {
  columns_ = std::max(1, columns);
  rows_ = std::max(1, rows);
  KeepInView();
}

void Room::Select(int position) {
  selection_ = shown_.empty() ? -1 : std::clamp(position, 0, static_cast<int>(shown_.size()) - 1);
  KeepInView();
}

void Room::Move(int across, int down) {
  if (selection_ < 0) return;
  const int target = selection_ + across + down * columns_;
  // Up or down past the first or last row stays put; across goes on from row to row.
  if (down != 0 && (target < 0 || target >= static_cast<int>(shown_.size()))) {
    const int lastRow = (static_cast<int>(shown_.size()) - 1) / columns_;
    if (down > 0 && selection_ / columns_ < lastRow) Select(static_cast<int>(shown_.size()) - 1);
    return;
  }
  Select(target);
}

void Room::Page(int pages) {
  if (selection_ < 0) return;
  Select(selection_ + pages * rows_ * columns_);
}

void Room::Scroll(int rows) {
  const int lastRow = std::max(0, (static_cast<int>(shown_.size()) - 1) / columns_ - rows_ + 1);
  topRow_ = std::clamp(topRow_ + rows, 0, lastRow);
}

void Room::KeepInView() {
  if (selection_ < 0) {
    topRow_ = 0;
    return;
  }
  const int row = selection_ / columns_;
  if (row < topRow_) topRow_ = row;
  if (row >= topRow_ + rows_) topRow_ = row - rows_ + 1;
  Scroll(0);
}

void Room::Type(char c) {
  if (static_cast<unsigned char>(c) < 0x20 || search_.size() >= kMaxSearch) return;
  search_ += c;
  Filter();
  Select(0);
}

void Room::Erase() {
  if (search_.empty()) return;
  search_.pop_back();
  Filter();
  Select(0);
}

bool Room::Back() {
  if (!search_.empty()) {
    search_.clear();
  } else if (category_ != 0) {
    category_ = 0;
  } else {
    return false;
  }
  Filter();
  Select(0);
  return true;
}

void Room::ChangeCategory(int step) {
  const int count = static_cast<int>(categories_.size());
  SelectCategory(((category_ + step) % count + count) % count);
}

void Room::SelectCategory(int index) {
  if (index < 0 || index >= static_cast<int>(categories_.size())) return;
  category_ = index;
  search_.clear();
  Filter();
  Select(0);
}

void Room::SetSort(Sort sort) {
  sort_ = sort;
  Refresh();
}

void Room::ShowHidden(bool show) {
  showHidden_ = show;
  Refresh();
}

}  // namespace ludora::parlour
