#include "wayland/shm_buffer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <limits>

namespace skyfare {
namespace {

constexpr int kBytesPerPixel = 4;

// Closes the memory file once the pool and the mapping hold the memory.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0)
      close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<ShmBuffer> ShmBuffer::create(wl_shm* shm, QSize size, Pixels pixels,
                                             std::function<void()> givenBack) {
  if (size.isEmpty() || size.width() > std::numeric_limits<int>::max() / kBytesPerPixel)
    return nullptr;
  const int stride = size.width() * kBytesPerPixel;
  if (size.height() > std::numeric_limits<int>::max() / stride)
    return nullptr;
  const std::size_t bytes =
      static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.height());
  const FileDescriptor file(memfd_create("skyfare-frame", MFD_CLOEXEC | MFD_ALLOW_SEALING));
  if (file.get() < 0 || ftruncate(file.get(), static_cast<off_t>(bytes)) != 0)
    return nullptr;
  // The compositor may not shrink the file under our mapping.
  fcntl(file.get(), F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_SEAL);
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file.get(), 0);
  if (memory == MAP_FAILED)
    return nullptr;
  // In memory order these are Qt's RGB32 and ARGB32_Premultiplied on a little-endian machine,
  // the formats Qt paints fastest.
  const bool opaque = pixels == Pixels::Opaque;
  std::unique_ptr<ShmBuffer> result(new ShmBuffer(
      memory, bytes, size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied,
      std::move(givenBack)));
  wl_shm_pool* pool = wl_shm_create_pool(shm, file.get(), static_cast<int>(bytes));
  result->buffer_ =
      wl_shm_pool_create_buffer(pool, 0, size.width(), size.height(), stride,
                                opaque ? WL_SHM_FORMAT_XRGB8888 : WL_SHM_FORMAT_ARGB8888);
  // The buffer keeps the pool's memory after the pool is gone.
  wl_shm_pool_destroy(pool);
  static const wl_buffer_listener listener{.release = &ShmBuffer::released};
  wl_buffer_add_listener(result->buffer_, &listener, result.get());
  return result;
}

ShmBuffer::ShmBuffer(void* pixels, std::size_t bytes, QSize size, QImage::Format format,
                     std::function<void()> givenBack)
    : pixels_(pixels),
      bytes_(bytes),
      image_(static_cast<uchar*>(pixels), size.width(), size.height(),
             size.width() * kBytesPerPixel, format),
      givenBack_(std::move(givenBack)) {}

ShmBuffer::~ShmBuffer() {
  if (buffer_ != nullptr)
    wl_buffer_destroy(buffer_);
  image_ = QImage();
  munmap(pixels_, bytes_);
}

void ShmBuffer::released(void* data, wl_buffer*) {
  auto* self = static_cast<ShmBuffer*>(data);
  if (self->givenBack_)
    self->givenBack_();
}

}  // namespace skyfare
