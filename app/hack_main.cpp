// The entry point for screen-saver hosts: draws the saver into the window a host passes
// (XSCREENSAVER_WINDOW, --window-id) and leaves input, pointer and locking to the host.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/hosted_session.h"
#include "app/installation.h"
#include "app/memory_arenas.h"
#include "app/termination/leave_process.h"
#include "app/termination/loop_termination.h"
#include "app/termination/termination_signals.h"
#include "core/app/hack_arguments.h"
#include "platform/display_probe.h"

namespace {

constexpr const char* kProgramName = "skyfare-hack";
constexpr int kExitBadWindow = 1;
constexpr int kExitNoDisplay = 1;

}  // namespace

static int runEntryPoint(int argc, char** argv) {
  using namespace skyfare;
  blockTerminationSignals();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const HackRequest request = parseHackArguments(arguments, std::getenv("XSCREENSAVER_WINDOW"));
  for (const std::string& argument : request.unknownArguments)
    std::fprintf(stderr, "%s: unknown argument \"%s\" ignored\n", kProgramName, argument.c_str());
  if (!request.badWindowId.empty()) {
    std::fprintf(stderr, "%s: \"%s\" is not a window id\n", kProgramName,
                 request.badWindowId.c_str());
    return kExitBadWindow;
  }
  if (const std::string problem = displayProblem(); !problem.empty()) {
    std::fprintf(stderr, "%s: cannot open a display: %s\n", kProgramName, problem.c_str());
    return kExitNoDisplay;
  }

  HostedPlace place;
  place.isPreview = request.isPreview;
  if (request.hostWindow) {
    place.hostWindow = request.hostWindow;
    place.hostWatch = std::make_unique<X11WindowWatch>(*request.hostWindow);
    const std::optional<QSize> size = place.hostWatch->clientSize();
    if (!size) {
      std::fprintf(stderr, "%s: there is no window 0x%x on this display\n", kProgramName,
                   *request.hostWindow);
      return kExitBadWindow;
    }
    place.hostSize = *size;
  }
  const Installation installation = findInstallation(argv[0], kProgramName);

  QGuiApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Skyfare"));
  // A window of its own ends the program when it is closed; a host's window ends it when gone.
  app.setQuitOnLastWindowClosed(!place.hostWindow);
  const LoopTermination endOnSignal(WayOfEnding::BySignal);
  return endOnSignal.leave(runHostedSession(std::move(place), installation));
}

int main(int argc, char** argv) {
  skyfare::allocateFromOneArena();
  return skyfare::leaveProcess(runEntryPoint(argc, argv));
}
