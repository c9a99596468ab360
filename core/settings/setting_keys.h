#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skyfare {

class SettingsStore;

inline constexpr std::string_view kApplication = "Airlume";
inline constexpr std::string_view kStartup = "Startup";
inline constexpr std::string_view kSystem = "System";
// Every read in the program passes this default, whatever the key.
inline constexpr std::string_view kMissingValue = "1";
inline constexpr int16_t kFirstRunDone = 2;

enum class Key {
  BackGround,
  BMPFileName,
  Clock,
  FontClock,
  FontName,
  FontSize,
  LogoChecked,
  LogoFileName,
  Message,
  MessageChecked,
  Prop,
  SecDelay,
  SelectedFont,
  SelectedFontSize,
  Speed,
  Volume,
  MouseSens,
  PwrSave,
  SoundOff,
  SetReg,
};

// One row of the key table. Numeric keys carry the range the dialog offers; a default that is
// a file of the data folder names the file only, and the folder is put in front at run time.
struct SettingKey {
  Key key;
  std::string_view section;
  std::string_view name;
  std::string_view firstRunDefault;
  bool defaultInDataFolder = false;
  std::optional<int> minimum = std::nullopt;
  std::optional<int> maximum = std::nullopt;
};

// The twenty keys in the order the first-run initialisation writes them, SetReg last.
extern const std::array<SettingKey, 20> kSettingKeys;

const SettingKey& settingKey(Key key);

// The first-run default of a key as it is stored: data-folder files get the folder in front.
std::string firstRunDefault(Key key, std::string_view dataFolder);

// Reads a key with the program's one default, "1".
std::string readSetting(SettingsStore& store, Key key);
void writeSetting(SettingsStore& store, Key key, std::string_view value);

// Writes every first-run default in table order, overwriting what is stored, SetReg last.
void SetRegistry(SettingsStore& store, std::string_view dataFolder);

// The first-run check: true when SetReg, as a 16-bit integer, is not 2.
bool needsFirstRunDefaults(SettingsStore& store);

// Runs SetRegistry when the store has not been initialised yet.
void initialiseOnFirstRun(SettingsStore& store, std::string_view dataFolder);

}  // namespace skyfare
