#include "Papy/Lp/Palette.h"

#include <bit>

#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

Palette::Palette(U32 count) : Colours(count) {}

Palette::Key Palette::MakeKey(const Colour& colour, U32 index) {
  Key key{};
  Util::StoreU32(key.data(), std::bit_cast<U32>(colour.Red));
  Util::StoreU32(key.data() + 4, std::bit_cast<U32>(colour.Green));
  Util::StoreU32(key.data() + 8, std::bit_cast<U32>(colour.Blue));
  Util::StoreU32(key.data() + 12, std::bit_cast<U32>(colour.Alpha));
  Util::StoreU32(key.data() + 16, index);
  return key;
}

Colour Palette::KeyColour(const Key& key) {
  Colour colour;
  colour.Red = std::bit_cast<F32>(Util::LoadU32(key.data()));
  colour.Green = std::bit_cast<F32>(Util::LoadU32(key.data() + 4));
  colour.Blue = std::bit_cast<F32>(Util::LoadU32(key.data() + 8));
  colour.Alpha = std::bit_cast<F32>(Util::LoadU32(key.data() + 12));
  return colour;
}

void Palette::Resize(U32 count) {
  if (count == Colours.size())
    return;
  Colours.resize(count);
  Index.clear();
  for (U32 i = 0; i < count; ++i)
    Index.insert(MakeKey(Colours[i], i));
}

void Palette::SetColour(U32 i, const Colour& colour) {
  Index.erase(MakeKey(Colours[i], i));
  Colours[i] = colour;
  Index.insert(MakeKey(colour, i));
}

bool Palette::FindColour(const Colour& colour, U32& index) const {
  const auto found = Index.lower_bound(MakeKey(colour, 0));
  if (found == Index.end() || !ColourEquals(KeyColour(*found), colour))
    return false;
  index = Util::LoadU32(found->data() + 16);
  return true;
}

U32 Palette::GetIndex(const Colour& colour) const {
  U32 index = 0;
  UTIL_ASSERT(FindColour(colour, index));
  return index;
}

bool Palette::HasColour(const Colour& colour) const {
  U32 index = 0;
  return FindColour(colour, index);
}

U32 Palette::AddColour(const Colour& colour) {
  U32 index = 0;
  if (FindColour(colour, index))
    return index;
  index = static_cast<U32>(Colours.size());
  Colours.push_back(colour);
  Index.insert(MakeKey(colour, index));
  return index;
}

} // namespace Ostra::Papy
