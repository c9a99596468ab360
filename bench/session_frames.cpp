// The time each frame of a long display session takes on the real windowed drawing component:
// the saver's own session on its first-run settings (picture background, logo, clock, fast jet)
// with the program's pictures, on a clock that advances 1000/60 ms a frame, frames composed one
// after another as fast as they come. The default runs the whole relay and airliner 1's second
// flight. Prints the load step, the median, 99th-percentile and longest frame, the longest frames
// with their numbers, and the process's peak memory.
// Usage: skyfare_session_frames [frames]    (on an X server; see bench/README.md)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "core/controls/silent_sound_control.h"
#include "core/saver/fixed_seed_random.h"
#include "core/saver/form1.h"
#include "core/settings/setting_keys.h"
#include "screen/qt_drawing_control.h"
#include "settings/qsettings_store.h"
#include "tests/support/manual_host.h"

namespace skyfare::bench {
namespace {

// Airliner 1 flies again at frame 13013 of a session.
constexpr long kWholeRelayFrames = 13'100;
constexpr long kFrameMicros = 1'000'000 / 60;
constexpr int kExposeWatchdogMs = 20'000;
constexpr std::size_t kLongestShown = 8;

double peakMemoryMiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly))
    return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
  }
  return 0;
}

double msOf(std::chrono::nanoseconds duration) {
  return static_cast<double>(duration.count()) / 1e6;
}

}  // namespace
}  // namespace skyfare::bench

int main(int argc, char** argv) {
  using namespace skyfare;
  using namespace skyfare::bench;
  using Clock = std::chrono::steady_clock;
  QGuiApplication app(argc, argv);
  const long frames = argc > 1 ? std::max(1L, std::atol(argv[1])) : kWholeRelayFrames;
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toUtf8().constData(), 1);
  const std::string dataFolder = SKYFARE_DATA_DIR "/";

  QSettingsStore store;
  SetRegistry(store, dataFolder);
  QtDrawingControl drawing;
  drawing.setDensePictureFolder(dataFolder);
  SilentSoundControl sound;
  testing::ManualHost host;
  FixedSeedRandom random;
  Form1 form(SessionParts{drawing, sound, store, host, random, dataFolder});
  const Clock::time_point loadStart = Clock::now();
  form.Load();
  const double loadMs = msOf(Clock::now() - loadStart);
  if (form.ended()) {
    std::fprintf(stderr, "skyfare_session_frames: no screen\n");
    return 1;
  }
  // Frames come from this loop alone, not from the component's pacer.
  drawing.setEventSink(nullptr);
  QElapsedTimer watchdog;
  watchdog.start();
  while (drawing.statistics().flushes == 0 && watchdog.elapsed() < kExposeWatchdogMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

  std::vector<double> frameMs;
  frameMs.reserve(static_cast<std::size_t>(frames));
  // Where each airliner comes into the sky: it enters the screen within the second after.
  std::vector<std::size_t> arrivals;
  std::array<bool, kAirlinerCount> flying{};
  long micros = 0;
  for (long f = 0; f < frames; ++f) {
    micros += kFrameMicros;
    host.advanceMs(static_cast<std::uint32_t>(micros / 1000));
    micros %= 1000;
    if (f % 60 == 59) {
      form.tmrPlaneTick();
      form.tmrPauseTick();
      form.tmrSoundTick();
    }
    const Clock::time_point start = Clock::now();
    form.FrameUpdate();
    frameMs.push_back(msOf(Clock::now() - start));
    QCoreApplication::processEvents();
    for (int k = 0; k < kAirlinerCount; ++k) {
      if (form.planes()[k].hasTurn && !flying[k])
        arrivals.push_back(static_cast<std::size_t>(f));
      flying[k] = form.planes()[k].hasTurn;
    }
  }

  std::vector<std::size_t> byLength(frameMs.size());
  std::iota(byLength.begin(), byLength.end(), std::size_t{0});
  std::sort(byLength.begin(), byLength.end(),
            [&](std::size_t a, std::size_t b) { return frameMs[a] > frameMs[b]; });
  std::vector<double> sorted = frameMs;
  std::sort(sorted.begin(), sorted.end());
  const auto percentile = [&](double share) {
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(share * sorted.size()))];
  };
  const long slow =
      std::count_if(frameMs.begin(), frameMs.end(), [](double ms) { return ms > 1000.0 / 60.0; });

  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  std::printf("screen %d x %d, %ld frames (%.1f s of session), load step %.1f ms\n", screen.width(),
              screen.height(), frames, static_cast<double>(frames) / 60.0, loadMs);
  std::printf("frame: median %.3f ms, 99th percentile %.3f ms, longest %.3f ms; %ld over 16.7 ms\n",
              percentile(0.5), percentile(0.99), sorted.back(), slow);
  // The first frame paints the whole screen.
  std::printf("first frame %.3f ms; after it, longest %.3f ms\n", frameMs.front(),
              frames > 1 ? *std::max_element(frameMs.begin() + 1, frameMs.end()) : 0.0);
  // The longest frame of the second after each arrival but the first frame's.
  std::vector<double> arrivalMs;
  for (const std::size_t arrival : arrivals) {
    if (arrival == 0)
      continue;
    const std::size_t end = std::min(arrival + 60, frameMs.size());
    arrivalMs.push_back(*std::max_element(frameMs.begin() + static_cast<long>(arrival),
                                          frameMs.begin() + static_cast<long>(end)));
  }
  if (!arrivalMs.empty()) {
    std::sort(arrivalMs.begin(), arrivalMs.end());
    std::printf(
        "longest frame of the second after each of %zu airliners comes into the sky: median "
        "%.3f ms, longest %.3f ms\n",
        arrivalMs.size(), arrivalMs[arrivalMs.size() / 2], arrivalMs.back());
  }
  std::printf("longest frames:");
  for (std::size_t i = 0; i < std::min(kLongestShown, byLength.size()); ++i)
    std::printf(" %zu (%.2f ms)", byLength[i] + 1, frameMs[byLength[i]]);
  std::printf("\nframes presented %lld, peak memory %.1f MiB\n",
              static_cast<long long>(drawing.statistics().framesPresented), peakMemoryMiB());
  return 0;
}
