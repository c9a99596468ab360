#include "chooser/modal_seams.h"

namespace skyfare {

void showModalMessage(QWidget* parent, const MessageBoxText& box) {
  QMessageBox message(box.icon, box.title, box.text, QMessageBox::Ok, parent);
  // A path in the text can be copied.
  message.setTextInteractionFlags(Qt::TextSelectableByMouse);
  message.exec();
}

void runModalDialog(QDialog& dialog) {
  dialog.exec();
}

}  // namespace skyfare
