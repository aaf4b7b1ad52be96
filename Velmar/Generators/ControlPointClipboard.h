#pragma once

#include <string>
#include <vector>

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Lp/LpFile.h"
#include "Util/Types.h"
#include "Util/Vector.h"

namespace Ostra::Velmar {

// Lap-curve control points travel between lap-curve documents through the
// in-process clipboard under this name, never the system clipboard.
inline const std::string ControlPointsFormat = "LpFileCurveControlPoints";

using ControlPointList = Util::Vector<Papy::LpFileCurve::PointRecord>;

// Copy needs a lap curve and a selection that reaches a record row (grid row 0 is the
// header, row r + 1 shows record r).
bool CanCopyControlPoints(const Papy::LpFile& lp, int lastRow);
// Paste needs a lap curve and copied points.
bool CanPasteControlPoints(const Papy::LpFile& lp);

// The control points of the records shown in grid rows firstRow to lastRow
// inclusive, in row order. Rows outside the records are passed over.
ControlPointList SelectedControlPoints(const Papy::LpFileCurve& curve, int firstRow, int lastRow);

// Stores those points on the clipboard, replacing what was there, even with an
// empty list; returns them.
ControlPointList CopyControlPoints(const Papy::LpFileCurve& curve, int firstRow, int lastRow);

// The record a copied point belongs to in the curve: the one whose longitude equals
// the point's exactly. Throws Util::XUsage, with a message for the user, for a point
// between two records (a curve of another spacing), outside the curve's records (a
// longer lap) or with a coordinate that is not a finite number.
U32 FindPastedRecord(const Papy::LpFileCurve& curve, const Papy::LpFileCurve::PointRecord& point);

// Puts every copied point into the curve, replacing a control point at the same
// longitude, and refits. Returns the record index of each point in list order: the
// rows whose neighbourhood the grid must refresh. Does nothing when nothing was
// copied.
//
// Every point is checked with FindPastedRecord before anything changes: when one is
// refused, none is pasted, as when the points would take the line off the track.
std::vector<U32> PasteControlPoints(Papy::LpFileCurve& curve);

} // namespace Ostra::Velmar
