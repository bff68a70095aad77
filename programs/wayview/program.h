// What the frames of one wayview.exe share: where the user's favourites
// and settings are, the start page installed with Ludora, and the settings.
// WinMain owns one; the unit tests make theirs over the in-memory Windows.
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora::wayview {

// Ludora's local page of web-game sites, beside the programs.
inline constexpr char kStartPageFile[] = "webgames.html";
// The settings file, in the user's folder (platform/settings_file.h) that
// the Windows part makes.
inline constexpr char kSettingsFile[] = "wayview.ini";
inline constexpr std::size_t kMaxSettingsBytes = 16 * 1024;
// The frames open at once, at most: a page's window.open in a loop is
// refused beyond them, well before Windows 98's heaps run out.
inline constexpr std::size_t kMaxFrames = 16;

class Program {
 public:
  explicit Program(WindowsApi& api);

  WindowsApi& api() { return api_; }
  const std::string& favoritesFolder() const { return favoritesFolder_; }
  const std::string& settingsFolder() const { return settingsFolder_; }

  // The home page: the user's, or Ludora's start page.
  std::string Home() const { return home_.empty() ? startPage_ : home_; }
  // A new home page, empty for Ludora's start page; whether it was saved.
  bool SetHome(const std::string& address);

  // Counts a frame in; false, and nothing counted, when kMaxFrames are open.
  bool FrameOpens();
  void FrameCloses() { frames_ -= frames_ > 0; }

 private:
  WindowsApi& api_;
  std::string favoritesFolder_;
  std::string settingsFolder_;  // empty when Windows names no Application Data folder
  std::string startPage_;
  std::string home_;
  std::size_t frames_ = 0;
};

}  // namespace ludora::wayview
