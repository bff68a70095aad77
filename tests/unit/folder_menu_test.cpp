// The folder popup menus: how a folder tree becomes nested menus, and how a
// pick is launched in each performance mode.
#include <sstream>

#include "fake/fake_views.h"
#include "ludora/folder_menu.h"

// Out of memory on demand: allocation number `gAllocationsLeft` from now on throws.
long gAllocationsLeft = -1;
void* operator new(std::size_t size) {
  if (gAllocationsLeft >= 0 && gAllocationsLeft-- == 0) throw std::bad_alloc();
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}

namespace ludora {
namespace {

using namespace testing;

const std::string kGames = kApp + "\\games";
const std::string kChess = kGames + "\\Chess.lnk";
const std::string kTrack = "track 120,11 flags=0x180", kRead = "file-open " + kChess,
                  kOpen = "open " + kChess, kFront = "foreground", kPost = "post WM_NULL",
                  kDefault = kDefaultCommand;
const std::string kRedirect = kOpenCommand + "\"" + kApp + "\\sparkrun.exe\" \"%1\"";

// Adds the folder `root` and the entries under it, "<attributes in hex>
// <path>" each, "|" between them.
void AddTree(FakeWindows& api, const std::string& root, const std::string& entries) {
  api.AddFolder(root);
  std::istringstream list(entries);
  for (std::string entry; std::getline(list, entry, '|');)
    api.AddFile(root + "\\" + entry.substr(4), "", std::stoul(entry, nullptr, 16));
}

// "> Caption" for a submenu with its entries indented below, "<id> Caption"
// for a file entry.
void Render(const FakeWindows& api, HMENU menu, Log& lines, const std::string& indent = "") {
  for (const FakeMenuItem& item : api.Menu(menu)) {
    const bool popup = item.flags == (MF_BYPOSITION | MF_POPUP);
    EXPECT_TRUE(popup || item.flags == MF_BYPOSITION) << item.flags << " " << item.text;
    lines.push_back(indent + (popup ? ">" : std::to_string(item.id)) + " " + item.text);
    if (popup) Render(api, item.id, lines, indent + "  ");
  }
}

TEST(FolderMenu, BuildsTheTreeDepthFirstWithShortenedCaptions) {
  const std::string longFolder = "Sixty characters of a folder name, more than a menu can show";
  FakeWindows api;
  // In an order that mixes files and folders. Only a folder whose attributes
  // are exactly 0x10 is shown, with its subtree; hidden and system files are.
  AddTree(api, "C:\\Ludora\\games",
          "020 Chess.lnk|010 Action|020 Action\\Rally.lnk|010 Action\\Deep|"
          "020 Action\\Deep\\Maze.lnk|020 Action\\a.b|012 Hidden|020 Hidden\\Secret.lnk|"
          "011 ReadOnly|020 ReadOnly\\Custom.lnk|410 Junction|020 Junction\\J.lnk|030 Archived|"
          "020 Archived\\Old.lnk|010 Sixty characters of a folder name, more than a menu can show|"
          "020 Sixty characters of a folder name, more than a menu can show\\Inner.lnk|"
          "026 desktop.ini|020 a.b|020 ab.c|020 notes.html|"
          "020 Forty-nine characters of a caption, which all fit.lnk|"
          "020 Fifty characters of a caption, with the last 3 cut.lnk|010 Empty");
  FolderMenuState state;
  FolderMenuContext context{api, state, "C:\\Ludora", nullptr};
  api.onProcessMessages = [&] { api.cursor = {500, 400}; };  // the mouse moves on
  api.onTrackPopupMenu = [&](HMENU menu) {
    return api.FindCommand(menu, {longFolder.substr(0, 47) + "...", "Inner"});
  };
  ShowFolderMenu(context, 0x3003, kGamesFolderSelector);
  Log shown;
  Render(api, api.trackedMenus.at(0), shown);

  // Folders first, then files, at every depth; a subfolder's subtree is
  // numbered before its parent's files; a name under four characters keeps
  // its id but has no entry.
  EXPECT_EQ(shown, (Log{"> Action", "  > Deep", "    1101 Maze", "  1102 Rally",
                        "> Sixty characters of a folder name, more than a ...", "  1104 Inner",
                        "> Empty", "1105 Chess", "1106 desktop", "1108 ", "1109 notes.",
                        "1110 Forty-nine characters of a caption, which all fit",
                        "1111 Fifty characters of a caption, with the last 3 ..."}));
  // One message pass per listed folder; tracked where the mouse was before.
  EXPECT_EQ(api.messagePasses, 5);
  EXPECT_EQ(api.Effects("track "), Log{kTrack});
  EXPECT_EQ(api.Live(Kind::Menu) + api.Live(Kind::Find), 0);
  EXPECT_EQ(api.Effects("open "), Log{"open C:\\Ludora\\games\\" + longFolder + "\\Inner.lnk"});
}

TEST(FolderMenu, LaunchFollowsThePerformanceMode) {
  enum Pick { Chess, Refused, Vanished, Escape };  // Refused: no writes to the classes root
  using enum QuickItem;
  const struct {
    std::vector<QuickItem> modes;
    Pick pick;
    Log log;
  } cases[] = {
      {{}, Chess, {kFront, kTrack, kPost, kRead, kOpen, kDefault}},
      {{mnuhigh}, Chess, {kFront, kTrack, kPost, kRead, kRedirect, kOpen, kDefault}},
      {{mnurealtime}, Chess, {kFront, kTrack, kPost, kRead, kRedirect, kOpen, kDefault}},
      {{mnuhigh, mnunormal}, Chess, {kDefault, kFront, kTrack, kPost, kRead, kOpen, kDefault}},
      {{mnuhigh}, Refused, {kFront, kTrack, kPost, kRead, kOpen}},
      {{mnuhigh}, Vanished, {kFront, kTrack, kPost, kRead}},
      {{mnuhigh}, Escape, {kFront, kTrack, kPost}},
  };
  for (const auto& c : cases) {
    FakeShell shell;
    AddTree(shell.api, kGames, "020 Chess.lnk");
    shell.form3.Load();
    const std::size_t mark = shell.api.log.size();
    for (const QuickItem mode : c.modes) shell.Pick(mode);
    if (c.pick == Refused) shell.api.refusedKeys = {"HKCR\\exefile"};
    shell.api.onTrackPopupMenu = [&](HMENU menu) -> UINT {
      if (c.pick == Vanished) shell.api.RemoveFile(kChess);
      return c.pick == Escape ? 0 : shell.api.FindCommand(menu, {"Chess"});
    };
    shell.form3.LabelClick("Label2");
    Log log = shell.LogSince(mark);
    log.pop_back();  // the bar moved back
    EXPECT_EQ(log, c.log) << &c - cases;
  }
}

TEST(FolderMenu, HotSpotsListTheirFoldersAndIgnoreClicksDuringTheScan) {
  FakeShell shell;
  AddTree(shell.api, "C:\\ProgramData\\Start Menu\\Programs", "020 Paint.lnk");
  AddTree(shell.api, "C:\\Users\\Player\\Desktop", "020 Mail.lnk");
  AddTree(shell.api, kGames, "020 Chess.lnk");
  shell.form3.Load();
  const std::size_t mark = shell.api.log.size();
  int passes = 0;
  shell.api.onProcessMessages = [&] {
    if (++passes > 3) return;  // a fault would otherwise recurse without end
    for (const char* label : {"Label1", "Label2", "Label3", "Label5", "Label6"})
      shell.form3.LabelClick(label);
    // The build's own guard too, for callers other than the bar.
    FolderMenuContext inner{shell.api, shell.program.folderMenu, "C:\\Elsewhere", nullptr};
    ShowFolderMenu(inner, 0x3003, 23);
  };
  Log shown;
  for (const char* label : {"Label1", "Label5", "Label2"}) {
    shell.form3.LabelClick(label);
    Render(shell.api, shell.api.trackedMenus.back(), shown);
  }
  EXPECT_EQ(shown, (Log{"1101 Paint", "1101 Mail", "1101 Chess"}));
  EXPECT_EQ(passes, 3);
  // Each click tracked its menu and moved the bar back, nothing more.
  const std::string back = "view move 0,0";
  EXPECT_EQ(shell.LogSince(mark), (Log{kFront, kTrack, kPost, back, kFront, kTrack, kPost, back,
                                       kFront, kTrack, kPost, back}));
  // A folder the shell cannot resolve gives an empty menu, never a scan of
  // the drive's root instead.
  shell.api.specialFolders.erase(23);
  shell.form3.LabelClick("Label1");
  EXPECT_TRUE(shell.api.Menu(shell.api.trackedMenus.at(3)).empty());
  EXPECT_EQ(passes, 3);
}

TEST(FolderMenu, CountsCharactersOfADoubleByteCodePage) {
  FakeWindows api;
  for (unsigned byte = 0x81; byte <= 0xFC; ++byte)
    if (byte <= 0x9F || byte >= 0xE0) api.leadBytes.insert(static_cast<BYTE>(byte));
  const std::string game = "\x83\x51\x81\x5B\x83\x80";  // three characters of code page 932
  std::string thirty, fifty;
  for (int i = 0; i < 10; ++i) thirty += game;
  fifty = std::string(46, 'a') + game + "bbbbbbbbbb";  // 59 characters, a pair at 47 and 48
  AddTree(api, "C:\\L\\games",
          "010 " + thirty + "|020 " + thirty + "\\x.lnk|020 A" + game + "1|020 " + game + "|020 " +
              fifty + ".lnk");
  FolderMenuState state;
  FolderMenuContext context{api, state, "C:\\L", nullptr};
  ShowFolderMenu(context, 0x3003, kGamesFolderSelector);
  Log shown;
  Render(api, api.trackedMenus.at(0), shown);
  // Thirty characters are shown whole; "A" and three more lose those; three
  // characters are too few; no text ends in half a character.
  EXPECT_EQ(shown, (Log{"> " + thirty, "  1101 x", "1102 A",
                        "1104 " + fifty.substr(0, 46) + game.substr(0, 2) + "..."}));
}

TEST(FolderMenu, OutOfMemoryGivesASmallerMenuOrNoneAndTheShellGoesOn) {
  FakeShell shell;
  AddTree(shell.api, kGames, "010 A|020 A\\One.lnk|010 B|020 B\\Two.lnk|020 Chess.lnk");
  shell.form3.Load();
  for (long failing = 0; failing < 400; failing += 7) {
    const std::size_t tracked = shell.api.trackedMenus.size();
    gAllocationsLeft = failing;
    const auto log = shell.Click("Label2");
    gAllocationsLeft = -1;
    EXPECT_LE(shell.api.trackedMenus.size(), tracked + 1) << failing;
    EXPECT_EQ(log.back(), "view move 0,0") << failing;
    EXPECT_FALSE(shell.program.folderMenu.busy) << failing;
    EXPECT_EQ(shell.api.Live(Kind::Menu) + shell.api.Live(Kind::Find), 0);
  }
  EXPECT_EQ(shell.Click("Label2").size(), 4u);  // and the next click has its menu again
}

}  // namespace
}  // namespace ludora
