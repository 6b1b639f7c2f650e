#pragma once
// Small steps the set-piece handlers share: standing, placing, walking to a
// mark with the arrival rule, facing, points along a heading, and what the
// set pieces call in modules that other parts of the match build.
#include <cstdint>

struct ActionNode;
struct GoalieObject;
struct Player;

// The player stops where he is and stands.
void setp_Stand(Player* pp);
// Put at (x, y) at once, standing.
void setp_PutAt(Player* pp, std::int32_t x, std::int32_t y);
// Faces a heading of 802 units a turn.
void setp_FaceHeading(Player* pp, std::int32_t iHeading);
// Starts a walk to (x, y): stores the target and the animation.
void setp_WalkStart(Player* pp, std::int32_t x, std::int32_t y, std::uint32_t eAnim);
// One tick of the walk to the stored target: 1 once arrived. A walker
// arrives within 72 units, or within 144 units when he got no nearer than
// on the tick before (his steps can be longer than the arrival range, so
// he could circle his mark for ever).
std::int32_t setp_WalkUpdate(Player* pp);
// (x, y) moved d units along a heading of 802 a turn.
void setp_PointAlong(std::int32_t x, std::int32_t y, std::int32_t iHeading, std::int32_t d, std::int32_t* px,
                     std::int32_t* py);
std::int32_t setp_Distance(std::int32_t dx, std::int32_t dy);
std::int32_t setp_Wrap802(std::int32_t a);
// The ball's position.
std::int32_t setp_BallX();
std::int32_t setp_BallY();
// Runs f(player) on every node of a candidate list and unlinks the nodes
// for which it returns true; returns the rest of the list.
ActionNode* setp_ListRun(ActionNode* poList, bool (*pfn)(Player*));
// The first active user of the player's side (none: null).
struct User;
User* setp_SideUserGet(const Player* pp);

// The next wall number (role 8).
std::int32_t setp_WallNumberNext();
void setp_UserAimSet(std::int32_t bFlag);

// ---- What the set pieces call elsewhere ------------------------------------------------------
// Touch machine: the side's contact player.
void touch_ContactSet(Player* pp, Player* poMark, std::int32_t iKind);
// Match flow: the kick-off mode's start and open play's start.
void kickoff_Start();
void usrctl_StartPlay();
// The player being sent off (a match-record word).
Player* match_poSentOffGet();
void match_SentOffSet(Player* pp);

// Kick start: requested and current animation eAnim with the strike
// callback, touch state forced, position state 4.
void setp_KickStart(Player* pp, std::uint32_t eAnim, void (*pfnStrike)(Player*));
// The taker placed behind the ball for the kick animation and put there.
void setp_TakerPlace(Player* pp);
// A user-controlled team-mate exists (the user aims).
bool setp_UserMateExists(const Player* pp);
// The nearest team-mate of pp (not pp), or null when he has none.
Player* setp_NearestMate(const Player* pp);
// The aim of a heading in 802 units from (x0, y0) toward (x1, y1).
std::int32_t setp_HeadingTo(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
// The wall point of a wall player (before the zone clamp).
void setp_WallPointGet(const Player* pp, std::int32_t* px, std::int32_t* py);
// The ball is in play for this player: inside the touch lines, and for a
// player whose kick has not reached its contact frame yet, not before it.
std::int32_t setp_BallInPlayState(Player* pp);
// With no taker chosen, the attacking side's player nearest the ball takes
// the kick (its goalkeeper for a goal kick or a keeper's ball): never nobody.
Player* setp_TakerEnsure(bool bKeeper);
// The kicker lets the ball go: he is recorded as its last kicker and the
// ball is free for the launch that follows.
void setp_BallRelease(Player* poKicker);
// The kicker lets the ball go and it flies (kind 4) toward (x, y) at iDeg
// degrees with the spin; its path is predicted.
void setp_AngleKick(Player* poKicker, std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin);
// He has played his part: the enter count drops and he waits in state 2.
void setp_Leave(Player* pp);
// The kind's mode ends: its pop requested, the command cleared, the set
// piece reset.
void setp_ModeEnd(Player* pp);
