// The set-piece script mode: the machine's host over the match (players,
// referee, ball, camera, captions, clock, crowd, sound, replay, fade,
// substitutions), the six start operations, the card sequence and the
// per-tick update of game mode 82.
#include "engine/spscript.h"

#include <cstdio>

#include "audio/audio_services.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/spscript_core.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "matchflow/matchstate.h"
#include "matchflow/camera.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/injuryg.h"
#include "matchflow/replay.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "shell/input.h"
#include "shell/user.h"

// What the scripts call in the substitutions and the restart set-ups.
Player* subs_PendingPlayerGet();
Player* subs_SparePlayerGet();
std::int32_t subs_bIsPending();
void subs_Apply(Player* poSpare, Player* poPending);
void mthrowin_Start();
void corner_Setup();
void freekick_Setup();
void penalty_Start();
void mpenso_Start();

namespace {

Player* FromHandle(std::int32_t h) {
  if (h >= 1 && h <= PLAYER_TEAM_SIZE) return &player_aHome[h - 1];
  if (h > PLAYER_TEAM_SIZE && h <= 2 * PLAYER_TEAM_SIZE) return &player_aAway[h - 1 - PLAYER_TEAM_SIZE];
  if (h == SPSCRIPT_HANDLE_REFEREE) return &player_oReferee;
  if (h == SPSCRIPT_HANDLE_SPARE) return subs_SparePlayerGet();
  return nullptr;
}

std::int32_t ToHandle(const Player* pp) {
  if (!pp) return 0;
  if (pp >= player_aHome && pp < player_aHome + PLAYER_TEAM_SIZE)
    return static_cast<std::int32_t>(pp - player_aHome) + 1;
  if (pp >= player_aAway && pp < player_aAway + PLAYER_TEAM_SIZE)
    return static_cast<std::int32_t>(pp - player_aAway) + 1 + PLAYER_TEAM_SIZE;
  if (pp == &player_oReferee) return SPSCRIPT_HANDLE_REFEREE;
  if (pp == subs_SparePlayerGet()) return SPSCRIPT_HANDLE_SPARE;
  return 0;
}

void MoveStateSet(Player* pp, std::int32_t iState) {
  if (pp) PlayerO_MoveStateSet(pp, iState);
}

// The player's card state in this match (1 booked, 2 sent off); the
// database's card record is the referee's.
void CardStateSet(Player* pp, std::int32_t iState) {
  if (pp) pp->iCardState = iState;
}

// Camera aimed along an angle: pop, the set-piece camera tracking the
// taker's way, the aim stored.
void AimCamera(std::int32_t iAim) {
  camera_Pop();
  camera_Push(13);
  if (Player* poTaker = setp_poGetKickTaker()) camera_TrackModeSet(poTaker->Direction);
  setp_AimAngleSet(iAim);
  camera_AngleSet(iAim);
}

std::int32_t Clamp9360(std::int32_t v) { return v < -9360 ? -9360 : v > 9360 ? 9360 : v; }

class MatchHost final : public SpScriptHost {
 public:
  std::int32_t RestartX() override { return referee_RestartXGet(); }
  std::int32_t RestartY() override { return referee_RestartYGet(); }
  std::int32_t RefereeAction() override { return refact_ActionGet(); }
  std::int32_t Fetch(std::int32_t op) override {
    switch (op) {
      case 15: return ToHandle(referee_poOffenderGet());
      case 16: return ToHandle(referee_poFouledGet());
      case 17: return SPSCRIPT_HANDLE_REFEREE;
      case 18: return ToHandle(setp_poGetKickTaker());
      case 38: return ToHandle(subs_PendingPlayerGet());
      case 39: return subs_SparePlayerGet() ? SPSCRIPT_HANDLE_SPARE : 0;
      default: return 0;
    }
  }
  std::int32_t Direction(std::int32_t h) override {
    const Player* pp = FromHandle(h);
    return pp ? pp->Direction : 0;
  }
  bool AnimFinished(std::int32_t h) override {
    const Player* pp = FromHandle(h);
    return !pp || anim_IsEnded(&pp->oAnimData);
  }
  std::int32_t AnimFrame(std::int32_t h) override {
    const Player* pp = FromHandle(h);
    return pp ? anim_FrameGet(&pp->oAnimData) : 0;
  }
  bool NearTarget(std::int32_t h) override {
    const Player* pp = FromHandle(h);
    if (!pp) return true;
    const std::int64_t dx = pp->oAnimInfo.iTargetX - pp->x, dy = pp->oAnimInfo.iTargetY - pp->y;
    // A walker the movement has stopped at his mark (it stops a run up to 96
    // short) has arrived too: he would never come nearer.
    return dx * dx + dy * dy < 5184 || (pp->iSpeed == 0 && dx * dx + dy * dy <= 144 * 144);
  }
  std::int32_t Random(std::int32_t lo, std::int32_t hi) override { return QMathRandBetween(lo, hi); }
  void Effect(std::int32_t op, const std::int32_t* a, bool bPenalty, bool bThrowIn) override;
  void Finished() override { PlayerO_MoveStateSet(&player_oReferee, 0); }
  void Log(const char* text) override {
    if (std::FILE* pf = std::fopen("kflog.txt", "w")) {
      std::fputs(text, pf);
      std::fclose(pf);
    }
  }
};

void CardSequence(bool bPenalty) {
  Player* poOffender = referee_poOffenderGet();
  const std::int32_t iAction = refact_ActionGet();
  auto otherCrowd = [poOffender]() {
    if (poOffender && poOffender->MyTeam == 1) {
      crowd_ReactAwayTeam();
    } else {
      crowd_ReactHomeTeam();
    }
  };
  switch (iAction) {
    case 4:
      clock_PeriodEndAdd(static_cast<std::int32_t>(QMathRandRange(10)) + 5);
      if (bPenalty) {
        crowd_ReactHomeTeam();
        caption_Request(CAPTION_FOUL_PENALTY, reinterpret_cast<std::intptr_t>(poOffender));
        pchat_RefereeSay(5, 0);
      } else {
        caption_Request(CAPTION_OFFSIDE_FOUL, reinterpret_cast<std::intptr_t>(poOffender));
        pchat_RefereeSay(3, 0);
      }
      break;
    case 2: {
      CardStateSet(poOffender, 1);
      clock_PeriodEndAdd(static_cast<std::int32_t>(QMathRandRange(30)) + 10);
      caption_Request(CAPTION_BOOKED, reinterpret_cast<std::intptr_t>(poOffender));
      static const std::int32_t kPhrases[4] = {-1, 7, 8, 9};
      const std::int32_t p = kPhrases[QMathRandRange(3)];
      if (p >= 0) pchat_RefereeSay(p, 0);
      otherCrowd();
      break;
    }
    case 3: {
      CardStateSet(poOffender, 2);
      injuryg_InjuredPlayerSet(poOffender);
      match_SentOffSet(poOffender);
      clock_PeriodEndAdd(static_cast<std::int32_t>(QMathRandRange(30)) + 20);
      caption_Request(CAPTION_SENT_OFF, reinterpret_cast<std::intptr_t>(poOffender));
      static const std::int32_t kPhrases[4] = {-1, 10, 11, 12};
      const std::int32_t p = kPhrases[QMathRandRange(3)];
      if (p >= 0) pchat_RefereeSay(p, 1);
      otherCrowd();
      break;
    }
    default: {
      Player* poPending = subs_PendingPlayerGet();
      Player* poSpare = subs_SparePlayerGet();
      if (subs_bIsPending() && poSpare && poPending) {
        caption_SubstitutionSet(poSpare->pDBPlayer, poPending->pDBPlayer);
        caption_Request(CAPTION_SUBSTITUTION, 0);
      }
      break;
    }
  }
}

void MatchHost::Effect(std::int32_t op, const std::int32_t* a, bool bPenalty, bool bThrowIn) {
  switch (op) {
    case 1:
      PlayerO_SpeedSet(&player_oReferee, 0);
      PlayerO_MoveToSet(&player_oReferee, player_oReferee.x, player_oReferee.y, ANIM_STAND);
      MoveStateSet(&player_oReferee, MOVE_STATE_SCRIPT);
      MoveStateSet(referee_poOffenderGet(), MOVE_STATE_SCRIPT);
      MoveStateSet(referee_poFouledGet(), MOVE_STATE_SCRIPT);
      MoveStateSet(setp_poGetKickTaker(), MOVE_STATE_SCRIPT);
      return;
    case 3:
      refact_ActionSet(bPenalty ? 5 : 1);
      global_GameModePopRequest();
      MoveStateSet(referee_poOffenderGet(), 0);
      MoveStateSet(referee_poFouledGet(), 0);
      MoveStateSet(&player_oReferee, 0);
      MoveStateSet(setp_poGetKickTaker(), 0);
      caption_Clear();
      return;
    case 4:
      camera_aiThrowView[0] = a[0];
      camera_aiThrowView[1] = a[1];
      camera_aiThrowView[2] = a[2];
      return;
    case 5:
      camera_aiThrowView[3] = a[0];
      camera_aiThrowView[4] = a[1];
      camera_aiThrowView[5] = a[2];
      camera_Push(CAMERA_THR);
      return;
    case 13: {
      Player* pp = FromHandle(a[0]);
      if (!pp) return;
      PlayerO_XSet(pp, a[1]);
      pp->height = 0;
      PlayerO_YSet(pp, a[2]);
      return;
    }
    case 14: {
      Player* pp = FromHandle(a[0]);
      if (!pp) return;
      if (pp->Control == PLAYER_CONTROL_USER)
        if (User* pu = player_UserGet(pp)) user_SelectPlayer(pu);
      PlayerO_MoveToSet(pp, a[1], a[2], static_cast<std::uint32_t>(a[3]));
      PlayerO_MoveStateSet(pp, 0);
      return;
    }
    case 19: {
      Player* pp = FromHandle(a[0]);
      if (!pp) return;
      std::uint32_t eAnim = static_cast<std::uint32_t>(a[1]);
      const bool bKeep = eAnim == 100 && (pp == setp_poGetKickTaker() || pp->oAnimData.eActionAnim == 35);
      if (!bKeep) {
        anim_RequestSet(&pp->oAnimInfo, eAnim);
        anim_ActionAnimSet(&pp->oAnimData, eAnim);
      }
      PlayerO_MoveStateSet(pp, MOVE_STATE_SCRIPT);
      pp->oAnimData.uFlags &= static_cast<std::uint8_t>(~ANIM_FLAG_ENDED);
      return;
    }
    case 20:
      newballA_OwnerSet(FromHandle(a[0]), 1);
      return;
    case 21: {
      Player* pp = FromHandle(a[0]);
      if (pp) player_FaceTowards(pp, a[1], a[2]);
      return;
    }
    case 24: {
      Player* poTaker = setp_poGetKickTaker();
      if (!poTaker) return;
      const std::int32_t gx = poTaker->Direction == 1 ? 9360 : -9360;
      AimCamera(setp_Wrap802(imath_Atan2(-poTaker->y, gx - poTaker->x)));
      return;
    }
    case 25: {
      camera_Pop();
      camera_Update();
      if (CameraView* pv = camera_poViewGet()) {
        pv->aiEye[0] = Clamp9360(pv->aiEye[0]);
        pv->aiTarget[0] = Clamp9360(pv->aiTarget[0]);
      }
      camera_Update();
      camera_Update();
      if (!bThrowIn) camera_TargetSourceSet(0, nullptr);
      return;
    }
    case 30:
      ball_PositionSet(&ball_oBall, a[0], 0, a[1]);
      return;
    case 41:
      subs_Apply(subs_SparePlayerGet(), subs_PendingPlayerGet());
      return;
    case 42: {
      const std::int32_t rx = referee_RestartXGet(), ry = referee_RestartYGet();
      const std::int32_t sx = rx > 0 ? 7632 : -7632;
      AimCamera(setp_Wrap802(imath_Atan2(0 - ry, sx - rx)));
      return;
    }
    case 43:
      CardSequence(bPenalty);
      return;
    case 44:
      camera_Pop();
      camera_Push(11);
      return;
    case 46:
      sfx_Play(QMathRandRange(3) < 3 ? 19 : 18);
      return;
    case 47:
      replay_ClearRecording();
      return;
    case 48:
      camera_FadeStart();
      replay_ClearRecording();
      return;
    case 50:
      camera_FadeRelease();
      return;
    default:
      return;
  }
}

MatchHost s_oHost;
constexpr SpScriptMachine kMachineFresh{spscript_List, &s_oHost};
SpScriptMachine s_oMachine = kMachineFresh;

void Start(std::int32_t iScript, void (*pfnSetup)()) {
  spscript_Reset();
  if (pfnSetup) pfnSetup();
  s_oMachine.Call(iScript);
}

}  // namespace

// The machine the mode runs (tests read its state).
const SpScriptMachine* spscript_poMachineGet() { return &s_oMachine; }

MatchStateBlock spscript_MatchState() { return {"spscript", &s_oMachine, sizeof s_oMachine}; }
void spscript_MatchReset() {
  matchstate_Restore(s_oMachine, kMachineFresh);
  spscript_Reset();
}

void spscript_Reset() {
  for (User& u : user_aUsers)
    if (u.bActive && u.pip) input_PortBindingSet(30, u.pip);
  s_oMachine.Reset();
  s_oMachine.HolderSet(0);
  referee_FoulLatchClear();
}

void spscript_StartThrowIn() {
  Player* poHolder = ball_OwnerGet();
  if (poHolder) newballA_OwnerSet(nullptr, 1);
  spscript_Reset();
  s_oMachine.HolderSet(ToHandle(poHolder));
  mthrowin_Start();
  s_oMachine.Call(1);
}
void spscript_StartCorner() { Start(4, corner_Setup); }
void spscript_StartFreeKick() { Start(11, freekick_Setup); }
void spscript_StartSubstitution() {
  // A player going off who still holds the ball (he carried it over the line)
  // leaves it where he stands: carrying it he would walk with the ball clip,
  // which stops short of his mark, and the script would wait for him for ever.
  if (Player* poOff = subs_PendingPlayerGet(); poOff && ball_OwnerGet() == poOff) newballA_OwnerSet(nullptr, 1);
  Start(21, nullptr);
}
void spscript_StartPenalty() { Start(22, penalty_Start); }
void spscript_StartShootoutKick() {
  // The kick is taken from the spot at +x whatever the last restart was.
  referee_RestartPointSet(7632, 0);
  Start(22, mpenso_Start);
}

void spscript_UpdateScript() {
  if (s_oMachine.Script()) s_oMachine.Update();
}

void spscript_Update() {
  // With the pause menu coming up the staging stands where it is: its script,
  // its camera and the match step on from this same tick after the resume,
  // and the tick only draws the match as it stands, as the paused ticks do.
  if (pausemenu_StagingInput()) return;
  spscript_UpdateScript();
  game_MatchFrame();
}

// The script actors' steps (the movement's script state runs one when a
// gesture ends; one may end while no script runs). Counted for tests.
static std::int32_t s_cActorSteps;
static void (*s_pfnStepObserver)();
std::int32_t spscript_ActorStepsGet() { return s_cActorSteps; }
// A test's observer, told just before each actor step.
void spscript_StepObserverSet(void (*pfn)()) { s_pfnStepObserver = pfn; }
void spscript_Run() {
  if (!s_oMachine.Script()) return;
  s_cActorSteps++;
  if (s_pfnStepObserver) s_pfnStepObserver();
  s_oMachine.Run();
}
void spscript_Call(std::int32_t id) { s_oMachine.Call(id); }
void spscript_Return() { s_oMachine.Return(); }
const std::int32_t* spscript_poGetScript() { return s_oMachine.Script(); }
