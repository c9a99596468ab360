#pragma once

#include "windows/platform/win32_api.h"

#include <string>

namespace skyfare {

// The still picture inside the host's preview area: a child window of the host, black, with the
// scene's picture at its top left at its own size. It follows the host's size and ends the
// program within a quarter of a second of the host window's destruction. A handle that names no
// window ends the program at once. Returns the exit code.
int runPreview(HINSTANCE instance, HWND host, const std::wstring& pictureFile);

}  // namespace skyfare
