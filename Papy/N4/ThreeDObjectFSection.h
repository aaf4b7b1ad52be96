#pragma once

#include "Papy/N4/ThreeDObject.h"
#include "Papy/Types/SurfaceType.h"

namespace Ostra::Papy {

// One edge line of the surface strips of a track segment: its latitude at the
// segment's start and end (metres, growing to the left), the surface of the strip to
// its left, and the appearance that draws it with one layer record per texture. Two
// consecutive lines of a segment bound one strip.
class ThreeDObjectFSection : public virtual ThreeDObject {
public:
  // The appearance and texture coordinates as stored, not cast: the null object when
  // there is none.
  virtual CountedPtr<ThreeDObject> GetAppearance() const = 0;
  virtual CountedPtr<ThreeDObject> GetTextureCoords() const = 0;
  virtual bool GetFlag() const = 0;
  virtual double GetStartLatitude() const = 0;
  virtual double GetEndLatitude() const = 0;
  // Throws XAssertion("false") for a stored surface code that has no surface type.
  virtual SurfaceType GetSurfaceType() const = 0;
  // Always 0: N4 surfaces carry no grip modifier.
  virtual int GetGripModifier() const = 0;
  // A second classification of the line, 0 to 6; its meaning is unknown.
  virtual int GetSecondaryType() const = 0;
  virtual bool HasTexture() const = 0;
  virtual bool HasSecondTexture() const = 0;

  // Layer records, one per texture of the appearance. The layer getters throw
  // XAssertion for a layer at or past the count.
  virtual unsigned GetLayerCount() const = 0;
  virtual bool GetLayerFlagA(unsigned layer) const = 0;
  virtual bool GetLayerFlagB(unsigned layer) const = 0;
  virtual double GetLayerValue1(unsigned layer) const = 0;
  virtual double GetLayerValue3(unsigned layer) const = 0;
  virtual double GetLayerValue4(unsigned layer) const = 0;
  virtual bool GetLayerFlagC(unsigned layer) const = 0;
  virtual double GetLayerValue2(unsigned layer) const = 0;
  virtual double GetLayerValue5(unsigned layer) const = 0;

  // Visits the appearance, then the texture coordinates.
  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
