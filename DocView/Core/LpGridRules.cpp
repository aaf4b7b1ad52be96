#include "DocView/Core/LpGridRules.h"

#include <optional>

#include "DocView/Core/LpCells.h"
#include "Papy/Lp/LpFile.h"

namespace Ostra::DocView {

namespace {

bool IsRecord(const Papy::LpFile& lp, int record) {
  return record >= 0 && static_cast<Util::U32>(record) < lp.GetRecordCount();
}

// Writes a parsed number, or refuses a text whose number must not reach the LP.
template <class Value, class Setter>
LpCellEdit Write(const std::optional<Value>& value, Setter&& set, LpCellRefresh refresh) {
  if (!value)
    return {};
  set(*value);
  return {true, refresh};
}

} // namespace

std::string FormatCell(const Papy::LpFile& lp, const LpColumnMap& map, int record, int column) {
  if (!IsRecord(lp, record))
    return {};
  const auto i = static_cast<Util::U32>(record);
  const LpColumn what = map.At(column);
  switch (what.Kind) {
  case LpColumnKind::Longitude:
    return FormatCellDouble(lp.GetRecordLongitude(i));
  case LpColumnKind::Control:
    return FormatCellBool(lp.IsControlPoint(i));
  case LpColumnKind::Latitude:
    return FormatCellDouble(lp.GetRecordLatitude(i));
  case LpColumnKind::PathLength:
    return FormatCellDouble(lp.GetRecordPathLength(i));
  case LpColumnKind::SpeedLimit:
    return lp.HasRecordSpeedLimit(i) ? FormatCellSpeed(lp.GetRecordSpeedLimit(i)) : std::string();
  case LpColumnKind::LongitudinalSpeed:
    return FormatCellSpeed(lp.GetRecordLongitudinalSpeed(i));
  case LpColumnKind::LateralSpeed:
    return FormatCellSpeed(lp.GetRecordLateralSpeed(i));
  case LpColumnKind::YawSpeed:
    return FormatCellAngle(lp.GetRecordYawSpeed(i));
  case LpColumnKind::SpeedModifier:
    return FormatCellDouble(lp.GetRecordSpeedModifier(i));
  case LpColumnKind::Flag:
    return FormatCellBool((lp.*LpFlagColumns()[static_cast<std::size_t>(what.FlagIndex)].Get)(i));
  case LpColumnKind::Flags:
    return FormatCellHex(lp.GetRecordFlags(i));
  case LpColumnKind::None:
    break;
  }
  return {};
}

void FillLpCells(const Papy::LpFile& lp, const LpColumnMap& map, const LpCellSink& put) {
  const int columns = map.Count();
  for (int column = 0; column < columns; ++column)
    put(0, column, ColumnHeader(map, column));
  const auto records = static_cast<int>(lp.GetRecordCount());
  for (int record = 0; record < records; ++record)
    for (int column = 0; column < columns; ++column)
      put(record + 1, column, FormatCell(lp, map, record, column));
}

bool IsCellEditable(const Papy::LpFile& lp, const LpColumnMap& map, int row, int column) {
  const int record = row - 1;
  if (!IsRecord(lp, record))
    return false;
  switch (map.At(column).Kind) {
  case LpColumnKind::None:
  case LpColumnKind::Longitude:
  case LpColumnKind::PathLength:
    return false;
  case LpColumnKind::Latitude:
    return !lp.HasControlPoints() || lp.IsControlPoint(static_cast<Util::U32>(record));
  case LpColumnKind::LongitudinalSpeed:
  case LpColumnKind::LateralSpeed:
  case LpColumnKind::YawSpeed:
    return !lp.HasControlPoints();
  case LpColumnKind::Control:
  case LpColumnKind::SpeedLimit:
  case LpColumnKind::SpeedModifier:
  case LpColumnKind::Flag:
  case LpColumnKind::Flags:
    return true;
  }
  return false;
}

LpCellEdit ApplyCellText(ILpRecordSetter& setter, const Papy::LpFile& lp, const LpColumnMap& map, int column,
                         int record, std::string_view text) {
  if (!IsCellEditable(lp, map, record + 1, column))
    return {};
  const LpColumn what = map.At(column);
  switch (what.Kind) {
  case LpColumnKind::Control:
    setter.SetControlPoint(record, ParseCellBool(text));
    return {true, LpCellRefresh::ControlSpan};
  case LpColumnKind::Latitude:
    return Write(
        ParseCellDouble(text), [&](double v) { setter.SetRecordLatitude(record, v); },
        lp.HasControlPoints() ? LpCellRefresh::ControlSpan : LpCellRefresh::None);
  case LpColumnKind::SpeedLimit:
    return Write(
        ParseCellSpeed(text), [&](double v) { setter.SetRecordSpeedLimit(record, v); }, LpCellRefresh::None);
  case LpColumnKind::LongitudinalSpeed:
    return Write(
        ParseCellSpeed(text), [&](double v) { setter.SetRecordLongitudinalSpeed(record, v); },
        LpCellRefresh::None);
  case LpColumnKind::LateralSpeed:
    return Write(
        ParseCellSpeed(text), [&](double v) { setter.SetRecordLateralSpeed(record, v); }, LpCellRefresh::None);
  case LpColumnKind::YawSpeed:
    return Write(
        ParseCellAngle(text), [&](double v) { setter.SetRecordYawSpeed(record, v); }, LpCellRefresh::None);
  case LpColumnKind::SpeedModifier:
    return Write(
        ParseCellDouble(text), [&](double v) { setter.SetRecordSpeedModifier(record, v); },
        LpCellRefresh::FlagsCell);
  case LpColumnKind::Flag:
    (setter.*LpFlagColumns()[static_cast<std::size_t>(what.FlagIndex)].Set)(record, ParseCellBool(text));
    return {true, LpCellRefresh::FlagsCell};
  case LpColumnKind::Flags:
    return Write(
        ParseCellHex(text), [&](Util::U32 v) { setter.SetRecordFlags(record, v); }, LpCellRefresh::FlagCells);
  case LpColumnKind::None:
  case LpColumnKind::Longitude:
  case LpColumnKind::PathLength:
    break;
  }
  return {};
}

std::vector<int> ControlSpanRecords(const Papy::LpFile& lp, int record) {
  std::vector<int> records;
  if (!IsRecord(lp, record))
    return records;
  const int count = static_cast<int>(lp.GetRecordCount());
  for (int step = 0; step < count; ++step) {
    const int r = (record + step) % count;
    records.push_back(r);
    if (step > 0 && lp.IsControlPoint(static_cast<Util::U32>(r)))
      break;
  }
  for (int step = 1; step <= count; ++step) {
    const int r = ((record - step) % count + count) % count;
    records.push_back(r);
    if (lp.IsControlPoint(static_cast<Util::U32>(r)))
      break;
  }
  return records;
}

} // namespace Ostra::DocView
