#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace skyfare {

using SpriteHandle = std::int32_t;

// A colour as the scene stores it: red + 256 × green + 65536 × blue.
using SceneColour = std::uint32_t;

inline constexpr int kSceneWidth = 800;
inline constexpr int kSceneHeight = 600;
// The largest font the scene draws, in pixels.
inline constexpr int kLargestFontSizePx = 300;

// TransparentMode values of LoadSpriteImage.
inline constexpr int kTransparentBackground = -1;  // alpha channel, else the top-left colour
inline constexpr int kOpaque = -2;

// What the drawing component tells its user. Arguments of the input events carry nothing the
// program reads, so they are left out.
class DrawingEvents {
 public:
  virtual ~DrawingEvents() = default;
  virtual void FrameUpdate() = 0;
  virtual void MouseMove() = 0;
  virtual void MouseDown() = 0;
  virtual void KeyDown() = 0;
};

// The sprite-and-surface drawing component of the display session. Positions are pixels of
// the 800 × 600 scene, origin top left; a sprite's position is its top-left corner and may lie
// off the scene. Each frame is composed back to front between two Flip calls.
class DrawingControl {
 public:
  virtual ~DrawingControl() = default;

  // Events go to this sink from the moment InitDisplay succeeds; null stops them.
  virtual void setEventSink(DrawingEvents* sink) = 0;
  // The component's own window, beside the full-screen display; the program keeps it hidden.
  virtual void setVisible(bool visible) = 0;

  // True once the full-screen display is open; FrameUpdate is raised from then on.
  virtual bool InitDisplay(int width, int height, int bitsPerPixel, std::string_view options) = 0;
  virtual SpriteHandle CreateSprite() = 0;
  // The sprite takes the picture and its size. A missing or unreadable file leaves the sprite
  // empty, so it draws nothing.
  virtual void LoadSpriteImage(SpriteHandle sprite, int frame, const std::string& fileName,
                               int transparentMode) = 0;
  virtual void SetSpriteX(SpriteHandle sprite, std::int32_t x) = 0;
  virtual void SetSpriteY(SpriteHandle sprite, std::int32_t y) = 0;
  virtual void MoveSpriteX(SpriteHandle sprite, std::int32_t delta) = 0;
  virtual void MoveSpriteY(SpriteHandle sprite, std::int32_t delta) = 0;
  virtual std::int32_t GetSpriteX(SpriteHandle sprite) = 0;
  virtual void FillScreen(SceneColour colour) = 0;
  virtual void DrawSprite(SpriteHandle sprite) = 0;
  // The family by name as the platform resolves it; size is the font's pixel height, cut to
  // kLargestFontSizePx.
  virtual void SetFont(const std::string& fontName, int size, int charset, bool bold, bool italic,
                       bool underline) = 0;
  // Draws with the text's top-left corner at (x, y), no background box.
  virtual void DrawText(const std::string& text, std::int32_t x, std::int32_t y,
                        SceneColour colour) = 0;
  // Shows the composed frame.
  virtual void Flip() = 0;
};

}  // namespace skyfare
