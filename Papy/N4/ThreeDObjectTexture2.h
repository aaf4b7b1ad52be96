#pragma once

#include <string>

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// One texture image, named as the game's texture files name it.
class ThreeDObjectTexture2 : public virtual ThreeDObject {
public:
  virtual std::string GetTextureName() const = 0;
  virtual void SetTextureName(const std::string& name) = 0;
  virtual bool IsShared() const = 0;
  // Throws XUsage when the texture's format cannot record sharing.
  virtual void SetShared(bool shared) = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
