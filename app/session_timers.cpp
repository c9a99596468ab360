#include "app/session_timers.h"

#include "core/saver/form1.h"

namespace skyfare {
namespace {

constexpr int kTimerIntervalMs = 1000;

}  // namespace

SessionTimers::SessionTimers(Form1& form) {
  QObject::connect(&tmrPlane_, &QTimer::timeout, [&form] { form.tmrPlaneTick(); });
  QObject::connect(&tmrPause_, &QTimer::timeout, [&form] { form.tmrPauseTick(); });
  QObject::connect(&tmrSound_, &QTimer::timeout, [&form] { form.tmrSoundTick(); });
  for (QTimer* timer : {&tmrPlane_, &tmrPause_, &tmrSound_}) timer->start(kTimerIntervalMs);
}

}  // namespace skyfare
