#pragma once

#include <cmath>
#include <numbers>

#include "Papy/Lp/N4LpFile.h"
#include "TestSupport/OvalTrack.h"

namespace Ostra::Velmar::TestLines {

inline CountedPtr<Papy::Track> MakeOval(double radius, double straight) {
  return CountedPtr<Papy::Track>(new ::Ostra::Test::OvalTrack(radius, straight));
}

// A new N4 line at 3 m on the track, weaving `waves` times a lap with the amplitude.
inline CountedPtr<Papy::LpFile> MakeWavyLine(const CountedPtr<Papy::Track>& track, double amplitude,
                                             double waves) {
  CountedPtr<Papy::LpFile> lp(new Papy::N4LpFile(track, 3.0));
  const double length = track->GetLength2D();
  for (U32 i = 0; i < lp->GetRecordCount(); ++i)
    lp->SetRecordLatitude(i, amplitude * std::sin(2.0 * std::numbers::pi * waves *
                                                  lp->GetRecordLongitude(i) / length));
  return lp;
}

} // namespace Ostra::Velmar::TestLines
