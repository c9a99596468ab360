// Opens one picture chooser as the configuration dialog would, in its own process, for the
// driver to find and drive. "logo" on the command line picks the logo chooser, anything else the
// background one. Exit code: whether a path was written, or that the current folder moved.
#include "windows/platform/win32_api.h"

#include <string_view>

#include "windows/chooser/folder_listing.h"
#include "windows/chooser/picture_chooser.h"
#include "windows/platform/registry_store.h"

namespace {
constexpr int kExitNothingWritten = 0;
constexpr int kExitWritten = 1;
constexpr int kExitCurrentFolderMoved = 3;
}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace skyfare;
  const bool logo = argc > 1 && std::wstring_view(argv[1]) == L"logo";
  const std::wstring before = processCurrentFolder();
  RegistryStore store;
  const bool written =
      runPictureChooser(GetModuleHandleW(nullptr), nullptr, store, logo ? GetLogo() : GetFile());
  if (processCurrentFolder() != before)
    return kExitCurrentFolderMoved;
  return written ? kExitWritten : kExitNothingWritten;
}
