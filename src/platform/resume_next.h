// The shell's failure policy: a statement of a handler that fails is
// skipped and the next one runs. Failed Windows calls are simply not
// examined; this catches what C++ itself throws (out of memory, mostly),
// so that nothing ever leaves a handler. A statement skipped is told to a
// debugger in one line through OutputDebugStringA, the way Windows
// programs make their silent failures visible; the user sees nothing and
// nothing is written to disk.
#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora {

// Where a statement stands, for its trace line: a handler, and the
// statement's number in it (0: the handler as a whole).
struct Where {
  Where(const char* handler, int step = 0) : handler(handler), step(step) {}  // NOLINT: implicit
  const char* handler;
  int step;
};

// What the exception being handled says of itself.
std::string CurrentExceptionText();
// Tells a debugger of the exception being handled, as "Ludora: <handler>
// step <n> skipped: <what>"; never throws.
void ReportSkipped(WindowsApi& api, Where where) noexcept;

// A program's main: what escapes it is told to a debugger and ends it with 1.
template <typename Main>
int GuardedMain(WindowsApi& api, const char* program, Main&& main) noexcept {
  try {
    return main();
  } catch (...) {
    ReportSkipped(api, program);
    return 1;
  }
}

// Runs `step`; whether it finished without throwing.
template <typename Step>
bool Attempt(WindowsApi& api, Where where, Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (...) {
    ReportSkipped(api, where);
    return false;
  }
}

// Runs `step`, which tells whether it worked; false too when it throws.
template <typename Step>
bool Succeeded(WindowsApi& api, Where where, Step&& step) noexcept {
  bool worked = false;
  return Attempt(api, where, [&] { worked = step(); }) && worked;
}

// Runs every step of `handler` in turn, each one whatever became of those before.
template <typename... Steps>
void ResumeNext(WindowsApi& api, const char* handler, Steps&&... steps) noexcept {
  int number = 0;
  (Attempt(api, Where(handler, ++number), steps), ...);
}

// Raises a flag for the length of a scope, however the scope is left.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace ludora
