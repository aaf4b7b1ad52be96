#include "Papy/N4/N4TextureCoords.h"

#include "N4KindFixtures.h"
#include "Util/Exception.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;

using Channels = std::map<U32, std::vector<double>>;

constexpr std::size_t BodyStart = 36; // after id, class id, length and the descriptor
constexpr std::size_t CountAt = BodyStart + 12;
constexpr std::size_t USizeAt = BodyStart + 20;

// Texture coordinates as the top object. u and v are written with their own sizes,
// so either may be empty.
std::vector<unsigned char> CoordsFile(U32 n, const std::vector<double>& u,
                                      const std::vector<double>& v, const Channels& channels = {}) {
  ByteBuilder b;
  NewClass(b, 1, 2, "TextureCoordsDescriptor").U32(1).U32(0).U32(1).U32(n).U32(3);
  F64s(b.U32(static_cast<U32>(u.size() * 8)), u);
  F64s(b.U32(static_cast<U32>(v.size() * 8)), v);
  for (U32 c = 0; c < 22; ++c) {
    const auto p = channels.find(c);
    if (p == channels.end())
      b.U32(0);
    else
      F64s(b.U32(static_cast<U32>(p->second.size() * 8)), p->second);
  }
  return b.Data();
}

CountedPtr<N4TextureCoords> TopCoords(N4TdoFile& file) {
  return As<N4TextureCoords>(file.GetSubObject(1));
}

TEST(N4TextureCoordsTest, ReadsVerticesAndChannelsAndWritesThemBackUnchanged) {
  struct Case {
    const char* Name;
    std::vector<unsigned char> Bytes;
    int VertexCount;
    std::vector<Point2D> Vertices;
    std::vector<S32> ChannelIds;
    std::vector<double> ChannelValues;
  };
  const Case cases[] = {
      {"four texture vertices, no channels",
       CoordsFile(4, {0.0, 1.0, 2.0, 3.0}, {10.0, 11.0, 12.0, 13.0}),
       4,
       {{0.0, 10.0}, {1.0, 11.0}, {2.0, 12.0}, {3.0, 13.0}},
       {},
       {}},
      {"no texture vertices but a channel", CoordsFile(4, {}, {}, {{5, {1.0, 2.0, 3.0, 4.0}}}), 4,
       {}, {5}, {1.0, 2.0, 3.0, 4.0}},
      {"first and last channels, twenty empty ones between",
       CoordsFile(2, {0.5, 0.25}, {0.125, 1.0}, {{0, {-1.0, -2.0}}, {21, {7.0, 8.0}}}),
       2,
       {{0.5, 0.125}, {0.25, 1.0}},
       {0, 21},
       {-1.0, -2.0, 7.0, 8.0}},
      {"a count without any arrays", CoordsFile(1000, {}, {}), 1000, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto file = Load(c.Bytes, N4ArchiverRegistry::Instance().GetReadable());
    const CountedPtr<N4TextureCoords> coords = TopCoords(*file);
    EXPECT_EQ(coords->GetTypeName(), "TextureCoords");
    EXPECT_EQ(coords->GetVertexCount(), c.VertexCount);
    EXPECT_EQ(coords->HasTextureVertices(), !c.Vertices.empty());
    for (std::size_t i = 0; i < c.Vertices.size(); ++i)
      EXPECT_EQ(coords->GetTextureVertex(static_cast<int>(i)), c.Vertices[i]) << i;
    EXPECT_THROW(coords->GetTextureVertex(static_cast<int>(c.Vertices.size())), Util::XAssertion);
    ASSERT_EQ(coords->GetIntegerCount(), c.ChannelIds.size());
    for (unsigned i = 0; i < c.ChannelIds.size(); ++i)
      EXPECT_EQ(coords->GetInteger(i), c.ChannelIds[i]);
    ASSERT_EQ(coords->GetDoubleCount(), c.ChannelValues.size());
    for (unsigned i = 0; i < c.ChannelValues.size(); ++i)
      EXPECT_EQ(coords->GetDouble(i), c.ChannelValues[i]);
    EXPECT_THROW(coords->GetDouble(coords->GetDoubleCount()), Util::XAssertion);
    EXPECT_THROW(coords->SetDouble(0, 1.0), Util::XAssertion);
    EXPECT_EQ(Saved(*file), c.Bytes);
  }
}

TEST(N4TextureCoordsTest, DamagedBodiesFailWithTheirFieldOrSizeCheck) {
  auto patched = [](std::vector<unsigned char> bytes, std::size_t offset, U32 value) {
    ByteBuilder b;
    b.Raw(bytes).PatchU32(offset, value);
    return b.Data();
  };
  const std::vector<unsigned char> plain = CoordsFile(2, {1.0, 2.0}, {3.0, 4.0});
  const std::vector<unsigned char> bare = CoordsFile(2, {}, {});
  const std::vector<unsigned char> huge_count = [] {
    ByteBuilder b;
    NewClass(b, 1, 2, "TextureCoordsDescriptor").U32(1).U32(0).U32(1).U32(0x1FFFFFFF).U32(3);
    b.U32(0xFFFFFFF8).F64(1.0);
    return b.Data();
  }();
  const BrokenCase cases[] = {
      {"reserved0", patched(plain, BodyStart, 0), Failure::Format,
       "N4 ptf TextureCoords reserved0 not 1"},
      {"reserved1", patched(plain, BodyStart + 4, 1), Failure::Format,
       "N4 ptf TextureCoords reserved1 not 0"},
      {"reserved2", patched(plain, BodyStart + 8, 2), Failure::Format,
       "N4 ptf TextureCoords reserved2 not 1"},
      {"reserved3", patched(plain, BodyStart + 16, 1), Failure::Format,
       "N4 ptf TextureCoords reserved3 not 3"},
      {"u size of one vertex short", patched(plain, USizeAt, 8), Failure::Assertion,
       "array_size == 0 || array_size == VertexCount * sizeof(F64)"},
      {"v values without u values", CoordsFile(2, {}, {1.0, 2.0}), Failure::Assertion,
       "array_size == has_texture_vertices * VertexCount * sizeof(F64)"},
      {"u values without v values", CoordsFile(2, {1.0, 2.0}, {}), Failure::Assertion,
       "array_size == has_texture_vertices * VertexCount * sizeof(F64)"},
      {"channel of one value for two vertices", CoordsFile(2, {}, {}, {{3, {1.0}}}),
       Failure::Assertion, "array_size == VertexCount * sizeof(F64)"},
      {"byte sizes beyond 32 bits", patched(bare, CountAt, 0x20000000), Failure::Format,
       "N4 ptf TextureCoords vertex count too large"},
      {"largest count with its array cut short", huge_count, Failure::Read, ""},
      {"last channel size missing",
       std::vector<unsigned char>(bare.begin(), bare.end() - 4), Failure::Read, ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

} // namespace
} // namespace Ostra::Papy
