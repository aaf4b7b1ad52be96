#pragma once

#include <cstddef>
#include <vector>

#include "Util/Types.h"

namespace Ostra::Test {

// Builds ICR2 track file images field by field, independently of the library's writer,
// with the offsets of every field so that one field can be broken at a time.
class ICR2TrkBuilder {
public:
  // File order.
  struct Lateral {
    Util::S32 D = 0, C = 0, B = 0, A = 0, DTimes3 = 0, CTimes2 = 0, XOrRadius = 0, Y = 0;
  };
  struct Surface {
    Util::S32 RightStart = 0, RightEnd = 0;
    Util::U32 Code = 0;
  };
  struct Wall {
    Util::U32 Code = 0;
    Util::S32 Start = 0, End = 0;
    Util::U32 Reserved0 = 0xCCCCCCCC, Reserved1 = 0xCCCCCCCC;
  };
  struct Section {
    Util::S32 Type = 1;
    Util::S32 Start = 0;
    Util::S32 Length = 0;
    Util::S32 Heading = 0;
    Util::S32 Geometry[5] = {};
    Util::U32 LateralStart = 0;
    Util::U32 SurfaceCount = 0;
    Util::U32 SurfaceStart = 0;
    std::vector<Wall> Walls;
  };
  // A piece of a loop's centre line: a straight, or a curve sweeping twice HalfAngle
  // (binary angle, positive to the left).
  struct Shape {
    bool Curve = false;
    Util::S32 Length = 0;
    Util::S32 HalfAngle = 0;
  };

  // A loop starting at (0, 0) heading along +x, one section per shape. The cubics join
  // the altitudes given per section start with flat ends; each lateral lies 1/20 higher
  // per unit of latitude. Every section gets the strips Grass (code 6) from -150000,
  // Asphalt (46) from -60000 and Gravel with grip -3 (19) from 60000 to 150000, a plain
  // wall (code 0) at -150000 and a concrete wall (code 4) at 150000.
  static ICR2TrkBuilder Loop(const std::vector<Shape>& shapes,
                             const std::vector<Util::S32>& laterals,
                             const std::vector<Util::S32>& start_altitudes);
  // A closed circuit of straights and 90-degree curves, one of them to the right, with
  // three laterals.
  static ICR2TrkBuilder Circuit();

  std::vector<unsigned char> Bytes() const;

  // Offsets of records in Bytes().
  static constexpr std::size_t HeaderSize = 68;
  std::size_t LateralOffset(std::size_t s, std::size_t j) const;
  std::size_t SurfaceOffset(std::size_t r) const;
  std::size_t SectionOffset(std::size_t s) const;
  std::size_t WallOffset(std::size_t s, std::size_t w) const;
  // Offsets of fields within the header and a section record.
  static constexpr std::size_t HeaderId = 0, HeaderType = 4, HeaderLength = 8,
                               HeaderLateralCount = 12, HeaderSectionCount = 16,
                               HeaderSurfaceBytes = 20;
  static constexpr std::size_t SectionType = 0, SectionStart = 4, SectionLength = 8,
                               SectionLateralStart = 36, SectionSurfaceCount = 40,
                               SectionSurfaceStart = 44, SectionWallCount = 48;

  Util::U32 Id = 0x5452414B;
  Util::U32 Type = 1;
  Util::S32 Length = 0;
  std::vector<Util::S32> Laterals;
  std::vector<Section> Sections;
  std::vector<Lateral> LateralRecords; // section-major
  std::vector<Surface> Surfaces;
  // Bytes appended to the surface block and counted in the header's surface bytes.
  std::size_t SurfaceTail = 0;
};

} // namespace Ostra::Test
