#pragma once
// The four users: each is attached to one input port, chooses a side and in a
// match steers one player of it, shown by the user's marker on the pitch.
#include <cstdint>

struct InputPort;
struct Player;
struct UserMarker;

constexpr int32_t USER_MAX = 4;

// Control words of a user.
enum : int32_t {
  USER_WORD_REFEREE_STOP = 0,  // cleared when the referee stops play on the user's holder
  USER_WORD_HAS_BALL = 1,      // selects binding 5 instead of 4 while his player has the ball
  USER_WORD_2 = 2,
  USER_WORD_3 = 3,
};

// The stick's dead zones, by magnitude (0..128): one for moving a player,
// a wider one for aiming a kick.
// A player is steered from a magnitude of this or more; below it he stands
// (and the celebrating scorer takes no aim step).
constexpr int32_t USER_STICK_STEER_MIN = 26;
// A stick at this magnitude or less aims no kick.
constexpr int32_t USER_STICK_AIM_DEAD = 30;
// A steered player walks (runs with Sprint) from a magnitude of this or more;
// from USER_STICK_STEER_MIN up to it he only steps round (ANIM_TURN).
constexpr int32_t USER_STICK_WALK_MIN = 71;
// In the goal celebration a user's player steps toward the stick from a
// magnitude of this or more (below it the scorer stands still), and the
// scorer runs from the second.
constexpr int32_t USER_STICK_CELEBRATE_STEP_MIN = 21;
constexpr int32_t USER_STICK_CELEBRATE_RUN_MIN = 50;
// While a user steers his player, the stick held away from his kick's aim
// bends the kick only from a magnitude of this or more.
constexpr int32_t USER_STICK_CURVE_STEERED_MIN = 31;
// A user's pass looks for its receiver along the stick from a magnitude of
// this or more; below it, along the way his player faces.
constexpr int32_t USER_STICK_PASS_AIM_MIN = 30;

struct User {
  int32_t iIndex;
  InputPort* pip;
  uint32_t uStickDirection;  // angle in degrees << 16 | magnitude 0..128
  int32_t bActive;
  UserMarker* phl;
  int32_t MyTeam;  // 0 none, 1 home, 2 away
  int32_t aiControlWords[4];
  int32_t bAttachPending;
};

extern User user_aUsers[USER_MAX];

// Player-choice mode bits.
enum : int32_t {
  USER_CHOOSE_ANY = 1 << 0,         // the current player may be chosen again; only players on the pitch
  USER_CHOOSE_NOT_TAKER = 1 << 1,   // skip the set-piece kick taker
  USER_CHOOSE_CYCLE = 1 << 2,       // cycle through the team around the ball
};

void game_UsersReset();
void game_UsersStart();
void user_Init();
void user_MatchReset();
void user_Update();
// Flushes the event queue of every active user's port.
void user_ActiveEventQueuesFlush();
void user_ControlWordClear(User* pusr);

void user_SelectPlayer(User* pusr);
void user_PlayerChoose(User* pusr, int32_t iMode);
void user_PlayerSet(User* pusr, Player* poPlayer);
void user_PlayerRelease(User* pusr);
void user_PlayerSteerFlagSet(User* pusr);
void user_PlayerSteerApply(User* pusr);
void user_PlayerSteerStop(User* pusr);
int32_t user_iGetPlayerHeading(User* pusr);
void user_PortBindingsUpdate();
void user_DirectionMap(User* pusr, int32_t iDirection, int32_t iMagnitude);
void user_ChoiceRangeSet(int32_t iMin, int32_t iMax);
void user_ChoiceRangeGet(int32_t* piMin, int32_t* piMax, int32_t* piCursor);
void user_LineFit(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t* piSlope, int32_t* piIntercept);

// The sector table of the player choice: {min distance, max distance, min
// angle, max angle (degrees)} seen from the ball.
constexpr int32_t USER_SECTOR_ROWS = 8;
constexpr int32_t USER_SECTOR_NONE = 99;
extern const int32_t user_aiSectorTable[USER_SECTOR_ROWS][4];
