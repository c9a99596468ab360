#include "config/background_tab.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "config/control_loading.h"
#include "core/settings/conversions.h"
#include "core/settings/setting_keys.h"
#include "core/settings/setting_values.h"

namespace skyfare {

namespace {

constexpr std::array<const char*, 3> kOptionCaptions = {"Solid Black", "Solid Sky Blue", "Custom"};
constexpr int kSwatchSizePx = 14;

QFrame* swatch(const QColor& colour) {
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::Box);
  frame->setFixedSize(kSwatchSizePx, kSwatchSizePx);
  frame->setAutoFillBackground(true);
  QPalette palette = frame->palette();
  palette.setColor(QPalette::Window, colour);
  frame->setPalette(palette);
  return frame;
}

}  // namespace

BackgroundTab::BackgroundTab(SettingsStore& store, const QString& dataFolderText,
                             std::function<void()> selectBackground, QWidget* parent)
    : QWidget(parent), store_(store), selectBackground_(std::move(selectBackground)) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(createChoiceGroup());
  layout->addWidget(createCustomGroup(dataFolderText));
  layout->addStretch(1);
}

QGroupBox* BackgroundTab::createChoiceGroup() {
  auto* group = new QGroupBox(tr("Background"));
  optBakGrnd_ = new QButtonGroup(group);
  optBakGrnd_->setObjectName(QStringLiteral("optBakGrnd"));

  auto* layout = new QGridLayout(group);
  for (int position = 0; position < static_cast<int>(kOptionCaptions.size()); ++position) {
    auto* option =
        new QRadioButton(QString::fromLatin1(kOptionCaptions[static_cast<size_t>(position)]));
    option->setObjectName(QStringLiteral("optBakGrnd%1").arg(position));
    optBakGrnd_->addButton(option, position);
    layout->addWidget(option, position, 0);
  }
  layout->addWidget(swatch(palette().color(QPalette::ButtonText)), 0, 1);
  layout->addWidget(swatch(QColor(128, 255, 255)), 1, 1);
  layout->setColumnStretch(2, 1);

  connect(optBakGrnd_, &QButtonGroup::idToggled, this, [this](int position, bool checked) {
    if (checked)
      chooseOption(position);
  });
  return group;
}

QGroupBox* BackgroundTab::createCustomGroup(const QString& dataFolderText) {
  auto* group = new QGroupBox(tr("Custom Back Ground"));
  cmdSelectBG_ = new QPushButton(tr("Select Background"));
  cmdSelectBG_->setObjectName(QStringLiteral("cmdSelectBG"));
  txtBGFile_ = new QLineEdit;
  txtBGFile_->setObjectName(QStringLiteral("txtBGFile"));
  txtBGFile_->setReadOnly(true);
  auto* hint = new QLabel(
      tr("Backgrounds can be downloaded from our site. Must be in .bmp format + placed in:"));
  hint->setWordWrap(true);
  auto* folder = new QLabel(u' ' + dataFolderText);
  folder->setTextFormat(Qt::PlainText);
  folder->setTextInteractionFlags(Qt::TextSelectableByMouse);

  connect(cmdSelectBG_, &QPushButton::clicked, this, [this] {
    selectBackground_();
    SelectBG();
  });

  auto* layout = new QGridLayout(group);
  layout->addWidget(cmdSelectBG_, 0, 0);
  layout->addWidget(txtBGFile_, 0, 1);
  layout->addWidget(hint, 1, 0, 1, 2);
  layout->addWidget(folder, 2, 0, 1, 2);
  layout->setColumnStretch(1, 1);
  return group;
}

void BackgroundTab::chooseOption(int position) {
  choice_ = decimalText(kBackgroundBlack + position);
  writeSetting(store_, Key::BackGround, choice_);
  BackGround();
}

void BackgroundTab::loadChoice() {
  choice_ = readSetting(store_, Key::BackGround);
  const std::optional<int16_t> number = toInt16(choice_);
  // A choice outside the offered ones marks no option: none of them is what the store holds.
  if (number && *number >= kBackgroundBlack && *number <= kBackgroundPicture)
    optBakGrnd_->button(*number - kBackgroundBlack)->setChecked(true);
}

void BackgroundTab::BackGround() {
  choice_ = readSetting(store_, Key::BackGround);
  showSelectBackgroundState();
}

void BackgroundTab::showSelectBackgroundState() {
  cmdSelectBG_->setEnabled(toInt16(choice_) == kBackgroundPicture);
}

void BackgroundTab::SelectBG() {
  txtBGFile_->setText(QString::fromStdString(readSetting(store_, Key::BMPFileName)));
}

}  // namespace skyfare
