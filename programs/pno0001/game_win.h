// The game's window and everything it owns: the art, the session, the
// sound, the player's file. Input becomes each tick's TickInput, the fixed
// ticks run from the clock, and each tick that ran is drawn into a 32-bit
// picture and stretched to the window. Paused, or in the background, the
// game waits for Windows' messages and takes no time at all, which matters
// at the high priority class the quick menu starts it in.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "pno0001/art.h"
#include "pno0001/full_screen_win.h"
#include "pno0001/session.h"
#include "pno0001/settings_store_win.h"
#include "pno0001/sound.h"
#include "pno0001/sound_out_win.h"
#include "pno0001/view.h"

namespace ludora::pno0001 {

class Game {
 public:
  explicit Game(HINSTANCE instance);
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // Plays until Quit, or the window is closed; the exit code.
  int Play(int show);
  // Draws `frames` ticks of the recorded run at 640 x 480 and prints the
  // frames per second on the standard output.
  int Bench(int frames);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnKey(WPARAM key, bool down, bool repeat);
  void OnMouseMove(LPARAM point);
  void OnMouseButton(LPARAM point);

  bool MakeWindow(const char* title, int show);
  // Whether the game runs: in front, shown, not paused.
  bool Live() const;
  void Step();
  void Pause();
  void Choose(MenuItem item);
  void UpdateCapture();
  void SaveSettings();

  // The picture for the window's size, drawn; and shown in the window.
  Frame Draw();
  void Present(HDC dc, const Frame& frame);
  void Redraw();
  RECT PictureRect() const;  // where the picture goes in the window, 4:3
  // The picture pixel under a point of the window.
  POINT PicturePoint(LPARAM point) const;

  HINSTANCE instance_;
  HWND window_ = nullptr;
  Art art_;
  Renderer renderer_{art_};
  Session session_{0};
  Mixer mixer_;
  SoundOut sound_;
  SettingsStore store_;
  Settings settings_;
  FullScreen fullScreen_;
  TickClock clock_;
  Frame frame_;  // the last picture drawn
  std::array<std::uint32_t, 640 * 480> pixels_{};

  std::array<bool, 256> keys_{};  // held, by virtual-key code
  std::uint8_t pressed_ = 0;      // buttons pressed since the last tick
  bool mouseFire_ = false;
  int mouseTurn_ = 0;  // since the last tick
  bool active_ = false, captured_ = false;
  bool benchmark_ = false;  // the recorded run: no pause, nothing saved
  int slowFrames_ = 0;      // frames in a row that took longer than a tick
};

}  // namespace ludora::pno0001
