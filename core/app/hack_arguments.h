#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skyfare {

// Where the host entry point draws, as its arguments and XSCREENSAVER_WINDOW say.
struct HackRequest {
  // The host's window; none when the entry point opens a window of its own.
  std::optional<std::uint32_t> hostWindow;
  // A settings program's preview pane (named by --window-id): it stays silent.
  bool isPreview = false;
  // The id text that names no window at all (not a number, zero, too large); empty when fine.
  std::string badWindowId;
  // Arguments that mean nothing here, in order; they are reported and otherwise ignored.
  std::vector<std::string> unknownArguments;
};

// A window id as hosts pass it: hexadecimal with "0x", or decimal. Nothing for any other text,
// for zero, and for values beyond 32 bits.
std::optional<std::uint32_t> parseWindowId(std::string_view text);

// "--window-id ID" or "-window-id ID" (also "--window-id=ID") names the host window; otherwise
// "--root", "-root" or no switch take the window from XSCREENSAVER_WINDOW (null or empty when
// not set). With neither, the entry point opens a window of its own.
HackRequest parseHackArguments(const std::vector<std::string>& arguments,
                               const char* xscreensaverWindow);

}  // namespace skyfare
