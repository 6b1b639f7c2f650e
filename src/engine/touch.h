#pragma once
// The touch machine: what a computer player does when the ball comes to him.
// Every player has a touch state (1..7) stepped by the touch action; each
// side has at most one contact player, the one whose kick the side's next
// touch answers, and a contact kind saying what that touch is: lay the ball
// back to him, play it on first time, or with the first touch cross, shoot
// or run with it by the part of the pitch. The machine picks the point of
// the ball's path to meet, the kick clip and the point to stand on, glides
// the player there so the clip meets the ball, and leaves the kick to the
// strike callback.
#include <cstdint>

#include "engine/action_list.h"

struct Player;

enum : std::int32_t {
  TOUCH_STATE_MAIN = 1,     // decide
  TOUCH_STATE_WAIT = 2,     // wait for the clip to end or the player to stand
  TOUCH_STATE_TURN = 3,     // turn with the ball
  TOUCH_STATE_TRAP = 4,     // the kick clip meets the ball
  TOUCH_STATE_DELAY = 5,    // count the timer down
  TOUCH_STATE_RECEIVE = 6,  // glide to the approach point
  TOUCH_STATE_ANIM = 7,     // wait for the clip to end
};

// Contact kinds of a side.
enum : std::int32_t {
  TOUCH_KIND_LAY_BACK = 1,     // back to the contact player
  TOUCH_KIND_PASS_ON = 2,      // first-time pass toward the goal attacked
  TOUCH_KIND_PASS_ON_ALT = 3,
  TOUCH_KIND_FIRST_TOUCH = 4,  // cross, shot or run by the pitch zone
  TOUCH_KIND_HEADER = 5,       // the set-piece header of role 8
  TOUCH_KIND_HOLD = 6,         // nobody answers
  TOUCH_KIND_NONE = 20,
};

// Per side (0 home, 1 away).
struct TouchTeam {
  Player* poContact;
  std::int32_t iKind;
  std::int32_t iSavedKind;
  std::int32_t iOffsetX;   // per tick, 1/128 units, within +-6144
  std::int32_t iOffsetY;
  std::int32_t iOffsetH;
  std::int32_t iHeading;   // 16-bit angle the touch is played facing
  std::int32_t iTurn;      // 16-bit turn a tick
};
extern TouchTeam touch_aTeams[2];

constexpr std::int32_t TOUCH_OFFSET_LIMIT = 6144;
constexpr std::int32_t TOUCH_REACH2 = 20736;     // 144 squared: the ball is within reach
constexpr std::int32_t TOUCH_APPROACH2 = 82944;  // 288 squared: near the approach point

// The touch action: one step of every listed player's state.
ActionNode* touch_Handler(ActionNode* poList);
// Match start and restarts: everybody to state 1, both sides without contact.
void touch_Init();
std::int32_t touch_SideIndex(const Player* pp);

void touch_ContactSet(Player* pp, Player* poMark, std::int32_t iKind);
void touch_ContactClear();
void touch_ContactMark(Player* pp);
std::int32_t touch_ContactGet(const Player* pp);
// The side's contact kind as the machine reads it for this player: none when
// the side's contact player is its goalkeeper and not he.
std::int32_t touch_KindFor(const Player* pp);

void touch_StateForce(Player* pp, std::int32_t n);
void touch_StateSet(Player* pp, std::int32_t iState);
std::int32_t touch_StateGet(const Player* pp);
void touch_StateInit(Player* pp);
void touch_PairSet(Player* pp, std::int32_t a, std::int32_t b);
void touch_PairClear(std::int32_t* piWords);
void touch_Nothing();

// Pitch zone of a player: 0 deep in his own half, 1 wide in the attacked
// third, 2 central near the attacked goal, 3 elsewhere.
std::int32_t touch_PitchZoneGet(const Player* pp);
// A loose ball within 144: taken, knocked on, played on at speed, or (true)
// the trap clip for the height class in *peAnim.
std::int32_t touch_BallReach(Player* pp, std::int32_t iHeightClass, std::uint32_t* peAnim);
// Ticks from the start of a kick clip to its contact frame.
std::int32_t touch_KickTicks(std::uint32_t eAnim);

// The states' steps; each returns the next state.
std::int32_t touch_MainUpdate(Player* pp);
std::int32_t touch_WaitUpdate(Player* pp);
std::int32_t touch_TurnUpdate(Player* pp);
std::int32_t touch_TrapUpdate(Player* pp);
std::int32_t touch_DelayUpdate(Player* pp);
std::int32_t touch_ReceiveUpdate(Player* pp);
std::int32_t touch_AnimWaitUpdate(Player* pp);
