#pragma once

#include <string>
#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectAnimatedTransform.h"

namespace Ostra::Papy {

// Format notes: animated-transform body, after the object reference.
//   U32 1, string name, U32 1, U32 1, 12 x U32 0, U32 1,
//   F64 Value0, Value2, Value1, Value3, Value4, Value5 (2 before 1),
//   child reference, U32 1, string second name,
//   U32 state count c, U32 byte size 32 c, c states of eight 4-byte words:
//   S32 integer, F32 value1, value3, value2, value4, value5, value6, value7 (3 before 2).
// Written but not read by the editor.
class N4AnimatedTransform final : public ThreeDObjectAnimatedTransform, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 3do AnimatedTransform ...", XFileRead for a
  // short stream and the archive's errors.
  N4AnimatedTransform(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);
  // No states. The archive position is 0 until the transform is written.
  N4AnimatedTransform(N4TdoFile& owner, U32 id, const std::string& name,
                      const std::string& second_name, double value0, double value1,
                      double value2, double value3, double value4, double value5, U32 child_id);

  std::string GetTypeName() const override { return "AnimatedTransform"; }
  std::string GetName() const override { return Name; }
  unsigned GetDoubleCount() const override { return static_cast<unsigned>(States.size()); }
  // Both throw XAssertion for an index at or past the count.
  double GetDouble(unsigned index) const override;
  void SetDouble(unsigned index, double value) override;
  void Write(Util::BinaryStream& stream, int reserved) override;

  CountedPtr<ThreeDObject> GetChild() const override { return Resolve(Child); }
  std::string GetSecondName() const override { return SecondName; }
  double GetValue0() const override { return Value0; }
  void SetValue0(double value) override { Value0 = value; }
  double GetValue1() const override { return Value1; }
  void SetValue1(double value) override { Value1 = value; }
  double GetValue2() const override { return Value2; }
  void SetValue2(double value) override { Value2 = value; }
  double GetValue3() const override { return Value3; }
  void SetValue3(double value) override { Value3 = value; }
  double GetValue4() const override { return Value4; }
  void SetValue4(double value) override { Value4 = value; }
  double GetValue5() const override { return Value5; }
  void SetValue5(double value) override { Value5 = value; }
  int GetStateCount() const override { return static_cast<int>(States.size()); }
  void SetStateCount(int count) override;
  S32 GetStateInteger(int index) const override { return At(index).Integer; }
  void SetStateInteger(int index, S32 value) override { At(index).Integer = value; }
  double GetStateValue1(int index) const override { return At(index).Value1; }
  void SetStateValue1(int index, double value) override { At(index).Value1 = ToFloat(value); }
  double GetStateValue2(int index) const override { return At(index).Value2; }
  void SetStateValue2(int index, double value) override { At(index).Value2 = ToFloat(value); }
  double GetStateValue3(int index) const override { return At(index).Value3; }
  void SetStateValue3(int index, double value) override { At(index).Value3 = ToFloat(value); }
  double GetStateValue4(int index) const override { return At(index).Value4; }
  void SetStateValue4(int index, double value) override { At(index).Value4 = ToFloat(value); }
  double GetStateValue5(int index) const override { return At(index).Value5; }
  void SetStateValue5(int index, double value) override { At(index).Value5 = ToFloat(value); }
  double GetStateValue6(int index) const override { return At(index).Value6; }
  void SetStateValue6(int index, double value) override { At(index).Value6 = ToFloat(value); }

private:
  struct State {
    S32 Integer = 0;
    F32 Value1 = 0.0f;
    F32 Value2 = 0.0f;
    F32 Value3 = 0.0f;
    F32 Value4 = 0.0f;
    F32 Value5 = 0.0f;
    F32 Value6 = 0.0f;
    F32 Value7 = 0.0f;
  };

  static F32 ToFloat(double value) { return static_cast<F32>(value); }
  const State& At(int index) const;
  State& At(int index);

  std::string Name;
  std::string SecondName;
  U32 Child = 0;
  double Value0 = 0.0;
  double Value1 = 0.0;
  double Value2 = 0.0;
  double Value3 = 0.0;
  double Value4 = 0.0;
  double Value5 = 0.0;
  std::vector<State> States;
};

class N4ArchiverAnimatedTransform final : public N4ArchiverOf<N4AnimatedTransform> {
public:
  // Made on first use, never freed.
  static const N4ArchiverAnimatedTransform& Instance();
  const char* GetDescriptorName() const override { return "AnimatedTransformDescriptor"; }
};

} // namespace Ostra::Papy
