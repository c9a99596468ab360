#include "windows/platform/single_instance.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/windows/platform/child_process.h"
#include "tests/windows/platform/debug_line_capture.h"

namespace skyfare {
namespace {

std::wstring testMutexName() {
  return L"Local\\Skyfare-test-" + std::to_wstring(GetCurrentProcessId());
}

TEST(SingleInstance, AnotherProcessFindsTheFirstRunningUntilItEnds) {
  const std::wstring name = testMutexName();
  EXPECT_EQ(testing::runSelf(L"--ask-instance " + name), 0u) << "nobody holds it yet";
  {
    const SingleInstance first(name);
    EXPECT_FALSE(first.anotherInstanceRuns());
    EXPECT_EQ(testing::runSelf(L"--ask-instance " + name), 1u);
    EXPECT_TRUE(SingleInstance(name).anotherInstanceRuns()) << "also within one process";
  }
  EXPECT_EQ(testing::runSelf(L"--ask-instance " + name), 0u);
}

TEST(SingleInstance, AnInstanceThatIsKilledLeavesNothingBehind) {
  const std::wstring name = testMutexName() + L"-killed";
  const std::wstring readyName = name + L"-ready";
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
  ASSERT_TRUE(ready);
  HANDLE holder = testing::startSelf(L"--hold-instance " + name + L" " + readyName);
  ASSERT_TRUE(holder);
  ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);
  EXPECT_TRUE(SingleInstance(name).anotherInstanceRuns());
  TerminateProcess(holder, 9);
  WaitForSingleObject(holder, 20000);
  CloseHandle(holder);
  CloseHandle(ready);
  EXPECT_FALSE(SingleInstance(name).anotherInstanceRuns());
}

TEST(SingleInstance, ANameTakenByAnotherKindOfObjectIsToldAndTheProgramRuns) {
  const std::wstring name = testMutexName() + L"-event";
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  ASSERT_TRUE(event);
  testing::DebugLineCapture lines;
  const SingleInstance instance(name);
  CloseHandle(event);
  EXPECT_FALSE(instance.anotherInstanceRuns());
  ASSERT_EQ(lines.lines().size(), 1u);
  EXPECT_EQ(
      lines.lines()[0].rfind("skyfare: cannot take the instance lock Local\\Skyfare-test-", 0), 0u)
      << lines.lines()[0];
  EXPECT_NE(lines.lines()[0].find("); running without it\n"), std::string::npos);
}

}  // namespace
}  // namespace skyfare
