#pragma once

#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectTriangles.h"

namespace Ostra::Papy {

// Format notes: triangle-list body, after the object reference.
//   U32 1, U32 0, U32 1, U32 0, U32 1,
//   U32 index count n (a multiple of 3), U32 byte count 4 n, n U32 indices.
// Written but not read by the editor. The writer does not insist on whole triangles.
class N4TriList final : public ThreeDObjectTriangles, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 3do TriList ..." (and "N4 tdo TriList vertex
  // count % 3 not zero"), XAssertion for a byte count other than 4 n, XFileRead for a
  // short stream.
  N4TriList(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);
  // The archive position is 0 until the list is written.
  N4TriList(N4TdoFile& owner, U32 id, const std::vector<U32>& indices);

  std::string GetTypeName() const override { return "TriList"; }
  void Write(Util::BinaryStream& stream, int reserved) override;

  int GetVertexCount() const override { return static_cast<int>(Indices.size()); }
  U32 GetVertexIndex(int index) const override;
  void SetVertexIndex(int index, U32 value) override;

private:
  std::vector<U32> Indices;
};

class N4ArchiverTriList final : public N4ArchiverOf<N4TriList> {
public:
  // Made on first use, never freed.
  static const N4ArchiverTriList& Instance();
  const char* GetDescriptorName() const override { return "TriListDescriptor"; }
};

} // namespace Ostra::Papy
