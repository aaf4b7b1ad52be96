#pragma once

#include <vector>

#include "Papy/Lp/LpFile.h"
#include "Papy/Track/Track.h"
#include "Physics/Curve.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

// A racing line whose records are not stored but sampled from a smooth closed plan
// curve (X(s), Y(s)) around the track: cubic Hermite pieces between control points,
// periodic over one lap, with s running with the longitude. Every control-point edit
// refits the curves and resamples every record.
//
// Edits give the strong guarantee: an edit that would leave fewer than two control
// points, or a line that misses a record's cross-section, throws Util::XUsage with a
// message for the user and leaves the object exactly as it was.
class LpFileCurve : public LpFile {
public:
  // Position and derivative of the line at one curve parameter; 40 bytes, stored in
  // this order in .lcv files.
  struct PointRecord {
    double Longitude = 0.0;
    double X = 0.0;
    double Y = 0.0;
    double XSlope = 0.0; // dX/ds
    double YSlope = 0.0; // dY/ds

    // Exact, field by field.
    bool operator==(const PointRecord&) const = default;
  };

  // One sampled record.
  struct CurveRecord {
    double Latitude = 0.0;     // metres, on the record's cross-section
    double LateralSpeed = 0.0; // tan of the heading relative to the track
    double YawSpeed = 0.0;     // signed plan curvature, 1/m
    double X = 0.0;
    double Y = 0.0;
    double XSlope = 0.0;
    double YSlope = 0.0;
    double SpeedLimit = 0.0; // as set, no unit conversion; 0 or below means none

    bool operator==(const CurveRecord&) const = default;
  };

  // Belongs to the record whose longitude equals Longitude exactly.
  struct SpeedLimitPoint {
    double Longitude = 0.0;
    double Limit = 0.0;

    bool operator==(const SpeedLimitPoint&) const = default;
  };

  // Reads a .lcv file from the stream's current position and fits it over track.
  // Throws XFileFormat for a newer version, impossible header values, control points
  // out of order or spanning a lap, and points that do not make a curve crossing every
  // record's cross-section; the stream's XFileRead when bytes are missing.
  LpFileCurve(const Util::CountedPtr<Util::BinaryStream>& stream, const CountedPtr<Track>& track);

  // Takes control points from two curves X(s) and Y(s): one at each record longitude
  // below the lap length where either curve starts a new cubic piece (so the pieces
  // are snapped to the record grid), then fits. Throws XAssertion for a spacing that
  // is not a positive number and when the curves yield fewer than two points.
  LpFileCurve(double spacing, U32 recordCount, const CountedPtr<Physics::Curve>& first,
              const CountedPtr<Physics::Curve>& second, const CountedPtr<Track>& track);

  U32 GetRecordCount() const override { return static_cast<U32>(Records.size()); }
  double GetRecordSpacing() const override { return Spacing; }

  bool HasYawSpeed() const override { return true; }
  bool HasSpeedLimit() const override { return true; }
  bool HasControlPoints() const override { return true; }

  U32 GetRecordIndex(double longitude) const override;
  double GetRecordLongitude(U32 i) const override;
  double GetRecordLatitude(U32 i) const override { return Records[i].Latitude; }
  double GetRecordLongitudinalSpeed(U32) const override { return 1.0; }
  double GetRecordLateralSpeed(U32 i) const override { return Records[i].LateralSpeed; }
  double GetRecordYawSpeed(U32 i) const override { return Records[i].YawSpeed; }
  bool IsControlPoint(U32 i) const override;
  bool HasRecordSpeedLimit(U32 i) const override { return Records[i].SpeedLimit > 0.0; }
  double GetRecordSpeedLimit(U32 i) const override { return Records[i].SpeedLimit; }

  // Moves control point record_index sideways to the latitude, its neighbours staying
  // put, and refits. Throws XAssertion when the record is not a control point.
  void SetRecordLatitude(U32 record_index, double latitude) override;
  // The speeds follow from the curve: these throw XAssertion "false".
  void SetRecordLongitudinalSpeed(U32 i, double speed) override;
  void SetRecordLateralSpeed(U32 i, double speed) override;
  void SetRecordYawSpeed(U32 i, double speed) override;
  void SetControlPoint(U32 i, bool on) override;
  // Changes the record and the speed-limit list only; no refit. A limit of 0 or below
  // removes the record's limit.
  void SetRecordSpeedLimit(U32 i, double limit) override;

  // Writes a version 3 .lcv file at the stream's current position; it neither seeks
  // nor truncates. Throws the stream's XFileWrite.
  void Write(const Util::CountedPtr<Util::BinaryStream>& stream) const override;
  // The same, for a stream the caller owns (Util::SaveFileSafely hands out one).
  void Write(Util::BinaryStream& stream) const;

  // The index in the control points of record i's point; the number of control points
  // when record i has none.
  U32 FindControlPoint(U32 i) const;
  // Throws XAssertion when record_index is not a control point.
  PointRecord GetControlPoint(U32 record_index) const;
  // Replaces the control point at exactly p's longitude, or adds p, then refits. A
  // longitude off this curve's record grid (pasted from a curve of another spacing)
  // makes a point that no record selects; it still shapes the curve. Throws
  // XAssertion for a longitude that is not finite.
  void PutControlPoint(const PointRecord& p);
  // The same for several points in order, with one refit: all of them or none.
  void PutControlPoints(const std::vector<PointRecord>& points);
  // Makes record i, which is not one, a control point with the position and derivative
  // it sampled.
  void AddControlPoint(U32 i);
  // k indexes the control points. Removing one of the last two is refused.
  void RemoveControlPoint(U32 k);

  CountedPtr<Physics::Curve> GetFirstCurve() const { return FirstCurve; }
  CountedPtr<Physics::Curve> GetSecondCurve() const { return SecondCurve; }

  const std::vector<PointRecord>& GetControlPoints() const { return ControlPoints; }
  const std::vector<CurveRecord>& GetRecords() const { return Records; }
  const std::vector<SpeedLimitPoint>& GetSpeedLimits() const { return SpeedLimits; }

private:
  // Builds the curves from points and samples every record; commits points, curves
  // and records only when all of that succeeded.
  void Fit(std::vector<PointRecord> points);
  // Fit for an edit; see the class comment.
  void FitEdit(std::vector<PointRecord> points);
  std::vector<CurveRecord> Sample(const CountedPtr<Physics::Curve>& first,
                                  const CountedPtr<Physics::Curve>& second) const;

  // Turns version 2 ranges {from, to, limit} into record limits, the last range that
  // covers a record deciding.
  struct SpeedLimitRange {
    double FromLongitude = 0.0;
    double ToLongitude = 0.0;
    double Limit = 0.0;
  };
  void ApplySpeedLimitRanges(const std::vector<SpeedLimitRange>& ranges);

  double Spacing = 0.0;
  U32 RecordCount = 0;
  CountedPtr<Track> TrackModel;
  CountedPtr<Physics::Curve> FirstCurve;
  CountedPtr<Physics::Curve> SecondCurve;
  std::vector<PointRecord> ControlPoints; // ascending Longitude
  std::vector<CurveRecord> Records;
  std::vector<SpeedLimitPoint> SpeedLimits; // in the order they were added
};

} // namespace Ostra::Papy
