#pragma once

#include <cstdint>
#include <list>
#include <map>

namespace Ostra::Papy {
class FileFactory;
}

// Links the LP and lap-curve documents to the track documents of the same game folder.
// Documents of one folder share one FileFactory object (the factory registry hands out
// one per folder for the whole run), so the raw factory pointer names the folder.
namespace Ostra::DocView {

// What the registry needs of a track document.
class ITrackDocLink {
public:
  virtual ~ITrackDocLink() = default;
  virtual const Papy::FileFactory* GetRegistryKey() const = 0;
  // Redraws the document's views because its linked LP documents changed (hint 0).
  virtual void RefreshViews() = 0;
};

// What the registry needs of an LP or lap-curve document.
class ILpDocLink {
public:
  virtual ~ILpDocLink() = default;
  virtual const Papy::FileFactory* GetRegistryKey() const = 0;
};

class DocumentRegistry {
public:
  struct Entry {
    // Newest first. Every track document of the folder is told about LP changes, so a
    // folder opened twice (its .trk and its .dat) keeps both windows current.
    std::list<ITrackDocLink*> TrackDocuments;
    // Newest first.
    std::list<ILpDocLink*> LpDocuments;
  };

  void RegisterTrackDocument(ITrackDocLink* track);
  // Removes only this document; no notification.
  void UnregisterTrackDocument(ITrackDocLink* track);
  // Puts the document at the front of its folder's list and refreshes the folder's
  // track documents (only when the entry existed already). A document without a
  // factory (made by New) names no folder and is not linked.
  void RegisterLpDocument(ILpDocLink* lp);
  // Removes every occurrence and refreshes the folder's track documents, also when the
  // document was not listed.
  void UnregisterLpDocument(ILpDocLink* lp);

  // 0 for a track document without a factory.
  int GetLpDocumentCount(const ITrackDocLink* track) const;
  // Asserts "i < count"; i = 0 is the most recently registered.
  ILpDocLink* GetLpDocument(const ITrackDocLink* track, int i) const;
  // The most recently registered track document of the folder; null when none.
  ITrackDocLink* GetTrackDocument(const Papy::FileFactory* key) const;

  const Entry* FindEntry(const Papy::FileFactory* key) const;

private:
  std::map<std::uintptr_t, Entry> Entries;
};

// The one registry of the application; created on first use and never destroyed, so a
// document destroyed late at exit still finds it.
DocumentRegistry& GetDocumentRegistry();

} // namespace Ostra::DocView
