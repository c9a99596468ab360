// A whole relay on a 3840 × 2160 screen: the saver's session on the real windowed component,
// with the program's pictures and a logo of the user's, frames driven by hand. Once the load
// step is over no frame opens a picture file or starts a thread: every airliner, on its first
// flight and when it flies again after parking, is drawn from what was prepared, pixel for pixel
// as a fresh renderer draws it from the files.
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <thread>

#include "core/saver/fixed_seed_random.h"
#include "core/saver/form1.h"
#include "core/settings/setting_keys.h"
#include "drawing/scene_renderer.h"
#include "screen/qt_drawing_control.h"
#include "tests/support/list_recorder.h"
#include "tests/support/manual_host.h"
#include "tests/support/memory_store.h"
#include "tests/support/recording_sound.h"

// What the process does, by any library, counted on its way to the system's own calls.
namespace {

std::atomic<int> threadsStarted{0};
std::atomic<int> pictureFilesOpened{0};

void countIfPicture(const char* path) {
  const std::string_view name(path);
  for (const std::string_view end : {".bmp", ".bmp.zst", ".png"}) {
    if (name.ends_with(end))
      pictureFilesOpened.fetch_add(1);
  }
}

template <typename Function>
Function* next(const char* name) {
  return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

using Open = int(const char*, int, ...);

int countedOpen(Open* open, const char* path, int flags, va_list arguments) {
  const bool withMode = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
  const mode_t mode = withMode ? va_arg(arguments, mode_t) : 0;
  countIfPicture(path);
  return open(path, flags, mode);
}

}  // namespace

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*start)(void*), void* argument) {
  static auto* const create = next<decltype(pthread_create)>("pthread_create");
  threadsStarted.fetch_add(1);
  return create(thread, attributes, start, argument);
}

// The program opens files with open, Qt with open64: one call under two names on 64-bit systems.
extern "C" int open(const char* path, int flags, ...) {
  static auto* const open = next<Open>("open");
  va_list arguments;
  va_start(arguments, flags);
  const int fd = countedOpen(open, path, flags, arguments);
  va_end(arguments);
  return fd;
}

extern "C" int open64(const char* path, int flags, ...) {
  static auto* const open64 = next<Open>("open64");
  va_list arguments;
  va_start(arguments, flags);
  const int fd = countedOpen(open64, path, flags, arguments);
  va_end(arguments);
  return fd;
}

namespace skyfare {
namespace {

const std::string kDataFolder = SKYFARE_DATA_DIR "/";
const QSize kScreenSize(3840, 2160);
constexpr int kWatchdogMs = 20'000;
// Airliner 1 flies again at frame 13013, after the fifteen have flown once.
constexpr long kWholeRelayFrames = 13'100;
constexpr long kFrameMicros = 1'000'000 / 60;

// A logo of the user's, in a folder of their own: large enough for Qt to enlarge it on threads
// of its own.
class UserLogo {
 public:
  UserLogo() {
    QImage logo(640, 320, QImage::Format_RGB32);
    for (int y = 0; y < logo.height(); ++y) {
      for (int x = 0; x < logo.width(); ++x)
        logo.setPixel(x, y, qRgb(x % 256, (3 * y) % 256, (x * y) % 256));
    }
    logo.save(path());
  }
  std::string file() const { return path().toStdString(); }

 private:
  QString path() const { return dir_.filePath(QStringLiteral("logo.png")); }
  QTemporaryDir dir_;
};

// One display session on the first-run settings with the logo on, its clock
// advanced by hand 1000/60 ms a frame, the one-second timers ticked as seconds pass.
class Session {
 public:
  Session(DisplayListControl& drawing, const UserLogo& logo) {
    drawing.setDensePictureFolder(kDataFolder);
    SetRegistry(store_, kDataFolder);
    store_.values["Startup/LogoChecked"] = "1";
    store_.values["Startup/LogoFileName"] = logo.file();
    form_ =
        std::make_unique<Form1>(SessionParts{drawing, sound_, store_, host_, random_, kDataFolder});
    form_->Load();
  }

  void frame() {
    micros_ += kFrameMicros;
    host_.advanceMs(static_cast<std::uint32_t>(micros_ / 1000));
    micros_ %= 1000;
    if (++frames_ % 60 == 0) {
      form_->tmrPlaneTick();
      form_->tmrPauseTick();
      form_->tmrSoundTick();
    }
    form_->FrameUpdate();
  }
  bool ended() const { return form_->ended(); }

 private:
  testing::MemoryStore store_;
  testing::ManualHost host_;
  testing::RecordingSound sound_;
  FixedSeedRandom random_;
  std::unique_ptr<Form1> form_;
  long micros_ = 0;
  long frames_ = 0;
};

// The pictures a frame draws, each (sprite, picture version).
std::set<std::pair<SpriteHandle, std::uint64_t>> picturesOf(const DisplayList& list) {
  std::set<std::pair<SpriteHandle, std::uint64_t>> pictures;
  for (const DrawOp& op : list) {
    if (const auto* sprite = std::get_if<SpriteOp>(&op))
      pictures.emplace(sprite->sprite, sprite->imageVersion);
  }
  return pictures;
}

// Where the pictures differ by more than the one step of a channel that blending in another
// order may round (the X server blends as well as the renderer); empty when they do not.
std::string differenceBeyondRounding(const QImage& a, const QImage& b) {
  const auto apart = [](QRgb p, QRgb q) {
    return std::abs(qRed(p) - qRed(q)) > 1 || std::abs(qGreen(p) - qGreen(q)) > 1 ||
           std::abs(qBlue(p) - qBlue(q)) > 1;
  };
  long count = 0;
  QPoint first;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (apart(a.pixel(x, y), b.pixel(x, y)) && count++ == 0)
        first = QPoint(x, y);
    }
  }
  if (count == 0)
    return {};
  char values[64];
  std::snprintf(values, sizeof values, " (%08x against %08x)", a.pixel(first), b.pixel(first));
  return std::to_string(count) + " pixels differ, first at " + std::to_string(first.x()) + "," +
         std::to_string(first.y()) + values;
}

// What the frames driven by one call did.
struct Frames {
  int comeBacks = 0;  // frames that drew a picture the frame before them did not
  int threadsStarted = 0;
  int picturesOpened = 0;
};

// The session on the real component beside the same session recorded, the first shown in
// `window` (the whole screen when null) and compared with a fresh renderer's picture of the
// second in every frame that draws a picture the frame before it did not.
class RelayPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::primaryScreen()->geometry().size() != kScreenSize)
      GTEST_SKIP() << "needs a 3840 x 2160 screen";
    const int threads = threadsStarted.load();
    std::thread([] {}).join();
    ASSERT_EQ(threadsStarted.load(), threads + 1) << "thread starts are not seen";
    const int opens = pictureFilesOpened.load();
    QImage(QString::fromStdString(logo_.file()));
    ASSERT_EQ(pictureFilesOpened.load(), opens + 1) << "picture files opened are not seen";
  }

  void start(std::optional<HostPlacement> placement = std::nullopt) {
    drawing_ = placement ? std::make_unique<QtDrawingControl>(*placement)
                         : std::make_unique<QtDrawingControl>();
    shown_ = std::make_unique<Session>(*drawing_, logo_);
    ASSERT_FALSE(shown_->ended());
    recorded_ = std::make_unique<Session>(recorder_, logo_);
    drawing_->setEventSink(nullptr);  // frames come from this test alone
    ASSERT_TRUE(QTest::qWaitFor([&] { return drawing_->statistics().flushes > 0; }, kWatchdogMs));
  }

  void drive(long frames, QWindow* window, Frames& done) {
    const QSize size = window != nullptr ? window->size() : kScreenSize;
    for (long frame = 1; frame <= frames; ++frame) {
      const int threads = threadsStarted.load();
      const int opens = pictureFilesOpened.load();
      shown_->frame();
      done.threadsStarted += threadsStarted.load() - threads;
      done.picturesOpened += pictureFilesOpened.load() - opens;
      recorded_->frame();
      QCoreApplication::processEvents();

      const auto drawnNow = picturesOf(recorder_.flipped);
      const bool comesBack =
          std::any_of(drawnNow.begin(), drawnNow.end(),
                      [&](const auto& picture) { return !drawnBefore_.contains(picture); });
      drawnBefore_ = drawnNow;
      if (!comesBack)
        continue;
      ++done.comeBacks;
      // A renderer of its own makes every picture afresh.
      SceneRenderer reference(size);
      QImage expected(size, QImage::Format_RGB32);
      {
        QPainter painter(&expected);
        reference.renderBars(painter);
        reference.render(painter, recorder_.flipped, reference.mapping().content());
      }
      const QImage shot = QGuiApplication::primaryScreen()
                              ->grabWindow(window != nullptr ? window->winId() : 0)
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
      ASSERT_EQ(differenceBeyondRounding(shot, expected), "") << "frame " << frame;
    }
  }

  const UserLogo logo_;
  std::unique_ptr<QtDrawingControl> drawing_;
  std::unique_ptr<Session> shown_;
  testing::ListRecorder recorder_;
  std::unique_ptr<Session> recorded_;
  std::set<std::pair<SpriteHandle, std::uint64_t>> drawnBefore_;
};

TEST_F(RelayPicturesTest,
       AfterTheLoadStepNoFrameOpensAPictureOrStartsAThreadAndEveryFrameIsTheSame) {
  ASSERT_NO_FATAL_FAILURE(start());
  Frames done;
  ASSERT_NO_FATAL_FAILURE(drive(kWholeRelayFrames, nullptr, done));
  EXPECT_EQ(done.picturesOpened, 0);
  EXPECT_EQ(done.threadsStarted, 0);
  // The first frame, with airliner 1, the first flights of the fourteen others, and airliner
  // 1's second. The jet is drawn in every frame, waiting off the scene between its passes.
  EXPECT_EQ(done.comeBacks, 1 + 14 + 1);
}

// A window of its own, at the scene's size, that grows to twice the scene: its pictures are
// prepared for the new scale as it grows, not by the frames after it.
TEST_F(RelayPicturesTest, AScaleThatComesLaterIsPreparedWhenItComes) {
  ASSERT_NO_FATAL_FAILURE(start(HostPlacement{}));
  ASSERT_EQ(QGuiApplication::topLevelWindows().size(), 1);
  QWindow* window = QGuiApplication::topLevelWindows().front();
  // At the scene's own size the pictures are the 1× ones read while loading, not read again.
  Frames done;
  ASSERT_NO_FATAL_FAILURE(drive(60, window, done));
  EXPECT_EQ(done.picturesOpened, 0);
  EXPECT_EQ(done.threadsStarted, 0);
  const QSize grown(1600, 1200);
  const auto flushes = drawing_->statistics().flushes;
  drawing_->followHostSize(grown);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return window->size() == grown && drawing_->statistics().flushes > flushes; },
      kWatchdogMs));

  done = {};
  drawnBefore_.clear();  // so the first frame at the new size is compared too
  // Airliner 2 first flies at frame 1026.
  ASSERT_NO_FATAL_FAILURE(drive(1100, window, done));
  EXPECT_EQ(done.picturesOpened, 0);
  EXPECT_EQ(done.threadsStarted, 0);
  EXPECT_EQ(done.comeBacks, 2);
}

}  // namespace
}  // namespace skyfare
