#include "wayland/wayland_connection.h"

#include <wayland-client.h>

#include <QAbstractEventDispatcher>
#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "layer_shell_client.h"
#include "viewporter_client.h"

namespace skyfare {
namespace {

// Version 4 damages in buffer pixels, which is what the renderer counts in.
constexpr std::uint32_t kCompositorVersion = 4;
constexpr std::uint32_t kLayerShellVersion = 4;

}  // namespace

void WaylandConnection::DisplayCloser::operator()(wl_display* display) const {
  wl_display_disconnect(display);
}

std::unique_ptr<WaylandConnection> WaylandConnection::open() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr)
    return nullptr;
  std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display));
  // The first round trip brings the globals, the second what the outputs tell of themselves.
  if (wl_display_roundtrip(display) < 0 || wl_display_roundtrip(display) < 0)
    return nullptr;
  if (connection->compositor_ == nullptr || connection->shm_ == nullptr ||
      connection->subcompositor_ == nullptr || connection->layerShell_ == nullptr)
    return nullptr;
  return connection;
}

WaylandConnection::WaylandConnection(wl_display* display) : display_(display) {
  registry_ = wl_display_get_registry(display);
  static const wl_registry_listener listener{
      .global = &WaylandConnection::globalEvent,
      .global_remove = &WaylandConnection::globalRemoveEvent};
  wl_registry_add_listener(registry_, &listener, this);
}

WaylandConnection::~WaylandConnection() {
  notifier_.reset();
  outputs_.clear();
  if (layerShell_ != nullptr) {
    if (layerShellVersion_ >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION)
      zwlr_layer_shell_v1_destroy(layerShell_);
    else
      wl_proxy_destroy(reinterpret_cast<wl_proxy*>(layerShell_));
  }
  if (viewporter_ != nullptr)
    wp_viewporter_destroy(viewporter_);
  if (subcompositor_ != nullptr)
    wl_subcompositor_destroy(subcompositor_);
  if (shm_ != nullptr)
    wl_shm_destroy(shm_);
  if (compositor_ != nullptr)
    wl_compositor_destroy(compositor_);
  wl_registry_destroy(registry_);
  wl_display_flush(display_.get());
}

void WaylandConnection::setObserver(WaylandGlobalsObserver* observer) {
  observer_ = observer;
  if (observer_ == nullptr) {
    for (const auto& output : outputs_) output->onChanged({});
    return;
  }
  for (const auto& output : outputs_) observer_->outputAdded(*output);
  for (const SeatGlobal& seat : seats_) observer_->seatAdded(seat.name, seat.version);
}

void WaylandConnection::globalEvent(void* data, wl_registry* registry, std::uint32_t name,
                                    const char* interface, std::uint32_t version) {
  auto* self = static_cast<WaylandConnection*>(data);
  const std::string_view kind(interface);
  if (kind == wl_compositor_interface.name && self->compositor_ == nullptr) {
    self->compositorVersion_ = std::min(version, kCompositorVersion);
    self->compositor_ = static_cast<wl_compositor*>(
        wl_registry_bind(registry, name, &wl_compositor_interface, self->compositorVersion_));
  } else if (kind == wl_shm_interface.name && self->shm_ == nullptr) {
    self->shm_ = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
  } else if (kind == wl_subcompositor_interface.name && self->subcompositor_ == nullptr) {
    self->subcompositor_ = static_cast<wl_subcompositor*>(
        wl_registry_bind(registry, name, &wl_subcompositor_interface, 1));
  } else if (kind == wp_viewporter_interface.name && self->viewporter_ == nullptr) {
    self->viewporter_ =
        static_cast<wp_viewporter*>(wl_registry_bind(registry, name, &wp_viewporter_interface, 1));
  } else if (kind == zwlr_layer_shell_v1_interface.name && self->layerShell_ == nullptr) {
    self->layerShellVersion_ = std::min(version, kLayerShellVersion);
    self->layerShell_ = static_cast<zwlr_layer_shell_v1*>(
        wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, self->layerShellVersion_));
  } else if (kind == wl_output_interface.name) {
    self->outputs_.push_back(std::make_unique<WaylandOutput>(registry, name, version));
    if (self->observer_ != nullptr)
      self->observer_->outputAdded(*self->outputs_.back());
  } else if (kind == wl_seat_interface.name) {
    self->seats_.push_back(SeatGlobal{name, version});
    if (self->observer_ != nullptr)
      self->observer_->seatAdded(name, version);
  }
}

void WaylandConnection::globalRemoveEvent(void* data, wl_registry*, std::uint32_t name) {
  auto* self = static_cast<WaylandConnection*>(data);
  const auto output = std::find_if(self->outputs_.begin(), self->outputs_.end(),
                                   [name](const auto& o) { return o->globalName() == name; });
  if (output != self->outputs_.end()) {
    if (self->observer_ != nullptr)
      self->observer_->outputRemoved(**output);
    self->outputs_.erase(output);
    return;
  }
  const auto seat = std::find_if(self->seats_.begin(), self->seats_.end(),
                                 [name](const SeatGlobal& s) { return s.name == name; });
  if (seat != self->seats_.end()) {
    self->seats_.erase(seat);
    if (self->observer_ != nullptr)
      self->observer_->seatRemoved(name);
  }
}

void WaylandConnection::startEventPump(std::function<void()> lost) {
  lost_ = std::move(lost);
  notifier_ =
      std::make_unique<QSocketNotifier>(wl_display_get_fd(display_.get()), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, &context_,
                   [this] { readEvents(); });
  // Events read by a round trip, and requests made in handlers, wait for the loop to sleep.
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   &context_, [this] { dispatchQueued(); });
  dispatchQueued();
}

void WaylandConnection::flush() {
  if (notifier_ == nullptr || notifier_->isEnabled())
    wl_display_flush(display_.get());
}

void WaylandConnection::readEvents() {
  wl_display* display = display_.get();
  while (wl_display_prepare_read(display) != 0) {
    if (wl_display_dispatch_pending(display) < 0)
      return loseConnection();
  }
  wl_display_flush(display);
  if (wl_display_read_events(display) < 0)
    return loseConnection();
  dispatchQueued();
}

void WaylandConnection::dispatchQueued() {
  if (!notifier_->isEnabled())
    return;
  if (wl_display_dispatch_pending(display_.get()) < 0)
    return loseConnection();
  wl_display_flush(display_.get());
}

void WaylandConnection::loseConnection() {
  if (!notifier_->isEnabled())
    return;
  notifier_->setEnabled(false);
  const int error = wl_display_get_error(display_.get());
  std::fprintf(stderr, "skyfare: the Wayland compositor ended the connection: %s\n",
               std::strerror(error != 0 ? error : EPIPE));
  // From the event loop, so that the owner may tear down what dispatched the event.
  QMetaObject::invokeMethod(
      &context_,
      [this] {
        if (lost_)
          lost_();
      },
      Qt::QueuedConnection);
}

}  // namespace skyfare
