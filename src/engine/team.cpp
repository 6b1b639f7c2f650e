// Match sides: the rating.
#include "engine/team.h"

#include "framework/qdx_assert.h"
#include "tournament/squad.h"
#include "tournament/tournament_services.h"

void team_RatingUpdate(MatchTeam* poTeam) {
  QDX_ASSERT(poTeam);
  if (!poTeam->Squad) return;
  poTeam->iRating = result_RatingGet(poTeam->Squad->iTeamId, poTeam->Squad->iEdition);
}
