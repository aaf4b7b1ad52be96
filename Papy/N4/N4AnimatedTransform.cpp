#include "Papy/N4/N4AnimatedTransform.h"

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {
constexpr unsigned ZeroWords = 12;
constexpr U32 StateSize = 32;
// The byte size of the state array is a U32.
constexpr U32 MaxStateCount = 0xFFFFFFFFu / StateSize;
} // namespace

void ThreeDObjectAnimatedTransform::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterAnimatedTransform(*this))
    GetChild()->Accept(visitor);
  visitor.LeaveAnimatedTransform(*this);
}

N4AnimatedTransform::N4AnimatedTransform(N4TdoFile& owner, N4Archiver& reader, U32 id,
                                         S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 3do AnimatedTransform reserved0 not 1");
  Name = ReadString(stream);
  reader.ExpectU32(1, "N4 3do AnimatedTransform reserved1 not 1");
  reader.ExpectU32(1, "N4 3do AnimatedTransform reserved2 not 1");
  for (unsigned i = 0; i < ZeroWords; ++i)
    reader.ExpectU32(0, "N4 3do AnimatedTransform reserved3 not 0");
  reader.ExpectU32(1, "N4 3do AnimatedTransform reserved4 not 1");
  Value0 = Util::ReadF64(stream);
  Value2 = Util::ReadF64(stream);
  Value1 = Util::ReadF64(stream);
  Value3 = Util::ReadF64(stream);
  Value4 = Util::ReadF64(stream);
  Value5 = Util::ReadF64(stream);
  Child = reader.ReadObjectReference();
  reader.ExpectU32(1, "N4 3do AnimatedTransform reserved5 not 1");
  SecondName = ReadString(stream);

  const U32 count = Util::ReadU32(stream);
  // In 64 bits: 32 c in 32 bits would let a wrapped byte size pass for a huge count.
  reader.ReadByteSize(count, StateSize, "N4 3do AnimatedTransform state array size error");
  States.reserve(count);
  for (U32 i = 0; i < count; ++i) {
    State state;
    state.Integer = Util::ReadS32(stream);
    state.Value1 = Util::ReadF32(stream);
    state.Value3 = Util::ReadF32(stream);
    state.Value2 = Util::ReadF32(stream);
    state.Value4 = Util::ReadF32(stream);
    state.Value5 = Util::ReadF32(stream);
    state.Value6 = Util::ReadF32(stream);
    state.Value7 = Util::ReadF32(stream);
    States.push_back(state);
  }
}

N4AnimatedTransform::N4AnimatedTransform(N4TdoFile& owner, U32 id, const std::string& name,
                                         const std::string& second_name, double value0,
                                         double value1, double value2, double value3,
                                         double value4, double value5, U32 child_id)
    : N4Object(owner, id, 0), Name(name), SecondName(second_name), Child(child_id),
      Value0(value0), Value1(value1), Value2(value2), Value3(value3), Value4(value4),
      Value5(value5) {}

double N4AnimatedTransform::GetDouble(unsigned index) const {
  UTIL_ASSERT(index < States.size());
  return States[index].Value7;
}

void N4AnimatedTransform::SetDouble(unsigned index, double value) {
  UTIL_ASSERT(index < States.size());
  States[index].Value7 = ToFloat(value);
}

void N4AnimatedTransform::SetStateCount(int count) {
  UTIL_ASSERT(count >= 0 && static_cast<U32>(count) <= MaxStateCount);
  States.resize(static_cast<std::size_t>(count));
}

const N4AnimatedTransform::State& N4AnimatedTransform::At(int index) const {
  UTIL_ASSERT(index >= 0 && static_cast<std::size_t>(index) < States.size());
  return States[static_cast<std::size_t>(index)];
}

N4AnimatedTransform::State& N4AnimatedTransform::At(int index) {
  UTIL_ASSERT(index >= 0 && static_cast<std::size_t>(index) < States.size());
  return States[static_cast<std::size_t>(index)];
}

void N4AnimatedTransform::Write(Util::BinaryStream& stream, int reserved) {
  if (!WriteHeader(N4ArchiverAnimatedTransform::Instance()))
    return;
  Util::WriteU32(stream, 1);
  WriteString(stream, Name);
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 1);
  for (unsigned i = 0; i < ZeroWords; ++i)
    Util::WriteU32(stream, 0);
  Util::WriteU32(stream, 1);
  for (const double value : {Value0, Value2, Value1, Value3, Value4, Value5})
    Util::WriteF64(stream, value);
  GetChild()->Write(stream, reserved);
  Util::WriteU32(stream, 1);
  WriteString(stream, SecondName);

  const U32 count = static_cast<U32>(States.size());
  Util::WriteU32(stream, count);
  Util::WriteU32(stream, count * StateSize);
  for (const State& state : States) {
    Util::WriteS32(stream, state.Integer);
    for (const F32 value : {state.Value1, state.Value3, state.Value2, state.Value4, state.Value5,
                            state.Value6, state.Value7})
      Util::WriteF32(stream, value);
  }
}

const N4ArchiverAnimatedTransform& N4ArchiverAnimatedTransform::Instance() {
  static const N4ArchiverAnimatedTransform* const instance = new N4ArchiverAnimatedTransform;
  return *instance;
}

} // namespace Ostra::Papy
