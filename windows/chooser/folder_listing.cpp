#include "windows/chooser/folder_listing.h"

#include "windows/platform/win32_api.h"

#include <algorithm>
#include <memory>
#include <type_traits>

#include "windows/chooser/path_rules.h"

namespace skyfare {

namespace {

constexpr DWORD kHiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

struct FindCloser {
  void operator()(HANDLE search) const { FindClose(search); }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

// The system's prompt for a missing medium would block the chooser; a thread of its own keeps
// the change from reaching the rest of the process, and it is undone on the way out.
class NoCriticalErrorPrompt {
 public:
  NoCriticalErrorPrompt() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
  ~NoCriticalErrorPrompt() { SetThreadErrorMode(previous_, nullptr); }
  NoCriticalErrorPrompt(const NoCriticalErrorPrompt&) = delete;
  NoCriticalErrorPrompt& operator=(const NoCriticalErrorPrompt&) = delete;

 private:
  DWORD previous_ = 0;
};

bool isDotEntry(const wchar_t* name) {
  return std::wstring_view(name) == L"." || std::wstring_view(name) == L"..";
}

// Calls take(entry) for every entry of the folder but "." and "..".
template <typename Take>
void forEachEntry(const std::wstring& folder, Take take) {
  const NoCriticalErrorPrompt noPrompt;
  WIN32_FIND_DATAW entry{};
  const FindHandle search(FindFirstFileExW(joinFolderAndName(folder, L"*").c_str(), FindExInfoBasic,
                                           &entry, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
  if (search.get() == INVALID_HANDLE_VALUE)
    return;
  do {
    if (!isDotEntry(entry.cFileName))
      take(entry);
  } while (FindNextFileW(search.get(), &entry));
}

void sortIgnoringCase(std::vector<std::wstring>& names) {
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
  });
}

}  // namespace

std::vector<std::wstring> matchingFiles(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<std::wstring> names;
  forEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
    if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kHiddenOrSystem)) == 0 &&
        matchesPattern(entry.cFileName, pattern))
      names.emplace_back(entry.cFileName);
  });
  sortIgnoringCase(names);
  return names;
}

std::vector<std::wstring> subfolders(const std::wstring& folder) {
  std::vector<std::wstring> names;
  forEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        (entry.dwFileAttributes & kHiddenOrSystem) == 0)
      names.emplace_back(entry.cFileName);
  });
  sortIgnoringCase(names);
  return names;
}

bool canEnter(const std::wstring& folder) {
  const NoCriticalErrorPrompt noPrompt;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return false;
  WIN32_FIND_DATAW entry{};
  const FindHandle search(FindFirstFileExW(joinFolderAndName(folder, L"*").c_str(), FindExInfoBasic,
                                           &entry, FindExSearchNameMatch, nullptr, 0));
  // An empty root has no entry at all, not even ".".
  return search.get() != INVALID_HANDLE_VALUE || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::wstring currentFolderOfDrive(wchar_t letter) {
  const wchar_t drive[] = {letter, L':', L'\0'};
  // "X:" alone names the drive's current folder; the answer is text only, no medium is touched.
  wchar_t path[MAX_PATH];
  const DWORD length = GetFullPathNameW(drive, MAX_PATH, path, nullptr);
  if (length == 0 || length >= MAX_PATH)
    return rootOf(drive);
  return withoutFinalSeparator(path);
}

std::vector<wchar_t> driveLetters() {
  std::vector<wchar_t> letters;
  const DWORD present = GetLogicalDrives();
  for (int drive = 0; drive < 26; ++drive) {
    if ((present & (DWORD{1} << drive)) != 0)
      letters.push_back(static_cast<wchar_t>(L'A' + drive));
  }
  return letters;
}

std::wstring processCurrentFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0)
    return {};
  std::wstring folder(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, folder.data());
  folder.resize(length < needed ? length : 0);
  return withoutFinalSeparator(folder);
}

}  // namespace skyfare
