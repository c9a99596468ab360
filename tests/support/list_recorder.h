#pragma once

#include "drawing/display_list_control.h"

namespace skyfare::testing {

// Keeps each flipped frame's list instead of showing it.
class ListRecorder final : public DisplayListControl {
 public:
  void setEventSink(DrawingEvents*) override {}
  void setVisible(bool) override {}
  bool InitDisplay(int, int, int, std::string_view) override { return true; }
  void Flip() override {
    presentComposedFrame();
    flipped = presented();
  }

  DisplayList flipped;
};

}  // namespace skyfare::testing
