#pragma once

#include <map>
#include <string>
#include <utility>

#include "Papy/Files/Facets.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/CountedPtr.h"

// The facets of N4 folders. Like the other games' facets they hold their folder, not
// their factory: to reach a sibling facet they ask the registry for the folder's
// factory. Every cache lives as long as its factory, that is for the whole run.
namespace Ostra::Papy {

// N4 LP files of the folder, cached by lower-cased "name.ext".
class N4MakeLp : public MakeLp {
public:
  explicit N4MakeLp(const PapyDirectory& dir);
  ~N4MakeLp() override;

  // Throws XUsage "<path>: file not found", XFileOpen, and the LP reader's errors;
  // nothing is cached for a file that failed.
  CountedPtr<LpFile> Make(const std::string& name, const std::string& ext) override;
  void Add(const CountedPtr<LpFile>& lp, const std::string& name, const std::string& ext) override;
  void Purge() override;
  bool Evict(const std::string& name, const std::string& ext) override;
  unsigned GetTypeCount() const override;
  std::string GetTypeName(unsigned i) const override;

  // The cache key of a request: lower-cased "name.ext" after the defaults.
  std::string MakeKey(const std::string& name, const std::string& ext) const;

  PapyDirectory Directory;
  std::string Extension = "lp";
  std::map<std::string, CountedPtr<LpFile>> Cache;
};

// New N4 LP files for the folder's track, entered in the folder's LP cache.
class N4CreateLp : public CreateLp {
public:
  N4CreateLp(const CountedPtr<MakeLp>& makeLp, const CountedPtr<MakeTrack>& makeTrack);
  ~N4CreateLp() override;

  // Throws what building the folder's track throws.
  CountedPtr<LpFile> Create(const std::string& name, double spacing) override;

  CountedPtr<MakeLp> MakeLpFacet;
  CountedPtr<MakeTrack> MakeTrackFacet;
};

// New N4 archives for the folder.
class N4CreateDat : public CreateDat {
public:
  explicit N4CreateDat(const PapyDirectory& dir) : Directory(dir) {}

  // Creates <folder>/<name>.dat, empty, and hands it to the folder factory's GetDat in
  // place of the archive it held. XFileOpen when the file exists, and then the factory
  // keeps its archive.
  CountedPtr<DatFile> Create() override;

  PapyDirectory Directory;
};

} // namespace Ostra::Papy
