#pragma once

#include <string>

// Archive member names keep their backslashes: they are split here as plain strings
// and turned into disk paths only when a file is opened.
namespace Ostra::Papy::DatNames {

// The part after the last backslash or slash.
std::string LastComponent(const std::string& name);
// The last component up to its last dot; all of it when it has none.
std::string BaseName(const std::string& name);
// The last component after its last dot; empty when it has none.
std::string Extension(const std::string& name);
// The part before the last backslash; empty when there is none.
std::string Folder(const std::string& name);
// The name with every backslash turned into a slash, for a path on disk.
std::string ToDiskPath(const std::string& name);

} // namespace Ostra::Papy::DatNames
