// The browser: its network side (one non-blocking datagram socket that
// Windows tells the window about, the query engine over it, the table of
// servers) and what the window shows of it (the view, its rows, the server
// selected, the title and status, and when the list is drawn again and the
// timer ticks), pushed to a small view. The window hands over Windows'
// events: the socket's message, the timer's, the user's picks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "lobbyfind/query_engine.h"
#include "lobbyfind/server_view.h"
#include "lobbyfind/user_files.h"
#include "platform/socket_api.h"

namespace ludora::lobbyfind {

inline constexpr char kAppTitle[] = "Corvane Ludora Server Browser";

// The datagrams read at one go, at most: each read is a call into the
// system (under Wine a round trip to its server), and a click waits for the
// batch under way. Windows posts the socket's message again while more wait.
inline constexpr int kReadsPerMessage = 32;
inline constexpr int kMaxDatagram = 8192;  // larger ones are bad replies

// The timer's period while queries are waiting or answers are to be shown,
// and while nothing is; the list is drawn again from the table at most
// every kRedrawMs, counted from the end of the last drawing.
inline constexpr UINT kTickMs = 10;
inline constexpr UINT kIdleTickMs = 500;
inline constexpr DWORD kRedrawMs = 250;

// The views as the window's tabs, in their order.
inline constexpr unsigned kViews[] = {kInternet, kLan, kFavourites};
inline constexpr const char* kViewNames[] = {"Internet", "LAN", "Favourites"};

using TextRows = std::vector<std::vector<std::string>>;

// lobbyfind's window as the browser drives it: the Windows window, or the tests' fake.
class BrowserView {
 public:
  virtual ~BrowserView() = default;
  virtual void SetTitle(const std::string& text) = 0;  // only when it changes
  virtual void SetStatus(const std::string& text) = 0;
  virtual void ShowTab(int tab) = 0;  // of kViews
  // The list's rows: their count (only when it changes: the list sets its
  // scroll bars again on each), the one selected (-1: none, and no row
  // keeps the keyboard's mark either), their texts drawn again.
  virtual void SetRowCount(std::size_t rows) = 0;
  virtual void SelectRow(int row) = 0;
  virtual void RedrawRows() = 0;
  virtual void ShowDetails(const TextRows& players, const TextRows& settings) = 0;
  virtual bool SetTimer(UINT ms) = 0;  // false when Windows refuses
  // A master's name, to be resolved off the window's thread and handed to MasterResolved.
  virtual void ResolveMaster(const std::string& name, int game) = 0;
};

class Browser {
 public:
  // `clock` gives the time now, in milliseconds.
  Browser(SocketApi& sockets, std::vector<Game> games, const UserSettings& settings,
          std::uint32_t seed, BrowserView& window, std::function<DWORD()> clock);
  ~Browser();
  Browser(const Browser&) = delete;
  Browser& operator=(const Browser&) = delete;

  // The socket, bound to any port, telling `window` with `message` when a
  // datagram waits; false when Windows refuses one of the steps.
  bool Open(HWND window, UINT message);

  // The window is up: the settings' view is shown and asked.
  void Start();
  // Windows' events: the socket's message (left to the timer while a click
  // or a key waits: Windows hands posted messages over before input), the timer's.
  void SocketReady(bool inputWaiting);
  void Timer();
  // The user: a view shown (asked when `refresh`, when first shown, or when
  // its last refresh was cut short), asked again, the list's selected row
  // (-1: none), a column's heading clicked, the filters changed.
  void ShowView(unsigned view, bool refresh = false);
  void RefreshAll();
  void RefreshSelected();
  void RowSelected(int row);
  void SortBy(Column column);
  void SetFilter(const Filter& filter);
  // The favourites changed: whether they did, for the caller to save them.
  bool ToggleFavourite();
  bool LeaveFavourites();  // in the favourites' view only
  // Names resolved: a master's, whose list the refresh goes on with; a
  // favourite's, added to the table (false when it is full).
  void MasterResolved(SocketAddress master, int game);
  bool FavouriteResolved(SocketAddress address, int game);

  unsigned view() const { return view_; }
  const Filter& filter() const { return filter_; }
  std::optional<std::size_t> selected() const { return selected_; }
  // The server of a row of the list, nothing past its rows.
  std::optional<std::size_t> ServerOfRow(int row) const;

  // The network's steps, each with the time now. Asks again every server of
  // the view (and the masters for the Internet, the local network for LAN);
  // master names that are not numbers are handed back, for the caller to
  // resolve and give to AskMaster.
  struct NamedMaster {
    std::string name;
    int game;
  };
  std::vector<NamedMaster> Refresh(unsigned view);
  // Whether the last refresh of `view` was cut short by another view's,
  // its servers then left unasked: showing it again refreshes it.
  bool Interrupted(unsigned view) const { return (interrupted_ & view) != 0; }
  void AskMaster(SocketAddress master, int game) { engine_.AskMaster(master, game); }
  // A server added to the favourites by its address; nothing when the
  // table is full.
  std::optional<std::size_t> AddFavourite(SocketAddress address, int game);
  // The favourites to save: the table's, then those of games the table
  // does not know, as they were read.
  std::vector<Favourite> Favourites() const;

  void Tick(DWORD now);
  bool Read(DWORD now);  // whether anything changed

  QueryEngine& engine() { return engine_; }
  ServerTable& servers() { return servers_; }
  std::vector<Game>& games() { return games_; }

 private:
  void SendAll();
  void ReadAnswers();
  void Wake() { Pace(kTickMs); }  // the timer fast again: queries are waiting
  void Pace(UINT ms);
  void RefreshDone(DWORD now);
  void Select(std::optional<std::size_t> server);
  void UpdateRows();
  void UpdateTitle();
  void UpdateDetails();

  SocketApi& sockets_;
  SOCKET socket_ = kInvalidSocket;
  std::vector<Game> games_;
  ServerTable servers_;
  QueryEngine engine_;
  DWORD lanAddress_;
  std::vector<Outgoing> out_;
  std::vector<Favourite> unknown_;
  unsigned refreshed_ = 0, interrupted_ = 0;  // views

  BrowserView& window_;
  std::function<DWORD()> clock_;
  unsigned view_;
  unsigned shown_ = 0;  // the views refreshed in this run
  Filter filter_;
  Sort sort_;
  std::vector<std::size_t> rows_;
  std::optional<std::size_t> selected_;  // the server selected, whatever its row
  bool updating_ = false;                // the list is being set to the rows
  std::size_t rowCount_ = 0;             // the rows the list was told of
  bool dirty_ = false, detailsShown_ = false, refreshing_ = false;
  bool readLater_ = false;  // answers left to the timer while input waited
  DWORD refreshStart_ = 0, refreshTime_ = 0, lastUpdate_ = 0;
  std::string title_, status_;
  UINT tickMs_ = 0;
};

}  // namespace ludora::lobbyfind
