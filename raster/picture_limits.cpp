#include "raster/picture_limits.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "core/controls/drawing_control.h"

namespace skyfare {
namespace {

constexpr std::array<unsigned char, 8> kPngSignature = {0x89, 'P',  'N',  'G',
                                                        '\r', '\n', 0x1A, '\n'};
constexpr std::int64_t kChunkHeaderBytes = 8;  // length and type
constexpr std::int64_t kChunkCrcBytes = 4;
constexpr std::uint32_t kLongestChunkBytes = 0x7FFFFFFF;  // the format allows no longer chunk

std::uint32_t bigEndian32(const unsigned char* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

std::uint32_t littleEndian32(const unsigned char* bytes) {
  return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
         (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
}

std::int64_t magnitude(std::uint32_t value) {
  const auto signedValue = static_cast<std::int64_t>(static_cast<std::int32_t>(value));
  return signedValue < 0 ? -signedValue : signedValue;
}

// The frame header of a JPEG: its marker and where it starts; marker 0 when none was found.
std::pair<unsigned char, std::size_t> jpegFrameHeader(const unsigned char* head, std::size_t size) {
  std::size_t at = 2;  // after the start-of-image marker
  while (at + 4 <= size && head[at] == 0xFF) {
    const unsigned char marker = head[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return {marker, at};
    at += 2 + ((std::size_t{head[at + 2]} << 8) | head[at + 3]);
  }
  return {0, 0};
}

}  // namespace

DeclaredPicture declaredPicture(const unsigned char* head, std::size_t size) {
  using Kind = DeclaredPicture::Kind;
  DeclaredPicture declared;
  if (size >= 24 && std::memcmp(head, kPngSignature.data(), kPngSignature.size()) == 0) {
    declared.kind = Kind::Png;
    if (std::memcmp(head + 12, "IHDR", 4) == 0) {
      declared.width = bigEndian32(head + 16);
      declared.height = bigEndian32(head + 20);
    }
  } else if (size >= 10 &&
             (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0)) {
    declared = {Kind::Gif, head[6] | (head[7] << 8), head[8] | (head[9] << 8), 8, false};
  } else if (size >= 30 && head[0] == 'B' && head[1] == 'M') {
    declared.kind = Kind::Bmp;
    if (littleEndian32(head + 14) >= 40) {  // an info header of the Windows kind
      declared.width = magnitude(littleEndian32(head + 18));
      declared.height = magnitude(littleEndian32(head + 22));
      declared.bitsPerPixel = (head[28] | (head[29] << 8)) <= 8 ? 8 : 32;
    } else if (littleEndian32(head + 14) == 12) {  // the older core header
      declared.width = head[18] | (head[19] << 8);
      declared.height = head[20] | (head[21] << 8);
    }
  } else if (size >= 4 && head[0] == 0xFF && head[1] == 0xD8) {
    declared.kind = Kind::Jpeg;
    const auto [marker, at] = jpegFrameHeader(head, size);
    if (marker != 0 && at + 9 <= size) {
      declared.height = (head[at + 5] << 8) | head[at + 6];
      declared.width = (head[at + 7] << 8) | head[at + 8];
      declared.decodesPart = !isProgressiveJpeg(head, size);
    }
  }
  return declared;
}

std::string declaredSizeProblem(std::int64_t width, std::int64_t height, int bitsPerPixel,
                                bool decodesPart) {
  if (width <= 0 || height <= 0)
    return "an empty picture";
  if (width <= kSceneWidth && height <= kSceneHeight)
    return {};
  // In floating point, as a declared size may be anything the header's fields can hold.
  const double bytes =
      static_cast<double>(width) * static_cast<double>(height) * std::max(bitsPerPixel, 8) / 8.0;
  const std::int64_t limit = decodesPart ? kLargestPartlyDecodedBytes : kLargestWholeDecodeBytes;
  if (bytes <= static_cast<double>(limit))
    return {};
  return "too large (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)";
}

bool isProgressiveJpeg(const unsigned char* head, std::size_t size) {
  const unsigned char marker = jpegFrameHeader(head, size).first;
  return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
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
