#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "DocView/Core/TrackItemHint.h"

namespace Ostra::Papy {
class Track;
}

// The rows of the track property list: the fields of the item a TrackItemHint names,
// in the model's units (metres), angles in degrees.
namespace Ostra::DocView {

// Fixed notation, six digits after the point, whatever the user's locale: 12.5 gives
// "12.500000".
std::string FormatDouble(double value);
// Radians shown as degrees with FormatDouble and a degree sign (UTF-8).
std::string FormatAngle(double radians);
// Decimal without digit grouping.
std::string FormatInteger(std::int64_t value);

inline constexpr const char* DegreeSign = "\xC2\xB0";

using PropertyRow = std::pair<std::string, std::string>; // field, value
using PropertyRowSink = std::function<void(const std::string& field, const std::string& value)>;

// Hands the rows of the item named by hint to sink, one at a time, so that a caller
// showing them keeps those it got before the track model throws (an unknown surface or
// wall type number raises XAssertion from the type-name functions). WholeTrackHint gives
// the track's rows; a hint whose kind is not a segment, trace, surface or wall, or that
// names a segment or item the track does not have, gives none.
void EmitPropertyRows(const Papy::Track& track, TrackItemHint hint, const PropertyRowSink& sink);

// The same rows collected.
std::vector<PropertyRow> BuildPropertyRows(const Papy::Track& track, TrackItemHint hint);

// The list a property view shows, as the update logic sees it.
class PropertyList {
public:
  virtual ~PropertyList() = default;
  virtual void DeleteAllRows() = 0;
  virtual void AppendRow(const std::string& field, const std::string& value) = 0;
};

// One update of the property list. NoItemHint (the first fill, or linked LP documents
// changing) and a missing track leave the rows as they are; any other hint replaces
// them with the item's rows (none for a hint that names nothing). The model's
// exceptions pass through, with the rows appended so far left in the list.
void UpdatePropertyList(const Papy::Track* track, TrackItemHint hint, PropertyList& list);

} // namespace Ostra::DocView
