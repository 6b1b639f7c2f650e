// The kick animation pairs and the choice tables by height band and
// direction sector, and the pure steps of a kick choice.
#include "engine/ball.h"
#include "engine/kick.h"

const KickPair kick_aAnimPairs[KICK_PAIRS] = {
    {131, 130}, {113, 114}, {6, 6},   {157, 156}, {23, 22},  {99, 99},   {91, 91},   {98, 98},   {96, 97},
    {109, 110}, {95, 95},   {89, 88}, {159, 158}, {93, 94},  {112, 112}, {92, 92},   {90, 90},   {182, 183},
};

// Standard choice, the target nearer than 2160.
const KickRow kick_aNear[KICK_BANDS * KICK_SECTORS] = {
    {0, 5, 200},  {1, 5, 200},  {1, 5, 200},  {2, 5, 200},   // band 0
    {3, 5, 200},  {1, 5, 200},  {1, 5, 200},  {4, 5, 200},   // band 1
    {3, 5, 200},  {12, 5, 200}, {12, 5, 200}, {4, 5, 200},   // band 2
    {5, 5, 100},  {5, 5, 100},  {13, 5, 100}, {6, 5, 100},   // band 3
    {6, 5, 100},  {13, 5, 100}, {13, 5, 100}, {6, 5, 100},   // band 4
    {6, 5, 100},  {8, 5, 100},  {8, 5, 100},  {7, 5, 100},   // band 5
    {6, 5, 100},  {8, 5, 100},  {8, 5, 100},  {7, 5, 100},   // band 6
    {16, 5, 100}, {8, 5, 100},  {8, 5, 100},  {7, 5, 100},   // band 7
};

// Standard choice, the target 2160 or more away.
const KickRow kick_aFar[KICK_BANDS * KICK_SECTORS] = {
    {9, 10, 80},  {1, 10, 80},  {1, 10, 80},  {4, 10, 80},   // band 0
    {9, 10, 80},  {1, 10, 80},  {1, 10, 80},  {4, 10, 80},   // band 1
    {9, 10, 80},  {1, 10, 80},  {1, 10, 80},  {4, 10, 80},   // band 2
    {5, 10, 80},  {13, 10, 80}, {13, 10, 80}, {5, 10, 80},   // band 3
    {5, 10, 80},  {13, 10, 80}, {13, 10, 80}, {5, 10, 80},   // band 4
    {10, 10, 80}, {8, 10, 70},  {8, 10, 70},  {7, 10, 70},   // band 5
    {10, 10, 80}, {8, 10, 80},  {8, 10, 80},  {7, 10, 80},   // band 6
    {10, 10, 110}, {8, 10, 110}, {8, 10, 110}, {7, 10, 110}, // band 7
};

// Long-kick choice, the target nearer than 2880.
const KickRow kick_aLongNear[KICK_BANDS * KICK_SECTORS] = {
    {9, 10, 120},  {11, 10, 120}, {11, 10, 120}, {4, 10, 120},   // band 0
    {3, 10, 140},  {12, 10, 120}, {12, 10, 120}, {4, 10, 120},   // band 1
    {3, 15, 130},  {12, 15, 120}, {12, 10, 120}, {12, 10, 120},  // band 2
    {5, 5, 150},   {13, 5, 130},  {12, 10, 120}, {12, 10, 120},  // band 3
    {5, 15, 140},  {13, 10, 120}, {13, 10, 120}, {14, 10, 120},  // band 4
    {15, 0, 140},  {8, 0, 100},   {8, 0, 100},   {14, 0, 100},   // band 5
    {15, 10, 110}, {8, 10, 120},  {8, 60, 120},  {14, 10, 120},  // band 6
    {10, 10, 100}, {8, 10, 120},  {8, 10, 120},  {7, 10, 100},   // band 7
};

// Long-kick choice, the target 2880 or more away.
const KickRow kick_aLongFar[KICK_BANDS * KICK_SECTORS] = {
    {11, 10, 150}, {11, 10, 150}, {4, 15, 100},  {4, 40, 100},   // band 0
    {3, 30, 140},  {12, 30, 100}, {12, 30, 100}, {4, 30, 100},   // band 1
    {11, 60, 130}, {12, 60, 100}, {12, 60, 100}, {12, 60, 100},  // band 2
    {5, 5, 120},   {13, 10, 100}, {14, 50, 100}, {14, 50, 100},  // band 3
    {5, 15, 100},  {13, 20, 100}, {14, 50, 100}, {14, 50, 100},  // band 4
    {16, 20, 100}, {13, 25, 100}, {14, 50, 100}, {14, 60, 100},  // band 5
    {15, 25, 100}, {8, 40, 100},  {8, 40, 100},  {14, 30, 100},  // band 6
    {10, 35, 100}, {8, 50, 100},  {8, 50, 100},  {7, 40, 100},   // band 7
};

const std::int32_t kick_aiRun129Near[KICK_SECTORS] = {17, 17, 1, 2};
const std::int32_t kick_aiRun129Far[KICK_SECTORS] = {17, 1, 1, 4};
const std::int32_t kick_aiRun105Near[KICK_SECTORS] = {17, 17, 1, 2};
const std::int32_t kick_aiRun105Far[KICK_SECTORS] = {17, 1, 1, 4};

std::int32_t kick_BandGet(std::int32_t iBallHeight) {
  if (iBallHeight < 0) iBallHeight = 0;
  return iBallHeight / 48;
}

std::int32_t kick_SectorGet(std::int32_t iDirection, std::int32_t iFacing) {
  std::int32_t d = (iDirection - iFacing) * 180 / 401 % 360;
  if (d < 0) d += 359;
  if (d > 179) d = 359 - d;
  std::int32_t s = (d + 22) / 45;
  return s > 3 ? 3 : s;
}

std::int32_t kick_IsSecondSide(std::int32_t iDirection, std::int32_t iFacing) {
  std::uint16_t uDiff = static_cast<std::uint16_t>(iDirection * 65536 / 803 - iFacing * 65536 / 803);
  return uDiff > 32768;
}

KickRow kick_RowGet(std::int32_t iBand, std::int32_t iSector, std::int32_t bFar, std::int32_t bLong,
                    std::uint32_t eRunning) {
  std::int32_t i = iBand * KICK_SECTORS + iSector;
  if (bLong) return bFar ? kick_aLongFar[i] : kick_aLongNear[i];
  KickRow oRow = bFar ? kick_aFar[i] : kick_aNear[i];
  if (eRunning == 129) oRow.iPair = (bFar ? kick_aiRun129Far : kick_aiRun129Near)[iSector];
  if (eRunning == 105) oRow.iPair = (bFar ? kick_aiRun105Far : kick_aiRun105Near)[iSector];
  return oRow;
}

std::int32_t kick_AngleClassify(std::int32_t iDegrees) {
  if (iDegrees >= 135 && iDegrees <= 225) return -1;
  if (iDegrees < 135) return 1;
  return 0;
}

std::int32_t kick_IsKickAnim(std::uint32_t eAnim) {
  for (const KickPair& p : kick_aAnimPairs) {
    if (p.eFirst == eAnim || p.eSecond == eAnim) return 1;
  }
  return 0;
}
