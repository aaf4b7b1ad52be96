#pragma once

#include <string>

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// An object placed beside the track, described by two texts and a flag whose meanings
// are unknown.
class ThreeDObjectTracksideObject : public virtual ThreeDObject {
public:
  virtual std::string GetFirstString() const = 0;
  virtual std::string GetSecondString() const = 0;
  virtual bool GetFlag() const = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
