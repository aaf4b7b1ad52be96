#pragma once

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

class ThreeDObjectFSection;
class ThreeDObjectWSection;
class ThreeDObjectXSection;

// One piece of a track's centre line, a straight or a circular arc, given by its two
// end points (metres) and headings (radians), with the cross sections, surface lines
// (F sections) and walls (W sections) that run along it, and a list of spans whose
// meaning is unknown, ordered by the sum of their first two values.
class ThreeDObjectTrackSegment : public virtual ThreeDObject {
public:
  virtual bool IsCurve() const = 0;
  virtual double GetCentrelineStartX() const = 0;
  virtual double GetCentrelineStartY() const = 0;
  virtual double GetCentrelineEndX() const = 0;
  virtual double GetCentrelineEndY() const = 0;
  virtual double GetStartOrientation() const = 0;
  virtual double GetEndOrientation() const = 0;

  // The section getters take an index below the matching count (else XAssertion) and
  // throw std::bad_cast when the stored reference names an object of another kind,
  // the null object included.
  virtual unsigned GetXSectionCount() const = 0;
  virtual CountedPtr<ThreeDObjectXSection> GetXSection(unsigned index) const = 0;
  virtual unsigned GetFSectionCount() const = 0;
  virtual CountedPtr<ThreeDObjectFSection> GetFSection(unsigned index) const = 0;
  virtual unsigned GetWSectionCount() const = 0;
  virtual CountedPtr<ThreeDObjectWSection> GetWSection(unsigned index) const = 0;

  // The span getters throw XAssertion for an index at or past the count.
  virtual unsigned GetSpanCount() const = 0;
  virtual F32 GetSpanA(unsigned index) const = 0;
  virtual F32 GetSpanB(unsigned index) const = 0;
  virtual U32 GetSpanCode(unsigned index) const = 0;
  virtual F32 GetSpanC(unsigned index) const = 0;
  virtual F32 GetSpanD(unsigned index) const = 0;

  // Visits the F sections, then the W sections, then the cross sections.
  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
