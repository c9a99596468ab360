#pragma once

#include "windows/platform/win32_api.h"

#include <string>

namespace skyfare::testing {

// This test program started again with the given role and arguments; its exit code, or
// STILL_ACTIVE when it did not end in time (it is then ended).
DWORD runSelf(const std::wstring& arguments, DWORD timeoutMs = 20000);

// This test program started again and left running; the process handle is the caller's.
HANDLE startSelf(const std::wstring& arguments);

// A role of the helper process, or -1 when the command line names none.
int runChildRole(int argc, wchar_t** argv);

}  // namespace skyfare::testing
