#pragma once
// A match side: the side's players on the pitch, its squad copy and the
// pitch, bench and reserve lists of database players, its formation, its
// end and club state, its statistics and its rating.
#include <cstdint>

#include "matchflow/gstatso.h"

struct DBPlayer;
struct Player;
struct Squad;

struct MatchTeam {
  Player* poPlayers;             // first Player record of the side's chain on the pitch
  std::int32_t bPresentation;    // the image and sound words below are valid
  std::int32_t iImage;           // kept for the presentation, not read by the match
  std::int32_t iSound;           //   nor this one, for the audio
  std::int32_t iClubState;       // 0 in possession (attacking), 1 defending
  std::int32_t iPrevClubState;   // the club state before the last set
  std::int32_t KickOff;          // 0 attacks toward +x (keeper in goal 1), 1 toward -x (goal 2)
  std::int32_t iFormation;       // index of a formation record, below 19; -1 none
  std::int32_t iSavedFormation;
  std::int32_t iTeam;            // 1 home, 2 away; each linked player's MyTeam
  ::Squad* Squad;                 // the side's squad-cache slot (null allowed); its team id
                                 // and edition are the source of the rating
  std::int32_t iSquadSize;       // copy of the squad's Size (0 without a squad)
  DBPlayer* MySquad;             // the side's squad copy buffer
  DBPlayer* poPitchList;         // lists linked through DBPlayer::poNext
  DBPlayer* poBenchList;
  DBPlayer* poReserveList;
  DBPlayer* poPitchCursor;       // one cursor per list
  DBPlayer* poBenchCursor;
  DBPlayer* poReserveCursor;
  ::MatchStats MatchStats;
  std::int32_t SubRequest;       // non-zero when the side asked for a substitution
  std::int32_t iSubsAllowed;     // 3 at match start
  std::int32_t iRating;          // 0..15, set by team_RatingUpdate
};

// Looks the side's rating up from its squad's team id and edition. A side
// without a squad keeps the rating it has.
void team_RatingUpdate(MatchTeam* poTeam);

constexpr std::int32_t TEAM_SUBS_AT_START = 3;
constexpr std::int32_t TEAM_FIRST_BENCH_NUMBER = 12;

// ---- Records and words -------------------------------------------------------------------
// Chains the 22 match players through their next links, home then away.
void team_PlayersInit();
// For each given side: its first player, the pitch list's database players on
// its eleven records in order, each record linked to the next, and the side.
void team_PlayersLink(MatchTeam* poHome, MatchTeam* poAway);
std::int32_t team_PresentationFlagGet(const MatchTeam* poTeam);
void team_PresentationFlagSet(MatchTeam* poTeam, std::int32_t bFlag);
std::int32_t team_ImageGet(const MatchTeam* poTeam);
void team_ImageSet(MatchTeam* poTeam, std::int32_t iImage);
std::int32_t team_SoundGet(const MatchTeam* poTeam);
void team_SoundSet(MatchTeam* poTeam, std::int32_t iSound);
std::int32_t team_FormationGet(const MatchTeam* poTeam);
std::int32_t team_FormationGetAlt(const MatchTeam* poTeam);
// Applies the formation to the pitch list (team_FormationApply).
void team_FormationSet(MatchTeam* poTeam, std::int32_t iFormation);
// Stores the index without touching the players.
void team_FormationSetRaw(MatchTeam* poTeam, std::int32_t iFormation);
std::int32_t team_SubsAllowedGet(const MatchTeam* poTeam);
void team_SubsAllowedSet(MatchTeam* poTeam, std::int32_t iSubs);

// ---- Lists ---------------------------------------------------------------------------------
// Builds the pitch, bench and reserve lists from the squad's flags and
// matches the pitch list to the formation (asserts "pTeam", "pDBplayer").
void team_SetUp(std::int32_t iFormation, MatchTeam* poTeam);
// Gives each of the formation's slots a pitch player in five passes, unless
// every pitch player already holds a slot of it, and relinks the pitch list
// in slot order.
void team_FormationApply(MatchTeam* poTeam, std::int32_t iFormation);
void team_NumbersAssign(MatchTeam* poTeam);
void team_NumbersFromSlots(MatchTeam* poTeam);
void team_SuspensionsApply(MatchTeam* poTeam);
void team_BenchOrder(MatchTeam* poTeam);
// Equal, or in the first code's list of compatible positions.
std::int32_t team_PositionCompatible(std::int32_t iSlotCode, std::int32_t iPlayerCode);
// Bench group of a position code (0..6).
std::int32_t team_BenchGroupGet(std::int32_t iCode);

DBPlayer* team_PitchFirst(MatchTeam* poTeam);
DBPlayer* team_PitchCurrent(MatchTeam* poTeam);
DBPlayer* team_PitchNext(MatchTeam* poTeam);
DBPlayer* team_PitchLast(MatchTeam* poTeam);
DBPlayer* team_PitchSeek(MatchTeam* poTeam);
void team_PitchPrevStep(MatchTeam* poTeam, DBPlayer** ppoNode);
DBPlayer* team_BenchFirst(MatchTeam* poTeam);
DBPlayer* team_BenchCurrent(MatchTeam* poTeam);
DBPlayer* team_BenchNext(MatchTeam* poTeam);
DBPlayer* team_BenchLast(MatchTeam* poTeam);
DBPlayer* team_BenchSeek(MatchTeam* poTeam);
void team_BenchPrevStep(MatchTeam* poTeam, DBPlayer** ppoNode);
DBPlayer* team_ReserveFirst(MatchTeam* poTeam);
DBPlayer* team_ReserveCurrent(MatchTeam* poTeam);
DBPlayer* team_ReserveNext(MatchTeam* poTeam);
DBPlayer* team_ReserveSeek(MatchTeam* poTeam);
void team_ReservePrevStep(MatchTeam* poTeam, DBPlayer** ppoNode);
// The node whose next is the given one, in the pitch, bench and reserve lists.
DBPlayer* team_PrevNodeFind(MatchTeam* poTeam, const DBPlayer* poNode);
std::int32_t team_IsOnPitch(const MatchTeam* poTeam, const DBPlayer* poNode);
std::int32_t team_BenchCount(const MatchTeam* poTeam);
std::int32_t team_ReserveCount(const MatchTeam* poTeam);
// Exchanges two database players between or within the lists; returns 0 and
// does nothing when a suspended player would come onto the pitch.
std::int32_t team_PlayersSwap(MatchTeam* poTeam, DBPlayer* poA, DBPlayer* poB, std::int32_t bSubstitution);
std::int32_t team_IsComputerControlled(const MatchTeam* poTeam);
// The first player, pitch, bench then reserves, whose name equals the text;
// team_PlayerFindByName is the same search.
DBPlayer* team_FirstNotInList(MatchTeam* poTeam, const char* pszName);
DBPlayer* team_PlayerFindByName(MatchTeam* poTeam, const char* pszName);
void team_FormationSave(MatchTeam* poTeam);
void team_FormationReset(MatchTeam* poTeam);

// What the match record needs of the roles module: the goalkeeper test.
std::int32_t roles_IsGoalkeeper(const Player* pp);

// Off-ball actions of the sides' players: marking an opponent in the
// defence zone, and the timed run to a random point of the zone.
struct ActionNode;
ActionNode* match_MarkingUpdate(ActionNode* poList);
ActionNode* team_ZoneRunHandler(ActionNode* poList);
