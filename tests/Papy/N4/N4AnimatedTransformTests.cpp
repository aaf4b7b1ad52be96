#include "Papy/N4/N4AnimatedTransform.h"

#include "N4KindFixtures.h"
#include "Papy/N4/N4Texture.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/Exception.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;

const std::size_t Body = BodyStart("AnimatedTransformDescriptor");

// A transform named "arm" and "pose" as the top object, with the null child unless
// child writes another, the values as stored and each state as its eight stored words.
std::vector<unsigned char> TransformFile(const std::vector<double>& stored_values,
                                         const std::vector<std::vector<U32>>& states,
                                         void (*child)(ByteBuilder&) = nullptr) {
  ByteBuilder b;
  NewClass(b, 1, 2, "AnimatedTransformDescriptor").U32(1);
  Text(b, "arm").U32(1).U32(1);
  for (int i = 0; i < 12; ++i)
    b.U32(0);
  F64s(b.U32(1), stored_values);
  if (child)
    child(b);
  else
    b.U32(0);
  Text(b.U32(1), "pose");
  b.U32(static_cast<U32>(states.size())).U32(static_cast<U32>(states.size() * 32));
  for (const std::vector<U32>& words : states)
    for (const U32 word : words)
      b.U32(word);
  return b.Data();
}

U32 Bits(float f) { return std::bit_cast<U32>(f); }

void TextureChild(ByteBuilder& b) {
  Text(NewClass(b, 3, 4, "TextureDescriptor").U32(1).U32(0).U32(1), "child.mip");
}

CountedPtr<N4AnimatedTransform> TopTransform(N4TdoFile& file) {
  return As<N4AnimatedTransform>(file.GetSubObject(1));
}

TEST(N4AnimatedTransformTest, StoresValueTwoBeforeOneAndStateValueThreeBeforeTwo) {
  N4TdoFile file(AllKinds(), nullptr);
  const CountedPtr<N4Texture> child = Add<N4Texture>(file, "child.mip");
  const CountedPtr<N4AnimatedTransform> transform = Add<N4AnimatedTransform>(
      file, "arm", "pose", 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, child->GetId());
  transform->SetStateCount(1);
  transform->SetStateInteger(0, 7);
  transform->SetStateValue1(0, 1.0);
  transform->SetStateValue2(0, 2.0);
  transform->SetStateValue3(0, 3.0);
  transform->SetStateValue4(0, 4.0);
  transform->SetStateValue5(0, 5.0);
  transform->SetStateValue6(0, 6.0);
  transform->SetDouble(0, 7.0);
  MakeRoot(file, transform);

  const std::vector<unsigned char> bytes = Saved(file);
  const std::vector<unsigned char> expected = TransformFile(
      {1, 3, 2, 4, 5, 6},
      {{7, Bits(1), Bits(3), Bits(2), Bits(4), Bits(5), Bits(6), Bits(7)}}, [](ByteBuilder& b) {
        // A made texture is version 2.
        Text(NewClass(b, 3, 4, "TextureDescriptor").U32(1).U32(0).U32(2), "child.mip").U8(0);
      });
  EXPECT_EQ(bytes, expected);

  auto read = Load(bytes);
  const CountedPtr<N4AnimatedTransform> back = TopTransform(*read);
  EXPECT_EQ(back->GetTypeName(), "AnimatedTransform");
  EXPECT_EQ(back->GetName(), "arm");
  EXPECT_EQ(back->GetSecondName(), "pose");
  const std::vector<double> values = {back->GetValue0(), back->GetValue1(), back->GetValue2(),
                                      back->GetValue3(), back->GetValue4(), back->GetValue5()};
  EXPECT_EQ(values, (std::vector<double>{1, 2, 3, 4, 5, 6}));
  ASSERT_EQ(back->GetStateCount(), 1);
  EXPECT_EQ(back->GetStateInteger(0), 7);
  const std::vector<double> state = {back->GetStateValue1(0), back->GetStateValue2(0),
                                     back->GetStateValue3(0), back->GetStateValue4(0),
                                     back->GetStateValue5(0), back->GetStateValue6(0),
                                     back->GetDouble(0)};
  EXPECT_EQ(state, (std::vector<double>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(As<ThreeDObjectTexture2>(back->GetChild())->GetTextureName(), "child.mip");
  EXPECT_EQ(Saved(*read), bytes);
}

TEST(N4AnimatedTransformTest, StatesAreFloatsAddedAsZeros) {
  N4TdoFile file(AllKinds(), nullptr);
  const CountedPtr<N4AnimatedTransform> transform =
      Add<N4AnimatedTransform>(file, "t", "", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0u);
  EXPECT_EQ(transform->GetDoubleCount(), 0u);
  EXPECT_THROW(transform->SetDouble(0, 1.0), Util::XAssertion);
  transform->SetStateCount(3);
  ASSERT_EQ(transform->GetDoubleCount(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(transform->GetStateInteger(i), 0);
    EXPECT_EQ(transform->GetStateValue6(i), 0.0);
    EXPECT_EQ(transform->GetDouble(static_cast<unsigned>(i)), 0.0);
  }
  transform->SetDouble(0, 0.1);
  EXPECT_EQ(transform->GetDouble(0), 0.10000000149011612);
  transform->SetStateValue4(2, 0.1);
  EXPECT_EQ(transform->GetStateValue4(2), 0.10000000149011612);
  EXPECT_THROW(transform->GetStateValue1(3), Util::XAssertion);
  EXPECT_THROW(transform->SetStateCount(-1), Util::XAssertion);
  EXPECT_THROW(transform->SetName("x"), Util::XAssertion);
}

TEST(N4AnimatedTransformTest, ReadsAnEmptyStateListAndItsChild) {
  const std::vector<unsigned char> bytes = TransformFile({0, 0, 0, 0, 0, 0}, {}, TextureChild);
  auto file = Load(bytes);
  EXPECT_EQ(TopTransform(*file)->GetStateCount(), 0);
  EXPECT_EQ(TopTransform(*file)->GetChild()->GetId(), 3u);
  EXPECT_EQ(Saved(*file), bytes);
}

TEST(N4AnimatedTransformTest, DamagedBodiesFailWithTheirField) {
  const std::vector<unsigned char> good = TransformFile({0, 0, 0, 0, 0, 0}, {{0, 0, 0, 0, 0, 0, 0, 0}});
  // "arm" takes 8 bytes, the null child 4 and "pose" 9.
  const std::size_t reserved3 = Body + 20;
  const std::size_t reserved5 = Body + 124;
  const std::size_t count = reserved5 + 4 + 9;
  const BrokenCase cases[] = {
      {"reserved0", Patched(good, Body, 0), Failure::Format,
       "N4 3do AnimatedTransform reserved0 not 1"},
      {"reserved1", Patched(good, Body + 12, 0), Failure::Format,
       "N4 3do AnimatedTransform reserved1 not 1"},
      {"reserved2", Patched(good, Body + 16, 2), Failure::Format,
       "N4 3do AnimatedTransform reserved2 not 1"},
      {"fifth word of reserved3", Patched(good, reserved3 + 16, 1), Failure::Format,
       "N4 3do AnimatedTransform reserved3 not 0"},
      {"reserved4", Patched(good, reserved3 + 48, 0), Failure::Format,
       "N4 3do AnimatedTransform reserved4 not 1"},
      {"reserved5", Patched(good, reserved5, 0), Failure::Format,
       "N4 3do AnimatedTransform reserved5 not 1"},
      {"byte size one state short", Patched(good, count + 4, 0), Failure::Format,
       "N4 3do AnimatedTransform state array size error"},
      // 2^27 states make 2^32 bytes: 0 in 32 bits.
      {"byte size that wraps to 0", Patched(Patched(good, count, 0x08000000), count + 4, 0),
       Failure::Format, "N4 3do AnimatedTransform state array size error"},
      {"more states than bytes left", Patched(Patched(good, count, 1000), count + 4, 32000),
       Failure::Read, ""},
      {"child reference past the counter", Patched(good, Body + 120, 7), Failure::Format,
       "N4 archive object id error"},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

TEST(N4AnimatedTransformTest, TheWalkEntersTheChildUnlessRefused) {
  struct Recorder : ThreeDObjectVisitor {
    explicit Recorder(bool enter) : Enter(enter) {}
    bool EnterAnimatedTransform(ThreeDObjectAnimatedTransform&) override {
      Log += "enter ";
      return Enter;
    }
    void LeaveAnimatedTransform(ThreeDObjectAnimatedTransform&) override { Log += "leave"; }
    void VisitTexture2(ThreeDObjectTexture2&) override { Log += "child "; }
    bool Enter;
    std::string Log;
  };
  auto file = Load(TransformFile({0, 0, 0, 0, 0, 0}, {}, TextureChild));
  Recorder entering(true);
  file->GetSubObject(1)->Accept(entering);
  EXPECT_EQ(entering.Log, "enter child leave");
  Recorder refusing(false);
  file->GetSubObject(1)->Accept(refusing);
  EXPECT_EQ(refusing.Log, "enter leave");
}

} // namespace
} // namespace Ostra::Papy
