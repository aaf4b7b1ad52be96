#include "Papy/N4/N4WSection.h"

#include "N4KindFixtures.h"
#include "Papy/N4/ThreeDObjectAppearance.h"
#include "Papy/N4/ThreeDObjectTextureCoords.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "TestSupport/N4PtfBuilder.h"

#include <gtest/gtest.h>

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

using Plan = N4PtfBuilder::WSection;
using Layer = N4PtfBuilder::Layer;
using Cell = N4PtfBuilder::WCell;

N4Ref AppearanceWith(std::vector<int> slots) {
  N4PtfBuilder::Appearance appearance;
  for (const int slot : slots)
    appearance.Textures[static_cast<std::size_t>(slot)] = Make(N4PtfBuilder::Texture{});
  return Make(appearance);
}

// Version 7 with a two-point profile and three rows: row 0 column 1 has a textured
// appearance with two layers, row 2 column 4 an untextured appearance.
Plan Profiled() {
  Plan plan{.Version = 7,
            .StartLatitude = 13.5,
            .EndLatitude = 14.25,
            .Flag = 1,
            .Integers = {7, 0xFFFFFFF8u, 9},
            .StartHeight = 1.5,
            .EndHeight = 2.5,
            .StartWidth = 0.25,
            .EndWidth = 0.75,
            .StartExtent = 3.0,
            .EndExtent = 4.0,
            .Direction = 1,
            .Profile = 1,
            .ProfilePointCount = 2,
            .ProfileX = {1, 2, 3, 4},
            .ProfileY = {5, 6, 7, 8},
            .WallCode = 2051,
            .Rows = {N4PtfBuilder::WRow{}, N4PtfBuilder::WRow{.Boundary = 0.5},
                     N4PtfBuilder::WRow{.Boundary = 0.75}}};
  plan.Rows[0].Cells[1] = Cell{.Appearance = AppearanceWith({0, 2}),
                               .TextureCoords = Make(N4PtfBuilder::TextureCoords{}),
                               .Layers = {Layer{.FlagA = 0, .FlagB = 1, .FlagC = 1, .Value1 = 1, .Value2 = 2,
                                                .Value3 = 3, .Value4 = 4},
                                          Layer{.FlagA = 1}}};
  plan.Rows[2].Cells[4] = Cell{.Appearance = AppearanceWith({})};
  return plan;
}

N4PtfBuilder Built(const Plan& plan) {
  N4PtfBuilder b;
  b.Write(plan);
  return b;
}

CountedPtr<N4WSection> Top(N4TdoFile& file) { return As<N4WSection>(file.GetSubObject(1)); }

TEST(N4WSection, ReadsTheProfiledLayout) {
  const auto file = Load(Built(Profiled()).Data());
  const auto w = Top(*file);
  EXPECT_EQ(w->GetTypeName(), "W_Section");
  EXPECT_TRUE(w->GetFlag());
  EXPECT_EQ(w->GetStartLatitude(), 13.5);
  EXPECT_EQ(w->GetEndLatitude(), 14.25);
  EXPECT_EQ(w->GetStartHeight(), 1.5);
  EXPECT_EQ(w->GetEndHeight(), 2.5);
  EXPECT_EQ(w->GetStartWidth(), 0.25);
  EXPECT_EQ(w->GetEndWidth(), 0.75);
  EXPECT_EQ(w->GetStartExtent(), 3.0);
  EXPECT_EQ(w->GetEndExtent(), 4.0);
  EXPECT_EQ(w->GetWallType(), WallTyres);
  EXPECT_FALSE(w->IsDirectionZero());
  ASSERT_EQ(w->GetIntegerCount(), 3u);
  EXPECT_EQ(w->GetInteger(1), -8);

  // The profile is the last two of the four stored points.
  ASSERT_TRUE(w->HasProfile());
  ASSERT_EQ(w->GetProfilePointCount(), 2u);
  EXPECT_EQ(w->GetProfilePoint(0), Point3D(3, 7, 0));
  EXPECT_EQ(w->GetProfilePoint(1), Point3D(4, 8, 0));
  EXPECT_THROW(w->GetProfilePoint(2), Util::XAssertion);

  ASSERT_EQ(w->GetRowCount(), 3u);
  EXPECT_EQ(w->GetRowBoundary(0), 0.5);
  EXPECT_EQ(w->GetRowBoundary(1), 0.75);
  EXPECT_THROW(w->GetRowBoundary(2), Util::XAssertion);
}

TEST(N4WSection, ReadsTheFacesAndTheirLayers) {
  const auto file = Load(Built(Profiled()).Data());
  const auto w = Top(*file);
  unsigned with_appearance = 0;
  for (unsigned row = 0; row < 3; ++row)
    for (unsigned column = 0; column < 5; ++column)
      with_appearance += w->HasAppearance(row, column) ? 1 : 0;
  EXPECT_EQ(with_appearance, 2u);

  EXPECT_TRUE(w->HasTexture(0, 1));
  EXPECT_TRUE(w->HasSecondTexture(0, 1));
  EXPECT_TRUE(w->HasTextureCoords(0, 1));
  EXPECT_EQ(w->GetTextureCoords(0, 1)->GetVertexCount(), 4);
  EXPECT_EQ(w->GetAppearance(0, 1)->GetTextureCount(), 2u);
  ASSERT_EQ(w->GetLayerCount(0, 1), 2u);
  EXPECT_FALSE(w->GetLayerFlagA(0, 1, 0));
  EXPECT_TRUE(w->GetLayerFlagB(0, 1, 0));
  EXPECT_TRUE(w->GetLayerFlagC(0, 1, 0));
  EXPECT_EQ(w->GetLayerValue1(0, 1, 0), 1.0);
  EXPECT_EQ(w->GetLayerValue2(0, 1, 0), 2.0);
  EXPECT_EQ(w->GetLayerValue3(0, 1, 0), 3.0);
  EXPECT_EQ(w->GetLayerValue4(0, 1, 0), 4.0);
  EXPECT_TRUE(w->GetLayerFlagA(0, 1, 1));
  EXPECT_EQ(w->GetLayerValue4(0, 1, 1), 0.0);
  EXPECT_THROW(w->GetLayerFlagA(0, 1, 2), Util::XAssertion);

  // An untextured appearance has no texture coordinates and no layers.
  EXPECT_FALSE(w->HasTextureCoords(2, 4));
  EXPECT_EQ(w->GetLayerCount(2, 4), 0u);
  EXPECT_FALSE(w->HasTexture(2, 4));
  EXPECT_THROW(w->GetTextureCoords(2, 4), std::bad_cast);
  // A face without an appearance.
  EXPECT_FALSE(w->HasAppearance(1, 0));
  EXPECT_THROW(w->GetAppearance(1, 0), std::bad_cast);
  EXPECT_THROW(w->HasAppearance(3, 0), Util::XAssertion);
  EXPECT_THROW(w->HasAppearance(0, 5), Util::XAssertion);
}

TEST(N4WSection, LatitudeWidthAndProfileFollowTheVersion) {
  struct Case {
    U32 Version;
    U32 Profile;
    std::size_t Bytes; // up to and including the row count and the integers
  };
  // reserved and version 12, latitudes 16 or 8, flag 1, integer 4, six F64 48, direction 4,
  // [profile 4 [marker 4, count 4, 32 points]], wall code 4, row count 4, integers 8.
  const Case cases[] = {{5, 0, 12 + 16 + 1 + 4 + 48 + 4 + 16}, {6, 0, 12 + 8 + 1 + 4 + 48 + 4 + 16},
                        {7, 0, 12 + 8 + 1 + 4 + 48 + 4 + 4 + 16},
                        {7, 1, 12 + 8 + 1 + 4 + 48 + 4 + 4 + 40 + 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Version);
    Plan plan{.Version = c.Version, .StartLatitude = -13.25, .Profile = c.Profile, .WallCode = 2060};
    const N4PtfBuilder b = Built(plan);
    EXPECT_EQ(b.Size() - b.BodyOffset(1), c.Bytes + 5 * 4);
    const auto file = Load(b.Data());
    const auto w = Top(*file);
    EXPECT_EQ(w->GetStartLatitude(), -13.25);
    EXPECT_EQ(w->HasProfile(), c.Profile == 1);
    EXPECT_EQ(w->GetProfilePointCount(), 0u);
    EXPECT_EQ(w->GetWallType(), WallUnknown);
    EXPECT_EQ(w->GetIntegerCount(), 3u);
  }
}

TEST(N4WSection, MapsWallCodes) {
  const WallType types[] = {WallConcrete,   WallArmcoLeft, WallTyres,     WallHayBales,
                            WallWireFenceLeft, WallShrubs, WallForest,    WallWood,
                            WallInvisible,  WallWireFenceRight, WallArmcoRight, WallUnknown};
  for (U32 code = 2048; code <= 2060; ++code) {
    const auto file = Load(Built(Plan{.WallCode = code}).Data());
    EXPECT_EQ(Top(*file)->GetWallType(), code == 2048 ? WallUnknown : types[code - 2049]) << code;
  }
}

TEST(N4WSection, ABodyWithoutRowsHasNoFaces) {
  const N4PtfBuilder b = Built(Plan{.Rows = {}});
  const auto file = Load(b.Data());
  EXPECT_EQ(Top(*file)->GetRowCount(), 0u);
  EXPECT_THROW(Top(*file)->HasAppearance(0, 0), Util::XAssertion);
  EXPECT_EQ(Saved(*file), b.Data());
}

TEST(N4WSection, WritesBackTheSameBytes) {
  Plan shared = Profiled();
  // A second face refers back to the first face's appearance and coordinates.
  // Ids: the section 1, the appearance 3, its textures 5 and 7, the coordinates 8.
  shared.Rows[1].Cells[0] = Cell{.Appearance = Existing(3), .TextureCoords = Existing(8),
                                 .Layers = {Layer{.FlagA = 1}, Layer{.Value1 = 8}}};
  const auto shared_file = Load(Built(shared).Data());
  EXPECT_EQ(Top(*shared_file)->GetTextureCoords(1, 0), Top(*shared_file)->GetTextureCoords(0, 1));
  EXPECT_EQ(Top(*shared_file)->GetLayerValue1(1, 0, 1), 8.0);
  for (const Plan& plan : {Profiled(), shared, Plan{}, Plan{.Version = 6}}) {
    const N4PtfBuilder b = Built(plan);
    const auto file = Load(b.Data());
    EXPECT_EQ(Saved(*file), b.Data());
  }
}

TEST(N4WSection, RejectsEachDamagedField) {
  const N4PtfBuilder wide = Built(Plan{.Version = 5});
  const std::size_t body = wide.BodyOffset(1);
  const std::size_t direction = body + 12 + 16 + 1 + 4 + 48;
  const N4PtfBuilder profiled = Built(Profiled());
  const std::size_t profile = profiled.BodyOffset(1) + 12 + 8 + 1 + 4 + 48 + 4;
  ByteBuilder marker;
  marker.Raw(profiled.Data()).PatchF32(profile + 4, 0.0f);
  auto with_face = [](N4Ref appearance) {
    Plan plan;
    plan.Rows[0].Cells[2].Appearance = std::move(appearance);
    return Built(plan).Data();
  };
  const BrokenCase cases[] = {
      {"reserved0", Patched(wide.Data(), body, 0), Failure::Format, "N4 ptf WSection reserved0 not 1"},
      {"reserved1", Patched(wide.Data(), body + 4, 1), Failure::Format, "N4 ptf WSection reserved1 not 0"},
      {"version 4", Patched(wide.Data(), body + 8, 4), Failure::Format, "N4 ptf WSection unsupported version"},
      {"version 8", Patched(wide.Data(), body + 8, 8), Failure::Format, "N4 ptf WSection unsupported version"},
      {"direction", Patched(wide.Data(), direction, 2), Failure::Format, "N4 ptf WSection unknown direction"},
      {"profile", Patched(profiled.Data(), profile, 2), Failure::Format, "N4 ptf WSection unknown profile"},
      {"marker", marker.Data(), Failure::Format, "N4 ptf WSection reserved2 not -1"},
      {"profile points", Patched(profiled.Data(), profile + 8, 5), Failure::Format,
       "N4 ptf WSection profile point count above 4"},
      {"row count", Patched(wide.Data(), direction + 8, 0x10000000), Failure::Read, ""},
      {"specular", with_face(AppearanceWith({5})), Failure::Format, "N4 ptf WSection with specular highlight"},
      {"other texture", with_face(AppearanceWith({3})), Failure::Format, "N4 ptf WSection with other texture"},
      {"not an appearance", with_face(Make(N4PtfBuilder::XSection{})), Failure::Assertion, "a != 0"},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

class Recorder : public ThreeDObjectVisitor {
public:
  bool BeforeWSectionAppearance(ThreeDObjectWSection&, unsigned row, unsigned column) override {
    return Log("appearance", row, column), true;
  }
  bool BeforeWSectionTextureCoords(ThreeDObjectWSection&, unsigned row, unsigned column) override {
    return Log("coords", row, column), true;
  }
  void VisitTextureCoords(ThreeDObjectTextureCoords&) override { Calls.emplace_back("visit coords"); }
  void LeaveWSection(ThreeDObjectWSection&) override { Calls.emplace_back("leave"); }

  std::vector<std::string> Calls;

private:
  void Log(const char* call, unsigned row, unsigned column) {
    Calls.push_back(std::string(call) + " " + std::to_string(row) + "," + std::to_string(column));
  }
};

TEST(N4WSection, WalksFacesWithAppearancesAndSkipsMissingCoordinates) {
  const auto file = Load(Built(Profiled()).Data());
  Recorder recorder;
  Top(*file)->Accept(recorder);
  EXPECT_EQ(recorder.Calls, (std::vector<std::string>{"appearance 0,1", "coords 0,1", "visit coords",
                                                      "appearance 2,4", "coords 2,4", "leave"}));
}

} // namespace
} // namespace Ostra::Papy
