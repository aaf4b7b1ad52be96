#pragma once

#include "Papy/N4/ThreeDObject.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class N4TdoFile;
template <class OwnerT>
class N4ArchivedType;

// Members shared by the object kinds of an N4TdoFile: the owner, the id and the
// archive position, and the helpers that resolve and write references. A kind mixes
// it in beside its interface:
//
//   class N4Texture final : public ThreeDObjectTexture2, public N4Object { ... };
//
// and its GetId and GetArchivePosition come from here.
class N4Object : public virtual ThreeDObject {
public:
  U32 GetId() const override { return Id; }
  S64 GetArchivePosition() const override { return ArchivePosition; }

protected:
  N4Object(N4TdoFile& owner, U32 id, S64 position)
      : Owner(&owner), Id(id), ArchivePosition(position) {}

  // The object with that id in the owner; the null object for 0. Throws XAssertion
  // for an id the owner does not hold.
  CountedPtr<ThreeDObject> Resolve(U32 id) const;
  // Writes the reference (and, the first time, the body) of the object with that id.
  void WriteReference(Util::BinaryStream& stream, U32 id) const;
  // Writes this object's header to the owner's write pass and records the position.
  // True when the body must follow.
  bool WriteHeader(const N4ArchivedType<N4TdoFile>& archiver);

  N4TdoFile* Owner;
  U32 Id;
  S64 ArchivePosition;
};

} // namespace Ostra::Papy
