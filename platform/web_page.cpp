#include "platform/web_page.h"

#include <QDesktopServices>
#include <QUrl>

namespace skyfare {

void openWebPage(const QString& address) {
  QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

}  // namespace skyfare
