// The orderly end of Ludora as the session's shell, told to its watchdog by
// an event, so that the watchdog lets it be: Ludora's own end, the
// session's, and the uninstaller's close.
#pragma once

#include "platform/windows_api.h"

namespace ludora {

void SignalOrderlyEnd(WindowsApi& api);

// Sets the event of that name, when one exists.
void SetNamedEvent(WindowsApi& api, const char* name);

}  // namespace ludora
