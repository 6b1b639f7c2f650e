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
