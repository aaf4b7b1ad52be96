#pragma once

namespace Ostra::Papy {

// A wall along a segment. Latitudes are of the wall's middle, widths are left edge
// minus right edge; metres.
class TrackWSection {
public:
  virtual ~TrackWSection() = default;

  virtual double GetStartLatitude() const = 0;
  virtual double GetEndLatitude() const = 0;
  virtual double GetStartHeight() const = 0;
  virtual double GetEndHeight() const = 0;
  virtual double GetStartWidth() const = 0;
  virtual double GetEndWidth() const = 0;
  // A WallType number.
  virtual int GetWallType() const = 0;
};

} // namespace Ostra::Papy
