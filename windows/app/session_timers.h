#pragma once

#include "windows/platform/win32_api.h"

namespace skyfare {

class Form1;

// The saver window's three one-second timers, tmrPlane, tmrPause and tmrSound, running from
// construction like the window's own. They tick on a message-only window of their own, so the
// message loop that paces the frames dispatches them too.
class SessionTimers {
 public:
  SessionTimers(HINSTANCE instance, Form1& form);
  ~SessionTimers();
  SessionTimers(const SessionTimers&) = delete;
  SessionTimers& operator=(const SessionTimers&) = delete;

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  Form1& form_;
  HWND window_ = nullptr;
};

}  // namespace skyfare
