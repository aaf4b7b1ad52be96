#include "Papy/N4/N4TdoFile.h"

#include "Papy/N4/N4AnimatedTransform.h"
#include "Papy/N4/N4Appearance.h"
#include "Papy/N4/N4Geometry.h"
#include "Papy/N4/N4Null.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/N4PlainVertexList.h"
#include "Papy/N4/N4Root.h"
#include "Papy/N4/N4Shape.h"
#include "Papy/N4/N4Texture.h"
#include "Papy/N4/N4TriList.h"
#include "Util/BinaryFile.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace Ostra::Papy {

namespace {

// The id of an object given to a creation operation; an empty pointer is no object.
U32 IdOf(const CountedPtr<ThreeDObject>& object) {
  return object.IsNull() ? N4TdoFile::NullId : object->GetId();
}

// Clears the file's pass pointer however the pass ends.
class PassGuard {
public:
  explicit PassGuard(std::unique_ptr<N4Archiver>& archive) : Archive(archive) {}
  ~PassGuard() { Archive.reset(); }
  PassGuard(const PassGuard&) = delete;
  PassGuard& operator=(const PassGuard&) = delete;

private:
  std::unique_ptr<N4Archiver>& Archive;
};

} // namespace

N4TdoFile::N4TdoFile(const CountedPtr<Util::BinaryStream>& stream, const N4ArchiverList& archivers,
                     FileFactory* factory)
    : Factory(factory), Archivers(archivers) {
  UTIL_ASSERT(!stream.IsNull());
  Load(*stream);
}

N4TdoFile::N4TdoFile(const N4ArchiverList& archivers, FileFactory* factory)
    : Factory(factory), Archivers(archivers) {
  AddNullObjects();
}

N4TdoFile::~N4TdoFile() = default;

void N4TdoFile::AddNullObjects() {
  AddSubObject(CountedPtr<ThreeDObject>(new N4Null(NullId)));
  AddSubObject(CountedPtr<ThreeDObject>(new N4Null(SecondNullId)));
}

void N4TdoFile::Load(Util::BinaryStream& stream) {
  stream.Seek(0);
  AddNullObjects();
  Archive = std::make_unique<N4Archiver>(Archivers);
  PassGuard guard(Archive);
  const U32 root_id = Archive->ReadRoot(stream, *this);
  UTIL_ASSERT(root_id == 1);
  RootId = ReadRootId;
  AddSubObject(CountedPtr<ThreeDObject>(new N4Root(*this, ReadRootId, root_id)));
}

CountedPtr<ThreeDObjectRoot> N4TdoFile::GetRoot() {
  CountedPtr<ThreeDObject> object = GetSubObject(RootId);
  CountedPtr<ThreeDObjectRoot> root;
  if (dynamic_cast<ThreeDObjectRoot*>(object.Get()) != nullptr)
    root.DynamicCast(object);
  return root;
}

CountedPtr<ThreeDObject> N4TdoFile::GetSubObject(U32 id) {
  const auto p = SubObjects.find(id);
  UTIL_ASSERT(p != SubObjects.end());
  return p->second;
}

CountedPtr<ThreeDObjectNull> N4TdoFile::GetNull() {
  CountedPtr<ThreeDObjectNull> null;
  null.DynamicCast(GetSubObject(NullId));
  return null;
}

CountedPtr<ThreeDObject> N4TdoFile::ReservedQuery(U32) { return {}; }

U32 N4TdoFile::NewObjectId() { return ++ObjectIdCounter; }

void N4TdoFile::Save(Util::BinaryStream& stream) {
  const CountedPtr<ThreeDObjectRoot> root = GetRoot();
  UTIL_ASSERT(!root.IsNull());
  // The archive's length is known only once it is written, and bytes of an older,
  // longer archive left behind it would fail the size check on the next read. So it is
  // written in memory first (from position 0, so every object records the position it
  // will have in the stream); a disk file is then cut to it, and any other stream that
  // is longer is refused before anything in it is overwritten.
  Util::MemoryStream image(stream.Name());
  {
    Archive = std::make_unique<N4Archiver>(Archivers);
    PassGuard guard(Archive);
    Archive->BeginWrite(image);
    root->Write(image, 0);
  }
  auto* const file = dynamic_cast<Util::BinaryFile*>(&stream);
  const std::vector<unsigned char>& bytes = image.Bytes();
  if (file == nullptr && stream.Size() > static_cast<S64>(bytes.size()))
    throw Util::XFileWrite(stream.Name());

  stream.Seek(0);
  // In pieces a U32 count can carry.
  constexpr std::size_t chunk = std::size_t{1} << 30;
  for (std::size_t done = 0; done < bytes.size();) {
    const std::size_t count = std::min(chunk, bytes.size() - done);
    stream.Write(static_cast<U32>(count), bytes.data() + done);
    done += count;
  }
  if (file != nullptr)
    file->Truncate();
}

CountedPtr<ThreeDObjectAnimatedTransform> N4TdoFile::CreateAnimatedTransform(
    U32 id, const std::string& name, const std::string& second_name,
    const std::array<double, 6>& values, const CountedPtr<ThreeDObject>& child) {
  CountedPtr<ThreeDObjectAnimatedTransform> made(
      new N4AnimatedTransform(*this, id, name, second_name, values[0], values[1], values[2],
                              values[3], values[4], values[5], IdOf(child)));
  AddSubObject(made);
  return made;
}

CountedPtr<ThreeDObjectAppearance> N4TdoFile::CreateAppearance(
    U32 id, const std::string& name, const Colour& colour,
    const CountedPtr<ThreeDObject>& first_texture, const CountedPtr<ThreeDObject>& third_texture,
    const CountedPtr<ThreeDObject>& specular_texture, TextureFunction function) {
  CountedPtr<ThreeDObjectAppearance> made(new N4Appearance(*this, id, name, colour.Red,
                                                           colour.Green, colour.Blue, first_texture,
                                                           third_texture, specular_texture, function));
  AddSubObject(made);
  return made;
}

CountedPtr<ThreeDObjectGeometry> N4TdoFile::CreateGeometry(
    U32 id, const CountedPtr<ThreeDObject>& vertices, const CountedPtr<ThreeDObject>& triangles) {
  CountedPtr<ThreeDObjectGeometry> made(new N4Geometry(*this, id, IdOf(vertices), IdOf(triangles)));
  AddSubObject(made);
  return made;
}

CountedPtr<ThreeDObjectShape> N4TdoFile::CreateShape(U32 id, const std::string& name,
                                                     const CountedPtr<ThreeDObject>& geometry,
                                                     const CountedPtr<ThreeDObject>& appearance) {
  CountedPtr<ThreeDObjectShape> made(
      new N4Shape(*this, id, name, IdOf(geometry), IdOf(appearance)));
  AddSubObject(made);
  return made;
}

CountedPtr<ThreeDObjectTexture2> N4TdoFile::CreateTexture2(U32 id, const std::string& texture_name) {
  CountedPtr<ThreeDObjectTexture2> made(new N4Texture(*this, id, texture_name));
  AddSubObject(made);
  return made;
}

CountedPtr<ThreeDObjectTriangles> N4TdoFile::CreateTriangles(U32 id,
                                                             const std::vector<U32>& indices) {
  CountedPtr<ThreeDObjectTriangles> made(new N4TriList(*this, id, indices));
  AddSubObject(made);
  return made;
}

CountedPtr<ThreeDObjectVertices> N4TdoFile::CreateVertices(
    U32 id, const std::vector<Point3D>& positions, const std::vector<Direction3D>& directions,
    const std::vector<Point2D>& texture_vertices,
    const std::vector<Point2D>& second_texture_vertices) {
  CountedPtr<ThreeDObjectVertices> made(new N4PlainVertexList(
      *this, id, positions, directions, texture_vertices, second_texture_vertices));
  AddSubObject(made);
  return made;
}

CountedPtr<ThreeDObjectRoot> N4TdoFile::CreateRoot(
    U32 id, const std::vector<CountedPtr<ThreeDObject>>& children) {
  UTIL_ASSERT(children.size() == 1);
  CountedPtr<ThreeDObjectRoot> root(new N4Root(*this, id, IdOf(children.front())));
  AddSubObject(root);
  RootId = id;
  return root;
}

N4Archiver& N4TdoFile::GetArchive() const {
  UTIL_ASSERT(Archive != nullptr);
  return *Archive;
}

void N4TdoFile::AddSubObject(const CountedPtr<ThreeDObject>& object) {
  UTIL_ASSERT(!object.IsNull());
  SubObjects[object->GetId()] = object;
}

bool N4TdoFile::HasSubObject(U32 id) const { return SubObjects.find(id) != SubObjects.end(); }

void N4Null::Write(Util::BinaryStream& stream, int) { Util::WriteU32(stream, 0); }

CountedPtr<ThreeDObject> N4Root::GetChild(unsigned) const { return Owner->GetSubObject(ChildId); }

S64 N4Root::GetArchivePosition() const { Util::FailAssertion("false", __FILE__, __LINE__); }

void N4Root::Write(Util::BinaryStream& stream, int) { GetChild(0)->Write(stream, 0); }

CountedPtr<ThreeDObject> N4Object::Resolve(U32 id) const { return Owner->GetSubObject(id); }

void N4Object::WriteReference(Util::BinaryStream& stream, U32 id) const {
  Owner->GetSubObject(id)->Write(stream, 0);
}

bool N4Object::WriteHeader(const N4ArchivedType<N4TdoFile>& archiver) {
  return Owner->GetArchive().WriteObjectHeader(*this, archiver, ArchivePosition);
}

} // namespace Ostra::Papy
