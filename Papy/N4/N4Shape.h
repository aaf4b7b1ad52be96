#pragma once

#include <string>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectShape.h"

namespace Ostra::Papy {

// Format notes: shape body, after the object reference.
//   U32 1, string name, U32 1, U32 1, geometry reference, appearance reference.
// Archives holding shapes are written but not read by the editor (the descriptor is
// not registered for reading); the kinds behind the references are not checked.
class N4Shape final : public ThreeDObjectShape, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 3do Shape ..." and the archive's errors.
  N4Shape(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);
  // The archive position is 0 until the shape is written.
  N4Shape(N4TdoFile& owner, U32 id, const std::string& name, U32 geometry_id, U32 appearance_id);

  std::string GetTypeName() const override { return "Shape"; }
  std::string GetName() const override { return Name; }
  void SetName(const std::string& name) override { Name = name; }
  void Write(Util::BinaryStream& stream, int reserved) override;

  CountedPtr<ThreeDObject> GetGeometry() const override { return Resolve(Geometry); }
  CountedPtr<ThreeDObject> GetAppearance() const override { return Resolve(Appearance); }

private:
  std::string Name;
  U32 Geometry = 0;
  U32 Appearance = 0;
};

class N4ArchiverShape final : public N4ArchiverOf<N4Shape> {
public:
  // Made on first use, never freed.
  static const N4ArchiverShape& Instance();
  const char* GetDescriptorName() const override { return "ShapeDescriptor"; }
};

} // namespace Ostra::Papy
