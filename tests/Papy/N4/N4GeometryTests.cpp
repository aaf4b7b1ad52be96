#include "Papy/N4/N4Geometry.h"

#include "N4KindFixtures.h"
#include "Papy/N4/N4TriList.h"

#include <gtest/gtest.h>

#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;

// A geometry as the top object whose vertex reference is empty and whose triangle
// reference introduces an empty triangle list.
std::vector<unsigned char> GeometryFile() {
  ByteBuilder b;
  NewClass(b, 1, 2, "GeometryDescriptor").U32(1).U32(0).U32(1).U32(0);
  NewClass(b, 3, 4, "TriListDescriptor").U32(1).U32(0).U32(1).U32(0).U32(1).U32(0).U32(0);
  return b.Data();
}

TEST(N4GeometryTest, ReadsItsReferencesAndWritesThemBackUnchanged) {
  auto file = Load(GeometryFile());
  const CountedPtr<N4Geometry> geometry = As<N4Geometry>(file->GetSubObject(1));
  EXPECT_EQ(geometry->GetTypeName(), "Geometry");
  EXPECT_EQ(geometry->GetVertices()->GetId(), 0u);
  EXPECT_EQ(As<N4TriList>(geometry->GetTriangles())->GetVertexCount(), 0);
  EXPECT_EQ(Saved(*file), GeometryFile());
}

TEST(N4GeometryTest, DamagedBodiesFailWithTheirField) {
  const std::size_t body = BodyStart("GeometryDescriptor");
  const BrokenCase cases[] = {
      {"reserved0", Patched(GeometryFile(), body, 0), Failure::Format,
       "N4 3do Geometry reserved0 not 1"},
      {"reserved1", Patched(GeometryFile(), body + 4, 1), Failure::Format,
       "N4 3do Geometry reserved1 not 0"},
      {"version 2", Patched(GeometryFile(), body + 8, 2), Failure::Format,
       "N4 3do Geometry unsupported version"},
      {"triangle reference past the counter", Patched(GeometryFile(), body + 16, 4),
       Failure::Format, "N4 archive object id error"},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

} // namespace
} // namespace Ostra::Papy
