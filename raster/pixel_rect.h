#pragma once

#include <algorithm>
#include <vector>

namespace skyfare {

// A rectangle of whole pixels; right and bottom are exclusive.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const PixelRect&) const = default;
  bool isEmpty() const { return width <= 0 || height <= 0; }
  int right() const { return x + width; }
  int bottom() const { return y + height; }
  bool intersects(const PixelRect& other) const {
    return !isEmpty() && !other.isEmpty() && x < other.right() && other.x < right() &&
           y < other.bottom() && other.y < bottom();
  }
  bool contains(const PixelRect& other) const {
    return other.x >= x && other.y >= y && other.right() <= right() && other.bottom() <= bottom();
  }
  PixelRect intersected(const PixelRect& other) const {
    const int left = std::max(x, other.x);
    const int top = std::max(y, other.y);
    const int r = std::min(right(), other.right());
    const int b = std::min(bottom(), other.bottom());
    if (r <= left || b <= top)
      return {};
    return {left, top, r - left, b - top};
  }
  PixelRect united(const PixelRect& other) const {
    if (isEmpty())
      return other;
    if (other.isEmpty())
      return *this;
    const int left = std::min(x, other.x);
    const int top = std::min(y, other.y);
    return {left, top, std::max(right(), other.right()) - left,
            std::max(bottom(), other.bottom()) - top};
  }
};

using PixelRects = std::vector<PixelRect>;

inline long long area(const PixelRect& rect) {
  return rect.isEmpty() ? 0 : static_cast<long long>(rect.width) * rect.height;
}

// Adds a rectangle to a set of rectangles to compose, joining it with each member whose
// bounding box together with it is no larger than the two apart: a sprite's old and new place,
// or things side by side. Others stay apart even where they overlap, as two aircraft crossing
// would otherwise make one box of all the empty sky around them; an overlap is composed twice
// to the same result.
inline void addJoined(PixelRects& rects, PixelRect rect) {
  if (rect.isEmpty())
    return;
  bool joined = true;
  while (joined) {
    joined = false;
    for (auto it = rects.begin(); it != rects.end(); ++it) {
      const PixelRect both = rect.united(*it);
      if (area(both) <= area(rect) + area(*it)) {
        rect = both;
        rects.erase(it);
        joined = true;
        break;
      }
    }
  }
  rects.push_back(rect);
}

}  // namespace skyfare
