#include "parlour/tile_cache_win.h"

#include <algorithm>

#include "parlour/file_bytes.h"
#include "parlour/installed_games.h"
#include "parlour/room.h"
#include "parlour/tile_picture.h"

namespace ludora::win32 {

TileCache::TileCache(ludora::WindowsApi& api) : api_(api) {}

TileCache::~TileCache() {
  Clear();
}

void TileCache::Drop(Tile& tile) {
  if (tile.icon) ::DestroyIcon(tile.icon);
  tile.icon = nullptr;
}

void TileCache::Clear() {
  for (auto& [game, tile] : tiles_) Drop(tile);
  tiles_.clear();
}

void TileCache::Forget(int game) {
  if (const auto found = tiles_.find(game); found != tiles_.end()) {
    Drop(found->second);
    tiles_.erase(found);
  }
}

void TileCache::Keep(const std::vector<int>& games) {
  wanted_ = games;
  for (auto tile = tiles_.begin(); tile != tiles_.end();) {
    if (std::find(games.begin(), games.end(), tile->first) == games.end()) {
      Drop(tile->second);
      tile = tiles_.erase(tile);
    } else {
      ++tile;
    }
  }
}

const TileCache::Tile* TileCache::Find(int game) const {
  const auto found = tiles_.find(game);
  return found == tiles_.end() ? nullptr : &found->second;
}

// The icon at `index` of `file`, 48 pixels large where user32 can give that
// size (2000 and XP, looked up at run time); else (98) 32 from shell32,
// loaded only then. Both read the same icons of a file: one that user32
// finds none in has none for shell32 either.
HICON TileCache::ExtractLarge(const std::string& file, int index, int* size) {
  if (!looked_) {
    looked_ = true;
    if (const HMODULE user = ::GetModuleHandleA("user32.dll"))
      privateExtract_ = reinterpret_cast<PrivateExtract>(
          reinterpret_cast<void*>(::GetProcAddress(user, "PrivateExtractIconsA")));
  }
  HICON icon = nullptr;
  UINT id = 0;
  if (privateExtract_) {
    if (privateExtract_(file.c_str(), index, 48, 48, &icon, &id, 1, 0) != 1 || !icon)
      return nullptr;
    *size = 48;
    return icon;
  }
  if (!lookedShell_) {
    lookedShell_ = true;
    if (const HMODULE shell = ::LoadLibraryA("shell32.dll"))
      extractEx_ = reinterpret_cast<ExtractEx>(
          reinterpret_cast<void*>(::GetProcAddress(shell, "ExtractIconExA")));
  }
  if (extractEx_ && extractEx_(file.c_str(), index, &icon, nullptr, 1) == 1 && icon) {
    *size = 32;
    return icon;
  }
  return nullptr;
}

int TileCache::LoadNext(const parlour::Library& library) {
  for (const int game : wanted_) {
    if (tiles_.contains(game) || game < 0 || game >= static_cast<int>(library.games.size()))
      continue;
    const parlour::Game& entry = library.games[game];
    Tile& tile = tiles_[game];
    tile.missing = !parlour::Exists(api_, entry.program);
    tile.picture = parlour::TilePicture(api_, entry, parlour::Layout::kPictureWidth,
                                        parlour::Layout::kPictureHeight);
    if (!tile.picture && !tile.missing) {
      const parlour::IconPlace place =
          parlour::ParseIconPlace(entry.icon.empty() ? entry.program : entry.icon);
      tile.icon = ExtractLarge(place.file, place.index, &tile.iconSize);
      if (!tile.icon && !entry.icon.empty())
        tile.icon = ExtractLarge(entry.program, 0, &tile.iconSize);
    }
    return game;
  }
  return -1;
}

}  // namespace ludora::win32
