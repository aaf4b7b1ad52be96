#pragma once

#include <map>
#include <string>

#include "Papy/Files/FileFactory.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/CountedPtr.h"

// The facet interfaces a file factory may hold, with their ids. Every Make takes
// (name, extension[, fromDat]): an empty name means the folder's own name, an empty
// extension the facet's default ("lp" or "trk"), and a true fromDat asks for the copy
// inside the folder's DAT archive.
namespace Ostra::Papy {

// The system text of the XFileOpen a Make throws for a file that is neither in the
// folder nor in its archive.
inline constexpr const char* FileNotFoundText = "File not found";

class DatFile;
class LpFile;
class N4TdoFile;
class PcxFile;
class Track;
class TrkFile;

class GetDat : public FileFactory::Facet {
public:
  static constexpr FacetId Id{1};
  // The folder's DAT archive; null when the folder has none.
  virtual CountedPtr<DatFile> Get() = 0;
  // Drops the facet's hold on the archive; Get then returns null.
  virtual void Release() = 0;
  // Replaces the archive, e.g. with one just written for the folder.
  virtual void Set(const CountedPtr<DatFile>& dat) = 0;
};

// The factory's folder.
class GetDirectory : public FileFactory::Facet {
public:
  static constexpr FacetId Id{2};
  explicit GetDirectory(const PapyDirectory& directory) : Directory(directory) {}
  const PapyDirectory& Get() const { return Directory; }

  PapyDirectory Directory;
};

class CreateLp : public FileFactory::Facet {
public:
  static constexpr FacetId Id{3};
  // A new LP of the game's format for the folder's track, all records zeroed, already
  // in the folder's LP cache under name; nothing is written. A spacing of 0 selects
  // the format's default.
  virtual CountedPtr<LpFile> Create(const std::string& name, double spacing) = 0;
};

class CreateTrk : public FileFactory::Facet {
public:
  static constexpr FacetId Id{4};
  // A TRK file of the game's format converted from a TRK file of any game; not cached.
  virtual CountedPtr<TrkFile> Create(const CountedPtr<TrkFile>& source) = 0;
};

class MakeLp : public FileFactory::Facet {
public:
  static constexpr FacetId Id{5};
  // The folder's LP file, read once and then served from the cache. Throws XUsage
  // "<path>: file not found" when it is missing, and the reader's errors.
  virtual CountedPtr<LpFile> Make(const std::string& name, const std::string& ext) = 0;
  // Enters an LP made elsewhere into the cache, replacing any under that name.
  virtual void Add(const CountedPtr<LpFile>& lp, const std::string& name,
                   const std::string& ext) = 0;
  virtual void Purge() = 0;
  // Drops the one LP cached under that name, so that the next Make reads the file again
  // (an editor discarding unsaved edits of the cached object). True when there was
  // one; a facet that caches nothing has nothing to drop.
  virtual bool Evict(const std::string& /*name*/, const std::string& /*ext*/) { return false; }
  // The game's standard LP names ("race", "pit", ...).
  virtual unsigned GetTypeCount() const = 0;
  // Asserts "i < GetTypeCount()".
  virtual std::string GetTypeName(unsigned i) const = 0;
};

class MakeTrk : public FileFactory::Facet {
public:
  static constexpr FacetId Id{6};
  // The folder's TRK file, loose or from the folder's DAT archive, cached. Throws
  // XFileOpen "File not found" when it is in neither, and the reader's errors.
  virtual CountedPtr<TrkFile> Make(const std::string& name, const std::string& ext,
                                   bool fromDat) = 0;
  virtual void Purge() = 0;
};

class CreateDat : public FileFactory::Facet {
public:
  static constexpr FacetId Id{7};
  // A new, empty DAT archive of the game's format for the folder. Throws XFileOpen
  // when the folder's archive already exists.
  virtual CountedPtr<DatFile> Create() = 0;
};

// Empties the file caches of the factory that owns it. It holds its factory by a
// plain pointer so that the two do not keep each other alive.
class PurgeFactory : public FileFactory::Facet {
public:
  static constexpr FacetId Id{8};
  explicit PurgeFactory(FileFactory* factory) : Factory(factory) {}
  // Objects still held elsewhere (by a document) survive; only the caches let go.
  void Purge();

  FileFactory* Factory;
};

class MakeTrack : public FileFactory::Facet {
public:
  static constexpr FacetId Id{9};
  // The track model of the folder's track, cached.
  virtual CountedPtr<Track> Make(const std::string& name, const std::string& ext, bool fromDat) = 0;
  virtual void Purge() = 0;
};

class MakePtf : public FileFactory::Facet {
public:
  static constexpr FacetId Id{10};
  // An N4 PTF object archive, cached.
  virtual CountedPtr<N4TdoFile> Make(const std::string& name, const std::string& ext,
                                     bool fromDat) = 0;
  virtual void Purge() = 0;
};

// File kinds that have an id but no maker in this system; only their caches are ever
// touched, by PurgeFactory.
class MakeCam : public FileFactory::Facet {
public:
  static constexpr FacetId Id{11};
  virtual void Purge() = 0;
};

class MakeMip : public FileFactory::Facet {
public:
  static constexpr FacetId Id{12};
  virtual void Purge() = 0;
};

class MakePbf : public FileFactory::Facet {
public:
  static constexpr FacetId Id{13};
  virtual void Purge() = 0;
};

class MakePcx : public FileFactory::Facet {
public:
  static constexpr FacetId Id{14};
  MakePcx();
  ~MakePcx() override;

  // Keyed by file name; emptied by PurgeFactory.
  std::map<std::string, CountedPtr<PcxFile>> Cache;
};

class MakeRpy : public FileFactory::Facet {
public:
  static constexpr FacetId Id{15};
  virtual void Purge() = 0;
};

class MakeSrb : public FileFactory::Facet {
public:
  static constexpr FacetId Id{16};
  virtual void Purge() = 0;
};

class MakeTdo : public FileFactory::Facet {
public:
  static constexpr FacetId Id{17};
  virtual void Purge() = 0;
};

} // namespace Ostra::Papy
