#include "Velmar/Generators/ControlPointClipboard.h"

#include <algorithm>

#include "Util/Clipboard.h"

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

std::vector<U32> PasteControlPoints(Papy::LpFileCurve& curve) {
  Util::Clipboard* clipboard = Util::Clipboard::Instance();
  if (!clipboard->IsDataPresent(ControlPointsFormat))
    return {};
  const ControlPointList points = clipboard->GetData<ControlPointList>(ControlPointsFormat);
  // Looking every record up before the first change keeps a paste from a longer lap
  // from leaving the curve half pasted.
  std::vector<U32> records;
  records.reserve(points.size());
  for (const Papy::LpFileCurve::PointRecord& point : points)
    records.push_back(curve.GetRecordIndex(point.Longitude));
  for (const Papy::LpFileCurve::PointRecord& point : points)
    curve.PutControlPoint(point);
  return records;
}

} // namespace Ostra::Velmar
