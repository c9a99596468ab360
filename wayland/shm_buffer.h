#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <functional>
#include <memory>

struct wl_buffer;
struct wl_shm;

namespace skyfare {

// A picture in memory shared with the compositor (an anonymous memory file), as one wl_buffer
// of 32-bit pixels. Qt paints into image(); the compositor reads it once it is attached.
class ShmBuffer {
 public:
  enum class Pixels {
    Opaque,       // what lies below cannot show through
    Translucent,  // premultiplied alpha, blended by the compositor over what lies below
  };
  // Empty when the memory or the compositor's pool cannot be had. givenBack runs when the
  // compositor has read the picture and it may be painted again.
  static std::unique_ptr<ShmBuffer> create(wl_shm* shm, QSize size, Pixels pixels,
                                           std::function<void()> givenBack);
  ~ShmBuffer();
  ShmBuffer(const ShmBuffer&) = delete;
  ShmBuffer& operator=(const ShmBuffer&) = delete;

  wl_buffer* buffer() const { return buffer_; }
  QImage& image() { return image_; }
  QSize size() const { return image_.size(); }

 private:
  ShmBuffer(void* pixels, std::size_t bytes, QSize size, QImage::Format format,
            std::function<void()> givenBack);
  static void released(void* data, wl_buffer* buffer);

  void* pixels_;
  std::size_t bytes_;
  QImage image_;
  wl_buffer* buffer_ = nullptr;
  std::function<void()> givenBack_;
};

}  // namespace skyfare
