#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport/GplTrkBuilder.h"
#include "TestSupport/ICR2TrkBuilder.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/ICR2TrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy {
namespace {

using Test::GplTrkBuilder;
using Test::ICR2TrkBuilder;

CountedPtr<Util::BinaryStream> Stream(std::vector<unsigned char> bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream("built.trk", std::move(bytes)));
}

CountedPtr<TrkFile> ReadICR2(std::vector<unsigned char> bytes) {
  return CountedPtr<TrkFile>(new ICR2TrkFile(Stream(std::move(bytes))));
}

CountedPtr<TrkFile> ReadGPL(std::vector<unsigned char> bytes) {
  return CountedPtr<TrkFile>(new GPLTrkFile(Stream(std::move(bytes))));
}

std::vector<unsigned char> WriteToMemory(const TrkFile& file) {
  CountedPtr<Util::BinaryStream> stream(new Util::MemoryStream("out.trk"));
  file.Write(stream);
  return dynamic_cast<Util::MemoryStream&>(*stream).Bytes();
}

// Converts, writes and reads the result back in the target format.
CountedPtr<TrkFile> ToICR2(const CountedPtr<TrkFile>& source) {
  return ReadICR2(WriteToMemory(ICR2TrkFile(source)));
}

CountedPtr<TrkFile> ToGPL(const CountedPtr<TrkFile>& source) {
  return ReadGPL(WriteToMemory(GPLTrkFile(source)));
}

// The ICR2 circuit, except for the laterals, strips and walls a test replaces.
class OverlayTrkFile : public ICR2TrkFile {
public:
  struct Strip {
    S32 RightStart, RightEnd, LeftStart, LeftEnd;
    S32 Type = SurfaceAsphalt;
    S32 Grip = 0;
  };
  struct Wall {
    S32 RightStart, RightEnd, LeftStart, LeftEnd;
    S32 Type = WallArmco;
  };

  OverlayTrkFile() : ICR2TrkFile(Stream(ICR2TrkBuilder::Circuit().Bytes())) {}

  std::optional<U32> LateralCount;
  std::map<U32, std::vector<Strip>> Strips;
  std::map<U32, std::vector<Wall>> Walls;

  // Laterals beyond the circuit's three lie 1000 apart and repeat its last cubic.
  U32 GetLateralCount() const override { return LateralCount.value_or(Base::GetLateralCount()); }
  S32 GetLateral(U32 j) const override { return Base::GetLateral(J(j)) + 1000 * S32(j - J(j)); }
  S32 GetStartAltitude(U32 s, U32 j) const override { return Base::GetStartAltitude(s, J(j)); }
  S32 GetLinearCoefficient(U32 s, U32 j) const override {
    return Base::GetLinearCoefficient(s, J(j));
  }
  S32 GetSquareCoefficient(U32 s, U32 j) const override {
    return Base::GetSquareCoefficient(s, J(j));
  }
  S32 GetCubeCoefficient(U32 s, U32 j) const override { return Base::GetCubeCoefficient(s, J(j)); }
  S32 GetSquareCoefficientTimes2(U32 s, U32 j) const override {
    return Base::GetSquareCoefficientTimes2(s, J(j));
  }
  S32 GetCubeCoefficientTimes3(U32 s, U32 j) const override {
    return Base::GetCubeCoefficientTimes3(s, J(j));
  }
  S32 GetXSectionStartX(U32 s, U32 j) const override { return Base::GetXSectionStartX(s, J(j)); }
  S32 GetXSectionStartY(U32 s, U32 j) const override { return Base::GetXSectionStartY(s, J(j)); }
  S32 GetXSectionRadius(U32 s, U32 j) const override { return Base::GetXSectionRadius(s, J(j)); }

  U32 GetSurfaceCount(U32 s) const override {
    return Strips.count(s) ? U32(Strips.at(s).size()) : Base::GetSurfaceCount(s);
  }
  S32 GetSurfaceRightStartLatitude(U32 s, U32 k) const override {
    return Strips.count(s) ? Strips.at(s).at(k).RightStart
                           : Base::GetSurfaceRightStartLatitude(s, k);
  }
  S32 GetSurfaceRightEndLatitude(U32 s, U32 k) const override {
    return Strips.count(s) ? Strips.at(s).at(k).RightEnd : Base::GetSurfaceRightEndLatitude(s, k);
  }
  S32 GetSurfaceLeftStartLatitude(U32 s, U32 k) const override {
    return Strips.count(s) ? Strips.at(s).at(k).LeftStart : Base::GetSurfaceLeftStartLatitude(s, k);
  }
  S32 GetSurfaceLeftEndLatitude(U32 s, U32 k) const override {
    return Strips.count(s) ? Strips.at(s).at(k).LeftEnd : Base::GetSurfaceLeftEndLatitude(s, k);
  }
  S32 GetSurfaceType(U32 s, U32 k) const override {
    return Strips.count(s) ? Strips.at(s).at(k).Type : Base::GetSurfaceType(s, k);
  }
  S32 GetSurfaceGripModifier(U32 s, U32 k) const override {
    return Strips.count(s) ? Strips.at(s).at(k).Grip : Base::GetSurfaceGripModifier(s, k);
  }
  U32 GetWallCount(U32 s) const override {
    return Walls.count(s) ? U32(Walls.at(s).size()) : Base::GetWallCount(s);
  }
  S32 GetWallRightStartLatitude(U32 s, U32 w) const override {
    return Walls.count(s) ? Walls.at(s).at(w).RightStart : Base::GetWallRightStartLatitude(s, w);
  }
  S32 GetWallRightEndLatitude(U32 s, U32 w) const override {
    return Walls.count(s) ? Walls.at(s).at(w).RightEnd : Base::GetWallRightEndLatitude(s, w);
  }
  S32 GetWallLeftStartLatitude(U32 s, U32 w) const override {
    return Walls.count(s) ? Walls.at(s).at(w).LeftStart : Base::GetWallLeftStartLatitude(s, w);
  }
  S32 GetWallLeftEndLatitude(U32 s, U32 w) const override {
    return Walls.count(s) ? Walls.at(s).at(w).LeftEnd : Base::GetWallLeftEndLatitude(s, w);
  }
  S32 GetWallHeight(U32 s, U32 w) const override {
    return Walls.count(s) ? 30000 : Base::GetWallHeight(s, w);
  }
  S32 GetWallType(U32 s, U32 w) const override {
    return Walls.count(s) ? Walls.at(s).at(w).Type : Base::GetWallType(s, w);
  }

private:
  using Base = ICR2TrkFile;
  U32 J(U32 j) const { return std::min(j, Base::GetLateralCount() - 1); }
};

CountedPtr<OverlayTrkFile> OverICR2Circuit() {
  return CountedPtr<OverlayTrkFile>(new OverlayTrkFile);
}

// The circuit's strips of section s as an overlay lists them: grass, asphalt, gravel.
std::vector<OverlayTrkFile::Strip> CircuitStrips() {
  return {{-150000, -150000, -60000, -60000, SurfaceGrass, 0},
          {-60000, -60000, 60000, 60000, SurfaceAsphalt, 0},
          {60000, 60000, 150000, 150000, SurfaceGravel, -3}};
}

struct WallLine {
  S32 Start;
  S32 End;
  int Type;
  bool operator==(const WallLine&) const = default;
};

std::vector<WallLine> WallLines(const TrkFile& file, U32 s) {
  std::vector<WallLine> lines;
  for (U32 w = 0; w < file.GetWallCount(s); ++w) {
    EXPECT_EQ(file.GetWallLeftStartLatitude(s, w), file.GetWallRightStartLatitude(s, w));
    lines.push_back({file.GetWallRightStartLatitude(s, w), file.GetWallRightEndLatitude(s, w),
                     file.GetWallType(s, w)});
  }
  return lines;
}

std::string Describe(const std::vector<WallLine>& lines) {
  std::string text;
  for (const WallLine& line : lines)
    text += "(" + std::to_string(line.Start) + "," + std::to_string(line.End) + "," +
            std::to_string(line.Type) + ")";
  return text;
}

// Every point of a track sampled at several offsets into each section and several
// latitudes; the two files must agree within tolerance file units.
void ExpectSameTrackPoints(const TrkFile& a, const TrkFile& b, const std::vector<S32>& latitudes,
                           S32 tolerance) {
  ASSERT_EQ(a.GetSectionCount(), b.GetSectionCount());
  for (U32 s = 0; s < a.GetSectionCount(); ++s) {
    for (S32 part = 0; part < 4; ++part) {
      const S32 longitude = a.GetSectionStart(s) + a.GetSectionLength(s) / 4 * part;
      for (S32 latitude : latitudes) {
        S32 pa[7], pb[7];
        a.GetTrackPoint(longitude, latitude, pa[0], pa[1], pa[2], pa[3], pa[4], pa[5], pa[6]);
        b.GetTrackPoint(longitude, latitude, pb[0], pb[1], pb[2], pb[3], pb[4], pb[5], pb[6]);
        for (int i = 0; i < 6; ++i)
          EXPECT_NEAR(pa[i], pb[i], tolerance)
              << "section " << s << " part " << part << " latitude " << latitude << " value " << i;
        EXPECT_EQ(pa[6], pb[6]) << "surface, section " << s << " latitude " << latitude;
      }
    }
  }
}

TEST(TrkConversion, ICR2ConvertedToICR2WritesTheSameBytes) {
  const auto bytes = ICR2TrkBuilder::Circuit().Bytes();
  EXPECT_EQ(WriteToMemory(ICR2TrkFile(ReadICR2(bytes))), bytes);
}

TEST(TrkConversion, GPLConvertedToICR2KeepsGeometrySurfacesAndWalls) {
  const auto gpl = ReadGPL(GplTrkBuilder::Circuit().Bytes());
  const auto icr2 = ToICR2(gpl);
  ExpectSameTrackPoints(*gpl, *icr2, {-700000, -400000, -200000, 0, 150000, 310000, 400000}, 0);
  EXPECT_EQ(icr2->GetLength2D(), gpl->GetLength2D());
  for (U32 s = 0; s < gpl->GetSectionCount(); ++s) {
    ASSERT_EQ(icr2->GetSurfaceCount(s), gpl->GetSurfaceCount(s));
    for (U32 k = 0; k < gpl->GetSurfaceCount(s); ++k)
      EXPECT_EQ(icr2->GetSurfaceType(s, k), gpl->GetSurfaceType(s, k)) << s << " " << k;
    // The GPL Armco wall from 300000 to 320000 becomes two lines; the strips' right
    // boundary gains a line of its own.
    const std::vector<WallLine> expected = {
        {gpl->GetSurfaceRightStartLatitude(s, 0), gpl->GetSurfaceRightEndLatitude(s, 0), WallArmco},
        {300000, 300000, WallArmco},
        {320000, 320000, WallArmco}};
    EXPECT_EQ(WallLines(*icr2, s), expected) << Describe(WallLines(*icr2, s));
  }
}

TEST(TrkConversion, TrackOverAnICR2FileGivesTheFramesOfItsGPLConversion) {
  const auto icr2 = ReadICR2(ICR2TrkBuilder::Circuit().Bytes());
  const auto gpl = ToGPL(icr2);
  ExpectSameTrackPoints(*icr2, *gpl, {-140000, -100000, -30000, 0, 30000, 100000, 140000}, 0);
  const TrkTrack a(icr2);
  const TrkTrack b(gpl);
  ASSERT_DOUBLE_EQ(a.GetLength2D(), b.GetLength2D());
  for (double distance = -10.0; distance < a.GetLength2D() + 10.0; distance += 7.3) {
    for (double latitude : {-7.0, -2.5, 0.0, 1.0, 6.5}) {
      const TrackFrame fa = a.GetFrame(distance, latitude);
      const TrackFrame fb = b.GetFrame(distance, latitude);
      EXPECT_NEAR(fa.X, fb.X, 1e-4) << distance << " " << latitude;
      EXPECT_NEAR(fa.Y, fb.Y, 1e-4) << distance << " " << latitude;
      EXPECT_NEAR(fa.Z, fb.Z, 1e-4) << distance << " " << latitude;
      EXPECT_NEAR(fa.Orientation, fb.Orientation, 1e-8);
      EXPECT_NEAR(fa.Pitch, fb.Pitch, 1e-8);
      EXPECT_NEAR(fa.Bank, fb.Bank, 1e-8);
      EXPECT_EQ(fa.SurfaceType, fb.SurfaceType) << distance << " " << latitude;
    }
  }
}

TEST(TrkConversion, ICR2ConvertedToGPLKeepsWallsAsRecordsAtTheirLines) {
  const auto icr2 = ReadICR2(ICR2TrkBuilder::Circuit().Bytes());
  const auto gpl = ToGPL(icr2);
  for (U32 s = 0; s < gpl->GetSectionCount(); ++s) {
    // Both walls stand on strip boundaries: each becomes a record just before it, and
    // with it a strip of no width.
    ASSERT_EQ(gpl->GetSurfaceCount(s), 5u);
    ASSERT_EQ(gpl->GetWallCount(s), 2u);
    EXPECT_EQ(gpl->GetWallType(s, 0), WallArmco);
    EXPECT_EQ(gpl->GetWallType(s, 1), WallConcrete);
    EXPECT_EQ(gpl->GetWallRightStartLatitude(s, 0), -150000);
    EXPECT_EQ(gpl->GetWallLeftStartLatitude(s, 0), -150000);
    EXPECT_EQ(gpl->GetWallRightEndLatitude(s, 1), 150000);
    EXPECT_EQ(gpl->GetWallHeight(s, 1), ICR2TrkFile::WallHeight);
    EXPECT_EQ(gpl->GetSurfaceType(s, 1), SurfaceGrass);
    EXPECT_EQ(gpl->GetSurfaceType(s, 2), SurfaceAsphalt);
    EXPECT_EQ(gpl->GetSurfaceType(s, 3), SurfaceGravel);
  }
}

TEST(TrkConversion, GPLConvertedToGPLKeepsEverythingButExtrasAndUnusedCurveWords) {
  GplTrkBuilder b = GplTrkBuilder::Circuit();
  b.Sections[1].Flags = 3;
  b.Sections[2].Flags = 2;
  const auto gpl = ReadGPL(b.Bytes());
  const auto again = ToGPL(gpl);
  ExpectSameTrackPoints(*gpl, *again, {-700000, -400000, 0, 150000, 310000, 400000}, 0);
  EXPECT_TRUE(again->IsSectionFlag0(1));
  EXPECT_TRUE(again->IsSectionFlag1(1));
  EXPECT_FALSE(again->IsSectionFlag0(2));
  EXPECT_TRUE(again->IsSectionFlag1(2));
  for (U32 s = 0; s < gpl->GetSectionCount(); ++s) {
    if (gpl->IsSectionCurve(s)) {
      EXPECT_NE(gpl->GetCurveRadius(s), 0);
      EXPECT_EQ(again->GetCurveRadius(s), 0);
    }
    for (U32 j = 0; j < gpl->GetLateralCount(); ++j)
      EXPECT_EQ(again->GetCubeCoefficientTimes3(s, j), gpl->GetCubeCoefficientTimes3(s, j));
    ASSERT_EQ(again->GetWallCount(s), gpl->GetWallCount(s));
    for (U32 w = 0; w < gpl->GetWallCount(s); ++w) {
      EXPECT_EQ(again->GetWallType(s, w), gpl->GetWallType(s, w));
      EXPECT_EQ(again->GetWallHeight(s, w), gpl->GetWallHeight(s, w));
      EXPECT_EQ(again->GetWallRightStartLatitude(s, w), gpl->GetWallRightStartLatitude(s, w));
    }
    EXPECT_EQ(again->GetSurfaceAttribute(s, 1), gpl->GetSurfaceAttribute(s, 1));
  }
}

// One row of the conversion's failures.
struct FailureCase {
  const char* Name;
  std::function<void(OverlayTrkFile&)> Change;
  const char* Message;
};

TEST(TrkConversion, ICR2ConversionRefusesWhatTheFormatCannotHold) {
  const std::vector<FailureCase> cases = {
      {"11 laterals", [](OverlayTrkFile& f) { f.LateralCount = 11; },
       "ICR2 trk file supports too few laterals"},
      {"water",
       [](OverlayTrkFile& f) {
         f.Strips[3] = {{0, 0, 9, 9, SurfaceWater}};
       },
       "ICR2 trk unsupported surface type"},
      {"invisible surface",
       [](OverlayTrkFile& f) {
         f.Strips[3] = {{0, 0, 9, 9, SurfaceInvisible}};
       },
       "ICR2 trk unsupported surface type"},
      {"asphalt grip below its group",
       [](OverlayTrkFile& f) {
         f.Strips[3] = {{0, 0, 9, 9, SurfaceAsphalt, -8}};
       },
       "ICR2 trk unsupported surface type"},
      {"grass grip above its group",
       [](OverlayTrkFile& f) {
         f.Strips[3] = {{0, 0, 9, 9, SurfaceGrass, 1}};
       },
       "ICR2 trk unsupported surface type"},
      {"tyres",
       [](OverlayTrkFile& f) {
         f.Walls[3] = {{9, 9, 9, 9, WallTyres}};
       },
       "ICR2 trk unsupported wall type"},
      {"unknown wall",
       [](OverlayTrkFile& f) {
         f.Walls[3] = {{9, 9, 9, 9, WallUnknown}};
       },
       "ICR2 trk unsupported wall type"},
      {"section without strips", [](OverlayTrkFile& f) { f.Strips[3] = {}; },
       "ICR2 trk unsupported section without surface"},
  };
  for (const FailureCase& c : cases) {
    const auto source = OverICR2Circuit();
    c.Change(*source);
    try {
      ICR2TrkFile converted{CountedPtr<TrkFile>(source)};
      ADD_FAILURE() << c.Name << ": converted";
    } catch (const Util::XUsage& e) {
      EXPECT_EQ(e.Message, c.Message) << c.Name;
    }
  }
}

TEST(TrkConversion, ICR2ConversionMapsSurfacesToCodesThatReadBackTheirGroup) {
  struct Row {
    int Type;
    S32 Grip;
    int ReadType;
    S32 ReadGrip;
  };
  const std::vector<Row> rows = {
      {SurfaceAsphalt, 0, SurfaceAsphalt, 0},   {SurfaceAsphalt, -7, SurfaceAsphalt, -7},
      {SurfaceConcrete, 0, SurfaceConcrete, 0}, {SurfaceConcrete, -15, SurfaceConcrete, -15},
      {SurfaceGrass, -6, SurfaceGrass, -6},     {SurfaceGravel, -2, SurfaceGravel, -2},
      {SurfacePaint, 0, SurfacePaint, 0},       {SurfaceDirt, 0, SurfaceGravel, 0},
      {SurfaceSand, -2, SurfaceGrass, -2},
  };
  for (const Row& row : rows) {
    const auto source = OverICR2Circuit();
    auto strips = CircuitStrips();
    strips[1].Type = row.Type;
    strips[1].Grip = row.Grip;
    source->Strips[4] = strips;
    const auto converted = ToICR2(source);
    EXPECT_EQ(converted->GetSurfaceType(4, 1), row.ReadType) << row.Type << " " << row.Grip;
    EXPECT_EQ(converted->GetSurfaceGripModifier(4, 1), row.ReadGrip) << row.Type << " " << row.Grip;
  }
}

TEST(TrkConversion, ICR2ConversionTurnsWallsIntoLinesAtTheStripEdges) {
  using W = OverlayTrkFile::Wall;
  struct Row {
    const char* Name;
    std::vector<W> Walls;
    std::vector<WallLine> Expected;
  };
  const std::vector<Row> rows = {
      {"no walls: one line at each outer edge",
       {},
       {{-150000, -150000, WallArmco}, {150000, 150000, WallArmco}}},
      {"a line on the right edge is not doubled",
       {{-150000, -150000, -150000, -150000, WallConcrete}},
       {{-150000, -150000, WallConcrete}, {150000, 150000, WallArmco}}},
      {"a wide wall gives two lines, the left one plain",
       {{100000, 100000, 120000, 130000, WallWireFence}},
       {{-150000, -150000, WallArmco},
        {100000, 100000, WallWireFence},
        {120000, 130000, WallArmco},
        {150000, 150000, WallArmco}}},
      {"a wall widening towards the end gives two lines",
       {{100000, 100000, 100000, 110000, WallWireFence}},
       {{-150000, -150000, WallArmco},
        {100000, 100000, WallWireFence},
        {100000, 110000, WallArmco},
        {150000, 150000, WallArmco}}},
      {"walls on both edges stay as they are",
       {{-150000, -150000, -150000, -150000, WallHayBales},
        {150000, 150000, 150000, 150000, WallConcreteWithFence}},
       {{-150000, -150000, WallArmco}, {150000, 150000, WallConcreteWithFence}}},
      {"a wall ending off the right edge gets a line at the edge",
       {{-150000, -140000, -150000, -140000, WallArmcoLeft}},
       {{-150000, -150000, WallArmco}, {-150000, -140000, WallArmco}, {150000, 150000, WallArmco}}},
      {"wire fence variants",
       {{0, 0, 0, 0, WallWireFenceLeft}, {10, 10, 10, 10, WallWireFenceRight}},
       {{-150000, -150000, WallArmco},
        {0, 0, WallWireFence},
        {10, 10, WallWireFence},
        {150000, 150000, WallArmco}}},
  };
  for (const Row& row : rows) {
    const auto source = OverICR2Circuit();
    source->Strips[5] = CircuitStrips();
    source->Walls[5] = row.Walls;
    const auto converted = ToICR2(source);
    EXPECT_EQ(WallLines(*converted, 5), row.Expected)
        << row.Name << ": " << Describe(WallLines(*converted, 5));
  }
}

TEST(TrkConversion, TenLateralsConvertToICR2AndSixteenToGPL) {
  const auto ten = OverICR2Circuit();
  ten->LateralCount = 10;
  const ICR2TrkFile icr2{CountedPtr<TrkFile>(ten)};
  EXPECT_EQ(icr2.GetLateralCount(), 10u);
  EXPECT_EQ(icr2.GetLateral(9), 100000 + 7000);

  const auto sixteen = OverICR2Circuit();
  sixteen->LateralCount = 16;
  const GPLTrkFile gpl{CountedPtr<TrkFile>(sixteen)};
  EXPECT_EQ(gpl.GetLateralCount(), 16u);
  sixteen->LateralCount = 17;
  try {
    GPLTrkFile refused{CountedPtr<TrkFile>(sixteen)};
    ADD_FAILURE() << "17 laterals converted";
  } catch (const Util::XUsage& e) {
    EXPECT_EQ(e.Message, "GPL trk file supports too few laterals");
  }
}

TEST(TrkConversion, GPLConversionKeepsStraightWordsAndClearsUnusedCurveWords) {
  const auto icr2 = ReadICR2(ICR2TrkBuilder::Circuit().Bytes());
  const auto gpl = ToGPL(icr2);
  EXPECT_EQ(gpl->GetCurveRadius(0), 123456);
  EXPECT_EQ(gpl->GetStraightLateralY(2), icr2->GetStraightLateralY(2));
  EXPECT_EQ(gpl->GetXSectionStartY(2, 1), icr2->GetXSectionStartY(2, 1));
  EXPECT_EQ(gpl->GetCurveRadius(1), 0);
  EXPECT_EQ(gpl->GetXSectionStartY(1, 1), 0);
  EXPECT_EQ(gpl->GetXSectionRadius(1, 1), icr2->GetXSectionRadius(1, 1));
}

// The GPL view of one converted section: its strips' right edges and types, then its
// walls' right edges, left edges and types.
struct GPLSection {
  std::vector<std::pair<S32, int>> Strips;
  std::vector<std::tuple<S32, S32, int>> Walls;
  bool operator==(const GPLSection&) const = default;
};

GPLSection ViewSection(const TrkFile& file, U32 s) {
  GPLSection view;
  for (U32 k = 0; k < file.GetSurfaceCount(s); ++k)
    view.Strips.emplace_back(file.GetSurfaceRightStartLatitude(s, k), file.GetSurfaceType(s, k));
  for (U32 w = 0; w < file.GetWallCount(s); ++w)
    view.Walls.emplace_back(file.GetWallRightStartLatitude(s, w),
                            file.GetWallLeftStartLatitude(s, w), file.GetWallType(s, w));
  return view;
}

TEST(TrkConversion, GPLConversionPlacesWallsAmongTheStripBoundaries) {
  using W = OverlayTrkFile::Wall;
  const std::vector<OverlayTrkFile::Strip> strips = {{-100000, -100000, 0, 0, SurfaceAsphalt},
                                                     {0, 0, 100000, 100000, SurfaceGrass}};
  struct Row {
    const char* Name;
    std::vector<W> Walls;
    GPLSection Expected;
  };
  const std::vector<Row> rows = {
      {"no walls: two strips and the closing record",
       {},
       {{{-100000, SurfaceAsphalt}, {0, SurfaceGrass}}, {}}},
      {"a wall inside a strip splits it",
       {{50000, 50000, 60000, 60000, WallTyres}},
       {{{-100000, SurfaceAsphalt},
         {0, SurfaceGrass},
         {50000, SurfaceAsphalt},
         {50000, SurfaceGrass}},
        {{50000, 50000, WallTyres}}}},
      {"a wall on a boundary goes just before it",
       {{0, 0, 0, 0, WallConcrete}},
       {{{-100000, SurfaceAsphalt}, {0, SurfaceAsphalt}, {0, SurfaceGrass}},
        {{0, 0, WallConcrete}}}},
      {"a wall on the closing boundary",
       {{100000, 100000, 100000, 100000, WallArmcoRight}},
       {{{-100000, SurfaceAsphalt}, {0, SurfaceGrass}, {100000, SurfaceAsphalt}},
        {{100000, 100000, WallArmcoRight}}}},
      {"a wall left of every boundary is left out",
       {{200000, 200000, 200000, 200000, WallArmco}},
       {{{-100000, SurfaceAsphalt}, {0, SurfaceGrass}}, {}}},
      {"right-hand fence and shared fence code",
       {{-100000, -100000, 0, 0, WallWireFenceRight}, {0, 0, 0, 0, WallConcreteWithFence}},
       {{{-100000, SurfaceAsphalt},
         {-100000, SurfaceAsphalt},
         {0, SurfaceAsphalt},
         {0, SurfaceGrass}},
        {{-100000, -100000, WallWireFenceRight}, {0, 0, WallWireFence}}}},
  };
  for (const Row& row : rows) {
    const auto source = OverICR2Circuit();
    source->Strips[1] = strips;
    source->Walls[1] = row.Walls;
    const auto converted = ToGPL(source);
    EXPECT_EQ(ViewSection(*converted, 1), row.Expected) << row.Name;
    // Its neighbours are untouched by the insertions.
    EXPECT_EQ(ViewSection(*converted, 2), ViewSection(*ToGPL(OverICR2Circuit()), 2)) << row.Name;
  }
}

TEST(TrkConversion, GPLConversionAssertsOnWhatItCannotPlaceOrEncode) {
  const std::vector<OverlayTrkFile::Strip> strips = {{-100000, -100000, 0, 0, SurfaceAsphalt},
                                                     {0, 0, 100000, 100000, SurfaceGrass}};
  struct Row {
    const char* Name;
    std::function<void(OverlayTrkFile&)> Change;
    const char* Expression;
  };
  const std::vector<Row> rows = {
      {"wall right of the first boundary of a later section",
       [](OverlayTrkFile& f) {
         f.Walls[1] = {{-200000, -200000, -200000, -200000, WallArmco}};
       },
       "i > 0"},
      {"wall crossing a boundary",
       [](OverlayTrkFile& f) {
         f.Walls[1] = {{50000, 150000, 50000, 150000, WallArmco}};
       },
       "Surfaces[i].From >= sur.From && Surfaces[i].To >= sur.To"},
      {"armco on the left",
       [](OverlayTrkFile& f) {
         f.Walls[1] = {{0, 0, 0, 0, WallArmcoLeft}};
       },
       "false"},
      {"unknown wall",
       [](OverlayTrkFile& f) {
         f.Walls[1] = {{0, 0, 0, 0, WallUnknown}};
       },
       "false"},
      {"invisible surface",
       [](OverlayTrkFile& f) {
         f.Strips[1] = {{0, 0, 9, 9, SurfaceInvisible}};
       },
       "false"},
      {"rumble strip",
       [](OverlayTrkFile& f) {
         f.Strips[1] = {{0, 0, 9, 9, SurfaceRumbleStrip}};
       },
       "false"},
  };
  for (const Row& row : rows) {
    const auto source = OverICR2Circuit();
    source->Strips[1] = strips;
    row.Change(*source);
    try {
      GPLTrkFile converted{CountedPtr<TrkFile>(source)};
      ADD_FAILURE() << row.Name << ": converted";
    } catch (const Util::XAssertion& e) {
      EXPECT_STREQ(e.Expression, row.Expression) << row.Name;
    }
  }

  const auto stripless = OverICR2Circuit();
  stripless->Strips[1] = {};
  try {
    GPLTrkFile converted{CountedPtr<TrkFile>(stripless)};
    ADD_FAILURE() << "section without strips converted";
  } catch (const Util::XUsage& e) {
    EXPECT_EQ(e.Message, "GPL trk unsupported section without surface");
  }
}

TEST(TrkConversion, GPLConversionKeepsEveryWallTypeWithAGPLCode) {
  struct Row {
    int Type;
    int ReadType;
  };
  // Concrete With Fence shares Wire Fence's code.
  const Row rows[] = {{WallArmco, WallArmco},
                      {WallArmcoRight, WallArmcoRight},
                      {WallConcrete, WallConcrete},
                      {WallConcreteWithFence, WallWireFence},
                      {WallForest, WallForest},
                      {WallHayBales, WallHayBales},
                      {WallInvisible, WallInvisible},
                      {WallShrubs, WallShrubs},
                      {WallTyres, WallTyres},
                      {WallWireFence, WallWireFence},
                      {WallWireFenceRight, WallWireFenceRight},
                      {WallWood, WallWood}};
  for (const Row& row : rows) {
    const auto source = OverICR2Circuit();
    source->Strips[6] = CircuitStrips();
    source->Walls[6] = {{0, 0, 0, 0, row.Type}};
    const auto converted = ToGPL(source);
    ASSERT_EQ(converted->GetWallCount(6), 1u) << row.Type;
    EXPECT_EQ(converted->GetWallType(6, 0), row.ReadType) << row.Type;
  }
}

TEST(TrkConversion, GPLConversionKeepsEveryGPLSurfaceType) {
  for (int type : {SurfaceAsphalt, SurfaceConcrete, SurfaceDirt, SurfaceGrass, SurfaceGravel,
                   SurfacePaint, SurfaceSand, SurfaceTrainTrack, SurfaceWater}) {
    const auto source = OverICR2Circuit();
    auto strips = CircuitStrips();
    strips[2].Type = type;
    source->Strips[6] = strips;
    EXPECT_EQ(ToGPL(source)->GetSurfaceType(6, 3), type) << type;
  }
}

} // namespace
} // namespace Ostra::Papy
