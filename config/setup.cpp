#include "config/setup.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdio>
#include <utility>

#include "chooser/picture_chooser.h"
#include "config/background_tab.h"
#include "config/folder_text.h"
#include "config/help_tab.h"
#include "config/logo_message_tab.h"
#include "config/settings_tab.h"
#include "core/app/program_title.h"
#include "core/settings/setting_keys.h"
#include "core/settings/settings_store.h"

namespace skyfare {

namespace {

constexpr QSize kClientSizePx(591, 377);
constexpr double kFontSizePt = 8;
constexpr int kMarginPx = 6;
constexpr char kSupportPage[] = "support.htm";

QPushButton* createButton(const char* name, const QString& caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

}  // namespace

QStringList reportedFontFamilies() {
  return QFontDatabase::families();
}

Setup::Setup(SettingsStore& store, std::string dataFolder, Services services, QWidget* parent)
    : QWidget(parent),
      store_(store),
      dataFolder_(std::move(dataFolder)),
      services_(std::move(services)) {
  setWindowTitle(tr("Skyfare Control Box"));
  setFixedSize(kClientSizePx);
  // The window has a fixed size, so its texts keep a fixed, small size too.
  QFont small = font();
  small.setPointSizeF(kFontSizePt);
  setFont(small);

  const QString folderText = folderForDisplay(dataFolder_);
  settingsTab_ = new SettingsTab(store_);
  backgroundTab_ = new BackgroundTab(store_, folderText, [this] { choosePicture(GetFile()); });
  logoMessageTab_ = new LogoMessageTab(store_, folderText, [this] { choosePicture(GetLogo()); });

  auto* tabs = new QTabWidget;
  tabs->setObjectName(QStringLiteral("SSTab"));
  tabs->addTab(settingsTab_, tr("Settings"));
  tabs->addTab(backgroundTab_, tr("BackGround"));
  tabs->addTab(logoMessageTab_, tr("Logo/Message"));
  tabs->addTab(new HelpTab(folderText), tr("Help"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMarginPx, kMarginPx, kMarginPx, kMarginPx);
  layout->addWidget(tabs, 1);
  layout->addWidget(createButtonStrip());

  if (const QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());

  store_.setWriteFailureListener(
      [this](const WriteFailure& failure) { tellWriteFailure(failure); });
  // Until a display session has run, the store holds no defaults, and that session's first-run
  // reset would wipe whatever is chosen here; so the dialog writes the defaults first.
  initialiseOnFirstRun(store_, dataFolder_);
  open();
}

Setup::~Setup() {
  store_.setWriteFailureListener({});
}

QWidget* Setup::createButtonStrip() {
  auto* strip = new QWidget;
  auto* cmdAbout = createButton("cmdAbout", tr("&About"));
  auto* cmdHelp = createButton("cmdHelp", tr("&Online HELP"));
  auto* cmdOK = createButton("cmdOK", tr("&OK"));
  connect(cmdAbout, &QPushButton::clicked, this, &Setup::showAbout);
  connect(cmdHelp, &QPushButton::clicked, this, &Setup::showSupportPage);
  connect(cmdOK, &QPushButton::clicked, this, [this] { services_.endProgram(); });

  auto* layout = new QHBoxLayout(strip);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(cmdAbout);
  layout->addWidget(cmdHelp);
  layout->addStretch(1);
  layout->addWidget(cmdOK);
  return strip;
}

// Each step reads its key as it runs; a control whose shown value changes writes it back in
// normalised form, as if the user had set it.
void Setup::open() {
  logoMessageTab_->fillFontList(services_.fontFamilies());
  logoMessageTab_->loadFontPosition();
  backgroundTab_->loadChoice();
  settingsTab_->loadProp();
  logoMessageTab_->loadMessage();
  settingsTab_->loadSpeed();
  logoMessageTab_->loadMessageChecked();
  logoMessageTab_->loadLogoChecked();
  logoMessageTab_->SelectLogo();
  backgroundTab_->SelectBG();
  logoMessageTab_->loadFontPosition();
  logoMessageTab_->loadFontName(services_.aliasedFamily);
  settingsTab_->loadSecDelay();
  logoMessageTab_->loadFontSizePosition();
  logoMessageTab_->loadFontSize();
  settingsTab_->loadMouseSens();
  settingsTab_->loadClock();
  settingsTab_->loadFontClock();
  settingsTab_->loadSoundOff();
  settingsTab_->loadVolume();
  settingsTab_->loadPowerSave();
  backgroundTab_->showSelectBackgroundState();
}

void Setup::Navigate(const QString& webPageUrl) {
  if (services_.openPage(webPageUrl))
    return;
  const QUrl url(webPageUrl);
  const QString place = url.isLocalFile() ? url.toLocalFile() : webPageUrl;
  std::fprintf(stderr, "skyfare: no browser could be opened for the support page %s\n",
               qPrintable(place));
  services_.showMessage(this,
                        {QMessageBox::Information, QString::fromLatin1(kProgramTitle),
                         tr("No browser could be opened for the support page: %1").arg(place)});
}

void Setup::showSupportPage() {
  const QString page = QString::fromStdString(dataFolder_) + QString::fromLatin1(kSupportPage);
  Navigate(QUrl::fromLocalFile(page).toString());
}

void Setup::showAbout() {
  services_.showMessage(this, {QMessageBox::Information, QString::fromLatin1(kProgramTitle),
                               tr("Skyfare\nVersion %1\n\nAirliners crossing your screen.")
                                   .arg(QStringLiteral(SKYFARE_VERSION))});
}

void Setup::choosePicture(const ChooserConfig& config) {
  PictureChooser chooser(store_, config, services_.showMessage, this);
  services_.runModal(chooser);
}

void Setup::tellWriteFailure(const WriteFailure& failure) {
  const QString file = QString::fromStdString(failure.file);
  untoldWriteFailure_ = failure.cause.empty()
                            ? tr("Skyfare cannot save your settings in %1.").arg(file)
                            : tr("Skyfare cannot save your settings in %1: %2.")
                                  .arg(file, QString::fromStdString(failure.cause));
  // The box waits until the change that failed has been handled: a modal box in the middle of
  // a keystroke or of a slider's drag would leave that control half way.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (untoldWriteFailure_.isEmpty())
          return;
        const QString text = std::exchange(untoldWriteFailure_, {});
        services_.showMessage(this,
                              {QMessageBox::Warning, QString::fromLatin1(kProgramTitle), text});
      },
      Qt::QueuedConnection);
}

void Setup::closeEvent(QCloseEvent* event) {
  event->accept();
  services_.endProgram();
}

}  // namespace skyfare
