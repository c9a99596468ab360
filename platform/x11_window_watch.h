#pragma once

#include <QSize>
#include <cstdint>
#include <memory>
#include <optional>

namespace skyfare {

// Asks the X server about a window that belongs to another program, over a connection of its
// own: Qt reports such a window as 0 × 0 and never tells when it is resized or destroyed.
class X11WindowWatch {
 public:
  explicit X11WindowWatch(std::uint64_t window);
  ~X11WindowWatch();
  X11WindowWatch(const X11WindowWatch&) = delete;
  X11WindowWatch& operator=(const X11WindowWatch&) = delete;

  // The window's inner size, or nothing when it does not exist (or no server answers).
  std::optional<QSize> clientSize() const;

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
  std::uint64_t window_;
};

}  // namespace skyfare
