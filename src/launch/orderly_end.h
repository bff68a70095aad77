// The orderly end of Ludora as the session's shell, told to its watchdog by
// an event, so that the watchdog lets it be: Ludora's own end, the
// session's, and the uninstaller's close.
#pragma once

#include "platform/windows_api.h"

namespace ludora {

void SignalOrderlyEnd(WindowsApi& api);

}  // namespace ludora
