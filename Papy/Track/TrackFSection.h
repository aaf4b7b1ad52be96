#pragma once

namespace Ostra::Papy {

// A surface strip along a segment; the left edge has the larger latitude. Metres.
class TrackFSection {
public:
  virtual ~TrackFSection() = default;

  virtual double GetRightStartLatitude() const = 0;
  virtual double GetRightEndLatitude() const = 0;
  virtual double GetLeftStartLatitude() const = 0;
  virtual double GetLeftEndLatitude() const = 0;
  // A SurfaceType number.
  virtual int GetSurfaceType() const = 0;
  // The game's grip adjustment; 0 where the game has none.
  virtual int GetGripModifier() const = 0;
};

} // namespace Ostra::Papy
