#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "config/setup.h"
#include "core/settings/setting_keys.h"
#include "settings/qsettings_store.h"
#include "tests/chooser/print_qstring.h"
#include "tests/support/temp_config_folder.h"

namespace skyfare::testing {

// Passes every call on to the real store and records the writes, "Key=value", in order.
class RecordingStore final : public SettingsStore {
 public:
  explicit RecordingStore(SettingsStore& inner) : inner_(inner) {}

  std::vector<std::string> writes;

  std::string GetSetting(std::string_view application, std::string_view section,
                         std::string_view key, std::string_view defaultValue) override {
    return inner_.GetSetting(application, section, key, defaultValue);
  }
  void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) override {
    writes.push_back(std::string(key) + "=" + std::string(value));
    inner_.SaveSetting(application, section, key, value);
  }
  void setWriteFailureListener(WriteFailureListener listener) override {
    inner_.setWriteFailureListener(std::move(listener));
  }

 private:
  SettingsStore& inner_;
};

// Ends the event loop with 1 should a test's run of it last longer than kLimit: a modal box that
// nobody closes then fails the test instead of hanging it.
class EventLoopWatchdog {
 public:
  static constexpr std::chrono::seconds kLimit{30};

  EventLoopWatchdog() {
    timer_.callOnTimeout([this] {
      fired_ = true;
      QCoreApplication::exit(1);
    });
    timer_.start(kLimit);
  }
  bool fired() const { return fired_; }

 private:
  QTimer timer_;
  bool fired_ = false;
};

// A dialog on a real INI store in a folder of its own, with the services recorded.
class SetupTest : public ::testing::Test {
 protected:
  static constexpr char kDataFolder[] = "/opt/skyfare/";

  // Stores a value as if an earlier session had, with the first run already done.
  void preset(Key key, const std::string& value) {
    writeSetting(disk_, Key::SetReg, "2");
    writeSetting(disk_, key, value);
  }

  std::string stored(Key key) { return readSetting(disk_, key); }

  skyfare::Setup& open() {
    setup_ = std::make_unique<skyfare::Setup>(
        store_, kDataFolder,
        skyfare::Setup::Services{
            .endProgram = [this] { ++endings_; },
            .openPage =
                [this](const QString& a) {
                  pages_ << a;
                  return pageOpens_;
                },
            .showMessage = [this](QWidget*,
                                  const MessageBoxText& box) { messages_.push_back(box); },
            .runModal = [this](QDialog& d) { onModal_(d); },
            .fontFamilies = [this] { return fonts_; },
            .aliasedFamily = [this](const QString& name) { return fontAliases_.value(name); },
        });
    return *setup_;
  }

  template <typename T>
  T* control(const char* name) {
    T* found = setup_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  // What a control shows, as text: a slider's value, "ticked" or "unticked", a box's text, or
  // the marked option's position ("none" when no option is marked).
  std::string shown(const char* name) {
    QObject* object = setup_->findChild<QObject*>(QString::fromLatin1(name));
    if (auto* bar = qobject_cast<QScrollBar*>(object))
      return std::to_string(bar->value());
    if (auto* box = qobject_cast<QCheckBox*>(object))
      return box->isChecked() ? "ticked" : "unticked";
    if (auto* edit = qobject_cast<QLineEdit*>(object))
      return edit->text().toStdString();
    if (auto* list = qobject_cast<QComboBox*>(object))
      return list->currentText().toStdString();
    if (auto* group = qobject_cast<QButtonGroup*>(object))
      return group->checkedId() < 0 ? "none" : std::to_string(group->checkedId());
    ADD_FAILURE() << "no control " << name;
    return {};
  }

  TempConfigFolder config_;
  QSettingsStore disk_;
  RecordingStore store_{disk_};
  QStringList fonts_ = {QStringLiteral("Zeta Sans"), QStringLiteral("alpha Serif"),
                        QStringLiteral("Liberation Sans"), QStringLiteral("Beta Mono"),
                        QStringLiteral("DejaVu Sans")};
  // The names the system draws as another family, as fonts-liberation2 sets them up.
  QHash<QString, QString> fontAliases_ = {{"Arial", "Liberation Sans"},
                                          {"Courier New", "Liberation Mono"}};
  int endings_ = 0;
  QStringList pages_;
  bool pageOpens_ = true;
  std::vector<MessageBoxText> messages_;
  std::function<void(QDialog&)> onModal_ = [](QDialog& d) { d.reject(); };
  std::unique_ptr<skyfare::Setup> setup_;
};

}  // namespace skyfare::testing
