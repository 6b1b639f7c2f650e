#include "e2_fixture.h"

#include <cstdio>
#include <cstring>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "shell/global.h"
#include "tournament/dbplayer.h"

namespace {
DBPlayer s_aoDb[PLAYER_MAX];
bool s_bTableReady;
}  // namespace

Player* EngineSides::Home(int i) { return &player_aHome[i]; }
Player* EngineSides::Away(int i) { return &player_aAway[i]; }
Player* EngineSides::ById(int iId) { return iId < PLAYER_TEAM_SIZE ? Home(iId) : Away(iId - PLAYER_TEAM_SIZE); }

void EngineSides::Place(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iFacing) {
  pp->x = static_cast<std::int16_t>(x);
  pp->y = static_cast<std::int16_t>(y);
  pp->iFacing = static_cast<std::int16_t>(iFacing);
  pp->uWantedFacing = static_cast<std::uint16_t>(iFacing);
  pp->iDisplayFacing = static_cast<std::int16_t>(iFacing);
}

void EngineSides::SetUp() {
  if (!s_bTableReady) {
    // Plain rows for every id: these tests steer players by request and
    // never step their animations.
    for (std::uint32_t id = 0; id < ANIM_MAX; id++) {
      AnimRecord& r = anim_aTable[id];
      r = AnimRecord{};
      r.id = id;
      r.end = 10;
      r.followFrame = 255;
      r.contact = -1;
      r.followId = ANIM_NONE;
    }
    s_bTableReady = true;
  }
  global_SetGameMode(GAME_MODE_PLAY);
  global.eExtendedGameMode = GAME_MODE_START_FRIENDLY;
  MatchTeam* poHome = match_HomeTeamGet();
  MatchTeam* poAway = match_AwayTeamGet();
  poHome->poPlayers = &player_aHome[0];
  poAway->poPlayers = &player_aAway[0];
  poHome->KickOff = 0;
  poAway->KickOff = 1;
  poHome->iRating = 6;
  poAway->iRating = 12;
  for (int i = 0; i < PLAYER_MAX; i++) {
    DBPlayer& db = s_aoDb[i];
    std::memset(&db, 0, sizeof(db));
    std::snprintf(db.szName, sizeof(db.szName), "Player %d", i);
    db.uSpeed = static_cast<std::uint8_t>(50 + i);
    db.uControl = 60;
    db.uPower = static_cast<std::uint8_t>(55 + i);
    db.uAccuracy = static_cast<std::uint8_t>(40 + 2 * i);
    db.iHeading = static_cast<std::int8_t>(45 + i);
    db.uAwareness = static_cast<std::uint8_t>(30 + 3 * i);
    db.uTackling = 50;
    db.iStamina = 70;
    db.uReactions = 65;
    db.uHandling = 75;
    db.uJudgement = 60;
    db.uDiving = 60;
    Player* pp = ById(i);
    *pp = Player{};
    pp->ID = static_cast<std::uint8_t>(i);
    pp->MyTeam = i < PLAYER_TEAM_SIZE ? player_PlaysFor_Home : player_PlaysFor_Away;
    pp->pDBPlayer = &db;
    int k = i % PLAYER_TEAM_SIZE;
    pp->pNext = k + 1 < PLAYER_TEAM_SIZE ? pp + 1 : nullptr;
    plyrInit_KickOffInit(pp, PLAYER_CONTROL_COMPUTER);
    pp->iInterceptEntry = -1;
    // Home attacks +x from its own half, away the other way; a loose grid.
    int s = pp->MyTeam == player_PlaysFor_Home ? -1 : 1;
    int x = k == 0 ? s * 9000 : s * (600 + 900 * ((k - 1) / 4) * 2);
    int y = k == 0 ? 0 : -3600 + 2400 * ((k - 1) % 4);
    Place(pp, x, y, pp->Direction == 1 ? 0 : 401);
  }
  match_HomeClubStateSet(0);
  match_AwayClubStateSet(1);
  ball_Init(&ball_oBall);
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  ball_oBall.iState = BALL_STATE_FREE;
  ball_iPathLength = 0;
  ball_iPathIndex = 0;
  ball_iStepCounter = 0;
  ball_OutcomeClear();
  chaser_Clear();
}
