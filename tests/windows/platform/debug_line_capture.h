#pragma once

#include "windows/platform/win32_api.h"

#include <string>
#include <vector>

namespace skyfare::testing {

// Collects what the process writes to the debugger output while it lives, as UTF-8 text. The
// system raises an exception for every debug string before it prints it; a first-chance
// handler sees it and lets it go on.
class DebugLineCapture {
 public:
  DebugLineCapture();
  ~DebugLineCapture();
  DebugLineCapture(const DebugLineCapture&) = delete;
  DebugLineCapture& operator=(const DebugLineCapture&) = delete;

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  static LONG CALLBACK onException(EXCEPTION_POINTERS* exception);

  void* handler_ = nullptr;
  std::vector<std::string> lines_;
  bool sawWide_ = false;
};

}  // namespace skyfare::testing
