#include "Papy/N4/N4TriList.h"

#include <limits>

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {
constexpr U32 IndexSize = 4;
// The byte count is a U32, and the interface counts indices in an int.
constexpr U32 MaxIndexCount = std::numeric_limits<S32>::max() / IndexSize;
} // namespace

void ThreeDObjectTriangles::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  visitor.VisitTriangles(*this);
}

N4TriList::N4TriList(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 3do TriList reserved0 not 1");
  reader.ExpectU32(0, "N4 3do TriList reserved1 not 0");
  reader.ExpectU32(1, "N4 3do TriList reserved2 not 1");
  reader.ExpectU32(0, "N4 3do TriList reserved3 not 0");
  reader.ExpectU32(1, "N4 3do TriList reserved4 not 1");
  const U32 vertex_count = Util::ReadU32(stream);
  if (vertex_count % 3 != 0)
    reader.Fail("N4 tdo TriList vertex count % 3 not zero");
  if (vertex_count > MaxIndexCount)
    reader.Fail("N4 3do TriList vertex count too large");
  const U32 byte_count = Util::ReadU32(stream);
  UTIL_ASSERT(byte_count == vertex_count * sizeof(U32));
  reader.RequireElements(vertex_count, IndexSize);
  Indices.resize(vertex_count);
  for (U32& index : Indices)
    index = Util::ReadU32(stream);
}

N4TriList::N4TriList(N4TdoFile& owner, U32 id, const std::vector<U32>& indices)
    : N4Object(owner, id, 0), Indices(indices) {
  UTIL_ASSERT(Indices.size() <= MaxIndexCount);
}

U32 N4TriList::GetVertexIndex(int index) const {
  UTIL_ASSERT(index >= 0 && static_cast<std::size_t>(index) < Indices.size());
  return Indices[static_cast<std::size_t>(index)];
}

void N4TriList::SetVertexIndex(int index, U32 value) {
  UTIL_ASSERT(index >= 0 && static_cast<std::size_t>(index) < Indices.size());
  Indices[static_cast<std::size_t>(index)] = value;
}

void N4TriList::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverTriList::Instance()))
    return;
  for (const U32 word : {1u, 0u, 1u, 0u, 1u})
    Util::WriteU32(stream, word);
  const U32 count = static_cast<U32>(Indices.size());
  Util::WriteU32(stream, count);
  Util::WriteU32(stream, count * IndexSize);
  for (const U32 index : Indices)
    Util::WriteU32(stream, index);
}

const N4ArchiverTriList& N4ArchiverTriList::Instance() {
  static const N4ArchiverTriList* const instance = new N4ArchiverTriList;
  return *instance;
}

} // namespace Ostra::Papy
