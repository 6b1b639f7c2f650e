#pragma once
// The match record: the two sides of the match being played, the goals of
// each, the coin toss and the home-ground word, with the match's own copies
// of the two squads; and the services kept with it: the squad hand-over,
// taking a player off, the kick-off set-up, the nearest-player search and the
// score, clock and controlled-player overlay.
#include <cstddef>
#include <cstdint>

#include "engine/team.h"
#include "tournament/squad.h"

struct Player;

struct Match {
  MatchTeam HomeTeam;
  MatchTeam AwayTeam;
  std::int32_t HomeGround;  // set by the stadium choice; the match reads nothing from it
  std::int32_t HomeGoals;   // shoot-out goals are added too
  std::int32_t AwayGoals;
  std::uint32_t uReserved;
  std::int32_t CoinToss;    // 0 or 1
};
extern Match match;
// The match's squad copies (the sides' MySquad buffers) and removal counters.
extern DBPlayer match_aHomeSquad[TEAM_SQUADSIZE_MAX];
extern DBPlayer match_aAwaySquad[TEAM_SQUADSIZE_MAX];
extern std::int32_t match_aiRemovals[2];

constexpr std::int32_t match_State_MaxStates = 2;
constexpr std::int32_t MATCH_REMOVALS_NO_SEND_OFFS = 4;

// Points both sides at the match's own squad buffers.
void match_SquadBuffersPoint();
MatchTeam* match_HomeTeamGet();
MatchTeam* match_AwayTeamGet();
Player* match_HomeFirstPlayerGet();
Player* match_HomeFirstPlayerGet2();
Player* match_AwayFirstPlayerGet();
Player* match_NextPlayerGet(Player* pp);
Player* match_TeamNextPlayerGet(Player* pp);
Player* match_TeamNextPlayerGet2(Player* pp);
Player* match_StateTeamFirstPlayerGet();
Player* match_OtherTeamFirstPlayerGet();
Player* match_StateTeamFirstKeeperGet();
std::int32_t match_HomeClubStateGet();
std::int32_t match_AwayClubStateGet();
void match_HomeClubStateSet(std::int32_t HomeClubState);
void match_AwayClubStateSet(std::int32_t AwayClubState);
std::int32_t match_HomeKickOffFlagGet();
std::int32_t match_AwayKickOffFlagGet();
void match_HomeKickOffFlagSet(std::int32_t iFlag);
void match_AwayKickOffFlagSet(std::int32_t iFlag);
std::int32_t match_CoinTossGet();
void match_CoinTossSet(std::int32_t iToss);
void match_HomeGoalScored();
void match_AwayGoalScored();
// The player recorded in the global record as the scorer (see
// engine_services.h).
Player* match_poScorerGet();
std::int32_t match_iGoalDifferenceGet(const MatchTeam* poTeam);
// Copies the squad's players into the side's own buffer; the squad itself is
// left alone until match_SquadsCopyBack.
void match_HomeSquadSet(Squad* pHomeSquad);
void match_AwaySquadSet(Squad* pAwaySquad);
// Writes each copy's file fields and flags back to its squad entry (by
// index), when the match is left after the injury passes.
void match_SquadsCopyBack();
Squad* match_SquadGet(const MatchTeam* poTeam);
std::int32_t match_TeamIdGet(const MatchTeam* poTeam);
std::int32_t match_TeamYearGet(const MatchTeam* poTeam);
const char* match_TeamNameGet(const MatchTeam* poTeam);
DBPlayer* match_BenchFirstGet();
DBPlayer* match_BenchNextGet(DBPlayer* poEntry);
DBPlayer* match_ReserveFirstGet();
DBPlayer* match_ReserveNextGet(DBPlayer* poEntry);
// Takes a player off the pitch. A player not on it, or the side's first
// record (its goalkeeper), stays; nothing is counted then.
void match_PlayerRemove(Player* pp);
void match_KickOffSetup();
void match_Clear();
std::int32_t match_NearestOtherPlayerFind(Player* pp, std::int32_t x, std::int32_t y, Player** ppFound);
void match_PlayerMarkClear(Player* pp);
// The score, clock and controlled-player overlay, once per drawn frame.
void match_ScoreClockDraw();
// "home 1 - 0 away" with the short names; the clock's minutes and seconds.
void match_ScoreLineFormat(char* psz, std::size_t cb);
void match_ClockTextsFormat(char* pszMinutes, char* pszSeconds, std::size_t cb);

// What the overlay needs of the captions.
std::int32_t caption_bIsPending();
std::int32_t caption_iTypeGet();
std::int32_t caption_bBlinkOnGet();

// What the match record calls in the referee and the computer manager.
void referee_GoldenGoalSet(std::int32_t bFlag);
std::int32_t referee_GoldenGoalGet();
void referee_MatchOverSet(std::int32_t bFlag);
std::int32_t referee_MatchOverGet();
void referee_NoSendOffsSet();
void referee_NoSendOffsClear();
void referee_MatchStart();
void refact_Init();
void cpuman_Arm();
