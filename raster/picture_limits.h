#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace skyfare {

// A picture that needs more than this to decode whole, and whose format cannot decode just a
// part of itself, is not read: what a file declares must not decide how much memory we use.
inline constexpr std::int64_t kLargestWholeDecodeBytes = 40LL << 20;
// A format that decodes just a part (a baseline JPEG, as cameras write) may be larger, up to
// what the decoder allows at all. A progressive JPEG keeps working data for the whole picture,
// so it counts as decoded whole.
inline constexpr std::int64_t kLargestPartlyDecodedBytes = 128LL << 20;
// The decoder allocates the whole of every PNG chunk but the image data before it reads it, so
// a chunk's declared length is what one file may make it take.
inline constexpr std::int64_t kLargestPngSideChunkBytes = 8LL << 20;

// Why a picture of the declared size must not be decoded, in a few words; empty when it may.
// A picture no larger than the scene always may: only its top-left scene-sized part is ever
// drawn, and that is all a larger one gives.
std::string declaredSizeProblem(std::int64_t width, std::int64_t height, int bitsPerPixel,
                                bool decodesPart);

// Whether the JPEG whose first bytes these are has a progressive frame, from its markers up to
// the frame header; false for anything else.
bool isProgressiveJpeg(const unsigned char* head, std::size_t size);

// What a picture file says of itself in its first bytes, before any decoder sees it.
struct DeclaredPicture {
  enum class Kind { Unknown, Bmp, Gif, Jpeg, Png };
  Kind kind = Kind::Unknown;
  std::int64_t width = 0;  // 0 when the header does not say
  std::int64_t height = 0;
  int bitsPerPixel = 32;     // of the picture as decoded
  bool decodesPart = false;  // a baseline JPEG: only the part drawn is decoded
};

// Reads the format and the declared size from the file's first bytes (up to the JPEG frame
// header, which may lie some way in). A BMP stored bottom-up declares a negative height; the
// size given is its magnitude.
DeclaredPicture declaredPicture(const unsigned char* head, std::size_t size);

// Reads up to `count` bytes at `at` into `into`, giving how many it read.
using ReadAt = std::function<std::size_t(std::int64_t at, unsigned char* into, std::size_t count)>;

// Walks the chunks of a PNG, reading only their headers. Returns why the decoder must not see
// it: a chunk that claims more than the file holds, or more than kLargestPngSideChunkBytes.
// Empty for any other file.
std::string pngChunkProblem(const ReadAt& readAt, std::int64_t fileBytes);

}  // namespace skyfare
