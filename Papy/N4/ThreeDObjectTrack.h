#pragma once

#include <array>
#include <string>

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

class ThreeDObjectTrackSegment;

// A whole track, the top object of a .ptf file: its segments in order, its details,
// its trackside-object placements and a few track-wide values whose meaning is
// unknown. The track refers to its parts by id, so it is usable only while its file
// lives.
class ThreeDObjectTrack : public virtual ThreeDObject {
public:
  virtual F32 GetFloatValue() const = 0;
  virtual bool GetFlag() const = 0;
  // The three track-wide doubles as floats, then 1.0.
  virtual std::array<F32, 4> GetVector4() const = 0;

  // The indexed getters throw XAssertion for an index at or past the matching count.
  virtual unsigned GetDetailCount() const = 0;
  virtual CountedPtr<ThreeDObject> GetDetail(unsigned index) const = 0;
  virtual unsigned GetTsoCount() const = 0;
  virtual CountedPtr<ThreeDObject> GetTso(unsigned index) const = 0;
  virtual unsigned GetSegmentCount() const = 0;
  // An empty pointer when the stored reference names an object of another kind.
  virtual CountedPtr<ThreeDObjectTrackSegment> GetSegment(unsigned index) const = 0;
  virtual unsigned GetBumpMapCount() const = 0;
  virtual std::string GetBumpMapName(unsigned index) const = 0;
  // value below 4.
  virtual F32 GetBumpMapFirstValue(unsigned index, unsigned value) const = 0;
  virtual F32 GetBumpMapSecondValue(unsigned index, unsigned value) const = 0;

  // Visits every segment, then every detail, then every trackside-object placement,
  // whatever the Before operations answer. A reference that is not a segment is
  // passed over.
  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
