#include "launch/orderly_end.h"

#include "launch/companions.h"
#include "platform/scoped.h"
#include "platform/win_constants.h"

namespace ludora {

void SetNamedEvent(WindowsApi& api, const char* name) {
  const ScopedHandle event(api, api.OpenEventA(EVENT_MODIFY_STATE, 0, name));
  if (event) api.SetEvent(event.get());
}

void SignalOrderlyEnd(WindowsApi& api) {
  SetNamedEvent(api, companions::kOrderlyEndEvent);
}

}  // namespace ludora
