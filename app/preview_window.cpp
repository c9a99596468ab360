#include "app/preview_window.h"

#include <QGuiApplication>
#include <QPainter>

#include "core/controls/drawing_control.h"
#include "pictures/picture_reader.h"
#include "screen/hosted_window.h"

namespace skyfare {
namespace {

QImage previewPicture(const std::string& dataFolder) {
  PictureRead read =
      readPicture(dataFolder + kPreviewPictureFile, QSize(kSceneWidth, kSceneHeight));
  if (!read.image.isNull())
    return read.image;
  // A plain night sky stands in for a picture that is missing.
  QImage placeholder(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
  placeholder.fill(QColor(8, 16, 48));
  return placeholder;
}

}  // namespace

PreviewWindow::PreviewWindow(QWindow* host, QSize hostSize, std::unique_ptr<X11WindowWatch> watch,
                             QImage picture)
    : picture_(std::move(picture)),
      follower_(
          std::move(watch), [this](QSize size) { followHostSize(size); },
          [] { QCoreApplication::exit(0); }) {
  setTitle(QStringLiteral("Preview"));
  setFlags(Qt::FramelessWindowHint);
  setParent(host);
  followHostSize(hostSize);
}

void PreviewWindow::followHostSize(QSize hostSize) {
  const QRect shown(QPoint(0, 0), boundedToScreens(hostSize));
  if (geometry() != shown)
    setGeometry(shown);
}

void PreviewWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(QRect(QPoint(0, 0), size()), Qt::black);
  painter.drawImage(QPoint(0, 0), picture_);
}

int runPreview(std::int64_t hostWindow, const std::string& dataFolder) {
  auto watch = std::make_unique<X11WindowWatch>(static_cast<std::uint64_t>(hostWindow));
  const std::optional<QSize> hostSize = watch->clientSize();
  if (!hostSize)
    return 0;
  QWindow* host = QWindow::fromWinId(static_cast<WId>(hostWindow));
  if (!host)
    return 0;
  PreviewWindow preview(host, *hostSize, std::move(watch), previewPicture(dataFolder));
  preview.show();
  const int result = QGuiApplication::exec();
  preview.setParent(nullptr);
  return result;
}

}  // namespace skyfare
