// A stand-in for the picture choosers in the dialog's test host: a modal box titled as the
// chooser, whose OK stores a fixed path for its setting and whose Cancel stores nothing. It lets
// the driver see the dialog hand over to a chooser and show what the store holds afterwards.
#include "windows/chooser/picture_chooser.h"

#include "core/settings/setting_keys.h"
#include "windows/platform/wide_text.h"

namespace skyfare {

ChooserConfig GetFile() {
  return {L"Select Your Background", Key::BMPFileName};
}

ChooserConfig GetLogo() {
  return {L"Select Your Logo", Key::LogoFileName};
}

bool runPictureChooser(HINSTANCE, HWND owner, SettingsStore& store, const ChooserConfig& config) {
  const std::wstring path = L"C:\\Pictures\\" + config.title + L".bmp";
  if (MessageBoxW(owner, path.c_str(), config.title.c_str(), MB_OKCANCEL) != IDOK)
    return false;
  writeSetting(store, config.key, utf8FromWide(path));
  return true;
}

}  // namespace skyfare
