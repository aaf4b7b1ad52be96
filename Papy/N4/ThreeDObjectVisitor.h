#pragma once

#include "Util/Exception.h"
#include "Util/Types.h"

#include <string>
#include <utility>

namespace Ostra::Papy {

class ThreeDObjectAnimatedTransform;
class ThreeDObjectAppearance;
class ThreeDObjectFSection;
class ThreeDObjectGeometry;
class ThreeDObjectNull;
class ThreeDObjectRoot;
class ThreeDObjectShape;
class ThreeDObjectTexture2;
class ThreeDObjectTextureCoords;
class ThreeDObjectTrack;
class ThreeDObjectTrackDetail;
class ThreeDObjectTrackSegment;
class ThreeDObjectTracksideObject;
class ThreeDObjectTriangles;
class ThreeDObjectTsoReference;
class ThreeDObjectVertices;
class ThreeDObjectWSection;
class ThreeDObjectXSection;

// A walk given up because the objects are chained or shared far beyond anything a real
// file holds (see ThreeDObjectVisitor::MaxWalkDepth).
class XObjectWalk : public Util::RuntimeError {
public:
  explicit XObjectWalk(std::string message) : Message(std::move(message)) {}
  std::string What() const override { return Message; }

  std::string Message;
};

// Walks an object tree through ThreeDObject::Accept, depth first. A leaf kind has one
// Visit operation. A composite kind has Enter, then Before/After around each child (or
// child list), then Leave. An Enter or Before that returns false skips the children
// (or the child) but the matching After and Leave are still called; the track walk
// does not test its Before results. A shared object is visited once per reference.
//
// Every operation defaults to "go on, do nothing", so a visitor overrides only what
// it needs.
class ThreeDObjectVisitor {
public:
  // Limits of one walk. An object may refer back to any object read before it, so a
  // damaged or hostile file can chain objects far deeper than they nest in the file,
  // and refer to the same object from several places at every link of the chain,
  // which a walk visits once per reference: exponentially often. Real files stay far
  // below both limits; past one the walk throws XObjectWalk.
  static constexpr unsigned MaxWalkDepth = 512;
  static constexpr U64 MaxWalkVisits = U64{1} << 25;

  // Every Accept holds one while it visits its object and the object's children: it
  // counts the visit and the depth. The outermost one starts a new walk.
  class WalkStep {
  public:
    // Throws XObjectWalk past a limit.
    explicit WalkStep(ThreeDObjectVisitor& visitor);
    ~WalkStep() { --Visitor.WalkDepth; }
    WalkStep(const WalkStep&) = delete;
    WalkStep& operator=(const WalkStep&) = delete;

  private:
    ThreeDObjectVisitor& Visitor;
  };

  ThreeDObjectVisitor() = default;
  // A visitor that gives up after at most max_visits visits per walk.
  explicit ThreeDObjectVisitor(U64 max_visits) : WalkVisitLimit(max_visits) {}
  virtual ~ThreeDObjectVisitor() = default;

  virtual bool EnterAnimatedTransform(ThreeDObjectAnimatedTransform&) { return true; }
  virtual void LeaveAnimatedTransform(ThreeDObjectAnimatedTransform&) {}

  virtual bool EnterAppearance(ThreeDObjectAppearance&) { return true; }
  virtual bool BeforeFirstTexture(ThreeDObjectAppearance&) { return true; }
  virtual void AfterFirstTexture(ThreeDObjectAppearance&) {}
  virtual bool BeforeThirdTexture(ThreeDObjectAppearance&) { return true; }
  virtual void AfterThirdTexture(ThreeDObjectAppearance&) {}
  virtual bool BeforeSpecularTexture(ThreeDObjectAppearance&) { return true; }
  virtual void AfterSpecularTexture(ThreeDObjectAppearance&) {}
  virtual bool BeforeOtherTextures(ThreeDObjectAppearance&) { return true; }
  virtual void AfterOtherTextures(ThreeDObjectAppearance&) {}
  virtual void LeaveAppearance(ThreeDObjectAppearance&) {}

  virtual bool EnterFSection(ThreeDObjectFSection&) { return true; }
  virtual bool BeforeFSectionAppearance(ThreeDObjectFSection&) { return true; }
  virtual void AfterFSectionAppearance(ThreeDObjectFSection&) {}
  virtual bool BeforeFSectionTextureCoords(ThreeDObjectFSection&) { return true; }
  virtual void AfterFSectionTextureCoords(ThreeDObjectFSection&) {}
  virtual void LeaveFSection(ThreeDObjectFSection&) {}

  virtual bool EnterGeometry(ThreeDObjectGeometry&) { return true; }
  virtual bool BeforeVertices(ThreeDObjectGeometry&) { return true; }
  virtual void AfterVertices(ThreeDObjectGeometry&) {}
  virtual bool BeforeTriangles(ThreeDObjectGeometry&) { return true; }
  virtual void AfterTriangles(ThreeDObjectGeometry&) {}
  virtual void LeaveGeometry(ThreeDObjectGeometry&) {}

  virtual void VisitNull(ThreeDObjectNull&) {}

  virtual bool EnterRoot(ThreeDObjectRoot&) { return true; }
  virtual bool BeforeRootChild(ThreeDObjectRoot&, unsigned /*index*/) { return true; }
  virtual void AfterRootChild(ThreeDObjectRoot&, unsigned /*index*/) {}
  virtual void LeaveRoot(ThreeDObjectRoot&) {}

  virtual bool EnterShape(ThreeDObjectShape&) { return true; }
  virtual bool BeforeShapeGeometry(ThreeDObjectShape&) { return true; }
  virtual void AfterShapeGeometry(ThreeDObjectShape&) {}
  virtual bool BeforeShapeAppearance(ThreeDObjectShape&) { return true; }
  virtual void AfterShapeAppearance(ThreeDObjectShape&) {}
  virtual void LeaveShape(ThreeDObjectShape&) {}

  virtual void VisitTexture2(ThreeDObjectTexture2&) {}

  virtual void VisitTextureCoords(ThreeDObjectTextureCoords&) {}

  virtual bool EnterTrack(ThreeDObjectTrack&) { return true; }
  virtual bool BeforeTrackDetail(ThreeDObjectTrack&, unsigned /*index*/) { return true; }
  virtual void AfterTrackDetail(ThreeDObjectTrack&, unsigned /*index*/) {}
  virtual bool BeforeTsoReference(ThreeDObjectTrack&, unsigned /*index*/) { return true; }
  virtual void AfterTsoReference(ThreeDObjectTrack&, unsigned /*index*/) {}
  virtual bool BeforeTrackSegment(ThreeDObjectTrack&, unsigned /*index*/) { return true; }
  virtual void AfterTrackSegment(ThreeDObjectTrack&, unsigned /*index*/) {}
  virtual void LeaveTrack(ThreeDObjectTrack&) {}

  virtual bool EnterTrackDetail(ThreeDObjectTrackDetail&) { return true; }
  virtual void LeaveTrackDetail(ThreeDObjectTrackDetail&) {}

  virtual bool EnterTrackSegment(ThreeDObjectTrackSegment&) { return true; }
  virtual bool BeforeXSection(ThreeDObjectTrackSegment&, unsigned /*index*/) { return true; }
  virtual void AfterXSection(ThreeDObjectTrackSegment&, unsigned /*index*/) {}
  virtual bool BeforeFSection(ThreeDObjectTrackSegment&, unsigned /*index*/) { return true; }
  virtual void AfterFSection(ThreeDObjectTrackSegment&, unsigned /*index*/) {}
  virtual bool BeforeWSection(ThreeDObjectTrackSegment&, unsigned /*index*/) { return true; }
  virtual void AfterWSection(ThreeDObjectTrackSegment&, unsigned /*index*/) {}
  virtual void LeaveTrackSegment(ThreeDObjectTrackSegment&) {}

  virtual void VisitTracksideObject(ThreeDObjectTracksideObject&) {}

  virtual void VisitTriangles(ThreeDObjectTriangles&) {}

  virtual bool EnterTsoReference(ThreeDObjectTsoReference&) { return true; }
  virtual void LeaveTsoReference(ThreeDObjectTsoReference&) {}

  virtual void VisitVertices(ThreeDObjectVertices&) {}

  virtual bool EnterWSection(ThreeDObjectWSection&) { return true; }
  virtual bool BeforeWSectionAppearance(ThreeDObjectWSection&, unsigned /*row*/,
                                        unsigned /*column*/) {
    return true;
  }
  virtual void AfterWSectionAppearance(ThreeDObjectWSection&, unsigned /*row*/,
                                       unsigned /*column*/) {}
  virtual bool BeforeWSectionTextureCoords(ThreeDObjectWSection&, unsigned /*row*/,
                                           unsigned /*column*/) {
    return true;
  }
  virtual void AfterWSectionTextureCoords(ThreeDObjectWSection&, unsigned /*row*/,
                                          unsigned /*column*/) {}
  virtual void LeaveWSection(ThreeDObjectWSection&) {}

  virtual void VisitXSection(ThreeDObjectXSection&) {}

private:
  U64 WalkVisitLimit = MaxWalkVisits;
  unsigned WalkDepth = 0;
  U64 WalkVisits = 0;
};

} // namespace Ostra::Papy
