#include "app/saver_session.h"

#include <QCoreApplication>

#include "app/session_loop.h"
#include "core/saver/form1.h"
#include "platform/qt_host_services.h"
#include "screen/qt_drawing_control.h"
#include "sound/sdl_sound_control.h"
#include "wayland/wayland_drawing_control.h"

namespace skyfare {
namespace {

int runWith(const Installation& installation, DisplayListControl& drawing, QtHostServices& host) {
  SdlSoundControl sound;
  return runDisplaySession(installation, drawing, sound, host, WayOfEnding::ExitZero,
                           [&host] { host.setScreenSaverRunning(true); });
}

}  // namespace

int runSaver(const Installation& installation) {
  QtHostServices host;
  QtDrawingControl drawing;
  return runWith(installation, drawing, host);
}

int runLayerSaver(const Installation& installation, WaylandConnection& connection) {
  QtHostServices host;
  WaylandDrawingControl drawing(connection, overlayPlacement(),
                                [] { QCoreApplication::exit(kExitDisplayUnavailable); });
  return runWith(installation, drawing, host);
}

int runLockBackground(const Installation& installation, WaylandConnection& connection) {
  QtHostServices host;
  WaylandDrawingControl drawing(connection, backgroundPlacement(),
                                [] { QCoreApplication::exit(0); });
  return runWith(installation, drawing, host);
}

}  // namespace skyfare
