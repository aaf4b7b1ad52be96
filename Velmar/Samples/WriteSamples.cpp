// Writes the sample game folders: velmar-write-samples <folder>.
#include <cstdio>
#include <exception>

#include "Util/Exception.h"
#include "Velmar/Core/SampleFolders.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  try {
    const Ostra::Velmar::SampleFolders folders = Ostra::Velmar::WriteSampleFolders(argv[1]);
    std::printf("%s\n%s\n%s\n", folders.GplTrack.c_str(), folders.N2Track.c_str(), folders.N4Track.c_str());
    return 0;
  } catch (const Ostra::Util::Exception& e) {
    std::fprintf(stderr, "%s\n", e.What().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  return 1;
}
