#pragma once

#include <QLockFile>
#include <memory>

namespace skyfare {

// A per-user lock in the runtime folder, held for the life of the object. The first saver
// holds it; a later one finds it taken.
class SingleInstance {
 public:
  SingleInstance();
  bool anotherInstanceRuns() const { return !held_; }

 private:
  std::unique_ptr<QLockFile> lock_;
  bool held_ = false;
};

// The desktop's own display settings window, from which the user tries a saver; Linux desktops
// have none that the saver needs to know about.
bool displaySettingsWindowOpen();

}  // namespace skyfare
