#pragma once

#include <functional>
#include <string>

#include "Papy/Files/FileFactory.h"
#include "Papy/Track/Track.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {
class FileFactoryRegistry;
}

// How a track document opens, without any window: which file it reads for the path
// the user chose, where it looks for the folder's race.lp, and the order of the steps.
namespace Ostra::DocView {

// The track file read for a chosen path: X.dat (any case, and not a folder) becomes
// X.trk in the same folder, the TRK that may live only inside the archive; any other
// path is made absolute and otherwise kept.
std::string TrackPathToOpen(const std::string& chosen);

// What the folder's MakeTrack facet is asked for: a file's base name and extension,
// or, for a path naming a folder, empty ones (the folder's own track), so that a dot
// in a folder's name is not taken for an extension.
struct TrackRequest {
  std::string Folder; // with a trailing '/'
  std::string Name;
  std::string Extension;
};
TrackRequest MakeTrackRequest(const std::string& trackPath);

// The folder's race.lp as it is spelled on disk (RACE.LP when that is its name), or
// empty when the folder holds none. The folder is the one the track was read from: a
// path naming a folder looks in that folder itself, never in its parent.
std::string FindRaceLp(const std::string& trackPath);

struct OpenedTrack {
  Util::CountedPtr<Papy::FileFactory> Factory;
  Util::CountedPtr<Papy::Track> Track;
};

// Reads the track through the factory the registry keeps for its folder. The factory
// is handed to factoryOut as soon as it is known, so a caller keeps it even when the
// track then fails. Throws XFileOpen of chosen (empty: trackPath) when its folder is
// missing, and what the registry, recognisers and readers throw, except that a file of
// another name that could not be opened (the X.trk of a chosen X.dat, the .ptf of an N4
// folder's .trk, a folder's own track) is reported as an XFileOpen of chosen, whose
// text names that file.
OpenedTrack OpenTrackThroughRegistry(const std::string& trackPath, Papy::FileFactoryRegistry& registry,
                                     Util::CountedPtr<Papy::FileFactory>* factoryOut = nullptr,
                                     const std::string& chosen = {});

// The steps of opening a track document, in their order. Each is supplied by the
// document; the sequence decides which run.
struct TrackOpenSteps {
  // Reads the track from the mapped path; false when it failed (already reported).
  std::function<bool(const std::string& trackPath)> ReadTrack;
  // Opens the folder's race.lp as an LP document; its failure is the LP's business.
  std::function<void(const std::string& lpPath)> OpenLp;
  std::function<void()> RegisterTrack;
  std::function<void(const std::string& chosen)> AddToRecentFiles;
};

// Reads the track, then opens race.lp (so that it is linked before the track
// registers), registers the track and records the chosen path. False, with nothing
// registered or recorded, when the track could not be read.
bool RunTrackOpenSequence(const std::string& chosen, const TrackOpenSteps& steps);

} // namespace Ostra::DocView
