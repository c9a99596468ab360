#pragma once

#include <string>

#include "core/controls/drawing_control.h"
#include "core/controls/sound_control.h"
#include "core/saver/airliner_relay.h"
#include "core/saver/fast_jet.h"
#include "core/saver/host_services.h"
#include "core/saver/mouse_rule.h"
#include "core/saver/saver_settings.h"
#include "core/saver/scene.h"
#include "core/settings/settings_store.h"
#include "core/sound/jet_sound.h"

namespace skyfare {

// Exit code of a session whose display could not be opened.
inline constexpr int kExitDisplayUnavailable = 1;

// What a display session talks to. The session owns none of them.
struct SessionParts {
  DrawingControl& drawing;
  SoundControl& sound;
  SettingsStore& store;
  HostServices& host;
  RandomSource& random;
  std::string dataFolder;  // with its trailing "/"
  // False when no folder with the program's pictures was found; the first run then leaves the
  // store as it is, so that no setting names pictures that are not there.
  bool dataFolderFound = true;
};

// The saver window: one display session from its load to the end of the process. Everything
// the session knows lives here; two sessions side by side do not disturb each other. After
// CloseDown nothing of the session runs any more: later events and ticks are ignored.
class Form1 final : public DrawingEvents {
 public:
  explicit Form1(SessionParts parts);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // The load step: first-run defaults, settings, cursor, display and scene, jet sound. A display
  // that cannot be opened ends the session after its message.
  void Load();
  // The unload step, run by CloseDown or by any other close of the window; runs once.
  void Unload();
  // Ends the session and the process.
  void CloseDown(int exitCode = 0);

  // The three one-second timers.
  void tmrPlaneTick();
  void tmrPauseTick();
  void tmrSoundTick();

  void FrameUpdate() override;
  void MouseMove() override;
  void MouseDown() override;
  void KeyDown() override;

  bool ended() const { return ended_; }
  const SaverSettings& settings() const { return settings_; }
  const Scene& scene() const { return scene_; }
  const PlaneStates& planes() const { return planes_; }
  const JetState& jet() const { return jet_; }
  const JetSound& jetSound() const { return jetSound_; }
  int clockTime() const { return clockTime_; }

 private:
  // The frame, back to front: background, message, logo, fast jet, airliners 1 to 15, clock.
  void ComposeFrame();
  void endOnInput();

  SessionParts parts_;
  SaverSettings settings_;
  Scene scene_;
  PlaneStates planes_;
  JetState jet_;
  JetSound jetSound_;
  MouseRule mouseRule_;
  int clockTime_ = 0;  // seconds since midnight, as the last tmrPlane tick saw it
  bool displayOpen_ = false;
  bool unloaded_ = false;
  bool ended_ = false;
};

}  // namespace skyfare
