// wayview.exe: typed addresses, the typed list shared with Internet Explorer,
// favourites as .url files and their menu, and the frame's state as the
// control's events and the user drive it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "fake/test_support.h"
#include "fake/wayview_view.h"
#include "wayview/address.h"
#include "wayview/frame.h"
#include "platform/settings_file.h"
#include "wayview/typed_urls.h"

namespace ludora::wayview {
namespace {

using namespace testing;

const std::string kFavorites = "C:\\Users\\Player\\Favorites";
const std::string kTypedKey = std::string("HKCU\\") + kTypedUrlsKey;
const std::string kStartPage = "file:///C:/Program%20Files/Corvane%20Ludora/webgames.html";

// What the user typed, and what opens (or a piece of the refusal's text).
TEST(Address, TypedTextBecomesAnAddressOrIsRefused) {
  const std::vector<std::string> history = {"HTTP://www.QuakeWorld.nu/forum/"};
  const std::pair<std::string, std::string> opened[] = {
      {"example.com", "http://example.com/"},
      {"  Example.COM/Maps And Mods \r\n", "http://example.com/Maps%20And%20Mods"},
      {"www.example.com:8080/a?b#c", "http://www.example.com:8080/a?b#c"},
      {"example.com?q=1", "http://example.com/?q=1"},
      {"ftp.gnu.org/gnu", "ftp://ftp.gnu.org/gnu"},
      {"localhost", "http://localhost/"},
      {"127.0.0.1:8000/x.html", "http://127.0.0.1:8000/x.html"},
      {"HTTPS://Example.com", "https://example.com/"},
      {"http://Player@Example.com", "http://Player@example.com/"},
      {"http://exa\r\nmple.com/\tpatch", "http://example.com/patch"},  // pasted over lines
      {"C:\\Games\\start page #1.html", "file:///C:/Games/start%20page%20%231.html"},
      {"\\\\server\\share\\a.html", "file://server/share/a.html"},
      {"about:blank", "about:blank"},
      {"file:///C:/x.html", "file:///C:/x.html"},
      {"quake", "http://www.quakeworld.nu/forum/"},  // a bare word, from history, normalised
  };
  for (const auto& [typed, address] : opened) {
    const Normalised result = NormaliseAddress(typed, history);
    EXPECT_EQ(result.outcome, Normalised::Go) << typed << ": " << result.message;
    EXPECT_EQ(result.address, address) << typed;
  }
  const std::pair<std::string, std::string> refused[] = {
      {"javascript:alert(1)", "\"javascript:\""},
      {"view-source:http://example.com/", "\"view-source:\""},
      {"Gopher://example.com/", "\"gopher:\""},
      {"doom", "\"doom\" is not a web address"},
      {"counter strike", "is not a web address"},
      {"http://", "not a web address"},
      {"http://exa mple.com/", "not a web address"},
      {"example..com", "not a web address"},
      {std::string("exa\x01mple.com"), "not a web address"},
      {"http://example.com/\x7F", "not a web address"},
      {"example.com/" + std::string(2072, 'a'), "2083"},  // one past the longest
  };
  for (const auto& [typed, message] : refused) {
    const Normalised result = NormaliseAddress(typed, history);
    EXPECT_EQ(result.outcome, Normalised::Refused) << typed << ": " << result.address;
    EXPECT_NE(result.message.find(message), std::string::npos) << typed << ": " << result.message;
  }
  EXPECT_EQ(NormaliseAddress(" \t\r\n ", history).outcome, Normalised::Empty);
  EXPECT_EQ(NormaliseAddress("", history).outcome, Normalised::Empty);
  const std::string longest = "http://example.com/" + std::string(2064, 'a');
  EXPECT_EQ(NormaliseAddress(longest, {}).address, longest);
  // 100 KB pasted: refused, and in the time a short address takes.
  const Normalised pasted =
      NormaliseAddress("http://example.com/" + std::string(100 << 10, 'x'), {});
  EXPECT_EQ(pasted.outcome, Normalised::Refused);
}

TEST(Address, CompletionContinuesWhatWasTypedFromTheLatestMatch) {
  const std::vector<std::string> history = {"http://www.example.com/maps/", "https://example.org/"};
  EXPECT_EQ(CompleteAddress("exa", history), "example.com/maps/");
  EXPECT_EQ(CompleteAddress("EXAMPLE.O", history), "EXAMPLE.Org/");
  EXPECT_EQ(CompleteAddress("www.ex", history), "www.example.com/maps/");
  EXPECT_EQ(CompleteAddress("http://w", history), "http://www.example.com/maps/");
  EXPECT_EQ(CompleteAddress("examples", history), std::nullopt);
  EXPECT_EQ(CompleteAddress("", history), std::nullopt);
}

TEST(TypedUrls, DamagedValuesArePassedOverAndTheListStaysTwentyFiveLatestFirst) {
  FakeWindows api;
  api.SetValue(kTypedKey, "url1", REG_SZ, SzBytes("http://a.example/"));
  api.SetValue(kTypedKey, "url2", REG_BINARY, Bytes("http://binary.example/"));
  api.SetValue(kTypedKey, "url3", REG_SZ, SzBytes("http://x/" + std::string(3000, 'x')));
  api.SetValue(kTypedKey, "url5", REG_EXPAND_SZ,
               Bytes("http://b.example/"));  // no NUL, after a gap
  api.SetValue(kTypedKey, "url6", REG_SZ, SzBytes("http://a.example/"));
  api.SetValue(kTypedKey, "url7", REG_SZ, SzBytes("http://c.example/\r\nevil"));
  api.SetValue(kTypedKey, "url30", REG_SZ, SzBytes("http://beyond.example/"));
  EXPECT_EQ(ReadTypedUrls(api),
            (std::vector<std::string>{"http://a.example/", "http://b.example/"}));

  ASSERT_TRUE(RememberTypedUrl(api, "http://b.example/"));
  EXPECT_EQ(api.Value(kTypedKey, "url1"), "REG_SZ http://b.example/");
  EXPECT_EQ(api.Value(kTypedKey, "url2"), "REG_SZ http://a.example/");
  for (const char* gone : {"url3", "url5", "url6", "url7"})
    EXPECT_FALSE(api.Value(kTypedKey, gone));
  for (int n = 0; n < 30; ++n) RememberTypedUrl(api, "http://" + std::to_string(n) + ".example/");
  const std::vector<std::string> urls = ReadTypedUrls(api);
  ASSERT_EQ(urls.size(), 25u);
  EXPECT_EQ(urls.front(), "http://29.example/");
  EXPECT_EQ(urls.back(), "http://5.example/");
  api.failing = {Op::RegCreateKeyExA};
  EXPECT_FALSE(RememberTypedUrl(api, "http://late.example/"));
}

TEST(Favorites, UrlFilesAreReadAsInternetExplorerWritesThemWithinBoundedMemory) {
  FakeWindows api;
  const std::pair<std::string, std::optional<std::string>> files[] = {
      {"[DEFAULT]\r\nBASEURL=http://base/\r\n[InternetShortcut]\r\nURL=http://quake/"
       "\r\nIconIndex=1\r\n",
       "http://quake/"},
      {"[internetshortcut]\nIconFile=x\n url = http://lf/ \n", "http://lf/"},
      {"[Other]\r\nURL=http://wrong/\r\n", std::nullopt},
      {"URL=http://no-section/\r\n", std::nullopt},
      {std::string("[InternetShortcut]\0\r\nURL=http://after-nul/", 42), std::nullopt},
      {std::string(70000, ';') + "\r\n[InternetShortcut]\r\nURL=http://far/\r\n", std::nullopt},
  };
  api.readPiece = 7;
  for (const auto& [content, address] : files) {
    api.AddFile("C:\\f.url", content);
    api.bytesRead = 0;
    EXPECT_EQ(FavoriteAddress(api, "C:\\f.url"), address) << content.substr(0, 40);
    EXPECT_LE(api.bytesRead, kMaxShortcutBytes);
    api.RemoveFile("C:\\f.url");
  }
  EXPECT_EQ(FavoriteAddress(api, "C:\\none.url"), std::nullopt);
  EXPECT_EQ(api.Live(Kind::File), 0);
}

TEST(Favorites, AddingWritesAFileInternetExplorerReadsAndNeverOverwritesAnother) {
  FakeWindows api;
  api.AddFolder(kFavorites);
  EXPECT_EQ(AddFavorite(api, kFavorites, "Maps: A/B?", "http://maps.example/"), "Maps_ A_B_");
  EXPECT_EQ(api.files.back().path, kFavorites + "\\Maps_ A_B_.url");
  EXPECT_EQ(api.files.back().content, "[InternetShortcut]\r\nURL=http://maps.example/\r\n");
  EXPECT_EQ(AddFavorite(api, kFavorites, "Maps: A/B?", "http://maps.example/"), "Maps_ A_B_");
  EXPECT_EQ(AddFavorite(api, kFavorites, "Maps: A/B?", "http://other.example/"), "Maps_ A_B_ (2)");
  EXPECT_EQ(AddFavorite(api, kFavorites, " ", "http://example.com:81/dl/"), "example.com_81_dl");
  EXPECT_EQ(api.files.size(), 4u);
  // Names Windows would take for a device (a read of COM1 blocks) get a prefix; what no
  // name may hold becomes '_'.
  for (const auto& [title, name] : {std::pair{"com1", "Page com1"},
                                    {"LPT9.txt", "Page LPT9.txt"},
                                    {"Aux .x", "Page Aux .x"},
                                    {"nul", "Page nul"},
                                    {"COM10", "COM10"},
                                    {"COM0", "COM0"},
                                    {"Console", "Console"},
                                    {"Tab\tand\nline", "Tab_and_line"}}) {
    EXPECT_EQ(AddFavorite(api, kFavorites, title, "http://device.example/"), name);
    api.RemoveFile(kFavorites + "\\" + name + ".url");
  }
  // A double-byte character's second byte may be a '\\' or '|': it stays whole. A lead byte
  // without its second byte, at the end, would take the '.' of ".url" for one.
  api.leadBytes = {0x95};
  EXPECT_EQ(AddFavorite(api, kFavorites, "\x95\x5C|\x95", "http://sjis.example/"), "\x95\x5C_");
  EXPECT_EQ(AddFavorite(api, kFavorites, "\x95\x5C|\x95.", "http://sjis.example/"), "\x95\x5C_");
  api.RemoveFile(kFavorites + "\\\x95\x5C_.url");
  api.leadBytes.clear();
  api.failing = {Op::WriteFile};
  EXPECT_EQ(AddFavorite(api, kFavorites, "Lost", "http://lost.example/"), std::nullopt);
  EXPECT_EQ(api.files.size(), 4u);  // nothing half-written left behind
}

TEST(Frames, APagesWindowOpenLoopIsRefusedPastTheCap) {
  FakeWindows api;
  Program program(api);
  for (std::size_t open = 0; open < kMaxFrames; ++open) ASSERT_TRUE(program.FrameOpens());
  EXPECT_FALSE(program.FrameOpens());
  program.FrameCloses();
  EXPECT_TRUE(program.FrameOpens());
}

TEST(Favorites, MenuListsFoldersThenPagesEachFolderWhenItOpensCapped) {
  FakeWindows api;
  api.AddFolder(kFavorites);
  api.AddFile(kFavorites + "\\b & c.url", "[InternetShortcut]\r\nURL=http://b/\r\n");
  api.AddFile(kFavorites + "\\A.url", "[InternetShortcut]\r\nURL=http://a/\r\n");
  api.AddFile(kFavorites + "\\readme.txt");
  api.AddFile(kFavorites + "\\hidden.url", "", 0x22);
  api.AddFolder(kFavorites + "\\Games");
  api.AddFile(kFavorites + "\\Games\\" + std::string(90, 'Q') + ".url");
  api.AddFolder(kFavorites + "\\Empty");
  FavoritesMenu menu(api);
  const HMENU root = api.CreatePopupMenu();
  menu.OpenRoot(root, kFavorites);
  const auto& items = api.Menu(root);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_TRUE(items[0].text == "Empty" && items[1].text == "Games" && (items[1].flags & MF_POPUP));
  EXPECT_EQ(items[2].text, "A");
  EXPECT_EQ(items[3].text, "b && c");
  EXPECT_EQ(menu.FileOf(static_cast<UINT>(items[3].id)), kFavorites + "\\b & c.url");
  EXPECT_TRUE(api.Menu(items[1].id).empty());  // listed when it opens
  ASSERT_TRUE(menu.OpenSubmenu(items[1].id));
  EXPECT_EQ(api.Menu(items[1].id)[0].text, std::string(61, 'Q') + "...");
  EXPECT_FALSE(menu.OpenSubmenu(items[1].id));
  menu.OpenSubmenu(items[0].id);
  EXPECT_TRUE(api.Menu(items[0].id)[0].text == "(Empty)" &&
              (api.Menu(items[0].id)[0].flags & MF_GRAYED));
  EXPECT_EQ(menu.FileOf(0x4000 + 3), std::nullopt);  // one past the pages listed

  for (int n = 0; n < 3000; ++n) api.AddFile(kFavorites + "\\Games\\" + std::to_string(n) + ".url");
  const HMENU again = api.CreatePopupMenu();
  menu.OpenRoot(again, kFavorites);  // the ids of the last opening are forgotten
  EXPECT_EQ(menu.FileOf(static_cast<UINT>(items[3].id)), kFavorites + "\\b & c.url");
  menu.OpenSubmenu(api.Menu(again)[1].id);
  const auto& games = api.Menu(api.Menu(again)[1].id);
  EXPECT_EQ(games.size(), FavoritesMenu::kMaxFolderEntries + 1);
  EXPECT_TRUE(games.back().text.starts_with("(More") && (games.back().flags & MF_GRAYED));
}

struct Browsing : ::testing::Test {
  // The user's folders, before the program asks for them.
  static FakeWindows& Folders(FakeWindows& api) {
    api.specialFolders[6] = kFavorites;
    api.specialFolders[26] = "C:\\Users\\Player\\Application Data";
    api.AddFolder(kFavorites);
    return api;
  }
  FakeWindows api;
  FakeFrameView view;
  Program program{Folders(api)};
  Frame frame{program, view};
};

TEST_F(Browsing, EventsDriveTheButtonsCaptionAndProgressAndFailuresShowOurNotice) {
  frame.Start("");
  EXPECT_EQ(view.actions, Log{"navigate " + kStartPage});
  EXPECT_TRUE(view.enabled[Command::Home] && !view.enabled[Command::Back] &&
              !view.enabled[Command::Stop]);
  frame.BeforeNavigate("http://quake.example/", true);
  frame.BeforeNavigate("http://ads.example/frame.html", false);  // a frame of the page
  frame.NavigateComplete("http://ads.example/frame.html", false);
  EXPECT_TRUE(view.address == "http://quake.example/" && view.enabled[Command::Stop]);
  EXPECT_EQ(view.caption, "http://quake.example/ - Wayview");
  frame.TitleChange("Quake Maps");
  frame.ProgressChange(50, 200);
  frame.CommandStateChange(Frame::kNavigateBack, true);
  frame.CommandStateChange(-1, false);  // CSC_UPDATECOMMANDS: none of the buttons
  EXPECT_TRUE(view.caption == "Quake Maps - Wayview" && view.progress == 25);
  EXPECT_TRUE(view.enabled[Command::Back] && !view.enabled[Command::Forward]);
  frame.ProgressChange(300, 200);
  EXPECT_EQ(view.progress, 100);
  frame.DocumentComplete(false);
  EXPECT_TRUE(view.enabled[Command::Stop]);
  frame.DocumentComplete(true);
  EXPECT_TRUE(!view.enabled[Command::Stop] && view.progress == -1);

  // The server's own error page is the control's; a transfer that failed is ours.
  EXPECT_FALSE(frame.NavigateError("http://quake.example/gone", 404, true));
  EXPECT_FALSE(frame.NavigateError("http://ads.example/", static_cast<LONG>(0x800C0005), false));
  EXPECT_FALSE(view.notice);
  EXPECT_TRUE(frame.NavigateError("http://127.0.0.1:9/", static_cast<LONG>(0x800C0004), true));
  ASSERT_TRUE(view.notice);
  EXPECT_TRUE(view.notice->address == "http://127.0.0.1:9/" && view.notice->retry);
  EXPECT_NE(view.notice->detail.find("refused"), std::string::npos);
  EXPECT_EQ(view.caption, "This page could not be opened - Wayview");
  EXPECT_NE(ErrorNotice("x", static_cast<LONG>(0x800C0FFF)).detail.find("0x800C0FFF"),
            std::string::npos);
  // Refresh opens the address that failed again, not the page before it.
  view.actions.clear();
  frame.Run(Command::Refresh);
  frame.BeforeNavigate("http://127.0.0.1:9/", true);
  EXPECT_EQ(view.actions, Log{"navigate http://127.0.0.1:9/"});
  EXPECT_FALSE(view.notice);
  // Internet Explorer 5 has no NavigateError: its own error page names the address.
  EXPECT_FALSE(frame.BeforeNavigate("res://shdoclc.dll/about.htm#http://x/", true));
  EXPECT_FALSE(frame.BeforeNavigate("http://x.example/shdoclc.dll/dnserror.htm#http://y/", true));
  EXPECT_TRUE(frame.BeforeNavigate("res://ieframe.dll/navcancl.htm#http://z/", true));
  EXPECT_NE(view.notice->detail.find("refused"), std::string::npos);
  EXPECT_TRUE(frame.BeforeNavigate(
      "res://C:\\WINDOWS\\SYSTEM\\SHDOCLC.DLL/dnserror.htm#http://gone/", true));
  EXPECT_TRUE(view.notice->address == "http://gone/" && view.address == "http://gone/");
  EXPECT_NE(view.notice->detail.find("could not be found"), std::string::npos);
}

TEST_F(Browsing, TypedAddressesAreRememberedOrRefusedWithoutAnyRequest) {
  frame.Start("");
  view.actions.clear();
  frame.AddressEntered("javascript:alert(document.cookie)");
  frame.AddressEntered("   ");
  EXPECT_EQ(view.actions, Log{"focus-address"});
  EXPECT_EQ(api.Effects("msgbox").size(), 1u);
  EXPECT_EQ(api.Effects("msgbox")[0].find("msgbox Wayview | Wayview opens web"), 0u);
  EXPECT_FALSE(api.keys.contains(Lower(kTypedKey)));
  frame.AddressEntered("Example.com/Patch");
  EXPECT_EQ(view.actions.back(), "navigate http://example.com/Patch");
  EXPECT_EQ(api.Value(kTypedKey, "url1"), "REG_SZ http://example.com/Patch");
  frame.AddressEntered("exam");  // a bare word the list completes
  EXPECT_EQ(view.actions.back(), "navigate http://example.com/Patch");
}

// The typed list is any program's to write, and the control's own error page
// names any address after its '#': neither reaches the control unchecked.
TEST_F(Browsing, EveryAddressThatReachesTheControlPassesTheBoxsCheck) {
  api.SetValue(kTypedKey, "url1", REG_SZ, SzBytes("javascript:alert(document.cookie)"));
  api.SetValue(kTypedKey, "url2", REG_SZ, SzBytes("http://java.example/"));
  frame.Start("");
  EXPECT_EQ(CompleteAddress("java", ReadTypedUrls(api)), "java.example/");
  view.actions.clear();
  frame.AddressEntered("java");
  EXPECT_EQ(view.actions, Log{"navigate http://java.example/"});
  EXPECT_TRUE(frame.BeforeNavigate("res://shdoclc.dll/dnserror.htm#javascript:alert(1)", true));
  ASSERT_TRUE(view.notice && view.notice->retry);
  view.actions.clear();
  frame.Run(Command::Retry);
  frame.Run(Command::Refresh);
  EXPECT_EQ(view.actions, Log{});
  EXPECT_EQ(api.Effects("msgbox").size(), 2u);
}

// A message box's loop dispatches what comes meanwhile: a WM_CLOSE (a page's
// window.close(), the shell closing its companions) ends the window, and its
// frame with it, before the box returns.
TEST_F(Browsing, AFrameEndedWhileItsMessageBoxIsOpenIsNotTouchedAfter) {
  const std::function<void(Frame&)> boxes[] = {
      [](Frame& frame) { frame.AddressEntered("javascript:alert(1)"); },
      [](Frame& frame) { frame.PageClosesWindow(false); },
  };
  api.messageBoxAnswer = 6;  // IDYES
  for (const auto& box : boxes) {
    auto ending = std::make_unique<Frame>(program, view);
    Frame& held = *ending;
    api.onMessageBox = [&] { ending.reset(); };
    box(held);
    EXPECT_EQ(view.actions, Log{});
  }
  // Otherwise the page's window closes when a script opened it, or the user says so.
  api.onMessageBox = nullptr;
  frame.PageClosesWindow(true);
  EXPECT_EQ(api.Effects("msgbox").size(), 2u);
  api.messageBoxAnswer = 7;  // IDNO
  frame.PageClosesWindow(false);
  EXPECT_EQ(view.actions, Log{"close"});
}

TEST_F(Browsing, WithoutTheControlTheFrameSaysSoAndOffersTheDefaultBrowser) {
  view.hasControl = false;
  frame.Start("http://example.com/");
  ASSERT_TRUE(view.notice);
  EXPECT_TRUE(view.notice->openElsewhere && !view.notice->retry);
  EXPECT_EQ(view.notice->address, "http://example.com/");
  frame.Run(Command::OpenElsewhere);
  // An address from a favourite or the command line hands the browser no arguments of its own.
  frame.Start("http://example.com/\" -new-window");
  frame.Run(Command::OpenElsewhere);
  EXPECT_EQ(api.Effects("open"), (Log{"open http://example.com/ verb=open",
                                      "open http://example.com/%22%20-new-window verb=open"}));
  // A page's redirect to a program on the disk never reaches the default browser.
  frame.NavigateComplete("file:///C:/WINDOWS/evil.exe", true);
  frame.Run(Command::OpenElsewhere);
  EXPECT_EQ(api.Effects("open").size(), 2u);
}

TEST_F(Browsing, FavoritesAndTheHomePageAreKeptInTheUsersFiles) {
  frame.Start("http://quake.example/");
  frame.BeforeNavigate("http://quake.example/", true);
  frame.TitleChange("Quake");
  frame.Run(Command::AddFavorite);
  EXPECT_EQ(view.status, "Added to Favorites: Quake");
  const HMENU menu = api.CreatePopupMenu();
  frame.FavoritesOpen(menu);
  frame.FavoritePicked(static_cast<UINT>(api.Menu(menu).at(0).id));
  EXPECT_EQ(view.actions.back(), "navigate http://quake.example/");

  frame.Run(Command::SetHome);
  const std::string settings = "C:\\Users\\Player\\Application Data\\Corvane\\Ludora\\wayview.ini";
  EXPECT_EQ(api.Effects("file-replace").back(), "file-replace " + settings + ".new -> " + settings);
  EXPECT_EQ(Program(api).Home(), "http://quake.example/");  // the next start reads it back
  Program(api).SetHome("");
  EXPECT_EQ(Program(api).Home(), kStartPage);
  // A settings file damaged, or naming what the address box would refuse: the start page.
  for (const std::string& bad :
       {std::string("[Wayview]\r\nHome=javascript:evil()\r\n"), std::string(50000, '\0')}) {
    api.RemoveFile(settings);
    api.AddFile(settings, bad);
    EXPECT_EQ(Program(api).Home(), kStartPage);
  }
  // A long title is cut for the caption, never inside a double-byte character.
  api.leadBytes = {0x95};
  frame.TitleChange(std::string(199, 'Q') + "\x95\x5C");
  EXPECT_EQ(view.caption, std::string(199, 'Q') + " - Wayview");
}

TEST(Keys, TheFramesKeysAndNoneOfThePagesOrTheBoxsOwn) {
  constexpr UINT kLeft = 0x25, kRight = 0x27, kBack = 0x08, kTab = 0x09;
  const std::tuple<UINT, bool, bool, Command> keys[] = {
      {0x74, false, false, Command::Refresh},    {0x1B, false, false, Command::Stop},
      {kLeft, false, true, Command::Back},       {kRight, false, true, Command::Forward},
      {'L', true, false, Command::FocusAddress}, {0x75, false, false, Command::FocusAddress},
      {'D', true, false, Command::AddFavorite},  {'N', true, false, Command::NewWindow},
      {'W', true, false, Command::Close},        {0x7A, false, false, Command::FullScreen},
      {kLeft, false, false, Command::None},      {kBack, false, false, Command::None},
      {kTab, false, false, Command::None},       {'C', true, false, Command::None},
      {'V', true, false, Command::None},         {kLeft, true, false, Command::None},
      {0x24, false, true, Command::Home},        {'D', false, true, Command::FocusAddress},
      {0xA6, false, false, Command::Back},       {0xAC, false, false, Command::Home},
  };
  for (const auto& [key, ctrl, alt, command] : keys) {
    EXPECT_EQ(CommandOfKey(key, ctrl, alt, false), command) << key << ctrl << alt;
  }
  EXPECT_EQ(CommandOfKey('D', true, false, true), Command::None);
}

}  // namespace
}  // namespace ludora::wayview
