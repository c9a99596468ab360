#pragma once

#include <QString>

class QLockFile;

namespace skyfare {

// Takes the lock, taking over at once one whose owner is gone, also one left by an owner that
// died before it could write its process id into it. A live owner holds a lock on the file
// itself, which is never taken away however old the file is.
bool lockTakingOverDeadOne(QLockFile& lock);

// Removes the lock file beside a settings file when its owner is gone. QSettings waits 30 s
// before it takes over a lock it cannot read, and a writer that dies between creating its lock
// and filling it leaves exactly that: an empty file. A live writer holds a lock on the file
// itself, so its lock is never taken away, however young or empty.
void clearDeadLock(const QString& settingsPath);

// Removes the temporary files that writers which died mid-write left beside the settings file
// (its name, a point and six letters or digits), once they are old enough that no live writer
// can still own them.
void removeLeftoverTemporaries(const QString& settingsPath);

}  // namespace skyfare
