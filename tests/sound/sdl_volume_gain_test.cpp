#include "sound/sdl_volume_gain.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

struct GainRow {
  int volume;
  float gain;
};

class GainForVolumeTest : public ::testing::TestWithParam<GainRow> {};

TEST_P(GainForVolumeTest, FollowsDecibelsAndClampsToTheRange) {
  EXPECT_NEAR(gainForVolume(GetParam().volume), GetParam().gain, 1e-6F);
}

INSTANTIATE_TEST_SUITE_P(Rows, GainForVolumeTest,
                         ::testing::Values(GainRow{0, 1.0F}, GainRow{-600, 0.501187F},
                                           GainRow{-2000, 0.1F}, GainRow{-2500, 0.0562341F},
                                           GainRow{-9000, 0.0562341F}, GainRow{300, 1.0F}));

}  // namespace
}  // namespace skyfare
