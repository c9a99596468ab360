#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/controls/sound_control.h"

namespace skyfare::testing {

// A sound component that records every call, and whether the jet sound would be heard.
class RecordingSound final : public SoundControl {
 public:
  std::vector<std::string> calls;
  bool playing = false;
  int plays = 0;
  int stopAlls = 0;
  int lastVolume = 1;
  SoundHandle loaded = 0;
  std::set<SoundHandle> held;  // loaded and not released yet

  void setVisible(bool v) override { calls.push_back(v ? "sound.visible" : "sound.hidden"); }
  SoundHandle LoadWave(const std::string& file) override {
    calls.push_back("LoadWave " + file);
    loaded = 7;
    held.insert(loaded);
    return loaded;
  }
  void PlaySound(SoundHandle h, int, int) override {
    calls.push_back("PlaySound " + std::to_string(h));
    playing = true;
    ++plays;
  }
  void SetVolume(SoundHandle h, int v) override {
    calls.push_back("SetVolume " + std::to_string(h) + " " + std::to_string(v));
    lastVolume = v;
  }
  void StopSound(SoundHandle h) override {
    calls.push_back("StopSound " + std::to_string(h));
    playing = false;
  }
  void ReleaseSound(SoundHandle h) override {
    calls.push_back("ReleaseSound " + std::to_string(h));
    if (h == loaded && h != 0)
      playing = false;
    held.erase(h);
  }
  void StopAll() override {
    calls.push_back("StopAll");
    playing = false;
    ++stopAlls;
  }
};

}  // namespace skyfare::testing
