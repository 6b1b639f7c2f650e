#pragma once
// Kicks: the kick animation that suits the ball's height, the direction of
// the target against the kicker's facing and the distance, the two touch
// values it gives the touch machine, and kicks started at once.
#include <cstdint>

struct Player;

constexpr std::int32_t KICK_PAIRS = 18;
constexpr std::int32_t KICK_BANDS = 8;
constexpr std::int32_t KICK_SECTORS = 4;
constexpr std::int32_t KICK_NEAR = 2160;       // standard choice: far from here on
constexpr std::int32_t KICK_NEAR_LONG = 2880;  // long-kick choice

struct KickPair {
  std::uint32_t eFirst;
  std::uint32_t eSecond;
};
struct KickRow {
  std::int32_t iPair;
  std::int32_t a;  // touch values
  std::int32_t b;
};

extern const KickPair kick_aAnimPairs[KICK_PAIRS];
// Rows by band x 4 + sector.
extern const KickRow kick_aNear[KICK_BANDS * KICK_SECTORS];
extern const KickRow kick_aFar[KICK_BANDS * KICK_SECTORS];
extern const KickRow kick_aLongNear[KICK_BANDS * KICK_SECTORS];
extern const KickRow kick_aLongFar[KICK_BANDS * KICK_SECTORS];
// Pair index by sector for a kicker running with the ball (animations 129, 105).
extern const std::int32_t kick_aiRun129Near[KICK_SECTORS];
extern const std::int32_t kick_aiRun129Far[KICK_SECTORS];
extern const std::int32_t kick_aiRun105Near[KICK_SECTORS];
extern const std::int32_t kick_aiRun105Far[KICK_SECTORS];

// Height band of a ball (negative counted as 0); above 7 no kick.
std::int32_t kick_BandGet(std::int32_t iBallHeight);
// Sector 0..3 of the target direction against the facing (both 802 a turn).
std::int32_t kick_SectorGet(std::int32_t iDirection, std::int32_t iFacing);
// The second animation of the pair when the target lies to that side.
std::int32_t kick_IsSecondSide(std::int32_t iDirection, std::int32_t iFacing);
// The table row for a choice, with the running column applied.
KickRow kick_RowGet(std::int32_t iBand, std::int32_t iSector, std::int32_t bFar, std::int32_t bLong,
                    std::uint32_t eRunning);

std::uint32_t kick_AnimChoose(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iBallHeight,
                              std::int32_t iFacing);
std::uint32_t kick_AnimChooseAlt(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iBallHeight,
                                 std::int32_t iFacing);
void kick_ShotAnimStart(Player* pp);
void kick_PointAnimStart(Player* pp, std::int32_t x, std::int32_t y);
void kick_AnimStartSide(Player* pp);
// -1 for 135..225 degrees (behind), 1 below 135, 0 for 226..359.
std::int32_t kick_AngleClassify(std::int32_t iDegrees);
std::int32_t kick_IsKickAnim(std::uint32_t eAnim);
