#pragma once

#include <string>
#include <vector>

// The file names the generation commands write and compare. Game folders copied from
// Windows hold mixed-case names, so "the same file" and "track.ini" ignore case where
// the exact name is missing.
namespace Ostra::Velmar {

// The path with "." + extension appended when its file name has no extension (a save
// dialog that did not add the default one); otherwise unchanged.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

// Whether the file name's extension is one of those given (without dots), ignoring
// case.
bool HasOneOfExtensions(const std::string& path, const std::vector<std::string>& extensions);

// The folder's track.ini, whatever the case of its name (Track.ini, TRACK.INI): the
// path on disk, or folder/track.ini when there is none.
std::string FindTrackIni(const std::string& folder);

} // namespace Ostra::Velmar
