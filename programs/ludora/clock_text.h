#pragma once

#include <string>

#include "platform/windows_api.h"

namespace ludora {

// Today's long date, two blanks, the time now in the long time format,
// both as the user's regional settings have them.
std::string ClockText(WindowsApi& api);

}  // namespace ludora
