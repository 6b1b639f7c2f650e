// Choosing and starting kicks: the animation that meets the ball at its
// height toward the target, and kicks started at once with their strike.
#include "engine/kick.h"

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/target.h"
#include "framework/qdx_assert.h"

namespace {

// Header reach (percent of the way to the target) and elevation in degrees of
// a player for whom a kick animation is chosen.
constexpr std::int32_t kHeaderReach = 100;
constexpr std::int32_t kHeaderDegrees = 12;

std::uint32_t Choose(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iBallHeight, std::int32_t iFacing,
                     bool bLong) {
  QDX_ASSERT(iBallHeight >= -48);
  std::int32_t iBand = kick_BandGet(iBallHeight);
  if (iBand > KICK_BANDS - 1) return ANIM_NONE;
  std::int32_t ox = PlayerO_XGet(pp);
  std::int32_t oy = PlayerO_YGet(pp);
  if (chaser_PlayerGet(pp) == pp) {
    ox = pp->iInterceptX;
    oy = pp->iInterceptY;
  }
  std::int32_t iDir = ball_HeadingTo(x - ox, y - oy);
  std::int32_t iSector = kick_SectorGet(iDir, iFacing);
  std::int64_t dx = x - ox;
  std::int64_t dy = y - oy;
  std::int64_t iDist2 = dx * dx + dy * dy;
  std::int32_t bFar = bLong ? static_cast<std::int64_t>(ball_ISqrt(static_cast<std::uint64_t>(iDist2))) >= KICK_NEAR_LONG
                            : iDist2 >= static_cast<std::int64_t>(KICK_NEAR) * KICK_NEAR;
  KickRow oRow = kick_RowGet(iBand, iSector, bFar, bLong, pp->oAnimData.eActionAnim);
  touch_PairSet(pp, oRow.a, oRow.b);
  target_HeaderSet(pp, kHeaderReach, kHeaderDegrees);
  const KickPair& oPair = kick_aAnimPairs[oRow.iPair];
  return kick_IsSecondSide(iDir, iFacing) ? oPair.eSecond : oPair.eFirst;
}

// Direction minus facing in whole degrees 0..359.
std::int32_t DegreesOff(std::int32_t iDir, std::int32_t iFacing) {
  std::int32_t d = (iDir - iFacing) * 180 / 401 % 360;
  return d < 0 ? d + 360 : d;
}

}  // namespace

std::uint32_t kick_AnimChoose(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iBallHeight,
                              std::int32_t iFacing) {
  return Choose(pp, x, y, iBallHeight, iFacing, false);
}

std::uint32_t kick_AnimChooseAlt(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iBallHeight,
                                 std::int32_t iFacing) {
  return Choose(pp, x, y, iBallHeight, iFacing, true);
}

void kick_ShotAnimStart(Player* pp) {
  touch_StateForce(pp, 15);
  std::int32_t tx = pp->Direction == 1 ? 9504 : -9504;
  std::int32_t ty = target_YGet();
  std::int32_t d = DegreesOff(ball_HeadingTo(tx - PlayerO_XGet(pp), ty - PlayerO_YGet(pp)), PlayerO_AngleGet(pp));
  anim_CallbackSet(&pp->oAnimData, target_StrikeExecute);
  std::uint32_t eAnim = 31;
  if (d < 46) {
    eAnim = 32;
  } else if (d < 180) {
    eAnim = 30;
  } else if (d < 315) {
    eAnim = 29;
  }
  anim_RequestSet(&pp->oAnimInfo, eAnim);
}

void kick_PointAnimStart(Player* pp, std::int32_t x, std::int32_t y) {
  touch_StateForce(pp, 15);
  std::int32_t iDir = ball_HeadingTo(x - PlayerO_XGet(pp), y - PlayerO_YGet(pp));
  target_AngleSet(iDir);
  std::int32_t d = DegreesOff(iDir, PlayerO_AngleGet(pp));
  anim_CallbackSet(&pp->oAnimData, target_DoVolley);
  std::int32_t iClass = kick_AngleClassify(d);
  if (iClass == 0) anim_RequestSet(&pp->oAnimInfo, 109);
  if (iClass == 1) anim_RequestSet(&pp->oAnimInfo, 110);
}

void kick_AnimStartSide(Player* pp) {
  touch_StateForce(pp, 15);
  anim_CallbackSet(&pp->oAnimData, target_DoLob);
  std::int32_t d = DegreesOff(PlayerO_AngleGet(pp), target_AngleGet());
  anim_RequestSet(&pp->oAnimInfo, kick_AngleClassify(d) == 0 ? 19 : 20);
}
