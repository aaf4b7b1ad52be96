// Reads arbitrary bytes as a lap-curve file over a fixed track; whatever reads must
// write back and read again to the same file and records.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Papy/Curve/LpFileCurve.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"
#include "TestSupport/OvalTrack.h"

namespace {

// Every record costs a root search; beyond this a unit only measures patience.
constexpr std::uint32_t MaxFuzzedRecords = 4096;
constexpr std::size_t RecordCountOffset = 12;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace Ostra;
  if (size >= RecordCountOffset + 4 && Util::LoadU32(data + RecordCountOffset) > MaxFuzzedRecords)
    return 0;
  // A 120 m by 60 m oval: 440 m a lap, straights and turns.
  static const CountedPtr<Papy::Track> track(new Test::OvalTrack(30.0, 125.75));
  try {
    const CountedPtr<Util::BinaryStream> in(
        new Util::MemoryStream("fuzz.lcv", std::vector<unsigned char>(data, data + size)));
    const Papy::LpFileCurve curve(in, track);
    Util::MemoryStream out("out.lcv");
    curve.Write(out);
    const CountedPtr<Util::BinaryStream> again(new Util::MemoryStream("again.lcv", out.Bytes()));
    const Papy::LpFileCurve reread(again, track);
    // Compared as bytes: a control point may hold NaN where no record samples it.
    Util::MemoryStream rewritten("rewritten.lcv");
    reread.Write(rewritten);
    if (rewritten.Bytes() != out.Bytes() || reread.GetRecordCount() != curve.GetRecordCount())
      std::abort();
    // The fit is deterministic: the same points give the same bits, NaN included.
    for (std::uint32_t i = 0; i < curve.GetRecordCount(); ++i)
      if (std::bit_cast<std::uint64_t>(reread.GetRecordLatitude(i)) !=
              std::bit_cast<std::uint64_t>(curve.GetRecordLatitude(i)) ||
          std::bit_cast<std::uint64_t>(reread.GetRecordYawSpeed(i)) !=
              std::bit_cast<std::uint64_t>(curve.GetRecordYawSpeed(i)))
        std::abort();
  } catch (const Util::Exception&) {
    // Refused files and curves that miss a cross-section are expected.
  }
  return 0;
}
