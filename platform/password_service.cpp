#include "platform/password_service.h"

#include <QMessageBox>
#include <QWidget>

#include "core/app/program_title.h"

namespace skyfare {

void changeSaverPassword() {
  QWidget owner;
  owner.setWindowTitle(QString::fromLatin1(kProgramTitle));
  QMessageBox::information(
      &owner, QString::fromLatin1(kProgramTitle),
      QStringLiteral("Skyfare has no password of its own. When the screen is locked, your "
                     "desktop's screen locker asks for your account password; change it in "
                     "your desktop's user settings or with the passwd command."));
}

}  // namespace skyfare
