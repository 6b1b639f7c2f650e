// Quick match: two historical sides drawn at random from the quick-match
// table, set up as the match teams, and the match starts.
#include "frontend/mquick.h"

#include "engine/player.h"
#include "engine/team.h"
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "frontend/mteam_conf.h"
#include "matchflow/demo.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "shell/mem.h"
#include "shell/pcstub.h"
#include "shell/texts.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

namespace {
// The draws come from a generator of their own, so the teams of a quick match
// or a demo depend on nothing but how many were drawn before.
constexpr std::uint32_t kQuickSeed = 0x6B2E1D05u;
std::uint32_t s_uQuickState = kQuickSeed;
constexpr std::int32_t kModeMatchStart = 22;
constexpr GameMode kQuickMatchKind = static_cast<GameMode>(74);
}  // namespace

void mquick_RandomReset(std::uint32_t uSeed) { s_uQuickState = uSeed ? uSeed : kQuickSeed; }

std::int32_t mquick_RandomTeamGet() {
  s_uQuickState = s_uQuickState * 1664525u + 1013904223u;
  return static_cast<std::int32_t>((s_uQuickState >> 8) % MQUICK_TEAMS);
}

const char* mquick_TeamNameGet(std::int32_t iEntry) {
  QDX_ASSERT(iEntry >= 0 && iEntry < MQUICK_TEAMS);
  return tla_NameGet(static_cast<std::int32_t>(mquick_aRows[iEntry].uTeam));
}

std::uint32_t mquick_YearMaskGet(std::int32_t iEntry) {
  QDX_ASSERT(iEntry >= 0 && iEntry < MQUICK_TEAMS);
  return mquick_aRows[iEntry].uMask;
}

std::int32_t mquick_SideLoad(std::int32_t iSide, std::int32_t iRow) {
  const std::int32_t iEdition = mteam_YearIndexFromMask(mquick_YearMaskGet(iRow));
  const MTeam* poEntry = mteam_poFindTeamByName(mquick_TeamNameGet(iRow), iEdition);
  if (poEntry == nullptr) return 0;
  const bool bHome = iSide == player_PlaysFor_Home;
  const SquadTeamRef ref{static_cast<std::int32_t>(poEntry->uTeam), static_cast<std::int32_t>(poEntry->uKey)};
  // The scratch buffer may be lent elsewhere: then this row is given up too.
  void* pvScratch = mem_pvLock();
  if (pvScratch == nullptr) return 0;
  Squad* poSquad = squadcache_Load(&ref, iEdition, bHome ? 0 : 1, pvScratch, MEM_SCRATCH_SIZE);
  mem_Unlock();
  if (poSquad == nullptr) return 0;
  MatchTeam* poSide = bHome ? match_HomeTeamGet() : match_AwayTeamGet();
  // The side's rating is looked up in its own edition's tables.
  tmglobal_YearSet(58 + 4 * iEdition);
  if (bHome) {
    match_HomeSquadSet(poSquad);
    pcstub_HomeStrengthAdjust(poSide);
  } else {
    match_AwaySquadSet(poSquad);
    pcstub_AwayStrengthAdjust(poSide);
    poSide->SubRequest = 0;
  }
  poSide->iFormation = -1;
  team_SetUp(poEntry->acFormations[iEdition], poSide);
  team_NumbersFromSlots(poSide);
  team_FormationSave(poSide);
  return 1;
}

void mquick_MatchStart() {
  pcfmv_Stop();
  match_SquadBuffersPoint();
  std::int32_t iAway = -1;
  for (std::int32_t k = 0; k < MQUICK_DRAWS && iAway < 0; k++) {
    const std::int32_t iRow = mquick_RandomTeamGet();
    if (mquick_SideLoad(player_PlaysFor_Away, iRow)) iAway = iRow;
  }
  std::int32_t bHome = 0;
  for (std::int32_t k = 0; iAway >= 0 && k < MQUICK_DRAWS && !bHome; k++) {
    const std::int32_t iRow = mquick_RandomTeamGet();
    if (iRow != iAway) bHome = mquick_SideLoad(player_PlaysFor_Home, iRow);
  }
  if (!bHome) {
    pctext_MessageSet(festr_IDToStr(IDS_FE_NO_QUICK_MATCH));
    global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
    return;
  }
  MatchTeam* poAway = match_AwayTeamGet();
  team_ImageSet(poAway, 0);
  team_SoundSet(poAway, 0);
  team_PresentationFlagSet(poAway, 1);
  environ_StadiumSet(stadium_Choose(match_TeamYearGet(match_HomeTeamGet()), nullptr));
  environ_Choose();
  environ_PitchChoose();
  global_SetGameMode(static_cast<GameMode>(kModeMatchStart));
  global_SetExtendedGameMode(kQuickMatchKind);
  tmglobal_TournamentMatchSet(0);
  mcondi_MatchLengthSet(10);
  mcondi_CameraSet(2);
  mcondi_ExtraTimeSet(1);
  tmglobal_MatchPhaseSet(0);
  demo_Stop();
}
