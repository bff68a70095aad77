// The games room's window: the whole screen, a header of categories and
// the search, the tiles, a footer of hints. Keys, the mouse and a gamepad
// (joyGetPosEx, polled while the room is in front) drive the room; a
// search for games runs on a thread of its own. While a game it started
// runs, the room outlives its window, hidden, to record the play time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "parlour/discovery.h"
#include "parlour/games_room.h"
#include "parlour/gamepad.h"
#include "parlour/pad_reader_win.h"
#include "parlour/tile_cache_win.h"
#include "platform/windows_api.h"
#include "win32/posted_queue.h"
#include "win32/window_base.h"

namespace ludora::win32 {

inline constexpr char kRoomClass[] = "CorvaneLudoraGamesRoom";
inline constexpr char kRoomTitle[] = "Corvane Ludora Games Room";
inline constexpr UINT kShowRoom = WM_APP + 1;    // from a second parlour.exe
inline constexpr UINT kSearchDone = WM_APP + 2;  // the search's find is in the window's queue

inline RECT ToRect(const ludora::RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

class RoomWindow : public WindowBase {
 public:
  RoomWindow(HINSTANCE instance, ludora::WindowsApi& api, parlour::GamesRoom& room);
  ~RoomWindow() override;

  void Show();
  // A search for games on a thread of its own; the offers are shown after
  // it when `offer` (the player asked), else only told of.
  void Search(bool offer);

 private:
  enum Command : UINT {
    kPlay = 1,
    kOpenFolder,
    kProperties,
    kFavourite,
    kHide,
    kRemove,
    kFind,
    kAdd,
    kShowHidden,
    kSortName,
    kSortLast,
    kSortTime,
    kClose
  };
  struct Fonts {
    Fonts();
    ~Fonts();
    HFONT title, name, small;
  };

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc) override;
  void OnNcDestroy() override;

  void PaintHeader(HDC dc, const RECT& client);
  void PaintFooter(HDC dc, const RECT& client);
  void PaintTile(HDC dc, int position, const RECT& tile);

  void Key(WPARAM key);
  void Click(int x, int y, bool twice);
  void Menu(POINT at, bool onGame);
  void Do(UINT command);
  void Pad(const std::vector<parlour::PadCommand>& commands);
  void Timer(WPARAM timer);
  void FoundGames(std::unique_ptr<parlour::Discovery> found);
  void Offer();
  void Properties();
  void AddGame();
  void Close();
  // The room changed: the tiles in view kept and loaded, the window painted again.
  void Changed();

  HINSTANCE instance_;
  ludora::WindowsApi& api_;
  parlour::GamesRoom& room_;
  parlour::Layout layout_;
  TileCache tiles_;
  Fonts fonts_;
  std::vector<RECT> categoryTabs_;
  PadReader pad_;
  parlour::Gamepad padCommands_;
  bool padPresent_ = false;
  bool searching_ = false, offerAfterSearch_ = false;
  // The searches' finds (none where a search failed), each told of by a kSearchDone.
  std::shared_ptr<PostedQueue<std::unique_ptr<parlour::Discovery>>> finds_;
  DWORD lastStart_ = 0;  // when the last game was started
};

}  // namespace ludora::win32
