#include "windows/chooser/folder_listing.h"

#include "windows/platform/win32_api.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows/chooser/path_rules.h"

namespace skyfare {
namespace {

// A folder of its own under the temporary folder, removed with everything in it.
class FolderListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = joinFolderAndName(temp, L"skyfare-listing-" + std::to_wstring(GetCurrentProcessId()));
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    for (const wchar_t* name :
         {L"sky.bmp", L"SEA.BMP", L"notes.txt", L"hidden.bmp", L"system.bmp", L"sky.bmpx"})
      make(name);
    SetFileAttributesW(path(L"hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(path(L"system.bmp").c_str(), FILE_ATTRIBUTE_SYSTEM);
    for (const wchar_t* name : {L"pics", L"Albums", L"secret", L"folder.bmp"})
      ASSERT_TRUE(CreateDirectoryW(path(name).c_str(), nullptr));
    SetFileAttributesW(path(L"secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
  }

  void TearDown() override { removeTree(folder_); }

  std::wstring path(const wchar_t* name) const { return joinFolderAndName(folder_, name); }

  void make(const wchar_t* name) const {
    const HANDLE file = CreateFileW(path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }

  static void removeTree(const std::wstring& folder) {
    for (const std::wstring& name : subfolders(folder)) removeTree(joinFolderAndName(folder, name));
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(joinFolderAndName(folder, L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring entryPath = joinFolderAndName(folder, entry.cFileName);
        SetFileAttributesW(entryPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
          if (entry.cFileName[0] != L'.')
            removeTree(entryPath);
        } else {
          DeleteFileW(entryPath.c_str());
        }
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::wstring folder_;
};

TEST_F(FolderListingTest, FilesAreTheOrdinaryOnesMatchingIgnoringCaseSortedIgnoringCase) {
  EXPECT_EQ(matchingFiles(folder_, L"*.BMP"), (std::vector<std::wstring>{L"SEA.BMP", L"sky.bmp"}));
  EXPECT_EQ(matchingFiles(folder_, L"*.*"),
            (std::vector<std::wstring>{L"notes.txt", L"SEA.BMP", L"sky.bmp", L"sky.bmpx"}));
  EXPECT_TRUE(matchingFiles(folder_, L"*.GIF").empty());
}

TEST_F(FolderListingTest, SubfoldersLeaveHiddenOnesOut) {
  EXPECT_EQ(subfolders(folder_), (std::vector<std::wstring>{L"Albums", L"folder.bmp", L"pics"}));
}

TEST_F(FolderListingTest, OnlyFoldersThatExistCanBeEntered) {
  EXPECT_TRUE(canEnter(folder_));
  EXPECT_TRUE(canEnter(path(L"pics")));
  EXPECT_FALSE(canEnter(path(L"sky.bmp")));
  EXPECT_FALSE(canEnter(path(L"gone")));
  EXPECT_TRUE(matchingFiles(path(L"gone"), L"*.*").empty());
}

TEST_F(FolderListingTest, ListingLeavesTheCurrentFolderAlone) {
  const std::wstring before = processCurrentFolder();
  matchingFiles(folder_, L"*.BMP");
  subfolders(path(L"pics"));
  canEnter(path(L"Albums"));
  EXPECT_EQ(processCurrentFolder(), before);
}

TEST_F(FolderListingTest, TheCurrentDriveOpensAtTheCurrentFolder) {
  const std::wstring current = processCurrentFolder();
  const std::optional<wchar_t> letter = driveLetterOf(current);
  ASSERT_TRUE(letter.has_value());
  EXPECT_EQ(currentFolderOfDrive(*letter), current);
  const std::vector<wchar_t> letters = driveLetters();
  EXPECT_NE(std::find(letters.begin(), letters.end(), L'C'), letters.end());
}

}  // namespace
}  // namespace skyfare
