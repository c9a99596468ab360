// Module1's Main: reads the command line once, chooses the run mode and starts its window.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/installation.h"
#include "app/memory_arenas.h"
#include "app/preview_window.h"
#include "app/saver_session.h"
#include "app/termination/leave_process.h"
#include "app/termination/loop_termination.h"
#include "app/termination/termination_signals.h"
#include "config/run_configure.h"
#include "core/app/run_mode.h"
#include "platform/display_probe.h"
#include "platform/password_service.h"
#include "platform/single_instance.h"
#include "settings/qsettings_store.h"
#include "wayland/wayland_connection.h"

namespace {

std::string commandLineOf(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1)
      text += ' ';
    text += argv[i];
  }
  return text;
}

// Whether the mode opens windows of its own on the desktop (the Control Box and its choosers),
// which carry the program's icon. The saver's full-screen and preview windows show none, and
// looking it up in the icon theme would cost the saver memory it keeps all session.
enum class DesktopWindows { None, Shown };

int withGuiApplication(int argc, char** argv, DesktopWindows windows,
                       const std::function<int()>& run) {
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Skyfare"));
  // Lets the desktop match our windows with the menu entry and show its icon.
  app.setDesktopFileName(QStringLiteral(SKYFARE_APP_ID));
  if (windows == DesktopWindows::Shown)
    app.setWindowIcon(QIcon::fromTheme(QStringLiteral(SKYFARE_APP_ID)));
  app.setQuitOnLastWindowClosed(false);
  return run();
}

// A connection of our own when the saver is to draw on layer surfaces: a Wayland compositor is
// named, no Qt platform is forced, and the compositor offers layer surfaces.
std::unique_ptr<skyfare::WaylandConnection> layerShellConnection() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0')
    return nullptr;
  const char* display = std::getenv("WAYLAND_DISPLAY");
  const char* socket = std::getenv("WAYLAND_SOCKET");
  if ((display == nullptr || *display == '\0') && (socket == nullptr || *socket == '\0'))
    return nullptr;
  return skyfare::WaylandConnection::open();
}

constexpr const char* kLockBackgroundSwitch = "--lock-background";

// A locker hands its own connection over in WAYLAND_SOCKET; the switch asks for the same mode
// where it cannot. Only the exact switch counts, so every other text keeps its meaning.
bool wantsLockBackground(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], kLockBackgroundSwitch) == 0)
    return true;
  const char* socket = std::getenv("WAYLAND_SOCKET");
  return socket != nullptr && *socket != '\0' &&
         skyfare::parseCommandLine(commandLineOf(argc, argv)).mode == skyfare::RunMode::ShowSaver;
}

// Qt paints but opens no connection of its own: its offscreen platform, chosen on its command
// line rather than in the environment, which the session's children would inherit.
int withOffscreenApplication(int argc, char** argv, const std::function<int()>& run) {
  std::string platformOption = "-platform";
  std::string offscreen = "offscreen";
  std::vector<char*> arguments(argv, argv + argc);
  arguments.insert(arguments.begin() + 1, {platformOption.data(), offscreen.data()});
  arguments.push_back(nullptr);
  return withGuiApplication(static_cast<int>(arguments.size() - 1), arguments.data(),
                            DesktopWindows::None, run);
}

}  // namespace

static int runProgram(int argc, char** argv) {
  using namespace skyfare;
  blockTerminationSignals();
  // Behind a lock screen there is no single-instance rule: each locker brings its own.
  if (wantsLockBackground(argc, argv)) {
    const auto connection = WaylandConnection::open();
    if (connection == nullptr) {
      std::fprintf(
          stderr,
          "skyfare: the compositor offers no layer surfaces for a lock-screen background\n");
      return 1;
    }
    const Installation installation = findInstallation(argv[0], "skyfare");
    return withOffscreenApplication(1, argv, [&]() -> int {
      const LoopTermination quitOnSignal(WayOfEnding::ExitZero);
      return runLockBackground(installation, *connection);
    });
  }
  const StartRequest request = parseCommandLine(commandLineOf(argc, argv));
  if (request.mode == RunMode::NoWindow)
    return 0;

  const bool settingsWindow = displaySettingsWindowOpen();
  const SingleInstance instance;
  if (endsEarly(request, settingsWindow, instance.anotherInstanceRuns())) {
    instance.tellAnotherInstanceRuns();
    return 0;
  }

  const Installation installation = findInstallation(argv[0], "skyfare");
  const std::string& dataFolder = installation.dataFolder;
  if (request.mode == RunMode::ShowSaver) {
    if (const auto layers = layerShellConnection()) {
      return withOffscreenApplication(argc, argv, [&]() -> int {
        const LoopTermination quitOnSignal(WayOfEnding::ExitZero);
        return runLayerSaver(installation, *layers);
      });
    }
  }
  const std::string displayProblem = skyfare::displayProblem();
  if (!displayProblem.empty())
    std::fprintf(stderr, "skyfare: cannot open a display: %s\n", displayProblem.c_str());
  if (!displayProblem.empty() && request.mode == RunMode::ShowSaver) {
    // The session still runs its load step, so its display error is what the user is told.
    QCoreApplication app(argc, argv);
    const LoopTermination quitOnSignal(WayOfEnding::ExitZero);
    return runSaver(installation);
  }
  if (!displayProblem.empty())
    return request.mode == RunMode::ShowPreview ? 0 : 1;

  const bool desktopWindows =
      request.mode == RunMode::Configure || request.mode == RunMode::ChangePassword;
  return withGuiApplication(
      argc, argv, desktopWindows ? DesktopWindows::Shown : DesktopWindows::None, [&]() -> int {
        const LoopTermination quitOnSignal(WayOfEnding::ExitZero);
        switch (request.mode) {
          case RunMode::ShowSaver:
            return runSaver(installation);
          case RunMode::ShowPreview:
            return runPreview(request.hostWindow, dataFolder);
          case RunMode::Configure: {
            QSettingsStore store;
            return runConfigure(store, dataFolder);
          }
          case RunMode::ChangePassword:
            changeSaverPassword();
            return 0;
          case RunMode::NoWindow:
            break;
        }
        return 0;
      });
}

int main(int argc, char** argv) {
  skyfare::allocateFromOneArena();
  return skyfare::leaveProcess(runProgram(argc, argv));
}
