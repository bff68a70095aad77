#include "ludora/performance_modes.h"

#include "tuning/open_command.h"

namespace ludora {

void SelectPerformanceMode(WindowsApi& api, QuickMenu& menu, PerformanceMode mode) {
  menu[QuickItem::mnurealtime].checked = mode == PerformanceMode::RealTime;
  menu[QuickItem::mnuhigh].checked = mode == PerformanceMode::High;
  menu[QuickItem::mnunormal].checked = mode == PerformanceMode::Normal;
  if (mode == PerformanceMode::Normal) WriteDefaultOpenCommand(api);
}

bool RaisedModeChecked(const QuickMenu& menu) {
  return menu[QuickItem::mnuhigh].checked || menu[QuickItem::mnurealtime].checked;
}

}  // namespace ludora
