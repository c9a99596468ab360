#include "windows/platform/password_change.h"

#include <gtest/gtest.h>

#include "tests/windows/platform/debug_line_capture.h"

namespace skyfare {
namespace {

TEST(PasswordChange, AMissingLibraryOrFunctionIsToldAndNothingElseHappens) {
  EXPECT_EQ(callPasswordChange(L"no-such-library.dll", "PwdChangePasswordA", nullptr),
            "cannot change the saver password: no-such-library.dll is missing");
  EXPECT_EQ(callPasswordChange(L"version.dll", "PwdChangePasswordA", nullptr),
            "cannot change the saver password: version.dll has no PwdChangePasswordA");
}

TEST(PasswordChange, TheSystemServiceIsCalledWithoutATrace) {
  testing::DebugLineCapture lines;
  changeSaverPassword(nullptr);
  for (const std::string& line : lines.lines())
    EXPECT_EQ(line.find("skyfare:"), std::string::npos) << line;
}

}  // namespace
}  // namespace skyfare
