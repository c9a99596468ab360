#include "app/hosted_session.h"

#include <QCoreApplication>
#include <QWindow>

#include "app/session_timers.h"
#include "app/termination_watch.h"
#include "controls/qt_drawing_control.h"
#include "controls/sdl_sound_control.h"
#include "platform/host_window_follower.h"
#include "platform/qt_host_services.h"
#include "platform/sound_lock.h"
#include "saver/fixed_seed_random.h"
#include "saver/form1.h"
#include "settings/qsettings_store.h"
#include "sound/lock_gated_sound_control.h"

namespace skyfare {

int runHostedSession(HostedPlace place, const Installation& installation) {
  QSettingsStore store;
  QtHostServices host(PointerOwner::Host);
  FixedSeedRandom random;
  SoundLock soundLock;
  const bool mayBeHeard = !place.isPreview;
  LockGatedSoundControl sound([&] { return mayBeHeard && soundLock.tryTake(); },
                              [] { return std::make_unique<SdlSoundControl>(); });

  // Declared before the drawing component, whose window is its child, so that it goes last.
  std::unique_ptr<QWindow> hostWindow;
  if (place.hostWindow)
    hostWindow.reset(QWindow::fromWinId(static_cast<WId>(*place.hostWindow)));
  QtDrawingControl drawing(HostPlacement{hostWindow.get(), place.hostSize});
  drawing.setDensePictureFolder(installation.dataFolder);
  Form1 form(SessionParts{drawing, sound, store, host, random, installation.dataFolder,
                          installation.dataFolderFound});
  const SessionTimers timers(form);

  std::optional<HostWindowFollower> follower;
  if (place.hostWatch) {
    follower.emplace(
        std::move(place.hostWatch), [&drawing](QSize size) { drawing.followHostSize(size); },
        [] { QCoreApplication::exit(0); });
  }

  {
    const TerminationWatch endsDuringLoad;
    form.Load();
  }
  if (form.ended())
    return kExitDisplayUnavailable;
  const int exitCode = QCoreApplication::exec();
  form.Unload();
  return exitCode;
}

}  // namespace skyfare
