// The results ticker in history matches played through the screens: the
// other fixtures of the human team's group on its match day are played
// before the kick-off, their goals scroll along the band during the match,
// counted up one by one, and the text reads in its own colour over its band.
// Through a whole edition the day's fixtures are played once, before the
// match, and the tables count each result once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "frontend/frontend_services.h"
#include "frontend/mfhfixtr.h"
#include "frontend/mfhgroup.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhrole.h"
#include "frontend/mfhsetup.h"
#include "frontend/mregion.h"
#include "frontend/mtatics.h"
#include "frontend/mteam.h"
#include "frontend/mteam_conf.h"
#include "frontend/pcfe.h"
#include "frontend/wcqual.h"
#include "platform/display.h"
#include "shell/global.h"
#include "shell/pcmain_states.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "support/captured_pictures.h"
#include "support/frame_texts.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "support/last_frame.h"
#include "support/team_names.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/ticktape.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

namespace {

using H = korvena_test::HistoryDriver;

constexpr std::int32_t kReplayMode = 46, kReplayLeave = 83;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-ticker-run", true, nullptr, nullptr});

// History from the main menu, its film skipped; the set-up from 1958 with
// the qualifiers, or from 1998 (ten steps on) with the finals only; the
// team (by its English name) from the map; the news pages confirmed, the
// edition's pages and the films skipped, the squad page left, a goal's
// replay left as soon as it shows.
void ToTheFirstHub(H& d, bool b1998, const char* pszTeam) {
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kDown, H::kSelect}); });
  d.Answer(84, [](H& h) { h.Events({H::kSkip}); });
  d.Answer(MFHSETUP_MODE, [b1998](H& h) {
    for (int i = 0; i < 10; i++) h.Events({H::kLeft});
    if (b1998)
      for (int i = 0; i < 10; i++) h.Events({H::kRight});
    h.Events({H::kDown, b1998 ? H::kRight : H::kLeft, H::kSelect});
  });
  const std::int32_t iLanguage = mlang_iLanguage;
  mlang_SetLanguage(0);
  const std::uint32_t Team = static_cast<std::uint32_t>(korvena_test::TeamIdOf(pszTeam));
  mlang_SetLanguage(iLanguage);
  d.Answer(MTEAM_MODE, [Team](H& h) { korvena_test::TeamPick(h, "EURO", Team); });
  d.Answer(GAME_MODE_NEWS, [](H& h) { h.Events({H::kSelect}); });
  for (int e : {WC_MODE_WINNER, WC_MODE_QUALIFIED, WC_MODE_NOT_QUALIFIED, WC_MODE_ELIMINATED, WC_MODE_INTRO})
    d.Answer(e, [](H& h) { h.Events({H::kSkip}); });
  for (int e : {MFHFIXTR_MODE, MFHGROUP_MODE, MFHROLE_MODE}) d.Answer(e, [](H& h) { h.Events({H::kEscape}); });
  d.Answer(kReplayMode, [](H& h) { h.Events({kReplayLeave}); });
  // The news's squad page before the finals: left as it is.
  d.Answer(MTATICS_MODE, [](H& h) { h.Events({H::kBack, H::kBack}); });
}

struct NextMatch {
  Round* r = nullptr;
  Fixture* f = nullptr;
  Group* g = nullptr;
  const FixtureDate* d = nullptr;
};

NextMatch NextOfHuman() {
  NextMatch m;
  if (history_FixtureFindByTeam(tmgame_CurrentYearGet(), tmglobal.aHumans[0].Name, &m.r, &m.f, nullptr, &m.g))
    m.d = tmglobal_FixtureDateGet(m.r, m.f->cDate);
  return m;
}

// The computer fixtures between named teams of the group dated on the day.
std::vector<std::pair<Round*, Fixture*>> OthersOfTheDay(const NextMatch& m) {
  std::vector<std::pair<Round*, Fixture*>> a;
  for (Round* r = m.g ? m.g->pRounds : nullptr; r; r = r->pNext)
    for (Fixture* f = r->pFixtures; f; f = f->pNext) {
      const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
      if (f == m.f || !d || history_DateCompare(d, m.d) != 0) continue;
      const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
      if (tmgame_IsHumanTeam(A) || tmgame_IsHumanTeam(B) || !tmteam_IsProperName(A) || !tmteam_IsProperName(B))
        continue;
      a.push_back({r, f});
    }
  return a;
}

// What the band showed over a match.
struct Seen {
  std::vector<std::string> texts;  // each new line, as it sets off
  std::vector<std::string> wanted;  // the line each goal should give
  int cInPacket = 0;  // frames whose packet held the line on the band's row
  int iMostInColour = 0;  // the most band pixels in the text's colour on one frame
  int iMostDimmed = 0;  // the most in the colour the band over the text gives
};

// Where the band's text pixels of one frame are: counts of the text's
// colour and of that colour under the see-through band, on its rows.
std::pair<int, int> BandPixels(const korvena_test::Picture& p) {
  int cText = 0, cDimmed = 0;
  const std::uint16_t uText = korvena_test::To565(240, 240, 30), uDimmed = korvena_test::To565(148, 145, 32);
  for (int y = 22 * p.height / 480; y < 36 * p.height / 480 && y < p.height; y++)
    for (int x = 0; x < p.width; x++) {
      cText += p.At(x, y) == uText;
      cDimmed += p.At(x, y) == uDimmed;
    }
  return {cText, cDimmed};
}

// The frame just shown as a PPM, when KORVENA_TICKER_CAPTURES names a folder.
void Capture(const std::string& sName) {
  const char* pszDir = std::getenv("KORVENA_TICKER_CAPTURES");
  std::vector<std::uint8_t> rgb;
  int w = 0, h = 0;
  if (!pszDir || !platform::displayLastFrame(&rgb, &w, &h)) return;
  std::ofstream o(std::string(pszDir) + "/" + sName + ".ppm", std::ios::binary);
  o << "P6\n" << w << " " << h << "\n255\n";
  o.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
}

// The match from Play Match, played by the computer on both sides, watched
// until cLines lines have set off (every goal's when fewer) or the match is
// left. Each line is the one its goal should give: the ticker's heading in
// the on-screen language, the result's full names and its goals shown so
// far, counted from the goals already shown.
Seen MatchWatch(H& d, int cLines, const char* pszHeading, const std::string& sCapture) {
  Seen s;
  const int iMatch = d.Matches();
  d.Answer(MFHMAIN_MODE, [](H& h) { h.Events({H::kSelect}); });
  if (!d.RunUntil([&] { return d.Matches() > iMatch && pcmain_eCurrentState == APP_STATE_MATCH; }, 3000)) return s;
  d.Answer(MFHMAIN_MODE, [](H&) {});
  if (User* poUser = global_poGetMenuUser()) poUser->MyTeam = 0;
  global_SetHomeUser(nullptr);
  global_SetAwayUser(nullptr);
  std::vector<std::pair<int, int>> aShown(TICKTAPE_RESULTS, {0, 0});
  const int cWanted = std::min(cLines, ticktape.cEvents);
  int iLastState = 0, iLastX = 0;
  d.RunUntil(
      [&] {
        if (pcmain_eCurrentState != APP_STATE_MATCH || cWanted == 0) return true;
        // A line sets off at the right edge.
        if (ticktape.iState == 3 && (iLastState != 3 || ticktape.iX > iLastX)) {
          const TickEvent& e = ticktape.aEvents[ticktape.iEvent];
          const TickResult& r = ticktape.aResults[e.uResult];
          auto& [a, b] = aShown[e.uResult];
          (e.uSide ? b : a)++;
          s.wanted.push_back(std::string(pszHeading) + tla_NameGet(static_cast<int>(r.TeamA)) + " " +
                             std::to_string(a) + " - " + std::to_string(b) + " " +
                             tla_NameGet(static_cast<int>(r.TeamB)));
          s.texts.push_back(ticktape.szText);
        }
        if (ticktape.iState == 3) {
          for (const korvena_test::TextBox& t : korvena_test::FrameTexts())
            if (t.text == ticktape.szText && t.y == pcfe_ScaleY480(25)) s.cInPacket++;
          // Once the line is well on the screen.
          if (ticktape.iX < 400 && ticktape.iX > 0) {
            const auto [cText, cDimmed] = BandPixels(korvena_test::LastFrame());
            if (cText > s.iMostInColour && !sCapture.empty()) Capture(sCapture + "-" + std::to_string(s.texts.size()));
            s.iMostInColour = std::max(s.iMostInColour, cText);
            s.iMostDimmed = std::max(s.iMostDimmed, cDimmed);
          }
        }
        iLastState = ticktape.iState;
        iLastX = ticktape.iX;
        return static_cast<int>(s.texts.size()) >= cWanted && ticktape.iState != 3;
      },
      60000);
  return s;
}

// Every day fixture of the next match played by Play Match's simulation
// (marked simulated while its round is open: a complete round's fixtures
// lose the mark).
void ExpectDayPlayedBeforeKickOff(const std::vector<std::pair<Round*, Fixture*>>& aDay) {
  for (const auto& [r, f] : aDay) {
    EXPECT_TRUE(f->cFlags & FIX_PLAYED) << tla_NameGet(static_cast<int>(history_FixtureTeamA(r, f)));
    if (!r->bComplete) {
      EXPECT_TRUE(f->cFlags & FIX_SIMULATED);
    }
  }
}

// The ticker's results: exactly the day's other fixtures, with their scores.
void ExpectTickerHoldsTheDay(const std::vector<std::pair<Round*, Fixture*>>& aDay) {
  ASSERT_EQ(ticktape.cResults, static_cast<int>(aDay.size()));
  int cGoals = 0;
  for (int i = 0; i < ticktape.cResults; i++) {
    const TickResult& t = ticktape.aResults[i];
    const auto& [r, f] = aDay[static_cast<std::size_t>(i)];
    EXPECT_EQ(t.TeamA, history_FixtureTeamA(r, f));
    EXPECT_EQ(t.TeamB, history_FixtureTeamB(r, f));
    EXPECT_EQ(t.uFinalA, f->cScoreA);
    EXPECT_EQ(t.uFinalB, f->cScoreB);
    cGoals += f->cScoreA + f->cScoreB;
  }
  EXPECT_EQ(ticktape.cEvents, std::min(cGoals, TICKTAPE_EVENTS));
}

// The day's other fixtures played before the kick-off and held by the
// ticker, with a goal at least, and the band's lines seen as they are wanted.
void ExpectTheDayScrolled(const std::vector<std::pair<Round*, Fixture*>>& aDay, const Seen& s, const H& d) {
  ExpectDayPlayedBeforeKickOff(aDay);
  ExpectTickerHoldsTheDay(aDay);
  ASSERT_GT(ticktape.cEvents, 0) << "a goalless draw: nothing to scroll";
  ASSERT_FALSE(s.texts.empty()) << d.ModesText();
  EXPECT_EQ(s.texts, s.wanted);
}

// 1958's first match, West Germany v Argentina on 8 June, at length one (a
// match minute a frame or two, so that the lines follow each other quickly):
// Northern Ireland v Czechoslovakia of the same day is played before the
// kick-off, and its goals scroll.
TEST(TickerRun, The1958OpenerScrollsTheDaysOtherResultGoalByGoal) {
  H d;
  ASSERT_TRUE(d.Start());
  ToTheFirstHub(d, false, "West Germany");
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  const NextMatch m = NextOfHuman();
  ASSERT_NE(m.d, nullptr);
  ASSERT_STREQ(tla_NameGet(static_cast<int>(history_FixtureTeamA(m.r, m.f))), "West Germany");
  ASSERT_STREQ(tla_NameGet(static_cast<int>(history_FixtureTeamB(m.r, m.f))), "Argentina");
  EXPECT_EQ(m.d->cDay, 8);
  EXPECT_EQ(m.d->cMonth, 6);
  const std::vector<std::pair<Round*, Fixture*>> aDay = OthersOfTheDay(m);
  ASSERT_EQ(aDay.size(), 1u);
  ASSERT_STREQ(tla_NameGet(static_cast<int>(history_FixtureTeamA(aDay[0].first, aDay[0].second))),
               "Northern Ireland");
  EXPECT_FALSE(aDay[0].second->cFlags & FIX_PLAYED) << "not before the hub's Play Match";
  tmreport_CountReset();

  mcondi_MatchLengthSet(1);
  const Seen s = MatchWatch(d, 3, "Latest Score: ", "en");
  ASSERT_NO_FATAL_FAILURE(ExpectTheDayScrolled(aDay, s, d));
  EXPECT_GT(s.cInPacket, 100);
  // The text on top of its band: glyphs in (240, 240, 30); the colour the
  // band over them would give is a stray pixel or two of the stands.
  EXPECT_GT(s.iMostInColour, 40);
  EXPECT_LT(s.iMostDimmed * 10, s.iMostInColour);
  EXPECT_EQ(tmreport_CountGet(), 0);
}

// The same opener in French: the heading as French writes it, the teams'
// French names.
TEST(TickerRun, TheOpenerScrollsInFrench) {
  struct Restore {
    ~Restore() { mlang_SetLanguage(0); }
  } restore;
  H d;
  ASSERT_TRUE(d.Start());
  mlang_SetLanguage(1);
  ToTheFirstHub(d, false, "West Germany");
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  const NextMatch m = NextOfHuman();
  ASSERT_NE(m.d, nullptr);
  const std::vector<std::pair<Round*, Fixture*>> aDay = OthersOfTheDay(m);
  ASSERT_EQ(aDay.size(), 1u);
  mcondi_MatchLengthSet(1);
  const Seen s = MatchWatch(d, 2, "Dernier score\xA0: ", "fr");
  ASSERT_NO_FATAL_FAILURE(ExpectTheDayScrolled(aDay, s, d));
  EXPECT_NE(s.texts[0].find("Irlande du Nord"), std::string::npos) << s.texts[0];
  EXPECT_GT(s.iMostInColour, 40);
  EXPECT_LT(s.iMostDimmed * 10, s.iMostInColour);
}

// A later match day: Italy's second match of 1998 (17 June), the finals
// only, the first match by the test double, the second played. Its day's
// other fixture of the group is played before it and scrolls, though the
// days before were played after the first match.
TEST(TickerRun, TheSecondMatchOf1998ScrollsItsDaysOtherResult) {
  H d;
  ASSERT_TRUE(d.Start());
  ToTheFirstHub(d, true, "Italy");
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  ASSERT_EQ(tmglobal.iYear, 98);
  d.MatchDouble([] { return std::pair{1, 1}; });
  d.Answer(MFHMAIN_MODE, [](H& h) { h.Events({H::kSelect}); });
  ASSERT_TRUE(d.RunUntil([&] { return d.Matches() == 1 && d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  d.MatchDouble(nullptr);
  const NextMatch m = NextOfHuman();
  ASSERT_NE(m.d, nullptr);
  EXPECT_STREQ(tla_NameGet(static_cast<int>(history_FixtureTeamA(m.r, m.f))), "Italy");
  EXPECT_EQ(m.d->cDay, 17);
  EXPECT_EQ(m.d->cMonth, 6);
  const std::vector<std::pair<Round*, Fixture*>> aDay = OthersOfTheDay(m);
  ASSERT_EQ(aDay.size(), 1u) << "the group's other pair plays the same day";
  EXPECT_FALSE(aDay[0].second->cFlags & FIX_PLAYED);
  mcondi_MatchLengthSet(1);
  const Seen s = MatchWatch(d, 1, "Latest Score: ", "");
  ASSERT_NO_FATAL_FAILURE(ExpectTheDayScrolled(aDay, s, d));
  EXPECT_EQ(s.texts[0].rfind("Latest Score: ", 0), 0u) << s.texts[0];
}

// Played fixtures as the tables count them: per round, the games its teams
// have played, twice the round's played fixtures when each result is
// counted once.
void ExpectEachResultCountedOnce(const Year* y) {
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext) {
        if (!r->pTeams || !r->pTeams->pNext || !r->pTeams->pNext->pNext) continue;  // ties: groups only
        int cPlayed = 0, cGames = 0;
        for (const Fixture* f = r->pFixtures; f; f = f->pNext) cPlayed += (f->cFlags & FIX_PLAYED) ? 1 : 0;
        for (const TMTeam* t = r->pTeams; t; t = t->pNext) cGames += t->cPlayed;
        if (cGames > 0) {
          EXPECT_EQ(cGames, 2 * cPlayed) << g->szName << " " << r->szLongName;
        }
      }
}

// The 1958 edition by the test double: at each kick-off the match day's
// other fixtures of the group are played; the results played before one
// match keep their scores after it (none played again by the news after the
// match), the tables count each once, and nothing is reported.
TEST(TickerRun, ThroughAnEditionTheDaysFixturesArePlayedOnceBeforeEachMatch) {
  H d;
  ASSERT_TRUE(d.Start());
  ToTheFirstHub(d, false, "West Germany");
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  tmreport_CountReset();
  struct Score {
    const Fixture* f;
    std::uint8_t a, b, ea, eb;
  };
  std::vector<Score> aBefore;
  int cDays = 0;
  d.MatchDouble([&] {
    const NextMatch m = NextOfHuman();
    EXPECT_NE(m.d, nullptr);
    const std::vector<std::pair<Round*, Fixture*>> aDay = OthersOfTheDay(m);
    cDays += aDay.empty() ? 0 : 1;
    ExpectDayPlayedBeforeKickOff(aDay);
    for (const Score& s : aBefore) {
      EXPECT_EQ(s.f->cScoreA, s.a);
      EXPECT_EQ(s.f->cScoreB, s.b);
      EXPECT_EQ(s.f->cExtraA, s.ea);
      EXPECT_EQ(s.f->cExtraB, s.eb);
      EXPECT_TRUE(s.f->cFlags & FIX_PLAYED);
    }
    aBefore.clear();
    const Year* y = tmgame_CurrentYearGet();
    for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
      for (const Group* g = c->pGroups; g; g = g->pNext)
        for (const Round* r = g->pRounds; r; r = r->pNext)
          for (const Fixture* f = r->pFixtures; f; f = f->pNext)
            if (f->cFlags & FIX_PLAYED) aBefore.push_back({f, f->cScoreA, f->cScoreB, f->cExtraA, f->cExtraB});
    ExpectEachResultCountedOnce(y);
    return std::pair{2, 1};
  });
  d.DefaultAnswer([](H& h) { h.Events({H::kSelect}); });
  ASSERT_TRUE(d.RunUntil(
      [&] { return (tmglobal.iYear != 58 && d.Mode() == MFHMAIN_MODE) || d.Mode() == GAME_MODE_MAIN_MENU; },
      80000));
  EXPECT_GE(cDays, 3) << "the three group matches have a day fixture each";
  EXPECT_EQ(tmreport_CountGet(), 0);
}

}  // namespace
