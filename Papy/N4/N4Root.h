#pragma once

#include "Papy/N4/ThreeDObjectRoot.h"

namespace Ostra::Papy {

class N4TdoFile;

// The root of an N4TdoFile: one child, resolved through the owner on each request.
// It is not stored in the archive.
class N4Root final : public ThreeDObjectRoot {
public:
  N4Root(N4TdoFile& owner, U32 id, U32 child_id) : Owner(&owner), Id(id), ChildId(child_id) {}

  unsigned GetChildCount() const override { return 1; }
  // Any index gives the one child.
  CountedPtr<ThreeDObject> GetChild(unsigned index) const override;

  U32 GetId() const override { return Id; }
  // Throws XAssertion("false"): the root has no place in the archive.
  S64 GetArchivePosition() const override;
  std::string GetTypeName() const override { return {}; }
  // Writes the child; nothing of its own.
  void Write(Util::BinaryStream& stream, int reserved) override;
  void Hook() override {}

private:
  N4TdoFile* Owner;
  U32 Id;
  U32 ChildId;
};

} // namespace Ostra::Papy
