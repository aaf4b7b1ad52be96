#pragma once

#include "Papy/Track/TrackXSection.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class TrkFile;

// Lateral Index of a TRK section. A TRK lateral keeps one latitude along the whole
// track, so moving it moves it in every section.
class TrkTrackXSection : public TrackXSection {
public:
  TrkTrackXSection(const CountedPtr<TrkFile>& file, U32 section, U32 index);

  double GetStartLatitude() const override;
  double GetEndLatitude() const override;
  // Acts only when both latitudes are equal and the lateral stays strictly between its
  // neighbours.
  void SetLatitude(double start_latitude, double end_latitude) override;
  double GetStartAltitude() const override;
  double GetEndAltitude() const override;
  double GetStartSlope() const override;
  double GetEndSlope() const override;
  // Each coefficient is truncated to whole TRK units on its own.
  void SetAltitudes(double start_altitude, double end_altitude, double start_slope,
                    double end_slope) override;
  double GetLinearCoefficient() const override;
  double GetSquareCoefficient() const override;
  double GetCubeCoefficient() const override;
  double GetAltitudeAt(double distance) const override;

private:
  CountedPtr<TrkFile> File;
  U32 Section;
  U32 Index;
};

} // namespace Ostra::Papy
