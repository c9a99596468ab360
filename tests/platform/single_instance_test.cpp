#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <string>

namespace skyfare {
namespace {

// Points XDG_RUNTIME_DIR at an empty private folder for the life of the test.
class SingleInstanceTest : public ::testing::Test {
 protected:
  SingleInstanceTest() {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
      previous_ = QByteArray(old);
    setenv("XDG_RUNTIME_DIR", folder_.path().toUtf8().constData(), 1);
  }
  ~SingleInstanceTest() override {
    if (previous_) {
      setenv("XDG_RUNTIME_DIR", previous_->constData(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }

  QString lockPath() const { return folder_.path() + QStringLiteral("/skyfare-saver.lock"); }

 private:
  QTemporaryDir folder_;
  std::optional<QByteArray> previous_;
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
