// The three performance modes. The check marks of the quick-menu items
// mnurealtime, mnuhigh and mnunormal are the whole state: Normal at start.
#pragma once

#include "platform/windows_api.h"
#include "ludora/quick_menu.h"

namespace ludora {

enum class PerformanceMode { RealTime, High, Normal };

// Moves the check mark; choosing Normal also writes the default open command.
void SelectPerformanceMode(WindowsApi& api, QuickMenu& menu, PerformanceMode mode);

// High is asked first, then Real-time: either routes launches through the launcher.
bool RaisedModeChecked(const QuickMenu& menu);

}  // namespace ludora
