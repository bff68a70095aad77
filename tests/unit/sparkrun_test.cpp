// sparkrun.exe, the companion launcher: which program its command line
// names, and how it starts it.
#include <gtest/gtest.h>

#include "fake/fake_windows.h"
#include "sparkrun/launch_request.h"

namespace ludora {
namespace {

using namespace sparkrun;

TEST(Sparkrun, TakesTheProgramAfterItsOwnName) {
  const std::string self = "\"C:\\Program Files\\Corvane Ludora\\sparkrun.exe\"";
  const struct {
    std::string commandLine;
    std::string program;
  } cases[] = {
      // As the redirected open command hands it over.
      {self + " \"C:\\Games\\My Game\\game.exe\"", "C:\\Games\\My Game\\game.exe"},
      {self + " C:\\Games\\game.exe", "C:\\Games\\game.exe"},
      {self + "   \"C:\\Games\\game.exe\"  ", "C:\\Games\\game.exe"},
      {self + " \"C:\\Games\\game.exe\" -extra", "C:\\Games\\game.exe"},
      {self + " \"C:\\Games\\Half open.exe", "C:\\Games\\Half open.exe"},
      // Unquoted, a path with blanks runs to the end of the line.
      {"sparkrun.exe C:\\Program Files\\Game\\game.exe  \t", "C:\\Program Files\\Game\\game.exe"},
      {"sparkrun.exe\t\"C:\\game.exe\"", "C:\\game.exe"},
      {self, ""},
      {self + "   ", ""},
      {self + " \"\"", ""},
      {"sparkrun.exe", ""},
      {"\"C:\\Unclosed\\sparkrun.exe C:\\game.exe", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramArgument(c.commandLine), c.program) << c.commandLine;
}

TEST(Sparkrun, FolderAndWayOfStartingFollowFromThePath) {
  const struct {
    std::string path;
    std::string folder;
    bool direct;
  } cases[] = {
      {"C:\\Games\\My Game\\game.exe", "C:\\Games\\My Game", true},
      {"C:\\game.EXE", "C:\\", true},
      {"D:\\tools\\run.com", "D:\\tools", true},
      {"\\\\server\\games\\net.exe", "\\\\server\\games", true},
      {"C:\\Games\\Chess.lnk", "C:\\Games", false},
      {"C:\\Games\\setup.bat", "C:\\Games", false},
      {"C:\\Games\\exe", "C:\\Games", false},
      {"game.exe", "", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgramFolder(c.path), c.folder) << c.path;
    EXPECT_EQ(StartsDirectly(c.path), c.direct) << c.path;
  }
}

// A Windows where starting anything fails.
class RefusingWindows : public testing::FakeWindows {
 public:
  bool refuse = false;
  BOOL CreateProcessA(const char* applicationName, const std::string& commandLine,
                      DWORD creationFlags, const char* currentDirectory, WORD showWindow,
                      ProcessHandles* started) override {
    return refuse ? (FakeWindows::CreateProcessA(applicationName, commandLine, creationFlags,
                                                 currentDirectory, showWindow),
                     0)
                  : FakeWindows::CreateProcessA(applicationName, commandLine, creationFlags,
                                                currentDirectory, showWindow, started);
  }
  std::intptr_t ShellExecuteA(HWND owner, const char* operation, const std::string& file,
                              const char* parameters, const char* directory, int showCmd) override {
    const std::intptr_t result =
        FakeWindows::ShellExecuteA(owner, operation, file, parameters, directory, showCmd);
    return refuse ? 2 : result;  // ERROR_FILE_NOT_FOUND
  }
};

TEST(Sparkrun, StartsProgramsHighAndShortcutsThroughTheShell) {
  const std::string self = "\"C:\\Program Files\\Corvane Ludora\\sparkrun.exe\"";
  const std::string dialog = "open-dialog Launch Specific Game";
  const struct {
    const char* name;
    std::string commandLine;
    std::optional<std::string> pick;
    bool refuse;
    std::vector<std::string> log;
    int exitCode;
  } cases[] = {
      {"program",
       self + " \"C:\\Games\\My Game\\game.exe\"",
       std::nullopt,
       false,
       {"run \"C:\\Games\\My Game\\game.exe\" show=1 app=C:\\Games\\My Game\\game.exe flags=132 "
        "dir=C:\\Games\\My Game",
        "priority-class 128", "resume-thread"},
       0},
      {"program in a root",
       "sparkrun.exe C:\\game.exe",
       std::nullopt,
       false,
       {"run \"C:\\game.exe\" show=1 app=C:\\game.exe flags=132 dir=C:\\", "priority-class 128",
        "resume-thread"},
       0},
      {"shortcut",
       self + " \"C:\\Games\\Chess.lnk\"",
       std::nullopt,
       false,
       {"open C:\\Games\\Chess.lnk dir=C:\\Games"},
       0},
      {"picked program",
       self,
       "C:\\Games\\game.exe",
       false,
       {dialog,
        "run \"C:\\Games\\game.exe\" show=1 app=C:\\Games\\game.exe flags=132 dir=C:\\Games",
        "priority-class 128", "resume-thread"},
       0},
      {"picked shortcut",
       self,
       "C:\\Games\\Chess.lnk",
       false,
       {dialog, "open C:\\Games\\Chess.lnk dir=C:\\Games"},
       0},
      {"dialog cancelled", self + "  ", std::nullopt, false, {dialog}, 0},
      {"program fails",
       self + " C:\\Games\\gone.exe",
       std::nullopt,
       true,
       {"run \"C:\\Games\\gone.exe\" show=1 app=C:\\Games\\gone.exe flags=132 dir=C:\\Games",
        "msgbox Corvane Ludora | Ludora could not start \"C:\\Games\\gone.exe\". | style=64"},
       1},
      {"shortcut fails",
       self + " C:\\Games\\gone.lnk",
       std::nullopt,
       true,
       {"open C:\\Games\\gone.lnk dir=C:\\Games",
        "msgbox Corvane Ludora | Ludora could not start \"C:\\Games\\gone.lnk\". | style=64"},
       1},
  };
  for (const auto& c : cases) {
    RefusingWindows api;
    api.openDialogPick = c.pick;
    api.refuse = c.refuse;
    EXPECT_EQ(sparkrun::Run(api, c.commandLine), c.exitCode) << c.name;
    EXPECT_EQ(api.log, c.log) << c.name;
  }
}

}  // namespace
}  // namespace ludora
