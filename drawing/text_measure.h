#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

namespace skyfare {

// Where a line of text puts ink, relative to its top-left corner. The last few texts measured
// are kept, since a frame draws the same message and clock again and again and shaping them
// anew each frame would cost more than the rest of the frame.
class TextMeasure {
 public:
  struct Extent {
    int ascentPx = 0;
    QRect ink;  // padded for antialiasing
  };

  const Extent& measure(const QFont& font, const QString& text);

  static constexpr std::size_t kTextsKept = 8;

 private:
  struct Entry {
    QFont font;
    QString text;
    Extent extent;
  };

  std::vector<Entry> recent_;  // least recently used first
};

}  // namespace skyfare
