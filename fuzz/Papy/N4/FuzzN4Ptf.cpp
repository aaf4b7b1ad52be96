// Reads arbitrary bytes as a .ptf track archive and walks every object it holds through
// the visitor, asking each track kind for every value it has. Readers and walks fail
// only with the system's exceptions; a section reference of the wrong kind fails the
// typed getters with std::bad_cast, as documented.
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/N4/ThreeDObjectFSection.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Papy/N4/ThreeDObjectTrack.h"
#include "Papy/N4/ThreeDObjectTrackDetail.h"
#include "Papy/N4/ThreeDObjectTrackSegment.h"
#include "Papy/N4/ThreeDObjectTsoReference.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Papy/N4/ThreeDObjectWSection.h"
#include "Papy/N4/ThreeDObjectXSection.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <typeinfo>
#include <vector>

namespace {

using namespace Ostra;
using namespace Ostra::Papy;

// Sums every value so that nothing is optimised away.
class Reader : public ThreeDObjectVisitor {
public:
  // Walks of heavily shared objects give up early, so that one input stays quick.
  Reader() : ThreeDObjectVisitor(U64{1} << 16) {}

  void VisitXSection(ThreeDObjectXSection& x) override {
    Sum += x.GetAltitudeAt(0.5) + x.GetSlopeAt(0.25) + x.GetLatitudeAt(0.75);
    for (unsigned i = 0; i < x.GetIntegerCount(); ++i)
      Sum += x.GetInteger(i);
    for (unsigned i = 0; i < x.GetDoubleCount(); ++i)
      Sum += x.GetDouble(i);
  }
  bool EnterFSection(ThreeDObjectFSection& f) override {
    Sum += f.GetStartLatitude() + f.GetEndLatitude() + f.GetSecondaryType() + f.GetGripModifier();
    for (unsigned k = 0; k < f.GetLayerCount(); ++k)
      Sum += f.GetLayerValue1(k) + f.GetLayerValue5(k) + (f.GetLayerFlagA(k) ? 1 : 0);
    Sum += static_cast<int>(f.GetSurfaceType());
    return true;
  }
  bool EnterWSection(ThreeDObjectWSection& w) override {
    Sum += w.GetStartHeight() + w.GetEndWidth() + static_cast<int>(w.GetWallType());
    for (unsigned i = 0; i < w.GetProfilePointCount(); ++i)
      Sum += w.GetProfilePoint(i).X;
    for (unsigned row = 0; row < w.GetRowCount(); ++row) {
      if (row > 0)
        Sum += w.GetRowBoundary(row - 1);
      for (unsigned column = 0; column < ThreeDObjectWSection::ColumnCount; ++column)
        for (unsigned k = 0; k < w.GetLayerCount(row, column); ++k)
          Sum += w.GetLayerValue4(row, column, k);
    }
    return true;
  }
  bool EnterTrackSegment(ThreeDObjectTrackSegment& s) override {
    Sum += s.GetCentrelineEndX() + s.GetEndOrientation();
    for (unsigned i = 0; i < s.GetSpanCount(); ++i)
      Sum += s.GetSpanA(i) + s.GetSpanCode(i) + s.GetSpanD(i);
    return true;
  }
  bool EnterTrackDetail(ThreeDObjectTrackDetail& d) override {
    Sum += d.GetValueE() + d.GetPoint(3).Y;
    return true;
  }
  bool EnterTsoReference(ThreeDObjectTsoReference& t) override {
    Sum += t.GetValue6() + t.GetBlockMode() + static_cast<double>(t.GetLabel().size());
    for (unsigned i = 0; i < t.GetEntryCount(); ++i)
      Sum += static_cast<double>(t.GetEntryName(i).size()) + t.GetEntryValue(i);
    return true;
  }
  bool EnterTrack(ThreeDObjectTrack& track) override {
    for (unsigned i = 0; i < track.GetBumpMapCount(); ++i)
      Sum += static_cast<double>(track.GetBumpMapName(i).size()) + track.GetBumpMapSecondValue(i, 3);
    return true;
  }

  double Sum = 0.0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    CountedPtr<Util::BinaryStream> stream(
        new Util::MemoryStream("fuzz.ptf", std::vector<unsigned char>(data, data + size)));
    N4TdoFile file(stream, N4ArchiverRegistry::Instance().GetReadable(), nullptr);
    Reader reader;
    file.GetRoot()->Accept(reader);
    volatile double sink = reader.Sum;
    (void)sink;
  } catch (const Util::Exception&) {
  } catch (const std::bad_cast&) {
  }
  return 0;
}
