#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

#include "core/settings/setting_keys.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace skyfare {

class EntryPickCombo;
class SettingsStore;

// The "Logo/Message" tab: the custom logo with its chooser button, and the message line with its
// font, size and a sample of the face. A font or size picked from its list writes its position
// first and then its text; a size or message typed in is written after every keystroke.
class LogoMessageTab final : public QWidget {
  Q_OBJECT

 public:
  // selectLogo runs the logo chooser and returns once it has closed.
  LogoMessageTab(SettingsStore& store, const QString& dataFolderText,
                 std::function<void()> selectLogo, QWidget* parent = nullptr);

  void fillFontList(const QStringList& reportedFamilies);
  // Selects the stored font position; writes only the position back, so a stored font name,
  // loaded after it, still decides the face.
  void loadFontPosition();
  // Selects the entry named by the stored font name. A name that is not listed but stands for
  // a listed family is shown as that family, for display only: nothing is written back.
  void loadFontName(const std::function<QString(const QString& name)>& aliasedFamily);
  void loadMessage();
  void loadMessageChecked();
  void loadLogoChecked();
  // Selects the stored size position; writes only the position back, so a typed size survives.
  void loadFontSizePosition();
  void loadFontSize();
  // Shows the stored logo path.
  void SelectLogo();

 private:
  QGroupBox* createLogoGroup(const QString& dataFolderText);
  QGroupBox* createTitleGroup();
  void pickFont(int position);
  void pickFontSize(int position);
  void showSample();

  SettingsStore& store_;
  std::function<void()> selectLogo_;

  QPushButton* cmdSelectLogo_ = nullptr;
  QLineEdit* txtLogo_ = nullptr;
  QCheckBox* chkLogo_ = nullptr;
  QCheckBox* chkMessage_ = nullptr;
  QLineEdit* txtMessage_ = nullptr;
  QComboBox* cboFontsScreen_ = nullptr;
  EntryPickCombo* cboFontSize_ = nullptr;
  QLabel* lblSample_ = nullptr;
};

}  // namespace skyfare
