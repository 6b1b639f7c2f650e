// A replayed frame into the frame packet.
#include <limits>

#include "engine/ball.h"
#include "matchflow/replay.h"
#include "scene3d/scene3d_services.h"
#include "shell/game.h"
#include "shell/match_services.h"

namespace {
// The ball words a replay frame replaces: position and the seven orientation
// and spin words.
struct GameBallWords {
  int32_t iX128, iHeight128, iY128;
  int32_t iHeading, iElevation, iRollAngle, iSpinAxisX, iSpinAxisY, iSpinAxisZ, iSpinRate;
};

GameBallWords game_BallWordsGet(const Ball* poBall) {
  return {poBall->iX128,      poBall->iHeight128, poBall->iY128,      poBall->iHeading,   poBall->iElevation,
          poBall->iRollAngle, poBall->iSpinAxisX, poBall->iSpinAxisY, poBall->iSpinAxisZ, poBall->iSpinRate};
}

void game_BallWordsSet(Ball* poBall, const GameBallWords& oWords) {
  poBall->iX128 = oWords.iX128;
  poBall->iHeight128 = oWords.iHeight128;
  poBall->iY128 = oWords.iY128;
  poBall->iHeading = oWords.iHeading;
  poBall->iElevation = oWords.iElevation;
  poBall->iRollAngle = oWords.iRollAngle;
  poBall->iSpinAxisX = oWords.iSpinAxisX;
  poBall->iSpinAxisY = oWords.iSpinAxisY;
  poBall->iSpinAxisZ = oWords.iSpinAxisZ;
  poBall->iSpinRate = oWords.iSpinRate;
}

// The value is negated for frames before the reference; -32768 has no
// 16-bit negation and becomes 32767.
int16_t game_ReferenceValue(int16_t iValue, int32_t iFrame, int32_t iReferenceFrame) {
  if (iFrame == iReferenceFrame) return 0;
  if (iFrame > iReferenceFrame) return iValue;
  if (iValue == std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::max();
  return static_cast<int16_t>(-iValue);
}
}  // namespace

void game_ReplayFrameApply(int32_t iFrame, int32_t iReferenceFrame) {
  anim_BallAtHolderPlace();
  Ball* poBall = ball_Get();
  ReplaySide* poSide = replay_poSideGet(iFrame);
  const ReplayBall& oReplayed = poSide->oBall;

  // The live words come back once the replayed ball is in the packet: the
  // flight goes on from them when the match resumes.
  const GameBallWords oLive = game_BallWordsGet(poBall);
  game_BallWordsSet(poBall, {oReplayed.iX * 128, oReplayed.iHeight * 128, oReplayed.iY * 128, oReplayed.iHeading,
                             oReplayed.iElevation, oReplayed.iRollAngle, oReplayed.iSpinAxisX, oReplayed.iSpinAxisY,
                             oReplayed.iSpinAxisZ, oReplayed.iSpinRate});

  pcframe_ReplayViewSet(poSide->auPresentation, game_ReferenceValue(poSide->iReference, iFrame, iReferenceFrame));
  pcframe_BallStore(1);
  game_BallWordsSet(poBall, oLive);

  pcframe_TrailReplay(&poSide->oTrail, iFrame);
  pcframe_PlayersStoreReplay();
}
