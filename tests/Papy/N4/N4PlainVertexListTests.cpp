#include "Papy/N4/N4PlainVertexList.h"

#include "N4KindFixtures.h"
#include "Util/Exception.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;

using Channels = std::map<U32, std::vector<double>>;

const std::size_t Body = BodyStart("PlainVertexListDescriptor");

// A body as the file stores it. Positions are (i, 10 + i, 20 + i) and directions
// (0, 0, 1); each texture component array and channel is written with its own size.
struct VertexBody {
  U32 Count = 1;
  std::vector<double> TextureU, TextureV;
  Channels FirstChannels;
  std::vector<double> SecondU, SecondV;
  Channels LastChannels;
};

ByteBuilder& Array(ByteBuilder& b, const std::vector<double>& values) {
  return F64s(b.U32(static_cast<U32>(values.size() * 8)), values);
}

std::vector<unsigned char> VertexFile(const VertexBody& v) {
  std::vector<double> x, y, z, zeros(v.Count, 0.0), ones(v.Count, 1.0);
  for (U32 i = 0; i < v.Count; ++i) {
    x.push_back(i);
    y.push_back(10.0 + i);
    z.push_back(20.0 + i);
  }
  ByteBuilder b;
  NewClass(b, 1, 2, "PlainVertexListDescriptor").U32(1).U32(0).U32(1).U32(1).U32(v.Count);
  Array(Array(Array(b, x), y), z).U32(0);
  Array(Array(Array(b, zeros), zeros), ones).U32(3);
  Array(Array(b, v.TextureU), v.TextureV);
  for (U32 c = 0; c < 18; ++c)
    Array(b, v.FirstChannels.count(c) ? v.FirstChannels.at(c) : std::vector<double>{});
  Array(Array(b, v.SecondU), v.SecondV);
  for (U32 c : {20u, 21u})
    Array(b, v.LastChannels.count(c) ? v.LastChannels.at(c) : std::vector<double>{});
  return b.Data();
}

CountedPtr<N4PlainVertexList> TopList(N4TdoFile& file) {
  return As<N4PlainVertexList>(file.GetSubObject(1));
}

TEST(N4PlainVertexListTest, AMadeListWithoutTexturesWritesEmptySizesForEveryOptionalArray) {
  N4TdoFile file(AllKinds(), nullptr);
  MakeRoot(file, Add<N4PlainVertexList>(file, std::vector<Point3D>{{0, 10, 20}},
                                        std::vector<Direction3D>{{0, 0, 1}},
                                        std::vector<Point2D>{}, std::vector<Point2D>{}));
  EXPECT_EQ(Saved(file), VertexFile({}));
}

TEST(N4PlainVertexListTest, ReadsTexturesAndChannelsAndWritesThemBackUnchanged) {
  VertexBody body;
  body.Count = 2;
  body.TextureU = {0.5, 0.25};
  body.TextureV = {1.5, 1.25};
  body.FirstChannels = {{3, {7.0, 8.0}}};
  body.SecondU = {2.0, 3.0};
  body.SecondV = {4.0, 5.0};
  body.LastChannels = {{20, {-1.0, -2.0}}};
  const std::vector<unsigned char> bytes = VertexFile(body);
  auto file = Load(bytes);
  const CountedPtr<N4PlainVertexList> list = TopList(*file);
  EXPECT_EQ(list->GetTypeName(), "PlainVertexList");
  ASSERT_EQ(list->GetVertexCount(), 2);
  EXPECT_EQ(list->GetPosition(1), Point3D(1, 11, 21));
  EXPECT_EQ(list->GetDirection(0), Direction3D(0, 0, 1));
  ASSERT_TRUE(list->HasTextureVertices());
  EXPECT_EQ(list->GetTextureVertex(1), Point2D(0.25, 1.25));
  ASSERT_TRUE(list->HasSecondTextureVertices());
  EXPECT_EQ(list->GetSecondTextureVertex(0), Point2D(2.0, 4.0));
  ASSERT_EQ(list->GetIntegerCount(), 2u);
  EXPECT_EQ(list->GetInteger(0), 3);
  EXPECT_EQ(list->GetInteger(1), 20);
  const std::vector<double> values = {7.0, 8.0, -1.0, -2.0};
  ASSERT_EQ(list->GetDoubleCount(), 4u);
  for (unsigned i = 0; i < 4; ++i)
    EXPECT_EQ(list->GetDouble(i), values[i]);
  EXPECT_EQ(Saved(*file), bytes);

  list->SetPosition(0, Point3D(5, 5, 5));
  list->SetSecondTextureVertex(1, Point2D(9, 9));
  auto changed = Load(Saved(*file));
  EXPECT_EQ(TopList(*changed)->GetPosition(0), Point3D(5, 5, 5));
  EXPECT_EQ(TopList(*changed)->GetSecondTextureVertex(1), Point2D(9, 9));
}

TEST(N4PlainVertexListTest, AccessorsAndMadeListsKeepToTheVertexCount) {
  N4TdoFile file(AllKinds(), nullptr);
  const std::vector<Point3D> two = {{0, 0, 0}, {1, 1, 1}};
  const CountedPtr<N4PlainVertexList> list = Add<N4PlainVertexList>(
      file, two, std::vector<Direction3D>(2), std::vector<Point2D>{}, std::vector<Point2D>{});
  EXPECT_EQ(list->GetDirection(1), Direction3D(1, 0, 0));
  EXPECT_THROW(list->GetPosition(2), Util::XAssertion);
  EXPECT_THROW(list->SetDirection(-1, Direction3D()), Util::XAssertion);
  EXPECT_THROW(list->GetTextureVertex(0), Util::XAssertion);
  EXPECT_THROW(list->GetInteger(0), Util::XAssertion);
  // Lists the writer would store with the wrong sizes are refused when made.
  EXPECT_THROW(Add<N4PlainVertexList>(file, two, std::vector<Direction3D>(1),
                                      std::vector<Point2D>{}, std::vector<Point2D>{}),
               Util::XAssertion);
  EXPECT_THROW(Add<N4PlainVertexList>(file, two, std::vector<Direction3D>(2),
                                      std::vector<Point2D>(3), std::vector<Point2D>{}),
               Util::XAssertion);
}

TEST(N4PlainVertexListTest, DamagedBodiesFailWithTheirFieldOrSizeCheck) {
  const std::vector<unsigned char> good = VertexFile({});
  // With one vertex each array takes 12 bytes.
  const std::size_t reserved4 = Body + 20 + 36;
  const std::size_t reserved5 = reserved4 + 4 + 36;
  auto body = [](auto change) {
    VertexBody v;
    change(v);
    return VertexFile(v);
  };
  const std::vector<unsigned char> huge_count = [] {
    ByteBuilder b;
    NewClass(b, 1, 2, "PlainVertexListDescriptor").U32(1).U32(0).U32(1).U32(1).U32(0x1FFFFFFF);
    b.U32(0xFFFFFFF8).F64(1.0);
    return b.Data();
  }();
  const std::string size_check = "array_size == vertex_count * sizeof(F64)";
  const BrokenCase cases[] = {
      {"reserved0", Patched(good, Body, 0), Failure::Format,
       "N4 3do PlainVertexList reserved0 not 1"},
      {"reserved1", Patched(good, Body + 4, 1), Failure::Format,
       "N4 3do PlainVertexList reserved1 not 0"},
      {"version 2", Patched(good, Body + 8, 2), Failure::Format,
       "N4 3do PlainVertexList version not supported"},
      {"reserved3", Patched(good, Body + 12, 0), Failure::Format,
       "N4 3do PlainVertexList reserved3 not 1"},
      {"reserved4", Patched(good, reserved4, 1), Failure::Format,
       "N4 3do PlainVertexList reserved4 not 0"},
      {"reserved5", Patched(good, reserved5, 1), Failure::Format,
       "N4 3do PlainVertexList reserved5 not 3"},
      {"position array of no vertex", Patched(good, Body + 20, 0), Failure::Assertion, size_check},
      {"direction array of two vertices", Patched(good, reserved4 + 4 + 24, 16),
       Failure::Assertion, size_check},
      {"second texture components without first ones",
       body([](VertexBody& v) { v.TextureV = {1.0}; }), Failure::Assertion, "array_size ==0"},
      {"first texture components without second ones",
       body([](VertexBody& v) { v.TextureU = {1.0}; }), Failure::Assertion, size_check},
      {"second set's components without first ones",
       body([](VertexBody& v) { v.SecondV = {1.0}; }), Failure::Assertion, "array_size ==0"},
      {"channel 4 of two values for one vertex",
       body([](VertexBody& v) { v.FirstChannels = {{4, {1.0, 2.0}}}; }), Failure::Assertion,
       size_check},
      {"channel 21 of two values for one vertex",
       body([](VertexBody& v) { v.LastChannels = {{21, {1.0, 2.0}}}; }), Failure::Assertion,
       size_check},
      {"byte sizes beyond 32 bits", Patched(good, Body + 16, 0x20000000), Failure::Format,
       "N4 3do PlainVertexList vertex count too large"},
      {"largest count with its arrays cut short", huge_count, Failure::Read, ""},
      {"last channel size missing", std::vector<unsigned char>(good.begin(), good.end() - 4),
       Failure::Read, ""},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

} // namespace
} // namespace Ostra::Papy
