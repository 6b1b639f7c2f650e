// A person's match paused with the pad's Start at each phase that leads to a
// kick-off or a restart, held a few ticks, about 4 s or about 30 s, and
// resumed from the pause menu (its select or Start again): the match goes on
// to its end every time. Where Start only paused it (the restarts and the
// kick-offs), the resumed match is the unpaused one, tick for tick, moved on
// by the length of the pause; a set piece's staging holds still from the tick
// that hears the Start. Phases where Start does something else (it
// ends the centre-spot wait as well, it leaves a replay) or nothing (the
// half-time captions, the shoot-out) must go on all the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "matchflow/clock.h"
#include "matchflow/matchflow.h"
#include "matchflow/subs.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

// Pad functions: Start, and the menu's select (read from the Pass button).
constexpr std::int32_t kStart = 3, kSelect = 16;
// Pause lengths in ticks (30 a second).
constexpr std::int32_t kFew = 5, kFourSeconds = 120, kThirtySeconds = 900;
constexpr std::int32_t kPauseMenu = GAME_MODE_PAUSE_MENU, kShootout = GAME_MODE_SHOOTOUT;

// What the unpaused match was doing on each tick.
struct TickState {
  std::int32_t eMode = 0;
  std::int32_t iWait = 0;    // the centre-spot wait's counter
  std::int32_t iLineup = 0;  // the line-up panels' phase
  std::int32_t iClock = 0;   // the match clock's seconds
  std::int32_t eBinding = 0; // the person's port's binding
  bool bSubstitute = false;  // a substitute stands staged to come on
};

struct Recorder {
  std::vector<TickState> aoTicks;
  static void Tick(std::int32_t, void* pv) {
    static_cast<Recorder*>(pv)->aoTicks.push_back(
        {global.eGameMode, kickoffwait_CounterGet(), matchflow_LineupPhaseGet(), clock_SecondsGet(),
         user_aUsers[0].pip ? user_aUsers[0].pip->eBinding : 0, setp_poSubstituteGet(1) != nullptr});
  }
};

// The matches: the person (home) taps Pass every 3 s and never moves the
// stick; 4 minutes a half, extra time and a shoot-out when level. In the
// whole match his first tap comes after the centre-spot wait has run out by
// itself, so that its walk-on, line-ups and pan all play; it is level after
// extra time (every restart of the game comes in it: throw-in, corner, free
// kick, goal kick, the keeper's ball, and a substitution by the computer at
// a set piece's staging). In the goals match he ends the wait at once and it
// has a goal in play, with its celebration, replay and kick-off. (Seed 4 is
// the first whose whole match has every phase below, seed 3 the first whose
// goals match has its goal's phases.)
enum class Match { Whole, Goals };

mh::Config MatchConfig(Match e) {
  mh::Config c;
  c.uSeed = e == Match::Whole ? 4 : 3;
  c.iLength = 4;
  c.iExtraTime = 1;
  c.aeSide[0] = mh::SideKind::User;
  c.aoCommands[0] = mh::PassTaps(90, 400000, e == Match::Whole ? 1300 : 30);
  c.cTickCap = 60000;
  return c;
}

using Ticks = std::vector<TickState>;

// The tick iAfter ticks into the iNth (from 1) stretch of mode e, counting
// only stretches that begin after the first stretch of mode eAfter (0: any);
// -1 when there is none.
std::int32_t Into(const Ticks& a, std::int32_t e, std::int32_t iAfter, std::int32_t iNth = 1, std::int32_t eAfter = 0) {
  bool bSeen = eAfter == 0;
  for (std::size_t t = 1; t < a.size(); t++) {
    if (a[t].eMode == eAfter) bSeen = true;
    if (!bSeen || a[t].eMode != e || a[t - 1].eMode == e) continue;
    if (--iNth > 0) continue;
    const std::size_t u = t + static_cast<std::size_t>(iAfter);
    return u < a.size() && a[u].eMode == e ? static_cast<std::int32_t>(u) : -1;
  }
  return -1;
}

// The first tick on which pred holds.
std::int32_t Where(const Ticks& a, const std::function<bool(const TickState&)>& pred) {
  for (std::size_t t = 0; t < a.size(); t++)
    if (pred(a[t])) return static_cast<std::int32_t>(t);
  return -1;
}

// The staging before the shoot-out: iAfter ticks into the last period end
// before it.
std::int32_t BeforeShootout(const Ticks& a, std::int32_t iAfter) {
  const std::int32_t iShootout = Into(a, kShootout, 0);
  std::int32_t iEnd = -1;
  for (std::int32_t t = 1; t < iShootout; t++)
    if (a[static_cast<std::size_t>(t)].eMode == GAME_MODE_PERIOD_END &&
        a[static_cast<std::size_t>(t - 1)].eMode != GAME_MODE_PERIOD_END)
      iEnd = t;
  return iEnd < 0 || iEnd + iAfter >= iShootout ? -1 : iEnd + iAfter;
}

// iAfter ticks into the first turn of the computer's manager (at a throw-in,
// a corner or a goal kick) after which a substitute is staged before play
// goes on: the substitution the staging plays; -1 when no turn brings one.
std::int32_t SubstitutionTurn(const Ticks& a, std::int32_t iAfter) {
  for (std::size_t t = 1; t < a.size(); t++) {
    if (a[t].eMode != GAME_MODE_CPU_SUBS || a[t - 1].eMode == GAME_MODE_CPU_SUBS) continue;
    for (std::size_t u = t; u < a.size() && a[u].eMode != GAME_MODE_PLAY; u++) {
      if (!a[u].bSubstitute) continue;
      const std::size_t v = t + static_cast<std::size_t>(iAfter);
      return v < a.size() && a[v].eMode == GAME_MODE_CPU_SUBS ? static_cast<std::int32_t>(v) : -1;
    }
  }
  return -1;
}

// In the shoot-out, 20 ticks into the person's first kick (his binding for
// a penalty, which hears Start; the others' kicks do not).
std::int32_t ShootoutKick(const Ticks& a) {
  constexpr std::int32_t kPenaltyBinding = 33;
  std::int32_t cHeld = 0;
  for (std::size_t t = 0; t < a.size(); t++) {
    cHeld = a[t].eMode == kShootout && a[t].eBinding == kPenaltyBinding ? cHeld + 1 : 0;
    if (cHeld == 20) return static_cast<std::int32_t>(t);
  }
  return -1;
}

struct Phase {
  const char* pszName;
  Match eMatch;
  std::function<std::int32_t(const Ticks&)> pfnFind;
  bool bPauses;          // Start opens the pause menu here
  bool bSame;            // and only that: the match resumes as it was
  std::int32_t iLate = 0;  // ticks the Start waits for a mode that hears it
  bool bSubstitutes = false;  // a substitute comes on in the staging it pauses
};

const Phase kaPhases[] = {
    {"WalkOn", Match::Whole, [](const Ticks& a) { return Where(a, [](auto& s) { return s.eMode == GAME_MODE_INTERVAL && s.iWait == 20; }); }, true, false},
    {"HomeLineUp", Match::Whole, [](const Ticks& a) { return Where(a, [](auto& s) { return s.eMode == GAME_MODE_INTERVAL && s.iLineup == 2; }); }, true, false},
    {"AwayLineUp", Match::Whole, [](const Ticks& a) { return Where(a, [](auto& s) { return s.eMode == GAME_MODE_INTERVAL && s.iLineup == 4; }); }, true, false},
    {"Pan", Match::Whole, [](const Ticks& a) { return Where(a, [](auto& s) { return s.eMode == GAME_MODE_INTERVAL && s.iWait == 700; }); }, true, false},
    {"FirstKickOff", Match::Whole, [](const Ticks& a) { return Into(a, GAME_MODE_KICK_OFF, 10); }, true, true},
    {"HalfTime", Match::Whole, [](const Ticks& a) { return Into(a, GAME_MODE_PERIOD_BREAK, 100); }, false, false},
    {"SecondHalfKickOff", Match::Whole,
     [](const Ticks& a) { return Into(a, GAME_MODE_KICK_OFF, 5, 1, GAME_MODE_PERIOD_BREAK); }, true, true},
    {"ExtraTimeKickOff", Match::Whole,
     [](const Ticks& a) { return Into(a, GAME_MODE_KICK_OFF, 5, 1, GAME_MODE_PERIOD_END); }, true, true},
    {"ShootoutStaging", Match::Whole, [](const Ticks& a) { return BeforeShootout(a, 100); }, false, false},
    {"Shootout", Match::Whole, [](const Ticks& a) { return ShootoutKick(a); }, true, false},
    {"ThrowIn", Match::Whole, [](const Ticks& a) { return Into(a, GAME_MODE_THROW_IN, 20); }, true, true},
    {"Corner", Match::Whole, [](const Ticks& a) { return Into(a, GAME_MODE_CORNER, 20); }, true, true},
    {"FreeKick", Match::Whole, [](const Ticks& a) { return Into(a, GAME_MODE_FREE_KICK, 20); }, true, true},
    {"GoalKick", Match::Whole, [](const Ticks& a) { return Into(a, GAME_MODE_GOAL_KICK, 20); }, true, true},
    {"KeepersBall", Match::Whole, [](const Ticks& a) { return Into(a, GAME_MODE_KEEPER_HANDS, 20); }, true, true},
    {"StandingPause", Match::Whole, [](const Ticks& a) { return Into(a, GAME_MODE_RETURN_POSITIONS, 20); }, true, false},
    // The staging stands from the tick of the Start (that tick is played
    // after the resume); staging_pause_test follows it tick for tick.
    {"SetPieceScript", Match::Whole, [](const Ticks& a) { return Into(a, GAME_MODE_SET_PIECE_SCRIPT, 20); }, true, false},
    // The computer's substitution hears no input: the staging it came over
    // hears the Start when it goes on, and brings the substitute on.
    {"Substitution", Match::Whole, [](const Ticks& a) { return SubstitutionTurn(a, 1); }, true, false, 2, true},
    {"GoalCelebration", Match::Goals, [](const Ticks& a) { return Into(a, GAME_MODE_GOAL_CELEBRATION, 30); }, false, false},
    {"GoalReplay", Match::Goals, [](const Ticks& a) { return Into(a, GAME_MODE_REPLAY, 20); }, false, false},
    {"KickOffAfterAGoal", Match::Goals,
     [](const Ticks& a) { return Into(a, GAME_MODE_KICK_OFF, 5, 1, GAME_MODE_REPLAY); }, true, true},
};

void PrintTo(const Phase& o, std::ostream* os) { *os << o.pszName; }

// A pause's length in ticks; the button that resumes it changes with it.
struct Pause {
  std::int32_t cTicks;
  const char* pszName;
};
const Pause kaPauses[] = {{kFew, "AFewTicks"}, {kFourSeconds, "FourSeconds"}, {kThirtySeconds, "ThirtySeconds"}};
std::int32_t ResumeButton(const Pause& o) { return o.cTicks == kFourSeconds ? kStart : kSelect; }
void PrintTo(const Pause& o, std::ostream* os) { *os << o.pszName; }

class MatchPause : public ::testing::TestWithParam<std::tuple<Phase, Pause>> {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

TEST_P(MatchPause, ResumedFromThePauseMenuTheMatchGoesOnToItsEnd) {
  const Phase& o = std::get<0>(GetParam());
  // Where Start opens no pause menu, a second Start would open one later on:
  // the person presses select there instead.
  const std::int32_t cPause = std::get<1>(GetParam()).cTicks;
  const std::int32_t eResume = o.bPauses ? ResumeButton(std::get<1>(GetParam())) : kSelect;
  const mh::Config c = MatchConfig(o.eMatch);
  Recorder base;
  std::vector<mh::Hash> aBase;
  const mh::Result rBase = mh::Run(c, &aBase, Recorder::Tick, &base);
  ASSERT_TRUE(rBase.bFinished) << rBase.Describe(c);
  const std::int32_t iAt = o.pfnFind(base.aoTicks);
  ASSERT_GT(iAt, 0) << "the unpaused match has no such phase: " << rBase.Describe(c);
  const std::int32_t eModeAt = base.aoTicks[static_cast<std::size_t>(iAt)].eMode;

  // Start let go on tick iAt; the resume let go cPause ticks later (Start
  // resumes on that tick, the select runs its menu item on the next); the
  // person's later taps come as long after as the pause lasted.
  const std::int32_t cShift = cPause + (eResume == kSelect ? 1 : 0);
  mh::Config p = c;
  std::vector<mh::Command>& a = p.aoCommands[0];
  for (mh::Command& k : a)
    if (k.iTick >= iAt - 1) k.iTick += cShift;
  a.push_back({iAt - 1, -kStart, 0, 1});
  a.push_back({iAt, -kStart, 0, 0});
  a.push_back({iAt + cPause - 1, -eResume, 0, 1});
  a.push_back({iAt + cPause, -eResume, 0, 0});
  std::stable_sort(a.begin(), a.end(), [](const mh::Command& x, const mh::Command& y) { return x.iTick < y.iTick; });
  Recorder paused;
  std::vector<mh::Hash> aPaused;
  const mh::Result r = mh::Run(p, &aPaused, Recorder::Tick, &paused);
  SCOPED_TRACE(std::string(o.pszName) + ": Start at tick " + std::to_string(iAt) + " in mode " +
               std::to_string(eModeAt));

  EXPECT_TRUE(r.bFinished) << "stuck in mode " << r.eStuckMode << "; " << r.Describe(p);
  const std::int32_t cPaused = static_cast<std::int32_t>(
      std::count_if(paused.aoTicks.begin(), paused.aoTicks.end(), [](auto& s) { return s.eMode == kPauseMenu; }));
  if (!o.bPauses) {
    EXPECT_EQ(cPaused, 0);
    return;
  }
  EXPECT_EQ(cPaused, cShift - o.iLate) << "the pause menu was not open from the Start to the resume";
  // The line-up panels wait through the pause (drawn over the pause menu
  // and counted away, they would hide it and be missed).
  const std::size_t uAt = static_cast<std::size_t>(iAt);
  for (std::size_t t = uAt + 1; t < uAt + static_cast<std::size_t>(cShift) && t < paused.aoTicks.size(); t++)
    ASSERT_EQ(paused.aoTicks[t].iLineup, paused.aoTicks[uAt].iLineup) << "tick " << t << " in the pause";
  // The match is played after the resume: it reaches open play and its
  // clock runs on to the end (a shoot-out has neither).
  const std::size_t uResumed = static_cast<std::size_t>(iAt + cShift);
  ASSERT_LT(uResumed, paused.aoTicks.size());
  const auto itResumed = paused.aoTicks.begin() + static_cast<std::ptrdiff_t>(uResumed);
  if (eModeAt != kShootout) {
    EXPECT_TRUE(std::any_of(itResumed, paused.aoTicks.end(), [](auto& s) { return s.eMode == GAME_MODE_PLAY; }));
    EXPECT_GT(r.iSeconds, itResumed->iClock) << "the clock stood from the resume to the end";
  }
  if (o.bSubstitutes) {
    // The Start is heard in the staging with the substitute staged, and he
    // is still there after the resume, before play goes on.
    const auto itMenu = std::find_if(paused.aoTicks.begin(), paused.aoTicks.end(), [](auto& s) { return s.eMode == kPauseMenu; });
    ASSERT_TRUE(itMenu != paused.aoTicks.end() && itMenu != paused.aoTicks.begin());
    EXPECT_EQ((itMenu - 1)->eMode, GAME_MODE_SET_PIECE_SCRIPT) << "the pause menu came over no staging";
    EXPECT_TRUE((itMenu - 1)->bSubstitute) << "the paused staging had no substitute staged";
    const auto itPlay = std::find_if(itResumed, paused.aoTicks.end(), [](auto& s) { return s.eMode == GAME_MODE_PLAY; });
    EXPECT_TRUE(std::any_of(itResumed, itPlay, [](auto& s) { return s.eMode == GAME_MODE_SET_PIECE_SCRIPT && s.bSubstitute; }))
        << "no substitute came on in the staging after the resume";
  }
  if (!o.bSame) return;
  EXPECT_EQ(r.iSeconds, rBase.iSeconds) << "the match's time played";
  // Nothing of the match moved while it was paused, and it goes on as the
  // unpaused match did.
  ASSERT_EQ(aPaused.size(), aBase.size() + static_cast<std::size_t>(cShift));
  for (std::size_t t = 0; t < aPaused.size(); t++) {
    const mh::Hash& h = aPaused[t];
    // The tick that hears the Start still plays; the match then stands as
    // it was on it until the tick after the resume.
    const std::size_t u = t <= uAt ? t : t < uResumed ? uAt : t - static_cast<std::size_t>(cShift);
    if (t >= uAt && t < uResumed) {
      // Paused: the match as on the tick of the Start, but for the modes
      // and the clock, which holds its state until the resume.
      for (std::int32_t g = 0; g < mh::kGroups; g++) {
        if (g == mh::kModes || g == mh::kClock) continue;
        ASSERT_EQ(h.au[g], aBase[u].au[g]) << "tick " << t << " in the pause: " << mh::kGroupNames[g] << " changed";
      }
      continue;
    }
    ASSERT_EQ(h.Combined(), aBase[u].Combined()) << "tick " << t << " (unpaused tick " << u << ")";
  }
  EXPECT_EQ(r.aiScore[0], rBase.aiScore[0]);
  EXPECT_EQ(r.aiScore[1], rBase.aiScore[1]);
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, MatchPause, ::testing::Combine(::testing::ValuesIn(kaPhases), ::testing::ValuesIn(kaPauses)),
                         [](const ::testing::TestParamInfo<std::tuple<Phase, Pause>>& i) {
                           return std::string(std::get<0>(i.param).pszName) + "_" + std::get<1>(i.param).pszName;
                         });

}  // namespace
