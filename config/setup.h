#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>

#include "chooser/modal_seams.h"
#include "platform/font_alias.h"

class QPushButton;

namespace skyfare {

class BackgroundTab;
class LogoMessageTab;
class SettingsStore;
class SettingsTab;
struct ChooserConfig;
struct WriteFailure;

// The reported font families, in the order the platform gives them.
QStringList reportedFontFamilies();

// The configuration dialog. It keeps no copy of the settings: every control is filled from the
// store when the dialog opens and writes its setting back the moment the user changes it, so
// there is nothing to apply or lose. "&OK" and the close box end the program through
// endProgram; the picture choosers are made afresh for every press of their buttons. When the
// store cannot save a change, a message box says so once for that failure, after the change
// that met it has been handled, and the dialog goes on as before.
class Setup final : public QWidget {
  Q_OBJECT

 public:
  // What the dialog asks of the world around it.
  struct Services {
    std::function<void()> endProgram;
    // True when a browser took the page.
    std::function<bool(const QString& address)> openPage;
    ShowMessage showMessage = showModalMessage;
    RunModal runModal = runModalDialog;
    std::function<QStringList()> fontFamilies = reportedFontFamilies;
    std::function<QString(const QString& name)> aliasedFamily = familyAliasedBy;
  };

  Setup(SettingsStore& store, std::string dataFolder, Services services, QWidget* parent = nullptr);
  ~Setup() override;

  // Asks the platform to open the page; when nothing opens it, a message box says where the
  // page is, so the user can open it.
  void Navigate(const QString& webPageUrl);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* createButtonStrip();
  void open();
  void showAbout();
  void showSupportPage();
  void choosePicture(const ChooserConfig& config);
  void tellWriteFailure(const WriteFailure& failure);

  SettingsStore& store_;
  std::string dataFolder_;
  Services services_;

  SettingsTab* settingsTab_ = nullptr;
  BackgroundTab* backgroundTab_ = nullptr;
  LogoMessageTab* logoMessageTab_ = nullptr;
  QString untoldWriteFailure_;  // the text of a box that is still to be shown
};

}  // namespace skyfare
