#include "config/gap_label.h"

#include <QLabel>
#include <algorithm>

namespace skyfare {

namespace {

constexpr int kGapPaddingPx = 3;

}  // namespace

GapLabel::GapLabel(const QString& text, QWidget* parent)
    : QWidget(parent), label_(new QLabel(text, this)) {
  label_->setTextFormat(Qt::PlainText);
  qsizetype runStart = 0;
  for (qsizetype at = 0; at <= text.size(); ++at) {
    if (at < text.size() && text.at(at) == u' ')
      continue;
    if (at - runStart > gapEnd_ - gapStart_) {
      gapStart_ = runStart;
      gapEnd_ = at;
    }
    runStart = at + 1;
  }
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void GapLabel::addToGap(QWidget* control, int widthPx) {
  control->setParent(this);
  placed_.push_back({control, widthPx});
  updateGeometry();
}

QSize GapLabel::sizeHint() const {
  int height = label_->sizeHint().height();
  for (const Placed& p : placed_) height = std::max(height, p.control->sizeHint().height());
  return {label_->sizeHint().width(), height};
}

void GapLabel::resizeEvent(QResizeEvent*) {
  const int labelHeight = label_->sizeHint().height();
  label_->setGeometry(0, (height() - labelHeight) / 2, width(), labelHeight);

  const QFontMetrics metrics = label_->fontMetrics();
  const QString text = label_->text();
  const int left = metrics.horizontalAdvance(text.left(gapStart_)) + kGapPaddingPx;
  const int right = metrics.horizontalAdvance(text.left(gapEnd_)) - kGapPaddingPx;

  int fixedWidth = 0;
  int sharing = 0;
  for (const Placed& p : placed_) {
    fixedWidth += p.widthPx;
    sharing += p.widthPx == 0 ? 1 : 0;
  }
  const int spacing = kGapPaddingPx * static_cast<int>(placed_.empty() ? 0 : placed_.size() - 1);
  const int shareWidth =
      sharing == 0 ? 0 : std::max(0, right - left - fixedWidth - spacing) / sharing;

  int x = left;
  for (const Placed& p : placed_) {
    const int w = p.widthPx == 0 ? shareWidth : p.widthPx;
    const int h = p.control->sizeHint().height();
    p.control->setGeometry(x, (height() - h) / 2, w, h);
    x += w + kGapPaddingPx;
  }
}

}  // namespace skyfare
