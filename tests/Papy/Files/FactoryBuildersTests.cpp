#include "Papy/Files/FactoryBuilders.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "GameFolderImages.h"
#include "Papy/Dat/ICR2DatFile.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/FolderFacets.h"
#include "Papy/Files/GameFacets.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

// Which of the 17 facet ids a factory holds, in id order.
std::vector<int> FacetIds(const FileFactory& factory) {
  std::vector<int> ids;
  const auto add = [&](bool has, const FacetId& id) {
    if (has)
      ids.push_back(id.Get());
  };
  add(factory.HasFacet<GetDat>(), GetDat::Id);
  add(factory.HasFacet<GetDirectory>(), GetDirectory::Id);
  add(factory.HasFacet<CreateLp>(), CreateLp::Id);
  add(factory.HasFacet<CreateTrk>(), CreateTrk::Id);
  add(factory.HasFacet<MakeLp>(), MakeLp::Id);
  add(factory.HasFacet<MakeTrk>(), MakeTrk::Id);
  add(factory.HasFacet<CreateDat>(), CreateDat::Id);
  add(factory.HasFacet<PurgeFactory>(), PurgeFactory::Id);
  add(factory.HasFacet<MakeTrack>(), MakeTrack::Id);
  add(factory.HasFacet<MakePtf>(), MakePtf::Id);
  add(factory.HasFacet<MakeCam>(), MakeCam::Id);
  add(factory.HasFacet<MakeMip>(), MakeMip::Id);
  add(factory.HasFacet<MakePbf>(), MakePbf::Id);
  add(factory.HasFacet<MakePcx>(), MakePcx::Id);
  add(factory.HasFacet<MakeRpy>(), MakeRpy::Id);
  add(factory.HasFacet<MakeSrb>(), MakeSrb::Id);
  add(factory.HasFacet<MakeTdo>(), MakeTdo::Id);
  return ids;
}

TEST(FactoryBuildersTest, TheGplFactoryHasNineFacetsSharingOneTrkMaker) {
  Ostra::Test::TempDir temp;
  const PapyDirectory dir(temp.MakeFolder("monza"));
  const auto factory = BuildGPLFileFactory(dir, {});
  EXPECT_EQ(FacetIds(*factory), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));

  const auto make_trk = factory->GetFacet<MakeTrk>();
  const auto make_lp = factory->GetFacet<MakeLp>();
  EXPECT_NE(dynamic_cast<GPLMakeTrk*>(make_trk.Get()), nullptr);
  EXPECT_NE(dynamic_cast<GPLMakeLp*>(make_lp.Get()), nullptr);
  EXPECT_NE(dynamic_cast<TrkMakeTrack*>(factory->GetFacet<MakeTrack>().Get()), nullptr);
  EXPECT_NE(dynamic_cast<ICR2CreateDat*>(factory->GetFacet<CreateDat>().Get()), nullptr);
  const auto* create_lp = dynamic_cast<GPLCreateLp*>(factory->GetFacet<CreateLp>().Get());
  const auto* create_trk = dynamic_cast<GPLCreateTrk*>(factory->GetFacet<CreateTrk>().Get());
  ASSERT_NE(create_lp, nullptr);
  ASSERT_NE(create_trk, nullptr);
  EXPECT_EQ(create_lp->MakeTrkFacet, make_trk);
  EXPECT_EQ(create_lp->MakeLpFacet, make_lp);
  EXPECT_EQ(create_trk->MakeTrkFacet, make_trk);
  EXPECT_EQ(factory->GetFacet<PurgeFactory>()->Factory, factory.Get());
  EXPECT_EQ(factory->GetFacet<GetDirectory>()->Get().GetPath(), dir.GetPath());
}

TEST(FactoryBuildersTest, TheN2FactoryHasSevenFacetsAndNoConverters) {
  Ostra::Test::TempDir temp;
  const PapyDirectory dir(temp.MakeFolder("monza"));
  const auto factory = BuildICR2FileFactory(dir, {});
  EXPECT_EQ(FacetIds(*factory), (std::vector<int>{1, 2, 3, 5, 6, 8, 9}));
  const auto make_trk = factory->GetFacet<MakeTrk>();
  EXPECT_NE(dynamic_cast<ICR2MakeTrk*>(make_trk.Get()), nullptr);
  EXPECT_NE(dynamic_cast<ICR2MakeLp*>(factory->GetFacet<MakeLp>().Get()), nullptr);
  const auto* create_lp = dynamic_cast<ICR2CreateLp*>(factory->GetFacet<CreateLp>().Get());
  ASSERT_NE(create_lp, nullptr);
  EXPECT_EQ(create_lp->MakeTrkFacet, make_trk);
}

TEST(FactoryBuildersTest, TheArchiveFacetHoldsReleasesAndReplacesTheArchive) {
  Ostra::Test::TempDir temp;
  temp.WriteFile("monza/monza.dat", Ostra::Test::DatImage({{"a.txt", Ostra::Test::Text("x")}}));
  const PapyDirectory dir(temp / "monza");
  const CountedPtr<DatFile> dat(new ICR2DatFile(temp / "monza/monza.dat", false));
  for (const auto build : {&BuildGPLFileFactory, &BuildICR2FileFactory}) {
    EXPECT_TRUE(build(dir, {})->GetFacet<GetDat>()->Get().IsNull());
    const auto get_dat = build(dir, dat)->GetFacet<GetDat>();
    EXPECT_EQ(get_dat->Get(), dat);
    get_dat->Release();
    EXPECT_TRUE(get_dat->Get().IsNull());
    get_dat->Set(dat);
    EXPECT_EQ(get_dat->Get(), dat);
  }
  EXPECT_EQ(dat.UseCount(), 1);
}

TEST(FactoryBuildersTest, CreatingTheFolderArchiveLetsGoOfTheOldOneOnlyOnSuccess) {
  RegisterGameRecognizers();
  Ostra::Test::TempDir temp;
  temp.WriteFile("spa/other.dat", Ostra::Test::DatImage({{"a.txt", Ostra::Test::Text("x")}}));
  const CountedPtr<DatFile> old(new ICR2DatFile(temp / "spa/other.dat", false));
  const auto factory =
      FileFactoryRegistry::Instance().GetFactory(PapyDirectory(temp / "spa"), false);
  factory->GetFacet<GetDat>()->Set(old);

  const auto created = factory->GetFacet<CreateDat>()->Create();
  EXPECT_TRUE(Util::FileExists(temp / "spa/spa.dat"));
  EXPECT_EQ(created->GetCount(), 0u);
  EXPECT_TRUE(factory->GetFacet<GetDat>()->Get().IsNull());

  factory->GetFacet<GetDat>()->Set(old);
  EXPECT_THROW(factory->GetFacet<CreateDat>()->Create(), Util::XFileOpen);
  EXPECT_EQ(factory->GetFacet<GetDat>()->Get(), old);
}

} // namespace
} // namespace Ostra::Papy
