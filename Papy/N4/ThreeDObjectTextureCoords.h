#pragma once

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// Per-vertex texture coordinates (u, v) of a track surface. The optional per-vertex
// value channels are exposed through the integer list (the channel numbers) and the
// double list (their values, channel after channel).
class ThreeDObjectTextureCoords : public virtual ThreeDObject {
public:
  virtual int GetVertexCount() const = 0;
  virtual bool HasTextureVertices() const = 0;
  // Throws XAssertion unless HasTextureVertices and index is below the vertex count.
  virtual Point2D GetTextureVertex(int index) const = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
