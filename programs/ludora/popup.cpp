#include "ludora/popup.h"

#include "platform/win_constants.h"

namespace ludora {

UINT TrackPopup(WindowsApi& api, HMENU menu, HWND owner, int x, int y, const RECT* rect) {
  api.SetForegroundWindow(owner);
  const auto picked = static_cast<UINT>(
      api.TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, rect));
  api.PostMessageA(owner, WM_NULL, 0, 0);
  return picked;
}

}  // namespace ludora
