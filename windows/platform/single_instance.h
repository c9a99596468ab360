#pragma once

#include "windows/platform/win32_api.h"

#include <memory>
#include <string>
#include <type_traits>

namespace skyfare {

// A named mutex in the user's session, held for the life of the object. Every start of the
// program makes it, whatever its mode; a later start finds it made by the first one. The
// system removes it when the last holder ends, however it ends, so a crash leaves nothing
// behind. A mutex that cannot be made is told in one debug line, and the program runs as if it
// held it.
class SingleInstance {
 public:
  SingleInstance();
  // Under another name, so that tests do not meet a running saver.
  explicit SingleInstance(std::wstring name);

  bool anotherInstanceRuns() const { return heldElsewhere_; }
  // Says in one debug line that this start gives way to the running instance.
  void tellAnotherInstanceRuns() const;

 private:
  struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
  };
  std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser> mutex_;
  bool heldElsewhere_ = false;
};

}  // namespace skyfare
