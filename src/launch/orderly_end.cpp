#include "launch/orderly_end.h"

#include "launch/companions.h"
#include "platform/scoped.h"

namespace ludora {

void SignalOrderlyEnd(WindowsApi& api) {
  constexpr DWORD kEventModifyState = 0x2;
  const ScopedHandle event(api, api.OpenEventA(kEventModifyState, 0, companions::kOrderlyEndEvent));
  if (event) api.SetEvent(event.get());
}

}  // namespace ludora
