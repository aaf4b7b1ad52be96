#include "TestSupport/ICR2TrkBuilder.h"

#include <cmath>

#include "TestSupport/ByteBuilder.h"

namespace Ostra::Test {

using Util::S32;
using Util::U32;

namespace {

constexpr double TwoPi = 6.283185307179586;
constexpr double Fixed30 = 1073741824.0;

S32 Round(double v) { return static_cast<S32>(std::llround(v)); }

double AngleRadians(S32 angle) { return angle * (TwoPi / 4294967296.0); }

S32 WrapAdd(S32 a, S32 b) { return static_cast<S32>(static_cast<U32>(a) + static_cast<U32>(b)); }

} // namespace

ICR2TrkBuilder ICR2TrkBuilder::Loop(const std::vector<Shape>& shapes,
                                    const std::vector<S32>& laterals,
                                    const std::vector<S32>& start_altitudes) {
  ICR2TrkBuilder b;
  b.Laterals = laterals;
  const std::size_t n = shapes.size();
  const std::size_t lateral_count = laterals.size();
  double px = 0.0, py = 0.0;
  S32 heading = 0;
  S32 start = 0;
  const auto altitude = [&](std::size_t s, std::size_t j) {
    return start_altitudes[s % n] + laterals[j] / 20;
  };
  for (std::size_t s = 0; s < n; ++s) {
    const Shape& shape = shapes[s];
    Section section;
    section.Type = shape.Curve ? 2 : 1;
    section.Start = start;
    section.Length = shape.Length;
    section.Heading = heading;
    section.LateralStart = static_cast<U32>(s * lateral_count);
    section.SurfaceCount = 3;
    section.SurfaceStart = static_cast<U32>(3 * s);
    section.Walls = {{0, -150000, -150000}, {4, 150000, 150000}};
    const double h = AngleRadians(heading);
    const double lx = -std::sin(h), ly = std::cos(h);
    double radius = 0.0, cx = 0.0, cy = 0.0;
    if (shape.Curve) {
      radius = shape.Length / (2.0 * AngleRadians(shape.HalfAngle)); // negative to the right
      cx = px + radius * lx;
      cy = py + radius * ly;
      section.Geometry[0] = Round(cx);
      section.Geometry[1] = Round(cy);
      section.Geometry[2] = shape.HalfAngle;
    } else {
      section.Geometry[0] = Round(std::cos(h) * Fixed30);
      section.Geometry[1] = Round(std::sin(h) * Fixed30);
      section.Geometry[2] = Round(lx * Fixed30);
      section.Geometry[3] = Round(ly * Fixed30);
      section.Geometry[4] = 123456; // set on straights, read by nothing
    }
    b.Sections.push_back(section);
    for (std::size_t j = 0; j < lateral_count; ++j) {
      Lateral record;
      const S32 a = altitude(s, j);
      const S32 rise = altitude(s + 1, j) - a;
      record.A = a;
      record.C = 3 * rise;
      record.D = -2 * rise;
      record.CTimes2 = 2 * record.C;
      record.DTimes3 = 3 * record.D;
      if (shape.Curve) {
        record.XOrRadius = Round(radius) - laterals[j];
      } else {
        record.XOrRadius = Round(px + laterals[j] * lx);
        record.Y = Round(py + laterals[j] * ly);
      }
      b.LateralRecords.push_back(record);
    }
    b.Surfaces.push_back({-150000, -150000, 6});
    b.Surfaces.push_back({-60000, -60000, 46});
    b.Surfaces.push_back({60000, 60000, 19});
    if (shape.Curve) {
      const S32 end_heading = WrapAdd(heading, WrapAdd(shape.HalfAngle, shape.HalfAngle));
      const double h2 = AngleRadians(end_heading);
      px = cx + radius * std::sin(h2);
      py = cy - radius * std::cos(h2);
      heading = end_heading;
    } else {
      px += shape.Length * std::cos(h);
      py += shape.Length * std::sin(h);
    }
    start += shape.Length;
  }
  b.Length = start;
  return b;
}

ICR2TrkBuilder ICR2TrkBuilder::Circuit() {
  constexpr S32 quarter = 1 << 29; // half of a 90-degree sweep
  constexpr S32 unit = 1000000;    // the corners' radius
  const S32 corner = Round(unit * TwoPi / 4.0);
  return Loop({{false, 4 * unit, 0},
               {true, corner, quarter},
               {false, 2 * unit, 0},
               {true, corner, quarter},
               {false, 2 * unit, 0},
               {true, corner, quarter},
               {true, corner, -quarter},
               {true, corner, quarter},
               {true, corner, quarter}},
              {-100000, 0, 100000}, {0, 20000, 60000, 60000, 40000, 0, -20000, -20000, -5000});
}

std::size_t ICR2TrkBuilder::LateralOffset(std::size_t s, std::size_t j) const {
  return HeaderSize + 4 * Sections.size() + 32 * (s * Laterals.size() + j);
}

std::size_t ICR2TrkBuilder::SurfaceOffset(std::size_t r) const {
  return LateralOffset(Sections.size(), 0) + 12 * r;
}

std::size_t ICR2TrkBuilder::SectionOffset(std::size_t s) const {
  std::size_t offset = SurfaceOffset(Surfaces.size()) + SurfaceTail;
  for (std::size_t i = 0; i < s; ++i)
    offset += 52 + 20 * Sections[i].Walls.size();
  return offset;
}

std::size_t ICR2TrkBuilder::WallOffset(std::size_t s, std::size_t w) const {
  return SectionOffset(s) + 52 + 20 * w;
}

std::vector<unsigned char> ICR2TrkBuilder::Bytes() const {
  ByteBuilder out;
  const auto n = static_cast<U32>(Sections.size());
  U32 walls = 0;
  for (const Section& s : Sections)
    walls += static_cast<U32>(s.Walls.size());
  out.U32(Id).U32(Type).S32(Length).U32(static_cast<U32>(Laterals.size())).U32(n);
  out.U32(static_cast<U32>(12 * Surfaces.size() + SurfaceTail)).U32(52 * n + 20 * walls);
  for (std::size_t j = 0; j < 10; ++j)
    out.S32(j < Laterals.size() ? Laterals[j] : 0);
  U32 offset = 0;
  for (const Section& s : Sections) {
    out.U32(offset);
    offset += 52 + 20 * static_cast<U32>(s.Walls.size());
  }
  for (const Lateral& p : LateralRecords)
    out.S32(p.D).S32(p.C).S32(p.B).S32(p.A).S32(p.DTimes3).S32(p.CTimes2).S32(p.XOrRadius).S32(p.Y);
  for (const Surface& f : Surfaces)
    out.S32(f.RightStart).S32(f.RightEnd).U32(f.Code);
  out.Zeros(SurfaceTail);
  for (const Section& s : Sections) {
    out.S32(s.Type).S32(s.Start).S32(s.Length).S32(s.Heading);
    for (S32 g : s.Geometry)
      out.S32(g);
    out.U32(s.LateralStart).U32(s.SurfaceCount).U32(s.SurfaceStart);
    out.U32(static_cast<U32>(s.Walls.size()));
    for (const Wall& w : s.Walls)
      out.U32(w.Code).S32(w.Start).S32(w.End).U32(w.Reserved0).U32(w.Reserved1);
  }
  return out.Data();
}

} // namespace Ostra::Test
