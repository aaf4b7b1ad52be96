#include "Papy/Dat/DatNames.h"

#include <algorithm>

namespace Ostra::Papy::DatNames {

std::string LastComponent(const std::string& name) {
  const std::size_t separator = name.find_last_of("\\/");
  return separator == std::string::npos ? name : name.substr(separator + 1);
}

std::string BaseName(const std::string& name) {
  const std::string last = LastComponent(name);
  return last.substr(0, last.rfind('.'));
}

std::string Extension(const std::string& name) {
  const std::string last = LastComponent(name);
  const std::size_t dot = last.rfind('.');
  return dot == std::string::npos ? std::string() : last.substr(dot + 1);
}

std::string Folder(const std::string& name) {
  const std::size_t separator = name.rfind('\\');
  return separator == std::string::npos ? std::string() : name.substr(0, separator);
}

std::string ToDiskPath(const std::string& name) {
  std::string path = name;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

} // namespace Ostra::Papy::DatNames
