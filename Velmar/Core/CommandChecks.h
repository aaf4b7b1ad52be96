#pragma once

namespace Ostra::Papy {
class FileFactory;
class LpFile;
class Track;
} // namespace Ostra::Papy

// When the line-generation and control-point commands may run. A document made by New
// holds no LP, factory or track: its commands are disabled, never run on null. Each
// command checks again when it runs, since the menu's state may be stale.
namespace Ostra::Velmar {

// On an LP, not a lap curve, of a folder whose factory makes its track.
bool CanGenerateCurve(const Papy::LpFile* lp, const Papy::FileFactory* factory);
// On a lap curve of a folder whose factory makes its track and new LPs.
bool CanGenerateLp(const Papy::LpFile* lp, const Papy::FileFactory* factory);
// On a lap curve whose grid selection reaches a record row (lastRow >= 1).
bool CanCopyControlPoints(const Papy::LpFile* lp, int lastRow);
// On a lap curve, once control points were copied.
bool CanPasteControlPoints(const Papy::LpFile* lp);
// On a track whose factory knows its folder and makes new LPs.
bool CanCreateMinMaxRaceLps(const Papy::Track* track, const Papy::FileFactory* factory);

} // namespace Ostra::Velmar
