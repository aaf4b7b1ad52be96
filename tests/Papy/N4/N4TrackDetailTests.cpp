#include "Papy/N4/N4TrackDetail.h"

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

using Plan = N4PtfBuilder::TrackDetail;

Plan Detail() {
  return Plan{.Object = Make(N4PtfBuilder::TracksideObject{.First = "post"}),
              .Values = {1, 2, 3, 4, 5},
              .X = {0.5, 1.5, 2.5, 3.5},
              .Y = {-1, -2, -3, -4}};
}

N4PtfBuilder Built(const Plan& plan) {
  N4PtfBuilder b;
  b.Write(plan);
  return b;
}

CountedPtr<N4TrackDetail> Top(N4TdoFile& file) { return As<N4TrackDetail>(file.GetSubObject(1)); }

TEST(N4TrackDetail, ReadsValuesObjectAndPoints) {
  const auto file = Load(Built(Detail()).Data());
  const auto d = Top(*file);
  EXPECT_EQ(d->GetTypeName(), "TrackDetail");
  EXPECT_EQ(d->GetValueA(), 1.0);
  EXPECT_EQ(d->GetValueB(), 2.0);
  EXPECT_EQ(d->GetValueC(), 3.0);
  EXPECT_EQ(d->GetValueD(), 4.0);
  EXPECT_EQ(d->GetValueE(), 5.0);
  EXPECT_EQ(As<ThreeDObjectTracksideObject>(d->GetObject())->GetFirstString(), "post");
  EXPECT_EQ(d->GetPoint(0), Point2D(0.5, -1));
  EXPECT_EQ(d->GetPoint(3), Point2D(3.5, -4));
  EXPECT_THROW(d->GetPoint(4), Util::XAssertion);

  const auto bare = Load(Built(Plan{}).Data());
  EXPECT_EQ(Top(*bare)->GetObject()->GetId(), 0u);
}

TEST(N4TrackDetail, WritesBackTheSameBytes) {
  for (const Plan& plan : {Detail(), Plan{}}) {
    const N4PtfBuilder b = Built(plan);
    const auto file = Load(b.Data());
    EXPECT_EQ(Saved(*file), b.Data());
  }
}

TEST(N4TrackDetail, RejectsEachDamagedField) {
  const N4PtfBuilder b = Built(Plan{});
  const std::size_t body = b.BodyOffset(1);
  const std::size_t x_size = body + 12 + 4 + 40;
  const BrokenCase cases[] = {
      {"reserved0", Patched(b.Data(), body, 0), Failure::Format, "N4 ptf TrackDetail reserved0 not 1"},
      {"reserved1", Patched(b.Data(), body + 4, 1), Failure::Format, "N4 ptf TrackDetail reserved1 not 0"},
      {"reserved2", Patched(b.Data(), body + 8, 1), Failure::Format, "N4 ptf TrackDetail reserved2 not 0"},
      {"x size", Patched(b.Data(), x_size, 24), Failure::Assertion, "array_size == vertex_count * sizeof(F64)"},
      {"y size", Patched(b.Data(), x_size + 36, 40), Failure::Assertion,
       "array_size == vertex_count * sizeof(F64)"},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

class Recorder : public ThreeDObjectVisitor {
public:
  explicit Recorder(bool enter) : Enter(enter) {}
  bool EnterTrackDetail(ThreeDObjectTrackDetail&) override { return Calls.emplace_back("enter"), Enter; }
  void VisitTracksideObject(ThreeDObjectTracksideObject&) override { Calls.emplace_back("object"); }
  void LeaveTrackDetail(ThreeDObjectTrackDetail&) override { Calls.emplace_back("leave"); }

  bool Enter;
  std::vector<std::string> Calls;
};

TEST(N4TrackDetail, WalksItsObjectUnlessPruned) {
  const auto file = Load(Built(Detail()).Data());
  Recorder entering(true);
  Top(*file)->Accept(entering);
  EXPECT_EQ(entering.Calls, (std::vector<std::string>{"enter", "object", "leave"}));
  Recorder pruning(false);
  Top(*file)->Accept(pruning);
  EXPECT_EQ(pruning.Calls, (std::vector<std::string>{"enter", "leave"}));
}

} // namespace
} // namespace Ostra::Papy
