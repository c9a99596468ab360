#include "windows/platform/debug_line.h"

#include <gtest/gtest.h>

#include "tests/windows/platform/debug_line_capture.h"

namespace skyfare {
namespace {

TEST(DebugLine, WritesOneNamedLineOfUtf8Text) {
  testing::DebugLineCapture capture;
  debugLine("cannot open C:\\Bilder\\Grüße.bmp");
  ASSERT_EQ(capture.lines().size(), 1u);
  EXPECT_EQ(capture.lines()[0], "skyfare: cannot open C:\\Bilder\\Grüße.bmp\n");
}

}  // namespace
}  // namespace skyfare
