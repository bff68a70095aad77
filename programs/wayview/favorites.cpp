#include "wayview/favorites.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "platform/scoped.h"
#include "platform/settings_file.h"
#include "platform/win_constants.h"
#include "wayview/address.h"

namespace ludora::wayview {

namespace {

constexpr DWORD kHidden = 0x2;  // FILE_ATTRIBUTE_HIDDEN
constexpr UINT kAppend = 0xFFFFFFFF;
constexpr std::size_t kMaxName = 80;  // bytes of a new favourite's name

bool EndsWithNoCase(const std::string& text, const char* end) {
  const std::size_t size = std::strlen(end);
  return text.size() > size && strcasecmp(text.c_str() + text.size() - size, end) == 0;
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) < 0;
}

// Whether Windows takes the name for a device (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9), whatever its case and extension: opened, it would be
// the device, and a read of a serial port blocks.
bool DeviceName(std::string_view name) {
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (SameText(name, device)) return true;
  }
  return name.size() == 4 &&
         (SameText(name.substr(0, 3), "COM") || SameText(name.substr(0, 3), "LPT")) &&
         name[3] >= '1' && name[3] <= '9';
}

std::string FileName(WindowsApi& api, const std::string& title, const std::string& address) {
  std::string name = title;
  if (name.find_first_not_of(' ') == std::string::npos) {
    name = std::string(WithoutScheme(address));
    while (name.ends_with('/')) name.pop_back();
  }
  for (std::size_t at = 0; at < name.size(); ++at) {
    const auto c = static_cast<unsigned char>(name[at]);
    // A double-byte character's second byte (0x40 and up) may be a backslash or '|': it stays.
    if (api.IsDBCSLeadByte(c) && at + 1 < name.size() &&
        static_cast<unsigned char>(name[at + 1]) >= 0x40) {
      ++at;
    } else if (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) {
      name[at] = '_';
    }
  }
  name.resize(CutAt(api, name, kMaxName));
  // Windows drops blanks and dots at the end of a file name; a lead byte
  // they followed goes with them, or it would take the '.' of ".url".
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) {
    name.pop_back();
    name.resize(CutAt(api, name, name.size()));
  }
  const std::size_t start = name.find_first_not_of(' ');
  if (start == std::string::npos) return "Favorite";
  name.erase(0, start);
  return DeviceName(name) ? "Page " + name : name;
}

}  // namespace

std::size_t CutAt(WindowsApi& api, const std::string& text, std::size_t size) {
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t next = at + (api.IsDBCSLeadByte(static_cast<BYTE>(text[at])) ? 2 : 1);
    if (next > size || next > text.size()) break;
    at = next;
  }
  return at;
}

std::optional<std::string> FavoriteAddress(WindowsApi& api, const std::string& path) {
  const auto text = ReadFileStart(api, path, kMaxShortcutBytes);
  if (!text) return std::nullopt;
  return IniValue(*text, "InternetShortcut", "URL");
}

std::optional<std::string> AddFavorite(WindowsApi& api, const std::string& folder,
                                       const std::string& title, const std::string& address) {
  const std::string name = FileName(api, title, address);
  for (int number = 1; number < 100; ++number) {
    const std::string numbered = number == 1 ? name : name + " (" + std::to_string(number) + ")";
    const std::string path = folder + "\\" + numbered + ".url";
    const auto existing = ReadFileStart(api, path, kMaxShortcutBytes);
    if (existing && IniValue(*existing, "InternetShortcut", "URL") == address) return numbered;
    if (existing) continue;
    if (!WriteSettingsFile(api, path, "[InternetShortcut]\r\nURL=" + address + "\r\n")) {
      return std::nullopt;
    }
    return numbered;
  }
  return std::nullopt;
}

void FavoritesMenu::OpenRoot(HMENU menu, const std::string& folder) {
  files_.clear();
  unfilled_.clear();
  Fill(menu, folder);
}

bool FavoritesMenu::OpenSubmenu(HMENU menu) {
  const auto found = unfilled_.find(menu);
  if (found == unfilled_.end()) return false;
  const std::string folder = found->second;
  unfilled_.erase(found);
  Fill(menu, folder);
  return true;
}

std::optional<std::string> FavoritesMenu::FileOf(UINT id) const {
  if (id < kFirstId || id - kFirstId >= files_.size()) return std::nullopt;
  return files_[id - kFirstId];
}

std::string FavoritesMenu::Caption(std::string name) const {
  if (name.size() > kMaxCaption) name = name.substr(0, CutAt(api_, name, kMaxCaption - 3)) + "...";
  for (std::size_t at = 0; (at = name.find('&', at)) != std::string::npos; at += 2) {
    name.insert(at, "&");
  }
  return name;
}

// Subfolders first, then the .url files, each in the order of their
// names; hidden entries are not shown, nor files of other kinds.
void FavoritesMenu::Fill(HMENU menu, const std::string& folder) {
  std::vector<std::string> folders, files;
  bool more = false;
  WIN32_FIND_DATAA found;
  // No folder (Windows names none): nothing, rather than the root of a drive.
  ScopedFind find(api_,
                  folder.empty() ? kInvalidHandle : api_.FindFirstFileA(folder + "\\*", &found));
  for (bool next = bool(find); next; next = api_.FindNextFileA(find.get(), &found)) {
    const std::string name = found.cFileName;
    if (name == "." || name == ".." || (found.dwFileAttributes & kHidden)) continue;
    const bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    if (!isFolder && !EndsWithNoCase(name, ".url")) continue;
    if (folders.size() + files.size() == kMaxFolderEntries) {
      more = true;
      break;
    }
    (isFolder ? folders : files).push_back(name);
  }
  std::sort(folders.begin(), folders.end(), LessNoCase);
  std::sort(files.begin(), files.end(), LessNoCase);

  for (const std::string& name : folders) {
    ScopedMenu submenu(api_, api_.CreatePopupMenu());
    if (!submenu || !api_.InsertMenuA(menu, kAppend, MF_BYPOSITION | MF_POPUP | MF_STRING,
                                      submenu.get(), Caption(name).c_str())) {
      continue;
    }
    unfilled_[submenu.get()] = folder + "\\" + name;
    submenu.release();  // the menu owns it now
  }
  for (const std::string& name : files) {
    if (files_.size() == kMaxEntries) {
      more = true;
      break;
    }
    const UINT id = kFirstId + static_cast<UINT>(files_.size());
    if (api_.InsertMenuA(menu, kAppend, MF_BYPOSITION | MF_STRING, id,
                         Caption(name.substr(0, name.size() - 4)).c_str())) {
      files_.push_back(folder + "\\" + name);
    }
  }
  if (more || folders.size() + files.size() == 0) {
    api_.InsertMenuA(menu, kAppend, MF_BYPOSITION | MF_STRING | MF_GRAYED, 0,
                     more ? "(More favorites here are not shown)" : "(Empty)");
  }
}

}  // namespace ludora::wayview
