// The shared settings files: INI text read as Windows would, and a write that
// a crash at any point leaves readable, with or without MoveFileExA.
#include <gtest/gtest.h>

#include "fake/fake_windows.h"
#include "platform/settings_file.h"

namespace ludora {
namespace {

using namespace std::string_literals;
using testing::Op;

TEST(SettingsFile, IniTextReadAsWindowsReadsItAndWrittenBack) {
  const std::string text =
      "key=before\r[ Wayview ]\r\nHome = http://a/ \nHOME=second\n; Home=comment\n"
      "[Favourites\nHome=cut\n[favourites]\nServer=1\nServer=2\n=empty\n[After]\0Home=x"s;
  EXPECT_EQ(IniValue(text, "wayview", "home"), "http://a/");
  EXPECT_EQ(IniValue(text, "Favourites", "Home"), std::nullopt);  // its header is cut
  EXPECT_EQ(IniValue(text, "After", "Home"), std::nullopt);       // after the NUL
  const IniFile file = ParseIni(text);
  ASSERT_EQ(file.size(), 4u);
  EXPECT_EQ(file[2].entries.size(), 2u);
  EXPECT_EQ(file[2].Get("SERVER"), "1");
  EXPECT_EQ(ParseIni(WriteIni(file)).size(), 4u);
  EXPECT_EQ(WriteIni({{"A", {{"k", "v"}}}, {"B", {}}}), "[A]\r\nk=v\r\n\r\n[B]\r\n");
  EXPECT_EQ(ParseIni(std::string(kMaxIniLines + 5, '\n') + "[Late]").size(), 0u);
  EXPECT_TRUE(SameText("Quake III", "qUAKE iii") && !SameText("Quake", "Quake "));
}

TEST(SettingsFile, WrittenSafelyAndReadBackAfterACrashAtAnyPoint) {
  const std::string file = "C:\\Users\\Player\\Application Data\\Corvane\\Ludora\\x.ini";
  for (const bool moveFileEx : {true, false}) {
    testing::FakeWindows api;
    api.moveFileEx = moveFileEx;
    api.AddFile(file, "old");
    EXPECT_TRUE(WriteSettingsFile(api, file, "new"));
    EXPECT_EQ(ReadSettingsFile(api, file, 100), "new");
    EXPECT_FALSE(ReadFileStart(api, file + ".new", 100));
    // Windows 98 deletes the old file before the rename; a crash between leaves the new one.
    EXPECT_EQ(api.Effects("file-delete " + file).size(), moveFileEx ? 1u : 2u);
  }
  testing::FakeWindows api;
  api.AddFile(file + ".new", "saved before a crash");
  EXPECT_EQ(ReadSettingsFile(api, file, 5), "saved");
  // A write that fails then keeps what the crash left, now in the file's place.
  api.failing = {Op::WriteFile};
  EXPECT_FALSE(WriteSettingsFile(api, file, "lost"));
  EXPECT_EQ(ReadFileStart(api, file, 100), "saved before a crash");
  EXPECT_FALSE(ReadFileStart(api, file + ".new", 100));
  api.failing = {};
  api.readPiece = 3;
  EXPECT_EQ(ReadFileStart(api, file, 7), "saved b");
}

TEST(SettingsFile, TheUsersFolderIsTheMakersUnderApplicationData) {
  testing::FakeWindows api;
  EXPECT_EQ(UserSettingsFolder(api), "");
  api.specialFolders[kCsidlAppData] = "C:\\Users\\Player\\Application Data\\";
  EXPECT_EQ(UserSettingsFolder(api), "C:\\Users\\Player\\Application Data\\Corvane\\Ludora");
}

}  // namespace
}  // namespace ludora
