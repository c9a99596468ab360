#include "platform/x11_window_watch.h"

#include <gtest/gtest.h>
// After GoogleTest: Xlib's macros (None, …) clash with its names.
#include <X11/Xlib.h>

namespace skyfare {
namespace {

int ownHandler(Display*, XErrorEvent*) {
  return 0;
}

TEST(X11WindowWatch, PutsBackTheProcesssErrorHandlerWhenItEnds) {
  const XErrorHandler before = XSetErrorHandler(ownHandler);
  {
    const X11WindowWatch watch(0);
    EXPECT_FALSE(watch.clientSize());
  }
  EXPECT_EQ(XSetErrorHandler(before), ownHandler);
}

}  // namespace
}  // namespace skyfare
