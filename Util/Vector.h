#pragma once

#include <memory>
#include <vector>

namespace Ostra::Util {

template <class T, class Alloc = std::allocator<T>>
using Vector = std::vector<T, Alloc>;

} // namespace Ostra::Util
