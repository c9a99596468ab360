#include "tests/wayland/test_compositor.h"

#include <sys/eventfd.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>
#include <wayland-server.h>

#include <QPainter>

#include <algorithm>
#include <deque>
#include <list>
#include <type_traits>
#include <utility>

#include "layer_shell_server.h"
#include "viewporter_server.h"

namespace skyfare::testing {
namespace {

struct Mapping {
  Mapping(int fd, std::int32_t bytes)
      : size(static_cast<std::size_t>(bytes)),
        data(mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0)) {}
  ~Mapping() {
    if (data != MAP_FAILED)
      munmap(data, size);
  }
  std::size_t size;
  void* data;
};

using Server = TestCompositor::Server;

// Every object a resource stands for knows its server: resources outlive the client's own
// destroy notice, so the client cannot be asked for it.
struct Pool {
  Server* server;
  std::shared_ptr<Mapping> mapping;
};

struct Buffer {
  Server* server;
  std::shared_ptr<Mapping> mapping;
  std::int32_t offset, width, height, stride;
  wl_resource* resource = nullptr;
};

struct Output {
  Server* server;
  wl_global* global = nullptr;
  QSize pixels;
  int scale = 1;
  std::vector<wl_resource*> resources;
};

struct Layer;

struct Surface {
  Server* server;
  wl_resource* resource = nullptr;
  Buffer* pending = nullptr;
  bool attached = false;  // since the last commit
  Buffer* shown = nullptr;
  QRegion damage;
  int scale = 1;
  int pendingScale = 1;
  Layer* layer = nullptr;
  std::vector<wl_resource*> frames;
  // As a subsurface: its parent, its place in the parent's units, and what its own commits
  // left for the parent's next commit to show.
  Surface* parent = nullptr;
  wl_resource* subsurface = nullptr;
  QPoint position;
  QPoint pendingPosition;
  bool cached = false;
  Buffer* cachedBuffer = nullptr;
  // The part of the buffer a viewport shows, in buffer pixels; null for all of it.
  QRect pendingCrop;
  QRect cachedCrop;
  QRect crop;
  std::vector<Surface*> children;  // bottom to top
};

void detachFromParent(Surface& surface) {
  if (surface.parent != nullptr)
    std::erase(surface.parent->children, &surface);
  surface.parent = nullptr;
  surface.subsurface = nullptr;
}

QImage pictureOf(const Buffer& buffer, QImage::Format format) {
  return QImage(static_cast<const uchar*>(buffer.mapping->data) + buffer.offset, buffer.width,
                buffer.height, buffer.stride, format);
}

struct Layer {
  Server* server;
  wl_resource* resource = nullptr;
  Surface* surface = nullptr;
  Output* output = nullptr;
  int index = 0;
  bool configured = false;
};

template <typename T>
void eraseOwned(std::list<std::unique_ptr<T>>& list, T* item) {
  list.remove_if([item](const auto& owned) { return owned.get() == item; });
}

template <typename T>
T* dataOf(wl_resource* resource) {
  return static_cast<T*>(wl_resource_get_user_data(resource));
}

// The server of a resource whose user data is a T, or the server itself.
template <typename T>
Server& serverOf(wl_resource* resource) {
  if constexpr (std::is_same_v<T, Server>)
    return *dataOf<Server>(resource);
  else
    return *dataOf<T>(resource)->server;
}

void destroyResource(wl_client*, wl_resource* resource) {
  wl_resource_destroy(resource);
}

}  // namespace

// Finds the server from any resource of its client: the client's destroy listener leads to it.
struct ClientLink {
  wl_listener listener;
  TestCompositor::Server* server;
};

struct TestCompositor::Server {
  ClientLink link{};
  wl_display* display = wl_display_create();
  wl_client* client = nullptr;
  int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  wl_event_source* wakeSource = nullptr;
  bool stop = false;

  mutable std::mutex mutex;
  std::condition_variable done;
  std::deque<std::pair<std::function<void(Server&)>, bool*>> commands;
  State state;

  std::list<std::unique_ptr<Output>> outputs;
  std::list<std::unique_ptr<Buffer>> buffers;
  std::list<std::unique_ptr<Surface>> surfaces;
  std::list<std::unique_ptr<Layer>> layers;
  std::vector<wl_resource*> pointers;
  std::vector<wl_resource*> keyboards;
  std::uint32_t serial = 1;

  Surface* surfaceOfLayer(int index) {
    for (const auto& layer : layers)
      if (layer->index == index)
        return layer->surface;
    return nullptr;
  }

  // A buffer shown by several surfaces is read until the last of them lets go of it.
  void releaseIfUnused(const Buffer* buffer) {
    if (buffer == nullptr)
      return;
    for (const auto& surface : surfaces) {
      if (surface->shown == buffer || (surface->cached && surface->cachedBuffer == buffer))
        return;
    }
    wl_buffer_send_release(buffer->resource);
  }

  void commit(Surface& surface) {
    surface.scale = surface.pendingScale;
    const bool attached = std::exchange(surface.attached, false);
    Buffer* pending = std::exchange(surface.pending, nullptr);
    if (surface.parent != nullptr) {
      if (attached)
        surface.cachedBuffer = pending;
      else if (!surface.cached)
        surface.cachedBuffer = surface.shown;
      surface.cached = true;
      surface.cachedCrop = surface.pendingCrop;
      return;
    }
    if (surface.layer != nullptr && !surface.layer->configured && pending == nullptr) {
      surface.layer->configured = true;
      const QSize size = surface.layer->output->pixels / surface.layer->output->scale;
      zwlr_layer_surface_v1_send_configure(surface.layer->resource, serial++,
                                           static_cast<std::uint32_t>(size.width()),
                                           static_cast<std::uint32_t>(size.height()));
      return;
    }
    const bool newBuffer = attached && pending != nullptr;
    if (newBuffer) {
      // The buffer shown until now is read no more.
      const Buffer* last = std::exchange(surface.shown, pending);
      if (last != pending)
        releaseIfUnused(last);
    }
    int subsurfacesShown = 0;
    int subsurfacePixels = 0;
    for (Surface* child : surface.children) {
      child->position = child->pendingPosition;
      if (std::exchange(child->cached, false)) {
        const Buffer* last =
            std::exchange(child->shown, std::exchange(child->cachedBuffer, nullptr));
        child->crop = child->cachedCrop;
        if (last != child->shown)
          releaseIfUnused(last);
      }
      if (child->shown != nullptr) {
        ++subsurfacesShown;
        const QSize size = child->crop.isNull() ? QSize(child->shown->width, child->shown->height)
                                                : child->crop.size();
        subsurfacePixels += size.width() * size.height();
      }
    }
    if (surface.shown == nullptr)
      return;
    const Buffer& b = *surface.shown;
    QImage picture = pictureOf(b, QImage::Format_RGB32).copy();
    {
      QPainter painter(&picture);
      for (const Surface* child : surface.children) {
        if (child->shown == nullptr)
          continue;
        const QImage part = pictureOf(*child->shown, QImage::Format_ARGB32_Premultiplied);
        painter.drawImage(child->position * surface.scale, part,
                          child->crop.isNull() ? part.rect() : child->crop);
      }
    }
    const int index = surface.layer != nullptr ? surface.layer->index : -1;
    const std::lock_guard lock(mutex);
    state.commits.push_back(Commit{index, newBuffer, QSize(b.width, b.height), surface.scale,
                                   newBuffer ? surface.damage : QRegion(),
                                   picture.pixel(b.width / 2, b.height / 2) | 0xFF000000u,
                                   subsurfacesShown, subsurfacePixels});
    if (index >= 0) {
      if (state.pictures.size() <= static_cast<std::size_t>(index))
        state.pictures.resize(static_cast<std::size_t>(index) + 1);
      state.pictures[static_cast<std::size_t>(index)] = std::move(picture);
    }
    surface.damage = QRegion();
  }
};

namespace {

void clientGone(wl_listener* listener, void*) {
  reinterpret_cast<ClientLink*>(listener)->server->client = nullptr;
}

const struct wl_buffer_interface kBufferImpl = {destroyResource};

const struct wl_shm_pool_interface kPoolImpl = {
    [](wl_client* client, wl_resource* pool, std::uint32_t id, std::int32_t offset,
       std::int32_t width, std::int32_t height, std::int32_t stride, std::uint32_t) {
      Server& server = serverOf<Pool>(pool);
      auto buffer = std::make_unique<Buffer>(
          Buffer{&server, dataOf<Pool>(pool)->mapping, offset, width, height, stride});
      buffer->resource = wl_resource_create(client, &wl_buffer_interface, 1, id);
      wl_resource_set_implementation(buffer->resource, &kBufferImpl, buffer.get(),
                                     [](wl_resource* resource) {
                                       Server& s = serverOf<Buffer>(resource);
                                       auto* gone = dataOf<Buffer>(resource);
                                       for (const auto& surface : s.surfaces) {
                                         if (surface->pending == gone)
                                           surface->pending = nullptr;
                                         if (surface->shown == gone)
                                           surface->shown = nullptr;
                                         if (surface->cachedBuffer == gone)
                                           surface->cachedBuffer = nullptr;
                                       }
                                       eraseOwned(s.buffers, gone);
                                     });
      server.buffers.push_back(std::move(buffer));
    },
    destroyResource, [](wl_client*, wl_resource*, std::int32_t) {}};

const struct wl_shm_interface kShmImpl = {
    [](wl_client* client, wl_resource* shm, std::uint32_t id, std::int32_t fd, std::int32_t size) {
      auto pool =
          std::make_unique<Pool>(Pool{&serverOf<Server>(shm), std::make_shared<Mapping>(fd, size)});
      close(fd);
      wl_resource* resource = wl_resource_create(client, &wl_shm_pool_interface, 1, id);
      // The resource owns its pool from here on.
      wl_resource_set_implementation(resource, &kPoolImpl, pool.release(), [](wl_resource* gone) {
        const std::unique_ptr<Pool> owned(dataOf<Pool>(gone));
      });
    }};

const struct wl_region_interface kRegionImpl = {
    destroyResource,
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {},
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}};

const struct wl_surface_interface kSurfaceImpl = {
    destroyResource,
    [](wl_client*, wl_resource* surface, wl_resource* buffer, std::int32_t, std::int32_t) {
      dataOf<Surface>(surface)->pending = buffer != nullptr ? dataOf<Buffer>(buffer) : nullptr;
      dataOf<Surface>(surface)->attached = true;
    },
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {},
    [](wl_client* client, wl_resource* surface, std::uint32_t id) {
      Server& server = serverOf<Surface>(surface);
      wl_resource* callback = wl_resource_create(client, &wl_callback_interface, 1, id);
      wl_resource_set_implementation(callback, nullptr, &server, [](wl_resource* resource) {
        Server& s = serverOf<Server>(resource);
        for (const auto& owner : s.surfaces) std::erase(owner->frames, resource);
      });
      dataOf<Surface>(surface)->frames.push_back(callback);
    },
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource* surface) {
      serverOf<Surface>(surface).commit(*dataOf<Surface>(surface));
    },
    [](wl_client*, wl_resource*, std::int32_t) {},
    [](wl_client*, wl_resource* surface, std::int32_t scale) {
      dataOf<Surface>(surface)->pendingScale = scale;
    },
    [](wl_client*, wl_resource* surface, std::int32_t x, std::int32_t y, std::int32_t width,
       std::int32_t height) { dataOf<Surface>(surface)->damage += QRect(x, y, width, height); },
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t) {}};

const struct wl_compositor_interface kCompositorImpl = {
    [](wl_client* client, wl_resource* compositor, std::uint32_t id) {
      Server& server = serverOf<Server>(compositor);
      auto surface = std::make_unique<Surface>();
      surface->server = &server;
      surface->resource = wl_resource_create(client, &wl_surface_interface,
                                             wl_resource_get_version(compositor), id);
      wl_resource_set_implementation(surface->resource, &kSurfaceImpl, surface.get(),
                                     [](wl_resource* resource) {
                                       Server& s = serverOf<Surface>(resource);
                                       Surface* gone = dataOf<Surface>(resource);
                                       // Its subsurface object, if any, stays, inert.
                                       if (gone->subsurface != nullptr)
                                         wl_resource_set_user_data(gone->subsurface, nullptr);
                                       detachFromParent(*gone);
                                       for (Surface* child : gone->children)
                                         child->parent = nullptr;
                                       eraseOwned(s.surfaces, gone);
                                     });
      server.surfaces.push_back(std::move(surface));
    },
    [](wl_client* client, wl_resource*, std::uint32_t id) {
      wl_resource* region = wl_resource_create(client, &wl_region_interface, 1, id);
      wl_resource_set_implementation(region, &kRegionImpl, nullptr, nullptr);
    }};

const struct wl_subsurface_interface kSubsurfaceImpl = {
    destroyResource,
    [](wl_client*, wl_resource* subsurface, std::int32_t x, std::int32_t y) {
      if (auto* surface = dataOf<Surface>(subsurface))
        surface->pendingPosition = QPoint(x, y);
    },
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource*) {},
    [](wl_client*, wl_resource*) {}};

const struct wl_subcompositor_interface kSubcompositorImpl = {
    destroyResource, [](wl_client* client, wl_resource*, std::uint32_t id, wl_resource* surface,
                        wl_resource* parent) {
      auto* child = dataOf<Surface>(surface);
      child->parent = dataOf<Surface>(parent);
      // A new subsurface goes on top of its siblings.
      child->parent->children.push_back(child);
      child->subsurface = wl_resource_create(client, &wl_subsurface_interface, 1, id);
      wl_resource_set_implementation(child->subsurface, &kSubsurfaceImpl, child,
                                     [](wl_resource* resource) {
                                       if (auto* gone = dataOf<Surface>(resource))
                                         detachFromParent(*gone);
                                     });
    }};

// Shows part of a buffer at its own size, which is all the saver asks of a viewport.
const struct wp_viewport_interface kViewportImpl = {
    destroyResource,
    [](wl_client*, wl_resource* viewport, wl_fixed_t x, wl_fixed_t y, wl_fixed_t width,
       wl_fixed_t height) {
      if (auto* surface = dataOf<Surface>(viewport))
        surface->pendingCrop = width == wl_fixed_from_int(-1)
                                   ? QRect()
                                   : QRect(wl_fixed_to_int(x), wl_fixed_to_int(y),
                                           wl_fixed_to_int(width), wl_fixed_to_int(height));
    },
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t) {}};

const struct wp_viewporter_interface kViewporterImpl = {
    destroyResource, [](wl_client* client, wl_resource*, std::uint32_t id, wl_resource* surface) {
      wl_resource* viewport = wl_resource_create(client, &wp_viewport_interface, 1, id);
      wl_resource_set_implementation(viewport, &kViewportImpl, dataOf<Surface>(surface), nullptr);
    }};

const struct zwlr_layer_surface_v1_interface kLayerSurfaceImpl = {
    [](wl_client*, wl_resource*, std::uint32_t, std::uint32_t) {},
    [](wl_client*, wl_resource*, std::uint32_t) {},
    [](wl_client*, wl_resource*, std::int32_t) {},
    [](wl_client*, wl_resource*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {},
    [](wl_client*, wl_resource* layer, std::uint32_t mode) {
      Server& server = serverOf<Layer>(layer);
      const std::lock_guard lock(server.mutex);
      server.state.keyboardModes.at(static_cast<std::size_t>(dataOf<Layer>(layer)->index)) = mode;
    },
    [](wl_client*, wl_resource*, wl_resource*) {},
    [](wl_client*, wl_resource*, std::uint32_t) {},
    destroyResource,
    [](wl_client*, wl_resource*, std::uint32_t) {}};

const struct zwlr_layer_shell_v1_interface kLayerShellImpl = {
    [](wl_client* client, wl_resource* shell, std::uint32_t id, wl_resource* surface,
       wl_resource* output, std::uint32_t layerNumber, const char*) {
      Server& server = serverOf<Server>(shell);
      auto layer = std::make_unique<Layer>();
      layer->server = &server;
      layer->surface = dataOf<Surface>(surface);
      layer->surface->layer = layer.get();
      layer->output = dataOf<Output>(output);
      layer->resource = wl_resource_create(client, &zwlr_layer_surface_v1_interface,
                                           wl_resource_get_version(shell), id);
      wl_resource_set_implementation(layer->resource, &kLayerSurfaceImpl, layer.get(),
                                     [](wl_resource* resource) {
                                       Server& s = serverOf<Layer>(resource);
                                       Layer* gone = dataOf<Layer>(resource);
                                       for (const auto& owner : s.surfaces)
                                         if (owner->layer == gone)
                                           owner->layer = nullptr;
                                       eraseOwned(s.layers, gone);
                                       const std::lock_guard lock(s.mutex);
                                       --s.state.layerSurfacesAlive;
                                     });
      const std::lock_guard lock(server.mutex);
      layer->index = server.state.layerSurfacesMade++;
      ++server.state.layerSurfacesAlive;
      server.state.layers.push_back(layerNumber);
      server.state.keyboardModes.push_back(0);
      server.layers.push_back(std::move(layer));
    },
    destroyResource};

const struct wl_pointer_interface kPointerImpl = {
    [](wl_client*, wl_resource* pointer, std::uint32_t, wl_resource* cursor, std::int32_t,
       std::int32_t) {
      Server& server = serverOf<Server>(pointer);
      const std::lock_guard lock(server.mutex);
      if (cursor == nullptr)
        ++server.state.cursorsHidden;
    },
    destroyResource};

const struct wl_keyboard_interface kKeyboardImpl = {destroyResource};

void forget(std::vector<wl_resource*>& list, wl_resource* resource) {
  std::erase(list, resource);
}

const struct wl_seat_interface kSeatImpl = {
    [](wl_client* client, wl_resource* seat, std::uint32_t id) {
      wl_resource* pointer =
          wl_resource_create(client, &wl_pointer_interface, wl_resource_get_version(seat), id);
      wl_resource_set_implementation(
          pointer, &kPointerImpl, &serverOf<Server>(seat),
          [](wl_resource* resource) { forget(serverOf<Server>(resource).pointers, resource); });
      serverOf<Server>(seat).pointers.push_back(pointer);
    },
    [](wl_client* client, wl_resource* seat, std::uint32_t id) {
      wl_resource* keyboard =
          wl_resource_create(client, &wl_keyboard_interface, wl_resource_get_version(seat), id);
      wl_resource_set_implementation(
          keyboard, &kKeyboardImpl, &serverOf<Server>(seat),
          [](wl_resource* resource) { forget(serverOf<Server>(resource).keyboards, resource); });
      serverOf<Server>(seat).keyboards.push_back(keyboard);
    },
    [](wl_client*, wl_resource*, std::uint32_t) {}, destroyResource};

const struct wl_output_interface kOutputImpl = {destroyResource};

void bindOutput(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
  auto* output = static_cast<Output*>(data);
  wl_resource* resource =
      wl_resource_create(client, &wl_output_interface, static_cast<int>(version), id);
  wl_resource_set_implementation(resource, &kOutputImpl, output, [](wl_resource* gone) {
    std::erase(dataOf<Output>(gone)->resources, gone);
  });
  output->resources.push_back(resource);
  wl_output_send_mode(resource, WL_OUTPUT_MODE_CURRENT, output->pixels.width(),
                      output->pixels.height(), 60000);
  if (version >= WL_OUTPUT_SCALE_SINCE_VERSION)
    wl_output_send_scale(resource, output->scale);
  if (version >= WL_OUTPUT_DONE_SINCE_VERSION)
    wl_output_send_done(resource);
}

wl_resource* bindPlain(wl_client* client, void* server, const wl_interface* interface,
                       const void* impl, std::uint32_t version, std::uint32_t id) {
  wl_resource* resource = wl_resource_create(client, interface, static_cast<int>(version), id);
  wl_resource_set_implementation(resource, impl, server, nullptr);
  return resource;
}

}  // namespace

TestCompositor::TestCompositor(bool offerLayerShell, bool offerViewporter)
    : server_(std::make_unique<Server>()) {
  Server& server = *server_;
  int sockets[2];
  socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets);
  server.client = wl_client_create(server.display, sockets[0]);
  server.link.server = &server;
  server.link.listener.notify = clientGone;
  wl_client_add_destroy_listener(server.client, &server.link.listener);
  clientSocket_ = sockets[1];
  wl_global_create(server.display, &wl_compositor_interface, 4, &server,
                   [](wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
                     bindPlain(client, data, &wl_compositor_interface, &kCompositorImpl, version,
                               id);
                   });
  wl_global_create(server.display, &wl_subcompositor_interface, 1, &server,
                   [](wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
                     bindPlain(client, data, &wl_subcompositor_interface, &kSubcompositorImpl,
                               version, id);
                   });
  wl_global_create(server.display, &wl_shm_interface, 1, &server,
                   [](wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
                     bindPlain(client, data, &wl_shm_interface, &kShmImpl, version, id);
                   });
  wl_global_create(server.display, &wl_seat_interface, 5, &server,
                   [](wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
                     wl_seat_send_capabilities(
                         bindPlain(client, data, &wl_seat_interface, &kSeatImpl, version, id),
                         WL_SEAT_CAPABILITY_POINTER | WL_SEAT_CAPABILITY_KEYBOARD);
                   });
  if (offerViewporter)
    wl_global_create(server.display, &wp_viewporter_interface, 1, &server,
                     [](wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
                       bindPlain(client, data, &wp_viewporter_interface, &kViewporterImpl, version,
                                 id);
                     });
  if (offerLayerShell)
    wl_global_create(server.display, &zwlr_layer_shell_v1_interface, 4, &server,
                     [](wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
                       bindPlain(client, data, &zwlr_layer_shell_v1_interface, &kLayerShellImpl,
                                 version, id);
                     });
  server.wakeSource = wl_event_loop_add_fd(
      wl_display_get_event_loop(server.display), server.wake, WL_EVENT_READABLE,
      [](int fd, std::uint32_t, void* data) {
        auto& s = *static_cast<Server*>(data);
        std::uint64_t count = 0;
        static_cast<void>(read(fd, &count, sizeof count));
        std::unique_lock lock(s.mutex);
        while (!s.commands.empty()) {
          auto [command, finished] = std::move(s.commands.front());
          s.commands.pop_front();
          lock.unlock();
          command(s);
          lock.lock();
          *finished = true;
        }
        s.done.notify_all();
        return 0;
      },
      &server);
  thread_ = std::thread([&server] {
    while (!server.stop) {
      wl_display_flush_clients(server.display);
      wl_event_loop_dispatch(wl_display_get_event_loop(server.display), -1);
    }
  });
}

TestCompositor::~TestCompositor() {
  run([](Server& s) { s.stop = true; });
  thread_.join();
  wl_display_destroy_clients(server_->display);
  wl_event_source_remove(server_->wakeSource);
  wl_display_destroy(server_->display);
  close(server_->wake);
}

void TestCompositor::run(std::function<void(Server&)> command) const {
  bool finished = false;
  std::unique_lock lock(server_->mutex);
  server_->commands.emplace_back(std::move(command), &finished);
  const std::uint64_t one = 1;
  static_cast<void>(write(server_->wake, &one, sizeof one));
  server_->done.wait(lock, [&finished] { return finished; });
}

void TestCompositor::addOutput(QSize pixels, int scale) {
  run([pixels, scale](Server& s) {
    s.outputs.push_back(std::make_unique<Output>(Output{&s, nullptr, pixels, scale, {}}));
    s.outputs.back()->global =
        wl_global_create(s.display, &wl_output_interface, 3, s.outputs.back().get(), bindOutput);
  });
}

void TestCompositor::removeOutput(int index) {
  run([index](Server& s) {
    auto output = std::next(s.outputs.begin(), index);
    wl_global_destroy((*output)->global);
    // Surfaces still naming it keep a pointer; the test removes outputs only at their end.
    (*output)->global = nullptr;
  });
}

void TestCompositor::rescaleOutput(int index, int scale) {
  run([index, scale](Server& s) {
    Output& output = **std::next(s.outputs.begin(), index);
    output.scale = scale;
    for (wl_resource* resource : output.resources) {
      wl_output_send_scale(resource, scale);
      wl_output_send_done(resource);
    }
  });
}

void TestCompositor::sendFrames() {
  run([](Server& s) {
    for (const auto& surface : s.surfaces) {
      for (wl_resource* callback : std::vector(surface->frames)) {
        wl_callback_send_done(callback, 0);
        wl_resource_destroy(callback);
      }
    }
  });
}

void TestCompositor::pointerEnters(int surface, double x, double y) {
  run([surface, x, y](Server& s) {
    Surface* target = s.surfaceOfLayer(surface);
    for (wl_resource* pointer : s.pointers)
      wl_pointer_send_enter(pointer, s.serial++, target->resource, wl_fixed_from_double(x),
                            wl_fixed_from_double(y));
  });
}

void TestCompositor::pointerMoves(double x, double y) {
  run([x, y](Server& s) {
    for (wl_resource* pointer : s.pointers)
      wl_pointer_send_motion(pointer, 0, wl_fixed_from_double(x), wl_fixed_from_double(y));
  });
}

void TestCompositor::pressKey() {
  run([](Server& s) {
    for (wl_resource* keyboard : s.keyboards) {
      wl_keyboard_send_key(keyboard, s.serial++, 0, 30, WL_KEYBOARD_KEY_STATE_PRESSED);
      wl_keyboard_send_key(keyboard, s.serial++, 0, 30, WL_KEYBOARD_KEY_STATE_RELEASED);
    }
  });
}

void TestCompositor::disconnect() {
  run([](Server& s) {
    if (s.client != nullptr)
      wl_client_destroy(s.client);
  });
}

TestCompositor::State TestCompositor::state() const {
  int framesAsked = 0;
  run([&framesAsked](Server& s) {
    for (const auto& surface : s.surfaces) framesAsked += static_cast<int>(surface->frames.size());
  });
  const std::lock_guard lock(server_->mutex);
  State copy = server_->state;
  copy.framesAsked = framesAsked;
  return copy;
}

}  // namespace skyfare::testing
