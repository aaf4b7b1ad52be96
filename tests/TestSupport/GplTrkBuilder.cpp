#include "TestSupport/GplTrkBuilder.h"

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

GplTrkBuilder GplTrkBuilder::Loop(const std::vector<Shape>& shapes, const std::vector<S32>& laterals,
                                  const std::vector<S32>& start_altitudes) {
  GplTrkBuilder b;
  b.Laterals = laterals;
  b.UnusedLaterals.assign(16 - laterals.size(), 0);
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
    section.Orientation = heading;
    section.PieceIndex = static_cast<U32>(s * lateral_count);
    section.SurfaceCount = 4;
    section.SurfaceStart = static_cast<U32>(4 * s);
    const double h = AngleRadians(heading);
    const double lx = -std::sin(h), ly = std::cos(h);
    double radius = 0.0, cx = 0.0, cy = 0.0;
    if (shape.Curve) {
      const double sweep = 2.0 * AngleRadians(shape.HalfAngle);
      radius = shape.Length / sweep; // signed: negative turns right
      cx = px + radius * lx;
      cy = py + radius * ly;
      section.Geometry[0] = Round(cx);
      section.Geometry[1] = Round(cy);
      section.Geometry[2] = shape.HalfAngle;
      section.Geometry[4] = Round(radius);
    } else {
      section.Geometry[0] = Round(std::cos(h) * Fixed30);
      section.Geometry[1] = Round(std::sin(h) * Fixed30);
      section.Geometry[2] = Round(lx * Fixed30);
      section.Geometry[3] = Round(ly * Fixed30);
    }
    b.Sections.push_back(section);
    for (std::size_t j = 0; j < lateral_count; ++j) {
      Piece piece;
      const S32 a = altitude(s, j);
      const S32 rise = altitude(s + 1, j) - a;
      piece.A = a;
      piece.B = 0;
      piece.C = 3 * rise;
      piece.D = -2 * rise;
      piece.CTimes2 = 2 * piece.C;
      piece.DTimes3 = 3 * piece.D;
      if (shape.Curve) {
        piece.XOrRadius = Round(radius) - laterals[j];
      } else {
        piece.XOrRadius = Round(px + laterals[j] * lx);
        piece.Y = Round(py + laterals[j] * ly);
      }
      b.Pieces.push_back(piece);
    }
    b.Surfaces.push_back({-600000, -600000, 4, 1, 0, 2, 0, 0});
    b.Surfaces.push_back({-300000, -250000, 1, 11, 7, 12, 0, 0});
    b.Surfaces.push_back({300000, 300000, 0x800 | 2, 21, WallHeight, 22, 0, 0});
    b.Surfaces.push_back({320000, 320000, 10, 0, 0, 0, 0, 0});
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

const std::vector<S32> GplTrkBuilder::CircuitLaterals = {-200000, 0, 200000};
const std::vector<S32> GplTrkBuilder::CircuitAltitudes = {0,     20000,  60000,  60000, 40000,
                                                          0,     -20000, -20000, -5000};

std::vector<GplTrkBuilder::Shape> GplTrkBuilder::CircuitShapes() {
  constexpr S32 quarter = 1 << 29; // half of a 90-degree sweep
  constexpr S32 corner = 3000000;
  const double radius = corner / (TwoPi / 4.0);
  constexpr S32 straight = 2000000;
  const S32 back = Round(straight + 2.0 * radius);
  const S32 down = Round(2.0 * radius);
  return {{false, straight, 0}, {true, corner, quarter}, {true, corner, -quarter},
          {true, corner, quarter},  {true, corner, quarter}, {false, back, 0},
          {true, corner, quarter},  {false, down, 0},        {true, corner, quarter}};
}

GplTrkBuilder GplTrkBuilder::Circuit() {
  return Loop(CircuitShapes(), CircuitLaterals, CircuitAltitudes);
}

GplTrkBuilder GplTrkBuilder::Oval() {
  constexpr S32 half_turn = 1 << 30;
  GplTrkBuilder b = Loop({{false, 4000000, 0},
                          {true, 5000000, half_turn},
                          {false, 4000000, 0},
                          {true, 5000000, half_turn}},
                         {-100000, 100000}, {0, 0, 0, 0});
  b.Surfaces.clear();
  for (std::size_t s = 0; s < b.Sections.size(); ++s) {
    b.Sections[s].SurfaceCount = 3;
    b.Sections[s].SurfaceStart = static_cast<U32>(3 * s);
    b.Surfaces.push_back({-300000, -300000, 1, 5, 9, 6, 0, 0});
    b.Surfaces.push_back({200000, 200000, 0x800 | 1, 31, 30000, 32, 0, 0});
    b.Surfaces.push_back({210000, 210000, 10, 0, 0, 0, 0, 0});
  }
  return b;
}

std::size_t GplTrkBuilder::PieceOffset(std::size_t s, std::size_t j) const {
  return HeaderSize + 4 * Sections.size() + 32 * (s * Laterals.size() + j);
}

std::size_t GplTrkBuilder::SurfaceOffset(std::size_t r) const {
  return PieceOffset(Sections.size(), 0) + 32 * r;
}

std::size_t GplTrkBuilder::SectionOffset(std::size_t s) const {
  return SurfaceOffset(Surfaces.size()) + 52 * s;
}

std::size_t GplTrkBuilder::Size() const { return SectionOffset(Sections.size()); }

std::vector<unsigned char> GplTrkBuilder::Bytes() const {
  ByteBuilder out;
  const auto n = static_cast<U32>(Sections.size());
  out.U32(Id).S32(Version).S32(Length);
  out.U32(static_cast<U32>(Laterals.size())).U32(n).U32(static_cast<U32>(32 * Surfaces.size()));
  out.U32(52 * n);
  for (S32 lateral : Laterals)
    out.S32(lateral);
  for (S32 unused : UnusedLaterals)
    out.S32(unused);
  for (U32 i = 0; i < n; ++i)
    out.U32(52 * i);
  for (const Piece& p : Pieces)
    out.S32(p.D).S32(p.C).S32(p.B).S32(p.A).S32(p.DTimes3).S32(p.CTimes2).S32(p.XOrRadius).S32(p.Y);
  for (const Surface& f : Surfaces)
    out.S32(f.From).S32(f.To).U32(f.Type).S32(f.Extra0).S32(f.Value).S32(f.Extra1).U32(f.Reserved0)
        .U32(f.Reserved1);
  for (const Section& s : Sections) {
    out.S32(s.Type).S32(s.Start).S32(s.Length).S32(s.Orientation).U32(s.Flags);
    for (S32 g : s.Geometry)
      out.S32(g);
    out.U32(s.PieceIndex).U32(s.SurfaceCount).U32(s.SurfaceStart);
  }
  return out.Data();
}

} // namespace Ostra::Test
