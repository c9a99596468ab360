#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/controls/drawing_control.h"

namespace skyfare::testing {

// A drawing component that records what the session asks of it: the sprites and where they
// stand, every call in order, and each frame's drawing as a list of draws.
class RecordingDrawing final : public DrawingControl {
 public:
  struct Sprite {
    std::string file;
    int transparentMode = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
  };
  struct Draw {
    std::string what;  // "fill", "sprite", "text"
    SpriteHandle sprite = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    SceneColour colour = 0;
    std::string text;
    std::string font;
    int fontSize = 0;
  };

  bool displayAvailable = true;
  std::vector<std::string> calls;
  std::map<SpriteHandle, Sprite> sprites;
  std::vector<Draw> frame;      // the frame being composed
  std::vector<Draw> lastFrame;  // the frame the last Flip showed
  int flips = 0;
  bool visible = true;
  DrawingEvents* sink = nullptr;

  void setEventSink(DrawingEvents* events) override { sink = events; }
  void setVisible(bool v) override {
    visible = v;
    calls.push_back(v ? "drawing.visible" : "drawing.hidden");
  }
  bool InitDisplay(int width, int height, int bits, std::string_view) override {
    calls.push_back("InitDisplay " + std::to_string(width) + "x" + std::to_string(height) + "x" +
                    std::to_string(bits));
    return displayAvailable;
  }
  SpriteHandle CreateSprite() override {
    const SpriteHandle handle = nextHandle_++;
    sprites[handle];
    calls.push_back("CreateSprite " + std::to_string(handle));
    return handle;
  }
  void LoadSpriteImage(SpriteHandle s, int, const std::string& file, int mode) override {
    sprites[s].file = file;
    sprites[s].transparentMode = mode;
    calls.push_back("LoadSpriteImage " + std::to_string(s) + " " + file);
  }
  void SetSpriteX(SpriteHandle s, std::int32_t x) override {
    sprites[s].x = x;
    calls.push_back("SetSpriteX " + std::to_string(s));
  }
  void SetSpriteY(SpriteHandle s, std::int32_t y) override {
    sprites[s].y = y;
    calls.push_back("SetSpriteY " + std::to_string(s));
  }
  void MoveSpriteX(SpriteHandle s, std::int32_t d) override { sprites[s].x += d; }
  void MoveSpriteY(SpriteHandle s, std::int32_t d) override { sprites[s].y += d; }
  std::int32_t GetSpriteX(SpriteHandle s) override { return sprites[s].x; }
  void FillScreen(SceneColour colour) override {
    Draw draw;
    draw.what = "fill";
    draw.colour = colour;
    frame.push_back(draw);
  }
  void DrawSprite(SpriteHandle s) override {
    Draw draw;
    draw.what = "sprite";
    draw.sprite = s;
    draw.x = sprites[s].x;
    draw.y = sprites[s].y;
    frame.push_back(draw);
  }
  void SetFont(const std::string& name, int size, int, bool, bool, bool) override {
    font_ = name;
    fontSize_ = size;
  }
  void DrawText(const std::string& text, std::int32_t x, std::int32_t y,
                SceneColour colour) override {
    frame.push_back({"text", 0, x, y, colour, text, font_, fontSize_});
  }
  void Flip() override {
    lastFrame = std::move(frame);
    frame.clear();
    ++flips;
  }

  const Sprite& sprite(SpriteHandle s) const { return sprites.at(s); }
  // The last frame's draw of a sprite, or null when it was not drawn.
  const Draw* drawOf(SpriteHandle s) const {
    for (const Draw& d : lastFrame) {
      if (d.what == "sprite" && d.sprite == s)
        return &d;
    }
    return nullptr;
  }

 private:
  SpriteHandle nextHandle_ = 1;
  std::string font_;
  int fontSize_ = 0;
};

}  // namespace skyfare::testing
