#include "app/saver_session.h"

#include "app/session_loop.h"
#include "controls/qt_drawing_control.h"
#include "controls/sdl_sound_control.h"
#include "core/saver/fixed_seed_random.h"
#include "core/saver/form1.h"
#include "platform/qt_host_services.h"
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

  return runSessionLoop(form, [&host] { host.setScreenSaverRunning(true); });
}

}  // namespace skyfare
