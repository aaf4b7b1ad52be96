#include "Velmar/Generators/ControlPointClipboard.h"

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>

#include "Util/Clipboard.h"
#include "Util/Exception.h"

namespace Ostra::Velmar {

bool CanCopyControlPoints(const Papy::LpFile& lp, int lastRow) {
  return lp.HasControlPoints() && lastRow >= 1;
}

bool CanPasteControlPoints(const Papy::LpFile& lp) {
  return lp.HasControlPoints() && Util::Clipboard::Instance()->IsDataPresent(ControlPointsFormat);
}

ControlPointList SelectedControlPoints(const Papy::LpFileCurve& curve, int firstRow, int lastRow) {
  ControlPointList points;
  // The grid reports -1 for "no row" and may hold rows past the records; neither
  // names a record.
  const long long records = curve.GetRecordCount();
  for (long long row = std::max(firstRow, 1); row <= lastRow && row <= records; ++row) {
    const U32 r = static_cast<U32>(row - 1);
    if (curve.IsControlPoint(r))
      points.push_back(curve.GetControlPoint(r));
  }
  return points;
}

ControlPointList CopyControlPoints(const Papy::LpFileCurve& curve, int firstRow, int lastRow) {
  ControlPointList points = SelectedControlPoints(curve, firstRow, lastRow);
  Util::Clipboard::Instance()->SetData(ControlPointsFormat, points);
  return points;
}

namespace {

bool IsFinite(const Papy::LpFileCurve::PointRecord& point) {
  return std::isfinite(point.Longitude) && std::isfinite(point.X) && std::isfinite(point.Y) &&
         std::isfinite(point.XSlope) && std::isfinite(point.YSlope);
}

std::string Metres(double value) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text.precision(10);
  text << value;
  return text.str();
}

} // namespace

U32 FindPastedRecord(const Papy::LpFileCurve& curve, const Papy::LpFileCurve::PointRecord& point) {
  const U32 count = curve.GetRecordCount();
  if (IsFinite(point) && count > 0 && point.Longitude >= curve.GetRecordLongitude(0) &&
      point.Longitude <= curve.GetRecordLongitude(count - 1)) {
    const U32 record = curve.GetRecordIndex(point.Longitude);
    if (curve.GetRecordLongitude(record) == point.Longitude)
      return record;
  }
  throw Util::XUsage("The copied control point at longitude " + Metres(point.Longitude) +
                     " m does not lie on a record of this lap curve, so nothing was pasted.");
}

std::vector<U32> PasteControlPoints(Papy::LpFileCurve& curve) {
  Util::Clipboard* clipboard = Util::Clipboard::Instance();
  if (!clipboard->IsDataPresent(ControlPointsFormat))
    return {};
  const ControlPointList points = clipboard->GetData<ControlPointList>(ControlPointsFormat);
  // Every point is checked before the first change: a point between records would
  // become a control point the grid can neither show nor remove, and a refused paste
  // must not leave the curve half pasted.
  std::vector<U32> records;
  records.reserve(points.size());
  for (const Papy::LpFileCurve::PointRecord& point : points)
    records.push_back(FindPastedRecord(curve, point));
  curve.PutControlPoints(points);
  return records;
}

} // namespace Ostra::Velmar
