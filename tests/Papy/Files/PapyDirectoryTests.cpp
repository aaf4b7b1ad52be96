#include "Papy/Files/PapyDirectory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "TestSupport/TempDir.h"
#include "Util/Exception.h"
#include "Util/NativePath.h"

namespace Ostra::Papy {
namespace {

std::string AssertionText(const std::string& path) {
  try {
    PapyDirectory dir(path);
  } catch (const Util::XAssertion& e) {
    return e.Expression;
  }
  return "(no assertion)";
}

class PapyDirectoryTest : public ::testing::Test {
protected:
  void SetUp() override {
    Temp.MakeFolder("monza");
    Temp.WriteFile("monza/monza.dat", std::string("dat"));
    Temp.WriteFile("Spa/SPA.TRK", std::string("trk"));
    Temp.WriteFile("plain.txt", std::string("text"));
  }

  Ostra::Test::TempDir Temp;
};

TEST_F(PapyDirectoryTest, ReducesEveryKindOfPathToItsFolder) {
  const std::string t = Temp.Path() + "/";
  struct Case {
    std::string Given;
    std::string Name;
    std::string Path;
    std::string Parent;
  };
  const Case cases[] = {
      {t + "monza/", "monza", t + "monza/", t},
      {t + "monza", "monza", t + "monza/", t},
      {t + "monza//", "monza", t + "monza/", t},
      {t + "monza/monza.dat", "monza", t + "monza/", t},
      // Only the archive is there: the TRK file lives inside it.
      {t + "monza/monza.trk", "monza", t + "monza/", t},
      {t + "newtrack", "newtrack", t + "newtrack/", t},
      {t + "new/x.lp", "new", t + "new/", t},
      {t + "monza/sub.dir/x.lp", "sub.dir", t + "monza/sub.dir/", t + "monza/"},
      // A missing dotted name in the folder is a file, even when the folder has dots.
      {t + "monza/a.b", "monza", t + "monza/", t},
      // A file below a file: the folder of the outer file.
      {t + "monza/monza.dat/x.trk", "monza", t + "monza/", t},
      {t + "monza/./x/../monza.dat", "monza", t + "monza/", t},
      {Util::NativePath::ToNative(t) + "monza\\monza.dat", "monza", t + "monza/", t},
      // Mixed case on disk is found; the given spelling is kept.
      {t + "spa/spa.trk", "spa", t + "spa/", t},
      {t + "SPA", "SPA", t + "SPA/", t},
      {t + "Spa/SPA.TRK", "Spa", t + "Spa/", t},
      {t + "plain.txt", Temp.Path().substr(Temp.Path().rfind('/') + 1), t,
       Temp.Path().substr(0, Temp.Path().rfind('/') + 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Given);
    const PapyDirectory dir(c.Given);
    EXPECT_FALSE(dir.IsRoot());
    EXPECT_EQ(dir.GetName(), c.Name);
    EXPECT_EQ(dir.GetPath(), c.Path);
    EXPECT_EQ(dir.GetParent(), c.Parent);
  }
}

TEST_F(PapyDirectoryTest, TheRootIsItsOwnFolderWithoutParent) {
  for (const std::string given : {"/", "//", "/no-such-file.trk", "/.."}) {
    SCOPED_TRACE(given);
    const PapyDirectory dir(given);
    EXPECT_TRUE(dir.IsRoot());
    EXPECT_EQ(dir.GetName(), "/");
    EXPECT_EQ(dir.GetPath(), "/");
    EXPECT_EQ(dir.Parent, "");
    try {
      (void)dir.GetParent();
      ADD_FAILURE() << "GetParent on the root did not assert";
    } catch (const Util::XAssertion& e) {
      EXPECT_STREQ(e.Expression, "!Root");
    }
  }
}

TEST_F(PapyDirectoryTest, ImpossiblePathsAssertWithTheirOwnText) {
  const std::string t = Temp.Path() + "/";
  EXPECT_EQ(AssertionText(t + "a/b/c.trk"), "attributes != 0xFFFFFFFF");
  EXPECT_EQ(AssertionText(t + "a/b/c"), "attributes != 0xFFFFFFFF");
  // The missing folder would lie under a file.
  EXPECT_EQ(AssertionText(t + "plain.txt/new/x.lp"),
            "attributes != 0xFFFFFFFF && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0");
  EXPECT_EQ(AssertionText(""), "result != 0 && result < sizeof(buf)");
  EXPECT_EQ(AssertionText("/" + std::string(Util::NativePath::MaxPath, 'x')),
            "result != 0 && result < sizeof(buf)");
  EXPECT_EQ(AssertionText("/" + std::string(Util::NativePath::MaxPath - 1, 'x')),
            "result != 0 && result < sizeof(buf)");
  EXPECT_EQ(AssertionText("/" + std::string(Util::NativePath::MaxPath - 2, 'x')), "(no assertion)");
}

TEST_F(PapyDirectoryTest, RelativePathsAreTakenAgainstTheCurrentFolder) {
  std::string previous(Util::NativePath::MaxPath, '\0');
  ASSERT_NE(::getcwd(previous.data(), previous.size()), nullptr);
  ASSERT_EQ(::chdir((Temp.Path() + "/monza").c_str()), 0);
  const PapyDirectory current;
  const PapyDirectory relative("monza.trk");
  const PapyDirectory up("../Spa/x.lp");
  ASSERT_EQ(::chdir(previous.c_str()), 0);

  EXPECT_EQ(current.GetPath(), Temp.Path() + "/monza/");
  EXPECT_EQ(relative.GetPath(), Temp.Path() + "/monza/");
  EXPECT_EQ(up.GetPath(), Temp.Path() + "/Spa/");
}

} // namespace
} // namespace Ostra::Papy
