#include "Papy/N4/N4Appearance.h"

#include "N4KindFixtures.h"
#include "Papy/N4/N4Texture.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/Exception.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;

constexpr std::size_t BodyStart = 33; // after id, class id, length and "AppearanceDescriptor"

const std::vector<double> NineValues = {0.5, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5};

// An appearance as the top object, its seven texture references written by refs.
std::vector<unsigned char> AppearanceFile(const std::function<void(ByteBuilder&)>& refs,
                                          U32 function_code = 1) {
  ByteBuilder b;
  NewClass(b, 1, 2, "AppearanceDescriptor").U32(1);
  Text(b, "road").U32(2);
  refs(b);
  F64s(b, {0.25, 0.5, 0.75});
  F64s(b, NineValues);
  b.U32(function_code);
  return b.Data();
}

void NoTextures(ByteBuilder& b) {
  for (int i = 0; i < 7; ++i)
    b.U32(0);
}

// Slots in file order: first = new texture 3, other 0 = none, third = new texture 5,
// other 1 = texture 3 again, other 2 = none, specular = new texture 6, other 3 = none.
void FourTextures(ByteBuilder& b) {
  Text(NewClass(b, 3, 4, "TextureDescriptor").U32(1).U32(0).U32(2), "first").U8(0);
  b.U32(0);
  Text(b.U32(5).U32(4).U32(1).U32(0).U32(1), "third");
  b.U32(3).U32(0);
  Text(b.U32(6).U32(4).U32(1).U32(0).U32(2), "specular").U8(1);
  b.U32(0);
}

CountedPtr<N4Appearance> TopAppearance(N4TdoFile& file) {
  return As<N4Appearance>(file.GetSubObject(1));
}

std::string TextureName(const CountedPtr<ThreeDObject>& object) {
  return As<ThreeDObjectTexture2>(object)->GetTextureName();
}

TEST(N4AppearanceTest, AnAppearanceWithoutTexturesHasEveryOtherSlotEmpty) {
  const std::vector<unsigned char> bytes = AppearanceFile(NoTextures);
  auto file = Load(bytes, N4ArchiverRegistry::Instance().GetReadable());
  const CountedPtr<N4Appearance> a = TopAppearance(*file);
  EXPECT_EQ(a->GetTypeName(), "Appearance");
  EXPECT_EQ(a->GetName(), "road");
  EXPECT_EQ(a->GetTextureCount(), 0u);
  EXPECT_FALSE(a->HasFirstTexture());
  EXPECT_FALSE(a->HasThirdTexture());
  EXPECT_FALSE(a->HasSpecularTexture());
  ASSERT_EQ(a->GetOtherTextureCount(), 4u);
  for (unsigned i = 0; i < 4; ++i) {
    EXPECT_FALSE(a->HasOtherTexture(i));
    EXPECT_EQ(a->GetOtherTexture(i)->GetId(), 0u);
  }
  EXPECT_EQ(a->GetFirstTexture()->GetId(), 0u);
  const Colour colour = a->GetColour();
  EXPECT_TRUE(ColourEquals(colour, Colour(0.25f, 0.5f, 0.75f, 1.0f)));
  ASSERT_EQ(a->GetDoubleCount(), 9u);
  for (unsigned i = 0; i < 9; ++i)
    EXPECT_EQ(a->GetDouble(i), NineValues[i]);
  EXPECT_THROW(a->GetDouble(9), Util::XAssertion);
  EXPECT_THROW(a->HasOtherTexture(4), Util::XAssertion);
  EXPECT_EQ(Saved(*file), bytes);
}

TEST(N4AppearanceTest, TexturesLandInTheirSlotsAndASharedTextureIsOneObject) {
  const std::vector<unsigned char> bytes = AppearanceFile(FourTextures);
  auto file = Load(bytes, N4ArchiverRegistry::Instance().GetReadable());
  const CountedPtr<N4Appearance> a = TopAppearance(*file);
  EXPECT_EQ(a->GetTextureCount(), 4u);
  ASSERT_TRUE(a->HasFirstTexture());
  ASSERT_TRUE(a->HasThirdTexture());
  ASSERT_TRUE(a->HasSpecularTexture());
  EXPECT_EQ(TextureName(a->GetFirstTexture()), "first");
  EXPECT_EQ(TextureName(a->GetThirdTexture()), "third");
  EXPECT_EQ(TextureName(a->GetSpecularTexture()), "specular");
  const std::array<bool, 4> used = {false, true, false, false};
  for (unsigned i = 0; i < 4; ++i)
    EXPECT_EQ(a->HasOtherTexture(i), used[i]) << i;
  EXPECT_TRUE(a->GetOtherTexture(1) == a->GetFirstTexture());
  // Written back, every reference stands in its slot and the shared one is a bare id.
  EXPECT_EQ(Saved(*file), bytes);
}

TEST(N4AppearanceTest, TextureFunctionCodesMapToTheirFunctions) {
  struct Case {
    U32 Code;
    TextureFunction Function;
  };
  const Case cases[] = {
      {1, TextureFunction::Function0},  {2, TextureFunction::Function1},
      {0, TextureFunction::Function2},  {3, TextureFunction::Function3},
      {18, TextureFunction::Function4}, {19, TextureFunction::Function5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Code);
    auto file = Load(AppearanceFile(NoTextures, c.Code));
    EXPECT_EQ(TopAppearance(*file)->GetTextureFunction(), c.Function);
    EXPECT_EQ(TopAppearance(*file)->GetTextureFunctionCode(), c.Code);
  }
}

TEST(N4AppearanceTest, DamagedBodiesFailWithTheirField) {
  auto patched = [](std::size_t offset, U32 value) {
    ByteBuilder b;
    b.Raw(AppearanceFile(NoTextures)).PatchU32(offset, value);
    return b.Data();
  };
  // Name "road" takes 9 bytes: the version stands at BodyStart + 13.
  const std::size_t version = BodyStart + 13;
  auto version_only = [&](U32 value) {
    std::vector<unsigned char> bytes = patched(version, value);
    bytes.resize(version + 4); // nothing after the version: no reference is read
    return bytes;
  };
  const std::size_t code = AppearanceFile(NoTextures).size() - 4;
  const BrokenCase cases[] = {
      {"reserved0", patched(BodyStart, 2), Failure::Format, "N4 3do Appearance reserved0 not 1"},
      {"version 1", version_only(1), Failure::Format, "N4 3do Appearance unsupported version"},
      {"version 3", version_only(3), Failure::Format, "N4 3do Appearance unsupported version"},
      {"texture function 4", patched(code, 4), Failure::Format,
       "N4 3do Appearance unknown texture function"},
      {"texture function 20", patched(code, 20), Failure::Format,
       "N4 3do Appearance unknown texture function"},
      {"texture reference past the counter", patched(version + 4, 9), Failure::Format,
       "N4 archive object id error"},
      {"values cut short",
       [&] {
         std::vector<unsigned char> bytes = AppearanceFile(NoTextures);
         bytes.resize(bytes.size() - 12);
         return bytes;
       }(),
       Failure::Read, ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

TEST(N4AppearanceTest, AMadeAppearanceKeepsItsTexturesAndWritesNineZeroValues) {
  N4TdoFile file(AllKinds(), nullptr);
  const CountedPtr<N4Texture> texture = Add<N4Texture>(file, "made.mip");
  const CountedPtr<N4Appearance> a =
      Add<N4Appearance>(file, "made", 0.25, 0.5, 0.75, texture, CountedPtr<ThreeDObject>(),
                        texture, TextureFunction::Function4);
  EXPECT_EQ(a->GetTextureCount(), 2u);
  EXPECT_EQ(a->GetOtherTextureCount(), 4u);
  MakeRoot(file, a);

  auto read = Load(Saved(file));
  const CountedPtr<N4Appearance> back = TopAppearance(*read);
  EXPECT_EQ(back->GetName(), "made");
  EXPECT_EQ(back->GetTextureCount(), 2u);
  EXPECT_TRUE(back->GetFirstTexture() == back->GetSpecularTexture());
  EXPECT_FALSE(back->HasThirdTexture());
  EXPECT_EQ(back->GetTextureFunction(), TextureFunction::Function4);
  EXPECT_EQ(back->GetTextureFunctionCode(), 18u);
  ASSERT_EQ(back->GetDoubleCount(), 9u);
  EXPECT_EQ(back->GetDouble(8), 0.0);

  EXPECT_THROW(Add<N4Appearance>(file, "bad", 0.0, 0.0, 0.0, texture, texture, texture,
                                 TextureFunction::Unknown),
               Util::XAssertion);
}

// Records the appearance walk, refusing the steps named in Refuse.
class Recorder : public ThreeDObjectVisitor {
public:
  explicit Recorder(std::string refuse) : Refuse(std::move(refuse)) {}

  bool EnterAppearance(ThreeDObjectAppearance&) override { return Step("Enter"); }
  bool BeforeFirstTexture(ThreeDObjectAppearance&) override { return Step("<1"); }
  void AfterFirstTexture(ThreeDObjectAppearance&) override { Step("1>"); }
  bool BeforeThirdTexture(ThreeDObjectAppearance&) override { return Step("<3"); }
  void AfterThirdTexture(ThreeDObjectAppearance&) override { Step("3>"); }
  bool BeforeSpecularTexture(ThreeDObjectAppearance&) override { return Step("<S"); }
  void AfterSpecularTexture(ThreeDObjectAppearance&) override { Step("S>"); }
  bool BeforeOtherTextures(ThreeDObjectAppearance&) override { return Step("<O"); }
  void AfterOtherTextures(ThreeDObjectAppearance&) override { Step("O>"); }
  void LeaveAppearance(ThreeDObjectAppearance&) override { Step("Leave"); }
  void VisitTexture2(ThreeDObjectTexture2& t) override { Step(t.GetTextureName()); }
  void VisitNull(ThreeDObjectNull&) override { Step("null"); }

  std::string Log;

private:
  bool Step(const std::string& name) {
    Log += (Log.empty() ? "" : " ") + name;
    return name != Refuse;
  }
  std::string Refuse;
};

TEST(N4AppearanceTest, TheWalkVisitsPresentTexturesAndEveryOtherSlot) {
  struct Case {
    const char* Refuse;
    const char* Walk;
  };
  const Case cases[] = {
      {"", "Enter <1 first 1> <3 third 3> <S specular S> <O null first null null O> Leave"},
      {"Enter", "Enter Leave"},
      {"<1", "Enter <1 1> <3 third 3> <S specular S> <O null first null null O> Leave"},
      {"<O", "Enter <1 first 1> <3 third 3> <S specular S> <O O> Leave"},
  };
  auto file = Load(AppearanceFile(FourTextures));
  for (const Case& c : cases) {
    Recorder recorder(c.Refuse);
    TopAppearance(*file)->Accept(recorder);
    EXPECT_EQ(recorder.Log, c.Walk) << "refusing " << c.Refuse;
  }

  // Textures that are absent get no Before/After pair at all.
  auto bare = Load(AppearanceFile(NoTextures));
  Recorder recorder("");
  TopAppearance(*bare)->Accept(recorder);
  EXPECT_EQ(recorder.Log, "Enter <O null null null null O> Leave");
}

} // namespace
} // namespace Ostra::Papy
