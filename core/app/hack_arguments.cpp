#include "core/app/hack_arguments.h"

#include <charconv>

namespace skyfare {
namespace {

bool isWindowIdSwitch(std::string_view argument) {
  return argument == "--window-id" || argument == "-window-id";
}

bool isRootSwitch(std::string_view argument) {
  return argument == "--root" || argument == "-root";
}

// The value of "--window-id=ID" or "-window-id=ID".
std::optional<std::string_view> joinedWindowId(std::string_view argument) {
  for (std::string_view prefix : {"--window-id=", "-window-id="}) {
    if (argument.starts_with(prefix))
      return argument.substr(prefix.size());
  }
  return std::nullopt;
}

void takeWindowId(HackRequest& request, std::string_view text) {
  request.hostWindow = parseWindowId(text);
  request.badWindowId = request.hostWindow ? std::string() : std::string(text);
}

}  // namespace

std::optional<std::uint32_t> parseWindowId(std::string_view text) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint32_t id = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, id, base);
  if (text.empty() || error != std::errc() || stop != end || id == 0)
    return std::nullopt;
  return id;
}

HackRequest parseHackArguments(const std::vector<std::string>& arguments,
                               const char* xscreensaverWindow) {
  HackRequest request;
  bool windowNamed = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (isWindowIdSwitch(argument) && i + 1 < arguments.size()) {
      takeWindowId(request, arguments[++i]);
      windowNamed = true;
    } else if (const auto joined = joinedWindowId(argument)) {
      takeWindowId(request, *joined);
      windowNamed = true;
    } else if (!isRootSwitch(argument)) {
      request.unknownArguments.push_back(argument);
    }
  }
  request.isPreview = windowNamed;
  const std::string_view fromHost = xscreensaverWindow ? xscreensaverWindow : "";
  if (!windowNamed && !fromHost.empty())
    takeWindowId(request, fromHost);
  return request;
}

}  // namespace skyfare
