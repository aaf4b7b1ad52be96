#include "Papy/N4/N4XSection.h"

#include "N4KindFixtures.h"
#include "TestSupport/N4PtfBuilder.h"

#include <gtest/gtest.h>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;
using Test::N4PtfBuilder;

using Plan = N4PtfBuilder::XSection;
using Entry = N4PtfBuilder::XEntry;

Plan Wide() {
  return Plan{.Version = 2, .StartLatitude = -10.25, .EndLatitude = -9.5, .StartAltitude = 1.125,
              .EndAltitude = 2.0625, .StartSlope = 0.1, .EndSlope = -0.2};
}

Plan Packed(Entry first, Entry second) {
  Plan plan = Wide();
  plan.Version = 3;
  plan.StartAltitude = 1.0 / 3.0;
  plan.Entries = {first, second};
  return plan;
}

N4PtfBuilder Built(const Plan& plan) {
  N4PtfBuilder b;
  b.Write(plan);
  return b;
}

CountedPtr<N4XSection> Top(N4TdoFile& file) { return As<N4XSection>(file.GetSubObject(1)); }

TEST(N4XSection, ReadsTheWideLayoutInFileOrder) {
  const auto file = Load(Built(Wide()).Data());
  const auto x = Top(*file);
  EXPECT_EQ(x->GetTypeName(), "X_Section");
  EXPECT_EQ(x->GetStartLatitude(), -10.25);
  EXPECT_EQ(x->GetEndLatitude(), -9.5);
  EXPECT_EQ(x->GetStartAltitude(), 1.125);
  EXPECT_EQ(x->GetEndAltitude(), 2.0625);
  EXPECT_EQ(x->GetStartSlope(), 0.1);
  EXPECT_EQ(x->GetEndSlope(), -0.2);
  EXPECT_EQ(x->GetIntegerCount(), 0u);
  EXPECT_EQ(x->GetDoubleCount(), 0u);
  EXPECT_EQ(x->GetBoolCount(), 0u);
  EXPECT_THROW(x->GetBool(0), Util::XAssertion);
}

TEST(N4XSection, PackedLayoutKeepsAltitudesWideAndNarrowsTheRest) {
  const auto file = Load(Built(Packed({}, {})).Data());
  const auto x = Top(*file);
  EXPECT_EQ(x->GetStartAltitude(), 1.0 / 3.0);
  EXPECT_EQ(x->GetStartSlope(), static_cast<double>(0.1f));
  EXPECT_EQ(x->GetEndSlope(), static_cast<double>(-0.2f));
  EXPECT_EQ(x->GetStartLatitude(), -10.25);
}

TEST(N4XSection, BodySizeFollowsTheLayoutAndTheEntryTypes) {
  struct Case {
    Plan Body;
    std::size_t Size;
  };
  const Case cases[] = {
      {Wide(), 12 + 49},
      {Packed({.Type = 0}, {.Type = 0}), 12 + 33 + 2},
      {Packed({.Type = 1}, {.Type = 2}), 12 + 33 + 9 + 11},
      {Packed({.Type = 2}, {.Type = 2}), 12 + 33 + 22},
  };
  for (const Case& c : cases) {
    const N4PtfBuilder b = Built(c.Body);
    EXPECT_EQ(b.Size() - b.BodyOffset(1), c.Size);
    EXPECT_NO_THROW(Load(b.Data()));
  }
}

TEST(N4XSection, KeepsTheEntriesAsIntegerAndDoubleLists) {
  const auto file = Load(Built(Packed({.Type = 2, .A = 1.5f, .B = -2.5f, .C = 7, .D = 255}, {.Type = 0})).Data());
  const auto x = Top(*file);
  ASSERT_EQ(x->GetIntegerCount(), 4u);
  EXPECT_EQ(x->GetInteger(0), 2);
  EXPECT_EQ(x->GetInteger(1), 7);
  EXPECT_EQ(x->GetInteger(2), 255);
  EXPECT_EQ(x->GetInteger(3), 0);
  ASSERT_EQ(x->GetDoubleCount(), 2u);
  EXPECT_EQ(x->GetDouble(0), 1.5);
  EXPECT_EQ(x->GetDouble(1), -2.5);
  EXPECT_EQ(x->GetBoolCount(), 0u);
}

TEST(N4XSection, WritesBackTheSameBytes) {
  for (const Plan& plan : {Wide(), Packed({.Type = 1}, {.Type = 2, .A = 3.0f, .B = 4.0f, .C = 1, .D = 2}),
                           Packed({.Type = 0}, {.Type = 1})}) {
    const N4PtfBuilder b = Built(plan);
    const auto file = Load(b.Data());
    EXPECT_EQ(Saved(*file), b.Data());
  }
}

TEST(N4XSection, SettersChangeOnlyTheirValuesAndAreWritten) {
  const auto file = Load(Built(Packed({.Type = 2, .A = 1.0f}, {})).Data());
  const auto x = Top(*file);
  x->SetLatitudes(-3.0, 4.5);
  x->SetAltitudes(10.0, 11.0, 0.25, -0.5);
  EXPECT_EQ(x->GetStartLatitude(), -3.0);
  EXPECT_EQ(x->GetEndLatitude(), 4.5);
  EXPECT_EQ(x->GetEndAltitude(), 11.0);
  EXPECT_EQ(x->GetEndSlope(), -0.5);
  EXPECT_EQ(x->GetIntegerCount(), 4u);

  const auto again = Load(Saved(*file));
  const auto y = Top(*again);
  EXPECT_EQ(y->GetStartLatitude(), -3.0);
  EXPECT_EQ(y->GetStartAltitude(), 10.0);
  EXPECT_EQ(y->GetStartSlope(), 0.25);
  EXPECT_EQ(y->GetDouble(0), 1.0);
}

TEST(N4XSection, RejectsEachDamagedField) {
  const N4PtfBuilder wide = Built(Wide());
  const std::size_t body = wide.BodyOffset(1);
  const N4PtfBuilder packed = Built(Packed({.Type = 1}, {.Type = 0}));
  const std::size_t entry = packed.BodyOffset(1) + 12 + 33;

  ByteBuilder wide_reserved2;
  wide_reserved2.Raw(wide.Data()).Data()[body + 12 + 48] = 1;
  ByteBuilder packed_reserved2;
  packed_reserved2.Raw(packed.Data()).Data()[entry - 1] = 1;
  ByteBuilder unknown_type;
  unknown_type.Raw(packed.Data()).Data()[entry] = 3;
  std::vector<unsigned char> short_body = wide.Data();
  short_body.resize(short_body.size() - 1);

  const BrokenCase cases[] = {
      {"reserved0", Patched(wide.Data(), body, 2), Failure::Format, "N4 ptf XSection reserved0 not 1"},
      {"reserved1", Patched(wide.Data(), body + 4, 1), Failure::Format, "N4 ptf XSection reserved1 not 0"},
      {"version 1", Patched(wide.Data(), body + 8, 1), Failure::Format, "N4 ptf XSection unsupported version"},
      {"version 4", Patched(wide.Data(), body + 8, 4), Failure::Format, "N4 ptf XSection unsupported version"},
      {"wide reserved2", wide_reserved2.Data(), Failure::Format, "N4 ptf XSection reserved2 not 0"},
      {"packed reserved2", packed_reserved2.Data(), Failure::Format, "N4 ptf XSection reserved2 not 0"},
      {"entry type 3", unknown_type.Data(), Failure::Format, "N4 ptf XSection unknown unknown type"},
      {"first word", Patched(packed.Data(), entry + 1, 5), Failure::Format, "N4 ptf XSection reserved3 not 0"},
      {"second word", Patched(packed.Data(), entry + 5, 5), Failure::Format, "N4 ptf XSection reserved3 not 0"},
      {"short values", short_body, Failure::Read, ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

} // namespace
} // namespace Ostra::Papy
