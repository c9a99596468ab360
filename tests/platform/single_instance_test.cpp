#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <string>

#include "tests/platform/temp_runtime_folder.h"

namespace skyfare {
namespace {

class SingleInstanceTest : public ::testing::Test {
 protected:
  QString lockPath() const { return runtime_.path() + QStringLiteral("/skyfare-saver.lock"); }

 private:
  testing::TempRuntimeFolder runtime_;
};

TEST_F(SingleInstanceTest, ALaterStartFindsTheFirstOneRunningUntilItEnds) {
  ::testing::internal::CaptureStderr();
  {
    const SingleInstance first;
    EXPECT_FALSE(first.anotherInstanceRuns());
    const SingleInstance second;
    EXPECT_TRUE(second.anotherInstanceRuns());
  }
  const SingleInstance afterTheFirstEnded;
  EXPECT_FALSE(afterTheFirstEnded.anotherInstanceRuns());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(SingleInstanceTest, ALockPathThatCannotBeUsedIsToldAndTheProgramRuns) {
  ASSERT_TRUE(QDir().mkdir(lockPath()));
  ::testing::internal::CaptureStderr();
  const SingleInstance instance;
  const std::string told = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(instance.anotherInstanceRuns());
  EXPECT_EQ(told, "skyfare: cannot take the instance lock " + lockPath().toStdString() +
                      " (the file there is no instance's lock); running without it\n");
}

}  // namespace
}  // namespace skyfare
