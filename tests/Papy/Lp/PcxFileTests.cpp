#include "Papy/Lp/PcxFile.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "Papy/Lp/Palette.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy {
namespace {

constexpr std::size_t ImageBytes = 130; // header and pixels, never looked at

std::vector<unsigned char> PcxImage() {
  std::vector<unsigned char> bytes(ImageBytes + 768);
  for (std::size_t i = 0; i < ImageBytes; ++i)
    bytes[i] = static_cast<unsigned char>(i * 7);
  for (std::size_t i = 0; i < 256; ++i) {
    bytes[ImageBytes + 3 * i] = static_cast<unsigned char>(i);
    bytes[ImageBytes + 3 * i + 1] = static_cast<unsigned char>(255 - i);
    bytes[ImageBytes + 3 * i + 2] = static_cast<unsigned char>(i / 2);
  }
  return bytes;
}

CountedPtr<Util::MemoryStream> Memory(std::vector<unsigned char> bytes) {
  return CountedPtr<Util::MemoryStream>(new Util::MemoryStream("image.pcx", std::move(bytes)));
}

TEST(PcxFile, ReadsTheLastBlockAndWritesItBackUnchanged) {
  auto image = PcxImage();
  image[ImageBytes + 15] = 255; // entry 5
  image[ImageBytes + 16] = 128;
  image[ImageBytes + 17] = 0;
  const auto stream = Memory(image);
  const PcxFile pcx(stream);
  const auto palette = pcx.GetPalette();
  ASSERT_EQ(palette->Colours.size(), 256u);
  EXPECT_TRUE(ColourEquals(palette->Colours[5],
                           Colour(1.0f, static_cast<float>(128 / 255.0), 0.0f, 1.0f)));
  pcx.WritePalette(stream);
  EXPECT_EQ(stream->Bytes(), image);
}

TEST(PcxFile, WritesComponentsRoundedAndClamped) {
  struct Case {
    float Component;
    unsigned char Byte;
  };
  const Case cases[] = {
      {0.5f, 128}, {0.0f, 0}, {1.0f, 255}, {1.01f, 255}, {-0.2f, 0},
      {std::numeric_limits<float>::quiet_NaN(), 0}, {0.499f, 127},
  };
  const auto stream = Memory(PcxImage());
  const PcxFile pcx(stream);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Component);
    pcx.Palette->SetColour(9, Colour(c.Component, 0.0f, 1.0f, 1.0f));
    pcx.WritePalette(stream);
    const auto& bytes = stream->Bytes();
    EXPECT_EQ(bytes[ImageBytes + 27], c.Byte);
    EXPECT_EQ(bytes[ImageBytes + 29], 255);
    EXPECT_EQ(bytes.size(), ImageBytes + 768);
  }
}

TEST(PcxFile, RefusesShortStreamsAndShortPalettes) {
  EXPECT_THROW(PcxFile(Memory(std::vector<unsigned char>(767))), Util::XFileRead);
  const PcxFile pcx(Memory(std::vector<unsigned char>(768)));
  EXPECT_THROW(pcx.WritePalette(Memory(std::vector<unsigned char>(100))), Util::XFileSeek);
  pcx.Palette->Resize(255);
  try {
    pcx.WritePalette(Memory(std::vector<unsigned char>(768)));
    ADD_FAILURE() << "wrote a short palette";
  } catch (const Util::XAssertion& e) {
    EXPECT_STREQ(e.Expression, "Palette->Colours.size() >= 256");
  }
}

TEST(Palette, DuplicateColoursGiveTheLowestIndex) {
  auto image = PcxImage();
  for (std::size_t entry : {3, 7})
    for (std::size_t k = 0; k < 3; ++k)
      image[ImageBytes + 3 * entry + k] = 42;
  const PcxFile pcx(Memory(image));
  EXPECT_EQ(pcx.Palette->GetIndex(Colour(42 / 255.0f, 42 / 255.0f, 42 / 255.0f, 1.0f)), 3u);
}

TEST(Palette, AddSetAndFindKeepTheIndexInStep) {
  const PcxFile pcx(Memory(PcxImage()));
  Palette& palette = *pcx.Palette;
  const Colour fresh(0.25f, 0.75f, 0.125f, 1.0f);
  EXPECT_FALSE(palette.HasColour(fresh));
  EXPECT_EQ(palette.AddColour(fresh), 256u);
  EXPECT_EQ(palette.Colours.size(), 257u);
  EXPECT_EQ(palette.AddColour(fresh), 256u);
  EXPECT_EQ(palette.Colours.size(), 257u);

  const Colour old = palette.Colours[10];
  palette.SetColour(10, Colour(0.5f, 0.5f, 0.5f, 0.5f));
  U32 index = 99;
  EXPECT_FALSE(palette.FindColour(old, index));
  EXPECT_EQ(index, 99u);
  EXPECT_TRUE(palette.FindColour(Colour(0.5f, 0.5f, 0.5f, 0.5f), index));
  EXPECT_EQ(index, 10u);
}

TEST(Palette, InitialColoursAreNotIndexedUntilResized) {
  Palette palette(4);
  try {
    palette.GetIndex(Colour());
    ADD_FAILURE() << "found an unindexed colour";
  } catch (const Util::XAssertion& e) {
    EXPECT_STREQ(e.Expression, "FindColour(colour, index)");
  }
  palette.Resize(4); // unchanged: still nothing indexed
  EXPECT_FALSE(palette.HasColour(Colour()));
  palette.Resize(5);
  EXPECT_EQ(palette.GetIndex(Colour()), 0u);
  palette.SetColour(0, Colour(1.0f, 1.0f, 1.0f, 1.0f));
  EXPECT_EQ(palette.GetIndex(Colour()), 1u);
  palette.Resize(1);
  EXPECT_FALSE(palette.HasColour(Colour()));
  EXPECT_EQ(palette.GetIndex(Colour(1.0f, 1.0f, 1.0f, 1.0f)), 0u);
}

} // namespace
} // namespace Ostra::Papy
