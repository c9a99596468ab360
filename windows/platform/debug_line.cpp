#include "windows/platform/debug_line.h"

#include "windows/platform/win32_api.h"

#include "windows/platform/wide_text.h"

namespace skyfare {

void debugLine(std::string_view utf8Line) {
  const std::wstring line = L"skyfare: " + wideFromUtf8(utf8Line) + L"\n";
  OutputDebugStringW(line.c_str());
}

}  // namespace skyfare
