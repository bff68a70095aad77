// The shell service objects Windows XP's own shell loads at log-on, listed
// under ShellServiceObjectDelayLoad: among them the volume, network and
// power icons of the notification area. Loaded once the area is up, closed
// and released before it goes.
#pragma once

#include <vector>

#include "win32/win.h"

struct IOleCommandTarget;

namespace ludora::win32 {

class ShellServiceObjects {
 public:
  ShellServiceObjects() = default;
  ~ShellServiceObjects() { Unload(); }
  ShellServiceObjects(const ShellServiceObjects&) = delete;
  ShellServiceObjects& operator=(const ShellServiceObjects&) = delete;

  // Creates and opens every object of the list that can be; the others are skipped.
  void Load();
  void Unload();

 private:
  std::vector<IOleCommandTarget*> loaded_;
  bool comStarted_ = false;
};

}  // namespace ludora::win32
