#include "Velmar/Core/LineGeneration.h"

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/PapyDirectory.h"
#include "Papy/Lp/IniFile.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/Track/Track.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "Util/SafeSave.h"
#include "Util/PathName.h"
#include "Velmar/Core/CommandParameters.h"
#include "Velmar/Core/FilePaths.h"
#include "Velmar/Generators/GenerateLp.h"
#include "Velmar/Generators/LapCurveFitting.h"

namespace Ostra::Velmar {

namespace {

// CreateLp enters every LP it makes into the folder's LP cache under the name given.
// Made under a name no game file has and evicted at once, the new LP never shadows the
// folder's real LP of the chosen name: not before it is written, nor when writing
// fails or goes elsewhere.
constexpr const char* UnwrittenLpName = "velmar_generated";

CountedPtr<Papy::Track> FolderTrack(const Papy::FileFactory& factory) {
  return factory.GetFacet<Papy::MakeTrack>()->Make("", "", false);
}

} // namespace

void SaveLpFile(const Papy::LpFile& lp, const std::string& path) {
  // The writers take a counted stream; the safe save hands out a plain one. LP files are
  // small, so the file is built whole in memory first.
  auto* memory = new Util::MemoryStream(path);
  const CountedPtr<Util::BinaryStream> buffer(memory);
  lp.Write(buffer);
  const std::vector<unsigned char>& bytes = memory->Bytes();
  Util::SaveFileSafely(path, [&bytes](Util::BinaryStream& out) {
    if (!bytes.empty())
      out.Write(static_cast<Util::U32>(bytes.size()), bytes.data());
  });
}

CountedPtr<Papy::LpFileCurve> MakeCurveOfLp(const Papy::FileFactory& factory,
                                            const CountedPtr<Papy::LpFile>& lp, double tolerance) {
  UTIL_ASSERT(lp);
  const std::string complaint = CheckCurveTolerance(tolerance);
  if (!complaint.empty())
    throw Util::XUsage(complaint);
  CheckLpIsFinite(*lp, "the LP");
  const CountedPtr<Papy::Track> track = FolderTrack(factory);
  const std::size_t records = LapRecords(*lp, track->GetLength2D()).size();
  if (records < MinimumLapRecords)
    throw Util::XUsage("The LP has " + std::to_string(records) +
                       " records in a lap of its track; a lap curve needs at least " +
                       std::to_string(MinimumLapRecords) + ".");
  const CountedPtr<Papy::LpFileCurve> curve = GenerateCurve(lp, track, tolerance);
  CheckLpIsFinite(*curve, "the fitted lap curve");
  return curve;
}

CountedPtr<Papy::LpFile> MakeLpOfCurve(const Papy::FileFactory& factory, const Papy::LpFile& curve,
                                       const std::string& curveBaseName, double grip) {
  const std::string complaint = CheckGrip(grip);
  if (!complaint.empty())
    throw Util::XUsage(complaint);
  const CountedPtr<Papy::Track> track = FolderTrack(factory);
  const std::vector<unsigned> flags = GatherLpFlags(factory, curveBaseName);
  const CountedPtr<Papy::LpFile> lp =
      factory.GetFacet<Papy::CreateLp>()->Create(UnwrittenLpName, 0.0);
  if (factory.HasFacet<Papy::MakeLp>())
    factory.GetFacet<Papy::MakeLp>()->Evict(UnwrittenLpName, "");
  GenerateLp(curve, *lp, flags, *track, grip);
  return lp;
}

void RecordWrittenLp(Papy::FileFactoryRegistry& registry, const Papy::FileFactory& factory,
                     const CountedPtr<Papy::LpFile>& lp, const std::string& path) {
  const Util::PathName written(path);
  const CountedPtr<Papy::FileFactory> folder =
      registry.GetFactory(Papy::PapyDirectory(written.GetFullPath()), false);
  if (!folder || !folder->HasFacet<Papy::MakeLp>())
    return;
  const CountedPtr<Papy::MakeLp> lps = folder->GetFacet<Papy::MakeLp>();
  if (folder.Get() == &factory)
    lps->Add(lp, written.GetBaseName(), written.GetExtension());
  else
    lps->Evict(written.GetBaseName(), written.GetExtension());
}

MinMaxRaceCurves MakeMinMaxRaceCurves(const Papy::FileFactory& factory,
                                      const CountedPtr<Papy::Track>& track,
                                      const RaceLineSettings& settings) {
  const std::string folder = factory.GetFacet<Papy::GetDirectory>()->Get().GetPath();
  const Papy::IniFile track_ini(FindTrackIni(folder), true);
  MinMaxRaceCurves curves =
      CreateMinMaxRaceCurves(track, track_ini, *factory.GetFacet<Papy::CreateLp>(), settings);
  CheckLpIsFinite(*curves.Min, "the minimum race line");
  CheckLpIsFinite(*curves.Max, "the maximum race line");
  return curves;
}

} // namespace Ostra::Velmar
