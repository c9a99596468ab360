#include "app/session_loop.h"

#include <QCoreApplication>

#include "app/session_timers.h"
#include "app/termination/termination_watch.h"
#include "core/saver/fixed_seed_random.h"
#include "core/saver/form1.h"
#include "drawing/display_list_control.h"
#include "settings/qsettings_store.h"

namespace skyfare {

int runDisplaySession(const Installation& installation, DisplayListControl& drawing,
                      SoundControl& sound, HostServices& host, WayOfEnding wayOfEnding,
                      const std::function<void()>& afterLoad) {
  QSettingsStore store;
  FixedSeedRandom random;
  drawing.setDensePictureFolder(installation.dataFolder);
  Form1 form(SessionParts{drawing, sound, store, host, random, installation.dataFolder,
                          installation.dataFolderFound});
  const SessionTimers timers(form);
  {
    const TerminationWatch endsDuringLoad(wayOfEnding);
    form.Load();
  }
  if (form.ended())
    return kExitDisplayUnavailable;
  if (afterLoad)
    afterLoad();
  const int exitCode = QCoreApplication::exec();
  // Any other end of the event loop than CloseDown (a termination signal, the host's window
  // gone) closes the window: the unload step runs, without CloseDown.
  form.Unload();
  return exitCode;
}

}  // namespace skyfare
