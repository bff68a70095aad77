// traydock.exe: the requests of Shell_NotifyIcon as they reach the tray
// window, the icon table, what the owners are told, and the start.
#include <gtest/gtest.h>

#include <cstring>

#include "fake/fake_windows.h"
#include "platform/win_constants.h"
#include "traydock/balloons.h"
#include "traydock/icon_table.h"
#include "traydock/tray_start.h"

namespace ludora::traydock {
namespace {

using Bytes = std::vector<BYTE>;
using Log = std::vector<std::string>;

void Put(Bytes& bytes, std::initializer_list<std::pair<std::size_t, DWORD>> fields) {
  for (const auto& [at, value] : fields) std::memcpy(&bytes[at], &value, 4);
}

// NOTIFYICONDATA as Windows documents it, offsets in bytes: cbSize 0, hWnd 4,
// uID 8, uFlags 12, uCallbackMessage 16, hIcon 20, szTip 24 (64 characters
// in the first two, 128 after); then dwState, dwStateMask, szInfo (256),
// uTimeout/uVersion, szInfoTitle (64), dwInfoFlags, guidItem, hBalloonIcon.
struct Layout {
  DWORD size;
  bool wide;
  DWORD tipChars, state, info, version, title, infoFlags;  // 0: not in this size
};
// clang-format off
constexpr Layout kLayouts[] = {
    {88, false, 64, 0, 0, 0, 0, 0},             {152, true, 64, 0, 0, 0, 0, 0},
    {488, false, 128, 152, 160, 416, 420, 484}, {936, true, 128, 280, 288, 800, 804, 932},
    {504, false, 128, 152, 160, 416, 420, 484}, {952, true, 128, 280, 288, 800, 804, 932},
    {508, false, 128, 152, 160, 416, 420, 484}, {956, true, 128, 280, 288, 800, 804, 932}};
// clang-format on

// Writes `text` at `at`, one byte or two a character, repeated to `chars` of them.
void Write(Bytes& bytes, std::size_t at, bool wide, std::string text, std::size_t chars = 0) {
  for (std::size_t c = 0; c < (chars ? chars : text.size()); ++c)
    bytes[at + c * (wide ? 2 : 1)] = BYTE(text[c % text.size()]);
}
Text Of(bool wide, std::string text) {
  return wide ? Text{true, "", std::u16string(text.begin(), text.end())} : Text{false, text, u""};
}

// Windows' record, the structure behind the signature and the message:
// NIM_MODIFY of owner 0x1234, id 7, all flags, the tip "Vol" (or texts filling
// their fields), hidden, version 3, a balloon "Mail" / "Done" of a warning, silent.
Bytes WindowsRecord(const Layout& l, bool full = false, int more = 0) {
  Bytes record(8 + l.size + more, 0);
  Put(record, {{0, 0x34753423}, {4, 1}, {8, l.size}, {12, 0x1234}, {16, 7}, {20, 0x1F}});
  Write(record, 8 + 24, l.wide, "Vol", full ? l.tipChars : 0);
  if (!l.state) return record;
  Put(record,
      {{8 + l.state, 1}, {8 + l.state + 4, 1}, {8 + l.version, 3}, {8 + l.infoFlags, 0x12}});
  Write(record, 8 + l.info, l.wide, "Done", full ? 256 : 0);
  Write(record, 8 + l.title, l.wide, "Mail", full ? 64 : 0);
  return record;
}

// Wine's record: the fixed part, with its own notify_data's offsets (szTip 16,
// szInfo 280, uTimeout 792, szInfoTitle 796, dwInfoFlags 924, the picture's
// size 944), then a 16x16 picture of `bits` per pixel.
Bytes WineRecord(DWORD bits) {
  Bytes record(kWineRecordSize + 32 + 16 * 16 * bits / 8);
  Put(record, {{0, 0x1234}, {4, 7}, {8, 0x17}, {792, 15000}, {924, 4}, {944, 16}, {948, 16}});
  Put(record, {{952, 1}, {956, bits}});
  record[16] = 'W', record[280] = 'I', record[796] = 'T';
  return record;
}

TEST(TrayRequests, EverySizeWindowsSendsAnsiAndWideAndWinesOwnRecord) {
  const auto length = [](const Text& t) { return t.wide ? t.utf16.size() : t.ansi.size(); };
  for (const Layout& layout : kLayouts) {
    const auto [size, wide, tipChars, state, info, version, title, infoFlags] = layout;
    const Bytes record = WindowsRecord(layout);
    const auto request = DecodeRequest(kWindowsRecord, record);
    ASSERT_TRUE(request) << size;
    EXPECT_TRUE(request->command == Command::Modify && request->owner == 0x1234 && request->id == 7)
        << size;
    EXPECT_EQ(request->tip, Of(wide, "Vol")) << size;
    // Before shell32 5.0 the record ends with the tip: no state, version nor balloon.
    const bool v5 = state != 0;
    EXPECT_EQ(request->flags, v5 ? 0x1Fu : 0x7u) << size;
    EXPECT_TRUE(request->state == v5 && request->version == (v5 ? 3u : 0u)) << size;
    EXPECT_TRUE(request->balloonText == (v5 ? Of(wide, "Done") : Text{}) &&
                request->balloonTitle == (v5 ? Of(wide, "Mail") : Text{}) &&
                request->balloonFlags == (v5 ? 0x12u : 0u) && request->timeout == request->version)
        << size;
    // Texts without their terminators end a character short of their fields.
    const auto full = DecodeRequest(kWindowsRecord, WindowsRecord(layout, true));
    EXPECT_EQ(length(full->tip), tipChars - 1) << size;
    EXPECT_TRUE(!v5 || (length(full->balloonText) == 255 && length(full->balloonTitle) == 63));
    // Cut short by a byte: refused; bytes beyond the structure: not read.
    EXPECT_FALSE(DecodeRequest(kWindowsRecord, {record.data(), record.size() - 1})) << size;
    EXPECT_EQ(DecodeRequest(1, WindowsRecord(layout, false, 9))->tip, request->tip);
  }
  Bytes record = WindowsRecord(kLayouts[5]);
  EXPECT_FALSE(DecodeRequest(7, record));  // no message of Shell_NotifyIcon's
  for (const std::size_t cut : {0, 4, 8, 11}) EXPECT_FALSE(DecodeRequest(1, {record.data(), cut}));
  Put(record, {{4, 5}});  // past NIM_SETVERSION
  EXPECT_FALSE(DecodeRequest(kWindowsRecord, record));
  Put(record, {{4, 0}, {8, 948}});  // a size no Windows sends
  EXPECT_FALSE(DecodeRequest(kWindowsRecord, record));
  // Wine's record carries the picture itself.
  const Bytes wine = WineRecord(32);
  const auto request = DecodeRequest(0, wine);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->tip, (Text{true, "", u"W"}));
  EXPECT_TRUE(request->balloonText.utf16 == u"I" && request->balloonTitle.utf16 == u"T" &&
              request->timeout == 15000 && request->balloonFlags == 4);
  EXPECT_TRUE(request->bits->mask.size() == 32 && request->bits->colour.size() == 1024);
  EXPECT_FALSE(DecodeRequest(0, {wine.data(), wine.size() - 1}));
  EXPECT_FALSE(DecodeRequest(0, WineRecord(7)));  // no such format
  Bytes none = WineRecord(32);
  Put(none, {{944, 0}, {948, 0}});  // the program's icon handle was none
  EXPECT_FALSE(DecodeRequest(1, none)->bits);
  // 24 pixels wide, 4-bit: Wine sends 72 + 288 bytes, CreateIcon reads 24 rows of 4 and of 12.
  Bytes narrow(kWineRecordSize + 72 + 288, 0xAB);
  Put(narrow, {{0, 0x1234}, {4, 7}, {8, 0x7}, {944, 24}, {948, 24}, {952, 1}, {956, 4}});
  const IconBits bits = *DecodeRequest(0, narrow)->bits;
  Bytes mask(96, 0);
  std::fill_n(mask.begin(), 72, 0xAB);
  EXPECT_TRUE(bits.mask == mask && bits.colour == Bytes(288, 0xAB));
}

struct Tray : ::testing::Test {
  Tray() {
    api.windows = {{0x1234, 50}, {0x2000, 60}};
    api.icons = {0x4444, 0x5555};
  }
  // A request; one that sets the state hides the icon.
  static Request Make(Command command, HWND owner, UINT id, UINT flags = 0, HICON icon = 0,
                      const char* tip = "") {
    Request request;
    request.command = command, request.owner = owner, request.id = id, request.flags = flags;
    request.icon = icon, request.callbackMessage = 0x8001, request.tip.ansi = tip;
    request.state = request.stateMask = kStateHidden;
    return request;
  }
  bool Ask(auto... fields) { return table.Apply(Make(fields...)); }
  int Pictures() const { return api.Live(testing::Kind::Icon); }
  testing::FakeWindows api;
  IconTable table{api};
};

TEST_F(Tray, IconsComeAndGoWithTheirOwnCopyOfThePicture) {
  EXPECT_TRUE(Ask(Command::Add, 0x1234, 1, 0x7, 0x4444, "one"));
  EXPECT_TRUE(Ask(Command::Add, 0x2000, 1, 0x3));                    // no picture: not shown yet
  EXPECT_FALSE(Ask(Command::Add, 0x1234, 1));                        // there already
  EXPECT_FALSE(Ask(Command::Add, 0x9999, 1));                        // no such window
  EXPECT_FALSE(Ask(Command::Add, 0x1234, 2, 0x2, 0xBAD));            // no such icon
  EXPECT_TRUE(Ask(Command::Modify, 0x1234, 1, 0x2, 0x5555));         // a new copy for the old one
  EXPECT_FALSE(Ask(Command::Modify, 0x1234, 1, 0x6, 0xBAD, "bad"));  // nothing changes
  EXPECT_FALSE(Ask(Command::Modify, 0x1234, 9));
  ASSERT_EQ(table.icons().size(), 2u);
  EXPECT_TRUE(table.icons()[0].Shown() && !table.icons()[1].Shown());
  EXPECT_TRUE(table.icons()[0].tip.ansi == "one" && Pictures() == 1);
  EXPECT_TRUE(Ask(Command::Modify, 0x1234, 1, kSetsState) && !table.icons()[0].Shown());
  EXPECT_TRUE(Ask(Command::Delete, 0x1234, 1) && !Ask(Command::Delete, 0x1234, 1));
  EXPECT_EQ(Pictures(), 0);
  EXPECT_TRUE(table.Apply(*DecodeRequest(0, WineRecord(32))) && Pictures() == 1);  // from bits
  // The owner's window goes: so do its icons, and their pictures.
  api.windows.erase(0x1234);
  EXPECT_TRUE(table.DropOrphans() && table.icons().size() == 1 && Pictures() == 0);
  // A flood from one program leaves the others their places, up to the limit.
  int taken = 0;
  for (UINT id = 0; id < 100; ++id) taken += Ask(Command::Add, 0x2000, id + 10);
  EXPECT_EQ(taken, int(IconTable::kPerProcess) - 1);
  for (UINT owner = 0x3000; owner < 0x3100; ++owner)
    api.windows[owner] = owner, Ask(Command::Add, owner, 1);
  EXPECT_EQ(table.icons().size(), IconTable::kMost);
}

// Traydock cannot tell who sent a request: one program naming the windows
// of four others, 32 icons each, reads as those four's own.
TEST_F(Tray, ProgramsNamingOthersWindowsLeaveNewcomersTheirPlaces) {
  for (DWORD process = 70; process < 74; ++process) {
    api.windows[process] = process;
    for (UINT id = 0; id < IconTable::kPerProcess; ++id) Ask(Command::Add, process, id);
  }
  EXPECT_EQ(table.icons().size(), 4 + IconTable::kMostAfterFirst);
  EXPECT_TRUE(Ask(Command::Add, 0x2000, 1));  // a program showing its first
  EXPECT_FALSE(Ask(Command::Add, 0x2000, 2));
}

TEST_F(Tray, OwnersAreToldInTheirVersionsConventions) {
  Ask(Command::Add, 0x2000, 2, kSetsMessage);
  Request version = Make(Command::SetVersion, 0x2000, 2);
  version.version = 4;  // Vista's: refused, so the program falls back
  EXPECT_FALSE(table.Apply(version));
  version.version = 3;
  EXPECT_TRUE(table.Apply(version));
  // The owner may take the foreground for a click, not for a move; version 3
  // owners hear NIN_SELECT after the click and WM_CONTEXTMENU after the right button.
  for (const UINT input : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, kKeySelect})
    table.Notify(0, input);
  EXPECT_EQ(api.log,
            (Log{"post 32769 to=8192 2,512", "allow-foreground 60", "post 32769 to=8192 2,514",
                 "post 32769 to=8192 2,1024", "allow-foreground 60", "post 32769 to=8192 2,517",
                 "post 32769 to=8192 2,123", "allow-foreground 60", "post 32769 to=8192 2,1025"}));
  api.windows.erase(0x2000);  // gone before its click is told
  EXPECT_TRUE(table.Notify(0, WM_LBUTTONUP) && table.icons().empty());
}

// Two programs' icons on a 1024x768 screen, the user at the machine; the clock moved by hand.
struct Balloons_ : Tray {
  Balloons_() {
    api.systemMetrics = {{0, 1024}, {1, 768}}, api.lastInput = api.tickCount;
    Ask(Command::Add, 0x1234, 1, kSetsMessage), Ask(Command::Add, 0x2000, 2, kSetsMessage);
  }
  void Say(HWND owner, UINT id, const char* text, UINT timeout = 0, DWORD flags = 0) {
    Request request = Make(Command::Modify, owner, id, kSetsBalloon);
    request.balloonText.ansi = text, request.timeout = timeout, request.balloonFlags = flags;
    if (table.Apply(request)) balloons.Follow(request, table);
  }
  // The clock moved on by `ms`, a tick a second; what was done meanwhile.
  Log Pass(DWORD ms, bool present = true) {
    do {
      const DWORD step = std::min<DWORD>(1000, ms);
      api.tickCount += step, ms -= step;
      if (present) api.lastInput = api.tickCount;
      balloons.Tick();
    } while (ms);
    return std::exchange(api.log, {});
  }
  std::string Shown() const { return balloons.OnScreen() ? balloons.OnScreen()->text.ansi : ""; }
  Balloons balloons{api};
};

// The owner of icon 1 (0x1234) or 2 (0x2000) told NIN_BALLOON*: 1026 shown ... 1029 clicked.
std::string Told(UINT id, UINT notice) {
  return "post 32769 to=" + std::string(id == 1 ? "4660 1," : "8192 2,") + std::to_string(notice);
}

TEST_F(Balloons_, OneAtATimeInOrderForTheTimeAskedWhileTheUserIsThere) {
  Say(0x1234, 1, "first", 1), Say(0x2000, 2, "second", 99999);  // held to 10 s and 30 s
  EXPECT_EQ(Pass(0), (Log{Told(1, 1026), "sound SystemNotification"}));
  EXPECT_TRUE(Pass(9999).empty() && Shown() == "first");
  EXPECT_EQ(Pass(1), (Log{Told(1, 1028), Told(2, 1026), "sound SystemNotification"}));
  api.lastInput = api.tickCount - 60000;  // nobody at the machine for a minute: the clock stands
  EXPECT_TRUE(Pass(90000, false).empty() && Pass(29999).empty());
  EXPECT_EQ(Pass(1), Log{Told(2, 1028)});
  // With another waiting, one asking 30 s gives way after 10; a silent one is silent.
  Say(0x1234, 1, "long", 30000), Pass(0), Say(0x2000, 2, "next", 0, kBalloonSilent);
  EXPECT_EQ(Pass(10000), (Log{Told(1, 1028), Told(2, 1026)}));
  api.lastInput.reset();  // Windows 98 cannot tell the last input: the mouse's moves count
  EXPECT_TRUE(Pass(60000, false).empty());
  api.cursor = {5, 5};
  EXPECT_EQ(Pass(10000, false), Log{Told(2, 1028)});
}

TEST_F(Balloons_, TheOwnerIsToldOfClicksAndRemovalsAndAFloodShowsItsNewestOnly) {
  Say(0x1234, 1, "a"), Pass(0), balloons.Click();
  EXPECT_EQ(Pass(0), (Log{"allow-foreground 50", Told(1, 1029)}));
  Say(0x1234, 1, "b"), Pass(0), balloons.Close();
  EXPECT_EQ(Pass(0), Log{Told(1, 1028)});
  // Taken away by its program, an empty text or the icon deleted; one not shown yet untold.
  Say(0x1234, 1, "c"), Say(0x2000, 2, "d"), Pass(0), Say(0x1234, 1, "");
  EXPECT_EQ(Pass(0), (Log{Told(1, 1027), Told(2, 1026), "sound SystemNotification"}));
  Say(0x1234, 1, "e");
  for (const Request& gone : {Make(Command::Delete, 0x1234, 1), Make(Command::Delete, 0x2000, 2)})
    table.Apply(gone), balloons.Follow(gone, table);
  EXPECT_TRUE(balloons.Tick() && !balloons.Tick());  // off the screen, once
  EXPECT_EQ(Pass(0), Log{Told(2, 1027)});
  // A balloon a millisecond from two icons of one program: the first shows, then the newest.
  Ask(Command::Add, 0x1234, 1, kSetsMessage), Ask(Command::Add, 0x1234, 3, kSetsMessage);
  for (int n = 0; n < 5000; ++n) Say(0x1234, n % 2 * 2 + 1, std::to_string(n).c_str()), Pass(0);
  EXPECT_TRUE(Shown() == "0" && Pass(10000).size() == 3 && Shown() == "4999");
  EXPECT_EQ(Pass(10000).size(), 1u);
  Say(0x1234, 1, "f"), Pass(0), api.windows.erase(0x1234);  // its program gone: untold
  EXPECT_TRUE(Pass(1000).empty() && Shown().empty());
}

TEST_F(Balloons_, NoneWhileAFullScreenProgramIsInFrontAndTheyWait) {
  api.foreground = 0x5000, api.windowPlaces[0x5000] = {{0, 0, 1024, 768}, LONG(0x80000000)};
  Say(0x1234, 1, "wait");
  EXPECT_EQ(Pass(20000),
            Log{"debug traydock: balloons held back: a full-screen program is in front"});
  api.windowPlaces[0x5000].second = 0x00CF0000;  // maximized with a title bar: no game
  EXPECT_EQ(Pass(0).size(), 2u);
  api.windowPlaces[0x5000].second = LONG(0x80000000);            // WS_POPUP: a game again
  EXPECT_TRUE(Pass(20000).size() == 1 && !balloons.OnScreen());  // held, its clock stands
  api.windowPlaces[0x5000].first = {0, 0, 800, 600};
  EXPECT_TRUE(Pass(9000).empty() && Shown() == "wait");
  EXPECT_EQ(Pass(1000), Log{Told(1, 1028)});
}

TEST(TrayStart, OneHostASessionAndNoneBesideAnother) {
  testing::FakeWindows api;
  ScopedHandle instance(api);
  EXPECT_EQ(DecideStart(api, instance, false), Start::Host);
  api.windowsByClass[kTrayClass] = 0x7000;  // Explorer's taskbar
  EXPECT_EQ(DecideStart(api, instance, false), Start::Exit);
  api.otherInstanceRunning = true;  // and now the first traydock's
  api.log.clear();
  EXPECT_EQ(DecideStart(api, instance, true), Start::Exit);
  EXPECT_EQ(api.log, (Log{"mutex CorvaneLudoraTrayDock", "allow-foreground 77", "post 32769",
                          "debug traydock: already running"}));
  api.log.clear();  // started hidden again, by a Ludora started again: nothing shown
  EXPECT_EQ(DecideStart(api, instance, false), Start::Exit);
  EXPECT_EQ(api.log, (Log{"mutex CorvaneLudoraTrayDock", "debug traydock: already running"}));
}

}  // namespace
}  // namespace ludora::traydock
