#include "tuning/performance_modes.h"

#include "tuning/open_command.h"

namespace ludora {

void SelectPerformanceMode(WindowsApi& api, QuickMenu& menu, PerformanceMode mode) {
  menu.Item("mnurealtime").checked = mode == PerformanceMode::RealTime;
  menu.Item("mnuhigh").checked = mode == PerformanceMode::High;
  menu.Item("mnunormal").checked = mode == PerformanceMode::Normal;
  if (mode == PerformanceMode::Normal) WriteDefaultOpenCommand(api);
}

bool RaisedModeChecked(const QuickMenu& menu) {
  return menu.Item("mnuhigh").checked || menu.Item("mnurealtime").checked;
}

}  // namespace ludora
