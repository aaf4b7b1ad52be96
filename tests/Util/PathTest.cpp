#include <algorithm>
#include <system_error>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "TestSupport/TempDir.h"
#include "Util/DirectoryListing.h"
#include "Util/Exception.h"
#include "Util/NativePath.h"
#include "Util/PathName.h"
#include "Util/StringUtil.h"

namespace Ostra::Util {
namespace {

using Test::TempDir;

struct SplitCase {
  std::string Input;
  std::string Full, AsDir, Base, Ext, Dir, File, NoExt;
  bool Root;
};

TEST(PathName, SplitsIntoItsParts) {
  const SplitCase cases[] = {
      {"/a/b.trk", "/a/b.trk", "/a/b.trk/", "b", "trk", "/a/", "b.trk", "/a/b", false},
      {"/", "/", "/", "/", "", "", "/", "/", true},
      {"/a/", "/a", "/a/", "a", "", "/", "a", "/a", false},
      {"/a.b/c", "/a.b/c", "/a.b/c/", "c", "", "/a.b/", "c", "/a.b/c", false},
      {"/x/archive.tar.gz", "/x/archive.tar.gz", "/x/archive.tar.gz/", "archive.tar", "gz", "/x/",
       "archive.tar.gz", "/x/archive.tar", false},
      {"/x/.hidden", "/x/.hidden", "/x/.hidden/", "", "hidden", "/x/", ".hidden", "/x/", false},
      {"\\a\\b.trk", "/a/b.trk", "/a/b.trk/", "b", "trk", "/a/", "b.trk", "/a/b", false},
      {"/a//b/./c/../d.lp", "/a/b/d.lp", "/a/b/d.lp/", "d", "lp", "/a/b/", "d.lp", "/a/b/d", false},
      {"/x", "/x", "/x/", "x", "", "/", "x", "/x", false},
      {"/..", "/", "/", "/", "", "", "/", "/", true},
  };
  for (const auto& c : cases) {
    const PathName p(c.Input);
    EXPECT_EQ(p.GetFullPath(), c.Full) << c.Input;
    EXPECT_EQ(p.GetAsDirectory(), c.AsDir) << c.Input;
    EXPECT_EQ(p.GetBaseName(), c.Base) << c.Input;
    EXPECT_EQ(p.GetExtension(), c.Ext) << c.Input;
    EXPECT_EQ(p.GetDirectory(), c.Dir) << c.Input;
    EXPECT_EQ(p.GetFileName(), c.File) << c.Input;
    EXPECT_EQ(p.GetPathWithoutExtension(), c.NoExt) << c.Input;
    EXPECT_EQ(p.IsRoot(), c.Root) << c.Input;
  }
}

TEST(PathName, BuildsFromFolderNameAndExtension) {
  EXPECT_EQ(PathName(PathName("/"), "x", "").GetFullPath(), "/x");
  EXPECT_EQ(PathName(PathName("/t/monza"), "race", "lp").GetFullPath(), "/t/monza/race.lp");
  PathName p;
  p = std::string("/q/r.s");
  EXPECT_EQ(p.GetExtension(), "s");
}

TEST(PathName, RelativePathsUseTheCurrentFolder) {
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(PathName().GetFullPath(), std::string(cwd));
  EXPECT_EQ(PathName("sub/f.lp").GetFullPath(), std::string(cwd) + "/sub/f.lp");
}

TEST(PathName, EmptyAndOverlongPathsFailTheAssertion) {
  try {
    PathName p("");
    FAIL() << "no throw";
  } catch (const XAssertion& e) {
    EXPECT_STREQ(e.Expression, "result != 0 && result < sizeof(buf)");
  }
  EXPECT_THROW(PathName("/" + std::string(NativePath::MaxPath, 'a')), XAssertion);
}

TEST(DirectoryListing, ListsFilesAndFoldersSortedWithoutDots) {
  TempDir dir;
  dir.WriteFile("b.trk", "");
  dir.WriteFile("A.lp", "");
  dir.MakeFolder("sub");
  DirectoryListing listing{PathName(dir.Path())};
  ASSERT_EQ(listing.GetCount(), 3u);
  EXPECT_EQ(listing.GetEntry(0).GetFileName(), "A.lp");
  EXPECT_EQ(listing.GetEntry(1).GetFileName(), "b.trk");
  EXPECT_EQ(listing.GetEntry(2).GetFullPath(), dir / "sub");
  EXPECT_FALSE(listing.IsDirectory(0));
  EXPECT_TRUE(listing.IsDirectory(2));
  EXPECT_THROW(listing.GetEntry(3), XAssertion);

  dir.WriteFile("c", "");
  listing.Refresh();
  EXPECT_EQ(listing.GetCount(), 4u);
  EXPECT_EQ(DirectoryListing(PathName(dir / "missing")).GetCount(), 0u);
}

std::vector<std::string> Names(const FindFileSequence& found) {
  std::vector<std::string> names;
  for (const auto& match : found)
    names.push_back(match.Name);
  return names;
}

TEST(FindFileSequence, TakesPatternsInOrderIgnoringCase) {
  TempDir dir;
  dir.WriteFile("MONZA.TRK", "");
  dir.WriteFile("a.3DO", "");
  dir.WriteFile("z.3do", "");
  dir.WriteFile("x.rpy.trk", "");
  dir.WriteFile("notes.txt", "");
  dir.MakeFolder("folder.trk");
  const FindFileSequence found(dir.Path().c_str(), "*.3do|*.trk||*.rpy*", '|',
                               FindFileFlags::Files);
  const std::vector<std::string> expected = {"a.3DO", "z.3do", "MONZA.TRK", "x.rpy.trk",
                                             "x.rpy.trk"};
  EXPECT_EQ(Names(found), expected);
  EXPECT_EQ(found.begin()->FullPath, dir / "a.3DO");
}

TEST(FindFileSequence, FoldersOnlyAndNothingWhenNothingMatches) {
  TempDir dir;
  dir.MakeFolder("x.trk");
  dir.MakeFolder(".hidden.trk");
  dir.WriteFile("readme.txt", "");
  EXPECT_TRUE(FindFileSequence(dir.Path().c_str(), "*.3do|*.trk|*.rpy", '|', FindFileFlags::Files)
                  .empty());
  const std::vector<std::string> both = {".hidden.trk", "x.trk"};
  EXPECT_EQ(Names(FindFileSequence(dir.Path().c_str(), "*.trk", '|', 0)), both);
  const std::vector<std::string> visible = {"x.trk"};
  EXPECT_EQ(Names(FindFileSequence(dir.Path().c_str(), "*.trk", '|',
                                   FindFileFlags::Directories | FindFileFlags::SkipHiddenDirs)),
            visible);
  EXPECT_TRUE(FindFileSequence((dir / "missing").c_str(), "*", '|', 0).empty());
}

TEST(FindFileSequence, AFolderThatCannotBeMadeAbsoluteThrowsASystemError) {
  const std::string too_long = "/" + std::string(NativePath::MaxPath, 'a');
  EXPECT_THROW(FindFileSequence(too_long.c_str(), "*", '|', 0), std::system_error);
  // The relative-folder flag takes the folder as it is.
  EXPECT_NO_THROW(FindFileSequence(too_long.c_str(), "*", '|', FindFileFlags::RelativePath));
}

TEST(Wildcards, MatchLikeTheGamesFolderSearch) {
  struct Case {
    const char* Pattern;
    const char* Name;
    bool Match;
  };
  const Case cases[] = {
      {"*.trk", "MONZA.TRK", true}, {"*.trk", "monza.trk.bak", false}, {"?.lp", "a.lp", true},
      {"?.lp", "ab.lp", false},     {"*", "", true},                    {"a*b*c", "aXbYbZc", true},
      {"*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchWildcard(c.Pattern, c.Name), c.Match) << c.Pattern << " / " << c.Name;
}

TEST(StringUtil, CaseFoldingAndComparison) {
  EXPECT_EQ(ToLower("MoNzA.TRK"), "monza.trk");
  EXPECT_EQ(CompareNoCase("TRK", "trk"), 0);
  EXPECT_LT(CompareNoCase("trk", "trkx"), 0);
  EXPECT_GT(CompareNoCase("b", "A"), 0);
  EXPECT_EQ(DegreesToRadians(180.0), Pi);
  EXPECT_EQ(RadiansToDegrees(Pi), 180.0);
}

TEST(NativePath, SeparatorsAndAbsoluteForm) {
  EXPECT_EQ(NativePath::ToNative("a\\\\b//c"), "a/b/c");
  EXPECT_EQ(NativePath::MakeAbsolute("/a/./b/../../.."), "/");
  EXPECT_FALSE(NativePath::MakeAbsolute("").has_value());
}

TEST(NativePath, OneFileUnderAnyNameIsOneFile) {
  TempDir dir;
  const std::string lp = dir.WriteFile("Gpl/race.lp", "1");
  dir.WriteFile("Gpl/RACE.LP", "2");
  dir.MakeFolder("t/Monza");
  dir.MakeFolder("t/monza");
  std::filesystem::create_directory_symlink(dir / "Gpl", dir / "link");
  const struct {
    std::string A, B;
    bool Same;
  } cases[] = {
      {lp, dir / "gpl/./x/../race.lp", true},
      {lp, dir / "link/race.lp", true},
      {lp, dir / "Gpl/RACE.LP", false},
      {lp, dir / "Gpl/race.lp.bak", false},
      // Nothing on disk (a TRK inside its DAT archive): the readers' lookup ignores case,
      // below the folders that exist.
      {dir / "Gpl/gpl.trk", dir / "GPL/GPL.TRK", true},
      {dir / "Gpl/new/x.lcv", dir / "gpl/NEW/X.lcv", true},
      {dir / "Gpl/gpl.trk", dir / "Gpl/oval.trk", false},
      {dir / "t/Monza/monza.trk", dir / "t/monza/monza.trk", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NativePath::NamesOneFile(c.A, c.B), c.Same) << c.A << " / " << c.B;
}

} // namespace
} // namespace Ostra::Util
