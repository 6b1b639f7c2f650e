// A match played after another equals, tick for tick and in every hash
// group, the same match played first (in a new process, this program started
// again). The match before is played to full time (a friendly, with a pause
// on the way or not, a history match, one decided by a shoot-out) or quit
// from the pause menu in the walk-on, a line-up, the pan, the centre-spot
// wait or open play. The match after is a person's, left alone or paused in
// its centre-spot wait and resumed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/menu.h"
#include "matchflow/pausemenu.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/pause.h"
#include "shell/user.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

// The pad's Start; the pause menu's down, select and Start (which resumes).
constexpr std::int32_t kStart = 3, kMenuDown = 9, kMenuSelect = 6, kMenuStart = 5;
// Centre-spot wait counts: the walk-on, the pan, the camera resting on the
// centre spot before the kick-off.
constexpr std::int32_t kWalkOn = 20, kPan = 700, kCentreSpot = 1100;

void Post(std::int32_t iEvent) {
  User& u = user_aUsers[0];
  InputEvent* pe = nullptr;
  if (!u.pip || !input_bEventAlloc(&pe)) return;
  pe->eEvent = iEvent;
  pe->pWidget = nullptr;
  queue_Append(&u.pip->oEvents, &pe->oLink);
}

// The events Start let go gives through the port's active binding (the
// centre-spot wait's gives two: the wait ended, and the pause).
void StartPost() {
  const User& u = user_aUsers[0];
  if (!u.pip || !u.pip->pipbInputPortBinding) return;
  for (const InputPortBinding* pe = u.pip->pipbInputPortBinding; pe->eTrigger != INPUT_TRIGGER_END; ++pe)
    if (pe->eFunction == kStart && pe->eTrigger == INPUT_TRIGGER_RELEASE) Post(static_cast<std::int32_t>(pe->eEvent));
}

// What the person does besides tapping Pass, decided after each tick from
// what the match shows (so that it comes at the same point of the match
// whatever came before): Start once where bAt first holds; then, in the
// pause menu, Start again iResumeAfter ticks later, or (iResumeAfter 0) down
// to the quit page, Yes and out of the match.
struct Person {
  std::function<bool()> bAt;
  std::int32_t iResumeAfter = 0;
  std::int32_t iPausedAt = -1;  // the tick of the Start
  bool bResumed = false;
  std::int32_t eModeAtStart = 0;
};

void Act(std::int32_t iTick, void* pv) {
  Person& p = *static_cast<Person*>(pv);
  const std::int32_t e = global.eGameMode;
  if (p.iPausedAt < 0) {
    if (!p.bAt || !p.bAt()) return;
    p.iPausedAt = iTick;
    p.eModeAtStart = e;
    StartPost();
    return;
  }
  if (e != GAME_MODE_PAUSE_MENU || p.bResumed) return;
  if (p.iResumeAfter > 0) {
    if (iTick - p.iPausedAt >= p.iResumeAfter) {
      Post(kMenuStart);
      p.bResumed = true;
    }
    return;
  }
  const Menu* m = menu_MenuFind(PAUSEMENU_NAME);
  if (!m || !m->poCurrentPage || !m->poCurrentPage->poCurrent) return;
  const char* pszLabel = m->poCurrentPage->poCurrent->szLabel;
  const char* pszQuit = pausemenu_pszPageGet(2);
  const bool bOnQuitPage = std::strcmp(m->szCurrentPage, pszQuit) == 0;
  const char* pszWanted = bOnQuitPage ? gstatso_StrGet(PAUSEMENU_T_YES) : pszQuit;
  Post(std::strcmp(pszLabel, pszWanted) == 0 ? kMenuSelect : kMenuDown);
}

bool InWait(std::int32_t iCount) { return global.eGameMode == GAME_MODE_INTERVAL && kickoffwait_CounterGet() == iCount; }

// Levels the score at the end of normal time and of extra time when bLevel
// (a shoot-out follows).
struct Level {
  Person oPerson;
  bool bLevel = false;
  bool bInPeriodEnd = false;
  std::int32_t cPeriodEnds = 0;
};
void ActLevel(std::int32_t iTick, void* pv) {
  Level& l = *static_cast<Level*>(pv);
  const bool bIn = global.eGameMode == GAME_MODE_PERIOD_END;
  if (l.bLevel && bIn && !l.bInPeriodEnd && l.cPeriodEnds++ < 2) match.AwayGoals = match.HomeGoals;
  l.bInPeriodEnd = bIn;
  Act(iTick, &l.oPerson);
}

// A person's friendly at home on the seed: 2 minutes a half, Pass tapped
// every 3 s from the tick given (by default once the centre-spot wait has run
// out by itself).
mh::Config PersonsMatch(std::uint32_t uSeed, std::int32_t iTapsFrom = 1300) {
  mh::Config c;
  c.uSeed = uSeed;
  c.iLength = 2;
  c.iExtraTime = 0;
  c.bPenalties = 0;
  c.aeSide[0] = mh::SideKind::User;
  c.aoCommands[0] = mh::PassTaps(90, 100000, iTapsFrom);
  c.cTickCap = 30000;
  c.bFreshRecords = false;  // the game's set-up alone must clear what the last match left
  return c;
}

// The match after: seed 31, left alone, or paused in its centre-spot wait for
// 2 s or for 60 s (the person's taps come after the pause).
enum class After { Alone, Paused2s, Paused60s };
constexpr std::uint32_t kAfterSeed = 31;
std::int32_t PauseLength(After e) { return e == After::Alone ? 0 : e == After::Paused2s ? 60 : 1800; }
Person AfterPerson(After e) {
  Person p;
  if (e == After::Alone) return p;
  p.bAt = [] { return InWait(kCentreSpot); };
  p.iResumeAfter = PauseLength(e);
  return p;
}

struct Played {
  std::vector<mh::Hash> aHashes;
  mh::Result oResult;
  std::int32_t eModeAtStart = 0;
};

Played PlayAfter(After e) {
  Played o;
  Person p = AfterPerson(e);
  const mh::Config c = PersonsMatch(kAfterSeed, 1300 + PauseLength(e));
  o.oResult = mh::Run(c, &o.aHashes, Act, &p);
  o.eModeAtStart = p.eModeAtStart;
  return o;
}

// In the started copy: KORVENA_AFTER_PLAY names the match after, played as
// the only match of the process; its hashes go to KORVENA_AFTER_OUT.
class AfterChild : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* pszPlay = std::getenv("KORVENA_AFTER_PLAY");
    const char* pszOut = std::getenv("KORVENA_AFTER_OUT");
    if (!pszPlay || !pszOut) return;
    if (!mh::Setup()) std::_Exit(3);
    const Played o = PlayAfter(static_cast<After>(std::atoi(pszPlay)));
    if (!o.oResult.bFinished) std::_Exit(4);
    std::_Exit(mh::HashesWrite(pszOut, o.aHashes) ? 0 : 1);
  }
};
::testing::Environment* const g_poChild = ::testing::AddGlobalTestEnvironment(new AfterChild);

std::vector<mh::Hash> PlayedFirst(After e) {
  return mh::ChildHashes("KORVENA_AFTER_PLAY=" + std::to_string(static_cast<int>(e)), "KORVENA_AFTER_OUT");
}

// The first tick and group where two runs differ ("" when equal).
std::string FirstDifference(const std::vector<mh::Hash>& a, const std::vector<mh::Hash>& b) {
  for (std::size_t t = 0; t < a.size() && t < b.size(); t++)
    for (std::int32_t g = 0; g < mh::kGroups; g++)
      if (a[t].au[g] != b[t].au[g]) return "tick " + std::to_string(t) + " group " + mh::kGroupNames[g];
  if (a.size() != b.size()) return "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size());
  return "";
}

// The match before.
struct Before {
  const char* pszName;
  std::uint32_t uSeed;
  std::function<bool()> bQuitAt;  // null: played to its end
  std::int32_t iPausedFor = 0;     // played to its end with a pause in its centre-spot wait
  bool bHistory = false;
  bool bShootout = false;
  After eAfter;
};

void PrintTo(const Before& o, std::ostream* os) { *os << o.pszName; }

const Before kaBefore[] = {
    {"FullTime", 12, nullptr, 0, false, false, After::Paused2s},
    {"FullTimeThenAlone", 13, nullptr, 0, false, false, After::Alone},
    {"FullTimePausedInItsWait", 14, nullptr, 300, false, false, After::Paused60s},
    {"History", 15, nullptr, 0, true, false, After::Paused2s},
    {"Shootout", 16, nullptr, 0, false, true, After::Paused2s},
    {"QuitInTheWalkOn", 17, [] { return InWait(kWalkOn); }, 0, false, false, After::Paused2s},
    {"QuitInTheHomeLineUp", 18,
     [] { return global.eGameMode == GAME_MODE_INTERVAL && matchflow_LineupPhaseGet() == 2; }, 0, false, false,
     After::Paused2s},
    {"QuitInTheAwayLineUp", 19,
     [] { return global.eGameMode == GAME_MODE_INTERVAL && matchflow_LineupPhaseGet() == 4; }, 0, false, false,
     After::Alone},
    {"QuitInThePan", 20, [] { return InWait(kPan); }, 0, false, false, After::Paused2s},
    {"QuitInTheCentreSpotWait", 21, [] { return InWait(kCentreSpot); }, 0, false, false, After::Paused60s},
    {"QuitInOpenPlay", 22, [] { return global.eGameMode == GAME_MODE_PLAY && clock_SecondsGet() >= 600; }, 0, false,
     false, After::Paused2s},
};

class MatchAfterMatch : public ::testing::TestWithParam<Before> {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

TEST_P(MatchAfterMatch, PlaysAsTheSameMatchPlayedFirst) {
  const Before& b = GetParam();
  Level l;
  mh::Config c = PersonsMatch(b.uSeed, 1300 + b.iPausedFor);
  c.bTournament = b.bHistory ? 1 : 0;
  c.bPenalties = b.bShootout ? 1 : 0;
  c.iExtraTime = b.bShootout ? 1 : 0;
  l.bLevel = b.bShootout;
  if (b.bQuitAt) {
    l.oPerson.bAt = b.bQuitAt;
  } else if (b.iPausedFor > 0) {
    l.oPerson.bAt = [] { return InWait(kCentreSpot); };
    l.oPerson.iResumeAfter = b.iPausedFor;
  }
  const mh::Result r = mh::Run(c, nullptr, ActLevel, &l);
  ASSERT_TRUE(r.bFinished) << "the match before: " << r.Describe(c);
  if (b.bQuitAt) {
    ASSERT_GE(l.oPerson.iPausedAt, 0) << "the match before never came to the point of its quit";
    EXPECT_LT(r.cTicks, l.oPerson.iPausedAt + 20) << "the match before was not quit from its pause menu";
  } else {
    EXPECT_TRUE(r.mapEntries.count(GAME_MODE_PERIOD_END)) << "the match before did not reach full time";
  }
  if (b.bShootout) {
    EXPECT_GT(r.aiShootoutKicks[0], 0) << "the match before had no shoot-out";
  }
  if (b.iPausedFor > 0) {
    EXPECT_TRUE(l.oPerson.bResumed);
  }

  const Played o = PlayAfter(b.eAfter);
  EXPECT_TRUE(o.oResult.bFinished) << "the match after: stuck in mode " << o.oResult.eStuckMode;
  if (b.eAfter != After::Alone) {
    EXPECT_EQ(o.eModeAtStart, GAME_MODE_INTERVAL);
  }
  EXPECT_EQ(pause_bIsPaused(), 0);
  const std::vector<mh::Hash> aFirst = PlayedFirst(b.eAfter);
  ASSERT_FALSE(aFirst.empty()) << "the match after did not play to its end as the first match of a process";
  EXPECT_EQ(FirstDifference(o.aHashes, aFirst), "") << "after " << b.pszName;
}

INSTANTIATE_TEST_SUITE_P(EveryMatchBefore, MatchAfterMatch, ::testing::ValuesIn(kaBefore),
                         [](const ::testing::TestParamInfo<Before>& i) { return std::string(i.param.pszName); });

}  // namespace
