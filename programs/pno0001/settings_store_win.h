// The player's file on disk: pno0001.ini in <Application Data>\Corvane\Ludora.
// A few calls of kernel32 here rather than the shared seam: its adapter
// forwards every Windows operation the suite uses (the registry's advapi32
// among them) and alone would outweigh this whole game.
#pragma once

#include "pno0001/settings_file.h"

namespace ludora::pno0001 {

class SettingsStore {
 public:
  SettingsStore();
  // The defaults when the file is missing, unreadable or damaged.
  Settings Load() const;
  // Written as a new file, then put in the old one's place; false when it could not be.
  bool Save(const Settings& settings) const;

 private:
  char folder_[260] = {};
  char path_[280] = {};
};

}  // namespace ludora::pno0001
