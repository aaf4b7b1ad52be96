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
LpCellEdit WriteNumber(ILpRecordSetter& setter, LpColumnKind kind, int record, const std::optional<double>& value,
                       LpCellRefresh refresh) {
  if (!value || !IsStorableLpValue(*value))
    return {};
  WriteCellValue(setter, kind, record, *value);
  return {true, refresh, {}};
}

bool IsFlag(LpColumn column) {
  return column.Kind == LpColumnKind::Flag && column.FlagIndex >= 0 && column.FlagIndex < LpFlagCount;
}

} // namespace

std::string FormatCell(const Papy::LpFile& lp, const LpColumnMap& map, int record, int column) {
  return FormatCell(lp, map.At(column), record);
}

std::string FormatCell(const Papy::LpFile& lp, LpColumn what, int record) {
  if (!IsRecord(lp, record))
    return {};
  const auto i = static_cast<Util::U32>(record);
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
    if (!IsFlag(what))
      return {};
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

bool WriteCellValue(ILpRecordSetter& setter, LpColumnKind kind, int record, double value) {
  switch (kind) {
  case LpColumnKind::Latitude:
    setter.SetRecordLatitude(record, value);
    return true;
  case LpColumnKind::SpeedLimit:
    setter.SetRecordSpeedLimit(record, value);
    return true;
  case LpColumnKind::LongitudinalSpeed:
    setter.SetRecordLongitudinalSpeed(record, value);
    return true;
  case LpColumnKind::LateralSpeed:
    setter.SetRecordLateralSpeed(record, value);
    return true;
  case LpColumnKind::YawSpeed:
    setter.SetRecordYawSpeed(record, value);
    return true;
  case LpColumnKind::SpeedModifier:
    setter.SetRecordSpeedModifier(record, value);
    return true;
  case LpColumnKind::None:
  case LpColumnKind::Longitude:
  case LpColumnKind::Control:
  case LpColumnKind::PathLength:
  case LpColumnKind::Flag:
  case LpColumnKind::Flags:
    break;
  }
  return false;
}

namespace {

bool IsNumberKind(LpColumnKind kind) {
  return kind == LpColumnKind::Latitude || kind == LpColumnKind::SpeedLimit ||
         kind == LpColumnKind::LongitudinalSpeed || kind == LpColumnKind::LateralSpeed ||
         kind == LpColumnKind::YawSpeed || kind == LpColumnKind::SpeedModifier;
}

// Typed text is what the user means the value to be: a text that is only partly a
// number ("3x7", "0,25") or none at all would be stored as a value they never saw,
// while the cell went on showing what they typed.
std::string RefuseTyped(LpColumnKind kind, std::string_view text) {
  const std::string quoted = "\"" + std::string(text) + "\"";
  if (kind == LpColumnKind::Flags && !IsWholeCellHex(text))
    return quoted + " is not a flags word. Please type up to eight hexadecimal digits.";
  // An empty speed-limit cell is a record without a limit.
  const bool no_limit = kind == LpColumnKind::SpeedLimit &&
                        text.find_first_not_of(" \t") == std::string_view::npos;
  if (IsNumberKind(kind) && !no_limit && !IsWholeCellNumber(text))
    return quoted + " is not a number. Please type a number with a point as its decimal mark.";
  return {};
}

LpCellEdit WriteText(ILpRecordSetter& setter, const Papy::LpFile& lp, LpColumn what, int record,
                     std::string_view text) {
  switch (what.Kind) {
  case LpColumnKind::Control:
    setter.SetControlPoint(record, ParseCellBool(text));
    return {true, LpCellRefresh::ControlSpan, {}};
  case LpColumnKind::Latitude:
    return WriteNumber(setter, what.Kind, record, ParseCellDouble(text),
                       lp.HasControlPoints() ? LpCellRefresh::ControlSpan : LpCellRefresh::None);
  case LpColumnKind::SpeedLimit:
  case LpColumnKind::LongitudinalSpeed:
  case LpColumnKind::LateralSpeed:
    return WriteNumber(setter, what.Kind, record, ParseCellSpeed(text), LpCellRefresh::None);
  case LpColumnKind::YawSpeed:
    return WriteNumber(setter, what.Kind, record, ParseCellAngle(text), LpCellRefresh::None);
  case LpColumnKind::SpeedModifier:
    return WriteNumber(setter, what.Kind, record, ParseCellDouble(text), LpCellRefresh::FlagsCell);
  case LpColumnKind::Flag:
    if (!IsFlag(what))
      return {};
    (setter.*LpFlagColumns()[static_cast<std::size_t>(what.FlagIndex)].Set)(record, ParseCellBool(text));
    return {true, LpCellRefresh::FlagsCell, {}};
  case LpColumnKind::Flags: {
    const std::optional<Util::U32> flags = ParseCellHex(text);
    if (!flags)
      return {};
    setter.SetRecordFlags(record, *flags);
    return {true, LpCellRefresh::FlagCells, {}};
  }
  case LpColumnKind::None:
  case LpColumnKind::Longitude:
  case LpColumnKind::PathLength:
    break;
  }
  return {};
}

} // namespace

LpCellEdit ApplyCellText(ILpRecordSetter& setter, const Papy::LpFile& lp, const LpColumnMap& map,
                         int column, int record, std::string_view text, LpCellInput input) {
  if (!IsCellEditable(lp, map, record + 1, column))
    return {};
  const LpColumn what = map.At(column);
  if (input == LpCellInput::Typed) {
    LpCellEdit refused;
    refused.Refusal = RefuseTyped(what.Kind, text);
    if (!refused.Refusal.empty())
      return refused;
  }
  LpCellEdit edit = WriteText(setter, lp, what, record, text);
  if (!edit.Accepted && input == LpCellInput::Typed && IsNumberKind(what.Kind))
    edit.Refusal = "\"" + std::string(text) + "\" is beyond the numbers this LP can hold.";
  return edit;
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
