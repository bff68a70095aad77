#include "fake/handles.h"

#include <algorithm>

namespace ludora::testing {

int HandleTable::Live(Kind kind) const {
  return static_cast<int>(std::count_if(handles_.begin(), handles_.end(),
                                        [&](const auto& h) { return h.second.kind == kind; }));
}

HANDLE HandleTable::Open(Kind kind, const std::string& name, DWORD access,
                         std::vector<std::string> listing) {
  handles_.emplace(nextHandle_, Handle{kind, name, access, std::move(listing)});
  return nextHandle_++;
}

bool HandleTable::Is(HANDLE handle, Kind kind) const {
  const auto found = handles_.find(handle);
  return found != handles_.end() && found->second.kind == kind;
}

bool HandleTable::Close(HANDLE handle, Kind kind) {
  return Is(handle, kind) && handles_.erase(handle);
}

}  // namespace ludora::testing
