#pragma once

#include "Papy/Track/TrackFrame.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class TrkFile;

// GetTrackPoint at a longitude and latitude (TRK units), in metres and radians.
TrackFrame GetTrkFrame(const TrkFile& file, S32 longitude, S32 latitude);

} // namespace Ostra::Papy
