#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

#include "chooser/modal_seams.h"
#include "core/settings/setting_keys.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace skyfare {

class SettingsStore;

// What tells the two twin choosers apart.
struct ChooserConfig {
  QString title;
  Key key;
  QSize clientSize;
};

// The background chooser and the logo chooser.
ChooserConfig GetFile();
ChooserConfig GetLogo();

// A modal window for picking a picture file. It browses volumes, folders and file types from
// the current working folder, and on OK writes the chosen path to its one setting and closes.
// Cancel and the close box write nothing. It never opens or checks the picture itself.
class PictureChooser final : public QDialog {
  Q_OBJECT

 public:
  PictureChooser(SettingsStore& store, ChooserConfig config, ShowMessage showMessage,
                 QWidget* parent = nullptr);

  QString currentFolder() const { return currentFolder_; }

 private:
  QWidget* createFileColumn();
  QWidget* createFolderColumn();
  QWidget* createButtonRow();

  void chooseFileType(int position);
  void chooseDrive(int position);
  void openFolder(const QString& folder);
  void showFolderTree();
  void showFiles();
  void showVolume();
  void takeSelectedFile();
  void confirm();

  SettingsStore& store_;
  ChooserConfig config_;
  ShowMessage showMessage_;
  QString currentFolder_;
  QString pattern_;

  QLineEdit* txtFileName_ = nullptr;
  QListWidget* filFiles_ = nullptr;
  QComboBox* cboFileType_ = nullptr;
  QLabel* lblDirName_ = nullptr;
  QTreeWidget* dirDirectory_ = nullptr;
  QComboBox* drvDrive_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
};

}  // namespace skyfare
