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

// Adds a rectangle to a set whose members do not overlap, joining it with every member it
// touches into their bounding box. A frame's changes are a few moving aircraft, so a handful of
// boxes costs less to compose than an exact region would to compute.
inline void addJoined(PixelRects& rects, PixelRect rect) {
  if (rect.isEmpty())
    return;
  bool joined = true;
  while (joined) {
    joined = false;
    for (auto it = rects.begin(); it != rects.end(); ++it) {
      if (it->intersects(rect)) {
        rect = rect.united(*it);
        rects.erase(it);
        joined = true;
        break;
      }
    }
  }
  rects.push_back(rect);
}

}  // namespace skyfare
