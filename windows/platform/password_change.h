#pragma once

#include "windows/platform/win32_api.h"

#include <string>

namespace skyfare {

// Opens the system's dialog for changing the saver password, owned by the given window. The
// service is looked up in the system folder's mpr.dll when it is needed; when it is not there,
// one debug line says so and nothing else happens.
void changeSaverPassword(HWND parent);

// The same through the named library and function: returns why it could not be called, empty
// when it was.
std::string callPasswordChange(const wchar_t* library, const char* function, HWND parent);

}  // namespace skyfare
