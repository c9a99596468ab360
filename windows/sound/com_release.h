#pragma once

#include <unknwn.h>

#include <memory>

namespace skyfare {

// Owns one reference to a COM object and gives it back when it goes.
struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};

template <class Interface>
using ComPtr = std::unique_ptr<Interface, ComRelease>;

}  // namespace skyfare
