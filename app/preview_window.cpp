#include "app/preview_window.h"

#include <QGuiApplication>
#include <QPainter>

#include "controls/hosted_window.h"
#include "controls/picture_reader.h"
#include "core/controls/drawing_control.h"

namespace skyfare {
namespace {

// How often the host window is asked whether it still exists and how large it is.
constexpr int kHostPollMs = 250;

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

PreviewWindow::PreviewWindow(QWindow* host, std::unique_ptr<X11WindowWatch> watch, QImage picture)
    : watch_(std::move(watch)), picture_(std::move(picture)) {
  setTitle(QStringLiteral("Preview"));
  setFlags(Qt::FramelessWindowHint);
  setParent(host);
  connect(&hostTimer_, &QTimer::timeout, this, &PreviewWindow::followHost);
  hostTimer_.start(kHostPollMs);
  followHost();
}

void PreviewWindow::followHost() {
  const std::optional<QSize> size = watch_->clientSize();
  if (!size) {
    QCoreApplication::exit(0);
    return;
  }
  const QSize shown = boundedToScreens(*size);
  if (geometry() != QRect(QPoint(0, 0), shown))
    setGeometry(QRect(QPoint(0, 0), shown));
}

void PreviewWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(QRect(QPoint(0, 0), size()), Qt::black);
  painter.drawImage(QPoint(0, 0), picture_);
}

int runPreview(std::int64_t hostWindow, const std::string& dataFolder) {
  auto watch = std::make_unique<X11WindowWatch>(static_cast<std::uint64_t>(hostWindow));
  if (!watch->clientSize())
    return 0;
  QWindow* host = QWindow::fromWinId(static_cast<WId>(hostWindow));
  if (!host)
    return 0;
  PreviewWindow preview(host, std::move(watch), previewPicture(dataFolder));
  preview.show();
  const int result = QGuiApplication::exec();
  preview.setParent(nullptr);
  return result;
}

}  // namespace skyfare
