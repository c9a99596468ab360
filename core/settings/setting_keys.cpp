#include "core/settings/setting_keys.h"

#include <algorithm>
#include <string>

#include "core/settings/conversions.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace skyfare {

const std::array<SettingKey, 20> kSettingKeys = {{
    {Key::BackGround, kStartup, "BackGround", "3", false, 1, 3},
    {Key::BMPFileName, kStartup, "BMPFileName", "city lights.bmp", true},
    {Key::Clock, kStartup, "Clock", "1", false, 0, 1},
    {Key::FontClock, kStartup, "FontClock", "20"},
    {Key::FontName, kStartup, "FontName", "Arial"},
    {Key::FontSize, kStartup, "FontSize", "20"},
    {Key::LogoChecked, kStartup, "LogoChecked", "0", false, 0, 1},
    {Key::LogoFileName, kStartup, "LogoFileName", "SF-Logo.bmp", true},
    {Key::Message, kStartup, "Message", "Place a Message Here"},
    {Key::MessageChecked, kStartup, "MessageChecked", "0", false, 0, 1},
    {Key::Prop, kStartup, "Prop", "1", false, 0, 1},
    {Key::SecDelay, kStartup, "SecDelay", "30", false, 30, 300},
    {Key::SelectedFont, kStartup, "SelectedFont", "2", false, 0},
    {Key::SelectedFontSize, kStartup, "SelectedFontSize", "2", false, 0, 10},
    {Key::Speed, kStartup, "Speed", "3", false, 2, 100},
    {Key::Volume, kStartup, "Volume", "-1533", false, -2500, 0},
    {Key::MouseSens, kSystem, "MouseSens", "4", false, 2, 20},
    {Key::PwrSave, kSystem, "PwrSave", "0", false, 0, 1},
    {Key::SoundOff, kSystem, "SoundOff", kNeverStopSound},
    {Key::SetReg, kSystem, "SetReg", "2"},
}};

const SettingKey& settingKey(Key key) {
  const auto row = std::find_if(kSettingKeys.begin(), kSettingKeys.end(),
                                [key](const SettingKey& k) { return k.key == key; });
  return *row;  // every Key has its row
}

std::string firstRunDefault(Key key, std::string_view dataFolder) {
  const SettingKey& row = settingKey(key);
  std::string value;
  if (row.defaultInDataFolder)
    value = dataFolder;
  value += row.firstRunDefault;
  return value;
}

std::string readSetting(SettingsStore& store, Key key) {
  const SettingKey& row = settingKey(key);
  return store.GetSetting(kApplication, row.section, row.name, kMissingValue);
}

void writeSetting(SettingsStore& store, Key key, std::string_view value) {
  const SettingKey& row = settingKey(key);
  store.SaveSetting(kApplication, row.section, row.name, value);
}

void SetRegistry(SettingsStore& store, std::string_view dataFolder) {
  std::array<std::string, kSettingKeys.size()> values;
  std::array<SettingWrite, kSettingKeys.size()> writes;
  for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
    const SettingKey& row = kSettingKeys[i];
    values[i] = firstRunDefault(row.key, dataFolder);
    writes[i] = {row.section, row.name, values[i]};
  }
  // One write: a start cut short leaves no half-set store behind.
  store.SaveSettings(kApplication, writes);
}

bool needsFirstRunDefaults(SettingsStore& store) {
  return toInt16(readSetting(store, Key::SetReg)) != kFirstRunDone;
}

void initialiseOnFirstRun(SettingsStore& store, std::string_view dataFolder) {
  if (needsFirstRunDefaults(store))
    SetRegistry(store, dataFolder);
}

}  // namespace skyfare
