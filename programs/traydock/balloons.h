// What programs say through their icons' balloons (NIF_INFO): one balloon
// on screen at a time, in order of arrival, each for the time its program
// asked, held between 10 and 30 seconds and counted only while the user is
// at the machine; none while a full-screen program is in front. Owners are
// told through their callback message, whatever their icon's version, as
// Windows XP tells them.
#pragma once

#include <deque>
#include <optional>
#include <utility>

#include "platform/windows_api.h"
#include "traydock/icon_table.h"
#include "traydock/notify_request.h"

namespace ludora::traydock {

// dwInfoFlags: the balloon's icon (NIIF_NONE, NIIF_INFO, NIIF_WARNING,
// NIIF_ERROR, NIIF_USER: the program's own) and NIIF_NOSOUND.
enum class BalloonIcon : DWORD { None = 0, Information = 1, Warning = 2, Error = 3, Own = 4 };
inline constexpr DWORD kBalloonIconMask = 0xF;
inline constexpr DWORD kBalloonSilent = 0x10;

// The callback messages' lParam values of balloons (NIN_BALLOONSHOW to
// NIN_BALLOONUSERCLICK).
inline constexpr UINT kBalloonShown = 0x402;
inline constexpr UINT kBalloonRemoved = 0x403;   // by its program
inline constexpr UINT kBalloonTimedOut = 0x404;  // or closed by the user
inline constexpr UINT kBalloonClicked = 0x405;

struct Balloon {
  HWND owner = 0;
  UINT id = 0;
  DWORD process = 0;
  UINT callbackMessage = 0;  // the owner's when the balloon came
  Text title, text;
  DWORD flags = 0;    // dwInfoFlags
  DWORD timeout = 0;  // milliseconds, as held
  BalloonIcon Icon() const;
};

class Balloons {
 public:
  // How long a balloon shows, in milliseconds of the user at the machine; the
  // shortest also when another waits. No mouse or key for a minute: nobody there.
  static constexpr DWORD kShortest = 10000, kLongest = 30000, kAway = 60000;

  explicit Balloons(WindowsApi& api);

  // Follows a request the icon table carried out: queues the icon's balloon,
  // dropping the program's others that wait, or takes it away (an empty
  // text, the icon deleted), with the icon table as the request left it.
  void Follow(const Request& request, const IconTable& table);
  // Moves the clock on: the balloon on screen times out, the next shows.
  // Owners gone lose theirs. Whether what is on screen changed.
  bool Tick();
  // The user clicked the balloon on screen, or its close box.
  void Click();
  void Close();

  // The balloon to show: none while a full-screen program is in front.
  const Balloon* OnScreen() const { return shown_ && !heldBack_ ? &*shown_ : nullptr; }

 private:
  bool FullScreenInFront();
  bool UserAtTheMachine(DWORD now);
  void Tell(const Balloon& balloon, UINT notice);
  void End(UINT notice);
  void Show();

  WindowsApi& api_;
  std::deque<Balloon> waiting_;  // at most one a program
  std::optional<Balloon> shown_;
  DWORD shownFor_ = 0;  // milliseconds counted
  DWORD lastTick_;
  bool heldBack_ = false;                       // a full-screen program in front, balloons to hold
  unsigned shows_ = 0;                          // balloons shown so far
  std::pair<unsigned, bool> ticked_{0, false};  // and whether one was on screen, at the last tick
  // Where GetLastInputInfo is missing (Windows 98): the mouse's moves.
  std::optional<POINT> cursor_;
  DWORD cursorMoved_;
};

}  // namespace ludora::traydock
