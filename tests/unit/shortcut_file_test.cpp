// The personalized shortcuts: the reader of `ludora.ini`, the items it makes
// in the quick menu, and what a click on one of them opens.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "fake/fake_views.h"
#include "launch/shortcut_file.h"
#include "platform/win_constants.h"

namespace ludora {
namespace {

using testing::FakeShell;
using namespace std::string_literals;

std::vector<std::string> AllFields(std::string_view text) {
  std::vector<std::string> fields;
  FieldReader reader(text);
  while (auto field = reader.Next()) fields.push_back(*field);
  return fields;
}

TEST(ShortcutFile, FieldsEndAtCommasAndAnyLineBreak) {
  const struct {
    std::string text;
    std::vector<std::string> fields;
  } cases[] = {
      {"", {}},
      {"\"A\",\"B\"\r\n\"C\",\"D\"\r\n", {"A", "B", "C", "D"}},
      {"A,B", {"A", "B"}},
      {"A,", {"A"}},
      {"A,,B", {"A", "", "B"}},
      {"  \t x,  \"y\"", {"x", "y"}},  // blanks before a field are skipped
      {"\"a, b\"  ,c", {"a, b", "c"}},
      {"\"a\"junk,c", {"a", "c"}},  // after the closing quote, up to the separator
      {"\"\"", {""}},
      {"\r\nA", {"", "A"}},  // an empty line is one empty field
      {"A\nB\rC\r\n\r\nD", {"A", "B", "C", "", "D"}},
      {"\r\r\n\n", {"", "", ""}},
      {"\"open, \r\nto the end", {"open, \r\nto the end"}},
      {"a\0b,c"s, {"a\0b"s, "c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(AllFields(c.text), c.fields) << c.text;
}

struct Expected {
  std::vector<std::pair<int, std::string>> items;
  std::map<int, std::string> commands;  // the slots that are not empty
};

void ExpectFile(const ShortcutFile& file, const Expected& expected, const std::string& name) {
  std::vector<std::pair<int, std::string>> items;
  for (const PersonalShortcut& item : file.items) items.emplace_back(item.index, item.caption);
  EXPECT_EQ(items, expected.items) << name;
  for (int slot = 0; slot < kMaxShortcuts; ++slot) {
    const auto command = expected.commands.find(slot);
    EXPECT_EQ(file.commands[slot], command == expected.commands.end() ? "" : command->second)
        << name << " slot " << slot;
  }
}

std::string Entries(int first, int count) {
  std::string text;
  for (int n = first; n < first + count; ++n) {
    text += "\"Game " + std::to_string(n) + "\",\"C:\\g" + std::to_string(n) + ".exe\"\r\n";
  }
  return text;
}

TEST(ShortcutFile, CaptionsAndCommandsPairUpOverTenPasses) {
  Expected ten;
  for (int n = 1; n <= 10; ++n) {
    ten.items.emplace_back(n, "Game " + std::to_string(n));
    ten.commands[n - 1] = "C:\\g" + std::to_string(n) + ".exe";
  }
  Expected afterBlankLine;
  for (int n = 1; n <= 9; ++n) {
    afterBlankLine.items.emplace_back(n + 1, "Game " + std::to_string(n));
    afterBlankLine.commands[n] = "C:\\g" + std::to_string(n) + ".exe";
  }
  const struct {
    const char* name;
    std::string text;
    Expected expected;
  } cases[] = {
      {"three lines",
       "\"Chess\",\"C:\\Games\\Chess.lnk\"\r\n\"Site\",\"http://example.com/\"\r\n"
       "\"Docs\",\"C:\\Docs\"\r\n",
       {{{1, "Chess"}, {2, "Site"}, {3, "Docs"}},
        {{0, "C:\\Games\\Chess.lnk"}, {1, "http://example.com/"}, {2, "C:\\Docs"}}}},
      {"twelve entries", Entries(1, 12), ten},
      {"blank first line", "\r\n" + Entries(1, 12), afterBlankLine},
      // The empty caption uses up its pass; the command is read as a caption.
      {"empty caption",
       "\"\",\"C:\\x.exe\"\r\n\"B\",\"b\"\r\n",
       {{{2, "C:\\x.exe"}, {3, "b"}}, {{1, "B"}}}},
      {"unquoted caption with a comma",
       "Half, Life,\"C:\\hl.exe\"\r\n\"Next\",\"n\"\r\n",
       {{{1, "Half"}, {2, "C:\\hl.exe"}, {3, "n"}}, {{0, "Life"}, {1, "Next"}}}},
      {"caption without command, no final break",
       "\"A\",\"a\",\"B\"",
       {{{1, "A"}, {2, "B"}}, {{0, "a"}}}},
      {"unclosed quote", "\"A\",\"a\"\r\n\"B, \r\nb", {{{1, "A"}, {2, "B, \r\nb"}}, {{0, "a"}}}},
      {"empty file", "", {}},
  };
  for (const auto& c : cases) ExpectFile(ParseShortcutFile(c.text), c.expected, c.name);
}

// What any file, however broken, must give.
void ExpectSound(const ShortcutFile& file) {
  ASSERT_LE(file.items.size(), static_cast<std::size_t>(kMaxShortcuts));
  std::array<bool, kMaxShortcuts> hasItem{};
  int last = 0;
  for (const PersonalShortcut& item : file.items) {
    EXPECT_TRUE(item.index > last && item.index <= kMaxShortcuts) << item.index;
    hasItem[item.index - 1] = true;
    last = item.index;
  }
  for (int slot = 0; slot < kMaxShortcuts; ++slot) {
    EXPECT_TRUE(hasItem[slot] || file.commands[slot].empty()) << slot;
  }
}

TEST(ShortcutFile, HostileFilesGiveSoundResults) {
  const std::string mega(1 << 20, 'x');
  std::mt19937 random(7);
  std::string binary(1 << 16, '\0');
  for (char& c : binary) c = static_cast<char>(random());

  const ShortcutFile big = ParseShortcutFile("\"" + mega + "\"," + mega);
  ASSERT_EQ(big.items.size(), 1u);
  EXPECT_EQ(big.items[0].caption, mega);
  EXPECT_EQ(big.commands[0], mega);

  for (const std::string& text :
       {binary, std::string(1 << 20, '\0'), std::string(1 << 20, '"'), std::string(1 << 20, ','),
        std::string(1 << 20, ' '), "\"" + mega, mega, "x,\"" + mega, "\0,\0,\0"s}) {
    ExpectSound(ParseShortcutFile(text));
  }
  // The reader gets to the end of any file, field by field.
  std::size_t fields = 0;
  for (FieldReader reader(binary); reader.Next();) ++fields;
  EXPECT_GT(fields, 100u);
  EXPECT_EQ(AllFields(std::string(1 << 16, ',')).size(), 1u << 16);
}

// ---- In the quick menu.

const std::string kIni = "C:\\Program Files\\Corvane Ludora\\ludora.ini";

struct Loaded : FakeShell {
  explicit Loaded(const std::optional<std::string>& content) {
    if (content) api.AddFile(kIni, *content);
    form3.Load();
  }
  // The items between the `menu` placeholder and the separator closing the section.
  std::vector<std::string> Section() {
    std::vector<std::string> section;
    const auto& items = program.form1().menu().Items();
    auto at = std::find_if(items.begin(), items.end(),
                           [](const MenuItem& i) { return i.name == "menu"; });
    for (; at != items.end() && at->name == "menu"; ++at) {
      section.push_back(std::to_string(at->index) + (at->visible ? " " : " hidden ") + at->caption);
    }
    if (at != items.end()) section.push_back(at->name);
    return section;
  }
};

TEST(PersonalShortcuts, ItemsStandAfterThePlaceholderInFileOrder) {
  const struct {
    const char* name;
    std::optional<std::string> content;
    std::vector<std::string> section;
  } cases[] = {
      {"no file", std::nullopt, {"0 hidden menu", "fsadfadsf"}},
      {"blank first line",
       "\r\n\"B\",\"b\"\r\n\"C\",\"c\"\r\n",
       {"0 hidden menu", "2 B", "3 C", "fsadfadsf"}},
      {"a 1 MB caption read in pieces",
       "\"" + std::string(1 << 20, 'x') + "\",\"x\"",
       {"0 hidden menu", "1 " + std::string(1 << 20, 'x'), "fsadfadsf"}},
      {"twelve",
       Entries(1, 12),
       {"0 hidden menu", "1 Game 1", "2 Game 2", "3 Game 3", "4 Game 4", "5 Game 5", "6 Game 6",
        "7 Game 7", "8 Game 8", "9 Game 9", "10 Game 10", "fsadfadsf"}},
  };
  for (const auto& c : cases) {
    Loaded shell(c.content);
    EXPECT_EQ(shell.Section(), c.section) << c.name;
    EXPECT_EQ(shell.api.openFileHandles, 0) << c.name;
  }
}

TEST(PersonalShortcuts, PopUpWithSeparatorsAndOpenTheirCommandsUnchanged) {
  Loaded shell(
      "\"&Chess\",\"C:\\Games\\Chess.lnk\"\r\n"
      "\"-\",\"ignored\"\r\n"
      "\"Site\",\"http://example.com/a b?c=1\"\r\n"
      "\"Last\"");
  std::vector<testing::FakeMenuItem> shown;
  shell.api.onTrackPopupMenu = [&](HMENU menu) {
    shown = shell.api.Menu(menu).items;
    return 0u;
  };
  shell.form3.LabelClick("Label6");
  const auto heading = std::find_if(shown.begin(), shown.end(), [](const auto& item) {
    return item.text == "Personalized Shortcuts";
  });
  ASSERT_GE(std::distance(heading, shown.end()), 7);
  std::vector<std::pair<UINT, std::string>> section;
  for (auto at = heading + 1; at != heading + 7; ++at) section.emplace_back(at->flags, at->text);
  const UINT entry = MF_BYPOSITION | MF_STRING;
  const UINT line = MF_BYPOSITION | MF_SEPARATOR;
  EXPECT_EQ(section, (std::vector<std::pair<UINT, std::string>>{{line, ""},
                                                                {entry, "&Chess"},
                                                                {line, ""},
                                                                {entry, "Site"},
                                                                {entry, "Last"},
                                                                {line, ""}}));

  const std::size_t mark = shell.api.log.size();
  for (int n : {1, 3, 4}) shell.program.form1().Click(MenuPick{"menu", n});
  // The last item has no command and opens nothing.
  EXPECT_EQ(shell.LogSince(mark), (std::vector<std::string>{"open C:\\Games\\Chess.lnk",
                                                            "open http://example.com/a b?c=1"}));
}

}  // namespace
}  // namespace ludora
