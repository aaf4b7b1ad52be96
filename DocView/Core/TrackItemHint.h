#pragma once

#include <cstdint>

// The value a track document's views exchange to name the selected item. The tree stores
// it with each item; the list decodes all of it; the 3D view only the segment.
namespace Ostra::DocView {

using TrackItemHint = std::int32_t;

// No item: the linked LP documents changed, or a view's first fill.
inline constexpr TrackItemHint NoItemHint = 0;
// The whole track.
inline constexpr TrackItemHint WholeTrackHint = -1;

enum class TrackItemKind : int { Segment = 0, Trace = 1, Surface = 2, Wall = 3 };

// The fields hold segments up to 32766 and items up to 254 of each kind. An item beyond
// that carries its segment's hint, and a segment beyond that carries NoItemHint, so a
// large track never decodes to another item (or to segment -1).
TrackItemHint MakeSegmentHint(std::int64_t segment);
TrackItemHint MakeItemHint(std::int64_t segment, TrackItemKind kind, std::int64_t item);

struct DecodedTrackItemHint {
  std::int32_t Segment; // -1 when none
  std::int32_t Kind;    // 0 segment, 1 trace, 2 surface, 3 wall; other values name nothing
  std::int32_t Item;    // -1 when none
};

DecodedTrackItemHint DecodeTrackItemHint(TrackItemHint hint);

} // namespace Ostra::DocView
