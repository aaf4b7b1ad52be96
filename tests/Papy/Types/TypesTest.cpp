#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "Papy/Types/Colour.h"
#include "Papy/Types/FourCC.h"
#include "Papy/Types/ReaderOptions.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy {
namespace {

TEST(SurfaceAndWallTypes, NamesAndRangeChecks) {
  EXPECT_EQ(GetSurfaceTypeName(SurfaceAsphalt), "Asphalt");
  EXPECT_EQ(GetSurfaceTypeName(7), "Rumble Strip");
  EXPECT_EQ(GetSurfaceTypeName(SurfaceUnknown), "Unknown");
  EXPECT_EQ(GetSurfaceTypeName(12), "Water");
  EXPECT_EQ(GetWallTypeName(4), "Concrete With Fence");
  EXPECT_EQ(GetWallTypeName(12), "Wire Fence (Right)");
  EXPECT_EQ(GetWallTypeName(WallUnknown), "Unknown");
  for (int bad : {13, -1, std::numeric_limits<int>::min()})
    EXPECT_THROW(GetSurfaceTypeName(bad), Util::XAssertion) << bad;
  for (int bad : {15, -1})
    EXPECT_THROW(GetWallTypeName(bad), Util::XAssertion) << bad;
}

TEST(FourCC, TopByteFirstSoFileBytesReadBackwards) {
  static_assert(MakeFourCC('T', 'R', 'A', 'K') == 0x5452414Bu);
  EXPECT_EQ(MakeFourCC('3', 'D', 'O', '4'), 0x33444F34u);
  Util::CountedPtr<Util::BinaryStream> s(
      new Util::MemoryStream("m", {0x34, 0x4F, 0x44, 0x33, 1, 2, 3, 4}));
  EXPECT_EQ(PeekU32(s), MakeFourCC('3', 'D', 'O', '4'));
  EXPECT_EQ(PeekU32(s), MakeFourCC('3', 'D', 'O', '4'));
  EXPECT_EQ(s->Tell(), 0);
  s->Seek(6);
  EXPECT_THROW(PeekU32(s), Util::XFileRead);
}

TEST(FourCC, TripleRoundTrips) {
  Util::CountedPtr<Util::BinaryStream> s(new Util::MemoryStream("m"));
  U32Triple(1, 0xFFFFFFFF, 3).Write(s);
  EXPECT_EQ(s->Size(), 12);
  s->Seek(0);
  const U32Triple back(s);
  EXPECT_EQ(back.GetFirst(), 1u);
  EXPECT_EQ(back.GetSecond(), 0xFFFFFFFFu);
  EXPECT_EQ(back.GetThird(), 3u);
}

TEST(ReaderOptions, StrictIsOffUntilSet) {
  EXPECT_FALSE(ReaderOptions::Instance().Strict);
  EXPECT_EQ(&ReaderOptions::Instance(), &ReaderOptions::Instance());
}

TEST(Colour, TransparentColoursLoseTheirHueAndEqualityIsPerComponent) {
  const Colour clear(0.5f, 0.25f, 1.0f, 0.0f);
  EXPECT_TRUE(ColourEquals(clear, Colour(0, 0, 0, 0)));
  // Negative zero alpha is transparent too, and is stored as plain zero: the palette
  // orders colours by their bytes.
  const Colour negative_clear(0.5f, 0.25f, 1.0f, -0.0f);
  EXPECT_EQ(negative_clear.Red, 0.0f);
  EXPECT_EQ(negative_clear.Blue, 0.0f);
  EXPECT_FALSE(std::signbit(negative_clear.Alpha));
  EXPECT_TRUE(ColourEquals(Colour(0.0f, 1, 1, 1), Colour(-0.0f, 1, 1, 1)));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Colour with_nan(nan, 1, 1, 1);
  EXPECT_FALSE(ColourEquals(with_nan, with_nan));
  EXPECT_FALSE(ColourEquals(Colour(1, 1, 1, 1), Colour(1, 1, 1, 0.5f)));
}

} // namespace
} // namespace Ostra::Papy
