#include "Papy/N4/N4TsoReference.h"

#include <algorithm>

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 EarlyVersion = 1;
constexpr U32 LateVersion = 6;
constexpr U32 EntrySize = N4TsoReference::NameSize + 8;

// Where each value of the file goes among Value1 to Value6 (0-based): the file holds
// them as Value1, Value2, Value3, Value6, Value5, Value4.
constexpr std::array<unsigned, 6> FileOrder = {0, 1, 2, 5, 4, 3};

template <std::size_t Size>
std::string NameText(const std::array<char, Size>& field) {
  return std::string(field.begin(), std::find(field.begin(), field.end(), '\0'));
}

} // namespace

void ThreeDObjectTsoReference::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterTsoReference(*this))
    GetReferencedObject()->Accept(visitor);
  visitor.LeaveTsoReference(*this);
}

N4TsoReference::N4TsoReference(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 ptf TsoReference reserved0 not 1");
  reader.ExpectU32(0, "N4 ptf TsoReference reserved1 not 0");
  Version = Util::ReadU32(stream);
  if (Version != EarlyVersion && Version != LateVersion)
    reader.Fail("N4 ptf TsoReference unsupported version");
  for (const unsigned value : FileOrder)
    Values[value] = Util::ReadF64(stream);
  ReferenceId = reader.ReadObjectReference();
  if (Version == EarlyVersion)
    return;

  WindDirection = Util::ReadU32(stream);
  if (WindDirection > 1)
    reader.Fail("N4 ptf TsoReference unknown wind direction");
  BlockByte = Util::ReadU8(stream);
  if (BlockByte == 0) {
    stream.Read(NameSize, BlockName.data());
    BlockInteger = Util::ReadU32(stream);
    BlockValue = Util::ReadF32(stream);
    BlockMode = Util::ReadU32(stream);
  }
  const U32 entry_count = reader.ReadCount(EntrySize);
  Entries.resize(entry_count);
  for (Entry& entry : Entries) {
    stream.Read(NameSize, entry.Name.data());
    entry.Integer = Util::ReadU32(stream);
    entry.Value = Util::ReadF32(stream);
  }
  Label = ReadString(stream);
}

std::string N4TsoReference::GetBlockName() const { return NameText(BlockName); }

int N4TsoReference::GetBlockMode() const { return BlockMode <= 1 ? static_cast<int>(BlockMode) : 2; }

void N4TsoReference::SetWindDirection(bool wind_direction) {
  if (Version == EarlyVersion)
    return;
  WindDirection = wind_direction ? 1 : 0;
}

std::string N4TsoReference::GetEntryName(unsigned index) const {
  UTIL_ASSERT(index < Entries.size());
  return NameText(Entries[index].Name);
}

U32 N4TsoReference::GetEntryInteger(unsigned index) const {
  UTIL_ASSERT(index < Entries.size());
  return Entries[index].Integer;
}

F32 N4TsoReference::GetEntryValue(unsigned index) const {
  UTIL_ASSERT(index < Entries.size());
  return Entries[index].Value;
}

void N4TsoReference::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverTsoReference::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, Version);
  for (const unsigned value : FileOrder)
    Util::WriteF64(stream, Values[value]);
  WriteReference(stream, ReferenceId);
  if (Version == EarlyVersion)
    return;

  Util::WriteU32(stream, WindDirection);
  Util::WriteU8(stream, BlockByte);
  if (BlockByte == 0) {
    stream.Write(NameSize, BlockName.data());
    Util::WriteU32(stream, BlockInteger);
    Util::WriteF32(stream, BlockValue);
    Util::WriteU32(stream, BlockMode);
  }
  Util::WriteU32(stream, static_cast<U32>(Entries.size()));
  for (const Entry& entry : Entries) {
    stream.Write(NameSize, entry.Name.data());
    Util::WriteU32(stream, entry.Integer);
    Util::WriteF32(stream, entry.Value);
  }
  WriteString(stream, Label);
}

const N4ArchiverTsoReference& N4ArchiverTsoReference::Instance() {
  static const N4ArchiverTsoReference* const instance = new N4ArchiverTsoReference;
  return *instance;
}

} // namespace Ostra::Papy
