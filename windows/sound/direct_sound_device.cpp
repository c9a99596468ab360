#include "windows/sound/direct_sound_device.h"

#include <audioclient.h>
#include <mmdeviceapi.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "windows/platform/com_ptr.h"
#include "windows/platform/debug_line.h"

namespace skyfare {

struct DirectSoundDevice::Opening {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  bool abandoned = false;  // the device object is gone; the thread releases what it opened
  ComPtr<IDirectSound8> device;
  int mixRateHz = 0;
};

namespace {

// DirectSound's device belongs to the process, shared by every object opened on it, and Wine
// releases its last reference without taking it out of reach first: an opening on another thread
// at that moment gets the dying device, and the process crashes. So every opening and every
// release of the process takes its turn under one lock. Each thread holds the lock by a reference
// of its own, so that it outlives the program's end.
std::shared_ptr<std::mutex> directSoundTurns() {
  static const auto turns = std::make_shared<std::mutex>();
  return turns;
}

// Releases the device now when no opening is under way, or else on a thread of its own once it
// is the device's turn: an opening that hangs must not hold the caller.
void releaseInTurn(ComPtr<IDirectSound8> device, const std::shared_ptr<std::mutex>& turns) {
  std::unique_lock turn(*turns, std::try_to_lock);
  if (turn.owns_lock()) {
    device.reset();
    return;
  }
  std::thread([device = std::move(device), turns]() mutable {
    const std::scoped_lock inTurn(*turns);
    device.reset();
  }).detach();
}

// The rate the default output mixes at, 0 when it cannot be told; COM is this call's own.
int defaultOutputMixRateHz() {
  const HRESULT initialised = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  int rateHz = 0;
  {
    IMMDeviceEnumerator* enumerator = nullptr;
    IMMDevice* endpoint = nullptr;
    IAudioClient* client = nullptr;
    WAVEFORMATEX* format = nullptr;
    if (SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                   __uuidof(IMMDeviceEnumerator),
                                   reinterpret_cast<void**>(&enumerator)))) {
      const ComPtr<IMMDeviceEnumerator> ownedEnumerator(enumerator);
      if (SUCCEEDED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &endpoint))) {
        const ComPtr<IMMDevice> ownedEndpoint(endpoint);
        if (SUCCEEDED(endpoint->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                         reinterpret_cast<void**>(&client)))) {
          const ComPtr<IAudioClient> ownedClient(client);
          if (SUCCEEDED(client->GetMixFormat(&format)) && format != nullptr) {
            rateHz = static_cast<int>(format->nSamplesPerSec);
            CoTaskMemFree(format);
          }
        }
      }
    }
  }
  if (SUCCEEDED(initialised))
    CoUninitialize();
  return rateHz;
}

}  // namespace

DirectSoundDevice::DirectSoundDevice(HWND window)
    : opening_(std::make_shared<Opening>()), turns_(directSoundTurns()) {
  std::thread([opening = opening_, turns = turns_, window] {
    // Held until the thread ends, so that an abandoned device is released in turn too.
    const std::scoped_lock turn(*turns);
    IDirectSound8* created = nullptr;
    ComPtr<IDirectSound8> device;
    if (SUCCEEDED(DirectSoundCreate8(nullptr, &created, nullptr)))
      device.reset(created);
    // Priority level: the sounds keep their own format instead of the primary buffer's.
    if (device && FAILED(device->SetCooperativeLevel(window, DSSCL_PRIORITY)))
      device.reset();
    const int mixRateHz = device ? defaultOutputMixRateHz() : 0;
    const std::scoped_lock lock(opening->mutex);
    if (opening->abandoned)
      return;  // the device, if any, goes with this thread
    if (!device)
      debugLine("no audio device; the saver runs silent");
    opening->device = std::move(device);
    opening->mixRateHz = mixRateHz;
    opening->done = true;
    opening->finished.notify_all();
  }).detach();
}

DirectSoundDevice::~DirectSoundDevice() {
  ComPtr<IDirectSound8> device;
  {
    const std::scoped_lock lock(opening_->mutex);
    opening_->abandoned = true;
    device = std::move(opening_->device);
  }
  // An opening still under way is not waited for.
  if (device)
    releaseInTurn(std::move(device), turns_);
}

IDirectSound8* DirectSoundDevice::device(std::chrono::milliseconds wait) const {
  std::unique_lock lock(opening_->mutex);
  opening_->finished.wait_for(lock, wait, [this] { return opening_->done; });
  return opening_->device.get();
}

int DirectSoundDevice::mixRateHz() const {
  const std::scoped_lock lock(opening_->mutex);
  return opening_->mixRateHz;
}

bool DirectSoundDevice::hasFailed() const {
  const std::scoped_lock lock(opening_->mutex);
  return opening_->done && !opening_->device;
}

}  // namespace skyfare
