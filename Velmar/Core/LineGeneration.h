#pragma once

#include <string>

#include "Util/CountedPtr.h"
#include "Velmar/Generators/MinMaxRaceLines.h"

namespace Ostra::Papy {
class FileFactory;
class FileFactoryRegistry;
class LpFile;
class LpFileCurve;
class Track;
} // namespace Ostra::Papy

// The generation commands' work between their dialogs and the file they write: what
// each makes from the documents' models and the folder's factory.
namespace Ostra::Velmar {

// Writes the LP (a lap curve in its .lcv format) through a temporary file renamed over
// the target, so a failed write leaves any earlier file whole. Throws XFileOpen or
// XFileWrite.
void SaveLpFile(const Papy::LpFile& lp, const std::string& path);

// Generate Curve: the lap curve of the LP's line over its folder's track, fitted to
// the tolerance. Throws Util::XUsage for an unacceptable tolerance, an LP of fewer
// than two records in a lap, a value of the LP or of the fitted curve that is not a
// finite number, and what the fitting throws.
CountedPtr<Papy::LpFileCurve> MakeCurveOfLp(const Papy::FileFactory& factory,
                                            const CountedPtr<Papy::LpFile>& lp, double tolerance);

// Generate Lp: a new LP in the game format of the curve's folder, with the curve's
// line, the flags of the folder's LP named like the curve (when it has as many records)
// and the speeds the grip allows. The folder's LP cache is left holding what it held:
// the new LP enters it only once written (RecordWrittenLp). Throws Util::XUsage for an
// unacceptable grip, a curve of fewer records or another spacing than the new LP, and
// values that are not finite, and what the speed generation throws.
CountedPtr<Papy::LpFile> MakeLpOfCurve(const Papy::FileFactory& factory, const Papy::LpFile& curve,
                                       const std::string& curveBaseName, double grip);

// After the new LP was written to path: the LP cache of the folder that holds path is
// brought up to date, so that opening the file shows what was written. In the curve's
// own folder (the factory's) it serves the written object under that file's name; the
// cache of another folder forgets what it held under that name. Throws the registry's
// errors for a path in no plausible folder.
void RecordWrittenLp(Papy::FileFactoryRegistry& registry, const Papy::FileFactory& factory,
                     const CountedPtr<Papy::LpFile>& lp, const std::string& path);

// Create Min/Max Race Lps: the two race-line curves of the track, from the corridor
// of its surfaces, walls and the pit lanes of the folder's track.ini (found whatever
// the case of its name). Throws the corridor's XFileFormat ("Pit lane bounds not
// present" when track.ini names no pit lane, or is missing) before any line is made,
// Util::XUsage for a line that is not finite, and the generators' assertions.
MinMaxRaceCurves MakeMinMaxRaceCurves(const Papy::FileFactory& factory,
                                      const CountedPtr<Papy::Track>& track,
                                      const RaceLineSettings& settings);

} // namespace Ostra::Velmar
