#pragma once
// Two sides of eleven on the pitch for the possession, chaser, kick and
// strike tests: fake database players, the chains of the two match sides,
// the ball at the centre spot and open play.
#include <gtest/gtest.h>

#include <cstdint>

struct Player;

class EngineSides : public ::testing::Test {
 protected:
  void SetUp() override;
  // Home player i (0 the keeper) and away player i.
  static Player* Home(int i);
  static Player* Away(int i);
  static Player* ById(int iId);
  static void Place(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iFacing);
};
