#include "raster/scene_fit.h"

#include <gtest/gtest.h>

#include "raster/density_choice.h"

namespace skyfare {
namespace {

TEST(SceneFitTest, KeepsTheAspectCentredWithBars) {
  struct Row {
    int width, height;
    PixelRect content;
    std::size_t bars;
  };
  for (const Row& row :
       {Row{1920, 1080, {240, 0, 1440, 1080}, 2}, Row{800, 600, {0, 0, 800, 600}, 0},
        Row{1280, 1024, {0, 32, 1280, 960}, 2}, Row{3840, 2160, {480, 0, 2880, 2160}, 2},
        Row{1366, 768, {171, 0, 1024, 768}, 2}, Row{800, 1000, {0, 200, 800, 600}, 2}}) {
    const SceneFit fit(row.width, row.height);
    EXPECT_EQ(fit.content(), row.content) << row.width << " x " << row.height;
    EXPECT_EQ(fit.bars().size(), row.bars) << row.width << " x " << row.height;
    int barPixels = 0;
    for (const PixelRect& bar : fit.bars()) {
      EXPECT_FALSE(bar.intersects(fit.content()));
      barPixels += bar.width * bar.height;
    }
    EXPECT_EQ(barPixels + row.content.width * row.content.height, row.width * row.height);
  }
}

TEST(SceneFitTest, AnEmptyTargetShowsNothing) {
  const SceneFit fit(0, 600);
  EXPECT_EQ(fit.scale(), 0.0);
  EXPECT_TRUE(fit.content().isEmpty());
  EXPECT_TRUE(fit.toTarget(PixelRect{0, 0, 10, 10}).isEmpty());
}

TEST(SceneFitTest, ASceneRectangleMapsOutwardWithinTheContent) {
  const SceneFit fit(1920, 1080);  // scale 1.8
  // 10 × 1.8 = 18 and 21 × 1.8 = 37.8, each one pixel further out, then moved past the bar.
  EXPECT_EQ(fit.toTarget(PixelRect{10, 10, 11, 11}), (PixelRect{240 + 17, 17, 22, 22}));
  EXPECT_EQ(fit.toTarget(PixelRect{0, 0, 800, 600}), fit.content());
  EXPECT_EQ(fit.toTargetX(805), 240 + 1449);
}

TEST(DensityChoiceTest, TakesTheSmallestDensityAtLeastTheScale) {
  EXPECT_EQ(densityForScale(1.0), 0);
  EXPECT_EQ(densityForScale(1.8), 2);
  EXPECT_EQ(densityForScale(2.0), 2);
  EXPECT_EQ(densityForScale(2.4), 3);
  EXPECT_EQ(densityForScale(3.6), 4);
  EXPECT_EQ(densityForScale(6.0), 4);
}

}  // namespace
}  // namespace skyfare
