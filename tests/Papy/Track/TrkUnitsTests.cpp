#include "Papy/Track/TrkUnits.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

constexpr S32 Min32 = std::numeric_limits<S32>::min();

struct IntCase {
  const char* Name;
  std::function<S32()> Compute;
  S32 Expected;
};

// The format's integer results are exact: every case compares whole numbers.
TEST(TrkUnits, WorkedExamplesGiveExactIntegers) {
  const IntCase cases[] = {
      {"MetresToTrkUnits(1)", [] { return MetresToTrkUnits(1.0); }, 19685},
      {"MetresToTrkUnits(-1)", [] { return MetresToTrkUnits(-1.0); }, -19685},
      {"MulFixed30(-1, 1) rounds down", [] { return MulFixed30(-1, 1); }, -1},
      {"MulFixed30(2^29, 1000)", [] { return MulFixed30(1 << 29, 1000); }, 500},
      {"FractionFixed30(1, 2)", [] { return FractionFixed30(1, 2); }, 1 << 29},
      {"FractionFixed30(2, 2)", [] { return FractionFixed30(2, 2); }, 1 << 30},
      {"DivFixed13(1, 2)", [] { return DivFixed13(1, 2); }, 4096},
      {"Atan2ToTrkAngle(1, 1)", [] { return Atan2ToTrkAngle(1, 1); }, 536870912},
      {"Atan2ToTrkAngle(0, -1) is a half turn", [] { return Atan2ToTrkAngle(0, -1); }, Min32},
      {"SlopeToTrkAngle(8192)", [] { return SlopeToTrkAngle(8192); }, 1 << 30},
      {"SlopeToTrkAngle(4096)", [] { return SlopeToTrkAngle(4096); }, 357913941},
      {"SlopeToTrkAngle(-4096)", [] { return SlopeToTrkAngle(-4096); }, -357913941},
      {"SlopeToTrkAngle above one clamps", [] { return SlopeToTrkAngle(20000); }, 1 << 30},
      {"SlopeToTrkAngle below minus one clamps", [] { return SlopeToTrkAngle(-8193); }, -(1 << 30)},
      {"SinFixed30(quarter turn)", [] { return SinFixed30(1 << 30); }, 1 << 30},
      {"CosFixed30(quarter turn)", [] { return CosFixed30(1 << 30); }, 0},
      {"RadiansToTrkHalfAngle rounds towards zero",
       [] { return RadiansToTrkHalfAngle(TrkAngleToRadians(-5)); }, -2},
      {"TruncToI32 of NaN", [] { return TruncToI32(std::nan("")); }, Min32},
      {"TruncToI32 of 2^31", [] { return TruncToI32(2147483648.0); }, Min32},
      {"TruncToI32 of -2^31 - 1", [] { return TruncToI32(-2147483649.0); }, Min32},
      {"TruncToI32 just inside", [] { return TruncToI32(-2147483648.9); }, Min32},
      {"TruncToI32 largest", [] { return TruncToI32(2147483647.9); }, 2147483647},
      {"WrapAdd wraps", [] { return WrapAdd(2147483647, 1); }, Min32},
  };
  for (const IntCase& c : cases)
    EXPECT_EQ(c.Compute(), c.Expected) << c.Name;
}

TEST(TrkUnits, ConversionsUseTheFormatsOwnConstants) {
  EXPECT_DOUBLE_EQ(TrkUnitsToMetres(19685), 0.999998);
  // Not 2 pi / 2^32: the format's literal.
  EXPECT_EQ(TrkAngleToRadians(1), 1.462918079266274e-9);
  EXPECT_EQ(RadiansToTrkAngle(TrkAngleToRadians(1 << 29)), 1 << 29);
}

TEST(TrkUnits, HalfAngleKeepsSweepsBeyondAHalfTurn) {
  // 100 degrees of half angle: a 200-degree left turn, not a 160-degree right one.
  const S32 half = RadiansToTrkAngle(100.0 * std::acos(-1.0) / 180.0);
  EXPECT_NEAR(TrkHalfAngleToRadians(half), 200.0 * std::acos(-1.0) / 180.0, 1e-8);
  // Below a half turn the result is the same as doubling the binary angle.
  EXPECT_EQ(TrkHalfAngleToRadians(1 << 28), TrkAngleToRadians(1 << 29));
}

struct AssertCase {
  const char* Name;
  std::function<void()> Call;
  std::string Expression;
};

TEST(TrkUnits, DivisionsAssertInsteadOfTrapping) {
  const AssertCase cases[] = {
      {"fraction above one", [] { FractionFixed30(3, 2); }, "dividend <= divisor"},
      {"fraction of zero", [] { FractionFixed30(0, 0); }, "divisor != 0"},
      {"slope over zero length", [] { DivFixed13(5, 0); }, "b != 0"},
  };
  for (const AssertCase& c : cases) {
    try {
      c.Call();
      ADD_FAILURE() << c.Name << ": no assertion";
    } catch (const Util::XAssertion& e) {
      EXPECT_EQ(std::string(e.Expression), c.Expression) << c.Name;
    }
  }
}

} // namespace
} // namespace Ostra::Papy
