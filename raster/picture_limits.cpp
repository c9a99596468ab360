#include "raster/picture_limits.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/controls/drawing_control.h"

namespace skyfare {
namespace {

constexpr std::array<unsigned char, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::int64_t kChunkHeaderBytes = 8;  // length and type
constexpr std::int64_t kChunkCrcBytes = 4;
constexpr std::uint32_t kLongestChunkBytes = 0x7FFFFFFF;  // the format allows no longer chunk

std::uint32_t bigEndian32(const unsigned char* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

}  // namespace

std::string declaredSizeProblem(std::int64_t width, std::int64_t height, int bitsPerPixel,
                                bool decodesPart) {
  if (width <= 0 || height <= 0)
    return "an empty picture";
  if (width <= kSceneWidth && height <= kSceneHeight)
    return {};
  // In floating point, as a declared size may be anything the header's fields can hold.
  const double bytes = static_cast<double>(width) * static_cast<double>(height) *
                       std::max(bitsPerPixel, 8) / 8.0;
  const std::int64_t limit = decodesPart ? kLargestPartlyDecodedBytes : kLargestWholeDecodeBytes;
  if (bytes <= static_cast<double>(limit))
    return {};
  return "too large (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)";
}

bool isProgressiveJpeg(const unsigned char* head, std::size_t size) {
  std::size_t at = 2;  // after the start-of-image marker
  while (at + 4 <= size && head[at] == 0xFF) {
    const unsigned char marker = head[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    at += 2 + ((std::size_t{head[at + 2]} << 8) | head[at + 3]);
  }
  return false;
}

std::string pngChunkProblem(const ReadAt& readAt, std::int64_t fileBytes) {
  std::array<unsigned char, kPngSignature.size()> signature{};
  if (readAt(0, signature.data(), signature.size()) != signature.size() ||
      signature != kPngSignature)
    return {};
  std::int64_t at = kPngSignature.size();
  std::array<unsigned char, kChunkHeaderBytes> header{};
  // A file that ends before its closing chunk is the decoder's to judge; only the claims of
  // the chunks it holds are checked here.
  while (at + kChunkHeaderBytes <= fileBytes &&
         readAt(at, header.data(), header.size()) == header.size()) {
    const std::uint32_t length = bigEndian32(header.data());
    if (std::memcmp(header.data() + 4, "IEND", 4) == 0)
      break;
    if (length > kLongestChunkBytes)
      return "a damaged PNG (a part longer than the format allows)";
    // Image data is decoded as it streams in; only the other chunks are taken whole.
    if (std::memcmp(header.data() + 4, "IDAT", 4) != 0) {
      if (length > fileBytes - at - kChunkHeaderBytes - kChunkCrcBytes)
        return "a damaged PNG (a part runs past the end of the file)";
      if (length > kLargestPngSideChunkBytes)
        return "a PNG with a part too large to read (" + std::to_string(length) + " bytes)";
    }
    at += kChunkHeaderBytes + length + kChunkCrcBytes;
  }
  return {};
}

}  // namespace skyfare
