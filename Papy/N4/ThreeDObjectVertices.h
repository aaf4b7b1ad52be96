#pragma once

#include "Papy/N4/ThreeDObject.h"
#include "Papy/Track/Point3D.h"

namespace Ostra::Papy {

// Per-vertex positions and directions, and optionally one or two sets of texture
// vertices. Every accessor that takes an index throws XAssertion for an index outside
// the vertex count (or outside an absent texture-vertex set).
class ThreeDObjectVertices : public virtual ThreeDObject {
public:
  virtual int GetVertexCount() const = 0;
  virtual Point3D GetPosition(int index) const = 0;
  virtual void SetPosition(int index, const Point3D& position) = 0;
  virtual Direction3D GetDirection(int index) const = 0;
  virtual void SetDirection(int index, const Direction3D& direction) = 0;
  virtual bool HasTextureVertices() const = 0;
  virtual Point2D GetTextureVertex(int index) const = 0;
  virtual void SetTextureVertex(int index, const Point2D& vertex) = 0;
  virtual bool HasSecondTextureVertices() const = 0;
  virtual Point2D GetSecondTextureVertex(int index) const = 0;
  virtual void SetSecondTextureVertex(int index, const Point2D& vertex) = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
