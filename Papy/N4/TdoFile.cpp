#include "Papy/N4/TdoFile.h"

#include "Papy/N4/ThreeDObjectRoot.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

TdoFile::~TdoFile() = default;

CountedPtr<ThreeDObjectRoot> TdoFile::CreateRoot(U32, const std::vector<CountedPtr<ThreeDObject>>&) {
  Util::FailAssertion("false", __FILE__, __LINE__);
}

} // namespace Ostra::Papy
