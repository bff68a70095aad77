// traydock.exe: the requests of Shell_NotifyIcon as they reach the tray
// window, the icon table, what the owners are told, and the start.
#include <gtest/gtest.h>

#include <cstring>

#include "fake/fake_windows.h"
#include "platform/win_constants.h"
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
  DWORD tipChars, state, version;  // state and version 0: not in this size
};
constexpr Layout kLayouts[] = {{88, false, 64, 0, 0},       {152, true, 64, 0, 0},
                               {488, false, 128, 152, 416}, {936, true, 128, 280, 800},
                               {504, false, 128, 152, 416}, {952, true, 128, 280, 800},
                               {508, false, 128, 152, 416}, {956, true, 128, 280, 800}};

// Windows' record, the structure behind the signature and the message:
// NIM_MODIFY of owner 0x1234, id 7, all flags, the tip "Vol" (or one filling
// its field), hidden, version 3.
Bytes WindowsRecord(const Layout& l, bool fullTip = false, int more = 0) {
  Bytes record(8 + l.size + more, 0);
  Put(record, {{0, 0x34753423}, {4, 1}, {8, l.size}, {12, 0x1234}, {16, 7}, {20, 0xF}});
  const std::size_t unit = l.wide ? 2 : 1;
  for (std::size_t c = 0; c < (fullTip ? l.tipChars : 3); ++c)
    record[8 + 24 + c * unit] = "Vol"[c % 3];
  if (l.state) Put(record, {{8 + l.state, 1}, {8 + l.state + 4, 1}, {8 + l.version, 3}});
  return record;
}

// Wine's record: the fixed part, then a 16x16 picture of `bits` per pixel.
Bytes WineRecord(DWORD bits) {
  Bytes record(kWineRecordSize + 32 + 16 * 16 * bits / 8);
  Put(record, {{0, 0x1234}, {4, 7}, {8, 0x7}, {944, 16}, {948, 16}, {952, 1}, {956, bits}});
  record[16] = 'W';
  return record;
}

TEST(TrayRequests, EverySizeWindowsSendsAnsiAndWideAndWinesOwnRecord) {
  for (const Layout& layout : kLayouts) {
    const auto [size, wide, tipChars, state, version] = layout;
    const Bytes record = WindowsRecord(layout);
    const auto request = DecodeRequest(kWindowsRecord, record);
    ASSERT_TRUE(request) << size;
    EXPECT_TRUE(request->command == Command::Modify && request->owner == 0x1234 && request->id == 7)
        << size;
    EXPECT_EQ(request->tip, (wide ? Text{true, "", u"Vol"} : Text{false, "Vol", u""})) << size;
    // Before shell32 5.0 the record ends with the tip: no state, no version.
    const bool v5 = state != 0;
    EXPECT_EQ(request->flags, v5 ? 0xFu : 0x7u) << size;
    EXPECT_TRUE(request->state == v5 && request->version == (v5 ? 3u : 0u)) << size;
    // A tip without its terminator ends a character short of its field.
    const Text full = DecodeRequest(kWindowsRecord, WindowsRecord(layout, true))->tip;
    EXPECT_EQ(wide ? full.utf16.size() : full.ansi.size(), tipChars - 1) << size;
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
