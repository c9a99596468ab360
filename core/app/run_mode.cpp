#include "core/app/run_mode.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <string>

#include "core/settings/conversions.h"

namespace skyfare {
namespace {

std::string trimmedLowerCase(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && isBlank(text[first])) ++first;
  while (last > first && isBlank(text[last - 1])) --last;
  std::string result(text.substr(first, last - first));
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

// The longest tail of the command text that is a number, rounded; 0 when there is none or it
// does not fit a window handle.
std::int64_t hostWindowFrom(const std::string& commandText) {
  const std::size_t start = longestNumericTailStart(commandText);
  if (start == commandText.size())
    return 0;
  const double value = std::nearbyint(leadingNumber(std::string_view(commandText).substr(start)));
  if (value < 0 || value > std::numeric_limits<std::uint32_t>::max())
    return 0;
  return static_cast<std::int64_t>(value);
}

}  // namespace

StartRequest parseCommandLine(std::string_view commandLine) {
  const std::string commandText = trimmedLowerCase(commandLine);
  const std::string_view switchText = std::string_view(commandText).substr(0, 2);

  StartRequest request;
  if (commandText.empty()) {
    request.mode = RunMode::ShowSaver;
  } else if (switchText == "/s") {
    request.mode = RunMode::ShowSaver;
    request.isShowSwitch = true;
  } else if (switchText == "/p") {
    request.mode = RunMode::ShowPreview;
    request.hostWindow = hostWindowFrom(commandText);
  } else if (switchText == "/c") {
    request.mode = RunMode::Configure;
  } else if (switchText == "/a") {
    request.mode = RunMode::ChangePassword;
  }
  return request;
}

bool endsEarly(const StartRequest& request, bool settingsWindowFound, bool anotherInstanceRuns) {
  return request.isShowSwitch && !settingsWindowFound && anotherInstanceRuns;
}

}  // namespace skyfare
