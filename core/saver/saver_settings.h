#pragma once

#include <cstdint>
#include <string>

namespace skyfare {

class SettingsStore;

// The settings of a running display session, converted from their stored strings. Filled once
// at load, except Message, MessageChecked and FontName, which every frame reads again.
struct SaverSettings {
  double Speed = 0;
  double SecDelay = 0;
  std::string FontSize;
  double MouseSens = 0;
  double Clock = 0;
  std::int16_t FontClock = 0;
  std::string SoundOff;
  std::int16_t Volume = 0;
  double BackGround = 0;
  double LogoChecked = 0;
  std::string Message;
  double MessageChecked = 0;
  std::string FontName;
};

// The load step's fields, read in their order: Speed, SecDelay, FontSize, MouseSens, Clock,
// FontClock, SoundOff, Volume. A FontClock or Volume that is no 16-bit number takes its
// first-run default. The fields filled later are left empty.
SaverSettings readLoadStepSettings(SettingsStore& store);

// Font sizes in pixels for drawing. A size that is no positive number, or larger than the
// scene draws (kLargestFontSizePx), draws at the default size; the stored text stays as the
// user typed it.
inline constexpr int kDefaultFontSizePx = 20;
int messageFontSize(const std::string& fontSizeText);
int clockFontSize(std::int16_t fontClock);

}  // namespace skyfare
