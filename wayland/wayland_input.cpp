#include "wayland/wayland_input.h"

#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <optional>

namespace skyfare {
namespace {

// Version 5 is the last whose pointer events our listener covers in full.
constexpr std::uint32_t kSeatVersion = 5;

}  // namespace

struct WaylandInput::Seat {
  Seat(SceneWindowEvents& events, wl_registry* registry, std::uint32_t globalName,
       std::uint32_t version);
  ~Seat();
  Seat(const Seat&) = delete;
  Seat& operator=(const Seat&) = delete;

  void followCapabilities(std::uint32_t capabilities);
  void releasePointer();
  void releaseKeyboard();

  static void capabilitiesEvent(void* data, wl_seat* seat, std::uint32_t capabilities);
  static void nameEvent(void*, wl_seat*, const char*) {}

  static void pointerEnter(void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface*,
                           wl_fixed_t x, wl_fixed_t y);
  static void pointerLeave(void* data, wl_pointer*, std::uint32_t, wl_surface*);
  static void pointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y);
  static void pointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t,
                            std::uint32_t state);
  static void pointerAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
  static void pointerFrame(void*, wl_pointer*) {}
  static void pointerAxisSource(void*, wl_pointer*, std::uint32_t) {}
  static void pointerAxisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
  static void pointerAxisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}

  static void keymapEvent(void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t);
  static void keyboardEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
  static void keyboardLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
  static void keyEvent(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                       std::uint32_t state);
  static void modifiersEvent(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                             std::uint32_t, std::uint32_t) {}
  static void repeatInfoEvent(void*, wl_keyboard*, std::int32_t, std::int32_t) {}

  SceneWindowEvents& events;
  std::uint32_t globalName;
  std::uint32_t version;
  wl_seat* seat;
  wl_pointer* pointer = nullptr;
  wl_keyboard* keyboard = nullptr;
  // Where the pointer is on the surface it is over; none while it is over no surface of ours.
  std::optional<QPointF> pointerPlace;
};

WaylandInput::Seat::Seat(SceneWindowEvents& events, wl_registry* registry, std::uint32_t globalName,
                         std::uint32_t version)
    : events(events),
      globalName(globalName),
      version(std::min(version, kSeatVersion)),
      seat(static_cast<wl_seat*>(
          wl_registry_bind(registry, globalName, &wl_seat_interface, this->version))) {
  static const wl_seat_listener listener{.capabilities = &Seat::capabilitiesEvent,
                                         .name = &Seat::nameEvent};
  wl_seat_add_listener(seat, &listener, this);
}

WaylandInput::Seat::~Seat() {
  releasePointer();
  releaseKeyboard();
  if (version >= WL_SEAT_RELEASE_SINCE_VERSION)
    wl_seat_release(seat);
  else
    wl_seat_destroy(seat);
}

void WaylandInput::Seat::followCapabilities(std::uint32_t capabilities) {
  if ((capabilities & WL_SEAT_CAPABILITY_POINTER) != 0 && pointer == nullptr) {
    pointer = wl_seat_get_pointer(seat);
    static const wl_pointer_listener listener{.enter = &Seat::pointerEnter,
                                              .leave = &Seat::pointerLeave,
                                              .motion = &Seat::pointerMotion,
                                              .button = &Seat::pointerButton,
                                              .axis = &Seat::pointerAxis,
                                              .frame = &Seat::pointerFrame,
                                              .axis_source = &Seat::pointerAxisSource,
                                              .axis_stop = &Seat::pointerAxisStop,
                                              .axis_discrete = &Seat::pointerAxisDiscrete,
                                              .axis_value120 = nullptr};
    wl_pointer_add_listener(pointer, &listener, this);
  } else if ((capabilities & WL_SEAT_CAPABILITY_POINTER) == 0) {
    releasePointer();
  }
  if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && keyboard == nullptr) {
    keyboard = wl_seat_get_keyboard(seat);
    static const wl_keyboard_listener listener{.keymap = &Seat::keymapEvent,
                                               .enter = &Seat::keyboardEnter,
                                               .leave = &Seat::keyboardLeave,
                                               .key = &Seat::keyEvent,
                                               .modifiers = &Seat::modifiersEvent,
                                               .repeat_info = &Seat::repeatInfoEvent};
    wl_keyboard_add_listener(keyboard, &listener, this);
  } else if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) == 0) {
    releaseKeyboard();
  }
}

void WaylandInput::Seat::releasePointer() {
  if (pointer == nullptr)
    return;
  if (version >= WL_POINTER_RELEASE_SINCE_VERSION)
    wl_pointer_release(pointer);
  else
    wl_pointer_destroy(pointer);
  pointer = nullptr;
  pointerPlace.reset();
}

void WaylandInput::Seat::releaseKeyboard() {
  if (keyboard == nullptr)
    return;
  if (version >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
    wl_keyboard_release(keyboard);
  else
    wl_keyboard_destroy(keyboard);
  keyboard = nullptr;
}

void WaylandInput::Seat::capabilitiesEvent(void* data, wl_seat*, std::uint32_t capabilities) {
  static_cast<Seat*>(data)->followCapabilities(capabilities);
}

void WaylandInput::Seat::pointerEnter(void* data, wl_pointer* pointer, std::uint32_t serial,
                                      wl_surface*, wl_fixed_t x, wl_fixed_t y) {
  auto* self = static_cast<Seat*>(data);
  // No cursor surface hides the pointer while it is over this surface.
  wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
  // A surface appearing under a still pointer brings an entry; that is no movement.
  self->pointerPlace = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
}

void WaylandInput::Seat::pointerLeave(void* data, wl_pointer*, std::uint32_t, wl_surface*) {
  static_cast<Seat*>(data)->pointerPlace.reset();
}

void WaylandInput::Seat::pointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x,
                                       wl_fixed_t y) {
  auto* self = static_cast<Seat*>(data);
  const QPointF place(wl_fixed_to_double(x), wl_fixed_to_double(y));
  if (self->pointerPlace == place)
    return;
  self->pointerPlace = place;
  self->events.mouseMoved(place);
}

void WaylandInput::Seat::pointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t,
                                       std::uint32_t, std::uint32_t state) {
  if (state == WL_POINTER_BUTTON_STATE_PRESSED)
    static_cast<Seat*>(data)->events.mousePressed();
}

void WaylandInput::Seat::keymapEvent(void*, wl_keyboard*, std::uint32_t, std::int32_t fd,
                                     std::uint32_t) {
  // Which key was pressed makes no difference, so the keymap is not read.
  close(fd);
}

void WaylandInput::Seat::keyEvent(void* data, wl_keyboard*, std::uint32_t, std::uint32_t,
                                  std::uint32_t, std::uint32_t state) {
  if (state == WL_KEYBOARD_KEY_STATE_PRESSED)
    static_cast<Seat*>(data)->events.keyPressed();
}

WaylandInput::WaylandInput(SceneWindowEvents& events) : events_(events) {}

WaylandInput::~WaylandInput() = default;

void WaylandInput::addSeat(wl_registry* registry, std::uint32_t globalName, std::uint32_t version) {
  seats_.push_back(std::make_unique<Seat>(events_, registry, globalName, version));
}

void WaylandInput::removeSeat(std::uint32_t globalName) {
  std::erase_if(seats_, [globalName](const auto& seat) { return seat->globalName == globalName; });
}

}  // namespace skyfare
