#include "app/saver_session.h"

#include <QCoreApplication>
#include <QTimer>

#include "controls/qt_drawing_control.h"
#include "controls/sdl_sound_control.h"
#include "platform/qt_host_services.h"
#include "saver/fixed_seed_random.h"
#include "saver/form1.h"
#include "settings/qsettings_store.h"

namespace skyfare {
namespace {

constexpr int kTimerIntervalMs = 1000;

}  // namespace

int runSaver(const std::string& dataFolder) {
  QSettingsStore store;
  QtHostServices host;
  FixedSeedRandom random;
  SdlSoundControl sound;
  QtDrawingControl drawing;
  drawing.setDensePictureFolder(dataFolder);
  Form1 form(SessionParts{drawing, sound, store, host, random, dataFolder});

  // The timers run from the moment the window exists, like the window's own.
  QTimer tmrPlane;
  QTimer tmrPause;
  QTimer tmrSound;
  QObject::connect(&tmrPlane, &QTimer::timeout, [&form] { form.tmrPlaneTick(); });
  QObject::connect(&tmrPause, &QTimer::timeout, [&form] { form.tmrPauseTick(); });
  QObject::connect(&tmrSound, &QTimer::timeout, [&form] { form.tmrSoundTick(); });
  for (QTimer* timer : {&tmrPlane, &tmrPause, &tmrSound}) timer->start(kTimerIntervalMs);

  form.Load();
  if (form.ended())
    return kExitDisplayUnavailable;
  host.setScreenSaverRunning(true);
  const int exitCode = QCoreApplication::exec();
  // Any other end of the event loop (a termination signal) closes the window: the unload step
  // runs, without CloseDown.
  form.Unload();
  return exitCode;
}

}  // namespace skyfare
