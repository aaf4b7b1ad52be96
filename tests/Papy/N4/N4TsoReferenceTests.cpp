#include "Papy/N4/N4TsoReference.h"

#include "N4KindFixtures.h"
#include "Papy/N4/ThreeDObjectTracksideObject.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "TestSupport/N4PtfBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;
using Test::Make;
using Test::N4PtfBuilder;

using Plan = N4PtfBuilder::TsoReference;

// A placement whose file holds 1 to 6, with a block and two entries.
Plan Late() {
  return Plan{.Version = 6,
              .FileValues = {1, 2, 3, 4, 5, 6},
              .Object = Make(N4PtfBuilder::TracksideObject{.First = "grandstand"}),
              .WindDirection = 1,
              .BlockByte = 0,
              .BlockName = "01234567890123456789012345678901",
              .BlockInteger = 9,
              .BlockValue = 0.75f,
              .BlockMode = 7,
              .Entries = {{"flag", 3, 1.25f}, {"banner", 4, -2.0f}},
              .Label = "main stand"};
}

Plan Early() { return Plan{.Version = 1, .FileValues = {1, 2, 3, 4, 5, 6}}; }

N4PtfBuilder Built(const Plan& plan) {
  N4PtfBuilder b;
  b.Write(plan);
  return b;
}

CountedPtr<N4TsoReference> Top(N4TdoFile& file) { return As<N4TsoReference>(file.GetSubObject(1)); }

TEST(N4TsoReference, ReadsTheLateLayout) {
  const auto file = Load(Built(Late()).Data());
  const auto t = Top(*file);
  EXPECT_EQ(t->GetTypeName(), "TSOReference");
  // The file holds Value1, Value2, Value3, Value6, Value5, Value4.
  const double values[] = {t->GetValue1(), t->GetValue2(), t->GetValue3(),
                           t->GetValue4(), t->GetValue5(), t->GetValue6()};
  EXPECT_EQ(std::vector<double>(std::begin(values), std::end(values)),
            (std::vector<double>{1, 2, 3, 6, 5, 4}));
  EXPECT_EQ(As<ThreeDObjectTracksideObject>(t->GetReferencedObject())->GetFirstString(), "grandstand");
  EXPECT_TRUE(t->GetWindDirection());
  ASSERT_TRUE(t->HasBlock());
  // 32 characters without a NUL.
  EXPECT_EQ(t->GetBlockName(), "01234567890123456789012345678901");
  EXPECT_EQ(t->GetBlockInteger(), 9u);
  EXPECT_EQ(t->GetBlockValue(), 0.75f);
  EXPECT_EQ(t->GetBlockMode(), 2);
  ASSERT_EQ(t->GetEntryCount(), 2u);
  EXPECT_EQ(t->GetEntryName(1), "banner");
  EXPECT_EQ(t->GetEntryInteger(1), 4u);
  EXPECT_EQ(t->GetEntryValue(1), -2.0f);
  EXPECT_THROW(t->GetEntryName(2), Util::XAssertion);
  EXPECT_TRUE(t->HasLabel());
  EXPECT_EQ(t->GetLabel(), "main stand");
}

TEST(N4TsoReference, BlockAndModeVariants) {
  struct Case {
    U8 BlockByte;
    U32 Mode;
    bool HasBlock;
    int ReportedMode;
  };
  for (const Case c : {Case{0, 0, true, 0}, Case{0, 1, true, 1}, Case{0, 7, true, 2}, Case{5, 1, false, 0}}) {
    Plan plan = Late();
    plan.BlockByte = c.BlockByte;
    plan.BlockMode = c.Mode;
    const auto file = Load(Built(plan).Data());
    const auto t = Top(*file);
    EXPECT_EQ(t->HasBlock(), c.HasBlock);
    EXPECT_EQ(t->GetBlockMode(), c.ReportedMode);
    EXPECT_EQ(t->GetBlockName().empty(), !c.HasBlock);
    EXPECT_EQ(t->GetEntryCount(), 2u);
  }
}

TEST(N4TsoReference, EarlyLayoutEndsAfterTheObjectAndIgnoresWindDirection) {
  const N4PtfBuilder b = Built(Early());
  EXPECT_EQ(b.Size() - b.BodyOffset(1), 12u + 48 + 4);
  const auto file = Load(b.Data());
  const auto t = Top(*file);
  EXPECT_FALSE(t->HasBlock());
  EXPECT_FALSE(t->HasLabel());
  EXPECT_EQ(t->GetEntryCount(), 0u);
  t->SetWindDirection(true);
  EXPECT_FALSE(t->GetWindDirection());
  EXPECT_EQ(Saved(*file), b.Data());
}

TEST(N4TsoReference, WritesWhatItHolds) {
  for (const Plan& plan : {Late(), Early(), Plan{}}) {
    const N4PtfBuilder b = Built(plan);
    const auto file = Load(b.Data());
    EXPECT_EQ(Saved(*file), b.Data());
  }

  const auto file = Load(Built(Late()).Data());
  const auto t = Top(*file);
  t->SetValue1(11);
  t->SetValue2(12);
  t->SetValue3(13);
  t->SetValue4(14);
  t->SetValue5(15);
  t->SetValue6(16);
  t->SetWindDirection(false);
  const auto again = Load(Saved(*file));
  const auto u = Top(*again);
  const double values[] = {u->GetValue1(), u->GetValue2(), u->GetValue3(),
                           u->GetValue4(), u->GetValue5(), u->GetValue6()};
  EXPECT_EQ(std::vector<double>(std::begin(values), std::end(values)),
            (std::vector<double>{11, 12, 13, 14, 15, 16}));
  EXPECT_FALSE(u->GetWindDirection());
}

TEST(N4TsoReference, RejectsEachDamagedField) {
  const N4PtfBuilder b = Built(Plan{});
  const std::size_t body = b.BodyOffset(1);
  const std::size_t wind = body + 12 + 48 + 4;
  const BrokenCase cases[] = {
      {"reserved0", Patched(b.Data(), body, 0), Failure::Format, "N4 ptf TsoReference reserved0 not 1"},
      {"reserved1", Patched(b.Data(), body + 4, 1), Failure::Format, "N4 ptf TsoReference reserved1 not 0"},
      {"version 2", Patched(b.Data(), body + 8, 2), Failure::Format, "N4 ptf TsoReference unsupported version"},
      {"wind", Patched(b.Data(), wind, 2), Failure::Format, "N4 ptf TsoReference unknown wind direction"},
      {"entry count", Patched(b.Data(), wind + 5, 0x20000000), Failure::Read, ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

class Recorder : public ThreeDObjectVisitor {
public:
  bool EnterTsoReference(ThreeDObjectTsoReference&) override { return Calls.emplace_back("enter"), true; }
  void VisitTracksideObject(ThreeDObjectTracksideObject&) override { Calls.emplace_back("object"); }
  void LeaveTsoReference(ThreeDObjectTsoReference&) override { Calls.emplace_back("leave"); }

  std::vector<std::string> Calls;
};

TEST(N4TsoReference, WalksThePlacedObject) {
  const auto file = Load(Built(Late()).Data());
  Recorder recorder;
  Top(*file)->Accept(recorder);
  EXPECT_EQ(recorder.Calls, (std::vector<std::string>{"enter", "object", "leave"}));
}

} // namespace
} // namespace Ostra::Papy
