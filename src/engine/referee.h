#pragma once
// The referee's judgement: every stoppage (ball over a touch line or a goal
// line, a foul, the goalkeeper holding the ball, an offside) comes in through
// referee_Update, becomes a decision with a restart point and a taking side,
// and pushes the game modes of the restart. Fouls in challenges and tackles,
// cards by the "Referee" option and the offside test live here too; the
// referee's figure on the pitch is refact.h.
#include <cstdint>

struct Ball;
struct Player;

// Stoppage kinds handed to referee_Update.
enum : std::int32_t {
  REFEREE_EVENT_TOUCH = 0,
  REFEREE_EVENT_GOAL_LINE_LEFT = 1,   // over the goal line at -x
  REFEREE_EVENT_GOAL_LINE_RIGHT = 2,  // over the goal line at +x
  REFEREE_EVENT_FOUL = 4,
  REFEREE_EVENT_KEEPER_HOLDS = 9,
  REFEREE_EVENT_OFFSIDE = 11,
};

// Decisions.
enum : std::int32_t {
  REFEREE_DECISION_THROW_IN = 0,
  REFEREE_DECISION_FREE_KICK = 4,
  REFEREE_DECISION_PENALTY = 5,
  REFEREE_DECISION_GOAL = 6,
  REFEREE_DECISION_CORNER = 7,
  REFEREE_DECISION_GOAL_KICK = 8,
  REFEREE_DECISION_KEEPER_HANDS = 9,
  REFEREE_DECISION_OFFSIDE = 11,
};

// The single entry for stoppages; x and y are where it happened.
void referee_Update(std::int32_t iEvent, std::int32_t x, std::int32_t y);
// Pushes the restart modes of the current decision.
void referee_RestartDecide();
// The offside test of a newly predicted flight (open play only).
void referee_OffsideCheck(Ball* poBall);
void referee_OffsideIgnoreNext();

// Foul tests: 1 when a foul was called.
std::int32_t referee_ChallengeJudge(Player* poChallenger, Player* poHolder);
std::int32_t referee_ChallengeJudgeShot(Player* poTackler, Player* poVictim, std::int32_t* piSeverity);
// The tackle's score before the strictness draw: angle, distance to the ball
// and the tackler's tackling byte.
std::int32_t referee_TackleScore(const Player* poTackler, const Player* poVictim);
void referee_CardDecide(Player* poOffender, Player* poVictim, std::int32_t iSeverity);
std::int32_t referee_KnockedOut(const Player* pp);
// 20, 50 or 80 for Lenient, Normal, Harsh (50 for any other option value).
std::int32_t referee_StrictnessGet();
std::int32_t referee_StrictnessFor(std::int32_t iOption);
// The card a foul of the given severity earns under a "Referee" option: 0
// none, 1 a booking, 2 a sending-off (a second booking included).
std::int32_t referee_CardChoose(std::int32_t iSeverity, std::int32_t iOption, std::int32_t iCardState,
                                std::int32_t bNoSendOffs);

// Judgement state.
void referee_DecisionClear();
std::int32_t referee_DecisionGet();
void referee_DecisionLock();
void referee_DecisionUnlock();
std::int32_t referee_bDecisionLocked();
void referee_FoulLatchClear();
std::int32_t referee_bFoulLatchGet();
void referee_OffSet(std::int32_t bOff);  // while set referee_Update does nothing
void referee_GoldenGoalSet(std::int32_t bFlag);
std::int32_t referee_GoldenGoalGet();
void referee_MatchOverSet(std::int32_t bFlag);
std::int32_t referee_MatchOverGet();
void referee_NoSendOffsSet();
void referee_NoSendOffsClear();
// A new match: the judgement state and the restart record of the last one
// cleared, and nobody marked as booked, sent off or to be taken off.
struct MatchStateBlock;
MatchStateBlock referee_MatchState();
void referee_MatchStart();

// Restart record.
std::int32_t referee_RestartXGet();
std::int32_t referee_RestartYGet();
void referee_RestartPointSet(std::int32_t x, std::int32_t y);
Player* referee_poTestPlayerGet();
Player* referee_poOffenderGet();
Player* referee_poFouledGet();
void referee_FouledSet(Player* poVictim);
void referee_OffenderSet(Player* pp);
void referee_FouledPlayerSet(Player* pp);
// The club state each side gets after the restart (0 takes it, 1 defends).
std::int32_t referee_HomeClubStateGet();
std::int32_t referee_AwayClubStateGet();
// The club states the next restart hands to the match record (0 takes it).
void referee_RestartClubStatesSet(std::int32_t iHomeClub, std::int32_t iAwayClub);
Player* referee_poInjuredGet();
std::int32_t referee_ScoringSideGet();  // 1 home, 2 away
// The standing pause's countdown: set, and its per-frame task (1 to stay).
void referee_RestartDelaySet(std::int32_t iTicks);
std::int32_t referee_RestartDelayGet();
std::int32_t referee_RestartDelayTick();

// The card drawn in the referee's hand.
std::int32_t referee_bSecondBookingGet();
void referee_SecondBookingClear();
std::int32_t referee_bCardFlagGet();

// The free-kick point of a stoppage at (x, y): inside the pitch and out of
// the goal area.
void referee_FreeKickPointGet(std::int32_t x, std::int32_t y, std::int32_t* px, std::int32_t* py);
// The fouled player stands in the penalty area of the end his team attacks.
std::int32_t referee_bInPenaltyArea(const Player* pp);

// The last call of referee_Update, kept for tests and headless runs.
struct RefereeCallRecord {
  std::int32_t cCalls;
  std::int32_t iEvent;
  std::int32_t x;
  std::int32_t y;
};
extern RefereeCallRecord referee_oLastCall;
