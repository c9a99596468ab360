#include "sound/sdl_sound_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <span>
#include <sstream>
#include <thread>

#include <SDL.h>

#include "sound/sdl_audio_device.h"
#include "tests/sound/disk_capture.h"
#include "tests/sound/wave_file.h"
#include "tests/support/deaf_sound_server.h"
#include "tests/support/wave_bytes.h"

namespace skyfare {
namespace {

using testing::Burst;
using testing::bursts;
using testing::DiskCapture;
using testing::rms;
using testing::writeToneWave;

constexpr int kShortToneFrames = testing::kWaveRateHz * 2 / 5;
constexpr int kLongToneFrames = testing::kWaveRateHz * 3;
constexpr std::size_t kSettleFrames = testing::kWaveRateHz / 10;
constexpr std::size_t kWindowFrames = 2000;  // 20 whole periods of the tone
constexpr double kToneAmplitude = 0.6;

// Bursts that have ended: a stretch of silence follows them.
std::size_t endedBursts(const std::vector<std::int16_t>& samples) {
  std::size_t ended = 0;
  for (const Burst& b : bursts(samples)) ended += b.end + kSettleFrames <= samples.size() ? 1 : 0;
  return ended;
}

// Frames captured from the start of the last burst, 0 while there is none.
std::size_t framesIntoLastBurst(const std::vector<std::int16_t>& samples) {
  const auto found = bursts(samples);
  return found.empty() ? 0 : samples.size() - found.back().begin;
}

class SdlSoundControlTest : public ::testing::Test {
 protected:
  SdlSoundControlTest() {
    writeToneWave(shortTone_, kShortToneFrames, [](double) { return kToneAmplitude; });
    writeToneWave(longTone_, kLongToneFrames, [](double) { return kToneAmplitude; });
  }

  // Waits for the capture to grow by some frames past what it holds now.
  void waitForMoreFrames(std::size_t frames) {
    const std::size_t target = capture_.left().size() + frames;
    capture_.waitUntil([target](const auto& s) { return s.size() >= target; });
  }

  DiskCapture capture_;
  std::string shortTone_ = capture_.file("short.wav");
  std::string longTone_ = capture_.file("long.wav");
  std::unique_ptr<SdlSoundControl> sound_ = std::make_unique<SdlSoundControl>();
};

TEST_F(SdlSoundControlTest, MinusTwoThousandIsOneTenthOfFullLoudnessOnTheNextPlay) {
  const SoundHandle tone = sound_->LoadWave(shortTone_);
  sound_->PlaySound(tone, -1, -1);
  capture_.waitUntil([](const auto& s) { return endedBursts(s) == 1; });
  sound_->SetVolume(tone, -2000);
  sound_->PlaySound(tone, -1, -1);
  capture_.waitUntil([](const auto& s) { return endedBursts(s) == 2; });
  sound_.reset();

  const auto samples = capture_.left();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), 2U);
  for (const Burst& b : found) EXPECT_NEAR(static_cast<double>(b.length()), kShortToneFrames, 2.0);
  const double loud = rms(samples, found[0].begin + 100, found[0].begin + 100 + kWindowFrames * 5);
  const double quiet = rms(samples, found[1].begin + 100, found[1].begin + 100 + kWindowFrames * 5);
  EXPECT_NEAR(loud, 32767.0 * kToneAmplitude / std::sqrt(2.0), 50.0);
  EXPECT_NEAR(quiet / loud, 0.1, 0.002);
}

TEST_F(SdlSoundControlTest, AWaveAtHalfTheMixersRatePlaysForItsOwnLengthAtItsOwnLevel) {
  const std::string halfRateTone = capture_.file("half-rate.wav");
  writeToneWave(
      halfRateTone, kShortToneFrames / 2, [](double) { return kToneAmplitude; },
      testing::kWaveRateHz / 2);
  sound_->PlaySound(sound_->LoadWave(halfRateTone), -1, -1);
  capture_.waitUntil([](const auto& s) { return endedBursts(s) == 1; });
  sound_.reset();

  const auto samples = capture_.left();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), 1U);
  // The resampler's filter may smear the edges by a few frames.
  EXPECT_NEAR(static_cast<double>(found[0].length()), kShortToneFrames, 40.0);
  EXPECT_NEAR(rms(samples, found[0].begin + 200, found[0].begin + 200 + kWindowFrames * 5),
              32767.0 * kToneAmplitude / std::sqrt(2.0), 50.0);
}

TEST_F(SdlSoundControlTest, VolumeChangeReachesASoundAlreadyPlaying) {
  const SoundHandle tone = sound_->LoadWave(longTone_);
  sound_->PlaySound(tone, -1, -1);
  capture_.waitUntil([](const auto& s) { return framesIntoLastBurst(s) > kSettleFrames; });
  sound_->SetVolume(tone, -2000);
  waitForMoreFrames(3 * kSettleFrames);
  sound_->StopSound(tone);
  sound_.reset();

  const auto samples = capture_.left();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), 1U);
  const double before = rms(samples, found[0].begin + 100, found[0].begin + 100 + kWindowFrames);
  const double after = rms(samples, found[0].end - 100 - kWindowFrames, found[0].end - 100);
  EXPECT_NEAR(after / before, 0.1, 0.002);
}

struct SilencingRow {
  const char* name;
  void (*silence)(SoundControl&, SoundHandle);
  bool playsAgain;
};

class SilencingTest : public SdlSoundControlTest,
                      public ::testing::WithParamInterface<SilencingRow> {};

TEST_P(SilencingTest, LeavesSilenceUntilPlayedAgain) {
  const SoundHandle tone = sound_->LoadWave(longTone_);
  sound_->PlaySound(tone, -1, -1);
  capture_.waitUntil([](const auto& s) { return framesIntoLastBurst(s) > kSettleFrames; });
  GetParam().silence(*sound_, tone);
  waitForMoreFrames(3 * kSettleFrames);
  sound_->PlaySound(tone, -1, -1);
  waitForMoreFrames(3 * kSettleFrames);
  sound_.reset();

  const auto samples = capture_.left();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), GetParam().playsAgain ? 2U : 1U);
  EXPECT_LT(found[0].length(), static_cast<std::size_t>(kLongToneFrames) / 2);
  const std::size_t silenceEnd = found.size() == 2 ? found[1].begin : samples.size();
  EXPECT_GE(silenceEnd - found[0].end, 2 * kSettleFrames);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SilencingTest,
    ::testing::Values(
        SilencingRow{"StopSound", [](SoundControl& s, SoundHandle h) { s.StopSound(h); }, true},
        SilencingRow{"StopAll", [](SoundControl& s, SoundHandle) { s.StopAll(); }, true},
        SilencingRow{"ReleaseSound", [](SoundControl& s, SoundHandle h) { s.ReleaseSound(h); },
                     false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SdlSoundControlTest, PlayingASoundThatPlaysDoesNotRestartIt) {
  const std::string ramp = capture_.file("ramp.wav");
  writeToneWave(ramp, kLongToneFrames, [](double t) { return 0.1 + 0.8 * t; });
  const SoundHandle tone = sound_->LoadWave(ramp);
  sound_->PlaySound(tone, -1, -1);
  capture_.waitUntil([](const auto& s) { return framesIntoLastBurst(s) > 3 * kSettleFrames; });
  sound_->PlaySound(tone, -1, -1);
  waitForMoreFrames(3 * kSettleFrames);
  sound_.reset();

  // A restart would show as the rising amplitude falling back to where it began.
  const auto samples = capture_.left();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), 1U);
  int lastPeak = 0;
  for (std::size_t at = found[0].begin; at + kWindowFrames <= found[0].end; at += kWindowFrames) {
    int peak = 0;
    for (std::size_t i = at; i < at + kWindowFrames; ++i)
      peak = std::max(peak, static_cast<int>(samples[i]));
    EXPECT_GE(peak, lastPeak - 2) << "at frame " << at - found[0].begin;
    lastPeak = peak;
  }
}

TEST_F(SdlSoundControlTest, HandlesCountUpAndUnknownOnesAreIgnored) {
  const SoundHandle first = sound_->LoadWave(shortTone_);
  const SoundHandle second = sound_->LoadWave(shortTone_);
  sound_->ReleaseSound(first);
  const SoundHandle third = sound_->LoadWave(shortTone_);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(third, 3);

  sound_->PlaySound(third, -1, -1);
  for (const SoundHandle unknown : {0, first, 99}) {
    sound_->PlaySound(unknown, -1, -1);
    sound_->SetVolume(unknown, kQuietestVolume);
    sound_->StopSound(unknown);
    sound_->ReleaseSound(unknown);
  }
  capture_.waitUntil([](const auto& s) { return endedBursts(s) == 1; });
  sound_.reset();

  const auto samples = capture_.left();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), 1U);
  EXPECT_NEAR(static_cast<double>(found[0].length()), kShortToneFrames, 2.0);
  EXPECT_NEAR(rms(samples, found[0].begin + 100, found[0].begin + 100 + kWindowFrames),
              32767.0 * kToneAmplitude / std::sqrt(2.0), 50.0);
}

struct BadFileRow {
  const char* name;
  std::function<void(const std::string& path)> make;  // nothing: the file does not exist
};

void writeBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A wave header declaring 16-bit stereo at the rate, with the data chunk's size.
std::string waveHeader(std::uint32_t rateHz, std::uint32_t dataBytes) {
  return testing::waveHeader({.channels = 2, .rateHz = rateHz}, dataBytes);
}

std::string withoutLinesOf(std::string_view prefix, const std::string& text) {
  std::istringstream lines(text);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with(prefix))
      kept += line + '\n';
  }
  return kept;
}

class BadFileTest : public SdlSoundControlTest, public ::testing::WithParamInterface<BadFileRow> {};

TEST_P(BadFileTest, GivesAHandleThatPlaysNothingAndSaysSoOnce) {
  std::string path = capture_.file("takeoff.wav");
  if (GetParam().make)
    GetParam().make(path);
  if (std::string_view(GetParam().name) == "Device")
    path = "/dev/zero";

  ::testing::internal::CaptureStderr();
  const SoundHandle bad = sound_->LoadWave(path);
  sound_->PlaySound(bad, -1, -1);
  sound_->SetVolume(bad, -1000);
  sound_->PlaySound(bad, -1, -1);
  sound_->StopSound(bad);
  sound_->StopAll();
  sound_->ReleaseSound(bad);
  // The device opens on a thread of its own; the disk driver announces itself meanwhile.
  const std::string said = withoutLinesOf("CRITICAL:", ::testing::internal::GetCapturedStderr());
  EXPECT_THAT(said, ::testing::StartsWith("skyfare: cannot read sound file " + path + ": "));
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(bad, 0);

  const SoundHandle good = sound_->LoadWave(shortTone_);
  sound_->PlaySound(good, -1, -1);
  capture_.waitUntil([](const auto& s) { return endedBursts(s) == 1; });
  EXPECT_NE(good, bad);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadFileTest,
    ::testing::Values(
        BadFileRow{"Missing", {}},
        BadFileRow{"Empty", [](const std::string& path) { writeBytes(path, ""); }},
        BadFileRow{"NotAWave",
                   [](const std::string& path) { writeBytes(path, "RIFF\x10garbage bytes"); }},
        BadFileRow{"Fifo", [](const std::string& path) { mkfifo(path.c_str(), 0600); }},
        BadFileRow{"Device", {}},
        BadFileRow{"OneHertz",
                   [](const std::string& path) {
                     writeBytes(path, waveHeader(1, 1000) + std::string(1000, '\0'));
                   }},
        BadFileRow{"SixHundredMegabytes",
                   [](const std::string& path) {
                     constexpr std::uint32_t kDataBytes = 600U << 20;
                     writeBytes(path, waveHeader(44100, kDataBytes));
                     ASSERT_EQ(truncate(path.c_str(), 44 + kDataBytes), 0);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SdlSoundControlWithoutDevice, RunsSilentAndSaysSoOnce) {
  DiskCapture capture;
  setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
  const std::string tone = capture.file("tone.wav");
  writeToneWave(tone, kShortToneFrames, [](double) { return kToneAmplitude; });

  ::testing::internal::CaptureStderr();
  {
    SdlSoundControl sound;
    const SoundHandle first = sound.LoadWave(tone);
    const SoundHandle second = sound.LoadWave(capture.file("missing.wav"));
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_NE(first, second);
    sound.PlaySound(first, -1, -1);
    sound.SetVolume(first, -2000);
    sound.StopSound(first);
    sound.StopAll();
    sound.ReleaseSound(first);
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "skyfare: no audio device; the saver runs silent\n");
}

TEST(SdlSoundControlWithoutDevice, AlsaAddsNothingToTheOneLine) {
  DiskCapture capture;
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  ::testing::internal::CaptureStderr();
  { SdlSoundControl sound; }
  // Empty where a sound card is present.
  EXPECT_THAT(::testing::internal::GetCapturedStderr(),
              ::testing::AnyOf("", "skyfare: no audio device; the saver runs silent\n"));
}

// Waits, with a watchdog, until the condition holds.
void waitUntil(const std::function<bool()>& condition, const char* what) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << what;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

class SilentSource final : public AudioSource {
  bool fill(std::span<std::int16_t> samples) override {
    std::fill(samples.begin(), samples.end(), std::int16_t{0});
    return false;
  }
};

// A device that cannot open is not tried again, so SDL's audio, with the thread it looks for
// sound cards with, does not stay for the rest of the session.
TEST(SdlAudioDeviceThatCannotOpen, LeavesNothingOfSdlsAudioRunning) {
  DiskCapture capture;
  setenv("SDL_DISKAUDIOFILE", capture.file("no-such-folder/capture.raw").c_str(), 1);
  SilentSource source;
  ::testing::internal::CaptureStderr();
  SdlAudioDevice device(source);
  waitUntil([&] { return device.hasFailed(); }, "the opening fails");
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0U);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "skyfare: no audio device; the saver runs silent\n");
}

// A server that accepts and never answers holds an opening for tens of seconds. Ending the
// component must not wait for it, however many end in a row, and the openings left behind
// finish by themselves once the server hangs up, one after another, never side by side.
TEST(SdlSoundControlWithDeafServer, EndsAtOnceAndLeavesTheOpeningBehindUntilTheServerGoes) {
  constexpr int kEndedControls = 8;
  // Even a quarter of a second's wait for each would make these ends take two seconds.
  constexpr auto kEndsBound = std::chrono::seconds(1);
  testing::DeafSoundServer server;
  auto first = std::make_unique<SdlSoundControl>();
  waitUntil([&] { return server.accepted() > 0; }, "the opening never reached the server");

  const auto started = std::chrono::steady_clock::now();
  first.reset();
  for (int i = 1; i < kEndedControls; ++i) SdlSoundControl another;
  EXPECT_LT(std::chrono::steady_clock::now() - started, kEndsBound);
  EXPECT_TRUE(SdlAudioDevice::openingLeftBehind());
  // Each waits its turn behind the hung one instead of opening beside it.
  EXPECT_EQ(server.accepted(), 1);

  server.hangUp();
  waitUntil([] { return !SdlAudioDevice::openingLeftBehind(); },
            "the openings left behind never finished");
  DiskCapture capture;
  SilentSource source;
  const SdlAudioDevice device(source);
  EXPECT_TRUE(device.isOpen(std::chrono::seconds(20)));
  EXPECT_FALSE(SdlAudioDevice::openingLeftBehind());
}

// The threads SDL runs for open audio devices, which it names after them.
int audioDeviceThreads() {
  int count = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    count += name.starts_with("SDLAudio") ? 1 : 0;
  }
  return count;
}

// Silence must not keep a device, and with it the sound server, awake; the next sound gets a
// new device and is heard whole from its first sample. The disk driver starts its file afresh
// for each device, so the capture then holds the new device's output alone.
TEST_F(SdlSoundControlTest, QuietClosesTheDeviceAndTheNextSoundOpensOneAndIsHeardWhole) {
  sound_ = std::make_unique<SdlSoundControl>(std::chrono::milliseconds(300));
  const SoundHandle tone = sound_->LoadWave(shortTone_);
  sound_->PlaySound(tone, -1, -1);
  capture_.waitUntil([](const auto& s) { return endedBursts(s) == 1; });
  waitUntil([] { return audioDeviceThreads() == 0; }, "the quiet did not close the device");

  sound_->PlaySound(tone, -1, -1);
  waitUntil([] { return audioDeviceThreads() == 1; }, "the sound opened no device");
  capture_.waitUntil([](const auto& s) { return endedBursts(s) == 1; });
  const auto samples = capture_.left();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), 1U);
  EXPECT_LT(found[0].begin, 40U);
  EXPECT_NEAR(static_cast<double>(found[0].length()), kShortToneFrames, 40.0);
  EXPECT_NEAR(rms(samples, found[0].begin + 200, found[0].begin + 200 + kWindowFrames * 5),
              32767.0 * kToneAmplitude / std::sqrt(2.0), 50.0);
}

TEST(SdlSoundControlSignals, TerminateStillEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  DiskCapture capture;
  EXPECT_EXIT(
      {
        SdlSoundControl sound;
        std::raise(SIGTERM);
      },
      ::testing::KilledBySignal(SIGTERM), "");
}

}  // namespace
}  // namespace skyfare
