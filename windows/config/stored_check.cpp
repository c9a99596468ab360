#include "windows/config/stored_check.h"

#include <optional>

#include "core/settings/shown_number.h"
#include "windows/config/win_controls.h"

namespace skyfare {

void writeCheck(SettingsStore& store, Key key, HWND box) {
  writeSetting(store, key, isTicked(box) ? "1" : "0");
}

void loadCheck(SettingsStore& store, Key key, HWND box) {
  const std::optional<ShownNumber> shown = shownNumber(readSetting(store, key), 0, 1);
  if (!shown || (shown->value == 1) == isTicked(box))
    return;
  setTicked(box, shown->value == 1);
  if (shown->inRange)
    writeCheck(store, key, box);
}

}  // namespace skyfare
