// Matches of the real game, played in this process through its own frame
// loop with the keyboard (and a pad for a second person); each period's clock
// is wound on to its last seconds once play is under way, so that the match
// reaches its end in a few thousand steps.
// - At full time the pages are skipped with Pass; a Pass given again just
//   after the one that leaves the last page, before the Play Again / Main
//   Menu choice shows, chooses nothing: the choice shows and waits, and a
//   Pass given while it shows plays again. The second person's pad button
//   held down from before the choice shows and let go once it shows chooses
//   nothing; pressed once it shows, it plays again. The match played again,
//   paused half a minute before its kick-off and resumed, kicks off and is
//   played.
// - In a shoot-out, the pause menu opened on the person's kick is drawn with
//   nothing over it: its texts read in a captured frame as in a pause with
//   no panel up. With KORVENA_CAPTURE_DIR set the frames are kept in its
//   match_end/ folder to look at.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <utility>
#include <vector>
#include <algorithm>
#include <string>

#include "frontend/frontend_services.h"
#include "engine/player.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "platform/headless.h"
#include "shell/global.h"
#include "shell/pcmain_states.h"
#include "support/captured_pictures.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "support/run_game.h"

namespace {

using korvena_test::HistoryDriver;
using korvena_test::scriptKey;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-match-end", true, nullptr, nullptr});

constexpr std::int32_t kTapEvery = 90, kLeaveReplay = 83;
// The period end's steps: the last page, the ten ticks after it, the choice.
constexpr std::int32_t kLastPage = 9, kChoice = 12;

enum class Kind { QuickStart, FriendlyTwoPersons };

// The keys from the main menu to the match. Quick Start with the keyboard
// alone puts it at home; with a pad plugged in the sides are chosen (the
// keyboard left to the home side, the pad right to the away side).
std::string Keys(Kind e) {
  if (e == Kind::QuickStart)
    return scriptKey(100, "RIGHT") + scriptKey(110, "RETURN") + scriptKey(116, "LEFT") + scriptKey(122, "RETURN");
  std::string s = "95 joyplug Pad 6 16 1\n" + scriptKey(100, "RIGHT") + scriptKey(110, "RETURN");
  return s + scriptKey(120, "LEFT") + "124 joyaxis 0 X 32000\n128 joyaxis 0 X 0\n" + scriptKey(140, "RETURN");
}

// The game started and at its main menu with the keys to the match loaded;
// a goal's replay is left as soon as it shows.
struct MatchRun {
  HistoryDriver d;
  bool bPad = false;
  // Each step of the match: the test's own changes to it.
  std::function<void()> pfnEachStep = [] {};

  // With extra time and penalties, or neither (full time then leads to the
  // choice whatever the score).
  ::testing::AssertionResult Start(Kind e, bool bExtraTime) {
    bPad = e == Kind::FriendlyTwoPersons;
    if (!d.Start()) return ::testing::AssertionFailure() << "no start-up";
    mcondi_MatchLengthSet(1);
    if (!d.RunUntil([&] { return d.Mode() == GAME_MODE_MAIN_MENU; }, 90))
      return ::testing::AssertionFailure() << "no main menu: " << d.ModesText();
    d.Step();
    std::string why;
    if (!platform::headlessLoadScriptText(Keys(e), &why)) return ::testing::AssertionFailure() << why;
    d.Answer(GAME_MODE_REPLAY, [](HistoryDriver& h) { h.Events({kLeaveReplay}); });
    // The stadium before the kick-off.
    if (!d.RunUntil([] { return pcmain_eCurrentState == APP_STATE_MATCH && global.eGameMode == 72; }, 3000))
      return ::testing::AssertionFailure() << "no kick-off wait: " << d.ModesText();
    // The match's conditions as the match start left them, then these.
    mcondi_ExtraTimeSet(bExtraTime ? 1 : 0);
    mcondi_PenaltiesSet(bExtraTime ? 1 : 0);
    return ::testing::AssertionSuccess();
  }

  void Wait(std::int32_t n) {
    d.RunUntil([&] {
      pfnEachStep();
      return false;
    }, n);
  }
  // A key pressed on the next step and let go two steps later; with Pass the
  // pad's Pass (its button 1) too, on the same steps. Returns after 4 steps.
  void Tap(const char* pszKey) {
    Press(pszKey);
    Wait(4);
  }

  // A key pressed on the next step and let go two steps later, without
  // waiting.
  void Press(const char* pszKey) {
    std::string why;
    ASSERT_TRUE(platform::headlessLoadScriptText(korvena_test::scriptTap(platform::headlessStep() + 1, pszKey, bPad), &why))
        << why;
  }

  // The frame of the next step, read back; with KORVENA_CAPTURE_DIR set it is
  // kept in its match_end/ folder too.
  korvena_test::Picture Capture(const char* pszName) {
    const std::filesystem::path dir = korvena_test::HeadlessRoot();
    const std::string s = std::to_string(platform::headlessStep() + 1) + " capture " + (dir / pszName).string() + "\n";
    std::string why;
    EXPECT_TRUE(platform::headlessLoadScriptText(s, &why)) << why;
    Wait(3);
    if (const char* pszDir = std::getenv("KORVENA_CAPTURE_DIR")) {
      std::error_code ec;
      std::filesystem::create_directories(std::filesystem::path(pszDir) / "match_end", ec);
      std::filesystem::copy_file(dir / pszName, std::filesystem::path(pszDir) / "match_end" / pszName,
                                 std::filesystem::copy_options::overwrite_existing, ec);
    }
    return korvena_test::ReadTga(dir / pszName);
  }

  // Pass every 3 s until pred holds (looked at on every step) or the match
  // is left; false when it was left or never held. A Pass pressed just
  // before is let go and heard before it returns.
  bool PassUntil(const std::function<bool()>& pred, std::int32_t iLimit) {
    for (std::int32_t i = 0; i < iLimit; i++) {
      if (pred()) {
        if (i % kTapEvery < 4) Wait(4 - i % kTapEvery);
        return true;
      }
      if (pcmain_eCurrentState != APP_STATE_MATCH) return false;
      if (i % kTapEvery == 0) Press("J");
      Wait(1);
    }
    return pred();
  }
};

// Open play's clock, once play is under way, wound on to 3 s before its
// period ends.
void ClockWind() {
  MatchClock& c = clock_oClock;
  if (global.eGameMode != GAME_MODE_PLAY || c.iPeriod < 0 || c.iPeriod > 3) return;
  const std::int32_t iTo = (c.aiPeriodEnd[c.iPeriod] - 3) * CLOCK_UNITS_PER_SECOND;
  if (c.iClock < iTo) c.iClock = iTo;
}

bool InPeriodEnd(std::int32_t iStep) {
  return global.eGameMode == GAME_MODE_PERIOD_END && mftime_StepGet() == iStep;
}

struct ChoiceCase {
  const char* pszName;
  Kind eKind;
  // Steps from the press that leaves the last page to the next press; 0:
  // none.
  std::int32_t iAgainAfter;
};

void PrintTo(const ChoiceCase& o, std::ostream* os) { *os << o.pszName; }

class PlayAgainChoice : public ::testing::TestWithParam<ChoiceCase> {};

// The press that leaves the last page is the one that skips it; one given
// soon after it (or the second person's on the same step) comes while the
// pages give way to the choice. The choice shows all the same and waits for
// a press made while it shows, which plays again from 00:00.
TEST_P(PlayAgainChoice, APassBeforeTheChoiceShowsChoosesNothing) {
  const ChoiceCase& o = GetParam();
  MatchRun m;
  ASSERT_TRUE(m.Start(o.eKind, false));
  m.pfnEachStep = ClockWind;
  HistoryDriver& d = m.d;
  // Full time: its first page.
  ASSERT_TRUE(m.PassUntil([] { return global.eGameMode == GAME_MODE_PERIOD_END && mftime_StepGet() >= 1; }, 6000))
      << d.ModesText();
  // Each page read for 2 s and left with Pass.
  std::uint64_t uLastPress = 0;
  for (std::int32_t iPage : {3, 6, kLastPage}) {
    ASSERT_TRUE(d.RunUntil([&] { return InPeriodEnd(iPage); }, 300)) << "page " << iPage << ": step " << mftime_StepGet();
    m.Wait(60);
    ASSERT_TRUE(InPeriodEnd(iPage)) << "page " << iPage << ": step " << mftime_StepGet();
    uLastPress = platform::headlessStep() + 1;
    m.Press("J");
    ASSERT_TRUE(d.RunUntil([&] { return !InPeriodEnd(iPage); }, 6)) << "page " << iPage << " stayed";
  }
  // The press that left the last page.
  ASSERT_EQ(global.eGameMode, GAME_MODE_PERIOD_END) << d.ModesText();
  ASSERT_LT(mftime_StepGet(), kChoice) << "the choice came with the press that left the last page";
  if (o.iAgainAfter > 0) {
    ASSERT_LT(platform::headlessStep() + 1, uLastPress + o.iAgainAfter);
    m.Wait(static_cast<std::int32_t>(uLastPress + o.iAgainAfter - platform::headlessStep() - 1));
    m.Press("J");
  }
  ASSERT_TRUE(d.RunUntil([] { return !InPeriodEnd(kLastPage + 1) && !InPeriodEnd(kLastPage + 2); }, 25));
  EXPECT_TRUE(InPeriodEnd(kChoice)) << "mode " << global.eGameMode << ", step " << mftime_StepGet()
                                    << ", next " << mftime_NextModeGet() << ", clock " << clock_MinuteGet() << ":"
                                    << clock_SecondOfMinuteGet();
  // It waits, 5 s with no press.
  m.pfnEachStep = [] {};
  for (std::int32_t i = 0; i < 150 && InPeriodEnd(kChoice); i++) m.Wait(1);
  EXPECT_TRUE(InPeriodEnd(kChoice)) << "the choice did not wait: mode " << global.eGameMode;
  // A press while it shows plays again (its cursor starts on Play Again).
  m.Tap("J");
  ASSERT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_KICK_OFF; }, 200)) << d.ModesText();
  EXPECT_EQ(clock_ValueGet(), 0);
  EXPECT_EQ(clock_PeriodGet(), 0);
}

const ChoiceCase kaChoiceCases[] = {
    {"QuickStartPassAgain6StepsAfterTheLastPage", Kind::QuickStart, 6},
    {"FriendlyBothPersonsPassOnTheSameStep", Kind::FriendlyTwoPersons, 0},
};

INSTANTIATE_TEST_SUITE_P(FullTime, PlayAgainChoice, ::testing::ValuesIn(kaChoiceCases),
                         [](const ::testing::TestParamInfo<ChoiceCase>& i) { return std::string(i.param.pszName); });

// ---- The pad's Pass held across the choice's first step -------------------------------

struct HoldCase {
  const char* pszName;
  // Steps from the press that leaves the last page to the pad's Pass going
  // down; 0: it goes down 3 steps after the choice shows.
  std::int32_t iDownAfterLastPage;
};

void PrintTo(const HoldCase& o, std::ostream* os) { *os << o.pszName; }

class PlayAgainHold : public ::testing::TestWithParam<HoldCase> {};

// The second person's Pass (the pad's button 1) goes down while the pages
// give way to the choice, or once it shows, and is let go 3 steps after the
// later of that and the choice's first step. Only a button that went down
// once the choice showed plays again; one held down across its first step
// chooses nothing, and the choice waits for a press.
TEST_P(PlayAgainHold, OnlyAPadPassThatGoesDownOnceTheChoiceShowsChooses) {
  const HoldCase& o = GetParam();
  MatchRun m;
  ASSERT_TRUE(m.Start(Kind::FriendlyTwoPersons, false));
  m.pfnEachStep = ClockWind;
  HistoryDriver& d = m.d;
  ASSERT_TRUE(m.PassUntil([] { return global.eGameMode == GAME_MODE_PERIOD_END && mftime_StepGet() >= 1; }, 6000))
      << d.ModesText();
  m.pfnEachStep = [] {};
  // Each page read for 2 s and left with Pass; with the last one's press, the
  // pad's Pass goes down when it is to go down before the choice shows.
  std::string why;
  std::uint64_t uDown = 0;
  for (std::int32_t iPage : {3, 6, kLastPage}) {
    ASSERT_TRUE(d.RunUntil([&] { return InPeriodEnd(iPage); }, 300)) << "page " << iPage << ": step " << mftime_StepGet();
    m.Wait(60);
    ASSERT_TRUE(InPeriodEnd(iPage)) << "page " << iPage << ": step " << mftime_StepGet();
    const std::uint64_t uPress = platform::headlessStep() + 1;
    std::string sScript = korvena_test::scriptTap(uPress, "J", false);
    if (iPage == kLastPage && o.iDownAfterLastPage > 0) {
      uDown = uPress + static_cast<std::uint64_t>(o.iDownAfterLastPage);
      sScript += std::to_string(uDown) + " joybutton 0 1 down\n";
    }
    ASSERT_TRUE(platform::headlessLoadScriptText(sScript, &why)) << why;
    ASSERT_TRUE(d.RunUntil([&] { return !InPeriodEnd(iPage); }, 6)) << "page " << iPage << " stayed";
  }
  // The step after the one that leaves step 11 is the choice's first.
  ASSERT_TRUE(d.RunUntil([] { return InPeriodEnd(kChoice); }, 40)) << "mode " << global.eGameMode << ", step "
                                                                    << mftime_StepGet();
  const std::uint64_t uShown = platform::headlessStep() + 1;
  std::string sScript;
  if (uDown == 0) {
    uDown = uShown + 3;
    sScript = std::to_string(uDown) + " joybutton 0 1 down\n";
  } else {
    ASSERT_LT(uDown, uShown) << "the pad's Pass was to go down before the choice showed";
  }
  sScript += std::to_string(std::max(uDown, uShown) + 3) + " joybutton 0 1 up\n";
  ASSERT_TRUE(platform::headlessLoadScriptText(sScript, &why)) << why;
  ASSERT_TRUE(d.RunUntil([] { return platform::headlessPendingScriptLines() == 0; }, 10));
  if (uDown > uShown) {
    EXPECT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_KICK_OFF; }, 200))
        << "a Pass pressed once the choice showed chose nothing: " << d.ModesText();
    return;
  }
  for (std::int32_t i = 0; i < 60 && InPeriodEnd(kChoice); i++) m.Wait(1);
  EXPECT_TRUE(InPeriodEnd(kChoice)) << "a Pass held down from before the choice showed chose: mode "
                                    << global.eGameMode << ", step " << mftime_StepGet() << ", next "
                                    << mftime_NextModeGet();
  // The choice waits for a press made while it shows.
  m.Tap("J");
  EXPECT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_KICK_OFF; }, 200)) << d.ModesText();
}

const HoldCase kaHoldCases[] = {
    {"DownEightStepsAfterTheLastPage", 8},
    {"DownTwelveStepsAfterTheLastPage", 12},
    {"DownOnceTheChoiceShows", 0},
};

INSTANTIATE_TEST_SUITE_P(FullTime, PlayAgainHold, ::testing::ValuesIn(kaHoldCases),
                         [](const ::testing::TestParamInfo<HoldCase>& i) { return std::string(i.param.pszName); });

// ---- Played again, paused before its kick-off -----------------------------------------

// Pixels of the pitch's grass in a frame: green well above red and blue.
int GrassPixels(const korvena_test::Picture& f) {
  int n = 0;
  for (int y = 0; y < f.height; y++)
    for (int x = 0; x < f.width; x++) {
      const std::uint16_t p = f.At(x, y);
      const int r = (p >> 11) * 2, g = (p >> 5) & 63, b = (p & 31) * 2;
      n += g >= 20 && g > r + 8 && g > b + 8;
    }
  return n;
}

// A Quick Start played to full time and played again: the new match's
// kick-off, with its fade still running, is paused with Escape for 30 s and
// resumed with Pass. Nothing of the first match's end is left over: the
// pitch shows, the person's Pass kicks off, and the clock runs from 00:00 on
// through open play.
TEST(PlayAgainPause, TheMatchPlayedAgainAndPausedHalfAMinuteBeforeItsKickOffIsPlayed) {
  MatchRun m;
  ASSERT_TRUE(m.Start(Kind::QuickStart, false));
  HistoryDriver& d = m.d;
  m.pfnEachStep = ClockWind;
  ASSERT_TRUE(m.PassUntil([] { return InPeriodEnd(kChoice); }, 8000)) << d.ModesText();
  m.pfnEachStep = [] {};
  m.Wait(30);
  ASSERT_TRUE(InPeriodEnd(kChoice)) << d.ModesText();
  m.Tap("J");  // Play Again
  ASSERT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_KICK_OFF; }, 200)) << d.ModesText();
  m.Wait(5);
  ASSERT_EQ(global.eGameMode, GAME_MODE_KICK_OFF) << d.ModesText();
  m.Tap("ESCAPE");
  ASSERT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_PAUSE_MENU; }, 10)) << d.ModesText();
  m.Wait(900);
  ASSERT_EQ(global.eGameMode, GAME_MODE_PAUSE_MENU) << d.ModesText();
  m.Tap("J");  // Resume Match
  ASSERT_TRUE(d.RunUntil([] { return global.eGameMode != GAME_MODE_PAUSE_MENU; }, 10)) << d.ModesText();
  EXPECT_EQ(clock_ValueGet(), 0);
  EXPECT_EQ(clock_PeriodGet(), 0);
  // The person's Pass kicks off; Pass every 3 s from then on, for a minute
  // of the match's clock.
  ASSERT_TRUE(m.PassUntil([] { return global.eGameMode == GAME_MODE_PLAY; }, 600)) << d.ModesText();
  EXPECT_TRUE(m.PassUntil([] { return clock_SecondsGet() >= 60; }, 3000))
      << "the clock stands at " << clock_SecondsGet() << " s; " << d.ModesText();
  EXPECT_EQ(pcmain_eCurrentState, APP_STATE_MATCH);
  // Taken in open play, the frame shows the pitch (no fade held over it).
  ASSERT_TRUE(m.PassUntil([] { return global.eGameMode == GAME_MODE_PLAY; }, 900)) << d.ModesText();
  const korvena_test::Picture f = m.Capture("played_again.tga");
  ASSERT_EQ(f.width, 640);
  EXPECT_GT(GrassPixels(f), 640 * 480 / 4);
}

// ---- The pause menu over the shoot-out's panel ----------------------------------------

// The pause menu's texts as the frame shows them: the pixels of its grey and
// yellow text colours in and about its box (from (217, 200) to (443, 392)
// on the 640 x 480 screen: the page's title and the items; the box is dark
// and see-through, so no picture under it reaches those colours).
std::vector<std::pair<int, int>> MenuTextPixels(const korvena_test::Picture& f) {
  const std::uint16_t uGrey = korvena_test::To565(200, 200, 200), uYellow = korvena_test::To565(200, 200, 0);
  std::vector<std::pair<int, int>> a;
  for (int y = 195; y < 400; y++)
    for (int x = 200; x < 460; x++)
      if (f.At(x, y) == uGrey || f.At(x, y) == uYellow) a.emplace_back(x, y);
  return a;
}

// White pixels inside the pause menu's box: none of the menu's texts is
// white, and the see-through box darkens whatever lies under it, so they are
// another panel's texts drawn over it (the shoot-out's title is white).
int WhiteInMenuBox(const korvena_test::Picture& f) {
  int n = 0;
  for (int y = 200; y < 392; y++)
    for (int x = 220; x < 441; x++) {
      const std::uint16_t p = f.At(x, y);
      n += (p >> 11) >= 30 && ((p >> 5) & 63) >= 60 && (p & 31) >= 30;
    }
  return n;
}

// The person's kick in the shoot-out with its panel slid in.
bool PersonsKickWithThePanelUp() {
  const Player* pp = mpenso_oState.poTaker;
  return global.eGameMode == GAME_MODE_SHOOTOUT && pp && pp->MyTeam == player_PlaysFor_Home &&
         caption_iTypeGet() == CAPTION_SHOOTOUT && caption_oState.iPending == 2;
}

// A Quick Start with extra time and penalties, level at each period end:
// paused in the stadium before the kick-off (the reference: the same menu
// with no panel up) and on the person's first kick of the shoot-out, whose
// panel is up. The menu's texts read the same in both frames, and nothing of
// the panel (its white title lies across "Quit Match" when drawn) shows
// inside the menu's box; resumed, the panel is back.
TEST(ShootoutPause, ThePauseMenuIsDrawnOverTheShootoutPanel) {
  MatchRun m;
  ASSERT_TRUE(m.Start(Kind::QuickStart, true));
  HistoryDriver& d = m.d;
  const auto Pause = [&] {
    m.Tap("ESCAPE");
    EXPECT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_PAUSE_MENU; }, 10)) << d.ModesText();
    m.Wait(10);
  };

  Pause();
  const korvena_test::Picture ref = m.Capture("reference.tga");
  m.Tap("J");  // Resume
  // Every period ends level, so that the match goes to penalties.
  m.pfnEachStep = [] {
    ClockWind();
    if (global.eGameMode == GAME_MODE_PERIOD_END && mftime_StepGet() < 11) match.AwayGoals = match.HomeGoals;
  };
  ASSERT_TRUE(m.PassUntil(PersonsKickWithThePanelUp, 8000)) << d.ModesText();
  m.pfnEachStep = [] {};
  // The panel's title where the menu's box comes.
  EXPECT_GT(WhiteInMenuBox(m.Capture("panel.tga")), 100);
  ASSERT_TRUE(PersonsKickWithThePanelUp());
  Pause();
  ASSERT_EQ(global.eGameMode, GAME_MODE_PAUSE_MENU) << d.ModesText();
  const korvena_test::Picture shot = m.Capture("shootout.tga");
  ASSERT_EQ(ref.width, 640);
  ASSERT_EQ(shot.width, 640);

  const std::vector<std::pair<int, int>> aWant = MenuTextPixels(ref);
  std::vector<std::pair<int, int>> aSeen = MenuTextPixels(shot);
  std::sort(aSeen.begin(), aSeen.end());
  // "GAME PAUSED" over four items.
  EXPECT_GT(aWant.size(), 200u);
  std::vector<std::pair<int, int>> aMissing;
  for (const auto& p : aWant)
    if (!std::binary_search(aSeen.begin(), aSeen.end(), p)) aMissing.push_back(p);
  EXPECT_TRUE(aMissing.empty()) << aMissing.size() << " of " << aWant.size()
                                << " pixels of the menu's texts are covered, the first at " << aMissing[0].first << ","
                                << aMissing[0].second;
  EXPECT_EQ(aSeen.size(), aWant.size());
  EXPECT_EQ(WhiteInMenuBox(shot), 0) << "another panel's texts are drawn over the pause menu";
  // Resumed, the kick goes on with its panel.
  m.Tap("J");
  ASSERT_TRUE(d.RunUntil(PersonsKickWithThePanelUp, 10)) << d.ModesText();
  EXPECT_GT(WhiteInMenuBox(m.Capture("resumed.tga")), 100);
}

}  // namespace
