#include "drawing/text_measure.h"

#include <QFontMetrics>
#include <algorithm>

namespace skyfare {
namespace {

// Room for antialiasing and for glyphs that hinting at another scale makes a little wider.
constexpr int kTextPaddingPx = 2;

}  // namespace

const TextMeasure::Extent& TextMeasure::measure(const QFont& font, const QString& text) {
  const auto found = std::find_if(recent_.begin(), recent_.end(), [&](const Entry& entry) {
    return entry.text == text && entry.font == font;
  });
  if (found != recent_.end()) {
    std::rotate(found, found + 1, recent_.end());
    return recent_.back().extent;
  }
  if (recent_.size() == kTextsKept)
    recent_.erase(recent_.begin());
  const QFontMetrics metrics(font);
  const int ascent = metrics.ascent();
  const QRect ink = metrics.boundingRect(text).translated(0, ascent) |
                    QRect(0, 0, metrics.horizontalAdvance(text), metrics.height());
  recent_.push_back(
      {font,
       text,
       {ascent, ink.adjusted(-kTextPaddingPx, -kTextPaddingPx, kTextPaddingPx, kTextPaddingPx)}});
  return recent_.back().extent;
}

}  // namespace skyfare
