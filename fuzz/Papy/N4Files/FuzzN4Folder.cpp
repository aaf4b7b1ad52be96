// Builds an N4 folder from arbitrary bytes, asks the registry (GPL, N2, then N4) for its
// factory and the factory for its object archive, track and LP files. Every refusal
// must be an Ostra::Util exception.
//
// Input: per file, one byte choosing its name, two bytes of length (little-endian),
// then the contents; at most six files.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "Papy/Track/Track.h"
#include "Util/Exception.h"

namespace {

namespace fs = std::filesystem;
using namespace Ostra;

constexpr const char* Names[] = {"fz.dat", "fz.ptf",  "a.3do",  "x.rpy",     "race.lp",
                                 "fz.lp",  "FZ.PTF",  "b.ptf",  "other.dat", "minrace.lp"};
constexpr std::size_t NameCount = sizeof(Names) / sizeof(Names[0]);
constexpr std::size_t MaxFiles = 6;
// A new LP has one record per 3 m of the track: keep damaged tracks from asking for
// more memory than a fuzzer may use.
constexpr double MaxNewLpTrackLength = 1.0e6;

class Folder {
public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "velmar-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
      Root = pattern;
  }
  ~Folder() {
    std::error_code ignored;
    if (!Root.empty())
      fs::remove_all(Root, ignored);
  }
  std::string Root;
};

template <class Action> void Try(Action action) {
  try {
    action();
  } catch (const Util::Exception&) {
  }
}

void Exercise(const CountedPtr<Papy::FileFactory>& factory) {
  if (!factory)
    return;
  if (factory->HasFacet<Papy::MakePtf>())
    Try([&] { (void)factory->GetFacet<Papy::MakePtf>()->Make("b.ptf", "", true); });
  double length = -1.0;
  if (factory->HasFacet<Papy::MakeTrack>()) {
    Try([&] {
      const auto track = factory->GetFacet<Papy::MakeTrack>()->Make("", "", false);
      length = track->GetLength2D();
      for (U32 i = 0; i < track->GetSegmentCount(); ++i)
        (void)track->GetSegment(i);
      for (const double at : {0.0, length / 3.0, length / 2.0})
        (void)track->GetFrame(at, 0.0);
    });
  }
  for (const char* name : {"race", ""}) {
    Try([&] {
      const auto lp = factory->GetFacet<Papy::MakeLp>()->Make(name, "");
      if (lp->GetRecordCount() > 0)
        (void)lp->GetRecordLatitude(lp->GetRecordCount() - 1);
    });
  }
  if (length >= 0.0 && length < MaxNewLpTrackLength && factory->HasFacet<Papy::CreateLp>())
    Try([&] { (void)factory->GetFacet<Papy::CreateLp>()->Create("MinRace", 0.0); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Papy::RegisterGameRecognizers();
  Papy::RegisterN4Recognizer();
  Folder temp;
  if (temp.Root.empty())
    return 0;
  const std::string folder = temp.Root + "/fz";
  fs::create_directories(folder);
  std::size_t at = 0;
  for (std::size_t file = 0; file < MaxFiles && at + 3 <= size; ++file) {
    const char* name = Names[data[at] % NameCount];
    std::size_t length = data[at + 1] | (data[at + 2] << 8);
    at += 3;
    length = std::min(length, size - at);
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::app);
    out.write(reinterpret_cast<const char*>(data + at), static_cast<std::streamsize>(length));
    at += length;
  }

  auto& registry = Papy::FileFactoryRegistry::Instance();
  for (const std::string& path : {folder + "/", folder + "/fz.dat", folder + "/other.dat"})
    Try([&] { Exercise(registry.GetFactory(path, false)); });
  // Each input is a new folder: nothing may stay cached from it.
  registry.Clear();
  return 0;
}
