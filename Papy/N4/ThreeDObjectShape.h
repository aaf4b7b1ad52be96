#pragma once

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// A named mesh: a geometry drawn with an appearance.
class ThreeDObjectShape : public virtual ThreeDObject {
public:
  virtual CountedPtr<ThreeDObject> GetGeometry() const = 0;
  virtual CountedPtr<ThreeDObject> GetAppearance() const = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
