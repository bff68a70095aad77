// The folder popup menus: how a folder tree becomes nested menus, and how a
// pick is launched in each performance mode.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "fake/fake_views.h"
#include "launch/folder_menu.h"
#include "platform/win_constants.h"

namespace ludora {
namespace {

using testing::FakeShell;
using testing::FakeWindows;

// The menu as lines: "> Caption" for a submenu with its entries indented
// below, "<id> Caption" for a file entry. Any entry whose flags are not the
// ones the folder menus use (0x410 submenu, 0x400 file) shows its flags.
void Render(const FakeWindows& api, HMENU menu, const std::string& indent,
            std::vector<std::string>& lines) {
  for (const testing::FakeMenuItem& item : api.Menu(menu).items) {
    if (item.flags == (MF_BYPOSITION | MF_POPUP)) {
      lines.push_back(indent + "> " + item.text);
      Render(api, item.id, indent + "  ", lines);
    } else if (item.flags == MF_BYPOSITION) {
      lines.push_back(indent + std::to_string(item.id) + " " + item.text);
    } else {
      char flags[16];
      std::snprintf(flags, sizeof flags, "%#x", item.flags);
      lines.push_back(indent + "flags=" + flags + " " + item.text);
    }
  }
}

std::vector<std::string> Render(const FakeWindows& api, HMENU menu) {
  std::vector<std::string> lines;
  Render(api, menu, "", lines);
  return lines;
}

const std::string kLongFolder = "Long" + std::string(56, 'o');  // 60 characters
const std::string k49 = std::string(49, 'n');
const std::string k50 = std::string(50, 'f');

// A games folder with plain and excluded subfolders at several depths,
// listed in an order that mixes files and folders.
const std::pair<std::string, DWORD> kGamesTree[] = {
    {"", 0x10},
    {"\\Chess.lnk", 0x20},
    {"\\Action", 0x10},
    {"\\Action\\Quake.lnk", 0x20},
    {"\\Action\\Deep", 0x10},
    {"\\Action\\Deep\\Doom.lnk", 0x20},
    {"\\Action\\a.b", 0x20},
    {"\\Hidden", 0x12},
    {"\\Hidden\\Secret.lnk", 0x20},
    {"\\ReadOnly", 0x11},
    {"\\ReadOnly\\Custom.lnk", 0x20},
    {"\\Junction", 0x410},
    {"\\Junction\\Linked.lnk", 0x20},
    {"\\Archived", 0x30},
    {"\\Archived\\Old.lnk", 0x20},
    {"\\" + kLongFolder, 0x10},
    {"\\" + kLongFolder + "\\Inner.lnk", 0x20},
    {"\\desktop.ini", 0x26},  // hidden, system, archive
    {"\\a.b", 0x20},
    {"\\ab.c", 0x20},
    {"\\notes.html", 0x20},
    {"\\" + k49 + ".lnk", 0x20},
    {"\\" + k50 + ".lnk", 0x20},
    {"\\Empty", 0x10},
};

struct DirectMenu {
  FakeWindows api;
  FolderMenuState state;
  FolderMenuContext context{api, state, "C:\\Ludora", nullptr};
  const std::string games = "C:\\Ludora\\games";
  DirectMenu() {
    for (const auto& [path, attributes] : kGamesTree) api.AddFile(games + path, "", attributes);
  }
};

TEST(FolderMenu, BuildsTheTreeDepthFirstWithShortenedCaptions) {
  DirectMenu m;
  std::vector<std::string> shown;
  m.api.onProcessMessages = [&] { m.api.cursor = {500, 400}; };  // the mouse moves on
  m.api.onTrackPopupMenu = [&](HMENU menu) {
    shown = Render(m.api, menu);
    return 0u;
  };
  ShowFolderMenu(m.context, 0x3003, kGamesFolderSelector);

  // Folders first, then files, at every depth; a subfolder's whole subtree
  // is numbered before its parent's files; a.b has no entry but its id.
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "> Action",
                       "  > Deep",
                       "    1101 Doom",
                       "  1102 Quake",
                       "> " + kLongFolder.substr(0, 47) + "...",
                       "  1104 Inner",
                       "> Empty",
                       "1105 Chess",
                       "1106 desktop",
                       "1108 ",
                       "1109 notes.",
                       "1110 " + k49,
                       "1111 " + k50.substr(0, 47) + "...",
                   }));
  const std::string g = m.games + "\\";
  EXPECT_EQ(m.state.items,
            (std::vector<std::string>{g + "Action\\Deep\\Doom.lnk", g + "Action\\Quake.lnk",
                                      g + "Action\\a.b", g + kLongFolder + "\\Inner.lnk",
                                      g + "Chess.lnk", g + "desktop.ini", g + "a.b", g + "ab.c",
                                      g + "notes.html", g + k49 + ".lnk", g + k50 + ".lnk"}));
  EXPECT_EQ(m.state.rootPath, g);

  // One message pass per listed folder (root, Action, Deep, the long one,
  // Empty); tracked at the position read before the scan; then everything
  // is destroyed and nothing started.
  EXPECT_EQ(m.api.messagePasses, 5);
  EXPECT_EQ(m.api.log.back(), "track 120,11 flags=0x180");
  EXPECT_EQ(m.api.menus.size(), 5u);
  for (const auto& [menu, state] : m.api.menus) EXPECT_TRUE(state.destroyed) << menu;
  EXPECT_TRUE(m.api.Effects("open ").empty());
  EXPECT_TRUE(m.api.Effects("reg ").empty());
  EXPECT_EQ(m.api.openFinds, 0);
}

TEST(FolderMenu, APickOpensTheFileOfItsOwnEntry) {
  const std::string g = "C:\\Ludora\\games\\";
  const struct {
    std::vector<std::string> captions;
    std::string file;
  } cases[] = {
      {{"Action", "Deep", "Doom"}, g + "Action\\Deep\\Doom.lnk"},
      {{kLongFolder.substr(0, 47) + "...", "Inner"}, g + kLongFolder + "\\Inner.lnk"},
      {{""}, g + "ab.c"},
      {{k50.substr(0, 47) + "..."}, g + k50 + ".lnk"},
  };
  for (const auto& c : cases) {
    DirectMenu m;
    m.api.onTrackPopupMenu = [&](HMENU menu) { return m.api.FindCommand(menu, c.captions); };
    ShowFolderMenu(m.context, 0x3003, kGamesFolderSelector);
    EXPECT_EQ(m.api.Effects("open "), std::vector<std::string>{"open " + c.file}) << c.file;
  }
}

TEST(FolderMenu, EachHotSpotListsItsOwnFolderAndOtherwiseAnEmptyMenu) {
  const std::string folders[] = {"C:\\ProgramData\\Start Menu\\Programs",
                                 "C:\\Users\\Player\\Desktop",
                                 "C:\\Program Files\\Corvane Ludora\\games"};
  const struct {
    const char* label;
    int missing;  // a special folder that cannot be resolved, or 99: no games folder
    std::vector<std::string> shown;
    int messagePasses;
  } cases[] = {
      {"Label1", 0, {"1101 Paint"}, 1},
      {"Label5", 0, {"1101 Mail"}, 1},
      {"Label2", 0, {"1101 Chess"}, 1},
      {"Label2", 99, {}, 1},
      // Never a scan of the drive's root instead: nothing is listed at all.
      {"Label1", 23, {}, 0},
      {"Label5", 16, {}, 0},
  };
  for (const auto& c : cases) {
    FakeShell shell;
    for (const std::string& folder : folders) shell.api.AddFolder(folder);
    shell.api.AddFile(folders[0] + "\\Paint.lnk");
    shell.api.AddFile(folders[1] + "\\Mail.lnk");
    shell.api.AddFile(folders[2] + "\\Chess.lnk");
    if (c.missing == 99) shell.api.RemoveFile(folders[2]);
    shell.api.specialFolders.erase(c.missing);
    shell.form3.Load();
    std::vector<std::string> shown = {"not tracked"};
    shell.api.onTrackPopupMenu = [&](HMENU menu) {
      shown = Render(shell.api, menu);
      return shown.empty() ? 0u : kFirstFileItemId;  // the first entry, if any
    };
    shell.form3.LabelClick(c.label);
    EXPECT_EQ(shown, c.shown) << c.label << " " << c.missing;
    EXPECT_EQ(shell.api.messagePasses, c.messagePasses) << c.label << " " << c.missing;
    EXPECT_EQ(shell.api.Effects("open ").size(), c.shown.size()) << c.label << " " << c.missing;
  }
}

const std::string kChess = "C:\\Program Files\\Corvane Ludora\\games\\Chess.lnk";
const std::string kRedirect =
    "reg HKCR\\exefile\\shell\\open\\Command [] REG_SZ "
    "\"C:\\Program Files\\Corvane Ludora\\sparkrun.exe\" \"%1\"";
const std::string kDefault = "reg HKCR\\exefile\\shell\\open\\Command [] REG_SZ \"%1\" %*";

TEST(FolderMenu, LaunchFollowsThePerformanceMode) {
  using Modes = std::vector<void (Form1::*)()>;
  enum Pick { Chess, Vanished, Escape };
  const struct {
    const char* name;
    Modes modes;
    Pick pick;
    bool openCommandRefused;
    std::vector<std::string> log;
  } cases[] = {
      {"normal", {}, Chess, false, {"file-open " + kChess, "open " + kChess, kDefault}},
      {"high",
       {&Form1::mnuhigh_Click},
       Chess,
       false,
       {"file-open " + kChess, kRedirect, "open " + kChess, kDefault}},
      {"real-time",
       {&Form1::mnurealtime_Click},
       Chess,
       false,
       {"file-open " + kChess, kRedirect, "open " + kChess, kDefault}},
      {"high, then normal again",
       {&Form1::mnuhigh_Click, &Form1::mnunormal_Click},
       Chess,
       false,
       {"file-open " + kChess, "open " + kChess, kDefault}},
      {"high, file gone by the pick",
       {&Form1::mnuhigh_Click},
       Vanished,
       false,
       {"file-open " + kChess}},
      {"high, dismissed", {&Form1::mnuhigh_Click}, Escape, false, {}},
      // A classes root that refuses the write does not stop the launch.
      {"high, open command refused",
       {&Form1::mnuhigh_Click},
       Chess,
       true,
       {"file-open " + kChess, "open " + kChess}},
  };
  for (const auto& c : cases) {
    FakeShell shell;
    shell.api.AddFolder("C:\\Program Files\\Corvane Ludora\\games");
    shell.api.AddFile(kChess);
    shell.form3.Load();
    for (auto mode : c.modes) (shell.program.form1().*mode)();
    if (c.openCommandRefused) shell.api.refusedKeys = {"HKCR\\exefile"};
    const std::size_t mark = shell.api.log.size();
    shell.api.onTrackPopupMenu = [&](HMENU menu) -> UINT {
      if (c.pick == Escape) return 0;
      if (c.pick == Vanished) shell.api.RemoveFile(kChess);
      return shell.api.FindCommand(menu, {"Chess"});
    };
    shell.form3.LabelClick("Label2");

    std::vector<std::string> expected = {"track 120,11 flags=0x180"};
    expected.insert(expected.end(), c.log.begin(), c.log.end());
    expected.push_back("view move 0,0");
    EXPECT_EQ(shell.LogSince(mark), expected) << c.name;
    if (!c.openCommandRefused) {
      EXPECT_EQ(shell.api.Value("HKCR\\exefile\\shell\\open\\Command", "")->AsString(), "\"%1\" %*")
          << c.name;
    }
  }
}

TEST(FolderMenu, ClicksDuringTheScanAreIgnoredAndTheBuildKeepsItsItems) {
  FakeShell shell;
  const std::string games = "C:\\Program Files\\Corvane Ludora\\games";
  shell.api.AddFolder(games);
  shell.api.AddFolder(games + "\\Sub");
  shell.api.AddFile(games + "\\Sub\\Inner.lnk");
  shell.api.AddFile(kChess);
  shell.api.AddFolder("C:\\ProgramData\\Start Menu\\Programs");
  shell.api.AddFile("C:\\ProgramData\\Start Menu\\Programs\\Paint.lnk");
  shell.form3.Load();
  shell.program.form1().mnuhigh_Click();
  const std::size_t mark = shell.api.log.size();

  int passes = 0;
  shell.api.onProcessMessages = [&] {
    if (++passes > 2) return;  // a fault here would otherwise recurse without end
    for (const char* label : {"Label1", "Label2", "Label3", "Label5", "Label6"}) {
      shell.form3.LabelClick(label);
    }
    // The build's own guard too, for callers other than the bar.
    FolderMenuContext inner{shell.api, shell.program.folderMenu, "C:\\Elsewhere", nullptr};
    ShowFolderMenu(inner, 0x3003, 23);
  };
  shell.api.onTrackPopupMenu = [&](HMENU menu) { return shell.api.FindCommand(menu, {"Chess"}); };
  shell.form3.LabelClick("Label2");

  EXPECT_EQ(passes, 2);  // the games folder and Sub, nothing else
  EXPECT_EQ(shell.LogSince(mark),
            (std::vector<std::string>{"track 120,11 flags=0x180", "file-open " + kChess, kRedirect,
                                      "open " + kChess, kDefault, "view move 0,0"}));
  EXPECT_FALSE(shell.program.folderMenu.busy);

  // Once the menu is gone, the next click is served again.
  shell.api.onProcessMessages = nullptr;
  shell.form3.LabelClick("Label1");
  EXPECT_EQ(shell.api.log.back(), "view move 0,0");
  EXPECT_EQ(shell.api.Effects("track ").size(), 2u);
}

}  // namespace
}  // namespace ludora
