// Keeper's ball in hand: the keeper backs up to his box's line and then
// rolls, drop-kicks or throws the ball (a user) or kicks it toward a zone of
// the far goal mouth (the computer); the others go to their goal-kick places.
// It ends once the ball has left the keeper (struck, or put down at his
// feet) and everyone is back in his place: until then nobody else plays it.
#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/target.h"
#include "engine/zone.h"
#include "framework/math/qmath.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"

namespace {

std::int32_t s_iCountdown;
bool s_bDone;
bool s_bPutDown;  // the person's keeper puts the ball down at his feet (no strike)
bool s_bBallOut;  // the ball went over a line before the keeper's ball ended
std::int32_t s_iLaunchX, s_iLaunchY;
constexpr std::int32_t kAimTree = 1072;
// A person's keeper takes his keeper's ball no nearer his goal line than
// this (a ball's width outside the goal area's reach of the line), walking
// out to it at the pace a keeper shuffles into place.
constexpr std::int32_t kHandsSpotX = 9072, kHandsStep = 32;

std::int32_t Heading16(const Player* pp) { return (pp->iFacing * 65536 / 802) & 0xFFFF; }

// The quarter turns a keeper may face: toward the pitch and along his line.
std::int32_t QuarterClamp(const Player* pp, std::int32_t a16) {
  a16 = ((a16 + 8192) & 0xFFFF) / 16384 * 16384 & 0xFFFF;  // nearest quarter
  const std::int32_t iBack = pp->Direction == 1 ? 32768 : 0;  // facing his own goal
  if (a16 == iBack) a16 = pp->Direction == 1 ? 0 : 32768;
  return a16;
}

Player* FarthestMateAhead(const Player* pp, std::int32_t iReach) {
  const std::int32_t h = Heading16(pp);
  Player* poBest = nullptr;
  std::int64_t iBest = -1;
  for (Player* po = match_HomeFirstPlayerGet(); po; po = match_NextPlayerGet(po)) {
    if (po == pp || po->MyTeam != pp->MyTeam) continue;
    const std::int64_t dx = po->x - pp->x, dy = po->y - pp->y;
    const std::int64_t d2 = dx * dx + dy * dy;
    if (d2 > static_cast<std::int64_t>(iReach) * iReach) continue;
    const std::int16_t dA =
        static_cast<std::int16_t>((QMathAtan2(static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy)) & 0xFFFF) - h);
    if (dA < -5461 || dA > 5461) continue;
    if (d2 > iBest) iBest = d2, poBest = po;
  }
  return poBest;
}

void Play(Player* pp, std::uint32_t eAnim, void (*pfn)(Player*)) {
  setp_KickStart(pp, eAnim, pfn);
  PlayerO_MoveStateSet(pp, MOVE_STATE_ANIM_PLAY);
}

// User commands; 1 once the ball is played.
std::int32_t CommandUpdate(Player* pp) {
  const std::int32_t h = Heading16(pp);
  switch (setp_CommandGet()) {
    case SETP_CMD_KICK:
      s_bPutDown = true;
      anim_RequestSet(&pp->oAnimInfo, 71);
      anim_ActionAnimSet(&pp->oAnimData, 71);
      PlayerO_MoveStateSet(pp, MOVE_STATE_ANIM_PLAY);
      return 1;
    case SETP_CMD_AIM_LEFT:
    case SETP_CMD_AIM_RIGHT: {
      const std::int32_t d = setp_CommandGet() == SETP_CMD_AIM_LEFT ? 16384 : -16384;
      const std::int32_t a = QuarterClamp(pp, h + d);
      setp_FaceHeading(pp, (a * 802) >> 16);
      setp_CommandClear();
      return 0;
    }
    case SETP_CMD_RELEASE: {
      const std::int32_t iReach = setp_PowerGet() * 6480 / 100 + 1440;
      Player* po = FarthestMateAhead(pp, iReach);
      std::int32_t x, y;
      if (po) {
        x = po->x, y = po->y;
      } else {
        setp_PointAlong(pp->x, pp->y, pp->iFacing, iReach, &x, &y);
      }
      sphands_LaunchPointSet(x, y);
      if (po && setp_Distance(x - pp->x, y - pp->y) < 2881) {
        Play(pp, 68, sphands_RollLaunch);
      } else {
        Play(pp, 70, sphands_DropKickLaunch);
      }
      return 1;
    }
    case SETP_CMD_READY: {
      const std::int32_t a = QuarterClamp(pp, h);
      setp_FaceHeading(pp, (a * 802) >> 16);
      std::int32_t x, y;
      setp_PointAlong(pp->x, pp->y, pp->iFacing, setp_PowerGet() * 6480 / 100 + 1440, &x, &y);
      sphands_LaunchPointSet(x, y);
      Play(pp, 69, sphands_ThrowLaunch);
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace

void sphands_LaunchPointSet(std::int32_t x, std::int32_t y) {
  s_iLaunchX = x;
  s_iLaunchY = y;
}
void sphands_LaunchPointGet(std::int32_t* px, std::int32_t* py) {
  *px = s_iLaunchX;
  *py = s_iLaunchY;
}

// The launches are the keeper's strike: from here on the ball is in play.
void sphands_RollLaunch(Player* pp) {
  setp_KickStruckSet();
  setp_BallRelease(pp);
  ball_oBall.iKind = 4;
  ball_GroundPassLaunch(s_iLaunchX, s_iLaunchY);
  ball_PredictPath(&ball_oBall);
}
void sphands_DropKickLaunch(Player* pp) {
  setp_KickStruckSet();
  setp_BallRelease(pp);
  ball_SpinSet(&ball_oBall, 0);
  // Moved, not placed: a placed ball would lie still at his feet.
  ball_PlaceAt(&ball_oBall, pp->x, 288, pp->y);
  ball_oBall.iKind = 10;
  ball_HeightAngleLaunch(&ball_oBall, s_iLaunchX, 0, s_iLaunchY, 25, -100);
  ball_PredictPath(&ball_oBall);
  ball_KickSoundB();
}
void sphands_ThrowLaunch(Player* pp) {
  setp_KickStruckSet();
  setp_AngleKick(pp, s_iLaunchX, s_iLaunchY, 45, -1500);
}
static void ComputerKick(Player* pp) {
  setp_KickStruckSet();
  target_DoKickToAimPoint(pp);
}

void sphands_Update(Player* pp) {
  if (s_iCountdown == 90) {
    const std::int32_t r = static_cast<std::int32_t>(QMathRandRange(99));
    const std::int32_t iZone = r < 70 ? 1 : r < 85 ? 9 : 16;
    QMathPoint pt;
    if (!zone_bRandomPointAt(pp, &pt, iZone, kAimTree)) pt = QMathPoint{pp->Direction == 1 ? 7200 : -7200, 0};
    setp_AimPointSet(pt.x, pt.y);
    // The kick's backspin comes from its distance: left from an earlier set
    // piece, a long kick kept bouncing on over the far goal line.
    setp_KickDistanceSet(setp_Distance(pt.x - setp_BallX(), pt.y - setp_BallY()));
    setp_KickStart(pp, 69, ComputerKick);
  }
  // Turns 22 units a tick toward the way he attacks.
  const std::int32_t iWant = pp->Direction == 1 ? 0 : 401;
  std::int32_t d = setp_Wrap802(iWant - pp->iFacing);
  if (d > 401) d -= 802;
  if (d != 0) setp_FaceHeading(pp, pp->iFacing + (d > 22 ? 22 : d < -22 ? -22 : d));
  if (--s_iCountdown <= 0) {
    std::int32_t x, y;
    setp_AimPointGet(&x, &y);
    setp_FaceHeading(pp, setp_HeadingTo(pp->x, pp->y, x, y));
    setp_CommandSet(SETP_CMD_KICK);
  }
}

// The facing toward the goal he attacks.
static std::int32_t FacingUpfield(const Player* pp) { return pp->Direction == 1 ? 0 : 401; }

// One step of a keeper's walk out to his spot at the keeper's ball, the
// goal-line distance kHandsSpotX from the centre; false once he is there.
static bool StepOut(Player* pp) {
  const std::int32_t iOwn = pp->Direction == 1 ? -1 : 1;  // the side of the goal he defends
  const std::int32_t iPast = iOwn * pp->x - kHandsSpotX;
  if (iPast <= 0) return false;
  const std::int32_t iStep = iPast < kHandsStep ? iPast : kHandsStep;
  pp->x = static_cast<std::int16_t>(pp->x - iOwn * iStep);
  return true;
}

// A keeper holding the ball plays his carrying clip (59, the ball at his
// chest) only while his target is beyond the run's reach of 96: at his
// target the run gives him the plain stand clip, the ball at his feet. A
// person's player is not steered to his target (his facing is set on its
// own), so a point a stride up the pitch keeps a person's keeper carrying
// the ball without turning him.
static void CarryTargetAhead(Player* pp) {
  const std::int32_t iUp = pp->Direction == 1 ? 1 : -1;
  anim_TargetPointSet(&pp->oAnimInfo, pp->x + iUp * 128, pp->y);
}

// The aim starts at its defaults for the person, but a throw or kick he has
// already released (as the keeper took the catch, backed up or stepped out)
// keeps the power its press charged: it is played as soon as he is ready.
static void AimDefaultsKeepingThePress() {
  const std::int32_t iPower = setp_PowerGet();
  const std::int32_t eCommand = setp_CommandGet();
  setp_AimDefaults();
  if (eCommand == SETP_CMD_RELEASE || eCommand == SETP_CMD_READY) setp_PowerSet(iPower);
}

static bool BallOverALine() { return ball_bOverALine(setp_BallX(), setp_BallY()); }

void sphands_Start() { s_bDone = s_bBallOut = s_bPutDown = false; }

// The ball has left the keeper's hands: struck (rolled, thrown or kicked),
// or put down at his feet once his putting it down has ended. Until then
// the ball is his alone: the keeper's ball goes on (no open play, nobody
// else may play it) however soon the others are back in their places.
static bool BallLeftHands() {
  if (setp_bKickStruck()) return true;
  const Player* poTaker = setp_poGetKickTaker();
  return s_bPutDown && poTaker != nullptr && anim_IsEnded(&poTaker->oAnimData);
}

void sphands_BallOut() {
  if (s_bDone) return;
  s_bDone = true;
  s_bBallOut = true;
  // The keeper's ball names its taker when it starts, and only its end
  // clears him.
  Player* poTaker = setp_poGetKickTaker();
  QDX_ASSERT(poTaker != nullptr);
  setp_ModeEnd(poTaker);
}

static bool HandsStep(Player* pp) {
  SetPieceRecord& rec = pp->oSetPiece;
  if (rec.iEnterState != 1) {
    // The referee hears of a held or flying ball over a line at once; one
    // that came to rest there ends the keeper's ball here.
    if (BallOverALine()) sphands_BallOut();
    if (s_bBallOut) return true;
  }
  switch (rec.iEnterState) {
    case 1: {
      setp_TakerEnsure(true);
      setp_EnterCountInc();
      if (ball_bOverGoalLine(setp_BallX())) {
        rec.iEnterState = 2;
      } else if (pp != setp_poGetKickTaker()) {
        QMathPoint c{0, 0};
        if (!zone_bCentreGet(pp, &c, 36)) c = QMathPoint{0, 0};
        // The other keeper stays in his goal (his own machine holds him there).
        if (player_IsGoalkeeper(pp)) c = QMathPoint{pp->x, pp->y};
        setp_WalkStart(pp, c.x, c.y, ANIM_RUN);
        rec.iEnterState = 3;
      } else {
        rec.iWait = -1;
        rec.iEnterState = 29;
        if (setp_UserMateExists(pp)) {
          // A person's keeper faces the pitch from the start, where he
          // stands: his run's heading from the catch (often toward his own
          // goal) would turn him about, the ball dropping to his feet.
          setp_FaceHeading(pp, FacingUpfield(pp));
          anim_TargetPointSet(&pp->oAnimInfo, pp->x, pp->y);
        }
      }
      return true;
    }
    case 3:  // the others on their way (their walk ends the same way as a goal kick's)
      if (setp_TakerRunUpdate(pp) == SETP_DONE) rec.iEnterState = 2;
      return true;
    case 29: {
      // He backs up to his line; holding the ball clears his move flag, so
      // he also counts as there once he gets no nearer it than the tick before.
      const std::int32_t ax = pp->x < 0 ? -pp->x : pp->x;
      const bool bThere = ax >= 7344 || (rec.iWait >= 0 && ax <= rec.iWait);
      rec.iWait = ax;
      if (bThere) {
        if (setp_UserMateExists(pp)) {
          // A person's keeper first faces the pitch, and one who gathered on
          // or near his line steps out to his spot before he waits.
          setp_FaceHeading(pp, FacingUpfield(pp));
          rec.iEnterState = 30;
          return true;
        }
        anim_RequestSet(&pp->oAnimInfo, ANIM_GOALIE_STANCE);
        PlayerO_MoveStateSet(pp, MOVE_STATE_KEEPER_IDLE);
        s_iCountdown = 90;
        rec.iEnterState = 21;
      } else {
        anim_RequestSet(&pp->oAnimInfo, 59);
        PlayerO_MoveStateSet(pp, MOVE_STATE_KEEPER_IDLE);
        setp_FaceHeading(pp, FacingUpfield(pp));
        if (setp_UserMateExists(pp)) CarryTargetAhead(pp);
      }
      return true;
    }
    case 30:
      // A person's keeper, facing the pitch, steps out from his line (the
      // keeper's own pace when he shuffles into place) and only then waits
      // for the person. He stands where he is, facing the pitch, until the
      // person turns him or plays the ball: the stance's run step would
      // otherwise take him on toward the last point and heading he ran for
      // (a person's player is not steered to his target).
      if (StepOut(pp)) {
        anim_RequestSet(&pp->oAnimInfo, 59);
        PlayerO_MoveStateSet(pp, MOVE_STATE_KEEPER_IDLE);
        CarryTargetAhead(pp);
        return true;
      }
      anim_RequestSet(&pp->oAnimInfo, ANIM_GOALIE_STANCE);
      PlayerO_MoveStateSet(pp, MOVE_STATE_KEEPER_IDLE);
      anim_TargetPointSet(&pp->oAnimInfo, pp->x, pp->y);
      AimDefaultsKeepingThePress();
      rec.iEnterState = 13;
      return true;
    case 13:
      if (CommandUpdate(pp)) rec.iEnterState = 2;
      return true;
    case 21:
      sphands_Update(pp);
      if (setp_CommandGet() == SETP_CMD_KICK) rec.iEnterState = 2;
      return true;
    case 2:
      setp_EnterCountDec();
      rec.iEnterState = 26;
      return true;
    case 26:
      QDX_ASSERT(setp_iGetEnterCount() >= 0);
      if (!s_bDone && setp_iGetEnterCount() == 0 && BallLeftHands() && anim_IsEnded(&pp->oAnimData)) {
        s_bDone = true;
        setp_ModeEnd(pp);
      }
      return true;
    default:
      QDX_ASSERT(!"keeper's ball: no such state");
      return true;
  }
}

ActionNode* sphands_Handler(ActionNode* poList) { return setp_ListRun(poList, HandsStep); }
