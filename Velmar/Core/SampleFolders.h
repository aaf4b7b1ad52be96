#pragma once

#include <string>
#include <vector>

// Small game folders the editor can open without any game installed: a GPL oval with
// a pit lane, walls, race.lp and track.ini; the same oval as an N2 folder; and an N4
// folder with a .ptf track and its LPs. Every file is written by the game formats' own
// writers, after the reader has accepted what was built.
namespace Ostra::Velmar {

struct SampleFolders {
  std::string Gpl; // <root>/gpl/
  std::string N2;  // <root>/n2/
  std::string N4;  // <root>/n4/
  // The track files: gpl/gpl.trk, n2/n2.trk, n4/n4.ptf.
  std::string GplTrack;
  std::string N2Track;
  std::string N4Track;
};

// The paths of the folders under root, written or not.
SampleFolders GetSampleFolders(const std::string& root);

// Writes (or rewrites) the three folders under root, creating what is missing.
// Throws the writers' and the file system's errors.
SampleFolders WriteSampleFolders(const std::string& root);

// The lateral band and the plan distances of the samples' pit lanes, as track.ini
// gives them, in metres.
struct SamplePitLane {
  double From;
  double To;
  double RightLatitude;
  double LeftLatitude;
};
SamplePitLane GetGplSamplePitLane();
SamplePitLane GetN4SamplePitLane();

} // namespace Ostra::Velmar
