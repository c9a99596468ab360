// Runs the windowed drawing component with the saver's typical scene for a while and prints
// the frame rate and the share of a core that this process, and optionally the display
// server, spent. With "still" the aircraft stay put, so every frame is the same.
// Usage: skyfare_draw_load [seconds] [display-server-pid] [still]
#include <sys/resource.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <string_view>

#include "bench/bench_scene.h"
#include "screen/qt_drawing_control.h"

namespace skyfare::bench {
namespace {

constexpr int kWarmUpMs = 1000;

double processCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// User plus system time of another process, from /proc.
std::optional<double> otherCpuSeconds(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly))
    return std::nullopt;
  const QByteArray line = stat.readAll();
  // The fields after the command name, which is in parentheses and may hold spaces.
  const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
  constexpr int kUserTimeField = 11;
  constexpr int kSystemTimeField = 12;
  if (fields.size() <= kSystemTimeField)
    return std::nullopt;
  const double ticks = fields[kUserTimeField].toDouble() + fields[kSystemTimeField].toDouble();
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Sample {
  qint64 wallMs = 0;
  double processCpu = 0;
  std::optional<double> serverCpu;
  DrawingStatistics statistics;
};

class LoadSink final : public DrawingEvents {
 public:
  LoadSink(BenchScene& scene, bool moving) : scene_(scene), moving_(moving) {}
  void FrameUpdate() override {
    if (moving_)
      scene_.moveAircraft();
    scene_.compose();
  }
  void MouseMove() override {}
  void MouseDown() override {}
  void KeyDown() override {}

 private:
  BenchScene& scene_;
  bool moving_;
};

}  // namespace
}  // namespace skyfare::bench

int main(int argc, char** argv) {
  using namespace skyfare;
  using namespace skyfare::bench;
  QGuiApplication app(argc, argv);
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const qint64 serverPid = argc > 2 ? std::atoll(argv[2]) : 0;
  const bool moving = argc <= 3 || std::string_view(argv[3]) != "still";

  QtDrawingControl drawing;
  BenchScene scene(drawing);
  LoadSink sink(scene, moving);
  drawing.setEventSink(&sink);
  if (!drawing.InitDisplay(kSceneWidth, kSceneHeight, 16, "")) {
    std::fprintf(stderr, "skyfare_draw_load: no screen\n");
    return 1;
  }

  QElapsedTimer wall;
  wall.start();
  auto sample = [&] {
    return Sample{wall.elapsed(), processCpuSeconds(),
                  serverPid > 0 ? otherCpuSeconds(serverPid) : std::nullopt, drawing.statistics()};
  };
  Sample first;
  QTimer::singleShot(kWarmUpMs, Qt::PreciseTimer, &app, [&] { first = sample(); });
  QTimer::singleShot(kWarmUpMs + seconds * 1000, Qt::PreciseTimer, &app, &QCoreApplication::quit);
  app.exec();
  const Sample last = sample();

  const double spanS = static_cast<double>(last.wallMs - first.wallMs) / 1000.0;
  const auto frames = last.statistics.framesComposed - first.statistics.framesComposed;
  std::printf("screens %zu, measured %.1f s after %d ms warm-up\n", drawing.windowCount(), spanS,
              kWarmUpMs);
  std::printf(
      "frames composed %lld (%.2f per second), presented %lld, flushes %lld\n",
      static_cast<long long>(frames), static_cast<double>(frames) / spanS,
      static_cast<long long>(last.statistics.framesPresented - first.statistics.framesPresented),
      static_cast<long long>(last.statistics.flushes - first.statistics.flushes));
  std::printf("first frame shown %lld ms after InitDisplay\n",
              static_cast<long long>(last.statistics.msToFirstFrame.value_or(-1)));
  std::printf("this process: %.2f %% of one core\n",
              100.0 * (last.processCpu - first.processCpu) / spanS);
  if (last.serverCpu && first.serverCpu) {
    std::printf("display server: %.2f %% of one core\n",
                100.0 * (*last.serverCpu - *first.serverCpu) / spanS);
  }
  return 0;
}
