#include "Papy/N4/N4Appearance.h"

#include <array>

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 AppearanceVersion = 2;
constexpr unsigned TextureSlots = 7;

// Stored code of each texture function, indexed by the function's value.
constexpr std::array<U32, 6> FunctionCodes = {1, 2, 0, 3, 18, 19};

// Where each of the seven texture references of the body goes.
enum class Slot { First, Other, Third, Specular };
constexpr std::array<Slot, TextureSlots> SlotOrder = {
    Slot::First, Slot::Other, Slot::Third, Slot::Other, Slot::Other, Slot::Specular, Slot::Other};

U32 IdOf(const CountedPtr<ThreeDObject>& object) { return object ? object->GetId() : 0; }

} // namespace

void ThreeDObjectAppearance::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterAppearance(*this)) {
    if (HasFirstTexture()) {
      if (visitor.BeforeFirstTexture(*this))
        GetFirstTexture()->Accept(visitor);
      visitor.AfterFirstTexture(*this);
    }
    if (HasThirdTexture()) {
      if (visitor.BeforeThirdTexture(*this))
        GetThirdTexture()->Accept(visitor);
      visitor.AfterThirdTexture(*this);
    }
    if (HasSpecularTexture()) {
      if (visitor.BeforeSpecularTexture(*this))
        GetSpecularTexture()->Accept(visitor);
      visitor.AfterSpecularTexture(*this);
    }
    if (visitor.BeforeOtherTextures(*this)) {
      const unsigned count = GetOtherTextureCount();
      for (unsigned i = 0; i < count; ++i)
        GetOtherTexture(i)->Accept(visitor);
    }
    visitor.AfterOtherTextures(*this);
  }
  visitor.LeaveAppearance(*this);
}

N4Appearance::N4Appearance(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 3do Appearance reserved0 not 1");
  Name = ReadString(stream);
  reader.ExpectU32(AppearanceVersion, "N4 3do Appearance unsupported version");

  for (const Slot slot : SlotOrder) {
    const U32 texture = reader.ReadObjectReference();
    if (texture != 0)
      ++TextureCount;
    switch (slot) {
    case Slot::First:
      FirstTexture = texture;
      break;
    case Slot::Third:
      ThirdTexture = texture;
      break;
    case Slot::Specular:
      SpecularTexture = texture;
      break;
    case Slot::Other:
      OtherTextures.push_back(texture);
      break;
    }
  }

  Red = Util::ReadF64(stream);
  Green = Util::ReadF64(stream);
  Blue = Util::ReadF64(stream);
  for (unsigned i = 0; i < ValueCount; ++i)
    Values.push_back(Util::ReadF64(stream));

  TextureFunctionCode = Util::ReadU32(stream);
  bool known = false;
  for (const U32 code : FunctionCodes)
    known = known || code == TextureFunctionCode;
  if (!known)
    reader.Fail("N4 3do Appearance unknown texture function");
}

N4Appearance::N4Appearance(N4TdoFile& owner, U32 id, const std::string& name, double red,
                           double green, double blue, const CountedPtr<ThreeDObject>& first_texture,
                           const CountedPtr<ThreeDObject>& third_texture,
                           const CountedPtr<ThreeDObject>& specular_texture,
                           TextureFunction function)
    : N4Object(owner, id, 0), Name(name), FirstTexture(IdOf(first_texture)),
      ThirdTexture(IdOf(third_texture)), SpecularTexture(IdOf(specular_texture)), Red(red),
      Green(green), Blue(blue), OtherTextures(OtherTextureSlots, IdOf(Resolve(0))),
      Values(ValueCount, 0.0) {
  const int value = static_cast<int>(function);
  if (value < 0 || value >= static_cast<int>(FunctionCodes.size()))
    Util::FailAssertion("false", __FILE__, __LINE__);
  TextureFunctionCode = FunctionCodes[static_cast<std::size_t>(value)];
  TextureCount = (FirstTexture != 0 ? 1 : 0) + (ThirdTexture != 0 ? 1 : 0) +
                 (SpecularTexture != 0 ? 1 : 0);
}

double N4Appearance::GetDouble(unsigned index) const {
  UTIL_ASSERT(index < Values.size());
  return Values[index];
}

bool N4Appearance::HasOtherTexture(unsigned index) const {
  UTIL_ASSERT(index < OtherTextures.size());
  return OtherTextures[index] != 0;
}

CountedPtr<ThreeDObject> N4Appearance::GetOtherTexture(unsigned index) const {
  UTIL_ASSERT(index < OtherTextures.size());
  return Resolve(OtherTextures[index]);
}

Colour N4Appearance::GetColour() const {
  return Colour(static_cast<F32>(Red), static_cast<F32>(Green), static_cast<F32>(Blue), 1.0f);
}

TextureFunction N4Appearance::GetTextureFunction() const {
  for (std::size_t i = 0; i < FunctionCodes.size(); ++i)
    if (FunctionCodes[i] == TextureFunctionCode)
      return static_cast<TextureFunction>(i);
  return TextureFunction::Unknown;
}

void N4Appearance::Write(Util::BinaryStream& stream, int reserved) {
  if (!WriteHeader(N4ArchiverAppearance::Instance()))
    return;
  Util::WriteU32(stream, 1);
  WriteString(stream, Name);
  Util::WriteU32(stream, AppearanceVersion);

  // Through the interface, so that every slot is written as the object it resolves to.
  unsigned other = 0;
  for (const Slot slot : SlotOrder) {
    switch (slot) {
    case Slot::First:
      GetFirstTexture()->Write(stream, reserved);
      break;
    case Slot::Third:
      GetThirdTexture()->Write(stream, reserved);
      break;
    case Slot::Specular:
      GetSpecularTexture()->Write(stream, reserved);
      break;
    case Slot::Other:
      GetOtherTexture(other++)->Write(stream, reserved);
      break;
    }
  }

  Util::WriteF64(stream, Red);
  Util::WriteF64(stream, Green);
  Util::WriteF64(stream, Blue);
  for (const double value : Values)
    Util::WriteF64(stream, value);
  Util::WriteU32(stream, TextureFunctionCode);
}

const N4ArchiverAppearance& N4ArchiverAppearance::Instance() {
  static const N4ArchiverAppearance* const instance = new N4ArchiverAppearance;
  return *instance;
}

} // namespace Ostra::Papy
