#include "N4ArchiveFakes.h"
#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "TestSupport/ByteBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace Ostra::Papy {
namespace {

using ArchiveFakes::FakeArchivers;
using ArchiveFakes::FakeLeaf;
using ArchiveFakes::FakeNode;
using ArchiveFakes::StreamOf;
using Test::ByteBuilder;

// A reference that introduces an object together with a new class.
ByteBuilder& NewClass(ByteBuilder& b, U32 id, U32 class_id, const std::string& descriptor) {
  return b.U32(id).U32(class_id).U32(static_cast<U32>(descriptor.size() + 1))
      .Fixed(descriptor, descriptor.size() + 1);
}

ByteBuilder& Text(ByteBuilder& b, const std::string& text) {
  return b.U32(static_cast<U32>(text.size() + 1)).Fixed(text, text.size() + 1);
}

// Node 1 (value 7) holds a new leaf 3 "abc", a new node 5 (value 8) of the known node
// class that refers back to leaf 3, and the null object.
struct SharedGraph {
  ByteBuilder Bytes;
  std::size_t Node5Position = 0;
};

SharedGraph BuildSharedGraph() {
  SharedGraph g;
  NewClass(g.Bytes, 1, 2, "NodeDescriptor").U32(7).U32(3);
  Text(NewClass(g.Bytes, 3, 4, "LeafDescriptor"), "abc");
  g.Node5Position = g.Bytes.Size();
  g.Bytes.U32(5).U32(2).U32(8).U32(1).U32(3);
  g.Bytes.U32(0);
  return g;
}

CountedPtr<FakeNode> NodeOf(N4TdoFile& file, U32 id) {
  CountedPtr<FakeNode> node;
  node.DynamicCast(file.GetSubObject(id));
  return node;
}

TEST(N4ArchiverTest, ReadsSharedObjectsAndClassesOnceAndResolvesBackReferences) {
  const SharedGraph g = BuildSharedGraph();
  N4TdoFile file(StreamOf(g.Bytes.Data()), FakeArchivers(), nullptr);

  const CountedPtr<ThreeDObjectRoot> root = file.GetRoot();
  ASSERT_FALSE(root.IsNull());
  EXPECT_EQ(root->GetId(), N4TdoFile::ReadRootId);
  EXPECT_EQ(root->GetChild(0)->GetId(), 1u);

  const CountedPtr<FakeNode> top = NodeOf(file, 1);
  EXPECT_EQ(top->Value, 7u);
  EXPECT_EQ(top->Children, (std::vector<U32>{3, 5, 0}));
  EXPECT_EQ(top->GetArchivePosition(), 0);
  const CountedPtr<FakeNode> inner = NodeOf(file, 5);
  EXPECT_EQ(inner->Value, 8u);
  EXPECT_EQ(inner->GetArchivePosition(), static_cast<S64>(g.Node5Position));
  EXPECT_EQ(top->GetChild(0).Get(), inner->GetChild(0).Get());
  EXPECT_EQ(top->GetChild(0)->GetName(), "abc");
  EXPECT_EQ(top->GetChild(2).Get(), file.GetSubObject(0).Get());
  // Two nulls, the root and the three objects; the class ids 2 and 4 are no objects.
  EXPECT_EQ(file.GetSubObjectCount(), 6u);
  EXPECT_FALSE(file.HasSubObject(2));
  EXPECT_FALSE(file.HasSubObject(4));
}

TEST(N4ArchiverTest, WritingWhatWasReadGivesTheSameBytes) {
  const SharedGraph g = BuildSharedGraph();
  N4TdoFile file(StreamOf(g.Bytes.Data()), FakeArchivers(), nullptr);
  EXPECT_EQ(ArchiveFakes::Saved(file), g.Bytes.Data());
  // A second pass starts afresh.
  EXPECT_EQ(ArchiveFakes::Saved(file), g.Bytes.Data());
}

TEST(N4ArchiverTest, WritesObjectsMadeInMemoryWithIdsInFirstWriteOrder) {
  N4TdoFile file(FakeArchivers(), nullptr);
  const U32 leaf_id = file.NewObjectId();
  file.AddSubObject(CountedPtr<ThreeDObject>(new FakeLeaf(file, leaf_id, "x")));
  const U32 node_id = file.NewObjectId();
  file.AddSubObject(CountedPtr<ThreeDObject>(
      new FakeNode(file, node_id, 9, {leaf_id, N4TdoFile::NullId, leaf_id})));
  file.CreateRoot(file.NewObjectId(), {file.GetSubObject(node_id)});

  ByteBuilder expected;
  NewClass(expected, 1, 2, "NodeDescriptor").U32(9).U32(3);
  const std::size_t leaf_position = expected.Size();
  Text(NewClass(expected, 3, 4, "LeafDescriptor"), "x");
  expected.U32(0).U32(3);
  EXPECT_EQ(ArchiveFakes::Saved(file), expected.Data());
  EXPECT_EQ(file.GetSubObject(leaf_id)->GetArchivePosition(), static_cast<S64>(leaf_position));
  // The objects keep their in-memory ids.
  EXPECT_EQ(file.GetSubObject(leaf_id)->GetId(), N4TdoFile::FirstMemoryId + 1);

  N4TdoFile reread(StreamOf(expected.Data()), FakeArchivers(), nullptr);
  EXPECT_EQ(NodeOf(reread, 1)->Children, (std::vector<U32>{3, 0, 3}));
}

TEST(N4ArchiverTest, SavingAFileWithoutRootIsRefused) {
  N4TdoFile file(FakeArchivers(), nullptr);
  Util::MemoryStream out("out.3do");
  EXPECT_THROW(file.Save(out), Util::XAssertion);
  EXPECT_EQ(out.Size(), 0);
}

struct FormatCase {
  const char* Name;
  std::function<void(ByteBuilder&)> Build;
  std::string Message;
};

ByteBuilder& Node(ByteBuilder& b, U32 id, U32 value, U32 children) {
  return NewClass(b, id, 2, "NodeDescriptor").U32(value).U32(children);
}

const FormatCase FormatCases[] = {
    {"one byte after the top object",
     [](ByteBuilder& b) { Node(b, 1, 0, 0).U8(0); }, "N4 archive size mismatch"},
    {"first id above the counter", [](ByteBuilder& b) { b.U32(2).U32(3); },
     "N4 archive object id error"},
    {"class id above the counter", [](ByteBuilder& b) { b.U32(1).U32(3); },
     "N4 archive object class id error"},
    {"unregistered descriptor",
     [](ByteBuilder& b) { NewClass(b, 1, 2, "ShapeDescriptor"); },
     "N4 archive unknown descriptor ShapeDescriptor"},
    {"descriptor differing in case",
     [](ByteBuilder& b) { NewClass(b, 1, 2, "nodeDescriptor"); },
     "N4 archive unknown descriptor nodeDescriptor"},
    {"empty descriptor name", [](ByteBuilder& b) { b.U32(1).U32(2).U32(0); },
     "N4 archive unknown descriptor "},
    {"reference back to a class id",
     [](ByteBuilder& b) { Node(b, 1, 0, 1).U32(2); }, "N4 archive object id error"},
    {"object referring to itself",
     [](ByteBuilder& b) { Node(b, 1, 0, 1).U32(1); }, "N4 archive object id error"},
    {"child referring to its parent still being read",
     [](ByteBuilder& b) {
       Node(b, 1, 0, 1);
       b.U32(3).U32(2).U32(0).U32(1).U32(1);
     },
     "N4 archive object id error"},
    {"objects nested deeper than the stack allows",
     [](ByteBuilder& b) {
       Node(b, 1, 0, 1);
       for (U32 id = 3; id < 3 + N4Archiver::MaxNesting; ++id)
         b.U32(id).U32(2).U32(0).U32(1);
       b.U32(0);
     },
     "N4 archive objects nested too deeply"},
};

class N4ArchiverFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(N4ArchiverFormatTest, FailsWithTheArchiveMessage) {
  ByteBuilder b;
  GetParam().Build(b);
  try {
    N4TdoFile file(StreamOf(b.Data()), FakeArchivers(), nullptr);
    FAIL() << "no error";
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(e.FileName, "fake.3do");
    EXPECT_EQ(e.Message, GetParam().Message);
  }
}

INSTANTIATE_TEST_SUITE_P(Archive, N4ArchiverFormatTest, ::testing::ValuesIn(FormatCases));

struct AssertionCase {
  const char* Name;
  std::function<void(ByteBuilder&)> Build;
  std::string Expression;
};

const AssertionCase AssertionCases[] = {
    {"top reference is the null object", [](ByteBuilder& b) { b.U32(0); }, "root_id == 1"},
    {"new object whose class id was an object id",
     [](ByteBuilder& b) { Node(b, 1, 0, 1).U32(3).U32(1); }, "p != LoadClassMap.end()"},
    {"string longer than a megabyte",
     [](ByteBuilder& b) { NewClass(b, 1, 2, "LeafDescriptor").U32(1024 * 1024 + 1); },
     "length <= 1024L * 1024L"},
    {"string without its NUL",
     [](ByteBuilder& b) { NewClass(b, 1, 2, "LeafDescriptor").U32(3).Fixed("abc", 3); },
     "buffer[length - 1] == 0"},
};

class N4ArchiverAssertionTest : public ::testing::TestWithParam<AssertionCase> {};

TEST_P(N4ArchiverAssertionTest, FailsTheInternalCheck) {
  ByteBuilder b;
  GetParam().Build(b);
  try {
    N4TdoFile file(StreamOf(b.Data()), FakeArchivers(), nullptr);
    FAIL() << "no error";
  } catch (const Util::XAssertion& e) {
    EXPECT_STREQ(e.Expression, GetParam().Expression.c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Archive, N4ArchiverAssertionTest, ::testing::ValuesIn(AssertionCases));

struct ShortCase {
  const char* Name;
  std::function<void(ByteBuilder&)> Build;
};

const ShortCase ShortCases[] = {
    {"empty file", [](ByteBuilder&) {}},
    {"no class id", [](ByteBuilder& b) { b.U32(1); }},
    {"descriptor length past the end",
     [](ByteBuilder& b) { b.U32(1).U32(2).U32(0xFFFFFFFF).Fixed("NodeDescriptor", 15); }},
    {"body cut short", [](ByteBuilder& b) { NewClass(b, 1, 2, "NodeDescriptor").U32(7); }},
    {"child count beyond the bytes left",
     [](ByteBuilder& b) { Node(b, 1, 0, 0xFFFFFFFF).U32(0); }},
    {"string cut short",
     [](ByteBuilder& b) { NewClass(b, 1, 2, "LeafDescriptor").U32(10).Fixed("abc", 4); }},
};

class N4ArchiverShortTest : public ::testing::TestWithParam<ShortCase> {};

TEST_P(N4ArchiverShortTest, FailsWithTheStreamReadError) {
  ByteBuilder b;
  GetParam().Build(b);
  EXPECT_THROW(N4TdoFile(StreamOf(b.Data()), FakeArchivers(), nullptr), Util::XFileRead);
}

INSTANTIATE_TEST_SUITE_P(Archive, N4ArchiverShortTest, ::testing::ValuesIn(ShortCases));

TEST(N4ArchiverTest, ReadsTheWholeFileFromItsStartWhereverTheStreamStands) {
  const SharedGraph g = BuildSharedGraph();
  CountedPtr<Util::BinaryStream> stream = StreamOf(g.Bytes.Data());
  stream->Seek(8);
  N4TdoFile file(stream, FakeArchivers(), nullptr);
  EXPECT_EQ(NodeOf(file, 1)->Value, 7u);
}

TEST(N4ArchiverTest, ArrayChecksCompareByteSizesAndBytesLeft) {
  ByteBuilder b;
  b.U32(12).U32(0).U32(0).U32(0).U32(8);
  Util::MemoryStream stream("array.3do", b.Data());
  N4Archiver reader(FakeArchivers());
  reader.BeginWrite(stream);
  stream.Seek(0);
  reader.ReadByteSize(3, 4, "size");
  stream.Seek(0);
  try {
    reader.ReadByteSize(2, 4, "bad array size");
    FAIL();
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(e.Message, "bad array size");
  }
  // 16 bytes are left after the size word: four elements of 4 fit, five do not.
  stream.Seek(4);
  EXPECT_NO_THROW(reader.RequireElements(4, 4));
  EXPECT_THROW(reader.RequireElements(5, 4), Util::XFileRead);
  EXPECT_THROW(reader.RequireElements(0xFFFFFFFFu, 0xFFFFFFFFu), Util::XFileRead);
  stream.Seek(16);
  EXPECT_THROW(reader.ReadCount(1), Util::XFileRead);
}

struct StringCase {
  const char* Name;
  std::vector<unsigned char> Bytes;
  std::string Value;
  // Whether writing the value gives these bytes back.
  bool Canonical;
};

const StringCase StringCases[] = {
    {"empty", {0, 0, 0, 0}, "", true},
    {"three letters", {4, 0, 0, 0, 'a', 'b', 'c', 0}, "abc", true},
    {"inner NUL kept", {4, 0, 0, 0, 'a', 0, 'c', 0}, std::string("a\0c", 3), true},
    {"only the NUL", {1, 0, 0, 0, 0}, "", false},
};

class N4StringTest : public ::testing::TestWithParam<StringCase> {};

TEST_P(N4StringTest, ReadsItsValueAndConsumesItsBytes) {
  std::vector<unsigned char> bytes = GetParam().Bytes;
  bytes.push_back(0x99);
  Util::MemoryStream stream("s", bytes);
  EXPECT_EQ(ReadString(stream), GetParam().Value);
  EXPECT_EQ(stream.Tell(), static_cast<S64>(GetParam().Bytes.size()));
}

TEST_P(N4StringTest, WritesTheCanonicalForm) {
  Util::MemoryStream stream("s");
  WriteString(stream, GetParam().Value);
  if (GetParam().Canonical)
    EXPECT_EQ(stream.Bytes(), GetParam().Bytes);
  else
    EXPECT_EQ(stream.Bytes(), (std::vector<unsigned char>{0, 0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Archive, N4StringTest, ::testing::ValuesIn(StringCases));

TEST(N4ArchiverTest, RealArchiveWithAnUnreadableTopKindFailsWithTheArchiveError) {
  VELMAR_REQUIRE_SHARED_DATA();
  const std::string path = Ostra::Test::SharedData("n4/archives/warwagon.3do");
  CountedPtr<Util::BinaryStream> stream(Util::BinaryFile::OpenRead(path));
  try {
    N4TdoFile file(stream, FakeArchivers(), nullptr);
    FAIL() << "no error";
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(e.Message, "N4 archive unknown descriptor LodSwitchDescriptor");
    EXPECT_NE(e.What().find("warwagon.3do"), std::string::npos);
  }
}

} // namespace
} // namespace Ostra::Papy
