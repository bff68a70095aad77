#include "traydock/balloons.h"

#include <algorithm>
#include <utility>

namespace ludora::traydock {

namespace {

constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, GWL_STYLE = -16;
constexpr LONG WS_CAPTION = 0x00C00000;
constexpr DWORD SND_ASYNC = 0x1, SND_NODEFAULT = 0x2, SND_ALIAS = 0x10000;
// The sound Windows XP's balloons make, of the user's sound scheme.
constexpr char kSound[] = "SystemNotification";

bool Empty(const Text& text) {
  return text.ansi.empty() && text.utf16.empty();
}

}  // namespace

BalloonIcon Balloon::Icon() const {
  const DWORD icon = flags & kBalloonIconMask;
  return icon <= DWORD(BalloonIcon::Own) ? BalloonIcon(icon) : BalloonIcon::None;
}

Balloons::Balloons(WindowsApi& api)
    : api_(api), lastTick_(api.GetTickCount()), cursorMoved_(lastTick_) {}

void Balloons::Follow(const Request& request, const IconTable& table) {
  const bool sets = request.flags & kSetsBalloon &&
                    (request.command == Command::Add || request.command == Command::Modify);
  const TrayIcon* icon = table.IconOf(request.owner, request.id);
  if (sets && icon && !Empty(request.balloonText)) {
    // A program has one balloon waiting at most: its newest, behind the others'.
    std::erase_if(waiting_, [&](const Balloon& b) { return b.process == icon->process; });
    waiting_.push_back({request.owner, request.id, icon->process, icon->callbackMessage,
                        request.balloonTitle, request.balloonText, request.balloonFlags,
                        std::clamp<DWORD>(request.timeout, kShortest, kLongest)});
    return;
  }
  if (!sets && request.command != Command::Delete) return;
  const auto same = [&](const Balloon& b) {
    return b.owner == request.owner && b.id == request.id;
  };
  std::erase_if(waiting_, same);
  if (shown_ && same(*shown_)) End(kBalloonRemoved);
}

bool Balloons::Tick() {
  const DWORD now = api_.GetTickCount();
  const DWORD passed = std::min(now - lastTick_, kLongest);
  lastTick_ = now;
  // A program that ended takes its balloons along, untold.
  std::erase_if(waiting_, [&](const Balloon& b) { return !api_.IsWindow(b.owner); });
  if (shown_ && !api_.IsWindow(shown_->owner)) shown_.reset();

  // Nothing to show, nothing to look at.
  const bool was = std::exchange(heldBack_, (shown_ || !waiting_.empty()) && FullScreenInFront());
  if (heldBack_ && !was) {
    api_.OutputDebugStringA("traydock: balloons held back: a full-screen program is in front");
  }
  if (shown_ && !heldBack_ && UserAtTheMachine(now)) shownFor_ += passed;
  if (shown_ && shownFor_ >= (waiting_.empty() ? shown_->timeout : kShortest)) {
    End(kBalloonTimedOut);
  }
  if (!shown_ && !heldBack_ && !waiting_.empty()) Show();
  // Since the last tick: also what a request, a click or the close box did.
  const std::pair seen{shows_, OnScreen() != nullptr};
  return std::exchange(ticked_, seen) != seen;
}

void Balloons::Click() {
  if (!OnScreen()) return;
  // The owner opens what the balloon spoke of, in front.
  api_.AllowSetForegroundWindow(shown_->process);
  End(kBalloonClicked);
}

void Balloons::Close() {
  if (OnScreen()) End(kBalloonTimedOut);
}

// The window in front covers the whole screen and is no window with a title
// bar, which covers it maximized where no taskbar keeps a part of the screen.
bool Balloons::FullScreenInFront() {
  const HWND front = api_.GetForegroundWindow();
  RECT area;
  if (!front || front == api_.GetDesktopWindow() || !api_.GetWindowRect(front, &area)) {
    return false;
  }
  const int width = api_.GetSystemMetrics(SM_CXSCREEN);
  const int height = api_.GetSystemMetrics(SM_CYSCREEN);
  return width > 0 && height > 0 && area.left <= 0 && area.top <= 0 && area.right >= width &&
         area.bottom >= height &&
         (api_.GetWindowLongA(front, GWL_STYLE) & WS_CAPTION) != WS_CAPTION;
}

// A mouse move or key in the last minute. Windows 98 keeps no such time:
// there the mouse's moves count, seen at each tick of a balloon on screen;
// nothing known, someone is there.
bool Balloons::UserAtTheMachine(DWORD now) {
  LASTINPUTINFO input;
  if (api_.GetLastInputInfo(&input)) return LONG(now - input.dwTime) < LONG(kAway);
  POINT at;
  if (!api_.GetCursorPos(&at)) return true;
  if (cursor_ && (cursor_->x != at.x || cursor_->y != at.y)) cursorMoved_ = now;
  cursor_ = at;
  return now - cursorMoved_ < kAway;
}

void Balloons::Tell(const Balloon& balloon, UINT notice) {
  if (balloon.callbackMessage) {
    api_.PostMessageA(balloon.owner, balloon.callbackMessage, balloon.id, LPARAM(notice));
  }
}

void Balloons::End(UINT notice) {
  Tell(*shown_, notice);
  shown_.reset();
}

void Balloons::Show() {
  shown_ = std::move(waiting_.front());
  waiting_.pop_front();
  shownFor_ = 0;
  ++shows_;
  Tell(*shown_, kBalloonShown);
  if (!(shown_->flags & kBalloonSilent))
    api_.PlaySoundA(kSound, 0, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace ludora::traydock
