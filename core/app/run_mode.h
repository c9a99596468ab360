#pragma once

#include <cstdint>
#include <string_view>

namespace skyfare {

enum class RunMode { ShowSaver, ShowPreview, Configure, ChangePassword, NoWindow };

// What the command line asks for: the run mode, and in preview mode the host window's handle
// (0 when none was given).
struct StartRequest {
  RunMode mode = RunMode::NoWindow;
  std::int64_t hostWindow = 0;
  // True for the show switch itself, which yields to an instance already running; an empty
  // command line also shows the saver but never yields.
  bool isShowSwitch = false;

  friend bool operator==(const StartRequest&, const StartRequest&) = default;
};

// Only the first two characters of the trimmed, lower-cased text count: "/s", "/p", "/c",
// "/a", or nothing at all for the saver. In preview mode the longest numeric tail of the text
// is the host window.
StartRequest parseCommandLine(std::string_view commandLine);

// A second saver started while one runs ends at once, unless the desktop's display settings
// window is open (the user is trying the saver from there).
bool endsEarly(const StartRequest& request, bool settingsWindowFound, bool anotherInstanceRuns);

}  // namespace skyfare
