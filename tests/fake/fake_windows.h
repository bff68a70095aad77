// An in-memory Windows for the unit tests, its parts (fault plan, handles,
// registry and profiles, files, memory, user interface) in files of their own
// and behind the seam here: a log of every effect in order, scripted answers,
// any operation made to fail. Operations run one at a time, each entering the
// fault plan first; the program's threads (real ones here) take turns.
#pragma once

#include <algorithm>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "fake/fault_plan.h"
#include "fake/files.h"
#include "fake/games_room.h"
#include "fake/handles.h"
#include "fake/memory.h"
#include "fake/registry.h"
#include "fake/user.h"
#include "platform/win_constants.h"
#include "platform/windows_api.h"

namespace ludora::testing {

class FakeWindows : public WindowsApi,
                    public FaultPlan,
                    public HandleTable,
                    public FakeRegistry,
                    public FakeFiles,
                    public FakeMemory,
                    public FakeUser,
                    public FakeGamesRoom {
 public:
  FakeWindows();
  ~FakeWindows() override { JoinThreads(); }  // waits for the threads the program made
  void JoinThreads();                         // waits for them, as the test, outside the seam

  // ---- What the program did, in order, one effect an entry:
  // "reg <ROOT>\<key> [<name>] REG_SZ <text>" or "... REG_DWORD <number>",
  // "ini <file> [<section>] <key>=<value>", "run <command line> show=<n>"
  // (with "flags=<n>" unless started at the normal priority class),
  // "open <file> | <parameters>", "msgbox <caption> | <text> | style=<n>",
  // "foreground", "track <x>,<y> flags=<hex>", "post WM_NULL",
  // "debug <text>", and lesser ones.
  std::vector<std::string> log;
  std::vector<std::string> Effects(const std::string& prefix) const {
    std::vector<std::string> found;
    std::ranges::copy_if(log, std::back_inserter(found),
                         [&](auto& e) { return e.starts_with(prefix); });
    return found;
  }

  // ---- Scripted answers.
  std::string modulePath = "C:\\Program Files\\Corvane Ludora\\ludora.exe";
  std::optional<std::string> userName = "Player";  // nothing: no one is logged on
  std::map<DWORD, std::string> processAccounts;    // by process id; the others run as userName
  std::map<std::string, std::string> shortPaths;   // long -> short; others unchanged
  std::map<std::string, std::string> longPaths;    // short -> long; others unchanged
  std::optional<DWORD> platformId = VER_PLATFORM_WIN32_NT;  // nothing: GetVersionExA fails
  bool otherInstanceRunning = false;
  bool shellEndsOnClose = true;  // a shell asked to close ends, or must be ended
  std::map<int, std::string> specialFolders = {{16, "C:\\Users\\Player\\Desktop"},
                                               {23, "C:\\ProgramData\\Start Menu\\Programs"}};
  bool hasShutdownDialog = true;
  std::vector<BYTE> versionRecord = VersionRecord(1, 0);
  std::set<BYTE> leadBytes;  // of a double-byte ANSI code page; none by default
  DWORD priorityClass = 0x20;
  DWORD tickCount = 1000000;
  std::map<std::string, bool> events;  // named events that exist, and whether each is set
  std::map<std::string, std::string> environment;  // by upper-case name
  // Called as each process starts, with its command line: a test looks at
  // the machine at that moment, or changes it.
  std::function<void(const std::string& commandLine)> whenStarted;
  std::function<void()> whenSlept;  // after each pause
  // The clock: one text per call, the last one repeating.
  void SetClock(std::vector<std::string> dateTexts, std::vector<std::string> timeTexts);

  // A version record with the fixed part's signature on a 4-byte boundary.
  static std::vector<BYTE> VersionRecord(WORD major, WORD minor);

#define FAKE_PASS_FAILING(...) (failing __VA_OPT__(, ) __VA_ARGS__)
#define FAKE_ENTER(result, name, parameters, arguments) \
  result name parameters override {                     \
    Delay(Op::name);                                    \
    const std::lock_guard turn(mutex_);                 \
    const bool failing = Enter(Op::name);               \
    return Do##name FAKE_PASS_FAILING arguments;        \
  }
  LUDORA_WINDOWS_API(FAKE_ENTER)
#undef FAKE_ENTER

 private:
#define FAKE_PREPEND_FAILING(...) (bool failing __VA_OPT__(, ) __VA_ARGS__)
#define FAKE_DO(result, name, parameters, arguments) \
  result Do##name FAKE_PREPEND_FAILING parameters;
  LUDORA_WINDOWS_API(FAKE_DO)
#undef FAKE_DO
#undef FAKE_PREPEND_FAILING

  template <typename T>
  T Refuse(T value, DWORD error) {
    lastError_ = error;
    return value;
  }
  static DWORD CopyName(const std::string& text, char* buffer, DWORD size);
  static int CopyOut(const std::string& text, char* buffer, int size);
  static void LUDORA_WINAPI ShutDownDialog(HWND);

  std::recursive_mutex mutex_;  // one operation at a time
  std::vector<std::thread> threads_;
  std::map<HANDLE, std::shared_future<void>> threadEnds_;

  static constexpr HMODULE kShell32 = 0x7000;
  static constexpr DWORD kShellProcess = 77;  // a running Ludora, seen from a companion
  static constexpr HANDLE kCurrentProcess = kInvalidHandle;  // the pseudo-handle
  inline static FakeWindows* current_ = nullptr;
  DWORD lastError_ = 0;
  std::vector<std::string> dates_ = {"Friday, December 04, 2026"};
  std::vector<std::string> times_ = {"5:30:25 PM"};
  std::size_t dateCalls_ = 0;
  std::size_t timeCalls_ = 0;
};

}  // namespace ludora::testing
