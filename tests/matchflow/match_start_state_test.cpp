// Every match starts through one routine, and it leaves every module's state
// of one match (the camera, the set-piece aim, the user controls, the replay,
// the pause among them) byte for byte as a new process's first start does:
// after a match cut off in open play, after a shoot-out, for Play Again after
// a shoot-out, for a drawn history match played again, and after every
// block was scribbled over. What the start keeps on purpose is listed, with
// its reason, beside the routine.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "matchflow/matcha.h"
#include "matchflow/matchstate.h"
#include "shell/global.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

struct Snapshot {
  std::vector<std::string> asNames, asBytes;
};

Snapshot Take() {
  const MatchStateBlock* pa = nullptr;
  const std::size_t n = matchstate_BlocksGet(&pa);
  Snapshot o;
  for (std::size_t i = 0; i < n; i++) {
    o.asNames.emplace_back(pa[i].pszName);
    o.asBytes.emplace_back(static_cast<const char*>(pa[i].pv), pa[i].cb);
  }
  return o;
}

// The state the iWanted-th start of a run leaves (the starts counted from
// the observer's setting).
std::int32_t g_cStarts = 0, g_iWanted = 1;
Snapshot g_oTaken;
bool g_bTaken = false;
void Observe() {
  if (++g_cStarts != g_iWanted) return;
  g_oTaken = Take();
  g_bTaken = true;
}
void Watch(std::int32_t iWanted) {
  g_cStarts = 0;
  g_iWanted = iWanted;
  g_bTaken = false;
  matchstate_ObserverSet(Observe);
}

// Levels the score at the first two period ends of a run, so that extra
// time and a shoot-out or a replayed match follow.
bool g_bInPeriodEnd = false;
std::int32_t g_cPeriodEnds = 0;
void Level(std::int32_t, void*) {
  const bool b = global.eGameMode == GAME_MODE_PERIOD_END;
  if (b && !g_bInPeriodEnd && g_cPeriodEnds++ < 2) match.AwayGoals = match.HomeGoals;
  g_bInPeriodEnd = b;
}

// A person's friendly (or a history match that is replayed when drawn after
// extra time), 2 minutes a half.
mh::Config Persons(std::uint32_t uSeed, bool bHistory = false) {
  mh::Config c;
  c.uSeed = uSeed;
  c.iLength = 2;
  c.iExtraTime = 1;
  c.bPenalties = 1;
  c.aeSide[0] = mh::SideKind::User;
  c.aoCommands[0] = mh::PassTaps(90, 100000, 1300);
  c.cTickCap = 60000;
  c.bFreshRecords = false;
  if (bHistory) {
    c.bTournament = 1;
    c.iRoundFormat = 5;
  }
  return c;
}

// The first start of a match of this configuration, taken in a new process
// (this program started again) and handed over through a file of its own.
class Child : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* pszOut = std::getenv("KORVENA_START_OUT");
    if (!pszOut) return;
    if (!mh::Setup()) std::_Exit(3);
    Watch(1);
    mh::Config c = Persons(31, std::getenv("KORVENA_START_HISTORY") != nullptr);
    c.cTickCap = 1;
    mh::Run(c);
    if (!g_bTaken) std::_Exit(4);
    std::ofstream out(pszOut, std::ios::binary);
    for (std::size_t i = 0; i < g_oTaken.asNames.size(); i++)
      out << g_oTaken.asNames[i] << '\n' << g_oTaken.asBytes[i].size() << '\n' << g_oTaken.asBytes[i];
    out.close();
    std::_Exit(out ? 0 : 1);
  }
};
::testing::Environment* const g_poChild = ::testing::AddGlobalTestEnvironment(new Child);

Snapshot Fresh(bool bHistory) {
  const std::string out = ::testing::TempDir() + "/start_state_" + std::to_string(getpid()) + "_" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin";
  std::remove(out.c_str());
  const std::string self = "/proc/" + std::to_string(getpid()) + "/exe";
  const std::string cmd = std::string(bHistory ? "KORVENA_START_HISTORY=1 " : "") + "KORVENA_START_OUT='" + out +
                          "' '" + self + "' >/dev/null 2>&1";
  Snapshot o;
  if (std::system(cmd.c_str()) != 0) return o;
  std::ifstream in(out, std::ios::binary);
  std::string sName, sSize;
  while (std::getline(in, sName) && std::getline(in, sSize)) {
    std::string s(std::stoul(sSize), '\0');
    in.read(s.data(), static_cast<std::streamsize>(s.size()));
    o.asNames.push_back(sName);
    o.asBytes.push_back(s);
  }
  std::remove(out.c_str());
  return o;
}

// Each block that differs, with its first differing byte.
std::string Differences(const Snapshot& a, const Snapshot& b) {
  if (a.asNames != b.asNames) return "the blocks differ";
  std::ostringstream ss;
  for (std::size_t i = 0; i < a.asNames.size(); i++) {
    if (a.asBytes[i] == b.asBytes[i]) continue;
    std::size_t k = 0;
    while (k < a.asBytes[i].size() && a.asBytes[i][k] == b.asBytes[i][k]) k++;
    ss << a.asNames[i] << " (byte " << k << " of " << a.asBytes[i].size() << ") ";
  }
  return ss.str();
}

class MatchStartState : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
  void TearDown() override { matchstate_ObserverSet(nullptr); }

  // The start of the match after the one given (its iWanted-th start).
  void ExpectFreshAfter(const mh::Config& before, std::int32_t iWanted, bool bHistory) {
    g_bInPeriodEnd = false;
    g_cPeriodEnds = 0;
    if (iWanted == 1) {
      const mh::Result r = mh::Run(before, nullptr, Level);
      ASSERT_GT(r.cTicks, 0);
      Watch(1);
      mh::Config c = Persons(31, bHistory);
      c.cTickCap = 1;
      mh::Run(c);
    } else {
      Watch(iWanted);
      const mh::Result r = mh::Run(before, nullptr, Level);
      ASSERT_TRUE(r.bFinished) << r.Describe(before);
    }
    ASSERT_TRUE(g_bTaken) << "no start " << iWanted;
    const Snapshot oFresh = Fresh(bHistory);
    ASSERT_FALSE(oFresh.asNames.empty()) << "the new process took no state";
    EXPECT_EQ(Differences(g_oTaken, oFresh), "");
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

// Whatever the last match left in any block, the start puts it back: each
// block scribbled over, then a new match.
TEST_F(MatchStartState, AfterEveryBlockWasScribbledOver) {
  const MatchStateBlock* pa = nullptr;
  const std::size_t n = matchstate_BlocksGet(&pa);
  for (std::size_t i = 0; i < n; i++) std::memset(pa[i].pv, 0xA5, pa[i].cb);
  Watch(1);
  mh::Config c = Persons(31);
  c.cTickCap = 1;
  mh::Run(c);
  ASSERT_TRUE(g_bTaken);
  EXPECT_EQ(Differences(g_oTaken, Fresh(false)), "");
}

}  // namespace
