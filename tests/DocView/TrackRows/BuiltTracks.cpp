#include "BuiltTracks.h"

#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/Ptf/PtfTrack.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/ICR2TrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "TestSupport/GplTrkBuilder.h"
#include "TestSupport/ICR2TrkBuilder.h"
#include "TestSupport/N4PtfBuilder.h"
#include "Util/MemoryStream.h"

namespace Ostra::Test {

namespace {
CountedPtr<Util::BinaryStream> Stream(const char* name, const std::vector<unsigned char>& bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream(name, bytes));
}
} // namespace

CountedPtr<Papy::Track> BuiltGplTrack() {
  const CountedPtr<Papy::TrkFile> file(
      new Papy::GPLTrkFile(Stream("built.trk", GplTrkBuilder::Circuit().Bytes())));
  return CountedPtr<Papy::Track>(new Papy::TrkTrack(file));
}

CountedPtr<Papy::Track> BuiltN2Track() {
  const CountedPtr<Papy::TrkFile> file(
      new Papy::ICR2TrkFile(Stream("built.trk", ICR2TrkBuilder::Circuit().Bytes())));
  return CountedPtr<Papy::Track>(new Papy::TrkTrack(file));
}

CountedPtr<Papy::Track> BuiltN4Track() {
  const CountedPtr<Papy::TdoFile> archive(
      new Papy::N4TdoFile(Stream("built.ptf", N4PtfBuilder::SmallTrack().Data()),
                          Papy::N4ArchiverRegistry::Instance().GetReadable(), nullptr));
  return CountedPtr<Papy::Track>(new Papy::PtfTrack(archive, "built.ptf"));
}

} // namespace Ostra::Test
