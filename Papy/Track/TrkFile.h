#pragma once

#include <map>
#include <utility>
#include <vector>

#include "Papy/Track/TrkUnits.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

// A GPL or ICR2 track file in the file's own integer units (see TrkUnits.h), with the
// geometry both formats share: the longitude maps and GetTrackPoint.
//
// Conventions: s is a section, j a lateral, k a surface strip, w a wall, i an extra
// value. Laterals are the latitudes of the cross-section lines every section shares,
// strictly increasing; the latitude grows to the left. Each section carries an
// altitude cubic a + b t + c t^2 + d t^3 per lateral, t in [0, 1] along the section.
// Surface strips are listed from right to left.
//
// Implementations call BuildSection2DLongitudeMap once their sections are complete.
// Index arguments out of range throw XAssertion.
class TrkFile {
public:
  struct Section2D {
    float Start = 0.0f;  // plan distance of the section's start, metres
    float Length = 0.0f; // plan length, metres
    double Scale = 0.0;  // longitude metres per plan metre
  };

  virtual ~TrkFile() = default;

  virtual S32 GetLength() const = 0;
  virtual U32 GetLateralCount() const = 0;
  virtual S32 GetLateral(U32 j) const = 0;
  // Takes the value only when it lies strictly between the neighbouring laterals (a
  // missing neighbour does not bound); otherwise nothing changes.
  virtual void SetLateral(U32 j, S32 value) = 0;
  virtual U32 GetSectionCount() const = 0;
  virtual bool IsSectionCurve(U32 s) const = 0;
  virtual bool IsSectionFlag0(U32 s) const = 0;
  virtual bool IsSectionFlag1(U32 s) const = 0;
  virtual S32 GetSectionStart(U32 s) const = 0;
  virtual S32 GetSectionLength(U32 s) const = 0;
  virtual S32 GetSectionOrientation(U32 s) const = 0;
  // A section has five geometry words; their meaning depends on its type.
  virtual S32 GetCurveCentreX(U32 s) const = 0;
  virtual S32 GetCurveCentreY(U32 s) const = 0;
  virtual S32 GetCurveHalfAngle(U32 s) const = 0;
  virtual S32 GetStraightDeltaX(U32 s) const = 0;
  virtual S32 GetStraightDeltaY(U32 s) const = 0;
  virtual S32 GetCurveRadius(U32 s) const = 0;
  virtual S32 GetStraightLateralX(U32 s) const = 0;
  virtual S32 GetStraightLateralY(U32 s) const = 0;
  virtual U32 GetSectionUnusedCount(U32 s) const = 0;
  virtual S32 GetSectionUnusedValue(U32 s, U32 i) const = 0;
  virtual S32 GetStartAltitude(U32 s, U32 j) const = 0;
  virtual S32 GetLinearCoefficient(U32 s, U32 j) const = 0;
  virtual S32 GetSquareCoefficient(U32 s, U32 j) const = 0;
  virtual S32 GetCubeCoefficient(U32 s, U32 j) const = 0;
  // The derivative coefficients 2c and 3d as stored in the file.
  virtual S32 GetSquareCoefficientTimes2(U32 s, U32 j) const = 0;
  virtual S32 GetCubeCoefficientTimes3(U32 s, U32 j) const = 0;
  // Sets a, b, c and d through the four single setters, in that order.
  virtual void SetXSectionCubic(U32 s, U32 j, S32 a, S32 b, S32 c, S32 d);
  // Straight: lateral j's line at the section start. Curve: its signed radius (the same
  // word as the start x), R_line = R_centre - latitude of the lateral.
  virtual S32 GetXSectionStartX(U32 s, U32 j) const = 0;
  virtual S32 GetXSectionStartY(U32 s, U32 j) const = 0;
  virtual S32 GetXSectionRadius(U32 s, U32 j) const = 0;
  virtual S32 GetXSectionUnusedValue(U32 s, U32 j) const = 0;
  virtual S32 GetXSectionUnusedValue2(U32 s, U32 j, U32 i) const = 0;
  virtual U32 GetSurfaceCount(U32 s) const = 0;
  virtual S32 GetSurfaceRightStartLatitude(U32 s, U32 k) const = 0;
  virtual S32 GetSurfaceRightEndLatitude(U32 s, U32 k) const = 0;
  virtual S32 GetSurfaceLeftStartLatitude(U32 s, U32 k) const = 0;
  virtual S32 GetSurfaceLeftEndLatitude(U32 s, U32 k) const = 0;
  virtual S32 GetSurfaceAttribute(U32 s, U32 k) const = 0;
  virtual bool IsSurfaceWall(U32 s, U32 k) const = 0;
  // A SurfaceType number.
  virtual S32 GetSurfaceType(U32 s, U32 k) const = 0;
  virtual S32 GetSurfaceGripModifier(U32 s, U32 k) const = 0;
  virtual U32 GetSurfaceExtraCount(U32 s, U32 k) const = 0;
  virtual S32 GetSurfaceExtra(U32 s, U32 k, U32 i) const = 0;
  virtual U32 GetWallCount(U32 s) const = 0;
  virtual S32 GetWallRightStartLatitude(U32 s, U32 w) const = 0;
  virtual S32 GetWallRightEndLatitude(U32 s, U32 w) const = 0;
  virtual S32 GetWallLeftStartLatitude(U32 s, U32 w) const = 0;
  virtual S32 GetWallLeftEndLatitude(U32 s, U32 w) const = 0;
  virtual S32 GetWallHeight(U32 s, U32 w) const = 0;
  // A WallType number.
  virtual S32 GetWallType(U32 s, U32 w) const = 0;
  virtual U32 GetWallExtraCount(U32 s, U32 w) const = 0;
  virtual S32 GetWallExtra(U32 s, U32 w, U32 i) const = 0;
  // Writes the file in its own format from the stream's start, so that it reads back
  // whatever the stream held before. Throws the stream's exceptions.
  virtual void Write(const CountedPtr<Util::BinaryStream>& stream) const = 0;
  virtual void SetStartAltitude(U32 s, U32 j, S32 value) = 0;
  virtual void SetLinearCoefficient(U32 s, U32 j, S32 value) = 0;
  // Also sets the stored 2c to 2 * value.
  virtual void SetSquareCoefficient(U32 s, U32 j, S32 value) = 0;
  // Also sets the stored 3d to 3 * value.
  virtual void SetCubeCoefficient(U32 s, U32 j, S32 value) = 0;

  // Plan (2D) geometry, metres, from BuildSection2DLongitudeMap.
  void BuildSection2DLongitudeMap();
  float GetLength2D() const { return TotalLength2D; }
  float GetSectionStart2D(U32 s) const;
  float GetSectionLength2D(U32 s) const;

  // The longitude of a plan distance, wrapped into the lap. Throws XAssertion for a
  // distance that is not finite or a track without plan length.
  S32 Length2DToLongitude(double plan_distance) const;
  // The section holding a plan distance (wrapped into the lap); offset receives the
  // plan distance into it. A section of plan length 0 is never returned.
  U32 FindSection2D(double plan_distance, double& offset) const;
  // The section holding a longitude (wrapped into the lap); offset receives the
  // longitude into it. A section at its end belongs to the next section.
  U32 FindSection3D(S32 longitude, S32& offset) const;
  // The lateral at or right of a latitude; offset receives the latitude minus that
  // lateral's. Right of lateral 0 gives 0 with a negative offset.
  U32 FindLateral(S32 latitude, S32& offset) const;
  // The strip under a point, judged by the strips' left edges only.
  U32 FindSurface(U32 s, S32 offset, S32 latitude) const;
  // t is a fraction of the section in 2^30 fixed point.
  S32 EvaluateAltitude(U32 s, U32 j, S32 t) const;
  // d altitude / d longitude in 2^13 fixed point.
  S32 EvaluateSlope(U32 s, U32 j, S32 t) const;
  // Position, altitude, heading, pitch, bank and SurfaceType of a point of the track.
  void GetTrackPoint(S32 longitude, S32 latitude, S32& x, S32& y, S32& z, S32& orientation,
                     S32& pitch, S32& bank, S32& surface_type) const;
  float ComputeSection2DLength(U32 s) const;
  void BuildSection3DLongitudeMap() const;

protected:
  float TotalLength2D = 0.0f;
  std::vector<Section2D> Sections2D;
  // End longitude -> (section, start longitude). Built on the first FindSection3D.
  mutable std::map<S32, std::pair<U32, S32>> Section3DLongitudeMap;
  // Plan end -> (section, plan start).
  std::map<float, std::pair<U32, float>> Section2DLongitudeMap;

private:
  // d wrapped into [0, TotalLength2D) and the entry of the section holding it.
  std::map<float, std::pair<U32, float>>::const_iterator FindPlanEntry(double plan_distance,
                                                                       float& wrapped) const;
};

} // namespace Ostra::Papy
