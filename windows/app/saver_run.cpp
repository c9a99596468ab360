#include "windows/app/saver_run.h"

#include <string>

#include "core/saver/data_folder.h"
#include "core/saver/fixed_seed_random.h"
#include "core/saver/form1.h"
#include "windows/app/installation_folder.h"
#include "windows/app/session_timers.h"
#include "windows/drawing/win32_drawing_control.h"
#include "windows/platform/debug_line.h"
#include "windows/platform/registry_store.h"
#include "windows/platform/win_host_services.h"
#include "windows/sound/wasapi_sound_control.h"

namespace skyfare {

int runSaver(HINSTANCE instance) {
  const std::string dataFolder = kInstallationFolder;
  const bool dataFolderFound = findDataFolder({dataFolder}).has_value();
  if (!dataFolderFound)
    debugLine("no data folder with the program's pictures at " + dataFolder);

  RegistryStore store;
  WinHostServices host;
  FixedSeedRandom random;
  WasapiSoundControl sound;
  Win32DrawingControl drawing;
  drawing.setDensePictureFolder(dataFolder);
  Form1 form(SessionParts{drawing, sound, store, host, random, dataFolder, dataFolderFound});
  const SessionTimers timers(instance, form);
  form.Load();
  if (form.ended())
    return kExitDisplayUnavailable;
  host.setScreenSaverRunning(true);
  // The frames read three settings each; they are asked of the registry only after a change.
  if (const HANDLE changed = store.followChanges())
    drawing.watch(changed, [&store] { store.takeChanges(); });
  const int exitCode = runMessageLoop(drawing);
  // Any other end than CloseDown (the session asked to quit) still runs the unload step.
  form.Unload();
  return exitCode;
}

}  // namespace skyfare
