#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skyfare {

// The path rules of the picture chooser, apart from any window or file system call.

// The folder and the name with exactly one "\" between them, so a drive's root gives "C:\sky.bmp".
std::wstring joinFolderAndName(std::wstring_view folder, std::wstring_view name);

// Whether a file name matches a pattern of "*" (any run) and "?" (any one character), ignoring
// letter case as the file system does. "*.*" matches every name, with or without an extension.
// Only the long name counts: "sky.bmpx" does not match "*.BMP" even where its short name would.
bool matchesPattern(std::wstring_view name, std::wstring_view pattern);

// The path that OK stores: the folder joined to the name when the name box holds exactly the
// selected file's name, otherwise the typed text as it stands. Nothing for an empty name box.
std::optional<std::wstring> chosenPath(std::wstring_view folder, std::wstring_view typedName,
                                       std::wstring_view selectedName);

// The root of an absolute folder: "C:\" for a drive, "\\server\share\" for a network share.
std::wstring rootOf(std::wstring_view folder);

// The folders from the root down to the given absolute folder, the folder itself last.
std::vector<std::wstring> ancestorsOf(std::wstring_view folder);

// The last part of a folder's path as a list shows it: the root as it stands, "C:\".
std::wstring folderName(std::wstring_view folder);

// The folder without a final "\", unless the folder is a root: "C:\Pics\" gives "C:\Pics".
std::wstring withoutFinalSeparator(std::wstring_view folder);

// The drive letter of a folder on a drive, in capitals; nothing for a share or a relative path.
std::optional<wchar_t> driveLetterOf(std::wstring_view folder);

}  // namespace skyfare
