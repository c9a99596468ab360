#pragma once

#include <string>
#include <vector>

namespace skyfare {

// What the chooser's lists show of the file system, read without changing the process's
// current folder.

// The ordinary files of a folder (neither folders nor hidden nor system files) whose names match
// the pattern (see matchesPattern), sorted without regard to letter case.
std::vector<std::wstring> matchingFiles(const std::wstring& folder, const std::wstring& pattern);

// The subfolders of a folder that are neither hidden nor system folders, sorted the same way.
std::vector<std::wstring> subfolders(const std::wstring& folder);

// Whether the folder exists and its contents can be listed. A drive without a medium answers
// false at once instead of asking the user to insert one.
bool canEnter(const std::wstring& folder);

// The folder a drive would open at: the host's current folder for that drive, or its root.
std::wstring currentFolderOfDrive(wchar_t letter);

// The host's drive letters, in capitals and in order.
std::vector<wchar_t> driveLetters();

// The full path of the process's current folder, without a final "\" unless it is a root.
std::wstring processCurrentFolder();

}  // namespace skyfare
