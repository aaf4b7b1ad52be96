#pragma once

#include "Papy/N4/ThreeDObject.h"
#include "Papy/N4/ThreeDObjectNull.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Papy/Track/Point3D.h"
#include "Papy/Types/Colour.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

#include <array>
#include <string>
#include <vector>

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

class ThreeDObjectAnimatedTransform;
class ThreeDObjectAppearance;
class ThreeDObjectGeometry;
class ThreeDObjectShape;
class ThreeDObjectTexture2;
class ThreeDObjectTriangles;
class ThreeDObjectVertices;
enum class TextureFunction : int;

// A file that owns a tree (in general a graph) of 3D objects, keyed by id. The
// objects are shared with callers through counted pointers and live at least as long
// as the file.
class TdoFile {
public:
  virtual ~TdoFile();

  // The root object, or an empty pointer when the file has none yet.
  virtual CountedPtr<ThreeDObjectRoot> GetRoot() = 0;
  // The object with that id. Throws XAssertion for an id the file does not hold.
  virtual CountedPtr<ThreeDObject> GetSubObject(U32 id) = 0;
  // The null object (id 0).
  virtual CountedPtr<ThreeDObjectNull> GetNull() = 0;
  // No meaning yet; implementations return an empty pointer.
  virtual CountedPtr<ThreeDObject> ReservedQuery(U32 argument) = 0;
  // A fresh id for an object made in memory.
  virtual U32 NewObjectId() = 0;
  // Writes the whole file to an empty stream positioned anywhere.
  virtual void Save(Util::BinaryStream& stream) = 0;

  // Creation of objects in memory. Each takes an id from NewObjectId, stores the new
  // object in the file and returns it. The base throws XAssertion("false"): a file
  // kind supports only the kinds it overrides.
  virtual CountedPtr<ThreeDObjectAnimatedTransform> CreateAnimatedTransform(
      U32 id, const std::string& name, const std::string& second_name,
      const std::array<double, 6>& values, const CountedPtr<ThreeDObject>& child);
  // Empty texture pointers stand for no texture. Only the colour's red, green and
  // blue are kept.
  virtual CountedPtr<ThreeDObjectAppearance> CreateAppearance(
      U32 id, const std::string& name, const Colour& colour,
      const CountedPtr<ThreeDObject>& first_texture, const CountedPtr<ThreeDObject>& third_texture,
      const CountedPtr<ThreeDObject>& specular_texture, TextureFunction function);
  virtual CountedPtr<ThreeDObjectGeometry> CreateGeometry(U32 id,
                                                          const CountedPtr<ThreeDObject>& vertices,
                                                          const CountedPtr<ThreeDObject>& triangles);
  virtual CountedPtr<ThreeDObjectRoot> CreateRoot(U32 id,
                                                  const std::vector<CountedPtr<ThreeDObject>>& children);
  virtual CountedPtr<ThreeDObjectShape> CreateShape(U32 id, const std::string& name,
                                                    const CountedPtr<ThreeDObject>& geometry,
                                                    const CountedPtr<ThreeDObject>& appearance);
  virtual CountedPtr<ThreeDObjectTexture2> CreateTexture2(U32 id, const std::string& texture_name);
  virtual CountedPtr<ThreeDObjectTriangles> CreateTriangles(U32 id, const std::vector<U32>& indices);
  virtual CountedPtr<ThreeDObjectVertices> CreateVertices(
      U32 id, const std::vector<Point3D>& positions, const std::vector<Direction3D>& directions,
      const std::vector<Point2D>& texture_vertices,
      const std::vector<Point2D>& second_texture_vertices);
};

} // namespace Ostra::Papy
