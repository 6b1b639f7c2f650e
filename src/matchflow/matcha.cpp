// The match record and the services kept with it.
#include "matchflow/matcha.h"
#include "matchflow/subs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "audio/audio_services.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/zone.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/clock.h"
#include "matchflow/caption.h"
#include "matchflow/gstatso.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/user.h"
#include "tournament/tla.h"

Match match;
DBPlayer match_aHomeSquad[TEAM_SQUADSIZE_MAX];
DBPlayer match_aAwaySquad[TEAM_SQUADSIZE_MAX];
std::int32_t match_aiRemovals[2];

namespace {

std::int32_t match_bBenchAway = 0;    // the bench walk has stepped over to the away list
std::int32_t match_bReserveAway = 0;

void ClubStateSet(MatchTeam* poTeam, std::int32_t iState) {
  poTeam->iPrevClubState = poTeam->iClubState;
  poTeam->iClubState = iState;
  for (Player* pp = poTeam->poPlayers; pp; pp = pp->pNext) pp->oAIInfo.bIsAttacking = iState == 0;
}

// Who was substituted belongs to one match: a player taken off in one
// match, or brought on and taken off again, may come off the bench in the
// next. Cards, suspensions and injuries go on with the tournament.
void SubstitutionsForget(MatchTeam* poTeam) {
  for (std::int32_t i = 0; i < poTeam->iSquadSize; i++) dbplayer_SubstitutedSet(&poTeam->MySquad[i], 0);
}

// A side without squad players has no formation to restore. A drawn
// tournament match played again comes here with its squad copy as the
// drawn match left it: its substitutions are forgotten as a new match's are.
void SideReset(MatchTeam* poTeam) {
  if (!poTeam->MySquad || poTeam->iSquadSize <= 0) return;
  SubstitutionsForget(poTeam);
  team_FormationReset(poTeam);
}

// The side's lists and cursors point into its squad copy: a new squad (or
// none) leaves nothing for them to point at until the side is set up again.
void ListsForget(MatchTeam* poTeam) {
  poTeam->poPitchList = poTeam->poBenchList = poTeam->poReserveList = nullptr;
  poTeam->poPitchCursor = poTeam->poBenchCursor = poTeam->poReserveCursor = nullptr;
}

void SquadCopy(MatchTeam* poTeam, Squad* poSquad) {
  for (std::int32_t i = 0; i < poSquad->Size; i++) {
    DBPlayer& o = poTeam->MySquad[i];
    o = poSquad->poFirstPlayer[i];
    o.poSlot = o.poSavedSlot = nullptr;
    o.poNext = nullptr;
  }
  // The copy-back carries the flag into a history's squad.
  SubstitutionsForget(poTeam);
}

}  // namespace

void match_SquadBuffersPoint() {
  match.HomeTeam.MySquad = match_aHomeSquad;
  match.AwayTeam.MySquad = match_aAwaySquad;
}

MatchTeam* match_HomeTeamGet() { return &match.HomeTeam; }
MatchTeam* match_AwayTeamGet() { return &match.AwayTeam; }
Player* match_HomeFirstPlayerGet() { return match.HomeTeam.poPlayers; }
Player* match_HomeFirstPlayerGet2() { return match.HomeTeam.poPlayers; }
Player* match_AwayFirstPlayerGet() { return match.AwayTeam.poPlayers; }

Player* match_NextPlayerGet(Player* pp) {
  if (!pp) return nullptr;
  if (pp->pNext) return pp->pNext;
  return pp->MyTeam == player_PlaysFor_Home ? match.AwayTeam.poPlayers : nullptr;
}

Player* match_TeamNextPlayerGet(Player* pp) { return pp ? pp->pNext : nullptr; }
Player* match_TeamNextPlayerGet2(Player* pp) { return pp ? pp->pNext : nullptr; }

Player* match_StateTeamFirstPlayerGet() {
  return match.HomeTeam.iClubState != 0 ? match.AwayTeam.poPlayers : match.HomeTeam.poPlayers;
}

Player* match_OtherTeamFirstPlayerGet() {
  return match.HomeTeam.iClubState == 1 ? match.HomeTeam.poPlayers : match.AwayTeam.poPlayers;
}

Player* match_StateTeamFirstKeeperGet() {
  Player* pp = match_StateTeamFirstPlayerGet();
  while (pp && !roles_IsGoalkeeper(pp)) pp = pp->pNext;
  QDX_ASSERT(pp);
  return pp;
}

std::int32_t match_HomeClubStateGet() { return match.HomeTeam.iClubState; }
std::int32_t match_AwayClubStateGet() { return match.AwayTeam.iClubState; }

void match_HomeClubStateSet(std::int32_t HomeClubState) {
  QDX_ASSERT(HomeClubState < match_State_MaxStates);
  ClubStateSet(&match.HomeTeam, HomeClubState);
}

void match_AwayClubStateSet(std::int32_t AwayClubState) {
  QDX_ASSERT(AwayClubState < match_State_MaxStates);
  ClubStateSet(&match.AwayTeam, AwayClubState);
}

std::int32_t match_HomeKickOffFlagGet() { return match.HomeTeam.KickOff; }
std::int32_t match_AwayKickOffFlagGet() { return match.AwayTeam.KickOff; }
void match_HomeKickOffFlagSet(std::int32_t iFlag) { match.HomeTeam.KickOff = iFlag; }
void match_AwayKickOffFlagSet(std::int32_t iFlag) { match.AwayTeam.KickOff = iFlag; }
std::int32_t match_CoinTossGet() { return match.CoinToss; }
void match_CoinTossSet(std::int32_t iToss) { match.CoinToss = iToss; }

Player* match_poScorerGet() { return global.poScorer; }

void match_HomeGoalScored() {
  match.HomeGoals++;
  crowd_ReactGoal();
  crowd_ChooseTrack(0);
  if (referee_GoldenGoalGet()) referee_MatchOverSet(1);
}

void match_AwayGoalScored() {
  match.AwayGoals++;
  crowd_ReactGoal();
  crowd_ChooseTrack(1);
  if (referee_GoldenGoalGet()) referee_MatchOverSet(1);
}

std::int32_t match_iGoalDifferenceGet(const MatchTeam* poTeam) {
  if (poTeam == &match.HomeTeam) return match.HomeGoals - match.AwayGoals;
  return match.AwayGoals - match.HomeGoals;
}

void match_HomeSquadSet(Squad* pHomeSquad) {
  match.HomeTeam.Squad = pHomeSquad;
  match.HomeTeam.iTeam = player_PlaysFor_Home;
  ListsForget(&match.HomeTeam);
  if (!pHomeSquad) {
    match.HomeTeam.iSquadSize = 0;
    return;
  }
  QDX_ASSERT(pHomeSquad->Size <= TEAM_SQUADSIZE_MAX);
  match.HomeTeam.iSquadSize = pHomeSquad->Size;
  QDX_ASSERT(match.HomeTeam.MySquad);
  SquadCopy(&match.HomeTeam, pHomeSquad);
}

void match_AwaySquadSet(Squad* pAwaySquad) {
  match.AwayTeam.Squad = pAwaySquad;
  match.AwayTeam.iTeam = player_PlaysFor_Away;
  ListsForget(&match.AwayTeam);
  if (!pAwaySquad) {
    match.AwayTeam.iSquadSize = 0;
    return;
  }
  QDX_ASSERT(pAwaySquad->Size <= TEAM_SQUADSIZE_MAX);
  match.AwayTeam.iSquadSize = pAwaySquad->Size;
  QDX_ASSERT(match.AwayTeam.MySquad);
  SquadCopy(&match.AwayTeam, pAwaySquad);
}

void match_SquadsCopyBack() {
  for (MatchTeam* t : {&match.HomeTeam, &match.AwayTeam}) {
    if (!t->Squad || !t->MySquad) continue;
    const std::int32_t n = t->iSquadSize < t->Squad->Size ? t->iSquadSize : t->Squad->Size;
    for (std::int32_t i = 0; i < n; i++)
      std::memcpy(&t->Squad->poFirstPlayer[i], &t->MySquad[i], DBPLAYER_FILE_SIZE);
  }
}

Squad* match_SquadGet(const MatchTeam* poTeam) { return poTeam->Squad; }
std::int32_t match_TeamIdGet(const MatchTeam* poTeam) { return poTeam->Squad ? poTeam->Squad->iTeamId : 0; }
std::int32_t match_TeamYearGet(const MatchTeam* poTeam) { return poTeam->Squad ? poTeam->Squad->iEdition : 0; }
const char* match_TeamNameGet(const MatchTeam* poTeam) { return tla_ShortNameGet(match_TeamIdGet(poTeam)); }

DBPlayer* match_BenchFirstGet() {
  match_bBenchAway = 0;
  if (match.HomeTeam.poBenchList) return match.HomeTeam.poBenchList;
  match_bBenchAway = 1;
  return match.AwayTeam.poBenchList;
}

DBPlayer* match_BenchNextGet(DBPlayer* poEntry) {
  if (poEntry && poEntry->poNext) return poEntry->poNext;
  if (match_bBenchAway) return nullptr;
  match_bBenchAway = 1;
  return match.AwayTeam.poBenchList;
}

DBPlayer* match_ReserveFirstGet() {
  match_bReserveAway = 0;
  if (match.HomeTeam.poReserveList) return match.HomeTeam.poReserveList;
  match_bReserveAway = 1;
  return match.AwayTeam.poReserveList;
}

DBPlayer* match_ReserveNextGet(DBPlayer* poEntry) {
  if (poEntry && poEntry->poNext) return poEntry->poNext;
  if (match_bReserveAway) return nullptr;
  match_bReserveAway = 1;
  return match.AwayTeam.poReserveList;
}

void match_PlayerRemove(Player* pp) {
  QDX_ASSERT(pp);
  const std::int32_t iSide = pp->MyTeam == player_PlaysFor_Home ? 0 : 1;
  MatchTeam* t = iSide == 0 ? &match.HomeTeam : &match.AwayTeam;
  // The first record (the goalkeeper's) is never taken off, and a player no
  // longer in the chain has nothing to unlink.
  if (!t->poPlayers || t->poPlayers == pp) return;
  Player* poPrev = t->poPlayers;
  while (poPrev->pNext && poPrev->pNext != pp) poPrev = poPrev->pNext;
  if (poPrev->pNext != pp) return;
  poPrev->pNext = pp->pNext;
  pp->pNext = nullptr;
  if (++match_aiRemovals[iSide] == MATCH_REMOVALS_NO_SEND_OFFS) referee_NoSendOffsSet();
  if (pp->Control == PLAYER_CONTROL_USER && pp->pUser) user_PlayerRelease(pp->pUser);
}

void match_KickOffSetup() {
  cpuman_Arm();
  subs_Reset();
  match_aiRemovals[0] = match_aiRemovals[1] = 0;
  // The referee starts afresh: no flag, decision, restart or card mark of an
  // earlier match (the no-send-offs, match-decided and golden-goal flags
  // among them).
  referee_MatchStart();
  SideReset(&match.HomeTeam);
  if (global_eGetExtendedGameMode() != GAME_MODE_START_TRAINING) {
    SideReset(&match.AwayTeam);
    match.CoinToss = static_cast<std::int32_t>(QMathRandNext() & 1);
    const std::int32_t iHome = match.CoinToss == 1 ? 0 : 1;
    for (int k = 0; k < 2; k++) {
      match_HomeClubStateSet(iHome);
      match_AwayClubStateSet(1 - iHome);
    }
    if (QMathRandNext() & 1) {
      match.HomeTeam.KickOff = 0;
      match.AwayTeam.KickOff = 1;
    } else {
      match.AwayTeam.KickOff = 0;
      match.HomeTeam.KickOff = 1;
    }
    team_PlayersLink(&match.HomeTeam, &match.AwayTeam);
  } else {
    for (int k = 0; k < 2; k++) {
      match_HomeClubStateSet(0);
      match_AwayClubStateSet(1);
    }
    match.HomeTeam.KickOff = 0;
    match.AwayTeam.KickOff = 1;
    team_PlayersLink(&match.HomeTeam, nullptr);
  }
  refact_Init();
  gstatso_Clear(&match.HomeTeam.MatchStats);
  gstatso_Clear(&match.AwayTeam.MatchStats);
  match.HomeTeam.SubRequest = 0;
  match.AwayTeam.SubRequest = 0;
}

void match_Clear() {
  match.HomeTeam.poPlayers = nullptr;
  match.AwayTeam.poPlayers = nullptr;
  team_PresentationFlagSet(&match.HomeTeam, 0);
  team_PresentationFlagSet(&match.AwayTeam, 0);
  match.HomeGoals = 0;
  match.AwayGoals = 0;
  // No substitutions left over from an earlier match: each side gets its
  // three at the end of the match start.
  match.HomeTeam.iSubsAllowed = 0;
  match.AwayTeam.iSubsAllowed = 0;
}

std::int32_t match_NearestOtherPlayerFind(Player* pp, std::int32_t x, std::int32_t y, Player** ppFound) {
  const std::int32_t iReach = 960 + PlayerO_Attr52Get(pp) * 1440 / 100;
  std::int32_t iBest = 14400;
  Player* poBest = nullptr;
  for (Player* p = match_StateTeamFirstPlayerGet(); p; p = match_TeamNextPlayerGet(p)) {
    if (p == pp) continue;
    const std::int32_t dx = p->x - x, dy = p->y - y;
    const std::int32_t d = QMathISqrt(dx * dx + dy * dy);
    if (d < iReach && d < iBest) {
      iBest = d;
      poBest = p;
    }
  }
  if (ppFound) *ppFound = poBest;
  return poBest ? 1 : 0;
}

void match_PlayerMarkClear(Player* pp) {
  pp->aiMarking[0] = 0;
  pp->aiMarking[1] = 0;
  pp->aiMarking[2] = 0;
}

namespace {

constexpr std::uint8_t kUserColours[USER_MAX][3] = {{181, 16, 16}, {34, 231, 56}, {0, 198, 255}, {255, 165, 8}};
constexpr std::int32_t kOverlayLayer = 1;
constexpr std::int32_t kLineStep = 13;

std::int32_t X(std::int32_t x) { return pcfe_ScaleX(static_cast<std::int16_t>(x)); }
std::int32_t Y(std::int32_t y) { return pcfe_ScaleY(static_cast<std::int16_t>(y)); }

// The strip's and name lines' texts stand on the picture with no panel
// behind them: each has its dark shadow, so that it reads on light
// hoardings and pitches in every edition's colouring.
void Text(const char* psz, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  draw2d_TextColourSet(r, g, b, 255);
  draw2d_TextShadowLeft(psz, X(x), Y(y), kOverlayLayer);
}

Player* PlayerOfUser(const User* pusr) {
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp))
    if (pp->pUser == pusr && pp->Control == PLAYER_CONTROL_USER) return pp;
  return nullptr;
}

// One name line: the user's colour square, the number, the name fitted to
// its side's half of the screen and a bar under a player a user steers. The
// home line stands at the left; the away line at x 408 when its name fits
// there, else moved left so that the name ends at the right margin.
constexpr std::int32_t kNameAt = 52;     // from the line's left edge: after a two-figure number
constexpr std::int32_t kNameRoom = 240;  // the name's room in half the screen
constexpr std::int32_t kRightMargin = 632;

void NameLine(const Player* pp, std::int32_t iUser, bool bHome, std::int32_t y) {
  char szName[DBPLAYER_NAME_SIZE];
  caption_NameFit(pp->pDBPlayer ? dbplayer_NameGet(pp->pDBPlayer) : "", kNameRoom, szName, sizeof szName);
  const std::int32_t iNameW = pctext_WidthGet(szName);
  std::int32_t x0 = 16;
  if (!bHome) x0 = 408 + kNameAt + iNameW > kRightMargin ? kRightMargin - kNameAt - iNameW : 408;
  if (iUser >= 0) {
    draw2d_FillColourSet(kUserColours[iUser][0], kUserColours[iUser][1], kUserColours[iUser][2], 255);
    draw2d_RectFill(X(x0), Y(y + 2), X(8) - X(0), Y(8) - Y(0), kOverlayLayer);
  }
  char sz[16];
  std::snprintf(sz, sizeof sz, "%d", pp->pDBPlayer ? static_cast<int>(dbplayer_Field88Get(pp->pDBPlayer)) : 0);
  Text(sz, x0 + 10, y, 200, 200, 200);
  Text(szName, x0 + kNameAt, y, 200, 200, 200);
  if (pp->Control == PLAYER_CONTROL_USER && iNameW > 0) {
    draw2d_FillColourSet(200, 200, 0, 255);
    draw2d_RectFill(X(x0 + kNameAt), Y(y + 11), X(x0 + kNameAt + iNameW) - X(x0 + kNameAt), Y(1) - Y(0), kOverlayLayer);
  }
}

// The side's line when no user of it drew one: the ball owner if he plays
// for it, else its player nearest the ball.
const Player* SideFallback(Player* poFirst, std::int32_t iTeam) {
  const Player* poOwner = ball_oBall.poOwner;
  if (poOwner && poOwner->MyTeam == iTeam) return poOwner;
  const std::int32_t bx = ball_XGet(&ball_oBall), by = ball_YGet(&ball_oBall);
  const Player* poBest = nullptr;
  std::int64_t iBest = 0;
  for (const Player* pp = poFirst; pp; pp = pp->pNext) {
    const std::int64_t dx = pp->x - bx, dy = pp->y - by, d = dx * dx + dy * dy;
    if (!poBest || d < iBest) {
      poBest = pp;
      iBest = d;
    }
  }
  return poBest;
}

void SubMarker(std::int32_t x, std::int32_t y) {
  draw2d_FillColourSet(200, 30, 30, 255);
  draw2d_RectFill(X(x), Y(y), X(x + 13) - X(x), Y(12) - Y(0), kOverlayLayer);
  draw2d_FillColourSet(255, 90, 90, 255);
  draw2d_TriangleFill(X(x + 2), Y(y + 2), X(x + 11), Y(y + 2), X(x + 6), Y(y + 6), kOverlayLayer);
  draw2d_FillColourSet(90, 10, 10, 255);
  draw2d_TriangleFill(X(x + 2), Y(y + 10), X(x + 11), Y(y + 10), X(x + 6), Y(y + 6), kOverlayLayer);
}

// The score strip names both teams as every team name in a room is chosen
// (caption_TeamFit): whole where the room holds the name, else short, never
// the abbreviation. On one row at y 10 while its line leaves the clock its
// room: the home year at x 16, the score line at x 80 with both whole names,
// else both short names, and the away year at x 337 or, after a longer line,
// a cell and a half after it; the away side's substitution marker from x 403
// or after the away year. Where not even the short names leave the clock its
// room, each side has a row of its own, the away row 13 below the home one:
// its year at x 16, its name at x 80 (whole where the row holds it) and its
// goals in one column a cell after the longer name; the away marker then
// stands at the left edge of its row, under the home one.
constexpr std::int32_t kStripY = 10, kRowStep = 13, kHomeMarkerX = 2;
constexpr std::int32_t kLineX = 80, kAwayYearX = 337, kAwayMarkerX = 403, kMarkerW = 13, kGap = 8;

struct ScoreStrip {
  bool bTwoRows;
  char szLine[96];       // one row
  char aszName[2][48];   // two rows: home, away
  char aszGoals[2][8];
  std::int32_t iGoalsRight;
  std::int32_t iAwayYearX, iAwayYearY;
  std::int32_t iAwayMarkerX, iAwayMarkerY;
};

// iClockLeft: where the clock's first figure stands.
ScoreStrip ScoreStripMake(const char* pszAwayYear, std::int32_t iClockLeft) {
  ScoreStrip o{};
  const std::int32_t iYearW = pctext_WidthGet(pszAwayYear);
  const MatchTeam* apoSide[2] = {&match.HomeTeam, &match.AwayTeam};
  for (std::int32_t bShort = 0; bShort < 2; bShort++) {
    // Both names whole, else both short.
    const char* apsz[2];
    for (std::int32_t k = 0; k < 2; k++) {
      const TLANames oNames = tla_NamesGet(match_TeamIdGet(apoSide[k]));
      apsz[k] = bShort ? oNames.pszShort : oNames.pszWhole;
    }
    std::snprintf(o.szLine, sizeof o.szLine, "%s %d - %d %s", apsz[0], match.HomeGoals, match.AwayGoals, apsz[1]);
    // Over the match the virtual screen is 640 wide: widths are in its units.
    const std::int32_t iEnd = kLineX + pctext_WidthGet(o.szLine);
    o.iAwayYearX = iEnd + 24 > kAwayYearX ? iEnd + 24 : kAwayYearX;
    const std::int32_t iMarker = o.iAwayYearX + iYearW + kGap;
    o.iAwayMarkerX = iMarker > kAwayMarkerX ? iMarker : kAwayMarkerX;
    o.iAwayYearY = o.iAwayMarkerY = kStripY;
    if (o.iAwayMarkerX + kMarkerW + kGap <= iClockLeft) return o;
  }
  o.bTwoRows = true;
  o.szLine[0] = '\0';
  std::snprintf(o.aszGoals[0], sizeof o.aszGoals[0], "%d", match.HomeGoals);
  std::snprintf(o.aszGoals[1], sizeof o.aszGoals[1], "%d", match.AwayGoals);
  const std::int32_t iGoalsW = std::max(pctext_WidthGet(o.aszGoals[0]), pctext_WidthGet(o.aszGoals[1]));
  const std::int32_t iCell = pctext_WidthGet(" ");
  // Two cells between the home goals and the clock, so that the two figures
  // do not read as one.
  const std::int32_t iRoom = iClockLeft - 2 * iCell - iGoalsW - iCell - kLineX;
  std::int32_t iNamesW = 0;
  for (std::int32_t k = 0; k < 2; k++) {
    caption_TeamFit(apoSide[k], iRoom, o.aszName[k], sizeof o.aszName[k]);
    iNamesW = std::max(iNamesW, pctext_WidthGet(o.aszName[k]));
  }
  o.iGoalsRight = kLineX + iNamesW + iCell + iGoalsW;
  o.iAwayYearX = 16;
  o.iAwayYearY = o.iAwayMarkerY = kStripY + kRowStep;
  o.iAwayMarkerX = kHomeMarkerX;
  return o;
}

}  // namespace

void match_ScoreLineFormat(char* psz, std::size_t cb) {
  std::snprintf(psz, cb, "%s %d - %d %s", match_TeamNameGet(&match.HomeTeam), match.HomeGoals, match.AwayGoals,
                match_TeamNameGet(&match.AwayTeam));
}

void match_ClockTextsFormat(char* pszMinutes, char* pszSeconds, std::size_t cb) {
  std::snprintf(pszMinutes, cb, "%02d", clock_MinuteGet());
  std::snprintf(pszSeconds, cb, "%02d", clock_SecondOfMinuteGet());
}

void match_ScoreClockDraw() {
  const GameMode eMode = global_eGetGameMode();
  const bool bTraining = global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING;
  const bool bMarkersOnly = eMode == GAME_MODE_INTERVAL || eMode == 60 || eMode == GAME_MODE_FORMATION_CHANGE ||
                            eMode == 63 || eMode == GAME_MODE_PERIOD_BREAK || eMode == GAME_MODE_PERIOD_END;
  pctext_FontSet(1);
  const char* pszAwayYear = zone_YearToStr(match_TeamYearGet(&match.AwayTeam), 0);
  char szAwayYear[16];
  std::snprintf(szAwayYear, sizeof szAwayYear, "%s", pszAwayYear ? pszAwayYear : "");
  // Minutes, ":" and seconds each in their own cell: "118:47" ends at 633.
  char szMin[8], szSec[8];
  match_ClockTextsFormat(szMin, szSec, sizeof szMin);
  const ScoreStrip oStrip = ScoreStripMake(szAwayYear, 577 - pctext_WidthGet(szMin));
  if (!bMarkersOnly) {
    const bool bGoalBlink = caption_iTypeGet() == 6 && caption_bBlinkOnGet();
    if (!bGoalBlink && eMode != GAME_MODE_SHOOTOUT && !bTraining) {
      Text(zone_YearToStr(match_TeamYearGet(&match.HomeTeam), 0), 16, kStripY, 200, 200, 200);
      Text(szAwayYear, oStrip.iAwayYearX, oStrip.iAwayYearY, 200, 200, 200);
      if (!oStrip.bTwoRows) {
        Text(oStrip.szLine, kLineX, kStripY, 255, 255, 255);
      } else {
        for (std::int32_t k = 0; k < 2; k++) {
          const std::int32_t y = kStripY + k * kRowStep;
          Text(oStrip.aszName[k], kLineX, y, 255, 255, 255);
          Text(oStrip.aszGoals[k], oStrip.iGoalsRight - pctext_WidthGet(oStrip.aszGoals[k]), y, 255, 255, 255);
        }
      }
    }
    if (!bTraining) {
      draw2d_TextColourSet(255, 255, 255, 255);
      draw2d_TextShadowRight(szMin, pcfe_ScaleX640(577), Y(10), kOverlayLayer);
      draw2d_TextShadowLeft(":", pcfe_ScaleX640(581), Y(10), kOverlayLayer);
      draw2d_TextShadowLeft(szSec, pcfe_ScaleX640(601), Y(10), kOverlayLayer);
    }
    if (!caption_bIsPending() && caption_iTypeGet() != 5) {
      std::int32_t yHome = 240 - 22, yAway = 240 - 22;
      bool bHomeLine = false, bAwayLine = false;
      for (std::int32_t u = USER_MAX - 1; u >= 0; u--) {
        const User* pusr = &user_aUsers[u];
        if (!pusr->bActive) continue;
        const Player* pp = PlayerOfUser(pusr);
        if (!pp) continue;
        const bool bHome = pp->MyTeam == player_PlaysFor_Home;
        NameLine(pp, u, bHome, bHome ? yHome : yAway);
        (bHome ? yHome : yAway) -= kLineStep;
        (bHome ? bHomeLine : bAwayLine) = true;
      }
      if (!bHomeLine)
        if (const Player* pp = SideFallback(match.HomeTeam.poPlayers, player_PlaysFor_Home)) NameLine(pp, -1, true, yHome);
      if (!bAwayLine && !bTraining)
        if (const Player* pp = SideFallback(match.AwayTeam.poPlayers, player_PlaysFor_Away)) NameLine(pp, -1, false, yAway);
    }
  }
  if (match.HomeTeam.SubRequest) SubMarker(kHomeMarkerX, kStripY);
  if (match.AwayTeam.SubRequest) SubMarker(oStrip.iAwayMarkerX, oStrip.iAwayMarkerY);
}
