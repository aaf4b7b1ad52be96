#include "Papy/N4/N4Shape.h"

#include "N4KindFixtures.h"
#include "Papy/N4/N4Appearance.h"
#include "Papy/N4/N4Geometry.h"
#include "Papy/N4/N4PlainVertexList.h"
#include "Papy/N4/N4Texture.h"
#include "Papy/N4/N4TriList.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/Exception.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;

// One textured triangle as a shape, made in memory the way an exporter would.
CountedPtr<N4Shape> MakeTriangleShape(N4TdoFile& file) {
  const CountedPtr<N4PlainVertexList> vertices = Add<N4PlainVertexList>(
      file, std::vector<Point3D>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0.5}},
      std::vector<Direction3D>{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}},
      std::vector<Point2D>{{0, 0}, {1, 0}, {0, 1}}, std::vector<Point2D>{});
  const CountedPtr<N4TriList> triangles = Add<N4TriList>(file, std::vector<U32>{0, 1, 2});
  const CountedPtr<N4Geometry> geometry =
      Add<N4Geometry>(file, vertices->GetId(), triangles->GetId());
  const CountedPtr<N4Texture> texture = Add<N4Texture>(file, "tri.mip");
  const CountedPtr<N4Appearance> appearance =
      Add<N4Appearance>(file, "look", 1.0, 0.5, 0.25, texture, CountedPtr<ThreeDObject>(),
                        CountedPtr<ThreeDObject>(), TextureFunction::Function0);
  return Add<N4Shape>(file, "triangle", geometry->GetId(), appearance->GetId());
}

TEST(N4ShapeTest, TheEditorsReaderRefusesTheKindsItOnlyWrites) {
  for (const char* descriptor :
       {"ShapeDescriptor", "GeometryDescriptor", "TriListDescriptor", "PlainVertexListDescriptor",
        "AnimatedTransformDescriptor"}) {
    ByteBuilder b;
    NewClass(b, 1, 2, descriptor).U32(1).U32(0);
    ExpectFailure({descriptor, b.Data(), Failure::Format,
                   std::string("N4 archive unknown descriptor ") + descriptor},
                  N4ArchiverRegistry::Instance().GetReadable());
  }
}

TEST(N4ShapeTest, AMadeMeshIsWrittenDepthFirstAndReadsBackWhole) {
  N4TdoFile file(AllKinds(), nullptr);
  MakeRoot(file, MakeTriangleShape(file));
  const std::vector<unsigned char> bytes = Saved(file);

  auto read = Load(bytes);
  // Ids follow the first-write order: the geometry's whole body, vertex and triangle
  // lists included, comes before the appearance's reference.
  const CountedPtr<N4Shape> shape = As<N4Shape>(read->GetSubObject(1));
  EXPECT_EQ(shape->GetName(), "triangle");
  EXPECT_EQ(shape->GetTypeName(), "Shape");
  const CountedPtr<ThreeDObjectGeometry> geometry = As<ThreeDObjectGeometry>(shape->GetGeometry());
  EXPECT_EQ(geometry->GetId(), 3u);
  const CountedPtr<ThreeDObjectVertices> vertices =
      As<ThreeDObjectVertices>(geometry->GetVertices());
  EXPECT_EQ(vertices->GetId(), 5u);
  ASSERT_EQ(vertices->GetVertexCount(), 3);
  EXPECT_EQ(vertices->GetPosition(2), Point3D(0, 1, 0.5));
  EXPECT_EQ(vertices->GetDirection(1), Direction3D(0, 0, 1));
  EXPECT_EQ(vertices->GetTextureVertex(1), Point2D(1, 0));
  EXPECT_FALSE(vertices->HasSecondTextureVertices());
  const CountedPtr<ThreeDObjectTriangles> triangles =
      As<ThreeDObjectTriangles>(geometry->GetTriangles());
  EXPECT_EQ(triangles->GetId(), 7u);
  ASSERT_EQ(triangles->GetVertexCount(), 3);
  EXPECT_EQ(triangles->GetVertexIndex(2), 2u);
  const CountedPtr<ThreeDObjectAppearance> appearance =
      As<ThreeDObjectAppearance>(shape->GetAppearance());
  EXPECT_EQ(appearance->GetId(), 9u);
  EXPECT_EQ(As<ThreeDObjectTexture2>(appearance->GetFirstTexture())->GetTextureName(), "tri.mip");

  EXPECT_EQ(Saved(*read), bytes);
}

TEST(N4ShapeTest, DamagedBodiesFailWithTheirField) {
  const std::size_t body = BodyStart("ShapeDescriptor");
  ByteBuilder b;
  NewClass(b, 1, 2, "ShapeDescriptor").U32(1);
  Text(b, "s").U32(1).U32(1).U32(0).U32(0);
  const std::vector<unsigned char> good = b.Data();
  ASSERT_NO_THROW(Load(good));
  // Name "s" takes 6 bytes.
  const BrokenCase cases[] = {
      {"reserved0", Patched(good, body, 0), Failure::Format, "N4 3do Shape reserved0 not 1"},
      {"reserved1", Patched(good, body + 10, 0), Failure::Format, "N4 3do Shape reserved1 not 1"},
      {"reserved2", Patched(good, body + 14, 2), Failure::Format, "N4 3do Shape reserved2 not 1"},
      {"appearance reference missing",
       std::vector<unsigned char>(good.begin(), good.end() - 4), Failure::Read, ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

// Records the shape and geometry walks, refusing the step named in Refuse.
class Recorder : public ThreeDObjectVisitor {
public:
  explicit Recorder(std::string refuse) : Refuse(std::move(refuse)) {}

  bool EnterShape(ThreeDObjectShape&) override { return Step("Shape"); }
  bool BeforeShapeGeometry(ThreeDObjectShape&) override { return Step("<G"); }
  void AfterShapeGeometry(ThreeDObjectShape&) override { Step("G>"); }
  bool BeforeShapeAppearance(ThreeDObjectShape&) override { return Step("<A"); }
  void AfterShapeAppearance(ThreeDObjectShape&) override { Step("A>"); }
  void LeaveShape(ThreeDObjectShape&) override { Step("/Shape"); }
  bool EnterGeometry(ThreeDObjectGeometry&) override { return Step("Geometry"); }
  bool BeforeVertices(ThreeDObjectGeometry&) override { return Step("<V"); }
  void AfterVertices(ThreeDObjectGeometry&) override { Step("V>"); }
  bool BeforeTriangles(ThreeDObjectGeometry&) override { return Step("<T"); }
  void AfterTriangles(ThreeDObjectGeometry&) override { Step("T>"); }
  void LeaveGeometry(ThreeDObjectGeometry&) override { Step("/Geometry"); }
  void VisitVertices(ThreeDObjectVertices&) override { Step("vertices"); }
  void VisitTriangles(ThreeDObjectTriangles&) override { Step("triangles"); }
  bool EnterAppearance(ThreeDObjectAppearance&) override { return Step("Appearance"); }
  void LeaveAppearance(ThreeDObjectAppearance&) override { Step("/Appearance"); }
  bool BeforeOtherTextures(ThreeDObjectAppearance&) override { return false; }
  void VisitTexture2(ThreeDObjectTexture2&) override { Step("texture"); }

  std::string Log;

private:
  bool Step(const std::string& name) {
    Log += (Log.empty() ? "" : " ") + name;
    return name != Refuse;
  }
  std::string Refuse;
};

TEST(N4ShapeTest, TheWalkGoesThroughTheGeometryThenTheAppearance) {
  struct Case {
    const char* Refuse;
    const char* Walk;
  };
  const Case cases[] = {
      {"", "Shape <G Geometry <V vertices V> <T triangles T> /Geometry G> <A Appearance texture "
           "/Appearance A> /Shape"},
      {"Shape", "Shape /Shape"},
      {"<G", "Shape <G G> <A Appearance texture /Appearance A> /Shape"},
      {"<A", "Shape <G Geometry <V vertices V> <T triangles T> /Geometry G> <A A> /Shape"},
      {"Geometry", "Shape <G Geometry /Geometry G> <A Appearance texture /Appearance A> /Shape"},
      {"<T", "Shape <G Geometry <V vertices V> <T T> /Geometry G> <A Appearance texture "
             "/Appearance A> /Shape"},
  };
  N4TdoFile file(AllKinds(), nullptr);
  const CountedPtr<N4Shape> shape = MakeTriangleShape(file);
  for (const Case& c : cases) {
    Recorder recorder(c.Refuse);
    shape->Accept(recorder);
    EXPECT_EQ(recorder.Log, c.Walk) << "refusing " << c.Refuse;
  }
}

} // namespace
} // namespace Ostra::Papy
