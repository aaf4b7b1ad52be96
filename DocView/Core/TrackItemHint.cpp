#include "DocView/Core/TrackItemHint.h"

namespace Ostra::DocView {

namespace {
constexpr std::int64_t MaxSegmentField = 0x7FFF;
constexpr std::int64_t MaxItemField = 0xFF;
} // namespace

TrackItemHint MakeSegmentHint(std::int64_t segment) {
  if (segment < 0 || segment + 1 > MaxSegmentField)
    return NoItemHint;
  return static_cast<TrackItemHint>(static_cast<std::uint32_t>(segment + 1) << 16);
}

TrackItemHint MakeItemHint(std::int64_t segment, TrackItemKind kind, std::int64_t item) {
  const TrackItemHint segment_hint = MakeSegmentHint(segment);
  if (segment_hint == NoItemHint || kind == TrackItemKind::Segment || item < 0 ||
      item + 1 > MaxItemField)
    return segment_hint;
  const std::uint32_t bits = static_cast<std::uint32_t>(segment_hint) |
                             (static_cast<std::uint32_t>(kind) << 8) |
                             static_cast<std::uint32_t>(item + 1);
  return static_cast<TrackItemHint>(bits);
}

DecodedTrackItemHint DecodeTrackItemHint(TrackItemHint hint) {
  const auto bits = static_cast<std::uint32_t>(hint);
  return {static_cast<std::int32_t>((bits >> 16) & 0x7FFF) - 1,
          static_cast<std::int32_t>((bits >> 8) & 0xFF), static_cast<std::int32_t>(bits & 0xFF) - 1};
}

} // namespace Ostra::DocView
