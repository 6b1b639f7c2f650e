#pragma once
// User control in open play: every active user's queued input turned into
// passes, shots, chips, crosses, kicks ahead, touches, player switches,
// substitution requests and the pause menu. Kicks are charged while their
// button is held and launched on release or at the kind's maximum, with a
// power bar on screen while charging.
#include <cstdint>

struct Player;
struct User;

// The kinds of kick a user charges; one kind charges at a time in the match.
enum : std::int32_t {
  USRCTL_KIND_NONE = 0,
  USRCTL_KIND_PASS = 1,
  USRCTL_KIND_KICK_AHEAD = 2,
  USRCTL_KIND_CROSS = 3,  // a cross in the attacking zone, a long ball elsewhere
  USRCTL_KIND_CHIP = 4,
  USRCTL_KIND_SHOT = 5,
};

// Kick-input state of a user while later events go to the kick decision.
constexpr std::int32_t USRCTL_KICK_INPUT = 3;

// Maximum charges of the kinds (the first word of each power table).
constexpr std::int32_t USRCTL_MAX_PASS = 8;
constexpr std::int32_t USRCTL_MAX_CHIP = 15;
constexpr std::int32_t USRCTL_MAX_KICK_AHEAD = 13;
constexpr std::int32_t USRCTL_MAX_SHOT = 10;
constexpr std::int32_t USRCTL_MAX_LONG_BALL = 8;
constexpr std::int32_t USRCTL_MAX_CROSS = 9;
constexpr std::int32_t USRCTL_MAX_POINT_SHOT = 9;   // held shot at a target point
constexpr std::int32_t USRCTL_MAX_POINT_PASS = 10;  // held pass to a target point

// The control words of one user.
struct UsrctlUser {
  std::uint32_t uStickPrev;    // previous stick reading (degrees << 16 | magnitude)
  std::uint32_t uStickOnBall;  // the on-ball stick reading
  std::int32_t bSprint;
  std::int32_t iRequest;       // 1, 2, 3 from the defending buttons
  std::int32_t iKickInput;     // USRCTL_KICK_INPUT while a kick is being charged
  std::int32_t iPress;         // 2 after a kick press, 0 after Keeper Panic
  std::int32_t bIgnoreRelease;
  std::int32_t iKickDistance;
  std::int32_t iAim;           // 802 a turn
  std::int32_t iCurve;         // -20..20
  std::int32_t iAimStep;
  std::int32_t iPassCharge;    // 0..8
  std::int32_t iCharge;        // the other kinds' charge
  std::int32_t bCross;
};

// The kick state shared by all users.
struct UsrctlKick {
  std::int32_t eKind;          // USRCTL_KIND_*
  std::int32_t iShown;         // the charge the power bar shows; 0 no bar
  std::int32_t iMax;           // the charging kind's maximum charge
  Player* poLastReceiver;      // the last chosen pass receiver and his point
  std::int32_t iLastX;
  std::int32_t iLastY;
  std::int32_t iPassExtra;     // charge - 4 of the last long pass
};

// The user controls' state of one match, in one record.
struct UsrctlState {
  UsrctlKick oKick;
  UsrctlUser aUsers[4];
  // Simulation hold: a hold flag and a single-step release flag. Nothing in
  // the game sets them; a debugging session may.
  std::int32_t bHold;
  std::int32_t bStepRelease;
  // Pass-pending marks by player id (home 0..10, away 11..21).
  std::uint8_t abPassPending[22];
};
extern UsrctlState usrctl_oState;
extern UsrctlKick& usrctl_oKick;
extern UsrctlUser (&usrctl_aUsers)[4];
extern std::int32_t& usrctl_bHold;
extern std::int32_t& usrctl_bStepRelease;

UsrctlUser* usrctl_poWords(const User* pusr);
// All users' words, the shared kick state, the hold and the pass-pending
// marks cleared: the record as the program starts it.
struct MatchStateBlock;
MatchStateBlock usrctl_MatchState();
void usrctl_Reset();

void usrctl_StartPlay();
void usrctl_Update();
void usrctl_UserInput(User* pusr);
std::int32_t usrctl_KickDecide(User* pusr, std::int32_t eEvent);
void usrctl_PowerBarDraw();
void usrctl_KickLatchClear();
void usrctl_ChargeReset();
std::int32_t usrctl_bIsSprinting(const User* pusr);
std::int32_t usrctl_bSimulationHeld();
std::int32_t usrctl_PassExtraGet();
std::int32_t usrctl_bPassPendingGet(const Player* pp);
void usrctl_PassPendingSet(const Player* pp, std::int32_t bFlag);

// Aim operations.
void usrctl_AimFromStick(User* pusr);
std::int32_t usrctl_CurveOffsetGet(std::int32_t iCurve);
void usrctl_CurveAim(User* pusr);
void usrctl_ShotSideAim(User* pusr);
void usrctl_TargetPointAim(User* pusr);
void usrctl_CrossAim(User* pusr);
