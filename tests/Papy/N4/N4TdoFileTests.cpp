#include "N4ArchiveFakes.h"
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/N4/ThreeDObjectAnimatedTransform.h"
#include "Papy/N4/ThreeDObjectAppearance.h"
#include "Papy/N4/ThreeDObjectGeometry.h"
#include "Papy/N4/ThreeDObjectShape.h"
#include "Papy/N4/ThreeDObjectTexture2.h"
#include "Papy/N4/ThreeDObjectTriangles.h"
#include "Papy/N4/ThreeDObjectVertices.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ostra::Papy {
namespace {

using ArchiveFakes::Saved;
using ArchiveFakes::StreamOf;

const N4ArchiverRegistry& Registry() { return N4ArchiverRegistry::Instance(); }

std::vector<std::string> NamesOf(const N4ArchiverList& archivers) {
  std::vector<std::string> names;
  for (const auto* archiver : archivers)
    names.push_back(archiver->GetDescriptorName());
  return names;
}

TEST(N4ArchiverRegistryTest, HoldsEveryKindInItsFixedOrderAndReadsElevenOfThem) {
  EXPECT_EQ(NamesOf(Registry().GetAll()),
            (std::vector<std::string>{
                "AnimatedTransformDescriptor", "AppearanceDescriptor", "GeometryDescriptor",
                "ShapeDescriptor", "TextureDescriptor", "TriListDescriptor",
                "PlainVertexListDescriptor", "X_SectionDescriptor", "W_SectionDescriptor",
                "TSOReferenceDescriptor", "TSODescriptor", "SegmentDescriptor",
                "TrackDetailDescriptor", "TrackDescriptor", "TextureCoordsDescriptor",
                "F_SectionDescriptor"}));
  EXPECT_EQ(NamesOf(Registry().GetReadable()),
            (std::vector<std::string>{
                "AppearanceDescriptor", "TextureDescriptor", "X_SectionDescriptor",
                "W_SectionDescriptor", "TSOReferenceDescriptor", "TSODescriptor",
                "SegmentDescriptor", "TrackDetailDescriptor", "TrackDescriptor",
                "TextureCoordsDescriptor", "F_SectionDescriptor"}));
  EXPECT_EQ(&Registry(), &N4ArchiverRegistry::Instance());
}

// A model made in memory: a transform over a shape whose appearance uses one texture
// twice, over a geometry of one triangle.
struct MadeModel {
  explicit MadeModel(const N4ArchiverList& archivers) : File(archivers, nullptr) {
    const auto texture = File.CreateTexture2(File.NewObjectId(), "paint.mip");
    const auto appearance =
        File.CreateAppearance(File.NewObjectId(), "paint", Colour(1.0f, 0.5f, 0.25f, 1.0f),
                              texture, {}, texture, TextureFunction::Function4);
    const auto vertices = File.CreateVertices(
        File.NewObjectId(), {Point3D(0, 0, 0), Point3D(1, 0, 0), Point3D(0, 1, 0)},
        {Direction3D(), Direction3D(), Direction3D(0, 0, 1)}, {}, {});
    const auto triangles = File.CreateTriangles(File.NewObjectId(), {0, 1, 2});
    const auto geometry = File.CreateGeometry(File.NewObjectId(), vertices, triangles);
    const auto shape = File.CreateShape(File.NewObjectId(), "body", geometry, appearance);
    Transform = File.CreateAnimatedTransform(File.NewObjectId(), "spin", "axle",
                                             {1, 2, 3, 4, 5, 6}, shape);
    File.CreateRoot(File.NewObjectId(), {Transform});
  }

  N4TdoFile File;
  CountedPtr<ThreeDObjectAnimatedTransform> Transform;
};

TEST(N4TdoFileTest, AModelMadeInMemoryWritesAndReadsBackWithEveryKind) {
  MadeModel model(Registry().GetAll());
  const std::vector<unsigned char> bytes = Saved(model.File);
  ASSERT_GT(bytes.size(), 8u + 28u);
  const std::string first(bytes.begin() + 12, bytes.begin() + 12 + 27);
  EXPECT_EQ(first, "AnimatedTransformDescriptor");

  N4TdoFile reread(StreamOf(bytes), Registry().GetAll(), nullptr);
  EXPECT_EQ(reread.GetSubObject(1)->GetName(), "spin");
  EXPECT_EQ(Saved(reread), bytes);
}

TEST(N4TdoFileTest, SavingOverALongerStreamLeavesExactlyTheNewArchive) {
  MadeModel model(Registry().GetAll());
  const std::vector<unsigned char> archive = Saved(model.File);
  std::vector<unsigned char> longer = archive;
  longer.insert(longer.end(), 100, 0xAB);
  const std::vector<unsigned char> shorter(archive.begin(), archive.begin() + 5);

  // A file is cut to the archive, whatever it held.
  const Ostra::Test::TempDir temp;
  for (const auto& before : {longer, shorter}) {
    const std::string path = temp.WriteFile("over.3do", before);
    model.File.Save(*std::unique_ptr<Util::BinaryFile>(Util::BinaryFile::OpenReadWrite(path)));
    EXPECT_EQ(Ostra::Test::ReadWholeFile(path), archive) << before.size();
  }
  // Memory cannot be cut: a longer stream is refused and left as it was.
  Util::MemoryStream memory("over.3do", longer);
  try {
    model.File.Save(memory);
    ADD_FAILURE() << "saved";
  } catch (const Util::XFileWrite& e) {
    EXPECT_EQ(e.FileName, "over.3do");
  }
  EXPECT_EQ(memory.Bytes(), longer);
  Util::MemoryStream grown("grown.3do", shorter);
  model.File.Save(grown);
  EXPECT_EQ(grown.Bytes(), archive);
}

TEST(N4TdoFileTest, TheReadingListRefusesWriteOnlyKinds) {
  MadeModel model(Registry().GetAll());
  try {
    N4TdoFile reread(StreamOf(Saved(model.File)), Registry().GetReadable(), nullptr);
    FAIL() << "no error";
  } catch (const Util::XFileFormat& e) {
    EXPECT_EQ(e.Message, "N4 archive unknown descriptor AnimatedTransformDescriptor");
  }
}

// A file kind that supports no creation at all.
class BareFile final : public TdoFile {
public:
  CountedPtr<ThreeDObjectRoot> GetRoot() override { return {}; }
  CountedPtr<ThreeDObject> GetSubObject(U32) override { return {}; }
  CountedPtr<ThreeDObjectNull> GetNull() override { return {}; }
  CountedPtr<ThreeDObject> ReservedQuery(U32) override { return {}; }
  U32 NewObjectId() override { return 1; }
  void Save(Util::BinaryStream&) override {}
};

TEST(TdoFileTest, CreationIsRefusedUnlessTheFileKindSupportsIt) {
  BareFile file;
  const CountedPtr<ThreeDObject> none;
  const std::function<void()> creations[] = {
      [&] { file.CreateAnimatedTransform(1, "", "", {}, none); },
      [&] { file.CreateAppearance(1, "", Colour(), none, none, none, TextureFunction::Function0); },
      [&] { file.CreateGeometry(1, none, none); },
      [&] { file.CreateRoot(1, {none}); },
      [&] { file.CreateShape(1, "", none, none); },
      [&] { file.CreateTexture2(1, ""); },
      [&] { file.CreateTriangles(1, {}); },
      [&] { file.CreateVertices(1, {}, {}, {}, {}); },
  };
  for (const auto& create : creations) {
    try {
      create();
      ADD_FAILURE() << "created";
    } catch (const Util::XAssertion& e) {
      EXPECT_STREQ(e.Expression, "false");
    }
  }
}

} // namespace
} // namespace Ostra::Papy
