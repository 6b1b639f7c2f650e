// The match's score, clock and player-name overlay as items of the frame
// packet: what each kind of game and game mode shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/ball.h"
#include "engine/player.h"
#include "frontend_env.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/user.h"
#include "tournament/squad.h"

namespace {

std::vector<std::string> Texts(int* pcBoxes = nullptr) {
  std::vector<std::string> a;
  int cBoxes = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      if (i->uKind == PCFRAME_KIND_TEXT) a.emplace_back(i->pszText);
      if (i->uKind == PCFRAME_KIND_BOX || i->uKind == PCFRAME_KIND_TRIANGLE) cBoxes++;
    }
  if (pcBoxes) *pcBoxes = cBoxes;
  return a;
}

bool Has(const std::vector<std::string>& a, const std::string& s) {
  for (const std::string& t : a)
    if (t == s) return true;
  return false;
}

struct Overlay : ::testing::Test {
  DBPlayer db[PLAYER_MAX]{};
  void SetUp() override {
    squadcache_Clear();
    std::vector<DBPlayer> one(1);
    squadcache_SlotSet("", 144, one.data(), 1, 3, 0);
    squadcache_SlotSet("", 88, one.data(), 1, 9, 1);
    match_SquadBuffersPoint();
    match_HomeSquadSet(squadcache_SlotGet(0));
    match_AwaySquadSet(squadcache_SlotGet(1));
    team_PlayersInit();
    match.HomeTeam.poPlayers = &player_aHome[0];
    match.AwayTeam.poPlayers = &player_aAway[0];
    for (int i = 0; i < PLAYER_MAX; i++) {
      Player* pp = i < 11 ? &player_aHome[i] : &player_aAway[i - 11];
      std::snprintf(db[i].szName, sizeof db[i].szName, "Name %d", i);
      db[i].uField88 = static_cast<std::uint32_t>(i % 11 + 1);
      pp->pDBPlayer = &db[i];
      pp->MyTeam = i < 11 ? player_PlaysFor_Home : player_PlaysFor_Away;
      pp->pNext = (i % 11) < 10 ? pp + 1 : nullptr;
      pp->Control = PLAYER_CONTROL_COMPUTER;
      pp->pUser = nullptr;
      pp->x = static_cast<std::int16_t>((i % 11) * 500);
      pp->y = 0;
    }
    for (User& u : user_aUsers) u.bActive = 0;
    ball_oBall = Ball{};
    ball_oBall.iX128 = 3 * 500 * 128;  // nearest: home 3, away 14
    match.HomeGoals = 2;
    match.AwayGoals = 1;
    match.HomeTeam.SubRequest = match.AwayTeam.SubRequest = 0;
    clock_oClock.iClock = 63 * 1800 + 7 * 30;
    global.eGameMode = GAME_MODE_PLAY;
    global.eExtendedGameMode = GAME_MODE_START_FRIENDLY;
    pcframe_Begin();
  }
  void TearDown() override {
    match_Clear();
    pcframe_Begin();
  }
};

TEST_F(Overlay, ScoreClockAndTheNearestPlayers) {
  match_ScoreClockDraw();
  const std::vector<std::string> a = Texts();
  EXPECT_TRUE(Has(a, "Brazil 2 - 1 Italy"));
  EXPECT_TRUE(Has(a, "70"));   // year labels
  EXPECT_TRUE(Has(a, "94"));
  EXPECT_TRUE(Has(a, "63"));   // minutes, ":" and seconds
  EXPECT_TRUE(Has(a, ":"));
  EXPECT_TRUE(Has(a, "07"));
  EXPECT_TRUE(Has(a, "Name 3"));   // the home player nearest the ball
  EXPECT_TRUE(Has(a, "Name 14"));  // and the away one
  EXPECT_FALSE(Has(a, "Name 0"));
}

TEST_F(Overlay, UsersLinesAndTheOwner) {
  user_aUsers[2].bActive = 1;
  player_aAway[5].pUser = &user_aUsers[2];
  player_aAway[5].Control = PLAYER_CONTROL_USER;
  ball_oBall.poOwner = &player_aHome[8];
  match_ScoreClockDraw();
  const std::vector<std::string> a = Texts();
  EXPECT_TRUE(Has(a, "Name 16"));  // the user's player
  EXPECT_TRUE(Has(a, "Name 8"));   // the home owner of the ball
  EXPECT_FALSE(Has(a, "Name 14"));
  user_aUsers[2].bActive = 0;
  player_aAway[5].pUser = nullptr;
}

TEST_F(Overlay, ModesAndKindsOfGame) {
  int cBoxes = 0;
  // Training: no score line, no clock, no away line.
  global.eExtendedGameMode = GAME_MODE_START_TRAINING;
  match_ScoreClockDraw();
  std::vector<std::string> a = Texts();
  EXPECT_FALSE(Has(a, "Brazil 2 - 1 Italy"));
  EXPECT_FALSE(Has(a, "63"));
  EXPECT_TRUE(Has(a, "Name 3"));
  EXPECT_FALSE(Has(a, "Name 14"));
  // Half time: only the substitution markers.
  pcframe_Begin();
  global.eExtendedGameMode = GAME_MODE_START_FRIENDLY;
  global.eGameMode = GAME_MODE_PERIOD_BREAK;
  match.AwayTeam.SubRequest = 1;
  match_ScoreClockDraw();
  a = Texts(&cBoxes);
  EXPECT_TRUE(a.empty());
  EXPECT_EQ(cBoxes, 3);  // a box and two triangles
  // A shoot-out kick: the clock without the score line.
  pcframe_Begin();
  global.eGameMode = static_cast<GameMode>(66);
  match.AwayTeam.SubRequest = 0;
  match_ScoreClockDraw();
  a = Texts(&cBoxes);
  EXPECT_FALSE(Has(a, "Brazil 2 - 1 Italy"));
  EXPECT_TRUE(Has(a, "63"));
}

}  // namespace
