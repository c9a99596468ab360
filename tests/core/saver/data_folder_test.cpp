#include "core/saver/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace skyfare {
namespace {

namespace fs = std::filesystem;

// An installation prefix in a temporary folder, with or without the pictures.
class Prefixes : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("skyfare-data-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string prefixWithPictures(const std::string& name) {
    const fs::path data = root_ / name / "share" / "skyfare";
    fs::create_directories(data);
    for (const char* picture : {"city lights.bmp", "SF-Logo.bmp"})
      std::ofstream(data / picture) << "BM";
    return data.string() + "/";
  }
  std::string folder(const std::string& path) {
    fs::create_directories(root_ / path);
    return (root_ / path).string();
  }

  fs::path root_;
};

TEST_F(Prefixes, FindsTheDataBesideBinAndLibexecOfItsOwnPrefix) {
  const std::string data = prefixWithPictures("usr");
  const std::string builtFor = prefixWithPictures("built-for");
  EXPECT_EQ(findDataFolder(dataFolderCandidates(folder("usr/bin"), builtFor)), data);
  EXPECT_EQ(findDataFolder(dataFolderCandidates(folder("usr/libexec/skyfare"), builtFor)), data);
  EXPECT_EQ(findDataFolder(dataFolderCandidates(folder("usr/libexec/xscreensaver"), builtFor)),
            data);
}

TEST_F(Prefixes, ACopyElsewhereUsesThePrefixItWasBuiltFor) {
  const std::string builtFor = prefixWithPictures("built-for");
  EXPECT_EQ(findDataFolder(dataFolderCandidates(folder("opt/savers/bin"), builtFor)), builtFor);
}

TEST_F(Prefixes, AFolderWithoutThePicturesIsNeverTaken) {
  folder("usr/share/skyfare");  // there, but empty
  const std::string elsewhere = folder("nowhere") + "/";
  const auto candidates = dataFolderCandidates(folder("usr/bin"), elsewhere);
  EXPECT_EQ(findDataFolder(candidates), std::nullopt);
  EXPECT_EQ(candidates.front(), (root_ / "usr" / "share" / "skyfare").string() + "/");
}

}  // namespace
}  // namespace skyfare
