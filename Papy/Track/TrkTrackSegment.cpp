#include "Papy/Track/TrkTrackSegment.h"

#include "Papy/Track/TrkFile.h"
#include "Papy/Track/TrkFrame.h"
#include "Papy/Track/TrkTrackFSection.h"
#include "Papy/Track/TrkTrackWSection.h"
#include "Papy/Track/TrkTrackXSection.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

namespace {

struct CentrelinePoint {
  double X;
  double Y;
};

CentrelinePoint SectionStartPoint(const TrkFile& file, U32 section) {
  S32 x, y, z, orientation, pitch, bank, surface;
  file.GetTrackPoint(file.GetSectionStart(section), 0, x, y, z, orientation, pitch, bank, surface);
  return {TrkUnitsToMetres(x), TrkUnitsToMetres(y)};
}

} // namespace

TrkTrackSegment::TrkTrackSegment(const CountedPtr<TrkFile>& file, U32 section)
    : File(file), Section(section) {
  const U32 section_count = File->GetSectionCount();
  UTIL_ASSERT(section < section_count);
  NextSection = (section + 1) % section_count;
  const U32 surfaces = File->GetSurfaceCount(section);
  for (U32 k = 0; k < surfaces; ++k)
    FSections.emplace_back(new TrkTrackFSection(file, section, k));
  const U32 walls = File->GetWallCount(section);
  for (U32 w = 0; w < walls; ++w)
    WSections.emplace_back(new TrkTrackWSection(file, section, w));
  const U32 laterals = File->GetLateralCount();
  for (U32 l = 0; l < laterals; ++l)
    XSections.emplace_back(new TrkTrackXSection(file, section, l));
}

TrkTrackSegment::~TrkTrackSegment() = default;

bool TrkTrackSegment::IsCurve() const { return File->IsSectionCurve(Section); }

double TrkTrackSegment::GetCentrelineStartX() const { return SectionStartPoint(*File, Section).X; }

double TrkTrackSegment::GetCentrelineStartY() const { return SectionStartPoint(*File, Section).Y; }

double TrkTrackSegment::GetCentrelineEndX() const { return SectionStartPoint(*File, NextSection).X; }

double TrkTrackSegment::GetCentrelineEndY() const { return SectionStartPoint(*File, NextSection).Y; }

double TrkTrackSegment::GetLength3D() const {
  return TrkUnitsToMetres(File->GetSectionLength(Section));
}

double TrkTrackSegment::GetLength2D() const { return File->GetSectionLength2D(Section); }

void TrkTrackSegment::GetArc(double& centre_x, double& centre_y, double& radius,
                             double& sweep) const {
  centre_x = TrkUnitsToMetres(File->GetCurveCentreX(Section));
  centre_y = TrkUnitsToMetres(File->GetCurveCentreY(Section));
  sweep = TrkHalfAngleToRadians(File->GetCurveHalfAngle(Section));
  const double sign = sweep >= 0.0 ? 1.0 : -1.0;
  // The file holds the signed radius of lateral 0's line; adding lateral 0's latitude
  // gives the centre line's.
  radius = TrkUnitsToMetres(WrapAdd(File->GetLateral(0), File->GetXSectionRadius(Section, 0))) *
           sign;
}

double TrkTrackSegment::GetStartOrientation() const {
  return TrkAngleToRadians(File->GetSectionOrientation(Section));
}

double TrkTrackSegment::GetEndOrientation() const {
  return TrkAngleToRadians(File->GetSectionOrientation(NextSection));
}

U32 TrkTrackSegment::GetXSectionCount() const { return static_cast<U32>(XSections.size()); }

CountedPtr<TrackXSection> TrkTrackSegment::GetXSection(U32 index) const {
  UTIL_ASSERT(index < XSections.size());
  return XSections[index];
}

U32 TrkTrackSegment::GetFSectionCount() const { return static_cast<U32>(FSections.size()); }

CountedPtr<TrackFSection> TrkTrackSegment::GetFSection(U32 index) const {
  UTIL_ASSERT(index < FSections.size());
  return FSections[index];
}

U32 TrkTrackSegment::GetWSectionCount() const { return static_cast<U32>(WSections.size()); }

CountedPtr<TrackWSection> TrkTrackSegment::GetWSection(U32 index) const {
  UTIL_ASSERT(index < WSections.size());
  return WSections[index];
}

TrackFrame TrkTrackSegment::GetFrame(double distance, double latitude) const {
  const S32 lat = MetresToTrkUnits(latitude);
  const double plan = File->GetSectionStart2D(Section) + distance;
  const S32 longitude = File->Length2DToLongitude(plan);
  return GetTrkFrame(*File, longitude, lat);
}

} // namespace Ostra::Papy
