// The team sheet over real squads: the list where the rows and headings
// stand, the cursor that never rests on a heading, swaps that keep the squad
// partitioned, the formation list's window, "Complete" for two players and
// the way back.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "engine/player.h"
#include "engine/team.h"
#include "frontend/frontend_services.h"
#include "frontend/mtatics.h"
#include "frontend/screen_tools.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "support/match_harness.h"
#include "tournament/dbplayer.h"

namespace mh = match_harness;

namespace {

void Push(User* u, int code) { FrontEndPushTo(u->pip, code); }

std::set<const DBPlayer*> List(DBPlayer* p) {
  std::set<const DBPlayer*> s;
  for (; p; p = p->poNext) s.insert(p);
  return s;
}

class TeamSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    mlang_iLanguage = 0;
    FrontEndUsersIdle();
    match_SquadBuffersPoint();
    ASSERT_TRUE(matchflow_SideLoad(player_PlaysFor_Home, 144, 10));  // Brazil 1998
    ASSERT_TRUE(matchflow_SideLoad(player_PlaysFor_Away, 72, 2));    // England 1966
    global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  }
  User* User_(int i, int side) {
    User* u = &user_aUsers[i];
    u->bActive = 1;
    u->MyTeam = side;
    if (side == 1) global_SetHomeUser(u);
    else global_SetAwayUser(u);
    return u;
  }
  int Frame(User* u = nullptr, std::initializer_list<int> codes = {}) {
    for (int c : codes) Push(u, c);
    global_SetGameMode(static_cast<GameMode>(MTATICS_MODE));
    pcframe_Begin();
    mtatics_Run();
    return global_eGetGameMode();
  }
  void Enter() {
    mtatics_bNeedsEnter = 1;
    Frame();
  }
};

TEST_F(TeamSheet, HeadingsStandWhereTheListPutsThem) {
  User_(0, 1);
  Enter();
  EXPECT_EQ(mtatics_bOneSheet, 1);
  EXPECT_EQ(mtatdisp_Players, &mteam_aoSides[0]);
  const TacticsSide& s = mteam_aoSides[0];
  MatchTeam* t = match_HomeTeamGet();
  const int b = team_BenchCount(t), r = team_ReserveCount(t);
  ASSERT_GT(b, 0);
  ASSERT_GT(r, 0);
  const int players = std::min(11 + b + r, 36);
  ASSERT_EQ(s.oList.cNumListItems, players + 2);
  for (int e = 0; e < s.oList.cNumListItems; e++) {
    const bool heading = e == 11 || e == 12 + b;
    EXPECT_EQ(s.oList.aoItems[e].iKind, heading ? 0 : 1) << e;
    EXPECT_EQ(s.oList.aiSelect[e] == LISTCTRL_SKIP, heading) << e;
  }
  EXPECT_STREQ(s.oList.aoItems[11].szText, "Subs");
  EXPECT_STREQ(s.oList.aoItems[12 + b].szText, "Squad");
  // Starters show their slot's position, the others their first preference;
  // the second value is the shirt number.
  EXPECT_EQ(s.oList.aoItems[0].iValue, dbplayer_CurrentPositionGet(t->poPitchList));
  EXPECT_EQ(s.oList.aoItems[12].iValue, dbplayer_FirstPositionGet(t->poBenchList));
  EXPECT_EQ(static_cast<std::uint32_t>(s.oList.aoItems[12].iValue2), dbplayer_Field88Get(t->poBenchList));
  EXPECT_STREQ(s.oList.aoItems[12].szText, dbplayer_NameGet(t->poBenchList));
}

TEST_F(TeamSheet, TheCursorNeverRestsOnAHeading) {
  User* u = User_(0, 1);
  Enter();
  const TacticsSide& s = mteam_aoSides[0];
  std::set<int> seen;
  for (int i = 0; i < 45; i++) {
    Frame(u, {9});
    ASSERT_NE(s.oList.aiSelect[s.oList.iCursor], LISTCTRL_SKIP) << i;
    EXPECT_EQ(s.iHighlightedPlayer, s.oList.aiSelect[s.oList.iCursor]);
    EXPECT_GE(s.oList.iCursor, s.oList.iTop);
    EXPECT_LE(s.oList.iCursor, s.oList.iBottom);
    seen.insert(s.iHighlightedPlayer);
  }
  EXPECT_EQ(static_cast<int>(seen.size()), s.oList.cNumListItems - 2 - 1);  // every player after the first
  for (int i = 0; i < 45; i++) {
    Frame(u, {8});
    ASSERT_NE(s.oList.aiSelect[s.oList.iCursor], LISTCTRL_SKIP) << i;
    EXPECT_EQ(s.iHighlightedPlayer, s.oList.aiSelect[s.oList.iCursor]);
  }
  EXPECT_EQ(s.iHighlightedPlayer, 0);
}

TEST_F(TeamSheet, SwapsKeepTheSquadPartitionedAndRefuseSuspendedPlayers) {
  User* u = User_(0, 1);
  Enter();
  MatchTeam* t = match_HomeTeamGet();
  const std::set<const DBPlayer*> all = [&] {
    std::set<const DBPlayer*> s = List(t->poPitchList);
    for (auto* p : List(t->poBenchList)) s.insert(p);
    for (auto* p : List(t->poReserveList)) s.insert(p);
    return s;
  }();
  const int b = team_BenchCount(t), r = team_ReserveCount(t);
  TacticsSide& s = mteam_aoSides[0];
  std::mt19937 rng(7);
  for (int k = 0; k < 40; k++) {
    const int n = s.oList.cNumListItems - 2;
    const int a = static_cast<int>(rng() % static_cast<unsigned>(n)), c = static_cast<int>(rng() % static_cast<unsigned>(n));
    s.iHighlightedPlayer = a;
    mtatics_PlayerPick(&s);
    s.iHighlightedPlayer = c;
    mtatics_PlayerPick(&s);
    EXPECT_EQ(s.poFirstChosen, nullptr);
    ASSERT_EQ(List(t->poPitchList).size(), 11u);
    ASSERT_EQ(team_BenchCount(t), b);
    ASSERT_EQ(team_ReserveCount(t), r);
    std::set<const DBPlayer*> now = List(t->poPitchList);
    for (auto* p : List(t->poBenchList)) now.insert(p);
    for (auto* p : List(t->poReserveList)) now.insert(p);
    ASSERT_EQ(now, all);
  }
  // A suspended reserve cannot be picked, so never brought onto the pitch.
  DBPlayer* sus = t->poReserveList;
  dbplayer_SuspendedSet(sus, 1);
  s.iHighlightedPlayer = 11 + b;
  ASSERT_EQ(mtatics_PlayerAt(t, s.iHighlightedPlayer), sus);
  mtatics_PlayerPick(&s);
  EXPECT_EQ(s.poFirstChosen, nullptr);
  s.iHighlightedPlayer = 3;
  mtatics_PlayerPick(&s);
  s.iHighlightedPlayer = 11 + b;
  mtatics_PlayerPick(&s);
  EXPECT_FALSE(team_IsOnPitch(t, sus));
  EXPECT_NE(s.poFirstChosen, nullptr);  // the first pick waits for a second
  // Back clears the pending swap and stays; a second back leaves for the map.
  EXPECT_EQ(Frame(u, {38}), MTATICS_MODE);
  EXPECT_EQ(s.poFirstChosen, nullptr);
  EXPECT_EQ(Frame(u, {38}), MTEAM_MODE);
  dbplayer_SuspendedSet(sus, 0);
}

TEST_F(TeamSheet, TheFormationListAndItsWindow) {
  User* u = User_(0, 1);
  team_FormationSetRaw(match_HomeTeamGet(), 17);
  Enter();
  TacticsSide& s = mteam_aoSides[0];
  EXPECT_EQ(s.iFormationFirst, 12);
  EXPECT_EQ(s.iFormationLast, 18);
  team_FormationSetRaw(match_HomeTeamGet(), 0);
  Enter();
  EXPECT_EQ(s.iFormationFirst, 0);
  EXPECT_EQ(s.iFormationLast, 6);
  Frame(u, {11});
  EXPECT_EQ(s.iCursorItem, MTATICS_FORMATIONS);
  Frame(u, {8});
  EXPECT_EQ(s.iHighlightedFormation, 0);
  for (int i = 0; i < 7; i++) Frame(u, {9});
  EXPECT_EQ(s.iHighlightedFormation, 7);
  EXPECT_EQ(s.iFormationFirst, 1);
  EXPECT_EQ(s.iFormationLast, 7);
  for (int i = 0; i < 20; i++) Frame(u, {9});
  EXPECT_EQ(s.iHighlightedFormation, 18);
  EXPECT_EQ(s.iFormationLast, 18);
  // Select applies it: the team is set up again for it.
  Frame(u, {8, 37});
  EXPECT_EQ(s.iCurrentFormation, 17);
  EXPECT_EQ(team_FormationGet(match_HomeTeamGet()), 17);
  EXPECT_EQ(s.iHighlightedPlayer, 0);
  // Back from the formation list returns to the squad list; left shows the attributes.
  Frame(u, {38});
  EXPECT_EQ(s.iCursorItem, MTATICS_LIST);
  Frame(u, {10});
  EXPECT_EQ(s.bAttributePanel, 1);
  Frame(u, {11});
  EXPECT_EQ(s.bAttributePanel, 0);
  EXPECT_EQ(s.iCursorItem, MTATICS_LIST);
  // The highlighted formation goes with the side to the conditions, unapplied.
  Frame(u, {11});
  Frame(u, {8});
  EXPECT_EQ(Frame(u, {56}), 20);
  EXPECT_EQ(team_FormationGet(match_HomeTeamGet()), 16);
}

TEST_F(TeamSheet, TwoPlayersEachConfirmTheirSheet) {
  User* h = User_(0, 1);
  User* a = User_(1, 2);
  Enter();
  EXPECT_EQ(mtatics_bOneSheet, 0);
  // The right-hand sheet is mirrored: left takes the away side to its formations.
  Frame(a, {10});
  EXPECT_EQ(mteam_aoSides[1].iCursorItem, MTATICS_FORMATIONS);
  Frame(a, {11});
  EXPECT_EQ(mteam_aoSides[1].iCursorItem, MTATICS_LIST);
  EXPECT_EQ(Frame(h, {56}), MTATICS_MODE);
  EXPECT_EQ(mtatics_bHomeComplete, 1);
  Frame(h, {9, 9});
  EXPECT_EQ(mteam_aoSides[0].iHighlightedPlayer, 0);  // a complete side is blocked
  Frame(h, {38});
  EXPECT_EQ(mtatics_bHomeComplete, 0);  // back undoes "Complete" first
  Frame(h, {9, 56});
  EXPECT_EQ(mteam_aoSides[0].iHighlightedPlayer, 1);
  EXPECT_EQ(Frame(a, {56}), 20);
  EXPECT_EQ(mtatics_bNeedsEnter, 1);
}

TEST_F(TeamSheet, AttributeBars) {
  EXPECT_EQ(mtatdisp_BarLength(65), 100);
  EXPECT_EQ(mtatdisp_BarLength(100), 200);
  EXPECT_EQ(mtatdisp_BarLength(255), 200);
  EXPECT_EQ(mtatdisp_BarLength(30), 0);
  EXPECT_EQ(mtatdisp_BarLength(12), 0);  // below 30: empty, not full
  EXPECT_EQ(mtatdisp_BarLength(31), 2);
}

}  // namespace
