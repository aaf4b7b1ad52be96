#include "Papy/N4/N4TriList.h"

#include "N4KindFixtures.h"
#include "Util/Exception.h"

#include <gtest/gtest.h>

#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;

const std::size_t Body = BodyStart("TriListDescriptor");

std::vector<unsigned char> TriListFile(const std::vector<U32>& indices) {
  ByteBuilder b;
  NewClass(b, 1, 2, "TriListDescriptor").U32(1).U32(0).U32(1).U32(0).U32(1);
  b.U32(static_cast<U32>(indices.size())).U32(static_cast<U32>(indices.size() * 4));
  for (const U32 index : indices)
    b.U32(index);
  return b.Data();
}

std::vector<unsigned char> SavedList(const std::vector<U32>& indices) {
  N4TdoFile file(AllKinds(), nullptr);
  MakeRoot(file, Add<N4TriList>(file, indices));
  return Saved(file);
}

TEST(N4TriListTest, WritesItsIndicesAfterTheirCountAndByteCount) {
  for (const std::vector<U32>& indices :
       {std::vector<U32>{}, std::vector<U32>{0, 1, 2}, std::vector<U32>{5, 4, 3, 2, 1, 0}}) {
    SCOPED_TRACE(indices.size());
    const std::vector<unsigned char> bytes = SavedList(indices);
    EXPECT_EQ(bytes, TriListFile(indices));
    auto file = Load(bytes);
    const CountedPtr<N4TriList> list = As<N4TriList>(file->GetSubObject(1));
    EXPECT_EQ(list->GetTypeName(), "TriList");
    ASSERT_EQ(list->GetVertexCount(), static_cast<int>(indices.size()));
    for (std::size_t i = 0; i < indices.size(); ++i)
      EXPECT_EQ(list->GetVertexIndex(static_cast<int>(i)), indices[i]);
  }
}

TEST(N4TriListTest, IndicesChangeInPlaceWithinTheList) {
  N4TdoFile file(AllKinds(), nullptr);
  const CountedPtr<N4TriList> list = Add<N4TriList>(file, std::vector<U32>{0, 1, 2});
  list->SetVertexIndex(1, 9);
  EXPECT_EQ(list->GetVertexIndex(1), 9u);
  EXPECT_THROW(list->SetVertexIndex(3, 0), Util::XAssertion);
  EXPECT_THROW(list->GetVertexIndex(-1), Util::XAssertion);
}

TEST(N4TriListTest, DamagedBodiesFailWithTheirField) {
  const std::vector<unsigned char> good = TriListFile({0, 1, 2});
  const BrokenCase cases[] = {
      {"reserved0", Patched(good, Body, 0), Failure::Format, "N4 3do TriList reserved0 not 1"},
      {"reserved1", Patched(good, Body + 4, 1), Failure::Format, "N4 3do TriList reserved1 not 0"},
      {"reserved2", Patched(good, Body + 8, 0), Failure::Format, "N4 3do TriList reserved2 not 1"},
      {"reserved3", Patched(good, Body + 12, 1), Failure::Format, "N4 3do TriList reserved3 not 0"},
      {"reserved4", Patched(good, Body + 16, 0), Failure::Format, "N4 3do TriList reserved4 not 1"},
      // The writer does not insist on whole triangles; the reader does.
      {"four indices as written", SavedList({0, 1, 2, 3}), Failure::Format,
       "N4 tdo TriList vertex count % 3 not zero"},
      {"byte count of two indices", Patched(good, Body + 24, 8), Failure::Assertion,
       "byte_count == vertex_count * sizeof(U32)"},
      // 0x40000002 indices is a multiple of 3 whose byte count wraps to 8 in 32 bits.
      {"byte count beyond 32 bits", Patched(Patched(good, Body + 20, 0x40000002), Body + 24, 8),
       Failure::Format, "N4 3do TriList vertex count too large"},
      {"more indices than bytes left", Patched(Patched(good, Body + 20, 3000), Body + 24, 12000),
       Failure::Read, ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

} // namespace
} // namespace Ostra::Papy
