#pragma once

#include <string>

// How documents find their template: by any of the template's extensions, ignoring case.
namespace Ostra::DocView {

enum class ExtensionMatch { Foreign, Native };

// extensions: ".trk;.dat". Native when the path's extension (from its last dot, dot
// included) equals one of them, ignoring case; Foreign otherwise, and for a path
// without a dot.
ExtensionMatch MatchExtension(const std::string& path, const std::string& extensions);

// ".trk;.dat" -> "*.trk;*.dat;*.TRK;*.DAT": file dialogs on this platform match case.
std::string MakeFilterPattern(const std::string& extensions);

// ".trk;.dat" -> "trk".
std::string FirstExtension(const std::string& extensions);

} // namespace Ostra::DocView
