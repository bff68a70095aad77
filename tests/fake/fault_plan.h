// Which operations of the in-memory Windows fail, and how often each was
// called. The list of operations is the seam's own.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <thread>
#include <utility>

#include "platform/windows_api.h"

namespace ludora::testing {

enum class Op {
#define FAKE_OP_ENUM(result, name, parameters, arguments) name,
  LUDORA_WINDOWS_API(FAKE_OP_ENUM)
#undef FAKE_OP_ENUM
};

inline const char* NameOf(Op op) {
  static const char* const names[] = {
#define FAKE_OP_NAME(result, name, parameters, arguments) #name,
      LUDORA_WINDOWS_API(FAKE_OP_NAME)
#undef FAKE_OP_NAME
  };
  return names[static_cast<int>(op)];
}

class FaultPlan {
 public:
  // Operations made to fail, with their documented failure value and last
  // error: every call of `failing`, or only call number `failingCall`.
  std::set<Op> failing;
  std::optional<std::pair<Op, int>> failingCall;
  std::map<Op, int> calls;  // how often each operation was called
  // Operations that take this long, in milliseconds, before they do anything.
  std::map<Op, int> slow;

  // Counts a call of `op`; whether this call fails.
  bool Enter(Op op) {
    const int call = ++calls[op];
    return failing.contains(op) || failingCall == std::pair{op, call};
  }
  void Delay(Op op) const {
    if (const auto found = slow.find(op); found != slow.end())
      std::this_thread::sleep_for(std::chrono::milliseconds(found->second));
  }
};

}  // namespace ludora::testing
