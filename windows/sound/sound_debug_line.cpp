#include "windows/sound/sound_debug_line.h"

#include <windows.h>

#include <string>

namespace skyfare {

void soundDebugLine(std::string_view line) {
  std::string text(line);
  text += '\n';
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  OutputDebugStringW(wide.c_str());
}

}  // namespace skyfare
