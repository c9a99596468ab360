#include "core/saver/frame_update.h"

#include "core/saver/form1.h"
#include "core/settings/conversions.h"
#include "core/settings/setting_keys.h"
#include "core/settings/setting_values.h"

namespace skyfare {
namespace {
inline constexpr int kFontCharset = 1;
}

// The frame, back to front: background, message, logo, fast jet, airliners 1 to 15, clock.
void Form1::ComposeFrame() {
  DrawingControl& drawing = parts_.drawing;

  if (settings_.BackGround == kBackgroundSkyBlue) {
    drawing.FillScreen(kSkyBlue);
  } else if (settings_.BackGround == kBackgroundPicture) {
    drawing.DrawSprite(scene_.backgroundSprite);
    drawing.SetSpriteX(scene_.backgroundSprite, 0);
    drawing.SetSpriteY(scene_.backgroundSprite, 0);
  } else {
    drawing.FillScreen(kBlack);
  }

  // These three follow the configuration dialog while the saver runs.
  settings_.Message = readSetting(parts_.store, Key::Message);
  settings_.MessageChecked = leadingNumber(readSetting(parts_.store, Key::MessageChecked));
  settings_.FontName = readSetting(parts_.store, Key::FontName);

  if (settings_.MessageChecked == 1) {
    const int size = messageFontSize(settings_.FontSize);
    drawing.SetFont(settings_.FontName, size, kFontCharset, false, false, false);
    drawing.DrawText(settings_.Message, kMessageX, kMessageBaseY - size, kMessageCyan);
  }
  if (settings_.LogoChecked == 1)
    drawing.DrawSprite(scene_.logoSprite);

  FlightContext flight{drawing, scene_, settings_, parts_.host, parts_.random};
  JetSession jetSession{parts_.sound, jetSound_.jetSoundHandle(), jetSound_.fastJetEnabled(),
                        jetSound_.soundStopped(), jetWaitSeconds_};
  StepJet(flight, jet_, jetSession);
  for (int airliner = 1; airliner <= kAirlinerCount; ++airliner) {
    StepPlane(flight, planes_, airliner);
  }

  if (settings_.Clock == 1) {
    drawing.SetFont(kClockFontName, clockFontSize(settings_.FontClock), kFontCharset, false, false,
                    false);
    drawing.DrawText(parts_.host.timeOfDayText(clockTime_), 0, 0, kClockYellow);
  }
  drawing.Flip();
}

}  // namespace skyfare
