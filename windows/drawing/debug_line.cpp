#include "windows/drawing/debug_line.h"

#include <windows.h>

namespace skyfare {

void debugLine(std::string_view utf8Text) {
  const std::wstring line = L"skyfare: " + widened(utf8Text) + L"\n";
  OutputDebugStringW(line.c_str());
}

std::wstring widened(std::string_view utf8) {
  if (utf8.empty())
    return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string narrowed(std::wstring_view wide) {
  if (wide.empty())
    return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(std::max(length, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace skyfare
