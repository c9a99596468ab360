#include "windows/sound/wasapi_sound_control.h"

#include <tlhelp32.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <numbers>
#include <string>

#include "tests/support/wave_bytes.h"
#include "tests/windows/sound/sound_capture.h"

namespace skyfare {
namespace {

using testing::Burst;
using testing::bursts;
using testing::kCaptureRateHz;
using testing::rms;
using testing::waitUntil;
using testing::writeToneWave;

constexpr int kWaveRateHz = 22050;
constexpr int kShortToneFrames = kWaveRateHz / 5;
constexpr int kLongToneFrames = kWaveRateHz * 3;
constexpr double kToneAmplitude = 0.5;
constexpr std::size_t kWindowFrames = 4800;  // whole periods of the tone
constexpr std::size_t kSettleFrames = kCaptureRateHz / 10;

// Frames at the capture's rate that a wave at its own rate lasts.
double capturedFrames(int waveFrames) {
  return static_cast<double>(waveFrames) * kCaptureRateHz / kWaveRateHz;
}

double decibelsBelowFullScale(double measuredRms) {
  return 20.0 * std::log10(measuredRms / (32767.0 * kToneAmplitude / std::sqrt(2.0)));
}

class WasapiSoundControlTest : public ::testing::Test {
 protected:
  WasapiSoundControlTest() {
    DeleteFileA(testing::windowsPath(SKYFARE_CAPTURE_FILE).c_str());
    writeToneWave(shortTone_, kShortToneFrames, kToneAmplitude, kWaveRateHz);
    writeToneWave(longTone_, kLongToneFrames, kToneAmplitude, kWaveRateHz);
  }
  ~WasapiSoundControlTest() override {
    sound_.reset();
    for (const std::string& file : {shortTone_, longTone_}) DeleteFileA(file.c_str());
  }

  static std::string file(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "skyfare-sound-" + std::to_string(GetCurrentProcessId()) + "-" +
           name;
  }
  std::vector<std::int16_t> captured() const { return testing::capturedLeft(SKYFARE_CAPTURE_FILE); }
  // Waits until the capture holds this many bursts followed by silence, or a burst this long.
  void waitForEndedBursts(std::size_t count) {
    EXPECT_TRUE(waitUntil([&] {
      const auto samples = captured();
      const auto found = bursts(samples);
      return found.size() >= count && found[count - 1].end + kSettleFrames <= samples.size();
    })) << "waiting for "
        << count << " bursts";
  }
  // The capture holds one burst and nothing else, as long as a wave of this many frames.
  void expectOneWholeBurst(int waveFrames) const {
    const auto found = bursts(captured());
    ASSERT_EQ(found.size(), 1U);
    EXPECT_NEAR(static_cast<double>(found[0].length()), capturedFrames(waveFrames), 100.0);
  }
  void waitForFramesIntoBurst(std::size_t frames) {
    EXPECT_TRUE(waitUntil([&] {
      const auto samples = captured();
      const auto found = bursts(samples);
      return !found.empty() && samples.size() - found.back().begin >= frames;
    }));
  }

  testing::WineAudioDriver alsa_{L"alsa"};
  std::string shortTone_ = file("short.wav");
  std::string longTone_ = file("long.wav");
  std::unique_ptr<WasapiSoundControl> sound_ = std::make_unique<WasapiSoundControl>();
};

// The stored volume is heard in hundredths of a decibel; below the quietest it stays at the
// quietest, above the loudest at the loudest.
TEST_F(WasapiSoundControlTest, TheStoredVolumeIsHeardInHundredthsOfADecibel) {
  const SoundHandle tone = sound_->LoadWave(shortTone_);
  const int volumes[] = {-1533, -10000, 500};
  const double heardDb[] = {-15.33, -25.0, 0.0};
  for (std::size_t i = 0; i < std::size(volumes); ++i) {
    sound_->SetVolume(tone, volumes[i]);
    sound_->PlaySound(tone, -1, -1);
    waitForEndedBursts(i + 1);
  }
  sound_.reset();

  const auto samples = captured();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), std::size(volumes));
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_NEAR(static_cast<double>(found[i].length()), capturedFrames(kShortToneFrames), 100.0);
    const std::size_t from = found[i].begin + 500;
    EXPECT_NEAR(decibelsBelowFullScale(rms(samples, from, from + kWindowFrames)), heardDb[i], 0.1)
        << "volume " << volumes[i];
  }
}

TEST_F(WasapiSoundControlTest, AWaveAtItsOwnRatePlaysForItsOwnLength) {
  sound_->PlaySound(sound_->LoadWave(longTone_), -1, -1);
  waitForEndedBursts(1);
  sound_.reset();
  expectOneWholeBurst(kLongToneFrames);
}

// Stereo waves keep their sides, 8-bit ones their level, and a wave at another rate its
// length: the left side carries the tone at half of full scale, the right side a louder one
// that must not reach the left.
struct StereoRow {
  const char* name;
  std::uint16_t bits;
  int rateHz;
  friend void PrintTo(const StereoRow& row, std::ostream* out) { *out << row.name; }
};

class StereoWaveTest : public WasapiSoundControlTest,
                       public ::testing::WithParamInterface<StereoRow> {};

TEST_P(StereoWaveTest, IsHeardOnItsOwnSideAtItsLevelForItsLength) {
  const StereoRow row = GetParam();
  const int frames = row.rateHz / 4;
  std::string bytes = testing::waveHeader(
      {.channels = 2, .rateHz = static_cast<std::uint32_t>(row.rateHz), .bitsPerSample = row.bits},
      static_cast<std::uint32_t>(frames) * 2 * row.bits / 8);
  for (int i = 0; i < frames; ++i) {
    const double wave = std::sin(2.0 * std::numbers::pi * testing::kToneHz * i / row.rateHz);
    for (const double level : {kToneAmplitude * wave, 0.9 * wave}) {
      if (row.bits == 8)
        testing::putLittleEndian(bytes, static_cast<std::uint32_t>(std::lround(128 + 127 * level)),
                                 1);
      else
        testing::putLittleEndian(bytes, static_cast<std::uint16_t>(std::lround(32767 * level)), 2);
    }
  }
  const std::string path = file("stereo.wav");
  std::ofstream(path, std::ios::binary) << bytes;
  sound_->PlaySound(sound_->LoadWave(path), -1, -1);
  waitForEndedBursts(1);
  sound_.reset();
  const auto samples = captured();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), 1U);
  EXPECT_NEAR(static_cast<double>(found[0].length()), kCaptureRateHz / 4.0, 100.0);
  const std::size_t from = found[0].begin + 500;
  EXPECT_NEAR(decibelsBelowFullScale(rms(samples, from, from + kWindowFrames)), 0.0, 0.1);
  DeleteFileA(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Rows, StereoWaveTest,
                         ::testing::Values(StereoRow{"EightBitAtTheMixRate", 8, kCaptureRateHz},
                                           StereoRow{"SixteenBitAtAnother", 16, 44100}),
                         [](const auto& info) { return std::string(info.param.name); });

// The frame event plays the jet sound on every frame: a sound that plays goes on, so it lasts
// its own length however often it is played.
TEST_F(WasapiSoundControlTest, PlayingASoundThatPlaysDoesNotRestartIt) {
  const SoundHandle tone = sound_->LoadWave(longTone_);
  sound_->PlaySound(tone, -1, -1);
  for (int i = 1; i <= 5; ++i) {
    waitForFramesIntoBurst(i * kSettleFrames);
    sound_->PlaySound(tone, -1, -1);
  }
  waitForEndedBursts(1);
  sound_.reset();
  expectOneWholeBurst(kLongToneFrames);
}

struct SilencingRow {
  const char* name;
  void (*silence)(SoundControl&, SoundHandle);
  bool playsAgain;
  friend void PrintTo(const SilencingRow& row, std::ostream* out) { *out << row.name; }
};

class SilencingTest : public WasapiSoundControlTest,
                      public ::testing::WithParamInterface<SilencingRow> {};

// Cut short, and heard again when played again, unless released.
TEST_P(SilencingTest, CutsTheSoundShortUntilPlayedAgain) {
  const SoundHandle tone = sound_->LoadWave(longTone_);
  const SoundHandle marker = sound_->LoadWave(shortTone_);
  sound_->PlaySound(tone, -1, -1);
  waitForFramesIntoBurst(kSettleFrames);
  GetParam().silence(*sound_, tone);
  const std::size_t silencedAt = captured().size();
  EXPECT_TRUE(waitUntil([&] { return captured().size() >= silencedAt + 3 * kSettleFrames; }));
  sound_->PlaySound(tone, -1, -1);
  if (!GetParam().playsAgain)
    sound_->PlaySound(marker, -1, -1);
  waitForEndedBursts(2);
  sound_.reset();

  const auto found = bursts(captured());
  ASSERT_EQ(found.size(), 2U);
  EXPECT_LT(static_cast<double>(found[0].length()), capturedFrames(kLongToneFrames) / 2);
  EXPECT_GE(found[1].begin - found[0].end, 2 * kSettleFrames);
  const double secondFrames =
      capturedFrames(GetParam().playsAgain ? kLongToneFrames : kShortToneFrames);
  EXPECT_NEAR(static_cast<double>(found[1].length()), secondFrames, 100.0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SilencingTest,
    ::testing::Values(
        SilencingRow{"StopSound", [](SoundControl& s, SoundHandle h) { s.StopSound(h); }, true},
        SilencingRow{"StopAll", [](SoundControl& s, SoundHandle) { s.StopAll(); }, true},
        SilencingRow{"ReleaseSound", [](SoundControl& s, SoundHandle h) { s.ReleaseSound(h); },
                     false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WasapiSoundControlTest, HandlesCountUpAndUnknownOnesAreIgnored) {
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
  waitForEndedBursts(1);
  sound_.reset();
  const auto samples = captured();
  const auto found = bursts(samples);
  ASSERT_EQ(found.size(), 1U);
  const std::size_t from = found[0].begin + 500;
  EXPECT_NEAR(decibelsBelowFullScale(rms(samples, from, from + kWindowFrames)), 0.0, 0.1);
}

// The threads of this process, as Windows counts them.
int threadCount() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
  CloseHandle(snapshot);
  return count;
}

// Runs this thread's messages, as the saver's loop does, until the condition holds.
bool runMessagesUntil(const std::function<bool()>& condition) {
  return waitUntil([&] {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return condition();
  });
}

// Silence must not keep the mixing and the audio driver awake; the next sound opens a
// device again and is heard whole. The capture is removed while no device writes it, so what
// it then holds comes from the new device alone.
TEST_F(WasapiSoundControlTest, QuietReleasesTheDeviceAndTheNextSoundOpensOneAndIsHeardWhole) {
  sound_ = std::make_unique<WasapiSoundControl>(std::chrono::milliseconds(500));
  const SoundHandle tone = sound_->LoadWave(shortTone_);
  sound_->PlaySound(tone, -1, -1);
  waitForEndedBursts(1);
  // Without its messages the control cannot have released anything yet.
  const int threadsWithDevice = threadCount();
  ASSERT_TRUE(runMessagesUntil([&] { return threadCount() < threadsWithDevice; }))
      << "the quiet did not release the device";
  ASSERT_TRUE(DeleteFileA(testing::windowsPath(SKYFARE_CAPTURE_FILE).c_str()));

  sound_->PlaySound(tone, -1, -1);
  EXPECT_TRUE(runMessagesUntil([&] {
    const auto samples = captured();
    const auto found = bursts(samples);
    return found.size() == 1 && found[0].end + kSettleFrames <= samples.size();
  })) << "the sound after the quiet was not heard";
  sound_.reset();
  expectOneWholeBurst(kShortToneFrames);
}

// Controls that start and end at once, their devices still opening or just opened, leave the
// next one a device that plays: the openings and the releases of the process take turns.
TEST_F(WasapiSoundControlTest, ControlsEndedWhileTheirDevicesOpenLeaveTheNextOneADeviceThatPlays) {
  constexpr int kControls = 24;
  for (int i = 0; i < kControls; ++i) {
    sound_ = std::make_unique<WasapiSoundControl>();
    if (i % 2 == 1)
      sound_->LoadWave(shortTone_);  // waits a little: this one's device may be open
  }
  sound_->PlaySound(sound_->LoadWave(shortTone_), -1, -1);
  waitForEndedBursts(1);
  sound_.reset();
  expectOneWholeBurst(kShortToneFrames);
}

struct BadFileRow {
  const char* name;
  std::string content;  // empty with no path: the file does not exist
  const char* path = nullptr;
  friend void PrintTo(const BadFileRow& row, std::ostream* out) { *out << row.name; }
};

// A wave header declaring 16-bit mono at the rate, with the data chunk's size and encoding.
std::string waveHeader(std::uint32_t rateHz, std::uint32_t dataBytes, std::uint16_t tag = 1) {
  return testing::waveHeader({.tag = tag, .rateHz = rateHz}, dataBytes);
}

class BadFileTest : public WasapiSoundControlTest,
                    public ::testing::WithParamInterface<BadFileRow> {};

TEST_P(BadFileTest, GivesAHandleThatPlaysNothingAndSaysSoOnce) {
  std::string path = GetParam().path != nullptr ? GetParam().path : file("takeoff.wav");
  if (!GetParam().content.empty())
    std::ofstream(path, std::ios::binary) << GetParam().content;
  testing::DebugLines said;
  const SoundHandle bad = sound_->LoadWave(path);
  sound_->PlaySound(bad, -1, -1);
  sound_->SetVolume(bad, -1000);
  sound_->PlaySound(bad, -1, -1);
  sound_->StopSound(bad);
  sound_->StopAll();
  sound_->ReleaseSound(bad);
  EXPECT_NE(bad, 0);
  ASSERT_EQ(said.lines().size(), 1U);
  EXPECT_THAT(said.lines()[0],
              ::testing::StartsWith("skyfare: cannot read sound file " + path + ": "));
  EXPECT_THAT(said.lines()[0], ::testing::EndsWith("\n"));

  // Nothing of it is heard: the good sound after it is the only one.
  const SoundHandle good = sound_->LoadWave(shortTone_);
  sound_->PlaySound(good, -1, -1);
  waitForEndedBursts(1);
  sound_.reset();
  expectOneWholeBurst(kShortToneFrames);
  DeleteFileA(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadFileTest,
    ::testing::Values(BadFileRow{"Missing", {}}, BadFileRow{"Folder", {}, "C:\\windows"},
                      BadFileRow{"Device", {}, "Z:\\dev\\zero"},
                      BadFileRow{"NotAWave", "RIFF\x10garbage"},
                      BadFileRow{"OneHertz", waveHeader(1, 1000) + std::string(1000, '\0')},
                      // A huge declared size on a short file must not be believed, nor allocated.
                      BadFileRow{"Truncated",
                                 waveHeader(22050, 600U << 20) + std::string(1000, '\x11')},
                      BadFileRow{"Adpcm", waveHeader(22050, 1000, 2) + std::string(1000, '\x11')},
                      BadFileRow{"NoSamples", waveHeader(22050, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace skyfare
