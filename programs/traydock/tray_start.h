// How traydock.exe starts: one in a session, and none beside another tray
// host (Explorer's taskbar), which owns the window the programs look for.
#pragma once

#include "launch/companions.h"
#include "platform/scoped.h"
#include "platform/windows_api.h"

namespace ludora::traydock {

// The window Shell_NotifyIcon looks for, its child the programs and
// Windows' own parts expect, and the title that tells traydock's apart.
inline constexpr char kTrayClass[] = "Shell_TrayWnd";
inline constexpr char kNotifyClass[] = "TrayNotifyWnd";
inline constexpr const char* kTrayTitle = companions::kTrayDockTitle;
inline constexpr const char* kInstanceName = companions::kTrayDockMutex;
// Posted to the first traydock's tray window by a second one: show yourself.
inline constexpr UINT kShowMessage = 0x8001;  // WM_APP + 1

enum class Start { Host, Exit };

// Decides at start. The first traydock holds `instance` for its life and
// hosts the icons, unless another tray host runs; a second one exits, and
// when it was asked to show (`shown`: from the quick menu, not Ludora
// started again at log-on) tells the first to show its window and lets it
// take the foreground.
Start DecideStart(WindowsApi& api, ScopedHandle& instance, bool shown);

// Whether the window shows at start, from the show command the program was
// started with: not when hidden or minimized (Ludora's start at log-on).
bool ShownAtStart(int showCommand);

}  // namespace ludora::traydock
