#include "flow_fakes.h"

#include "engine/ball.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "tournament/tournament_services.h"

Global global;
std::int32_t mlang_iLanguage = 0;

namespace flowfake {
std::int32_t iMatchLength = 10;
std::int32_t iDayNight = 1;
Stadium aStadiums[400];
MatchTeam oHome, oAway;
std::vector<std::string> aoTrace;

void Reset() {
  iMatchLength = 10;
  iDayNight = 1;
  for (Stadium& s : aStadiums) s = Stadium{};
  oHome = MatchTeam{};
  oAway = MatchTeam{};
  aoTrace.clear();
  global = Global{};
  global.eGameMode = GAME_MODE_PLAY;
  ball_oBall = Ball{};
}

void ChainsSet(std::vector<Player*> apoHome, std::vector<Player*> apoAway) {
  auto link = [](MatchTeam& t, std::vector<Player*>& a, std::int32_t iTeam) {
    t.poPlayers = a.empty() ? nullptr : a[0];
    for (size_t i = 0; i < a.size(); i++) {
      a[i]->pNext = i + 1 < a.size() ? a[i + 1] : nullptr;
      a[i]->MyTeam = iTeam;
    }
  };
  link(oHome, apoHome, player_PlaysFor_Home);
  link(oAway, apoAway, player_PlaysFor_Away);
}
}  // namespace flowfake

using namespace flowfake;

GameMode global_eGetGameMode() { return global.eGameMode; }
GameMode global_eGetExtendedGameMode() { return global.eExtendedGameMode; }
void global_ResetGameModeStack() { aoTrace.push_back("reset"); }
void global_GameModePush(GameModeFn pfnInit, GameMode eMode, GameModeFn) {
  const char* pszEnter = pfnInit == periodbreak_Enter ? "break" : pfnInit == periodend_Enter ? "end" : "?";
  aoTrace.push_back("push " + std::to_string(eMode) + " " + pszEnter);
}

std::int32_t mcondi_MatchLengthGet() { return iMatchLength; }
std::int32_t mcondi_DayNightGet() { return iDayNight; }
std::int32_t stadium_ModelGet(std::int32_t i) { return aStadiums[i].iModel; }
std::int32_t stadium_SpecialGet(std::int32_t i) { return aStadiums[i].iSpecial; }
std::int32_t stadium_PitchGet(std::int32_t i) { return aStadiums[i].iPitch; }

MatchTeam* match_HomeTeamGet() { return &oHome; }
MatchTeam* match_AwayTeamGet() { return &oAway; }
Player* match_HomeFirstPlayerGet() { return oHome.poPlayers; }
Player* match_NextPlayerGet(Player* pp) {
  if (pp->pNext) return pp->pNext;
  return pp->MyTeam == player_PlaysFor_Home ? oAway.poPlayers : nullptr;
}
void match_PlayerRemove(Player* pp) { aoTrace.push_back("remove " + std::to_string(pp->ID)); }

std::int32_t PlayerO_MyTeamGet(const Player* pp) { return pp->MyTeam; }
std::int32_t PlayerO_SpeedGet(const Player* pp) { return pp->iSpeed; }
std::int32_t PlayerO_KnocksGet(const Player* pp) { return pp->iKnocks; }
DBPlayer* PlayerO_DBPlayerGet(const Player* pp) { return pp->pDBPlayer; }

void periodbreak_Enter() {}
void periodend_Enter() {}
void referee_DecisionLock() { aoTrace.push_back("lock"); }
