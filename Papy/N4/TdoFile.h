#pragma once

#include "Papy/N4/ThreeDObject.h"
#include "Papy/N4/ThreeDObjectNull.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

#include <vector>

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

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
  virtual CountedPtr<ThreeDObjectRoot> CreateRoot(U32 id,
                                                  const std::vector<CountedPtr<ThreeDObject>>& children);
};

} // namespace Ostra::Papy
