// Format notes (all little-endian):
//   0   u32  version, 0x10002
//   4   u32  record count; must equal trunc(plan length x float(1/3) + 0.5) + 1
//   8   20-byte records: f32 longitudinal speed, f32 lateral speed, f32 latitude,
//       f32 yaw speed, u32 flags word (speed modifier in its top byte)
// Speeds and yaw speed are stored divided by 36. The spacing is not stored: 3.0 m.
// Bytes after the last record are ignored.
#include "Papy/Lp/GPLLpFile.h"

#include <cmath>

#include "Papy/Lp/RecordBlock.h"
#include "Papy/Track/TrkFile.h"
#include "Papy/Track/TrkUnits.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 Version = 0x10002;
constexpr std::size_t RecordSize = 20;
constexpr std::size_t LongitudinalSpeedOffset = 0;
constexpr std::size_t LateralSpeedOffset = 4;
constexpr std::size_t LatitudeOffset = 8;
constexpr std::size_t YawSpeedOffset = 12;
constexpr std::size_t FlagsOffset = 16;
constexpr double SpeedFactor = 36.0;
constexpr int ModifierShift = 24;
constexpr U32 ModifierMask = 0xFFu << ModifierShift;
constexpr double ModifierStep = 0.005;
// Float noise in value / step must not push an exact step to the next one.
constexpr double ModifierTolerance = 1e-6;
// The game sizes its lines with the single-precision third, widened: 0.3333333432674408.
constexpr double OneThird = static_cast<double>(1.0f / 3.0f);

double PlanLengthOf(const Util::CountedPtr<TrkFile>& trk) {
  UTIL_ASSERT(trk);
  return trk->GetLength2D();
}

} // namespace

U32 GPLLpFile::ExpectedRecordCount(double planLength) {
  // Out of the int32 range the truncation gives -2^31, as the game's does.
  return static_cast<U32>(TruncToI32(planLength * OneThird + 0.5)) + 1;
}

GPLLpFile::GPLLpFile(const Util::CountedPtr<Util::BinaryStream>& stream,
                     const Util::CountedPtr<TrkFile>& trk)
    : GPLLpFile(stream, PlanLengthOf(trk)) {}

GPLLpFile::GPLLpFile(const Util::CountedPtr<TrkFile>& trk, double spacing)
    : GPLLpFile(PlanLengthOf(trk), spacing) {}

GPLLpFile::GPLLpFile(const Util::CountedPtr<Util::BinaryStream>& stream, double planLength) {
  Util::BinaryStream& in = *stream;
  in.Seek(0);
  const U32 version = Util::ReadU32(in);
  const U32 count = Util::ReadU32(in);
  if (version != Version)
    throw Util::XFileFormat(in.Name(), "GPL Lp file version error");
  // Checked before the records are read, so that a damaged count never allocates.
  if (count != ExpectedRecordCount(planLength))
    throw Util::XFileFormat(in.Name(), "Contains incorrect number of records");
  LpDetail::RequireRecords(in, count, RecordSize);
  Records.reserve(count);
  LpDetail::ReadRecords<RecordSize>(in, count, [this](const unsigned char* p) {
    Record& r = Records.emplace_back();
    r.LongitudinalSpeed = LpDetail::LoadF32(p + LongitudinalSpeedOffset);
    r.LateralSpeed = LpDetail::LoadF32(p + LateralSpeedOffset);
    r.Latitude = LpDetail::LoadF32(p + LatitudeOffset);
    r.YawSpeed = LpDetail::LoadF32(p + YawSpeedOffset);
    r.Flags = Util::LoadU32(p + FlagsOffset);
  });
  Spacing = static_cast<F32>(1.0 / OneThird);
}

GPLLpFile::GPLLpFile(double planLength, double spacing) {
  U32 count = 0;
  if (spacing == 0.0) {
    count = ExpectedRecordCount(planLength);
    Spacing = static_cast<F32>(1.0 / OneThird);
  } else {
    UTIL_ASSERT(spacing > 0.0);
    Spacing = spacing;
    count = LpDetail::LowBitsOfTruncation(planLength / spacing + 0.5) + 1;
  }
  Records.resize(LpDetail::RequireNewRecordCount(count));
}

U32 GPLLpFile::GetRecordIndex(double longitude) const {
  return FindRecordIndex(longitude, Records.size());
}

double GPLLpFile::GetRecordLongitude(U32 i) const { return static_cast<double>(i + 1) * Spacing; }

double GPLLpFile::GetRecordLatitude(U32 i) const { return Records[i].Latitude; }

double GPLLpFile::GetRecordLongitudinalSpeed(U32 i) const {
  return Records[i].LongitudinalSpeed * SpeedFactor;
}

double GPLLpFile::GetRecordLateralSpeed(U32 i) const {
  return Records[i].LateralSpeed * SpeedFactor;
}

double GPLLpFile::GetRecordYawSpeed(U32 i) const { return Records[i].YawSpeed * SpeedFactor; }

double GPLLpFile::GetRecordSpeedModifier(U32 i) const {
  return static_cast<double>(Records[i].Flags >> ModifierShift) * ModifierStep;
}

U32 GPLLpFile::GetRecordFlags(U32 i) const { return Records[i].Flags; }

void GPLLpFile::SetRecordLatitude(U32 i, double latitude) {
  Records[i].Latitude = static_cast<F32>(latitude);
}

void GPLLpFile::SetRecordLongitudinalSpeed(U32 i, double speed) {
  Records[i].LongitudinalSpeed = static_cast<F32>(speed / SpeedFactor);
}

void GPLLpFile::SetRecordLateralSpeed(U32 i, double speed) {
  Records[i].LateralSpeed = static_cast<F32>(speed / SpeedFactor);
}

void GPLLpFile::SetRecordYawSpeed(U32 i, double speed) {
  Records[i].YawSpeed = static_cast<F32>(speed / SpeedFactor);
}

void GPLLpFile::SetRecordSpeedModifier(U32 i, double modifier) {
  const double steps = std::ceil(modifier / ModifierStep - ModifierTolerance);
  U32 byte = 0;
  if (steps >= 255.0)
    byte = 255;
  else if (steps > 0.0)
    byte = static_cast<U32>(steps);
  Records[i].Flags = (Records[i].Flags & ~ModifierMask) | (byte << ModifierShift);
}

void GPLLpFile::SetRecordFlags(U32 i, U32 flags) { Records[i].Flags = flags; }

void GPLLpFile::Write(const Util::CountedPtr<Util::BinaryStream>& stream) const {
  Util::BinaryStream& out = *stream;
  out.Seek(0);
  Util::WriteU32(out, Version);
  Util::WriteU32(out, static_cast<U32>(Records.size()));
  LpDetail::WriteRecords<RecordSize>(out, Records.size(), [this](unsigned char* p, std::size_t i) {
    const Record& r = Records[i];
    LpDetail::StoreF32(p + LongitudinalSpeedOffset, r.LongitudinalSpeed);
    LpDetail::StoreF32(p + LateralSpeedOffset, r.LateralSpeed);
    LpDetail::StoreF32(p + LatitudeOffset, r.Latitude);
    LpDetail::StoreF32(p + YawSpeedOffset, r.YawSpeed);
    Util::StoreU32(p + FlagsOffset, r.Flags);
  });
}

} // namespace Ostra::Papy
