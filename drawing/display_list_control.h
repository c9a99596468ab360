#pragma once

#include <QFont>
#include <QRegion>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/controls/drawing_control.h"
#include "drawing/display_list.h"
#include "drawing/scaled_pictures.h"
#include "drawing/sprite_store.h"
#include "drawing/text_measure.h"

namespace skyfare {

// The drawing operations of a drawing component that records each frame as a display list.
// Sprite places are read when DrawSprite is called; what a Flip does with the list is left to
// the component. Every picture loaded is handed to the component's store of scaled pictures,
// which prepares it for the renderers that use the store. Operations on a handle that names no
// sprite do nothing.
class DisplayListControl : public DrawingControl {
 public:
  // Pictures loaded later from this folder (the program's data folder) are drawn from their
  // denser files on screens that show the scene enlarged.
  void setDensePictureFolder(const std::string& folder) { sprites_.setDensePictureFolder(folder); }

  SpriteHandle CreateSprite() override;
  void LoadSpriteImage(SpriteHandle sprite, int frame, const std::string& fileName,
                       int transparentMode) override;
  void SetSpriteX(SpriteHandle sprite, std::int32_t x) override;
  void SetSpriteY(SpriteHandle sprite, std::int32_t y) override;
  void MoveSpriteX(SpriteHandle sprite, std::int32_t delta) override;
  void MoveSpriteY(SpriteHandle sprite, std::int32_t delta) override;
  std::int32_t GetSpriteX(SpriteHandle sprite) override;
  void FillScreen(SceneColour colour) override;
  void DrawSprite(SpriteHandle sprite) override;
  // Sizes below one pixel draw nothing; larger ones than kLargestFontSizePx are cut to it.
  void SetFont(const std::string& fontName, int size, int charset, bool bold, bool italic,
               bool underline) override;
  void DrawText(const std::string& text, std::int32_t x, std::int32_t y,
                SceneColour colour) override;

 protected:
  // Makes the frame composed since the last call the presented one, and starts an empty one.
  // Returns the scene region in which it differs from the frame presented before.
  QRegion presentComposedFrame();
  // The frame presented last; the reference stays valid for the component's life.
  const DisplayList& presented() const { return presented_; }
  // For the component's renderers.
  const std::shared_ptr<ScaledPictures>& scaledPictures() const { return scaledPictures_; }
  // Lets go of the unpacked copies of scaled pictures that the presented frame does not draw,
  // when it draws other pictures than the frame before it did: most frames draw the same ones.
  void letGoOfPicturesNoLongerDrawn(const DisplayList& presented);

 private:
  SpriteStore sprites_;
  std::shared_ptr<ScaledPictures> scaledPictures_ = std::make_shared<ScaledPictures>();
  std::optional<QFont> font_;  // none while the size draws nothing
  TextMeasure textMeasure_;
  DisplayList frame_;
  DisplayList presented_;
  // The pictures (sprite, version) the presented frame draws, and the frame before it.
  std::vector<std::pair<SpriteHandle, std::uint64_t>> drawnNow_;
  std::vector<std::pair<SpriteHandle, std::uint64_t>> drawnBefore_;
};

}  // namespace skyfare
