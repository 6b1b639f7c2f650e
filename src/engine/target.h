#pragma once
// Strikes: what happens to the ball at the kick frame of a kicking, heading,
// throwing or saving animation. The code that starts the animation fills the
// strike state and installs one of the callbacks below; the callback aims
// with an error drawn from the player's skills and launches the ball.
#include <cstdint>

struct Player;

struct TargetState {
  std::int32_t bActive;
  const void* pvStriker;  // the record that started the strike
  std::int32_t iX;
  std::int32_t iHeight;
  std::int32_t iY;
  std::int32_t iDistance;
  std::int32_t iAngle;    // 0..801
  std::int32_t iLimit;
  std::int32_t iPower;
  Player* poReceiver;
  std::int32_t iKind;     // shot placement 0..2
  std::int32_t iStartKind;
  std::int32_t iShotMode; // 0 ordinary shot, 1 chip
};

extern TargetState target_oState;

void target_Start(const void* pvStriker, std::int32_t iDirection, std::int32_t iStartKind);
void target_Clear();
// The whole strike state cleared (match set-up).
void target_MatchReset();
std::int32_t target_IsActive();
void target_XSet(std::int32_t x);
std::int32_t target_XGet();
void target_ZSet(std::int32_t h);
std::int32_t target_ZGet();
void target_YSet(std::int32_t y);
std::int32_t target_YGet();
void target_DistanceSet(std::int32_t d);
std::int32_t target_DistanceGet();
void target_AngleSet(std::int32_t a);
std::int32_t target_AngleGet();
void target_PowerSet(std::int32_t p);
std::int32_t target_PowerGet();
void target_ReceiverSet(Player* pp);
Player* target_poGetReceiver();
void target_KindSet(std::int32_t k);
std::int32_t target_KindGet();
void target_ShotModeSet(std::int32_t m);
std::int32_t target_ShotModeGet();

// Header reach (percent of the way to the target) and header elevation of a
// player, set when a kick animation is chosen for him.
void target_HeaderSet(const Player* pp, std::int32_t iReach, std::int32_t iDegrees);
std::int32_t target_HeaderReachGet(const Player* pp);
std::int32_t target_HeaderSpeedGet(const Player* pp);

// Strike callbacks.
void target_DoAngledKick(Player* pp);
void target_DoStoredKick(Player* pp);
void target_DoKeeperRelease(Player* pp);
void target_DoNudge(Player* pp);
void target_DoRandomNudge(Player* pp);
void target_DoGroundAtFeet(Player* pp);
void target_DoTapHeader(Player* pp);
void target_DoHeaderPass(Player* pp);
void target_DoHeaderToReceiver(Player* pp);
void target_DoVolley(Player* pp);
void target_DoLob(Player* pp);
void target_DoShotRandom(Player* pp);
void target_DoShotMedium(Player* pp);
void target_DoShotFull(Player* pp);
void target_DoChip70(Player* pp);
void target_DoShotByMode(Player* pp);
void target_StrikeExecute(Player* pp);
void target_DoGiveToPartner(Player* pp);
void target_DoKickToAimPoint(Player* pp);
void target_DoThrow(Player* pp);
void target_DoKeeperParry(Player* pp);
void target_DoDeflect(Player* pp, std::int32_t iAngle);
void target_DoShotAtPoint(Player* pp);
void target_DoPassToPoint(Player* pp);

void target_ShotExecute(Player* pp, std::int32_t iPercent);
void target_ChipExecute(Player* pp, std::int32_t iPercent);
// Goal-line aim x of a shot by a shooter of the given direction at (x, y).
std::int32_t target_ShotAimXGet(std::int32_t iDirection, std::int32_t x, std::int32_t y);
