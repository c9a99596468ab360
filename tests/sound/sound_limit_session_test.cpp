// A display session with the real sound component on SDL's disk driver: the jet's take-off
// sound is heard, and the one-minute limit silences it for good. The session's clock and
// timers are driven by hand; only the audio device runs in real time.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/saver/fixed_seed_random.h"
#include "core/saver/form1.h"
#include "core/settings/setting_keys.h"
#include "sound/sdl_sound_control.h"
#include "tests/sound/disk_capture.h"
#include "tests/support/manual_host.h"
#include "tests/support/memory_store.h"
#include "tests/support/recording_drawing.h"

namespace skyfare {
namespace {

const std::string kDataFolder = SKYFARE_DATA_DIR "/";
constexpr std::size_t kFramesPerSecond = 44100;

bool soundIn(const std::vector<std::int16_t>& samples, std::size_t from) {
  return std::any_of(samples.begin() + std::min(from, samples.size()), samples.end(),
                     [](std::int16_t s) { return std::abs(s) > 64; });
}

TEST(SoundLimitSession, SoundOffOneSilencesTheJetAfterAMinuteOfTicks) {
  testing::DiskCapture capture;
  testing::RecordingDrawing drawing;
  testing::MemoryStore store;
  testing::ManualHost host;
  FixedSeedRandom random;
  SetRegistry(store, kDataFolder);
  store.values["System/SoundOff"] = "1";
  std::size_t silentFrom = 0;
  {
    SdlSoundControl sound;
    Form1 form(SessionParts{drawing, sound, store, host, random, kDataFolder});
    form.Load();
    const auto frameAndMaybeTick = [&](int frame) {
      host.advanceMs(frame % 3 == 0 ? 16 : 17);
      form.FrameUpdate();
      if (frame % 60 == 59)
        form.tmrSoundTick();
    };

    // The jet starts its pass at once; in its first level frames on screen the sound starts.
    int frame = 0;
    for (; frame < 30; ++frame) frameAndMaybeTick(frame);
    capture.waitUntil([](const auto& samples) { return soundIn(samples, 0); });

    // Fifty-nine seconds of ticks leave it playing; the sixtieth silences it.
    for (; frame < 59 * 60; ++frame) frameAndMaybeTick(frame);
    EXPECT_FALSE(form.jetSound().soundStopped());
    for (; frame < 60 * 60; ++frame) frameAndMaybeTick(frame);
    ASSERT_TRUE(form.jetSound().soundStopped());

    // The device's buffers still hold a few milliseconds; after that, silence, even while the jet
    // flies on through more level frames.
    silentFrom = capture.left().size() + kFramesPerSecond / 10;
    for (int more = 0; more < 600; ++more) frameAndMaybeTick(frame++);
    capture.waitUntil(
        [&](const auto& samples) { return samples.size() > silentFrom + kFramesPerSecond / 2; });
  }
  EXPECT_FALSE(soundIn(capture.left(), silentFrom)) << "sound after the limit";
}

}  // namespace
}  // namespace skyfare
