// Which operations of the in-memory Windows fail, and how often each was
// called. The list of operations is the seam's own.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/windows_api.h"

namespace ludora::testing {

enum class Op {
#define FAKE_OP_ENUM(result, name, parameters, arguments) name,
  LUDORA_WINDOWS_API(FAKE_OP_ENUM)
#undef FAKE_OP_ENUM
};

const char* NameOf(Op op);

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
  bool Enter(Op op);
  void Delay(Op op) const;
};

}  // namespace ludora::testing
