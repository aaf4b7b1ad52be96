// Reads arbitrary bytes as a folder's track.ini and builds the race-line corridor of
// the editor's GPL and N4 sample tracks from it, as Create Min/Max Race Lps does with a
// user's folder. A track.ini the corridor cannot use gets an error; a corridor that is
// built has one band per segment, each at least the minimum width, consecutive bands
// sharing that width, and none entering a pit lane.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/PapyDirectory.h"
#include "Papy/Lp/IniFile.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "Papy/Track/Track.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"
#include "Velmar/Core/SampleFolders.h"
#include "Velmar/Generators/RaceCorridor.h"
#include "fuzz/ScratchFile.h"

using namespace Ostra;
using namespace Ostra::Velmar;

namespace {

std::vector<CountedPtr<Papy::Track>> LoadSampleTracks() {
  Papy::RegisterGameRecognizers();
  Papy::RegisterN4Recognizer();
  const Test::TempDir root;
  const SampleFolders folders = WriteSampleFolders(root.Path());
  std::vector<CountedPtr<Papy::Track>> tracks;
  for (const std::string& folder : {folders.Gpl, folders.N4}) {
    const auto factory =
        Papy::FileFactoryRegistry::Instance().GetFactory(Papy::PapyDirectory(folder), false);
    tracks.push_back(factory->GetFacet<Papy::MakeTrack>()->Make("", "", false));
  }
  return tracks;
}

// Where a lane cuts: between its plan distances, across the start line when From is
// above To, nowhere when they are equal.
bool Touches(const PitLane& lane, const CorridorSegment& band) {
  if (lane.From == lane.To)
    return false;
  if (lane.From < lane.To)
    return band.Start < lane.To && lane.From < band.End;
  return band.Start < lane.To || lane.From < band.End;
}

bool Enters(const PitLane& lane, double right, double left) {
  return right < lane.LeftLatitude && lane.RightLatitude < left;
}

void CheckCorridor(const Papy::Track& track, const std::vector<PitLane>& lanes,
                   const std::vector<CorridorSegment>& corridor) {
  const double minimum = CorridorSettings{}.MinimumRangeWidth;
  if (corridor.size() != track.GetSegmentCount())
    std::abort();
  for (std::size_t s = 0; s < corridor.size(); ++s) {
    const CorridorSegment& band = corridor[s];
    const CorridorSegment& next = corridor[(s + 1) % corridor.size()];
    if (band.LeftStartLatitude - band.RightStartLatitude < minimum ||
        band.LeftEndLatitude - band.RightEndLatitude < minimum)
      std::abort();
    if (std::min(band.LeftEndLatitude, next.LeftStartLatitude) -
            std::max(band.RightEndLatitude, next.RightStartLatitude) < minimum)
      std::abort();
    for (const PitLane& lane : lanes)
      if (Touches(lane, band) && (Enters(lane, band.RightStartLatitude, band.LeftStartLatitude) ||
                                  Enters(lane, band.RightEndLatitude, band.LeftEndLatitude)))
        std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<CountedPtr<Papy::Track>> tracks = LoadSampleTracks();
  const Papy::IniFile ini(Fuzz::WriteScratch(data, size), true);
  std::vector<PitLane> lanes;
  try {
    lanes = ReadPitLanes(ini);
  } catch (const Util::XFileFormat&) {
    return 0; // the user is told which bounds are missing
  }
  if (lanes.empty())
    std::abort();
  for (const CountedPtr<Papy::Track>& track : tracks) {
    try {
      CheckCorridor(*track, lanes, BuildRaceCorridor(*track, ini));
    } catch (const Util::XAssertion&) {
      // A grid stall off the track, or pit lanes that leave a segment no band.
    }
  }
  return 0;
}
