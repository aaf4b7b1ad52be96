#pragma once

// Byte images of N4 object archives: single objects of every track kind and a small but
// complete .ptf track (SmallTrack), written field by field, independently of the
// library's archive writer. The N4 object tests, the PTF adapter tests of "n4ptf" and
// the fuzz corpora share it.
//
// Object ids and class ids come from one counter, in the order in which they first
// appear, exactly as the archive reader numbers them: the first object written is the
// file's top object, id 1, class id 2. A reference field is a Ref: empty for the null
// reference (a U32 0), Existing(id) for an object already written (the bare id), or a
// writer of a new object made by one of the Make* functions, which writes the object's
// header and body in place. Counts and byte sizes are derived from the lists; break
// them with PatchU32 at BodyOffset(id) + the field's offset.

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TestSupport/ByteBuilder.h"
#include "Util/Types.h"

namespace Ostra::Test {

class N4PtfBuilder;

// Writes one reference field and returns the id it wrote (0 for the null reference).
using N4Ref = std::function<Util::U32(N4PtfBuilder&)>;

class N4PtfBuilder {
public:
  struct Texture {
    Util::U32 Version = 2;
    std::string Name = "asphalt.mip";
    Util::U8 Shared = 0;
  };

  // Texture references in file order: first, other 0, third, other 1, other 2,
  // specular, other 3.
  struct Appearance {
    std::string Name = "surface";
    Util::U32 Version = 2;
    std::array<N4Ref, 7> Textures{};
    std::array<double, 3> Colour = {0.5, 0.5, 0.5};
    std::array<double, 9> Values = {};
    Util::U32 TextureFunction = 1;
  };

  struct TextureCoords {
    Util::U32 VertexCount = 4;
    // Empty, or VertexCount values each.
    std::vector<double> U = {0.0, 1.0, 1.0, 0.0};
    std::vector<double> V = {0.0, 0.0, 1.0, 1.0};
  };

  // A version-3 entry: type 0 (nothing), 1 (two words) or 2 (two floats, two bytes).
  struct XEntry {
    Util::U8 Type = 0;
    Util::U32 Word0 = 0, Word1 = 0;
    Util::F32 A = 0.0f, B = 0.0f;
    Util::U8 C = 0, D = 0;
  };
  struct XSection {
    Util::U32 Version = 2;
    double StartLatitude = 0.0, EndLatitude = 0.0;
    double StartAltitude = 0.0, EndAltitude = 0.0;
    double StartSlope = 0.0, EndSlope = 0.0;
    Util::U8 Reserved2 = 0;
    // Written for version 3 only; the reader expects exactly two.
    std::vector<XEntry> Entries = {XEntry{}, XEntry{}};
  };

  // One layer record of an F or W section; Flag A not 0 makes it one byte long.
  struct Layer {
    Util::U8 FlagA = 0, FlagB = 0, FlagC = 0;
    double Value1 = 0.0, Value2 = 0.0, Value3 = 0.0, Value4 = 0.0, Value5 = 0.0;
  };

  struct FSection {
    Util::U32 Version = 4;
    double StartLatitude = 0.0, EndLatitude = 0.0;
    Util::U8 Flag = 0;
    Util::U32 SecondaryCode = 0;
    Util::U32 SurfaceCode = 1;
    N4Ref Appearance{};
    // Written only when set: the reader expects it when the appearance has a texture.
    N4Ref TextureCoords{};
    // File order A, B, value 1, C, values 2 to 5.
    std::vector<Layer> Layers{};
  };

  struct WCell {
    N4Ref Appearance{};
    N4Ref TextureCoords{};
    // File order A, B, values 1 and 2, C, values 3 and 4.
    std::vector<Layer> Layers{};
  };
  struct WRow {
    // Written for every row but the first.
    double Boundary = 0.0;
    std::array<WCell, 5> Cells{};
  };
  struct WSection {
    Util::U32 Version = 5;
    double StartLatitude = 0.0, EndLatitude = 0.0;
    Util::U8 Flag = 0;
    std::array<Util::U32, 3> Integers = {0, 0, 0};
    double StartHeight = 1.0, EndHeight = 1.0;
    double StartWidth = 0.5, EndWidth = 0.5;
    double StartExtent = 0.0, EndExtent = 0.0;
    Util::U32 Direction = 0;
    // Version 7 only; the profile fields follow when it is 1.
    Util::U32 Profile = 0;
    Util::F32 ProfileMarker = -1.0f;
    Util::U32 ProfilePointCount = 0;
    std::array<Util::F32, 4> ProfileX = {}, ProfileY = {};
    Util::U32 WallCode = 2049;
    std::vector<WRow> Rows = {WRow{}};
  };

  struct BmRecord {
    Util::F32 A = 0.0f, B = 0.0f;
    Util::U32 C = 0;
  };
  struct BsRecord {
    Util::F32 A = 0.0f, B = 0.0f, C = 0.0f, D = 0.0f;
  };
  struct TrackSegment {
    Util::U32 Version = 1;
    std::vector<N4Ref> XSections{}, FSections{}, WSections{};
    Util::U32 Type = 0;
    double StartX = 0.0, StartY = 0.0, StartOrientation = 0.0;
    double EndX = 0.0, EndY = 0.0, EndOrientation = 0.0;
    std::array<Util::U8, 2> Flags = {0, 0};
    // Version 2 only.
    std::vector<BmRecord> Bm{};
    std::vector<BsRecord> Bs{};
  };

  struct TrackDetail {
    N4Ref Object{};
    std::array<double, 5> Values = {};
    std::array<double, 4> X = {}, Y = {};
  };

  struct TsoEntry {
    std::string Name{};
    Util::U32 Integer = 0;
    Util::F32 Value = 0.0f;
  };
  struct TsoReference {
    Util::U32 Version = 6;
    // File order: Value1, Value2, Value3, Value6, Value5, Value4.
    std::array<double, 6> FileValues = {};
    N4Ref Object{};
    // Version 6 only from here on.
    Util::U32 WindDirection = 0;
    Util::U8 BlockByte = 1;
    std::string BlockName{};
    Util::U32 BlockInteger = 0;
    Util::F32 BlockValue = 0.0f;
    Util::U32 BlockMode = 0;
    std::vector<TsoEntry> Entries{};
    std::string Label{};
  };

  struct TracksideObject {
    Util::U32 Version = 3;
    std::string First = "tree";
    std::string Second = "tree.3do";
    Util::U8 Flag = 0;
  };

  struct BumpMap {
    std::string Name{};
    std::array<Util::F32, 4> First = {}, Second = {};
  };
  struct Track {
    Util::U32 Version = 8;
    Util::U8 Flag = 0;
    // Version 6: 21 values.
    std::vector<double> Doubles{};
    // Version 8.
    std::array<double, 3> Vector = {};
    Util::F32 FloatValue = 0.0f;
    std::vector<BumpMap> BumpMaps{};
    std::vector<N4Ref> Details{}, Tsos{}, Segments{};
  };

  // Writes a reference to a new object of the class with that descriptor name (the
  // class id and name at the class's first use) and returns its id; the body follows.
  Util::U32 BeginObject(const std::string& descriptor);
  // A reference to an object already written; 0 is the null reference.
  N4PtfBuilder& Reference(Util::U32 id);
  // The archive's string encoding: length with the NUL, the bytes, a NUL; 0 alone for "".
  N4PtfBuilder& String(const std::string& text);

  // Each writes one new object, header and body, and returns its id.
  Util::U32 Write(const Texture& plan);
  Util::U32 Write(const Appearance& plan);
  Util::U32 Write(const TextureCoords& plan);
  Util::U32 Write(const XSection& plan);
  Util::U32 Write(const FSection& plan);
  Util::U32 Write(const WSection& plan);
  Util::U32 Write(const TrackSegment& plan);
  Util::U32 Write(const TrackDetail& plan);
  Util::U32 Write(const TsoReference& plan);
  Util::U32 Write(const TracksideObject& plan);
  Util::U32 Write(const Track& plan);

  // Offset of the first body byte of an object written by this builder.
  std::size_t BodyOffset(Util::U32 id) const;

  ByteBuilder& Image() { return Bytes; }
  const std::vector<unsigned char>& Data() const { return Bytes.Data(); }
  std::size_t Size() const { return Bytes.Size(); }

  // A .ptf track of eight segments around a rounded rectangle, anticlockwise from
  // (0, 0) heading along +x: straights of SmallTrackStraight metres (even segments)
  // and left quarter arcs of radius SmallTrackRadius (odd segments); the last arc ends
  // at (0, 0) with heading 0. Every segment has cross sections at latitudes -10 and
  // +10 (the right one 0.2 m lower), four F-section lines at -12, -6, +6 and +12 with
  // surface codes 4, 1, 4, 4 (strips grass, asphalt, grass), and walls at -13 (code
  // 2049, concrete) and +13 (code 2051, tyres). The asphalt lines share one textured
  // appearance and its texture; the track has one detail and one trackside-object
  // reference to a trackside object. Versions vary between segments so that every
  // layout of every kind is present.
  static N4PtfBuilder SmallTrack();
  static constexpr double SmallTrackStraight = 100.0;
  static constexpr double SmallTrackRadius = 50.0;
  static constexpr int SmallTrackSegments = 8;

  // The centre line of one segment of a PlainTrack: ends, headings, arc or straight.
  struct SegmentEnds {
    double StartX = 0.0, StartY = 0.0, StartOrientation = 0.0;
    double EndX = 0.0, EndY = 0.0, EndOrientation = 0.0;
    bool Arc = false;
  };
  // A .ptf track of version-1 segments with these centre lines and nothing else to
  // vary: level cross sections at latitudes -10 and +10 (altitude 0), four
  // untextured F-section lines at -12, -6, +6 and +12 with the given surface codes
  // (the strips between them take the codes of their right lines), no walls, no
  // details and no trackside objects.
  static N4PtfBuilder PlainTrack(const std::vector<SegmentEnds>& segments,
                                 const std::array<Util::U32, 4>& surface_codes = {4, 1, 4, 4});

private:
  void Layers(const std::vector<Layer>& layers, bool wall);

  ByteBuilder Bytes;
  Util::U32 Counter = 0;
  std::map<std::string, Util::U32> Classes;
  std::map<Util::U32, std::size_t> Bodies;
};

// Reference writers for the plan structs' N4Ref fields.
N4Ref Existing(Util::U32 id);
// Writes the object through make at its first use and a back-reference to it after.
N4Ref Shared(N4Ref make);
template <class Plan>
N4Ref Make(Plan plan) {
  return [plan = std::move(plan)](N4PtfBuilder& builder) { return builder.Write(plan); };
}

} // namespace Ostra::Test
