#pragma once

#include <map>

#include "Util/CountedPtr.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

// The id under which a facet interface is stored in a factory. The values are fixed
// constants, so no lookup depends on the order in which static objects are built.
class FacetId {
public:
  constexpr explicit FacetId(int value) : Value(value) {}
  constexpr int Get() const { return Value; }

private:
  int Value;
};

// The file context of one game folder: which game it belongs to and how to open,
// create and cache that game's files. It holds nothing but facets, one per facet
// interface; a game that lacks an operation simply has no facet for it. A factory is
// complete when its builder returns and is not changed afterwards.
class FileFactory {
public:
  // Base of every facet interface. Interfaces derive from it directly; each has a
  // static FacetId Id.
  class Facet {
  public:
    virtual ~Facet() = default;
  };

  FileFactory() = default;
  FileFactory(const FileFactory&) = delete;
  FileFactory& operator=(const FileFactory&) = delete;

  template <class FacetT> bool HasFacet() const {
    return Facets.find(FacetT::Id.Get()) != Facets.end();
  }

  // Asserts "HasFacet<FacetT>()". The result shares the stored facet's count, so the
  // facet outlives the factory while the caller holds it.
  template <class FacetT> CountedPtr<FacetT> GetFacet() const {
    UTIL_ASSERT(HasFacet<FacetT>());
    CountedPtr<FacetT> facet;
    facet.DynamicCast(Facets.find(FacetT::Id.Get())->second);
    return facet;
  }

  // Takes ownership of a newly allocated facet. The first facet installed for an id
  // stays; a later one for the same id is destroyed at once.
  template <class FacetT> void AddFacet(FacetT* facet) {
    const CountedPtr<FacetT> owned(facet);
    if (!HasFacet<FacetT>())
      Facets.emplace(FacetT::Id.Get(), owned);
  }

private:
  std::map<int, CountedPtr<Facet>> Facets;
};

} // namespace Ostra::Papy
