#include "Papy/Track/TrkTrackXSection.h"

#include "Papy/Track/TrkFile.h"

namespace Ostra::Papy {

TrkTrackXSection::TrkTrackXSection(const CountedPtr<TrkFile>& file, U32 section, U32 index)
    : File(file), Section(section), Index(index) {}

double TrkTrackXSection::GetStartLatitude() const { return TrkUnitsToMetres(File->GetLateral(Index)); }

double TrkTrackXSection::GetEndLatitude() const { return TrkUnitsToMetres(File->GetLateral(Index)); }

void TrkTrackXSection::SetLatitude(double start_latitude, double end_latitude) {
  // A TRK lateral cannot change its latitude along a section.
  if (start_latitude == end_latitude)
    File->SetLateral(Index, MetresToTrkUnits(start_latitude));
}

double TrkTrackXSection::GetStartAltitude() const {
  return TrkUnitsToMetres(File->GetStartAltitude(Section, Index));
}

double TrkTrackXSection::GetEndAltitude() const {
  const S32 sum = WrapAdd(WrapAdd(File->GetStartAltitude(Section, Index),
                                  File->GetLinearCoefficient(Section, Index)),
                          WrapAdd(File->GetSquareCoefficient(Section, Index),
                                  File->GetCubeCoefficient(Section, Index)));
  return TrkUnitsToMetres(sum);
}

double TrkTrackXSection::GetStartSlope() const {
  return TrkUnitsToMetres(File->GetLinearCoefficient(Section, Index));
}

double TrkTrackXSection::GetEndSlope() const {
  // From c and d themselves: the stored 2c and 3d of a file need not agree with them.
  const S32 sum = WrapAdd(WrapAdd(File->GetLinearCoefficient(Section, Index),
                                  WrapMul(2, File->GetSquareCoefficient(Section, Index))),
                          WrapMul(3, File->GetCubeCoefficient(Section, Index)));
  return TrkUnitsToMetres(sum);
}

void TrkTrackXSection::SetAltitudes(double start_altitude, double end_altitude, double start_slope,
                                    double end_slope) {
  const double rise = end_altitude - start_altitude;
  const double a = start_altitude;
  const double b = start_slope;
  const double c = 3.0 * rise - 2.0 * start_slope - end_slope;
  const double d = start_slope + end_slope - 2.0 * rise;
  File->SetXSectionCubic(Section, Index, MetresToTrkUnits(a), MetresToTrkUnits(b),
                         MetresToTrkUnits(c), MetresToTrkUnits(d));
}

double TrkTrackXSection::GetLinearCoefficient() const {
  return TrkUnitsToMetres(File->GetLinearCoefficient(Section, Index));
}

double TrkTrackXSection::GetSquareCoefficient() const {
  return TrkUnitsToMetres(File->GetSquareCoefficient(Section, Index));
}

double TrkTrackXSection::GetCubeCoefficient() const {
  return TrkUnitsToMetres(File->GetCubeCoefficient(Section, Index));
}

double TrkTrackXSection::GetAltitudeAt(double distance) const {
  const double plan = File->GetSectionStart2D(Section) + distance;
  const S32 longitude = File->Length2DToLongitude(plan);
  S32 x, y, z, orientation, pitch, bank, surface;
  File->GetTrackPoint(longitude, File->GetLateral(Index), x, y, z, orientation, pitch, bank,
                      surface);
  return TrkUnitsToMetres(z);
}

} // namespace Ostra::Papy
