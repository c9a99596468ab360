#include "core/saver/scene_loading.h"

#include <gtest/gtest.h>

#include "core/saver/aircraft_table.h"
#include "core/saver/movement.h"
#include "tests/support/session_fixture.h"

namespace skyfare {
namespace {

using testing::SessionFixture;

TEST(SceneLoading, SpritesDependOnBackgroundAndLogo) {
  struct Row {
    const char* background;
    const char* logo;
    std::size_t sprites;
  };
  for (const Row& row : {Row{"1", "0", 16}, Row{"2", "0", 16}, Row{"0", "0", 16}, Row{"3", "0", 17},
                         Row{"3.0", "0", 17}, Row{"abc", "1", 17}, Row{"3", "1", 18}}) {
    SessionFixture s;
    s.load({{"Startup/BackGround", row.background}, {"Startup/LogoChecked", row.logo}});
    EXPECT_EQ(s.drawing.sprites.size(), row.sprites) << row.background << "/" << row.logo;
  }
}

TEST(SceneLoading, EachSpriteIsCreatedLoadedAndPlacedBeforeTheNext) {
  SessionFixture s;
  s.load({{"Startup/LogoChecked", "1"}, {"Startup/BMPFileName", "/pics/sky.bmp"}});
  const Scene& scene = s.form->scene();
  EXPECT_EQ(scene.installFolder, testing::kTestDataFolder);
  EXPECT_EQ(s.drawing.sprite(scene.backgroundSprite).file, "/pics/sky.bmp");
  EXPECT_EQ(s.drawing.sprite(scene.backgroundSprite).transparentMode, kOpaque);
  EXPECT_EQ(s.drawing.sprite(scene.logoSprite).file, "/data/skyfare/SF-Logo.bmp");
  EXPECT_EQ(s.drawing.sprite(scene.logoSprite).x, 1);
  EXPECT_EQ(s.drawing.sprite(scene.logoSprite).y, 20);
  EXPECT_EQ(s.drawing.sprite(scene.jetSprite).file, "/data/skyfare/FastJet.bmp");
  EXPECT_EQ(s.drawing.sprite(scene.jetSprite).x, 805);
  EXPECT_EQ(s.drawing.sprite(scene.jetSprite).y, 275);
  EXPECT_EQ(s.drawing.sprite(scene.airliner(2)).file, "/data/skyfare/jet03.bmp");
  EXPECT_EQ(s.drawing.sprite(scene.airliner(3)).file, "/data/skyfare/jet02.bmp");
  EXPECT_EQ(s.drawing.sprite(scene.airliner(15)).file, "/data/skyfare/mjet15.bmp");
  EXPECT_EQ(s.drawing.sprite(scene.airliner(15)).transparentMode, kTransparentBackground);
  EXPECT_EQ(s.drawing.sprite(scene.airliner(9)).x, -366);
  EXPECT_EQ(s.drawing.sprite(scene.airliner(9)).y, 290);

  // Create, load, place x, place y — sprite after sprite.
  std::vector<std::string> calls(s.drawing.calls.begin() + 2, s.drawing.calls.end());
  ASSERT_EQ(calls.size(), 18u * 4);
  for (std::size_t i = 0; i < 18; ++i) {
    const std::string handle = std::to_string(i + 1);
    EXPECT_EQ(calls[4 * i], "CreateSprite " + handle);
    EXPECT_EQ(calls[4 * i + 1].rfind("LoadSpriteImage " + handle + " ", 0), 0u);
    EXPECT_EQ(calls[4 * i + 2], "SetSpriteX " + handle);
    EXPECT_EQ(calls[4 * i + 3], "SetSpriteY " + handle);
  }
}

TEST(Movement, StepsFollowTheTable) {
  SessionFixture s;
  s.load();
  const Scene& scene = s.form->scene();
  MovePlane(s.drawing, scene.airliner(1), kAirliners[0].steps);
  EXPECT_EQ(s.airlinerSprite(1).x, -320);
  EXPECT_EQ(s.airlinerSprite(1).y, 180);
  MovePlaneb(s.drawing, scene.airliner(2), kAirliners[1].steps);
  EXPECT_EQ(s.airlinerSprite(2).x, 804);
  EXPECT_EQ(s.airlinerSprite(2).y, 199);
  MovePlaneb(s.drawing, scene.jetSprite, kFastJet.steps);
  EXPECT_EQ(s.drawing.sprite(scene.jetSprite).x, 803);
  EXPECT_EQ(s.drawing.sprite(scene.jetSprite).y, 276);
  MovePlane(s.drawing, scene.jetSprite, kFastJet.steps);
  EXPECT_EQ(s.drawing.sprite(scene.jetSprite).x, 801);
  EXPECT_EQ(s.drawing.sprite(scene.jetSprite).y, 276);
  for (int k = 1; k <= kAirlinerCount; ++k) {
    const bool startsLeft = kAirliners[k - 1].startX < 0;
    EXPECT_EQ(kAirliners[k - 1].fliesRight(), startsLeft) << "airliner " << k;
  }
}

}  // namespace
}  // namespace skyfare
