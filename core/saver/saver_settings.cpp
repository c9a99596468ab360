#include "core/saver/saver_settings.h"

#include "core/controls/drawing_control.h"
#include "core/settings/conversions.h"
#include "core/settings/setting_keys.h"

namespace skyfare {
namespace {

std::int16_t int16OrDefault(std::optional<std::int16_t> value, Key key) {
  if (value)
    return *value;
  return *toInt16(settingKey(key).firstRunDefault);
}

int drawableSize(std::optional<std::int16_t> size) {
  if (!size || *size <= 0 || *size > kLargestFontSizePx)
    return kDefaultFontSizePx;
  return *size;
}

}  // namespace

SaverSettings readLoadStepSettings(SettingsStore& store) {
  SaverSettings settings;
  settings.Speed = leadingNumber(readSetting(store, Key::Speed));
  settings.SecDelay = leadingNumber(readSetting(store, Key::SecDelay));
  settings.FontSize = readSetting(store, Key::FontSize);
  settings.MouseSens = leadingNumber(readSetting(store, Key::MouseSens));
  settings.Clock = leadingNumber(readSetting(store, Key::Clock));
  settings.FontClock =
      int16OrDefault(toInt16(leadingNumber(readSetting(store, Key::FontClock))), Key::FontClock);
  settings.SoundOff = readSetting(store, Key::SoundOff);
  settings.Volume = int16OrDefault(toInt16(readSetting(store, Key::Volume)), Key::Volume);
  return settings;
}

int messageFontSize(const std::string& fontSizeText) {
  return drawableSize(toInt16(fontSizeText));
}

int clockFontSize(std::int16_t fontClock) {
  return drawableSize(fontClock);
}

}  // namespace skyfare
