#include "Papy/Files/FileFactory.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "Papy/Files/Facets.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/Lp/PcxFile.h"
#include "Papy/Track/Track.h"
#include "Papy/Track/TrkFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy {
namespace {

struct Counted {
  explicit Counted(int& alive) : Alive(alive) { ++Alive; }
  ~Counted() { --Alive; }
  int& Alive;
};

class CountedDirectory : public GetDirectory {
public:
  CountedDirectory(int& alive, const std::string& path)
      : GetDirectory(PapyDirectory(path)), Instance(alive) {}
  Counted Instance;
};

// Each fake records its purge in a shared log and holds one object in its cache.
template <class FacetT> class RecordingFacet : public FacetT {
public:
  RecordingFacet(std::vector<std::string>& log, std::string name, int& alive)
      : Log(log), Name(std::move(name)), Held(new Counted(alive)) {}
  void Purge() override {
    Log.push_back(Name);
    Held.Reset();
  }
  std::vector<std::string>& Log;
  std::string Name;
  CountedPtr<Counted> Held;
};

class FakeMakeLp : public RecordingFacet<MakeLp> {
public:
  using RecordingFacet::RecordingFacet;
  CountedPtr<LpFile> Make(const std::string&, const std::string&) override { return {}; }
  void Add(const CountedPtr<LpFile>&, const std::string&, const std::string&) override {}
  unsigned GetTypeCount() const override { return 0; }
  std::string GetTypeName(unsigned) const override { return {}; }
};

class FakeMakeTrk : public RecordingFacet<MakeTrk> {
public:
  using RecordingFacet::RecordingFacet;
  CountedPtr<TrkFile> Make(const std::string&, const std::string&, bool) override { return {}; }
};

class FakeMakeTrack : public RecordingFacet<MakeTrack> {
public:
  using RecordingFacet::RecordingFacet;
  CountedPtr<Track> Make(const std::string&, const std::string&, bool) override { return {}; }
};

class FakeMakePtf : public RecordingFacet<MakePtf> {
public:
  using RecordingFacet::RecordingFacet;
  CountedPtr<N4TdoFile> Make(const std::string&, const std::string&, bool) override {
    throw Util::XUsage("not made here");
  }
};

template <class FacetT> std::string GetFacetFailure(const FileFactory& factory) {
  try {
    factory.GetFacet<FacetT>();
  } catch (const Util::XAssertion& e) {
    return e.Expression;
  }
  return "(no assertion)";
}

TEST(FileFactoryTest, FacetIdsFollowTheFixedTable) {
  const std::vector<int> ids = {GetDat::Id.Get(),    GetDirectory::Id.Get(), CreateLp::Id.Get(),
                                CreateTrk::Id.Get(), MakeLp::Id.Get(),       MakeTrk::Id.Get(),
                                CreateDat::Id.Get(), PurgeFactory::Id.Get(), MakeTrack::Id.Get(),
                                MakePtf::Id.Get(),   MakeCam::Id.Get(),      MakeMip::Id.Get(),
                                MakePbf::Id.Get(),   MakePcx::Id.Get(),      MakeRpy::Id.Get(),
                                MakeSrb::Id.Get(),   MakeTdo::Id.Get()};
  for (std::size_t i = 0; i < ids.size(); ++i)
    EXPECT_EQ(ids[i], static_cast<int>(i + 1)) << "interface " << i;
}

TEST(FileFactoryTest, AnEmptyFactoryHasNoFacetAndGetFacetAsserts) {
  const FileFactory factory;
  EXPECT_FALSE(factory.HasFacet<GetDat>());
  EXPECT_FALSE(factory.HasFacet<MakeLp>());
  EXPECT_FALSE(factory.HasFacet<MakeTdo>());
  EXPECT_EQ(GetFacetFailure<MakeLp>(factory), "HasFacet<FacetT>()");
  EXPECT_EQ(GetFacetFailure<GetDirectory>(factory), "HasFacet<FacetT>()");
}

TEST(FileFactoryTest, TheFirstFacetForAnIdStaysAndALaterOneDiesAtOnce) {
  int alive = 0;
  {
    FileFactory factory;
    auto* first = new CountedDirectory(alive, "/first");
    factory.AddFacet<GetDirectory>(first);
    EXPECT_EQ(alive, 1);
    factory.AddFacet<GetDirectory>(new CountedDirectory(alive, "/second"));
    EXPECT_EQ(alive, 1);
    ASSERT_TRUE(factory.HasFacet<GetDirectory>());
    const CountedPtr<GetDirectory> a = factory.GetFacet<GetDirectory>();
    const CountedPtr<GetDirectory> b = factory.GetFacet<GetDirectory>();
    EXPECT_EQ(a.Get(), first);
    EXPECT_EQ(b.Get(), first);
    EXPECT_EQ(a.UseCount(), 3);
    EXPECT_EQ(a->Directory.GetName(), "first");
  }
  EXPECT_EQ(alive, 0);
}

TEST(FileFactoryTest, PurgeEmptiesTheCachesInTheirFixedOrderButNotTheObjectArchives) {
  std::vector<std::string> log;
  int alive = 0;
  FileFactory factory;
  // Installed in an order unlike the purge order, which must not matter.
  factory.AddFacet<MakeTrk>(new FakeMakeTrk(log, "MakeTrk", alive));
  factory.AddFacet<MakeTrack>(new FakeMakeTrack(log, "MakeTrack", alive));
  factory.AddFacet<MakePtf>(new FakeMakePtf(log, "MakePtf", alive));
  factory.AddFacet<MakeTdo>(new RecordingFacet<MakeTdo>(log, "MakeTdo", alive));
  factory.AddFacet<MakeSrb>(new RecordingFacet<MakeSrb>(log, "MakeSrb", alive));
  factory.AddFacet<MakeRpy>(new RecordingFacet<MakeRpy>(log, "MakeRpy", alive));
  auto* pcx = new MakePcx;
  const CountedPtr<PcxFile> palette(new PcxFile(CountedPtr<Util::BinaryStream>(
      new Util::MemoryStream("a.pcx", std::vector<unsigned char>(768)))));
  pcx->Cache["a.pcx"] = palette;
  factory.AddFacet<MakePcx>(pcx);
  factory.AddFacet<MakePbf>(new RecordingFacet<MakePbf>(log, "MakePbf", alive));
  factory.AddFacet<MakeMip>(new RecordingFacet<MakeMip>(log, "MakeMip", alive));
  auto* make_lp = new FakeMakeLp(log, "MakeLp", alive);
  factory.AddFacet<MakeLp>(make_lp);
  const CountedPtr<Counted> held = make_lp->Held;
  factory.AddFacet<MakeCam>(new RecordingFacet<MakeCam>(log, "MakeCam", alive));
  factory.AddFacet<PurgeFactory>(new PurgeFactory(&factory));
  EXPECT_EQ(alive, 10);

  factory.GetFacet<PurgeFactory>()->Purge();

  const std::vector<std::string> expected = {"MakeCam", "MakeLp",    "MakeMip",
                                             "MakePbf", "MakeRpy",   "MakeSrb",
                                             "MakeTdo", "MakeTrack", "MakeTrk"};
  EXPECT_EQ(log, expected);
  EXPECT_TRUE(pcx->Cache.empty());
  EXPECT_EQ(palette.UseCount(), 1);
  // The object archive maker keeps what it holds, and so does the caller.
  EXPECT_EQ(alive, 2);
  EXPECT_EQ(held.UseCount(), 1);
}

} // namespace
} // namespace Ostra::Papy
