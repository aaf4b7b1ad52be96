#pragma once

#include <string>
#include <vector>

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Lp/GPLLpFile.h"
#include "Papy/Lp/ICR2LpFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/ICR2TrkFile.h"
#include "Papy/Track/Track.h"
#include "Papy/Track/TrkTrack.h"
#include "TestSupport/ByteBuilder.h"
#include "TestSupport/GplTrkBuilder.h"
#include "TestSupport/LpFakes.h"
#include "TestSupport/TempDir.h"
#include "Util/CountedPtr.h"
#include "Util/MemoryStream.h"

// Game folders for LP documents, built in a temporary folder with the library's own
// writers: a GPL folder and an N2 folder around one oval track, and N4 folders
// recognised by their (empty) track archive.
namespace Ostra::Test::LpFolders {

using Bytes = std::vector<unsigned char>;
using Util::CountedPtr;

inline CountedPtr<Util::BinaryStream> Memory(const Bytes& bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream("memory", bytes));
}

template <class Writable> Bytes Written(const Writable& file) {
  const CountedPtr<Util::MemoryStream> out(new Util::MemoryStream("out"));
  file.Write(out);
  return out->Bytes();
}

inline const Bytes& GplTrkBytes() {
  static const Bytes bytes = GplTrkBuilder::Oval().Bytes();
  return bytes;
}

inline CountedPtr<Papy::TrkFile> GplTrk() {
  return CountedPtr<Papy::TrkFile>(new Papy::GPLTrkFile(Memory(GplTrkBytes())));
}

inline CountedPtr<Papy::TrkFile> Icr2Trk() { return CountedPtr<Papy::TrkFile>(new Papy::ICR2TrkFile(GplTrk())); }

// An LP of the folder's track whose record r has latitude marker + r / 100.
inline Bytes GplLpBytes(double marker) {
  Papy::GPLLpFile lp(GplTrk(), 0.0);
  for (Util::U32 r = 0; r < lp.GetRecordCount(); ++r)
    lp.SetRecordLatitude(r, marker + r / 100.0);
  return Written(lp);
}

inline Bytes Icr2LpBytes(double marker) {
  Papy::ICR2LpFile lp(Icr2Trk(), 0.0);
  for (Util::U32 r = 0; r < lp.GetRecordCount(); ++r)
    lp.SetRecordLatitude(r, marker + r / 100.0);
  return Written(lp);
}

inline Bytes N4LpBytes(double marker, float lapMetres = 300.0f) {
  Papy::N4LpFile lp(CountedPtr<Papy::Track>(new Papy::LpTest::LengthOnlyTrack(lapMetres)), 0.0);
  for (Util::U32 r = 0; r < lp.GetRecordCount(); ++r)
    lp.SetRecordLatitude(r, marker + r / 100.0);
  return Written(lp);
}

// A lap curve over the GPL oval along its centre line, with a control point every
// tenth record: positions from the track, slopes by central differences.
inline Bytes GplLapCurveBytes() {
  const CountedPtr<Papy::Track> track(new Papy::TrkTrack(GplTrk()));
  const double spacing = 3.0;
  const double lap = track->GetLength2D();
  const auto count = static_cast<Util::U32>(lap / spacing) + 1;
  std::vector<Papy::LpFileCurve::PointRecord> points;
  const double h = 0.01;
  for (Util::U32 k = 0; static_cast<double>(k + 1) * spacing < lap; k += 10) {
    const double d = static_cast<double>(k + 1) * spacing;
    const Papy::TrackFrame at = track->GetFrame(d, 0.0);
    const Papy::TrackFrame ahead = track->GetFrame(d + h, 0.0);
    const Papy::TrackFrame behind = track->GetFrame(d - h, 0.0);
    points.push_back({d, at.X, at.Y, (ahead.X - behind.X) / (2 * h), (ahead.Y - behind.Y) / (2 * h)});
  }
  ByteBuilder b;
  b.U32(3).F64(spacing).U32(count).U32(static_cast<Util::U32>(points.size()));
  for (const auto& p : points)
    b.F64(p.Longitude).F64(p.X).F64(p.Y).F64(p.XSlope).F64(p.YSlope);
  b.U32(0);
  return b.Data();
}

// <temp>/monza with monza.trk, race.lp and pit.lp (markers 1.0 and 2.0); its lap curve
// when asked.
inline std::string GplFolder(const TempDir& temp, bool withLapCurve = false) {
  temp.WriteFile("monza/monza.trk", GplTrkBytes());
  temp.WriteFile("monza/race.lp", GplLpBytes(1.0));
  temp.WriteFile("monza/pit.lp", GplLpBytes(2.0));
  if (withLapCurve)
    temp.WriteFile("monza/race.lcv", GplLapCurveBytes());
  return temp / "monza";
}

// <temp>/nazareth with nazareth.trk (ICR2), race.lp and pit.lp (markers 1.0 and 2.0).
inline std::string N2Folder(const TempDir& temp) {
  temp.WriteFile("nazareth/nazareth.trk", Written(*Icr2Trk()));
  temp.WriteFile("nazareth/race.lp", Icr2LpBytes(1.0));
  temp.WriteFile("nazareth/pit.lp", Icr2LpBytes(2.0));
  return temp / "nazareth";
}

// <temp>/<name> with an empty <name>.ptf (which makes it an N4 folder) and the LPs given.
inline std::string N4Folder(const TempDir& temp, const std::string& name,
                            const std::vector<std::pair<std::string, Bytes>>& lps) {
  temp.WriteFile(name + "/" + name + ".ptf", Bytes{});
  for (const auto& [file, bytes] : lps)
    temp.WriteFile(name + "/" + file, bytes);
  return temp / name;
}

inline std::string N4Folder(const TempDir& temp) {
  return N4Folder(temp, "atlanta", {{"race.lp", N4LpBytes(1.0)}, {"pit.lp", N4LpBytes(2.0)}});
}

} // namespace Ostra::Test::LpFolders
