// Between the seam's handles (pointer-sized integers) and the Windows types,
// for the real adapter.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/win_types.h"

namespace ludora {

template <typename T>
T* As(std::uintptr_t handle) {
  return reinterpret_cast<T*>(handle);
}

template <typename T>
std::uintptr_t Raw(T* handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

inline ::HKEY ToHkey(HKEY key) {
  // The predefined roots are sign-extended 32-bit values in a 64-bit process.
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    return reinterpret_cast<::HKEY>(static_cast<LONG_PTR>(static_cast<::LONG>(key)));
  }
  return reinterpret_cast<::HKEY>(key);
}

inline ::HANDLE ToHandle(HANDLE handle) {
  return reinterpret_cast<::HANDLE>(handle);
}
inline ::HWND ToHwnd(HWND window) {
  return reinterpret_cast<::HWND>(window);
}
inline ::HMENU ToHmenu(HMENU menu) {
  return reinterpret_cast<::HMENU>(menu);
}

}  // namespace ludora
