#include "Papy/N4/N4ArchiverRegistry.h"

#include "Papy/N4/N4AnimatedTransform.h"
#include "Papy/N4/N4Appearance.h"
#include "Papy/N4/N4FSection.h"
#include "Papy/N4/N4Geometry.h"
#include "Papy/N4/N4PlainVertexList.h"
#include "Papy/N4/N4Shape.h"
#include "Papy/N4/N4Texture.h"
#include "Papy/N4/N4TextureCoords.h"
#include "Papy/N4/N4Track.h"
#include "Papy/N4/N4TrackDetail.h"
#include "Papy/N4/N4TrackSegment.h"
#include "Papy/N4/N4TracksideObject.h"
#include "Papy/N4/N4TriList.h"
#include "Papy/N4/N4TsoReference.h"
#include "Papy/N4/N4WSection.h"
#include "Papy/N4/N4XSection.h"
#include "Util/Exception.h"

// Each object kind's header declares its archiver with a static Instance().

namespace Ostra::Papy {

const N4ArchiverRegistry& N4ArchiverRegistry::Instance() {
  // Built on first use and never freed: archives may be read until the very end.
  static const N4ArchiverRegistry* const registry = [] {
    auto* made = new N4ArchiverRegistry;
    RegisterN4Archivers(*made);
    return made;
  }();
  return *registry;
}

void N4ArchiverRegistry::Register(const N4ArchivedType<N4TdoFile>& archiver, N4ArchiverUse use) {
  All.push_back(&archiver);
  switch (use) {
  case N4ArchiverUse::ReadWrite:
    Readable.push_back(&archiver);
    break;
  case N4ArchiverUse::WriteOnly:
    break;
  }
}

// The fixed order of the object kinds. Each kind adds its one line at its place:
//   registry.Register(N4ArchiverAppearance::Instance(), N4ArchiverUse::ReadWrite);
// Shapes, geometries, triangle and vertex lists and animated transforms are written
// but never read: they are WriteOnly.
void RegisterN4Archivers(N4ArchiverRegistry& registry) {
  // 1 AnimatedTransform ("AnimatedTransformDescriptor", WriteOnly)
  registry.Register(N4ArchiverAnimatedTransform::Instance(), N4ArchiverUse::WriteOnly);
  // 2 Appearance ("AppearanceDescriptor", ReadWrite)
  registry.Register(N4ArchiverAppearance::Instance(), N4ArchiverUse::ReadWrite);
  // 3 Geometry ("GeometryDescriptor", WriteOnly)
  registry.Register(N4ArchiverGeometry::Instance(), N4ArchiverUse::WriteOnly);
  // 4 Shape ("ShapeDescriptor", WriteOnly)
  registry.Register(N4ArchiverShape::Instance(), N4ArchiverUse::WriteOnly);
  // 5 Texture ("TextureDescriptor", ReadWrite)
  registry.Register(N4ArchiverTexture::Instance(), N4ArchiverUse::ReadWrite);
  // 6 TriList ("TriListDescriptor", WriteOnly)
  registry.Register(N4ArchiverTriList::Instance(), N4ArchiverUse::WriteOnly);
  // 7 PlainVertexList ("PlainVertexListDescriptor", WriteOnly)
  registry.Register(N4ArchiverPlainVertexList::Instance(), N4ArchiverUse::WriteOnly);
  // 8 XSection ("X_SectionDescriptor", ReadWrite)
  registry.Register(N4ArchiverXSection::Instance(), N4ArchiverUse::ReadWrite);
  // 9 WSection ("W_SectionDescriptor", ReadWrite)
  registry.Register(N4ArchiverWSection::Instance(), N4ArchiverUse::ReadWrite);
  // 10 TsoReference ("TSOReferenceDescriptor", ReadWrite)
  registry.Register(N4ArchiverTsoReference::Instance(), N4ArchiverUse::ReadWrite);
  // 11 TracksideObject ("TSODescriptor", ReadWrite)
  registry.Register(N4ArchiverTracksideObject::Instance(), N4ArchiverUse::ReadWrite);
  // 12 TrackSegment ("SegmentDescriptor", ReadWrite)
  registry.Register(N4ArchiverTrackSegment::Instance(), N4ArchiverUse::ReadWrite);
  // 13 TrackDetail ("TrackDetailDescriptor", ReadWrite)
  registry.Register(N4ArchiverTrackDetail::Instance(), N4ArchiverUse::ReadWrite);
  // 14 Track ("TrackDescriptor", ReadWrite)
  registry.Register(N4ArchiverTrack::Instance(), N4ArchiverUse::ReadWrite);
  // 15 TextureCoords ("TextureCoordsDescriptor", ReadWrite)
  registry.Register(N4ArchiverTextureCoords::Instance(), N4ArchiverUse::ReadWrite);
  // 16 FSection ("F_SectionDescriptor", ReadWrite)
  registry.Register(N4ArchiverFSection::Instance(), N4ArchiverUse::ReadWrite);
}

} // namespace Ostra::Papy
