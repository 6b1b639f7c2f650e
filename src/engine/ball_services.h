#pragma once
// What the ball, possession, kick, chaser and strike modules call in the
// rest of the match engine and in the match flow: the referee and set
// pieces, the touch machine and closing-down, the goalkeepers, passing and
// shot choice, user control and the shoot-out record.
#include <cstdint>

struct Ball;
struct Player;
struct User;

// Referee: a stoppage (0 touch line, 1 goal line at -x, 2 goal line at +x)
// and the offside test of a new flight; the next test can be skipped.
void referee_Update(std::int32_t iEvent, std::int32_t x, std::int32_t y);
void referee_OffsideCheck(Ball* poBall);
void referee_OffsideIgnoreNext();

// Touch machine and closing-down.
void touch_ContactClear();
void touch_PairSet(Player* pp, std::int32_t a, std::int32_t b);
void touch_StateForce(Player* pp, std::int32_t n);
void closedown_DelaySet(std::int32_t iTicks);

// The shoot-out kick record.
void mpenso_RecordKick(std::int32_t bScored);

// User control: the held-kick latch and the kick-power charge counter.
void usrctl_KickLatchClear();
void usrctl_ChargeReset();
// The user's sprint button is held.
std::int32_t usrctl_bIsSprinting(const User* pusr);

// Goalkeepers: the shot counter a strike arms, the keeper's follow-up of a
// loose ball, his state, save row and side, catch flag and reaction delay.
void newgoal_KeeperCountSet();
void newgoal_FollowUp(Player* poKeeper);
std::int32_t newgoal_StateGet(const Player* poKeeper);
std::int32_t newgoal_SaveRowGet(const Player* poKeeper);
std::int32_t newgoal_SaveSideGet(const Player* poKeeper);
std::int32_t newgoal_CatchFlagGet(const Player* poKeeper);
void newgoal_ReactionDelaySet(Player* poKeeper, std::int32_t iTicks);

// Passing and shot choice.
void pass_LeadPointGet(Player* poPasser, Player* poReceiver, std::int32_t* px, std::int32_t* py,
                       std::int32_t iSkill);
// The record of the pass being launched (aiopt.h): mode 0 the receiver's
// position, 1 its point, 2 a lead along his heading.
std::int32_t pass_RecordModeGet();
void pass_RecordPointGet(std::int32_t* px, std::int32_t* py);
void shot_SpreadGet(Player* poStriker, std::int32_t* px, std::int32_t* ph, std::int32_t* py);

// Set pieces: the aim point, the partner of the kick-off and the taker's kick
// distance.
void setp_AimPointGet(std::int32_t* px, std::int32_t* py);
Player* setp_poPartnerGet();
std::int32_t setp_KickDistanceGet();

