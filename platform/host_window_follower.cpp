#include "platform/host_window_follower.h"

namespace skyfare {
namespace {

// How often the host window is asked whether it still exists and how large it is.
constexpr int kHostPollMs = 250;

}  // namespace

HostWindowFollower::HostWindowFollower(std::unique_ptr<X11WindowWatch> watch,
                                       std::function<void(QSize)> onResized,
                                       std::function<void()> onGone)
    : watch_(std::move(watch)), onResized_(std::move(onResized)), onGone_(std::move(onGone)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
  timer_.start(kHostPollMs);
}

void HostWindowFollower::poll() {
  const std::optional<QSize> size = watch_->clientSize();
  if (!size) {
    timer_.stop();
    onGone_();
    return;
  }
  if (*size != lastSize_) {
    lastSize_ = *size;
    onResized_(*size);
  }
}

}  // namespace skyfare
