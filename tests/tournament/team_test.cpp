// Match sides and the match record over real squads of the database:
// formation matching against a plain reference, swaps as a property test,
// suspensions by kind of game, shirt numbers, the squad hand-over and
// copy-back, chain walks and removals against a list model, the penalty taker.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "engine/formation.h"
#include "engine/player.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "tournament/dbindex.h"
#include "tournament/squad.h"
#include "tournament/tournament_services.h"
#include "tournament_env.h"

namespace {

std::vector<std::uint8_t> g_abBuffer(4 + 112 * TEAM_SQUADSIZE_MAX);

// Loads a team edition into a slot and hands it to the side.
MatchTeam* Side(std::int32_t iSide, std::int32_t iTeamId, std::int32_t iEdition) {
  const DBTeamEditions* t = dbteams_Find(iTeamId);
  EXPECT_NE(t, nullptr);
  SquadTeamRef ref{iTeamId, t->iNumber * DB_KEY_STEP};
  Squad* s = squadcache_Load(&ref, iEdition, iSide, g_abBuffer.data(), static_cast<std::int32_t>(g_abBuffer.size()));
  EXPECT_NE(s, nullptr);
  match_SquadBuffersPoint();
  if (iSide == 0) {
    match_HomeSquadSet(s);
    return match_HomeTeamGet();
  }
  match_AwaySquadSet(s);
  return match_AwayTeamGet();
}

std::vector<DBPlayer*> ListOf(DBPlayer* p) {
  std::vector<DBPlayer*> a;
  for (; p; p = p->poNext) a.push_back(p);
  return a;
}

std::int32_t SlotOf(const DBPlayer* p, std::int32_t iFormation) {
  if (!p->poSlot) return -1;
  return static_cast<std::int32_t>(p->poSlot - formation_RecordGet(iFormation));
}

// The five passes written plainly over copies of the starters.
std::vector<std::int32_t> ReferenceMatch(const std::vector<const DBPlayer*>& starters, std::int32_t f) {
  const FormationSlot* s = formation_RecordGet(f);
  std::vector<std::int32_t> slotOf(starters.size(), -1);
  std::vector<bool> filled(FORMATION_SLOTS, false);
  auto compatible = [](std::int32_t a, std::int32_t b) {
    if (a == b) return true;
    RolesCompat* pc = roles_CompatFind(a);
    for (int i = 0; pc && i < ROLES_COMPAT_ALTERNATIVES && pc->aiAlternative[i] != -1; i++)
      if (pc->aiAlternative[i] == b) return true;
    return false;
  };
  for (int pass = 0; pass < 5; pass++)
    for (int k = 0; k < FORMATION_SLOTS; k++) {
      if (filled[static_cast<size_t>(k)]) continue;
      for (size_t i = 0; i < starters.size(); i++) {
        if (slotOf[i] >= 0) continue;
        const std::int32_t pos = static_cast<std::int32_t>(starters[i]->auPosition[0]);
        const bool side = starters[i]->uSide == static_cast<std::uint32_t>(s[k].iSide);
        const bool ok = pass == 0   ? pos == s[k].iPosition && side
                        : pass == 1 ? pos == s[k].iPosition
                        : pass == 2 ? compatible(s[k].iPosition, pos) && side
                        : pass == 3 ? compatible(s[k].iPosition, pos)
                                    : true;
        if (!ok) continue;
        slotOf[i] = k;
        filled[static_cast<size_t>(k)] = true;
        break;
      }
    }
  return slotOf;
}

TEST(MatchTeams, MatchingAgreesWithAPlainReference) {
  global.eExtendedGameMode = GAME_MODE_HISTORY;
  std::mt19937 rng(12345);
  for (int seed = 0; seed < 40; seed++) {
    // A squad of seeded positions and sides.
    MatchTeam* t = match_HomeTeamGet();
    match_SquadBuffersPoint();
    t->iSquadSize = 18;
    for (int i = 0; i < 18; i++) {
      DBPlayer& p = t->MySquad[i];
      p = DBPlayer{};
      std::snprintf(p.szName, sizeof p.szName, "P%d", i);
      p.auPosition[0] = i == 0 ? 0u : static_cast<std::uint32_t>(rng() % 25);
      p.uSide = rng() % 3;
      p.uFlags = i < 11 ? DBPLAYER_FLAG_STARTER : i < 15 ? DBPLAYER_FLAG_BENCH : DBPLAYER_FLAG_RESERVE;
      p.uSkill53 = 70;
    }
    for (std::int32_t f = 0; f < FORMATION_MAX; f++) {
      std::vector<const DBPlayer*> starters;
      for (int i = 0; i < 11; i++) starters.push_back(&t->MySquad[i]);
      const std::vector<std::int32_t> expected = ReferenceMatch(starters, f);
      t->iFormation = -1;
      team_SetUp(f, t);
      for (int i = 0; i < 11; i++) EXPECT_EQ(SlotOf(&t->MySquad[i], f), expected[static_cast<size_t>(i)]) << seed << "/" << f;
      // The pitch list runs in slot order and the bench and reserves hold no slot.
      const std::vector<DBPlayer*> pitch = ListOf(t->poPitchList);
      ASSERT_EQ(pitch.size(), 11u);
      for (int k = 0; k < 11; k++) EXPECT_EQ(SlotOf(pitch[static_cast<size_t>(k)], f), k);
      for (DBPlayer* p : ListOf(t->poBenchList)) EXPECT_EQ(p->poSlot, nullptr);
      // Byte 53 = 70 gives 9 at 80, and 57 at 78.
      EXPECT_EQ(pitch[3]->uFitness80, 9u);
      EXPECT_EQ(pitch[3]->uFitness78, 57u);
      EXPECT_TRUE(dbplayer_InSquadGet(pitch[3]));
    }
  }
}

TEST(MatchTeams, EveryTeamEditionSetsUpAndFillsItsFormationInTheFirstPass) {
  global.eExtendedGameMode = GAME_MODE_HISTORY;
  int cChecked = 0;
  for (std::int32_t k = 0; k < dbteams_cTeams; k++) {
    const DBTeamEditions& e = dbteams_aTeams[k];
    for (std::int32_t ed = 0; ed < DB_EDITIONS; ed++) {
      if (!((e.uMask >> ed) & 1)) continue;
      MatchTeam* t = Side(0, e.iTeamId, ed);
      t->iFormation = -1;
      team_SetUp(e.aiFormation[ed], t);
      team_NumbersFromSlots(t);
      for (DBPlayer* p : ListOf(t->poPitchList)) {
        EXPECT_EQ(p->poSlot->iPosition, static_cast<std::int32_t>(p->auPosition[0]));
        EXPECT_EQ(p->poSlot->iSide, static_cast<std::int32_t>(p->uSide));
      }
      std::uint32_t u = TEAM_FIRST_BENCH_NUMBER;
      for (DBPlayer* p : ListOf(t->poBenchList)) EXPECT_EQ(p->uField88, u++);
      // Reserves continue the count only without a bench (outside the finals).
      for (DBPlayer* p : ListOf(t->poReserveList)) EXPECT_EQ(p->uField88, t->poBenchList ? 0u : u++);
      // Bench groups ascend.
      std::int32_t g = 0;
      for (DBPlayer* p : ListOf(t->poBenchList)) {
        EXPECT_GE(team_BenchGroupGet(static_cast<std::int32_t>(p->auPosition[0])), g);
        g = team_BenchGroupGet(static_cast<std::int32_t>(p->auPosition[0]));
      }
      EXPECT_EQ(static_cast<std::int32_t>(ListOf(t->poPitchList).size() + ListOf(t->poBenchList).size() +
                                          ListOf(t->poReserveList).size()),
                t->iSquadSize);
      cChecked++;
    }
  }
  EXPECT_GT(cChecked, 900);
  // A fresh squad set up with the side's last formation index (a second quick
  // match) still gets its slots.
  MatchTeam* t = Side(0, 144, 3);
  team_SetUp(5, t);
  t = Side(0, 144, 4);
  t->iFormation = 5;
  team_SetUp(5, t);
  EXPECT_EQ(ListOf(t->poPitchList).size(), 11u);
}

TEST(MatchTeams, SwapsKeepTheListsSound) {
  global.eExtendedGameMode = GAME_MODE_HISTORY;
  std::mt19937 rng(99);
  for (int round = 0; round < 20; round++) {
    MatchTeam* t = Side(0, 88, 9 + round % 2);
    team_SetUp(5, t);
    std::vector<DBPlayer*> all;
    for (DBPlayer* po : {t->poPitchList, t->poBenchList, t->poReserveList})
      for (DBPlayer* p : ListOf(po)) all.push_back(p);
    // Two bench players are suspended: they never come on.
    std::vector<DBPlayer*> bench = ListOf(t->poBenchList);
    dbplayer_SuspendedSet(bench[1], 1);
    dbplayer_SuspendedSet(bench[3], 1);
    for (int step = 0; step < 60; step++) {
      DBPlayer* a = all[rng() % all.size()];
      DBPlayer* b = all[rng() % all.size()];
      const bool aOn = team_IsOnPitch(t, a), bOn = team_IsOnPitch(t, b);
      const std::uint32_t fa = a->uFlags, fb = b->uFlags;
      const std::int32_t bSub = static_cast<std::int32_t>(rng() % 2);
      const std::int32_t r = team_PlayersSwap(t, a, b, bSub);
      const bool refused = a == b || (aOn && !bOn && dbplayer_SuspendedGet(b)) || (bOn && !aOn && dbplayer_SuspendedGet(a));
      EXPECT_EQ(r, refused ? 0 : 1);
      if (!refused) {
        EXPECT_EQ(team_IsOnPitch(t, a), bOn);
        EXPECT_EQ(team_IsOnPitch(t, b), aOn);
        if (!bSub) {
          EXPECT_EQ(a->uFlags & ~0x0000E000u & ~1u, fa & ~0x0000E000u & ~1u);
          EXPECT_EQ(a->uFlags & (0xE000u | 1u), fb & (0xE000u | 1u));
        } else if (aOn != bOn) {
          EXPECT_TRUE(dbplayer_SubstitutedGet(aOn ? a : b));
        }
      }
      // The lists partition the squad; the pitch holds eleven with distinct slots.
      std::multiset<DBPlayer*> seen;
      for (DBPlayer* po : {t->poPitchList, t->poBenchList, t->poReserveList})
        for (DBPlayer* p : ListOf(po)) seen.insert(p);
      ASSERT_EQ(seen, std::multiset<DBPlayer*>(all.begin(), all.end()));
      std::set<const FormationSlot*> slots;
      for (DBPlayer* p : ListOf(t->poPitchList)) {
        ASSERT_NE(p->poSlot, nullptr);
        slots.insert(p->poSlot);
        EXPECT_FALSE(dbplayer_SuspendedGet(p));
      }
      EXPECT_EQ(slots.size(), 11u);
      for (DBPlayer* po : {t->poBenchList, t->poReserveList})
        for (DBPlayer* p : ListOf(po)) EXPECT_EQ(p->poSlot, nullptr);
    }
  }
}

TEST(MatchTeams, ATeamSheetSwapSurvivesTheKickOff) {
  global.eExtendedGameMode = GAME_MODE_START_FRIENDLY;
  MatchTeam* home = Side(0, 144, 10);
  MatchTeam* away = Side(1, 72, 10);
  team_SetUp(5, home);
  team_FormationSave(home);
  team_SetUp(2, away);
  team_FormationSave(away);
  DBPlayer* out = ListOf(home->poPitchList)[6];
  DBPlayer* in = ListOf(home->poBenchList)[2];
  const FormationSlot* slot = out->poSlot;
  ASSERT_EQ(team_PlayersSwap(home, out, in, 0), 1);
  team_FormationSave(home);
  match_KickOffSetup();
  EXPECT_TRUE(team_IsOnPitch(home, in));
  EXPECT_FALSE(team_IsOnPitch(home, out));
  EXPECT_EQ(in->poSlot, slot);
  EXPECT_EQ(home->iFormation, 5);
  EXPECT_EQ(away->iFormation, 2);
  // Both sides are linked, one side in possession, opposite ends.
  EXPECT_EQ(match_HomeFirstPlayerGet(), &player_aHome[0]);
  EXPECT_EQ(player_aHome[6].pDBPlayer, in);
  EXPECT_EQ(match_HomeClubStateGet() + match_AwayClubStateGet(), 1);
  EXPECT_EQ(match_HomeClubStateGet(), match.HomeTeam.iPrevClubState);
  EXPECT_EQ(match.HomeTeam.KickOff + match.AwayTeam.KickOff, 1);
  EXPECT_EQ(match_HomeClubStateGet(), match_CoinTossGet() == 1 ? 0 : 1);
}

TEST(MatchTeams, SuspensionsByKindOfGame) {
  struct Row {
    GameMode eKind;
    bool bReplacementAvailable;
    bool bPlays;  // the suspended starter stays on the pitch
  };
  const Row rows[] = {{GAME_MODE_START_FRIENDLY, true, true},
                      {static_cast<GameMode>(74), true, true},
                      {GAME_MODE_HISTORY, true, false},
                      {GAME_MODE_HISTORY, false, true}};
  for (const Row& r : rows) {
    global.eExtendedGameMode = r.eKind;
    MatchTeam* t = Side(0, 76, 10);
    DBPlayer* susp = nullptr;
    for (int i = 0; i < t->iSquadSize; i++)
      if (dbplayer_StarterGet(&t->MySquad[i]) && t->MySquad[i].auPosition[0] == 4) susp = &t->MySquad[i];
    ASSERT_NE(susp, nullptr);
    dbplayer_SuspendedSet(susp, 1);
    dbplayer_InjuryDaySet(susp, -1);
    dbplayer_InjuryMonthSet(susp, 1);
    if (!r.bReplacementAvailable)
      for (int i = 0; i < t->iSquadSize; i++)
        if (!dbplayer_StarterGet(&t->MySquad[i])) dbplayer_SuspendedSet(&t->MySquad[i], 1);
    t->iFormation = -1;
    team_SetUp(12, t);
    EXPECT_EQ(team_IsOnPitch(t, susp), r.bPlays) << r.eKind;
    EXPECT_EQ(dbplayer_SuspendedGet(susp), !r.bPlays) << r.eKind;
    if (!r.bPlays) {
      // A compatible first-choice reserve came on in his place.
      DBPlayer* in = nullptr;
      for (DBPlayer* p : ListOf(t->poPitchList))
        if (!dbplayer_StarterGet(p)) in = p;
      ASSERT_NE(in, nullptr);
      EXPECT_TRUE(dbplayer_ReserveGet(in));
      EXPECT_TRUE(team_PositionCompatible(in->poSlot->iPosition, static_cast<std::int32_t>(in->auPosition[0])));
      EXPECT_EQ(susp->poSlot, nullptr);
      EXPECT_EQ(ListOf(t->poPitchList).size(), 11u);
    }
  }
}

TEST(MatchRecord, SquadHandOverAndCopyBack) {
  global.eExtendedGameMode = GAME_MODE_HISTORY;
  MatchTeam* t = Side(0, 82, 4);
  Squad* s = match_SquadGet(t);
  ASSERT_NE(s, nullptr);
  EXPECT_NE(t->MySquad, s->poFirstPlayer);
  EXPECT_EQ(t->iSquadSize, s->Size);
  EXPECT_EQ(match_TeamIdGet(t), 82);
  EXPECT_EQ(match_TeamYearGet(t), 4);
  EXPECT_STREQ(match_TeamNameGet(t), "Holland");
  // Names are found in pitch, bench and reserve order; an absent one is none.
  t->iFormation = -1;
  team_SetUp(dbteams_Find(82)->aiFormation[4], t);
  DBPlayer* last = ListOf(t->poReserveList).back();
  EXPECT_EQ(team_FirstNotInList(t, dbplayer_NameGet(last)), last);
  EXPECT_EQ(team_FirstNotInList(t, dbplayer_NameGet(t->poPitchList)), t->poPitchList);
  EXPECT_EQ(team_PlayerFindByName(t, "Nobody At All"), nullptr);
  // A card in the match touches the copy only, until the copy-back.
  dbplayer_RedCardAdd(&t->MySquad[5]);
  t->MySquad[5].poNext = &t->MySquad[6];
  EXPECT_EQ(dbplayer_CardStateGet(&s->poFirstPlayer[5]), 0u);
  match_SquadsCopyBack();
  EXPECT_EQ(dbplayer_CardStateGet(&s->poFirstPlayer[5]), DBPLAYER_CARD_SENT_OFF);
  EXPECT_EQ(s->poFirstPlayer[5].poNext, nullptr);
  EXPECT_STREQ(s->poFirstPlayer[5].szName, t->MySquad[5].szName);
  // A second hand-over of the same squad copies it again.
  match_HomeSquadSet(s);
  EXPECT_EQ(dbplayer_CardStateGet(&t->MySquad[5]), DBPLAYER_CARD_SENT_OFF);
  // No squad: size 0 and the buffer stays.
  DBPlayer* buffer = t->MySquad;
  match_HomeSquadSet(nullptr);
  EXPECT_EQ(t->iSquadSize, 0);
  EXPECT_EQ(t->MySquad, buffer);
  // 50 entries are accepted, 51 are not.
  std::vector<DBPlayer> many(51);
  squadcache_SlotSet("Many", 9, many.data(), 51, 3, 1);
  Squad* big = squadcache_SlotGet(1);
  EXPECT_EQ(big->Size, 50);
  match_AwaySquadSet(big);
  EXPECT_EQ(match_AwayTeamGet()->iSquadSize, 50);
  big->Size = 51;
  EXPECT_DEATH(match_AwaySquadSet(big), "pAwaySquad->Size <= TEAM_SQUADSIZE_MAX");
}

// A history hands the same squad to match after match, and the copy-back
// writes each match's records into it whole.
TEST(MatchRecord, TheNextMatchStartsWithNobodySubstitutedAndTheTournamentsCards) {
  global.eExtendedGameMode = GAME_MODE_HISTORY;
  MatchTeam* t = Side(0, 82, 4);
  Squad* s = match_SquadGet(t);
  t->iFormation = -1;
  team_SetUp(dbteams_Find(82)->aiFormation[4], t);
  DBPlayer* out = t->poPitchList->poNext;
  DBPlayer* in = t->poBenchList;
  ASSERT_NE(out, nullptr);
  ASSERT_NE(in, nullptr);
  const std::ptrdiff_t iOut = out - t->MySquad, iIn = in - t->MySquad;
  dbplayer_YellowCardAdd(out);
  ASSERT_EQ(team_PlayersSwap(t, out, in, 1), 1);
  ASSERT_TRUE(dbplayer_SubstitutedGet(out));
  match_SquadsCopyBack();
  EXPECT_TRUE(dbplayer_SubstitutedGet(&s->poFirstPlayer[iOut]));
  match_HomeSquadSet(s);
  for (std::int32_t i = 0; i < t->iSquadSize; i++) EXPECT_FALSE(dbplayer_SubstitutedGet(&t->MySquad[i])) << i;
  EXPECT_EQ(dbplayer_CardStateGet(&t->MySquad[iOut]), DBPLAYER_CARD_BOOKED);
  EXPECT_EQ(dbplayer_StarterGet(&t->MySquad[iOut]), dbplayer_StarterGet(&s->poFirstPlayer[iOut]));
  EXPECT_EQ(dbplayer_BenchGet(&t->MySquad[iIn]), dbplayer_BenchGet(&s->poFirstPlayer[iIn]));
  // Put on the bench for the next match, he is a substitute the side may use.
  t->iFormation = -1;
  team_SetUp(dbteams_Find(82)->aiFormation[4], t);
  DBPlayer* again = &t->MySquad[iOut];
  ASSERT_EQ(team_PlayersSwap(t, again, t->poBenchList, 0), 1);
  const std::vector<DBPlayer*> bench = ListOf(t->poBenchList);
  EXPECT_NE(std::find(bench.begin(), bench.end(), again), bench.end());
  EXPECT_FALSE(dbplayer_SubstitutedGet(again));
}

TEST(MatchRecord, ChainWalksAndRemovalsAgainstAListModel) {
  std::mt19937 rng(7);
  for (int round = 0; round < 30; round++) {
    team_PlayersInit();
    match.HomeTeam.poPlayers = &player_aHome[0];
    match.AwayTeam.poPlayers = round % 5 == 4 ? nullptr : &player_aAway[0];  // training: no away side
    for (int i = 0; i < PLAYER_TEAM_SIZE; i++) {
      player_aHome[i].pNext = i + 1 < PLAYER_TEAM_SIZE ? &player_aHome[i + 1] : nullptr;
      player_aAway[i].pNext = i + 1 < PLAYER_TEAM_SIZE ? &player_aAway[i + 1] : nullptr;
      player_aHome[i].MyTeam = player_PlaysFor_Home;
      player_aAway[i].MyTeam = player_PlaysFor_Away;
      player_aHome[i].Control = player_aAway[i].Control = PLAYER_CONTROL_COMPUTER;
    }
    match_aiRemovals[0] = match_aiRemovals[1] = 0;
    referee_NoSendOffsClear();
    std::vector<Player*> home, away;
    for (int i = 0; i < PLAYER_TEAM_SIZE; i++) home.push_back(&player_aHome[i]);
    if (match.AwayTeam.poPlayers)
      for (int i = 0; i < PLAYER_TEAM_SIZE; i++) away.push_back(&player_aAway[i]);
    int removedHome = 0;
    for (int k = 0; k < 8; k++) {
      const bool bHome = rng() % 2 || away.empty();
      Player* pp = bHome ? &player_aHome[rng() % 11] : &player_aAway[rng() % 11];
      std::vector<Player*>& model = bHome ? home : away;
      auto it = std::find(model.begin(), model.end(), pp);
      const bool bRemovable = it != model.end() && it != model.begin();
      match_PlayerRemove(pp);
      if (bRemovable) {
        model.erase(it);
        if (bHome) removedHome++;
      }
      std::vector<Player*> walk, expected = home;
      expected.insert(expected.end(), away.begin(), away.end());
      for (Player* p = match_HomeFirstPlayerGet(); p; p = match_NextPlayerGet(p)) walk.push_back(p);
      ASSERT_EQ(walk, expected);
      EXPECT_EQ(match_aiRemovals[0], removedHome);
    }
  }
  // The fourth removal of a side stops send-offs; the third does not.
  team_PlayersInit();
  match.HomeTeam.poPlayers = &player_aHome[0];
  player_aHome[10].pNext = nullptr;
  match_aiRemovals[0] = 0;
  referee_NoSendOffsClear();
  for (int i = 1; i <= 4; i++) match_PlayerRemove(&player_aHome[i]);
  EXPECT_EQ(match_aiRemovals[0], 4);
}

TEST(MatchRecord, AccessorsTable) {
  match.HomeGoals = 2;
  match.AwayGoals = 1;
  EXPECT_EQ(match_iGoalDifferenceGet(match_AwayTeamGet()), -1);
  EXPECT_EQ(match_iGoalDifferenceGet(match_HomeTeamGet()), 1);
  match.HomeTeam.poPlayers = &player_aHome[0];
  match.AwayTeam.poPlayers = &player_aAway[0];
  match_HomeClubStateSet(1);
  match_AwayClubStateSet(0);
  EXPECT_EQ(match_StateTeamFirstPlayerGet(), &player_aAway[0]);
  EXPECT_EQ(match_OtherTeamFirstPlayerGet(), &player_aHome[0]);
  EXPECT_DEATH(match_HomeClubStateSet(2), "HomeClubState < match_State_MaxStates");
  // Golden goal: the goal decides the match.
  referee_GoldenGoalSet(1);
  referee_MatchOverSet(0);
  match_AwayGoalScored();
  EXPECT_EQ(match.AwayGoals, 2);
  EXPECT_EQ(referee_MatchOverGet(), 1);
  referee_GoldenGoalSet(0);
  match_Clear();
  EXPECT_EQ(match.HomeGoals + match.AwayGoals, 0);
  EXPECT_EQ(match_HomeFirstPlayerGet(), nullptr);
  // Sides without squad players: nothing to restore, both linked; in
  // training only the home side, which starts in possession toward +x.
  match_SquadBuffersPoint();
  match_HomeSquadSet(nullptr);
  match_AwaySquadSet(nullptr);
  global.eExtendedGameMode = GAME_MODE_START_FRIENDLY;
  match_KickOffSetup();
  EXPECT_EQ(match_HomeFirstPlayerGet(), &player_aHome[0]);
  EXPECT_EQ(match_AwayFirstPlayerGet(), &player_aAway[0]);
  match_Clear();
  global.eExtendedGameMode = GAME_MODE_START_TRAINING;
  match_KickOffSetup();
  EXPECT_EQ(match_HomeFirstPlayerGet(), &player_aHome[0]);
  EXPECT_EQ(match_AwayFirstPlayerGet(), nullptr);
  EXPECT_EQ(match_HomeClubStateGet(), 0);
  EXPECT_EQ(match_AwayClubStateGet(), 1);
  EXPECT_EQ(match.HomeTeam.KickOff, 0);
  EXPECT_EQ(match.AwayTeam.KickOff, 1);
  EXPECT_EQ(match.HomeTeam.SubRequest + match.AwayTeam.SubRequest, 0);
  match_Clear();
}

TEST(MatchRecord, PenaltyTakers) {
  team_PlayersInit();
  match.HomeTeam.poPlayers = &player_aHome[0];
  static DBPlayer db[11];
  for (int i = 0; i < 11; i++) {
    db[i] = DBPlayer{};
    std::snprintf(db[i].szName, sizeof db[i].szName, "H%d", i);
    db[i].uPenaltyOrder = 11;
    db[i].uAccuracy = static_cast<std::uint8_t>(40 + i);
    player_aHome[i].pDBPlayer = &db[i];
    player_aHome[i].ID = static_cast<std::uint8_t>(i);
    player_aHome[i].MyTeam = player_PlaysFor_Home;
    player_aHome[i].pNext = i + 1 < 11 ? &player_aHome[i + 1] : nullptr;
  }
  db[0].uAccuracy = 250;  // the goalkeeper is never chosen
  EXPECT_EQ(dbplayer_poPenaltyTakerChoose(1, 0), &player_aHome[10]);  // best accuracy among order 11
  db[3].uPenaltyOrder = 2;
  db[3].uAccuracy = 255;
  db[5].uPenaltyOrder = 1;
  db[5].uAccuracy = 0;
  EXPECT_EQ(dbplayer_poPenaltyTakerChoose(1, 0), &player_aHome[5]);  // order 1 beats order 2
  db[7].uPenaltyOrder = 0;
  dbplayer_poPenaltyTakerChoose(1, 0);
  EXPECT_EQ(db[7].uPenaltyOrder, 11);  // 0 is stored back as 11
  // A shoot-out: ten outfield players, then the marks clear and it starts again.
  std::set<Player*> takers;
  for (int k = 0; k < 10; k++) takers.insert(dbplayer_poPenaltyTakerChoose(1, 1));
  EXPECT_EQ(takers.size(), 10u);
  EXPECT_EQ(takers.count(&player_aHome[0]), 0u);
  EXPECT_EQ(dbplayer_poPenaltyTakerChoose(1, 1), &player_aHome[5]);
  // Orders past 11 have no score above 0: the first outfield player takes it.
  for (int i = 1; i < 11; i++) db[i].uPenaltyOrder = 12;
  EXPECT_EQ(dbplayer_poPenaltyTakerChoose(1, 0), &player_aHome[1]);
}

}  // namespace

namespace {

TEST(MatchRecord, ScoreLineAndClockTexts) {
  match_SquadBuffersPoint();
  squadcache_Clear();
  std::vector<DBPlayer> one(1);
  squadcache_SlotSet("", 5, one.data(), 1, 10, 0);
  squadcache_SlotSet("", 72, one.data(), 1, 2, 1);
  match_HomeSquadSet(squadcache_SlotGet(0));
  match_AwaySquadSet(squadcache_SlotGet(1));
  match.HomeGoals = 3;
  match.AwayGoals = 12;
  char sz[96];
  match_ScoreLineFormat(sz, sizeof sz);
  EXPECT_STREQ(sz, "Papua N.G. 3 - 12 England");
  const std::int32_t table[][3] = {{0, 0, 0}, {81000, 45, 0}, {46 * 1800 + 10 * 30 + 29, 46, 10}, {216000, 120, 0}};
  for (auto& row : table) {
    clock_oClock.iClock = row[0];
    char szMin[8], szSec[8];
    match_ClockTextsFormat(szMin, szSec, sizeof szMin);
    char szMinWanted[8], szSecWanted[8];
    std::snprintf(szMinWanted, sizeof szMinWanted, "%02d", row[1]);
    std::snprintf(szSecWanted, sizeof szSecWanted, "%02d", row[2]);
    EXPECT_STREQ(szMin, szMinWanted);
    EXPECT_STREQ(szSec, szSecWanted);
  }
  match_Clear();
}

}  // namespace
