#include "app/hosted_session.h"

#include <QCoreApplication>
#include <QWindow>

#include "app/session_loop.h"
#include "core/saver/form1.h"
#include "core/sound/lock_gated_sound_control.h"
#include "platform/host_window_follower.h"
#include "platform/qt_host_services.h"
#include "platform/sound_lock.h"
#include "screen/qt_drawing_control.h"
#include "sound/sdl_sound_control.h"

namespace skyfare {

int runHostedSession(HostedPlace place, const Installation& installation) {
  QtHostServices host(PointerOwner::Host);
  SoundLock soundLock;
  const bool mayBeHeard = !place.isPreview;
  LockGatedSoundControl sound([&] { return mayBeHeard && soundLock.tryTake(); },
                              [] { return std::make_unique<SdlSoundControl>(); });

  // Declared before the drawing component, whose window is its child, so that it goes last.
  std::unique_ptr<QWindow> hostWindow;
  if (place.hostWindow)
    hostWindow.reset(QWindow::fromWinId(static_cast<WId>(*place.hostWindow)));
  QtDrawingControl drawing(HostPlacement{hostWindow.get(), place.hostSize});
  std::optional<HostWindowFollower> follower;
  if (place.hostWatch) {
    follower.emplace(
        std::move(place.hostWatch), [&drawing](QSize size) { drawing.followHostSize(size); },
        [] { QCoreApplication::exit(0); });
  }

  return runDisplaySession(installation, drawing, sound, host, WayOfEnding::BySignal);
}

}  // namespace skyfare
