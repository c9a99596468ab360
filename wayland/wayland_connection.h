#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "wayland/wayland_output.h"

struct wl_compositor;
struct wl_display;
struct wl_registry;
struct wl_shm;
struct wl_subcompositor;
struct wp_viewporter;
struct zwlr_layer_shell_v1;

namespace skyfare {

// Told of the outputs and seats of a connection as they come and go.
class WaylandGlobalsObserver {
 public:
  virtual ~WaylandGlobalsObserver() = default;
  virtual void outputAdded(WaylandOutput& output) = 0;
  // Runs before the output is destroyed.
  virtual void outputRemoved(WaylandOutput& output) = 0;
  // A seat the observer binds itself, so that none of its events is missed.
  virtual void seatAdded(std::uint32_t globalName, std::uint32_t version) = 0;
  virtual void seatRemoved(std::uint32_t globalName) = 0;
};

// Our own connection to a compositor that offers layer surfaces, its globals and its outputs.
// Its events are read from Qt's event loop once the pump is started; requests are sent before
// the loop sleeps.
class WaylandConnection {
 public:
  // Empty when no compositor can be reached (WAYLAND_SOCKET, WAYLAND_DISPLAY) or it lacks
  // layer surfaces, surfaces, subsurfaces or shared memory. Asks nothing of Qt, so it may run
  // before the application object exists.
  static std::unique_ptr<WaylandConnection> open();
  ~WaylandConnection();
  WaylandConnection(const WaylandConnection&) = delete;
  WaylandConnection& operator=(const WaylandConnection&) = delete;

  wl_compositor* compositor() const { return compositor_; }
  std::uint32_t compositorVersion() const { return compositorVersion_; }
  wl_registry* registry() const { return registry_; }
  wl_shm* shm() const { return shm_; }
  wl_subcompositor* subcompositor() const { return subcompositor_; }
  // Null when the compositor cannot show part of a buffer.
  wp_viewporter* viewporter() const { return viewporter_; }
  zwlr_layer_shell_v1* layerShell() const { return layerShell_; }

  // The observer hears at once of every output and seat known so far. Null stops the reports,
  // the outputs' among them.
  void setObserver(WaylandGlobalsObserver* observer);
  // Reads and dispatches events from the event loop from now on; lost runs once, from the event
  // loop, when the compositor closes the connection or ends it with a protocol error.
  void startEventPump(std::function<void()> lost);
  // Sends what was asked so far; a full socket is left to the next flush.
  void flush();

 private:
  struct DisplayCloser {
    void operator()(wl_display* display) const;
  };
  struct SeatGlobal {
    std::uint32_t name;
    std::uint32_t version;
  };

  WaylandConnection(wl_display* display);
  static void globalEvent(void* data, wl_registry* registry, std::uint32_t name,
                          const char* interface, std::uint32_t version);
  static void globalRemoveEvent(void* data, wl_registry* registry, std::uint32_t name);
  void readEvents();
  void dispatchQueued();
  void loseConnection();

  std::unique_ptr<wl_display, DisplayCloser> display_;
  wl_registry* registry_ = nullptr;
  wl_compositor* compositor_ = nullptr;
  std::uint32_t compositorVersion_ = 0;
  wl_shm* shm_ = nullptr;
  wl_subcompositor* subcompositor_ = nullptr;
  wp_viewporter* viewporter_ = nullptr;
  zwlr_layer_shell_v1* layerShell_ = nullptr;
  std::uint32_t layerShellVersion_ = 0;
  std::vector<std::unique_ptr<WaylandOutput>> outputs_;
  std::vector<SeatGlobal> seats_;
  WaylandGlobalsObserver* observer_ = nullptr;
  std::unique_ptr<QSocketNotifier> notifier_;
  QObject context_;
  std::function<void()> lost_;
};

}  // namespace skyfare
