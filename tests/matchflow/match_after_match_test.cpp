// A match played after another equals, tick for tick and in every hash
// group, the same match played first (in a new process, this program started
// again). The match before is played to full time (a friendly, with a pause
// on the way or not, a history match, one decided by a shoot-out) or quit
// from the pause menu in the walk-on, a line-up, the pan, the centre-spot
// wait or open play. The match after is a person's, left alone or paused in
// its centre-spot wait and resumed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/player.h"
#include "matchflow/camera.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "matchflow/matcha_save.h"
#include "matchflow/matchflow.h"
#include "matchflow/matchstate.h"
#include "shell/global.h"
#include "shell/gmewidg.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/pause.h"
#include "shell/user.h"
#include "support/input_ports.h"
#include "support/match_harness.h"
#include "support/pause_presses.h"
#include "tournament/tournament_services.h"

namespace mh = match_harness;

namespace {

// Centre-spot wait counts: the walk-on, the pan, the camera resting on the
// centre spot before the kick-off.
constexpr std::int32_t kWalkOn = 20, kPan = 700, kCentreSpot = 1100;

void Post(std::int32_t iEvent) { korvena_test::FirstUserEventPost(iEvent); }

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
    korvena_test::StartLetGoPost();
    return;
  }
  if (e != GAME_MODE_PAUSE_MENU || p.bResumed) return;
  if (p.iResumeAfter > 0) {
    if (iTick - p.iPausedAt >= p.iResumeAfter) {
      Post(korvena_test::kMenuStart);
      p.bResumed = true;
    }
    return;
  }
  korvena_test::QuitMatchPress();
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

// ---- The same match played again ------------------------------------------

// The events the Pass button gives through the port's active binding on the
// trigger given (every function read from the button, as a pad's button).
void PassPost(std::int32_t eTrigger) {
  constexpr std::int32_t kPass = 4;
  const User& u = user_aUsers[0];
  if (!u.pip || !u.pip->pipbInputPortBinding) return;
  const std::int32_t w = gmewidg_eGetWidget(kPass, u.pip->cConfig);
  for (const InputPortBinding* pe = u.pip->pipbInputPortBinding; pe->eTrigger != INPUT_TRIGGER_END; ++pe)
    if (static_cast<std::int32_t>(pe->eTrigger) == eTrigger && gmewidg_eGetWidget(static_cast<std::int32_t>(pe->eFunction), u.pip->cConfig) == w)
      Post(static_cast<std::int32_t>(pe->eEvent));
}

// The match played again starts on the same random stream in every run.
constexpr std::uint32_t kAgainSeed = 41;

// What a run shows of its second match (its second start): the per-tick
// hashes and the bytes of both sides' player records from its start, the
// shoot-out panel's marks as its shoot-out begins, the camera's eye and
// target over the first steps of its kick-off, and its save.
struct Again {
  std::vector<mh::Hash> aHashes;
  std::vector<std::string> asPlayers;
  std::vector<std::int32_t> aiMarks;
  std::vector<std::int32_t> aiCamera;
  std::vector<std::uint8_t> abSave;
  mh::Result oResult;
};

constexpr std::int32_t kCameraSteps = 40;

// The run's watch, after every tick: the person taps Pass every 3 s from the
// kick-off of each match (counted from its start, so that the match played
// again gets the same presses whatever its tick); the score is levelled as
// normal time and extra time end (phases 0 and 1), so that extra time and a
// shoot-out, or the replay, follow.
struct Watch {
  Again* po = nullptr;
  std::int32_t cStarts = 0;
  std::int32_t iStartTick = 0;  // the tick of the last start
  std::int32_t iTicks = 0;
  bool bInPeriodEnd = false;
  bool bMarksTaken = false;
  std::int32_t iKickOffAt = -1;
  std::uint32_t uReseed = 0;  // the seed put in at the second start (0 none)
  std::int32_t iWatched = 2;  // the start whose match is watched
};
Watch g_oWatch;

void StartSeen() {
  Watch& w = g_oWatch;
  w.cStarts++;
  w.iStartTick = w.iTicks;
  if (w.cStarts == w.iWatched && w.uReseed) mh::SeedRestore(w.uReseed);
}

std::string PlayerBytes() {
  return std::string(reinterpret_cast<const char*>(player_aHome), sizeof player_aHome) +
         std::string(reinterpret_cast<const char*>(player_aAway), sizeof player_aAway);
}

void WatchTick(std::int32_t iTick, void*) {
  Watch& w = g_oWatch;
  w.iTicks = iTick + 1;
  const std::int32_t t = iTick - w.iStartTick;  // ticks since the start
  const std::int32_t iFrom = w.cStarts == 1 ? 1300 : 60;
  if (t >= iFrom && (t - iFrom) % 90 == 0) PassPost(INPUT_TRIGGER_PRESS);
  if (t >= iFrom && (t - iFrom) % 90 == 1) PassPost(INPUT_TRIGGER_RELEASE);
  const bool bIn = global.eGameMode == GAME_MODE_PERIOD_END;
  if (bIn && !w.bInPeriodEnd && tmglobal_MatchPhaseGet() <= 1) match.AwayGoals = match.HomeGoals;
  w.bInPeriodEnd = bIn;
  if (w.cStarts != w.iWatched || !w.po) return;
  Again& a = *w.po;
  a.aHashes.push_back(mh::StateHash());
  a.asPlayers.push_back(PlayerBytes());
  if (global.eGameMode == GAME_MODE_SHOOTOUT && !w.bMarksTaken) {
    w.bMarksTaken = true;
    for (const auto& ai : caption_oState.aaiShootout) a.aiMarks.insert(a.aiMarks.end(), ai, ai + 5);
  }
  if (global.eGameMode == GAME_MODE_KICK_OFF && w.iKickOffAt < 0) w.iKickOffAt = iTick;
  if (w.iKickOffAt >= 0 && iTick - w.iKickOffAt < kCameraSteps) {
    const CameraView* v = camera_poViewGet();
    a.aiCamera.insert(a.aiCamera.end(), v->aiEye, v->aiEye + 3);
    a.aiCamera.insert(a.aiCamera.end(), v->aiTarget, v->aiTarget + 3);
  }
}

// A person's match with extra time and penalties: a friendly whose end
// choice is Play Again, or a history match (played again when drawn after
// extra time).
mh::Config AgainConfig(std::uint32_t uSeed, bool bHistory) {
  mh::Config c = PersonsMatch(uSeed);
  c.aoCommands[0].clear();
  c.iExtraTime = 1;
  c.bPenalties = 1;
  c.cTickCap = 80000;
  if (bHistory) {
    c.bTournament = 1;
    c.iRoundFormat = 3;
  } else {
    c.bPlayAgain = true;
  }
  return c;
}

Again Play(const mh::Config& c, std::int32_t iWatched, std::uint32_t uReseed) {
  Again a;
  g_oWatch = Watch{};
  g_oWatch.po = &a;
  g_oWatch.iWatched = iWatched;
  g_oWatch.uReseed = uReseed;
  matchstate_ObserverSet(StartSeen);
  a.oResult = mh::Run(c, nullptr, WatchTick, nullptr);
  matchstate_ObserverSet(nullptr);
  a.abSave.assign(MATCH_SAVE_AREA_SIZE, 0);
  match_SaveAreaWrite(a.abSave.data());
  return a;
}

// The first tick where two runs' player records differ, with the byte.
std::string FirstPlayerDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  for (std::size_t t = 0; t < a.size() && t < b.size(); t++) {
    if (a[t] == b[t]) continue;
    std::size_t k = 0;
    while (a[t][k] == b[t][k]) k++;
    return "tick " + std::to_string(t) + " player " + std::to_string(k / sizeof(Player)) + " byte " +
           std::to_string(k % sizeof(Player));
  }
  return "";
}

struct AgainCase {
  const char* pszName;
  bool bHistory;
  std::uint32_t auBefore[2];  // the seeds of the two runs' first matches
};
void PrintTo(const AgainCase& o, std::ostream* os) { *os << o.pszName; }

const AgainCase kaAgain[] = {
    {"PlayAgain", false, {16, 23}},
    {"HistoryReplayed", true, {15, 24}},
};

class PlayedAgain : public ::testing::TestWithParam<AgainCase> {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

// The match played again after two different matches, on the same random
// stream from its start, plays alike to its end: every hash group and the
// player records every tick, the shoot-out's panel (empty as its first kick
// comes) and the save.
TEST_P(PlayedAgain, PlaysTheSameWhateverCameBefore) {
  const AgainCase& k = GetParam();
  Again a[2];
  for (std::int32_t i = 0; i < 2; i++) {
    const mh::Config c = AgainConfig(k.auBefore[i], k.bHistory);
    a[i] = Play(c, 2, kAgainSeed);
    ASSERT_TRUE(a[i].oResult.bFinished) << a[i].oResult.Describe(c);
    ASSERT_FALSE(a[i].aHashes.empty()) << "no match played again: " << a[i].oResult.Describe(c);
    if (k.bHistory) {
      EXPECT_GE(a[i].oResult.iPhase, 2) << a[i].oResult.Describe(c);
    } else {
      EXPECT_GT(a[i].oResult.aiShootoutKicks[0], 0) << "no shoot-out in the match played again";
    }
  }
  EXPECT_EQ(FirstDifference(a[0].aHashes, a[1].aHashes), "");
  EXPECT_EQ(FirstPlayerDifference(a[0].asPlayers, a[1].asPlayers), "");
  EXPECT_EQ(a[0].aiMarks, a[1].aiMarks);
  if (!k.bHistory) {
    EXPECT_EQ(a[0].aiMarks, std::vector<std::int32_t>(10, 0)) << "the shoot-out panel shows kicks before the first";
  }
  // The save, whole: the sides' records with their statistics and goal
  // lists, the match's words and the squad copies. A friendly played again
  // starts from its new match's team sheets; a drawn history match replayed
  // forgets who the match before it substituted (the two runs' drawn
  // matches substituted different players), so its copies are alike too.
  const std::ptrdiff_t cb = MATCH_SAVE_AREA_SIZE;
  EXPECT_TRUE(std::equal(a[0].abSave.begin(), a[0].abSave.begin() + cb, a[1].abSave.begin()))
      << "the saves differ";
}

INSTANTIATE_TEST_SUITE_P(AfterTwoMatches, PlayedAgain, ::testing::ValuesIn(kaAgain),
                         [](const ::testing::TestParamInfo<AgainCase>& i) { return std::string(i.param.pszName); });

class SameMatch : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

// The camera over the first steps of the kick-off after Play Again frames
// the pitch as a new match's camera does at its kick-off.
TEST_F(SameMatch, AfterPlayAgainItStartsAsANewMatchDoes) {
  mh::Config cNew = AgainConfig(kAfterSeed, false);
  cNew.cTickCap = 1400;
  const Again oNew = Play(cNew, 1, kAgainSeed);
  const Again oAgain = Play(AgainConfig(16, false), 2, kAgainSeed);
  ASSERT_EQ(oNew.aiCamera.size(), static_cast<std::size_t>(6 * kCameraSteps)) << "the new match came to no kick-off";
  ASSERT_EQ(oAgain.aiCamera.size(), oNew.aiCamera.size()) << "the match played again came to no kick-off";
  EXPECT_EQ(oAgain.aiCamera, oNew.aiCamera);
}

// A new match saved after two different matches is saved alike, byte for
// byte: the goal lists past its own goals keep nothing of a match before.
TEST_F(SameMatch, ANewMatchIsSavedAlikeWhateverCameBefore) {
  std::vector<std::uint8_t> aab[2];
  std::int32_t aiGoalsBefore[2] = {};
  const std::uint32_t auBefore[2] = {10, 35};  // two goals each; the match after scores none
  for (std::int32_t i = 0; i < 2; i++) {
    const mh::Config cBefore = PersonsMatch(auBefore[i]);
    const mh::Result r = mh::Run(cBefore);
    ASSERT_TRUE(r.bFinished) << r.Describe(cBefore);
    aiGoalsBefore[i] = r.aiScore[0] + r.aiScore[1];
    const Played o = PlayAfter(After::Alone);
    ASSERT_TRUE(o.oResult.bFinished);
    // The match after scores less than the ones before: their goals lay
    // past its own in the lists.
    EXPECT_LT(o.oResult.aiScore[0] + o.oResult.aiScore[1], aiGoalsBefore[i]);
    aab[i].assign(MATCH_SAVE_AREA_SIZE, 0);
    match_SaveAreaWrite(aab[i].data());
  }
  EXPECT_TRUE(aab[0] == aab[1]) << "the saves differ";
}

}  // namespace
