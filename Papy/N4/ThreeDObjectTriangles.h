#pragma once

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// Vertex indices, three per triangle.
class ThreeDObjectTriangles : public virtual ThreeDObject {
public:
  // The number of indices, not of triangles.
  virtual int GetVertexCount() const = 0;
  // Both throw XAssertion for an index outside the list.
  virtual U32 GetVertexIndex(int index) const = 0;
  virtual void SetVertexIndex(int index, U32 value) = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
