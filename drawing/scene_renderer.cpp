#include "drawing/scene_renderer.h"

#include <QColor>
#include <QTransform>
#include <algorithm>

#include "drawing/opaque_copy.h"

namespace skyfare {
namespace {

constexpr int kRowsPerStrip = 64;

QColor toQColor(SceneColour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace

SceneRenderer::SceneRenderer(QSize targetSize, std::shared_ptr<ScaledPictures> shared)
    : mapping_(targetSize),
      scaledPictures_(shared ? std::move(shared) : std::make_shared<ScaledPictures>()) {
  scaledPictures_->addScale(mapping_);
}

SceneRenderer::~SceneRenderer() {
  scaledPictures_->removeScale(mapping_.scale());
}

void SceneRenderer::setTargetSize(QSize targetSize) {
  const SceneMapping next(targetSize);
  if (next.scale() != mapping_.scale()) {
    scaledPictures_->addScale(next);
    scaledPictures_->removeScale(mapping_.scale());
  }
  mapping_ = next;
}

void SceneRenderer::render(QPainter& painter, const DisplayList& list, const QRegion& targetRegion,
                           Unpacking unpacking) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  for (const QRect& rect : targetRegion.intersected(mapping_.content())) {
    if (unpacking == Unpacking::Whole) {
      renderRect(painter, list, rect, unpacking);
      continue;
    }
    // A strip at a time, so only a band or two of each packed picture is unpacked at once.
    for (int top = rect.top(); top <= rect.bottom(); top += kRowsPerStrip) {
      renderRect(
          painter, list,
          QRect(rect.left(), top, rect.width(), std::min(kRowsPerStrip, rect.bottom() + 1 - top)),
          unpacking);
    }
  }
  painter.restore();
}

void SceneRenderer::renderBars(QPainter& painter) const {
  const QRegion bars = QRegion(QRect(QPoint(0, 0), mapping_.targetSize())) - mapping_.content();
  for (const QRect& rect : bars) painter.fillRect(rect, Qt::black);
}

void SceneRenderer::renderOne(QPainter& painter, const DrawOp& op, const QRect& targetRect,
                              Unpacking unpacking) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setClipRect(targetRect);
  paintOp(painter, op, targetRect, unpacking);
  painter.restore();
}

void SceneRenderer::renderRect(QPainter& painter, const DisplayList& list, const QRect& rect,
                               Unpacking unpacking) {
  painter.setClipRect(rect);
  // Whatever lies under the last op that covers the rectangle opaquely cannot show.
  std::size_t first = list.size();
  while (first > 0 && !covers(list[first - 1], rect)) --first;
  if (first == 0) {
    painter.fillRect(rect, Qt::black);
  } else {
    --first;
  }
  for (std::size_t i = first; i < list.size(); ++i) {
    if (footprint(list[i]).intersects(rect))
      paintOp(painter, list[i], rect, unpacking);
  }
}

void SceneRenderer::paintOp(QPainter& painter, const DrawOp& op, const QRect& rect,
                            Unpacking unpacking) {
  if (const auto* fill = std::get_if<FillOp>(&op)) {
    painter.fillRect(rect, toQColor(fill->colour));
  } else if (const auto* sprite = std::get_if<SpriteOp>(&op)) {
    QPoint at = mapping_.toTarget(sprite->x, sprite->y);
    int topRow = 0;
    const QImage& picture =
        unpacking == Unpacking::Whole
            ? scaledPictures_->scaled(*sprite, mapping_)
            : scaledPictures_->scaledRows(*sprite, mapping_, rect.top() - at.y(),
                                          rect.bottom() + 1 - at.y(), topRow);
    at.ry() += topRow;
    if (!copyOpaquePicture(painter, at, picture, rect))
      painter.drawImage(at, picture);
  } else if (const auto* text = std::get_if<TextOp>(&op)) {
    // On top of the painter's own transform, so a target may be painted a part at a time.
    const QTransform targetTransform = painter.transform();
    painter.setTransform(
        QTransform::fromTranslate(mapping_.content().left(), mapping_.content().top())
            .scale(mapping_.scale(), mapping_.scale()),
        true);
    painter.setFont(text->font);
    painter.setPen(toQColor(text->colour));
    painter.drawText(QPointF(text->x, static_cast<double>(text->y) + text->ascentPx), text->text);
    painter.setTransform(targetTransform);
  }
}

QRect SceneRenderer::footprint(const DrawOp& op) const {
  if (std::holds_alternative<FillOp>(op))
    return mapping_.content();
  if (const auto* sprite = std::get_if<SpriteOp>(&op)) {
    if (sprite->bounds().isEmpty())
      return {};
    const QSize size = sprite->pictureSize();
    return QRect(mapping_.toTarget(sprite->x, sprite->y),
                 QSize(mapping_.scaledLength(size.width()), mapping_.scaledLength(size.height())));
  }
  return mapping_.toTarget(opBounds(op));
}

bool SceneRenderer::covers(const DrawOp& op, const QRect& rect) const {
  if (std::holds_alternative<FillOp>(op))
    return true;
  const auto* sprite = std::get_if<SpriteOp>(&op);
  return sprite != nullptr && sprite->isOpaque() && footprint(op).contains(rect);
}

}  // namespace skyfare
