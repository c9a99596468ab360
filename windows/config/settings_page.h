#pragma once

#include <windows.h>

#include <array>

#include "core/settings/setting_keys.h"
#include "windows/config/dialog_page.h"

namespace skyfare {

class SettingsStore;

// The "Settings" tab: sounds, aircraft speed, mouse sensitivity, the clock and power saving.
// Each control writes its setting the moment it changes. The speed, sensitivity and interval
// sliders write on every movement of a dragged thumb; the volume slider only once the thumb is
// released. Sliders and check boxes take stored values within their range only: an in-range
// value that changes what a control shows is written back in its normalised form, as if the
// user had set it; one clamped into the range is shown and not written.
class SettingsPage final : public DialogPage {
 public:
  SettingsPage(HINSTANCE instance, HWND parent, SettingsStore& store);

  void loadProp();
  void loadSpeed();
  void loadSecDelay();
  void loadMouseSens();
  void loadClock();
  void loadFontClock();
  void loadSoundOff();
  void loadVolume();
  void loadPowerSave();

  // Lays the controls that stand between the words of their labels over those labels' gaps.
  void placeGapControls();

 private:
  struct Slider {
    int id;
    int valueBoxId;  // 0: the slider has none
    Key key;
    bool writesWhileDragged;
    int value;  // the value last shown, to tell a change
  };
  struct Check {
    int id;
    Key key;
  };

  bool handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void onScroll(HWND bar, int code);
  void onCommand(int id, int code);
  Slider* sliderOf(HWND bar);
  void showValue(const Slider& slider);
  void changed(Slider& slider, int value);
  void loadSlider(Key key);
  void loadCheck(Key key);
  void createPowerSaveHint();

  SettingsStore& store_;
  std::array<Slider, 4> sliders_;
  std::array<Check, 3> checks_;
};

}  // namespace skyfare
