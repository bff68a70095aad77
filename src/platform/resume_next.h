// The shell's failure policy: a statement of a handler that fails is
// skipped and the next one runs. Failed Windows calls are simply not
// examined; this catches what C++ itself throws (out of memory, mostly),
// so that nothing ever leaves a handler.
#pragma once

namespace ludora {

// Runs `step`; whether it finished without throwing.
template <typename Step>
bool Attempt(Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

// Runs `step`, which tells whether it worked; false too when it throws.
template <typename Step>
bool Succeeded(Step&& step) noexcept {
  bool worked = false;
  return Attempt([&] { worked = step(); }) && worked;
}

// Runs every step in turn, each one whatever became of those before.
template <typename... Steps>
void ResumeNext(Steps&&... steps) noexcept {
  (Attempt(steps), ...);
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
