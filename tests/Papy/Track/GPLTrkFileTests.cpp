#include "Papy/Track/GPLTrkFile.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport/GplTrkBuilder.h"
#include "Papy/Types/ReaderOptions.h"
#include "Papy/Types/SurfaceType.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {
namespace {

using Test::GplTrkBuilder;
using Util::BinaryStream;
using Util::MemoryStream;

CountedPtr<BinaryStream> Stream(std::vector<unsigned char> bytes) {
  return CountedPtr<BinaryStream>(new MemoryStream("built.trk", std::move(bytes)));
}

GPLTrkFile Read(const std::vector<unsigned char>& bytes) { return GPLTrkFile(Stream(bytes)); }

// Turns strict checking on for one test and restores it.
class StrictScope {
public:
  explicit StrictScope(bool strict) : Saved(ReaderOptions::Instance().Strict) {
    ReaderOptions::Instance().Strict = strict;
  }
  ~StrictScope() { ReaderOptions::Instance().Strict = Saved; }

private:
  bool Saved;
};

void PatchU32(std::vector<unsigned char>& bytes, std::size_t offset, U32 value) {
  Util::StoreU32(bytes.data() + offset, value);
}

struct MalformedCase {
  const char* Field;
  std::function<std::vector<unsigned char>()> Build;
  std::string Message;
};

// Each case is a valid image with one field broken (or two, to show which check comes
// first); the reader must name exactly that field.
std::vector<MalformedCase> MalformedCases() {
  const GplTrkBuilder good = GplTrkBuilder::Circuit();
  const std::size_t last = good.Sections.size() - 1;
  const auto patched = [good](std::function<void(std::vector<unsigned char>&)> patch) {
    return [good, patch] {
      auto bytes = good.Bytes();
      patch(bytes);
      return bytes;
    };
  };
  const auto edited = [good](std::function<void(GplTrkBuilder&)> edit) {
    return [good, edit] {
      GplTrkBuilder b = good;
      edit(b);
      return b.Bytes();
    };
  };
  const auto section = [good](std::size_t s, std::size_t field) {
    return good.SectionOffset(s) + field;
  };
  return {
      {"id in reading order", edited([](GplTrkBuilder& b) { b.Id = 0x4B415254; }),
       "GPL trk file id not TRAK"},
      {"version", edited([](GplTrkBuilder& b) { b.Version = 2999; }),
       "GPL trk file version not 3000"},
      {"version before section bytes",
       patched([](auto& bytes) {
         PatchU32(bytes, 4, 1);
         PatchU32(bytes, 24, 1);
       }),
       "GPL trk file version not 3000"},
      {"lateral count above 16", patched([](auto& bytes) { PatchU32(bytes, 12, 17); }),
       "GPL trk file too many laterals"},
      {"lateral count 0", patched([](auto& bytes) { PatchU32(bytes, 12, 0); }),
       "GPL trk file no laterals"},
      {"section bytes", patched([](auto& bytes) { PatchU32(bytes, 24, 52 * 9 + 1); }),
       "GPL trk section length mismatch"},
      {"file one byte long", patched([](auto& bytes) { bytes.push_back(0); }),
       "GPL trk file size mismatch"},
      {"file one byte short", patched([](auto& bytes) { bytes.pop_back(); }),
       "GPL trk file size mismatch"},
      {"surface bytes", patched([](auto& bytes) { PatchU32(bytes, 20, 0xFFFFFFE0u); }),
       "GPL trk file size mismatch"},
      {"section count", patched([](auto& bytes) { PatchU32(bytes, 16, 0xFFFFFFFFu); }),
       "GPL trk section length mismatch"},
      {"section offset 1", patched([](auto& bytes) { PatchU32(bytes, 92 + 4, 53); }),
       "GPL trk file section header index error"},
      {"last surface type", edited([](GplTrkBuilder& b) { b.Surfaces.back().Type = 1; }),
       "GPL trk file last surface type not 10"},
      {"no surface records", edited([](GplTrkBuilder& b) { b.Surfaces.clear(); }),
       "GPL trk file last surface type not 10"},
      {"section type", patched([=](auto& bytes) { PatchU32(bytes, section(3, 0), 3); }),
       "GPL trk file unknown section type"},
      {"type before piece index",
       patched([=](auto& bytes) {
         PatchU32(bytes, section(3, GplTrkBuilder::SectionType), 0);
         PatchU32(bytes, section(3, GplTrkBuilder::SectionPieceIndex), 0);
       }),
       "GPL trk file unknown section type"},
      {"piece index",
       patched([=](auto& bytes) { PatchU32(bytes, section(3, GplTrkBuilder::SectionPieceIndex), 0); }),
       "GPL trk file pieces index error"},
      {"flags", patched([=](auto& bytes) { PatchU32(bytes, section(1, GplTrkBuilder::SectionFlags), 4); }),
       "GPL trk file unknown flags"},
      {"negative length",
       patched([=](auto& bytes) { PatchU32(bytes, section(0, GplTrkBuilder::SectionLength), 0xFFFFFFFFu); }),
       "GPL trk file section length error"},
      {"surface start",
       patched([=](auto& bytes) { PatchU32(bytes, section(2, GplTrkBuilder::SectionSurfaceStart), 9); }),
       "GPL trk file surface start error"},
      {"surface count 1",
       patched([=](auto& bytes) { PatchU32(bytes, section(2, GplTrkBuilder::SectionSurfaceCount), 1); }),
       "GPL trk file section surface count error"},
      {"surface count 0",
       patched([=](auto& bytes) { PatchU32(bytes, section(0, GplTrkBuilder::SectionSurfaceCount), 0); }),
       "GPL trk file section surface count error"},
      {"surface count past the records",
       patched([=](auto& bytes) { PatchU32(bytes, section(last, GplTrkBuilder::SectionSurfaceCount), 5); }),
       "GPL trk file section surface range error"},
      {"surface count wrapping the running index",
       patched([=](auto& bytes) {
         PatchU32(bytes, section(last - 1, GplTrkBuilder::SectionSurfaceCount), 0xFFFFFFFFu);
       }),
       "GPL trk file section surface range error"},
      {"header length", edited([](GplTrkBuilder& b) { b.Length += 1; }),
       "GPL trk file total length error"},
      {"lap of length 0",
       edited([](GplTrkBuilder& b) {
         for (auto& s : b.Sections) {
           s.Start = 0;
           s.Length = 0;
         }
         b.Length = 0;
       }),
       "GPL trk file total length error"},
      {"unclaimed surface record",
       edited([](GplTrkBuilder& b) { b.Surfaces.push_back(b.Surfaces.back()); }),
       "GPL trk file total surface length error"},
  };
}

TEST(GPLTrkFileRead, RejectsEachBrokenFieldWithItsMessage) {
  for (const MalformedCase& c : MalformedCases()) {
    try {
      Read(c.Build());
      ADD_FAILURE() << c.Field << ": accepted";
    } catch (const Util::XFileFormat& e) {
      EXPECT_EQ(e.FileName, "built.trk") << c.Field;
      EXPECT_EQ(e.Message, c.Message) << c.Field;
    }
  }
}

TEST(GPLTrkFileRead, SectionStartErrorNamesSectionAndBothStarts) {
  GplTrkBuilder b = GplTrkBuilder::Loop({{false, 48, 0}, {false, 48, 0}, {false, 48, 0}},
                                        {0, 100}, {0, 0, 0});
  auto bytes = b.Bytes();
  PatchU32(bytes, b.SectionOffset(2) + GplTrkBuilder::SectionStart, 100);
  try {
    Read(bytes);
    FAIL() << "accepted";
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(e.Message, "GPL trk file section start error.\nSection 2 start 100 expected 96\n");
    const std::string what = e.What();
    EXPECT_EQ(what.substr(what.size() - 2), "\n\n");
  }
}

TEST(GPLTrkFileRead, AcceptsBothFlagBitsAndIdOnlyInFileOrder) {
  GplTrkBuilder b = GplTrkBuilder::Circuit();
  b.Sections[1].Flags = 3;
  b.Sections[2].Flags = 2;
  auto bytes = b.Bytes();
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "KART");
  const GPLTrkFile file = Read(bytes);
  EXPECT_TRUE(file.IsSectionFlag0(1));
  EXPECT_TRUE(file.IsSectionFlag1(1));
  EXPECT_FALSE(file.IsSectionFlag0(2));
  EXPECT_TRUE(file.IsSectionFlag1(2));
  EXPECT_FALSE(file.IsSectionFlag0(0));
}

TEST(GPLTrkFileRead, ShortStreamGivesReadErrorNotFormatError) {
  // A header cut short is a read failure of the stream.
  const auto bytes = GplTrkBuilder::Circuit().Bytes();
  EXPECT_THROW(Read(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 50)),
               Util::XFileRead);
}

TEST(GPLTrkFileRead, DecodesEveryFieldOfTheBuiltCircuit) {
  const GplTrkBuilder b = GplTrkBuilder::Circuit();
  const GPLTrkFile file = Read(b.Bytes());
  ASSERT_EQ(file.GetSectionCount(), b.Sections.size());
  ASSERT_EQ(file.GetLateralCount(), 3u);
  EXPECT_EQ(file.GetLength(), b.Length);
  for (U32 j = 0; j < 3; ++j)
    EXPECT_EQ(file.GetLateral(j), b.Laterals[j]);
  for (U32 s = 0; s < file.GetSectionCount(); ++s) {
    const auto& section = b.Sections[s];
    EXPECT_EQ(file.IsSectionCurve(s), section.Type == 2) << s;
    EXPECT_EQ(file.GetSectionStart(s), section.Start) << s;
    EXPECT_EQ(file.GetSectionLength(s), section.Length) << s;
    EXPECT_EQ(file.GetSectionOrientation(s), section.Orientation) << s;
    EXPECT_EQ(file.GetCurveCentreX(s), section.Geometry[0]) << s;
    EXPECT_EQ(file.GetStraightDeltaX(s), section.Geometry[0]) << s;
    EXPECT_EQ(file.GetCurveCentreY(s), section.Geometry[1]) << s;
    EXPECT_EQ(file.GetStraightDeltaY(s), section.Geometry[1]) << s;
    EXPECT_EQ(file.GetCurveHalfAngle(s), section.Geometry[2]) << s;
    EXPECT_EQ(file.GetStraightLateralX(s), section.Geometry[2]) << s;
    EXPECT_EQ(file.GetStraightLateralY(s), section.Geometry[3]) << s;
    EXPECT_EQ(file.GetCurveRadius(s), section.Geometry[4]) << s;
    EXPECT_EQ(file.GetSectionUnusedCount(s), 0u);
    for (U32 j = 0; j < 3; ++j) {
      const auto& piece = b.Pieces[s * 3 + j];
      EXPECT_EQ(file.GetStartAltitude(s, j), piece.A);
      EXPECT_EQ(file.GetLinearCoefficient(s, j), piece.B);
      EXPECT_EQ(file.GetSquareCoefficient(s, j), piece.C);
      EXPECT_EQ(file.GetCubeCoefficient(s, j), piece.D);
      EXPECT_EQ(file.GetSquareCoefficientTimes2(s, j), piece.CTimes2);
      EXPECT_EQ(file.GetCubeCoefficientTimes3(s, j), piece.DTimes3);
      EXPECT_EQ(file.GetXSectionStartX(s, j), piece.XOrRadius);
      EXPECT_EQ(file.GetXSectionRadius(s, j), piece.XOrRadius);
      EXPECT_EQ(file.GetXSectionStartY(s, j), piece.Y);
      EXPECT_EQ(file.GetXSectionUnusedValue(s, j), 0);
    }
    // Grass, asphalt, and the strip that starts at the Armco wall.
    ASSERT_EQ(file.GetSurfaceCount(s), 3u);
    EXPECT_EQ(file.GetSurfaceType(s, 0), SurfaceGrass);
    EXPECT_EQ(file.GetSurfaceType(s, 1), SurfaceAsphalt);
    EXPECT_EQ(file.GetSurfaceRightStartLatitude(s, 1), -300000);
    EXPECT_EQ(file.GetSurfaceRightEndLatitude(s, 1), -250000);
    EXPECT_EQ(file.GetSurfaceLeftStartLatitude(s, 1), 300000);
    EXPECT_EQ(file.GetSurfaceLeftEndLatitude(s, 1), 300000);
    EXPECT_EQ(file.GetSurfaceAttribute(s, 1), 7);
    EXPECT_FALSE(file.IsSurfaceWall(s, 1));
    EXPECT_EQ(file.GetSurfaceGripModifier(s, 1), 0);
    ASSERT_EQ(file.GetSurfaceExtraCount(s, 1), 2u);
    EXPECT_EQ(file.GetSurfaceExtra(s, 1, 0), 11);
    EXPECT_EQ(file.GetSurfaceExtra(s, 1, 1), 12);
    EXPECT_TRUE(file.IsSurfaceWall(s, 2));
    EXPECT_EQ(file.GetSurfaceType(s, 2), SurfaceAsphalt);
    EXPECT_EQ(file.GetSurfaceAttribute(s, 2), 0);
    EXPECT_EQ(file.GetSurfaceExtraCount(s, 2), 0u);
    ASSERT_EQ(file.GetWallCount(s), 1u);
    EXPECT_EQ(file.GetWallRightStartLatitude(s, 0), 300000);
    EXPECT_EQ(file.GetWallLeftStartLatitude(s, 0), 320000);
    EXPECT_EQ(file.GetWallLeftEndLatitude(s, 0), 320000);
    EXPECT_EQ(file.GetWallHeight(s, 0), GplTrkBuilder::WallHeight);
    EXPECT_EQ(file.GetWallType(s, 0), WallArmco);
    ASSERT_EQ(file.GetWallExtraCount(s, 0), 3u);
    EXPECT_EQ(file.GetWallExtra(s, 0, 0), 21);
    EXPECT_EQ(file.GetWallExtra(s, 0, 1), 22);
    EXPECT_EQ(file.GetWallExtra(s, 0, 2), 2);
  }
}

TEST(GPLTrkFileRead, WallInTheMiddleOfThreeRecordsIsOneWallOverTwoStrips) {
  const GPLTrkFile file = Read(GplTrkBuilder::Oval().Bytes());
  EXPECT_EQ(file.GetSurfaceCount(1), 2u);
  EXPECT_EQ(file.GetWallCount(1), 1u);
  EXPECT_EQ(file.GetSurfaceType(1, 1), SurfaceAsphalt);
  EXPECT_EQ(file.GetSurfaceExtraCount(1, 1), 0u);
  EXPECT_EQ(file.GetWallType(1, 0), WallConcrete);
  EXPECT_EQ(file.GetWallHeight(1, 0), 30000);
  // The wall's left edge is the section's last record.
  EXPECT_EQ(file.GetWallLeftStartLatitude(1, 0), 210000);
}

struct CodeCase {
  U32 Code;
  S32 Expected;
};

TEST(GPLTrkFileCodes, SurfaceCodesMapOnTheirLow11Bits) {
  const CodeCase cases[] = {{1, SurfaceAsphalt}, {2, SurfaceConcrete}, {3, SurfacePaint},
                            {4, SurfaceGrass},   {5, SurfaceDirt},     {6, SurfaceSand},
                            {7, SurfaceGravel},  {8, SurfaceWater},    {9, SurfaceTrainTrack},
                            {0x1004, SurfaceGrass}, {0, SurfaceUnknown}, {12, SurfaceUnknown}};
  for (const CodeCase& c : cases) {
    GplTrkBuilder b = GplTrkBuilder::Circuit();
    b.Surfaces[0].Type = c.Code;
    EXPECT_EQ(Read(b.Bytes()).GetSurfaceType(0, 0), c.Expected) << c.Code;
  }
}

TEST(GPLTrkFileCodes, WallCodesMapOnTheirLow11Bits) {
  const CodeCase cases[] = {{1, WallConcrete},       {2, WallArmco},         {3, WallTyres},
                            {4, WallHayBales},       {5, WallWireFence},     {6, WallShrubs},
                            {7, WallForest},         {8, WallWood},          {9, WallInvisible},
                            {10, WallWireFenceRight}, {11, WallArmcoRight},  {0x1003, WallTyres},
                            {0, WallUnknown},        {12, WallUnknown}};
  for (const CodeCase& c : cases) {
    GplTrkBuilder b = GplTrkBuilder::Circuit();
    b.Surfaces[2].Type = 0x800 | c.Code;
    EXPECT_EQ(Read(b.Bytes()).GetWallType(0, 0), c.Expected) << c.Code;
  }
}

TEST(GPLTrkFileCodes, UnknownCodesAssertWhileStrictAtQueryTime) {
  GplTrkBuilder b = GplTrkBuilder::Circuit();
  b.Surfaces[0].Type = 12;
  b.Surfaces[2].Type = 0x800 | 12;
  const GPLTrkFile file = Read(b.Bytes()); // read with strict checking off
  StrictScope strict(true);
  for (const auto& query : {std::function<void()>([&] { file.GetSurfaceType(0, 0); }),
                            std::function<void()>([&] { file.GetWallType(0, 0); })}) {
    try {
      query();
      ADD_FAILURE() << "no assertion";
    } catch (const Util::XAssertion& e) {
      EXPECT_EQ(std::string(e.Expression), "false");
    }
  }
  EXPECT_EQ(file.GetSurfaceType(0, 1), SurfaceAsphalt);
}

TEST(GPLTrkFileStrict, ChecksCubicsOnlyWhileStrict) {
  struct Case {
    const char* Name;
    std::function<void(GplTrkBuilder&)> Edit;
    const char* Message; // nullptr: accepted
  };
  const Case cases[] = {
      {"consistent cubics", [](GplTrkBuilder&) {}, nullptr},
      {"stored 3d", [](GplTrkBuilder& b) { b.Pieces[4].DTimes3 += 1; },
       "GPL trk file altitude square grade error"},
      {"stored 2c", [](GplTrkBuilder& b) { b.Pieces[4].CTimes2 += 1; },
       "GPL trk file altitude linear grade error"},
      {"next start 3 higher", [](GplTrkBuilder& b) { b.Pieces[3 * 3 + 1].B -= 3; }, nullptr},
      {"next start 3 lower", [](GplTrkBuilder& b) { b.Pieces[3 * 3 + 1].B += 3; }, nullptr},
      {"next start 4 higher", [](GplTrkBuilder& b) { b.Pieces[3 * 3 + 1].B -= 4; },
       "GPL trk file altitude mismatch"},
      {"last section against section 0", [](GplTrkBuilder& b) { b.Pieces.back().B += 4; },
       "GPL trk file altitude mismatch"},
  };
  for (const Case& c : cases) {
    GplTrkBuilder b = GplTrkBuilder::Circuit();
    c.Edit(b);
    const auto bytes = b.Bytes();
    {
      StrictScope lenient(false);
      EXPECT_NO_THROW(Read(bytes)) << c.Name;
    }
    StrictScope strict(true);
    try {
      Read(bytes);
      EXPECT_EQ(c.Message, nullptr) << c.Name << ": accepted";
    } catch (const Util::XFileFormat& e) {
      ASSERT_NE(c.Message, nullptr) << c.Name << ": " << e.Message;
      EXPECT_EQ(e.Message, c.Message) << c.Name;
    }
  }
}

TEST(GPLTrkFileWrite, RoundTripIsByteIdenticalButForReservedAndUnusedWords) {
  GplTrkBuilder b = GplTrkBuilder::Circuit();
  const auto canonical = b.Bytes();
  b.Surfaces[5].Reserved0 = 0x12345678;
  b.Surfaces[9].Reserved1 = 99;
  b.UnusedLaterals[4] = -7;
  const GPLTrkFile file = Read(b.Bytes());
  auto out = CountedPtr<BinaryStream>(new MemoryStream("out.trk"));
  file.Write(out);
  EXPECT_EQ(dynamic_cast<MemoryStream&>(*out).Bytes(), canonical);
}

TEST(GPLTrkFileWrite, WrittenChangesReadBack) {
  GPLTrkFile file = Read(GplTrkBuilder::Circuit().Bytes());
  file.SetXSectionCubic(2, 1, 10, 20, 30, 40);
  file.SetLateral(2, 250000);
  auto out = CountedPtr<BinaryStream>(new MemoryStream("out.trk"));
  file.Write(out);
  const GPLTrkFile again = Read(dynamic_cast<MemoryStream&>(*out).Bytes());
  EXPECT_EQ(again.GetStartAltitude(2, 1), 10);
  EXPECT_EQ(again.GetLinearCoefficient(2, 1), 20);
  EXPECT_EQ(again.GetSquareCoefficientTimes2(2, 1), 60);
  EXPECT_EQ(again.GetCubeCoefficientTimes3(2, 1), 120);
  EXPECT_EQ(again.GetLateral(2), 250000);
}

TEST(GPLTrkFileWrite, OverALongerFileCutsItSoThatItReadsBack) {
  const Ostra::Test::TempDir dir;
  const auto bytes = GplTrkBuilder::Circuit().Bytes();
  std::vector<unsigned char> longer = bytes;
  longer.resize(bytes.size() + 1000, 0xAA);
  const std::string path = dir.WriteFile("track.trk", longer);
  const GPLTrkFile file = Read(bytes);
  {
    CountedPtr<BinaryStream> out(Util::BinaryFile::OpenReadWrite(path));
    file.Write(out);
  }
  EXPECT_EQ(Ostra::Test::ReadWholeFile(path), bytes);
}

TEST(GPLTrkFileWrite, OverALongerStreamThatCannotBeCutFailsBeforeWriting) {
  const auto bytes = GplTrkBuilder::Circuit().Bytes();
  const GPLTrkFile file = Read(bytes);
  struct Case {
    std::size_t Size;
    bool Refused;
  };
  for (const Case& c : {Case{bytes.size() + 1, true}, Case{bytes.size(), false},
                        Case{bytes.size() - 1, false}}) {
    const std::vector<unsigned char> old(c.Size, 0xAA);
    auto out = CountedPtr<BinaryStream>(new MemoryStream("out.trk", old));
    if (c.Refused) {
      EXPECT_THROW(file.Write(out), Util::XFileWrite) << c.Size;
      // Nothing of the old content is lost to a write that fails.
      EXPECT_EQ(dynamic_cast<MemoryStream&>(*out).Bytes(), old) << c.Size;
    } else {
      file.Write(out);
      EXPECT_EQ(dynamic_cast<MemoryStream&>(*out).Bytes(), bytes) << c.Size;
    }
  }
}

TEST(GPLTrkFileEdit, SettersKeepTheStoredDerivativesInStep) {
  GPLTrkFile file = Read(GplTrkBuilder::Circuit().Bytes());
  file.SetSquareCoefficient(3, 0, 7);
  file.SetCubeCoefficient(3, 0, 7);
  EXPECT_EQ(file.GetSquareCoefficientTimes2(3, 0), 14);
  EXPECT_EQ(file.GetCubeCoefficientTimes3(3, 0), 21);
}

TEST(GPLTrkFileEdit, LateralMovesOnlyStrictlyBetweenItsNeighbours) {
  struct Case {
    U32 Lateral;
    S32 Value;
    S32 Expected;
  };
  // Laterals are -200000, 0, 200000.
  const Case cases[] = {
      {1, 100, 100},          {1, 200000, 0},         {1, -200000, 0},
      {1, 199999, 199999},    {0, -5000000, -5000000}, {0, 0, -200000},
      {2, 9000000, 9000000},  {2, 0, 200000},
  };
  for (const Case& c : cases) {
    GPLTrkFile file = Read(GplTrkBuilder::Circuit().Bytes());
    file.SetLateral(c.Lateral, c.Value);
    EXPECT_EQ(file.GetLateral(c.Lateral), c.Expected) << c.Lateral << " to " << c.Value;
  }
}

TEST(GPLTrkFileEdit, OutOfRangeIndexesAssert) {
  GPLTrkFile file = Read(GplTrkBuilder::Circuit().Bytes());
  const std::function<void()> calls[] = {
      [&] { file.GetSectionStart(9); },
      [&] { file.GetLateral(3); },
      [&] { file.GetStartAltitude(0, 3); },
      [&] { file.SetCubeCoefficient(9, 0, 1); },
      [&] { file.GetSurfaceType(0, 3); },
      [&] { file.GetSurfaceExtra(0, 1, 2); },
      [&] { file.GetSurfaceExtra(0, 3, 0); },
      [&] { file.GetWallHeight(0, 1); },
      [&] { file.GetWallExtra(0, 0, 3); },
  };
  for (std::size_t i = 0; i < std::size(calls); ++i)
    EXPECT_THROW(calls[i](), Util::XAssertion) << "call " << i;
}

} // namespace
} // namespace Ostra::Papy
