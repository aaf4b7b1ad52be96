#include "Papy/N4/N4FSection.h"

#include "N4KindFixtures.h"
#include "Papy/N4/ThreeDObjectAppearance.h"
#include "Papy/N4/ThreeDObjectNull.h"
#include "Papy/N4/ThreeDObjectTextureCoords.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "StrictScope.h"
#include "TestSupport/N4PtfBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;
using Test::Make;
using Test::N4PtfBuilder;
using Test::N4Ref;

using Plan = N4PtfBuilder::FSection;
using Layer = N4PtfBuilder::Layer;

// An appearance whose texture slots (file order) 0 to 6 hold a texture where set.
N4Ref AppearanceWith(std::vector<int> slots) {
  N4PtfBuilder::Appearance appearance;
  for (const int slot : slots)
    appearance.Textures[static_cast<std::size_t>(slot)] = Make(N4PtfBuilder::Texture{});
  return Make(appearance);
}

// A version-4 line with an appearance of first and third texture and two layers.
Plan TwoLayers() {
  return Plan{.Version = 4,
              .StartLatitude = -6.5,
              .EndLatitude = -6.25,
              .Flag = 1,
              .SecondaryCode = 3,
              .SurfaceCode = 8,
              .Appearance = AppearanceWith({0, 2}),
              .TextureCoords = Make(N4PtfBuilder::TextureCoords{}),
              .Layers = {Layer{.FlagA = 0, .FlagB = 1, .FlagC = 1, .Value1 = 1, .Value2 = 2, .Value3 = 3,
                               .Value4 = 4, .Value5 = 5},
                         Layer{.FlagA = 9}}};
}

N4PtfBuilder Built(const Plan& plan) {
  N4PtfBuilder b;
  b.Write(plan);
  return b;
}

CountedPtr<N4FSection> Top(N4TdoFile& file) { return As<N4FSection>(file.GetSubObject(1)); }

TEST(N4FSection, ReadsAWideLineWithItsLayersInFileOrder) {
  const N4PtfBuilder b = Built(TwoLayers());
  const auto file = Load(b.Data());
  const auto f = Top(*file);
  EXPECT_EQ(f->GetTypeName(), "F_Section");
  EXPECT_EQ(f->GetStartLatitude(), -6.5);
  EXPECT_EQ(f->GetEndLatitude(), -6.25);
  EXPECT_TRUE(f->GetFlag());
  EXPECT_EQ(f->GetSurfaceType(), SurfaceWater);
  EXPECT_EQ(f->GetSecondaryType(), 0);
  EXPECT_EQ(f->GetGripModifier(), 0);
  EXPECT_TRUE(f->HasTexture());
  EXPECT_TRUE(f->HasSecondTexture());
  EXPECT_EQ(f->GetAppearance()->GetTypeName(), "Appearance");
  EXPECT_EQ(f->GetTextureCoords()->GetTypeName(), "TextureCoords");

  ASSERT_EQ(f->GetLayerCount(), 2u);
  EXPECT_FALSE(f->GetLayerFlagA(0));
  EXPECT_TRUE(f->GetLayerFlagB(0));
  EXPECT_TRUE(f->GetLayerFlagC(0));
  const double values[] = {f->GetLayerValue1(0), f->GetLayerValue2(0), f->GetLayerValue3(0),
                           f->GetLayerValue4(0), f->GetLayerValue5(0)};
  EXPECT_EQ(std::vector<double>(std::begin(values), std::end(values)),
            (std::vector<double>{1, 2, 3, 4, 5}));
  // Flag A set: the record is one byte and everything else reads as zero.
  EXPECT_TRUE(f->GetLayerFlagA(1));
  EXPECT_FALSE(f->GetLayerFlagB(1));
  EXPECT_EQ(f->GetLayerValue5(1), 0.0);
  EXPECT_THROW(f->GetLayerValue1(2), Util::XAssertion);
}

TEST(N4FSection, LayoutAndLayerSizes) {
  Plan packed = TwoLayers();
  packed.Version = 5;
  Plan bare = TwoLayers();
  bare.Appearance = {};
  bare.TextureCoords = {};
  bare.Layers = {};
  const N4PtfBuilder with_layers = Built(TwoLayers());
  const N4PtfBuilder packed_file = Built(packed);
  const N4PtfBuilder bare_file = Built(bare);

  // An appearance id of 0 ends the body right after its reference.
  EXPECT_EQ(bare_file.Size() - bare_file.BodyOffset(1), 12u + 16 + 9 + 4);
  const auto bare_loaded = Load(bare_file.Data());
  EXPECT_EQ(Top(*bare_loaded)->GetLayerCount(), 0u);
  EXPECT_FALSE(Top(*bare_loaded)->HasTexture());
  EXPECT_TRUE(As<ThreeDObjectNull>(Top(*bare_loaded)->GetAppearance()));

  // Packed latitudes take 8 bytes less; the 43-byte and the 1-byte record end the body.
  EXPECT_EQ(with_layers.Size() - packed_file.Size(), 8u);
  // Without the one-byte record and the last byte of the 43-byte one.
  std::vector<unsigned char> cut = with_layers.Data();
  cut.resize(cut.size() - 2);
  ExpectFailure({"cut layer", cut, Failure::Read, ""});
  const auto packed_loaded = Load(packed_file.Data());
  EXPECT_EQ(Top(*packed_loaded)->GetStartLatitude(), -6.5);
}

TEST(N4FSection, MapsSurfaceAndSecondaryCodes) {
  const SurfaceType surfaces[] = {SurfaceAsphalt,    SurfaceConcrete, SurfacePaint,       SurfaceGrass,
                                  SurfaceDirt,       SurfaceSand,     SurfaceGravel,      SurfaceWater,
                                  SurfaceTrainTrack, SurfaceUnreachable, SurfaceInvisible, SurfaceRumbleStrip};
  const int secondaries[] = {6, 4, 2, 0, 3, 1, 5, 5};
  for (const bool strict : {false, true}) {
    const StrictScope scope(strict);
    for (const U32 code : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 13u, 0xFFFFFFFFu}) {
      SCOPED_TRACE(testing::Message() << code << (strict ? " strict" : ""));
      Plan plan{.SecondaryCode = code < 8 ? code : 1000, .SurfaceCode = code};
      const auto file = Load(Built(plan).Data());
      const auto f = Top(*file);
      if (code >= 1 && code <= 12)
        EXPECT_EQ(f->GetSurfaceType(), surfaces[code - 1]);
      else if (strict)
        EXPECT_THROW(f->GetSurfaceType(), Util::XAssertion);
      else
        EXPECT_EQ(f->GetSurfaceType(), SurfaceUnknown);
      EXPECT_EQ(f->GetSecondaryType(), secondaries[code < 8 ? code : 7]);
    }
  }
}

TEST(N4FSection, WritesBackTheSameBytes) {
  Plan packed = TwoLayers();
  packed.Version = 5;
  Plan untextured = TwoLayers();
  untextured.Appearance = AppearanceWith({});
  untextured.TextureCoords = {};
  untextured.Layers = {};
  for (const Plan& plan : {TwoLayers(), packed, untextured, Plan{}}) {
    const N4PtfBuilder b = Built(plan);
    const auto file = Load(b.Data());
    EXPECT_EQ(Saved(*file), b.Data());
  }
}

TEST(N4FSection, RejectsEachDamagedField) {
  const N4PtfBuilder b = Built(TwoLayers());
  const std::size_t body = b.BodyOffset(1);
  auto with_appearance = [](N4Ref appearance) {
    Plan plan = TwoLayers();
    plan.Appearance = std::move(appearance);
    return Built(plan).Data();
  };
  const BrokenCase cases[] = {
      {"reserved0", Patched(b.Data(), body, 0), Failure::Format, "N4 ptf FSection reserved0 not 1"},
      {"reserved1", Patched(b.Data(), body + 4, 1), Failure::Format, "N4 ptf FSection reserved1 not 0"},
      {"version 3", Patched(b.Data(), body + 8, 3), Failure::Format, "N4 ptf FSection unsupported version"},
      {"version 6", Patched(b.Data(), body + 8, 6), Failure::Format, "N4 ptf FSection unsupported version"},
      {"specular", with_appearance(AppearanceWith({0, 5})), Failure::Format,
       "N4 ptf FSection with specular highlight"},
      {"other texture", with_appearance(AppearanceWith({6})), Failure::Format,
       "N4 ptf FSection with other texture"},
      {"not an appearance", with_appearance(Make(N4PtfBuilder::Texture{})), Failure::Assertion, "a != 0"},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

class Recorder : public ThreeDObjectVisitor {
public:
  bool EnterFSection(ThreeDObjectFSection&) override { return Log("enter"), true; }
  bool BeforeFSectionAppearance(ThreeDObjectFSection&) override { return Log("before appearance"), false; }
  void AfterFSectionAppearance(ThreeDObjectFSection&) override { Log("after appearance"); }
  bool BeforeFSectionTextureCoords(ThreeDObjectFSection&) override { return Log("before coords"), true; }
  void AfterFSectionTextureCoords(ThreeDObjectFSection&) override { Log("after coords"); }
  void LeaveFSection(ThreeDObjectFSection&) override { Log("leave"); }
  bool EnterAppearance(ThreeDObjectAppearance&) override { return Log("appearance"), false; }
  void VisitTextureCoords(ThreeDObjectTextureCoords&) override { Log("coords"); }
  void VisitNull(ThreeDObjectNull&) override { Log("null"); }

  std::vector<std::string> Calls;

private:
  void Log(const char* call) { Calls.emplace_back(call); }
};

TEST(N4FSection, WalksAppearanceThenTextureCoordinates) {
  const auto file = Load(Built(TwoLayers()).Data());
  Recorder recorder;
  Top(*file)->Accept(recorder);
  EXPECT_EQ(recorder.Calls, (std::vector<std::string>{"enter", "before appearance", "after appearance",
                                                      "before coords", "coords", "after coords", "leave"}));

  // Without an appearance both references visit the null object.
  const auto bare = Load(Built(Plan{}).Data());
  Recorder bare_recorder;
  Top(*bare)->Accept(bare_recorder);
  EXPECT_EQ(bare_recorder.Calls[4], "null");
}

} // namespace
} // namespace Ostra::Papy
