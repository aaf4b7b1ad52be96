#include "DocView/Core/LpColumns.h"

#include "Papy/Lp/LpFile.h"

namespace Ostra::DocView {

namespace {

using Papy::LpFile;

// Indices into LpCapabilities::FlagGroups.
enum FlagGroup : int {
  SpeedCheckpoints,
  OutbrakeDecisionPoint,
  AbandonPass,
  LongStraight,
  InitiateCornering,
  SetSpeedCoeffTo1,
  NoPassZone,
  PassZone,
  AbruptPassZone,
  TireWarmup
};

const std::array<LpFlagColumn, LpFlagCount> FlagColumns{{
    {"Start Speed Checkpoint", &LpFile::IsStartSpeedCheckpoint, &ILpRecordSetter::SetStartSpeedCheckpoint,
     SpeedCheckpoints},
    {"End Speed Checkpoint", &LpFile::IsEndSpeedCheckpoint, &ILpRecordSetter::SetEndSpeedCheckpoint,
     SpeedCheckpoints},
    {"Outbrake Decision Point", &LpFile::IsOutbrakeDecisionPoint, &ILpRecordSetter::SetOutbrakeDecisionPoint,
     OutbrakeDecisionPoint},
    {"Abandon Pass", &LpFile::IsAbandonPass, &ILpRecordSetter::SetAbandonPass, AbandonPass},
    {"Start Long Straight", &LpFile::IsStartLongStraight, &ILpRecordSetter::SetStartLongStraight, LongStraight},
    {"End Long Straight", &LpFile::IsEndLongStraight, &ILpRecordSetter::SetEndLongStraight, LongStraight},
    {"Initiate Cornering", &LpFile::IsInitiateCornering, &ILpRecordSetter::SetInitiateCornering,
     InitiateCornering},
    {"Set Speed Coeff To 1", &LpFile::IsSetSpeedCoeffTo1, &ILpRecordSetter::SetSetSpeedCoeffTo1,
     SetSpeedCoeffTo1},
    {"Start No Pass Zone", &LpFile::IsStartNoPassZone, &ILpRecordSetter::SetStartNoPassZone, NoPassZone},
    {"End No Pass Zone", &LpFile::IsEndNoPassZone, &ILpRecordSetter::SetEndNoPassZone, NoPassZone},
    {"Start Pass1 Zone", &LpFile::IsStartPass1Zone, &ILpRecordSetter::SetStartPass1Zone, PassZone},
    {"Start Pass2 Zone", &LpFile::IsStartPass2Zone, &ILpRecordSetter::SetStartPass2Zone, PassZone},
    {"Start Abrupt Pass1 Zone", &LpFile::IsStartAbruptPass1Zone, &ILpRecordSetter::SetStartAbruptPass1Zone,
     AbruptPassZone},
    {"Start Abrupt Pass2 Zone", &LpFile::IsStartAbruptPass2Zone, &ILpRecordSetter::SetStartAbruptPass2Zone,
     AbruptPassZone},
    {"Tire Warmup", &LpFile::IsTireWarmup, &ILpRecordSetter::SetTireWarmup, TireWarmup},
}};

// Gives the next column to a present field.
int Place(LpColumnMap& map, bool present, LpColumn column) {
  if (!present)
    return -1;
  map.Columns.push_back(column);
  return map.Count() - 1;
}

} // namespace

const std::array<LpFlagColumn, LpFlagCount>& LpFlagColumns() { return FlagColumns; }

LpCapabilities LpCapabilities::Of(const LpFile& lp) {
  LpCapabilities caps;
  caps.ControlPoints = lp.HasControlPoints();
  caps.PathLength = lp.HasPathLength();
  caps.YawSpeed = lp.HasYawSpeed();
  caps.SpeedLimit = lp.HasSpeedLimit();
  caps.SpeedModifier = lp.HasSpeedModifier();
  caps.Flags = lp.HasFlags();
  caps.FlagGroups[SpeedCheckpoints] = lp.HasSpeedCheckpoints();
  caps.FlagGroups[OutbrakeDecisionPoint] = lp.HasOutbrakeDecisionPoint();
  caps.FlagGroups[AbandonPass] = lp.HasAbandonPass();
  caps.FlagGroups[LongStraight] = lp.HasLongStraight();
  caps.FlagGroups[InitiateCornering] = lp.HasInitiateCornering();
  caps.FlagGroups[SetSpeedCoeffTo1] = lp.HasSetSpeedCoeffTo1();
  caps.FlagGroups[NoPassZone] = lp.HasNoPassZone();
  caps.FlagGroups[PassZone] = lp.HasPassZone();
  caps.FlagGroups[AbruptPassZone] = lp.HasAbruptPassZone();
  caps.FlagGroups[TireWarmup] = lp.HasTireWarmup();
  return caps;
}

LpColumn LpColumnMap::At(int column) const {
  if (column < 0 || column >= Count())
    return {};
  return Columns[static_cast<std::size_t>(column)];
}

LpColumnMap LayoutColumns(const LpCapabilities& caps) {
  LpColumnMap map;
  map.Longitude = Place(map, true, {LpColumnKind::Longitude});
  map.Control = Place(map, caps.ControlPoints, {LpColumnKind::Control});
  map.Latitude = Place(map, true, {LpColumnKind::Latitude});
  map.PathLength = Place(map, caps.PathLength, {LpColumnKind::PathLength});
  map.SpeedLimit = Place(map, caps.SpeedLimit, {LpColumnKind::SpeedLimit});
  map.LongitudinalSpeed = Place(map, true, {LpColumnKind::LongitudinalSpeed});
  map.LateralSpeed = Place(map, true, {LpColumnKind::LateralSpeed});
  map.YawSpeed = Place(map, caps.YawSpeed, {LpColumnKind::YawSpeed});
  map.SpeedModifier = Place(map, caps.SpeedModifier, {LpColumnKind::SpeedModifier});
  for (int flag = 0; flag < LpFlagCount; ++flag) {
    const int group = FlagColumns[static_cast<std::size_t>(flag)].Group;
    map.Flag[static_cast<std::size_t>(flag)] =
        Place(map, caps.FlagGroups[static_cast<std::size_t>(group)], {LpColumnKind::Flag, flag});
  }
  map.Flags = Place(map, caps.Flags, {LpColumnKind::Flags});
  return map;
}

std::string ColumnHeader(LpColumn column) {
  switch (column.Kind) {
  case LpColumnKind::Longitude:
    return "Longitude";
  case LpColumnKind::Control:
    return "Control";
  case LpColumnKind::Latitude:
    return "Latitude";
  case LpColumnKind::PathLength:
    return "Path Length";
  case LpColumnKind::SpeedLimit:
    return "Speed Limit";
  case LpColumnKind::LongitudinalSpeed:
    return "Longitudinal Speed";
  case LpColumnKind::LateralSpeed:
    return "Lateral Speed";
  case LpColumnKind::YawSpeed:
    return "Yaw Speed";
  case LpColumnKind::SpeedModifier:
    return "Speed Modifier";
  case LpColumnKind::Flag:
    if (column.FlagIndex >= 0 && column.FlagIndex < LpFlagCount)
      return FlagColumns[static_cast<std::size_t>(column.FlagIndex)].Header;
    return {};
  case LpColumnKind::Flags:
    return "Flags";
  case LpColumnKind::None:
    break;
  }
  return {};
}

std::string ColumnHeader(const LpColumnMap& map, int column) { return ColumnHeader(map.At(column)); }

} // namespace Ostra::DocView
