#include "DocView/Core/TrackOpening.h"

#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/NativePath.h"
#include "Util/PathName.h"
#include "Util/StringUtil.h"

namespace Ostra::DocView {

std::string TrackPathToOpen(const std::string& chosen) {
  const Util::PathName path(chosen);
  // A folder that happens to end in ".dat" is a folder, not an archive.
  if (Util::CompareNoCase(path.GetExtension(), "dat") == 0 && !Util::NativePath::IsFolder(path.GetFullPath()))
    return Util::PathName(Util::PathName(path.GetDirectory()), path.GetBaseName(), "trk").GetFullPath();
  return path.GetFullPath();
}

TrackRequest MakeTrackRequest(const std::string& trackPath) {
  const Papy::PapyDirectory folder(trackPath);
  const Util::PathName path(trackPath);
  if (Util::NativePath::IsFolder(path.GetFullPath()))
    return {folder.GetPath(), {}, {}};
  return {folder.GetPath(), path.GetBaseName(), path.GetExtension()};
}

std::string FindRaceLp(const std::string& trackPath) {
  const std::string candidate = Papy::PapyDirectory(trackPath).GetPath() + "race.lp";
  if (!Util::FileExists(candidate))
    return {};
  return Util::NativePath::ResolveExisting(candidate);
}

OpenedTrack OpenTrackThroughRegistry(const std::string& trackPath, Papy::FileFactoryRegistry& registry,
                                     Util::CountedPtr<Papy::FileFactory>* factoryOut, const std::string& chosen) {
  Papy::RequireContainingFolder(chosen.empty() ? trackPath : chosen);
  const TrackRequest request = MakeTrackRequest(trackPath);
  OpenedTrack opened;
  opened.Factory = registry.GetFactory(Papy::PapyDirectory(request.Folder), false);
  if (factoryOut != nullptr)
    *factoryOut = opened.Factory;
  UTIL_ASSERT(opened.Factory);
  try {
    opened.Track = opened.Factory->GetFacet<Papy::MakeTrack>()->Make(request.Name, request.Extension, false);
  } catch (const Util::XFileOpen& e) {
    // The user knows the file they chose, not the one the game reads in its place.
    const std::string& named = chosen.empty() ? trackPath : chosen;
    const std::string read = Util::PathName(e.FileName).GetFileName();
    if (Util::CompareNoCase(read, Util::PathName(named).GetFileName()) == 0)
      throw;
    throw Util::XFileOpen(named, "Its track is read from " + read +
                                     (e.SystemMessage == Papy::FileNotFoundText
                                          ? ", which is neither in the folder nor in the folder's archive."
                                          : ", which could not be opened (" + e.SystemMessage + ")."));
  }
  return opened;
}

bool RunTrackOpenSequence(const std::string& chosen, const TrackOpenSteps& steps) {
  const std::string track_path = TrackPathToOpen(chosen);
  if (!steps.ReadTrack(track_path))
    return false;
  if (const std::string race_lp = FindRaceLp(track_path); !race_lp.empty())
    steps.OpenLp(race_lp);
  steps.RegisterTrack();
  steps.AddToRecentFiles(Util::PathName(chosen).GetFullPath());
  return true;
}

} // namespace Ostra::DocView
