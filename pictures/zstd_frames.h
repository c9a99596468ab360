#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skyfare {

// Bytes that are a run of independent zstd frames, each declaring how large it decodes, so one
// frame can be decoded on its own into a buffer of exactly that size and never into more.
class ZstdFrames {
 public:
  // Indexes the frames. Bytes that are anything else give no frames at all.
  explicit ZstdFrames(std::vector<unsigned char> bytes);

  std::size_t count() const { return frames_.size(); }
  std::uint64_t decodedBytes(std::size_t frame) const { return frames_[frame].decodedBytes; }
  // Decodes the frame into `out`, which holds decodedBytes(frame) bytes. False when the frame
  // is damaged: it does not decode to exactly that size, or its checksum does not match.
  bool decode(std::size_t frame, unsigned char* out) const;

 private:
  struct Frame {
    std::size_t offset;
    std::size_t compressedBytes;
    std::uint64_t decodedBytes;
  };

  std::vector<unsigned char> bytes_;
  std::vector<Frame> frames_;
};

}  // namespace skyfare
