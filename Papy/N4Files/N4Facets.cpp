#include "Papy/N4Files/N4Facets.h"

#include <array>

#include "Papy/Dat/N4DatFile.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/Track/Track.h"
#include "Util/BinaryFile.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StringUtil.h"

namespace Ostra::Papy {

namespace {

using StreamPtr = CountedPtr<Util::BinaryStream>;

constexpr std::array<const char*, 13> LpNames = {
    "raceline", "race", "maxrace", "minrace", "maxpanic", "minpanic", "pit0",
    "maxpit0",  "minpit0", "pit1", "maxpit1", "minpit1", "limp"};

// The folder's factory as the registry caches it: the factory a sibling facet lives in.
CountedPtr<FileFactory> FolderFactory(const PapyDirectory& dir) {
  const CountedPtr<FileFactory> factory = FileFactoryRegistry::Instance().GetFactory(dir, false);
  // A plain file where the folder was gives no factory.
  UTIL_ASSERT(factory);
  return factory;
}

} // namespace

N4MakeLp::N4MakeLp(const PapyDirectory& dir) : Directory(dir) {}

N4MakeLp::~N4MakeLp() = default;

std::string N4MakeLp::MakeKey(const std::string& name, const std::string& ext) const {
  const std::string& base = name.empty() ? Directory.Name : name;
  const std::string& extension = ext.empty() ? Extension : ext;
  return Util::ToLower(base + "." + extension);
}

CountedPtr<LpFile> N4MakeLp::Make(const std::string& name, const std::string& ext) {
  const std::string key = MakeKey(name, ext);
  if (const auto cached = Cache.find(key); cached != Cache.end())
    return cached->second;
  const std::string path = Directory.Path + key;
  if (!Util::FileExists(path))
    throw Util::XUsage(path + ": file not found");
  const StreamPtr stream(Util::BinaryFile::OpenRead(path));
  const CountedPtr<LpFile> lp(new N4LpFile(stream));
  Cache[key] = lp;
  return lp;
}

void N4MakeLp::Add(const CountedPtr<LpFile>& lp, const std::string& name, const std::string& ext) {
  Cache[MakeKey(name, ext)] = lp;
}

void N4MakeLp::Purge() { Cache.clear(); }

bool N4MakeLp::Evict(const std::string& name, const std::string& ext) { return Cache.erase(MakeKey(name, ext)) > 0; }

unsigned N4MakeLp::GetTypeCount() const { return static_cast<unsigned>(LpNames.size()); }

std::string N4MakeLp::GetTypeName(unsigned i) const {
  UTIL_ASSERT(i < GetTypeCount());
  return LpNames[i];
}

N4CreateLp::N4CreateLp(const CountedPtr<MakeLp>& makeLp, const CountedPtr<MakeTrack>& makeTrack)
    : MakeLpFacet(makeLp), MakeTrackFacet(makeTrack) {}

N4CreateLp::~N4CreateLp() = default;

CountedPtr<LpFile> N4CreateLp::Create(const std::string& name, double spacing) {
  const CountedPtr<Track> track = MakeTrackFacet->Make("", "", false);
  const CountedPtr<LpFile> lp(new N4LpFile(track, spacing));
  MakeLpFacet->Add(lp, Util::ToLower(name), "");
  return lp;
}

CountedPtr<DatFile> N4CreateDat::Create() {
  const CountedPtr<FileFactory> factory = FolderFactory(Directory);
  const CountedPtr<DatFile> dat(new N4DatFile(Directory.Path + Directory.Name + ".dat"));
  factory->GetFacet<GetDat>()->Set(dat);
  return dat;
}

} // namespace Ostra::Papy
