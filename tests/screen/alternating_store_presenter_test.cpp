#include "screen/alternating_store_presenter.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QScreen>
#include <QTest>

#include "screen/presenter_choice.h"
#include "tests/screen/noise_picture.h"

namespace skyfare {
namespace {

constexpr int kWatchdogMs = 10'000;
constexpr QSize kWindowSize(320, 240);

using testing::noisePicture;

WindowPresenter::PaintPart paintFrom(const QImage& picture) {
  return [&picture](QPainter& painter, const QRegion&) { painter.drawImage(0, 0, picture); };
}

// On the offscreen platform, as on Wayland, what the window shows is the whole of the store
// flushed last, not only the parts it flushed.
class AlternatingStorePresenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.setSurfaceType(QSurface::RasterSurface);
    window_.setGeometry(QRect(QPoint(0, 0), kWindowSize));
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_, kWatchdogMs));
  }

  QImage windowOnScreen() {
    return window_.screen()
        ->grabWindow(window_.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

  QWindow window_;
};

// Changes the picture in the given parts to another's: one frame of a scene.
void changeParts(QImage& scene, const QRegion& parts, const QImage& next) {
  QPainter painter(&scene);
  painter.setClipRegion(parts);
  painter.drawImage(0, 0, next);
}

// A frame's parts land in one store; the next store used must also take up the parts of the
// frames it missed, or the window shows them as they were two frames ago.
TEST_F(AlternatingStorePresenterTest, EachFrameShowsEveryEarlierFramesParts) {
  AlternatingStorePresenter presenter(window_);
  QImage scene = noisePicture(kWindowSize, 1);
  presenter.present(QRect(QPoint(0, 0), kWindowSize), paintFrom(scene));
  ASSERT_EQ(windowOnScreen(), scene);
  for (int frame = 1; frame <= 5; ++frame) {
    const QRegion parts = QRegion(QRect(17 * frame, 9 * frame, 40 + 5 * frame, 30)) +
                          QRect(300 - 20 * frame, 200 - 25 * frame, 12, 12 + 3 * frame);
    changeParts(scene, parts, noisePicture(kWindowSize, 1 + frame));
    presenter.present(parts, paintFrom(scene));
    ASSERT_EQ(windowOnScreen(), scene) << "after frame " << frame;
  }
}

TEST_F(AlternatingStorePresenterTest, AResizedWindowIsPresentedWholeFromEitherStore) {
  AlternatingStorePresenter presenter(window_);
  const QImage first = noisePicture(kWindowSize, 7);
  presenter.present(QRect(QPoint(0, 0), kWindowSize), paintFrom(first));
  const QSize smaller = kWindowSize / 2;
  window_.resize(smaller);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_.size() == smaller; }, kWatchdogMs));
  presenter.resize(smaller);
  // Only a corner is damaged in each frame: the rest must come from the resize, in both stores.
  QImage scene = noisePicture(smaller, 8);
  const QRect corner(0, 0, 10, 10);
  presenter.present(corner, paintFrom(scene));
  EXPECT_EQ(windowOnScreen(), scene);
  changeParts(scene, corner, noisePicture(smaller, 9));
  presenter.present(corner, paintFrom(scene));
  EXPECT_EQ(windowOnScreen(), scene);
}

// Off X11 the cheapest presenter still shows the whole window, not a strip of it.
TEST_F(AlternatingStorePresenterTest, ThePresenterChosenOffX11ShowsTheWholeWindow) {
  const auto presenter = makeWindowPresenter(window_);
  const QImage picture = noisePicture(kWindowSize, 10);
  presenter->present(QRect(QPoint(0, 0), kWindowSize), paintFrom(picture));
  EXPECT_EQ(windowOnScreen(), picture);
}

}  // namespace
}  // namespace skyfare
