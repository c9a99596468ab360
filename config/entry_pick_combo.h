#pragma once

#include <QComboBox>

namespace skyfare {

// An editable drop-down box that tells an entry picked from its list (by mouse or arrow keys)
// apart from text typed into it: typed text that happens to equal an entry does not count as
// picking that entry. Completion and insertion are off, so the box holds exactly what was typed.
class EntryPickCombo final : public QComboBox {
  Q_OBJECT

 public:
  explicit EntryPickCombo(QWidget* parent = nullptr);

 signals:
  void entryPicked(int position);

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool typing_ = false;
};

}  // namespace skyfare
