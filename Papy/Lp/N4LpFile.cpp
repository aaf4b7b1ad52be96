// Format notes (all little-endian):
//   0   u32  version, 0x10003
//   4   u32  record count
//   8   24-byte records: f32 longitudinal speed, f32 lateral speed, f32 latitude,
//       f32 yaw speed, f32 path length, u32 flags
// Speeds and yaw speed are stored divided by 36. Bytes after the last record are
// ignored, so a file read and written back is identical up to its last record.
#include "Papy/Lp/N4LpFile.h"

#include "Papy/Lp/RecordBlock.h"
#include "Papy/Track/Track.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 Version = 0x10003;
constexpr std::size_t RecordSize = 24;
constexpr std::size_t LongitudinalSpeedOffset = 0;
constexpr std::size_t LateralSpeedOffset = 4;
constexpr std::size_t LatitudeOffset = 8;
constexpr std::size_t YawSpeedOffset = 12;
constexpr std::size_t PathLengthOffset = 16;
constexpr std::size_t FlagsOffset = 20;
constexpr double SpeedFactor = 36.0;
constexpr double DefaultSpacing = 3.0;

double PlanLengthOf(const Util::CountedPtr<Track>& track) {
  UTIL_ASSERT(track);
  return track->GetLength2D();
}

} // namespace

N4LpFile::N4LpFile(const Util::CountedPtr<Util::BinaryStream>& stream) {
  Util::BinaryStream& in = *stream;
  in.Seek(0);
  const U32 version = Util::ReadU32(in);
  const U32 count = Util::ReadU32(in);
  if (version != Version)
    throw Util::XFileFormat(in.Name(), "N4 Lp file version error");
  LpDetail::RequireRecords(in, count, RecordSize);
  Records.reserve(count);
  LpDetail::ReadRecords<RecordSize>(in, count, [this](const unsigned char* p) {
    Record& r = Records.emplace_back();
    r.LongitudinalSpeed = LpDetail::LoadF32(p + LongitudinalSpeedOffset);
    r.LateralSpeed = LpDetail::LoadF32(p + LateralSpeedOffset);
    r.Latitude = LpDetail::LoadF32(p + LatitudeOffset);
    r.YawSpeed = LpDetail::LoadF32(p + YawSpeedOffset);
    r.PathLength = LpDetail::LoadF32(p + PathLengthOffset);
    r.Flags = Util::LoadU32(p + FlagsOffset);
  });
}

N4LpFile::N4LpFile(const Util::CountedPtr<Track>& track, double spacing)
    : N4LpFile(PlanLengthOf(track), spacing) {}

N4LpFile::N4LpFile(double planLength, double spacing) {
  Spacing = spacing == 0.0 ? DefaultSpacing : spacing;
  UTIL_ASSERT(Spacing > 0.0);
  // Truncated with no rounding term, unlike the GPL count.
  const U32 count = LpDetail::LowBitsOfTruncation(planLength / Spacing) + 1;
  Records.resize(LpDetail::RequireNewRecordCount(count));
}

U32 N4LpFile::GetRecordIndex(double longitude) const {
  return FindRecordIndex(longitude, Records.size());
}

double N4LpFile::GetRecordLongitude(U32 i) const { return static_cast<double>(i + 1) * Spacing; }

double N4LpFile::GetRecordLatitude(U32 i) const { return Records[i].Latitude; }

double N4LpFile::GetRecordPathLength(U32 i) const { return Records[i].PathLength; }

double N4LpFile::GetRecordLongitudinalSpeed(U32 i) const {
  return Records[i].LongitudinalSpeed * SpeedFactor;
}

double N4LpFile::GetRecordLateralSpeed(U32 i) const {
  return Records[i].LateralSpeed * SpeedFactor;
}

double N4LpFile::GetRecordYawSpeed(U32 i) const { return Records[i].YawSpeed * SpeedFactor; }

U32 N4LpFile::GetRecordFlags(U32 i) const { return Records[i].Flags; }

void N4LpFile::SetRecordLatitude(U32 i, double latitude) {
  Records[i].Latitude = static_cast<F32>(latitude);
}

void N4LpFile::SetRecordPathLength(U32 i, double pathLength) {
  Records[i].PathLength = static_cast<F32>(pathLength);
}

void N4LpFile::SetRecordLongitudinalSpeed(U32 i, double speed) {
  Records[i].LongitudinalSpeed = static_cast<F32>(speed / SpeedFactor);
}

void N4LpFile::SetRecordLateralSpeed(U32 i, double speed) {
  Records[i].LateralSpeed = static_cast<F32>(speed / SpeedFactor);
}

void N4LpFile::SetRecordYawSpeed(U32 i, double speed) {
  Records[i].YawSpeed = static_cast<F32>(speed / SpeedFactor);
}

void N4LpFile::SetRecordFlags(U32 i, U32 flags) { Records[i].Flags = flags; }

void N4LpFile::Write(const Util::CountedPtr<Util::BinaryStream>& stream) const {
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
    LpDetail::StoreF32(p + PathLengthOffset, r.PathLength);
    Util::StoreU32(p + FlagsOffset, r.Flags);
  });
}

} // namespace Ostra::Papy
