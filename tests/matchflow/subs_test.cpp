// Substitutions and the computer manager over Brazil and Italy of 1970:
// pairs chosen on the bench (swaps, the keeper, suspended and booked
// players, the queue's limit), the bench's limit and cursors, the menu and
// formation cursors, the spare's walk-on and the change the script makes;
// the manager against a set clock and score.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../engine/engine_env.h"
#include "engine/cpuman.h"
#include "engine/formation.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/team.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/mformation.h"
#include "matchflow/subs.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "tournament/dbplayer.h"

namespace {

class Subs : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetupFromSquads();
    subs_Reset();
    cpuman_Arm();
    for (MatchTeam* t : {Home(), Away()}) t->iSubsAllowed = TEAM_SUBS_AT_START;
    match.HomeGoals = match.AwayGoals = 0;
    clock_oClock.iClock = 0;
    global_ResetGameModeStack();
    global_GameModePush(nullptr, GAME_MODE_PLAY, nullptr);
    global_GameModeTransition();
  }
  void TearDown() override { global_ResetGameModeStack(); }
  static MatchTeam* Home() { return match_HomeTeamGet(); }
  static MatchTeam* Away() { return match_AwayTeamGet(); }
  static DBPlayer* Pitch(MatchTeam* t, int i) {
    DBPlayer* p = t->poPitchList;
    while (i-- > 0 && p) p = p->poNext;
    return p;
  }
  static DBPlayer* Bench(MatchTeam* t, int i) {
    DBPlayer* p = t->poBenchList;
    while (i-- > 0 && p) p = p->poNext;
    return p;
  }
  static std::vector<DBPlayer*> List(DBPlayer* p) {
    std::vector<DBPlayer*> v;
    for (; p; p = p->poNext) v.push_back(p);
    return v;
  }
  static int ChainLength(MatchTeam* t) {
    int n = 0;
    for (Player* pp = t->poPlayers; pp; pp = pp->pNext) n++;
    return n;
  }
  static Player* RecordOf(MatchTeam* t, const DBPlayer* p) {
    for (Player* pp = t->poPlayers; pp; pp = pp->pNext)
      if (pp->pDBPlayer == p) return pp;
    return nullptr;
  }
  static void MinuteSet(int m) { clock_oClock.iClock = m * CLOCK_UNITS_PER_MINUTE + 10; }
};

TEST_F(Subs, PairsChosenOnTheBench) {
  MatchTeam* t = Home();
  ASSERT_GE(team_BenchCount(t), 5);
  // Two outfield players on the pitch change places and roles; no
  // substitution is used.
  DBPlayer* a = Pitch(t, 3);
  DBPlayer* b = Pitch(t, 8);
  Player* pa = RecordOf(t, a);
  Player* pb = RecordOf(t, b);
  const RoleRecord ra = pa->oRole, rb = pb->oRole;
  const FormationSlot* sa = a->poSlot;
  EXPECT_EQ(subs_Queue(t, a, b), 0);
  EXPECT_EQ(b->poSlot, sa);
  EXPECT_EQ(Pitch(t, 3), b);
  EXPECT_EQ(Pitch(t, 8), a);
  EXPECT_EQ(pa->oRole.iAttackTree, rb.iAttackTree);
  EXPECT_EQ(pb->oRole.iAttackTree, ra.iAttackTree);
  EXPECT_EQ(t->iSubsAllowed, 3);
  EXPECT_EQ(subs_QueuedCount(), 0);

  // The goalkeeper's record with anyone changes nothing.
  const std::vector<DBPlayer*> pitch = List(t->poPitchList), bench = List(t->poBenchList);
  DBPlayer* keeper = t->poPlayers->pDBPlayer;
  EXPECT_EQ(subs_Queue(t, keeper, Pitch(t, 5)), 0);
  EXPECT_EQ(subs_Queue(t, Bench(t, 0), keeper), 0);
  EXPECT_EQ(List(t->poPitchList), pitch);
  EXPECT_EQ(List(t->poBenchList), bench);

  // A suspended bench player never comes on: the lists stay as they are.
  DBPlayer* susp = Bench(t, 1);
  dbplayer_SuspendedSet(susp, 1);
  EXPECT_EQ(subs_Queue(t, Pitch(t, 4), susp), 0);
  EXPECT_EQ(List(t->poPitchList), pitch);
  EXPECT_EQ(List(t->poBenchList), bench);
  EXPECT_EQ(t->iSubsAllowed, 3);

  // Two bench players: nothing.
  EXPECT_EQ(subs_Queue(t, Bench(t, 0), Bench(t, 2)), 0);
  EXPECT_EQ(subs_QueuedCount(), 0);
}

TEST_F(Subs, ABookedPlayerTakenOffIsSuspended) {
  MatchTeam* t = Home();
  DBPlayer* out = Pitch(t, 6);
  DBPlayer* in = Bench(t, 0);
  Player* po = RecordOf(t, out);
  // Booked in this match: the card is on his record and the booking waits.
  dbplayer_YellowCardAdd(out);
  po->iCardState = 1;
  ASSERT_EQ(subs_Queue(t, out, in), 1);
  EXPECT_TRUE(dbplayer_SuspendedGet(out));
  EXPECT_TRUE(dbplayer_SuspensionChangedGet(out));
  EXPECT_EQ(dbplayer_InjuryDayGet(out), -1);
  EXPECT_EQ(dbplayer_InjuryMonthGet(out), 1);
  EXPECT_EQ(po->iCardState, 0);
  // Queued: the lists exchange him for the substitute, one substitution used.
  EXPECT_EQ(Pitch(t, 6), in);
  EXPECT_TRUE(dbplayer_SubstitutedGet(out));
  EXPECT_EQ(t->iSubsAllowed, 2);
  EXPECT_EQ(subs_QueuedCount(), 1);
  EXPECT_EQ(subs_PendingPlayerGet(), po);
  // An unbooked player leaves without a card.
  DBPlayer* out2 = Pitch(t, 7);
  ASSERT_EQ(subs_Queue(t, out2, Bench(t, 1)), 1);
  EXPECT_FALSE(dbplayer_SuspendedGet(out2));
  // The one already leaving cannot be chosen again.
  EXPECT_EQ(subs_Queue(t, in, Bench(t, 2)), 0);
}

TEST_F(Subs, TheQueueHoldsFiveAndTheSideItsAllowance) {
  for (MatchTeam* t : {Home(), Away()}) t->iSubsAllowed = 9;
  int queued = 0;
  for (int i = 0; i < 3; i++) queued += subs_Queue(Home(), Pitch(Home(), 2 + i), Bench(Home(), i));
  for (int i = 0; i < 2; i++) queued += subs_Queue(Away(), Pitch(Away(), 2 + i), Bench(Away(), i));
  EXPECT_EQ(queued, 5);
  // The sixth choice is ignored and changes nothing.
  const std::vector<DBPlayer*> pitch = List(Away()->poPitchList);
  EXPECT_EQ(subs_Queue(Away(), Pitch(Away(), 6), Bench(Away(), 3)), 0);
  EXPECT_EQ(List(Away()->poPitchList), pitch);
  EXPECT_EQ(Away()->iSubsAllowed, 7);
  EXPECT_EQ(subs_QueuedCount(), 5);

  // A side with none left queues nothing.
  subs_Reset();
  Home()->iSubsAllowed = 0;
  EXPECT_EQ(subs_Queue(Home(), Pitch(Home(), 2), Bench(Home(), 4)), 0);
}

TEST_F(Subs, TheBenchOpensWithTheSmallerLimit) {
  MatchTeam* t = Home();
  const int free = team_BenchCount(t);
  ASSERT_GT(free, 3);
  t->SubRequest = 1;
  subs_BenchEnter();
  EXPECT_EQ(subs_oState.oBench.poTeam, t);
  EXPECT_EQ(subs_oState.oBench.poPitchCursor, t->poPitchList);
  // Seven on the bench do not give seven substitutions.
  EXPECT_EQ(t->iSubsAllowed, 3);
  // With all but two suspended or already used, two are left.
  int n = 0;
  for (DBPlayer* p = t->poBenchList; p; p = p->poNext, n++)
    if (n >= 2) n % 2 ? dbplayer_SuspendedSet(p, 1) : dbplayer_SubstitutedSet(p, 1);
  subs_BenchEnter();
  EXPECT_EQ(t->iSubsAllowed, 2);
  // The away side's request opens its bench when the home side has none.
  t->SubRequest = 0;
  Away()->SubRequest = 1;
  subs_BenchEnter();
  EXPECT_EQ(subs_oState.oBench.poTeam, Away());
}

TEST_F(Subs, BenchCursorsSkipUsedAndSuspendedAndWrap) {
  MatchTeam* t = Home();
  t->SubRequest = 1;
  const int nBench = team_BenchCount(t);
  ASSERT_GE(nBench, 5);
  dbplayer_SuspendedSet(Bench(t, 1), 1);
  dbplayer_SubstitutedSet(Bench(t, 2), 1);
  subs_BenchEnter();
  SubsBench& b = subs_oState.oBench;
  // The on-pitch column wraps at both ends.
  subs_BenchEvent(8);
  EXPECT_EQ(b.poPitchCursor, Pitch(t, 10));
  EXPECT_EQ(b.iRow, 10);
  subs_BenchEvent(9);
  EXPECT_EQ(b.poPitchCursor, Pitch(t, 0));
  // Across to the bench at row 0; down skips rows 1 and 2.
  subs_BenchEvent(11);
  EXPECT_EQ(b.poPitchCursor, nullptr);
  EXPECT_EQ(b.poBenchCursor, Bench(t, 0));
  subs_BenchEvent(9);
  EXPECT_EQ(b.poBenchCursor, Bench(t, 3));
  subs_BenchEvent(8);
  EXPECT_EQ(b.poBenchCursor, Bench(t, 0));
  // Up from the first wraps to the last.
  subs_BenchEvent(8);
  EXPECT_EQ(b.poBenchCursor, Bench(t, nBench - 1));
  // Back to the pitch at the same row.
  subs_BenchEvent(10);
  EXPECT_EQ(b.poPitchCursor, Pitch(t, nBench - 1));
  // Across from row 1 lands on the first free entry at or after it.
  subs_BenchEvent(9);
  while (b.iRow != 1) subs_BenchEvent(9);
  subs_BenchEvent(11);
  EXPECT_EQ(b.poBenchCursor, Bench(t, 3));
  // Row 10 is past the bench: the cursor stays on the pitch.
  subs_BenchEvent(10);
  while (b.iRow != 10) subs_BenchEvent(9);
  subs_BenchEvent(11);
  EXPECT_EQ(b.poPitchCursor, Pitch(t, 10));
  EXPECT_EQ(b.iRow, nBench - 1);

  // Choosing: a pitch player, then a bench player, queues a substitution.
  while (b.poPitchCursor != Pitch(t, 9)) subs_BenchEvent(9);
  DBPlayer* out = b.poPitchCursor;
  subs_BenchEvent(6);
  EXPECT_EQ(b.iDepth, 1);
  EXPECT_EQ(b.poFirst, out);
  subs_BenchEvent(7);  // back clears the first choice
  EXPECT_EQ(b.poFirst, nullptr);
  subs_BenchEvent(6);
  b.iRow = 0;
  subs_BenchEvent(11);
  DBPlayer* in = b.poBenchCursor;
  subs_BenchEvent(6);
  EXPECT_EQ(b.iDepth, 0);
  EXPECT_EQ(subs_QueuedCount(), 1);
  EXPECT_EQ(Pitch(t, 9), in);
  // Details toggle.
  subs_BenchEvent(61);
  EXPECT_EQ(b.bDetails, 1);
}

TEST_F(Subs, MenuAndFormationCursorsAtTheirEnds) {
  Home()->SubRequest = 1;
  subs_Mode67Enter();
  EXPECT_EQ(subs_oState.iMenuCursor, 0);
  subs_MenuEvent(8);
  EXPECT_EQ(subs_oState.iMenuCursor, 2);
  subs_MenuEvent(9);
  EXPECT_EQ(subs_oState.iMenuCursor, 0);
  subs_MenuEvent(8);
  subs_MenuEvent(8);
  subs_MenuEvent(9);
  EXPECT_EQ(subs_oState.iMenuCursor, 2);

  mformation_Enter();
  MformationState& f = mformation_oState;
  EXPECT_EQ(f.poTeam, Home());
  EXPECT_EQ(f.iCursor, Home()->iFormation);
  f.iCursor = 15;
  mformation_Event(11);
  EXPECT_EQ(f.iCursor, 15);
  mformation_Event(10);
  EXPECT_EQ(f.iCursor, 5);
  mformation_Event(11);
  EXPECT_EQ(f.iCursor, 15);
  f.iCursor = 9;
  mformation_Event(11);
  EXPECT_EQ(f.iCursor, 18);
  f.iCursor = 3;
  mformation_Event(10);
  EXPECT_EQ(f.iCursor, 3);
  // Up from 0 and Select in one tick apply formation 18, inside the table.
  f.iCursor = 0;
  mformation_Event(8);
  mformation_Event(6);
  EXPECT_EQ(Home()->iFormation, 18);
  mformation_Event(9);
  EXPECT_EQ(f.iCursor, 0);
  // Every player took the position of his new slot.
  for (Player* pp = Home()->poPlayers; pp; pp = pp->pNext) {
    ASSERT_NE(pp->pDBPlayer->poSlot, nullptr);
    EXPECT_EQ(pp->PositionCode, pp->pDBPlayer->poSlot->iPosition);
  }
}

TEST_F(Subs, StartInTheFormationChangeLeavesBothScreens) {
  Home()->SubRequest = 1;
  global_GameModePush(subs_Mode67Enter, static_cast<GameMode>(67), nullptr);
  global_GameModeTransition();
  subs_MenuEvent(8);  // Formation
  subs_MenuEvent(6);
  global_GameModeTransition();
  ASSERT_EQ(global_eGetGameMode(), 61);
  mformation_Event(5);
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  EXPECT_EQ(Home()->SubRequest, 0);
  EXPECT_EQ(subs_bIsPending(), 0);
}

TEST_F(Subs, TheOtherSidesRequestBringsTheMenuBack) {
  Home()->SubRequest = 1;
  Away()->SubRequest = 1;
  global_GameModePush(subs_Mode67Enter, static_cast<GameMode>(67), subs_Mode67Check);
  global_GameModeTransition();
  subs_MenuEvent(5);  // the home side resumes
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 67);
  global_GameModeTransition();
  subs_MenuEvent(6);  // the away side resumes
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  EXPECT_EQ(subs_bIsPending(), 0);
}

TEST_F(Subs, AUserSubstitutionFromTheMenuThroughTheBenchAndBack) {
  MatchTeam* t = Home();
  t->SubRequest = 1;
  global_GameModePush(subs_Mode67Enter, static_cast<GameMode>(67), subs_Mode67Check);
  global_GameModeTransition();
  subs_MenuEvent(9);  // Substitution
  subs_MenuEvent(6);
  global_GameModeTransition();
  ASSERT_EQ(global_eGetGameMode(), 59);
  SubsBench& b = subs_oState.oBench;
  while (b.poPitchCursor != Pitch(t, 3)) subs_BenchEvent(9);
  Player* poOut = RecordOf(t, Pitch(t, 3));
  subs_BenchEvent(6);
  subs_BenchEvent(11);
  DBPlayer* in = b.poBenchCursor;
  subs_BenchEvent(6);
  ASSERT_EQ(subs_QueuedCount(), 1);
  // Start: the substitution script runs over the bench.
  subs_BenchEvent(5);
  global_GameModeTransition();
  ASSERT_EQ(global_eGetGameMode(), GAME_MODE_SET_PIECE_SCRIPT);
  EXPECT_EQ(global.aStack[global.iStackPointer - 2].eMode, 59);
  ASSERT_NE(subs_SparePlayerGet(), nullptr);
  EXPECT_EQ(ChainLength(t), 12);
  // The script's change, then its end: the bench comes back.
  subs_Apply(subs_SparePlayerGet(), subs_PendingPlayerGet());
  EXPECT_EQ(poOut->pDBPlayer, in);
  global_GameModePopRequest();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 59);
  EXPECT_EQ(b.poTeam, t);
  EXPECT_EQ(t->iSubsAllowed, 2);
  // Start leaves the bench, Resume the menu; play goes on.
  subs_BenchEvent(5);
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 67);
  subs_MenuEvent(6);  // the cursor is back on Resume Match
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  EXPECT_EQ(subs_bIsPending(), 0);
  EXPECT_EQ(ChainLength(t), 11);
}

// What the menu, the bench and the formation change put in the frame packet
// over a match at 640 x 480 (16-pixel characters on the 640 x 240 overlay):
// every text on the screen and inside its panel, the panel beneath the texts,
// and the bench's two columns apart.
struct DrawnText {
  std::int32_t x0, y0, x1, y1;  // pixels
  std::int32_t iLayer;
};
struct Drawn {
  std::vector<DrawnText> aoText;
  std::int32_t aiPanel[4] = {9999, 9999, -1, -1};  // the largest box
  std::int32_t iPanelLayer = -1;
};

Drawn Collect() {
  Drawn o;
  std::int32_t iArea = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      if (i->uKind == PCFRAME_KIND_TEXT && i->pszText[0] != '\0') {
        const std::int32_t w = pctext_WidthGet(i->pszText);
        const std::int32_t x0 = i->aiCoord[3] == 2 ? i->aiCoord[0] - w / 2 : i->aiCoord[0];
        o.aoText.push_back({x0, i->aiCoord[1], x0 + w, i->aiCoord[1] + pctext_HeightGet(), l->iPriority});
      }
      if (i->uKind == PCFRAME_KIND_BOX) {
        const std::int32_t a = (i->aiCoord[2] - i->aiCoord[0]) * (i->aiCoord[3] - i->aiCoord[1]);
        if (a > iArea) {
          iArea = a;
          o.aiPanel[0] = i->aiCoord[0], o.aiPanel[1] = i->aiCoord[1], o.aiPanel[2] = i->aiCoord[2], o.aiPanel[3] = i->aiCoord[3];
          o.iPanelLayer = l->iPriority;
        }
      }
    }
  return o;
}

void ExpectInsideItsPanel(const Drawn& o, const char* pszWhat) {
  ASSERT_FALSE(o.aoText.empty()) << pszWhat;
  for (const DrawnText& t : o.aoText) {
    // The shadow copy lies one pixel right and down.
    EXPECT_GE(t.x0, o.aiPanel[0]) << pszWhat;
    EXPECT_GE(t.y0, o.aiPanel[1]) << pszWhat;
    EXPECT_LE(t.x1, o.aiPanel[2] + 1) << pszWhat;
    EXPECT_LE(t.y1, o.aiPanel[3] + 1) << pszWhat;
    EXPECT_LE(t.x1, 640 + 1) << pszWhat;
    EXPECT_LT(t.iLayer, o.iPanelLayer) << pszWhat << ": the panel is drawn over its text";
  }
}

TEST_F(Subs, MenuBenchAndFormationPanelsHoldTheirTextsOnTheScreen) {
  const std::int32_t b3D = pctext_b3DTextMode;
  pctext_b3DTextMode = 1;
  pcfe_ScaleSet(640, 240, 640, 480);
  pcframe_Init();
  MatchTeam* t = Home();
  t->SubRequest = 1;
  subs_Mode67Enter();
  pcframe_Begin();
  subs_MenuDraw();
  ExpectInsideItsPanel(Collect(), "menu");

  subs_BenchEnter();
  pcframe_Begin();
  subs_BenchDraw();
  Drawn o = Collect();
  ExpectInsideItsPanel(o, "bench");
  // The on-pitch column ends before the bench column starts.
  std::int32_t iLeftEnd = 0, iRightStart = 9999;
  for (const DrawnText& d : o.aoText) {
    if (d.x0 < 320) iLeftEnd = std::max(iLeftEnd, d.x1);
    else iRightStart = std::min(iRightStart, d.x0);
  }
  EXPECT_LE(iLeftEnd, iRightStart);
  // With the attributes shown, their panel takes the other column's place.
  subs_BenchEvent(61);
  pcframe_Begin();
  subs_BenchDraw();
  o = Collect();
  for (const DrawnText& d : o.aoText) EXPECT_LE(d.x1, 640 + 1);

  mformation_Enter();
  pcframe_Begin();
  mformation_Draw();
  ExpectInsideItsPanel(Collect(), "formation");
  pcframe_Shutdown();
  pcfe_ScaleSet(512, 240, 640, 480);
  pctext_b3DTextMode = b3D;
}

// The formation change's diagram at 640 x 480: for every formation, chosen
// by either side, each of the eleven player markers lies on the pitch.
TEST_F(Subs, EveryFormationsMarkersStayOnTheDiagramsPitch) {
  pcfe_ScaleSet(640, 240, 640, 480);
  pcframe_Init();
  for (MatchTeam* t : {Home(), Away()}) {
    Home()->SubRequest = Away()->SubRequest = 0;
    t->SubRequest = 1;
    mformation_Enter();
    ASSERT_EQ(mformation_oState.poTeam, t);
    for (std::int32_t f = 0; f < FORMATION_MAX; f++) {
      SCOPED_TRACE("formation " + std::to_string(f) + (t == Home() ? ", home" : ", away"));
      mformation_oState.iCursor = f;
      pcframe_Begin();
      mformation_Draw();
      const DrawItem* poPitch = nullptr;
      std::vector<const DrawItem*> aoMarkers;
      for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
        for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
          if (i->uKind == PCFRAME_KIND_SHADED_BOX) poPitch = i;
          if (i->uKind == PCFRAME_KIND_TRIANGLE) aoMarkers.push_back(i);
        }
      ASSERT_NE(poPitch, nullptr);
      EXPECT_EQ(aoMarkers.size(), static_cast<std::size_t>(FORMATION_SLOTS));
      for (const DrawItem* m : aoMarkers)
        for (int v = 0; v < 3; v++) {
          const std::int32_t x = m->aiCoord[2 * v], y = m->aiCoord[2 * v + 1];
          EXPECT_GE(x, poPitch->aiCoord[0]) << "corner " << v << " at " << x << ", " << y;
          EXPECT_LE(x, poPitch->aiCoord[2]) << "corner " << v << " at " << x << ", " << y;
          EXPECT_GE(y, poPitch->aiCoord[1]) << "corner " << v << " at " << x << ", " << y;
          EXPECT_LE(y, poPitch->aiCoord[3]) << "corner " << v << " at " << x << ", " << y;
        }
    }
  }
  pcframe_Shutdown();
  pcfe_ScaleSet(512, 240, 640, 480);
}

// The texts of the packet drawn since the frame began.
std::vector<std::string> PacketTexts() {
  std::vector<std::string> a;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && i->pszText[0] != '\0') a.push_back(i->pszText);
  return a;
}

bool Drew(const std::vector<std::string>& a, const std::string& s) { return std::find(a.begin(), a.end(), s) != a.end(); }

// On Screen Text in French with the menus in English: the substitution menu,
// the bench's headings and its attribute panel speak French, as the pause
// menu does.
TEST_F(Subs, InAFrenchMatchTheMenuAndTheBenchSpeakFrench) {
  const std::int32_t b3D = pctext_b3DTextMode, iLanguage = mlang_iLanguage;
  pctext_b3DTextMode = 1;
  mlang_iLanguage = LANGUAGE_ENGLISH;
  gstatso_LanguageSet(LANGUAGE_FRENCH);
  pcframe_Init();
  Home()->SubRequest = 1;
  subs_Mode67Enter();
  pcframe_Begin();
  subs_MenuDraw();
  std::vector<std::string> a = PacketTexts();
  for (const char* psz : {"Reprendre le match", "Remplacement", "Formation"}) EXPECT_TRUE(Drew(a, psz)) << psz;
  EXPECT_FALSE(Drew(a, "Resume Match"));
  EXPECT_FALSE(Drew(a, "Substitution"));

  subs_BenchEnter();
  pcframe_Begin();
  subs_BenchDraw();
  a = PacketTexts();
  // "Équipe" and "Remplaçants", as the tables hold them (Latin-1).
  EXPECT_TRUE(Drew(a, "\xc9quipe"));
  EXPECT_TRUE(Drew(a, "Rempla\xe7" "ants"));
  subs_BenchEvent(61);  // the attribute panel of the keeper under the cursor
  pcframe_Begin();
  subs_BenchDraw();
  std::string sAll;
  for (const std::string& s : PacketTexts()) sAll += s + "|";
  EXPECT_NE(sAll.find("Vitesse "), std::string::npos) << sAll;
  EXPECT_NE(sAll.find("Plongeon "), std::string::npos) << sAll;
  EXPECT_EQ(sAll.find("Speed"), std::string::npos) << sAll;
  pcframe_Shutdown();
  gstatso_LanguageSet(-1);
  mlang_iLanguage = iLanguage;
  pctext_b3DTextMode = b3D;
}

TEST_F(Subs, TheSpareWalksOnAndTheScriptCarriesTheChangeOut) {
  MatchTeam* t = Home();
  GoalieObject* const gHome = player_aHome[0].pGoalie;
  GoalieObject* const gAway = player_aAway[0].pGoalie;
  const GoalieObject oAwayBefore = *gAway;
  // The keeper and an outfield player are changed.
  DBPlayer* keeperOut = t->poPlayers->pDBPlayer;
  DBPlayer* keeperIn = nullptr;
  for (DBPlayer* p = t->poBenchList; p; p = p->poNext)
    if (dbplayer_FirstPositionGet(p) == 0) keeperIn = p;
  ASSERT_NE(keeperIn, nullptr);
  Player* poKeeper = t->poPlayers;
  Player* poOut = RecordOf(t, Pitch(t, 5));
  DBPlayer* in = Bench(t, 0) == keeperIn ? Bench(t, 1) : Bench(t, 0);
  ASSERT_EQ(subs_Queue(t, Pitch(t, 5), in), 1);

  subs_WalkOnStage();
  Player* sp = subs_SparePlayerGet();
  ASSERT_NE(sp, nullptr);
  EXPECT_EQ(subs_oState.iSpareStagedId, 22);
  EXPECT_EQ(sp->ID, poOut->ID);
  EXPECT_EQ(sp->MyTeam, poOut->MyTeam);
  EXPECT_EQ(sp->Direction, poOut->Direction);
  EXPECT_EQ(sp->pDBPlayer, in);
  EXPECT_EQ(sp->x, SUBS_WALK_ON_X);
  EXPECT_EQ(sp->y, SUBS_WALK_ON_Y);
  EXPECT_EQ(sp->iSupportState, 4);
  EXPECT_EQ(poOut->iSupportState, 2);
  EXPECT_EQ(ChainLength(t), 12);
  EXPECT_EQ(ChainLength(Away()), 11);
  // Staging twice changes nothing.
  subs_WalkOnStage();
  EXPECT_EQ(ChainLength(t), 12);
  EXPECT_EQ(setp_poSubstituteGet(0), poOut);
  EXPECT_EQ(setp_poSubstituteGet(1), sp);

  sp->x = -100;
  subs_Apply(sp, subs_PendingPlayerGet());
  EXPECT_EQ(ChainLength(t), 11);
  EXPECT_EQ(ChainLength(Away()), 11);
  EXPECT_EQ(poOut->pDBPlayer, in);
  EXPECT_EQ(poOut->x, -100);
  EXPECT_EQ(poOut->y, 0);
  EXPECT_EQ(poOut->iSupportState, 1);
  EXPECT_EQ(poOut->PositionCode, in->poSlot->iPosition);
  EXPECT_EQ(subs_QueuedCount(), 0);
  EXPECT_EQ(subs_SparePlayerGet(), nullptr);
  EXPECT_EQ(setp_poSubstituteGet(0), nullptr);

  // A keeper's walk-on borrows the outgoing keeper's object: the other
  // keeper's object is untouched and both are told to move.
  // The keeper's record is never paired on the bench; the entry is set
  // up as the queue would.
  ASSERT_EQ(subs_Queue(t, keeperIn, keeperOut), 0);
  ASSERT_EQ(subs_QueueAdd(poKeeper, keeperIn), 1);
  team_PlayersSwap(t, keeperOut, keeperIn, 1);
  subs_WalkOnStage();
  sp = subs_SparePlayerGet();
  ASSERT_NE(sp, nullptr);
  EXPECT_EQ(subs_oState.iSpareStagedId, 23);
  EXPECT_EQ(sp->pGoalie, gHome);
  EXPECT_EQ(player_aHome[0].pGoalie, gHome);
  EXPECT_EQ(player_aAway[0].pGoalie, gAway);
  EXPECT_EQ(gAway->eState, oAwayBefore.eState);
  EXPECT_EQ(gAway->iSide, oAwayBefore.iSide);
  EXPECT_EQ(newgoalo_MoveFlagGet(gHome), 1);
  EXPECT_EQ(newgoalo_MoveFlagGet(gAway), 1);
  subs_Apply(sp, subs_PendingPlayerGet());
  EXPECT_EQ(poKeeper->pDBPlayer, keeperIn);
  EXPECT_EQ(poKeeper->x, poKeeper->Direction == 1 ? -9360 : 9360);
  EXPECT_EQ(ChainLength(t), 11);
}

// ---- The computer manager ------------------------------------------------------------------

TEST_F(Subs, ManagerWaitsForMinute55AndChangesOnceWhenLevelOrBehind) {
  MatchTeam* t = Away();
  const int from = t->iFormation;
  const std::int32_t* row = cpuman_RowFind(from);
  ASSERT_NE(row, nullptr);
  MinuteSet(55);
  cpuman_Update(t);
  EXPECT_EQ(t->iFormation, from);
  EXPECT_EQ(cpuman_bArmed(), 1);
  EXPECT_EQ(subs_QueuedCount(), 0);
  // Level at minute 56: kind 1.
  MinuteSet(56);
  cpuman_Update(t);
  EXPECT_EQ(cpuman_bArmed(), 0);
  EXPECT_EQ(t->iFormation, row[1]);
  EXPECT_GT(subs_QueuedCount(), 0);
  EXPECT_LT(t->iSubsAllowed, 3);
  // Outside the manager's mode the substitution script is pushed.
  EXPECT_EQ(global.aStack[global.iStackPointer - 1].eMode, GAME_MODE_SET_PIECE_SCRIPT);
  // Once per match.
  const int now = t->iFormation;
  const int queued = subs_QueuedCount();
  match.AwayGoals = 0;
  match.HomeGoals = 3;
  MinuteSet(70);
  cpuman_Update(t);
  cpuman_Update(Home());
  EXPECT_EQ(t->iFormation, now);
  EXPECT_EQ(subs_QueuedCount(), queued);
}

TEST_F(Subs, ManagerBehindBringsOnAttackers) {
  MatchTeam* t = Home();
  match.AwayGoals = 1;
  MinuteSet(60);
  const int from = t->iFormation;
  cpuman_Update(t);
  const std::int32_t* row = cpuman_RowFind(from);
  EXPECT_EQ(t->iFormation, row[1]);
  // The substitutes play the wanted positions or fit them.
  for (const SubsEntry& e : subs_oState.aQueue) {
    if (!e.poOut) continue;
    bool wanted = false;
    for (int i = 0; i < CPUMAN_ENTRIES; i++) {
      const std::int32_t* en = row + 2 + 3 * i;
      if (en[1] == 2)
        wanted = wanted || team_PositionCompatible(en[2], dbplayer_FirstPositionGet(e.poIn)) ||
                 dbplayer_FirstPositionGet(e.poIn) == en[2];
    }
    EXPECT_TRUE(wanted) << e.poIn->szName;
  }
}

TEST_F(Subs, ManagerAheadWaitsForMinute76) {
  MatchTeam* t = Home();
  const int from = t->iFormation;
  match.HomeGoals = 1;
  MinuteSet(60);
  cpuman_Update(t);
  EXPECT_EQ(t->iFormation, from);
  EXPECT_EQ(cpuman_bArmed(), 1);
  MinuteSet(75);
  cpuman_Update(t);
  EXPECT_EQ(cpuman_bArmed(), 1);
  // Level again at minute 80: no change in this kind.
  match.AwayGoals = 1;
  MinuteSet(80);
  cpuman_Update(t);
  EXPECT_EQ(cpuman_bArmed(), 1);
  EXPECT_EQ(t->iFormation, from);
  match.HomeGoals = 2;
  MinuteSet(76);
  cpuman_Update(t);
  EXPECT_EQ(cpuman_bArmed(), 0);
  EXPECT_EQ(t->iFormation, cpuman_RowFind(from)[1 + CPUMAN_KIND_WORDS]);
}

TEST_F(Subs, ManagerWithNoSubstitutionsLeftChangesOnlyTheFormation) {
  MatchTeam* t = Home();
  t->iSubsAllowed = 0;
  const std::vector<DBPlayer*> pitch = List(t->poPitchList);
  const int from = t->iFormation;
  MinuteSet(60);
  cpuman_Update(t);
  EXPECT_EQ(subs_QueuedCount(), 0);
  EXPECT_EQ(t->iFormation, cpuman_RowFind(from)[1]);
  std::vector<DBPlayer*> now = List(t->poPitchList);
  std::sort(now.begin(), now.end());
  std::vector<DBPlayer*> was = pitch;
  std::sort(was.begin(), was.end());
  EXPECT_EQ(now, was);
}

TEST_F(Subs, ManagerNeverLeavesFormation15NorChangesInTraining) {
  MatchTeam* t = Home();
  cpuman_TeamFormationSet(t, 15);
  MinuteSet(60);
  cpuman_Update(t);
  EXPECT_EQ(t->iFormation, 15);
  EXPECT_EQ(subs_QueuedCount(), 0);
  EXPECT_EQ(cpuman_RowFind(15), nullptr);
  EXPECT_EQ(cpuman_RowFind(19), nullptr);

  cpuman_Arm();
  cpuman_TeamFormationSet(t, 5);
  global_SetExtendedGameMode(GAME_MODE_START_TRAINING);
  cpuman_Update(t);
  global_SetExtendedGameMode(GAME_MODE_PLAY);
  EXPECT_EQ(t->iFormation, 5);
  EXPECT_EQ(subs_QueuedCount(), 0);
}

TEST_F(Subs, ManagersModeDecidesThenAppliesAndHandsOverToTheScript) {
  MatchTeam* t = Away();
  const int from = t->iFormation;
  MinuteSet(60);
  global_GameModePush(nullptr, GAME_MODE_CPU_SUBS, nullptr);
  global_GameModeTransition();
  ASSERT_EQ(global_eGetGameMode(), GAME_MODE_CPU_SUBS);
  // First frame: both computer sides decide; the formation waits.
  cpuman_ModeRun();
  global_GameModeTransition();
  EXPECT_EQ(cpuman_bArmed(), 0);
  MatchTeam* poPending = nullptr;
  std::int32_t iPending = -1;
  EXPECT_EQ(cpuman_PendingGet(&poPending, &iPending), 1);
  EXPECT_EQ(t->iFormation, from);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_CPU_SUBS);
  // Second frame: applied, and the substitution script takes the mode's place.
  cpuman_ModeRun();
  EXPECT_EQ(poPending->iFormation, iPending);
  ASSERT_GT(subs_QueuedCount(), 0);
  EXPECT_EQ(global.iStackPointer, 2);
  EXPECT_EQ(global.aStack[1].eMode, GAME_MODE_SET_PIECE_SCRIPT);
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_SET_PIECE_SCRIPT);
  EXPECT_NE(subs_SparePlayerGet(), nullptr);
}

TEST(Formation, PositionNamesByCode) {
  const int expect[25] = {1, 3, 2, 6, 4, 5, 9, 2, 2, 6, 4, 10, 2, 2, 11, 4, 4, 4, 6, 5, 5, 5, 5, 5, 12};
  for (int c = 0; c < 25; c++) EXPECT_EQ(formation_PositionStrIdGet(c), expect[c]) << c;
  EXPECT_EQ(formation_PositionStrIdGet(25), 8);
  EXPECT_EQ(formation_PositionStrIdGet(-1), 8);
}

}  // namespace
