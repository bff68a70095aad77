// Tracking a popup menu the way Windows wants it done for a window that
// may not be in the foreground.
#pragma once

#include "platform/windows_api.h"

namespace ludora {

// Shows `menu` at (x, y) for `owner` with TPM_RETURNCMD | TPM_NONOTIFY and
// returns the picked command id, 0 when nothing was picked. The owner comes
// to the front first, so a click elsewhere closes the menu; it is sent a
// WM_NULL afterwards, so it leaves menu mode before the next popup.
UINT TrackPopup(WindowsApi& api, HMENU menu, HWND owner, int x, int y, const RECT* rect);

}  // namespace ludora
