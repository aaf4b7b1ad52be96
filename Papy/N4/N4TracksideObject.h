#pragma once

#include <string>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectTracksideObject.h"

namespace Ostra::Papy {

// Format notes: trackside-object body, after the object reference.
//   U32 1, U32 0, U32 version (2 or 3), string, string, version 3: U8 flag.
class N4TracksideObject final : public ThreeDObjectTracksideObject, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 ptf TracksideObject ..." and the archive's
  // errors.
  N4TracksideObject(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);

  std::string GetTypeName() const override { return "TSO"; }
  void Write(Util::BinaryStream& stream, int reserved) override;

  std::string GetFirstString() const override { return FirstString; }
  std::string GetSecondString() const override { return SecondString; }
  bool GetFlag() const override { return Flag > 0; }

  U32 GetVersion() const { return Version; }

private:
  U32 Version = 0;
  std::string FirstString;
  std::string SecondString;
  U8 Flag = 0;
};

class N4ArchiverTracksideObject final : public N4ArchiverOf<N4TracksideObject> {
public:
  // Made on first use, never freed.
  static const N4ArchiverTracksideObject& Instance();
  const char* GetDescriptorName() const override { return "TSODescriptor"; }
};

} // namespace Ostra::Papy
