#pragma once

#include <QWidget>

#include "core/settings/setting_keys.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QScrollBar;

namespace skyfare {

class EntryPickCombo;
class SettingsStore;

// The "Settings" tab: sound, aircraft speed, mouse sensitivity, clock and power saving. Every
// control writes its setting the moment it changes; the load steps set each control from the
// store in the order the dialog's opening calls them.
class SettingsTab final : public QWidget {
  Q_OBJECT

 public:
  explicit SettingsTab(SettingsStore& store, QWidget* parent = nullptr);

  void loadProp();
  void loadSpeed();
  void loadSecDelay();
  void loadMouseSens();
  void loadClock();
  void loadFontClock();
  void loadSoundOff();
  void loadVolume();
  void loadPowerSave();

 private:
  QGroupBox* createSoundsGroup();
  QGroupBox* createSpeedGroup();
  QGroupBox* createMouseGroup();
  QGroupBox* createClockGroup();
  QScrollBar* createSlider(const char* name, Key key, int initial);
  QLineEdit* createValueBox(const char* name);
  void connectSlider(QScrollBar* bar, QLineEdit* valueBox, Key key);
  void loadSliderWithBox(QScrollBar* bar, QLineEdit* valueBox, Key key);

  SettingsStore& store_;

  QScrollBar* hsbVolume_ = nullptr;
  EntryPickCombo* cboSoundOff_ = nullptr;
  QScrollBar* hsbFastJet_ = nullptr;
  QLineEdit* txtFastJet_ = nullptr;
  QCheckBox* chkProp_ = nullptr;
  QScrollBar* hsbSpeed_ = nullptr;
  QLineEdit* txtSpeed_ = nullptr;
  QScrollBar* hsbMouseS_ = nullptr;
  QLineEdit* txtMouseS_ = nullptr;
  QCheckBox* chkClock_ = nullptr;
  QLineEdit* txtFontSize_ = nullptr;
  QCheckBox* chkPowerSave_ = nullptr;
};

}  // namespace skyfare
