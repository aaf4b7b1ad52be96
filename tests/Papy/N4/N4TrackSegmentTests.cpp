#include "Papy/N4/N4TrackSegment.h"

#include "N4KindFixtures.h"
#include "Papy/N4/ThreeDObjectFSection.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Papy/N4/ThreeDObjectWSection.h"
#include "Papy/N4/ThreeDObjectXSection.h"
#include "TestSupport/N4PtfBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <typeinfo>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;
using Test::Existing;
using Test::Make;
using Test::N4PtfBuilder;
using Test::N4Ref;

using Plan = N4PtfBuilder::TrackSegment;
using XPlan = N4PtfBuilder::XSection;
using FPlan = N4PtfBuilder::FSection;
using WPlan = N4PtfBuilder::WSection;

// An arc of version 2 with two cross sections, one F section and one W section, a bm
// record {1, 2, 7} and a bs record {0.5, 1, 3, 4}.
Plan Arc() {
  return Plan{.Version = 2,
              .XSections = {Make(XPlan{.StartLatitude = -10}), Make(XPlan{.StartLatitude = 10})},
              .FSections = {Make(FPlan{.StartLatitude = -6})},
              .WSections = {Make(WPlan{.StartLatitude = 13})},
              .Type = 1,
              .StartX = 100,
              .StartY = 0,
              .StartOrientation = 0,
              .EndX = 150,
              .EndY = 50,
              .EndOrientation = 1.5,
              .Flags = {1, 0},
              .Bm = {{1.0f, 2.0f, 7}},
              .Bs = {{0.5f, 1.0f, 3.0f, 4.0f}}};
}

N4PtfBuilder Built(const Plan& plan) {
  N4PtfBuilder b;
  b.Write(plan);
  return b;
}

CountedPtr<N4TrackSegment> Top(N4TdoFile& file) { return As<N4TrackSegment>(file.GetSubObject(1)); }

TEST(N4TrackSegment, ReadsTheCentreLineInFileOrder) {
  const auto file = Load(Built(Arc()).Data());
  const auto s = Top(*file);
  EXPECT_EQ(s->GetTypeName(), "Segment");
  EXPECT_TRUE(s->IsCurve());
  EXPECT_EQ(s->GetCentrelineStartX(), 100.0);
  EXPECT_EQ(s->GetCentrelineStartY(), 0.0);
  EXPECT_EQ(s->GetStartOrientation(), 0.0);
  EXPECT_EQ(s->GetCentrelineEndX(), 150.0);
  EXPECT_EQ(s->GetCentrelineEndY(), 50.0);
  EXPECT_EQ(s->GetEndOrientation(), 1.5);
  ASSERT_EQ(s->GetBoolCount(), 2u);
  EXPECT_TRUE(s->GetBool(0));
  EXPECT_FALSE(s->GetBool(1));
  EXPECT_THROW(s->GetBool(2), Util::XAssertion);
}

TEST(N4TrackSegment, ResolvesItsSectionsByKind) {
  const auto file = Load(Built(Arc()).Data());
  const auto s = Top(*file);
  ASSERT_EQ(s->GetXSectionCount(), 2u);
  EXPECT_EQ(s->GetXSection(0)->GetStartLatitude(), -10.0);
  EXPECT_EQ(s->GetXSection(1)->GetStartLatitude(), 10.0);
  ASSERT_EQ(s->GetFSectionCount(), 1u);
  EXPECT_EQ(s->GetFSection(0)->GetStartLatitude(), -6.0);
  ASSERT_EQ(s->GetWSectionCount(), 1u);
  EXPECT_EQ(s->GetWSection(0)->GetStartLatitude(), 13.0);
  EXPECT_THROW(s->GetXSection(2), Util::XAssertion);

  // A reference to another kind, the null object included, fails the typed getter.
  Plan mixed = Arc();
  mixed.XSections = {Make(WPlan{}), {}};
  const auto mixed_file = Load(Built(mixed).Data());
  EXPECT_THROW(Top(*mixed_file)->GetXSection(0), std::bad_cast);
  EXPECT_THROW(Top(*mixed_file)->GetXSection(1), std::bad_cast);
}

TEST(N4TrackSegment, OrdersSpansBySumOfTheirFirstTwoValues) {
  const auto file = Load(Built(Arc()).Data());
  const auto s = Top(*file);
  ASSERT_EQ(s->GetSpanCount(), 2u);
  // The bs record (key 1.5) comes before the bm record (key 3).
  EXPECT_EQ(s->GetSpanA(0), 0.5f);
  EXPECT_EQ(s->GetSpanB(0), 1.0f);
  EXPECT_EQ(s->GetSpanCode(0), 0u);
  EXPECT_EQ(s->GetSpanC(0), 3.0f);
  EXPECT_EQ(s->GetSpanD(0), 4.0f);
  EXPECT_EQ(s->GetSpanA(1), 1.0f);
  EXPECT_EQ(s->GetSpanCode(1), 7u);
  EXPECT_EQ(s->GetSpanC(1), 1.0f);
  EXPECT_EQ(s->GetSpanD(1), 1.0f);
  EXPECT_THROW(s->GetSpanA(2), Util::XAssertion);
}

TEST(N4TrackSegment, SpansWithNanKeysSortAfterTheOthers) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Plan plan = Arc();
  plan.Bm = {{nan, 1.0f, 1}, {5.0f, 0.0f, 2}, {nan, nan, 3}, {-1.0f, 0.0f, 4}};
  plan.Bs = {{2.0f, 0.0f, 0.0f, 0.0f}};
  const auto file = Load(Built(plan).Data());
  const auto s = Top(*file);
  ASSERT_EQ(s->GetSpanCount(), 5u);
  EXPECT_EQ(s->GetSpanCode(0), 4u);
  EXPECT_EQ(s->GetSpanA(1), 2.0f);
  EXPECT_EQ(s->GetSpanCode(2), 2u);
  EXPECT_TRUE(std::isnan(s->GetSpanA(3)));
  EXPECT_TRUE(std::isnan(s->GetSpanA(4)));
}

TEST(N4TrackSegment, CountsOfZeroHaveNoByteSize) {
  Plan plain{.Version = 1, .Type = 0, .EndX = 100};
  const N4PtfBuilder b = Built(plain);
  // Three counts, the type, six F64, two flags; version 1 has no spans.
  EXPECT_EQ(b.Size() - b.BodyOffset(1), 12u + 12 + 4 + 48 + 2);
  const auto file = Load(b.Data());
  EXPECT_FALSE(Top(*file)->IsCurve());
  EXPECT_EQ(Top(*file)->GetSpanCount(), 0u);
  EXPECT_EQ(Top(*file)->GetXSectionCount(), 0u);

  Plan empty_lists = plain;
  empty_lists.Version = 2;
  const N4PtfBuilder v2 = Built(empty_lists);
  EXPECT_EQ(v2.Size() - v2.BodyOffset(1), 12u + 12 + 4 + 48 + 2 + 8);
  EXPECT_NO_THROW(Load(v2.Data()));
}

TEST(N4TrackSegment, WritesBackTheSameBytes) {
  Plan shared = Arc();
  // The same cross section twice: the second reference is the bare id.
  shared.XSections = {Make(XPlan{}), Existing(3)};
  for (const Plan& plan : {Arc(), shared, Plan{}}) {
    const N4PtfBuilder b = Built(plan);
    const auto file = Load(b.Data());
    EXPECT_EQ(Saved(*file), b.Data());
  }
}

TEST(N4TrackSegment, RejectsEachDamagedField) {
  const N4PtfBuilder b = Built(Arc());
  const std::size_t body = b.BodyOffset(1);
  const Plan plain{.Version = 2, .Bm = {{1, 2, 3}}, .Bs = {{1, 2, 3, 4}}};
  const N4PtfBuilder p = Built(plain);
  const std::size_t type = p.BodyOffset(1) + 12 + 12;
  const std::size_t bm = type + 4 + 48 + 2;
  const std::size_t bs = bm + 8 + 12;
  // The F and W lists follow the X list's two references: x count, size, then the
  // first cross section's body (id, class, name, 12 + 49 bytes) and its second id and
  // class id.
  const std::size_t f_count = body + 12 + 8 + (12 + 20 + 61) + (8 + 61);
  const BrokenCase cases[] = {
      {"reserved0", Patched(b.Data(), body, 0), Failure::Format, "N4 ptf TrackSegment reserved0 not 1"},
      {"reserved1", Patched(b.Data(), body + 4, 1), Failure::Format, "N4 ptf TrackSegment reserved1 not 0"},
      {"version 0", Patched(b.Data(), body + 8, 0), Failure::Format, "N4 ptf TrackSegment unsupported version"},
      {"version 3", Patched(b.Data(), body + 8, 3), Failure::Format, "N4 ptf TrackSegment unsupported version"},
      {"x size", Patched(b.Data(), body + 16, 12), Failure::Format,
       "N4 ptf TrackSegment X section array size mismatch"},
      {"f size", Patched(b.Data(), f_count + 4, 8), Failure::Format,
       "N4 ptf TrackSegment F section array size mismatch"},
      // A count beyond the stream is a size mismatch first, a short stream only when the
      // size agrees with it.
      {"x count", Patched(b.Data(), body + 12, 0x40000000), Failure::Format,
       "N4 ptf TrackSegment X section array size mismatch"},
      {"x count with its size", Patched(Patched(b.Data(), body + 12, 0x20000000), body + 16, 0x80000000),
       Failure::Read, ""},
      {"type", Patched(p.Data(), type, 2), Failure::Format, "N4 ptf TrackSegment unknown type"},
      {"bm size", Patched(p.Data(), bm + 4, 11), Failure::Format, "N4 ptf TrackSegment bm array size mismatch"},
      {"bs size", Patched(p.Data(), bs + 4, 32), Failure::Format, "N4 ptf TrackSegment bs array size mismatch"},
      {"bm count", Patched(p.Data(), bm, 0x7FFFFFFF), Failure::Format, "N4 ptf TrackSegment bm array size mismatch"},
      {"bs count", Patched(p.Data(), bs, 0x7FFFFFFF), Failure::Format, "N4 ptf TrackSegment bs array size mismatch"},
      {"bs count with its size", Patched(Patched(p.Data(), bs, 0x01000000), bs + 4, 0x10000000), Failure::Read,
       ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);

  Plan walls = plain;
  walls.WSections = {Make(WPlan{})};
  const N4PtfBuilder w = Built(walls);
  const std::size_t w_count = w.BodyOffset(1) + 12 + 8;
  ExpectFailure({"w size", Patched(w.Data(), w_count + 4, 0), Failure::Format,
                 "N4 ptf TrackSegment W section array size mismatch"});
}

class Recorder : public ThreeDObjectVisitor {
public:
  bool BeforeXSection(ThreeDObjectTrackSegment&, unsigned i) override { return Log("x", i), true; }
  bool BeforeFSection(ThreeDObjectTrackSegment&, unsigned i) override { return Log("f", i), false; }
  void AfterFSection(ThreeDObjectTrackSegment&, unsigned i) override { Log("after f", i); }
  bool BeforeWSection(ThreeDObjectTrackSegment&, unsigned i) override { return Log("w", i), true; }
  void VisitXSection(ThreeDObjectXSection&) override { Calls.emplace_back("visit x"); }
  bool EnterFSection(ThreeDObjectFSection&) override { return Calls.emplace_back("visit f"), true; }
  bool EnterWSection(ThreeDObjectWSection&) override { return Calls.emplace_back("visit w"), false; }
  void LeaveTrackSegment(ThreeDObjectTrackSegment&) override { Calls.emplace_back("leave"); }

  std::vector<std::string> Calls;

private:
  void Log(const char* call, unsigned i) { Calls.push_back(std::string(call) + " " + std::to_string(i)); }
};

TEST(N4TrackSegment, WalksFThenWThenCrossSections) {
  const auto file = Load(Built(Arc()).Data());
  Recorder recorder;
  Top(*file)->Accept(recorder);
  EXPECT_EQ(recorder.Calls, (std::vector<std::string>{"f 0", "after f 0", "w 0", "visit w", "x 0", "visit x",
                                                      "x 1", "visit x", "leave"}));
}

} // namespace
} // namespace Ostra::Papy
