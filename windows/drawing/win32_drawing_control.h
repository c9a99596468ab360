#pragma once

#include <wincodec.h>
#include "windows/platform/win32_api.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/controls/drawing_control.h"
#include "raster/frame_ops.h"
#include "windows/drawing/frame_ticker.h"
#include "windows/drawing/gdi_text.h"
#include "windows/drawing/monitor_window.h"
#include "windows/drawing/presentation_statistics.h"
#include "windows/drawing/sprite_table.h"
#include "windows/drawing/win_handles.h"

namespace skyfare {

// The drawing component on Windows. InitDisplay opens a borderless topmost window over every
// monitor, the scene scaled on each with its aspect kept and black bars. Each frame is recorded
// between Flips; a Flip composes and copies only what changed. Its message loop raises
// FrameUpdate 60 times a second from a monotonic clock, never twice for one deadline, and
// delivers KeyDown, MouseDown and MouseMove (real pointer movement only) after the window
// procedure has returned, so a sink may end the session from them.
class Win32DrawingControl final : public DrawingControl {
 public:
  explicit Win32DrawingControl(FrameTicker::Clock clock = performanceCounterNs);
  ~Win32DrawingControl() override;
  Win32DrawingControl(const Win32DrawingControl&) = delete;
  Win32DrawingControl& operator=(const Win32DrawingControl&) = delete;

  // Pictures loaded later from this folder (the program's data folder) are drawn from their
  // denser PNGs on monitors that show the scene enlarged.
  void setDensePictureFolder(const std::string& folder) { sprites_.setDensePictureFolder(folder); }

  void setEventSink(DrawingEvents* sink) override { sink_ = sink; }
  // The component has no window beside the ones that show the scene, so there is nothing to show.
  void setVisible(bool) override {}
  // The scene is always 800 × 600; false when no window could be made.
  bool InitDisplay(int width, int height, int bitsPerPixel, std::string_view options) override;
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
  void Flip() override;

  // Dispatches messages, raising frames and input events, until WM_QUIT; returns its exit code.
  // The timer resolution is 1 ms while it runs.
  int runMessageLoop();
  // While the loop runs, it calls `signalled` whenever the event is set, before the next frame;
  // it waits on the event together with the messages, so watching costs no call of its own.
  void watch(HANDLE event, std::function<void()> signalled);

  const PresentationStatistics& statistics() const { return statistics_; }
  std::size_t windowCount() const { return windows_.size(); }
  const MonitorWindow& monitorWindow(std::size_t index) const { return *windows_[index]; }

 private:
  using Event = void (DrawingEvents::*)();

  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT handle(HWND window, UINT message, WPARAM w, LPARAM l);
  void raiseLater(Event event);
  void deliverInput();
  // Waits for a message, the watched event or the time; the event's call is made here. True when
  // the time ran out with the queue empty.
  bool wait(DWORD waitMs);

  // COM is initialised for this thread for as long as the control lives, when it was not yet.
  struct ComApartment {
    ComApartment();
    ~ComApartment();
    bool initialised = false;
  };

  ComApartment apartment_;
  ComPtr<IWICImagingFactory> factory_;
  std::wstring windowClass_;
  bool classRegistered_ = false;
  DrawingEvents* sink_ = nullptr;
  bool displayOpen_ = false;
  SpriteTable sprites_;
  GdiText text_;
  std::optional<raster::FontChoice> font_;  // none while the size draws nothing
  raster::FrameOps frame_;
  raster::FrameOps presented_;
  std::vector<std::unique_ptr<MonitorWindow>> windows_;
  FrameTicker ticker_;
  std::optional<POINT> lastPointer_;
  std::vector<Event> pendingInput_;
  HANDLE watched_ = nullptr;
  std::function<void()> watchedSignalled_;
  bool waitedSinceFrame_ = false;  // the watched event was looked at since the last frame
  PresentationStatistics statistics_;
};

// The message loop of the control: dispatches until WM_QUIT, raising frames and input events.
int runMessageLoop(Win32DrawingControl& control);

}  // namespace skyfare
