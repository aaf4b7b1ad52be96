#include <gtest/gtest.h>

#include "DocView/Core/TrackItemHint.h"

namespace Ostra::DocView {
namespace {

TEST(TrackItemHint, EncodesAndDecodesEveryKind) {
  struct Case {
    std::int64_t Segment;
    TrackItemKind Kind;
    std::int64_t Item;
    TrackItemHint Expected;
  };
  const Case cases[] = {
      {0, TrackItemKind::Segment, 0, 0x00010000},
      {5, TrackItemKind::Wall, 2, 393987}, // 0x00060303
      {5, TrackItemKind::Trace, 0, 0x00060101},
      {7, TrackItemKind::Surface, 9, 0x0008020A},
      {32765, TrackItemKind::Trace, 253, static_cast<TrackItemHint>(0x7FFE01FEu)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Expected);
    const TrackItemHint hint = MakeItemHint(c.Segment, c.Kind, c.Item);
    EXPECT_EQ(hint, c.Expected);
    const DecodedTrackItemHint decoded = DecodeTrackItemHint(hint);
    EXPECT_EQ(decoded.Segment, c.Segment);
    EXPECT_EQ(decoded.Kind, static_cast<int>(c.Kind));
    EXPECT_EQ(decoded.Item, c.Kind == TrackItemKind::Segment ? -1 : c.Item);
  }
  EXPECT_EQ(MakeSegmentHint(5), MakeItemHint(5, TrackItemKind::Segment, 3));
}

TEST(TrackItemHint, LargeTracksNeverNameAnotherItem) {
  // The 255th item of a kind would spill into the kind byte; it names its segment.
  EXPECT_EQ(MakeItemHint(4, TrackItemKind::Trace, 255), MakeSegmentHint(4));
  EXPECT_EQ(DecodeTrackItemHint(MakeItemHint(4, TrackItemKind::Trace, 254)).Item, 254);
  EXPECT_EQ(MakeItemHint(4, TrackItemKind::Wall, 100000), MakeSegmentHint(4));
  EXPECT_EQ(DecodeTrackItemHint(MakeItemHint(4, TrackItemKind::Wall, 253)).Item, 253);
  // Segments past the field's reach carry no item rather than decoding to -1 or to a
  // small segment.
  EXPECT_EQ(DecodeTrackItemHint(MakeSegmentHint(32766)).Segment, 32766);
  EXPECT_EQ(MakeSegmentHint(32767), NoItemHint);
  EXPECT_EQ(MakeSegmentHint(65535 + 3), NoItemHint);
  EXPECT_EQ(MakeItemHint(40000, TrackItemKind::Surface, 1), NoItemHint);
  EXPECT_EQ(MakeSegmentHint(-1), NoItemHint);
  EXPECT_EQ(MakeItemHint(3, TrackItemKind::Wall, -1), MakeSegmentHint(3));
}

TEST(TrackItemHint, NoItemAndTheWholeTrackStayApart) {
  EXPECT_EQ(DecodeTrackItemHint(NoItemHint).Segment, -1);
  EXPECT_EQ(DecodeTrackItemHint(NoItemHint).Item, -1);
  EXPECT_NE(MakeSegmentHint(0), NoItemHint);
  EXPECT_NE(MakeSegmentHint(0), WholeTrackHint);
  EXPECT_EQ(WholeTrackHint, -1);
}

} // namespace
} // namespace Ostra::DocView
