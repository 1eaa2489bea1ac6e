// An owning reference to a COM interface: released when it goes.
#pragma once

#include <unknwn.h>

#include <memory>

namespace h264decoder {

struct InterfaceRelease {
  void operator()(IUnknown *object) const { object->Release(); }
};

template <typename Interface>
using InterfaceRef = std::unique_ptr<Interface, InterfaceRelease>;

}  // namespace h264decoder
