#include "config/entry_pick_combo.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

namespace skyfare {

EntryPickCombo::EntryPickCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setCompleter(nullptr);
  setInsertPolicy(QComboBox::NoInsert);
  connect(this, &QComboBox::activated, this, [this](int position) {
    if (!typing_)
      emit entryPicked(position);
  });
}

// Leaving the box or pressing Enter makes the base class select an entry equal to the typed
// text and report it as activated; that is typing, not picking.
void EntryPickCombo::focusOutEvent(QFocusEvent* event) {
  const QScopedValueRollback guard(typing_, true);
  QComboBox::focusOutEvent(event);
}

void EntryPickCombo::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const QScopedValueRollback guard(typing_, typing_ || enter);
  QComboBox::keyPressEvent(event);
}

}  // namespace skyfare
