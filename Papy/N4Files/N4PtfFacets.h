#pragma once

#include <map>
#include <string>
#include <utility>

#include "Papy/Files/Facets.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/CountedPtr.h"

// The N4 facets over .ptf object archives: the archives themselves and the track model
// presented over one.
namespace Ostra::Papy {

// .ptf archives of the folder, loose or from its archive, cached by lower-cased
// "name.ext" and whether the copy came from the archive: a file present both ways
// gives two objects.
class N4MakePtf : public MakePtf {
public:
  N4MakePtf(const PapyDirectory& dir, const CountedPtr<DatFile>& dat);
  ~N4MakePtf() override;

  // The name may carry its own extension ("track.ptf"); ext, when given, overrides it.
  // A request for the loose file accepts a copy already read from the archive; a
  // request for the archive copy never returns a loose file. Throws XFileOpen "File
  // not found" naming the path as spelled when the file is in neither place, and the
  // archive reader's errors; nothing is cached for a file that failed.
  CountedPtr<N4TdoFile> Make(const std::string& name, const std::string& ext, bool fromDat) override;
  // Lets go of the archives that nobody else holds.
  void Purge() override;

  // The name of the stream a cached archive was read from (a loose file's path, an
  // archive member's name), so that errors found in its contents later name the same
  // file the reader's own errors name; empty for an archive this facet did not read.
  std::string GetStreamName(const CountedPtr<N4TdoFile>& file) const;

  PapyDirectory Directory;
  CountedPtr<DatFile> Dat;
  std::string Extension = "ptf";
  std::map<std::pair<std::string, bool>, CountedPtr<N4TdoFile>> Cache;
  // Beside Cache, under the same keys.
  std::map<std::pair<std::string, bool>, std::string> StreamNames;
};

// The track model over the folder's .ptf archive. Every track is cached as coming from
// the archive, so a later request finds it whatever its fromDat.
class N4MakeTrack : public MakeTrack {
public:
  N4MakeTrack(const PapyDirectory& dir, const CountedPtr<DatFile>& dat);
  ~N4MakeTrack() override;

  // The archive is always the .ptf of that base name, whatever ext says. Throws what
  // MakePtf throws, and the track adapter's errors, naming the .ptf as its reader did,
  // for an archive that holds no track.
  CountedPtr<Track> Make(const std::string& name, const std::string& ext, bool fromDat) override;
  void Purge() override;

  PapyDirectory Directory;
  // Unused by Make; it keeps the folder's archive open while the facet lives.
  CountedPtr<DatFile> Dat;
  std::string Extension = "ptf";
  std::map<std::pair<std::string, bool>, CountedPtr<Track>> Cache;
};

} // namespace Ostra::Papy
