#include "screen/presenter_choice.h"

#include <QGuiApplication>

#include "screen/alternating_store_presenter.h"
#include "screen/backing_store_presenter.h"
#include "screen/shm_presenter.h"

namespace skyfare {

std::unique_ptr<WindowPresenter> makeWindowPresenter(QWindow& window) {
  if (auto shared = ShmPresenter::create(window))
    return shared;
  // An X server keeps the window's picture, so a store of a few rows put at an offset serves;
  // elsewhere the store is the surface's buffer and must hold the whole window.
  if (QGuiApplication::platformName() == QStringLiteral("xcb"))
    return std::make_unique<BackingStorePresenter>(window);
  return std::make_unique<AlternatingStorePresenter>(window);
}

}  // namespace skyfare
