#include "platform/qt_host_services.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

// Run with LC_ALL=en_US.UTF-8: a twelve-hour clock whose long format names the time zone.
TEST(LocalTimeFormat, ShowsTheLocalesLongTimeWithoutItsTimeZone) {
  LocalTimeFormat format;
  EXPECT_EQ(format.text(13 * 3600 + 5 * 60 + 9), "1:05:09 PM");
  EXPECT_EQ(format.text(0), "12:00:00 AM");
  EXPECT_EQ(format.text(0), "12:00:00 AM") << "asked again in the same second";
  EXPECT_EQ(format.text(24 * 3600 - 1), "11:59:59 PM");
}

}  // namespace
}  // namespace skyfare
