#pragma once

#include <array>
#include <string>
#include <vector>

#include "DocView/Core/LpRecordSetter.h"
#include "Util/Types.h"

namespace Ostra::Papy {
class LpFile;
}

// Which grid column shows which LP field. An LP format keeps only some fields; its
// capability queries decide the columns, in one fixed grid order:
//   Longitude (the fixed column 0), Control, Latitude, Path Length, Speed Limit,
//   Longitudinal Speed, Lateral Speed, Yaw Speed, Speed Modifier, the 15 flags, Flags.
// Row 0 of the grid holds the headers; row r shows record r - 1.
namespace Ostra::DocView {

enum class LpColumnKind {
  None, // not a column of this LP
  Longitude,
  Control,
  Latitude,
  PathLength,
  SpeedLimit,
  LongitudinalSpeed,
  LateralSpeed,
  YawSpeed,
  SpeedModifier,
  Flag, // one of the 15 flags; see LpFlagColumns()
  Flags // the packed flags word
};

inline constexpr int LpFlagCount = 15;
inline constexpr int LpFlagGroupCount = 10;

// One of the 15 flag columns: its header, how the LP reads it, how the document
// writes it, and the capability group (index into LpCapabilities::FlagGroups) that
// brings it in. A group of two flags brings in both, as adjacent columns.
struct LpFlagColumn {
  const char* Header;
  bool (Papy::LpFile::*Get)(Util::U32) const;
  void (ILpRecordSetter::*Set)(int, bool);
  int Group;
};

// In grid order: Start Speed Checkpoint ... Tire Warmup.
const std::array<LpFlagColumn, LpFlagCount>& LpFlagColumns();

// The answers of an LP's capability queries, asked once per fill.
struct LpCapabilities {
  bool ControlPoints = false;
  bool PathLength = false;
  bool YawSpeed = false;
  bool SpeedLimit = false;
  bool SpeedModifier = false;
  bool Flags = false;
  // HasSpeedCheckpoints, HasOutbrakeDecisionPoint, HasAbandonPass, HasLongStraight,
  // HasInitiateCornering, HasSetSpeedCoeffTo1, HasNoPassZone, HasPassZone,
  // HasAbruptPassZone, HasTireWarmup.
  std::array<bool, LpFlagGroupCount> FlagGroups{};

  static LpCapabilities Of(const Papy::LpFile& lp);
};

// What a grid column shows.
struct LpColumn {
  LpColumnKind Kind = LpColumnKind::None;
  // 0 to 14 for a flag column, else -1.
  int FlagIndex = -1;
};

// The grid column of every field, -1 when the LP has no such column. Member names
// follow the view's column members (ControlColumn, LongitudeColumn, ...).
struct LpColumnMap {
  int Control = -1;
  int Longitude = 0;
  int PathLength = -1;
  int Latitude = -1;
  int LongitudinalSpeed = -1;
  int LateralSpeed = -1;
  int YawSpeed = -1;
  int SpeedLimit = -1;
  int SpeedModifier = -1;
  std::array<int, LpFlagCount> Flag{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  int Flags = -1;
  // Every column, in grid order; Count() is the grid's column count.
  std::vector<LpColumn> Columns;

  int Count() const { return static_cast<int>(Columns.size()); }
  // Kind None for a column outside the map.
  LpColumn At(int column) const;
};

LpColumnMap LayoutColumns(const LpCapabilities& capabilities);

// The header text of a column ("Longitude", "Longitudinal Speed", "Start Pass1 Zone",
// ...); empty for a column outside the map.
std::string ColumnHeader(const LpColumnMap& map, int column);
std::string ColumnHeader(LpColumn column);

} // namespace Ostra::DocView
