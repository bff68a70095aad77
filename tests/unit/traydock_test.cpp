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

void Put(Bytes& bytes, std::size_t at, DWORD value) {
  std::memcpy(&bytes[at], &value, 4);
}
void Put(Bytes& bytes, std::initializer_list<std::pair<std::size_t, DWORD>> fields) {
  for (const auto& [at, value] : fields) Put(bytes, at, value);
}

// Windows' record around a NOTIFYICONDATA of `size`: owner 0x1234, id 7,
// a tip of "Vol" (or filled to its end), hidden, version 3.
Bytes WindowsRecord(DWORD size, bool wide, DWORD tipChars, bool filledTip = false) {
  Bytes record(8 + size);
  const std::size_t unit = wide ? 2 : 1, tip = 8 + 24;
  Put(record,
      {{0, kWindowsSignature}, {4, 1}, {8, size}, {12, 0x1234}, {16, 7}, {20, 0xF}, {24, 0x8001}});
  for (std::size_t c = 0; c < (filledTip ? tipChars : 3); ++c)
    record[tip + c * unit] = "Vol"[c % 3];
  if (tipChars == 128) {
    Put(record, tip + 128 * unit, kStateHidden);
    Put(record, tip + 128 * unit + 4, kStateHidden);
    Put(record, tip + 128 * unit + 8 + 256 * unit, 3);
  }
  return record;
}

TEST(TrayRequests, EverySizeWindows98ToXpSendsAnsiAndWide) {
  const struct {
    DWORD size;
    bool wide;
    DWORD tipChars;
  } kSizes[] = {{88, false, 64},   {152, true, 64},  {488, false, 128}, {936, true, 128},
                {504, false, 128}, {952, true, 128}, {508, false, 128}, {956, true, 128}};
  for (const auto& [size, wide, tipChars] : kSizes) {
    const Bytes record = WindowsRecord(size, wide, tipChars);
    const auto request = DecodeRequest(kWindowsRecord, record);
    ASSERT_TRUE(request) << size;
    EXPECT_EQ(request->command, Command::Modify);
    EXPECT_EQ(request->owner, 0x1234u);
    EXPECT_EQ(request->id, 7u);
    EXPECT_EQ(request->callbackMessage, 0x8001u);
    EXPECT_EQ(request->tip, (wide ? Text{true, "", u"Vol"} : Text{false, "Vol", u""})) << size;
    // Before shell32 5.0 the record ends with the tip: no state, no version.
    EXPECT_EQ(request->flags, tipChars == 128 ? 0xFu : 0x7u) << size;
    EXPECT_EQ(request->state, tipChars == 128 ? kStateHidden : 0) << size;
    EXPECT_EQ(request->version, tipChars == 128 ? 3u : 0u) << size;
    // A tip without its terminator ends a character short of its field.
    const auto filled = DecodeRequest(kWindowsRecord, WindowsRecord(size, wide, tipChars, true));
    EXPECT_EQ(wide ? filled->tip.utf16.size() : filled->tip.ansi.size(), tipChars - 1) << size;
    // Cut short by a byte: refused; bytes beyond the structure: not read.
    EXPECT_FALSE(DecodeRequest(kWindowsRecord, {record.data(), record.size() - 1})) << size;
    Bytes longer = record;
    longer.resize(record.size() + 100, 0xEE);
    EXPECT_EQ(DecodeRequest(kWindowsRecord, longer)->tip, request->tip) << size;
  }
}

TEST(TrayRequests, UnknownSizesMessagesAndKindsAreRefused) {
  Bytes record = WindowsRecord(952, true, 128);
  EXPECT_FALSE(DecodeRequest(7, record));  // no message of Shell_NotifyIcon's
  Put(record, 4, 5);                       // NIM_SETVERSION is the last one
  EXPECT_FALSE(DecodeRequest(kWindowsRecord, record));
  Put(record, 4, 0);
  Put(record, 8, 948);  // a size no Windows sends
  EXPECT_FALSE(DecodeRequest(kWindowsRecord, record));
  for (const std::size_t cut : {0, 4, 8, 11}) {
    EXPECT_FALSE(DecodeRequest(kWindowsRecord, {record.data(), cut})) << cut;
  }
}

// Wine's record: the fixed part, then a 16x16 picture of `bits` per pixel.
Bytes WineRecord(DWORD bits) {
  Bytes record(kWineRecordSize + 32 + 16 * 16 * bits / 8);
  Put(record, {{0, 0x1234}, {4, 7}, {8, 0x7}, {944, 16}, {948, 16}, {952, 1}, {956, bits}});
  record[16] = 'W';
  return record;
}

TEST(TrayRequests, WinesRecordCarriesThePictureItself) {
  const auto request = DecodeRequest(0, WineRecord(32));
  ASSERT_TRUE(request);
  EXPECT_EQ(request->command, Command::Add);
  EXPECT_EQ(request->tip, (Text{true, "", u"W"}));
  EXPECT_EQ(request->bits->mask.size(), 32u);
  EXPECT_EQ(request->bits->colour.size(), 1024u);
  const Bytes record = WineRecord(32);
  EXPECT_FALSE(DecodeRequest(0, {record.data(), record.size() - 1}));
  EXPECT_FALSE(DecodeRequest(0, WineRecord(7)));  // no such format
  EXPECT_FALSE(DecodeRequest(0, {record.data(), kWineRecordSize - 1}));
  Bytes none = WineRecord(32);
  Put(none, {{944, 0}, {948, 0}});  // the program's icon handle was none
  EXPECT_FALSE(DecodeRequest(1, none)->bits);
}

struct Tray : ::testing::Test {
  Tray() {
    api.windows = {{0x1234, 50}, {0x2000, 60}};
    api.icons = {0x4444, 0x5555};
  }
  Request Ask(Command command, HWND owner, UINT id, UINT flags = 0, HICON icon = 0) {
    Request request;
    request.command = command;
    request.owner = owner;
    request.id = id;
    request.flags = flags;
    request.callbackMessage = 0x8001;
    request.icon = icon;
    request.tip = Text{false, "tip " + std::to_string(id), u""};
    return request;
  }
  testing::FakeWindows api;
  IconTable table{api};
};

TEST_F(Tray, IconsComeAndGoWithTheirOwnCopyOfThePicture) {
  EXPECT_TRUE(table.Apply(Ask(Command::Add, 0x1234, 1, 0x7, 0x4444)));
  EXPECT_TRUE(table.Apply(Ask(Command::Add, 0x2000, 1, 0x3)));          // no picture: not shown yet
  EXPECT_FALSE(table.Apply(Ask(Command::Add, 0x1234, 1)));              // already there
  EXPECT_FALSE(table.Apply(Ask(Command::Add, 0x9999, 1)));              // no such window
  EXPECT_FALSE(table.Apply(Ask(Command::Add, 0x1234, 2, 0x2, 0xBAD)));  // no such icon
  ASSERT_EQ(table.icons().size(), 2u);
  EXPECT_TRUE(table.icons()[0].Shown() && !table.icons()[1].Shown());
  EXPECT_EQ(api.Live(testing::Kind::Icon), 1);
  // A new picture replaces the copy; a bad one leaves the icon as it was.
  EXPECT_TRUE(table.Apply(Ask(Command::Modify, 0x1234, 1, 0x2, 0x5555)));
  Request bad = Ask(Command::Modify, 0x1234, 1, 0x6, 0xBAD);
  bad.tip.ansi = "bad";
  EXPECT_FALSE(table.Apply(bad));
  EXPECT_EQ(table.icons()[0].tip.ansi, "tip 1");
  Request hide = Ask(Command::Modify, 0x1234, 1, kSetsState);
  hide.state = hide.stateMask = kStateHidden;
  EXPECT_TRUE(table.Apply(hide));
  EXPECT_FALSE(table.icons()[0].Shown());
  EXPECT_FALSE(table.Apply(Ask(Command::Modify, 0x1234, 9)));
  EXPECT_EQ(api.Live(testing::Kind::Icon), 1);
  EXPECT_TRUE(table.Apply(Ask(Command::Delete, 0x1234, 1)));
  EXPECT_FALSE(table.Apply(Ask(Command::Delete, 0x1234, 1)));
  EXPECT_EQ(api.Live(testing::Kind::Icon), 0);
  // Wine's picture is made from its bits.
  Request wine = *DecodeRequest(0, WineRecord(32));
  EXPECT_TRUE(table.Apply(wine));
  EXPECT_EQ(api.Live(testing::Kind::Icon), 1);
  // The owner's window goes: so do its icons, and their pictures.
  api.windows.erase(0x1234);
  EXPECT_TRUE(table.DropOrphans());
  EXPECT_EQ(table.icons().size(), 1u);
  EXPECT_EQ(api.Live(testing::Kind::Icon), 0);
}

TEST_F(Tray, AFloodFromOneProgramLeavesTheOthersTheirPlace) {
  int taken = 0;
  for (UINT id = 0; id < 100; ++id) taken += table.Apply(Ask(Command::Add, 0x1234, id));
  EXPECT_EQ(taken, int(IconTable::kPerProcess));
  EXPECT_TRUE(table.Apply(Ask(Command::Add, 0x2000, 1)));
  for (UINT owner = 0x3000; owner < 0x3100; ++owner) {
    api.windows[owner] = owner;
    table.Apply(Ask(Command::Add, owner, 1));
  }
  EXPECT_EQ(table.icons().size(), IconTable::kMost);
  EXPECT_EQ(table.icons()[IconTable::kPerProcess].owner, 0x2000u);
}

TEST_F(Tray, OwnersAreToldInTheirVersionsConventions) {
  table.Apply(Ask(Command::Add, 0x1234, 1, kSetsMessage));
  table.Apply(Ask(Command::Add, 0x2000, 2, kSetsMessage));
  Request version = Ask(Command::SetVersion, 0x2000, 2);
  version.version = 4;  // Vista's: refused, so the program falls back
  EXPECT_FALSE(table.Apply(version));
  version.version = 3;
  EXPECT_TRUE(table.Apply(version));
  for (const UINT input : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, kKeySelect}) {
    table.Notify(0, input);
    table.Notify(1, input);
  }
  EXPECT_EQ(api.log,
            (Log{"post 32769 to=4660 1,512", "post 32769 to=8192 2,512", "allow-foreground 50",
                 "post 32769 to=4660 1,514", "allow-foreground 60", "post 32769 to=8192 2,514",
                 "post 32769 to=8192 2,1024", "allow-foreground 50", "post 32769 to=4660 1,517",
                 "allow-foreground 60", "post 32769 to=8192 2,517", "post 32769 to=8192 2,123",
                 "allow-foreground 50", "post 32769 to=4660 1,516", "post 32769 to=4660 1,517",
                 "allow-foreground 60", "post 32769 to=8192 2,1025"}));
  api.windows.erase(0x1234);  // gone before its click is told
  EXPECT_TRUE(table.Notify(0, WM_LBUTTONUP));
  EXPECT_EQ(table.icons().size(), 1u);
}

TEST(TrayStart, OneHostASessionAndNoneBesideAnother) {
  testing::FakeWindows api;
  ScopedHandle instance(api);
  EXPECT_EQ(DecideStart(api, instance), Start::Host);
  api.windowsByClass[kTrayClass] = 0x7000;  // Explorer's taskbar
  EXPECT_EQ(DecideStart(api, instance), Start::Exit);
  api.otherInstanceRunning = true;  // and now the first traydock's
  api.log.clear();
  EXPECT_EQ(DecideStart(api, instance), Start::Exit);
  EXPECT_EQ(api.log, (Log{"mutex CorvaneLudoraTrayDock", "allow-foreground 77", "post 32769",
                          "debug traydock: already running"}));
  EXPECT_FALSE(ShownAtStart(SW_HIDE) || ShownAtStart(SW_SHOWMINNOACTIVE));
  EXPECT_TRUE(ShownAtStart(SW_SHOWNORMAL) && ShownAtStart(10));  // SW_SHOWDEFAULT
}

}  // namespace
}  // namespace ludora::traydock
