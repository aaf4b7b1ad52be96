#include "Papy/N4/N4Archiver.h"

#include "Papy/N4/N4TdoFile.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Ostra::Papy {

namespace {

constexpr const char* ObjectIdError = "N4 archive object id error";
constexpr const char* ClassIdError = "N4 archive object class id error";
constexpr const char* UnknownDescriptor = "N4 archive unknown descriptor ";
constexpr const char* SizeMismatch = "N4 archive size mismatch";
constexpr const char* NestedTooDeeply = "N4 archive objects nested too deeply";

} // namespace

N4Archiver::N4Archiver(const N4ArchiverList& archivers) : Archivers(archivers) {}

U32 N4Archiver::ReadRoot(Util::BinaryStream& stream, N4TdoFile& owner) {
  Stream = &stream;
  Owner = &owner;
  LoadClassMap.clear();
  SaveClassMap.clear();
  SaveObjectMap.clear();
  Reading.clear();
  Counter = 1;
  const U32 id = ReadObjectReference();
  if (!stream.AtEnd())
    Fail(SizeMismatch);
  return id;
}

U32 N4Archiver::ReadObjectReference() {
  UTIL_ASSERT(Stream && Owner);
  const S64 position = Stream->Tell();
  const U32 id = Util::ReadU32(*Stream);
  if (id > Counter)
    Fail(ObjectIdError);
  if (id < Counter) {
    // A reference back must name an object that has been read completely: a class id
    // would only fail later, at first use, and an object still being read would make
    // the graph cyclic, so that walking it would never end.
    if (id != N4TdoFile::NullId && !Owner->HasSubObject(id))
      Fail(ObjectIdError);
    return id;
  }
  if (Counter == std::numeric_limits<U32>::max())
    Fail(ObjectIdError);
  if (Reading.size() >= MaxNesting)
    Fail(NestedTooDeeply);
  ++Counter;

  const U32 class_id = Util::ReadU32(*Stream);
  if (class_id > Counter)
    Fail(ClassIdError);
  if (class_id == Counter) {
    UTIL_ASSERT_TEXT(LoadClassMap.find(class_id) == LoadClassMap.end(), "p == LoadClassMap.end()");
    if (Counter == std::numeric_limits<U32>::max())
      Fail(ClassIdError);
    ++Counter;
    const U32 length = Util::ReadU32(*Stream);
    const std::vector<unsigned char> bytes = Util::ReadBytes(*Stream, length);
    const auto end = std::find(bytes.begin(), bytes.end(), '\0');
    const std::string name(bytes.begin(), end);
    const N4ArchivedType<N4TdoFile>* archiver = FindArchiver(name);
    if (!archiver)
      Fail(UnknownDescriptor + name);
    LoadClassMap[class_id] = archiver;
  }
  const auto p = LoadClassMap.find(class_id);
  UTIL_ASSERT_TEXT(p != LoadClassMap.end(), "p != LoadClassMap.end()");

  Reading.push_back(id);
  p->second->Create(*this, id, position, *Owner);
  Reading.pop_back();
  return id;
}

Util::BinaryStream& N4Archiver::GetStream() const {
  UTIL_ASSERT(Stream);
  return *Stream;
}

N4TdoFile& N4Archiver::GetOwner() const {
  UTIL_ASSERT(Owner);
  return *Owner;
}

void N4Archiver::Fail(const std::string& message) const {
  throw Util::XFileFormat(GetStream().Name(), message);
}

void N4Archiver::ExpectU32(U32 expected, const std::string& message) {
  if (Util::ReadU32(GetStream()) != expected)
    Fail(message);
}

U32 N4Archiver::ReadVersion(U32 lowest, U32 highest, const std::string& message) {
  const U32 version = Util::ReadU32(GetStream());
  if (version < lowest || version > highest)
    Fail(message);
  return version;
}

void N4Archiver::ReadByteSize(U64 count, U32 element_size, const std::string& message) {
  const U32 size = Util::ReadU32(GetStream());
  // count * element_size cannot overflow 64 bits for a 32-bit count.
  if (count > std::numeric_limits<U32>::max() ||
      static_cast<U64>(size) != count * element_size)
    Fail(message);
  RequireElements(count, element_size);
}

void N4Archiver::RequireElements(U64 count, U32 element_size) const {
  if (element_size != 0 && count > static_cast<U64>(GetStream().Remaining()) / element_size)
    throw Util::XFileRead(GetStream().Name());
}

U32 N4Archiver::ReadCount(U32 element_size) {
  const U32 count = Util::ReadU32(GetStream());
  RequireElements(count, element_size);
  return count;
}

void N4Archiver::AddObject(const CountedPtr<ThreeDObject>& object) { GetOwner().AddSubObject(object); }

void N4Archiver::BeginWrite(Util::BinaryStream& stream) {
  Stream = &stream;
  LoadClassMap.clear();
  SaveClassMap.clear();
  SaveObjectMap.clear();
  Reading.clear();
  Counter = 0;
}

bool N4Archiver::WriteObjectHeader(const ThreeDObject& object,
                                   const N4ArchivedType<N4TdoFile>& archiver, S64& position) {
  Util::BinaryStream& stream = GetStream();
  const auto found = SaveObjectMap.find(&object);
  if (found != SaveObjectMap.end()) {
    Util::WriteU32(stream, found->second);
    return false;
  }
  const U32 id = ++Counter;
  position = stream.Tell();
  Util::WriteU32(stream, id);
  SaveObjectMap.emplace(&object, id);

  const auto known = SaveClassMap.find(&archiver);
  if (known != SaveClassMap.end()) {
    Util::WriteU32(stream, known->second);
  } else {
    const U32 class_id = ++Counter;
    Util::WriteU32(stream, class_id);
    SaveClassMap.emplace(&archiver, class_id);
    const char* name = archiver.GetDescriptorName();
    const std::size_t length = std::strlen(name) + 1;
    Util::WriteU32(stream, static_cast<U32>(length));
    stream.Write(static_cast<U32>(length), name);
  }
  return true;
}

const N4ArchivedType<N4TdoFile>* N4Archiver::FindArchiver(const std::string& descriptor) const {
  for (const N4ArchivedType<N4TdoFile>* archiver : Archivers)
    if (descriptor == archiver->GetDescriptorName())
      return archiver;
  return nullptr;
}

std::string ReadString(Util::BinaryStream& stream) {
  const U32 length = Util::ReadU32(stream);
  if (length == 0)
    return {};
  UTIL_ASSERT_TEXT(length <= N4Archiver::MaxStringLength, "length <= 1024L * 1024L");
  const std::vector<unsigned char> bytes = Util::ReadBytes(stream, length);
  UTIL_ASSERT_TEXT(bytes[length - 1] == 0, "buffer[length - 1] == 0");
  return std::string(bytes.begin(), bytes.end() - 1);
}

void WriteString(Util::BinaryStream& stream, const std::string& text) {
  if (text.empty()) {
    Util::WriteU32(stream, 0);
    return;
  }
  // A longer string would write a file that no reader accepts.
  UTIL_ASSERT(text.size() < N4Archiver::MaxStringLength);
  const U32 length = static_cast<U32>(text.size() + 1);
  Util::WriteU32(stream, length);
  stream.Write(length, text.c_str());
}

} // namespace Ostra::Papy
