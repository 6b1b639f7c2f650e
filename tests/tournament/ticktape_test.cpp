// The results ticker of a history match: today's simulated results of the
// human team's group, goals at random minutes, scores counting up, the band
// and the text over it in the frame packet, and nothing moving while paused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "campaign_driver.h"
#include "framework/math/qrand.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/pause.h"
#include "shell/texts.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/ticktape.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tournament_services.h"
#include "tournament/yearfile.h"

namespace {

std::string Name(int id) { return festr_TMIDToStr(id); }

// A group of four on 1/6/78 (the human team, id 1, plays then too), and a
// second group whose results must never show.
Group* GroupDay() {
  CampaignReset(2);
  tmglobal_YearSet(78);
  tmglobal_FinalsSet(1);
  tmglobal.aHumans[0].Name = 1;
  tmglobal.cHumans = 1;
  tmglobal.bFinalsLoaded = 1;
  const std::string dates = "1/6/78;1/6/78;5/6/78;5/6/78;9/6/78;9/6/78";
  std::string s = "78,Q,0,1,,once,,gd,w,,,," + dates + ",,," + Name(7) + "," + Name(8) + "\r\n";
  s += "F78,1st Round,1,1,,once,,gd2,*,*,,," + dates + ",,," + Name(1) + "," + Name(2) + "," + Name(3) + "," +
       Name(4) + "\r\n";
  s += "F78,1st Round,2,1,,once,,gd2,*,*,,," + dates + ",,," + Name(5) + "," + Name(6) + "," + Name(9) + "," +
       Name(10) + "\r\n";
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  Year* y = TheYearList->pNext;
  history_YearFixturesBuild(y);
  history_UserFixturesMark(y);
  global.iDay = 1;
  global.iMonth = 6;
  global.iYear = 78;
  history_DaySimulate(y);
  Group* g = y->pConfs->pGroups;
  history_GroupIndexFind(y, g);
  tmglobal_TournamentMatchSet(1);
  return g;
}

std::vector<std::string> PacketTexts(int* pcBoxes) {
  std::vector<std::string> a;
  *pcBoxes = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      if (i->uKind == PCFRAME_KIND_TEXT) a.emplace_back(i->pszText);
      if (i->uKind == PCFRAME_KIND_BOX) (*pcBoxes)++;
    }
  return a;
}

// The kinds of the packet's items in the order they are drawn: layers from
// the last, each layer's items from its first (the last given).
std::vector<int> DrawOrder() {
  std::vector<DrawLayer*> aLayers;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext) aLayers.push_back(l);
  std::vector<int> a;
  for (auto it = aLayers.rbegin(); it != aLayers.rend(); ++it)
    for (DrawItem* i = (*it)->poFirstItem; i; i = i->pNext) a.push_back(i->uKind);
  return a;
}

}  // namespace

TEST(Ticker, TodaysResultsOfTheHumanGroupOnly) {
  Group* g = GroupDay();
  EXPECT_EQ(tmglobal_GroupIndexGet(), 0);  // counted within the finals year
  ticktape_Init();
  ASSERT_EQ(ticktape.cResults, 1);  // the other fixture of group 1 today
  const TickResult& r = ticktape.aResults[0];
  EXPECT_FALSE(tmgame_IsHumanTeam(r.TeamA) || tmgame_IsHumanTeam(r.TeamB));
  EXPECT_NE(tmteam_TeamEntryGet(g->pRounds, r.TeamA), nullptr);
  EXPECT_EQ(ticktape.cEvents, r.uFinalA + r.uFinalB);
  for (int i = 0; i < TICKTAPE_EVENTS; i++) {
    EXPECT_GE(ticktape.aEvents[i].iMinute, 2);
    EXPECT_LE(ticktape.aEvents[i].iMinute, 89);
  }
  for (int i = 0; i < ticktape.cEvents; i++)
    EXPECT_EQ(ticktape.aEvents[i].uSide, i < r.uFinalA ? 0u : 1u);
  tmglobal_TournamentMatchSet(0);
}

TEST(Ticker, AnIdleTickerDrawsNoMinutes) {
  GroupDay();
  global.iDay = 2;  // nobody else plays on the 2nd
  QMathRandState before, after;
  QMathRandStateSave(&before);
  ticktape_Init();
  QMathRandStateSave(&after);
  EXPECT_EQ(ticktape.cResults, 0);
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
  for (int i = 0; i < 200; i++) ticktape_Update();
  EXPECT_EQ(ticktape.iState, 0);
  tmglobal_TournamentMatchSet(0);
}

TEST(Ticker, EventsAreCutAtThirty) {
  GroupDay();
  ticktape = TickTape{};
  ticktape_Init();
  // Twelve goals in four results give twelve events; forty are cut to thirty.
  Round* r = TheYearList->pNext->pConfs->pGroups->pRounds;
  int k = 0;
  for (Fixture* f = r->pFixtures; f; f = f->pNext) {
    f->cFlags |= FIX_PLAYED | FIX_SIMULATED;
    f->cDate = 0;
    f->cScoreA = static_cast<std::uint8_t>(k % 2 ? 20 : 1);
    f->cScoreB = static_cast<std::uint8_t>(k % 2 ? 0 : 2);
    k++;
  }
  ticktape_Init();
  EXPECT_EQ(ticktape.cResults, 6);
  EXPECT_EQ(ticktape.cEvents, 30);
  tmglobal_TournamentMatchSet(0);
}

TEST(Ticker, ScoresCountUpAndTheBandScrollsUnlessPaused) {
  GroupDay();
  ticktape_Init();
  ASSERT_GT(ticktape.cEvents, 0);
  // All goals at minute 2 onwards; at minute 95 every one is due.
  clock_oClock.iClock = 95 * CLOCK_UNITS_PER_MINUTE;
  if (pcframe_poCurrent == nullptr) pcframe_Init();
  const TickResult& r = ticktape.aResults[0];
  int cShown = 0;
  int cScrolled = 0;
  std::vector<std::string> texts;
  // On until the last goal has come in and scrolled off the band.
  for (int frame = 0; frame < 20000 && (cShown < ticktape.cEvents || ticktape.iState == 3); frame++) {
    pcframe_Begin();
    const int iBefore = ticktape.iState;
    ticktape_Update();
    if (iBefore == 2) {
      cShown++;
      texts.push_back(ticktape.szText);
      EXPECT_EQ(ticktape.iX, 640);
      EXPECT_EQ(r.uShownA + r.uShownB, cShown);
    }
    if (iBefore == 3) {
      cScrolled++;
      int cBoxes = 0;
      const std::vector<std::string> a = PacketTexts(&cBoxes);
      ASSERT_EQ(a.size(), 1u);
      EXPECT_EQ(a[0], ticktape.szText);
      EXPECT_EQ(cBoxes, 1);
      // The see-through band goes down first, the text over it.
      EXPECT_EQ(DrawOrder(), (std::vector<int>{PCFRAME_KIND_BOX, PCFRAME_KIND_TEXT}));
    }
  }
  ASSERT_EQ(cShown, ticktape.cEvents);
  // Each goal's line crossed the screen before the next came in.
  EXPECT_GE(cScrolled, cShown * (640 / 4));
  EXPECT_EQ(r.uShownA, r.uFinalA);
  EXPECT_EQ(r.uShownB, r.uFinalB);
  const std::string first = std::string("Latest Score: ") + tla_NameGet(static_cast<int>(r.TeamA)) + " " +
                            (ticktape.aEvents[0].uSide == 0 ? "1 - 0 " : "0 - 1 ") +
                            tla_NameGet(static_cast<int>(r.TeamB));
  EXPECT_EQ(texts[0], first);
  // Paused: the text stays where it is.
  ticktape.iState = 3;
  ticktape.iX = 300;
  pause_bFlag = 1;
  for (int i = 0; i < 10; i++) ticktape_Update();
  EXPECT_EQ(ticktape.iX, 300);
  pause_FlagClear();
  ticktape_Update();
  EXPECT_EQ(ticktape.iX, 297);
  tmglobal_TournamentMatchSet(0);
  clock_oClock.iClock = 0;
}

// The line is headed by the in-match "Latest Score" of the on-screen
// language, its colon set as that language writes it (French with a
// non-breaking space before it); the teams keep their full names of the
// interface language, as every team name over the match does.
TEST(Ticker, TheLineIsHeadedInTheOnScreenLanguage) {
  const char* const apszHeading[6] = {"Latest Score: ",     "Dernier score\xA0: ",  "Aktueller Stand: ",
                                      "\xDAltimo resultado: ", "Ultimo risultato: ", "\xDAltimo resultado: "};
  if (pcframe_poCurrent == nullptr) pcframe_Init();
  const std::int32_t iInterface = mlang_iLanguage;
  for (int iScreen = 0; iScreen < 6; iScreen++)
    for (int iNames : {0, iScreen}) {
      GroupDay();
      mlang_iLanguage = iNames;
      gstatso_LanguageSet(iScreen);
      ticktape_Init();
      ASSERT_GT(ticktape.cEvents, 0);
      clock_oClock.iClock = 95 * CLOCK_UNITS_PER_MINUTE;
      for (int frame = 0; frame < 100 && ticktape.iState != 3; frame++) {
        pcframe_Begin();
        ticktape_Update();
      }
      ASSERT_EQ(ticktape.iState, 3);
      const TickResult& r = ticktape.aResults[0];
      const std::string want = std::string(apszHeading[iScreen]) + tla_NameGet(static_cast<int>(r.TeamA)) +
                               (r.uShownA ? " 1 - 0 " : " 0 - 1 ") + tla_NameGet(static_cast<int>(r.TeamB));
      EXPECT_EQ(ticktape.szText, want) << "on-screen language " << iScreen << ", names in " << iNames;
      // No blank before the colon but French's, and that one never breaks.
      EXPECT_EQ(std::string(ticktape.szText).find(" :"), std::string::npos) << ticktape.szText;
      tmglobal_TournamentMatchSet(0);
    }
  mlang_iLanguage = iInterface;
  gstatso_LanguageSet(-1);
  clock_oClock.iClock = 0;
}
