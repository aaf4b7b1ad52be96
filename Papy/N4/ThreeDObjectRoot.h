#pragma once

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// The root of a file's object tree. It lives outside the archive: it is made after a
// file has been read, and writing it writes its children only.
class ThreeDObjectRoot : public virtual ThreeDObject {
public:
  virtual unsigned GetChildCount() const = 0;
  virtual CountedPtr<ThreeDObject> GetChild(unsigned index) const = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;
};

} // namespace Ostra::Papy
