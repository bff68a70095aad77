// The wide functions the compiler's and MinGW-w64's run-time libraries
// import, which Windows 98 has only as stubs that fail, made through the ANSI
// ones both Windows have. Each is the import's address slot itself
// (__imp__<name>), so that the libraries' calls bind to it and the wide
// function is not imported at all. The programs' own code calls only the
// ANSI forms.
//
// CreateSemaphoreW: libgcc's locks (the unwinder's table of frames, emulated
// thread-local storage) and libstdc++'s (the emergency pool of exceptions)
// wait on a semaphore while two threads contend. With none, a contended lock
// on 98 is no lock: two threads throwing at once would walk the unwinder's
// table while it is being sorted.
//
// GetModuleHandleW and LoadLibraryW: MinGW-w64's stand-ins for what an older
// msvcrt lacks (rand_s for std::random_device, ___lc_codepage_func for
// wcrtomb) look up msvcrt's own, or advapi32's RtlGenRandom, through them.
#include <windows.h>

namespace {

// The name in the ANSI code page, or false where it does not fit MAX_PATH.
bool Narrow(const wchar_t* name, char (&ansi)[MAX_PATH]) {
  if (::WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, MAX_PATH, nullptr, nullptr)) return true;
  ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
  return false;
}

HANDLE WINAPI CreateSemaphoreAnsi(SECURITY_ATTRIBUTES* attributes, LONG initial, LONG most,
                                  const wchar_t* name) {
  char ansi[MAX_PATH];
  if (!name) return ::CreateSemaphoreA(attributes, initial, most, nullptr);
  return Narrow(name, ansi) ? ::CreateSemaphoreA(attributes, initial, most, ansi) : nullptr;
}

HMODULE WINAPI GetModuleHandleAnsi(const wchar_t* name) {
  char ansi[MAX_PATH];
  if (!name) return ::GetModuleHandleA(nullptr);
  return Narrow(name, ansi) ? ::GetModuleHandleA(ansi) : nullptr;
}

HMODULE WINAPI LoadLibraryAnsi(const wchar_t* name) {
  char ansi[MAX_PATH];
  return Narrow(name, ansi) ? ::LoadLibraryA(ansi) : nullptr;
}

}  // namespace

#ifdef _WIN64
#define SLOT(name, stack) __asm__("__imp_" #name)
#else
#define SLOT(name, stack) __asm__("__imp__" #name "@" #stack)
#endif

extern "C" {
decltype(&CreateSemaphoreAnsi) semaphoreSlot SLOT(CreateSemaphoreW, 16) = &CreateSemaphoreAnsi;
decltype(&GetModuleHandleAnsi) moduleSlot SLOT(GetModuleHandleW, 4) = &GetModuleHandleAnsi;
decltype(&LoadLibraryAnsi) librarySlot SLOT(LoadLibraryW, 4) = &LoadLibraryAnsi;
}
