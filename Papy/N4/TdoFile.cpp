#include "Papy/N4/TdoFile.h"

#include "Papy/N4/ThreeDObjectAnimatedTransform.h"
#include "Papy/N4/ThreeDObjectAppearance.h"
#include "Papy/N4/ThreeDObjectGeometry.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Papy/N4/ThreeDObjectShape.h"
#include "Papy/N4/ThreeDObjectTexture2.h"
#include "Papy/N4/ThreeDObjectTriangles.h"
#include "Papy/N4/ThreeDObjectVertices.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

TdoFile::~TdoFile() = default;

CountedPtr<ThreeDObjectAnimatedTransform> TdoFile::CreateAnimatedTransform(
    U32, const std::string&, const std::string&, const std::array<double, 6>&,
    const CountedPtr<ThreeDObject>&) {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

CountedPtr<ThreeDObjectAppearance> TdoFile::CreateAppearance(
    U32, const std::string&, const Colour&, const CountedPtr<ThreeDObject>&,
    const CountedPtr<ThreeDObject>&, const CountedPtr<ThreeDObject>&, TextureFunction) {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

CountedPtr<ThreeDObjectGeometry> TdoFile::CreateGeometry(U32, const CountedPtr<ThreeDObject>&,
                                                         const CountedPtr<ThreeDObject>&) {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

CountedPtr<ThreeDObjectRoot> TdoFile::CreateRoot(U32, const std::vector<CountedPtr<ThreeDObject>>&) {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

CountedPtr<ThreeDObjectShape> TdoFile::CreateShape(U32, const std::string&,
                                                   const CountedPtr<ThreeDObject>&,
                                                   const CountedPtr<ThreeDObject>&) {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

CountedPtr<ThreeDObjectTexture2> TdoFile::CreateTexture2(U32, const std::string&) {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

CountedPtr<ThreeDObjectTriangles> TdoFile::CreateTriangles(U32, const std::vector<U32>&) {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

CountedPtr<ThreeDObjectVertices> TdoFile::CreateVertices(U32, const std::vector<Point3D>&,
                                                         const std::vector<Direction3D>&,
                                                         const std::vector<Point2D>&,
                                                         const std::vector<Point2D>&) {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

} // namespace Ostra::Papy
