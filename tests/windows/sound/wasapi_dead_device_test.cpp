// Run with Wine's audio going to a device whose opening never ends, and, case by case in a
// process of its own as ctest runs them, with no audio driver at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/windows/sound/sound_capture.h"
#include "windows/sound/wasapi_sound_control.h"

namespace skyfare {
namespace {

std::string toneFile() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string path =
      std::string(folder) + "skyfare-dead-" + std::to_string(GetCurrentProcessId()) + ".wav";
  testing::writeToneWave(path, 4410, 0.5, 22050);
  return path;
}

// Each saver that starts and ends waits at most the short time loading gives an opening, and
// its end none at all, however many are left hanging behind it.
TEST(WasapiDeadDevice, NeitherTheStartNorTheEndWaitsForIt) {
  constexpr int kSessions = 4;
  constexpr auto kSessionsBound = std::chrono::seconds(3);
  const testing::WineAudioDriver alsa(L"alsa");
  const std::string tone = toneFile();
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < kSessions; ++i) {
    WasapiSoundControl sound;
    const SoundHandle handle = sound.LoadWave(tone);
    EXPECT_NE(handle, 0);
    sound.PlaySound(handle, -1, -1);
    sound.SetVolume(handle, -1000);
    sound.StopAll();
    sound.ReleaseSound(handle);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, kSessionsBound);
  DeleteFileA(tone.c_str());
}

TEST(WasapiWithoutDevice, RunsSilentAndSaysSoOnce) {
  const testing::WineAudioDriver none(L"");
  const std::string tone = toneFile();
  const testing::DebugLines said;
  {
    WasapiSoundControl sound;
    const SoundHandle first = sound.LoadWave(tone);
    const SoundHandle second = sound.LoadWave(tone + ".missing");
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_NE(first, second);
    sound.PlaySound(first, -1, -1);
    sound.SetVolume(first, -2000);
    sound.StopSound(first);
    sound.StopAll();
    sound.ReleaseSound(first);
  }
  EXPECT_THAT(said.lines(),
              ::testing::ElementsAre("skyfare: no audio device; the saver runs silent\n"));
  DeleteFileA(tone.c_str());
}

}  // namespace
}  // namespace skyfare
