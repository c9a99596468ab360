// Waits until a small block of the X screen (by default its middle) shows something other than
// black and prints the milliseconds since a given start (wall clock, as `date +%s%3N` prints
// it). Reads the block only, so polling does not slow the program being timed the way full
// screenshots do.
//
// Usage: skyfare_first_frame_wait START_MS [TIMEOUT_MS [CENTRE_X CENTRE_Y]]
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

constexpr int kBlockPx = 32;
constexpr auto kPollPeriod = std::chrono::milliseconds(2);

long long nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool showsSomething(Display* display, int centreX, int centreY) {
  const Window root = DefaultRootWindow(display);
  const int x = centreX - kBlockPx / 2;
  const int y = centreY - kBlockPx / 2;
  const auto destroy = [](XImage* image) { XDestroyImage(image); };
  const std::unique_ptr<XImage, decltype(destroy)> block(
      XGetImage(display, root, x, y, kBlockPx, kBlockPx, AllPlanes, ZPixmap), destroy);
  if (!block)
    return false;
  for (int row = 0; row < kBlockPx; ++row) {
    for (int column = 0; column < kBlockPx; ++column) {
      if (XGetPixel(block.get(), column, row) != 0)
        return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s START_MS [TIMEOUT_MS]\n", argv[0]);
    return 2;
  }
  const long long startMs = std::atoll(argv[1]);
  const long long timeoutMs = argc > 2 ? std::atoll(argv[2]) : 30000;
  const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
  if (!display) {
    std::fprintf(stderr, "first_frame_wait: cannot open the display\n");
    return 1;
  }
  const int screen = DefaultScreen(display.get());
  const int centreX = argc > 4 ? std::atoi(argv[3]) : DisplayWidth(display.get(), screen) / 2;
  const int centreY = argc > 4 ? std::atoi(argv[4]) : DisplayHeight(display.get(), screen) / 2;
  while (!showsSomething(display.get(), centreX, centreY)) {
    if (nowMs() - startMs > timeoutMs) {
      std::fprintf(stderr, "first_frame_wait: nothing shown after %lld ms\n", timeoutMs);
      return 1;
    }
    std::this_thread::sleep_for(kPollPeriod);
  }
  std::printf("%lld\n", nowMs() - startMs);
  return 0;
}
