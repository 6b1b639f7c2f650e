// Every match starts through one routine, and a match after others reads the
// same state as a new process's first match: every module's record of one
// match as the start leaves it, and 300 ticks into the match (the players
// walking on), at the kick-off and 300 ticks after it (the person's Pass
// taps played) those records again with what the match's own steps set up
// and the generator's state (both sides' players and the referee, the
// captions with the shoot-out panel's marks, the touch words, the match
// record with its goal lists). It holds after a match cut off in open play,
// in its half-time break or in its shoot-out, after a shoot-out, after a
// match quit from its pause menu, after the attract demo, after every block
// was scribbled over, and (at its start, and by its captions and goal
// lists at its kick-off) for Play Again after a shoot-out and for a drawn
// history match played again. What the start keeps on purpose is listed,
// with its reason, beside the routine.
//
// The state is compared by value: a word that points into the program or a
// library is read as which of them and how far into it, the same in every
// process wherever the loader put them.
#include <gtest/gtest.h>
#include <link.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/player.h"
#include "engine/touch.h"
#include "framework/math/qrand.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/demo.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/matchstate.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"
#include "support/match_harness.h"
#include "support/pause_presses.h"
#include "support/temp_dir.h"

namespace mh = match_harness;

namespace {

// ---- Values ------------------------------------------------------------------------------

// The loaded objects' segments: where each was put, and its name.
struct Segment {
  std::uintptr_t uFrom, uTo, uBias;
  std::string sName;
};
std::vector<Segment> Segments() {
  std::vector<Segment> a;
  dl_iterate_phdr(
      [](dl_phdr_info* pi, std::size_t, void* pv) {
        const char* psz = pi->dlpi_name && *pi->dlpi_name ? std::strrchr(pi->dlpi_name, '/') : nullptr;
        const std::string sName = psz ? psz + 1 : (pi->dlpi_name && *pi->dlpi_name ? pi->dlpi_name : "program");
        for (int i = 0; i < pi->dlpi_phnum; i++) {
          const ElfW(Phdr)& h = pi->dlpi_phdr[i];
          if (h.p_type != PT_LOAD) continue;
          const std::uintptr_t u = pi->dlpi_addr + h.p_vaddr;
          static_cast<std::vector<Segment>*>(pv)->push_back({u, u + h.p_memsz, pi->dlpi_addr, sName});
        }
        return 0;
      },
      &a);
  return a;
}

// A record as values, one a word: an aligned 8-byte word that points into a
// loaded object as "object+offset", any other as its bytes.
std::vector<std::string> Values(const std::vector<Segment>& aSeg, const void* pv, std::size_t cb) {
  const auto* pb = static_cast<const std::uint8_t*>(pv);
  std::vector<std::string> a;
  char sz[40];
  for (std::size_t i = 0; i < cb;) {
    if (reinterpret_cast<std::uintptr_t>(pb + i) % 8 != 0 || i + 8 > cb) {
      std::snprintf(sz, sizeof sz, "%02x", pb[i++]);
      a.emplace_back(sz);
      continue;
    }
    std::uint64_t u;
    std::memcpy(&u, pb + i, 8);
    i += 8;
    std::snprintf(sz, sizeof sz, "%016llx", static_cast<unsigned long long>(u));
    std::string s = sz;
    for (const Segment& g : aSeg)
      if (u >= g.uFrom && u < g.uTo) {
        std::snprintf(sz, sizeof sz, "+%llx", static_cast<unsigned long long>(u - g.uBias));
        s = g.sName + sz;
        break;
      }
    a.push_back(s);
  }
  return a;
}

// Named records as values, in the order taken.
struct Snapshot {
  std::vector<std::string> asNames;
  std::vector<std::vector<std::string>> aasValues;
  void Add(const std::vector<Segment>& aSeg, const std::string& sName, const void* pv, std::size_t cb) {
    asNames.push_back(sName);
    aasValues.push_back(Values(aSeg, pv, cb));
  }
};

// Every module's record of one match, as the start leaves it.
void BlocksAdd(Snapshot& o, const std::string& sWhen) {
  const std::vector<Segment> aSeg = Segments();
  const MatchStateBlock* pa = nullptr;
  const std::size_t n = matchstate_BlocksGet(&pa);
  for (std::size_t i = 0; i < n; i++) o.Add(aSeg, sWhen + pa[i].pszName, pa[i].pv, pa[i].cb);
}

// The blocks and what the match's own steps set up: the players, the
// captions (the shoot-out panel's marks among them), the touch words and the
// match record (scores, statistics, goal lists).
void MatchAdd(Snapshot& o, const std::string& sWhen) {
  BlocksAdd(o, sWhen);
  const std::vector<Segment> aSeg = Segments();
  o.Add(aSeg, sWhen + "home players", player_aHome, sizeof player_aHome);
  o.Add(aSeg, sWhen + "away players", player_aAway, sizeof player_aAway);
  o.Add(aSeg, sWhen + "referee", &player_oReferee, sizeof player_oReferee);
  o.Add(aSeg, sWhen + "captions", &caption_oState, sizeof caption_oState);
  o.Add(aSeg, sWhen + "touch", touch_aTeams, sizeof touch_aTeams);
  o.Add(aSeg, sWhen + "match", &match, sizeof match);
  constexpr std::size_t kGoals = offsetof(MatchStats, GoalCount);
  o.Add(aSeg, sWhen + "home goal list", &match.HomeTeam.MatchStats.GoalCount, sizeof(MatchStats) - kGoals);
  o.Add(aSeg, sWhen + "away goal list", &match.AwayTeam.MatchStats.GoalCount, sizeof(MatchStats) - kGoals);
  QMathRandState r;
  QMathRandStateSave(&r);
  o.Add(aSeg, sWhen + "random", &r, sizeof r);
}

void Write(const Snapshot& o, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  for (std::size_t i = 0; i < o.asNames.size(); i++) {
    out << o.asNames[i] << '\n';
    for (const std::string& s : o.aasValues[i]) out << s << ' ';
    out << '\n';
  }
}

Snapshot Read(const std::string& path) {
  Snapshot o;
  std::ifstream in(path, std::ios::binary);
  std::string sName, sLine;
  while (std::getline(in, sName) && std::getline(in, sLine)) {
    std::istringstream ss(sLine);
    std::vector<std::string> a;
    for (std::string s; ss >> s;) a.push_back(s);
    o.asNames.push_back(sName);
    o.aasValues.push_back(a);
  }
  return o;
}

// A match played again runs on from the period end that chose it to its
// kick-off, with no walk-on (its clock, possession and the side that kicks
// off come another way): after its start only what its set-up makes afresh
// whatever way it comes to the kick-off is compared there, the captions with
// the shoot-out panel's marks and the goal lists, and nothing in open play.
bool Again(const std::string& sName) {
  return sName.rfind("start: ", 0) == 0 || sName == "kick-off: captions" || sName == "kick-off: home goal list" ||
         sName == "kick-off: away goal list";
}

// Each record that differs (of those bWanted takes), with its first
// differing byte and both values there.
std::string Differences(const Snapshot& a, const Snapshot& b, bool (*bWanted)(const std::string&) = nullptr) {
  if (a.asNames != b.asNames) return "the records differ: " + std::to_string(a.asNames.size()) + " against " +
                                     std::to_string(b.asNames.size());
  std::ostringstream ss;
  for (std::size_t i = 0; i < a.asNames.size(); i++) {
    const std::vector<std::string>&x = a.aasValues[i], &y = b.aasValues[i];
    if (x == y || (bWanted && !bWanted(a.asNames[i]))) continue;
    std::size_t k = 0, cb = 0;
    for (; k < x.size() && k < y.size() && x[k] == y[k]; k++) cb += x[k].size() == 2 ? 1 : 8;
    ss << a.asNames[i] << " (byte " << cb << ": " << (k < x.size() ? x[k] : "-") << " against "
       << (k < y.size() ? y[k] : "-") << ") ";
  }
  return ss.str();
}

// ---- The match watched -------------------------------------------------------------------

constexpr std::uint32_t kSeed = 31;
constexpr std::int32_t kInto = 300;
constexpr std::int32_t kOpenPlay = 300;

// A new match is started by the in-match set-up in its run's first tick, so
// a new process's first match has the run's second tick for its first.
constexpr std::int32_t kNewRunFirst = 1;

// The iWanted-th start of a run (counted from Watch), kInto ticks later (the
// players walking on), the kick-off (the first tick ending in open play) and
// kOpenPlay ticks after it.
// The start draws from the seed, so that a match after others draws as a
// first one (the generator is one stream for the program's run).
struct Watched {
  std::int32_t cStarts = 0, iWanted = 1;
  std::int32_t cTicks = 0;       // ticks of this run so far
  std::int32_t iShift = -1;      // run ticks before the watched match's first
  bool bInto = false;            // the look kInto ticks in taken
  std::int32_t iKickOff = -1;    // the run tick of the kick-off
  Snapshot o;
  bool bDone = false;            // every look taken
};
Watched g_o;

void Watch(std::int32_t iWanted) {
  g_o = Watched{};
  g_o.iWanted = iWanted;
  matchstate_ObserverSet([] {
    if (++g_o.cStarts != g_o.iWanted) return;
    mh::SeedRestore(kSeed);
    // A start inside a tick (the same sides again) lets the next tick be
    // its first; one before the run's ticks, the run's first.
    g_o.iShift = mh::InMatchTick() ? g_o.cTicks + 1 : 0;
    BlocksAdd(g_o.o, "start: ");
  });
}

// After each tick: the looks into the watched match.
void Look(std::int32_t iTick) {
  g_o.cTicks = iTick + 1;
  if (g_o.iShift < 0 || g_o.bDone) return;
  if (!g_o.bInto && iTick + 1 == g_o.iShift + kInto) {
    g_o.bInto = true;
    MatchAdd(g_o.o, std::to_string(kInto) + " ticks in: ");
  } else if (g_o.bInto && g_o.iKickOff < 0 && global.eGameMode == GAME_MODE_PLAY) {
    MatchAdd(g_o.o, "kick-off: ");
    g_o.iKickOff = iTick;
  } else if (g_o.iKickOff >= 0 && iTick == g_o.iKickOff + kOpenPlay) {
    MatchAdd(g_o.o, "open play: ");
    g_o.bDone = true;
  }
}

// A person's friendly (or a history match that is replayed when drawn after
// extra time), 2 minutes a half, Pass tapped every 3 s from tick 1300 of
// the run; iShift ticks earlier for a new process's match that plays a
// watched match that started iShift ticks later in its run.
mh::Config Persons(std::uint32_t uSeed, bool bHistory = false, std::int32_t iShift = 0) {
  mh::Config c;
  c.uSeed = uSeed;
  c.iLength = 2;
  c.iExtraTime = 1;
  c.bPenalties = 1;
  c.aeSide[0] = mh::SideKind::User;
  for (mh::Command m : mh::PassTaps(90, 100000, 1300)) {
    m.iTick -= iShift;
    if (m.iTick >= 0) c.aoCommands[0].push_back(m);
  }
  c.cTickCap = 60000;
  c.bFreshRecords = false;
  if (bHistory) {
    c.bTournament = 1;
    c.iRoundFormat = 5;
  }
  return c;
}

// The watched match played as a new process's first (this program started
// again): its looks handed over through a file of the parent's.
class Child : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* pszOut = std::getenv("KORVENA_START_OUT");
    if (!pszOut) return;
    if (!mh::Setup()) std::_Exit(3);
    Watch(1);
    // The presses fall on the same ticks of the match as the parent's: the
    // parent hands over its watched match's first tick in its run.
    const char* pszFirst = std::getenv("KORVENA_START_FIRST");
    const std::int32_t iFirst = pszFirst ? std::atoi(pszFirst) : kNewRunFirst;
    mh::Config c = Persons(kSeed, std::getenv("KORVENA_START_HISTORY") != nullptr, iFirst - kNewRunFirst);
    c.cTickCap = 4000;
    mh::Run(c, nullptr, [](std::int32_t iTick, void*) {
      Look(iTick);
      // A match that starts elsewhere in the run than a new one does would
      // take the presses on other ticks than the parent's.
      if (g_o.iShift >= 0 && g_o.iShift != kNewRunFirst) std::_Exit(4);
      if (!g_o.bDone) return;
      Write(g_o.o, std::getenv("KORVENA_START_OUT"));
      std::_Exit(0);
    });
    Write(g_o.o, pszOut);
    std::_Exit(0);
  }
};
::testing::Environment* const g_poChild = ::testing::AddGlobalTestEnvironment(new Child);

// iFirst: the run tick of the watched match's first tick.
Snapshot Fresh(bool bHistory, std::int32_t iFirst) {
  const korvena_test::TempDir oDir;
  const std::string out = oDir / "fresh.txt";
  const std::string self = "/proc/" + std::to_string(getpid()) + "/exe";
  const std::string cmd = std::string(bHistory ? "KORVENA_START_HISTORY=1 " : "") +
                          "KORVENA_START_FIRST=" + std::to_string(iFirst) + " KORVENA_START_OUT='" + out + "' '" +
                          self + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return {};
  return Read(out);
}

// ---- What the match before does ----------------------------------------------------------

// The person before: levels the score at the first two period ends of the
// run (extra time and a shoot-out, or a replay of a drawn history match,
// follow), and where bQuitAt first holds presses Start and quits the match
// from the pause menu. Where bCutAt first holds the run stops, as the tick
// cap stops one (the mode word is put back once the run is over).
struct Before {
  std::function<bool()> bQuitAt, bCutAt;
  bool bDemo = false;  // the attract demo's machine runs from the run's first tick
  bool bPaused = false, bQuit = false, bInPeriodEnd = false;
  std::int32_t cPeriodEnds = 0;
  GameMode eCutIn = GAME_MODE_NONE;
};
Before g_oBefore;

void Act(std::int32_t iTick, void*) {
  Look(iTick);
  Before& b = g_oBefore;
  if (b.bDemo && iTick == 0) {
    demo_Start();
    b.bDemo = false;
  }
  const bool bIn = global.eGameMode == GAME_MODE_PERIOD_END;
  if (bIn && !b.bInPeriodEnd && b.cPeriodEnds++ < 2) match.AwayGoals = match.HomeGoals;
  b.bInPeriodEnd = bIn;
  if (b.bCutAt && b.eCutIn == GAME_MODE_NONE && b.bCutAt()) {
    b.eCutIn = global.eGameMode;
    global.eGameMode = GAME_MODE_MATCH_END;
  }
  if (!b.bQuitAt) return;
  if (!b.bPaused) {
    if (!b.bQuitAt()) return;
    b.bPaused = true;
    korvena_test::StartLetGoPost();
    return;
  }
  if (global.eGameMode != GAME_MODE_PAUSE_MENU) return;
  if (korvena_test::QuitMatchPress() == korvena_test::QuitPress::Yes) b.bQuit = true;
}

class MatchStartState : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    g_oBefore = Before{};
    g_o = Watched{};
  }
  void TearDown() override { matchstate_ObserverSet(nullptr); }

  // The match after the one given (its iWanted-th start) reads what a new
  // process's first reads.
  void ExpectFreshAfter(const mh::Config& before, std::int32_t iWanted, bool bHistory) {
    if (iWanted == 1) {
      const mh::Result r = mh::Run(before, nullptr, Act);
      ASSERT_GT(r.cTicks, 0);
      if (g_oBefore.eCutIn != GAME_MODE_NONE) global.eGameMode = g_oBefore.eCutIn;
      Watch(1);
      mh::Config c = Persons(kSeed, bHistory);
      c.cTickCap = 4000;
      mh::Run(c, nullptr, Act);
    } else {
      Watch(iWanted);
      const mh::Result r = mh::Run(before, nullptr, Act);
      ASSERT_TRUE(r.bFinished) << r.Describe(before);
    }
    ASSERT_GE(g_o.iShift, 0) << "no start " << iWanted;
    ASSERT_TRUE(g_o.bDone) << "the match did not kick off";
    const Snapshot oFresh = Fresh(bHistory, g_o.iShift);
    ASSERT_FALSE(oFresh.asNames.empty()) << "the new process took no state";
    EXPECT_EQ(Differences(g_o.o, oFresh, iWanted == 2 ? Again : nullptr), "");
  }
};

TEST_F(MatchStartState, AfterAMatchCutOffInOpenPlay) {
  mh::Config c = Persons(22);
  c.cTickCap = 4000;
  ExpectFreshAfter(c, 1, false);
}

TEST_F(MatchStartState, AfterAShootout) {
  ExpectFreshAfter(Persons(16), 1, false);
}

TEST_F(MatchStartState, PlayAgainAfterAShootout) {
  mh::Config c = Persons(16);
  c.bPlayAgain = true;
  c.aeSide[1] = mh::SideKind::Computer;
  ExpectFreshAfter(c, 2, false);
}

TEST_F(MatchStartState, AHistoryMatchPlayedAgain) {
  ExpectFreshAfter(Persons(15, true), 2, true);
}

// Cut off while the half-time break shows its caption pages.
TEST_F(MatchStartState, AfterAMatchCutOffInItsHalfTimeBreak) {
  g_oBefore.bCutAt = [] { return global.eGameMode == GAME_MODE_PERIOD_BREAK && periodbreak_PhaseGet() >= 3; };
  ExpectFreshAfter(Persons(22), 1, false);
  EXPECT_EQ(g_oBefore.eCutIn, GAME_MODE_PERIOD_BREAK);
}

// Cut off after the shoot-out's third kick.
TEST_F(MatchStartState, AfterAMatchCutOffInItsShootout) {
  g_oBefore.bCutAt = [] { return global.eGameMode == GAME_MODE_SHOOTOUT && mpenso_oState.cTotal >= 3; };
  ExpectFreshAfter(Persons(16), 1, false);
  EXPECT_EQ(g_oBefore.eCutIn, GAME_MODE_SHOOTOUT);
}

// Quit from the pause menu in the second half: the pause and its user left
// as they were.
TEST_F(MatchStartState, AfterAMatchQuitFromItsPauseMenu) {
  g_oBefore.bQuitAt = [] { return global.eGameMode == GAME_MODE_PLAY && clock_SecondsGet() >= 600; };
  ExpectFreshAfter(Persons(22), 1, false);
  EXPECT_TRUE(g_oBefore.bQuit) << "the match before was not quit";
}

// The attract demo's match, left when its machine leaves it, then a person's.
TEST_F(MatchStartState, AfterTheAttractDemo) {
  mh::Config c = Persons(22);
  c.aeSide[0] = mh::SideKind::Computer;
  c.aoCommands[0].clear();
  c.bDemo = true;
  c.cTickCap = 20000;
  g_oBefore.bDemo = true;
  ExpectFreshAfter(c, 1, false);
}

// Whatever the last match left in any block, the start puts it back: each
// block scribbled over, then a new match.
TEST_F(MatchStartState, AfterEveryBlockWasScribbledOver) {
  const MatchStateBlock* pa = nullptr;
  const std::size_t n = matchstate_BlocksGet(&pa);
  for (std::size_t i = 0; i < n; i++) std::memset(pa[i].pv, 0xA5, pa[i].cb);
  Watch(1);
  mh::Config c = Persons(kSeed);
  c.cTickCap = 4000;
  mh::Run(c, nullptr, Act);
  ASSERT_TRUE(g_o.bDone);
  EXPECT_EQ(Differences(g_o.o, Fresh(false, g_o.iShift)), "");
}

}  // namespace
