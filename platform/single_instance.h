#pragma once

#include <QLockFile>
#include <memory>

namespace skyfare {

// A per-user lock in the runtime folder, held for the life of the object. Every start of the
// program takes it, whatever its mode; a later start finds it held by the first one. A lock that
// cannot be taken for any other reason is told in one line on standard error, and the program
// runs as if it held it.
class SingleInstance {
 public:
  SingleInstance();
  // True only while a live instance holds the lock.
  bool anotherInstanceRuns() const { return heldElsewhere_; }
  // Says in one line on standard error that this start gives way to the running instance, with
  // that instance's process id.
  void tellAnotherInstanceRuns() const;

 private:
  std::unique_ptr<QLockFile> lock_;
  bool heldElsewhere_ = false;
  qint64 holderPid_ = 0;
};

// The desktop's own display settings window, from which the user tries a saver; Linux desktops
// have none that the saver needs to know about.
bool displaySettingsWindowOpen();

}  // namespace skyfare
