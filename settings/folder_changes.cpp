#include "settings/folder_changes.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace skyfare {
namespace {

// Every way a file in the folder can come, go or change, and the folder itself going.
constexpr std::uint32_t kChanges = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM |
                                   IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_DELETE_SELF |
                                   IN_MOVE_SELF | IN_ONLYDIR;
// After these the watch no longer follows the folder at that path.
constexpr std::uint32_t kWatchLost = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

}  // namespace

FolderChanges::FolderChanges() : queue_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FolderChanges::~FolderChanges() {
  if (queue_ >= 0)
    ::close(queue_);
}

void FolderChanges::follow(const QByteArray& folder) {
  if (queue_ < 0 || (watch_ >= 0 && folder == folder_))
    return;
  if (watch_ >= 0)
    ::inotify_rm_watch(queue_, watch_);
  folder_ = folder;
  watch_ = ::inotify_add_watch(queue_, folder.constData(), kChanges);
}

bool FolderChanges::changedSinceLastLook() {
  if (queue_ < 0)
    return true;
  bool changed = watch_ < 0;
  // Notes are whole in each read; a buffer this size takes at least one with the longest name.
  // Left unset: a read in a quiet folder, the usual case, fills none of it.
  alignas(inotify_event) std::array<char, 4096> notes;
  for (;;) {
    const ssize_t length = ::read(queue_, notes.data(), notes.size());
    if (length <= 0)
      break;
    changed = true;
    for (ssize_t at = 0; at < length;) {
      inotify_event note{};
      std::memcpy(&note, notes.data() + at, sizeof note);
      if ((note.mask & kWatchLost) != 0 && note.wd == watch_) {
        if ((note.mask & IN_IGNORED) == 0 && watch_ >= 0)
          ::inotify_rm_watch(queue_, watch_);
        watch_ = -1;
      }
      at += static_cast<ssize_t>(sizeof(inotify_event) + note.len);
    }
  }
  return changed;
}

}  // namespace skyfare
