#pragma once

#include "Papy/N4/ThreeDObject.h"
#include "Papy/Types/Colour.h"

namespace Ostra::Papy {

// How a surface combines its textures with its colour. The functions have no names in
// the game's data; Unknown stands for a stored code that maps to none of them.
enum class TextureFunction : int {
  Function0 = 0,
  Function1 = 1,
  Function2 = 2,
  Function3 = 3,
  Function4 = 4,
  Function5 = 5,
  Unknown = 6,
};

// How a surface is drawn: a colour, up to seven textures and a texture function. Three
// textures have known roles (first, third, specular); the other four are kept in
// their file order. A texture slot that is empty resolves to the null object.
class ThreeDObjectAppearance : public virtual ThreeDObject {
public:
  // How many of the texture slots are used.
  virtual unsigned GetTextureCount() const = 0;
  virtual bool HasFirstTexture() const = 0;
  virtual CountedPtr<ThreeDObject> GetFirstTexture() const = 0;
  virtual bool HasThirdTexture() const = 0;
  virtual CountedPtr<ThreeDObject> GetThirdTexture() const = 0;
  virtual bool HasSpecularTexture() const = 0;
  virtual CountedPtr<ThreeDObject> GetSpecularTexture() const = 0;
  virtual unsigned GetOtherTextureCount() const = 0;
  virtual bool HasOtherTexture(unsigned index) const = 0;
  virtual CountedPtr<ThreeDObject> GetOtherTexture(unsigned index) const = 0;
  // Opaque: alpha is 1.0.
  virtual Colour GetColour() const = 0;
  virtual TextureFunction GetTextureFunction() const = 0;

  // Visits the first, third and specular textures (each only when present), then
  // every other texture slot, the empty ones as the null object.
  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
