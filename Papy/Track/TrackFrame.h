#pragma once

namespace Ostra::Papy {

// Everything the track model tells about one point of the track: position in metres,
// heading, pitch and bank in radians, and the SurfaceType number of the strip under it.
struct TrackFrame {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
  double Orientation = 0.0;
  double Pitch = 0.0;
  double Bank = 0.0;
  int SurfaceType = 0;
};

} // namespace Ostra::Papy
