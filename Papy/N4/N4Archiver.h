#pragma once

#include "Util/CountedPtr.h"
#include "Util/Types.h"

#include <map>
#include <string>
#include <vector>

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

class N4Archiver;
class N4TdoFile;
class ThreeDObject;

// The archiver of one object kind: it names the kind's descriptor and makes an object
// of the kind by reading its body. One prototype per kind lives for the whole run.
template <class OwnerT>
class N4ArchivedType {
public:
  virtual ~N4ArchivedType() = default;

  // The kind's descriptor name as stored in archives ("AppearanceDescriptor", ...).
  virtual const char* GetDescriptorName() const = 0;

  // Reads the body of a new object of this kind from reader's stream (the object's
  // id word stands at position) and stores the object in owner under id.
  virtual void Create(N4Archiver& reader, U32 id, S64 position, OwnerT& owner) const = 0;
};

using N4ArchiverList = std::vector<const N4ArchivedType<N4TdoFile>*>;

// Archiver of a kind whose implementation ObjectT has the reading constructor
// ObjectT(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position).
// A kind derives its archiver from this and names its descriptor, e.g.
//
//   class N4ArchiverTexture final : public N4ArchiverOf<N4Texture> {
//   public:
//     static const N4ArchiverTexture& Instance();  // made on first use, never freed
//     const char* GetDescriptorName() const override { return "TextureDescriptor"; }
//   };
template <class ObjectT>
class N4ArchiverOf : public N4ArchivedType<N4TdoFile> {
public:
  void Create(N4Archiver& reader, U32 id, S64 position, N4TdoFile& owner) const override;
};

// Format notes: the typed-object archive (.3do and .ptf files).
// - All values little-endian, no padding. A file is one object reference (the top
//   object, id 1) and must end right after that object's body.
// - Object reference: U32 id. 0 is the null object; an id below the counter refers
//   back to an object already read; an id equal to the counter introduces a new
//   object and is followed by its U32 class id, which either refers back to a class
//   already introduced or equals the counter and introduces a new class: U32 name
//   length (NUL included) and the NUL-terminated descriptor name. The new object's
//   body follows at once and holds its own references, read depth first.
// - Object and class ids share ONE counter that starts at 1 and goes up by one for
//   every new object and every new class, in stream order.
// - String: U32 length L (0 = empty, no bytes), else L bytes ending in a NUL.
// - Arrays are stored by the kinds themselves: a U32 count where not known from
//   another field, a U32 byte size (count times element size; for reference arrays
//   count times 4 whatever the bodies that follow), then the elements.
//
// The state of one read or one write pass over an archive. Object readers and writers
// reach it through their owner's N4TdoFile::GetArchive.
class N4Archiver {
public:
  // A file nests no deeper than this many objects; deeper nesting is a damaged or
  // hostile file and would otherwise exhaust the stack.
  static constexpr unsigned MaxNesting = 256;
  // Longest string body, terminator included.
  static constexpr U32 MaxStringLength = 1024 * 1024;

  explicit N4Archiver(const N4ArchiverList& archivers);
  N4Archiver(const N4Archiver&) = delete;
  N4Archiver& operator=(const N4Archiver&) = delete;

  // --- Reading ---

  // Reads the top object of the whole stream from its current position and checks
  // that nothing follows it. Returns its id.
  // Throws XFileFormat ("N4 archive ..."), XFileRead, XAssertion.
  U32 ReadRoot(Util::BinaryStream& stream, N4TdoFile& owner);

  // Reads one object reference and, when it introduces an object, the object's body
  // (stored in the owner before this returns). Returns the id; 0 is the null object.
  // Throws XFileFormat "N4 archive object id error", "N4 archive object class id
  // error", "N4 archive unknown descriptor <name>"; XFileRead; XAssertion.
  U32 ReadObjectReference();

  Util::BinaryStream& GetStream() const;
  N4TdoFile& GetOwner() const;

  // Throws XFileFormat(stream name, message).
  [[noreturn]] void Fail(const std::string& message) const;
  // Reads a U32 that must equal expected, else Fail(message).
  void ExpectU32(U32 expected, const std::string& message);
  // Reads a U32 version that must lie in [lowest, highest], else Fail(message).
  U32 ReadVersion(U32 lowest, U32 highest, const std::string& message);
  // Reads a U32 byte size that must equal count * element_size, else Fail(message).
  // On success at least that many bytes are left in the stream (else XFileRead), so
  // the caller may allocate count elements.
  void ReadByteSize(U64 count, U32 element_size, const std::string& message);
  // Throws XFileRead unless count elements of element_size bytes can still follow.
  // Call before allocating or looping over a count read from the file.
  void RequireElements(U64 count, U32 element_size) const;
  // Reads a U32 element count and RequireElements(count, element_size).
  U32 ReadCount(U32 element_size);

  // Used by N4ArchiverOf: stores an object that has been read completely.
  void AddObject(const CountedPtr<ThreeDObject>& object);

  // --- Writing ---

  // Starts a write pass on stream.
  void BeginWrite(Util::BinaryStream& stream);

  // Writes the reference that introduces object (its id, class id and, for a class
  // new to this pass, its descriptor name) and records the object's stream position
  // in position. Returns true when the object's body must follow; false when the
  // object was written before in this pass, in which case only its id was written.
  bool WriteObjectHeader(const ThreeDObject& object,
                         const N4ArchivedType<N4TdoFile>& archiver, S64& position);

  // The id counter: the last id handed out while writing, the next id expected while
  // reading.
  U32 GetCounter() const { return Counter; }

private:
  const N4ArchivedType<N4TdoFile>* FindArchiver(const std::string& descriptor) const;

  N4TdoFile* Owner = nullptr;
  Util::BinaryStream* Stream = nullptr;
  U32 Counter = 0;
  N4ArchiverList Archivers;
  std::map<U32, const N4ArchivedType<N4TdoFile>*> LoadClassMap;
  std::map<const N4ArchivedType<N4TdoFile>*, U32> SaveClassMap;
  std::map<const ThreeDObject*, U32> SaveObjectMap;
  // Ids of the objects whose bodies are being read, outermost first.
  std::vector<U32> Reading;
};

// The archive's string encoding. ReadString throws XAssertion for a length above
// N4Archiver::MaxStringLength or a body without a final NUL, XFileRead when the
// stream ends early. The value is the first L - 1 bytes, inner NULs included.
std::string ReadString(Util::BinaryStream& stream);
void WriteString(Util::BinaryStream& stream, const std::string& text);

template <class ObjectT>
void N4ArchiverOf<ObjectT>::Create(N4Archiver& reader, U32 id, S64 position,
                                   N4TdoFile& owner) const {
  reader.AddObject(CountedPtr<ThreeDObject>(new ObjectT(owner, reader, id, position)));
}

} // namespace Ostra::Papy
