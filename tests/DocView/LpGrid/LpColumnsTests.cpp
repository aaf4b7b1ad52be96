#include "DocView/Core/LpColumns.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "LpGridFixtures.h"

namespace Ostra::DocView {
namespace {

using namespace LpGridTest;

std::vector<std::string> Headers(const LpColumnMap& map) {
  std::vector<std::string> headers;
  for (int column = 0; column < map.Count(); ++column)
    headers.push_back(ColumnHeader(map, column));
  return headers;
}

const std::vector<std::string> AllFlags = {
    "Start Speed Checkpoint", "End Speed Checkpoint", "Outbrake Decision Point", "Abandon Pass",
    "Start Long Straight",    "End Long Straight",    "Initiate Cornering",      "Set Speed Coeff To 1",
    "Start No Pass Zone",     "End No Pass Zone",     "Start Pass1 Zone",        "Start Pass2 Zone",
    "Start Abrupt Pass1 Zone", "Start Abrupt Pass2 Zone", "Tire Warmup"};

std::vector<std::string> GplHeaders() {
  std::vector<std::string> headers = {"Longitude", "Latitude", "Longitudinal Speed", "Lateral Speed",
                                      "Yaw Speed", "Speed Modifier"};
  headers.insert(headers.end(), AllFlags.begin(), AllFlags.end());
  headers.push_back("Flags");
  return headers;
}

TEST(LpColumns, EachFormatShowsTheColumnsItsCapabilitiesGive) {
  const struct {
    const char* Name;
    CountedPtr<LpFile> Lp;
    std::vector<std::string> Expected;
  } cases[] = {
      {"ICR2", Icr2Lp(), {"Longitude", "Latitude", "Longitudinal Speed", "Lateral Speed"}},
      {"GPL", GplLp(), GplHeaders()},
      {"N4",
       N4Lp(),
       {"Longitude", "Latitude", "Path Length", "Longitudinal Speed", "Lateral Speed", "Yaw Speed", "Flags"}},
      {"lap curve",
       LapCurve(),
       {"Longitude", "Control", "Latitude", "Speed Limit", "Longitudinal Speed", "Lateral Speed", "Yaw Speed"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const LpColumnMap map = LayoutColumns(LpCapabilities::Of(*c.Lp));
    EXPECT_EQ(Headers(map), c.Expected);
    EXPECT_EQ(map.Longitude, 0);
    if (map.Flags >= 0) {
      EXPECT_EQ(map.At(map.Flags).Kind, LpColumnKind::Flags);
    }
  }
}

TEST(LpColumns, AGroupOfTwoFlagsBringsInBothAsAdjacentColumns) {
  const struct {
    int Group;
    std::vector<std::string> Flags;
  } cases[] = {{0, {"Start Speed Checkpoint", "End Speed Checkpoint"}},
               {2, {"Abandon Pass"}},
               {3, {"Start Long Straight", "End Long Straight"}},
               {6, {"Start No Pass Zone", "End No Pass Zone"}},
               {8, {"Start Abrupt Pass1 Zone", "Start Abrupt Pass2 Zone"}},
               {9, {"Tire Warmup"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Group);
    LpCapabilities caps;
    caps.FlagGroups[static_cast<std::size_t>(c.Group)] = true;
    caps.Flags = true;
    std::vector<std::string> expected = {"Longitude", "Latitude", "Longitudinal Speed", "Lateral Speed"};
    expected.insert(expected.end(), c.Flags.begin(), c.Flags.end());
    expected.push_back("Flags");
    const LpColumnMap map = LayoutColumns(caps);
    EXPECT_EQ(Headers(map), expected);
    EXPECT_EQ(map.At(map.Count()).Kind, LpColumnKind::None);
    EXPECT_EQ(ColumnHeader(map, -1), "");
  }
}

} // namespace
} // namespace Ostra::DocView
