// The in-memory Windows: processes, modules, the clock, the shell, and what
// the program tells a debugger.
#include "fake/fake_windows.h"

#include <strings.h>

#include <cstring>

namespace ludora::testing {

FakeWindows::FakeWindows() {
  SetValue("HKCR\\exefile\\shell\\open\\Command", "", REG_SZ,
           {'"', '%', '1', '"', ' ', '%', '*', 0});
}

void FakeWindows::JoinThreads() {
  for (std::thread& thread : threads_)
    if (thread.joinable()) thread.join();
}

void FakeWindows::SetClock(std::vector<std::string> dateTexts, std::vector<std::string> timeTexts) {
  dates_ = std::move(dateTexts);
  times_ = std::move(timeTexts);
  dateCalls_ = timeCalls_ = 0;
}

std::vector<BYTE> FakeWindows::VersionRecord(WORD major, WORD minor) {
  std::vector<BYTE> record(40 + 52, 0);
  const DWORD words[] = {0xFEEF04BD, 0x10000, DWORD{major} << 16 | minor, 0};
  std::memcpy(record.data() + 40, words, sizeof words);
  return record;
}

DWORD FakeWindows::CopyName(const std::string& text, char* buffer, DWORD size) {
  if (size == 0) return 0;
  const std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), copied);
  buffer[copied] = '\0';
  return static_cast<DWORD>(copied);
}

int FakeWindows::CopyOut(const std::string& text, char* buffer, int size) {
  return size > static_cast<int>(text.size()) ? static_cast<int>(CopyName(text, buffer, size)) + 1
                                              : 0;
}

void LUDORA_WINAPI FakeWindows::ShutDownDialog(HWND) {
  current_->log.push_back("shutdown-dialog");
}

BOOL FakeWindows::DoGetVersionExA(bool failing, OSVERSIONINFOA* info) {
  if (failing || !platformId || info->dwOSVersionInfoSize != 148) return 0;
  info->dwPlatformId = *platformId;
  return 1;
}

// It cannot fail on Windows; failing here, it answers an id that is nobody's.
DWORD FakeWindows::DoGetCurrentProcessId(bool failing) {
  return failing ? 0 : 4242;
}

HANDLE FakeWindows::DoOpenProcess(bool failing, DWORD access, BOOL inherit, DWORD pid) {
  log.push_back("open-process pid=" + std::to_string(pid) + " access=" + std::to_string(access) +
                " inherit=" + std::to_string(inherit));
  if (failing) return Refuse(0, ERROR_ACCESS_DENIED);
  // What Windows answers for a process that does not run (any more).
  if (pid != 4242 && pid != kShellProcess) return Refuse(0, ERROR_INVALID_PARAMETER);
  return Open(Kind::Process, std::to_string(pid), access);
}

HANDLE FakeWindows::DoGetCurrentProcess(bool) {
  return kCurrentProcess;
}

// Windows 98 has no accounts. A token stands for the account its process runs as.
BOOL FakeWindows::DoOpenProcessToken(bool failing, HANDLE process, DWORD, HANDLE* token) {
  if (failing || platformId != VER_PLATFORM_WIN32_NT) return Refuse(0, ERROR_CALL_NOT_IMPLEMENTED);
  if (process != kCurrentProcess && !Is(process, Kind::Process))
    return Refuse(0, ERROR_INVALID_HANDLE);
  // A process opened by its id is named by it; a started one by its command line.
  const std::string& name = process == kCurrentProcess ? "4242" : At(process).name;
  const auto found = processAccounts.find(static_cast<DWORD>(std::atoll(name.c_str())));
  *token =
      Open(Kind::Token, found != processAccounts.end() ? found->second : userName.value_or(""));
  return 1;
}

// TokenUser (1): a TOKEN_USER record, its SID right behind it. The SID is
// S-1-5-21-<a number of the account's name>.
BOOL FakeWindows::DoGetTokenInformation(bool failing, HANDLE token, int informationClass,
                                        void* information, DWORD length, DWORD* returned) {
  if (failing || !Is(token, Kind::Token) || informationClass != 1)
    return Refuse(0, ERROR_INVALID_PARAMETER);
  struct TokenUser {
    const void* sid;
    DWORD attributes;
  };
  const DWORD account = static_cast<DWORD>(std::hash<std::string>{}(At(token).name));
  const BYTE sid[16] = {1,
                        2,
                        0,
                        0,
                        0,
                        0,
                        0,
                        5,
                        21,
                        0,
                        0,
                        0,
                        BYTE(account),
                        BYTE(account >> 8),
                        BYTE(account >> 16),
                        BYTE(account >> 24)};
  *returned = sizeof(TokenUser) + sizeof sid;
  if (length < *returned) return Refuse(0, ERROR_INSUFFICIENT_BUFFER);
  auto* record = static_cast<BYTE*>(information);
  std::memcpy(record + sizeof(TokenUser), sid, sizeof sid);
  *static_cast<TokenUser*>(information) = {record + sizeof(TokenUser), 0};
  return 1;
}

BOOL FakeWindows::DoSetPriorityClass(bool failing, HANDLE process, DWORD newClass) {
  log.push_back("priority-class " + std::to_string(newClass));
  if (failing || !Is(process, Kind::Process)) return Refuse(0, ERROR_INVALID_HANDLE);
  // The NT family checks the handle's right to set information; the older ones do not.
  if (platformId == VER_PLATFORM_WIN32_NT && !(At(process).access & 0x200))
    return Refuse(0, ERROR_ACCESS_DENIED);
  priorityClass = newClass;
  return 1;
}

BOOL FakeWindows::DoTerminateProcess(bool failing, HANDLE process, UINT) {
  log.push_back("terminate");
  if (failing || !Is(process, Kind::Process)) return Refuse(0, ERROR_ACCESS_DENIED);
  shellEndsOnClose = true;
  return 1;
}

BOOL FakeWindows::DoCloseHandle(bool failing, HANDLE object) {
  if (failing) return Refuse(0, ERROR_INVALID_HANDLE);
  for (const Kind kind : {Kind::Process, Kind::Thread, Kind::Mutex, Kind::File, Kind::Event,
                          Kind::Token, Kind::Snapshot})
    if (Close(object, kind)) return 1;
  return Refuse(0, ERROR_INVALID_HANDLE);
}

BOOL FakeWindows::DoSetThreadPriority(bool failing, HANDLE thread, int priority) {
  const auto handle = static_cast<std::intptr_t>(thread);
  log.push_back("thread-priority " + std::to_string(handle) + " " + std::to_string(priority));
  // Only the current-thread pseudo-handle is a thread here.
  return failing || handle != -2 ? Refuse(0, ERROR_INVALID_HANDLE) : 1;
}

HANDLE FakeWindows::DoCreateMutexA(bool failing, const SECURITY_ATTRIBUTES*, BOOL,
                                   const std::string& name) {
  log.push_back("mutex " + name);
  if (failing) return Refuse(0, ERROR_ACCESS_DENIED);
  lastError_ = otherInstanceRunning ? ERROR_ALREADY_EXISTS : 0;
  return Open(Kind::Mutex, name);
}

// A mutex is held by another program when `otherInstanceRunning` says so.
HANDLE FakeWindows::DoOpenMutexA(bool failing, DWORD, BOOL, const std::string& name) {
  log.push_back("open-mutex " + name);
  if (failing || !otherInstanceRunning) return Refuse(0, ERROR_FILE_NOT_FOUND);
  return Open(Kind::Mutex, name);
}

DWORD FakeWindows::DoGetTickCount(bool failing) {
  return failing ? 0 : tickCount;
}

// The clock does not move by itself here: a pause passes at once.
void FakeWindows::DoSleep(bool, DWORD milliseconds) {
  tickCount += milliseconds;
  if (whenSlept) whenSlept();
}

// A named event exists while somebody holds it: here, once made, for good.
HANDLE FakeWindows::DoCreateEventA(bool failing, const SECURITY_ATTRIBUTES* attributes, BOOL,
                                   BOOL initialState, const std::string& name) {
  if (failing) return Refuse(0, ERROR_ACCESS_DENIED);
  if (attributes && attributes->bInheritHandle) log.push_back("event " + name + " inheritable");
  const bool existed = events.contains(name);
  if (!existed) events[name] = initialState != 0;
  lastError_ = existed ? ERROR_ALREADY_EXISTS : 0;
  return Open(Kind::Event, name);
}

HANDLE FakeWindows::DoOpenEventA(bool failing, DWORD, BOOL, const std::string& name) {
  if (failing || !events.contains(name)) return Refuse(0, ERROR_FILE_NOT_FOUND);
  return Open(Kind::Event, name);
}

BOOL FakeWindows::DoSetEvent(bool failing, HANDLE event) {
  if (failing || !Is(event, Kind::Event)) return Refuse(0, ERROR_INVALID_HANDLE);
  events[At(event).name] = true;
  log.push_back("event-set " + At(event).name);
  return 1;
}

// It cannot fail on Windows; failing here, the last error reads as none.
DWORD FakeWindows::DoGetLastError(bool failing) {
  return failing ? 0 : lastError_;
}

BOOL FakeWindows::DoCreateProcessA(bool failing, const char* application, char* commandLine,
                                   const SECURITY_ATTRIBUTES*, const SECURITY_ATTRIBUTES*,
                                   BOOL inheritHandles, DWORD flags, const void*,
                                   const char* directory, const STARTUPINFOA* startup,
                                   PROCESS_INFORMATION* started) {
  std::string entry = "run " + std::string(commandLine);
  if (startup->dwFlags & STARTF_USESHOWWINDOW)
    entry += " show=" + std::to_string(startup->wShowWindow);
  if (application) entry += " app=" + std::string(application);
  if (flags != NORMAL_PRIORITY_CLASS) entry += " flags=" + std::to_string(flags);
  if (inheritHandles) entry += " inherit";
  if (directory) entry += " dir=" + std::string(directory);
  log.push_back(entry);
  if (failing) return Refuse(0, ERROR_FILE_NOT_FOUND);
  *started = {Open(Kind::Process, commandLine, 0x1F0FFF), Open(Kind::Thread, commandLine), 7, 8};
  if (whenStarted) whenStarted(commandLine);
  return 1;
}

// A real thread, so that what runs on it runs beside the test's own.
HANDLE FakeWindows::DoCreateThread(bool failing, const SECURITY_ATTRIBUTES*, std::size_t,
                                   LPTHREAD_START_ROUTINE start, void* parameter, DWORD,
                                   DWORD* id) {
  if (failing) return Refuse(0, ERROR_NOT_ENOUGH_MEMORY);
  const HANDLE thread = Open(Kind::Thread, "thread");
  std::packaged_task<void()> run([start, parameter] { start(parameter); });
  threadEnds_[thread] = run.get_future().share();
  threads_.emplace_back(std::move(run));
  if (id) *id = static_cast<DWORD>(thread);
  return thread;
}

DWORD FakeWindows::DoResumeThread(bool failing, HANDLE thread) {
  log.push_back("resume-thread");
  if (failing || !Is(thread, Kind::Thread))
    return Refuse(static_cast<DWORD>(-1), ERROR_INVALID_HANDLE);
  return 1;
}

// A thread of the program's is waited for for real, and the other threads
// have their turns meanwhile.
DWORD FakeWindows::DoWaitForSingleObject(bool failing, HANDLE object, DWORD milliseconds) {
  if (failing) return WAIT_FAILED;
  const auto thread = threadEnds_.find(object);
  if (thread != threadEnds_.end() && Is(object, Kind::Thread)) {
    const std::shared_future<void> end = thread->second;
    mutex_.unlock();
    const bool ended =
        milliseconds == INFINITE
            ? (end.wait(), true)
            : end.wait_for(std::chrono::milliseconds(milliseconds)) == std::future_status::ready;
    mutex_.lock();
    return ended ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
  }
  if (Is(object, Kind::Event)) return events[At(object).name] ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
  log.push_back("wait");
  if (!Is(object, Kind::Process)) return WAIT_FAILED;
  return shellEndsOnClose ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

HMODULE FakeWindows::DoLoadLibraryA(bool failing, const std::string& name) {
  if (failing) return Refuse(0, ERROR_FILE_NOT_FOUND);
  return strcasecmp(name.c_str(), "shell32.dll") == 0 ? kShell32 : 0;
}

FARPROC FakeWindows::DoGetProcAddress(bool failing, HMODULE module, const char* name) {
  if (failing || module != kShell32 || !hasShutdownDialog ||
      reinterpret_cast<std::uintptr_t>(name) != 60) {
    return nullptr;
  }
  current_ = this;
  return reinterpret_cast<FARPROC>(&ShutDownDialog);
}

// The one resource asked for: the version record, handle 1, loaded as 2.
HRSRC FakeWindows::DoFindResourceA(bool failing, HMODULE module, const char* name,
                                   const char* type) {
  const bool version =
      name == MAKEINTRESOURCEA(VS_VERSION_INFO) && type == MAKEINTRESOURCEA(RT_VERSION);
  return failing || module || !version ? Refuse(0, ERROR_FILE_NOT_FOUND) : 1;
}

HGLOBAL FakeWindows::DoLoadResource(bool failing, HMODULE, HRSRC resource) {
  return failing || resource != 1 ? 0 : 2;
}

const void* FakeWindows::DoLockResource(bool failing, HGLOBAL resource) {
  return failing || resource != 2 ? nullptr : versionRecord.data();
}

DWORD FakeWindows::DoSizeofResource(bool failing, HMODULE, HRSRC resource) {
  return failing || resource != 1 ? 0 : static_cast<DWORD>(versionRecord.size());
}

void FakeWindows::DoOutputDebugStringA(bool failing, const std::string& text) {
  if (!failing) log.push_back("debug " + text);
}

int FakeWindows::DoGetDateFormatA(bool failing, DWORD, DWORD, const void*, const char*,
                                  char* buffer, int size) {
  if (failing) return 0;
  return CopyOut(dates_[std::min(dateCalls_++, dates_.size() - 1)], buffer, size);
}

int FakeWindows::DoGetTimeFormatA(bool failing, DWORD, DWORD, const void*, const char*,
                                  char* buffer, int size) {
  if (failing) return 0;
  return CopyOut(times_[std::min(timeCalls_++, times_.size() - 1)], buffer, size);
}

BOOL FakeWindows::DoIsDBCSLeadByte(bool failing, BYTE byte) {
  return !failing && leadBytes.contains(byte);
}

std::intptr_t FakeWindows::DoShellExecuteA(bool failing, HWND, const char* verb,
                                           const std::string& file, const char* parameters,
                                           const char* directory, int show) {
  std::string entry = "open " + file;
  if (parameters) entry += " | " + std::string(parameters);
  if (verb) entry += " verb=" + std::string(verb);
  if (directory) entry += " dir=" + std::string(directory);
  if (show != SW_SHOWNORMAL) entry += " show=" + std::to_string(show);
  log.push_back(entry);
  return failing ? 2 : 42;  // SE_ERR_FNF
}

HRESULT FakeWindows::DoSHGetSpecialFolderLocation(bool failing, HWND, int csidl, PIDL* pidl) {
  *pidl = 0;
  if (failing || !specialFolders.contains(csidl)) return static_cast<HRESULT>(0x80004005);
  *pidl = Open(Kind::Pidl, specialFolders[csidl]);
  return 0;
}

BOOL FakeWindows::DoSHGetPathFromIDListA(bool failing, PIDL pidl, char* path) {
  return !failing && Is(pidl, Kind::Pidl) && CopyName(At(pidl).name, path, 260);
}

void FakeWindows::DoCoTaskMemFree(bool failing, PIDL pidl) {
  if (!failing) Close(pidl, Kind::Pidl);
}

}  // namespace ludora::testing
