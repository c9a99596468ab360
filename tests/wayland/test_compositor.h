#pragma once

#include <QColor>
#include <QImage>
#include <QRegion>
#include <QSize>
#include <QtGlobal>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

struct wl_display;
struct wl_client;

namespace skyfare::testing {

// A small compositor on a thread of its own, speaking the real protocol to one client over a
// socket pair: surfaces, subsurfaces, shared-memory buffers, outputs, one seat, and (when
// offered) layer surfaces, each configured to its output's size, and viewports that show part
// of a buffer. It keeps the buffer shown last
// until the next is committed, as real compositors do, and sends frame callbacks only when told
// to. Subsurfaces change with their parent's commit, and each commit of a layer surface composes
// the picture it shows: its buffer with its subsurfaces blended over it, bottom to top.
class TestCompositor {
 public:
  // Of a layer surface.
  struct Commit {
    int surface;  // in the order the layer surfaces were made, from 0
    bool newBuffer;
    QSize bufferSize;
    int scale;
    QRegion damage;  // in buffer pixels
    QRgb centre;     // the pixel in the middle of the picture shown
    int subsurfacesShown;
    int subsurfacePixels;  // the compositor redraws these where the subsurfaces move
  };
  struct State {
    int layerSurfacesAlive = 0;
    int layerSurfacesMade = 0;
    std::vector<std::uint32_t> layers;  // of each layer surface made
    std::vector<std::uint32_t> keyboardModes;
    std::vector<Commit> commits;
    std::vector<QImage> pictures;  // what each layer surface shows, in buffer pixels
    int framesAsked = 0;           // frame callbacks not yet answered
    int cursorsHidden = 0;
  };

  explicit TestCompositor(bool offerLayerShell, bool offerViewporter = false);
  ~TestCompositor();
  TestCompositor(const TestCompositor&) = delete;
  TestCompositor& operator=(const TestCompositor&) = delete;

  // The client's end of the socket, for WAYLAND_SOCKET; taken by the first connection.
  int clientSocket() const { return clientSocket_; }

  // Each runs on the compositor's thread and returns once done.
  void addOutput(QSize pixels, int scale);
  void removeOutput(int index);
  void rescaleOutput(int index, int scale);
  void sendFrames();
  void pointerEnters(int surface, double x, double y);
  void pointerMoves(double x, double y);
  void pressKey();
  void disconnect();

  State state() const;

  struct Server;

 private:
  void run(std::function<void(Server&)> command) const;

  std::unique_ptr<Server> server_;
  int clientSocket_ = -1;
  std::thread thread_;
};

}  // namespace skyfare::testing
