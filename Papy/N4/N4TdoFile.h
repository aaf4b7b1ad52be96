#pragma once

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/TdoFile.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

#include <map>
#include <memory>

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

class FileFactory;

// A typed-object archive (.3do or .ptf) read whole into memory.
//
// Fixed ids: 0 and 0xFFFFFFFF are null objects; 0xFFFFFFFE is the root made after
// reading, whose one child is the file's top object (id 1); ids from 2 up are the
// objects read from the file; ids above 0x40000000 are objects made in memory.
//
// Objects keep a plain pointer to their file: a caller that holds an object must
// hold its file as well.
class N4TdoFile : public TdoFile {
public:
  static constexpr U32 NullId = 0;
  static constexpr U32 SecondNullId = 0xFFFFFFFF;
  static constexpr U32 ReadRootId = 0xFFFFFFFE;
  static constexpr U32 TopObjectId = 1;
  static constexpr U32 FirstMemoryId = 0x40000000;

  // Reads the whole archive from the stream's start. factory is kept, not owned and
  // not used. Throws XFileFormat ("N4 archive ..." or the kinds' "N4 3do/ptf ..."
  // messages), XFileRead, and XAssertion for the encodings' internal checks.
  N4TdoFile(const CountedPtr<Util::BinaryStream>& stream, const N4ArchiverList& archivers,
            FileFactory* factory);
  // An empty file: the two null objects and no root until CreateRoot.
  N4TdoFile(const N4ArchiverList& archivers, FileFactory* factory);
  ~N4TdoFile() override;

  N4TdoFile(const N4TdoFile&) = delete;
  N4TdoFile& operator=(const N4TdoFile&) = delete;

  CountedPtr<ThreeDObjectRoot> GetRoot() override;
  CountedPtr<ThreeDObject> GetSubObject(U32 id) override;
  CountedPtr<ThreeDObjectNull> GetNull() override;
  CountedPtr<ThreeDObject> ReservedQuery(U32 argument) override;
  U32 NewObjectId() override;
  // Writes the archive from the stream's start; the stream ends with it. A disk file
  // (BinaryFile) is cut to the archive's length; any other stream that is longer than
  // the archive gets XFileWrite naming it, before anything is written. Throws
  // XAssertion when the file has no root, and the stream's own errors.
  void Save(Util::BinaryStream& stream) override;

  CountedPtr<ThreeDObjectAnimatedTransform> CreateAnimatedTransform(
      U32 id, const std::string& name, const std::string& second_name,
      const std::array<double, 6>& values, const CountedPtr<ThreeDObject>& child) override;
  // Throws XAssertion("false") for a function outside Function0 to Function5.
  CountedPtr<ThreeDObjectAppearance> CreateAppearance(
      U32 id, const std::string& name, const Colour& colour,
      const CountedPtr<ThreeDObject>& first_texture, const CountedPtr<ThreeDObject>& third_texture,
      const CountedPtr<ThreeDObject>& specular_texture, TextureFunction function) override;
  CountedPtr<ThreeDObjectGeometry> CreateGeometry(U32 id, const CountedPtr<ThreeDObject>& vertices,
                                                  const CountedPtr<ThreeDObject>& triangles) override;
  // Throws XAssertion("children.size() == 1").
  CountedPtr<ThreeDObjectRoot> CreateRoot(
      U32 id, const std::vector<CountedPtr<ThreeDObject>>& children) override;
  CountedPtr<ThreeDObjectShape> CreateShape(U32 id, const std::string& name,
                                            const CountedPtr<ThreeDObject>& geometry,
                                            const CountedPtr<ThreeDObject>& appearance) override;
  CountedPtr<ThreeDObjectTexture2> CreateTexture2(U32 id, const std::string& texture_name) override;
  CountedPtr<ThreeDObjectTriangles> CreateTriangles(U32 id, const std::vector<U32>& indices) override;
  // Throws XAssertion unless directions has one entry per position and each
  // texture-vertex set is empty or has one.
  CountedPtr<ThreeDObjectVertices> CreateVertices(
      U32 id, const std::vector<Point3D>& positions, const std::vector<Direction3D>& directions,
      const std::vector<Point2D>& texture_vertices,
      const std::vector<Point2D>& second_texture_vertices) override;

  // The pass under way; object readers and writers use it. Throws XAssertion outside
  // a read or write pass.
  N4Archiver& GetArchive() const;

  // Stores object under its GetId, replacing any object with that id.
  void AddSubObject(const CountedPtr<ThreeDObject>& object);
  bool HasSubObject(U32 id) const;
  // How many objects the file holds, the null and root objects included.
  std::size_t GetSubObjectCount() const { return SubObjects.size(); }

  FileFactory* GetFactory() const { return Factory; }
  const N4ArchiverList& GetArchivers() const { return Archivers; }

private:
  void Load(Util::BinaryStream& stream);
  void AddNullObjects();

  FileFactory* Factory;
  std::map<U32, CountedPtr<ThreeDObject>> SubObjects;
  U32 ObjectIdCounter = FirstMemoryId;
  U32 RootId = SecondNullId;
  std::unique_ptr<N4Archiver> Archive;
  N4ArchiverList Archivers;
};

} // namespace Ostra::Papy
