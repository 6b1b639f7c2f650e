// The front-end modes that prepare or frame a match: the title prompt, the
// demo set-up and the attract movie.
#include <vector>

#include "engine/player.h"
#include "engine/team.h"
#include "frontend/frontend_services.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/mflow_services.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "tournament/dbindex.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"
#include "tournament/tournament_services.h"

namespace {

std::int32_t s_bTitleReset = 1;
std::int32_t s_iTitleTimer = 0;
std::int32_t s_iBlink = 0;
std::int32_t s_bBlinkVisible = 1;
std::int32_t s_bMovieRestart = 1;
std::int32_t s_bMovieSkip = 0;

std::vector<std::uint8_t> s_abSquadBuffer(DB_BLOCK_HEADER + DBPLAYER_FILE_SIZE * TEAM_SQUADSIZE_MAX);

constexpr std::int32_t kDrawTries = 64;

// A quick-match entry's confederation entry and edition; null when the
// tables have none.
MTeam* EntryTeam(std::int32_t iEntry, std::int32_t* piEdition) {
  *piEdition = mteam_YearIndexFromMask(mquick_YearMaskGet(iEntry));
  return mteam_poFindTeamByName(mquick_TeamNameGet(iEntry), *piEdition);
}

// The users and ports are reset with user i on port i (the main menu let
// every user go), and each user with a port is active with binding 45, so
// that a key leaves the demo match or the attract movie.
void UsersToDemo() {
  game_UsersReset();
  input_PortsClear();
  input_PortsReinit();
  for (std::int32_t i = 0; i < USER_MAX; i++) {
    User& u = user_aUsers[i];
    u.pip = input_poGetPort(i);
    if (!u.pip) continue;
    u.pip->pusr = &u;
    u.bAttachPending = 1;
    input_bUserActivate(&u);
    input_PortBindingSet(45, u.pip);
  }
}

void SidesClear() {
  for (User& u : user_aUsers) u.MyTeam = 0;
  global_SetHomeUser(nullptr);
  global_SetAwayUser(nullptr);
}

void StadiumChoose() {
  const Squad* poSquad = match_HomeTeamGet()->Squad;
  if (poSquad) environ_StadiumSet(stadium_HomeFind(poSquad->iTeamId, poSquad->iEdition));
  environ_Choose();
}

}  // namespace

std::int32_t matchflow_SideLoad(std::int32_t iSide, std::int32_t iTeamId, std::int32_t iEdition) {
  const DBTeamEditions* t = dbteams_Find(iTeamId);
  if (!t) return 0;
  SquadTeamRef ref{iTeamId, t->iNumber * DB_KEY_STEP};
  const std::int32_t iSlot = iSide == player_PlaysFor_Home ? 0 : 1;
  Squad* poSquad = squadcache_Load(&ref, iEdition, iSlot, s_abSquadBuffer.data(),
                                   static_cast<std::int32_t>(s_abSquadBuffer.size()));
  if (!poSquad) return 0;
  MatchTeam* poTeam = iSide == player_PlaysFor_Home ? match_HomeTeamGet() : match_AwayTeamGet();
  if (iSide == player_PlaysFor_Home) match_HomeSquadSet(poSquad);
  else match_AwaySquadSet(poSquad);
  poTeam->iFormation = -1;
  const std::int32_t iFormation = iEdition >= 0 && iEdition < DB_EDITIONS ? t->aiFormation[iEdition] : 0;
  team_SetUp(iFormation, poTeam);
  team_NumbersFromSlots(poTeam);
  team_FormationSave(poTeam);
  return 1;
}

std::int32_t matchflow_QuickTeamsSet() {
  match_SquadBuffersPoint();
  std::int32_t iAway = -1;
  for (std::int32_t k = 0; k < kDrawTries && iAway < 0; k++) {
    const std::int32_t e = mquick_RandomTeamGet();
    std::int32_t iEdition = 0;
    MTeam* t = EntryTeam(e, &iEdition);
    if (t && matchflow_SideLoad(player_PlaysFor_Away, static_cast<std::int32_t>(t->uTeam), iEdition)) iAway = e;
  }
  if (iAway < 0) return 0;
  MatchTeam* poAway = match_AwayTeamGet();
  team_ImageSet(poAway, 0);
  team_SoundSet(poAway, 0);
  team_PresentationFlagSet(poAway, 1);
  for (std::int32_t k = 0; k < kDrawTries; k++) {
    const std::int32_t e = mquick_RandomTeamGet();
    if (e == iAway) continue;
    std::int32_t iEdition = 0;
    MTeam* t = EntryTeam(e, &iEdition);
    if (t && matchflow_SideLoad(player_PlaysFor_Home, static_cast<std::int32_t>(t->uTeam), iEdition)) return 1;
  }
  return 0;
}

void demo_MatchSetup() {
  pcfmv_Stop();
  UsersToDemo();
  global_SetExtendedGameMode(GAME_MODE_DEMO);
  if (!matchflow_QuickTeamsSet()) {
    global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
    return;
  }
  SidesClear();
  StadiumChoose();
  global_SetGameMode(GAME_MODE_MATCH_START);
  global_SetExtendedGameMode(GAME_MODE_DEMO);
  tmglobal_TournamentMatchSet(0);
  demo_Start();
}

void matchflow_TitleRun() {
  if (s_bTitleReset) {
    input_ActiveUsersBind(1);
    mregion_ChoiceListClear();
    s_iTitleTimer = 12000;
    s_iBlink = 0;
    s_bBlinkVisible = 1;
    s_bTitleReset = 0;
  }
  if (global_poGetHomeUser() || global_poGetAwayUser()) {
    global_SetGameMode(GAME_MODE_MAIN_MENU);
    return;
  }
  mflow_UserEventsEach([](User* pusr, std::int32_t iEvent) {
    if (iEvent != 1) return;
    sfx_Play(1);
    global_SetMenuUser(pusr);
    global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
    s_bTitleReset = 1;
  });
  if (s_iTitleTimer > 0) s_iTitleTimer--;
  if (++s_iBlink >= 8) {
    s_iBlink = 0;
    s_bBlinkVisible ^= 1;
  }
  // "Press Start" stands on the demo match's picture: with its dark shadow.
  if (s_bBlinkVisible) {
    pctext_FontSet(1);
    draw2d_TextColourSet(200, 200, 200, 255);
    draw2d_TextShadowCentred(festr_IDToStr(27), 256, 220, 0);
  }
}

void pausemenu_AttractMovieStart() { s_bMovieRestart = 1; }

void pausemenu_AttractMovieRun() {
  if (s_bMovieRestart) {
    UsersToDemo();
    input_ActiveUsersBind(47);
    pcfmv_PlayById(204);
    s_bMovieSkip = 0;
    s_bMovieRestart = 0;
  }
  for (User& u : user_aUsers)
    if (u.pip) input_PortBindingSet(47, u.pip);
  mflow_UserEventsEach([](User*, std::int32_t iEvent) {
    if (iEvent == 161) s_bMovieSkip = 1;
  });
  if (pcfmv_IsIdle() || s_bMovieSkip) {
    pcfmv_Stop();
    global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
    s_bMovieRestart = 1;
  }
}
