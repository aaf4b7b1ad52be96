#include "Papy/Files/GameFacets.h"

#include <array>
#include <optional>

#include "Papy/Dat/DatFile.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/GPLLpFile.h"
#include "Papy/Lp/ICR2LpFile.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/ICR2TrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "Util/BinaryFile.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StringUtil.h"

namespace Ostra::Papy {

namespace {

using StreamPtr = CountedPtr<Util::BinaryStream>;

// The folder's factory as the registry caches it: the factory a sibling facet lives in.
CountedPtr<FileFactory> FolderFactory(const PapyDirectory& dir) {
  const CountedPtr<FileFactory> factory = FileFactoryRegistry::Instance().GetFactory(dir, false);
  // A plain file where the folder was gives no factory.
  UTIL_ASSERT(factory);
  return factory;
}

// A loose file of the folder; null when it is missing. One that is there but cannot be
// opened throws the XFileOpen with the system's reason: "not found" would hide it.
StreamPtr OpenLoose(const std::string& path) {
  if (!Util::FileExists(path))
    return {};
  return StreamPtr(Util::BinaryFile::OpenRead(path));
}

} // namespace

struct GPLFormats {
  static constexpr std::array<const char*, 6> LpNames = {"race",  "maxrace", "minrace",
                                                         "pass1", "pass2",   "pit"};

  // The GPL reader checks the record count against the folder's own track.
  static CountedPtr<LpFile> ReadLp(const StreamPtr& stream, const PapyDirectory& dir) {
    const CountedPtr<TrkFile> trk = FolderFactory(dir)->GetFacet<MakeTrk>()->Make("", "", false);
    return CountedPtr<LpFile>(new GPLLpFile(stream, trk));
  }
  static CountedPtr<LpFile> NewLp(const CountedPtr<TrkFile>& trk, double spacing) {
    return CountedPtr<LpFile>(new GPLLpFile(trk, spacing));
  }
  static CountedPtr<TrkFile> ReadTrk(const StreamPtr& stream) {
    return CountedPtr<TrkFile>(new GPLTrkFile(stream));
  }
};

struct ICR2Formats {
  static constexpr std::array<const char*, 10> LpNames = {"race",  "maxrace",  "minrace",  "pass1",
                                                          "pass2", "maxpanic", "minpanic", "pit",
                                                          "pace",  "spot1"};

  static CountedPtr<LpFile> ReadLp(const StreamPtr& stream, const PapyDirectory&) {
    return CountedPtr<LpFile>(new ICR2LpFile(stream));
  }
  static CountedPtr<LpFile> NewLp(const CountedPtr<TrkFile>& trk, double spacing) {
    return CountedPtr<LpFile>(new ICR2LpFile(trk, spacing));
  }
  static CountedPtr<TrkFile> ReadTrk(const StreamPtr& stream) {
    return CountedPtr<TrkFile>(new ICR2TrkFile(stream));
  }
};

template <class Formats>
GameMakeLp<Formats>::GameMakeLp(const PapyDirectory& dir) : Directory(dir) {}

template <class Formats> GameMakeLp<Formats>::~GameMakeLp() = default;

template <class Formats>
std::string GameMakeLp<Formats>::MakeKey(const std::string& name, const std::string& ext) const {
  const std::string& base = name.empty() ? Directory.Name : name;
  const std::string& extension = ext.empty() ? Extension : ext;
  return Util::ToLower(base + "." + extension);
}

template <class Formats>
CountedPtr<LpFile> GameMakeLp<Formats>::Make(const std::string& name, const std::string& ext) {
  const std::string key = MakeKey(name, ext);
  if (const auto cached = Cache.find(key); cached != Cache.end())
    return cached->second;
  const std::string path = Directory.Path + key;
  const StreamPtr stream = OpenLoose(path);
  if (!stream)
    throw Util::XUsage(path + ": file not found");
  const CountedPtr<LpFile> lp = Formats::ReadLp(stream, Directory);
  Cache[key] = lp;
  return lp;
}

template <class Formats>
void GameMakeLp<Formats>::Add(const CountedPtr<LpFile>& lp, const std::string& name,
                              const std::string& ext) {
  Cache[MakeKey(name, ext)] = lp;
}

template <class Formats> void GameMakeLp<Formats>::Purge() { Cache.clear(); }

template <class Formats>
bool GameMakeLp<Formats>::Evict(const std::string& name, const std::string& ext) {
  return Cache.erase(MakeKey(name, ext)) > 0;
}

template <class Formats> unsigned GameMakeLp<Formats>::GetTypeCount() const {
  return static_cast<unsigned>(Formats::LpNames.size());
}

template <class Formats> std::string GameMakeLp<Formats>::GetTypeName(unsigned i) const {
  UTIL_ASSERT(i < GetTypeCount());
  return Formats::LpNames[i];
}

template <class Formats>
GameMakeTrk<Formats>::GameMakeTrk(const PapyDirectory& dir, const CountedPtr<DatFile>& dat)
    : Directory(dir), Dat(dat) {}

template <class Formats> GameMakeTrk<Formats>::~GameMakeTrk() = default;

template <class Formats>
CountedPtr<TrkFile> GameMakeTrk<Formats>::Make(const std::string& name, const std::string& ext,
                                               bool fromDat) {
  std::string base = Directory.Name;
  std::string extension = ext.empty() ? Extension : ext;
  if (!name.empty()) {
    const std::size_t dot = name.rfind('.');
    base = name.substr(0, dot);
    if (dot != std::string::npos && ext.empty())
      extension = name.substr(dot + 1);
  }
  const std::string spelled = extension.empty() ? base : base + "." + extension;
  const std::string file = Util::ToLower(spelled);

  if (!fromDat) {
    if (const auto cached = Cache.find({file, false}); cached != Cache.end())
      return cached->second;
  }
  if (const auto cached = Cache.find({file, true}); cached != Cache.end())
    return cached->second;

  StreamPtr stream;
  bool from_archive = false;
  std::optional<Util::XFileOpen> unreadable;
  if (!fromDat) {
    try {
      stream = OpenLoose(Directory.Path + file);
    } catch (const Util::XFileOpen& e) {
      unreadable = e; // the archive's copy may still serve
    }
  }
  if (!stream && Dat) {
    stream = Dat->OpenSubFile(file);
    from_archive = true;
  }
  if (!stream && unreadable)
    throw *unreadable;
  if (!stream)
    throw Util::XFileOpen(Directory.Path + spelled, FileNotFoundText);

  const CountedPtr<TrkFile> trk = Formats::ReadTrk(stream);
  Cache[{file, from_archive}] = trk;
  return trk;
}

template <class Formats> void GameMakeTrk<Formats>::Purge() { Cache.clear(); }

TrkMakeTrack::TrkMakeTrack(const PapyDirectory& dir, const CountedPtr<DatFile>& dat)
    : Directory(dir), Dat(dat) {}

TrkMakeTrack::~TrkMakeTrack() = default;

CountedPtr<Track> TrkMakeTrack::Make(const std::string& name, const std::string& ext,
                                     bool fromDat) {
  const std::string base = name.empty() ? Directory.Name : name;
  const std::string key = Util::ToLower(base + "." + (ext.empty() ? Extension : ext));
  if (!fromDat) {
    if (const auto cached = Cache.find({key, false}); cached != Cache.end())
      return cached->second;
  }
  if (const auto cached = Cache.find({key, true}); cached != Cache.end())
    return cached->second;

  const CountedPtr<TrkFile> trk =
      FolderFactory(Directory)->GetFacet<MakeTrk>()->Make(base, "trk", fromDat);
  const CountedPtr<Track> track(new TrkTrack(trk));
  Cache[{key, true}] = track;
  return track;
}

void TrkMakeTrack::Purge() { Cache.clear(); }

template <class Formats>
GameCreateLp<Formats>::GameCreateLp(const CountedPtr<MakeLp>& makeLp,
                                    const CountedPtr<MakeTrk>& makeTrk)
    : MakeLpFacet(makeLp), MakeTrkFacet(makeTrk) {}

template <class Formats> GameCreateLp<Formats>::~GameCreateLp() = default;

template <class Formats>
CountedPtr<LpFile> GameCreateLp<Formats>::Create(const std::string& name, double spacing) {
  const CountedPtr<TrkFile> trk = MakeTrkFacet->Make("", "", false);
  const CountedPtr<LpFile> lp = Formats::NewLp(trk, spacing);
  MakeLpFacet->Add(lp, Util::ToLower(name), "");
  return lp;
}

GPLCreateTrk::GPLCreateTrk(const CountedPtr<MakeTrk>& makeTrk) : MakeTrkFacet(makeTrk) {}

GPLCreateTrk::~GPLCreateTrk() = default;

CountedPtr<TrkFile> GPLCreateTrk::Create(const CountedPtr<TrkFile>& source) {
  return CountedPtr<TrkFile>(new GPLTrkFile(source));
}

template class GameMakeLp<GPLFormats>;
template class GameMakeLp<ICR2Formats>;
template class GameMakeTrk<GPLFormats>;
template class GameMakeTrk<ICR2Formats>;
template class GameCreateLp<GPLFormats>;
template class GameCreateLp<ICR2Formats>;

} // namespace Ostra::Papy
