#pragma once

#include <QByteArray>

namespace skyfare {

// Tells, without a look at the disk, whether anything in one folder may have changed: the
// kernel queues a note of every change made while the folder is followed (inotify), so an
// empty queue means nothing changed. Whatever it cannot vouch for counts as a change: a folder
// it does not follow yet, one that is gone or moved, notes lost to an overfull queue.
class FolderChanges {
 public:
  FolderChanges();
  ~FolderChanges();
  FolderChanges(const FolderChanges&) = delete;
  FolderChanges& operator=(const FolderChanges&) = delete;

  // Follows the folder from now on, if it does not already; it may not exist yet. Call it
  // before looking at what the folder holds, so that a change after the look is told.
  void follow(const QByteArray& folder);
  // False only when the folder has been followed since the last call, or since it was first
  // followed if that came later, and nothing in it changed meanwhile.
  bool changedSinceLastLook();

 private:
  int queue_ = -1;  // the inotify descriptor; -1 when the kernel gave none
  int watch_ = -1;  // the folder's watch in it; -1 while it is not followed
  QByteArray folder_;
};

}  // namespace skyfare
