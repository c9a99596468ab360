#include "config/settings_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "config/control_loading.h"
#include "config/entry_pick_combo.h"
#include "config/gap_label.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace skyfare {

namespace {

constexpr int kValueBoxWidthPx = 34;
constexpr int kFontSizeBoxWidthPx = 40;
constexpr int kTabMarginPx = 6;
constexpr int kGroupSpacingPx = 4;
constexpr int kGroupMarginPx = 6;

QString spaces(int count) {
  return QString(count, u' ');
}

// The tab's groups stack their rows closer than the style would.
QVBoxLayout* groupLayout(QGroupBox* group) {
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(kGroupMarginPx, kGroupMarginPx, kGroupMarginPx, kGroupMarginPx);
  layout->setSpacing(kGroupSpacingPx);
  return layout;
}

}  // namespace

SettingsTab::SettingsTab(SettingsStore& store, QWidget* parent) : QWidget(parent), store_(store) {
  chkPowerSave_ = createSettingCheck(store_, "chkPowerSave",
                                     tr("Disable any Power Saving settings"), Key::PwrSave);
  chkPowerSave_->setToolTip(
      tr("If you have your Monitor set to turn off enabling this will keep that setting, "
         "otherwise the screensaver will ignore those settings"));

  auto* left = new QVBoxLayout;
  left->addWidget(createSoundsGroup());
  left->addWidget(createSpeedGroup());
  auto* right = new QVBoxLayout;
  right->addWidget(createMouseGroup());
  right->addWidget(createClockGroup());
  right->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kTabMarginPx, kTabMarginPx, kTabMarginPx, kTabMarginPx);
  layout->addLayout(columns);
  layout->addWidget(chkPowerSave_);
  layout->addStretch(1);
}

QScrollBar* SettingsTab::createSlider(const char* name, Key key, int initial) {
  const SettingKey& row = settingKey(key);
  auto* bar = new QScrollBar(Qt::Horizontal);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setRange(row.minimum.value_or(0), row.maximum.value_or(0));
  bar->setSingleStep(1);
  bar->setPageStep(1);
  bar->setValue(initial);
  return bar;
}

QLineEdit* SettingsTab::createValueBox(const char* name) {
  auto* box = new QLineEdit;
  box->setObjectName(QString::fromLatin1(name));
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::NoFocus);
  box->setAlignment(Qt::AlignCenter);
  box->setFixedWidth(kValueBoxWidthPx);
  return box;
}

void SettingsTab::connectSlider(QScrollBar* bar, QLineEdit* valueBox, Key key) {
  connect(bar, &QScrollBar::valueChanged, this, [this, valueBox, key](int value) {
    valueBox->setText(QString::number(value));
    writeSetting(store_, key, decimalText(value));
  });
}

QGroupBox* SettingsTab::createSoundsGroup() {
  hsbVolume_ = createSlider("hsbVolume", Key::Volume, settingKey(Key::Volume).maximum.value_or(0));
  // Dragging the volume thumb writes nothing until the thumb is released.
  hsbVolume_->setTracking(false);
  connect(hsbVolume_, &QScrollBar::valueChanged, this,
          [this](int value) { writeSetting(store_, Key::Volume, decimalText(value)); });

  cboSoundOff_ = new EntryPickCombo;
  cboSoundOff_->setObjectName(QStringLiteral("cboSoundOff"));
  cboSoundOff_->addItem(QString::fromLatin1(kNeverStopSound.data(), kNeverStopSound.size()));
  for (const int minutes : kSoundOffMinutes) cboSoundOff_->addItem(QString::number(minutes));
  cboSoundOff_->setCurrentIndex(0);
  connect(cboSoundOff_, &EntryPickCombo::entryPicked, this, [this](int position) {
    writeSetting(store_, Key::SoundOff, cboSoundOff_->itemText(position).toStdString());
  });
  auto* soundOffRow = new GapLabel(tr("Stop sound after:") + spaces(20) + tr("min."));
  soundOffRow->addToGap(cboSoundOff_);

  hsbFastJet_ =
      createSlider("hsbFastJet", Key::SecDelay, settingKey(Key::SecDelay).minimum.value_or(0));
  txtFastJet_ = createValueBox("txtFastJet");
  connectSlider(hsbFastJet_, txtFastJet_, Key::SecDelay);
  auto* fastJetRow = new GapLabel(tr("Show every") + spaces(69) + tr("Seconds"));
  fastJetRow->addToGap(hsbFastJet_);
  fastJetRow->addToGap(txtFastJet_, kValueBoxWidthPx);

  chkProp_ =
      createSettingCheck(store_, "chkProp", tr("Turn on Jet sound and show aircraft"), Key::Prop);

  auto* group = new QGroupBox(tr("Sounds"));
  auto* layout = groupLayout(group);
  layout->addWidget(hsbVolume_);
  layout->addWidget(new QLabel(tr("Low ----------VOLUME ------------High")), 0, Qt::AlignHCenter);
  layout->addWidget(soundOffRow);
  layout->addWidget(fastJetRow);
  layout->addWidget(chkProp_);
  return group;
}

QGroupBox* SettingsTab::createSpeedGroup() {
  hsbSpeed_ = createSlider("hsbSpeed", Key::Speed, settingKey(Key::Speed).minimum.value_or(0));
  txtSpeed_ = createValueBox("txtSpeed");
  connectSlider(hsbSpeed_, txtSpeed_, Key::Speed);

  auto* valueRow = new QHBoxLayout;
  valueRow->addStretch(1);
  valueRow->addWidget(new QLabel(tr("Speed:")));
  valueRow->addWidget(txtSpeed_);

  auto* group = new QGroupBox(tr("Aircraft Speed"));
  auto* layout = groupLayout(group);
  layout->addLayout(valueRow);
  layout->addWidget(hsbSpeed_);
  layout->addWidget(new QLabel(tr("Fast") + QString(79, u'-') + tr("Slow")));
  return group;
}

QGroupBox* SettingsTab::createMouseGroup() {
  hsbMouseS_ =
      createSlider("hsbMouseS", Key::MouseSens, settingKey(Key::MouseSens).minimum.value_or(0));
  txtMouseS_ = createValueBox("txtMouseS");
  connectSlider(hsbMouseS_, txtMouseS_, Key::MouseSens);

  auto* valueRow = new QHBoxLayout;
  valueRow->addStretch(1);
  valueRow->addWidget(txtMouseS_);
  auto* endsRow = new QHBoxLayout;
  endsRow->addWidget(new QLabel(tr("Light Touch")));
  endsRow->addStretch(1);
  endsRow->addWidget(new QLabel(tr("HeavyTouch")));

  auto* group = new QGroupBox(tr("Mouse Sensitivity"));
  auto* layout = groupLayout(group);
  layout->addLayout(valueRow);
  layout->addWidget(hsbMouseS_);
  layout->addLayout(endsRow);
  return group;
}

QGroupBox* SettingsTab::createClockGroup() {
  chkClock_ = createSettingCheck(store_, "chkClock", tr("Show Clock"), Key::Clock);
  txtFontSize_ = new QLineEdit;
  txtFontSize_->setObjectName(QStringLiteral("txtFontSize"));
  txtFontSize_->setFixedWidth(kFontSizeBoxWidthPx);
  connect(txtFontSize_, &QLineEdit::textEdited, this, [this](const QString& text) {
    writeSetting(store_, Key::FontClock, text.toStdString());
  });

  auto* hint = new QLabel(tr("Type the Font Size:") + spaces(3) + tr("(i.e.: 16)"));
  hint->setTextFormat(Qt::PlainText);

  auto* group = new QGroupBox(tr("Clock"));
  auto* layout = groupLayout(group);
  layout->addWidget(chkClock_);
  layout->addWidget(hint);
  layout->addWidget(txtFontSize_);
  return group;
}

void SettingsTab::loadSliderWithBox(QScrollBar* bar, QLineEdit* valueBox, Key key) {
  loadSlider(*bar, readSetting(store_, key));
  // The box shows the value even when loading left the slider where it was.
  valueBox->setText(QString::number(bar->value()));
}

void SettingsTab::loadProp() {
  loadCheck(*chkProp_, readSetting(store_, Key::Prop));
}

void SettingsTab::loadSpeed() {
  loadSliderWithBox(hsbSpeed_, txtSpeed_, Key::Speed);
}

void SettingsTab::loadSecDelay() {
  loadSliderWithBox(hsbFastJet_, txtFastJet_, Key::SecDelay);
}

void SettingsTab::loadMouseSens() {
  loadSliderWithBox(hsbMouseS_, txtMouseS_, Key::MouseSens);
}

void SettingsTab::loadClock() {
  loadCheck(*chkClock_, readSetting(store_, Key::Clock));
}

void SettingsTab::loadFontClock() {
  txtFontSize_->setText(QString::fromStdString(readSetting(store_, Key::FontClock)));
}

void SettingsTab::loadSoundOff() {
  const QString stored = QString::fromStdString(readSetting(store_, Key::SoundOff));
  const int entry = cboSoundOff_->findText(stored, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (entry >= 0)
    cboSoundOff_->setCurrentIndex(entry);
  cboSoundOff_->setEditText(stored);
}

void SettingsTab::loadVolume() {
  loadSlider(*hsbVolume_, readSetting(store_, Key::Volume));
}

void SettingsTab::loadPowerSave() {
  loadCheck(*chkPowerSave_, readSetting(store_, Key::PwrSave));
}

}  // namespace skyfare
