#pragma once

#include <memory>
#include <string>

#include "core/saver/fixed_seed_random.h"
#include "core/saver/form1.h"
#include "core/settings/setting_keys.h"
#include "tests/support/manual_host.h"
#include "tests/support/memory_store.h"
#include "tests/support/recording_drawing.h"
#include "tests/support/recording_sound.h"

namespace skyfare::testing {

inline constexpr const char* kTestDataFolder = "/data/skyfare/";

// A whole display session over recording fakes, driven at 60 frames a second by hand: each
// frame advances the clock by 1000/60 ms and ticks the one-second timers when a second passes.
class SessionFixture {
 public:
  RecordingDrawing drawing;
  RecordingSound sound;
  MemoryStore store;
  ManualHost host;
  FixedSeedRandom random;
  std::unique_ptr<Form1> form;

  // Loads a session on the first-run defaults, with the given keys ("Startup/Speed") changed.
  void load(std::initializer_list<std::pair<std::string, std::string>> overrides = {}) {
    SetRegistry(store, kTestDataFolder);
    for (const auto& [key, value] : overrides) store.values[key] = value;
    form =
        std::make_unique<Form1>(SessionParts{drawing, sound, store, host, random, kTestDataFolder});
    form->Load();
  }

  void frame() {
    frameMicros_ += kFrameMicros;
    const auto ms = static_cast<std::uint32_t>(frameMicros_ / 1000);
    frameMicros_ %= 1000;
    host.advanceMs(ms);
    sinceSecondMs_ += ms;
    while (sinceSecondMs_ >= 1000) {
      sinceSecondMs_ -= 1000;
      form->tmrPlaneTick();
      form->tmrPauseTick();
      form->tmrSoundTick();
    }
    form->FrameUpdate();
  }
  void frames(long count) {
    for (long i = 0; i < count; ++i) frame();
  }

  SpriteHandle airliner(int number) const { return form->scene().airliner(number); }
  const RecordingDrawing::Sprite& airlinerSprite(int number) const {
    return drawing.sprite(airliner(number));
  }

 private:
  static constexpr long kFrameMicros = 1000000 / 60;
  long frameMicros_ = 0;
  std::uint32_t sinceSecondMs_ = 0;
};

}  // namespace skyfare::testing
