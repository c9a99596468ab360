#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace skyfare {

// What a modal message box says: its icon, title and text, with only an OK button.
struct MessageBoxText {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title;
  QString text;
};

// Shows a message box and returns once the user has dismissed it. The windows take it as a
// function so that a test can record the box instead of blocking on it.
using ShowMessage = std::function<void(QWidget* parent, const MessageBoxText& box)>;

// Runs a dialog modally and returns once it has closed; a test acts on the dialog instead.
using RunModal = std::function<void(QDialog& dialog)>;

void showModalMessage(QWidget* parent, const MessageBoxText& box);
void runModalDialog(QDialog& dialog);

}  // namespace skyfare
