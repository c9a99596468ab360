// Costs of the drawing component per frame, for the saver's typical scene.
#include <benchmark/benchmark.h>

#include <QPainter>

#include "bench/bench_scene.h"
#include "drawing/display_list_control.h"
#include "drawing/frame_damage.h"
#include "drawing/offscreen_drawing_control.h"
#include "drawing/scene_renderer.h"
#include "tests/support/list_recorder.h"

namespace skyfare::bench {
namespace {

const QSize kScreenSize(1920, 1080);

using testing::ListRecorder;

// How many such frames one core could make in a second; 60 divided by it is the share of a
// core the saver would spend at 60 frames a second.
void reportFramesPerCoreSecond(benchmark::State& state) {
  state.counters["frames_per_core_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A renderer kept up to date on a 1920 × 1080 screen, the way a screen window is.
class ScreenPath {
 public:
  ScreenPath()
      : scene_(recorder_), renderer_(kScreenSize), screen_(kScreenSize, QImage::Format_RGB32) {
    scene_.compose();
    QPainter painter(&screen_);
    renderer_.renderBars(painter);
    renderer_.render(painter, recorder_.flipped, renderer_.mapping().content());
    presented_ = recorder_.flipped;
  }

  // Composes the next frame and returns its damage on the screen.
  QRegion composeAndDiff(bool moveAircraft) {
    if (moveAircraft)
      scene_.moveAircraft();
    scene_.compose();
    const QRegion damage = renderer_.mapping().toTarget(frameDamage(presented_, recorder_.flipped));
    presented_ = std::move(recorder_.flipped);
    return damage;
  }
  void render(const QRegion& damage) {
    if (damage.isEmpty())
      return;
    QPainter painter(&screen_);
    renderer_.render(painter, presented_, damage);
  }

 private:
  ListRecorder recorder_;
  BenchScene scene_;
  SceneRenderer renderer_;
  QImage screen_;
  DisplayList presented_;
};

void BM_OffscreenFrameAircraftMoved(benchmark::State& state) {
  OffscreenDrawingControl drawing;
  BenchScene scene(drawing);
  scene.compose();
  for (auto _ : state) {
    scene.moveAircraft();
    scene.compose();
  }
  reportFramesPerCoreSecond(state);
}
BENCHMARK(BM_OffscreenFrameAircraftMoved);

void BM_OffscreenFrameUnchanged(benchmark::State& state) {
  OffscreenDrawingControl drawing;
  BenchScene scene(drawing);
  scene.compose();
  for (auto _ : state) scene.compose();
  reportFramesPerCoreSecond(state);
}
BENCHMARK(BM_OffscreenFrameUnchanged);

void BM_ComposeAndDiffAircraftMoved(benchmark::State& state) {
  ScreenPath path;
  for (auto _ : state) benchmark::DoNotOptimize(path.composeAndDiff(true));
  reportFramesPerCoreSecond(state);
}
BENCHMARK(BM_ComposeAndDiffAircraftMoved);

void BM_RenderDamage1920x1080(benchmark::State& state) {
  ScreenPath path;
  double damagedPx = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const QRegion damage = path.composeAndDiff(true);
    for (const QRect& rect : damage) damagedPx += static_cast<double>(rect.width()) * rect.height();
    state.ResumeTiming();
    path.render(damage);
  }
  state.counters["screen_px_per_frame"] =
      benchmark::Counter(damagedPx, benchmark::Counter::kAvgIterations);
  reportFramesPerCoreSecond(state);
}
BENCHMARK(BM_RenderDamage1920x1080);

void BM_ScreenFrameAircraftMoved1920x1080(benchmark::State& state) {
  ScreenPath path;
  for (auto _ : state) path.render(path.composeAndDiff(true));
  reportFramesPerCoreSecond(state);
}
BENCHMARK(BM_ScreenFrameAircraftMoved1920x1080);

void BM_ScreenFrameUnchanged1920x1080(benchmark::State& state) {
  ScreenPath path;
  for (auto _ : state) path.render(path.composeAndDiff(false));
  reportFramesPerCoreSecond(state);
}
BENCHMARK(BM_ScreenFrameUnchanged1920x1080);

// What repainting the whole scene on every frame would cost, for comparison.
void BM_FullRepaint1920x1080(benchmark::State& state) {
  ScreenPath path;
  const SceneMapping mapping(kScreenSize);
  for (auto _ : state) {
    path.composeAndDiff(true);
    path.render(QRegion(mapping.content()));
  }
  reportFramesPerCoreSecond(state);
}
BENCHMARK(BM_FullRepaint1920x1080);

}  // namespace
}  // namespace skyfare::bench
