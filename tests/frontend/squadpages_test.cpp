// The history squad pages: how the pool splits into the two lists, the
// cursor and the scroll the lists share, swaps that keep the squad
// partitioned (and the ones the team refuses), the detail panel and its lock,
// and the hand-overs of the button page, through the team sheet's own steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "engine/player.h"
#include "engine/team.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhsquad.h"
#include "frontend/mtatics.h"
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

void Push(User* u, int code) {
  InputEvent* e = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&e));
  e->eEvent = code;
  queue_Append(&u->pip->oEvents, &e->oLink);
}

std::vector<std::string> Names(const ListControl& l) {
  std::vector<std::string> v;
  for (int i = 0; i < l.cNumListItems; i++) v.push_back(l.aoItems[i].szText);
  return v;
}

std::vector<const DBPlayer*> Order(DBPlayer* p) {
  std::vector<const DBPlayer*> v;
  for (; p; p = p->poNext) v.push_back(p);
  return v;
}

// A team of n hand-made players: 11 on the pitch, then b on the bench, the
// rest in reserve; player i is named "P<i>".
struct HandTeam {
  MatchTeam t{};
  std::vector<DBPlayer> players;
  HandTeam(int n, int b) : players(static_cast<size_t>(n)) {
    for (int i = 0; i < n; i++) {
      DBPlayer& p = players[static_cast<size_t>(i)];
      std::snprintf(p.szName, sizeof p.szName, "P%d", i);
      p.auPosition[0] = static_cast<std::uint8_t>(i % 25);
      p.uField88 = static_cast<std::uint32_t>(i);
      p.poNext = i + 1 < n && i != 10 && i != 10 + b ? &players[static_cast<size_t>(i + 1)] : nullptr;
    }
    t.poPitchList = n > 0 ? &players[0] : nullptr;
    t.poBenchList = b > 0 ? &players[11] : nullptr;
    t.poReserveList = n > 11 + b ? &players[static_cast<size_t>(11 + b)] : nullptr;
  }
};

class SquadPages : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    mlang_iLanguage = 0;
    for (int i = 0; i < USER_MAX; i++) {
      User& u = user_aUsers[i];
      u.pip = input_poGetPort(i);
      u.bActive = 0;
      u.MyTeam = 0;
      input_EventQueueFlush(&u.pip->oEvents);
    }
    user_ = &user_aUsers[0];
    user_->bActive = 1;
    user_->MyTeam = 1;
    global_SetHomeUser(user_);
    global_SetAwayUser(nullptr);
    match_SquadBuffersPoint();
    ASSERT_TRUE(matchflow_SideLoad(player_PlaysFor_Home, 144, 10));  // Brazil 1998
    team_ = match_HomeTeamGet();
    // The hub's "Choose Squad": side 0 edits the human team on the buttons.
    TacticsSide& s = mteam_aoSides[0];
    s.poTeamPlayerTeam = team_;
    s.iPage = MFHSQUAD_PAGE_BUTTONS;
    s.iSquadButton = 0;
    s.bDetailPanel = 0;
    mtatics_bHomeComplete = mtatics_bAwayComplete = 0;
    mfhnews_bPending = 0;
    mfhsquad_Reset();
    global_SetExtendedGameMode(static_cast<GameMode>(54));
    EffectsWatch();
  }
  void TearDown() override { global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY); }
  // The effects bank stands in with silent samples so that the last effect
  // played can be read back.
  void EffectsWatch() {
    if (!pcsound_SampleGet(&pcsound_oEffects, 3)) {
      if (QALInit(nullptr, 2097152, 1024) != QAL_OK) GTEST_SKIP() << "no audio library";
      pcsound_oEffects.soundCount = 8;
      pcsound_oEffects.sounds = new QALSound[8];
      std::vector<std::int16_t> pcm(64, 0);
      for (int i = 0; i < 8; ++i) {
        auto* s = new QALSample;
        ASSERT_EQ(QALSampleCreate(s, pcm.data(), static_cast<std::uint32_t>(pcm.size() * 2), 1, 16, 22050), 1);
        pcsound_oEffects.sounds[i].sample = s;
      }
    }
  }
  int LastEffect() {
    const int e = sfx_o.iLastEffect;
    sfx_o.iLastEffect = -1;
    return e;
  }
  int Frame(std::initializer_list<int> codes = {}) {
    for (int c : codes) Push(user_, c);
    global_SetGameMode(static_cast<GameMode>(MTATICS_MODE));
    pcframe_Begin();
    mtatics_Run();
    return global_eGetGameMode();
  }
  void Enter() {
    mtatics_bNeedsEnter = 1;
    Frame();
  }
  // 0 on the pitch, 1 on the bench, 2 in reserve.
  int Which(const DBPlayer* p) {
    int k = 0;
    for (DBPlayer* l : {team_->poPitchList, team_->poBenchList, team_->poReserveList}) {
      const auto v = Order(l);
      if (std::find(v.begin(), v.end(), p) != v.end()) return k;
      k++;
    }
    return -1;
  }
  std::set<const DBPlayer*> Pool() {
    std::set<const DBPlayer*> s;
    for (DBPlayer* l : {team_->poPitchList, team_->poBenchList, team_->poReserveList})
      for (auto* p : Order(l)) s.insert(p);
    return s;
  }
  User* user_ = nullptr;
  MatchTeam* team_ = nullptr;
};

TEST_F(SquadPages, ThePoolSplitsIntoTwoLists) {
  MFHSquadScreen& s = mfhsquad_oScreen;
  // Eleven players, no bench and no reserves: all on the left, none on the right.
  {
    HandTeam h(11, 0);
    mfhsquad_RowsFill(&h.t);
    EXPECT_EQ(s.cRows, 11);
    EXPECT_EQ(s.aoLists[0].cNumListItems, 11);
    EXPECT_EQ(s.aoLists[1].cNumListItems, 0);
  }
  struct Case {
    int n, bench;
    std::vector<int> left, right;  // the players' numbers in each list
  };
  auto range = [](int a, int b) {
    std::vector<int> v;
    for (int i = a; i <= b; i++) v.push_back(i);
    return v;
  };
  auto join = [](std::vector<int> a, std::vector<int> b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<Case> cases = {
      {16, 5, range(0, 10), range(11, 15)},
      {22, 5, range(0, 10), range(11, 21)},
      {23, 0, join(range(0, 10), {22}), range(11, 21)},  // no bench: the reserves follow the pitch
      {24, 7, join(range(0, 10), {22}), join(range(11, 21), {23})},
      {27, 7, join(range(0, 10), {22, 24, 26}), join(range(11, 21), {23, 25})},
      // Past 36 the pool stops.
      {40, 7, join(range(0, 10), {22, 24, 26, 28, 30, 32, 34}), join(range(11, 21), {23, 25, 27, 29, 31, 33, 35})},
  };
  for (const Case& c : cases) {
    HandTeam h(c.n, c.bench);
    mfhsquad_RowsFill(&h.t);
    EXPECT_EQ(s.cRows, std::min(c.n, 36)) << c.n;
    for (int k = 0; k < 2; k++) {
      const std::vector<int>& want = k ? c.right : c.left;
      ASSERT_EQ(s.aoLists[k].cNumListItems, static_cast<int>(want.size())) << c.n << " list " << k;
      for (size_t i = 0; i < want.size(); i++) {
        EXPECT_EQ(std::string(s.aoLists[k].aoItems[i].szText), "P" + std::to_string(want[i])) << c.n;
        EXPECT_EQ(s.aoLists[k].aoItems[i].iValue2, want[i]) << c.n;  // the shirt number as stored
        EXPECT_EQ(s.aoLists[k].aiSelect[i], want[i]) << c.n;
        EXPECT_EQ(mfhsquad_ListOfRow(want[i]), k);
      }
    }
  }
}

TEST_F(SquadPages, TheListsScrollTogetherAndTheCursorStaysInItsList) {
  HandTeam h(27, 7);  // 14 rows on the left, 13 on the right
  TacticsSide& ps = *mfhsquad_SideOf(&h.t);
  ASSERT_EQ(&ps, mtatdisp_Players);
  ps.iPage = MFHSQUAD_PAGE_LISTS;
  mfhsquad_CursorReset();
  mfhsquad_RowsFill(&h.t);
  MFHSquadScreen& s = mfhsquad_oScreen;
  for (int i = 0; i < 20; i++) mfhsquad_Move(&h.t, 9);
  EXPECT_EQ(ps.iCursorRow, 13);
  EXPECT_EQ(s.aoLists[0].iTop, 6);
  EXPECT_EQ(s.aoLists[1].iTop, 6);  // the right list follows the left
  // Row 13 is not in the right list: right does nothing.
  mfhsquad_Move(&h.t, 11);
  EXPECT_EQ(ps.iCursorList, 0);
  EXPECT_EQ(ps.bDetailPanel, 0);
  mfhsquad_Move(&h.t, 8);
  mfhsquad_Move(&h.t, 11);
  EXPECT_EQ(ps.iCursorList, 1);
  EXPECT_EQ(ps.iCursorRow, 12);
  mfhsquad_Move(&h.t, 9);
  EXPECT_EQ(ps.iCursorRow, 12);  // the end of the right list
  for (int i = 0; i < 12; i++) mfhsquad_Move(&h.t, 8);
  EXPECT_EQ(ps.iCursorRow, 0);
  EXPECT_EQ(s.aoLists[0].iTop, 0);
  EXPECT_EQ(s.aoLists[1].iTop, 0);
  mfhsquad_Move(&h.t, 8);
  EXPECT_EQ(ps.iCursorRow, 0);
  EXPECT_EQ(std::string(mfhsquad_PlayerFind(&h.t)->szName), "P11");
}

TEST_F(SquadPages, TheDetailPanelAndTheEditLock) {
  Enter();
  TacticsSide& ps = mteam_aoSides[0];
  ps.iPage = MFHSQUAD_PAGE_LISTS;
  // In the left list, left opens the panel in place of the right list.
  mfhsquad_Move(team_, 9);
  mfhsquad_Move(team_, 10);
  EXPECT_EQ(ps.bDetailPanel, 1);
  EXPECT_EQ(ps.poDetailPlayer, team_->poPitchList->poNext);
  mfhsquad_Move(team_, 9);
  EXPECT_EQ(ps.poDetailPlayer, team_->poPitchList->poNext->poNext);  // it follows the cursor
  // Right closes it first, then moves to the right list.
  mfhsquad_Move(team_, 11);
  EXPECT_EQ(ps.bDetailPanel, 0);
  EXPECT_EQ(ps.iCursorList, 0);
  mfhsquad_Move(team_, 11);
  EXPECT_EQ(ps.iCursorList, 1);
  mfhsquad_Move(team_, 11);
  EXPECT_EQ(ps.bDetailPanel, 1);
  EXPECT_EQ(ps.poDetailPlayer, mfhsquad_PlayerFind(team_));
  mfhsquad_Move(team_, 10);
  EXPECT_EQ(ps.bDetailPanel, 0);
  EXPECT_EQ(ps.iCursorList, 1);
  // While the team sheet's edit lock is set, left and right do nothing; up
  // and down still move.
  mtatics_bHomeComplete = 1;
  mfhsquad_Move(team_, 10);
  EXPECT_EQ(ps.iCursorList, 1);
  mfhsquad_Move(team_, 11);
  EXPECT_EQ(ps.bDetailPanel, 0);
  mfhsquad_Move(team_, 8);
  EXPECT_EQ(ps.iCursorRow, 1);
  mtatics_bHomeComplete = 0;
  mfhsquad_Move(team_, 10);
  EXPECT_EQ(ps.iCursorList, 0);
}

TEST_F(SquadPages, SwapsKeepTheSquadPartitioned) {
  Enter();
  TacticsSide& ps = mteam_aoSides[0];
  ps.iPage = MFHSQUAD_PAGE_LISTS;
  const std::set<const DBPlayer*> all = Pool();
  const int b = team_BenchCount(team_), r = team_ReserveCount(team_);
  ASSERT_GT(r, 0);
  std::mt19937 rng(11);
  std::int32_t eNext = MTATICS_MODE;
  for (int k = 0; k < 40; k++) {
    DBPlayer* picked[2];
    int was[2];
    for (int i = 0; i < 2; i++) {
      ps.iCursorList = static_cast<int>(rng() % 2);
      ps.iCursorRow = static_cast<int>(rng() % static_cast<unsigned>(mfhsquad_oScreen.aoLists[ps.iCursorList].cNumListItems));
      picked[i] = mfhsquad_PlayerFind(team_);
      was[i] = Which(picked[i]);
      mfhsquad_Select(team_, &eNext);
    }
    EXPECT_EQ(ps.iMarkedRow, -1);
    EXPECT_EQ(ps.MySub1DBPlayer, nullptr);
    ASSERT_EQ(Order(team_->poPitchList).size(), 11u);
    ASSERT_EQ(team_BenchCount(team_), b);
    ASSERT_EQ(team_ReserveCount(team_), r);
    ASSERT_EQ(Pool(), all);
    // The refilled rows follow the team's lists: pitch, bench, reserves.
    std::vector<const DBPlayer*> order = Order(team_->poPitchList);
    for (auto* p : Order(team_->poBenchList)) order.push_back(p);
    for (auto* p : Order(team_->poReserveList)) order.push_back(p);
    for (int row = 0; row < mfhsquad_oScreen.cRows; row++) {
      const ListControl& l = mfhsquad_oScreen.aoLists[mfhsquad_ListOfRow(row)];
      const auto it = std::find(l.aiSelect, l.aiSelect + l.cNumListItems, row);
      ASSERT_NE(it, l.aiSelect + l.cNumListItems);
      EXPECT_STREQ(l.aoItems[it - l.aiSelect].szText, dbplayer_NameGet(order[static_cast<size_t>(row)]));
    }
    // The two players changed lists (a player with himself stays).
    EXPECT_EQ(Which(picked[0]), was[1]);
    EXPECT_EQ(Which(picked[1]), was[0]);
  }
  EXPECT_EQ(eNext, MTATICS_MODE);
  EXPECT_EQ(team_->iSavedFormation, team_->iFormation);
}

TEST_F(SquadPages, TheSameRowTwiceChangesNothingAndARefusedSwapSounds) {
  Enter();
  TacticsSide& ps = mteam_aoSides[0];
  ps.iPage = MFHSQUAD_PAGE_LISTS;
  const auto before = std::make_pair(Names(mfhsquad_oScreen.aoLists[0]), Names(mfhsquad_oScreen.aoLists[1]));
  const auto pitch = Order(team_->poPitchList);
  std::int32_t eNext = MTATICS_MODE;
  ps.iCursorList = 1;
  ps.iCursorRow = 3;
  mfhsquad_Select(team_, &eNext);
  EXPECT_EQ(ps.iMarkedRow, 3);
  EXPECT_EQ(ps.iMarkedList, 1);
  EXPECT_EQ(LastEffect(), 1);
  mfhsquad_Select(team_, &eNext);
  EXPECT_EQ(LastEffect(), 1);
  EXPECT_EQ(ps.iMarkedRow, -1);
  EXPECT_EQ(std::make_pair(Names(mfhsquad_oScreen.aoLists[0]), Names(mfhsquad_oScreen.aoLists[1])), before);
  EXPECT_EQ(Order(team_->poPitchList), pitch);
  // A suspended reserve cannot come onto the pitch: the team refuses, effect 3.
  DBPlayer* sus = team_->poReserveList;
  dbplayer_SuspendedSet(sus, 1);
  const int row = 11 + team_BenchCount(team_);
  ps.iCursorList = mfhsquad_ListOfRow(row);
  ps.iCursorRow = row < 22 ? row - 11 * ps.iCursorList : 11 + (row - 22) / 2;
  ASSERT_EQ(mfhsquad_PlayerFind(team_), sus);
  mfhsquad_Select(team_, &eNext);
  ps.iCursorList = 0;
  ps.iCursorRow = 4;
  mfhsquad_Select(team_, &eNext);
  EXPECT_EQ(LastEffect(), 3);
  EXPECT_EQ(ps.iMarkedRow, -1);
  EXPECT_FALSE(team_IsOnPitch(team_, sus));
  EXPECT_EQ(Order(team_->poPitchList), pitch);
  dbplayer_SuspendedSet(sus, 0);
}

TEST_F(SquadPages, TheButtonsAndTheWayBackThroughTheTeamSheet) {
  Enter();
  TacticsSide& ps = mteam_aoSides[0];
  EXPECT_EQ(ps.iPage, MFHSQUAD_PAGE_BUTTONS);
  EXPECT_EQ(mfhsquad_oScreen.bDrawn, 1);
  const int pool = std::min(11 + team_BenchCount(team_) + team_ReserveCount(team_), 36);
  EXPECT_EQ(mfhsquad_oScreen.cRows, pool);
  // Up and down do nothing on the buttons; right chooses "Exit", left "Change Squad".
  Frame({9, 8, 11});
  EXPECT_EQ(ps.iSquadButton, 1);
  EXPECT_EQ(ps.iCursorRow, 0);
  Frame({10});
  EXPECT_EQ(ps.iSquadButton, 0);
  // "Change Squad" opens the lists; back returns to the buttons.
  EXPECT_EQ(Frame({37}), MTATICS_MODE);
  EXPECT_EQ(ps.iPage, MFHSQUAD_PAGE_LISTS);
  Frame({9, 9, 11});
  EXPECT_EQ(ps.iCursorRow, 2);
  EXPECT_EQ(ps.iCursorList, 1);
  EXPECT_EQ(Frame({38}), MTATICS_MODE);
  EXPECT_EQ(ps.iPage, MFHSQUAD_PAGE_BUTTONS);
  // "Exit": the hub, its year state to take up again.
  mfhmain_bYearLoaded = 0;
  EXPECT_EQ(Frame({11, 37}), 47);
  EXPECT_EQ(global_eGetExtendedGameMode(), 47);
  EXPECT_EQ(mfhmain_bYearLoaded, 1);
  EXPECT_EQ(mtatics_bNeedsEnter, 1);
  // Back on the buttons leaves too; with news waiting, for the news.
  global_SetExtendedGameMode(static_cast<GameMode>(54));
  Enter();
  EXPECT_EQ(ps.iCursorRow, 0);
  mfhnews_bPending = 1;
  mfhnews_bArrived = 0;
  EXPECT_EQ(Frame({38}), GAME_MODE_NEWS);
  EXPECT_EQ(mfhnews_bArrived, 1);
  mfhnews_bPending = 0;
}

}  // namespace
