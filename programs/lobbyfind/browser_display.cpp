// What the window shows of the browser, and when: the view and its rows,
// the server selected and its details, the title and the status, the
// refresh's time, and the timer's pace.
#include <cstdio>

#include "lobbyfind/browser.h"
#include "platform/resume_next.h"

namespace ludora::lobbyfind {

namespace {

int TabOf(unsigned view) {
  return view == kInternet ? 0 : view == kLan ? 1 : 2;
}

}  // namespace

void Browser::Start() {
  Wake();
  ShowView(view_, true);
}

void Browser::ShowView(unsigned view, bool refresh) {
  view_ = view;
  window_.ShowTab(TabOf(view));
  if (refresh || !(shown_ & view) || Interrupted(view)) RefreshAll();
  UpdateRows();
  UpdateTitle();
}

void Browser::RefreshAll() {
  shown_ |= view_;
  refreshStart_ = clock_();
  refreshTime_ = 0;
  refreshing_ = true;
  for (const auto& master : Refresh(view_)) window_.ResolveMaster(master.name, master.game);
  if (selected_) engine_.Ask(*selected_, true);
  dirty_ = true;
  Wake();
}

void Browser::RefreshSelected() {
  if (!selected_) return;
  engine_.Ask(*selected_);
  engine_.Ask(*selected_, true);
  detailsShown_ = false;
  Wake();
}

void Browser::MasterResolved(SocketAddress master, int game) {
  Wake();
  AskMaster(master, game);
  refreshing_ = true;
  dirty_ = true;  // the title says the refresh goes on
}

bool Browser::FavouriteResolved(SocketAddress address, int game) {
  Wake();
  const auto server = AddFavourite(address, game);
  if (!server) return false;
  engine_.Ask(*server);
  dirty_ = true;
  return true;
}

void Browser::SocketReady(bool inputWaiting) {
  if (!inputWaiting) return ReadAnswers();
  // Unread, the socket posts nothing more meanwhile; the timer's message
  // comes after the input.
  readLater_ = true;
  Wake();
}

void Browser::ReadAnswers() {
  readLater_ = false;
  const DWORD now = clock_();
  if (Read(now)) dirty_ = true;
  RefreshDone(now);
}

void Browser::Timer() {
  if (readLater_) ReadAnswers();
  const DWORD now = clock_();
  Tick(now);
  RefreshDone(now);
  if (dirty_ && now - lastUpdate_ >= kRedrawMs) UpdateRows();
  const Details& details = engine_.details();
  if (details.ready && !detailsShown_ && details.server == selected_) UpdateDetails();
  Pace(engine_.Idle() && !dirty_ ? kIdleTickMs : kTickMs);
}

// The timer at `ms`, set again only when that changes.
void Browser::Pace(UINT ms) {
  if (ms != tickMs_ && window_.SetTimer(ms)) tickMs_ = ms;
}

// The refresh's time, taken once when its last answer (or timeout) is in.
void Browser::RefreshDone(DWORD now) {
  if (!refreshing_ || engine_.Refreshing()) return;
  refreshing_ = false;
  refreshTime_ = now - refreshStart_;
  dirty_ = true;
}

void Browser::SetFilter(const Filter& filter) {
  filter_ = filter;
  dirty_ = true;
  UpdateRows();
}

void Browser::SortBy(Column column) {
  sort_.descending = sort_.column == column ? !sort_.descending : column == Column::Players;
  sort_.column = column;
  UpdateRows();
}

bool Browser::ToggleFavourite() {
  if (!selected_) return false;
  servers_[*selected_].views ^= kFavourites;
  dirty_ = true;
  UpdateRows();
  return true;
}

bool Browser::LeaveFavourites() {
  return view_ == kFavourites && selected_ && (servers_[*selected_].views & kFavourites) &&
         ToggleFavourite();
}

std::optional<std::size_t> Browser::ServerOfRow(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return std::nullopt;
  return rows_[static_cast<std::size_t>(row)];
}

void Browser::RowSelected(int row) {
  if (!updating_) Select(ServerOfRow(row));
}

void Browser::Select(std::optional<std::size_t> server) {
  if (server == selected_) return;
  selected_ = server;
  detailsShown_ = false;
  window_.ShowDetails({}, {});
  if (server) engine_.Ask(*server, true), Wake();
  UpdateTitle();
}

// The rows again from the table; the server selected stays selected in its
// new row, or is no longer selected when the view or the filters hide it.
void Browser::UpdateRows() {
  rows_ = VisibleRows(servers_, games_, view_, filter_, sort_);
  int row = -1;
  for (std::size_t at = 0; selected_ && at < rows_.size(); ++at) {
    if (rows_[at] == *selected_) row = static_cast<int>(at);
  }
  {
    const FlagScope updating(updating_);
    if (rows_.size() != rowCount_) {
      window_.SetRowCount(rows_.size());
      rowCount_ = rows_.size();
    }
    window_.SelectRow(row);
  }
  if (row < 0) Select(std::nullopt);
  window_.RedrawRows();
  dirty_ = false;
  lastUpdate_ = clock_();  // after the drawing: a slow one leaves the user time
  UpdateTitle();
}

// The title says the view, its progress and the server selected, so that it
// reads in the task list too.
void Browser::UpdateTitle() {
  const Progress& progress = engine_.progress();
  std::string title = std::string(kAppTitle) + " - " + kViewNames[TabOf(view_)] + ": ";
  if (engine_.Refreshing()) {
    title +=
        "answered " + std::to_string(progress.answered) + " of " + std::to_string(progress.asked);
  } else {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", refreshTime_ / 1000.0);
    title += std::to_string(progress.answered) + " of " + std::to_string(progress.asked) +
             " answered in " + seconds + " s";
  }
  std::string status = std::to_string(rows_.size()) + " shown";
  if (selected_) {
    const Server& row = servers_[*selected_];
    title += " - " + Summary(row);
    status += "   " + row.address.ToString();
  }
  if (title != title_) window_.SetTitle(title);
  if (status != status_) window_.SetStatus(status);
  title_ = std::move(title);
  status_ = std::move(status);
}

void Browser::UpdateDetails() {
  const Details& details = engine_.details();
  detailsShown_ = true;
  TextRows players, settings;
  for (const Player& player : details.players) {
    const std::string time =
        player.seconds >= 0 ? std::to_string(player.seconds / 60) + " min" : "";
    players.push_back({StripColours(player.name), std::to_string(player.score),
                       player.ping >= 0 ? std::to_string(player.ping) : time});
  }
  for (const auto& [key, value] : details.settings) settings.push_back({key, StripColours(value)});
  window_.ShowDetails(players, settings);
}

}  // namespace ludora::lobbyfind
