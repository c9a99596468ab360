#include "core/saver/form1.h"

#include <cmath>

#include "core/saver/frame_drawing.h"
#include "core/saver/scene_loading.h"
#include "core/settings/conversions.h"
#include "core/settings/setting_keys.h"
#include "core/settings/setting_values.h"

namespace skyfare {
namespace {
inline constexpr int kFontCharset = 1;
}

Form1::Form1(SessionParts parts)
    : parts_(std::move(parts)), planes_(startingPlaneStates()), jetSound_(parts_.sound) {}

Form1::~Form1() {
  parts_.drawing.setEventSink(nullptr);
}

void Form1::Load() {
  if (parts_.dataFolderFound)
    initialiseOnFirstRun(parts_.store, parts_.dataFolder);
  planes_ = startingPlaneStates();
  parts_.drawing.setVisible(false);
  parts_.sound.setVisible(false);
  settings_ = readLoadStepSettings(parts_.store);
  if (settings_.SoundOff != kNeverStopSound)
    jetSound_.SoundOff(settings_.SoundOff);
  parts_.host.showCursor(false);
  parts_.drawing.setEventSink(this);
  OpenedScene opened =
      OpenDirectDrawSession(parts_.drawing, parts_.store, parts_.host, parts_.dataFolder);
  displayOpen_ = opened.displayOpen;
  scene_ = std::move(opened.scene);
  settings_.BackGround = opened.BackGround;
  settings_.LogoChecked = opened.LogoChecked;
  jetSound_.OpenDirectSoundSession(scene_.installFolder, readSetting(parts_.store, Key::Prop));
  // Without a display no input can reach the session, so nobody could end it: end it here.
  if (!displayOpen_)
    CloseDown(kExitDisplayUnavailable);
}

void Form1::Unload() {
  if (unloaded_)
    return;
  unloaded_ = true;
  parts_.drawing.setEventSink(nullptr);
  parts_.sound.ReleaseSound(jetSound_.jetSoundHandle());
  parts_.sound.StopAll();
  parts_.host.showCursor(true);
}

void Form1::CloseDown(int exitCode) {
  if (ended_)
    return;
  ended_ = true;
  parts_.host.setScreenSaverRunning(false);
  Unload();
  parts_.host.endProcess(exitCode);
}

void Form1::tmrPlaneTick() {
  if (ended_)
    return;
  clockTime_ = static_cast<int>(std::floor(parts_.host.secondsSinceMidnight()));
}

void Form1::tmrPauseTick() {
  if (ended_)
    return;
  countPauseSecond(jet_, settings_.SecDelay);
}

void Form1::tmrSoundTick() {
  if (ended_)
    return;
  jetSound_.tick(settings_.SoundOff);
}

void Form1::FrameUpdate() {
  if (ended_)
    return;
  ComposeFrame();
}

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
  const JetSession jetSession{parts_.sound, jetSound_.jetSoundHandle(), jetSound_.fastJetEnabled(),
                              jetSound_.soundStopped()};
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

void Form1::endOnInput() {
  parts_.sound.StopAll();
  parts_.sound.ReleaseSound(jetSound_.jetSoundHandle());
  CloseDown();
}

void Form1::MouseMove() {
  if (ended_)
    return;
  if (mouseRule_.movement(settings_.MouseSens, parts_.host.secondsSinceMidnight()))
    endOnInput();
}

void Form1::MouseDown() {
  if (!ended_)
    endOnInput();
}

void Form1::KeyDown() {
  if (!ended_)
    endOnInput();
}

}  // namespace skyfare
