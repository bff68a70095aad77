#include "pno0001/game_win.h"

#include <mmsystem.h>

#include <algorithm>
#include <utility>

#include "pno0001/replay.h"
#include "pno0001/status.h"
#include "resources/resource_ids.h"

namespace ludora::pno0001 {

namespace {

constexpr char kClassName[] = "CorvaneLudoraShooter";
constexpr char kTitle[] = "Corvane Ludora Shooter";
constexpr int kMouseTurn = 3;  // angle units a mouse pixel

// The keys of play, a row each.
constexpr std::pair<int, Button> kKeys[] = {
    {VK_UP, kForward},    {'W', kForward},        {VK_DOWN, kBack},   {'S', kBack},
    {VK_LEFT, kTurnLeft}, {VK_RIGHT, kTurnRight}, {'A', kStrafeLeft}, {'D', kStrafeRight},
    {VK_SPACE, kFire},    {VK_CONTROL, kFire},    {VK_SHIFT, kRun},
};

std::uint8_t ButtonOf(WPARAM key) {
  for (const auto& [code, button] : kKeys)
    if (static_cast<WPARAM>(code) == key) return button;
  return 0;
}

void Trace(const char* format, DWORD value) {
  char line[128];
  ::wsprintfA(line, format, value);
  ::OutputDebugStringA(line);
}

}  // namespace

Game::Game(HINSTANCE instance) : instance_(instance) {
  MakeArt(art_);
}

bool Game::MakeWindow(const char* title, int show) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = &Game::Procedure;
  windowClass.hInstance = instance_;
  windowClass.hIcon = ::LoadIconA(instance_, MAKEINTRESOURCEA(IDI_LUDORA));
  windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.lpszClassName = kClassName;
  ::RegisterClassA(&windowClass);
  RECT bounds = {0, 0, 640, 480};
  ::AdjustWindowRect(&bounds, FullScreen::kWindowStyle, FALSE);
  ::CreateWindowExA(0, kClassName, title, FullScreen::kWindowStyle & ~WS_VISIBLE, CW_USEDEFAULT,
                    CW_USEDEFAULT, bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr,
                    nullptr, instance_, this);
  if (!window_) return false;
  ::ShowWindow(window_, show);
  ::UpdateWindow(window_);
  return true;
}

LRESULT CALLBACK Game::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* game = static_cast<Game*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    game->window_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(game));
  }
  auto* game = reinterpret_cast<Game*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!game) return ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    game->window_ = nullptr;
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
  return game->OnMessage(message, wParam, lParam);
}

int Game::Play(int show) {
  settings_ = store_.Load();
  session_ = Session(settings_.best);
  session_.NewGame();
  if (!MakeWindow(kTitle, show)) return 1;
  Trace("pno0001: started, priority class 0x%x\n", ::GetPriorityClass(::GetCurrentProcess()));
  if (::GetForegroundWindow() != window_) Pause();  // started behind another window
  sound_.Open();
  if (settings_.fullScreen) fullScreen_.Enter(window_);
  ::timeBeginPeriod(1);
  clock_.Restart(::timeGetTime());
  MSG message;
  for (;;) {
    UpdateCapture();
    if (!Live()) {
      // Nothing moves: wait for Windows, and leave the machine to the others.
      if (::GetMessageA(&message, nullptr, 0, 0) <= 0) break;
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
      if (Live()) clock_.Restart(::timeGetTime());
      continue;
    }
    bool quit = false;
    while (!quit && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      quit = message.message == WM_QUIT;
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    if (quit) break;
    if (!Live()) continue;
    const int due = clock_.Due(::timeGetTime());
    for (int i = 0; i < due; ++i) Step();
    if (due > 0) Redraw();
    sound_.Feed(mixer_);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, clock_.UntilNext(), QS_ALLINPUT);
  }
  ::timeEndPeriod(1);
  return 0;
}

bool Game::Live() const {
  return window_ && active_ && !::IsIconic(window_) && !session_.paused();
}

void Game::Step() {
  TickInput input;
  for (const auto& [code, button] : kKeys)
    if (keys_[static_cast<std::size_t>(code)]) input.buttons |= button;
  input.buttons |= pressed_;
  if (mouseFire_) input.buttons |= kFire;
  pressed_ = 0;
  input.turn = static_cast<std::int16_t>(std::clamp(mouseTurn_, -kFullTurn / 4, kFullTurn / 4));
  mouseTurn_ = 0;
  const Screen before = session_.screen();
  SoundId sounds[kSoundCount];
  const int count = SoundsFor(session_.Tick(input), sounds);
  for (int i = 0; i < count; ++i) mixer_.Play(sounds[i]);
  const Screen now = session_.screen();
  if (now != before && (now == Screen::GameOver || now == Screen::Won) && session_.UnsavedBest())
    SaveSettings();
}

void Game::Pause() {
  if (benchmark_ || session_.paused()) return;
  session_.Pause();
  keys_.fill(false);
  mouseFire_ = false;
  ::OutputDebugStringA("pno0001: paused, menu shown\n");
  if (window_) ::InvalidateRect(window_, nullptr, FALSE);
}

void Game::Choose(MenuItem item) {
  if (item == MenuItem::Resume) {
    keys_.fill(false);  // the key that chose is no shot
    session_.Resume();
    clock_.Restart(::timeGetTime());
    return;
  }
  ::OutputDebugStringA("pno0001: quit\n");
  ::SendMessageA(window_, WM_CLOSE, 0, 0);
}

// The mouse turns the view while the game runs: held in the window, hidden,
// and brought back to the middle after every move.
void Game::UpdateCapture() {
  const bool want = Live() && session_.screen() == Screen::Playing;
  if (want == captured_) return;
  captured_ = want;
  if (!want) {
    ::ClipCursor(nullptr);
    return;
  }
  RECT client;
  ::GetClientRect(window_, &client);
  ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  ::ClipCursor(&client);
  ::SetCursorPos((client.left + client.right) / 2, (client.top + client.bottom) / 2);
  mouseTurn_ = 0;
}

void Game::SaveSettings() {
  if (benchmark_) return;  // its run is no game of the player's
  Settings settings{session_.best(), fullScreen_.on()};
  if (settings.best == settings_.best && settings.fullScreen == settings_.fullScreen) return;
  if (store_.Save(settings)) {
    settings_ = settings;
    session_.MarkSaved();
  }
}

LRESULT Game::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(window_, &paint);
      Present(dc, Draw());
      ::EndPaint(window_, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // every pixel is painted
    case WM_ACTIVATE:
      active_ = LOWORD(wParam) != WA_INACTIVE;
      if (active_)
        fullScreen_.Wake(window_);
      else
        Pause();
      return 0;
    case WM_ACTIVATEAPP:
      if (!wParam) fullScreen_.Suspend(window_);
      return 0;
    case WM_SIZE:
    case WM_MOVE:
      // Let go, and held again in the new place if still playing.
      if (captured_) ::ClipCursor(nullptr);
      captured_ = false;
      ::InvalidateRect(window_, nullptr, FALSE);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Alt+Enter (Alt held: bit 29) switches between the window and the whole screen.
      if (wParam == VK_RETURN && (lParam & (1 << 29))) {
        if (!(lParam & (1 << 30)))
          fullScreen_.on() ? fullScreen_.Leave(window_) : fullScreen_.Enter(window_);
        return 0;
      }
      if (OnKey(wParam, true, (lParam & (1 << 30)) != 0)) return 0;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (OnKey(wParam, false, false)) return 0;
      break;
    case WM_SYSCOMMAND:
      // No menu mode on Alt, no screen saver while playing.
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      if (((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER) && Live())
        return 0;
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnMouseButton(lParam);
      return 0;
    case WM_LBUTTONUP:
      mouseFire_ = false;
      return 0;
    case WM_SETCURSOR:
      if (captured_ && LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(nullptr);
        return TRUE;
      }
      break;
    case WM_CLOSE:
      SaveSettings();
      fullScreen_.Leave(window_);
      ::DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      ::ClipCursor(nullptr);
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcA(window_, message, wParam, lParam);
}

// Keys of play are held until let go; the menu's keys act on the press.
// A key held down repeats: the repeats change nothing, so a key the pause
// or the menu let go of acts again only when pressed again.
bool Game::OnKey(WPARAM key, bool down, bool repeat) {
  if (key >= keys_.size()) return false;
  if (repeat) return ButtonOf(key) != 0;
  keys_[key] = down;
  if (!down) return ButtonOf(key) != 0;
  if (!session_.paused()) {
    if (key == VK_ESCAPE) {
      Pause();
      return true;
    }
    pressed_ |= ButtonOf(key);
    return ButtonOf(key) != 0;
  }
  switch (key) {
    case VK_ESCAPE:
      Choose(MenuItem::Resume);
      break;
    case VK_UP:
    case 'W':
      session_.MoveSelection(-1);
      break;
    case VK_DOWN:
    case 'S':
      session_.MoveSelection(1);
      break;
    case VK_RETURN:
    case VK_SPACE:
      Choose(session_.selected());
      return true;
    default:
      return false;
  }
  ::InvalidateRect(window_, nullptr, FALSE);
  return true;
}

void Game::OnMouseMove(LPARAM point) {
  const int x = static_cast<short>(LOWORD(point)), y = static_cast<short>(HIWORD(point));
  if (captured_) {
    RECT client;
    ::GetClientRect(window_, &client);
    POINT middle = {client.right / 2, client.bottom / 2};
    if (x == middle.x && y == middle.y) return;  // the move back to the middle
    mouseTurn_ += (x - middle.x) * kMouseTurn;
    ::ClientToScreen(window_, &middle);
    ::SetCursorPos(middle.x, middle.y);
    return;
  }
  if (!session_.paused() || !frame_.pixels) return;
  const POINT at = PicturePoint(point);
  if (const auto item = MenuItemAt(frame_.width, frame_.height, at.x, at.y);
      item && *item != session_.selected()) {
    session_.Select(*item);
    ::InvalidateRect(window_, nullptr, FALSE);
  }
}

void Game::OnMouseButton(LPARAM point) {
  if (!session_.paused()) {
    mouseFire_ = true;
    pressed_ |= kFire;
    return;
  }
  const POINT at = PicturePoint(point);
  if (const auto item = MenuItemAt(frame_.width, frame_.height, at.x, at.y)) Choose(*item);
}

RECT Game::PictureRect() const {
  RECT client = {};
  if (window_) ::GetClientRect(window_, &client);
  const int width = std::min<int>(client.right, client.bottom * 4 / 3), height = width * 3 / 4;
  const int x = (client.right - width) / 2, y = (client.bottom - height) / 2;
  return {x, y, x + width, y + height};
}

POINT Game::PicturePoint(LPARAM point) const {
  const RECT picture = PictureRect();
  const int width = std::max<int>(1, picture.right - picture.left),
            height = std::max<int>(1, picture.bottom - picture.top);
  const int x = static_cast<short>(LOWORD(point)) - picture.left,
            y = static_cast<short>(HIWORD(point)) - picture.top;
  return {x * frame_.width / width, y * frame_.height / height};
}

// 640 x 480 where the window shows that much, else 320 x 240; and 320 x 240
// from the second on which every frame took longer than a tick to draw, so
// that a slow machine keeps some time for its other programs.
Frame Game::Draw() {
  const RECT picture = PictureRect();
  const bool large = picture.right - picture.left >= 640 && slowFrames_ < kTicksPerSecond;
  frame_ = {pixels_.data(), large ? 640 : 320, large ? 480 : 240};
  renderer_.DrawView(session_.world(), frame_);
  DrawStatus(session_, frame_);
  return frame_;
}

void Game::Present(HDC dc, const Frame& frame) {
  RECT client;
  ::GetClientRect(window_, &client);
  const RECT picture = PictureRect();
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = frame.width;
  info.bmiHeader.biHeight = -frame.height;  // rows top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchDIBits(dc, picture.left, picture.top, picture.right - picture.left,
                  picture.bottom - picture.top, 0, 0, frame.width, frame.height, frame.pixels,
                  &info, DIB_RGB_COLORS, SRCCOPY);
  // Black bars where the window is wider or taller than 4:3.
  ::PatBlt(dc, 0, 0, client.right, picture.top, BLACKNESS);
  ::PatBlt(dc, 0, picture.bottom, client.right, client.bottom - picture.bottom, BLACKNESS);
  ::PatBlt(dc, 0, picture.top, picture.left, picture.bottom - picture.top, BLACKNESS);
  ::PatBlt(dc, picture.right, picture.top, client.right - picture.right,
           picture.bottom - picture.top, BLACKNESS);
}

void Game::Redraw() {
  const DWORD start = ::timeGetTime();
  const HDC dc = ::GetDC(window_);
  Present(dc, Draw());
  ::ReleaseDC(window_, dc);
  if (slowFrames_ >= kTicksPerSecond) return;
  slowFrames_ = ::timeGetTime() - start > 1000 / kTicksPerSecond ? slowFrames_ + 1 : 0;
  if (slowFrames_ == kTicksPerSecond)
    ::OutputDebugStringA("pno0001: drawing too slow, at 320x240 from now\n");
}

}  // namespace ludora::pno0001
