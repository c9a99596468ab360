#include "screen/window_presenter.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <optional>
#include <string>

#include "screen/backing_store_presenter.h"
#include "screen/presenter_choice.h"
#include "screen/shm_presenter.h"
#include "tests/screen/noise_picture.h"

namespace skyfare {
namespace {

constexpr int kWatchdogMs = 10'000;
constexpr QSize kWindowSize(640, 480);

using testing::noisePicture;

// Sets an environment variable for its life and puts back what was there.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name))
      old_ = old;
    setenv(name, value, 1);
  }
  ~ScopedVariable() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class WindowPresenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
      GTEST_SKIP() << "needs an X server";
    window_.setSurfaceType(QSurface::RasterSurface);
    window_.setFlags(Qt::Window | Qt::FramelessWindowHint);
    window_.setGeometry(QRect(QPoint(0, 0), kWindowSize));
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_, kWatchdogMs));
  }

  // The window's whole picture, then a second one in many small parts over it, as frames
  // come: the whole picture does not fit the presenter's memory at once, and the parts are
  // of every width.
  QImage presentTwoFrames(WindowPresenter& presenter) {
    const QImage first = noisePicture(kWindowSize, 1);
    const QImage second = noisePicture(kWindowSize, 2);
    const auto paintFrom = [](const QImage& picture) {
      return [&picture](QPainter& painter, const QRegion&) { painter.drawImage(0, 0, picture); };
    };
    presenter.present(QRegion(QRect(QPoint(0, 0), kWindowSize)), paintFrom(first));
    QRegion parts;
    for (int i = 0; i < 40; ++i) parts += QRect(13 * i, 11 * i, 1 + 7 * i, 3 + i);
    presenter.present(parts, paintFrom(second));

    QImage expected = first;
    QPainter painter(&expected);
    painter.setClipRegion(parts);
    painter.drawImage(0, 0, second);
    return expected;
  }

  QImage windowOnScreen() {
    return window_.screen()
        ->grabWindow(window_.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  QWindow window_;
};

TEST_F(WindowPresenterTest, SharedMemoryPutsEveryPartWhereItBelongs) {
  const auto presenter = ShmPresenter::create(window_);
  ASSERT_NE(presenter, nullptr);
  const QImage expected = presentTwoFrames(*presenter);
  EXPECT_EQ(windowOnScreen(), expected);
}

TEST_F(WindowPresenterTest, ABackingStoreShowsTheSamePixels) {
  BackingStorePresenter presenter(window_);
  const QImage expected = presentTwoFrames(presenter);
  EXPECT_EQ(windowOnScreen(), expected);
}

TEST_F(WindowPresenterTest, SharedMemoryTurnedOffForQtIsOffForUsToo) {
  const ScopedVariable off("QT_X11_NO_MITSHM", "1");
  EXPECT_EQ(ShmPresenter::create(window_), nullptr);
  const auto presenter = makeWindowPresenter(window_);
  ASSERT_NE(presenter, nullptr);
  const QImage expected = presentTwoFrames(*presenter);
  EXPECT_EQ(windowOnScreen(), expected);
}

TEST_F(WindowPresenterTest, AResizedWindowIsPresentedWhole) {
  const auto presenter = ShmPresenter::create(window_);
  ASSERT_NE(presenter, nullptr);
  window_.resize(kWindowSize / 2);
  presenter->resize(kWindowSize / 2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_.size() == kWindowSize / 2; }, kWatchdogMs));
  const QImage picture = noisePicture(kWindowSize / 2, 3);
  presenter->present(QRegion(QRect(QPoint(0, 0), kWindowSize / 2)),
                     [&](QPainter& painter, const QRegion&) { painter.drawImage(0, 0, picture); });
  EXPECT_EQ(windowOnScreen(), picture);
}

}  // namespace
}  // namespace skyfare
