#pragma once

#include <array>
#include <set>
#include <vector>

#include "Papy/Types/Colour.h"
#include "Util/Types.h"

namespace Ostra::Papy {

// An indexed colour table with an ordered reverse index from colour to position.
class Palette {
public:
  // count colours (0, 0, 0, 0), not yet indexed: lookups find none of them until a
  // Resize or SetColour indexes them.
  explicit Palette(U32 count);

  // Keeps the first count colours, pads with (0, 0, 0, 0) and re-indexes every
  // position; nothing happens when the count is unchanged.
  void Resize(U32 count);
  // i must be below the number of colours (not checked).
  void SetColour(U32 i, const Colour& colour);
  // The position of an indexed colour equal to colour (component-wise); among equal
  // colours the one whose index is smallest lowest byte first.
  bool FindColour(const Colour& colour, U32& index) const;
  // Asserts "FindColour(colour, index)" when the colour is absent.
  U32 GetIndex(const Colour& colour) const;
  bool HasColour(const Colour& colour) const;
  // The colour's position, appending it when absent.
  U32 AddColour(const Colour& colour);

  std::vector<Colour> Colours;

private:
  // A (colour, index) pair as its 20 little-endian bytes (red, green, blue, alpha as
  // floats, then the index): the index orders by these bytes, so the order is the
  // same on every host.
  using Key = std::array<unsigned char, 20>;
  static Key MakeKey(const Colour& colour, U32 index);
  static Colour KeyColour(const Key& key);

  std::set<Key> Index;
};

} // namespace Ostra::Papy
