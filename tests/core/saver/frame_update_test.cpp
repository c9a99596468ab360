#include "core/saver/frame_drawing.h"

#include <gtest/gtest.h>

#include "tests/support/session_fixture.h"

namespace skyfare {
namespace {

using testing::SessionFixture;

TEST(FrameUpdate, TheBackgroundFollowsTheSetting) {
  struct Row {
    const char* background;
    const char* first;
    SceneColour colour;
  };
  for (const Row& row :
       {Row{"1", "fill", kBlack}, Row{"2", "fill", kSkyBlue}, Row{"0", "fill", kBlack},
        Row{"4", "fill", kBlack}, Row{"x", "fill", kBlack}, Row{"3", "sprite", 0}}) {
    SessionFixture s;
    s.load({{"Startup/BackGround", row.background}});
    s.frame();
    ASSERT_FALSE(s.drawing.lastFrame.empty());
    const auto& first = s.drawing.lastFrame.front();
    EXPECT_EQ(first.what, row.first) << row.background;
    if (first.what == "fill") {
      EXPECT_EQ(first.colour, row.colour) << row.background;
    }
    if (first.what == "sprite") {
      EXPECT_EQ(first.sprite, s.form->scene().backgroundSprite);
    }
  }
}

TEST(FrameUpdate, ComposesBackToFrontAndFlipsOnce) {
  SessionFixture s;
  s.load({{"Startup/MessageChecked", "1"}, {"Startup/LogoChecked", "1"}});
  s.host.timeOfDay = 15 * 3600 + 45 * 60 + 12;
  s.form->tmrPlaneTick();
  s.frame();
  std::vector<std::string> order;
  for (const auto& draw : s.drawing.lastFrame) {
    if (draw.what == "text") {
      order.push_back(draw.colour == kMessageCyan ? "message" : "clock");
    } else if (draw.sprite == s.form->scene().backgroundSprite) {
      order.push_back("background");
    } else if (draw.sprite == s.form->scene().logoSprite) {
      order.push_back("logo");
    } else if (draw.sprite == s.form->scene().jetSprite) {
      order.push_back("jet");
    } else {
      order.push_back("airliner");
    }
  }
  EXPECT_EQ(order, (std::vector<std::string>{"background", "message", "logo", "jet", "airliner",
                                             "clock"}));
  EXPECT_EQ(s.drawing.flips, 1);
  const auto& message = s.drawing.lastFrame[1];
  EXPECT_EQ(message.text, "Place a Message Here");
  EXPECT_EQ(message.x, 5);
  EXPECT_EQ(message.y, 570);
  EXPECT_EQ(message.font, "Arial");
  EXPECT_EQ(message.fontSize, 20);
  const auto& clock = s.drawing.lastFrame.back();
  EXPECT_EQ(clock.text, "15:45:12");
  EXPECT_EQ(clock.colour, kClockYellow);
  EXPECT_EQ(clock.x, 0);
  EXPECT_EQ(clock.y, 0);
  EXPECT_EQ(clock.font, "Arial");
}

TEST(FrameUpdate, MessageTextSwitchAndFontFollowTheStoreEveryFrame) {
  SessionFixture s;
  s.load();
  s.frame();
  auto texts = [&] {
    std::vector<std::string> t;
    for (const auto& d : s.drawing.lastFrame) {
      if (d.what == "text" && d.colour == kMessageCyan)
        t.push_back(d.font + ":" + d.text);
    }
    return t;
  };
  EXPECT_TRUE(texts().empty());
  s.store.values["Startup/MessageChecked"] = "1";
  s.store.values["Startup/Message"] = "Gone fishing";
  s.store.values["Startup/FontName"] = "DejaVu Serif";
  s.store.values["Startup/FontSize"] = "40";  // only the next session sees a new size
  s.frame();
  EXPECT_EQ(texts(), std::vector<std::string>{"DejaVu Serif:Gone fishing"});
  EXPECT_EQ(s.drawing.lastFrame[1].fontSize, 20);
  s.store.values.erase("Startup/Message");
  s.frame();
  EXPECT_EQ(texts(), std::vector<std::string>{"DejaVu Serif:1"}) << "a missing key reads as 1";
}

TEST(FrameUpdate, FontSizesThatCannotBeDrawnFallBackToTwenty) {
  struct Row {
    const char* fontSize;
    const char* fontClock;
    int messageSize;
    int clockSize;
  };
  for (const Row& row : {Row{"8", "12", 8, 12}, Row{"0", "0", 20, 20}, Row{"-5", "-5", 20, 20},
                         Row{"abc", "abc", 20, 20}, Row{"301", "9999", 20, 20},
                         Row{"2.5", "2.5", 2, 2}, Row{"", "", 20, 20}}) {
    SessionFixture s;
    s.load({{"Startup/MessageChecked", "1"},
            {"Startup/FontSize", row.fontSize},
            {"Startup/FontClock", row.fontClock}});
    s.frame();
    const auto& message = s.drawing.lastFrame[1];
    const auto& clock = s.drawing.lastFrame.back();
    EXPECT_EQ(message.fontSize, row.messageSize) << row.fontSize;
    EXPECT_EQ(message.y, 590 - row.messageSize) << row.fontSize;
    EXPECT_EQ(clock.fontSize, row.clockSize) << row.fontClock;
  }
}

TEST(FrameUpdate, EachFrameReadsThreeSettingsAndNothingElse) {
  SessionFixture s;
  s.load();
  s.store.log.clear();
  s.frame();
  EXPECT_EQ(s.store.log,
            (std::vector<std::string>{"get Startup/Message", "get Startup/MessageChecked",
                                      "get Startup/FontName"}));
}

}  // namespace
}  // namespace skyfare
