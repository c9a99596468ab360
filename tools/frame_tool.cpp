// Renders frames of a real display session without a window, on a clock that advances 1000/60
// ms per frame, and writes one of them: as a PNG, or as the preview window's still picture.
//
//   skyfare_frame_tool <data folder> <frames> <picture.png | preview.bmp> [Section/Key=value ...]
//
// The session starts from the first-run defaults in a settings folder of its own; the pairs
// change them. The same arguments always give the same picture.
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/bmp_file.h"
#include "assets/preview_picture.h"
#include "core/controls/silent_sound_control.h"
#include "core/saver/fixed_seed_random.h"
#include "core/saver/form1.h"
#include "core/settings/setting_keys.h"
#include "drawing/offscreen_drawing_control.h"
#include "platform/qt_host_services.h"
#include "settings/qsettings_store.h"

namespace {

using namespace skyfare;

// Time stands still but for the frames, and starts at a fixed time of day.
class SteppedHost final : public HostServices {
 public:
  void advanceFrame() {
    microseconds_ += kFrameMicros;
    if (++frames_ % 60 == 0)
      ++seconds_;
  }
  std::uint32_t tickCount() override { return static_cast<std::uint32_t>(microseconds_ / 1000); }
  double secondsSinceMidnight() override { return seconds_; }
  std::string timeOfDayText(int seconds) override { return timeFormat_.text(seconds); }
  void showCursor(bool) override {}
  void setScreenSaverRunning(bool) override {}
  void messageBox(const std::string& text, const std::string&) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  void endProcess(int) override {}
  int secondsSinceStart() const { return frames_ / 60; }

 private:
  static constexpr long long kFrameMicros = 1000000 / 60;
  LocalTimeFormat timeFormat_;
  long long microseconds_ = 1000000;
  long frames_ = 0;
  int seconds_ = 21 * 3600 + 30 * 60;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <data folder> <frames> <out.png|out.bmp> [Section/Key=value]\n",
                 argv[0]);
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", config.path().toUtf8().constData(), 1);
  setenv("XDG_RUNTIME_DIR", config.path().toUtf8().constData(), 1);

  std::string dataFolder = argv[1];
  if (dataFolder.empty() || dataFolder.back() != '/')
    dataFolder += '/';
  const long frames = std::atol(argv[2]);
  const QString out = QString::fromLocal8Bit(argv[3]);

  QSettingsStore store;
  SetRegistry(store, dataFolder);
  for (int i = 4; i < argc; ++i) {
    const std::string pair = argv[i];
    const auto slash = pair.find('/');
    const auto equals = pair.find('=');
    if (slash == std::string::npos || equals == std::string::npos || equals < slash)
      continue;
    store.SaveSetting(kApplication, pair.substr(0, slash),
                      pair.substr(slash + 1, equals - slash - 1), pair.substr(equals + 1));
  }

  OffscreenDrawingControl drawing;
  SilentSoundControl sound;
  SteppedHost host;
  FixedSeedRandom random;
  Form1 form(SessionParts{drawing, sound, store, host, random, dataFolder});
  form.Load();
  for (long f = 0; f < frames; ++f) {
    host.advanceFrame();
    if (f % 60 == 0) {
      form.tmrPlaneTick();
      form.tmrPauseTick();
      form.tmrSoundTick();
    }
    drawing.raiseFrame();
  }
  const QImage& frame = drawing.lastFrame();
  const bool preview = out.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
  if (!(preview ? assets::saveBmp(toPreviewPicture(frame), out) : frame.save(out))) {
    std::fprintf(stderr, "skyfare_frame_tool: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
