#include "Papy/N4/N4ArchiverRegistry.h"

#include "Papy/N4/N4Appearance.h"
#include "Papy/N4/N4Texture.h"
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
  // 2 Appearance ("AppearanceDescriptor", ReadWrite)
  registry.Register(N4ArchiverAppearance::Instance(), N4ArchiverUse::ReadWrite);
  // 3 Geometry ("GeometryDescriptor", WriteOnly)
  // 4 Shape ("ShapeDescriptor", WriteOnly)
  // 5 Texture ("TextureDescriptor", ReadWrite)
  registry.Register(N4ArchiverTexture::Instance(), N4ArchiverUse::ReadWrite);
  // 6 TriList ("TriListDescriptor", WriteOnly)
  // 7 PlainVertexList ("PlainVertexListDescriptor", WriteOnly)
  // 8 XSection ("X_SectionDescriptor", ReadWrite)
  // 9 WSection ("W_SectionDescriptor", ReadWrite)
  // 10 TsoReference ("TSOReferenceDescriptor", ReadWrite)
  // 11 TracksideObject ("TSODescriptor", ReadWrite)
  // 12 TrackSegment ("SegmentDescriptor", ReadWrite)
  // 13 TrackDetail ("TrackDetailDescriptor", ReadWrite)
  // 14 Track ("TrackDescriptor", ReadWrite)
  // 15 TextureCoords ("TextureCoordsDescriptor", ReadWrite)
  // 16 FSection ("F_SectionDescriptor", ReadWrite)
  (void)registry;
}

} // namespace Ostra::Papy
