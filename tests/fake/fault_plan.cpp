#include "fake/fault_plan.h"

#include <chrono>
#include <thread>

namespace ludora::testing {

const char* NameOf(Op op) {
  static const char* const names[] = {
#define FAKE_OP_NAME(result, name, parameters, arguments) #name,
      LUDORA_WINDOWS_API(FAKE_OP_NAME)
#undef FAKE_OP_NAME
  };
  return names[static_cast<int>(op)];
}

void FaultPlan::Delay(Op op) const {
  if (const auto found = slow.find(op); found != slow.end()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(found->second));
  }
}

bool FaultPlan::Enter(Op op) {
  const int call = ++calls[op];
  return failing.contains(op) || failingCall == std::pair{op, call};
}

}  // namespace ludora::testing
