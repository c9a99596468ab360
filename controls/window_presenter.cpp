#include "controls/window_presenter.h"

#include "controls/backing_store_presenter.h"
#include "controls/shm_presenter.h"

namespace skyfare {

std::unique_ptr<WindowPresenter> makeWindowPresenter(QWindow& window) {
  if (auto shared = ShmPresenter::create(window))
    return shared;
  return std::make_unique<BackingStorePresenter>(window);
}

}  // namespace skyfare
