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

// The window classes of the shell's bar and of its hidden quick-menu
// window, by which a companion finds a running shell.
inline constexpr char kBarWindowClass[] = "CorvaneLudoraBar";
inline constexpr char kQuickMenuWindowClass[] = "CorvaneLudoraQuickMenu";

}  // namespace ludora::companions
