#include "windows/platform/command_line.h"

#include <limits>

#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

bool isBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

}  // namespace

std::wstring_view argumentsOf(std::wstring_view commandLine) {
  std::size_t at = 0;
  while (at < commandLine.size() && isBlank(commandLine[at])) ++at;
  if (at < commandLine.size() && commandLine[at] == L'"') {
    // The program's name ends at the closing quote, or at the end when there is none.
    const std::size_t close = commandLine.find(L'"', at + 1);
    at = close == std::wstring_view::npos ? commandLine.size() : close + 1;
  }
  while (at < commandLine.size() && !isBlank(commandLine[at])) ++at;
  return commandLine.substr(at);
}

std::string processArguments() {
  const wchar_t* commandLine = GetCommandLineW();
  if (!commandLine)
    return {};
  return utf8FromWide(argumentsOf(commandLine));
}

HWND previewHostWindow(std::int64_t handleNumber) {
  if (handleNumber <= 0 || handleNumber > std::numeric_limits<std::uint32_t>::max())
    return nullptr;
  // Window handles carry 32 significant bits and are sign-extended on 64-bit Windows.
  const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(handleNumber));
  const auto window = reinterpret_cast<HWND>(static_cast<INT_PTR>(bits));
  return IsWindow(window) ? window : nullptr;
}

}  // namespace skyfare
