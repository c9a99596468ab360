#include "app/saver_session.h"

#include <QCoreApplication>

#include "app/session_timers.h"
#include "app/termination_watch.h"
#include "controls/qt_drawing_control.h"
#include "controls/sdl_sound_control.h"
#include "platform/qt_host_services.h"
#include "saver/fixed_seed_random.h"
#include "saver/form1.h"
#include "settings/qsettings_store.h"

namespace skyfare {

int runSaver(const Installation& installation) {
  QSettingsStore store;
  QtHostServices host;
  FixedSeedRandom random;
  SdlSoundControl sound;
  QtDrawingControl drawing;
  drawing.setDensePictureFolder(installation.dataFolder);
  Form1 form(SessionParts{drawing, sound, store, host, random, installation.dataFolder,
                          installation.dataFolderFound});

  const SessionTimers timers(form);

  {
    const TerminationWatch endsDuringLoad;
    form.Load();
  }
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
