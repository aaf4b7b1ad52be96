#pragma once

#include <functional>
#include <string>
#include <vector>

#include "DocView/Core/TrackItemHint.h"

namespace Ostra::Papy {
class Track;
}

// The rows of the track tree: the whole track, its segments, and under each segment
// its traces (cross-section lines), surfaces and walls, in that order.
namespace Ostra::DocView {

struct TrackTreeRow {
  int Depth; // 0 the whole track, 1 a segment, 2 an item of a segment
  std::string Label;
  TrackItemHint Hint;

  bool operator==(const TrackTreeRow&) const = default;
};

using TrackTreeRowSink = std::function<void(const TrackTreeRow& row)>;

// Hands the rows to sink in tree order (each row follows its parent). A null track, or
// one without segments, gives the root alone. Labels count from 0 while hints count from
// 1; an item the hint cannot address carries its segment's hint (see MakeItemHint).
// Rows are handed over one at a time, so a caller showing them keeps those it got
// before the track model throws; the model's exceptions pass through.
void EmitTrackTreeItems(const Papy::Track* track, const TrackTreeRowSink& sink);

// The same rows collected.
std::vector<TrackTreeRow> BuildTrackTreeItems(const Papy::Track* track);

} // namespace Ostra::DocView
