// Restarts inside whole matches: soak seeds that once hung in the set-piece
// script mode now end, and a run of seeded matches restarts like football.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/match_harness.h"
#include "support/match_soak.h"

namespace mh = match_harness;

namespace {

// Both hung in the substitution script, waiting for the player going off to
// reach his mark. Seed 321: the ball came to rest out of play while he walked
// and he was chosen to chase it to the corner flag. Seed 817 (after 816, as
// the soak plays it): he still held the ball he had carried over the line and
// the clip with the ball stops short of the mark.
TEST(RestartMatch, SoakSeedsThatHungInTheScriptModeEnd) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  // Since the holders' programs changed these seeds play other matches; the
  // later seeds keep the script mode in the run.
  std::int32_t cThroughScript = 0;
  for (std::uint32_t s : {321u, 816u, 817u, 322u, 323u}) {
    const mh::Config c = mh::SoakConfig(s);
    const mh::Result r = mh::Run(c);
    EXPECT_TRUE(r.bFinished) << r.Describe(c);
    cThroughScript += r.mapEntries.count(82) > 0;
  }
  EXPECT_GE(cThroughScript, 2);
}

}  // namespace
