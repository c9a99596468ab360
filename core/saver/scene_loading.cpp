#include "core/saver/scene_loading.h"

#include "core/controls/drawing_control.h"
#include "core/saver/host_services.h"
#include "core/settings/conversions.h"
#include "core/settings/setting_keys.h"
#include "core/settings/setting_values.h"

namespace skyfare {
namespace {

inline constexpr int kDisplayBitsPerPixel = 16;
inline constexpr int kLogoX = 1;
inline constexpr int kLogoY = 20;
inline constexpr int kPictureFrame = 1;

SpriteHandle placeSprite(DrawingControl& drawing, const std::string& file, int transparentMode,
                         int x, int y) {
  const SpriteHandle sprite = drawing.CreateSprite();
  drawing.LoadSpriteImage(sprite, kPictureFrame, file, transparentMode);
  drawing.SetSpriteX(sprite, x);
  drawing.SetSpriteY(sprite, y);
  return sprite;
}

}  // namespace

OpenedScene OpenDirectDrawSession(DrawingControl& drawing, SettingsStore& store, HostServices& host,
                                  const std::string& installFolder) {
  OpenedScene opened;
  Scene& scene = opened.scene;
  scene.installFolder = installFolder;
  if (!drawing.InitDisplay(kSceneWidth, kSceneHeight, kDisplayBitsPerPixel, "")) {
    host.messageBox(kDisplayErrorText, kDisplayErrorTitle);
    return opened;
  }
  opened.displayOpen = true;

  opened.BackGround = leadingNumber(readSetting(store, Key::BackGround));
  if (opened.BackGround == kBackgroundPicture) {
    scene.backgroundSprite =
        placeSprite(drawing, readSetting(store, Key::BMPFileName), kOpaque, 0, 0);
  }
  opened.LogoChecked = leadingNumber(readSetting(store, Key::LogoChecked));
  if (opened.LogoChecked == 1) {
    scene.logoSprite =
        placeSprite(drawing, readSetting(store, Key::LogoFileName), kOpaque, kLogoX, kLogoY);
  }
  scene.jetSprite = placeSprite(drawing, installFolder + std::string(kFastJet.bitmapFile),
                                kTransparentBackground, kFastJet.startX, kFastJet.startY);
  for (int k = 0; k < kAirlinerCount; ++k) {
    const AirlinerRow& row = kAirliners[k];
    scene.planeSprite[k] = placeSprite(drawing, installFolder + std::string(row.bitmapFile),
                                       kTransparentBackground, row.startX, row.startY);
  }
  return opened;
}

}  // namespace skyfare
