#pragma once

#include <string>
#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectAppearance.h"

namespace Ostra::Papy {

// Format notes: appearance body, after the object reference.
//   U32 1, string name, U32 version 2,
//   seven object references to textures, in the slot order
//     first, other 0, third, other 1, other 2, specular, other 3,
//   F64 red, green, blue, nine F64 values without a count,
//   U32 texture function code: 1, 2, 0, 3, 18, 19 store functions 0 to 5.
// The texture references may name objects of any kind; they are not checked.
class N4Appearance final : public ThreeDObjectAppearance, public N4Object {
public:
  static constexpr unsigned OtherTextureSlots = 4;
  static constexpr unsigned ValueCount = 9;

  // Reads the body. Throws XFileFormat "N4 3do Appearance ..." and the archive's errors.
  N4Appearance(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);
  // Empty pointers stand for no texture, as the null object does. The other texture
  // slots are empty and the nine values 0.0. Throws XAssertion("false") for a
  // function outside Function0 to Function5. The archive position is 0 until written.
  N4Appearance(N4TdoFile& owner, U32 id, const std::string& name, double red, double green,
               double blue, const CountedPtr<ThreeDObject>& first_texture,
               const CountedPtr<ThreeDObject>& third_texture,
               const CountedPtr<ThreeDObject>& specular_texture, TextureFunction function);

  std::string GetTypeName() const override { return "Appearance"; }
  std::string GetName() const override { return Name; }
  void SetName(const std::string& name) override { Name = name; }
  unsigned GetDoubleCount() const override { return static_cast<unsigned>(Values.size()); }
  // Throws XAssertion for an index at or past the count.
  double GetDouble(unsigned index) const override;
  void Write(Util::BinaryStream& stream, int reserved) override;

  unsigned GetTextureCount() const override { return TextureCount; }
  bool HasFirstTexture() const override { return FirstTexture != 0; }
  CountedPtr<ThreeDObject> GetFirstTexture() const override { return Resolve(FirstTexture); }
  bool HasThirdTexture() const override { return ThirdTexture != 0; }
  CountedPtr<ThreeDObject> GetThirdTexture() const override { return Resolve(ThirdTexture); }
  bool HasSpecularTexture() const override { return SpecularTexture != 0; }
  CountedPtr<ThreeDObject> GetSpecularTexture() const override {
    return Resolve(SpecularTexture);
  }
  unsigned GetOtherTextureCount() const override {
    return static_cast<unsigned>(OtherTextures.size());
  }
  // Both throw XAssertion for an index at or past the count.
  bool HasOtherTexture(unsigned index) const override;
  CountedPtr<ThreeDObject> GetOtherTexture(unsigned index) const override;
  Colour GetColour() const override;
  TextureFunction GetTextureFunction() const override;

  // The code as stored in the archive.
  U32 GetTextureFunctionCode() const { return TextureFunctionCode; }

private:
  std::string Name;
  U32 FirstTexture = 0;
  U32 ThirdTexture = 0;
  U32 SpecularTexture = 0;
  double Red = 0.0;
  double Green = 0.0;
  double Blue = 0.0;
  U32 TextureFunctionCode = 0;
  std::vector<U32> OtherTextures;
  std::vector<double> Values;
  U32 TextureCount = 0;
};

class N4ArchiverAppearance final : public N4ArchiverOf<N4Appearance> {
public:
  // Made on first use, never freed.
  static const N4ArchiverAppearance& Instance();
  const char* GetDescriptorName() const override { return "AppearanceDescriptor"; }
};

} // namespace Ostra::Papy
