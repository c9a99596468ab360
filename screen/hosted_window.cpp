#include "screen/hosted_window.h"

#include <QGuiApplication>
#include <QScreen>

namespace skyfare {

QSize boundedToScreens(QSize hostSize) {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    return hostSize.boundedTo(screen->virtualSize());
  return hostSize;
}

HostedWindow::HostedWindow(QWindow* host, QSize hostSize, const DisplayList& presented,
                           SceneWindowEvents& events,
                           std::shared_ptr<ScaledPictures> scaledPictures)
    : SceneWindow(presented, events,
                  host ? boundedToScreens(hostSize) : QSize(kOwnWindowWidth, kOwnWindowHeight),
                  std::move(scaledPictures)) {
  if (host) {
    setFlags(Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
             Qt::WindowDoesNotAcceptFocus);
    setParent(host);
    followHostSize(hostSize);
  } else {
    setTitle(QStringLiteral("Skyfare"));
    resize(kOwnWindowWidth, kOwnWindowHeight);
  }
  show();
}

void HostedWindow::followHostSize(QSize hostSize) {
  const QRect covered(QPoint(0, 0), boundedToScreens(hostSize));
  if (geometry() != covered)
    setGeometry(covered);
}

}  // namespace skyfare
