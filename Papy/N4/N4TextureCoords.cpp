#include "Papy/N4/N4TextureCoords.h"

#include <bit>
#include <limits>

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 F64Size = 8;
// The byte sizes of the arrays are U32: a larger vertex count cannot be stored.
constexpr U32 MaxVertexCount = std::numeric_limits<U32>::max() / F64Size;

// Reads size bytes of F64 values with one stream read; the length is checked against
// the bytes left before anything is allocated.
std::vector<double> ReadF64Array(Util::BinaryStream& stream, U32 size) {
  const std::vector<unsigned char> bytes = Util::ReadBytes(stream, size);
  std::vector<double> values(size / F64Size);
  for (std::size_t i = 0; i < values.size(); ++i)
    values[i] = std::bit_cast<double>(Util::LoadU64(bytes.data() + i * F64Size));
  return values;
}

} // namespace

void ThreeDObjectTextureCoords::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  visitor.VisitTextureCoords(*this);
}

N4TextureCoords::N4TextureCoords(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 ptf TextureCoords reserved0 not 1");
  reader.ExpectU32(0, "N4 ptf TextureCoords reserved1 not 0");
  reader.ExpectU32(1, "N4 ptf TextureCoords reserved2 not 1");
  VertexCount = Util::ReadU32(stream);
  if (VertexCount > MaxVertexCount)
    reader.Fail("N4 ptf TextureCoords vertex count too large");
  reader.ExpectU32(3, "N4 ptf TextureCoords reserved3 not 3");
  const U32 array_bytes = VertexCount * F64Size;

  U32 array_size = Util::ReadU32(stream);
  UTIL_ASSERT_TEXT(array_size == 0 || array_size == array_bytes,
                   "array_size == 0 || array_size == VertexCount * sizeof(F64)");
  const bool has_texture_vertices = array_size != 0;
  const std::vector<double> u = ReadF64Array(stream, array_size);
  array_size = Util::ReadU32(stream);
  UTIL_ASSERT_TEXT(array_size == (has_texture_vertices ? array_bytes : 0),
                   "array_size == has_texture_vertices * VertexCount * sizeof(F64)");
  if (has_texture_vertices) {
    const std::vector<double> v = ReadF64Array(stream, array_size);
    TextureVertices.resize(VertexCount);
    for (U32 i = 0; i < VertexCount; ++i)
      TextureVertices[i] = Point2D(u[i], v[i]);
  }

  for (U32 channel = 0; channel < ChannelCount; ++channel) {
    array_size = Util::ReadU32(stream);
    if (array_size == 0)
      continue;
    ChannelIds.push_back(channel);
    UTIL_ASSERT_TEXT(array_size == array_bytes, "array_size == VertexCount * sizeof(F64)");
    const std::vector<double> values = ReadF64Array(stream, array_size);
    ChannelValues.insert(ChannelValues.end(), values.begin(), values.end());
  }
}

S32 N4TextureCoords::GetInteger(unsigned index) const {
  UTIL_ASSERT(index < ChannelIds.size());
  return static_cast<S32>(ChannelIds[index]);
}

double N4TextureCoords::GetDouble(unsigned index) const {
  UTIL_ASSERT(index < ChannelValues.size());
  return ChannelValues[index];
}

Point2D N4TextureCoords::GetTextureVertex(int index) const {
  UTIL_ASSERT(index >= 0 && static_cast<std::size_t>(index) < TextureVertices.size());
  return TextureVertices[static_cast<std::size_t>(index)];
}

void N4TextureCoords::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverTextureCoords::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, VertexCount);
  Util::WriteU32(stream, 3);

  const U32 texture_bytes = static_cast<U32>(TextureVertices.size()) * F64Size;
  Util::WriteU32(stream, texture_bytes);
  for (const Point2D& vertex : TextureVertices)
    Util::WriteF64(stream, vertex.X);
  Util::WriteU32(stream, texture_bytes);
  for (const Point2D& vertex : TextureVertices)
    Util::WriteF64(stream, vertex.Y);

  std::size_t cursor = 0;
  std::size_t value = 0;
  for (U32 channel = 0; channel < ChannelCount; ++channel) {
    if (cursor < ChannelIds.size() && ChannelIds[cursor] == channel) {
      Util::WriteU32(stream, VertexCount * F64Size);
      for (U32 i = 0; i < VertexCount; ++i)
        Util::WriteF64(stream, ChannelValues[value++]);
      ++cursor;
    } else {
      Util::WriteU32(stream, 0);
    }
  }
}

const N4ArchiverTextureCoords& N4ArchiverTextureCoords::Instance() {
  static const N4ArchiverTextureCoords* const instance = new N4ArchiverTextureCoords;
  return *instance;
}

} // namespace Ostra::Papy
