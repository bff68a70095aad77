#include <gtest/gtest.h>

#include "fake/fake_windows.h"
#include "platform/win_constants.h"
#include "tuning/primitives.h"

namespace ludora {
namespace {

using testing::FakeWindows;

TEST(Platform, CodeFollowsTheVersionRecord) {
  FakeWindows api;
  api.platformId = VER_PLATFORM_WIN32_NT;
  EXPECT_EQ(GetPlatform(api), Platform::Nt);
  api.platformId = 1;  // the Windows 95/98/Me family
  EXPECT_EQ(GetPlatform(api), Platform::NotNt);
  api.platformId = std::nullopt;
  EXPECT_EQ(GetPlatform(api), Platform::Unknown);
}

TEST(Priority, ThreadLevelReachesEveryHandleFromMinus500To500) {
  FakeWindows api;
  SetThreadPriorities(api, THREAD_PRIORITY_IDLE);
  ASSERT_EQ(api.threadPriorityHandles.size(), 1001u);
  EXPECT_EQ(api.threadPriorityHandles.front(), -500);
  EXPECT_EQ(api.threadPriorityHandles.back(), 500);
  EXPECT_TRUE(std::is_sorted(api.threadPriorityHandles.begin(), api.threadPriorityHandles.end()));
  EXPECT_EQ(api.currentThreadPriority, -15);  // through the -2 pseudo-handle
}

TEST(Priority, ClassChangeAsksOnlyForTheDuplicateRight) {
  FakeWindows api;
  api.platformId = VER_PLATFORM_WIN32_NT;  // checks the right: refused, class kept
  EXPECT_EQ(ChangePriority(api, IDLE_PRIORITY_CLASS),
            (PriorityError{4, "ChangePriority", "Unable To close source handle"}));
  EXPECT_EQ(api.priorityClass, 0x20u);
  EXPECT_EQ(api.log.front(), "open-process pid=4242 access=64 inherit=1");

  api.platformId = 1;  // does not check it: applied
  EXPECT_EQ(ChangePriority(api, IDLE_PRIORITY_CLASS), std::nullopt);
  EXPECT_EQ(api.priorityClass, IDLE_PRIORITY_CLASS);

  api.failing = {testing::Op::OpenProcess};
  EXPECT_EQ(ChangePriority(api, IDLE_PRIORITY_CLASS),
            (PriorityError{2, "ChangePriority", "Unable To open the source process"}));
}

TEST(RegistryWriters, WriteExactBytesAndReportRefusals) {
  FakeWindows api;
  EXPECT_TRUE(SetRegDword(api, HKLM, "A\\B", "Number", 0x12345678));
  EXPECT_EQ(api.lastValueBytes, (std::vector<BYTE>{0x78, 0x56, 0x34, 0x12}));
  EXPECT_TRUE(SetRegString(api, HKCR, "exefile", "", ""));
  EXPECT_EQ(api.lastValueBytes, std::vector<BYTE>{0});  // the NUL alone
  EXPECT_EQ(api.log, (std::vector<std::string>{"reg HKLM\\A\\B [Number] REG_DWORD 305419896",
                                               "reg HKCR\\exefile [] REG_SZ "}));

  api.refusedKeys = {"HKLM\\Software"};
  EXPECT_FALSE(SetRegString(api, HKLM, "Software\\X", "V", "data"));
  api.failing = {testing::Op::WritePrivateProfileStringA};
  EXPECT_FALSE(SetIniString(api, "boot", "shell", "x", "system.ini"));
  EXPECT_EQ(api.log.size(), 2u);  // nothing more was written
  EXPECT_EQ(api.Live(testing::Kind::Key) + api.Live(testing::Kind::Process), 0);
}

}  // namespace
}  // namespace ludora
