// The history news screen: its scripts against a small reference interpreter
// of the code table over the real tournament, the injury and suspension
// pages built from marked players, and the results between two dates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_services.h"
#include "engine/team.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhnews.h"
#include "frontend/mfhrole.h"
#include "history_new.h"
#include "frontend/mhelp.h"
#include "frontend/mteam.h"
#include "frontend/mteam_conf.h"
#include "matchflow/injuryg.h"
#include "matchflow/matcha.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/dbindex.h"
#include "tournament/dbplayer.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/squad.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"
#include "frontend/mfhgroup.h"
#include "frontend/mtatics.h"
#include "frontend/wcqual.h"

namespace {

// The code table as a reader of the rules has it: the scripts and what each
// branch or hand-over does with the human team's flags.
const std::vector<std::vector<int>> kScripts = {
    {47, 40, 45, 31, 2, 3, 1, 5, 49},
    {42, 42, 32, 42, 42, 37, 47, 45, 31, 9, 11, 12, 10, 14, 49},
    {47, 6, 7, 23, 24, 25, 5, 8, 1, 49},
    {47, 15, 16, 23, 26, 27, 14, 17, 10, 49},
    {40, 47, 40, 28, 5, 36, 29, 47, 5, 36, 44, 41, 41, 43, 30},
    {40, 47, 40, 28, 5, 36, 42, 42, 32, 42, 42, 37, 46, 47, 45, 31, 9, 11, 12, 10, 14, 49},
    {41, 41, 29, 47, 14, 36, 41, 41, 47, 44, 43, 30},
    {41, 29, 48, 42, 42, 47, 41, 14, 36, 41, 41, 33, 44, 43, 30},
    {42, 42, 0, 38, 47, 40, 45, 31, 2, 3, 1, 5, 49},
    {42, 42, 32, 42, 42, 0, 42, 42, 38, 37, 47, 45, 31, 9, 11, 12, 10, 14, 49},
    {47, 40, 35, 42, 42, 47, 34, 39},
};

struct Ref {
  int iScript = 0;
  size_t iPos = 0;
  int iIntroYear = -1;
  // Walks from the current code to the next hand-over with the flags as they
  // are now; returns its mode (the script position moves past it).
  int NextHandOver() {
    const int h = tmglobal.iCurrentHuman;
    for (int guard = 0; guard < 200; guard++) {
      if (iPos >= kScripts[iScript].size()) return -1;
      const int c = kScripts[iScript][iPos++];
      switch (c) {
        case 24: if (tmgame_FailedToQualifyGet(h)) return Switch(MFHNEWS_FAILED, 77); break;
        case 25: if (tmgame_QualifiedGet(h)) return Switch(MFHNEWS_QUALIFIED, 76); break;
        case 26: if (tmgame_EliminatedGet(h)) return Switch(MFHNEWS_ELIMINATED, 78); break;
        case 27:
          if (tmgame_IsPlayed3rdPlacePO(h) || (tmglobal.bTournamentOver && !tmgame_EliminatedGet(h)))
            Switch(MFHNEWS_AFTER_FINAL, 0);
          break;
        case 30: Switch(tmglobal.bFinalsLoaded ? MFHNEWS_NEXT_FINALS : MFHNEWS_NEXT_QUALIFYING, 0); break;
        case 32:
          if (iIntroYear != tmglobal.iYear) {
            iIntroYear = tmglobal.iYear;
            return 79;
          }
          break;
        case 35: return 56;
        case 36: return 55;
        case 37: return 13;
        case 39: return 21;
        case 48: return 75;
        case 49: return 47;
        default: break;
      }
    }
    return -1;
  }
  int Switch(int iTo, int eMode) {
    iScript = iTo;
    iPos = 0;
    return eMode;
  }
};

void Push(int code) {
  InputEvent* e = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&e));
  e->eEvent = code;
  queue_Append(&input_poGetPort(0)->oEvents, &e->oLink);
}

void NewHistory(const char* pszTeam, std::int32_t iStartYear, std::int32_t bPlayQualifiers) {
  HistoryNew(pszTeam, iStartYear, bPlayQualifiers, 11);
  mfhnews_NewsReset();
  mfhnews_Reset();
  mfhnews_bArrived = 0;
  user_aUsers[0].bActive = 1;
  user_aUsers[0].pip = input_poGetPort(0);
  global_SetMenuUser(&user_aUsers[0]);
  input_EventQueueFlush(&input_poGetPort(0)->oEvents);
  global_SetGameMode(static_cast<GameMode>(MFHNEWS_MODE));
}

struct Visit {
  int eMode;
  std::vector<int> aiPages;  // pages shown (waiting for select) before it
};

// Runs the news, confirming every page, until it hands over; the screen
// handed to comes straight back with the arrival flag.
Visit RunToHandOver() {
  Visit v;
  for (int i = 0; i < 400; i++) {
    mfhnews_Run();
    const int e = global_eGetGameMode();
    if (e != MFHNEWS_MODE) {
      v.eMode = e;
      global_SetGameMode(static_cast<GameMode>(MFHNEWS_MODE));
      mfhnews_bArrived = 1;
      return v;
    }
    if (!mfhnews_oScreen.bBlocked && mfhnews_oScreen.iPage != 23 && mfhnews_oScreen.iPage != 43) {
      if (v.aiPages.empty() || v.aiPages.back() != mfhnews_oScreen.iPage) v.aiPages.push_back(mfhnews_oScreen.iPage);
      Push(37);
    }
  }
  v.eMode = -1;
  return v;
}

// Follows the screen and the reference together for n hand-overs.
void FollowHandOvers(Ref& ref, int n, std::vector<int>* paeModes) {
  for (int i = 0; i < n; i++) {
    const Visit v = RunToHandOver();
    const int eWant = ref.NextHandOver();
    ASSERT_EQ(v.eMode, eWant) << "hand-over " << i;
    paeModes->push_back(v.eMode);
    const int iScript = mfhnews_oScreen.iPendingScript >= 0 ? mfhnews_oScreen.iPendingScript : mfhnews_oScreen.iScript;
    EXPECT_EQ(iScript, ref.iScript) << "hand-over " << i;
    if (v.eMode == MFHMAIN_MODE) return;
  }
}

// The fixtures the frame lists: the "day.month" texts.
int ResultLinesDrawn() {
  int n = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext) {
      if (i->uKind != PCFRAME_KIND_TEXT) continue;
      int d = 0, m = 0;
      char c = 0;
      if (std::sscanf(i->pszText, "%d.%d%c", &d, &m, &c) == 2) n++;
    }
  return n;
}

// Played fixtures of the current year dated in [from, to).
int PlayedBetween(const int* from, const int* to) {
  int n = 0;
  auto Key = [](int d, int m, int y) { return y * 10000 + m * 100 + d; };
  for (Confederation* c = tmgame_CurrentYearGet()->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (Fixture* f = r->pFixtures; f; f = f->pNext) {
          const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
          if (!tmglobal_FixturePlayedGet(f) || !d) continue;
          const int k = Key(d->cDay, d->cMonth, d->cYear);
          if (k >= Key(from[0], from[1], from[2]) && k < Key(to[0], to[1], to[2])) n++;
        }
  return n;
}

void SimulateTo(int d, int m, int y) {
  global.iDay = d;
  global.iMonth = m;
  global.iYear = y;
  for (int i = 0; i < 400 && !tmgame_AreDueFixturesPlayed(tmgame_CurrentYearGet()); i++) tmgame_DaySimulate();
  global.iDay = d;
  global.iMonth = m;
  global.iYear = y;
}

// One frame of the results page (code 5 of the qualifying script).
void ResultsFrame() {
  mfhnews_oScreen.iScript = MFHNEWS_QUALIFYING;
  mfhnews_oScreen.iPos = 6;
  mfhnews_oScreen.iPendingScript = -1;
  mfhnews_oScreen.iFirstLine = 0;
  mfhnews_oScreen.iLastLine = 100000;  // every line drawn
  pcframe_Begin();
  mfhnews_Draw();
}

TEST(HistoryNews, ResultsBetweenTheLastTwoResultsPages) {
  NewHistory("ITA", 58, 1);
  mfhmain_HistoryBegin();
  const int a0[3] = {0, 0, 0}, a1[3] = {1, 9, 57}, a2[3] = {1, 11, 57};
  SimulateTo(1, 9, 57);
  ResultsFrame();
  ASSERT_GT(PlayedBetween(a0, a1), 0);
  EXPECT_EQ(ResultLinesDrawn(), PlayedBetween(a0, a1)) << "every result before the first page";
  EXPECT_EQ(mfhnews_oScreen.iPage, 5);
  SimulateTo(1, 11, 57);
  ResultsFrame();
  ASSERT_GT(PlayedBetween(a1, a2), 0);
  EXPECT_EQ(ResultLinesDrawn(), PlayedBetween(a1, a2));
  // The same date again: the same page.
  ResultsFrame();
  EXPECT_EQ(ResultLinesDrawn(), PlayedBetween(a1, a2));
  EXPECT_EQ(mfhnews_oMarkers.aiBefore[1], 9);
  EXPECT_EQ(mfhnews_oMarkers.aiLast[1], 11);
}

// The frame's texts drawn in one colour.
std::vector<std::string> TextsIn(int r, int g, int b) {
  std::vector<std::string> a;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && i->aRed[0] == r && i->aGreen[0] == g && i->aBlue[0] == b)
        a.emplace_back(i->pszText);
  return a;
}

// One frame of the draw page (code 1 of the qualifying start).
void DrawFrame(bool bFirst) {
  mfhnews_oScreen.iScript = MFHNEWS_START_QUALIFYING;
  mfhnews_oScreen.iPos = 6;
  mfhnews_oScreen.iPendingScript = -1;
  mfhnews_oScreen.bFirstFrame = bFirst ? 1 : 0;
  mfhnews_oScreen.iFirstLine = 0;
  mfhnews_oScreen.iLastLine = 100000;
  pcframe_Begin();
  mfhnews_Draw();
}

TEST(HistoryNews, TheDrawListsTheHumanTeamsRoundOnceInItsColour) {
  NewHistory("BRA", 58, 1);
  mfhmain_HistoryBegin();
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(tmgame_CurrentYearGet(), Id("BRA"), &r, &f));
  DrawFrame(true);
  ASSERT_EQ(mfhnews_oScreen.iPage, 1);
  const std::vector<std::string> aHuman = TextsIn(0, 185, 245);
  ASSERT_EQ(aHuman.size(), 1u);
  EXPECT_EQ(aHuman[0], tla_DisplayNameGet(static_cast<int>(Id("BRA"))));
  const std::vector<std::string> aRounds = TextsIn(255, 255, 0);
  ASSERT_FALSE(aRounds.empty());
  EXPECT_NE(std::find(aRounds.begin(), aRounds.end(), std::string(r->szLongName)), aRounds.end());
  EXPECT_GT(mfhnews_oScreen.cLines, 3);
  DrawFrame(false);
  EXPECT_EQ(mfhnews_oScreen.iPage, 1) << "the page stays while shown";
  // Shown again for the same round and group: it passes at once.
  DrawFrame(true);
  EXPECT_NE(mfhnews_oScreen.iPage, 1);
}

// The draw page in the news screen's own text window opens on the human
// team's group, though it lists the groups of its round from the first:
// Scotland, in the last of the nine UEFA groups of 1958, is shown with its
// group's title and its two opponents; the window stays within the page.
TEST(HistoryNews, TheDrawOpensOnTheHumanTeamsGroup) {
  NewHistory("SCO", 58, 1);
  mfhmain_HistoryBegin();
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(tmgame_CurrentYearGet(), Id("SCO"), &r, &f));
  for (bool bFirst : {true, false}) {
    SCOPED_TRACE(bFirst ? "first frame" : "next frame");
    mfhnews_oScreen.iScript = MFHNEWS_START_QUALIFYING;
    mfhnews_oScreen.iPos = 6;
    mfhnews_oScreen.iPendingScript = -1;
    mfhnews_oScreen.bFirstFrame = bFirst ? 1 : 0;
    if (bFirst) {
      mfhnews_oScreen.iFirstLine = 0;
      mfhnews_oScreen.iLastLine = MFHNEWS_WINDOW_LINES;
    }
    pcframe_Begin();
    mfhnews_Draw();
    ASSERT_EQ(mfhnews_oScreen.iPage, 1);
    EXPECT_EQ(TextsIn(0, 185, 245), std::vector<std::string>{tla_DisplayNameGet(static_cast<int>(Id("SCO")))});
    const std::vector<std::string> aOthers = TextsIn(255, 255, 255);
    for (const char* psz : {"ESP", "SUI"})
      EXPECT_NE(std::find(aOthers.begin(), aOthers.end(), std::string(tla_DisplayNameGet(static_cast<int>(Id(psz))))),
                aOthers.end())
          << psz;
    // The first group's teams are above the window.
    EXPECT_EQ(std::find(aOthers.begin(), aOthers.end(), std::string(tla_DisplayNameGet(static_cast<int>(Id("ENG"))))),
              aOthers.end());
    EXPECT_GT(mfhnews_oScreen.iFirstLine, 0);
    EXPECT_EQ(mfhnews_oScreen.iLastLine - mfhnews_oScreen.iFirstLine, MFHNEWS_WINDOW_LINES);
    EXPECT_LE(mfhnews_oScreen.iLastLine, mfhnews_oScreen.cLines);
  }
  // The whole page: each of the nine groups once, with its teams once.
  mfhnews_oScreen.bFirstFrame = 0;
  mfhnews_oScreen.iFirstLine = 0;
  mfhnews_oScreen.iLastLine = 100000;
  pcframe_Begin();
  mfhnews_Draw();
  const std::vector<std::string> aAll = TextsIn(255, 255, 255);
  for (const char* psz : {"ENG", "IRL", "FRA", "HUN", "YUG", "ESP", "SUI"})
    EXPECT_EQ(std::count(aAll.begin(), aAll.end(), std::string(tla_DisplayNameGet(static_cast<int>(Id(psz))))), 1)
        << psz;
  EXPECT_EQ(TextsIn(0, 185, 245).size(), 1u);
}

// The qualification page of a human team that has qualified, in every
// language: the team's name stands in its sentence where the text has its
// bracketed word, once, and no bracketed word is shown.
TEST(HistoryNews, TheQualificationPageNamesTheQualifiedTeamInItsSentence) {
  NewHistory("ITA", 58, 1);
  mfhmain_HistoryBegin();
  const int h = tmglobal.iCurrentHuman;
  tmgame_QualifiedSet(h, 1);
  for (int l : {LANGUAGE_ENGLISH, LANGUAGE_FRENCH, LANGUAGE_GERMAN, LANGUAGE_SPANISH, LANGUAGE_ITALIAN,
                LANGUAGE_PORTUGUESE}) {
    mlang_iLanguage = l;
    const std::string sTeam = tla_NameGet(static_cast<int>(Id("ITA")));  // in the language's own words
    mfhnews_oScreen.iScript = MFHNEWS_QUALIFYING;
    mfhnews_oScreen.iPos = 7;
    mfhnews_oScreen.iPendingScript = -1;
    mfhnews_oScreen.bFirstFrame = 1;
    pcframe_Begin();
    mfhnews_Draw();
    ASSERT_EQ(mfhnews_oScreen.iPage, 8) << l;
    const std::vector<std::string> a = TextsIn(255, 255, 255);
    std::vector<std::string> aNamed;
    for (const std::string& t : a) {
      EXPECT_EQ(t.find('['), std::string::npos) << l << ": " << t;
      if (t.find(sTeam) != std::string::npos) aNamed.push_back(t);
    }
    ASSERT_EQ(aNamed.size(), 1u) << l << ": " << sTeam;
    EXPECT_EQ(aNamed[0].rfind(sTeam, 0), 0u) << l << ": " << aNamed[0];
    EXPECT_EQ(aNamed[0].find(sTeam, 1), std::string::npos) << l << ": " << aNamed[0];
    EXPECT_GT(aNamed[0].size(), sTeam.size() + 10) << l << ": " << aNamed[0];
    if (l == LANGUAGE_ENGLISH) {
      EXPECT_EQ(aNamed[0], sTeam + " have qualified for the World Cup Finals");
    }
    // The French sentence agrees with "Italie", feminine singular.
    if (l == LANGUAGE_FRENCH) {
      EXPECT_EQ(aNamed[0], sTeam + " s'est qualifi\351e pour la phase finale de la Coupe du Monde");
    }
  }
  mlang_iLanguage = LANGUAGE_ENGLISH;
  tmgame_QualifiedSet(h, 0);
}

TEST(HistoryNews, TheScriptsTableHoldsTheReferenceScripts) {
  for (int s = 0; s < MFHNEWS_SCRIPTS; s++) {
    std::vector<int> a;
    for (int i = 0; mfhnews_aaScripts[s][i] >= 0; i++) a.push_back(mfhnews_aaScripts[s][i]);
    EXPECT_EQ(a, kScripts[s]) << "script " << s;
  }
}

TEST(HistoryNews, AHistoryWithQualifiersStartsTheQualifyingScript) {
  NewHistory("BRA", 58, 1);
  Ref ref;
  ref.iScript = MFHNEWS_START_QUALIFYING;
  std::vector<int> ae;
  const Visit v = RunToHandOver();
  EXPECT_EQ(mfhnews_oScreen.iScript, MFHNEWS_START_QUALIFYING);
  EXPECT_EQ(v.eMode, ref.NextHandOver());
  EXPECT_EQ(v.eMode, MFHMAIN_MODE);
  ASSERT_FALSE(v.aiPages.empty());
  EXPECT_EQ(v.aiPages.front(), 2) << "the qualifying rules first";
  EXPECT_EQ(tmglobal.bStarted, 1);
  // The date is the day before Brazil's first match, every fixture due by it played.
  EXPECT_EQ(tmgame_AreDueFixturesPlayed(tmgame_CurrentYearGet()), 1);
}

TEST(HistoryNews, PlayQualifiersOffStartsTheFinalsScript) {
  NewHistory("BRA", 58, 0);
  Ref ref;
  ref.iScript = MFHNEWS_START_FINALS;
  std::vector<int> ae;
  FollowHandOvers(ref, 6, &ae);
  EXPECT_EQ(ae, (std::vector<int>{WC_MODE_INTRO, MTATICS_MODE, MFHMAIN_MODE}));
  EXPECT_EQ(mfhnews_oMarkers.iIntroYear, 58);
  EXPECT_EQ(mfhnews_bPending, 0) << "the hub takes over";
}

TEST(HistoryNews, AFailedTeamGoesThroughFailedToItsNextEdition) {
  NewHistory("BRA", 58, 1);
  RunToHandOver();  // the start script, to the hub
  // Back after a match, out of the qualifiers.
  mfhnews_bArrived = 0;
  mfhnews_Reset();
  tmgame_FailedToQualifySet(0, 1);
  tmgame_FailedNewsSet(0, 1);
  Ref ref;
  ref.iScript = MFHNEWS_QUALIFYING;
  ref.iIntroYear = 58;
  mfhnews_oMarkers.iIntroYear = 58;
  std::vector<int> ae;
  FollowHandOvers(ref, 8, &ae);
  ASSERT_GE(ae.size(), 3u);
  EXPECT_EQ(ae[0], WC_MODE_NOT_QUALIFIED);
  EXPECT_EQ(ae[1], MFHGROUP_MODE);
  EXPECT_EQ(ae[2], MFHGROUP_MODE);
  EXPECT_EQ(tmglobal.iYear, 62) << "moved on to Brazil's next edition";
  EXPECT_EQ(tmgame_FailedToQualifyGet(0), 0);
}

// Code 43 of the Failed script after its nine frames, from edition e of a
// team; the roll of honour cleared first.
void NextEditionFrames(std::uint32_t Team, int iYear) {
  NewHistory("BRA", iYear, 1);
  tmglobal.aHumans[0].Name = Team;
  mfhmain_HistoryBegin();
  for (RollOfHonourEntry& r : tmglobal.aRoll) r = RollOfHonourEntry{};
  mfhnews_oScreen.iScript = MFHNEWS_FAILED;
  mfhnews_oScreen.iPos = 13;
  mfhnews_oScreen.iPendingScript = -1;
  mfhnews_oScreen.cFrames = 0;
  for (int i = 0; i < 9; i++) {
    mfhnews_Draw();
    EXPECT_EQ(tmglobal.iYear, iYear) << "frame " << i;
  }
  mfhnews_Draw();
}

bool SameEntry(const RollOfHonourEntry& a, const RollOfHonourEntry& b) {
  return a.Winner == b.Winner && a.RunnerUp == b.RunnerUp && a.Third == b.Third && a.Fourth == b.Fourth;
}

TEST(HistoryNews, SkippedEditionsGetTheDefaultRollOfHonour) {
  // The defaults, as the roll-of-honour module keeps them.
  for (RollOfHonourEntry& r : tmglobal.aRoll) r = RollOfHonourEntry{};
  tmmain_RollOfHonourDefaultsCopy(0, TM_EDITIONS - 1);
  RollOfHonourEntry aDefault[TM_EDITIONS];
  std::memcpy(aDefault, tmglobal.aRoll, sizeof aDefault);
  // A team in 1958 whose next edition is at least two later.
  std::uint32_t Team = 0;
  int eNext = 0;
  for (int i = 0; i < dbteams_cTeams && Team == 0; i++) {
    const DBTeamEditions& t = dbteams_aTeams[i];
    if (!(t.uMask & 1u)) continue;
    int n = 1;
    while (n <= 10 && !(t.uMask & (1u << n))) n++;
    if (n >= 3 && n <= 10) {
      Team = static_cast<std::uint32_t>(t.iTeamId);
      eNext = n;
    }
  }
  ASSERT_NE(Team, 0u);
  NextEditionFrames(Team, 58);
  EXPECT_EQ(tmglobal.iYear, 58 + 4 * eNext);
  for (int e = 1; e < eNext; e++) EXPECT_TRUE(SameEntry(tmglobal.aRoll[e], aDefault[e])) << "edition " << e;
  EXPECT_EQ(tmglobal.aRoll[eNext].Winner, 0u) << "the edition played is not filled in advance";
  EXPECT_EQ(mfhnews_oScreen.iPendingScript, -1);

  // With no later edition: every edition after it defaults and Over follows.
  NextEditionFrames(Id("BRA"), 98);
  EXPECT_EQ(tmglobal.iYear, 98);
  EXPECT_EQ(mfhmain_oScreen.bHistoryOver, 1);
  EXPECT_EQ(mfhnews_oScreen.iScript, MFHNEWS_OVER);
  EXPECT_EQ(mfhnews_oScreen.iNextMode, MFHROLE_MODE) << "the roll of honour";
  EXPECT_EQ(mfhrole_bFromNews, 1);
}

TEST(HistoryNews, AfterTheUnificationTheSquadChangesCompareWithTheOldTeamsSquad) {
  // Team 70 leaves 1990 and plays 1994 as team 80.
  NextEditionFrames(70, 90);
  ASSERT_EQ(tmglobal.iYear, 94);
  ASSERT_EQ(tmglobal.aHumans[0].Name, 80u);
  mfhnews_oScreen.iScript = MFHNEWS_NEXT_QUALIFYING;
  mfhnews_oScreen.iPos = 2;
  mfhnews_oScreen.iPendingScript = -1;
  mfhnews_oScreen.bFirstFrame = 1;
  mfhnews_oScreen.iFirstLine = 0;
  mfhnews_oScreen.iLastLine = 100000;
  pcframe_Begin();
  mfhnews_Draw();
  ASSERT_EQ(mfhnews_oScreen.iPage, 0);
  // The 1994 squad has new players and players of the 1990 squad have left.
  const std::vector<std::string> aHeads = TextsIn(255, 255, 0);
  EXPECT_NE(std::find(aHeads.begin(), aHeads.end(), festr_IDToStr(308)), aHeads.end());
  EXPECT_NE(std::find(aHeads.begin(), aHeads.end(), festr_IDToStr(310)), aHeads.end());
  const Squad* poNew = squadcache_SlotGet(0);
  ASSERT_NE(poNew, nullptr);
  EXPECT_EQ(poNew->iTeamId, 80);
  EXPECT_EQ(squadcache_SlotGet(1)->iTeamId, 70);
  EXPECT_EQ(squadcache_SlotGet(1)->iEdition, 8);
}

// ---- The human side between editions -------------------------------------------------

// Runs a script from a position in one frame, up to the page that waits.
void ScriptFrom(int iScript, int iPos) {
  MFHNewsScreen& s = mfhnews_oScreen;
  s.iScript = iScript;
  s.iPos = iPos;
  s.iPendingScript = -1;
  s.iNextMode = MFHNEWS_MODE;
  s.cFrames = 0;
  s.bFirstFrame = 1;
  mfhnews_Draw();
}

// The shirt numbers along the pitch, bench and reserve lists.
std::vector<int> Numbers(const MatchTeam* t) {
  std::vector<int> a;
  for (const DBPlayer* po : {t->poPitchList, t->poBenchList, t->poReserveList})
    for (const DBPlayer* p = po; p; p = p->poNext) a.push_back(static_cast<int>(p->uField88));
  return a;
}

// The numbers a side takes from its slots: the eleven their slots', the bench
// from 12, the reserves on from there in the finals or without a bench (0
// otherwise).
std::vector<int> SlotNumbers(const MatchTeam* t, bool bFinals) {
  std::vector<int> a;
  for (const DBPlayer* p = t->poPitchList; p; p = p->poNext) a.push_back(p->poSlot ? p->poSlot->iNumber : -1);
  int n = 12;
  for (const DBPlayer* p = t->poBenchList; p; p = p->poNext) a.push_back(n++);
  const bool bCount = bFinals || !t->poBenchList;
  for (const DBPlayer* p = t->poReserveList; p; p = p->poNext) a.push_back(bCount ? n++ : 0);
  return a;
}

TEST(HistoryNews, ANewEditionSetsUpTheHomeSideFromTheHumanTeamsNewSquad) {
  // England's 1958 match prepared, then its 1962 qualifiers, whose script
  // goes from the new squad to the rules page with no match prepared.
  NewHistory("ENG", 58, 1);
  mfhmain_HistoryBegin();
  ASSERT_TRUE(mfhmain_MatchPrepare(tmgame_CurrentYearGet(), 0, &tmglobal.aHumans[0]));
  ASSERT_EQ(mfhmain_NextEditionStart(), 1);
  ASSERT_EQ(tmglobal.iYear, 62);
  ASSERT_EQ(tmglobal.bFinalsLoaded, 0);
  ScriptFrom(MFHNEWS_NEXT_QUALIFYING, 3);
  EXPECT_EQ(mfhnews_oScreen.iNextMode, MFHNEWS_MODE);
  EXPECT_EQ(mfhnews_oScreen.iPage, 2);
  EXPECT_EQ(mfhmain_aiHumanEdition[0], 1);
  const MatchTeam* t = match_HomeTeamGet();
  ASSERT_NE(t->Squad, nullptr);
  EXPECT_EQ(t->Squad, squadcache_SlotGet(0));
  EXPECT_EQ(t->Squad->iTeamId, static_cast<std::int32_t>(Id("ENG")));
  EXPECT_EQ(t->Squad->iEdition, 1);
  EXPECT_EQ(t->iSquadSize, t->Squad->Size);
  // The old opponent is gone: no side holds a squad of another edition.
  EXPECT_EQ(match_AwayTeamGet()->Squad, nullptr);
  EXPECT_EQ(t->iFormation, mteam_FormationGet(mteam_FindConference(static_cast<std::int32_t>(Id("ENG"))), 1));
  EXPECT_EQ(t->iSavedFormation, t->iFormation);
  int cPitch = 0;
  for (const DBPlayer* p = t->poPitchList; p; p = p->poNext, cPitch++) {
    ASSERT_NE(p->poSlot, nullptr);
    EXPECT_EQ(p->poSavedSlot, p->poSlot);
  }
  EXPECT_EQ(cPitch, 11);
  EXPECT_EQ(Numbers(t), SlotNumbers(t, false));
  EXPECT_EQ(tmreport_CountGet(), 0);
}

TEST(HistoryNews, QualifyingNumbersTheHumanSideAsTheFinalsDo) {
  // Brazil in the 1970 finals, which have a bench.
  NewHistory("BRA", 70, 0);
  mfhmain_HistoryBegin();
  ASSERT_EQ(tmglobal_FinalsGet(), 1);
  ASSERT_TRUE(mfhmain_MatchPrepare(tmgame_CurrentYearGet(), 0, &tmglobal.aHumans[0]));
  MatchTeam* t = mfhmain_poMatchTeamGet(Id("BRA"));
  ASSERT_NE(t, nullptr);
  ASSERT_NE(t->poBenchList, nullptr);
  ASSERT_NE(t->poReserveList, nullptr);
  // Two starters change places on the board and a reserve comes into the
  // eleven; every number is wiped.
  DBPlayer* a = t->poPitchList->poNext;
  DBPlayer* b = a->poNext;
  std::swap(a->poSlot, b->poSlot);
  ASSERT_TRUE(team_PlayersSwap(t, b->poNext, t->poReserveList, 0));
  for (DBPlayer* po : {t->poPitchList, t->poBenchList, t->poReserveList})
    for (DBPlayer* p = po; p; p = p->poNext) p->uField88 = 0;
  const std::vector<int> want = SlotNumbers(t, true);
  std::vector<int> inOrder(want.size());
  for (std::size_t i = 0; i < inOrder.size(); i++) inOrder[i] = static_cast<int>(i) + 1;
  ASSERT_NE(want, inOrder) << "the slots' numbers are not the lists' order";
  ScriptFrom(MFHNEWS_QUALIFIED, 12);
  EXPECT_EQ(mfhnews_oScreen.iPage, 9) << "on to the qualifiers page";
  EXPECT_EQ(Numbers(t), want);
  EXPECT_EQ(tmreport_CountGet(), 0);
}

// ---- Injuries and suspensions -------------------------------------------------------

struct Lists {
  DBPlayer pitch[3]{}, bench[2]{}, reserve[1]{};
  void Link(MatchTeam* t) {
    auto Chain = [](DBPlayer* a, int n) {
      for (int i = 0; i + 1 < n; i++) a[i].poNext = &a[i + 1];
      return a;
    };
    t->poPitchList = Chain(pitch, 3);
    t->poBenchList = Chain(bench, 2);
    t->poReserveList = Chain(reserve, 1);
  }
};

void Name(DBPlayer* p, const char* psz) { std::snprintf(p->szName, sizeof p->szName, "%s", psz); }

void Injure(DBPlayer* p, int iType, int iDaysLeft) {
  dbplayer_InjuredSet(p, 1);
  dbplayer_InjuryChangedSet(p, 1);
  dbplayer_InjuryTypeSet(p, iType);
  // The end date iDaysLeft days after 1.3.90.
  int d = 1, m = 3, y = 90;
  for (int i = 0; i < iDaysLeft; i++) injuryg_DateNext(&d, &m, &y);
  dbplayer_InjuryDaySet(p, iType == 0 ? -1 : d);
  dbplayer_InjuryMonthSet(p, m);
  dbplayer_InjuryYearSet(p, y);
}

std::vector<std::string> Page(int bSuspensions) {
  MHelpEntry ao[MFHNEWS_PAGE_ENTRIES];
  char asz[MFHNEWS_PAGE_STRINGS][MFHNEWS_STRING_SIZE];
  int cStrings = 0;
  const int n = mfhnews_PlayerPageBuild(bSuspensions, ao, asz, &cStrings);
  std::vector<std::string> a;
  int s = 0;
  for (int i = 0; i < n; i++) {
    if (ao[i].iText == 1006) a.push_back(std::string("$") + asz[s++] + "/" + std::to_string(ao[i].iSpacing));
    else a.push_back(std::to_string(ao[i].iText) + "/" + std::to_string(ao[i].iSpacing));
  }
  EXPECT_EQ(s, cStrings);
  return a;
}

class NewsPlayers : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_[0] = *match_HomeTeamGet();
    saved_[1] = *match_AwayTeamGet();
    home_.Link(match_HomeTeamGet());
    away_.Link(match_AwayTeamGet());
    global.iDay = 1;
    global.iMonth = 3;
    global.iYear = 90;
  }
  void TearDown() override {
    *match_HomeTeamGet() = saved_[0];
    *match_AwayTeamGet() = saved_[1];
  }
  Lists home_, away_;
  MatchTeam saved_[2];
};

TEST_F(NewsPlayers, InjuriesInListOrderWithWeeksAndMonths) {
  Name(&away_.pitch[0], "Ahlberg");
  Injure(&away_.pitch[0], 3, 10);  // 13 / 7 = 1 week
  Name(&home_.reserve[0], "Berg");
  Injure(&home_.reserve[0], 6, 224);  // 32 weeks, 64 / 9 = 7 months
  Name(&home_.pitch[2], "Carlsson");
  Injure(&home_.pitch[2], 0, 0);  // out of the next game: no length
  Name(&home_.bench[1], "Dahl");
  Injure(&home_.bench[1], 7, 53);  // 56 / 7 = 8 weeks: 16 / 9 = 1 month
  Name(&away_.bench[0], "Ek");
  dbplayer_InjuryChangedSet(&away_.bench[0], 1);  // healed
  Name(&away_.reserve[0], "Falk");
  Injure(&away_.reserve[0], 2, 30);
  dbplayer_InjuryChangedSet(&away_.reserve[0], 0);  // injured but not news
  mlang_iLanguage = LANGUAGE_ENGLISH;
  const std::vector<std::string> want = {
      "$Carlsson has pulled out of the next game due to a slight injury. /2",
      "$Dahl has broken his ankle. /-1", "298/-1", "$1 months/2",
      "$Berg has broken his leg. /-1", "298/-1", "$7 months/2",
      "$Ahlberg has strained his groin. /-1", "296/-1", "$1 weeks/2",
      "$Ek has fully recovered from his injury and is available for selection. /2",
      "1007/0"};
  EXPECT_EQ(Page(0), want);
  // Laid out as the help module does: the name and the number in the
  // bracketed words' places.
  mfhnews_InjuriesPageDraw();
  const std::string sText = mhelp_szLayout;
  EXPECT_NE(sText.find("Carlsson has pulled out"), std::string::npos) << sText;
  EXPECT_NE(sText.find("He will be out for 7 months"), std::string::npos) << sText;
}

TEST_F(NewsPlayers, SuspensionsStartedAndServed) {
  Name(&home_.bench[0], "Gren");
  dbplayer_SuspendedSet(&home_.bench[0], 1);
  dbplayer_SuspensionChangedSet(&home_.bench[0], 1);
  Name(&away_.pitch[1], "Hed");
  dbplayer_SuspensionChangedSet(&away_.pitch[1], 1);
  Name(&away_.pitch[2], "Ivarsson");
  dbplayer_SuspendedSet(&away_.pitch[2], 1);  // not news
  mlang_iLanguage = LANGUAGE_ENGLISH;
  EXPECT_EQ(Page(1), (std::vector<std::string>{"$Gren is suspended for the next game/2", "$Hed returns from suspension/2",
                                               "1007/0"}));
}

TEST_F(NewsPlayers, AFullPageStopsBeforeAParagraphThatWouldNotFit) {
  // 40 long injuries: 3 entries and 2 strings each; 25 fit in 50 strings.
  static DBPlayer a[40]{};
  for (int i = 0; i < 40; i++) {
    a[i] = DBPlayer{};
    Name(&a[i], ("P" + std::to_string(i)).c_str());
    Injure(&a[i], 1, 20);
    a[i].poNext = i + 1 < 40 ? &a[i + 1] : nullptr;
  }
  match_HomeTeamGet()->poPitchList = a;
  const std::vector<std::string> p = Page(0);
  EXPECT_EQ(p.size(), 25u * 3 + 1);
  EXPECT_EQ(p.back(), "1007/0");
  EXPECT_EQ(p[p.size() - 4], "$P24 has a calf strain. /-1");
}

// The two pages' lines as the player reads them, in every language: built by
// the page's own builder and laid out by the help module on lines wide
// enough for a whole paragraph. Each paragraph is one line that begins with
// the player's name; no bracketed word is left, and each name is shown
// once. The length of an injury is its number and the word after it.
std::vector<std::string> PageLines(int bSuspensions) {
  MHelpEntry ao[MFHNEWS_PAGE_ENTRIES];
  char asz[MFHNEWS_PAGE_STRINGS][MFHNEWS_STRING_SIZE];
  int cStrings = 0;
  mfhnews_PlayerPageBuild(bSuspensions, ao, asz, &cStrings);
  const char* apsz[MFHNEWS_PAGE_STRINGS];
  for (int i = 0; i < cStrings; i++) apsz[i] = asz[i];
  const MHelpEntry* apoPages[1] = {ao};
  static char szOut[MHELP_LAYOUT_MAX];
  mhelp_Layout(apoPages, 1, apsz, cStrings, 1 << 20, [](std::uint8_t) { return 1; }, szOut, sizeof szOut);
  std::vector<std::string> a;
  std::string sLine;
  for (const char* p = szOut; *p != '\0'; ++p) {
    if (*p != '\n') sLine += *p;
    else if (!sLine.empty()) a.push_back(sLine), sLine.clear();
  }
  if (!sLine.empty()) a.push_back(sLine);
  return a;
}

int Occurrences(const std::string& s, const std::string& w) {
  int n = 0;
  for (std::size_t i = s.find(w); i != std::string::npos; i = s.find(w, i + 1)) n++;
  return n;
}

TEST_F(NewsPlayers, EveryLanguageNamesEachPlayerOnceInTheBracketedWordsPlace) {
  Name(&home_.pitch[0], "Lajos Feky");
  Injure(&home_.pitch[0], 0, 0);
  Name(&home_.pitch[1], "Ivo Marten");
  Injure(&home_.pitch[1], 5, 30);  // 33 / 7 = 4 weeks
  Name(&home_.bench[0], "Kalle Sund");
  Injure(&home_.bench[0], 6, 150);  // 21 weeks: 42 / 9 = 4 months
  Name(&away_.pitch[0], "Per Vik");
  dbplayer_InjuryChangedSet(&away_.pitch[0], 1);  // healed
  Name(&away_.bench[0], "Otto Brann");
  dbplayer_SuspendedSet(&away_.bench[0], 1);
  dbplayer_SuspensionChangedSet(&away_.bench[0], 1);
  Name(&away_.reserve[0], "Emil Dorn");
  dbplayer_SuspensionChangedSet(&away_.reserve[0], 1);  // served
  const std::vector<std::string> aInjured = {"Lajos Feky", "Ivo Marten", "Kalle Sund", "Per Vik"};
  const std::vector<std::string> aSuspended = {"Otto Brann", "Emil Dorn"};
  for (int l : {LANGUAGE_ENGLISH, LANGUAGE_FRENCH, LANGUAGE_GERMAN, LANGUAGE_SPANISH, LANGUAGE_ITALIAN,
                LANGUAGE_PORTUGUESE}) {
    mlang_iLanguage = l;
    for (int bSuspensions : {0, 1}) {
      const std::vector<std::string>& aNames = bSuspensions ? aSuspended : aInjured;
      const std::vector<std::string> aLines = PageLines(bSuspensions);
      ASSERT_EQ(aLines.size(), aNames.size()) << l << " " << bSuspensions;
      std::string sAll;
      for (const std::string& s : aLines) sAll += s + "\n";
      EXPECT_EQ(sAll.find('['), std::string::npos) << l << "\n" << sAll;
      EXPECT_EQ(sAll.find(']'), std::string::npos) << l << "\n" << sAll;
      for (std::size_t i = 0; i < aNames.size(); i++) {
        EXPECT_EQ(aLines[i].rfind(aNames[i], 0), 0u) << l << ": " << aLines[i];
        EXPECT_EQ(Occurrences(sAll, aNames[i]), 1) << l << ": " << aNames[i] << "\n" << sAll;
      }
      if (bSuspensions) continue;
      // The length: the number with its word, as text 297 or 299 has it.
      for (const auto& [iLine, iText] : {std::pair<int, int>{1, 297}, {2, 299}}) {
        std::string sWord = festr_IDToStr(iText);
        sWord = sWord.substr(sWord.find(']') + 1);
        const std::string& sLine = aLines[static_cast<std::size_t>(iLine)];
        const std::string sTail = festr_IDToStr(iText - 1) + std::string("4") + sWord;
        ASSERT_GE(sLine.size(), sTail.size()) << l;
        EXPECT_EQ(sLine.substr(sLine.size() - sTail.size()), sTail) << l << ": " << sLine;
      }
    }
  }
  mlang_iLanguage = LANGUAGE_ENGLISH;
  const std::vector<std::string> aEnglish = PageLines(0);
  ASSERT_EQ(aEnglish.size(), 4u);
  EXPECT_EQ(aEnglish[0], "Lajos Feky has pulled out of the next game due to a slight injury. ");
  EXPECT_EQ(aEnglish[1], "Ivo Marten has pulled a hamstring. He will be out for 4 weeks");
  EXPECT_EQ(aEnglish[2], "Kalle Sund has broken his leg. He will be out for 4 months");
  EXPECT_EQ(aEnglish[3], "Per Vik has fully recovered from his injury and is available for selection. ");
  EXPECT_EQ(PageLines(1), (std::vector<std::string>{"Otto Brann is suspended for the next game",
                                                    "Emil Dorn returns from suspension"}));
}

}  // namespace
