#include "DocView/Core/DocumentRegistry.h"

#include <vector>

#include <iterator>

#include "Util/Exception.h"

namespace Ostra::DocView {

namespace {
std::uintptr_t KeyOf(const Papy::FileFactory* factory) {
  return reinterpret_cast<std::uintptr_t>(factory);
}

void Refresh(const DocumentRegistry::Entry& entry) {
  // A refresh may register or unregister documents; walk a copy.
  const std::vector<ITrackDocLink*> tracks(entry.TrackDocuments.begin(), entry.TrackDocuments.end());
  for (ITrackDocLink* track : tracks)
    track->RefreshViews();
}
} // namespace

void DocumentRegistry::RegisterTrackDocument(ITrackDocLink* track) {
  Entry& entry = Entries[KeyOf(track->GetRegistryKey())];
  entry.TrackDocuments.remove(track);
  entry.TrackDocuments.push_front(track);
}

void DocumentRegistry::UnregisterTrackDocument(ITrackDocLink* track) {
  const auto it = Entries.find(KeyOf(track->GetRegistryKey()));
  if (it != Entries.end())
    it->second.TrackDocuments.remove(track);
}

void DocumentRegistry::RegisterLpDocument(ILpDocLink* lp) {
  const Papy::FileFactory* key = lp->GetRegistryKey();
  if (key == nullptr)
    return;
  const auto it = Entries.find(KeyOf(key));
  if (it == Entries.end()) {
    Entries[KeyOf(key)].LpDocuments.push_front(lp);
    return;
  }
  it->second.LpDocuments.push_front(lp);
  Refresh(it->second);
}

void DocumentRegistry::UnregisterLpDocument(ILpDocLink* lp) {
  const auto it = Entries.find(KeyOf(lp->GetRegistryKey()));
  if (it == Entries.end())
    return;
  it->second.LpDocuments.remove(lp);
  Refresh(it->second);
}

int DocumentRegistry::GetLpDocumentCount(const ITrackDocLink* track) const {
  const Papy::FileFactory* key = track->GetRegistryKey();
  if (key == nullptr)
    return 0;
  const Entry* entry = FindEntry(key);
  return entry == nullptr ? 0 : static_cast<int>(entry->LpDocuments.size());
}

ILpDocLink* DocumentRegistry::GetLpDocument(const ITrackDocLink* track, int i) const {
  const int count = GetLpDocumentCount(track);
  UTIL_ASSERT(i >= 0 && i < count);
  auto it = FindEntry(track->GetRegistryKey())->LpDocuments.begin();
  std::advance(it, i);
  return *it;
}

ITrackDocLink* DocumentRegistry::GetTrackDocument(const Papy::FileFactory* key) const {
  const Entry* entry = FindEntry(key);
  return entry == nullptr || entry->TrackDocuments.empty() ? nullptr : entry->TrackDocuments.front();
}

const DocumentRegistry::Entry* DocumentRegistry::FindEntry(const Papy::FileFactory* key) const {
  const auto it = Entries.find(KeyOf(key));
  return it == Entries.end() ? nullptr : &it->second;
}

DocumentRegistry& GetDocumentRegistry() {
  static DocumentRegistry* registry = new DocumentRegistry;
  return *registry;
}

} // namespace Ostra::DocView
