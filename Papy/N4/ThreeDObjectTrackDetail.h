#pragma once

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// A detail of a track: five values, one object of any kind and four plan points. What
// they mean is unknown; they are kept as read.
class ThreeDObjectTrackDetail : public virtual ThreeDObject {
public:
  static constexpr unsigned PointCount = 4;

  virtual double GetValueA() const = 0;
  virtual double GetValueD() const = 0;
  virtual double GetValueB() const = 0;
  virtual double GetValueC() const = 0;
  virtual double GetValueE() const = 0;
  // The referred object as stored, not cast: the null object when there is none.
  virtual CountedPtr<ThreeDObject> GetObject() const = 0;
  // Throws XAssertion for an index at or past PointCount.
  virtual Point2D GetPoint(unsigned index) const = 0;

  // Visits the referred object.
  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
