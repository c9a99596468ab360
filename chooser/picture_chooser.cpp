#include "chooser/picture_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "chooser/folder_listing.h"
#include "chooser/path_rules.h"
#include "core/app/program_title.h"

namespace skyfare {

namespace {

struct FileType {
  const char* entry;
  const char* pattern;
};

constexpr std::array<FileType, 4> kFileTypes = {{
    {"BMP files (*.BMP)", "*.BMP"},
    {"GIF files (*.GIF)", "*.GIF"},
    {"JPG files (*.JPG)", "*.JPG"},
    {"All files (*.*)", "*.*"},
}};

constexpr int kPathRole = Qt::UserRole;

QLabel* captionFor(const QString& text, QWidget* buddy) {
  auto* caption = new QLabel(text);
  caption->setBuddy(buddy);
  return caption;
}

}  // namespace

ChooserConfig GetFile() {
  return {QStringLiteral("Select Your Background"), Key::BMPFileName, QSize(404, 312)};
}

ChooserConfig GetLogo() {
  return {QStringLiteral("Select Your Logo"), Key::LogoFileName, QSize(389, 286)};
}

PictureChooser::PictureChooser(SettingsStore& store, ChooserConfig config, ShowMessage showMessage,
                               QWidget* parent)
    : QDialog(parent),
      store_(store),
      config_(std::move(config)),
      showMessage_(std::move(showMessage)) {
  setWindowTitle(config_.title);
  setFixedSize(config_.clientSize);

  auto* columns = new QHBoxLayout;
  // The two columns share the width evenly, whatever their contents would ask for.
  for (QWidget* column : {createFileColumn(), createFolderColumn()}) {
    column->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    columns->addWidget(column, 1);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(createButtonRow());

  for (const FileType& type : kFileTypes) cboFileType_->addItem(QString::fromLatin1(type.entry));
  for (const QString& root : volumeRoots()) drvDrive_->addItem(root, root);

  pattern_ = QString::fromLatin1(kFileTypes[0].pattern);
  openFolder(QDir::currentPath());
  // A working folder that is gone, or closed to the user, gives way to the home folder.
  if (currentFolder_.isEmpty())
    openFolder(QDir::homePath());
  if (currentFolder_.isEmpty())
    openFolder(QDir::rootPath());

  connect(cboFileType_, &QComboBox::currentIndexChanged, this, &PictureChooser::chooseFileType);
  connect(drvDrive_, &QComboBox::activated, this, &PictureChooser::chooseDrive);
  connect(dirDirectory_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { openFolder(item->data(0, kPathRole).toString()); });
  connect(filFiles_, &QListWidget::itemSelectionChanged, this, &PictureChooser::takeSelectedFile);
  connect(filFiles_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    txtFileName_->setText(item->text());
    confirm();
  });
  connect(cmdOK_, &QPushButton::clicked, this, &PictureChooser::confirm);
  connect(cmdCancel_, &QPushButton::clicked, this, &PictureChooser::reject);
}

QWidget* PictureChooser::createFileColumn() {
  auto* column = new QWidget;
  txtFileName_ = new QLineEdit;
  txtFileName_->setObjectName(QStringLiteral("txtFileName"));
  filFiles_ = new QListWidget;
  filFiles_->setObjectName(QStringLiteral("filFiles"));
  cboFileType_ = new QComboBox;
  cboFileType_->setObjectName(QStringLiteral("cboFileType"));

  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(captionFor(tr("File Name:"), txtFileName_));
  layout->addWidget(txtFileName_);
  layout->addWidget(filFiles_, 1);
  layout->addWidget(captionFor(tr("File Type:"), cboFileType_));
  layout->addWidget(cboFileType_);
  return column;
}

QWidget* PictureChooser::createFolderColumn() {
  auto* column = new QWidget;
  lblDirName_ = new QLabel;
  lblDirName_->setObjectName(QStringLiteral("lblDirName"));
  // A long path is cut at the label's width rather than widening the window.
  lblDirName_->setMinimumWidth(1);
  lblDirName_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  dirDirectory_ = new QTreeWidget;
  dirDirectory_->setObjectName(QStringLiteral("dirDirectory"));
  dirDirectory_->setHeaderHidden(true);
  dirDirectory_->setRootIsDecorated(false);
  dirDirectory_->setItemsExpandable(false);
  dirDirectory_->setIndentation(12);
  drvDrive_ = new QComboBox;
  drvDrive_->setObjectName(QStringLiteral("drvDrive"));

  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(captionFor(tr("Directories:"), dirDirectory_));
  layout->addWidget(lblDirName_);
  layout->addWidget(dirDirectory_, 1);
  layout->addWidget(captionFor(tr("Drive:"), drvDrive_));
  layout->addWidget(drvDrive_);
  return column;
}

QWidget* PictureChooser::createButtonRow() {
  auto* row = new QWidget;
  cmdCancel_ = new QPushButton(tr("&Cancel"));
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
  cmdOK_ = new QPushButton(tr("&OK"));
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setDefault(true);

  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addStretch(1);
  layout->addWidget(cmdCancel_);
  layout->addWidget(cmdOK_);
  return row;
}

void PictureChooser::chooseFileType(int position) {
  if (position < 0 || position >= static_cast<int>(kFileTypes.size()))
    return;
  pattern_ = QString::fromLatin1(kFileTypes[static_cast<size_t>(position)].pattern);
  showFiles();
}

void PictureChooser::chooseDrive(int position) {
  const QString root = drvDrive_->itemData(position).toString();
  // A volume keeps the folder the list is in when it holds it; any other opens at its root.
  const QString target = volumeOf(currentFolder_, {root}) == root ? currentFolder_ : root;
  if (canEnter(target)) {
    openFolder(target);
    return;
  }
  showMessage_(this, {QMessageBox::Warning, tr("Error"), tr("Drive error!")});
  showVolume();
}

void PictureChooser::openFolder(const QString& folder) {
  const QString path = QDir::cleanPath(QDir(folder).absolutePath());
  if (!canEnter(path))
    return;
  currentFolder_ = path;
  lblDirName_->setText(currentFolder_);
  showFolderTree();
  showFiles();
  showVolume();
}

void PictureChooser::showFolderTree() {
  dirDirectory_->clear();
  const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);

  QTreeWidgetItem* parent = nullptr;
  for (const QString& ancestor : ancestorsOf(currentFolder_)) {
    const QString name = ancestor == QStringLiteral("/") ? ancestor : ancestor.section(u'/', -1);
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(dirDirectory_);
    item->setText(0, name);
    item->setIcon(0, openIcon);
    item->setData(0, kPathRole, ancestor);
    parent = item;
  }
  for (const QString& name : subfolders(currentFolder_)) {
    auto* item = new QTreeWidgetItem(parent);
    item->setText(0, name);
    item->setIcon(0, closedIcon);
    item->setData(0, kPathRole, joinFolderAndName(currentFolder_, name));
  }
  dirDirectory_->expandAll();
  dirDirectory_->setCurrentItem(parent);
}

void PictureChooser::showFiles() {
  filFiles_->clear();
  filFiles_->addItems(matchingFiles(currentFolder_, pattern_));
}

void PictureChooser::showVolume() {
  QStringList roots;
  for (int position = 0; position < drvDrive_->count(); ++position)
    roots.append(drvDrive_->itemData(position).toString());
  const QSignalBlocker blocker(drvDrive_);
  drvDrive_->setCurrentIndex(drvDrive_->findData(volumeOf(currentFolder_, roots)));
}

void PictureChooser::takeSelectedFile() {
  const QList<QListWidgetItem*> selected = filFiles_->selectedItems();
  if (!selected.isEmpty())
    txtFileName_->setText(selected.front()->text());
}

void PictureChooser::confirm() {
  const QList<QListWidgetItem*> selected = filFiles_->selectedItems();
  const QString selectedName = selected.isEmpty() ? QString() : selected.front()->text();
  const std::optional<QString> path =
      chosenPath(currentFolder_, txtFileName_->text(), selectedName);
  if (!path) {
    showMessage_(this, {QMessageBox::NoIcon, QString::fromLatin1(kProgramTitle),
                        tr("You must first select a file!")});
    return;
  }
  writeSetting(store_, config_.key, path->toStdString());
  accept();
}

}  // namespace skyfare
