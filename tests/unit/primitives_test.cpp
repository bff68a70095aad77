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
  EXPECT_EQ(GetPlatform(api), kPlatformNt);
  api.platformId = 1;  // the Windows 95/98/Me family
  EXPECT_EQ(GetPlatform(api), kPlatformNotNt);
  api.platformId = std::nullopt;
  EXPECT_EQ(GetPlatform(api), kPlatformUnknown);
}

TEST(Priority, ThreadLevelGoesToEveryHandleValueFromMinus500To500) {
  FakeWindows api;
  SetThreadPriorities(api, THREAD_PRIORITY_IDLE);
  ASSERT_EQ(api.threadPriorityHandles.size(), 1001u);
  for (std::size_t i = 0; i < api.threadPriorityHandles.size(); ++i) {
    ASSERT_EQ(api.threadPriorityHandles[i], static_cast<std::intptr_t>(i) - 500);
  }
  EXPECT_EQ(api.currentThreadPriority, -15);  // through the -2 pseudo-handle
}

TEST(Priority, ClassChangeIsRefusedOnNtAndAppliedElsewhere) {
  FakeWindows api;
  api.platformId = VER_PLATFORM_WIN32_NT;
  const auto refused = ChangePriority(api, IDLE_PRIORITY_CLASS);
  ASSERT_TRUE(refused);
  EXPECT_EQ(*refused, (PriorityError{4, "ChangePriority", "Unable To close source handle"}));
  EXPECT_EQ(api.priorityClass, 0x20u);  // unchanged

  api.platformId = 1;
  EXPECT_FALSE(ChangePriority(api, IDLE_PRIORITY_CLASS));
  EXPECT_EQ(api.priorityClass, IDLE_PRIORITY_CLASS);
}

// A process that cannot be opened gives the other record.
class NoProcessWindows : public FakeWindows {
 public:
  HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD pid) override {
    lastAccess = access;
    lastInherit = inherit;
    lastPid = pid;
    return 0;
  }
  DWORD lastAccess = 0, lastPid = 0;
  BOOL lastInherit = 0;
};

TEST(Priority, UnopenableProcessGivesErrorRecordTwo) {
  NoProcessWindows api;
  const auto error = ChangePriority(api, IDLE_PRIORITY_CLASS);
  ASSERT_TRUE(error);
  EXPECT_EQ(*error, (PriorityError{2, "ChangePriority", "Unable To open the source process"}));
  EXPECT_EQ(api.lastAccess, 0x40u);
  EXPECT_EQ(api.lastInherit, 1);
  EXPECT_EQ(api.lastPid, api.GetCurrentProcessId());
}

TEST(RegistryWriters, WriteTheExactBytesAndCreateMissingKeys) {
  FakeWindows api;
  EXPECT_TRUE(SetRegDword(api, HKLM, "A\\B\\C", "Number", 0x12345678));
  EXPECT_TRUE(api.registry.contains("HKLM\\A"));
  EXPECT_TRUE(api.registry.contains("HKLM\\A\\B"));
  const auto number = api.Value("HKLM\\A\\B\\C", "Number");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->type, REG_DWORD);
  EXPECT_EQ(number->data, (std::vector<BYTE>{0x78, 0x56, 0x34, 0x12}));

  EXPECT_TRUE(SetRegString(api, HKCR, "exefile\\shell\\open\\Command", "", ""));
  const auto empty = api.Value("HKCR\\exefile\\shell\\open\\Command", "");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->type, REG_SZ);
  EXPECT_EQ(empty->data, std::vector<BYTE>{0});  // the NUL alone
}

TEST(RegistryWriters, RefusedKeyWritesNothingAndSaysSo) {
  FakeWindows api;
  api.refusedKeys = {"HKLM\\Software"};
  EXPECT_FALSE(SetRegString(api, HKLM, "Software\\X", "V", "data"));
  EXPECT_FALSE(api.Value("HKLM\\Software\\X", "V"));
  EXPECT_TRUE(api.log.empty());
}

}  // namespace
}  // namespace ludora
