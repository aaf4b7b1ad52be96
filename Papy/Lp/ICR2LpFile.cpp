// Format notes (all little-endian):
//   0   u32  record count, the closing record included
//   4   12-byte records: u32 longitudinal speed, s32 lateral speed (both in units of
//       0.000762 m/s), s32 latitude (TRK units of 5.08e-05 m)
// No version word. The last record closes the lap and normally equals record 0; it is
// taken as read. Bytes after the last record are ignored.
#include "Papy/Lp/ICR2LpFile.h"

#include <cmath>

#include "Papy/Lp/RecordBlock.h"
#include "Papy/Track/TrkFile.h"
#include "Papy/Track/TrkUnits.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr std::size_t RecordSize = 12;
constexpr std::size_t LongitudinalSpeedOffset = 0;
constexpr std::size_t LateralSpeedOffset = 4;
constexpr std::size_t LatitudeOffset = 8;
double LapLengthOf(const Util::CountedPtr<TrkFile>& trk) {
  UTIL_ASSERT(trk);
  return TrkUnitsToMetres(trk->GetLength());
}

} // namespace

ICR2LpFile::ICR2LpFile(const Util::CountedPtr<Util::BinaryStream>& stream) {
  Util::BinaryStream& in = *stream;
  in.Seek(0);
  const U32 count = Util::ReadU32(in);
  if (count == 0)
    throw Util::XFileFormat(in.Name(), "ICR2 Lp file has no closing record");
  LpDetail::RequireRecords(in, count, RecordSize);
  Records.reserve(count);
  LpDetail::ReadRecords<RecordSize>(in, count, [this](const unsigned char* p) {
    Record& r = Records.emplace_back();
    r.LongitudinalSpeed = Util::LoadU32(p + LongitudinalSpeedOffset);
    r.LateralSpeed = static_cast<S32>(Util::LoadU32(p + LateralSpeedOffset));
    r.Latitude = static_cast<S32>(Util::LoadU32(p + LatitudeOffset));
  });
}

ICR2LpFile::ICR2LpFile(const Util::CountedPtr<TrkFile>& trk, double spacing)
    : ICR2LpFile(LapLengthOf(trk), spacing) {}

ICR2LpFile::ICR2LpFile(double lapLength, double spacing) {
  if (spacing != 0.0) {
    UTIL_ASSERT(spacing > 0.0);
    Spacing = spacing;
  }
  // One slot is kept for the closing record.
  const U32 count = std::min<U32>(LpDetail::SaturateToU32(std::ceil(lapLength / Spacing)),
                                  0xFFFFFFFEu);
  Records.resize(static_cast<std::size_t>(LpDetail::RequireNewRecordCount(count)) + 1);
}

U32 ICR2LpFile::GetRecordIndex(double longitude) const {
  return FindRecordIndex(longitude, Records.size());
}

double ICR2LpFile::GetRecordLongitude(U32 i) const {
  return static_cast<double>(i + 1) * Spacing;
}

double ICR2LpFile::GetRecordLatitude(U32 i) const { return TrkUnitsToMetres(Records[i].Latitude); }

double ICR2LpFile::GetRecordLongitudinalSpeed(U32 i) const {
  return Records[i].LongitudinalSpeed * SpeedUnit;
}

double ICR2LpFile::GetRecordLateralSpeed(U32 i) const {
  return Records[i].LateralSpeed * SpeedUnit;
}

void ICR2LpFile::SetRecordLatitude(U32 i, double latitude) {
  // As MetresToTrkUnits, but saturating where that gives -2^31.
  Store(i, &Record::Latitude, LpDetail::SaturateToS32(latitude / TrkMetresPerUnit));
}

void ICR2LpFile::SetRecordLongitudinalSpeed(U32 i, double speed) {
  Store(i, &Record::LongitudinalSpeed, LpDetail::SaturateToU32(speed / SpeedUnit + 0.5));
}

void ICR2LpFile::SetRecordLateralSpeed(U32 i, double speed) {
  double quotient = speed / SpeedUnit;
  if (quotient > 0.0)
    quotient += 0.5;
  else if (quotient < 0.0)
    quotient -= 0.5;
  Store(i, &Record::LateralSpeed, LpDetail::SaturateToS32(quotient));
}

void ICR2LpFile::Write(const Util::CountedPtr<Util::BinaryStream>& stream) const {
  Util::BinaryStream& out = *stream;
  out.Seek(0);
  Util::WriteU32(out, static_cast<U32>(Records.size()));
  LpDetail::WriteRecords<RecordSize>(out, Records.size(), [this](unsigned char* p, std::size_t i) {
    const Record& r = Records[i];
    Util::StoreU32(p + LongitudinalSpeedOffset, r.LongitudinalSpeed);
    Util::StoreU32(p + LateralSpeedOffset, static_cast<U32>(r.LateralSpeed));
    Util::StoreU32(p + LatitudeOffset, static_cast<U32>(r.Latitude));
  });
}

} // namespace Ostra::Papy
