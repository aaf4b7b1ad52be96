#pragma once

#include <map>
#include <string>
#include <utility>

#include "Papy/Files/Facets.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/CountedPtr.h"

// The facets of GPL and N2 (ICR2-format) folders that make LP files, TRK files and
// tracks. The two games differ only in their file classes and LP names, so each facet
// is one template over the game's formats. A facet holds its folder, not its factory:
// to reach a sibling facet it asks the registry for the folder's factory.
namespace Ostra::Papy {

// The GPL and ICR2 formats; defined where the facets are.
struct GPLFormats;
struct ICR2Formats;

// LP files of the folder, cached by lower-cased "name.ext".
template <class Formats> class GameMakeLp : public MakeLp {
public:
  explicit GameMakeLp(const PapyDirectory& dir);
  ~GameMakeLp() override;

  // A GPL LP also needs the folder's TRK file: its absence raises the TRK error.
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

// TRK files of the folder, loose or from its DAT archive, cached by lower-cased file
// name and whether the copy came from the archive.
template <class Formats> class GameMakeTrk : public MakeTrk {
public:
  GameMakeTrk(const PapyDirectory& dir, const CountedPtr<DatFile>& dat);
  ~GameMakeTrk() override;

  // The name is split at its last '.' even when ext is given ("monza.x" with "trk"
  // opens monza.trk). A request for the loose file accepts a copy already read from
  // the archive; a request for the archive copy never returns a loose file.
  CountedPtr<TrkFile> Make(const std::string& name, const std::string& ext, bool fromDat) override;
  void Purge() override;

  PapyDirectory Directory;
  CountedPtr<DatFile> Dat;
  std::string Extension = "trk";
  std::map<std::pair<std::string, bool>, CountedPtr<TrkFile>> Cache;
};

// The track model over the folder's TRK file. Every track is cached as coming from
// the archive, so a later request finds it whatever its fromDat.
class TrkMakeTrack : public MakeTrack {
public:
  TrkMakeTrack(const PapyDirectory& dir, const CountedPtr<DatFile>& dat);
  ~TrkMakeTrack() override;

  CountedPtr<Track> Make(const std::string& name, const std::string& ext, bool fromDat) override;
  void Purge() override;

  PapyDirectory Directory;
  // Unused by Make; it keeps the folder's archive open while the facet lives.
  CountedPtr<DatFile> Dat;
  std::string Extension = "trk";
  std::map<std::pair<std::string, bool>, CountedPtr<Track>> Cache;
};

// New LP files for the folder's track, entered in the folder's LP cache.
template <class Formats> class GameCreateLp : public CreateLp {
public:
  GameCreateLp(const CountedPtr<MakeLp>& makeLp, const CountedPtr<MakeTrk>& makeTrk);
  ~GameCreateLp() override;

  CountedPtr<LpFile> Create(const std::string& name, double spacing) override;

  CountedPtr<MakeLp> MakeLpFacet;
  CountedPtr<MakeTrk> MakeTrkFacet;
};

// GPL TRK files converted from a TRK file of any game.
class GPLCreateTrk : public CreateTrk {
public:
  explicit GPLCreateTrk(const CountedPtr<MakeTrk>& makeTrk);
  ~GPLCreateTrk() override;

  // Throws XUsage "GPL trk file supports too few laterals" for a source with more
  // laterals than a GPL file holds.
  CountedPtr<TrkFile> Create(const CountedPtr<TrkFile>& source) override;

  CountedPtr<MakeTrk> MakeTrkFacet;
};

extern template class GameMakeLp<GPLFormats>;
extern template class GameMakeLp<ICR2Formats>;
extern template class GameMakeTrk<GPLFormats>;
extern template class GameMakeTrk<ICR2Formats>;
extern template class GameCreateLp<GPLFormats>;
extern template class GameCreateLp<ICR2Formats>;

using GPLMakeLp = GameMakeLp<GPLFormats>;
using ICR2MakeLp = GameMakeLp<ICR2Formats>;
using GPLMakeTrk = GameMakeTrk<GPLFormats>;
using ICR2MakeTrk = GameMakeTrk<ICR2Formats>;
using GPLCreateLp = GameCreateLp<GPLFormats>;
using ICR2CreateLp = GameCreateLp<ICR2Formats>;

} // namespace Ostra::Papy
