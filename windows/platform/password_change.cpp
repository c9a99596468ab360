#include "windows/platform/password_change.h"

#include <memory>
#include <type_traits>

#include "windows/platform/debug_line.h"
#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

// The password provider of screen savers.
constexpr char kSaverProvider[] = "SCRSAVE";

using PasswordChange = DWORD(WINAPI*)(LPCSTR provider, HWND parent, DWORD, DWORD);

struct LibraryFreer {
  void operator()(HMODULE library) const { FreeLibrary(library); }
};

}  // namespace

std::string callPasswordChange(const wchar_t* library, const char* function, HWND parent) {
  // Only the system folder: a library of that name beside the saver is not loaded.
  const std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer> module(
      LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  const std::string libraryName = utf8FromWide(library);
  if (!module)
    return "cannot change the saver password: " + libraryName + " is missing";
  const auto change = reinterpret_cast<PasswordChange>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), function)));
  if (!change)
    return "cannot change the saver password: " + libraryName + " has no " + function;
  change(kSaverProvider, parent, 0, 0);
  return {};
}

void changeSaverPassword(HWND parent) {
  if (const std::string problem = callPasswordChange(L"mpr.dll", "PwdChangePasswordA", parent);
      !problem.empty())
    debugLine(problem);
}

}  // namespace skyfare
