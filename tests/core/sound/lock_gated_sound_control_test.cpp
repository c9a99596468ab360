#include "core/sound/lock_gated_sound_control.h"

#include <gtest/gtest.h>

#include "tests/support/recording_sound.h"

namespace skyfare {
namespace {

using testing::RecordingSound;

// A lock that another process may hold, and the real component it lets open.
struct GatedSound {
  bool lockFree = true;
  int lockRequests = 0;
  RecordingSound* real = nullptr;
  int opened = 0;

  std::unique_ptr<LockGatedSoundControl> make() {
    return std::make_unique<LockGatedSoundControl>(
        [this] {
          ++lockRequests;
          return lockFree;
        },
        [this] {
          ++opened;
          auto sound = std::make_unique<RecordingSound>();
          real = sound.get();
          return sound;
        });
  }
};

TEST(LockGatedSoundControl, TheLockHolderIsHeardAsTheRealComponent) {
  GatedSound gate;
  auto sound = gate.make();
  EXPECT_TRUE(sound->audible());
  const SoundHandle jet = sound->LoadWave("/d/takeoff.wav");
  sound->StopSound(jet);
  sound->PlaySound(jet, -1, -1);
  sound->SetVolume(jet, -300);
  sound->StopAll();
  sound->ReleaseSound(jet);
  ASSERT_NE(gate.real, nullptr);
  EXPECT_EQ(gate.real->calls, (std::vector<std::string>{
                                  "LoadWave /d/takeoff.wav", "StopSound 7", "StopSound 7",
                                  "PlaySound 7", "SetVolume 7 -300", "StopAll", "ReleaseSound 7"}));
}

TEST(LockGatedSoundControl, WithoutTheLockNothingOpensAndNothingIsHeard) {
  GatedSound gate;
  gate.lockFree = false;
  auto sound = gate.make();
  const SoundHandle jet = sound->LoadWave("/d/takeoff.wav");
  EXPECT_NE(jet, 0);
  for (int frame = 0; frame < 10; ++frame) sound->PlaySound(jet, -1, -1);
  sound->SetVolume(jet, -300);
  sound->StopAll();
  sound->ReleaseSound(jet);
  EXPECT_FALSE(sound->audible());
  EXPECT_EQ(gate.opened, 0);
  EXPECT_EQ(gate.lockRequests, 11);  // once at the start, then at each play
}

TEST(LockGatedSoundControl, ALockFreedLaterBringsTheSoundWithItsVolume) {
  GatedSound gate;
  gate.lockFree = false;
  auto sound = gate.make();
  const SoundHandle jet = sound->LoadWave("/d/takeoff.wav");
  const SoundHandle released = sound->LoadWave("/d/other.wav");
  sound->ReleaseSound(released);
  sound->SetVolume(jet, -1200);
  sound->PlaySound(jet, -1, -1);
  EXPECT_FALSE(sound->audible());

  gate.lockFree = true;  // the saver that held it has ended
  sound->PlaySound(jet, -1, -1);
  ASSERT_TRUE(sound->audible());
  EXPECT_EQ(gate.opened, 1);
  EXPECT_EQ(gate.real->calls, (std::vector<std::string>{"LoadWave /d/takeoff.wav", "StopSound 7",
                                                        "SetVolume 7 -1200", "PlaySound 7"}));
  sound->PlaySound(jet, -1, -1);
  EXPECT_EQ(gate.opened, 1);
}

TEST(LockGatedSoundControl, HandlesNameNothingOnceReleasedAndAreNeverReused) {
  GatedSound gate;
  auto sound = gate.make();
  const SoundHandle first = sound->LoadWave("a.wav");
  sound->ReleaseSound(first);
  const SoundHandle second = sound->LoadWave("b.wav");
  EXPECT_NE(first, second);
  const std::size_t callsBefore = gate.real->calls.size();
  sound->PlaySound(first, -1, -1);
  sound->SetVolume(first, 0);
  sound->ReleaseSound(first);
  EXPECT_EQ(gate.real->calls.size(), callsBefore);
}

}  // namespace
}  // namespace skyfare
