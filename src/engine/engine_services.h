#pragma once
// What the players, animation and movement modules call in the rest of the
// match engine and in the match flow: possession and strikes, the chaser,
// the touch machine and the action pass, goalkeepers, the match record and
// its overlay, the referee and set pieces, the pause menu over a staging,
// user control.
#include <cstdint>

struct GoalieObject;
struct MatchTeam;
struct Player;

// ---- Match record: sides, chains and club states ---------------------------------
MatchTeam* match_HomeTeamGet();
MatchTeam* match_AwayTeamGet();
Player* match_HomeFirstPlayerGet();
Player* match_AwayFirstPlayerGet();
Player* match_NextPlayerGet(Player* pp);       // over both sides, home first
Player* match_TeamNextPlayerGet(Player* pp);   // within his side
Player* match_StateTeamFirstPlayerGet();       // side in possession
Player* match_OtherTeamFirstPlayerGet();       // defending side
std::int32_t match_HomeClubStateGet();
std::int32_t match_AwayClubStateGet();
void match_HomeClubStateSet(std::int32_t iState);
void match_AwayClubStateSet(std::int32_t iState);
std::int32_t match_HomeKickOffFlagGet();
std::int32_t match_AwayKickOffFlagGet();
void match_ScoreClockDraw();
// The player the goal celebration follows: the scorer (after an own goal his
// nearest opponent), or the defending keeper while a shoot-out kick waits.
Player* match_poScorerGet();
std::int32_t clock_MinuteGet();

// ---- Possession, flight and strikes -------------------------------------------------
void newballA_OwnerSet(Player* pp, std::int32_t bForce);
std::int32_t ball_PathValidMarkGet();
void ball_SpinAxisFromHolderSet(Player* poHolder);  // the dribble spin axis
void target_DoTapHeader(Player* pp);
void target_DoDeflect(Player* pp, std::int32_t iAngle);
void target_DoNudge(Player* pp);

// ---- Chaser --------------------------------------------------------------------------
void chaser_ReactionDelaysSet();
void chaser_ReactionDelaysShortSet();
void chaser_Choose();
Player* chaser_poGet(std::int32_t iSide);

// ---- Touch machine, support grid, actions ---------------------------------------------
void touch_StateInit(Player* pp);
void touch_StateForce(Player* pp, std::int32_t n);
void touch_ContactClear();
void grid_SupportStateInit(Player* pp);
void closedown_PlayerChoose();
void action_FramePass(std::int32_t eGameMode);
void action_RecordClear(Player* pp);

// ---- Goalkeepers and roles ---------------------------------------------------------------
GoalieObject* newgoalo_Alloc(std::int32_t iSide);
std::int32_t newgoalo_MoveFlagGet(const GoalieObject* pgo);
void newgoalo_MoveFlagSet(GoalieObject* pgo, std::int32_t bFlag);
void roles_RoleSet(Player* pp, std::int32_t iCode, std::int32_t iFlip);
// First row of a {min distance, max distance, min angle, max angle} sector
// table holding (x1, y1) as seen from (x0, y0) against a 16-bit heading;
// iCount when none.
std::int32_t roles_SectorFind(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                              std::int32_t iHeading, const std::int32_t (*paiTable)[4], std::int32_t iCount);

// ---- Referee and set pieces -----------------------------------------------------------------
void referee_Update(std::int32_t iEvent, std::int32_t x, std::int32_t y);
std::int32_t referee_ChallengeJudge(Player* poChallenger, Player* poHolder);
std::int32_t referee_ChallengeJudgeShot(Player* poTackler, Player* poVictim, std::int32_t* piSeverity);
void referee_CardDecide(Player* poOffender, Player* poVictim, std::int32_t iSeverity);
void referee_FoulLatchClear();
void referee_FouledSet(Player* poVictim);
Player* referee_poOffenderGet();
Player* referee_poFouledGet();
std::int32_t referee_bSecondBookingGet();
void referee_SecondBookingClear();
std::int32_t referee_bCardFlagGet();
Player* setp_poGetKickTaker();
void setp_CommandSet(std::int32_t iCommand);
void setp_RecordInit(Player* pp);
std::int32_t setp_AngleGet();  // the set-piece aim, 802 a turn
void spscript_Run();
// A set piece's staging: its users' input for the tick; true when Start
// brought the pause menu up and the tick has drawn the match as it stands.
bool pausemenu_StagingInput();

// ---- User control ------------------------------------------------------------------------------
void usrctl_PowerBarDraw();
