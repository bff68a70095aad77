// The handles the in-memory Windows gives out, each typed by what it stands
// for, until they are given back.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace ludora::testing {

enum class Kind { Key, Process, Thread, Mutex, File, Find, Pidl, Menu, Event, Icon, Token };

class HandleTable {
 public:
  struct Handle {
    Kind kind;
    std::string name;  // the key, file, folder or mutex it stands for
    DWORD access = 0;
    std::vector<std::string> listing = {};  // a find handle's entries, by path
    std::size_t offset = 0;                 // the next entry or byte
  };

  // Handles given out and not given back, of one kind.
  int Live(Kind kind) const {
    return static_cast<int>(std::count_if(handles_.begin(), handles_.end(),
                                          [&](const auto& h) { return h.second.kind == kind; }));
  }

 protected:
  HANDLE Open(Kind kind, const std::string& name, DWORD access = 0,
              std::vector<std::string> listing = {}) {
    handles_.emplace(nextHandle_, Handle{kind, name, access, std::move(listing)});
    return nextHandle_++;
  }
  bool Is(HANDLE handle, Kind kind) const {
    const auto found = handles_.find(handle);
    return found != handles_.end() && found->second.kind == kind;
  }
  bool Close(HANDLE handle, Kind kind) { return Is(handle, kind) && handles_.erase(handle); }
  Handle& At(HANDLE handle) { return handles_.at(handle); }

 private:
  std::uintptr_t nextHandle_ = 0x1000;
  std::map<HANDLE, Handle> handles_;  // every handle given out and not given back
};

}  // namespace ludora::testing
