#include "windows/sound/wasapi_output.h"

#include <audioclient.h>
#include <mmdeviceapi.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "windows/platform/com_ptr.h"
#include "windows/platform/debug_line.h"
#include "windows/sound/wave_resample.h"

namespace skyfare {
namespace {

// How far ahead the engine's buffer is filled, and how often the thread tops it up: the sound
// goes on through nine tenths of a second of a thread kept from running.
constexpr REFERENCE_TIME kBufferLength100ns = 10'000'000;
constexpr std::chrono::milliseconds kFeedEveryMs{100};

enum class SampleType { Float32, Int16 };

struct MixFormat {
  int rateHz = 0;
  int channels = 0;
  SampleType type = SampleType::Float32;
};

// The subformat GUID of an extensible wave format with this tag.
GUID waveSubformat(WORD tag) {
  return {tag, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

// The engine's mix format, when it is one this program writes: 32-bit float or 16-bit PCM.
std::optional<MixFormat> mixFormatOf(const WAVEFORMATEX& format) {
  WORD tag = format.wFormatTag;
  if (tag == WAVE_FORMAT_EXTENSIBLE && format.cbSize >= 22) {
    const GUID& subformat = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format).SubFormat;
    for (const WORD known : {WORD{WAVE_FORMAT_IEEE_FLOAT}, WORD{WAVE_FORMAT_PCM}})
      if (IsEqualGUID(subformat, waveSubformat(known)))
        tag = known;
  }
  MixFormat mix{static_cast<int>(format.nSamplesPerSec), format.nChannels};
  if (tag == WAVE_FORMAT_IEEE_FLOAT && format.wBitsPerSample == 32)
    mix.type = SampleType::Float32;
  else if (tag == WAVE_FORMAT_PCM && format.wBitsPerSample == 16)
    mix.type = SampleType::Int16;
  else
    return std::nullopt;
  if (mix.channels < 1 || mix.rateHz < 1 ||
      format.nBlockAlign != mix.channels * (format.wBitsPerSample / 8))
    return std::nullopt;
  return mix;
}

struct OpenDevice {
  ComPtr<IAudioClient> client;
  ComPtr<IAudioRenderClient> render;
  MixFormat format;
  UINT32 bufferFrames = 0;
};

struct TaskMemoryFree {
  void operator()(void* memory) const { CoTaskMemFree(memory); }
};

std::optional<OpenDevice> openDefaultOutput() {
  ComPtr<IMMDeviceEnumerator> enumerator;
  ComPtr<IMMDevice> endpoint;
  OpenDevice device;
  WAVEFORMATEX* mixFormat = nullptr;
  if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator), enumerator.putVoid())) ||
      FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, endpoint.put())) ||
      FAILED(endpoint->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                device.client.putVoid())) ||
      FAILED(device.client->GetMixFormat(&mixFormat)) || mixFormat == nullptr)
    return std::nullopt;
  const std::unique_ptr<WAVEFORMATEX, TaskMemoryFree> ownedFormat(mixFormat);
  const std::optional<MixFormat> format = mixFormatOf(*mixFormat);
  if (!format ||
      FAILED(device.client->Initialize(AUDCLNT_SHAREMODE_SHARED, AUDCLNT_STREAMFLAGS_NOPERSIST,
                                       kBufferLength100ns, 0, mixFormat, nullptr)) ||
      FAILED(device.client->GetBufferSize(&device.bufferFrames)) || device.bufferFrames == 0 ||
      FAILED(device.client->GetService(__uuidof(IAudioRenderClient), device.render.putVoid())) ||
      FAILED(device.client->Start()))
    return std::nullopt;
  device.format = *format;
  return device;
}

// COM for the calling thread while this lives.
class MultithreadedApartment {
 public:
  MultithreadedApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
  ~MultithreadedApartment() {
    if (entered_)
      CoUninitialize();
  }
  MultithreadedApartment(const MultithreadedApartment&) = delete;
  MultithreadedApartment& operator=(const MultithreadedApartment&) = delete;

 private:
  bool entered_;
};

std::int64_t framesOf(const WaveSamples& wave) {
  return wave.format.nBlockAlign == 0
             ? 0
             : static_cast<std::int64_t>(wave.bytes.size() / wave.format.nBlockAlign);
}

// The wave as 16-bit samples at the rate: resampled when it is at another, widened when it is
// 8-bit, and left as it is otherwise.
std::shared_ptr<const WaveSamples> mixable(const std::shared_ptr<const WaveSamples>& wave,
                                           int rateHz) {
  if (wave->format.nSamplesPerSec != static_cast<DWORD>(rateHz))
    return std::make_shared<const WaveSamples>(resampled(*wave, rateHz));
  if (wave->format.wBitsPerSample == 16)
    return wave;
  WaveSamples wide{wave->format, {}};
  wide.format.wBitsPerSample = 16;
  wide.format.nBlockAlign = static_cast<WORD>(wide.format.nChannels * 2);
  wide.format.nAvgBytesPerSec = wide.format.nSamplesPerSec * wide.format.nBlockAlign;
  wide.bytes.reserve(wave->bytes.size() * 2);
  for (const unsigned char sample : wave->bytes) {
    const auto value = static_cast<std::uint16_t>((sample - 128) * 256);
    wide.bytes.push_back(static_cast<unsigned char>(value & 0xFF));
    wide.bytes.push_back(static_cast<unsigned char>(value >> 8));
  }
  return std::make_shared<const WaveSamples>(std::move(wide));
}

std::int16_t sampleAt(const unsigned char* bytes) {
  std::int16_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// Adds `count` frames of the 16-bit wave from `first` on, at the gain, to the mix from its frame
// `at`: a mono wave on every channel, a stereo one on the first two, or both halves on a single
// one.
void addFrames(std::vector<float>& mix, int channels, std::int64_t at, const WaveSamples& wave,
               std::int64_t first, std::int64_t count, float gain) {
  const int waveChannels = wave.format.nChannels;
  const unsigned char* in =
      wave.bytes.data() + static_cast<std::size_t>(first) * wave.format.nBlockAlign;
  float* out = mix.data() + static_cast<std::size_t>(at) * static_cast<std::size_t>(channels);
  const float scale = gain / 32768.0f;
  for (std::int64_t i = 0; i < count; ++i, in += wave.format.nBlockAlign, out += channels) {
    if (waveChannels == 1) {
      const float value = sampleAt(in) * scale;
      for (int c = 0; c < channels; ++c) out[c] += value;
    } else if (channels == 1) {
      out[0] += (sampleAt(in) + sampleAt(in + 2)) * 0.5f * scale;
    } else {
      out[0] += sampleAt(in) * scale;
      out[1] += sampleAt(in + 2) * scale;
    }
  }
}

// One sound as the mixing thread takes it to mix outside the lock.
struct Job {
  int id;
  std::uint64_t playNumber;
  std::shared_ptr<const WaveSamples> wave;
  std::shared_ptr<const WaveSamples> mixed;
  float gain;
  std::int64_t startFrame;
  bool heard = false;
};

void writeMix(const std::vector<float>& mix, SampleType type, BYTE* into) {
  if (type == SampleType::Float32) {
    for (std::size_t i = 0; i < mix.size(); ++i) {
      const float value = std::clamp(mix[i], -1.0f, 1.0f);
      std::memcpy(into + i * sizeof(float), &value, sizeof(float));
    }
    return;
  }
  for (std::size_t i = 0; i < mix.size(); ++i) {
    const auto value =
        static_cast<std::int16_t>(std::lround(std::clamp(mix[i], -1.0f, 1.0f) * 32767.0f));
    std::memcpy(into + i * sizeof(value), &value, sizeof(value));
  }
}

// Tops up the engine's buffer with the jobs' frames from `written` on: mixed afresh from what is
// heard now when `remixNow`, and places the jobs that start, and marks those heard whole.
void feed(OpenDevice& device, std::int64_t& written, std::vector<Job>& jobs, bool remixNow,
          bool& lost) {
  UINT32 padding = 0;
  if (!lost && FAILED(device.client->GetCurrentPadding(&padding)))
    lost = true;
  if (lost) {
    for (Job& job : jobs) job.heard = true;
    return;
  }
  if (remixNow && padding > 0) {
    // Mixed again from what is heard now on, so that the change is heard at once.
    device.client->Stop();
    device.client->Reset();
    written -= padding;
    padding = 0;
    device.client->Start();
  }
  const std::int64_t heard = written - padding;
  std::int64_t end = written;
  for (Job& job : jobs) {
    if (!job.mixed)
      job.mixed = mixable(job.wave, device.format.rateHz);
    if (job.startFrame < 0)
      job.startFrame = written;
    const std::int64_t jobEnd = job.startFrame + framesOf(*job.mixed);
    job.heard = heard >= jobEnd;
    end = std::max(end, jobEnd);
  }
  const std::int64_t count = std::min<std::int64_t>(
      end - written, static_cast<std::int64_t>(device.bufferFrames) - padding);
  if (count <= 0)
    return;
  BYTE* into = nullptr;
  if (FAILED(device.render->GetBuffer(static_cast<UINT32>(count), &into)))
    return;
  std::vector<float> mix(static_cast<std::size_t>(count) *
                         static_cast<std::size_t>(device.format.channels));
  for (const Job& job : jobs) {
    const std::int64_t from = std::max(written, job.startFrame);
    const std::int64_t to = std::min(written + count, job.startFrame + framesOf(*job.mixed));
    if (from < to)
      addFrames(mix, device.format.channels, from - written, *job.mixed, from - job.startFrame,
                to - from, job.gain);
  }
  writeMix(mix, device.format.type, into);
  device.render->ReleaseBuffer(static_cast<UINT32>(count), 0);
  written += count;
}

}  // namespace

struct WasapiOutput::Shared {
  enum class State { Opening, Open, Failed };

  // A sound that plays, or played and keeps its samples at the mix rate for the next time.
  struct Voice {
    std::shared_ptr<const WaveSamples> wave;
    std::shared_ptr<const WaveSamples> mixed;  // 16-bit at the mix rate, made on the thread
    float gain = 1;
    bool playing = false;
    std::uint64_t playNumber = 0;  // which play this is, so a late answer finds its own
    std::int64_t startFrame = -1;  // the output frame its first frame goes to; -1 until placed
  };

  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  State state = State::Opening;
  bool abandoned = false;  // the object is gone; the thread ends and releases the device
  bool remix = false;      // what is queued is out of date
  std::uint64_t lastPlayNumber = 0;
  std::map<int, Voice> voices;

  bool anyPlaying() const {
    return std::any_of(voices.begin(), voices.end(),
                       [](const auto& entry) { return entry.second.playing; });
  }

  void run();
};

void WasapiOutput::Shared::run() {
  const MultithreadedApartment apartment;
  std::optional<OpenDevice> device = openDefaultOutput();
  {
    const std::scoped_lock lock(mutex);
    if (abandoned)
      return;  // the device, if any, goes with this thread
    state = device ? State::Open : State::Failed;
    changed.notify_all();
    if (!device) {
      debugLine("no audio device; the saver runs silent");
      return;
    }
  }
  std::int64_t written = 0;  // frames handed to the engine since it started
  bool lost = false;         // the device stopped answering: every sound ends at once
  std::vector<Job> jobs;
  for (;;) {
    bool remixNow = false;
    {
      std::unique_lock lock(mutex);
      const auto woken = [this] { return abandoned || remix; };
      if (anyPlaying())
        changed.wait_for(lock, kFeedEveryMs, woken);
      else
        changed.wait(lock, [&] { return woken() || anyPlaying(); });
      if (abandoned)
        break;
      remixNow = std::exchange(remix, false);
      jobs.clear();
      for (const auto& [id, voice] : voices)
        if (voice.playing)
          jobs.push_back(
              {id, voice.playNumber, voice.wave, voice.mixed, voice.gain, voice.startFrame});
    }
    feed(*device, written, jobs, remixNow, lost);
    const std::scoped_lock lock(mutex);
    for (const Job& job : jobs) {
      const auto found = voices.find(job.id);
      if (found == voices.end() || found->second.playNumber != job.playNumber)
        continue;
      found->second.mixed = job.mixed;
      found->second.startFrame = job.startFrame;
      if (job.heard)
        found->second.playing = false;
    }
  }
  device->client->Stop();
}

WasapiOutput::WasapiOutput() : shared_(std::make_shared<Shared>()) {
  std::thread([shared = shared_] { shared->run(); }).detach();
}

WasapiOutput::~WasapiOutput() {
  const std::scoped_lock lock(shared_->mutex);
  shared_->abandoned = true;
  shared_->changed.notify_all();
}

bool WasapiOutput::isOpen(std::chrono::milliseconds wait) const {
  std::unique_lock lock(shared_->mutex);
  shared_->changed.wait_for(lock, wait,
                            [this] { return shared_->state != Shared::State::Opening; });
  return shared_->state == Shared::State::Open;
}

bool WasapiOutput::hasFailed() const {
  const std::scoped_lock lock(shared_->mutex);
  return shared_->state == Shared::State::Failed;
}

bool WasapiOutput::isQuiet() const {
  const std::scoped_lock lock(shared_->mutex);
  return !shared_->anyPlaying();
}

void WasapiOutput::play(int id, std::shared_ptr<const WaveSamples> wave, double gain) {
  if (!wave)
    return;
  const std::scoped_lock lock(shared_->mutex);
  Shared::Voice& voice = shared_->voices[id];
  if (voice.playing)
    return;
  if (voice.wave != wave)
    voice.mixed.reset();
  voice.wave = std::move(wave);
  voice.gain = static_cast<float>(gain);
  voice.playing = true;
  voice.playNumber = ++shared_->lastPlayNumber;
  voice.startFrame = -1;
  shared_->remix = true;
  shared_->changed.notify_all();
}

void WasapiOutput::setGain(int id, double gain) {
  const std::scoped_lock lock(shared_->mutex);
  const auto found = shared_->voices.find(id);
  // The frames set the stored volume again and again; only a change is mixed afresh.
  if (found == shared_->voices.end() || found->second.gain == static_cast<float>(gain))
    return;
  found->second.gain = static_cast<float>(gain);
  if (found->second.playing) {
    shared_->remix = true;
    shared_->changed.notify_all();
  }
}

void WasapiOutput::stop(int id) {
  const std::scoped_lock lock(shared_->mutex);
  const auto found = shared_->voices.find(id);
  if (found == shared_->voices.end())
    return;
  shared_->remix = shared_->remix || found->second.playing;
  shared_->voices.erase(found);
  shared_->changed.notify_all();
}

void WasapiOutput::stopAll() {
  const std::scoped_lock lock(shared_->mutex);
  shared_->remix = shared_->remix || shared_->anyPlaying();
  shared_->voices.clear();
  shared_->changed.notify_all();
}

}  // namespace skyfare
