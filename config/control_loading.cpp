#include "config/control_loading.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>
#include <QSignalBlocker>
#include <optional>

#include "core/settings/settings_store.h"
#include "core/settings/shown_number.h"

namespace skyfare {

std::string decimalText(int value) {
  return std::to_string(value);
}

QCheckBox* createSettingCheck(SettingsStore& store, const char* name, const QString& caption,
                              Key key) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(QString::fromLatin1(name));
  QObject::connect(box, &QCheckBox::toggled, box,
                   [&store, key](bool checked) { writeSetting(store, key, checked ? "1" : "0"); });
  return box;
}

void loadSlider(QScrollBar& bar, std::string_view stored) {
  const std::optional<ShownNumber> shown = shownNumber(stored, bar.minimum(), bar.maximum());
  if (!shown)
    return;
  const QSignalBlocker blocker(shown->inRange ? nullptr : &bar);
  bar.setValue(shown->value);
}

void loadCheck(QCheckBox& box, std::string_view stored) {
  const std::optional<ShownNumber> shown = shownNumber(stored, 0, 1);
  if (!shown)
    return;
  const QSignalBlocker blocker(shown->inRange ? nullptr : &box);
  box.setChecked(shown->value == 1);
}

bool loadPosition(QComboBox& list, std::string_view stored) {
  if (list.count() == 0)
    return false;
  const std::optional<ShownNumber> shown = shownNumber(stored, 0, list.count() - 1);
  if (!shown || shown->value == list.currentIndex())
    return false;
  list.setCurrentIndex(shown->value);
  return shown->inRange;
}

}  // namespace skyfare
