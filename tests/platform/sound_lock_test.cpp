#include "platform/sound_lock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <string>

#include "tests/platform/temp_runtime_folder.h"

namespace skyfare {
namespace {

TEST(SoundLock, ALockFileThatCannotBeOpenedIsToldOnceAndNeverTaken) {
  testing::TempRuntimeFolder runtime;
  const QString path = runtime.path() + QStringLiteral("/skyfare-sound.lock");
  ASSERT_TRUE(QDir().mkdir(path));
  ::testing::internal::CaptureStderr();
  SoundLock lock;
  EXPECT_FALSE(lock.tryTake());
  EXPECT_FALSE(lock.tryTake());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "skyfare: cannot open the sound lock " + path.toStdString() +
                " (Is a directory); this saver stays silent\n");
}

}  // namespace
}  // namespace skyfare
