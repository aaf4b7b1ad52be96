#include "Papy/Types/SurfaceType.h"

#include <array>

#include "Util/Exception.h"

namespace Ostra::Papy {

namespace {

constexpr std::array<const char*, LastSurfaceType + 1> SurfaceNames = {
    "Asphalt", "Concrete",  "Dirt",         "Grass",   "Gravel",      "Invisible", "Paint",
    "Rumble Strip", "Sand", "Train Track", "Unknown", "Unreachable", "Water"};

constexpr std::array<const char*, LastWallType + 1> WallNames = {
    "Armco",     "Armco (Left)",      "Armco (Right)",      "Concrete", "Concrete With Fence",
    "Forest",    "Hay Bales",         "Invisible",          "Shrubs",   "Tyres",
    "Wire Fence", "Wire Fence (Left)", "Wire Fence (Right)", "Wood",     "Unknown"};

} // namespace

std::string GetSurfaceTypeName(int type) {
  // Compared unsigned, so negative numbers fail too.
  UTIL_ASSERT_TEXT(static_cast<unsigned>(type) <= static_cast<unsigned>(LastSurfaceType), "false");
  return SurfaceNames[static_cast<unsigned>(type)];
}

std::string GetWallTypeName(int type) {
  UTIL_ASSERT_TEXT(static_cast<unsigned>(type) <= static_cast<unsigned>(LastWallType), "false");
  return WallNames[static_cast<unsigned>(type)];
}

} // namespace Ostra::Papy
