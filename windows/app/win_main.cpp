// Module1's Main: reads the command line once, chooses the run mode and starts its window.
#include "windows/platform/win32_api.h"

#include <string>

#include "core/app/run_mode.h"
#include "windows/app/installation_folder.h"
#include "windows/app/preview_window.h"
#include "windows/app/saver_run.h"
#include "windows/platform/command_line.h"
#include "windows/platform/display_settings_window.h"
#include "windows/platform/password_change.h"
#include "windows/platform/single_instance.h"
#include "windows/platform/wide_text.h"

namespace {

constexpr wchar_t kProgramTitle[] = L"Skyfare";
constexpr wchar_t kNoSettingsDialogText[] =
    L"The settings dialog is not part of this build of Skyfare.";
constexpr wchar_t kPreviewPicture[] = L"preview.bmp";

// The password dialog wants the saver window as its parent; a hidden window stands in for it,
// since this mode opens no display session.
void changePasswordOwnedByHiddenWindow(HINSTANCE instance) {
  const HWND owner = CreateWindowExW(0, L"STATIC", kProgramTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                                     nullptr, instance, nullptr);
  skyfare::changeSaverPassword(owner);
  if (owner != nullptr)
    DestroyWindow(owner);
}

int runProgram(HINSTANCE instance) {
  using namespace skyfare;
  const StartRequest request = parseCommandLine(processArguments());
  if (request.mode == RunMode::NoWindow)
    return 0;

  const bool settingsWindow = displaySettingsWindowOpen();
  const SingleInstance singleInstance;
  if (endsEarly(request, settingsWindow, singleInstance.anotherInstanceRuns())) {
    singleInstance.tellAnotherInstanceRuns();
    return 0;
  }

  switch (request.mode) {
    case RunMode::ShowSaver:
      return runSaver(instance);
    case RunMode::ShowPreview:
      return runPreview(instance, previewHostWindow(request.hostWindow),
                        wideFromUtf8(kInstallationFolder) + kPreviewPicture);
    case RunMode::Configure:
      MessageBoxW(nullptr, kNoSettingsDialogText, kProgramTitle, MB_OK | MB_ICONINFORMATION);
      return 0;
    case RunMode::ChangePassword:
      changePasswordOwnedByHiddenWindow(instance);
      return 0;
    case RunMode::NoWindow:
      break;
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return runProgram(instance);
}
