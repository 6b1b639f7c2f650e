// The engine harness: 22 players and the referee under 3,000 ticks of
// scripted requests. Nothing asserts, everybody stays on the clamped pitch,
// two runs give the same state hash on every tick, and the hashes equal the
// golden file (KORVENA_UPDATE_GOLDEN=1 rewrites it).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine_env.h"
#include "support/golden.h"

namespace {

constexpr std::int32_t kTicks = 3000;

// The script's own generator, apart from the game's.
struct Script {
  std::uint32_t s = 0x2545F491u;
  std::uint32_t Next(std::uint32_t n) {
    s = s * 1664525u + 1013904223u;
    return (s >> 8) % n;
  }
};

void KickAway(Player* pp) { newballA_OwnerSet(nullptr, 0); (void)pp; }

void Request(Script& sc, std::int32_t iTick) {
  Player* pp = EnginePlayer(static_cast<std::int32_t>(sc.Next(PLAYER_MAX)));
  if (pp->MoveState == MOVE_STATE_SCRIPT) return;
  std::int32_t x = static_cast<std::int32_t>(sc.Next(19000)) - 9500;
  std::int32_t y = static_cast<std::int32_t>(sc.Next(12000)) - 6000;
  Player* poHolder = ball_oBall.poOwner;
  switch (sc.Next(14)) {
    case 0: case 1: case 2: PlayerO_MoveToSet(pp, x, y, ANIM_RUN); break;
    case 3: PlayerO_MoveToSet(pp, x, y, ANIM_WALK); break;
    case 4: PlayerO_MoveToSet(pp, pp->x - (pp->Direction ? 600 : -600), pp->y, 7); break;
    case 5: PlayerO_MoveToSet(pp, pp->x, pp->y, ANIM_STAND); break;
    case 6:
      if (poHolder && poHolder->MyTeam != pp->MyTeam) {
        static const std::uint32_t kTackles[] = {8, 9, 143, 78, 79};
        PlayerO_MoveToSet(pp, poHolder->x, poHolder->y, kTackles[sc.Next(5)]);
      }
      break;
    case 7: newballA_OwnerSet(pp, 1); break;
    case 8:
      if (poHolder) {
        static const std::uint32_t kKicks[] = {6, 20, 22, 29, 68, 106, 113};
        Player* pk = poHolder;
        PlayerO_MoveToSet(pk, pk->x, pk->y, kKicks[sc.Next(7)]);
        anim_CallbackSet(&pk->oAnimData, KickAway);
      }
      break;
    case 9: PlayerO_MoveToSet(pp, pp->x, pp->y, 33); break;
    case 10:
      if (iTick % 500 < 20) PlayerO_MoveToSet(pp, pp->x, pp->y, 12 + sc.Next(2));
      break;
    case 11: if (poHolder) PlayerO_MoveToSet(pp, poHolder->x, poHolder->y, ANIM_RUN); break;
    case 12: pp->iKnocks = static_cast<std::int16_t>(pp->iKnocks + 30); break;
    default:
      if (pp->pGoalie) newgoalo_MoveFlagSet(pp->pGoalie, 0);
      break;
  }
}

std::vector<std::uint64_t> HarnessRun(bool* pbClamped) {
  EngineMatchSetupFromSquads();
  Script sc;
  std::vector<std::uint64_t> hashes;
  *pbClamped = true;
  for (std::int32_t t = 0; t < kTicks; t++) {
    engine_MatchClockSet(29 * 1800 + t);  // minute 30 comes after 60 seconds
    for (std::int32_t k = 0; k < 3; k++) Request(sc, t);
    EngineTick();
    for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
      const Player* pp = EnginePlayer(i);
      if (pp->x < -9936 || pp->x > 9936 || pp->y < -6336 || pp->y > 6336) *pbClamped = false;
    }
    hashes.push_back(EngineStateHash());
  }
  return hashes;
}

std::uint64_t DataFingerprint() {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (const AnimGenRow& g : anim_aGenRows) {
    std::size_t n = static_cast<std::size_t>(g.cFrames);
    for (std::size_t i = 0; i < n * ANIM_POSE_FLOATS; i++) {
      std::uint32_t u;
      std::memcpy(&u, &g.pfPose[i], 4);
      h = (h ^ u) * 0x100000001B3ull;
    }
    if (g.pfTrack) {
      for (std::size_t i = 0; i < n * ANIM_TRACK_FLOATS; i++) {
        std::uint32_t u;
        std::memcpy(&u, &g.pfTrack[i], 4);
        h = (h ^ u) * 0x100000001B3ull;
      }
    }
  }
  return h;
}

TEST(EngineHarness, ThreeThousandTicksDeterministicAndAsRecorded) {
  bool bClamped1 = false, bClamped2 = false;
  std::vector<std::uint64_t> a = HarnessRun(&bClamped1);
  std::vector<std::uint64_t> b = HarnessRun(&bClamped2);
  EXPECT_TRUE(bClamped1);
  ASSERT_EQ(a.size(), static_cast<std::size_t>(kTicks));
  for (std::int32_t t = 0; t < kTicks; t++) ASSERT_EQ(a[t], b[t]) << "tick " << t;
  // Something happens: the state keeps changing.
  std::int32_t cChanges = 0;
  for (std::int32_t t = 1; t < kTicks; t++) cChanges += a[t] != a[t - 1];
  EXPECT_GT(cChanges, kTicks * 9 / 10);

  const char* pszSource = std::getenv("KORVENA_SOURCE_DIR");
  ASSERT_NE(pszSource, nullptr);
  std::string path = std::string(pszSource) + "/tests/engine/golden/harness.txt";
  char szData[32];
  std::snprintf(szData, sizeof szData, "%016llx", static_cast<unsigned long long>(DataFingerprint()));
  if (korvena_test::UpdatingGolden()) {
    std::ofstream out(path);
    out << "data " << szData << "\n";
    // Eight ticks a line, each line led by its first tick.
    for (std::int32_t t = 0; t < kTicks; t++) {
      char sz[32];
      std::snprintf(sz, sizeof sz, "%016llx", static_cast<unsigned long long>(a[t]));
      if (t % 8 == 0) out << t;
      out << ' ' << sz << ((t % 8 == 7 || t == kTicks - 1) ? "\n" : "");
    }
    ASSERT_TRUE(out.good());
    GTEST_SKIP() << path << " rewritten, nothing compared";
  }
  std::ifstream in(path);
  ASSERT_TRUE(in.good()) << path << " missing: run with KORVENA_UPDATE_GOLDEN=1";
  std::string word, data;
  in >> word >> data;
  ASSERT_EQ(word, "data");
  if (data != szData) {
    FAIL() << "the animation data set changed since the golden run; rerun with KORVENA_UPDATE_GOLDEN=1";
  }
  for (std::int32_t t = 0; t < kTicks; t++) {
    if (t % 8 == 0) {
      std::int32_t iTick = -1;
      in >> iTick;
      ASSERT_EQ(iTick, t);
    }
    std::string hex;
    in >> hex;
    char sz[32];
    std::snprintf(sz, sizeof sz, "%016llx", static_cast<unsigned long long>(a[t]));
    ASSERT_EQ(hex, sz) << "first difference at tick " << t;
  }
}

}  // namespace
