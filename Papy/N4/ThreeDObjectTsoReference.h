#pragma once

#include <string>

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// The placement of an object beside the track: six values, the placed object, and from
// the later layout on a wind-direction switch, an optional block of settings, named
// entries and a label. What the values and settings mean is unknown; they are kept as
// read.
class ThreeDObjectTsoReference : public virtual ThreeDObject {
public:
  // The placed object as stored, not cast: the null object when there is none.
  virtual CountedPtr<ThreeDObject> GetReferencedObject() const = 0;
  virtual bool HasBlock() const = 0;
  // The block getters report the stored fields whether or not HasBlock: an empty
  // name and zeros without a block.
  virtual std::string GetBlockName() const = 0;
  // 0 or 1 as stored; 2 for any other stored mode.
  virtual int GetBlockMode() const = 0;
  virtual U32 GetBlockInteger() const = 0;
  virtual F32 GetBlockValue() const = 0;
  virtual double GetValue1() const = 0;
  virtual void SetValue1(double value) = 0;
  virtual double GetValue2() const = 0;
  virtual void SetValue2(double value) = 0;
  virtual double GetValue3() const = 0;
  virtual void SetValue3(double value) = 0;
  virtual bool GetWindDirection() const = 0;
  // Ignored by a placement of the early layout, which has no place for it.
  virtual void SetWindDirection(bool wind_direction) = 0;
  virtual double GetValue4() const = 0;
  virtual void SetValue4(double value) = 0;
  virtual double GetValue5() const = 0;
  virtual void SetValue5(double value) = 0;
  virtual double GetValue6() const = 0;
  virtual void SetValue6(double value) = 0;
  // The entry getters throw XAssertion for an index at or past the count.
  virtual unsigned GetEntryCount() const = 0;
  virtual std::string GetEntryName(unsigned index) const = 0;
  virtual U32 GetEntryInteger(unsigned index) const = 0;
  virtual F32 GetEntryValue(unsigned index) const = 0;
  virtual bool HasLabel() const = 0;
  virtual std::string GetLabel() const = 0;

  // Visits the placed object.
  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
