#pragma once

// Archive images and checks shared by the tests of the object kinds: references that
// introduce objects, strings, loading with every kind readable, and one table format
// for damaged bodies.

#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "TestSupport/ByteBuilder.h"
#include "Util/CountedPtr.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Ostra::Papy::KindFixtures {

using Test::ByteBuilder;

// A reference that introduces an object of a class new to the archive.
inline ByteBuilder& NewClass(ByteBuilder& b, U32 id, U32 class_id, const std::string& descriptor) {
  return b.U32(id).U32(class_id).U32(static_cast<U32>(descriptor.size() + 1))
      .Fixed(descriptor, descriptor.size() + 1);
}

// Where the body of the top object starts when it introduces its class.
inline std::size_t BodyStart(const std::string& descriptor) { return 12 + descriptor.size() + 1; }

inline std::vector<unsigned char> Patched(const std::vector<unsigned char>& bytes,
                                          std::size_t offset, U32 value) {
  ByteBuilder b;
  b.Raw(bytes).PatchU32(offset, value);
  return b.Data();
}

// The archive's string encoding: an empty string is the length 0 alone.
inline ByteBuilder& Text(ByteBuilder& b, const std::string& text) {
  if (text.empty())
    return b.U32(0);
  return b.U32(static_cast<U32>(text.size() + 1)).Fixed(text, text.size() + 1);
}

inline ByteBuilder& F64s(ByteBuilder& b, const std::vector<double>& values) {
  for (const double v : values)
    b.F64(v);
  return b;
}

// Every kind, the ones the editor only writes included, so that their bodies can be
// read back through the archive.
inline const N4ArchiverList& AllKinds() {
  static const N4ArchiverRegistry* const registry = [] {
    auto* made = new N4ArchiverRegistry;
    RegisterN4Archivers(*made);
    return made;
  }();
  return registry->GetAll();
}

inline CountedPtr<Util::BinaryStream> StreamOf(const std::vector<unsigned char>& bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream("kinds.3do", bytes));
}

inline std::unique_ptr<N4TdoFile> Load(const std::vector<unsigned char>& bytes,
                                       const N4ArchiverList& archivers = AllKinds()) {
  return std::make_unique<N4TdoFile>(StreamOf(bytes), archivers, nullptr);
}

inline std::vector<unsigned char> Saved(N4TdoFile& file) {
  Util::MemoryStream out("saved.3do");
  file.Save(out);
  return out.Bytes();
}

// The object as interface T; throws std::bad_cast when it is another kind.
template <class T>
CountedPtr<T> As(const CountedPtr<ThreeDObject>& object) {
  CountedPtr<T> typed;
  typed.DynamicCast(object);
  return typed;
}

// An empty file with the object as its root's child, ready to save.
inline void MakeRoot(N4TdoFile& file, const CountedPtr<ThreeDObject>& top) {
  file.CreateRoot(file.NewObjectId(), {top});
}

template <class T, class... Args>
CountedPtr<T> Add(N4TdoFile& file, Args&&... args) {
  CountedPtr<T> object(new T(file, file.NewObjectId(), std::forward<Args>(args)...));
  file.AddSubObject(object);
  return object;
}

enum class Failure { Format, Assertion, Read };

// A damaged image and how reading it must fail: the XFileFormat message, the
// expression of the XAssertion, or the stream's XFileRead.
struct BrokenCase {
  const char* Name;
  std::vector<unsigned char> Bytes;
  Failure Kind;
  std::string Text;
};

inline void ExpectFailure(const BrokenCase& c, const N4ArchiverList& archivers = AllKinds()) {
  SCOPED_TRACE(c.Name);
  try {
    N4TdoFile file(StreamOf(c.Bytes), archivers, nullptr);
    ADD_FAILURE() << "read without error";
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(c.Kind, Failure::Format) << e.What();
    EXPECT_EQ(e.FileName, "kinds.3do");
    EXPECT_EQ(e.Message, c.Text);
  } catch (const Util::XAssertion& e) {
    EXPECT_EQ(c.Kind, Failure::Assertion) << e.What();
    EXPECT_EQ(std::string(e.Expression), c.Text);
  } catch (const Util::XFileRead& e) {
    EXPECT_EQ(c.Kind, Failure::Read) << e.What();
  }
}

} // namespace Ostra::Papy::KindFixtures
