#pragma once

// Two small object kinds that exercise the archive without the real ones: a node
// holding a number and a list of child references, and a named leaf.

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/N4TdoFile.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"

#include <string>
#include <vector>

namespace Ostra::Papy::ArchiveFakes {

class FakeNode final : public N4Object {
public:
  FakeNode(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
      : N4Object(owner, id, position) {
    Value = Util::ReadU32(reader.GetStream());
    const U32 count = reader.ReadCount(4);
    for (U32 i = 0; i < count; ++i)
      Children.push_back(reader.ReadObjectReference());
  }
  FakeNode(N4TdoFile& owner, U32 id, U32 value, std::vector<U32> children)
      : N4Object(owner, id, 0), Value(value), Children(std::move(children)) {}

  std::string GetTypeName() const override { return "FakeNode"; }
  void Accept(ThreeDObjectVisitor&) override {}
  void Write(Util::BinaryStream& stream, int) override;

  CountedPtr<ThreeDObject> GetChild(std::size_t i) const { return Resolve(Children.at(i)); }

  U32 Value = 0;
  std::vector<U32> Children;
};

class FakeLeaf final : public N4Object {
public:
  FakeLeaf(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
      : N4Object(owner, id, position), Name(ReadString(reader.GetStream())) {}
  FakeLeaf(N4TdoFile& owner, U32 id, std::string name)
      : N4Object(owner, id, 0), Name(std::move(name)) {}

  std::string GetTypeName() const override { return "FakeLeaf"; }
  std::string GetName() const override { return Name; }
  void Accept(ThreeDObjectVisitor&) override {}
  void Write(Util::BinaryStream& stream, int) override;

  std::string Name;
};

class FakeNodeArchiver final : public N4ArchiverOf<FakeNode> {
public:
  static const FakeNodeArchiver& Instance() {
    static const FakeNodeArchiver* const instance = new FakeNodeArchiver;
    return *instance;
  }
  const char* GetDescriptorName() const override { return "NodeDescriptor"; }
};

class FakeLeafArchiver final : public N4ArchiverOf<FakeLeaf> {
public:
  static const FakeLeafArchiver& Instance() {
    static const FakeLeafArchiver* const instance = new FakeLeafArchiver;
    return *instance;
  }
  const char* GetDescriptorName() const override { return "LeafDescriptor"; }
};

inline void FakeNode::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(FakeNodeArchiver::Instance()))
    return;
  Util::WriteU32(stream, Value);
  Util::WriteU32(stream, static_cast<U32>(Children.size()));
  for (U32 child : Children)
    WriteReference(stream, child);
}

inline void FakeLeaf::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(FakeLeafArchiver::Instance()))
    return;
  WriteString(stream, Name);
}

inline N4ArchiverList FakeArchivers() {
  return {&FakeNodeArchiver::Instance(), &FakeLeafArchiver::Instance()};
}

inline CountedPtr<Util::BinaryStream> StreamOf(const std::vector<unsigned char>& bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream("fake.3do", bytes));
}

inline std::vector<unsigned char> Saved(N4TdoFile& file) {
  Util::MemoryStream out("saved.3do");
  file.Save(out);
  return out.Bytes();
}

} // namespace Ostra::Papy::ArchiveFakes
