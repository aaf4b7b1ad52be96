#include "Papy/N4/ThreeDObject.h"

#include "Papy/N4/ThreeDObjectNull.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Papy/N4/ThreeDObjectXSection.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

ThreeDObject::~ThreeDObject() = default;

std::string ThreeDObject::GetName() const { return {}; }

void ThreeDObject::SetName(const std::string&) { UTIL_ASSERT(false); }

unsigned ThreeDObject::GetIntegerCount() const { return 0; }

S32 ThreeDObject::GetInteger(unsigned) const { Util::FailAssertion("false", __FILE__, __LINE__); }

void ThreeDObject::SetInteger(unsigned, S32) { UTIL_ASSERT(false); }

unsigned ThreeDObject::GetDoubleCount() const { return 0; }

double ThreeDObject::GetDouble(unsigned) const {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

void ThreeDObject::SetDouble(unsigned, double) { UTIL_ASSERT(false); }

unsigned ThreeDObject::GetListCount() const { return 0; }

CountedPtr<ThreeDObject> ThreeDObject::GetListItem(unsigned) const {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

void ThreeDObject::SetListItem(unsigned, const CountedPtr<ThreeDObject>&) { UTIL_ASSERT(false); }

unsigned ThreeDObject::GetBoolCount() const { return 0; }

bool ThreeDObject::GetBool(unsigned) const { Util::FailAssertion("false", __FILE__, __LINE__); }

void ThreeDObject::SetBool(unsigned, bool) { UTIL_ASSERT(false); }

void ThreeDObject::Hook() {}

ThreeDObjectVisitor::WalkStep::WalkStep(ThreeDObjectVisitor& visitor) : Visitor(visitor) {
  if (Visitor.WalkDepth == 0)
    Visitor.WalkVisits = 0;
  if (Visitor.WalkDepth >= MaxWalkDepth)
    throw XObjectWalk("N4 archive objects chained too deeply to walk");
  if (Visitor.WalkVisits >= Visitor.WalkVisitLimit)
    throw XObjectWalk("N4 archive objects shared too often to walk");
  ++Visitor.WalkVisits;
  ++Visitor.WalkDepth;
}

void ThreeDObjectNull::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  visitor.VisitNull(*this);
}

void ThreeDObjectRoot::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterRoot(*this)) {
    const unsigned count = GetChildCount();
    for (unsigned i = 0; i < count; ++i) {
      if (visitor.BeforeRootChild(*this, i))
        GetChild(i)->Accept(visitor);
      visitor.AfterRootChild(*this, i);
    }
  }
  visitor.LeaveRoot(*this);
}

void ThreeDObjectXSection::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  visitor.VisitXSection(*this);
}

double ThreeDObjectXSection::GetLinearCoefficient() const { return GetStartSlope(); }

double ThreeDObjectXSection::GetSquareCoefficient() const {
  return 3.0 * (GetEndAltitude() - GetStartAltitude()) - 2.0 * GetStartSlope() - GetEndSlope();
}

double ThreeDObjectXSection::GetCubeCoefficient() const {
  return GetStartSlope() + GetEndSlope() - 2.0 * (GetEndAltitude() - GetStartAltitude());
}

double ThreeDObjectXSection::GetLatitudeAt(double t) const {
  return (1.0 - t) * GetStartLatitude() + t * GetEndLatitude();
}

double ThreeDObjectXSection::GetAltitudeAt(double t) const {
  const double b = GetLinearCoefficient();
  const double c = GetSquareCoefficient();
  const double d = GetCubeCoefficient();
  return GetStartAltitude() + t * (b + t * (c + t * d));
}

double ThreeDObjectXSection::GetSlopeAt(double t) const {
  const double b = GetLinearCoefficient();
  const double c = GetSquareCoefficient();
  const double d = GetCubeCoefficient();
  return b + t * (2.0 * c + t * 3.0 * d);
}

} // namespace Ostra::Papy
