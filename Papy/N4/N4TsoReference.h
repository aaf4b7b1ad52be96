#pragma once

#include <array>
#include <string>
#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectTsoReference.h"

namespace Ostra::Papy {

// Format notes: trackside-object reference body, after the object reference.
//   U32 1, U32 0, U32 version (1 or 6),
//   F64 Value1, Value2, Value3, Value6, Value5, Value4 (this order), object reference;
//   version 6 goes on with: U32 wind direction (0 or 1), U8 block byte; when the block
//   byte is 0, the block: 32 bytes of name, U32 integer, F32 value, U32 mode; then
//   U32 entry count and 40-byte entries {32 bytes of name, U32 integer, F32 value};
//   then the label string.
// A name field's text ends at its first NUL or after 32 bytes. The fields are written
// back byte for byte as read, bytes after the NUL included.
class N4TsoReference final : public ThreeDObjectTsoReference, public N4Object {
public:
  static constexpr unsigned NameSize = 32;

  // Reads the body. Throws XFileFormat "N4 ptf TsoReference ..." and the archive's
  // errors.
  N4TsoReference(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);

  std::string GetTypeName() const override { return "TSOReference"; }
  void Write(Util::BinaryStream& stream, int reserved) override;

  CountedPtr<ThreeDObject> GetReferencedObject() const override { return Resolve(ReferenceId); }
  bool HasBlock() const override { return BlockByte == 0; }
  std::string GetBlockName() const override;
  int GetBlockMode() const override;
  U32 GetBlockInteger() const override { return BlockInteger; }
  F32 GetBlockValue() const override { return BlockValue; }
  double GetValue1() const override { return Values[0]; }
  void SetValue1(double value) override { Values[0] = value; }
  double GetValue2() const override { return Values[1]; }
  void SetValue2(double value) override { Values[1] = value; }
  double GetValue3() const override { return Values[2]; }
  void SetValue3(double value) override { Values[2] = value; }
  bool GetWindDirection() const override { return WindDirection != 0; }
  void SetWindDirection(bool wind_direction) override;
  double GetValue4() const override { return Values[3]; }
  void SetValue4(double value) override { Values[3] = value; }
  double GetValue5() const override { return Values[4]; }
  void SetValue5(double value) override { Values[4] = value; }
  double GetValue6() const override { return Values[5]; }
  void SetValue6(double value) override { Values[5] = value; }
  unsigned GetEntryCount() const override { return static_cast<unsigned>(Entries.size()); }
  std::string GetEntryName(unsigned index) const override;
  U32 GetEntryInteger(unsigned index) const override;
  F32 GetEntryValue(unsigned index) const override;
  bool HasLabel() const override { return !Label.empty(); }
  std::string GetLabel() const override { return Label; }

  U32 GetVersion() const { return Version; }

private:
  using NameField = std::array<char, NameSize>;
  struct Entry {
    NameField Name{};
    U32 Integer = 0;
    F32 Value = 0.0f;
  };

  U32 Version = 0;
  U32 ReferenceId = 0;
  // Value1 to Value6, in the order of their accessors.
  std::array<double, 6> Values{};
  U8 BlockByte = 1;
  NameField BlockName{};
  U32 BlockInteger = 0;
  F32 BlockValue = 0.0f;
  U32 BlockMode = 0;
  U32 WindDirection = 0;
  std::string Label;
  std::vector<Entry> Entries;
};

class N4ArchiverTsoReference final : public N4ArchiverOf<N4TsoReference> {
public:
  // Made on first use, never freed.
  static const N4ArchiverTsoReference& Instance();
  const char* GetDescriptorName() const override { return "TSOReferenceDescriptor"; }
};

} // namespace Ostra::Papy
