// parlour.exe, the games room: shortcut files read from bytes laid out as
// the Shell Link Binary File Format documents them, and the sources of
// games (games folder, Start menu, installed programs, App Paths, Windows'
// own games) on the in-memory Windows.
#include <gtest/gtest.h>

#include "fake/test_support.h"
#include "parlour/discovery.h"
#include "parlour/installed_games.h"
#include "parlour/shortcut_games.h"

namespace ludora::parlour {
namespace {

using namespace testing;
using Bytes = std::vector<BYTE>;

std::string Str(const Bytes& bytes) {
  return {bytes.begin(), bytes.end()};
}

// Little-endian fields, as the format stores them.
struct Writer {
  Bytes b;
  Writer& D(DWORD v) {
    for (int i = 0; i < 4; ++i) b.push_back(BYTE(v >> 8 * i));
    return *this;
  }
  Writer& W(WORD v) { return b.push_back(BYTE(v)), b.push_back(BYTE(v >> 8)), *this; }
  Writer& Z(const std::string& s) {
    return b.insert(b.end(), s.begin(), s.end()), b.push_back(0), *this;
  }
  Writer& Put(const Bytes& more) { return b.insert(b.end(), more.begin(), more.end()), *this; }
  // StringData: a count of characters, then the characters, no NUL.
  Writer& Text(const std::u16string& s, bool unicode) {
    W(WORD(s.size()));
    for (const char16_t c : s) unicode ? W(c) : (b.push_back(BYTE(c)), *this);
    return *this;
  }
};

constexpr DWORD kIdList = 0x1, kLinkInfo = 0x2, kRelative = 0x8, kWorkingDir = 0x10,
                kArguments = 0x20, kIcon = 0x40, kUnicode = 0x80, kExpString = 0x200,
                kDarwin = 0x1000;

Bytes Header(DWORD flags, int iconIndex = 0) {
  Writer w;
  w.D(0x4C).Put({0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46}).D(flags).D(0x20);
  w.b.resize(w.b.size() + 24);  // creation, access and write times
  return w.D(0).D(DWORD(iconIndex)).D(1).W(0).W(0).D(0).D(0).b;
}

// LinkInfo with a VolumeID and a local base path, or with a share.
Bytes LocalInfo(const std::string& base, const std::string& suffix) {
  Writer volume;
  volume.D(0x11).D(3).D(0x1234).D(0x10).Z("");  // fixed disk, serial, empty label
  const DWORD baseAt = 0x1C + DWORD(volume.b.size()), suffixAt = baseAt + DWORD(base.size() + 1);
  Writer w;
  w.D(suffixAt + DWORD(suffix.size() + 1)).D(0x1C).D(1).D(0x1C).D(baseAt).D(0).D(suffixAt);
  return w.Put(volume.b).Z(base).Z(suffix).b;
}
Bytes ShareInfo(const std::string& share, const std::string& suffix) {
  const DWORD linkSize = 0x14 + DWORD(share.size() + 1), suffixAt = 0x1C + linkSize;
  Writer w;
  w.D(suffixAt + DWORD(suffix.size() + 1)).D(0x1C).D(2).D(0).D(0).D(0x1C).D(suffixAt);
  return w.D(linkSize).D(0).D(0x14).D(0).D(0x20000).Z(share).Z(suffix).b;
}
// An EnvironmentVariableDataBlock: 260 ANSI bytes, then 260 UTF-16 units.
Bytes EnvironmentBlock(const std::string& ansi, const std::u16string& wide) {
  Writer w;
  w.D(0x314).D(0xA0000001);
  Bytes a(260, 0), u(520, 0);
  std::copy(ansi.begin(), ansi.end(), a.begin());
  for (std::size_t i = 0; i < wide.size(); ++i)
    u[2 * i] = BYTE(wide[i]), u[2 * i + 1] = BYTE(wide[i] >> 8);
  return w.Put(a).Put(u).b;
}

// A shortcut as XP's shell writes one to a local game: an item-id list, LinkInfo, Unicode strings.
Bytes XpShortcut() {
  Writer w;
  w.Put(Header(kIdList | kLinkInfo | kRelative | kWorkingDir | kArguments | kIcon | kUnicode, 2));
  w.W(6).Put({4, 0, 0x1F, 0x50}).W(0);  // one item, then the terminal id
  w.Put(LocalInfo("C:\\Games\\Quake\\quake.exe", ""));
  w.Text(u"..\\..\\Games\\Quake\\quake.exe", true).Text(u"C:\\Games\\Quake", true);
  w.Text(u"+set fs_game arena", true).Text(u"C:\\Games\\Quake\\quake.ico", true);
  return w.D(0).b;  // the terminal block
}

TEST(ShellLink, ReadsTheDocumentedPartsAndRefusesEveryCut) {
  const Bytes xp = XpShortcut();
  const auto link = ParseShellLink(xp);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->target, "C:\\Games\\Quake\\quake.exe");
  EXPECT_EQ(link->relativePath, (LinkText{true, "", u"..\\..\\Games\\Quake\\quake.exe"}));
  EXPECT_EQ(link->arguments.utf16, u"+set fs_game arena");
  EXPECT_TRUE(link->iconLocation.utf16 == u"C:\\Games\\Quake\\quake.ico" && link->iconIndex == 2);
  // Cut anywhere before the string data ends: refused, never read past.
  for (std::size_t n = 0; n + 4 < xp.size(); ++n) EXPECT_FALSE(ParseShellLink({xp.data(), n})) << n;
  // 98's ANSI strings; a share with its suffix; an environment target; an installer's link.
  Writer ansi;
  ansi.Put(Header(kLinkInfo | kArguments)).Put(ShareInfo("\\\\SERVER\\GAMES", "Doom\\doom.exe"));
  ansi.Text(u"-warp 1 1", false);
  const auto share = ParseShellLink(ansi.b);
  ASSERT_TRUE(share);
  EXPECT_EQ(share->target, "\\\\SERVER\\GAMES\\Doom\\doom.exe");
  EXPECT_EQ(share->arguments, (LinkText{false, "-warp 1 1", u""}));
  Writer expanding;
  expanding.Put(Header(kExpString | kLinkInfo))
      .Put(LocalInfo("C:\\WINDOWS\\system32\\sol.exe", ""));
  expanding.Put(EnvironmentBlock("%windir%\\system32\\sol.exe", u"")).D(0);
  EXPECT_EQ(ParseShellLink(expanding.b)->expandedTarget.ansi, "%windir%\\system32\\sol.exe");
  EXPECT_TRUE(ParseShellLink(Header(kDarwin))->installerLink);
  // Not a shortcut: another size, another class id.
  Bytes other = xp;
  other[4] = 0x02;
  EXPECT_FALSE(ParseShellLink(other));
  other = xp, other[0] = 0x4D;
  EXPECT_FALSE(ParseShellLink(other));
}

struct Machine : ::testing::Test {
  Machine() {
    api.environment = {{"WINDIR", "C:\\WINDOWS"}, {"PROGRAMFILES", "C:\\Program Files"}};
    api.specialFolders = {{23, kCommon}, {2, kUser}};
    for (const char* folder : {"C:\\Games", "C:\\Games\\Quake", kCommon, kUser, "C:\\WINDOWS",
                               "C:\\WINDOWS\\system32", "C:\\Program Files"})
      api.AddFolder(folder);
    api.keys.insert(Lower("HKLM\\" + std::string(kUninstallKey)));
    api.keys.insert(Lower("HKLM\\" + std::string(kAppPathsKey)));
  }
  void Shortcut(const std::string& path, const std::string& target, const std::string& args = "") {
    Writer w;
    w.Put(Header(kLinkInfo | kArguments | kUnicode)).Put(LocalInfo(target, ""));
    api.AddFile(path, Str(w.Text(std::u16string(args.begin(), args.end()), true).D(0).b));
  }
  void Installed(const std::string& key,
                 std::vector<std::tuple<std::string, DWORD, std::string>> values) {
    for (const auto& [name, type, text] : values)
      api.SetValue("HKLM\\" + std::string(kUninstallKey) + "\\" + key, name, type, SzBytes(text));
  }
  const char* kCommon = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";
  const char* kUser = "C:\\Documents and Settings\\Player\\Start Menu\\Programs";
  FakeWindows api;
};

TEST_F(Machine, ShortcutsGiveTheirTargetNamedAsTheShortcut) {
  Writer w;  // a Unicode environment target with a character the ANSI code page lacks
  w.Put(Header(kExpString | kLinkInfo | kWorkingDir | kUnicode))
      .Put(LocalInfo("C:\\Games\\x.exe", ""));
  w.Text(u"%windir%", true).Put(EnvironmentBlock("", u"C:\\Gry\\\u0141\\x.exe")).D(0);
  api.AddFile("C:\\Games\\Polish.lnk", Str(w.b));
  const auto game = GameFromShortcut(api, "C:\\Games\\Polish.lnk");
  ASSERT_TRUE(game);
  EXPECT_TRUE(game->name == "Polish" && game->program == "C:\\Games\\x.exe" &&
              game->folder == "C:\\WINDOWS");
  api.AddFile("C:\\Games\\Broken.lnk", "L\0\0\0 not a shortcut");
  EXPECT_FALSE(GameFromShortcut(api, "C:\\Games\\Broken.lnk"));
  EXPECT_EQ(Resolved("C:\\A\\B", "..\\..\\..\\Games\\.\\x.exe"), "C:\\Games\\x.exe");
}

TEST_F(Machine, EverySourceFindsItsGamesAndOneGameIsOneEntry) {
  const std::string games = kApp + "\\games";
  api.AddFolder(games), api.AddFolder(games + "\\Shooters");
  Shortcut(games + "\\Shooters\\Quake.lnk", "C:\\Games\\Quake\\quake.exe", "+map q1");
  api.AddFile(games + "\\Doom.exe"), api.AddFile(games + "\\notes.txt");
  api.AddFile(games + "\\Office Game.lnk", Str(Header(kDarwin)));
  api.AddFolder(std::string(kCommon) + "\\Games"), api.AddFolder(std::string(kCommon) + "\\Acme");
  api.AddFolder(std::string(kUser) + "\\Startup");
  Shortcut(std::string(kCommon) + "\\Games\\Pinball.lnk",
           "C:\\Program Files\\Windows NT\\Pinball\\pinball.exe");
  Shortcut(std::string(kCommon) + "\\Games\\Chess.lnk", "C:\\Program Files\\Chess\\chess.exe");
  Shortcut(std::string(kCommon) + "\\Games\\Dispatch.lnk",
           "C:\\Program Files\\Dispatch\\dispatch.exe");
  Shortcut(std::string(kCommon) + "\\Acme\\Acme Game Maker.lnk",
           "C:\\Program Files\\Acme\\gamemaker.exe");
  Shortcut(std::string(kCommon) + "\\Acme\\Uninstall Acme.lnk",
           "C:\\Program Files\\Acme\\unins000.exe");
  Shortcut(std::string(kCommon) + "\\Acme\\Read me.lnk", "C:\\Program Files\\Acme\\readme.txt");
  Shortcut(std::string(kCommon) + "\\Notepad.lnk", "C:\\WINDOWS\\system32\\notepad.exe");
  Shortcut(std::string(kUser) + "\\Startup\\Tray.lnk", "C:\\Games\\tray.exe");
  Shortcut(std::string(kUser) + "\\Strategy.lnk", "C:\\Program Files\\Maker\\Strategy\\play.exe");
  // As Windows writes them: a quoted icon with its index, an expanded one, no InstallLocation.
  Installed("Quake", {{"DisplayName", REG_SZ, "Quake"},
                      {"DisplayIcon", REG_SZ, "\"C:\\Games\\Quake\\quake.exe\",0"}});
  Installed("Acme", {{"DisplayName", REG_SZ, "Acme Draw"},
                     {"DisplayIcon", REG_EXPAND_SZ, "%ProgramFiles%\\Acme\\draw.exe,-101"}});
  Installed("Strategy", {{"DisplayName", REG_SZ, "Strategy Deluxe"},
                         {"InstallLocation", REG_SZ, "C:\\Program Files\\Maker\\Strategy\\"}});
  Installed("Inno", {{"DisplayName", REG_SZ, "Racer"},
                     {"UninstallString", REG_SZ, "\"C:\\Games\\Racer\\unins000.exe\""}});
  api.AddFolder("C:\\Games\\Racer");
  api.AddFile("C:\\Games\\Racer\\racer.exe"), api.AddFile("C:\\Games\\Racer\\unins000.exe");
  for (const char* update : {"ParentKeyName", "ReleaseType"})  // of another program
    Installed(update, {{"DisplayName", REG_SZ, "Quake Hotfix"},
                       {update, REG_SZ, "Quake"},
                       {"DisplayIcon", REG_SZ, "C:\\Games\\Quake\\qfix.exe"}});
  Installed("Twin",
            {{"DisplayName", REG_SZ, "Twin Pack"}, {"InstallLocation", REG_SZ, "C:\\Twin"}});
  api.AddFolder("C:\\Twin"), api.AddFile("C:\\Twin\\one.exe"), api.AddFile("C:\\Twin\\two.exe");
  Installed("Bare", {{"DisplayName", REG_SZ, "No Program"}});
  // Parts of other programs, hidden from Add or Remove Programs; a 0 shows one.
  for (const BYTE hidden : {0, 1}) {
    const std::string name = hidden ? "Engine" : "Shown", key = "C:\\Games\\" + name;
    Installed(name, {{"DisplayName", REG_SZ, name}, {"DisplayIcon", REG_SZ, key + "\\x.exe"}});
    api.SetValue("HKLM\\" + std::string(kUninstallKey) + "\\" + name, "SystemComponent", REG_DWORD,
                 {hidden, 0, 0, 0});
  }
  api.SetValue("HKLM\\" + std::string(kAppPathsKey) + "\\UT.EXE", "", REG_SZ,
               SzBytes("C:\\WINDOWS Games\\UT\\ut.exe"));
  // No game, and a key without a name.
  for (const auto& [key, program] : {std::pair{"SETUP.EXE", "setup.exe"}, {".EXE", "editor.exe"}})
    api.SetValue("HKLM\\" + std::string(kAppPathsKey) + "\\" + key, "", REG_SZ,
                 SzBytes(std::string("C:\\Games\\UT\\") + program));
  api.AddFile("C:\\WINDOWS\\system32\\sol.exe");
  api.AddFile("C:\\WINDOWS\\winmine.exe");  // 98 keeps them in the Windows folder
  api.AddFile("C:\\Program Files\\Windows NT\\Pinball\\pinball.exe");
  api.SetValue("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", REG_SZ,
               SzBytes("C:\\Program Files"));

  const Discovery found = DiscoverGames(api, games);
  std::vector<std::string> rows;
  for (const FoundGame& g : found.games)
    rows.push_back(std::to_string(int(g.source)) + (g.known ? "+ " : "- ") + g.name + "|" +
                   g.program + "|" + g.arguments + "|" + g.folder + "|" + g.icon);
  EXPECT_EQ(rows,
            (std::vector<std::string>{
                "0+ Doom|" + games + "\\Doom.exe||" + kApp + "\\games|",
                "0+ Office Game|" + games + "\\Office Game.lnk||" + kApp + "\\games|",
                "0+ Quake|C:\\Games\\Quake\\quake.exe|+map "
                "q1|C:\\Games\\Quake|C:\\Games\\Quake\\quake.exe,0",
                "1+ Solitaire|C:\\WINDOWS\\system32\\sol.exe||C:\\WINDOWS\\system32|",
                "1+ Minesweeper|C:\\WINDOWS\\winmine.exe||C:\\WINDOWS|",
                "1+ Pinball|C:\\Program Files\\Windows NT\\Pinball\\pinball.exe||C:\\Program "
                "Files\\Windows NT\\Pinball|",
                "2+ Chess|C:\\Program Files\\Chess\\chess.exe||C:\\Program Files\\Chess|",
                "2+ Dispatch|C:\\Program Files\\Dispatch\\dispatch.exe||C:\\Program "
                "Files\\Dispatch|",
                "2- Acme Game Maker|C:\\Program Files\\Acme\\gamemaker.exe||C:\\Program "
                "Files\\Acme|",
                "2- Strategy|C:\\Program Files\\Maker\\Strategy\\play.exe||C:\\Program "
                "Files\\Maker\\Strategy|",
                "3- Acme Draw|C:\\Program Files\\Acme\\draw.exe||C:\\Program "
                "Files\\Acme|C:\\Program Files\\Acme\\draw.exe,-101",
                "3+ Racer|C:\\Games\\Racer\\racer.exe||C:\\Games\\Racer|",
                "3+ Shown|C:\\Games\\Shown\\x.exe||C:\\Games\\Shown|C:\\Games\\Shown\\x.exe,0",
                "4+ ut|C:\\WINDOWS Games\\UT\\ut.exe||C:\\WINDOWS Games\\UT|"}));
  EXPECT_EQ(DescribeFinds(found),
            "games folder 3, Windows 3, Start menu 4, installed 5, App Paths 1");
}

TEST(InstalledPrograms, IconPlacesAndTenThousandEntries) {
  const std::pair<std::string, IconPlace> places[] = {
      {"\"C:\\Games\\x.exe\",0", {"C:\\Games\\x.exe", 0}},
      {"C:\\A, B\\x.exe,-101", {"C:\\A, B\\x.exe", -101}},
      {"C:\\x.ico", {"C:\\x.ico", 0}},
      {"C:\\A,B\\x.exe", {"C:\\A,B\\x.exe", 0}},
      {"\"C:\\x.exe\",99999999999", {"C:\\x.exe", 65535}},
      {"\"C:\\x.exe", {"C:\\x.exe", 0}}};
  for (const auto& [text, place] : places) {
    const IconPlace got = ParseIconPlace(text);
    EXPECT_TRUE(got.file == place.file && got.index == place.index) << text;
  }
  FakeWindows api;
  for (int i = 0; i < 10000; ++i) {
    const std::string key = "HKLM\\" + std::string(kUninstallKey) + "\\P" + std::to_string(i);
    api.SetValue(key, "DisplayName", REG_SZ, SzBytes("Game\t" + std::to_string(i)));
    api.SetValue(key, "DisplayIcon", REG_SZ, SzBytes("C:\\Games\\g" + std::to_string(i) + ".exe"));
  }
  api.SetValue("HKLM\\" + std::string(kUninstallKey) + "\\Long", "DisplayName", REG_SZ,
               SzBytes(std::string(5000, 'x')));
  const std::string deep = "HKLM\\" + std::string(kUninstallKey) + "\\Deep";  // too long a path
  api.SetValue(deep, "DisplayName", REG_SZ, SzBytes("Deep"));
  api.SetValue(deep, "DisplayIcon", REG_SZ, SzBytes("C:\\" + std::string(300, 'x') + ".exe"));
  std::size_t budget = kDiscoveryBudget;
  const auto games = InstalledGames(api, {}, "c:\\windows", budget);
  ASSERT_EQ(games.size(), 10000u);
  EXPECT_EQ(games[0].name, "Game 0");  // a tab is no part of a name
  EXPECT_EQ(api.Live(Kind::Key), 0);
}

}  // namespace
}  // namespace ludora::parlour
