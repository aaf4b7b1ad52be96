#include "Papy/Track/ICR2TrkFile.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport/ICR2TrkBuilder.h"
#include "Papy/Types/ReaderOptions.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {
namespace {

using Test::ICR2TrkBuilder;

CountedPtr<Util::BinaryStream> Stream(std::vector<unsigned char> bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream("circuit.trk", std::move(bytes)));
}

CountedPtr<ICR2TrkFile> Read(std::vector<unsigned char> bytes) {
  return CountedPtr<ICR2TrkFile>(new ICR2TrkFile(Stream(std::move(bytes))));
}

std::vector<unsigned char> WriteToMemory(const TrkFile& file) {
  CountedPtr<Util::BinaryStream> stream(new Util::MemoryStream("out.trk"));
  file.Write(stream);
  return dynamic_cast<Util::MemoryStream&>(*stream).Bytes();
}

void Patch(std::vector<unsigned char>& bytes, std::size_t offset, U32 value) {
  Util::StoreU32(&bytes[offset], value);
}

class StrictChecking {
public:
  StrictChecking() { ReaderOptions::Instance().Strict = true; }
  ~StrictChecking() { ReaderOptions::Instance().Strict = false; }
};

constexpr U32 L = 3; // laterals of the circuit

TEST(ICR2TrkFile, ReadsEveryFieldOfTheCircuit) {
  const auto file = Read(ICR2TrkBuilder::Circuit().Bytes());
  const ICR2TrkBuilder b = ICR2TrkBuilder::Circuit();
  EXPECT_EQ(file->GetLength(), b.Length);
  ASSERT_EQ(file->GetLateralCount(), L);
  EXPECT_EQ(file->GetLateral(0), -100000);
  EXPECT_EQ(file->GetLateral(2), 100000);
  ASSERT_EQ(file->GetSectionCount(), 9u);
  for (U32 s = 0; s < 9; ++s) {
    EXPECT_EQ(file->IsSectionCurve(s), b.Sections[s].Type == 2) << s;
    EXPECT_EQ(file->GetSectionStart(s), b.Sections[s].Start) << s;
    EXPECT_EQ(file->GetSectionLength(s), b.Sections[s].Length) << s;
    EXPECT_EQ(file->GetSectionOrientation(s), b.Sections[s].Heading) << s;
    EXPECT_FALSE(file->IsSectionFlag0(s));
    EXPECT_FALSE(file->IsSectionFlag1(s));
    EXPECT_EQ(file->GetSectionUnusedCount(s), 0u);
  }
  const auto& straight = b.Sections[2].Geometry;
  EXPECT_EQ(file->GetStraightDeltaX(2), straight[0]);
  EXPECT_EQ(file->GetStraightDeltaY(2), straight[1]);
  EXPECT_EQ(file->GetStraightLateralX(2), straight[2]);
  EXPECT_EQ(file->GetStraightLateralY(2), straight[3]);
  EXPECT_EQ(file->GetCurveRadius(2), 123456);
  const auto& curve = b.Sections[6].Geometry;
  EXPECT_EQ(file->GetCurveCentreX(6), curve[0]);
  EXPECT_EQ(file->GetCurveCentreY(6), curve[1]);
  EXPECT_EQ(file->GetCurveHalfAngle(6), -(1 << 29));
  EXPECT_EQ(file->GetCurveRadius(6), 0);

  const auto& piece = b.LateralRecords[2 * L + 1];
  EXPECT_EQ(file->GetStartAltitude(2, 1), piece.A);
  EXPECT_EQ(file->GetLinearCoefficient(2, 1), piece.B);
  EXPECT_EQ(file->GetSquareCoefficient(2, 1), piece.C);
  EXPECT_EQ(file->GetCubeCoefficient(2, 1), piece.D);
  EXPECT_EQ(file->GetSquareCoefficientTimes2(2, 1), piece.CTimes2);
  EXPECT_EQ(file->GetCubeCoefficientTimes3(2, 1), piece.DTimes3);
  EXPECT_EQ(file->GetXSectionStartX(2, 1), piece.XOrRadius);
  EXPECT_EQ(file->GetXSectionStartY(2, 1), piece.Y);
  EXPECT_EQ(file->GetXSectionRadius(6, 2), b.LateralRecords[6 * L + 2].XOrRadius);
  EXPECT_EQ(file->GetXSectionUnusedValue(2, 1), 0);

  ASSERT_EQ(file->GetSurfaceCount(4), 3u);
  EXPECT_EQ(file->GetSurfaceRightStartLatitude(4, 0), -150000);
  EXPECT_EQ(file->GetSurfaceLeftStartLatitude(4, 0), -60000);
  EXPECT_EQ(file->GetSurfaceLeftEndLatitude(4, 1), 60000);
  // The last strip reaches the last wall.
  EXPECT_EQ(file->GetSurfaceLeftStartLatitude(4, 2), 150000);
  EXPECT_EQ(file->GetSurfaceLeftEndLatitude(4, 2), 150000);
  EXPECT_EQ(file->GetSurfaceType(4, 0), SurfaceGrass);
  EXPECT_EQ(file->GetSurfaceType(4, 1), SurfaceAsphalt);
  EXPECT_EQ(file->GetSurfaceType(4, 2), SurfaceGravel);
  EXPECT_EQ(file->GetSurfaceGripModifier(4, 2), -3);
  EXPECT_FALSE(file->IsSurfaceWall(4, 1));
  EXPECT_EQ(file->GetSurfaceAttribute(4, 1), 0);
  EXPECT_EQ(file->GetSurfaceExtraCount(4, 1), 0u);

  ASSERT_EQ(file->GetWallCount(8), 2u);
  EXPECT_EQ(file->GetWallRightStartLatitude(8, 1), 150000);
  EXPECT_EQ(file->GetWallLeftEndLatitude(8, 1), 150000);
  EXPECT_EQ(file->GetWallHeight(8, 0), 20000);
  EXPECT_EQ(file->GetWallType(8, 0), WallArmco);
  EXPECT_EQ(file->GetWallType(8, 1), WallConcrete);
  EXPECT_EQ(file->GetWallExtraCount(8, 1), 0u);
}

TEST(ICR2TrkFile, IndicesOutsideTheFileAreRefusedByAssertion) {
  const auto file = Read(ICR2TrkBuilder::Circuit().Bytes());
  const std::vector<std::function<void()>> calls = {
      [&] { file->GetSectionStart(9); },
      [&] { file->GetStartAltitude(0, 3); },
      [&] { file->GetSurfaceType(0, 3); },
      [&] { file->GetWallType(0, 2); },
      [&] { file->GetSurfaceLeftStartLatitude(9, 0); },
      [&] { file->GetLateral(3); },
  };
  for (std::size_t i = 0; i < calls.size(); ++i)
    EXPECT_THROW(calls[i](), Util::XAssertion) << "call " << i;
}

// Each row breaks one field of a valid image (two where the row checks the order), in
// the builder or, for header counts the builder derives, by patching the bytes.
struct FormatCase {
  const char* Name;
  std::function<void(ICR2TrkBuilder&)> Change;
  const char* Message;
  std::size_t PatchOffset = 0;
  U32 PatchValue = 0;
};

TEST(ICR2TrkFile, EachFieldCheckRejectsItsFieldWithItsMessage) {
  using B = ICR2TrkBuilder;
  const auto none = [](B&) {};
  const std::vector<FormatCase> cases = {
      {"id stored as the bytes TRAK", [](B& b) { b.Id = 0x4B415254; }, "ICR2 trk file id not TRAK"},
      {"type 2", [](B& b) { b.Type = 2; }, "ICR2 trk file type not 1"},
      {"id before type", [](B& b) { b.Id = b.Type = 0; }, "ICR2 trk file id not TRAK"},
      {"no laterals", none, "ICR2 trk file lateral count error", B::HeaderLateralCount, 0},
      {"11 laterals", none, "ICR2 trk file lateral count error", B::HeaderLateralCount, 11},
      {"no sections", none, "ICR2 trk file section count error", B::HeaderSectionCount, 0},
      {"3d three above 3 d", [](B& b) { b.LateralRecords[5].DTimes3 += 3; },
       "ICR2 trk file altitude delta 4 error"},
      {"2c three below 2 c", [](B& b) { b.LateralRecords[5].CTimes2 -= 3; },
       "ICR2 trk file altitude delta 5 error"},
      {"3d before 2c", [](B& b) { b.LateralRecords[5].CTimes2 = b.LateralRecords[5].DTimes3 = 9; },
       "ICR2 trk file altitude delta 4 error"},
      // 3 d wraps to the stored value in 32 bits.
      {"3 d beyond 32 bits",
       [](B& b) {
         b.LateralRecords[5] = {0x40000000, 0, 0, 0, -0x40000000};
       },
       "ICR2 trk file altitude delta 4 error"},
      {"section type 3", [](B& b) { b.Sections[3].Type = 3; },
       "ICR2 trk file unknown section type"},
      {"first lateral record", [](B& b) { b.Sections[3].LateralStart += 1; },
       "ICR2 trk file pieces index error"},
      {"section start", [](B& b) { b.Sections[3].Start += 1; },
       "ICR2 trk file section start error"},
      {"type before start", [](B& b) { b.Sections[3].Start = b.Sections[3].Type = 0; },
       "ICR2 trk file unknown section type"},
      {"negative section length", [](B& b) { b.Sections[8].Length = -1; },
       "ICR2 trk file section length error"},
      {"first surface record", [](B& b) { b.Sections[3].SurfaceStart += 1; },
       "ICR2 trk file surface start error"},
      {"no surface records", [](B& b) { b.Sections[3].SurfaceCount = 0; },
       "ICR2 trk file surface count error"},
      {"start four above the previous end", [](B& b) { b.LateralRecords[3 * L + 1].A += 4; },
       "ICR2 trk file altitude mismatch"},
      {"header length", [](B& b) { b.Length += 1; }, "ICR2 trk file total length error"},
      {"lap of length 0",
       [](B& b) {
         for (auto& section : b.Sections)
           section.Start = section.Length = b.Length = 0;
       },
       "ICR2 trk file total length error"},
      {"surface block not a multiple of 12", [](B& b) { b.SurfaceTail = 4; },
       "ICR2 trk file total surface length error"},
      {"surface record no section uses", [](B& b) { b.SurfaceTail = 12; },
       "ICR2 trk file total surface length error"},
  };
  for (const FormatCase& c : cases) {
    ICR2TrkBuilder b = ICR2TrkBuilder::Circuit();
    c.Change(b);
    auto bytes = b.Bytes();
    if (c.PatchOffset != 0)
      Patch(bytes, c.PatchOffset, c.PatchValue);
    try {
      Read(bytes);
      ADD_FAILURE() << c.Name << ": accepted";
    } catch (const Util::XFileFormat& e) {
      EXPECT_EQ(e.Message, c.Message) << c.Name;
      EXPECT_EQ(e.FileName, "circuit.trk") << c.Name;
    }
  }
}

TEST(ICR2TrkFile, AcceptsTheLargestToleratedDeviations) {
  using B = ICR2TrkBuilder;
  const std::vector<std::pair<const char*, std::function<void(B&)>>> cases = {
      {"stored 3d two above 3 d", [](B& b) { b.LateralRecords[5].DTimes3 += 2; }},
      {"stored 2c two below 2 c", [](B& b) { b.LateralRecords[5].CTimes2 -= 2; }},
      {"start altitude three above the previous end",
       [](B& b) { b.LateralRecords[3 * L + 1].A += 3; }},
      {"last section's end far from the first start",
       [](B& b) { b.LateralRecords[8 * L + 1].B += 99; }},
      {"section without walls", [](B& b) { b.Sections[2].Walls.clear(); }},
      {"unknown surface and wall codes",
       [](B& b) {
         b.Surfaces[0].Code = 55;
         b.Sections[0].Walls[0].Code = 1;
       }},
  };
  for (const auto& [name, change] : cases) {
    ICR2TrkBuilder b = ICR2TrkBuilder::Circuit();
    change(b);
    EXPECT_NO_THROW(Read(b.Bytes())) << name;
  }
}

TEST(ICR2TrkFile, ShortOrOversizedBlocksThrowReadErrorsWithoutAllocating) {
  const ICR2TrkBuilder b = ICR2TrkBuilder::Circuit();
  const auto whole = b.Bytes();
  const std::vector<std::pair<const char*, std::vector<unsigned char>>> cases = {
      {"cut in the header", {whole.begin(), whole.begin() + 40}},
      {"cut in the section offsets", {whole.begin(), whole.begin() + 70}},
      {"cut in the lateral records", {whole.begin(), whole.begin() + b.LateralOffset(4, 1)}},
      {"cut in the surface block", {whole.begin(), whole.begin() + b.SurfaceOffset(20)}},
      {"cut in a section record", {whole.begin(), whole.begin() + b.SectionOffset(5) + 30}},
      {"cut in a wall record", {whole.begin(), whole.end() - 4}},
  };
  for (const auto& [name, bytes] : cases)
    EXPECT_THROW(Read(bytes), Util::XFileRead) << name;

  const std::vector<std::pair<const char*, std::size_t>> huge = {
      {"section count", ICR2TrkBuilder::HeaderSectionCount},
      {"surface bytes", ICR2TrkBuilder::HeaderSurfaceBytes},
      {"wall count", b.SectionOffset(0) + ICR2TrkBuilder::SectionWallCount},
  };
  for (const auto& [name, offset] : huge) {
    auto bytes = whole;
    Patch(bytes, offset, 0xFFFFFFFF);
    EXPECT_THROW(Read(bytes), Util::XFileRead) << name;
  }
}

TEST(ICR2TrkFile, SurfaceCodesGiveTheirGroupAndTheDistanceBelowItsTop) {
  struct Row {
    U32 Code;
    int Type;
    S32 Grip;
  };
  const std::vector<Row> rows = {
      {0, SurfaceGrass, -6},    {6, SurfaceGrass, 0},       {7, SurfaceGravel, -15},
      {22, SurfaceGravel, 0},   {23, SurfaceConcrete, -15}, {38, SurfaceConcrete, 0},
      {39, SurfaceAsphalt, -7}, {46, SurfaceAsphalt, 0},    {47, SurfacePaint, -7},
      {54, SurfacePaint, 0},    {55, SurfaceUnknown, 0},    {0xFFFFFFFF, SurfaceUnknown, 0},
  };
  ICR2TrkBuilder b = ICR2TrkBuilder::Circuit();
  for (const Row& row : rows) {
    b.Surfaces[4].Code = row.Code; // section 1, the strip right of the centre line
    const auto file = Read(b.Bytes());
    EXPECT_EQ(file->GetSurfaceType(1, 1), row.Type) << row.Code;
    EXPECT_EQ(file->GetSurfaceGripModifier(1, 1), row.Grip) << row.Code;
  }
}

TEST(ICR2TrkFile, WallCodesGiveTheirTypesAndUnknownOtherwise) {
  const std::vector<std::pair<U32, int>> rows = {{0, WallArmco},    {2, WallWireFence},
                                                 {4, WallConcrete}, {6, WallConcreteWithFence},
                                                 {1, WallUnknown},  {8, WallUnknown}};
  ICR2TrkBuilder b = ICR2TrkBuilder::Circuit();
  for (const auto& [code, type] : rows) {
    b.Sections[5].Walls[1].Code = code;
    EXPECT_EQ(Read(b.Bytes())->GetWallType(5, 1), type) << code;
  }
}

TEST(ICR2TrkFile, UnknownCodesFailTheAssertionWhileStrictCheckingIsOn) {
  ICR2TrkBuilder b = ICR2TrkBuilder::Circuit();
  b.Surfaces[0].Code = 55;
  b.Sections[0].Walls[0].Code = 3;
  const auto file = Read(b.Bytes());
  StrictChecking strict;
  const std::vector<std::function<void()>> calls = {[&] { file->GetSurfaceType(0, 0); },
                                                    [&] { file->GetSurfaceGripModifier(0, 0); },
                                                    [&] { file->GetWallType(0, 0); }};
  for (const auto& call : calls) {
    try {
      call();
      ADD_FAILURE() << "no assertion";
    } catch (const Util::XAssertion& e) {
      EXPECT_STREQ(e.Expression, "false");
    }
  }
  EXPECT_EQ(file->GetSurfaceType(0, 1), SurfaceAsphalt);
}

TEST(ICR2TrkFile, LastStripOfASectionWithoutWallsHasNoWidth) {
  ICR2TrkBuilder b = ICR2TrkBuilder::Circuit();
  b.Sections[2].Walls.clear();
  b.Surfaces[8].RightEnd = 70000;
  const auto file = Read(b.Bytes());
  EXPECT_EQ(file->GetWallCount(2), 0u);
  EXPECT_EQ(file->GetSurfaceLeftStartLatitude(2, 2), 60000);
  EXPECT_EQ(file->GetSurfaceLeftEndLatitude(2, 2), 70000);
  // The walls of later sections are still found.
  EXPECT_EQ(file->GetWallRightStartLatitude(3, 1), 150000);
}

TEST(ICR2TrkFile, SettersKeepTheStoredDerivativesAndTheLateralOrder) {
  const auto file = Read(ICR2TrkBuilder::Circuit().Bytes());
  file->SetSquareCoefficient(3, 1, 5);
  file->SetCubeCoefficient(3, 1, 5);
  EXPECT_EQ(file->GetSquareCoefficient(3, 1), 5);
  EXPECT_EQ(file->GetSquareCoefficientTimes2(3, 1), 10);
  EXPECT_EQ(file->GetCubeCoefficientTimes3(3, 1), 15);
  file->SetSquareCoefficient(3, 2, 0x40000000);
  EXPECT_EQ(file->GetSquareCoefficientTimes2(3, 2), static_cast<S32>(0x80000000));
  file->SetXSectionCubic(4, 0, 1, 2, 3, 4);
  EXPECT_EQ(file->GetStartAltitude(4, 0), 1);
  EXPECT_EQ(file->GetLinearCoefficient(4, 0), 2);
  EXPECT_EQ(file->GetCubeCoefficientTimes3(4, 0), 12);

  struct Row {
    U32 Index;
    S32 Value;
    S32 Expected;
  };
  const std::vector<Row> rows = {
      {1, -100000, 0},         {1, 100000, 0},  {1, 99999, 99999},     {0, 99999, -100000},
      {0, -5000000, -5000000}, {2, -1, 100000}, {2, 7000000, 7000000},
  };
  for (const Row& row : rows) {
    const auto fresh = Read(ICR2TrkBuilder::Circuit().Bytes());
    fresh->SetLateral(row.Index, row.Value);
    EXPECT_EQ(fresh->GetLateral(row.Index), row.Expected) << row.Index << " " << row.Value;
  }
}

TEST(ICR2TrkFile, WritesTheBytesItRead) {
  ICR2TrkBuilder b = ICR2TrkBuilder::Circuit();
  b.Sections[2].Walls.clear();
  b.Sections[7].Walls.insert(b.Sections[7].Walls.begin() + 1, {6, 0, 10});
  b.Surfaces[0].Code = 55;
  const auto bytes = b.Bytes();
  EXPECT_EQ(WriteToMemory(*Read(bytes)), bytes);
}

TEST(ICR2TrkFile, WrittenChangesReadBackAndALongerStreamKeepsItsTail) {
  const auto file = Read(ICR2TrkBuilder::Circuit().Bytes());
  // The last section's end is compared with nothing, so its cubic may change freely.
  file->SetSquareCoefficient(8, 2, 13);
  file->SetCubeCoefficient(8, 2, 14);
  file->SetLateral(1, 500);
  const std::size_t size = ICR2TrkBuilder::Circuit().Bytes().size();
  CountedPtr<Util::BinaryStream> stream(
      new Util::MemoryStream("long.trk", std::vector<unsigned char>(size + 100, 0xEE)));
  file->Write(stream);
  EXPECT_EQ(stream->Size(), static_cast<S64>(size + 100));
  const ICR2TrkFile back(stream);
  EXPECT_EQ(back.GetLateral(1), 500);
  EXPECT_EQ(back.GetSquareCoefficient(8, 2), 13);
  EXPECT_EQ(back.GetCubeCoefficientTimes3(8, 2), 42);
  EXPECT_EQ(back.GetSquareCoefficientTimes2(8, 2), 26);
}

} // namespace
} // namespace Ostra::Papy
