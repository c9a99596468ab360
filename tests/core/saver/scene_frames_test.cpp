// A display session over the generated data folder, drawn by the offscreen drawing component:
// real pictures, real frames, pixels at chosen places.
#include <gtest/gtest.h>

#include <QImage>

#include "core/saver/fixed_seed_random.h"
#include "core/saver/form1.h"
#include "core/saver/frame_drawing.h"
#include "core/settings/setting_keys.h"
#include "drawing/offscreen_drawing_control.h"
#include "tests/support/manual_host.h"
#include "tests/support/memory_store.h"
#include "tests/support/recording_sound.h"

namespace skyfare {
namespace {

const std::string kDataFolder = SKYFARE_DATA_DIR "/";

// One session drawn offscreen, 60 frames a second on a hand-driven clock.
struct OffscreenSession {
  OffscreenDrawingControl drawing;
  testing::RecordingSound sound;
  testing::MemoryStore store;
  testing::ManualHost host;
  FixedSeedRandom random;
  std::unique_ptr<Form1> form;

  explicit OffscreenSession(std::initializer_list<std::pair<std::string, std::string>> overrides) {
    SetRegistry(store, kDataFolder);
    for (const auto& [key, value] : overrides) store.values[key] = value;
    form = std::make_unique<Form1>(SessionParts{drawing, sound, store, host, random, kDataFolder});
    form->Load();
  }
  const QImage& frames(int count) {
    for (int i = 0; i < count; ++i) {
      host.advanceMs(i % 3 == 0 ? 16 : 17);
      drawing.raiseFrame();
    }
    return drawing.lastFrame();
  }
};

QRgb rgb(int r, int g, int b) {
  return qRgb(r, g, b);
}

TEST(SceneFrames, EveryAircraftHasItsPictureTransparentAtTheCornersAndOpaqueInTheMiddle) {
  OffscreenSession s({{"Startup/BackGround", "1"}});
  std::vector<std::pair<SpriteHandle, std::string>> aircraft = {
      {s.form->scene().jetSprite, "FastJet.bmp"}};
  for (int k = 1; k <= kAirlinerCount; ++k) {
    aircraft.emplace_back(s.form->scene().airliner(k), std::string(kAirliners[k - 1].bitmapFile));
  }
  for (const auto& [sprite, file] : aircraft) {
    const QImage picture(QString::fromStdString(kDataFolder + file));
    ASSERT_FALSE(picture.isNull()) << file;
    s.drawing.FillScreen(kBlack);
    s.drawing.SetSpriteX(sprite, 10);
    s.drawing.SetSpriteY(sprite, 10);
    s.drawing.DrawSprite(sprite);
    s.drawing.Flip();
    const QImage& frame = s.drawing.lastFrame();
    const int w = picture.width();
    const int h = picture.height();
    for (const QPoint corner :
         {QPoint(10, 10), QPoint(9 + w, 10), QPoint(10, 9 + h), QPoint(9 + w, 9 + h)}) {
      EXPECT_EQ(frame.pixel(corner), rgb(0, 0, 0)) << file << " corner " << corner.x();
    }
    int opaque = 0;
    for (int y = 10; y < 10 + h; ++y) {
      for (int x = 10; x < 10 + w; ++x) opaque += frame.pixel(x, y) != rgb(0, 0, 0);
    }
    EXPECT_GT(opaque, w * h / 6) << file << " draws too little";
    EXPECT_LT(opaque, w * h * 9 / 10) << file << " is not cut out";
  }
}

TEST(SceneFrames, BackgroundsComeOutInTheirColours) {
  const QImage city(QString::fromStdString(kDataFolder + "city lights.bmp"));
  for (const auto& [setting, expected] : {std::pair<const char*, QRgb>{"1", rgb(0, 0, 0)},
                                          {"2", rgb(0, 226, 251)},
                                          {"3", city.pixel(790, 590)}}) {
    OffscreenSession s({{"Startup/BackGround", setting}, {"Startup/Clock", "0"}});
    const QImage& frame = s.frames(1);
    EXPECT_EQ(frame.pixel(790, 590), expected) << setting;
    EXPECT_EQ(frame.pixel(400, 5), setting[0] == '3' ? city.pixel(400, 5) : expected);
  }
}

TEST(SceneFrames, TheLogoSitsAtOneTwentyAndTheMessageAboveY590) {
  const QImage logo(QString::fromStdString(kDataFolder + "SF-Logo.bmp"));
  ASSERT_FALSE(logo.isNull());
  OffscreenSession s({{"Startup/BackGround", "1"},
                      {"Startup/LogoChecked", "1"},
                      {"Startup/MessageChecked", "1"},
                      {"Startup/Message", "WWWWWWWW"},
                      {"Startup/Clock", "0"}});
  const QImage& frame = s.frames(1);
  EXPECT_EQ(frame.pixel(1, 20), logo.pixel(0, 0));
  EXPECT_EQ(frame.pixel(1 + logo.width() - 1, 20 + logo.height() - 1),
            logo.pixel(logo.width() - 1, logo.height() - 1));
  EXPECT_EQ(frame.pixel(0, 20), rgb(0, 0, 0));
  int cyanTop = 600;
  int cyanBottom = 0;
  for (int y = 540; y < 600; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (frame.pixel(x, y) == rgb(0, 255, 255)) {
        cyanTop = std::min(cyanTop, y);
        cyanBottom = std::max(cyanBottom, y);
      }
    }
  }
  EXPECT_GE(cyanTop, 570);
  EXPECT_LE(cyanTop, 576) << "the text's top edge is near Y 570";
  EXPECT_LE(cyanBottom, 590);
}

TEST(SceneFrames, TheClockIsYellowAtTheTopLeftAndAircraftAreWhereTheSessionPutThem) {
  OffscreenSession s({{"Startup/BackGround", "1"}});
  const QImage& frame = s.frames(1);
  int yellow = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 120; ++x) yellow += frame.pixel(x, y) == rgb(255, 255, 0);
  }
  EXPECT_GT(yellow, 20) << "the clock draws in yellow";
  // Airliner 1 has flown 120 pixels in two seconds, from (-321, 180) drifting down: its nose
  // is on screen at the left, and nothing else is drawn there.
  const QImage& later = s.frames(120);
  int lit = 0;
  int litElsewhere = 0;
  for (int row = 24; row < 600; ++row) {
    for (int x = 0; x < 300; ++x) {
      const bool isLit = later.pixel(x, row) != rgb(0, 0, 0);
      (x < 121 && row >= 180 && row < 180 + 60 + 130 ? lit : litElsewhere) += isLit;
    }
  }
  EXPECT_GT(lit, 500) << "airliner 1 enters from the left";
  EXPECT_EQ(litElsewhere, 0);
}

}  // namespace
}  // namespace skyfare
