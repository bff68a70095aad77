// Favourites shared with Internet Explorer: the user's Favorites folder,
// its subfolders as submenus and its .url files as entries of the
// Favorites menu, and "Add to Favorites" writing a .url file there.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows_api.h"

namespace ludora::wayview {

// A .url file is read this far: its address is near the top. A bigger file
// (a damaged one, or one grown by another program) reads as what it begins with.
inline constexpr std::size_t kMaxShortcutBytes = 64 * 1024;

// Where `text` may be cut at `size` bytes at most without splitting a
// character of a double-byte ANSI code page; a lead byte that ends the text
// without its second byte is cut off too.
std::size_t CutAt(WindowsApi& api, const std::string& text, std::size_t size);

// The address of a .url file ("[InternetShortcut]" "URL=..."); nothing when
// it cannot be read or holds none.
std::optional<std::string> FavoriteAddress(WindowsApi& api, const std::string& path);

// Writes "<folder>\<name>.url" for `address`, named after the page's
// `title`, or after the address when the page has none; characters a file
// name cannot hold become '_'. A name another address already has gets a
// number, " (2)" and up; the same address under the same name is kept as it
// is. The name written (without ".url"), or nothing when it could not be.
std::optional<std::string> AddFavorite(WindowsApi& api, const std::string& folder,
                                       const std::string& title, const std::string& address);

// The menu. Each folder is listed when its menu opens, so a Favorites
// folder of thousands of entries costs only what the user opens; and what
// one folder shows, and what all the menus opened hold, is capped.
class FavoritesMenu {
 public:
  static constexpr UINT kFirstId = 0x4000;
  static constexpr std::size_t kMaxEntries = 8192;        // ids, until the menu opens again
  static constexpr std::size_t kMaxFolderEntries = 1000;  // shown of one folder
  static constexpr std::size_t kMaxCaption = 64;          // bytes of a name shown

  explicit FavoritesMenu(WindowsApi& api) : api_(api) {}

  // The Favorites menu opens, emptied but for the items the window keeps
  // above the favourites: `folder`'s entries are appended. Entries handed
  // out before are forgotten.
  void OpenRoot(HMENU menu, const std::string& folder);
  // A submenu opens: a folder's is filled, the first time. False when the
  // submenu is not a favourites folder.
  bool OpenSubmenu(HMENU menu);
  // The .url file of a picked entry; nothing for an id not handed out.
  std::optional<std::string> FileOf(UINT id) const;

 private:
  void Fill(HMENU menu, const std::string& folder);
  std::string Caption(std::string name) const;

  WindowsApi& api_;
  std::vector<std::string> files_;         // the .url file of id kFirstId + index
  std::map<HMENU, std::string> unfilled_;  // submenus not opened yet, and their folders
};

}  // namespace ludora::wayview
