// The action replay's recorder and playback: a ring of 318 recorded ticks in the borrowed scratch
// buffer, and game mode 46 that plays it back with its own camera.
#include "matchflow/replay.h"

#include "engine/ball.h"
#include "engine/player.h"
#include "framework/qdx_assert.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/camera.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/matchstate.h"
#include "scene3d/scene3d_services.h"
#include "shell/draw2d.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/mem.h"
#include "shell/user.h"

namespace {
// The replay's recording of one match.
struct ReplayMatch {
  ReplayState oState;
  std::uint8_t acEntries[REPLAY_FRAMES];  // entries written per frame
  PCFrameTrail oTrail;                     // the presentation's ball trail record
  std::int32_t bLeft;                      // the mode was left while handling this tick's events
};
constexpr ReplayMatch replay_MatchFresh() {
  ReplayMatch o{};
  o.oState.iPublished = -1;
  return o;
}
constexpr ReplayMatch kReplayFresh = replay_MatchFresh();
ReplayMatch s_oMatch = kReplayFresh;
}  // namespace

ReplayState& replay_oState = s_oMatch.oState;

namespace {
std::uint8_t (&replay_acEntries)[REPLAY_FRAMES] = s_oMatch.acEntries;
PCFrameTrail& replay_oTrail = s_oMatch.oTrail;

constexpr std::int32_t kReplayBinding = 31;
std::int32_t& s_bLeft = s_oMatch.bLeft;
constexpr std::int32_t kLayer = 2;

std::int32_t replay_Wrap(std::int32_t i) { return i >= REPLAY_FRAMES ? i - REPLAY_FRAMES : (i < 0 ? i + REPLAY_FRAMES : i); }

std::uint32_t replay_DBLinkGet(const DBPlayer* po) {
  if (!po) return REPLAY_DB_NONE;
  const MatchTeam* apo[2] = {&match.HomeTeam, &match.AwayTeam};
  const std::uint32_t auSide[2] = {REPLAY_DB_HOME, REPLAY_DB_AWAY};
  for (std::int32_t k = 0; k < 2; k++) {
    const DBPlayer* poBase = apo[k]->MySquad;
    if (poBase && po >= poBase && po < poBase + TEAM_SQUADSIZE_MAX)
      return auSide[k] | static_cast<std::uint32_t>(po - poBase);
  }
  return REPLAY_DB_NONE;
}

DBPlayer* replay_DBLinkResolve(std::uint32_t u) {
  if (u == REPLAY_DB_NONE) return nullptr;
  const std::uint32_t i = u & REPLAY_DB_INDEX_MASK;
  DBPlayer* poBase = (u & REPLAY_DB_HOME) ? match.HomeTeam.MySquad : (u & REPLAY_DB_AWAY) ? match.AwayTeam.MySquad : nullptr;
  return poBase && i < TEAM_SQUADSIZE_MAX ? poBase + i : nullptr;
}

void replay_EntryWrite(ReplayEntry* e, const Player* pp, std::int32_t bDB) {
  e->iX = pp->x;
  e->iHeight = pp->height;
  e->iY = pp->y;
  e->uFacing = static_cast<std::uint16_t>(pp->iDisplayFacing);
  e->iTurnStep = pp->iTurnStep;
  e->uAnimState = pp->oAnimData.eActionAnim;
  e->uFramePosition = pp->oAnimData.uPos;
  e->uFlags = static_cast<std::uint16_t>((pp->oAnimData.bMirror ? REPLAY_FLAG_MIRRORED : 0) |
                                         (pp->oAnimData.bLookAtBall > 0 ? REPLAY_FLAG_WATCH_BALL : 0));
  if (bDB) e->uDBPlayerLink = replay_DBLinkGet(pp->pDBPlayer);
  e->uLastWord = pp->uHeadAngle;
}

// Writes the current tick into frame f.
void replay_FrameWrite(std::int32_t f) {
  ReplayFrame* poFrame = &replay_poFrames[f];
  Player* apo[REPLAY_ENTRIES - 1];
  const std::int32_t c = replay_iChainGet(apo);
  for (std::int32_t i = 0; i < c; i++) replay_EntryWrite(&poFrame->aoEntry[i], apo[i], 1);
  replay_EntryWrite(&poFrame->aoEntry[c], &player_oReferee, 0);
  replay_acEntries[f] = static_cast<std::uint8_t>(c + 1);

  ReplaySide& s = *replay_poSideGet(f);
  const Ball* b = ball_Get();
  s.oBall = {static_cast<std::int16_t>(ball_XGet(b)),        static_cast<std::int16_t>(ball_HeightGet(b)),
             static_cast<std::int16_t>(ball_YGet(b)),        static_cast<std::int16_t>(b->iHeading),
             static_cast<std::int16_t>(b->iElevation),       static_cast<std::int16_t>(b->iRollAngle),
             static_cast<std::int16_t>(b->iSpinAxisX),       static_cast<std::int16_t>(b->iSpinAxisY),
             static_cast<std::int16_t>(b->iSpinAxisZ),       static_cast<std::int16_t>(b->iSpinRate)};
  s.auPresentation[0] = s.auPresentation[1] = s.auPresentation[2] = 0;
  s.iReference = 0;
  s.uShadow = 0;
  s.oTrail = replay_oTrail;
  pcframe_TrailReset(&replay_oTrail);
  const CameraView* v = camera_poViewGet();
  for (std::int32_t i = 0; i < 3; i++) s.aiCameraTarget[i] = static_cast<std::int16_t>(v->aiTarget[i]);
}

void replay_Leave() {
  s_bLeft = 1;
  camera_Pop();
  clock_Start();
  replay_oState.bRecording = 1;
  replay_oState.iIndex = replay_oState.iSavedIndex;
  replay_oState.iPublished = -1;
  global_GameModePopRequest();
}

void replay_BufferRelease() {
  if (replay_poFrames) {
    replay_poFrames = nullptr;
    mem_Unlock();
  }
}

}  // namespace

void replay_Draw() {
  ReplayState& r = replay_oState;
  if (++r.iBlinkCounter >= 16) {
    r.iBlinkCounter = 0;
    r.bBlinkOn ^= 1;
  }
  if (r.bBlinkOn) {
    if (r.bControlsHidden) {
      draw2d_TextColourSet(200, 0, 0, 255);
    } else {
      // The replay's mark stands on the picture: with its dark shadow.
      pctext_FontSet(2);
      draw2d_TextColourSet(200, 200, 200, 255);
      draw2d_TextShadowLeft(gstatso_StrGet(0), pcfe_ScaleX640(592), pcfe_ScaleY480(24), 0);
    }
  }
  if (caption_bIsPending() || r.bControlsHidden) return;
  // The control panel at the lower left: back, play or pause, forward.
  const auto X = [](std::int32_t x) { return pcfe_ScaleX640(static_cast<std::int16_t>(x)); };
  const auto Y = [](std::int32_t y) { return pcfe_ScaleY480(static_cast<std::int16_t>(y)); };
  pcframe_AddBox(X(32), Y(416), X(176), Y(448), kLayer + 1, 0, 0, 0, 128, 17);
  const std::int32_t aiBit[2] = {2, 1};
  for (std::int32_t k = 0; k < 2; k++) {
    const bool bLit = (r.uInputBits & aiBit[k]) != 0;
    const std::int32_t x0 = k == 0 ? 40 : 136;
    pcframe_AddBox(X(x0), Y(420), X(x0 + 32), Y(444), kLayer, bLit ? 240 : 56, bLit ? 209 : 125, bLit ? 0 : 218,
                   bLit ? 255 : 128, bLit ? 1 : 17);
  }
  if (r.bPlaying) {
    pcframe_AddTriangle(X(96), Y(420), X(96), Y(444), X(116), Y(432), kLayer, 200, 200, 200, 255, 1);
  } else {
    pcframe_AddBox(X(94), Y(420), X(100), Y(444), kLayer, 200, 200, 200, 255, 1);
    pcframe_AddBox(X(108), Y(420), X(114), Y(444), kLayer, 200, 200, 200, 255, 1);
  }
  const std::int32_t iFill = replay_iProgressGet(r.iIndex, r.iEnd);
  pcframe_AddBox(X(56), Y(452), X(56 + 103), Y(458), kLayer + 1, 56, 125, 218, 128, 17);
  if (iFill > 0) pcframe_AddBox(X(56), Y(452), X(56 + iFill), Y(458), kLayer, 240, 209, 0, 255, 1);
}

std::int32_t replay_iChainGet(Player* apo[REPLAY_ENTRIES - 1]) {
  // The home chain, then the away chain; a substitute walking on may make a
  // side's chain longer, but at most 22 players are recorded.
  std::int32_t c = 0;
  Player* apoFirst[2] = {match.HomeTeam.poPlayers ? match.HomeTeam.poPlayers : &player_aHome[0],
                         match.AwayTeam.poPlayers ? match.AwayTeam.poPlayers : &player_aAway[0]};
  for (std::int32_t k = 0; k < 2; k++) {
    for (Player* pp = apoFirst[k]; pp && c < REPLAY_ENTRIES - 1; pp = pp->pNext) {
      bool bSeen = false;
      for (std::int32_t i = 0; i < c; i++) bSeen = bSeen || apo[i] == pp;
      if (bSeen) break;  // the home chain ran on into the away players
      apo[c++] = pp;
    }
  }
  return c;
}

std::int32_t replay_iEntriesGet(std::int32_t iFrame) {
  QDX_ASSERT(iFrame >= 0 && iFrame < REPLAY_FRAMES);
  return replay_acEntries[iFrame];
}

void replay_EntryDecode(std::int32_t iFrame, std::int32_t iEntry, ReplayPlayerView* o) {
  QDX_ASSERT(replay_poFrames && iFrame >= 0 && iFrame < REPLAY_FRAMES && iEntry >= 0 && iEntry < REPLAY_ENTRIES);
  const ReplayEntry& e = replay_poFrames[iFrame].aoEntry[iEntry];
  const bool bReferee = iEntry == replay_acEntries[iFrame] - 1;
  *o = {e.iX,
        e.iHeight,
        e.iY,
        e.uFacing,
        e.iTurnStep,
        e.uAnimState,
        e.uFramePosition,
        (e.uFlags & REPLAY_FLAG_MIRRORED) ? 1 : 0,
        (e.uFlags & REPLAY_FLAG_WATCH_BALL) ? 1 : 0,
        bReferee ? nullptr : replay_DBLinkResolve(e.uDBPlayerLink),
        e.uLastWord};
}

void replay_StartRecording() {
  ReplayState& r = replay_oState;
  if (r.bRecording) return;
  r.bRecording = 1;
  r.iIndex = 0;
  r.iSavedIndex = 0;
  replay_BufferRelease();
  replay_BufferFill();
}

void replay_BufferFill() {
  ReplayState& r = replay_oState;
  if (!replay_poFrames) {
    void* pv = mem_pvLock();
    if (!pv) {
      // Somebody else holds the scratch buffer: nothing can be recorded.
      r.bRecording = 0;
      return;
    }
    replay_poFrames = static_cast<ReplayFrame*>(pv);
  }
  for (std::int32_t i = 0; i < REPLAY_FRAMES; i++) replay_RecordFrame();
  r.bPrimed = 1;
}

void replay_ClearRecording() { replay_oState.bRecording = 0; }

void replay_Reset() {
  ReplayState& r = replay_oState;
  r.bRecording = 0;
  r.bControlsHidden = 0;
  r.bLeaving = 0;
  r.bPrimed = 0;
  r.iPublished = -1;
  replay_BufferRelease();
}

MatchStateBlock replay_MatchState() { return {"replay", &s_oMatch, sizeof s_oMatch}; }
void replay_MatchReset() {
  // A match left while recording (quit from the pause menu) would go on
  // recording into this one from where it was: its first replay would start
  // anywhere in the ring.
  replay_Reset();
  matchstate_Restore(s_oMatch, kReplayFresh);
  pcframe_TrailReset(nullptr);
}

void replay_RecordFrame() {
  ReplayState& r = replay_oState;
  if (!r.bRecording || !replay_poFrames) return;
  r.iEnd = r.iIndex;
  replay_FrameWrite(r.iIndex);
  if (++r.iIndex > REPLAY_FRAMES - 1) {
    r.iIndex = 0;
    r.bPrimed = 0;
  }
}

void replay_Enter() {
  ReplayState& r = replay_oState;
  User* poPause = global_poGetPauseUser();
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip) continue;
    if (poPause && global_poGetMenuUser() == poPause && &u != poPause) continue;
    input_PortBindingSet(kReplayBinding, u.pip);
  }
  clock_ResumeOnPlay();
  CameraView* v = camera_poViewGet();
  for (std::int32_t i = 0; i < 3; i++) {
    r.aiSavedEye[i] = v->aiEye[i];
    r.aiSavedTarget[i] = v->aiTarget[i];
    r.aiBallOffset[i] = 0;
  }
  r.bPlaying = 1;
  r.bStepToggle = 0;
  r.iBlinkCounter = 0;
  r.bBlinkOn = 1;
  r.uInputBits = 0;
  r.iSavedIndex = r.iIndex;
  r.iDistance = 4320;
  r.uOrbitAngle = 49152;
  camera_Push(CAMERA_RPY);
  camera_TargetSourceSet(0, camera_TargetNone);
  if (r.bPrimed) r.iIndex = 0;
  r.iPublished = -1;
}

std::int32_t replay_iProgressGet(std::int32_t iIndex, std::int32_t iEnd) {
  return ((iIndex - iEnd + (iIndex > iEnd ? 0 : REPLAY_FRAMES)) * 103) / REPLAY_FRAMES;
}

void replay_EventHandle(std::int32_t iEvent, User* pusr) {
  ReplayState& r = replay_oState;
  CameraView* v = camera_poViewGet();
  switch (iEvent) {
    case 83:
      for (std::int32_t i = 0; i < 3; i++) {
        v->aiEye[i] = r.aiSavedEye[i];
        v->aiTarget[i] = r.aiSavedTarget[i];
      }
      if (global_eGetPrevGameMode() == GAME_MODE_PAUSE_MENU) {
        replay_Leave();
      } else {
        camera_FadeStart();
        r.bLeaving = 1;
      }
      break;
    case 99:
    case 102:
      r.bPlaying = 0;
      r.uInputBits |= 1;
      if (r.iIndex != r.iEnd) r.iIndex = replay_Wrap(r.iIndex + 1);
      break;
    case 100:
    case 103:
      r.bPlaying = 0;
      r.uInputBits |= 2;
      if (r.bPrimed) {
        if (r.iIndex > 0) r.iIndex--;
      } else if (r.iIndex != replay_Wrap(r.iEnd + 1)) {
        r.iIndex = replay_Wrap(r.iIndex - 1);
      }
      break;
    case 101: r.bPlaying ^= 1; break;
    case 104: r.iDistance = r.iDistance - 192 < 2880 ? 2880 : r.iDistance - 192; break;
    case 105: r.iDistance = r.iDistance + 192 > 7200 ? 7200 : r.iDistance + 192; break;
    case 106: r.uOrbitAngle = static_cast<std::uint16_t>(r.uOrbitAngle + 546); break;
    case 107: r.uOrbitAngle = static_cast<std::uint16_t>(r.uOrbitAngle - 546); break;
    case 113:
    case 152: replay_Nop(); break;
    case 139:
      r.bControlsHidden = 0;
      if (pusr && pusr->pip) input_PortBindingSet(kReplayBinding, pusr->pip);
      break;
    default:
      if (iEvent >= 140 && iEvent <= 151) camera_FreeMove(iEvent);
      break;
  }
}

void replay_Update() {
  ReplayState& r = replay_oState;
  r.uInputBits = 0;
  s_bLeft = 0;
  if (r.bLeaving) {
    if (camera_bIsFadeHolding()) {
      r.bLeaving = 0;
      replay_Leave();
      return;
    }
  } else {
    for (User& u : user_aUsers) {
      if (!u.bActive || !u.pip) continue;
      while (ListNode* pn = queue_RemoveHead(&u.pip->oEvents)) {
        InputEvent* pe = reinterpret_cast<InputEvent*>(pn);
        const std::int32_t iEvent = pe->eEvent;
        input_EventFree(&pe);
        replay_EventHandle(iEvent, &u);
        if (s_bLeft) break;
      }
      if (s_bLeft) return;
    }
  }
  if (r.bPlaying) {
    r.bStepToggle ^= 1;
    if (r.bStepToggle == 0 && r.iIndex != r.iEnd) r.iIndex = replay_Wrap(r.iIndex + 1);
  }
  replay_Draw();
  camera_Update();
  r.iPublished = r.iIndex;
  if (replay_poFrames) game_ReplayFrameApply(r.iIndex, r.iEnd);
}

void replay_BallPositionGet(std::int32_t* px, std::int32_t* ph, std::int32_t* py) {
  const ReplayBall& b = replay_poSideGet(replay_oState.iIndex)->oBall;
  *px = b.iX + replay_oState.aiBallOffset[0];
  *ph = b.iHeight + replay_oState.aiBallOffset[1];
  *py = b.iY + replay_oState.aiBallOffset[2];
}

void replay_Nop() {}

void replay_Mode1Enter() {
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip) continue;
    input_PortBindingSet(1, u.pip);
    input_EventQueueFlush(&u.pip->oEvents);
  }
  global_SetGameMode(GAME_MODE_INTRO);
}

std::int32_t replay_iDistanceGet() { return replay_oState.iDistance; }
std::int32_t replay_uOrbitAngleGet() { return replay_oState.uOrbitAngle; }
