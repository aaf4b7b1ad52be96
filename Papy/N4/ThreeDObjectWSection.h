#pragma once

#include "Papy/N4/ThreeDObject.h"
#include "Papy/Track/Point3D.h"
#include "Papy/Types/SurfaceType.h"

namespace Ostra::Papy {

class ThreeDObjectAppearance;
class ThreeDObjectTextureCoords;

// One wall along a track segment: its centre line's latitude, its height and width at
// the segment's start and end, its wall type, an optional cross profile, and a grid of
// faces of GetRowCount rows and ColumnCount columns. A face with an appearance carries
// one layer record per texture of that appearance.
class ThreeDObjectWSection : public virtual ThreeDObject {
public:
  static constexpr unsigned ColumnCount = 5;

  virtual bool GetFlag() const = 0;
  // Metres; the latitude grows to the left.
  virtual double GetStartLatitude() const = 0;
  virtual double GetEndLatitude() const = 0;
  virtual double GetStartHeight() const = 0;
  virtual double GetEndHeight() const = 0;
  virtual double GetStartWidth() const = 0;
  virtual double GetEndWidth() const = 0;
  virtual double GetStartExtent() const = 0;
  virtual double GetEndExtent() const = 0;
  virtual WallType GetWallType() const = 0;
  virtual bool IsDirectionZero() const = 0;
  virtual bool HasProfile() const = 0;
  virtual unsigned GetProfilePointCount() const = 0;
  // z is 0. Throws XAssertion for an index at or past the count.
  virtual Point3D GetProfilePoint(unsigned index) const = 0;
  virtual unsigned GetRowCount() const = 0;
  // The boundaries between rows, one fewer than the rows. Throws XAssertion for an
  // index at or past that.
  virtual double GetRowBoundary(unsigned index) const = 0;

  // The face operations take a row below GetRowCount and a column below ColumnCount,
  // and throw XAssertion otherwise.
  virtual bool HasAppearance(unsigned row, unsigned column) const = 0;
  // Throws std::bad_cast when the face has no appearance (test HasAppearance first).
  virtual CountedPtr<ThreeDObjectAppearance> GetAppearance(unsigned row, unsigned column) const = 0;
  virtual bool HasTextureCoords(unsigned row, unsigned column) const = 0;
  // Throws std::bad_cast when the face has none (test HasTextureCoords first).
  virtual CountedPtr<ThreeDObjectTextureCoords> GetTextureCoords(unsigned row,
                                                                 unsigned column) const = 0;
  virtual bool HasTexture(unsigned row, unsigned column) const = 0;
  virtual bool HasSecondTexture(unsigned row, unsigned column) const = 0;

  // Layer records of a face; the layer getters throw XAssertion for a layer at or past
  // the face's count.
  virtual unsigned GetLayerCount(unsigned row, unsigned column) const = 0;
  virtual bool GetLayerFlagA(unsigned row, unsigned column, unsigned layer) const = 0;
  virtual bool GetLayerFlagB(unsigned row, unsigned column, unsigned layer) const = 0;
  virtual double GetLayerValue1(unsigned row, unsigned column, unsigned layer) const = 0;
  virtual double GetLayerValue2(unsigned row, unsigned column, unsigned layer) const = 0;
  virtual bool GetLayerFlagC(unsigned row, unsigned column, unsigned layer) const = 0;
  virtual double GetLayerValue3(unsigned row, unsigned column, unsigned layer) const = 0;
  virtual double GetLayerValue4(unsigned row, unsigned column, unsigned layer) const = 0;

  // Visits each face with an appearance, row by row: its appearance, then its texture
  // coordinates when it has them.
  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
