#include "N4ArchiveFakes.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/N4/ThreeDObject.h"
#include "Papy/N4/ThreeDObjectNull.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Papy/N4/ThreeDObjectXSection.h"
#include "Papy/Types/Colour.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace Ostra::Papy {
namespace {

using ArchiveFakes::FakeArchivers;
using ArchiveFakes::FakeLeaf;

std::string AssertionOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Util::XAssertion& e) {
    return e.Expression;
  }
  return "no assertion";
}

TEST(N4TdoFileTest, AnEmptyFileHoldsTwoNullObjectsAndNoRoot) {
  N4TdoFile file(FakeArchivers(), nullptr);
  EXPECT_TRUE(file.GetRoot().IsNull());
  for (U32 id : {N4TdoFile::NullId, N4TdoFile::SecondNullId}) {
    const CountedPtr<ThreeDObject> null = file.GetSubObject(id);
    EXPECT_NE(dynamic_cast<ThreeDObjectNull*>(null.Get()), nullptr);
    EXPECT_EQ(null->GetId(), id);
    EXPECT_EQ(null->GetArchivePosition(), -1);
    EXPECT_EQ(null->GetTypeName(), "");
    Util::MemoryStream out("null");
    null->Write(out, 0);
    EXPECT_EQ(out.Bytes(), (std::vector<unsigned char>{0, 0, 0, 0}));
  }
  EXPECT_EQ(file.GetNull()->GetId(), 0u);
  EXPECT_TRUE(file.ReservedQuery(7).IsNull());
  EXPECT_EQ(file.NewObjectId(), 0x40000001u);
  EXPECT_EQ(file.NewObjectId(), 0x40000002u);
  EXPECT_EQ(AssertionOf([&] { file.GetSubObject(5); }), "p != SubObjects.end()");
}

TEST(N4TdoFileTest, CreateRootTakesExactlyOneChild) {
  N4TdoFile file(FakeArchivers(), nullptr);
  const U32 leaf_id = file.NewObjectId();
  file.AddSubObject(CountedPtr<ThreeDObject>(new FakeLeaf(file, leaf_id, "a")));
  const CountedPtr<ThreeDObject> leaf = file.GetSubObject(leaf_id);
  EXPECT_EQ(AssertionOf([&] { file.CreateRoot(file.NewObjectId(), {}); }), "children.size() == 1");
  EXPECT_EQ(AssertionOf([&] { file.CreateRoot(file.NewObjectId(), {leaf, leaf}); }),
            "children.size() == 1");
  EXPECT_TRUE(file.GetRoot().IsNull());

  const U32 root_id = file.NewObjectId();
  const CountedPtr<ThreeDObjectRoot> root = file.CreateRoot(root_id, {leaf});
  EXPECT_EQ(file.GetRoot().Get(), root.Get());
  EXPECT_EQ(root->GetId(), root_id);
  EXPECT_EQ(root->GetChildCount(), 1u);
  EXPECT_EQ(root->GetChild(0).Get(), leaf.Get());
  EXPECT_EQ(root->GetChild(5).Get(), leaf.Get());
  EXPECT_EQ(root->GetTypeName(), "");
  EXPECT_EQ(AssertionOf([&] { root->GetArchivePosition(); }), "false");
}

// The defaults of every kind that has no values of a family.
TEST(ThreeDObjectTest, ObjectsWithoutValuesReportNoneAndRefuseIndexedAccess) {
  N4TdoFile file(FakeArchivers(), nullptr);
  ThreeDObject& object = *file.GetSubObject(0);
  EXPECT_EQ(object.GetName(), "");
  EXPECT_EQ(object.GetIntegerCount(), 0u);
  EXPECT_EQ(object.GetDoubleCount(), 0u);
  EXPECT_EQ(object.GetListCount(), 0u);
  EXPECT_EQ(object.GetBoolCount(), 0u);
  EXPECT_NO_THROW(object.Hook());
  const std::function<void()> refused[] = {
      [&] { object.SetName("x"); },
      [&] { object.GetInteger(0); },
      [&] { object.SetInteger(0, 1); },
      [&] { object.GetDouble(0); },
      [&] { object.SetDouble(0, 1.0); },
      [&] { object.GetListItem(0); },
      [&] { object.SetListItem(0, CountedPtr<ThreeDObject>()); },
      [&] { object.GetBool(0); },
      [&] { object.SetBool(0, true); },
  };
  for (const auto& action : refused)
    EXPECT_EQ(AssertionOf(action), "false");
}

class RecordingVisitor : public ThreeDObjectVisitor {
public:
  bool EnterRoot(ThreeDObjectRoot&) override {
    Log.push_back("enter");
    return Enter;
  }
  bool BeforeRootChild(ThreeDObjectRoot&, unsigned index) override {
    Log.push_back("before " + std::to_string(index));
    return Before;
  }
  void AfterRootChild(ThreeDObjectRoot&, unsigned index) override {
    Log.push_back("after " + std::to_string(index));
  }
  void LeaveRoot(ThreeDObjectRoot&) override { Log.push_back("leave"); }
  void VisitNull(ThreeDObjectNull&) override { Log.push_back("null"); }
  void VisitXSection(ThreeDObjectXSection&) override { Log.push_back("xsection"); }

  bool Enter = true;
  bool Before = true;
  std::vector<std::string> Log;
};

struct WalkCase {
  const char* Name;
  bool Enter;
  bool Before;
  std::vector<std::string> Log;
};

const WalkCase WalkCases[] = {
    {"everything", true, true, {"enter", "before 0", "null", "after 0", "leave"}},
    {"child pruned", true, false, {"enter", "before 0", "after 0", "leave"}},
    {"root pruned", false, true, {"enter", "leave"}},
};

class RootWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(RootWalkTest, PrunedPartsStillGetTheirClosingCall) {
  N4TdoFile file(FakeArchivers(), nullptr);
  const CountedPtr<ThreeDObjectRoot> root =
      file.CreateRoot(file.NewObjectId(), {file.GetSubObject(0)});
  RecordingVisitor visitor;
  visitor.Enter = GetParam().Enter;
  visitor.Before = GetParam().Before;
  root->Accept(visitor);
  EXPECT_EQ(visitor.Log, GetParam().Log);
}

INSTANTIATE_TEST_SUITE_P(ThreeDObject, RootWalkTest, ::testing::ValuesIn(WalkCases));

class FixedXSection final : public ThreeDObjectXSection {
public:
  FixedXSection(double lat0, double lat1, double p0, double p1, double m0, double m1)
      : Lat0(lat0), Lat1(lat1), P0(p0), P1(p1), M0(m0), M1(m1) {}
  U32 GetId() const override { return 9; }
  S64 GetArchivePosition() const override { return 0; }
  std::string GetTypeName() const override { return "X_Section"; }
  void Write(Util::BinaryStream&, int) override {}
  double GetStartLatitude() const override { return Lat0; }
  double GetEndLatitude() const override { return Lat1; }
  void SetLatitudes(double, double) override {}
  double GetStartAltitude() const override { return P0; }
  double GetEndAltitude() const override { return P1; }
  double GetStartSlope() const override { return M0; }
  double GetEndSlope() const override { return M1; }
  void SetAltitudes(double, double, double, double) override {}

private:
  double Lat0, Lat1, P0, P1, M0, M1;
};

struct ProfileCase {
  const char* Name;
  FixedXSection Section;
  double T;
  double Latitude, Altitude, Slope;
  double B, C, D;
};

constexpr double ProfileTolerance = 1e-12;

const ProfileCase ProfileCases[] = {
    {"rise with flat ends, middle", {0, 0, 0, 1, 0, 0}, 0.5, 0, 0.5, 1.5, 0, 3, -2},
    {"rise with flat ends, start", {0, 0, 0, 1, 0, 0}, 0.0, 0, 0, 0, 0, 3, -2},
    {"constant slope is linear", {-2, 4, 1, 3, 2, 2}, 0.25, -0.5, 1.5, 2, 2, 0, 0},
    {"ends reproduce altitudes and slopes", {1, 1, 5, -1, 0.5, -3}, 1.0, 1, -1, -3, 0.5, -16, 9.5},
};

class XSectionProfileTest : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(XSectionProfileTest, FollowsTheHermiteCubicOfItsEnds) {
  const ProfileCase& c = GetParam();
  EXPECT_NEAR(c.Section.GetLinearCoefficient(), c.B, ProfileTolerance);
  EXPECT_NEAR(c.Section.GetSquareCoefficient(), c.C, ProfileTolerance);
  EXPECT_NEAR(c.Section.GetCubeCoefficient(), c.D, ProfileTolerance);
  EXPECT_NEAR(c.Section.GetLatitudeAt(c.T), c.Latitude, ProfileTolerance);
  EXPECT_NEAR(c.Section.GetAltitudeAt(c.T), c.Altitude, ProfileTolerance);
  EXPECT_NEAR(c.Section.GetSlopeAt(c.T), c.Slope, ProfileTolerance);
}

INSTANTIATE_TEST_SUITE_P(ThreeDObject, XSectionProfileTest, ::testing::ValuesIn(ProfileCases));

TEST(ThreeDObjectTest, CrossSectionsAreVisitedAsLeaves) {
  FixedXSection section(0, 0, 0, 0, 0, 0);
  RecordingVisitor visitor;
  section.Accept(visitor);
  EXPECT_EQ(visitor.Log, std::vector<std::string>{"xsection"});
}

TEST(ThreeDObjectTest, ValueTypesDefaultToOriginAndXAxis) {
  EXPECT_EQ(Point2D(), Point2D(0.0, 0.0));
  EXPECT_EQ(Direction3D(), Direction3D(1.0, 0.0, 0.0));
}

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

struct ColourCase {
  const char* Name;
  Colour A, B;
  bool Equal;
  Colour Product;
  float Distance;
};

const ColourCase ColourCases[] = {
    {"zero alpha clears the hue", {0.5f, 0.5f, 0.5f, 0}, {0, 0, 0, 0}, true, {0, 0, 0, 0}, 0},
    {"opaque against half", {1, 0.5f, 0, 1}, {0.5f, 0.5f, 0, 0.5f}, false,
     {0.5f, 0.25f, 0, 0.5f}, (0.25f + 0.25f) / 4},
    {"distance weighs the hue by the first alpha", {1, 0, 0, 0.5f}, {0, 0, 0, 0.5f}, false,
     {0, 0, 0, 0.25f}, 0.5f / 4},
    {"a NaN component equals nothing", {NaN, 0, 0, 1}, {NaN, 0, 0, 1}, false,
     {NaN, 0, 0, 1}, NaN},
};

class ColourTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourTest, ComparesMultipliesAndMeasures) {
  const ColourCase& c = GetParam();
  EXPECT_EQ(ColourEquals(c.A, c.B), c.Equal);
  EXPECT_EQ(ColourNotEquals(c.A, c.B), !c.Equal);
  const Colour product = ColourProduct(c.A, c.B);
  const Colour& want = c.Product;
  for (auto [got, expected] : {std::pair{product.Red, want.Red}, {product.Green, want.Green},
                               {product.Blue, want.Blue}, {product.Alpha, want.Alpha}}) {
    if (std::isnan(expected))
      EXPECT_TRUE(std::isnan(got));
    else
      EXPECT_FLOAT_EQ(got, expected);
  }
  if (std::isnan(c.Distance))
    EXPECT_TRUE(std::isnan(ColourDistance(c.A, c.B)));
  else
    EXPECT_FLOAT_EQ(ColourDistance(c.A, c.B), c.Distance);
}

INSTANTIATE_TEST_SUITE_P(ThreeDObject, ColourTest, ::testing::ValuesIn(ColourCases));

} // namespace
} // namespace Ostra::Papy
