#include "raster/picture_limits.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace skyfare {
namespace {

TEST(PictureLimitsTest, OnlyWhatTheFileDeclaresBeyondTheLimitsIsRefused) {
  EXPECT_EQ(declaredSizeProblem(800, 600, 32, false), "");
  EXPECT_EQ(declaredSizeProblem(3000, 3000, 32, false), "");  // 36 MB
  EXPECT_EQ(declaredSizeProblem(4000, 3000, 32, false), "too large (4000 x 3000 pixels)");
  EXPECT_EQ(declaredSizeProblem(4000, 3000, 24, true), "");  // a baseline JPEG decodes a part
  EXPECT_NE(declaredSizeProblem(20000, 20000, 24, true), "");
  EXPECT_NE(declaredSizeProblem(0, 10, 32, false), "");
  EXPECT_NE(declaredSizeProblem(0x7FFFFFFF, 0x7FFFFFFF, 32, true), "");
}

TEST(PictureLimitsTest, TellsAProgressiveJpegByItsFrameMarker) {
  // Start of image, an application segment of 4 bytes, then the frame header.
  std::vector<unsigned char> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04,
                                     0x00, 0x00, 0xFF, 0xC0, 0x00, 0x11};
  EXPECT_FALSE(isProgressiveJpeg(jpeg.data(), jpeg.size()));
  jpeg[9] = 0xC2;
  EXPECT_TRUE(isProgressiveJpeg(jpeg.data(), jpeg.size()));
  // A segment length that runs past the bytes stops the walk.
  jpeg[5] = 0xFF;
  EXPECT_FALSE(isProgressiveJpeg(jpeg.data(), jpeg.size()));
}

class PngBytes {
 public:
  PngBytes() { bytes_ = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}; }
  PngBytes& chunk(const char* type, std::uint32_t declared, std::size_t actual) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes_.push_back((declared >> shift) & 0xFF);
    bytes_.insert(bytes_.end(), type, type + 4);
    bytes_.insert(bytes_.end(), actual + 4, 0);
    return *this;
  }
  std::string problem() const {
    return pngChunkProblem(
        [this](std::int64_t at, unsigned char* into, std::size_t count) {
          if (at >= static_cast<std::int64_t>(bytes_.size()))
            return std::size_t{0};
          const std::size_t n = std::min(count, bytes_.size() - static_cast<std::size_t>(at));
          std::memcpy(into, bytes_.data() + at, n);
          return n;
        },
        static_cast<std::int64_t>(bytes_.size()));
  }

 private:
  std::vector<unsigned char> bytes_;
};

TEST(PictureLimitsTest, APngChunkThatClaimsTooMuchIsRefusedBeforeDecoding) {
  EXPECT_EQ(PngBytes().chunk("IHDR", 13, 13).chunk("IDAT", 10, 10).chunk("IEND", 0, 0).problem(),
            "");
  EXPECT_NE(PngBytes().chunk("IHDR", 13, 13).chunk("iCCP", 100000, 10).problem(), "");
  EXPECT_NE(PngBytes().chunk("IHDR", 13, 13).chunk("zTXt", 0x80000000u, 10).problem(), "");
  EXPECT_EQ(PngBytes().chunk("IHDR", 13, 13).chunk("IDAT", 100000, 10).problem(), "");
  // Not a PNG at all: left to the decoder.
  EXPECT_EQ(pngChunkProblem([](std::int64_t, unsigned char*, std::size_t) { return 0u; }, 0), "");
}

}  // namespace
}  // namespace skyfare
