// Open play between two real squads, 20 simulated minutes a seed: nothing
// asserts, every player always has an action, both sides have the ball,
// passes find team-mates, shots come from shooting range, each side keeps
// its lines in order, and the run is the same tick for tick for one seed and
// another for another seed.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "sandbox.h"

namespace {

constexpr std::int32_t kMinutes = 20;
constexpr std::int32_t kTicks = kMinutes * SANDBOX_TICKS_PER_MINUTE;

void Report(std::uint32_t seed, const SandboxStats& s) {
  std::printf("seed %u: possession %d / %d ticks, passes %d (%d reached), shots %d (%d inside 30 m), goals %d-%d, "
              "resets %d, loose balls taken %d\n",
              seed, s.ownerTicks[0], s.ownerTicks[1], s.passes, s.passesReached, s.shots, s.shotsInside30, s.goals[0],
              s.goals[1], s.resets, s.pickups);
  for (int side = 0; side < 2; side++)
    std::printf("  side %d lines %.0f / %.0f / %.0f, defending depth %.0f, back line %.0f from its goal\n", side,
                s.lineX[side][0], s.lineX[side][1], s.lineX[side][2], s.depthDefending[side],
                s.backLineDefending[side]);
  std::printf("  holder actions:");
  for (int a = 0; a < 47; a++)
    if (s.holderActions[a]) std::printf(" %d:%d", a, s.holderActions[a]);
  std::printf("\n  kicks by action:");
  for (int a = 0; a < 47; a++)
    if (s.kicksByAction[a]) std::printf(" %d:%d", a, s.kicksByAction[a]);
  std::printf("\n");
}

class Sandbox : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(Sandbox, TwentyMinutesOfOpenPlay) {
  const std::uint32_t seed = GetParam();
  std::vector<std::uint64_t> a;
  const SandboxStats s = SandboxRun(seed, kTicks, &a);
  Report(seed, s);

  EXPECT_EQ(s.actionless, 0);
  // The football figures need the ball played from player to player: loose
  // balls taken and passes made.
  ASSERT_GT(s.pickups, 0) << "no loose ball taken";
  ASSERT_GT(s.passes, 0) << "no pass made";
  // Both sides have the ball, each at least a tenth of the time it is held.
  const std::int32_t held = s.ownerTicks[0] + s.ownerTicks[1];
  EXPECT_GT(held, kTicks / 10);
  EXPECT_GT(s.ownerTicks[0] * 10, held);
  EXPECT_GT(s.ownerTicks[1] * 10, held);
  // Lines in order along each side's attack direction; while defending 25
  // to 50 m from the back line to the attack, and the back line 25 to 50 m
  // from its own goal (144 units a yard).
  const double lo = 25 / 0.9144 * 144, hi = 50 / 0.9144 * 144;
  for (int side = 0; side < 2; side++) {
    EXPECT_LT(s.lineX[side][0], s.lineX[side][1]) << side;
    EXPECT_LT(s.lineX[side][1], s.lineX[side][2]) << side;
    EXPECT_GE(s.depthDefending[side], lo) << side;
    EXPECT_LE(s.depthDefending[side], hi) << side;
    EXPECT_GE(s.backLineDefending[side], lo) << side;
    EXPECT_LE(s.backLineDefending[side], hi) << side;
  }
  // At least half of the passes reach a team-mate; most shots from within 30 m.
  EXPECT_GE(s.passesReached * 2, s.passes);
  EXPECT_GT(s.shots, 0);
  EXPECT_GT(s.shotsInside30 * 2, s.shots);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Sandbox, ::testing::Values(1u, 977u));

TEST(SandboxHash, EqualForOneSeedAndDifferentForAnother) {
  constexpr std::int32_t kShort = 3 * SANDBOX_TICKS_PER_MINUTE;
  std::vector<std::uint64_t> a, b, c;
  SandboxRun(5, kShort, &a);
  SandboxRun(5, kShort, &b);
  SandboxRun(6, kShort, &c);
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t t = 0; t < a.size(); t++) ASSERT_EQ(a[t], b[t]) << "tick " << t;
  std::size_t differ = 0;
  for (std::size_t t = 0; t < a.size(); t++) differ += a[t] != c[t];
  EXPECT_GT(differ, a.size() / 2);
}

}  // namespace
