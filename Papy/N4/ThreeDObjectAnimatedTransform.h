#pragma once

#include <string>

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// A named node that transforms one child object: six transform values and a list of
// state records (an integer and seven floats each). None of the values is interpreted
// here. Every state accessor throws XAssertion for an index at or past the count.
// The double list of ThreeDObject holds value7 of each state.
class ThreeDObjectAnimatedTransform : public virtual ThreeDObject {
public:
  virtual CountedPtr<ThreeDObject> GetChild() const = 0;
  virtual std::string GetSecondName() const = 0;
  virtual double GetValue0() const = 0;
  virtual void SetValue0(double value) = 0;
  virtual double GetValue1() const = 0;
  virtual void SetValue1(double value) = 0;
  virtual double GetValue2() const = 0;
  virtual void SetValue2(double value) = 0;
  virtual double GetValue3() const = 0;
  virtual void SetValue3(double value) = 0;
  virtual double GetValue4() const = 0;
  virtual void SetValue4(double value) = 0;
  virtual double GetValue5() const = 0;
  virtual void SetValue5(double value) = 0;
  virtual int GetStateCount() const = 0;
  // New states are all zero. Throws XAssertion for a negative count.
  virtual void SetStateCount(int count) = 0;
  virtual S32 GetStateInteger(int index) const = 0;
  virtual void SetStateInteger(int index, S32 value) = 0;
  // The state values are floats: the setters round to the nearest float.
  virtual double GetStateValue1(int index) const = 0;
  virtual void SetStateValue1(int index, double value) = 0;
  virtual double GetStateValue2(int index) const = 0;
  virtual void SetStateValue2(int index, double value) = 0;
  virtual double GetStateValue3(int index) const = 0;
  virtual void SetStateValue3(int index, double value) = 0;
  virtual double GetStateValue4(int index) const = 0;
  virtual void SetStateValue4(int index, double value) = 0;
  virtual double GetStateValue5(int index) const = 0;
  virtual void SetStateValue5(int index, double value) = 0;
  virtual double GetStateValue6(int index) const = 0;
  virtual void SetStateValue6(int index, double value) = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
