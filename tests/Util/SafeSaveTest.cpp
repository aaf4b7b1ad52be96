#include "Util/SafeSave.h"

#include <stdexcept>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "TestSupport/TempDir.h"
#include "Util/BinaryStream.h"
#include "Util/DirectoryListing.h"
#include "Util/Exception.h"
#include "Util/PathName.h"

namespace Ostra::Util {
namespace {

using Test::ReadWholeFile;
using Test::TempDir;

std::string Text(const std::string& path) {
  const auto bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(SaveFileSafely, ReplacesTheTargetKeepingItsPermissions) {
  TempDir dir;
  const std::string target = dir.WriteFile("race.lp", "old content");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  SaveFileSafely(target, [](BinaryStream& out) {
    EXPECT_EQ(out.Name().substr(out.Name().size() - 8), "/race.lp");
    out.Write(3, "new");
  });
  EXPECT_EQ(Text(target), "new");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(DirectoryListing(PathName(dir.Path())).GetCount(), 1u);
}

TEST(SaveFileSafely, AWriterFailingHalfWayLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  const std::string target = dir.WriteFile("race.lp", "old content");
  EXPECT_THROW(SaveFileSafely(target,
                              [](BinaryStream& out) {
                                out.Write(4, "half");
                                throw XFileWrite(out.Name());
                              }),
               XFileWrite);
  EXPECT_EQ(Text(target), "old content");
  EXPECT_EQ(DirectoryListing(PathName(dir.Path())).GetCount(), 1u);
  EXPECT_THROW(SaveFileSafely(target, [](BinaryStream&) { throw std::runtime_error("x"); }),
               std::runtime_error);
  EXPECT_EQ(Text(target), "old content");
}

TEST(SaveFileSafely, CreatesNewFilesAndOverwritesCaseVariants) {
  TempDir dir;
  SaveFileSafely(dir / "new.lcv", [](BinaryStream& out) { out.Write(1, "n"); });
  EXPECT_EQ(Text(dir / "new.lcv"), "n");
  dir.WriteFile("MINRACE.LCV", "old");
  SaveFileSafely(dir / "minrace.lcv", [](BinaryStream& out) { out.Write(1, "m"); });
  EXPECT_EQ(Text(dir / "MINRACE.LCV"), "m");
  EXPECT_EQ(DirectoryListing(PathName(dir.Path())).GetCount(), 2u);
}

TEST(SaveFileSafely, AMissingFolderIsAnOpenFailure) {
  TempDir dir;
  EXPECT_THROW(SaveFileSafely(dir / "no/such/x.lp", [](BinaryStream&) {}), XFileOpen);
}

} // namespace
} // namespace Ostra::Util
