#pragma once

#include <cstddef>
#include <vector>

#include "Util/Types.h"

namespace Ostra::Test {

// Builds GPL track file images field by field, independently of the library's writer,
// with the offsets of every field so that one field can be broken at a time.
class GplTrkBuilder {
public:
  struct Section {
    Util::S32 Type = 1;
    Util::S32 Start = 0;
    Util::S32 Length = 0;
    Util::S32 Orientation = 0;
    Util::U32 Flags = 0;
    Util::S32 Geometry[5] = {};
    Util::U32 PieceIndex = 0;
    Util::U32 SurfaceCount = 0;
    Util::U32 SurfaceStart = 0;
  };
  // File order.
  struct Piece {
    Util::S32 D = 0, C = 0, B = 0, A = 0, DTimes3 = 0, CTimes2 = 0, XOrRadius = 0, Y = 0;
  };
  struct Surface {
    Util::S32 From = 0, To = 0;
    Util::U32 Type = 0;
    Util::S32 Extra0 = 0, Value = 0, Extra1 = 0;
    Util::U32 Reserved0 = 0, Reserved1 = 0;
  };
  // One piece of a loop's centre line: a straight, or a curve sweeping twice HalfAngle
  // (binary angle, positive to the left).
  struct Shape {
    bool Curve = false;
    Util::S32 Length = 0;
    Util::S32 HalfAngle = 0;
  };

  // A loop starting at (0, 0) heading along +x, one section per shape. The cubics join
  // the altitudes given per section start (index s) with flat ends; each lateral lies
  // BankPerUnit higher per unit of latitude. Every section gets four surface records:
  // grass and asphalt strips, then a wall (Armco, height WallHeight) with its left edge.
  static GplTrkBuilder Loop(const std::vector<Shape>& shapes, const std::vector<Util::S32>& laterals,
                            const std::vector<Util::S32>& start_altitudes);
  // A 90-degree-cornered loop with both left and a right-hand curves: straight, left,
  // right, left, left, straight, left, straight, left. Closes up to rounding.
  static GplTrkBuilder Circuit();
  static std::vector<Shape> CircuitShapes();
  static const std::vector<Util::S32> CircuitLaterals;
  static const std::vector<Util::S32> CircuitAltitudes;
  // Two straights and two half-turn curves with two laterals and SurfaceCount 3 per
  // section (strip, wall, left edge).
  static GplTrkBuilder Oval();

  std::vector<unsigned char> Bytes() const;
  std::size_t Size() const;

  // Offsets of fields in Bytes().
  static constexpr std::size_t HeaderSize = 92;
  std::size_t OffsetsOffset() const { return HeaderSize; }
  std::size_t PieceOffset(std::size_t s, std::size_t j) const;
  std::size_t SurfaceOffset(std::size_t r) const;
  std::size_t SectionOffset(std::size_t s) const;
  // The section at their first six words / offsets of words within records.
  static constexpr std::size_t SectionType = 0, SectionStart = 4, SectionLength = 8,
                               SectionFlags = 16, SectionPieceIndex = 40,
                               SectionSurfaceCount = 44, SectionSurfaceStart = 48;

  Util::U32 Id = 0x5452414B;
  Util::S32 Version = 3000;
  Util::S32 Length = 0;
  std::vector<Util::S32> Laterals;
  std::vector<Util::S32> UnusedLaterals; // header words after the L used ones
  std::vector<Section> Sections;
  std::vector<Piece> Pieces;
  std::vector<Surface> Surfaces;

  static constexpr Util::S32 WallHeight = 20000;
};

} // namespace Ostra::Test
