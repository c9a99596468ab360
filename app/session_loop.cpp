#include "app/session_loop.h"

#include <QCoreApplication>

#include "app/session_timers.h"
#include "app/termination_watch.h"
#include "core/saver/form1.h"

namespace skyfare {

int runSessionLoop(Form1& form, const std::function<void()>& afterLoad) {
  const SessionTimers timers(form);
  {
    const TerminationWatch endsDuringLoad;
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
