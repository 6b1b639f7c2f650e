#pragma once
// The restart modes: corner (27), free kick (44), goal kick (26), keeper's
// ball in hand (80), throw-in (40), penalty (58), the goalkeeper's ball in
// open play (32), play on (86) and the standing pause (36). Each has an enter
// operation (run when the mode becomes current, or by the set-piece script's
// start for its restart), a per-tick operation that runs every active user's
// input step and one match frame, and that input step. The set-piece kinds
// take the kick on the command the input steps set and pop the mode.
#include <cstdint>

struct Player;
struct User;

// Flags and counters of the restart modes, all cleared by each mode's enter.
struct RestartState {
  std::int32_t bPressed;      // corner, free kick: the taker's user pressed a kick button
  std::int32_t bReleased;     // corner, free kick: he released it; aiming stops
  std::int32_t bLocked;       // goal kick, keeper's ball: a kick button was pressed
  std::int32_t iCharge;       // goal kick, keeper's hands: 0..20
  std::int32_t iHeld;         // goal kick, keeper's hands: held ticks
  std::int32_t iAim;          // keeper's ball: the aim, 802 a turn
  std::int32_t bKeeperPress;  // keeper's ball: a kick button was pressed in this mode
  // Keeper's hands: a Pass or Chip press his user made while the keeper took
  // the catch, carried into the keeper's ball that follows it.
  Player* poCatchKeeper;      // the keeper who took the catch (none: no press)
  std::int32_t eCatchKey;     // the press: 26 Pass, 29 Chip
  std::int32_t eCatchRelease; // its release: 28 Pass, 31 Chip; 0 while the key is held
  std::int32_t bCarried;      // keeper's hands: the carried press is held; the key's next press continues it
  std::int32_t eTurnWay;      // keeper's hands: the way the stick turned him last (0 none, 1 up, 2 down)
  std::int32_t iPlayOn;       // play on: ticks left
  std::int32_t bPlayOnStarted;
  std::int32_t bLeave;        // standing pause: the referee's countdown ran out
};
extern RestartState restart_oState;

// ---- Corner -----------------------------------------------------------------------------
void corner_Setup();
void corner_Run();
void corner_UserInput(User* pusr);
// The taker: the designated set-piece taker of the side in possession, else
// its outfield player nearest the ball.
Player* corner_TakerChoose();

// ---- Free kick --------------------------------------------------------------------------
void freekick_Setup();
void freekick_Run();
void freekick_UserInput(User* pusr);
// Kind of the free kick and the size of the wall from the fouled player's
// zone in the free-kick tree (70..75; any other zone, or none, kind 15).
std::int32_t freekick_KindOfZone(std::int32_t iZone);
std::int32_t freekick_WallSizeOfZone(std::int32_t iZone);
Player* freekick_TakerChoose();

// ---- Goal kick --------------------------------------------------------------------------
void mgoalkic_Start();
void mgoalkic_Update();
void mgoalkic_UserInput(User* pusr);

// ---- Keeper's ball in hand ---------------------------------------------------------------
void mhands_Start();
void mhands_Update();
void mhands_UserInput(User* pusr);
// A Pass or Chip event (26 to 31) of the user of a keeper who has the ball
// in his hands in open play (taking the catch): it charges the throw or kick
// of the keeper's ball that follows the catch, as at the keeper's ball.
void mhands_CatchPressEvent(User* pusr, std::int32_t eEvent);
// The ball has a new holder: a press made at the last one's catch is void.
void mhands_CatchPressClear();

// ---- Throw-in ----------------------------------------------------------------------------
void mthrowin_Start();
void mthrowin_Update();
void mthrowin_UserInput(User* pusr);
// Kind 0..7: the eighth of the pitch length, from the end the thrower defends.
std::int32_t mthrowin_KindGet(std::int32_t x, std::int32_t iDirection);
// The thrower of the side in possession by formation slot; never nobody
// while the side has an outfield player.
Player* mthrowin_ThrowerFind(std::int32_t y);

// ---- Penalty -----------------------------------------------------------------------------
void penalty_Start();
void penalty_Update();
void penalty_UserInput(User* pusr);

// ---- The goalkeeper's ball in open play ---------------------------------------------------
void keeperball_Enter();
void keeperball_Run();
void keeperball_UserInput(User* pusr);
void keeperball_KickAim(Player* poKeeper);
// One tick of the on-ball stick turning the aim of a keeper at x.
std::int32_t keeperball_AimTurn(std::int32_t iAim, std::int32_t iKeeperX, std::int32_t iStickDegrees);

// ---- Play on ----------------------------------------------------------------------------
void playon_Enter();
void playon_Enter2();
void playon_Update();
void playon_CountSet(std::int32_t iTicks);

// ---- Standing pause -------------------------------------------------------------------
void returnpos_Enter();
void returnpos_EnterFade();
void returnpos_EnterLong();
void returnpos_Update();
void returnpos_UserInput(User* pusr);
void returnpos_LeaveSet();

// Stick direction (degrees 0..359, from the reading's high word) to the
// aiming command of a corner, a free kick or a penalty: 5, 8, 4, 7, or 0.
std::int32_t restart_AimCommandOf(std::int32_t iStickDegrees);
