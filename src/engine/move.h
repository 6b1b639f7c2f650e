#pragma once
// Movement: the 22 movement states a player is in, the seven move events
// that requests raise through the requested clip's per-tick hook, and the
// dispatchers of the playing clip that decide when a raised event runs.
#include <cstdint>

struct AnimData;
struct Player;

enum : std::int32_t {
  MOVE_STATE_RUN = 0,
  MOVE_STATE_STAND = 1,
  MOVE_STATE_ANIM_START = 2,
  MOVE_STATE_ANIM_START_TURN = 3,
  MOVE_STATE_ANIM_PLAY = 4,
  MOVE_STATE_ANIM_WAIT = 5,
  MOVE_STATE_TACKLE = 6,
  MOVE_STATE_BALL_TAKE = 7,
  MOVE_STATE_STOP = 8,
  MOVE_STATE_SLOW_DOWN = 9,
  MOVE_STATE_TURN_ABOUT = 10,
  MOVE_STATE_11 = 11,
  MOVE_STATE_ANIM_END = 12,
  MOVE_STATE_KEEPER_IDLE = 13,
  MOVE_STATE_ON_GROUND = 14,
  MOVE_STATE_SETPIECE_A = 15,
  MOVE_STATE_SETPIECE_B = 16,
  MOVE_STATE_CELEBRATE_14 = 17,
  MOVE_STATE_INVALID = 18,
  MOVE_STATE_RUN_ANIM = 19,
  MOVE_STATE_20 = 20,
  MOVE_STATE_SCRIPT = 21,
  MOVE_STATE_MAX = 22,
};

enum : std::int32_t {
  MOVE_EVENT_RUN = 1,
  MOVE_EVENT_PLAY = 2,
  MOVE_EVENT_TACKLE = 3,
  MOVE_EVENT_TAKE = 4,
  MOVE_EVENT_STOP = 5,
  MOVE_EVENT_CELEBRATE = 6,
  MOVE_EVENT_RUN_ANIM = 7,
};

using MoveStateFn = void (*)(Player*);
using MoveEventFn = void (*)(Player*, std::uint32_t eAnim);

extern const MoveStateFn move_apfnStates[MOVE_STATE_MAX];
extern const MoveEventFn move_apfnEvents[8];          // entry 0 empty
constexpr int MOVE_PRIORITY_ROWS = 46;
// The pace of a moving shoulder challenge or block tackle (8, 9) in the
// tackle state, units a tick.
constexpr std::int16_t MOVE_CHALLENGE_STEP_SPEED = 10;
extern const std::uint8_t move_aEventPriority[MOVE_PRIORITY_ROWS][6];  // {n, e1..e5}

// The shared state of the challenge under way.
struct MoveTackleState {
  std::int32_t bContact;     // the challenge has touched the ball
  std::int32_t bFoulLatch;   // a foul was called for it
  std::int32_t bFoulJudged;  // the foul judgement has run for it
  std::int32_t iSeverity;
  std::int32_t iSlideAim;    // 16-bit angle
};
extern MoveTackleState move_oTackle;

void move_FrameUpdate();
void move_EventRaise(Player* pp, std::int32_t iEvent);

// Per-tick hooks of the requested clip.
void move_HookPlay(Player* pp);
void move_HookTake(Player* pp);
void move_HookRun(Player* pp);
void move_HookTackle(Player* pp);
void move_HookCelebrate(Player* pp);
void move_HookRunAnim(Player* pp);
void move_HookStop(Player* pp);

// Event dispatchers of the playing clip.
void move_EventDispatch(Player* pp, std::uint32_t eRequested, AnimData* pad);
void move_EventDispatchNow(Player* pp, std::uint32_t eRequested, AnimData* pad);
void move_EventDispatchRun(Player* pp, std::uint32_t eRequested, AnimData* pad);
void move_EventDispatchCelebrate(Player* pp, std::uint32_t eRequested, AnimData* pad);
void move_EventDispatchFall(Player* pp, std::uint32_t eRequested, AnimData* pad);

// Event handlers.
void move_RunEvent(Player* pp, std::uint32_t eAnim);
void move_PlayEvent(Player* pp, std::uint32_t eAnim);
void move_TackleEvent(Player* pp, std::uint32_t eAnim);
void move_TakeEvent(Player* pp, std::uint32_t eAnim);
void move_StopEvent(Player* pp, std::uint32_t eAnim);
void move_CelebrateEvent(Player* pp, std::uint32_t eAnim);
void move_RunAnimEvent(Player* pp, std::uint32_t eAnim);

void move_StateFromAnim(Player* pp);
void move_Steer(Player* pp, std::int32_t iHeading, std::int32_t iAccel);
std::int32_t move_TurnStep(Player* pp);
Player* move_Collide(Player* pp);
std::uint32_t move_IdleAnimChoose(Player* pp);
void move_RunSpeedChoose(Player* pp, std::uint32_t* peAnim);
void move_RunCheck(Player* pp, std::uint32_t* peAnim);
void move_TurnToTarget(Player* pp, std::uint32_t* peAnim);

// Helpers shared by the state functions.
std::int32_t move_FacingWrap(std::int32_t iFacing);            // into 0..801
std::int32_t move_HeadingToDegrees(std::int32_t iHeading);     // x 180 / 401
std::int32_t move_DirectionTo(const Player* pp, std::int32_t x, std::int32_t y);  // heading 0..802
void move_Along(Player* pp, std::int32_t iHeading, std::int32_t iDist);
void move_RequestPlay(Player* pp, std::uint32_t eAnim);
void move_Play(Player* pp, std::uint32_t eAnim);
std::int32_t move_IsHolder(const Player* pp);
std::int32_t move_IsOpenPlay();
std::int32_t move_SimpleRules();
