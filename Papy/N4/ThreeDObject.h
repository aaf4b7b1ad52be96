#pragma once

#include "Util/CountedPtr.h"
#include "Util/Types.h"

#include <string>

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

class ThreeDObjectVisitor;

// Every object of a 3D object file. Each object kind has an abstract interface that
// derives virtually from this class (so that an implementation may mix in shared
// members, see N4Object) and declares the kind's own accessors; users of the model see
// only those interfaces and reach them with CountedPtr::DynamicCast or dynamic_cast.
//
// Objects refer to one another by id and resolve those ids through their owning
// TdoFile on each request, so sharing and graphs need no ownership between objects.
//
// The indexed value families give generic access to a kind's numeric fields. A kind
// overrides those it has; the defaults report no values, and the accessors that take
// an index throw XAssertion("false"): callers keep the index below the count.
class ThreeDObject {
public:
  virtual ~ThreeDObject();

  // The object's id in its file; 0 is the null object.
  virtual U32 GetId() const = 0;
  // The stream position of the object's id word when it was last read or written.
  virtual S64 GetArchivePosition() const = 0;
  // The kind's name ("Appearance", "Track", ...); empty for the null and root objects.
  virtual std::string GetTypeName() const = 0;

  // Empty unless the kind has a name.
  virtual std::string GetName() const;
  virtual void SetName(const std::string& name);

  virtual unsigned GetIntegerCount() const;
  virtual S32 GetInteger(unsigned index) const;
  virtual void SetInteger(unsigned index, S32 value);

  virtual unsigned GetDoubleCount() const;
  virtual double GetDouble(unsigned index) const;
  virtual void SetDouble(unsigned index, double value);

  // A generic list of objects; no kind has one yet.
  virtual unsigned GetListCount() const;
  virtual CountedPtr<ThreeDObject> GetListItem(unsigned index) const;
  virtual void SetListItem(unsigned index, const CountedPtr<ThreeDObject>& item);

  virtual unsigned GetBoolCount() const;
  virtual bool GetBool(unsigned index) const;
  virtual void SetBool(unsigned index, bool value);

  // Walks this object and, depth first, the objects it refers to. Implemented once
  // per kind interface, through the interface's own operations only.
  virtual void Accept(ThreeDObjectVisitor& visitor) = 0;

  // Writes the object (and, the first time in a pass, its body and the objects it
  // refers to) to the write pass under way in its owner. reserved is always 0.
  virtual void Write(Util::BinaryStream& stream, int reserved) = 0;

  // Extension point without callers; does nothing.
  virtual void Hook();
};

// A point of a texture plane.
struct Point2D {
  Point2D() = default;
  Point2D(double x, double y) : X(x), Y(y) {}

  bool operator==(const Point2D& other) const = default;

  double X = 0.0;
  double Y = 0.0;
};

// A direction, for example a vertex normal. The default points along x, never zero.
struct Direction3D {
  Direction3D() = default;
  Direction3D(double x, double y, double z) : X(x), Y(y), Z(z) {}

  bool operator==(const Direction3D& other) const = default;

  double X = 1.0;
  double Y = 0.0;
  double Z = 0.0;
};

} // namespace Ostra::Papy
