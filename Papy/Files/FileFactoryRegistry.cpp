#include "Papy/Files/FileFactoryRegistry.h"

#include <algorithm>

#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRecognizer.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/NativePath.h"
#include "Util/PathName.h"
#include "Util/StringUtil.h"

namespace Ostra::Papy {

FileFactoryRegistry::FileFactoryRegistry() = default;

FileFactoryRegistry::~FileFactoryRegistry() = default;

FileFactoryRegistry& FileFactoryRegistry::Instance() {
  static FileFactoryRegistry* const instance = new FileFactoryRegistry;
  return *instance;
}

void FileFactoryRegistry::Register(FileFactoryRecognizer* recognizer) {
  UTIL_ASSERT(recognizer != nullptr);
  if (std::find(Recognizers.begin(), Recognizers.end(), recognizer) == Recognizers.end())
    Recognizers.push_back(recognizer);
}

CountedPtr<FileFactory> FileFactoryRegistry::GetFactory(const PapyDirectory& dir, bool writable) {
  return GetFactory(dir.GetPath(), writable);
}

CountedPtr<FileFactory> FileFactoryRegistry::GetFactory(const std::string& path, bool writable) {
  std::string copy = Util::NativePath::ToNative(path);
  if (copy.size() > 1 && copy.back() == '/')
    copy.pop_back();
  const std::string key = NormalisePath(copy);

  const auto cached = Cache.find(key);
  if (cached != Cache.end()) {
    if (!writable || cached->second.Writable)
      return cached->second.Factory;
    Cache.erase(cached);
  }

  if (Util::FileExists(copy))
    return FactoryForDat(copy, key, writable);
  return FactoryForFolder(copy, key, writable);
}

CountedPtr<FileFactory> FileFactoryRegistry::FactoryForDat(const std::string& path,
                                                           const std::string& key, bool writable) {
  FileFactoryRecognizer* chosen = nullptr;
  for (FileFactoryRecognizer* recognizer : Recognizers) {
    if (recognizer->IsGameDat(path)) {
      chosen = recognizer;
      break;
    }
  }
  for (std::size_t i = 0; !chosen && i < Recognizers.size(); ++i) {
    if (IsPreferred(*Recognizers[i]) && Recognizers[i]->IsPossibleDat(path))
      chosen = Recognizers[i];
  }
  for (std::size_t i = 0; !chosen && i < Recognizers.size(); ++i) {
    if (Recognizers[i]->IsPossibleDat(path))
      chosen = Recognizers[i];
  }
  if (!chosen)
    return {};
  return Store(key, chosen->CreateFactory(path, writable), writable);
}

CountedPtr<FileFactory> FileFactoryRegistry::FactoryForFolder(const std::string& path,
                                                              const std::string& key,
                                                              bool writable) {
  const PapyDirectory dir(path);
  try {
    for (FileFactoryRecognizer* recognizer : Recognizers) {
      if (recognizer->IsGameDirectory(dir))
        return Store(key, recognizer->CreateFactory(dir, writable), writable);
    }
  } catch (const Util::XFileOpen&) {
    // The game's archive in the folder cannot be opened: let the default recogniser
    // take the folder without it.
  }
  for (FileFactoryRecognizer* recognizer : Recognizers) {
    if (IsPreferred(*recognizer))
      return Store(key, recognizer->CreateFactory(dir, writable), writable);
  }
  // No default recogniser and more than one registered: nobody may take the folder.
  Util::FailAssertion("false", __FILE__, __LINE__);
}

// Builders and facets call back into the registry while a factory is being made, so
// the entry is written only once the factory exists.
CountedPtr<FileFactory> FileFactoryRegistry::Store(const std::string& key,
                                                   const CountedPtr<FileFactory>& factory,
                                                   bool writable) {
  Cache[key] = CacheEntry{factory, writable};
  return factory;
}

bool FileFactoryRegistry::IsPreferred(const FileFactoryRecognizer& recognizer) const {
  return Recognizers.size() == 1 || recognizer.IsDefault();
}

void FileFactoryRegistry::Purge() {
  for (auto it = Cache.begin(); it != Cache.end();) {
    if (it->second.Factory.UseCount() == 1)
      it = Cache.erase(it);
    else
      ++it;
  }
  std::vector<CountedPtr<FileFactory>> held;
  for (const auto& [key, entry] : Cache)
    held.push_back(entry.Factory);
  for (const auto& factory : held) {
    const CountedPtr<PurgeFactory> purge = factory->GetFacet<PurgeFactory>();
    if (purge)
      purge->Purge();
  }
}

void FileFactoryRegistry::Clear() {
  // Factories may be destroyed here; take them out of the map first so that nothing
  // they release can see a half-erased cache.
  std::map<std::string, CacheEntry> dropped;
  dropped.swap(Cache);
}

std::string FileFactoryRegistry::NormalisePath(const std::string& path) {
  std::string key = path;
  if (Util::FileExists(path)) {
    const Util::PathName file(path);
    const Util::PathName folder(file.GetDirectory());
    // Case is ignored so that …/Monza/monza.dat and …/Monza share one factory.
    if (Util::NativePath::EqualsFolded(file.GetBaseName(), folder.GetFileName()))
      key = folder.GetFullPath();
  }
  return Util::ToLower(key);
}

} // namespace Ostra::Papy
