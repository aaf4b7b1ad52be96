// What the archive formats cannot hold: the writers must refuse it before the archive
// changes, instead of wrapping a count, a size or an offset.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "Papy/Dat/ICR2DatFile.h"
#include "Papy/Dat/N4DatFile.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

using Test::TempDir;
namespace fs = std::filesystem;

const struct {
  const char* Kind;
  std::function<std::unique_ptr<DatFile>(const std::string& path)> Create;
  std::function<std::unique_ptr<DatFile>(const std::string& path, bool writable)> Open;
} Kinds[] = {
    {"ICR2", [](const std::string& path) { return std::unique_ptr<DatFile>(new ICR2DatFile(path)); },
     [](const std::string& path, bool writable) { return std::unique_ptr<DatFile>(new ICR2DatFile(path, writable)); }},
    {"N4", [](const std::string& path) { return std::unique_ptr<DatFile>(new N4DatFile(path)); },
     [](const std::string& path, bool writable) { return std::unique_ptr<DatFile>(new N4DatFile(path, writable)); }},
};

// Names of an extension both formats take, all links to one empty file: linking is
// much cheaper than making that many files.
void AddEmptyFiles(const TempDir& dir, unsigned count) {
  const std::string first = dir.WriteFile("00000.wav", std::string());
  for (unsigned i = 1; i < count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "%05u.wav", i);
    fs::create_hard_link(first, dir / name);
  }
}

std::size_t FilesIn(const TempDir& dir) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path()))
    ++count;
  return count;
}

TEST(DatLimitsTest, MoreThan32767FilesAreRefused) {
  TempDir dir;
  AddEmptyFiles(dir, 32768);
  for (const auto& k : Kinds) {
    const std::string path = dir / (std::string(k.Kind) + ".dat");
    auto archive = k.Create(path);
    archive->BuildFromFolder(false);
    ASSERT_EQ(32768u, archive->GetCount()) << k.Kind;
    EXPECT_THROW(archive->Write(), Util::XUsage) << k.Kind;
    EXPECT_EQ(0u, fs::file_size(path)) << k.Kind;
  }
  EXPECT_EQ(32768u + 2, FilesIn(dir));
}

TEST(DatLimitsTest, AFileOf4GiBIsRefusedWithoutBeingRead) {
  TempDir dir;
  dir.WriteFile("a.mip", std::string("small"));
  // Sparse: it takes no room on disk, and only its size is looked at.
  fs::resize_file(dir.WriteFile("big.mip", std::string()), (std::uintmax_t{1} << 32));
  for (const auto& k : Kinds) {
    const std::string path = dir / (std::string(k.Kind) + ".dat");
    auto archive = k.Create(path);
    archive->BuildFromFolder(false);
    ASSERT_EQ(2u, archive->GetCount()) << k.Kind;
    EXPECT_THROW(archive->Write(), Util::XUsage) << k.Kind;
    EXPECT_EQ(0u, fs::file_size(path)) << k.Kind;
  }
  EXPECT_EQ(4u, FilesIn(dir));
}

} // namespace
} // namespace Ostra::Papy
