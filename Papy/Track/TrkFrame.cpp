#include "Papy/Track/TrkFrame.h"

#include "Papy/Track/TrkFile.h"

namespace Ostra::Papy {

TrackFrame GetTrkFrame(const TrkFile& file, S32 longitude, S32 latitude) {
  S32 x, y, z, orientation, pitch, bank, surface;
  file.GetTrackPoint(longitude, latitude, x, y, z, orientation, pitch, bank, surface);
  TrackFrame frame;
  frame.X = TrkUnitsToMetres(x);
  frame.Y = TrkUnitsToMetres(y);
  frame.Z = TrkUnitsToMetres(z);
  frame.Orientation = TrkAngleToRadians(orientation);
  frame.Pitch = TrkAngleToRadians(pitch);
  frame.Bank = TrkAngleToRadians(bank);
  frame.SurfaceType = surface;
  return frame;
}

} // namespace Ostra::Papy
