#pragma once

#include <string>

namespace Ostra::Papy {

// The game folder a path belongs to. Every file factory serves one folder, and a
// game's files are found by the folder's name (…/monza/ holds monza.trk, monza.dat).
// The path may name the folder, a file in it, or a file that is not on disk (a TRK
// file that lives only in the folder's DAT archive, an LP about to be created).
// Case is kept as given; only the existence tests ignore case.
class PapyDirectory {
public:
  // The current folder.
  PapyDirectory();
  // Throws XAssertion when no plausible folder can be made of the path: too long,
  // or a missing path whose parent and grandparent are both missing.
  explicit PapyDirectory(const std::string& path);

  const std::string& GetName() const { return Name; }
  const std::string& GetPath() const { return Path; }
  bool IsRoot() const { return Root; }
  // Asserts "!Root".
  const std::string& GetParent() const;

  bool Root = false;
  // The last component; "/" for the root.
  std::string Name;
  // The full path with one trailing '/'; "/" for the root.
  std::string Path;
  // The containing folder with a trailing '/'; empty for the root.
  std::string Parent;

private:
  void Build(const std::string& path);
};

// Throws XFileOpen, naming the path with the system's "No such file or directory"
// ("Not a directory"), when the folder that would hold it is missing (is a file). The
// paths the user opens are checked with it first: PapyDirectory would take such a path
// for a folder about to be made, or fail its own assertions.
void RequireContainingFolder(const std::string& path);

} // namespace Ostra::Papy
