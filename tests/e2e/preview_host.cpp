// A stand-in for the desktop's preview area: maps a window at the screen's top left, prints
// its id, and destroys it when a line arrives on standard input.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  const unsigned width = argc > 1 ? std::atoi(argv[1]) : 300;
  const unsigned height = argc > 2 ? std::atoi(argv[2]) : 200;
  Display* display = XOpenDisplay(nullptr);
  if (!display)
    return 1;
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = WhitePixel(display, screen);
  const Window window =
      XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
  XMapWindow(display, window);
  XSync(display, False);
  std::printf("%lu\n", window);
  std::fflush(stdout);
  std::string line;
  std::getline(std::cin, line);
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}
