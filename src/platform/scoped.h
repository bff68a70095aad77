// Move-only owners of what the seam hands out and wants back: the thing is
// given back through the seam when its owner goes, on every path out of a
// scope. Copying is impossible, so nothing is given back twice.
#pragma once

#include <utility>

#include "platform/windows_api.h"

namespace ludora {

template <typename Handle, Handle Invalid, auto Release>
class Scoped {
 public:
  explicit Scoped(WindowsApi& api, Handle handle = Invalid) : api_(&api), handle_(handle) {}
  Scoped(Scoped&& other) noexcept : api_(other.api_), handle_(other.release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) {
      reset();
      api_ = other.api_;
      handle_ = other.release();
    }
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  ~Scoped() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Invalid; }
  // For a call that fills the handle in: RegCreateKeyA(root, path, key.out()).
  Handle* out() {
    reset();
    return &handle_;
  }
  // The caller takes it over (a submenu that its parent menu now owns).
  Handle release() { return std::exchange(handle_, Invalid); }
  void reset() {
    if (handle_ != Invalid) (api_->*Release)(handle_);
    handle_ = Invalid;
  }

 private:
  WindowsApi* api_;
  Handle handle_;
};

using ScopedMenu = Scoped<HMENU, HMENU{0}, &WindowsApi::DestroyMenu>;
using ScopedFind = Scoped<HANDLE, kInvalidHandle, &WindowsApi::FindClose>;
using ScopedFile = Scoped<HANDLE, kInvalidHandle, &WindowsApi::CloseHandle>;
// Processes, threads, mutexes: handles that are 0 when there is none.
using ScopedHandle = Scoped<HANDLE, HANDLE{0}, &WindowsApi::CloseHandle>;
using ScopedPidl = Scoped<PIDL, PIDL{0}, &WindowsApi::CoTaskMemFree>;
using ScopedKey = Scoped<HKEY, HKEY{0}, &WindowsApi::RegCloseKey>;
using ScopedIcon = Scoped<HICON, HICON{0}, &WindowsApi::DestroyIcon>;

}  // namespace ludora
