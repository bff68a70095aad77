// The programs that lie beside the shell in the application folder. The
// shell only starts them; each is addressed as folder + "\" + file name.
#pragma once

#include <string_view>

namespace ludora::companions {

inline constexpr std::string_view kLauncher = "sparkrun.exe";  // starts a game at high priority
inline constexpr std::string_view kGamesRoom = "parlour.exe";
inline constexpr std::string_view kGameFinder = "lobbyfind.exe";
inline constexpr std::string_view kWebBrowser = "wayview.exe";
inline constexpr std::string_view kMessenger = "chitter.exe";
inline constexpr std::string_view kTrayDock = "traydock.exe";
inline constexpr std::string_view kBundledGame = "pno0001.exe";
// Starts Ludora again when it ends abnormally while it is the session's shell.
inline constexpr std::string_view kWatchdog = "ludora-watch.exe";

// The window classes of the shell's bar and of its hidden quick-menu
// window, by which a companion finds a running shell.
inline constexpr char kBarWindowClass[] = "CorvaneLudoraBar";
inline constexpr char kQuickMenuWindowClass[] = "CorvaneLudoraQuickMenu";
// The title of traydock's tray window, which tells it from another shell's.
inline constexpr char kTrayDockTitle[] = "Corvane Ludora System Tray";

// Between Ludora as the session's shell and its watchdog: the event Ludora
// sets when it ends as it meant to (the watchdog then lets it be), and the
// mutex of the one watchdog of a session.
inline constexpr char kOrderlyEndEvent[] = "Corvane.Ludora.OrderlyEnd";
inline constexpr char kWatchdogMutex[] = "Corvane.Ludora.Watchdog";
// Where Windows has no volatile keys, the mark that this log-on's startup
// programs were started: an event Ludora and its watchdog hold.
inline constexpr char kStartupRunEvent[] = "Corvane.Ludora.StartupRun";
// The mutex the first traydock of a session makes; while it exists, a
// traydock that starts ends at once.
inline constexpr char kTrayDockMutex[] = "CorvaneLudoraTrayDock";

}  // namespace ludora::companions
