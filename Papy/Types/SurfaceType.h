#pragma once

#include <string>

namespace Ostra::Papy {

// Game-independent ground kinds. The TRK readers translate each game's codes into
// these numbers; Unknown stands for a code a reader does not know.
enum SurfaceType : int {
  SurfaceAsphalt = 0,
  SurfaceConcrete = 1,
  SurfaceDirt = 2,
  SurfaceGrass = 3,
  SurfaceGravel = 4,
  SurfaceInvisible = 5,
  SurfacePaint = 6,
  SurfaceRumbleStrip = 7,
  SurfaceSand = 8,
  SurfaceTrainTrack = 9,
  SurfaceUnknown = 10,
  SurfaceUnreachable = 11,
  SurfaceWater = 12,
};

enum WallType : int {
  WallArmco = 0,
  WallArmcoLeft = 1,
  WallArmcoRight = 2,
  WallConcrete = 3,
  WallConcreteWithFence = 4,
  WallForest = 5,
  WallHayBales = 6,
  WallInvisible = 7,
  WallShrubs = 8,
  WallTyres = 9,
  WallWireFence = 10,
  WallWireFenceLeft = 11,
  WallWireFenceRight = 12,
  WallWood = 13,
  WallUnknown = 14,
};

inline constexpr int LastSurfaceType = SurfaceWater;
inline constexpr int LastWallType = WallUnknown;

// The display name; XAssertion "false" for a number outside the numbering.
std::string GetSurfaceTypeName(int type);
std::string GetWallTypeName(int type);

} // namespace Ostra::Papy
