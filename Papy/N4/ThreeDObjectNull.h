#pragma once

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// The null object: what id 0 resolves to. A reference that names no object still
// resolves to an object that can be visited and written.
class ThreeDObjectNull : public virtual ThreeDObject {
public:
  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
