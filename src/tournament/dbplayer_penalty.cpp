// The next penalty taker of a side.
#include <cstdint>

#include "engine/engine_services.h"
#include "engine/player.h"
#include "shell/debuglog.h"
#include "tournament/dbplayer.h"
#include "tournament/tournament_services.h"

namespace {

constexpr std::uint16_t kNoPreference = 11;

Player* Choose(Player* poFirst, std::int32_t bShootOut) {
  Player* poBest = nullptr;
  std::int32_t iBest = 0;
  for (Player* pp = poFirst; pp; pp = match_TeamNextPlayerGet(pp)) {
    DBPlayer* p = pp->pDBPlayer;
    if (player_IsGoalkeeper(pp) || !p) continue;
    if (p->uPenaltyOrder == 0) p->uPenaltyOrder = kNoPreference;
    if (bShootOut && dbplayer_PenaltyTakenGet(p)) continue;
    const std::int32_t iScore =
        static_cast<std::int16_t>(p->uAccuracy + (kNoPreference - static_cast<std::int32_t>(p->uPenaltyOrder)) * 1024);
    if (iScore > iBest) {
      iBest = iScore;
      poBest = pp;
    }
  }
  return poBest;
}

}  // namespace

Player* dbplayer_poPenaltyTakerChoose(std::int32_t iTeam, std::int32_t bShootOut) {
  Player* poFirst = iTeam == player_PlaysFor_Home ? match_HomeFirstPlayerGet() : match_AwayFirstPlayerGet();
  Player* poTaker = Choose(poFirst, bShootOut);
  if (!poTaker && bShootOut) {
    // Everyone has taken one: the round starts again.
    for (Player* pp = poFirst; pp; pp = match_TeamNextPlayerGet(pp))
      if (pp->pDBPlayer) dbplayer_PenaltyTakenSet(pp->pDBPlayer, 0);
    poTaker = Choose(poFirst, bShootOut);
  }
  // With no score above 0 (every order past 11) the first outfield player takes it.
  for (Player* pp = poFirst; pp && !poTaker; pp = match_TeamNextPlayerGet(pp))
    if (!player_IsGoalkeeper(pp) && pp->pDBPlayer) poTaker = pp;
  if (!poTaker) return nullptr;
  debuglog_Printf("pen taker = %s\n", dbplayer_NameGet(poTaker->pDBPlayer));
  if (bShootOut) dbplayer_PenaltyTakenSet(poTaker->pDBPlayer, 1);
  return poTaker;
}
