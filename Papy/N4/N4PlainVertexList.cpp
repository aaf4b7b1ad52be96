#include "Papy/N4/N4PlainVertexList.h"

#include <array>
#include <bit>
#include <limits>
#include <span>

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 F64Size = 8;
// The byte sizes of the arrays are U32: a larger vertex count cannot be stored.
constexpr U32 MaxVertexCount = std::numeric_limits<U32>::max() / F64Size;

// The value channels, in file order around the second texture-vertex set.
constexpr std::array<U32, 18> FirstChannels = {0, 1, 2,  3,  4,  5,  6,  7,  8,
                                               9, 10, 11, 12, 13, 14, 15, 16, 17};
constexpr std::array<U32, 2> LastChannels = {20, 21};

// Reads one array whose byte size has been checked; the length is checked against the
// bytes left before anything is allocated, and the array comes in one stream read.
std::vector<double> ReadF64Array(Util::BinaryStream& stream, U32 size) {
  const std::vector<unsigned char> bytes = Util::ReadBytes(stream, size);
  std::vector<double> values(size / F64Size);
  for (std::size_t i = 0; i < values.size(); ++i)
    values[i] = std::bit_cast<double>(Util::LoadU64(bytes.data() + i * F64Size));
  return values;
}

// A full array: its size must be 8 n.
std::vector<double> ReadVertexArray(Util::BinaryStream& stream, U32 vertex_count) {
  const U32 array_size = Util::ReadU32(stream);
  UTIL_ASSERT_TEXT(array_size == static_cast<U64>(vertex_count) * F64Size,
                   "array_size == vertex_count * sizeof(F64)");
  return ReadF64Array(stream, array_size);
}

// Both component arrays, or two sizes of 0 for an absent set.
std::vector<Point2D> ReadTextureVertices(Util::BinaryStream& stream, U32 vertex_count) {
  std::vector<Point2D> vertices;
  const U32 first_size = Util::ReadU32(stream);
  if (first_size == 0) {
    const U32 array_size = Util::ReadU32(stream);
    UTIL_ASSERT_TEXT(array_size == 0, "array_size ==0");
    return vertices;
  }
  UTIL_ASSERT_TEXT(first_size == static_cast<U64>(vertex_count) * F64Size,
                   "array_size == vertex_count * sizeof(F64)");
  const std::vector<double> first = ReadF64Array(stream, first_size);
  const std::vector<double> second = ReadVertexArray(stream, vertex_count);
  vertices.resize(vertex_count);
  for (U32 i = 0; i < vertex_count; ++i)
    vertices[i] = Point2D(first[i], second[i]);
  return vertices;
}

void WriteTextureVertices(Util::BinaryStream& stream, const std::vector<Point2D>& vertices) {
  const U32 size = static_cast<U32>(vertices.size()) * F64Size;
  Util::WriteU32(stream, size);
  for (const Point2D& vertex : vertices)
    Util::WriteF64(stream, vertex.X);
  Util::WriteU32(stream, size);
  for (const Point2D& vertex : vertices)
    Util::WriteF64(stream, vertex.Y);
}

std::size_t CheckedIndex(int index, std::size_t size) {
  UTIL_ASSERT(index >= 0 && static_cast<std::size_t>(index) < size);
  return static_cast<std::size_t>(index);
}

} // namespace

void ThreeDObjectVertices::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  visitor.VisitVertices(*this);
}

N4PlainVertexList::N4PlainVertexList(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 3do PlainVertexList reserved0 not 1");
  reader.ExpectU32(0, "N4 3do PlainVertexList reserved1 not 0");
  reader.ExpectU32(1, "N4 3do PlainVertexList version not supported");
  reader.ExpectU32(1, "N4 3do PlainVertexList reserved3 not 1");
  const U32 vertex_count = Util::ReadU32(stream);
  if (vertex_count > MaxVertexCount)
    reader.Fail("N4 3do PlainVertexList vertex count too large");

  {
    const std::vector<double> x = ReadVertexArray(stream, vertex_count);
    const std::vector<double> y = ReadVertexArray(stream, vertex_count);
    const std::vector<double> z = ReadVertexArray(stream, vertex_count);
    Positions.resize(vertex_count);
    for (U32 i = 0; i < vertex_count; ++i)
      Positions[i] = Point3D(x[i], y[i], z[i]);
  }
  reader.ExpectU32(0, "N4 3do PlainVertexList reserved4 not 0");
  {
    const std::vector<double> x = ReadVertexArray(stream, vertex_count);
    const std::vector<double> y = ReadVertexArray(stream, vertex_count);
    const std::vector<double> z = ReadVertexArray(stream, vertex_count);
    Directions.resize(vertex_count);
    for (U32 i = 0; i < vertex_count; ++i)
      Directions[i] = Direction3D(x[i], y[i], z[i]);
  }
  reader.ExpectU32(3, "N4 3do PlainVertexList reserved5 not 3");

  auto read_channels = [&](std::span<const U32> channels) {
    for (const U32 channel : channels) {
      const U32 array_size = Util::ReadU32(stream);
      if (array_size == 0)
        continue;
      ChannelIds.push_back(channel);
      UTIL_ASSERT_TEXT(array_size == static_cast<U64>(vertex_count) * F64Size,
                       "array_size == vertex_count * sizeof(F64)");
      const std::vector<double> values = ReadF64Array(stream, array_size);
      ChannelValues.insert(ChannelValues.end(), values.begin(), values.end());
    }
  };
  TextureVertices = ReadTextureVertices(stream, vertex_count);
  read_channels(FirstChannels);
  SecondTextureVertices = ReadTextureVertices(stream, vertex_count);
  read_channels(LastChannels);
}

N4PlainVertexList::N4PlainVertexList(N4TdoFile& owner, U32 id,
                                     const std::vector<Point3D>& positions,
                                     const std::vector<Direction3D>& directions,
                                     const std::vector<Point2D>& texture_vertices,
                                     const std::vector<Point2D>& second_texture_vertices)
    : N4Object(owner, id, 0), Positions(positions), Directions(directions),
      TextureVertices(texture_vertices), SecondTextureVertices(second_texture_vertices) {
  // The writer takes n from the positions for every array.
  UTIL_ASSERT(Positions.size() <= MaxVertexCount);
  UTIL_ASSERT(Directions.size() == Positions.size());
  UTIL_ASSERT(TextureVertices.empty() || TextureVertices.size() == Positions.size());
  UTIL_ASSERT(SecondTextureVertices.empty() || SecondTextureVertices.size() == Positions.size());
}

S32 N4PlainVertexList::GetInteger(unsigned index) const {
  UTIL_ASSERT(index < ChannelIds.size());
  return static_cast<S32>(ChannelIds[index]);
}

double N4PlainVertexList::GetDouble(unsigned index) const {
  UTIL_ASSERT(index < ChannelValues.size());
  return ChannelValues[index];
}

Point3D N4PlainVertexList::GetPosition(int index) const {
  return Positions[CheckedIndex(index, Positions.size())];
}

void N4PlainVertexList::SetPosition(int index, const Point3D& position) {
  Positions[CheckedIndex(index, Positions.size())] = position;
}

Direction3D N4PlainVertexList::GetDirection(int index) const {
  return Directions[CheckedIndex(index, Directions.size())];
}

void N4PlainVertexList::SetDirection(int index, const Direction3D& direction) {
  Directions[CheckedIndex(index, Directions.size())] = direction;
}

Point2D N4PlainVertexList::GetTextureVertex(int index) const {
  return TextureVertices[CheckedIndex(index, TextureVertices.size())];
}

void N4PlainVertexList::SetTextureVertex(int index, const Point2D& vertex) {
  TextureVertices[CheckedIndex(index, TextureVertices.size())] = vertex;
}

Point2D N4PlainVertexList::GetSecondTextureVertex(int index) const {
  return SecondTextureVertices[CheckedIndex(index, SecondTextureVertices.size())];
}

void N4PlainVertexList::SetSecondTextureVertex(int index, const Point2D& vertex) {
  SecondTextureVertices[CheckedIndex(index, SecondTextureVertices.size())] = vertex;
}

void N4PlainVertexList::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverPlainVertexList::Instance()))
    return;
  for (const U32 word : {1u, 0u, 1u, 1u})
    Util::WriteU32(stream, word);
  const U32 vertex_count = static_cast<U32>(Positions.size());
  const U32 array_size = vertex_count * F64Size;
  Util::WriteU32(stream, vertex_count);

  Util::WriteU32(stream, array_size);
  for (const Point3D& p : Positions)
    Util::WriteF64(stream, p.X);
  Util::WriteU32(stream, array_size);
  for (const Point3D& p : Positions)
    Util::WriteF64(stream, p.Y);
  Util::WriteU32(stream, array_size);
  for (const Point3D& p : Positions)
    Util::WriteF64(stream, p.Z);
  Util::WriteU32(stream, 0);

  Util::WriteU32(stream, array_size);
  for (const Direction3D& d : Directions)
    Util::WriteF64(stream, d.X);
  Util::WriteU32(stream, array_size);
  for (const Direction3D& d : Directions)
    Util::WriteF64(stream, d.Y);
  Util::WriteU32(stream, array_size);
  for (const Direction3D& d : Directions)
    Util::WriteF64(stream, d.Z);
  Util::WriteU32(stream, 3);

  // One cursor over the channels read, across both channel groups.
  std::size_t cursor = 0;
  std::size_t value = 0;
  auto write_channels = [&](std::span<const U32> channels) {
    for (const U32 channel : channels) {
      if (cursor < ChannelIds.size() && ChannelIds[cursor] == channel) {
        Util::WriteU32(stream, array_size);
        for (U32 i = 0; i < vertex_count; ++i)
          Util::WriteF64(stream, ChannelValues[value++]);
        ++cursor;
      } else {
        Util::WriteU32(stream, 0);
      }
    }
  };
  WriteTextureVertices(stream, TextureVertices);
  write_channels(FirstChannels);
  WriteTextureVertices(stream, SecondTextureVertices);
  write_channels(LastChannels);
}

const N4ArchiverPlainVertexList& N4ArchiverPlainVertexList::Instance() {
  static const N4ArchiverPlainVertexList* const instance = new N4ArchiverPlainVertexList;
  return *instance;
}

} // namespace Ostra::Papy
