// Matches of the real game, played in this process through its own frame
// loop with the keyboard (and a pad for a second person), paused with Escape
// before their kick-off while the stadium is shown, left paused for 30
// seconds and resumed with Pass from the pause menu; later paused again at
// the second half's kick-off for 4 seconds and resumed with Escape. Each
// match kicks off after the first pause, goes on after the second and is
// played to full time: a Quick Start, a friendly with a person on each side
// and a history match loaded from a save.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "e2e/history_save.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhmain.h"
#include "frontend/pcsave.h"
#include "matchflow/clock.h"
#include "matchflow/matchflow.h"
#include "platform/headless.h"
#include "shell/global.h"
#include "shell/pcmain_states.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "support/run_game.h"

namespace {

using korvena_test::HistoryDriver;
using korvena_test::scriptKey;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-pause-kickoff", true, nullptr, nullptr});

// Steps (30 a second): the first pause, the second, Pass tapped every 3 s.
constexpr std::int32_t kThirtySeconds = 900, kFourSeconds = 120, kTapEvery = 90;
constexpr std::int32_t kLeaveReplay = 83;
// The centre-spot wait's count when the first Escape comes: the line-ups
// are done and the camera pans the stadium.
constexpr std::int32_t kPanWait = 450;

enum class Kind { QuickStart, FriendlyTwoPersons, History };

struct Case {
  const char* pszName;
  Kind eKind;
};

void PrintTo(const Case& o, std::ostream* os) { *os << o.pszName; }

// A new 1958 history, England the person's team, in this program's save
// folder; its first match is a qualifier.
void EnglandHistorySave() {
  korvena_test::EnglandHistoryBuild(korvena_test::BuildDir() + "/bin/korvena");
  const std::filesystem::path folder = korvena_test::HeadlessRoot() / "share/korvena-football/savegame";
  std::filesystem::create_directories(folder);
  korvena_test::Write(folder / "England 1958  1.5.57.SAV", reinterpret_cast<const char*>(pcsave_abImage),
                      PCSAVE_IMAGE_SIZE);
}

// The keys from the main menu to the match, at their steps. Quick Start
// with the keyboard alone puts it at home; with a pad plugged in the sides
// are chosen (the keyboard left to the home side, the pad right to the away
// side).
std::string Keys(Kind e) {
  if (e == Kind::History) return korvena_test::LoadAndPlayMatch();
  if (e == Kind::QuickStart)
    return scriptKey(100, "RIGHT") + scriptKey(110, "RETURN") + scriptKey(116, "LEFT") + scriptKey(122, "RETURN");
  std::string s = "95 joyplug Pad 6 16 1\n" + scriptKey(100, "RIGHT") + scriptKey(110, "RETURN");
  return s + scriptKey(120, "LEFT") + "124 joyaxis 0 X 32000\n128 joyaxis 0 X 0\n" + scriptKey(140, "RETURN");
}

class PauseBeforeKickOff : public ::testing::TestWithParam<Case> {};

TEST_P(PauseBeforeKickOff, ResumedTheMatchKicksOffAndIsPlayedToFullTime) {
  const Case& o = GetParam();
  if (o.eKind == Kind::History) EnglandHistorySave();
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  // The shortest match the options offer (a history's is its own).
  mcondi_MatchLengthSet(5);
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_MAIN_MENU; }, 90)) << d.ModesText();
  d.Step();
  ASSERT_LT(platform::headlessStep(), 95u);
  std::string why;
  ASSERT_TRUE(platform::headlessLoadScriptText(Keys(o.eKind), &why)) << why;
  // A goal's replay is left as soon as it shows.
  d.Answer(GAME_MODE_REPLAY, [](HistoryDriver& h) { h.Events({kLeaveReplay}); });

  // Steps, the current mode's answer given first on each; a key pressed on
  // the next step and let go two steps later, and with Pass the pad's Pass
  // (its button 1) too, for the pad's person to take his side's kick-offs.
  const auto Wait = [&](std::int32_t n) { d.RunUntil([] { return false; }, n); };
  const bool bPad = o.eKind == Kind::FriendlyTwoPersons;
  const auto Tap = [&](const char* pszKey) {
    std::string why;
    ASSERT_TRUE(platform::headlessLoadScriptText(korvena_test::scriptTap(platform::headlessStep() + 1, pszKey, bPad), &why))
        << why;
    Wait(4);
  };

  // The stadium before the kick-off: Escape opens the pause menu.
  ASSERT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_INTERVAL && kickoffwait_CounterGet() >= kPanWait; }, 3000))
      << d.ModesText();
  Tap("ESCAPE");
  ASSERT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_PAUSE_MENU; }, 10)) << d.ModesText();
  Wait(kThirtySeconds);
  ASSERT_EQ(global.eGameMode, GAME_MODE_PAUSE_MENU) << d.ModesText();
  // Pass chooses "Resume Match"; the match kicks off.
  Tap("J");
  ASSERT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_KICK_OFF; }, 400)) << d.ModesText();

  // The match: Pass every 3 s until the second half's kick-off, paused there.
  bool bHalfTime = false, bPeriodEnd = false, bEnded = false;
  std::int32_t iSecondPause = -1, iClockAtResume = -1, iStepsPaused = 0;
  for (std::int32_t i = 0; i < 60000 && !bEnded; i++) {
    const std::int32_t e = global.eGameMode;
    bHalfTime = bHalfTime || e == GAME_MODE_PERIOD_BREAK;
    bPeriodEnd = bPeriodEnd || e == GAME_MODE_PERIOD_END;
    // The end: the choice after a friendly's full time, or a history's match
    // over and left.
    bEnded = (e == GAME_MODE_PERIOD_END && mftime_StepGet() >= 12) || e == GAME_MODE_MATCH_END ||
             pcmain_eCurrentState != APP_STATE_MATCH;
    if (bEnded) break;
    if (bHalfTime && iSecondPause < 0 && e == GAME_MODE_KICK_OFF) {
      iSecondPause = static_cast<std::int32_t>(d.Steps());
      Tap("ESCAPE");
      ASSERT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_PAUSE_MENU; }, 10)) << d.ModesText();
      Wait(kFourSeconds);
      iStepsPaused += global.eGameMode == GAME_MODE_PAUSE_MENU ? kFourSeconds : 0;
      // Escape closes the pause menu as Resume does.
      Tap("ESCAPE");
      iClockAtResume = clock_SecondsGet();
      continue;
    }
    if (i % kTapEvery == 0) Tap("J");
    else Wait(1);
  }
  SCOPED_TRACE(d.ModesText());
  EXPECT_TRUE(bHalfTime);
  EXPECT_GE(iSecondPause, 0) << "no kick-off after half time";
  EXPECT_EQ(iStepsPaused, kFourSeconds) << "the second pause did not hold";
  EXPECT_GT(clock_SecondsGet(), iClockAtResume + 60) << "the clock stood after the second pause";
  // Full time: the match ended through its period end (a match left through
  // the pause menu does not).
  EXPECT_TRUE(bEnded) << "mode " << global.eGameMode << " at " << clock_MinuteGet() << ":" << clock_SecondOfMinuteGet();
  EXPECT_TRUE(bPeriodEnd);
}

const Case kaCases[] = {
    {"QuickStart", Kind::QuickStart},
    {"FriendlyTwoPersons", Kind::FriendlyTwoPersons},
    {"History", Kind::History},
};

INSTANTIATE_TEST_SUITE_P(EveryKindOfMatch, PauseBeforeKickOff, ::testing::ValuesIn(kaCases),
                         [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.pszName); });

}  // namespace
