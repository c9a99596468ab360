#pragma once

#include <QWindow>
#include <memory>

#include "screen/window_presenter.h"

namespace skyfare {

// The cheapest presenter the window's display offers: frames put from shared memory where the
// X server allows it, else Qt's backing store (a strip of rows on X11, two full-size stores in
// turn elsewhere). The window must have its platform window.
std::unique_ptr<WindowPresenter> makeWindowPresenter(QWindow& window);

}  // namespace skyfare
