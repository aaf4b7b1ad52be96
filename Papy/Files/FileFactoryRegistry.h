#pragma once

#include <map>
#include <string>
#include <vector>

#include "Papy/Files/FileFactory.h"
#include "Papy/Files/PapyDirectory.h"
#include "Util/CountedPtr.h"

namespace Ostra::Papy {

class FileFactoryRecognizer;

// Where a path becomes a file factory. It asks the registered recognisers which game
// a folder or DAT archive belongs to, lets the winner build the factory, and caches
// it under a normalised form of the path, so that every document and facet working
// on one game folder shares one factory and so one set of file caches.
//
// The process-wide registry is Instance(); tests may construct their own. Nothing is
// registered by static constructors: RegisterGameRecognizers() does it.
class FileFactoryRegistry {
public:
  FileFactoryRegistry();
  ~FileFactoryRegistry();
  FileFactoryRegistry(const FileFactoryRegistry&) = delete;
  FileFactoryRegistry& operator=(const FileFactoryRegistry&) = delete;

  // Created on first use, never destroyed: the application empties it at exit with
  // Clear() while everything its factories refer to is still alive.
  static FileFactoryRegistry& Instance();

  // Appends a recogniser, which must outlive the registry; it is asked after those
  // registered before it. A recogniser already registered is not added twice.
  void Register(FileFactoryRecognizer* recognizer);

  // The factory for a folder, a path inside a folder that is not on disk, or a DAT
  // archive (any existing plain file is taken as one). Null when no recogniser
  // accepts an archive; a folder nobody claims goes to the default recogniser.
  // writable opens the folder's archive for writing; a writable request replaces a
  // factory cached read-only. Recognisers' and builders' failures propagate and
  // nothing is cached. Asserts "false" when a folder has no taker.
  CountedPtr<FileFactory> GetFactory(const std::string& path, bool writable);
  CountedPtr<FileFactory> GetFactory(const PapyDirectory& dir, bool writable);

  // Drops the factories nobody else holds and empties the file caches of the rest.
  void Purge();

  // Drops every cached factory.
  void Clear();

private:
  struct CacheEntry {
    CountedPtr<FileFactory> Factory;
    bool Writable = false;
  };

  // The cache key of a path: lower-cased, and a file named after its own folder (the
  // folder's DAT archive) maps to the folder.
  static std::string NormalisePath(const std::string& path);

  CountedPtr<FileFactory> FactoryForDat(const std::string& path, const std::string& key,
                                        bool writable);
  CountedPtr<FileFactory> FactoryForFolder(const std::string& path, const std::string& key,
                                           bool writable);
  CountedPtr<FileFactory> Store(const std::string& key, const CountedPtr<FileFactory>& factory,
                                bool writable);
  bool IsPreferred(const FileFactoryRecognizer& recognizer) const;

  std::map<std::string, CacheEntry> Cache;
  std::vector<FileFactoryRecognizer*> Recognizers;
};

// Registers the GPL recogniser (the default) and then the N2 recogniser with the
// registry, once; later calls change nothing. Recognisers of other games register
// after this call and are asked after these two.
void RegisterGameRecognizers(FileFactoryRegistry& registry = FileFactoryRegistry::Instance());

} // namespace Ostra::Papy
