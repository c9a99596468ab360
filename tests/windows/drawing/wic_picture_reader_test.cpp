#include "windows/drawing/wic_picture_reader.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <filesystem>

#include "core/controls/drawing_control.h"
#include "raster/picture_keying.h"
#include "tests/windows/drawing/picture_files.h"

namespace skyfare {
namespace {

using testing::TempFolder;
using testing::WicFactory;

std::size_t peakCommittedBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakPagefileUsage;
}

class WicPictureReaderTest : public ::testing::Test {
 protected:
  PictureFile read(const std::string& path, int maxWidth = 800, int maxHeight = 600) {
    return readPictureFile(*factory_, std::filesystem::path(path).wstring(), maxWidth, maxHeight);
  }

  WicFactory factory_;
  TempFolder folder_;
};

TEST_F(WicPictureReaderTest, ReadsABmpWithItsColoursInPlace) {
  const std::string path = folder_.file("two.bmp");
  testing::writeBytes(path, testing::bmpBytes(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456}));
  const PictureFile file = read(path);
  ASSERT_EQ(file.problem, "");
  ASSERT_EQ(file.straight.width, 2);
  EXPECT_EQ(file.straight.pixels,
            (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF123456}));
}

TEST_F(WicPictureReaderTest, APngKeepsItsAlphaForTheTransparentMode) {
  const std::string path = folder_.file("alpha.png");
  ASSERT_TRUE(testing::writePng(*factory_, path, 2, 1, {0x00000000, 0x80FF0000}));
  const BgraPicture keyed = keyedForMode(read(path).straight, kTransparentBackground);
  EXPECT_FALSE(keyed.opaque);
  EXPECT_EQ(keyed.pixels, (std::vector<std::uint32_t>{0x00000000, 0x80800000}));
}

TEST_F(WicPictureReaderTest, OnlyTheTopLeftPartAsLargeAsTheSceneIsRead) {
  const std::string path = folder_.file("wide.bmp");
  std::vector<std::uint32_t> pixels(1000 * 700, 0x0000FF);
  pixels[0] = 0xFF0000;
  testing::writeBytes(path, testing::bmpBytes(1000, 700, pixels));
  const PictureFile file = read(path);
  EXPECT_EQ(file.straight.width, 800);
  EXPECT_EQ(file.straight.height, 600);
  EXPECT_EQ(file.straight.at(0, 0), 0xFFFF0000u);
}

TEST_F(WicPictureReaderTest, HostileFilesGiveNoPictureAndNoLargeAllocation) {
  const std::size_t peakBefore = peakCommittedBytes();
  const std::vector<std::uint32_t> tiny(4, 0xFFFFFF);
  struct Row {
    const char* name;
    std::vector<unsigned char> bytes;
  };
  std::vector<unsigned char> truncated =
      testing::bmpBytes(100, 100, std::vector<std::uint32_t>(100 * 100));
  truncated.resize(200);
  std::vector<unsigned char> hugePng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0,
                                        13,   'I', 'H', 'D', 'R',  0,    0,    0x80, 0, 0, 0,
                                        0x80, 0,   8,   6,   0,    0,    0,    0,    0, 0, 0};
  for (const Row& row :
       {Row{"huge.bmp", testing::bmpBytes(2, 2, tiny, 60000, 60000)}, Row{"huge.png", hugePng},
        Row{"zero.bmp", testing::bmpBytes(2, 2, tiny, 0, 0)}, Row{"truncated.bmp", truncated},
        Row{"empty.bmp", {}}, Row{"text.bmp", {'h', 'e', 'l', 'l', 'o'}}}) {
    const std::string path = folder_.file(row.name);
    testing::writeBytes(path, row.bytes);
    const PictureFile file = read(path);
    EXPECT_TRUE(file.straight.isNull()) << row.name;
    EXPECT_NE(file.problem, "") << row.name;
  }
  EXPECT_LT(peakCommittedBytes() - peakBefore, std::size_t{64} << 20);
}

TEST_F(WicPictureReaderTest, WhatIsNoFileSaysSo) {
  EXPECT_EQ(read(folder_.file("missing.bmp")).problem, "no such file");
  EXPECT_NE(read(folder_.folder()).problem, "");
  EXPECT_TRUE(read(folder_.folder()).straight.isNull());
}

}  // namespace
}  // namespace skyfare
