#include "assets/preview_picture.h"

#include <algorithm>
#include <array>
#include <vector>

namespace skyfare {
namespace {

using Channels = std::array<int, 3>;

Channels channelsOf(QRgb colour) {
  return {qRed(colour), qGreen(colour), qBlue(colour)};
}

// A box of colours for median cut: a range of the shared colour list.
struct Box {
  std::size_t begin;
  std::size_t end;

  int widestChannel(const std::vector<Channels>& colours, int* spread) const {
    Channels low{255, 255, 255};
    Channels high{0, 0, 0};
    for (std::size_t i = begin; i < end; ++i) {
      for (int c = 0; c < 3; ++c) {
        low[c] = std::min(low[c], colours[i][c]);
        high[c] = std::max(high[c], colours[i][c]);
      }
    }
    int widest = 0;
    for (int c = 1; c < 3; ++c) {
      if (high[c] - low[c] > high[widest] - low[widest]) {
        widest = c;
      }
    }
    *spread = high[widest] - low[widest];
    return widest;
  }

  QRgb average(const std::vector<Channels>& colours) const {
    Channels sum{0, 0, 0};
    for (std::size_t i = begin; i < end; ++i) {
      for (int c = 0; c < 3; ++c) {
        sum[c] += colours[i][c];
      }
    }
    const auto count = static_cast<int>(end - begin);
    return qRgb((sum[0] + count / 2) / count, (sum[1] + count / 2) / count,
                (sum[2] + count / 2) / count);
  }
};

// Median cut: split the box with the widest spread of colour at its median until the table
// is full or no box has two different colours left.
QList<QRgb> paletteFor(const QImage& picture) {
  std::vector<Channels> colours;
  colours.reserve(static_cast<std::size_t>(picture.width() * picture.height()));
  for (int y = 0; y < picture.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      colours.push_back(channelsOf(line[x]));
    }
  }
  std::vector<Box> boxes{{0, colours.size()}};
  while (boxes.size() < kPreviewColours) {
    int bestSpread = 0;
    int bestChannel = 0;
    std::size_t best = boxes.size();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      int spread = 0;
      const int channel = boxes[i].widestChannel(colours, &spread);
      if (spread > bestSpread) {
        bestSpread = spread;
        bestChannel = channel;
        best = i;
      }
    }
    if (best == boxes.size()) {
      break;
    }
    const Box box = boxes[best];
    const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last, [bestChannel](const Channels& a, const Channels& b) {
      return a[bestChannel] != b[bestChannel] ? a[bestChannel] < b[bestChannel] : a < b;
    });
    // Split where the value changes nearest the middle, so neither half is empty.
    std::size_t middle = box.begin + (box.end - box.begin) / 2;
    while (middle > box.begin && colours[middle][bestChannel] == colours[middle - 1][bestChannel]) {
      --middle;
    }
    if (middle == box.begin) {
      middle = box.begin + (box.end - box.begin) / 2;
      while (colours[middle][bestChannel] == colours[middle - 1][bestChannel]) {
        ++middle;
      }
    }
    boxes[best] = {box.begin, middle};
    boxes.push_back({middle, box.end});
  }
  QList<QRgb> palette;
  for (const Box& box : boxes) {
    palette.append(box.average(colours));
  }
  while (palette.size() < kPreviewColours) {
    palette.append(qRgb(0, 0, 0));
  }
  return palette;
}

int nearestEntry(const QList<QRgb>& palette, QRgb colour) {
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < palette.size(); ++i) {
    const int dr = qRed(palette[i]) - qRed(colour);
    const int dg = qGreen(palette[i]) - qGreen(colour);
    const int db = qBlue(palette[i]) - qBlue(colour);
    const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

}  // namespace

QImage toPreviewPicture(const QImage& frame) {
  QImage source = frame.convertToFormat(QImage::Format_RGB32);
  if (source.isNull()) {
    source = QImage(kPreviewWidthPx, kPreviewHeightPx, QImage::Format_RGB32);
    source.fill(Qt::black);
  }
  const QImage scaled = source.scaled(kPreviewWidthPx, kPreviewHeightPx, Qt::IgnoreAspectRatio,
                                      Qt::SmoothTransformation);
  const QList<QRgb> palette = paletteFor(scaled);
  QImage picture(kPreviewWidthPx, kPreviewHeightPx, QImage::Format_Indexed8);
  picture.setColorTable(palette);
  for (int y = 0; y < kPreviewHeightPx; ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
    uchar* out = picture.scanLine(y);
    for (int x = 0; x < kPreviewWidthPx; ++x) {
      out[x] = static_cast<uchar>(nearestEntry(palette, in[x]));
    }
  }
  return picture;
}

}  // namespace skyfare
