#include "config/logo_message_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "config/control_loading.h"
#include "config/entry_pick_combo.h"
#include "config/font_list.h"

namespace skyfare {

namespace {

constexpr std::array<const char*, 11> kFontSizeEntries = {"8",  "10", "20", "30", "40", "50",
                                                          "60", "70", "80", "90", "100"};
constexpr double kSampleSizePt = 13.5;

}  // namespace

LogoMessageTab::LogoMessageTab(SettingsStore& store, const QString& dataFolderText,
                               std::function<void()> selectLogo, QWidget* parent)
    : QWidget(parent), store_(store), selectLogo_(std::move(selectLogo)) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(createLogoGroup(dataFolderText));
  layout->addWidget(createTitleGroup());
  layout->addStretch(1);
}

QGroupBox* LogoMessageTab::createLogoGroup(const QString& dataFolderText) {
  cmdSelectLogo_ = new QPushButton(tr("Select &Logo"));
  cmdSelectLogo_->setObjectName(QStringLiteral("cmdSelectLogo"));
  connect(cmdSelectLogo_, &QPushButton::clicked, this, [this] {
    selectLogo_();
    SelectLogo();
  });
  txtLogo_ = new QLineEdit;
  txtLogo_->setObjectName(QStringLiteral("txtLogo"));
  txtLogo_->setReadOnly(true);
  chkLogo_ = createSettingCheck(store_, "chkLogo", tr("Display Logo"), Key::LogoChecked);
  auto* hint = new QLabel(tr("Must be in .bmp format, 800x600, and located in ") + dataFolderText);
  hint->setTextFormat(Qt::PlainText);
  hint->setWordWrap(true);

  auto* group = new QGroupBox(tr("Custom Logo"));
  auto* layout = new QGridLayout(group);
  layout->addWidget(cmdSelectLogo_, 0, 0);
  layout->addWidget(txtLogo_, 0, 1);
  layout->addWidget(chkLogo_, 1, 0);
  layout->addWidget(hint, 1, 1);
  layout->setColumnStretch(1, 1);
  return group;
}

QGroupBox* LogoMessageTab::createTitleGroup() {
  chkMessage_ =
      createSettingCheck(store_, "chkMessage", tr("Display Message"), Key::MessageChecked);
  txtMessage_ = new QLineEdit;
  txtMessage_->setObjectName(QStringLiteral("txtMessage"));
  connect(txtMessage_, &QLineEdit::textEdited, this,
          [this](const QString& text) { writeSetting(store_, Key::Message, text.toStdString()); });

  cboFontsScreen_ = new QComboBox;
  cboFontsScreen_->setObjectName(QStringLiteral("cboFontsScreen"));
  connect(cboFontsScreen_, &QComboBox::activated, this, &LogoMessageTab::pickFont);

  cboFontSize_ = new EntryPickCombo;
  cboFontSize_->setObjectName(QStringLiteral("cboFontSize"));
  for (const char* entry : kFontSizeEntries) cboFontSize_->addItem(QString::fromLatin1(entry));
  cboFontSize_->setCurrentIndex(-1);
  connect(cboFontSize_, &EntryPickCombo::entryPicked, this, &LogoMessageTab::pickFontSize);
  connect(cboFontSize_->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& text) { writeSetting(store_, Key::FontSize, text.toStdString()); });

  lblSample_ = new QLabel(tr("Aa Bb Cc Dd"));
  lblSample_->setObjectName(QStringLiteral("lblSample"));
  showSample();

  auto* group = new QGroupBox(tr("Title"));
  auto* layout = new QGridLayout(group);
  layout->addWidget(chkMessage_, 0, 0, 1, 3);
  layout->addWidget(txtMessage_, 1, 0, 1, 3);
  layout->addWidget(new QLabel(tr("Available Fonts:")), 2, 0);
  layout->addWidget(new QLabel(tr("Font Size:")), 2, 1);
  layout->addWidget(new QLabel(tr("Sample:")), 2, 2);
  layout->addWidget(cboFontsScreen_, 3, 0);
  layout->addWidget(cboFontSize_, 3, 1);
  layout->addWidget(lblSample_, 3, 2);
  layout->setColumnStretch(0, 3);
  layout->setColumnStretch(1, 1);
  layout->setColumnStretch(2, 3);
  return group;
}

void LogoMessageTab::pickFont(int position) {
  writeSetting(store_, Key::SelectedFont, decimalText(position));
  writeSetting(store_, Key::FontName, cboFontsScreen_->itemText(position).toStdString());
  showSample();
}

void LogoMessageTab::pickFontSize(int position) {
  writeSetting(store_, Key::SelectedFontSize, decimalText(position));
  writeSetting(store_, Key::FontSize, cboFontSize_->itemText(position).toStdString());
}

void LogoMessageTab::showSample() {
  // The sample shows the face only: its size stays fixed whatever size the message uses.
  QFont face = font();
  if (cboFontsScreen_->currentIndex() >= 0)
    face = QFont(cboFontsScreen_->currentText());
  face.setPointSizeF(kSampleSizePt);
  face.setWeight(QFont::Normal);
  face.setStyle(QFont::StyleNormal);
  lblSample_->setFont(face);
}

void LogoMessageTab::fillFontList(const QStringList& reportedFamilies) {
  cboFontsScreen_->clear();
  cboFontsScreen_->addItems(fontListEntries(reportedFamilies));
  cboFontsScreen_->setCurrentIndex(-1);
}

void LogoMessageTab::loadFontPosition() {
  const std::string stored = readSetting(store_, Key::SelectedFont);
  if (loadPosition(*cboFontsScreen_, stored))
    writeSetting(store_, Key::SelectedFont, decimalText(cboFontsScreen_->currentIndex()));
  showSample();
}

void LogoMessageTab::loadFontName(
    const std::function<QString(const QString& name)>& aliasedFamily) {
  const QString name = QString::fromStdString(readSetting(store_, Key::FontName));
  const int entry = cboFontsScreen_->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (entry >= 0) {
    if (entry != cboFontsScreen_->currentIndex()) {
      cboFontsScreen_->setCurrentIndex(entry);
      pickFont(entry);
    }
    return;
  }
  const QString family = aliasedFamily(name);
  const int drawn = family.isEmpty() ? -1
                                     : cboFontsScreen_->findText(
                                           family, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (drawn < 0)
    return;
  const QSignalBlocker quiet(cboFontsScreen_);
  cboFontsScreen_->setCurrentIndex(drawn);
  showSample();
}

void LogoMessageTab::loadMessage() {
  txtMessage_->setText(QString::fromStdString(readSetting(store_, Key::Message)));
}

void LogoMessageTab::loadMessageChecked() {
  loadCheck(*chkMessage_, readSetting(store_, Key::MessageChecked));
}

void LogoMessageTab::loadLogoChecked() {
  loadCheck(*chkLogo_, readSetting(store_, Key::LogoChecked));
}

void LogoMessageTab::loadFontSizePosition() {
  const std::string stored = readSetting(store_, Key::SelectedFontSize);
  if (loadPosition(*cboFontSize_, stored))
    writeSetting(store_, Key::SelectedFontSize, decimalText(cboFontSize_->currentIndex()));
}

void LogoMessageTab::loadFontSize() {
  cboFontSize_->setEditText(QString::fromStdString(readSetting(store_, Key::FontSize)));
}

void LogoMessageTab::SelectLogo() {
  txtLogo_->setText(QString::fromStdString(readSetting(store_, Key::LogoFileName)));
}

}  // namespace skyfare
