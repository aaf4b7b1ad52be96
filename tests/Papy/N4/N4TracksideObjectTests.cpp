#include "Papy/N4/N4TracksideObject.h"

#include "N4KindFixtures.h"
#include "TestSupport/N4PtfBuilder.h"

#include <gtest/gtest.h>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;
using Test::N4PtfBuilder;

using Plan = N4PtfBuilder::TracksideObject;

N4PtfBuilder Built(const Plan& plan) {
  N4PtfBuilder b;
  b.Write(plan);
  return b;
}

CountedPtr<N4TracksideObject> Top(N4TdoFile& file) { return As<N4TracksideObject>(file.GetSubObject(1)); }

TEST(N4TracksideObject, ReadsBothLayouts) {
  struct Case {
    Plan Body;
    bool Flag;
  };
  const Case cases[] = {
      {Plan{.Version = 3, .First = "tree", .Second = "tree.3do", .Flag = 1}, true},
      {Plan{.Version = 3, .First = "", .Second = "x", .Flag = 0}, false},
      // No flag byte in version 2, whatever the builder holds.
      {Plan{.Version = 2, .First = "sign", .Second = "", .Flag = 1}, false},
  };
  for (const Case& c : cases) {
    const N4PtfBuilder b = Built(c.Body);
    const auto file = Load(b.Data());
    const auto t = Top(*file);
    EXPECT_EQ(t->GetTypeName(), "TSO");
    EXPECT_EQ(t->GetFirstString(), c.Body.First);
    EXPECT_EQ(t->GetSecondString(), c.Body.Second);
    EXPECT_EQ(t->GetFlag(), c.Flag);
    EXPECT_EQ(Saved(*file), b.Data());
  }
}

TEST(N4TracksideObject, RejectsEachDamagedField) {
  const N4PtfBuilder b = Built(Plan{});
  const std::size_t body = b.BodyOffset(1);
  const BrokenCase cases[] = {
      {"reserved0", Patched(b.Data(), body, 0), Failure::Format, "N4 ptf TracksideObject reserved0 not 1"},
      {"reserved1", Patched(b.Data(), body + 4, 1), Failure::Format, "N4 ptf TracksideObject reserved1 not 0"},
      {"version 1", Patched(b.Data(), body + 8, 1), Failure::Format,
       "N4 ptf TracksideObject unsupported version"},
      {"version 4", Patched(b.Data(), body + 8, 4), Failure::Format,
       "N4 ptf TracksideObject unsupported version"},
      {"string", Patched(b.Data(), body + 12, 0x00200000), Failure::Assertion, "length <= 1024L * 1024L"},
  };
  for (const BrokenCase& c : cases)
    ExpectFailure(c);
}

} // namespace
} // namespace Ostra::Papy
