#pragma once

#include "Papy/Track/Track.h"
#include "Util/CountedPtr.h"

// The three games' tracks, built in memory and read through the library's own readers.
namespace Ostra::Test {

// GplTrkBuilder::Circuit: nine sections, three laterals, three surface strips and one
// wall per section.
CountedPtr<Papy::Track> BuiltGplTrack();
// ICR2TrkBuilder::Circuit: nine sections, three laterals, three strips, two walls.
CountedPtr<Papy::Track> BuiltN2Track();
// N4PtfBuilder::SmallTrack: eight segments, straights and left quarter arcs.
CountedPtr<Papy::Track> BuiltN4Track();

} // namespace Ostra::Test
