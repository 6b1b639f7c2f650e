// A throw-in is always taken: the monkey's match (seed 338, the carry soak's
// set-up) had a throw whose clip was cut off before the ball left the
// thrower's hands; he stood holding it, the release still waiting, and the
// match stood in the throw-in until the tick cap. Now the throw is started
// again, every throw-in ends within a short while and the match finishes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "shell/global.h"
#include "support/match_harness.h"
#include "support/match_soak.h"
#include "support/match_watch.h"

namespace mh = match_harness;

namespace {

struct ThrowInWatch {
  std::int32_t iStart = -1;   // the tick the throw-in going on began
  std::int32_t cThrowIns = 0;
  std::int32_t iLongest = 0;  // ticks, the longest throw-in
  static void Observe(std::int32_t iTick, void* pv) {
    ThrowInWatch& o = *static_cast<ThrowInWatch*>(pv);
    if (global.eGameMode == GAME_MODE_THROW_IN) {
      if (o.iStart < 0) {
        o.iStart = iTick;
        o.cThrowIns++;
      }
      o.iLongest = std::max(o.iLongest, iTick - o.iStart);
    } else {
      o.iStart = -1;
    }
  }
};

TEST(ThrowInStand, AThrowCutOffBeforeTheReleaseIsThrownAgainAndTheMatchEnds) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  mh::Config c = mh::CarryConfig(338, mh::SideKind::Monkey);
  c.cTickCap = 60000;
  ThrowInWatch o;
  mh::MatchWatch w(c);
  const mh::Result r = mh::RunWatched(c, &w, ThrowInWatch::Observe, &o);
  std::printf("%s\n  throw-ins %d, the longest %d ticks\n", r.Describe(c).c_str(), o.cThrowIns, o.iLongest);
  EXPECT_FALSE(r.bAsserted) << r.Describe(c);
  EXPECT_TRUE(r.bFinished) << r.Describe(c);
  EXPECT_EQ(w.Faults(r), "") << r.Describe(c);
  ASSERT_GE(o.cThrowIns, 4);
  // Walking to the line, the aim and the flight: no throw-in stands.
  EXPECT_LE(o.iLongest, 1500);
}

}  // namespace
