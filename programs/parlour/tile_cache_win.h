// What the tiles in view show, loaded a tile at a time after the room is
// on screen and dropped when they leave the view: each game's icon (48
// pixels where Windows can extract that size, else 32) or its picture, and
// whether its program is there.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "parlour/library.h"
#include "picture/jpeg_picture.h"
#include "platform/windows_api.h"
#include "win32/win.h"

namespace ludora::win32 {

class TileCache {
 public:
  struct Tile {
    HICON icon = nullptr;
    int iconSize = 32;
    std::optional<Picture> picture;
    bool missing = false;
  };

  explicit TileCache(ludora::WindowsApi& api);
  ~TileCache();
  TileCache(const TileCache&) = delete;
  TileCache& operator=(const TileCache&) = delete;

  // The games in view, by library index, nearest first: the others' tiles go.
  void Keep(const std::vector<int>& games);
  // Loads the next tile of those kept; the game it was for, -1 when all are loaded.
  int LoadNext(const parlour::Library& library);
  // A loaded tile; nothing while it is not.
  const Tile* Find(int game) const;
  void Forget(int game);
  void Clear();

 private:
  void Drop(Tile& tile);
  HICON ExtractLarge(const std::string& file, int index, int* size);

  ludora::WindowsApi& api_;
  std::map<int, Tile> tiles_;
  std::vector<int> wanted_;
  using PrivateExtract = UINT(WINAPI*)(LPCSTR, int, int, int, HICON*, UINT*, UINT, UINT);
  using ExtractEx = UINT(WINAPI*)(LPCSTR, int, HICON*, HICON*, UINT);
  PrivateExtract privateExtract_ = nullptr;  // XP's, for 48 pixels
  ExtractEx extractEx_ = nullptr;            // shell32's, 32 pixels
  bool looked_ = false, lookedShell_ = false;
};

}  // namespace ludora::win32
