#pragma once

#include <string>
#include <string_view>

#include "core/settings/setting_keys.h"

class QCheckBox;
class QComboBox;
class QScrollBar;
class QString;

namespace skyfare {

class SettingsStore;

// The decimal text a numeric control writes: "0", "3", "-1533".
std::string decimalText(int value);

// A check box with the object name `name` that writes its setting whenever it is ticked or
// cleared: "1" when ticked, "0" when not.
QCheckBox* createSettingCheck(SettingsStore& store, const char* name, const QString& caption,
                              Key key);

// Sets a slider from its stored text. A value inside the range goes through the slider's change
// handling when it changes what the slider shows; a value clamped into the range is shown
// without it, so nothing is written until the user moves the slider.
void loadSlider(QScrollBar& bar, std::string_view stored);

// The same for a check box, whose range is 0 to 1.
void loadCheck(QCheckBox& box, std::string_view stored);

// Selects a list entry by its stored position, clamped into the list. True when the position lay
// inside the list and changed the selection: the caller then writes it back normalised.
bool loadPosition(QComboBox& list, std::string_view stored);

}  // namespace skyfare
