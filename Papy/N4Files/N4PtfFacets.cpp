#include "Papy/N4Files/N4PtfFacets.h"

#include "Papy/Dat/DatFile.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/Ptf/PtfTrack.h"
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

} // namespace

N4MakePtf::N4MakePtf(const PapyDirectory& dir, const CountedPtr<DatFile>& dat)
    : Directory(dir), Dat(dat) {}

N4MakePtf::~N4MakePtf() = default;

CountedPtr<N4TdoFile> N4MakePtf::Make(const std::string& name, const std::string& ext,
                                      bool fromDat) {
  std::string base = Directory.Name;
  std::string own_extension;
  if (!name.empty()) {
    const std::size_t dot = name.rfind('.');
    base = name.substr(0, dot);
    if (dot != std::string::npos)
      own_extension = name.substr(dot + 1);
  }
  const std::string extension = !ext.empty() ? ext : !own_extension.empty() ? own_extension : Extension;
  const std::string spelled = base + "." + extension;
  const std::string key = Util::ToLower(spelled);

  if (!fromDat) {
    if (const auto cached = Cache.find({key, false}); cached != Cache.end())
      return cached->second;
  }
  if (const auto cached = Cache.find({key, true}); cached != Cache.end())
    return cached->second;

  StreamPtr stream;
  bool from_archive = false;
  if (!fromDat && Util::FileExists(Directory.Path + key)) {
    stream.Reset(Util::BinaryFile::OpenRead(Directory.Path + key));
  } else if (Dat) {
    stream = Dat->OpenSubFile(key);
    from_archive = true;
  }
  if (!stream)
    throw Util::XFileOpen(Directory.Path + spelled, FileNotFoundText);

  // Objects of the archive may ask for the folder's other files through this factory.
  const CountedPtr<FileFactory> factory = FolderFactory(Directory);
  const CountedPtr<N4TdoFile> file(
      new N4TdoFile(stream, N4ArchiverRegistry::Instance().GetReadable(), factory.Get()));
  Cache[{key, from_archive}] = file;
  StreamNames[{key, from_archive}] = stream->Name();
  return file;
}

void N4MakePtf::Purge() {
  for (auto it = Cache.begin(); it != Cache.end();) {
    if (it->second.UseCount() == 1) {
      StreamNames.erase(it->first);
      it = Cache.erase(it);
    } else {
      ++it;
    }
  }
}

std::string N4MakePtf::GetStreamName(const CountedPtr<N4TdoFile>& file) const {
  for (const auto& [key, cached] : Cache) {
    if (cached == file) {
      const auto name = StreamNames.find(key);
      return name != StreamNames.end() ? name->second : std::string();
    }
  }
  return {};
}

N4MakeTrack::N4MakeTrack(const PapyDirectory& dir, const CountedPtr<DatFile>& dat)
    : Directory(dir), Dat(dat) {}

N4MakeTrack::~N4MakeTrack() = default;

CountedPtr<Track> N4MakeTrack::Make(const std::string& name, const std::string& ext,
                                    bool fromDat) {
  const std::string base = name.empty() ? Directory.Name : name;
  const std::string key = Util::ToLower(base + "." + (ext.empty() ? Extension : ext));
  if (!fromDat) {
    if (const auto cached = Cache.find({key, false}); cached != Cache.end())
      return cached->second;
  }
  if (const auto cached = Cache.find({key, true}); cached != Cache.end())
    return cached->second;

  const CountedPtr<MakePtf> ptfs = FolderFactory(Directory)->GetFacet<MakePtf>();
  const CountedPtr<N4TdoFile> ptf = ptfs->Make(base, "ptf", fromDat);
  // The archive's own errors named the stream it was read from; so do the track's.
  const auto* const n4 = dynamic_cast<const N4MakePtf*>(ptfs.Get());
  std::string file_name = n4 != nullptr ? n4->GetStreamName(ptf) : std::string();
  if (file_name.empty())
    file_name = Directory.Path + base + ".ptf";
  const CountedPtr<Track> track(new PtfTrack(CountedPtr<TdoFile>(ptf), file_name));
  Cache[{key, true}] = track;
  return track;
}

void N4MakeTrack::Purge() { Cache.clear(); }

} // namespace Ostra::Papy
