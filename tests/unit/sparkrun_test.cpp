// sparkrun.exe, the companion launcher: which program its command line
// names, and how it starts it.
#include <gtest/gtest.h>

#include "fake/fake_windows.h"
#include "sparkrun/launch_request.h"

namespace ludora {
namespace {

using namespace sparkrun;
using Lines = std::vector<std::string>;

const std::string kSelf = "\"C:\\Program Files\\Corvane Ludora\\sparkrun.exe\"";

TEST(Sparkrun, TakesTheProgramAfterItsOwnName) {
  const std::pair<std::string, std::string> cases[] = {
      // As the redirected open command hands it over.
      {kSelf + " \"C:\\Games\\My Game\\game.exe\"", "C:\\Games\\My Game\\game.exe"},
      {kSelf + "   \"C:\\game.exe\" -extra", "C:\\game.exe"},
      {kSelf + " \"C:\\Half open.exe", "C:\\Half open.exe"},
      // Unquoted, a path with blanks runs to the end of the line.
      {"sparkrun.exe\tC:\\Program Files\\game.exe  \t", "C:\\Program Files\\game.exe"},
      {kSelf + "   ", ""},
      {"", ""},
  };
  for (const auto& [line, program] : cases) EXPECT_EQ(ProgramArgument(line), program) << line;
}

TEST(Sparkrun, StartsProgramsHighAndShortcutsThroughTheShell) {
  const std::string dialog = "open-dialog Launch Specific Game";
  const std::string chess = "open C:\\Games\\Chess.lnk dir=C:\\Games";
  const struct {
    std::string line;
    std::optional<std::string> pick;  // in the Open dialog
    Lines log;
  } cases[] = {
      {kSelf + " \"C:\\My Games\\g.exe\"",
       {},
       {"run \"C:\\My Games\\g.exe\" show=1 app=C:\\My Games\\g.exe flags=132 dir=C:\\My Games",
        "priority-class 128", "resume-thread"}},
      {"sparkrun C:\\G.COM",
       {},
       {"run \"C:\\G.COM\" show=1 app=C:\\G.COM flags=132 dir=C:\\", "priority-class 128",
        "resume-thread"}},
      {kSelf + " \"C:\\Games\\Chess.lnk\"", {}, {chess}},
      {kSelf, "C:\\Games\\Chess.lnk", {dialog, chess}},
      {kSelf, {}, {dialog}},  // cancelled
  };
  for (const auto& c : cases) {
    testing::FakeWindows api;
    api.openDialogPick = c.pick;
    EXPECT_EQ(sparkrun::Run(api, c.line), 0) << c.line;
    EXPECT_EQ(api.log, c.log) << c.line;
    EXPECT_EQ(api.Live(testing::Kind::Process) + api.Live(testing::Kind::Thread), 0) << c.line;
  }
  for (const std::string path : {"C:\\gone.exe", "C:\\gone.lnk"}) {
    testing::FakeWindows api;
    api.failing = {testing::Op::CreateProcessA, testing::Op::ShellExecuteA};
    EXPECT_EQ(sparkrun::Run(api, "sparkrun " + path), 1);
    ASSERT_EQ(api.log.size(), 2u);
    EXPECT_EQ(api.log[1],
              "msgbox Corvane Ludora | Ludora could not start \"" + path + "\". | style=64");
  }
}

}  // namespace
}  // namespace ludora
