#pragma once

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// A mesh: a vertex list and the triangles that index it.
class ThreeDObjectGeometry : public virtual ThreeDObject {
public:
  virtual CountedPtr<ThreeDObject> GetVertices() const = 0;
  virtual CountedPtr<ThreeDObject> GetTriangles() const = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
