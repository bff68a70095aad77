#include "wayview/frame.h"

#include <algorithm>

#include "platform/settings_file.h"
#include "platform/web_address.h"
#include "platform/win_constants.h"
#include "wayview/address.h"
#include "wayview/typed_urls.h"

namespace ludora::wayview {

namespace {

constexpr char kProduct[] = "Wayview";
constexpr std::size_t kMaxTitle = 200;  // bytes of a page title in the caption

// Only a web address goes to the default browser: a page can put a file:
// path to a program in the address.
bool ForTheWeb(std::string_view address) {
  for (const std::string_view scheme : {"http://", "https://", "ftp://"}) {
    if (address.size() > scheme.size() && SameText(address.substr(0, scheme.size()), scheme)) {
      return true;
    }
  }
  return false;
}

}  // namespace

Frame::Frame(Program& program, FrameView& view)
    : program_(program), api_(program.api()), view_(view), favorites_(program.api()) {}

void Frame::Reset() {
  for (const Command command : kButtons) view_.EnableCommand(command, command == Command::Home);
  view_.SetProgress(-1);
  ShowCaption();
}

void Frame::StartForPage() {
  Reset();
}

void Frame::Start(const std::string& address) {
  Reset();
  const Normalised given = NormaliseAddress(address, {});
  Open(given.outcome == Normalised::Go ? given.address : program_.Home());
}

// Whoever asks (the box, a favourite, Retry on the address the control's
// own error page names), the control is sent only what the box would open.
void Frame::Open(const std::string& asked) {
  const Normalised address = NormaliseAddress(asked, {});
  if (address.outcome == Normalised::Refused) Tell(address.message);
  if (address.outcome != Normalised::Go) return;
  if (view_.Navigate(address.address)) return;
  address_ = address.address;
  title_.clear();
  view_.SetAddressText(address_);
  ShowNotice(NoControlNotice(address_));
}

std::optional<int> Frame::Ask(const std::string& text, UINT type) {
  const std::weak_ptr<char> alive = life_;
  const int answer = api_.MessageBoxA(view_.Window(), text, kProduct, type);
  if (alive.expired()) return std::nullopt;
  return answer;
}

bool Frame::Tell(const std::string& text) {
  return Ask(text, MB_OK | MB_ICONINFORMATION).has_value();
}

void Frame::ShowCaption() {
  const std::string& shown = notice_ ? notice_->heading : !title_.empty() ? title_ : address_;
  view_.SetCaption(shown.empty() ? kProduct : shown + " - " + kProduct);
}

void Frame::ShowNotice(std::optional<Notice> notice) {
  if (notice == notice_) return;
  notice_ = std::move(notice);
  view_.ShowNotice(notice_ ? &*notice_ : nullptr);
  ShowCaption();
}

void Frame::SetBusy(bool busy) {
  busy_ = busy;
  view_.EnableCommand(Command::Stop, busy);
  view_.SetProgress(busy ? 0 : -1);
}

void Frame::AddressEntered(const std::string& typed) {
  const Normalised address = NormaliseAddress(typed, ReadTypedUrls(api_));
  if (address.outcome == Normalised::Refused) {
    if (Tell(address.message)) view_.FocusAddress();
  } else if (address.outcome == Normalised::Go) {
    RememberTypedUrl(api_, address.address);
    Open(address.address);
  }
}

void Frame::FavoritePicked(UINT id) {
  const auto file = favorites_.FileOf(id);
  if (!file) return;
  const Normalised address = NormaliseAddress(FavoriteAddress(api_, *file).value_or(""), {});
  if (address.outcome == Normalised::Go) return Open(address.address);
  Tell("This favorite holds no address Wayview can open:\n" + *file +
       (address.message.empty() ? "" : "\n\n" + address.message));
}

void Frame::Run(Command command) {
  switch (command) {
    case Command::Back:
    case Command::Forward:
    case Command::Stop:
      return view_.Browse(command);
    case Command::Refresh:  // a page that failed was never loaded: it is opened again
      return notice_ ? Open(address_) : view_.Browse(command);
    case Command::Retry:
      return Open(address_);
    case Command::Home:
      return Open(program_.Home());
    case Command::FocusAddress:
      return view_.FocusAddress();
    case Command::ResetAddress:
      return view_.SetAddressText(address_);
    case Command::NewWindow:
      return view_.OpenFrame(address_);
    case Command::Close:
      return view_.CloseFrame();
    case Command::FullScreen:
      fullScreen_ = !fullScreen_;
      return view_.SetFullScreen(fullScreen_);
    case Command::OpenElsewhere:
      if (ForTheWeb(address_)) {
        api_.ShellExecuteA(view_.Window(), "open", ShellAddress(address_), nullptr, nullptr,
                           SW_SHOWNORMAL);
      }
      return;
    case Command::OrganizeFavorites:
      if (!program_.favoritesFolder().empty()) {
        api_.ShellExecuteA(view_.Window(), "open", program_.favoritesFolder(), nullptr, nullptr,
                           SW_SHOWNORMAL);
      }
      return;
    case Command::AddFavorite: {
      const std::string& folder = program_.favoritesFolder();
      if (address_.empty()) return;
      if (folder.empty()) {
        Tell("Windows names no Favorites folder for this user.");
        return;
      }
      const auto name = AddFavorite(api_, folder, title_, address_);
      if (name) return view_.SetStatusText("Added to Favorites: " + *name);
      Tell("The page could not be added to the Favorites folder " + folder + ".");
      return;
    }
    case Command::SetHome:
    case Command::ResetHome: {
      const bool saved = program_.SetHome(command == Command::SetHome ? address_ : "");
      return view_.SetStatusText(saved ? "Home page: " + program_.Home()
                                       : "Home page: " + program_.Home() + " (not saved)");
    }
    case Command::None:
      return;
  }
}

bool Frame::BeforeNavigate(const std::string& address, bool topLevel) {
  if (!topLevel) return false;
  if (auto notice = ErrorPageNotice(address)) {
    address_ = notice->address;
    view_.SetAddressText(address_);
    SetBusy(false);
    ShowNotice(std::move(notice));
    return true;
  }
  address_ = address;
  title_.clear();
  view_.SetAddressText(address);
  view_.EnableCommand(Command::Refresh, true);
  SetBusy(true);
  ShowNotice(std::nullopt);
  ShowCaption();
  return false;
}

void Frame::NavigateComplete(const std::string& address, bool topLevel) {
  if (!topLevel || address == address_) return;
  address_ = address;  // where a redirect led
  view_.SetAddressText(address);
  ShowCaption();
}

void Frame::DocumentComplete(bool topLevel) {
  if (topLevel) SetBusy(false);
}

bool Frame::NavigateError(const std::string& address, LONG status, bool topLevel) {
  if (!topLevel || !IsTransferError(status)) return false;
  address_ = address;
  view_.SetAddressText(address);
  SetBusy(false);
  ShowNotice(ErrorNotice(address, status));
  return true;
}

void Frame::TitleChange(const std::string& title) {
  title_ = title.substr(0, CutAt(api_, title, kMaxTitle));
  ShowCaption();
}

void Frame::PageClosesWindow(bool byScript) {
  if (byScript || Ask("The page you are viewing is trying to close the window.\n\n"
                      "Do you want to close this window?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
    view_.CloseFrame();
  }
}

void Frame::StatusTextChange(const std::string& text) {
  view_.SetStatusText(text);
}

void Frame::ProgressChange(LONG progress, LONG progressMax) {
  if (!busy_ || progress < 0 || progressMax <= 0) return view_.SetProgress(-1);
  view_.SetProgress(static_cast<int>(std::min<long long>(100, progress * 100LL / progressMax)));
}

void Frame::CommandStateChange(LONG command, bool enabled) {
  if (command == kNavigateBack) view_.EnableCommand(Command::Back, enabled);
  if (command == kNavigateForward) view_.EnableCommand(Command::Forward, enabled);
}

}  // namespace ludora::wayview
