#include "saver/form1.h"

#include <cmath>

#include "saver/scene_loading.h"
#include "settings/setting_keys.h"

namespace skyfare {

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
  readLoadStepSettings(parts_.store, settings_);
  if (settings_.SoundOff != kNeverStopSound)
    jetSound_.SoundOff(settings_.SoundOff);
  parts_.host.showCursor(false);
  parts_.drawing.setEventSink(this);
  displayOpen_ = OpenDirectDrawSession(parts_.drawing, parts_.store, parts_.host, parts_.dataFolder,
                                       settings_, scene_);
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
  ++jetWaitSeconds_;
  if (jetWaitSeconds_ > settings_.SecDelay)
    jetWaitSeconds_ = 0;
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
