#include "platform/web_page.h"

#include <QDesktopServices>
#include <QUrl>

namespace skyfare {

bool openWebPage(const QString& address) {
  return QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

}  // namespace skyfare
