#include "Papy/N4/N4Texture.h"

#include "N4KindFixtures.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Util/Exception.h"

#include <gtest/gtest.h>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;

// A texture as the file's top object; version 2 bodies end in the shared byte.
std::vector<unsigned char> TextureFile(U32 version, const std::string& name, U8 shared = 0) {
  ByteBuilder b;
  NewClass(b, 1, 2, "TextureDescriptor").U32(1).U32(0).U32(version);
  Text(b, name);
  if (version == 2)
    b.U8(shared);
  return b.Data();
}

CountedPtr<N4Texture> TopTexture(N4TdoFile& file) { return As<N4Texture>(file.GetSubObject(1)); }

TEST(N4TextureTest, ReadsBothVersionsAndWritesThemBackUnchanged) {
  struct Case {
    const char* Name;
    std::vector<unsigned char> Bytes;
    U32 Version;
    std::string TextureName;
    bool Shared;
  };
  const Case cases[] = {
      {"version 1 has no shared byte", TextureFile(1, "grass.mip"), 1, "grass.mip", false},
      {"version 2, not shared", TextureFile(2, "wall.mip", 0), 2, "wall.mip", false},
      {"version 2, any other byte is shared", TextureFile(2, "sky.mip", 7), 2, "sky.mip", true},
      {"empty name", TextureFile(2, "", 1), 2, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto file = Load(c.Bytes, N4ArchiverRegistry::Instance().GetReadable());
    const CountedPtr<N4Texture> texture = TopTexture(*file);
    EXPECT_EQ(texture->GetVersion(), c.Version);
    EXPECT_EQ(texture->GetTextureName(), c.TextureName);
    EXPECT_EQ(texture->IsShared(), c.Shared);
    EXPECT_EQ(texture->GetTypeName(), "Texture");
    EXPECT_EQ(texture->GetName(), "");
    EXPECT_EQ(texture->GetArchivePosition(), 0);
    EXPECT_EQ(Saved(*file), c.Bytes);
  }
}

TEST(N4TextureTest, DamagedBodiesFailWithTheirField) {
  auto patched = [](U32 version, std::size_t offset, U32 value) {
    ByteBuilder b;
    b.Raw(TextureFile(version, "t")).PatchU32(offset, value);
    return b.Data();
  };
  auto cut = [](std::vector<unsigned char> bytes) {
    bytes.pop_back();
    return bytes;
  };
  // The body starts after the 30-byte reference (id, class id, length, descriptor).
  const BrokenCase cases[] = {
      {"reserved0", patched(2, 30, 0), Failure::Format, "N4 3do Texture reserved0 not 1"},
      {"reserved1", patched(2, 34, 1), Failure::Format, "N4 3do Texture reserved1 not 0"},
      {"version 0", patched(2, 38, 0), Failure::Format, "N4 3do Texture unsupported version"},
      {"version 3", patched(2, 38, 3), Failure::Format, "N4 3do Texture unsupported version"},
      {"version 2 without its shared byte", cut(TextureFile(2, "t")), Failure::Read, ""},
      {"a version 1 body read as version 2", patched(1, 38, 2), Failure::Read, ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

TEST(N4TextureTest, OnlyVersionTwoRecordsSharing) {
  auto v1 = Load(TextureFile(1, "a"));
  try {
    TopTexture(*v1)->SetShared(true);
    FAIL() << "accepted";
  } catch (const Util::XUsage& e) {
    EXPECT_EQ(e.Message, "N4 3do Texture version 1 sharing not supported");
  }
  EXPECT_FALSE(TopTexture(*v1)->IsShared());
  EXPECT_EQ(Saved(*v1), TextureFile(1, "a"));

  auto v2 = Load(TextureFile(2, "a", 0));
  TopTexture(*v2)->SetShared(true);
  TopTexture(*v2)->SetTextureName("b");
  EXPECT_EQ(Saved(*v2), TextureFile(2, "b", 1));
}

TEST(N4TextureTest, AMadeTextureIsVersionTwoAndNotShared) {
  N4TdoFile file(AllKinds(), nullptr);
  MakeRoot(file, Add<N4Texture>(file, "made.mip"));
  EXPECT_EQ(Saved(file), TextureFile(2, "made.mip", 0));
}

} // namespace
} // namespace Ostra::Papy
