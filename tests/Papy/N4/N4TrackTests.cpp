#include "Papy/N4/N4Track.h"

#include "N4KindFixtures.h"
#include "Papy/N4/ThreeDObjectFSection.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Papy/N4/ThreeDObjectTrackDetail.h"
#include "Papy/N4/ThreeDObjectTrackSegment.h"
#include "Papy/N4/ThreeDObjectTsoReference.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Papy/N4/ThreeDObjectWSection.h"
#include "Papy/N4/ThreeDObjectXSection.h"
#include "TestSupport/N4PtfBuilder.h"

#include <gtest/gtest.h>

#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;
using Test::Make;
using Test::N4PtfBuilder;

using Plan = N4PtfBuilder::Track;

N4PtfBuilder Built(const Plan& plan) {
  N4PtfBuilder b;
  b.Write(plan);
  return b;
}

CountedPtr<N4Track> Top(N4TdoFile& file) { return As<N4Track>(file.GetSubObject(1)); }

const N4ArchiverList& Readable() { return N4ArchiverRegistry::Instance().GetReadable(); }

TEST(N4Track, TheSmallTrackLoadsWholeAndWritesBackTheSameBytes) {
  const N4PtfBuilder b = N4PtfBuilder::SmallTrack();
  const auto file = Load(b.Data(), Readable());
  const CountedPtr<ThreeDObjectRoot> root = file->GetRoot();
  ASSERT_TRUE(root);
  const auto track = As<ThreeDObjectTrack>(root->GetChild(0));
  ASSERT_TRUE(track);
  EXPECT_EQ(track->GetTypeName(), "Track");
  EXPECT_TRUE(track->GetFlag());
  EXPECT_EQ(track->GetFloatValue(), 0.5f);
  EXPECT_EQ(track->GetVector4(), (std::array<F32, 4>{1, 2, 3, 1}));
  ASSERT_EQ(track->GetBumpMapCount(), 1u);
  EXPECT_EQ(track->GetBumpMapName(0), "bump");
  EXPECT_EQ(track->GetBumpMapFirstValue(0, 3), 4.0f);
  EXPECT_EQ(track->GetBumpMapSecondValue(0, 0), 5.0f);
  EXPECT_THROW(track->GetBumpMapFirstValue(0, 4), Util::XAssertion);
  EXPECT_EQ(track->GetDoubleCount(), 0u);

  ASSERT_EQ(track->GetSegmentCount(), 8u);
  for (unsigned i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const auto segment = track->GetSegment(i);
    ASSERT_TRUE(segment);
    EXPECT_EQ(segment->IsCurve(), i % 2 == 1);
    EXPECT_EQ(segment->GetXSectionCount(), 2u);
    EXPECT_EQ(segment->GetFSectionCount(), 4u);
    EXPECT_EQ(segment->GetWSectionCount(), 2u);
    EXPECT_EQ(segment->GetFSection(1)->GetSurfaceType(), SurfaceAsphalt);
    EXPECT_EQ(segment->GetWSection(0)->GetWallType(), WallConcrete);
    EXPECT_EQ(segment->GetXSection(0)->GetStartAltitude(), -0.2);
    // Each segment starts where the one before ends.
    const auto previous = track->GetSegment((i + 7) % 8);
    EXPECT_EQ(segment->GetCentrelineStartX(), previous->GetCentrelineEndX());
    EXPECT_EQ(segment->GetCentrelineStartY(), previous->GetCentrelineEndY());
  }
  // The asphalt lines of every segment share one appearance.
  EXPECT_EQ(track->GetSegment(0)->GetFSection(1)->GetAppearance(),
            track->GetSegment(7)->GetFSection(1)->GetAppearance());

  ASSERT_EQ(track->GetDetailCount(), 1u);
  ASSERT_EQ(track->GetTsoCount(), 1u);
  const auto placement = As<ThreeDObjectTsoReference>(track->GetTso(0));
  EXPECT_EQ(placement->GetLabel(), "tree 1");
  // The detail and the placement refer to one trackside object.
  EXPECT_EQ(placement->GetReferencedObject()->GetTypeName(), "TSO");
  EXPECT_EQ(As<ThreeDObjectTrackDetail>(track->GetDetail(0))->GetObject(), placement->GetReferencedObject());

  EXPECT_EQ(Saved(*file), b.Data());
}

TEST(N4Track, ReadsTheDoublesLayout) {
  Plan plan{.Version = 6, .Flag = 0};
  for (int i = 0; i < 21; ++i)
    plan.Doubles.push_back(i * 0.5);
  const N4PtfBuilder b = Built(plan);
  const auto file = Load(b.Data());
  const auto track = Top(*file);
  ASSERT_EQ(track->GetDoubleCount(), 21u);
  EXPECT_EQ(track->GetDouble(20), 10.0);
  EXPECT_THROW(track->GetDouble(21), Util::XAssertion);
  EXPECT_EQ(track->GetBumpMapCount(), 0u);
  EXPECT_EQ(track->GetVector4(), (std::array<F32, 4>{0, 0, 0, 1}));
  EXPECT_FALSE(track->GetFlag());
  EXPECT_EQ(Saved(*file), b.Data());
}

TEST(N4Track, EmptyListsKeepOnlyTheSegmentByteSize) {
  const N4PtfBuilder b = Built(Plan{});
  // Header 16, flag 1, three F64 and an F32 28, bump count 4, reserved 4, two counts
  // without byte sizes 8, the segment byte size 4.
  EXPECT_EQ(b.Size() - b.BodyOffset(1), 16u + 1 + 28 + 4 + 4 + 8 + 4);
  const auto file = Load(b.Data());
  EXPECT_EQ(Top(*file)->GetSegmentCount(), 0u);
  EXPECT_EQ(Top(*file)->GetDetailCount(), 0u);
  EXPECT_EQ(Saved(*file), b.Data());
}

TEST(N4Track, ABumpMapNameOfSixteenCharactersHasNoNul) {
  const N4PtfBuilder b = Built(Plan{.BumpMaps = {{.Name = "0123456789abcdef"}}});
  const auto file = Load(b.Data());
  EXPECT_EQ(Top(*file)->GetBumpMapName(0), "0123456789abcdef");
  EXPECT_EQ(Saved(*file), b.Data());
}

TEST(N4Track, AReferenceThatIsNoSegmentGivesAnEmptySegment) {
  const auto file = Load(Built(Plan{.Segments = {Make(N4PtfBuilder::XSection{}), {}}}).Data());
  EXPECT_TRUE(Top(*file)->GetSegment(0).IsNull());
  EXPECT_TRUE(Top(*file)->GetSegment(1).IsNull());
  EXPECT_THROW(Top(*file)->GetSegment(2), Util::XAssertion);
}

TEST(N4Track, RejectsEachDamagedField) {
  const N4PtfBuilder b = Built(Plan{.BumpMaps = {{}}, .Details = {{}}, .Tsos = {{}}, .Segments = {{}}});
  const std::size_t body = b.BodyOffset(1);
  const std::size_t bump = body + 16 + 1 + 28;
  const std::size_t reserved3 = bump + 8 + 48;
  const std::size_t details = reserved3 + 4;
  const std::size_t tsos = details + 12;
  const std::size_t segments = tsos + 12;
  const BrokenCase cases[] = {
      {"reserved0", Patched(b.Data(), body, 0), Failure::Format, "N4 ptf Track reserved0 not 1"},
      {"reserved1", Patched(b.Data(), body + 4, 1), Failure::Format, "N4 ptf Track reserved1 not 0"},
      {"version 7", Patched(b.Data(), body + 8, 7), Failure::Format, "N4 ptf Track unsupported version"},
      {"bump size", Patched(b.Data(), bump + 4, 47), Failure::Format, "N4 ptf Track bump map array size mismatch"},
      // A count beyond the stream is a size mismatch first, a short stream only when the
      // size agrees with it.
      {"bump count", Patched(b.Data(), bump, 0x01000000), Failure::Format,
       "N4 ptf Track bump map array size mismatch"},
      {"bump count with its size", Patched(Patched(b.Data(), bump, 0x01000000), bump + 4, 0x30000000),
       Failure::Read, ""},
      {"detail count", Patched(b.Data(), details, 0x7FFFFFFF), Failure::Format,
       "N4 ptf Track detail array size mismatch"},
      {"tso count", Patched(b.Data(), tsos, 0x7FFFFFFF), Failure::Format, "N4 ptf Track tso array size mismatch"},
      {"reserved3", Patched(b.Data(), reserved3, 1), Failure::Format, "N4 ptf Track reserved3 not 0"},
      {"detail size", Patched(b.Data(), details + 4, 0), Failure::Format, "N4 ptf Track detail array size mismatch"},
      {"tso size", Patched(b.Data(), tsos + 4, 8), Failure::Format, "N4 ptf Track tso array size mismatch"},
      {"segment size", Patched(b.Data(), segments, 8), Failure::Format, "N4 ptf Track segment array size mismatch"},
      {"segment count", Patched(Patched(b.Data(), body + 12, 0x40000000), segments, 0), Failure::Format,
       "N4 ptf Track segment array size mismatch"},
      {"segment count with its size", Patched(Patched(b.Data(), body + 12, 0x20000000), segments, 0x80000000),
       Failure::Read, ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

// Counts what a whole walk reaches.
class Counter : public ThreeDObjectVisitor {
public:
  bool BeforeTrackSegment(ThreeDObjectTrack&, unsigned) override { return Count("before segment"), false; }
  bool EnterTrackSegment(ThreeDObjectTrackSegment&) override { return Count("segment"), true; }
  void VisitXSection(ThreeDObjectXSection&) override { Count("x"); }
  bool EnterFSection(ThreeDObjectFSection&) override { return Count("f"), true; }
  bool EnterWSection(ThreeDObjectWSection&) override { return Count("w"), true; }
  void VisitTexture2(ThreeDObjectTexture2&) override { Count("texture"); }
  void VisitTextureCoords(ThreeDObjectTextureCoords&) override { Count("coords"); }
  bool EnterTrackDetail(ThreeDObjectTrackDetail&) override { return Count("detail"), true; }
  bool EnterTsoReference(ThreeDObjectTsoReference&) override { return Count("placement"), true; }
  void VisitTracksideObject(ThreeDObjectTracksideObject&) override { Count("tso"); }
  void LeaveTrack(ThreeDObjectTrack&) override { Count("leave"); }

  std::map<std::string, int> Counts;

private:
  void Count(const char* what) { ++Counts[what]; }
};

TEST(N4Track, WalksEveryPartWhateverTheBeforeCallsAnswer) {
  const auto file = Load(N4PtfBuilder::SmallTrack().Data(), Readable());
  Counter counter;
  file->GetRoot()->Accept(counter);
  // Per segment: one textured F line (texture and coordinates) and one wall face with
  // both; shared objects are visited once per reference.
  const std::map<std::string, int> expected = {
      {"before segment", 8}, {"segment", 8}, {"x", 16}, {"f", 32},       {"w", 16},   {"texture", 16},
      {"coords", 16},        {"detail", 1},  {"placement", 1}, {"tso", 2}, {"leave", 1}};
  EXPECT_EQ(counter.Counts, expected);

  // A reference that is no segment is passed over.
  const auto odd = Load(Built(Plan{.Segments = {Make(N4PtfBuilder::XSection{})}}).Data());
  Counter odd_counter;
  Top(*odd)->Accept(odd_counter);
  EXPECT_EQ(odd_counter.Counts["before segment"], 1);
  EXPECT_EQ(odd_counter.Counts["x"], 0);
}

} // namespace
} // namespace Ostra::Papy
