// The match environment as a table of stadiums and kinds of game.
#include <gtest/gtest.h>

#include "flow_fakes.h"
#include "framework/math/qmath.h"
#include "matchflow/environ.h"

namespace {

struct Expect {
  std::int32_t iLook, iVariant, iRandomBit, bNight, iLights;
};

Expect Choose(std::int32_t iId, GameMode eKind, std::int32_t iDayNight) {
  global.eExtendedGameMode = eKind;
  flowfake::iDayNight = iDayNight;
  environ_StadiumSet(iId);
  environ_Choose();
  return {environ_LookGet(), environ_VariantGet(), environ_RandomBitGet(), environ_bIsNight(), environ_LightsGet()};
}

TEST(MatchEnvironment, LooksNightAndLights) {
  flowfake::Reset();
  flowfake::aStadiums[45] = {7, 0, 0};
  flowfake::aStadiums[247] = {9, 1, 0};  // flagged special, yet an ordinary stadium
  for (std::int32_t id : {71, 107, 117, 125, 157, 174, 300, 200}) flowfake::aStadiums[id] = {3, 1, 0};
  const GameMode kFriendly = GAME_MODE_START_FRIENDLY, kQuick = static_cast<GameMode>(74);
  struct Row {
    std::int32_t iId;
    GameMode eKind;
    std::int32_t iDayNight;
    Expect e;
  };
  const Row rows[] = {
      {117, kFriendly, 1, {17, 0, 0, 0, 5}}, {117, kFriendly, 0, {24, 0, 0, 1, 1}},
      {125, kQuick, 1, {17, 0, 0, 0, 5}},    {125, kQuick, 2, {24, 0, 0, 1, 1}},
      {71, kFriendly, 1, {20, 0, 0, 0, 0}},  {107, kFriendly, 0, {18, 0, 0, 1, 1}},
      {157, kQuick, 1, {19, 0, 0, 0, 0}},    {174, kQuick, 0, {23, 0, 0, 1, 1}},
      {300, kFriendly, 1, {22, 0, 0, 0, 0}},
  };
  for (const Row& r : rows) {
    const Expect e = Choose(r.iId, r.eKind, r.iDayNight);
    EXPECT_EQ(e.iLook, r.e.iLook) << r.iId;
    EXPECT_EQ(e.iVariant, r.e.iVariant) << r.iId;
    EXPECT_EQ(e.iRandomBit, r.e.iRandomBit) << r.iId;
    EXPECT_EQ(e.bNight, r.e.bNight) << r.iId << " " << r.iDayNight;
    EXPECT_EQ(e.iLights, r.e.iLights) << r.iId;
  }
  // Ordinary stadiums: their look, variant id & 3, a random bit; outside the
  // match-conditions games night is drawn.
  int cNight = 0, cBit = 0;
  for (int i = 0; i < 400; i++) {
    const Expect e = Choose(i % 2 ? 45 : 247, GAME_MODE_HISTORY, 1);
    EXPECT_EQ(e.iLook, i % 2 ? 7 : 9);
    EXPECT_EQ(e.iVariant, i % 2 ? 1 : 3);
    EXPECT_EQ(e.iLights, e.bNight);
    cNight += e.bNight;
    cBit += e.iRandomBit;
  }
  EXPECT_GT(cNight, 120);
  EXPECT_LT(cNight, 280);
  EXPECT_GT(cBit, 120);
  EXPECT_LT(cBit, 280);
  // Another special stadium is a missing look.
  EXPECT_DEATH(Choose(200, kFriendly, 1), "special stadium");
  environ_LightsSet(7);
  EXPECT_EQ(environ_LightsGet(), 1);
  environ_Reset();
  EXPECT_EQ(environ_LookGet(), 21);
  EXPECT_EQ(environ_bIsNight(), 0);
  EXPECT_EQ(environ_LightsGet(), 0);
  EXPECT_EQ(environ_VariantGet(), 0);
}

TEST(MatchEnvironment, PitchTypes) {
  flowfake::Reset();
  for (std::int32_t p : {0, 1, 2, 4}) {
    flowfake::aStadiums[10] = {1, 0, p};
    environ_StadiumSet(10);
    environ_PitchChoose();
    EXPECT_EQ(environ_PitchTypeGet(), p);
    EXPECT_EQ(environ_PitchWearGet(), 0);
  }
  // Type 3 never stays 3: 0 comes twice as often as 1 or 2, over many seeds.
  flowfake::aStadiums[10] = {1, 0, 3};
  int counts[5] = {};
  for (std::uint32_t seed = 0; seed < 40; seed++) {
    QMathRandState st;
    QMathRandStateInitial(&st);
    QMathRandStateRestore(&st);
    for (std::uint32_t k = 0; k < seed * 7; k++) QMathRandNext();
    for (int i = 0; i < 100; i++) {
      environ_PitchChoose();
      counts[environ_PitchTypeGet()]++;
    }
  }
  EXPECT_EQ(counts[3], 0);
  EXPECT_EQ(counts[4], 0);
  EXPECT_NEAR(counts[0], 2000, 200);
  EXPECT_NEAR(counts[1], 1000, 150);
  EXPECT_NEAR(counts[2], 1000, 150);
  flowfake::aStadiums[10] = {1, 0, 5};
  EXPECT_DEATH(environ_PitchChoose(), "pitch type");
  environ_PitchReset();
  EXPECT_EQ(environ_PitchTypeGet(), 5);
}

}  // namespace
