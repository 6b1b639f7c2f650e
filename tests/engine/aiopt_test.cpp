// The option search against a brute-force scan of the window, its handlers,
// the support handler, the target run, the walk back onside, the offside
// candidate and the zone-group handlers.
#include <gtest/gtest.h>

#include <vector>

#include "engine/action_list.h"
#include "engine/aiopt.h"
#include "engine/ball.h"
#include "engine/cover.h"
#include "engine/engine_services.h"
#include "engine/grid.h"
#include "engine/offside.h"
#include "engine/player.h"
#include "engine/zone.h"
#include "engine_env.h"
#include "shell/global.h"

namespace {

struct Lcg {
  std::uint32_t s;
  std::int32_t operator()(std::int32_t n) {
    s = s * 1664525u + 1013904223u;
    return static_cast<std::int32_t>((s >> 8) % static_cast<std::uint32_t>(n));
  }
};

// Open cell test by the cell's offset from the player's own cell.
bool Open(const Player* pp, std::int32_t col, std::int32_t row) {
  std::int32_t k = row - cover_RowOf(pp->y) + 7, b = cover_ColumnOf(pp->x) + 7 - col;
  if (k < 0 || k > 14 || b < 0 || b > 14) return false;
  return ((pp->auOpponentGrid[k] & pp->auOccupancy[k]) >> b) & 1;
}

struct Found {
  bool ok;
  std::int32_t col, row, lower, upper;
};

Found Reference(const Player* pp, const std::int8_t* order, std::int32_t lower, std::int32_t upper, std::int32_t want) {
  const AIInfo& ai = pp->oAIInfo;
  for (std::int32_t i = 0; i < 15; i++) {
    std::int32_t row = ai.iWinMinRow + order[i];
    if (row > ai.iWinMaxRow) continue;
    Found f{false, 0, 0, lower, upper};
    for (std::int32_t col = ai.iWinMaxCol; col >= 0 && col >= ai.iWinMinCol; col--) {
      if (!Open(pp, col, row)) continue;
      std::int32_t v = aiopt_CellValue(pp, col, row);
      if (v == want) {
        f = Found{true, col, row, lower, upper};
        break;
      }
      if (v > lower && v < upper) {
        f.ok = true, f.col = col, f.row = row;
        if (v < want) lower = v;
        else upper = v;
        f.lower = lower, f.upper = upper;
      }
    }
    if (f.ok) return f;
  }
  return Found{false, 0, 0, lower, upper};
}

TEST(OptionSearch, AgainstABruteForceScanWithWindowsClippedAtEveryEdge) {
  EngineMatchSetup();
  Lcg rnd{7};
  Player* pp = EnginePlayer(4);
  const std::int32_t xs[] = {-9360, -9000, -8600, 0, 8600, 9000, 9359};
  const std::int32_t ys[] = {-5760, -5400, 0, 5400, 5759};
  std::int32_t cFound = 0;
  for (int run = 0; run < 3000; run++) {
    std::int32_t x = run % 3 ? rnd(18720) - 9360 : xs[rnd(7)];
    std::int32_t y = run % 3 ? rnd(11520) - 5760 : ys[rnd(5)];
    EnginePlace(pp, x, y, 0);
    pp->Direction = rnd(2);
    std::int32_t c = cover_ColumnOf(x), r = cover_RowOf(y);
    AIInfo& ai = pp->oAIInfo;
    ai.iWinMinCol = std::max(c - 7, 0);
    ai.iWinMaxCol = std::min(c + 7, 155);
    ai.iWinMinRow = std::max(r - 7, 0);
    ai.iWinMaxRow = std::min(r + 7, 95);
    for (int k = 0; k < 15; k++) {
      pp->auOpponentGrid[k] = static_cast<std::uint16_t>(rnd(2) ? rnd(0x8000) : 0x7FFF);
      pp->auOccupancy[k] = static_cast<std::uint16_t>(rnd(4) ? rnd(0x8000) & rnd(0x8000) : 0);
    }
    std::int32_t mid = aiopt_CellValue(pp, c, r);
    std::int32_t kind = rnd(3);
    ai.iLowerBound = kind == 0 ? -255 : kind == 1 ? mid + 1 : 0;
    ai.iUpperBound = kind == 2 ? mid : 255;
    ai.iWantedValue = kind == 0 ? mid + rnd(40) - 20 : kind == 1 ? 255 : 0;
    std::int32_t lower = ai.iLowerBound, upper = ai.iUpperBound, want = ai.iWantedValue;
    std::int32_t got = aiopt_Search(pp);
    Found f = Reference(pp, ai.piRowOrder, lower, upper, want);
    ASSERT_EQ(got, f.ok ? 1 : 0) << run;
    EXPECT_EQ((ai.iFlags & AI_FLAG_OPTION) != 0, f.ok);
    if (f.ok) {
      cFound++;
      EXPECT_EQ(pp->aiCover[0], f.col) << run;
      EXPECT_EQ(pp->aiCover[1], f.row) << run;
      EXPECT_EQ(pp->aiCover[4], f.lower) << run;
      EXPECT_EQ(ai.iUpperBound, f.upper) << run;
    }
  }
  EXPECT_GT(cFound, 1000);
}

TEST(OptionSearch, RowOrderDecidesBetweenEqualMatches) {
  EngineMatchSetup();
  Player* pp = EnginePlayer(4);
  EnginePlace(pp, 0, 0, 0);
  pp->Direction = 1;
  AIInfo& ai = pp->oAIInfo;
  std::int32_t c = cover_ColumnOf(0), r = cover_RowOf(0);
  ai.iWinMinCol = c - 7, ai.iWinMaxCol = c + 7, ai.iWinMinRow = r - 7, ai.iWinMaxRow = r + 7;
  // Rows 0 and 14 of the window open at the same column: mirrored rows have
  // the same value.
  for (auto& u : pp->auOpponentGrid) u = 0x7FFF;
  for (auto& u : pp->auOccupancy) u = 0;
  pp->auOccupancy[0] = pp->auOccupancy[14] = 1 << 7;
  std::int32_t cRowZero = 0;
  for (int i = 0; i < 40; i++) {
    ai.iLowerBound = -255, ai.iUpperBound = 255;
    ai.iWantedValue = aiopt_CellValue(pp, c, r - 7);
    ASSERT_EQ(aiopt_Search(pp), 1);
    EXPECT_EQ(pp->aiCover[1], ai.piRowOrder == aiopt_aiRowsUp ? r - 7 : r + 7);
    cRowZero += ai.piRowOrder == aiopt_aiRowsUp;
  }
  EXPECT_GT(cRowZero, 5);
  EXPECT_LT(cRowZero, 35);
  // A row with an empty mask is skipped; no open cell: no option.
  for (auto& u : pp->auOccupancy) u = 0;
  EXPECT_EQ(aiopt_Search(pp), 0);
  EXPECT_EQ(ai.iFlags & AI_FLAG_OPTION, 0);
  // The nearest-cell variant.
  pp->auOccupancy[3] = 0x7FFF;
  std::int32_t oc = 0, orow = 0;
  ASSERT_EQ(aiopt_SearchNearest(pp, c + 30, r, &oc, &orow), 1);
  EXPECT_EQ(oc, c + 7);
  EXPECT_EQ(orow, r - 4);
  // The line search from a start column outward.
  std::int32_t lx = 0, ly = 0;
  std::int32_t v = aiopt_CellValue(pp, c + 2, r);
  ASSERT_EQ(aiopt_LineSearch(pp, r, 0x7FFF, c, v, 256, &lx, &ly), 1);
  EXPECT_EQ(lx, (c + 2) * 120 - 9300);
  EXPECT_NE(ai.iFlags & AI_FLAG_LINE, 0);
}

// A list of the given players on the stack of the caller.
std::vector<ActionNode> List(std::initializer_list<Player*> players) {
  std::vector<ActionNode> v(players.size());
  size_t i = 0;
  for (Player* pp : players) v[i++] = ActionNode{nullptr, nullptr, pp};
  for (size_t k = 0; k < v.size(); k++) {
    v[k].poPrev = k ? &v[k - 1] : nullptr;
    v[k].poNext = k + 1 < v.size() ? &v[k + 1] : nullptr;
  }
  return v;
}

TEST(OptionHandlers, TakeThePlayerAndSendHimToTheCell) {
  EngineMatchSetup();
  Player* pp = EnginePlayer(4);
  pp->oAIInfo.poZoneBoxList = &zone_aBoxes[pp->oRole.iAttackTree];
  pp->oAIInfo.iZoneFlip = 0;
  pp->oAIInfo.abParams[0] = 4;  // the middle-third class zone
  pp->oAIInfo.abParams[1] = 10;
  EnginePlace(pp, -500, 300, 0);
  ball_PlaceAt(&ball_oBall, -3000, 0, 0);
  for (std::int32_t i = 11; i < 22; i++) EnginePlace(EnginePlayer(i), 8000, 5000 - 100 * i, 0);
  auto list = List({pp});
  EXPECT_EQ(aiopt_OptionAHandler(&list[0]), nullptr);
  EXPECT_EQ(pp->oAIInfo.eAction, ACTION_OPTION_A);
  std::int32_t c = pp->aiCover[0], r = pp->aiCover[1];
  EXPECT_EQ(pp->oAnimInfo.iTargetX, c * 120 - 9300);
  EXPECT_EQ(pp->oAnimInfo.iTargetY, r * 120 - 5700);
  EXPECT_LE(std::abs(c - cover_ColumnOf(pp->x)), 7);
  // Variant C looks for the lowest value below the ball's: backward.
  ball_PlaceAt(&ball_oBall, 3000, 0, 0);
  auto l2 = List({pp});
  EXPECT_EQ(aiopt_OptionCHandler(&l2[0]), nullptr);
  EXPECT_LT(pp->oAnimInfo.iTargetX, pp->x);
  // Variant B runs toward the lines through the target clamp.
  ball_PlaceAt(&ball_oBall, -3000, 0, 0);
  pp->oAIInfo.ePrevAction = 0;
  pp->oAIInfo.eAction = 0;
  auto l3 = List({pp});
  EXPECT_EQ(aiopt_OptionBHandler(&l3[0]), nullptr);
  EXPECT_EQ(pp->oAnimInfo.iTargetX, 9360);
  // A player at the goal line: his window starts at column 0.
  EnginePlace(pp, -9360, 0, 0);
  pp->oAIInfo.abParams[0] = 1;
  auto l4 = List({pp, EnginePlayer(5)});
  aiopt_OptionCHandler(&l4[0]);
  EXPECT_EQ(pp->oAIInfo.iWinMinCol, 0);
  EXPECT_EQ(pp->oAIInfo.iWinMaxCol, 7);
  // No zone to mark: nobody is taken and the list comes back whole.
  pp->oAIInfo.abParams[0] = 130;
  EnginePlayer(5)->oAIInfo.abParams[0] = 130;
  EnginePlayer(5)->oAIInfo.poZoneBoxList = pp->oAIInfo.poZoneBoxList;
  auto l5 = List({pp, EnginePlayer(5)});
  EXPECT_EQ(aiopt_OptionAHandler(&l5[0]), &l5[0]);
  EXPECT_EQ(l5[0].poNext, &l5[1]);
}

TEST(SupportHandler, StateOneStaysOthersLeave) {
  EngineMatchSetup();
  Player *a = EnginePlayer(2), *b = EnginePlayer(3), *c = EnginePlayer(4);
  grid_SupportStateSet(a, 1);
  grid_SupportStateSet(b, 3);
  grid_SupportStateSet(c, 1);
  auto l = List({a, b, c});
  ActionNode* po = grid_SupportHandler(&l[0]);
  ASSERT_EQ(po, &l[0]);
  EXPECT_EQ(po->poNext, &l[2]);
  EXPECT_EQ(grid_SupportStateGet(b), 3);
  auto l2 = List({b});
  EXPECT_EQ(grid_SupportHandler(&l2[0]), nullptr);
}

TEST(TargetRun, UnmarkedAttackerRuns) {
  EngineMatchSetup();
  Player* pp = EnginePlayer(9);
  EnginePlace(pp, 3000, 1000, 0);
  for (std::int32_t i = 11; i < 22; i++) EnginePlace(EnginePlayer(i), -8000, 5000 - 100 * i, 0);
  pp->oAIInfo.abParams[0] = 1;
  auto l = List({pp});
  EXPECT_EQ(grid_TargetRunHandler(&l[0]), nullptr);
  EXPECT_EQ(pp->oAIInfo.eAction, ACTION_TARGET_RUN);
  EXPECT_EQ(pp->oAnimInfo.iTargetX, 9360);
  EXPECT_EQ(pp->oAnimInfo.iTargetY, 0);
  pp->oAIInfo.abParams[0] = 0;
  auto l1 = List({pp});
  EXPECT_EQ(grid_TargetRunHandler(&l1[0]), nullptr);
  EXPECT_EQ(pp->oAnimInfo.iTargetX, 3000 + 1440);
  // Two defenders between him and goal: he stays in the list.
  EnginePlace(EnginePlayer(12), 5000, 1000, 0);
  EnginePlace(EnginePlayer(13), 6000, 1000, 0);
  auto l2 = List({pp});
  EXPECT_EQ(grid_TargetRunHandler(&l2[0]), &l2[0]);
}

TEST(Onside, PlayersBeyondTheLineWalkBack) {
  EngineMatchSetup();
  offside_Reset();
  const std::int32_t ax[11] = {9000, 3000, 2500, 2000, -100, -200, -300, -400, -500, -600, -700};
  for (std::int32_t i = 0; i < 11; i++) EnginePlace(EnginePlayer(11 + i), ax[i], 0, 0);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  offside_LineUpdate();
  Player *a = EnginePlayer(9), *b = EnginePlayer(10);
  EnginePlace(a, 3500, 200, 0);
  EnginePlace(b, 2000, -200, 0);
  auto l = List({a, b});
  ActionNode* po = offside_OnsideHandler(&l[0]);
  EXPECT_EQ(po, &l[1]);
  EXPECT_EQ(a->oAIInfo.eAction, ACTION_ONSIDE);
  EXPECT_EQ(a->oAnimInfo.iTargetX, 3000 - 720);
  EXPECT_EQ(a->oAnimInfo.iTargetY, 200);
}

TEST(Offside, CandidateSearch) {
  EngineMatchSetup();
  offside_Reset();
  global_SetGameMode(GAME_MODE_PLAY);
  global_SetExtendedGameMode(GAME_MODE_PLAY);
  // Away defends +x: deepest 9000 (keeper), second 3000.
  const std::int32_t ax[11] = {9000, 3000, 2500, 2000, -100, -200, -300, -400, -500, -600, -700};
  for (std::int32_t i = 0; i < 11; i++) EnginePlace(EnginePlayer(11 + i), ax[i], 0, 0);
  for (std::int32_t i = 0; i < 11; i++) EnginePlace(EnginePlayer(i), -2000 - 100 * i, 0, 0);
  Player* kicker = EnginePlayer(6);
  EnginePlace(kicker, 0, 0, 0);
  Player* runner = EnginePlayer(9);
  EnginePlace(runner, 4000, 1000, 0);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  ball_oBall.poOwner = kicker;
  ball_oBall.iLandX = 4500;
  ball_oBall.iLandY = 1500;
  Player *pa = nullptr, *pd = nullptr;
  EXPECT_EQ(offside_CandidateFind(&ball_oBall, &pa, &pd), 1000);
  EXPECT_EQ(pa, runner);
  EXPECT_EQ(pd, EnginePlayer(12));
  // Played backward: the test does not apply.
  ball_oBall.iLandX = -500;
  EXPECT_EQ(offside_CandidateFind(&ball_oBall, &pa, &pd), -9360);
  EXPECT_EQ(pa, nullptr);
  // Nobody near the landing point.
  ball_oBall.iLandX = 4500;
  ball_oBall.iLandY = -5000;
  EXPECT_EQ(offside_CandidateFind(&ball_oBall, &pa, &pd), -18720);
  ball_oBall.iLandY = 1500;
  // Training, the switch, the option: never a candidate.
  global_SetExtendedGameMode(GAME_MODE_START_TRAINING);
  EXPECT_EQ(offside_CandidateFind(&ball_oBall, &pa, &pd), -9360);
  global_SetExtendedGameMode(GAME_MODE_PLAY);
  offside_SwitchSet(0);
  EXPECT_EQ(offside_CandidateFind(&ball_oBall, &pa, &pd), -9360);
  offside_SwitchSet(1);
  offside_OptionSet(0);
  EXPECT_EQ(offside_CandidateFind(&ball_oBall, &pa, &pd), -9360);
  offside_OptionSet(1);
  // A goalkeeper's kick.
  ball_oBall.poOwner = EnginePlayer(0);
  EXPECT_EQ(offside_CandidateFind(&ball_oBall, &pa, &pd), -9360);
  ball_oBall.poOwner = nullptr;
}

TEST(ZoneGroups, OwnerOutsideZone33) {
  EngineMatchSetup();
  // Zones 33 and 34 exist in no shipped tree: nothing happens.
  Player* pp = EnginePlayer(4);
  pp->oAIInfo.poZoneBoxList = &zone_aBoxes[pp->oRole.iAttackTree];
  ball_oBall.poOwner = EnginePlayer(6);
  auto l = List({pp});
  EXPECT_EQ(zone_GroupReturnHandler(&l[0]), &l[0]);
  EXPECT_EQ(zone_GroupWalkHandler(&l[0]), &l[0]);
  ball_oBall.poOwner = nullptr;
}

}  // namespace

namespace {

TEST(UserPass, StickPicksTheReceiver) {
  EngineMatchSetup();
  for (std::int32_t i = 0; i < 22; i++) {
    EnginePlayer(i)->oAIInfo.bIsAttacking = i < 11;
    EnginePlace(EnginePlayer(i), -9000 + 60 * i, i < 11 ? -5000 : 5000, 0);
  }
  Player* h = EnginePlayer(6);
  EnginePlace(h, 0, 0, 0);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  EnginePlace(EnginePlayer(7), 1500, 0, 0);   // ahead (+x)
  EnginePlace(EnginePlayer(8), 0, 1500, 0);   // a quarter turn round (+y)
  ball_oBall.poOwner = h;
  h->Control = PLAYER_CONTROL_COMPUTER;
  EXPECT_EQ(pass_UserReceiverChoose(), nullptr);
  h->Control = PLAYER_CONTROL_USER;
  struct Case {
    std::uint16_t angle, magnitude;
    std::int16_t facing;
    Player* want;
  } cases[] = {
      {270, 40, 200, EnginePlayer(7)},  // (270 + 90) x 401 / 180 = 802: wrapped to 0
      {0, 40, 0, EnginePlayer(8)},      // 200: a quarter turn
      {0, 29, 0, EnginePlayer(7)},      // stick at rest: his facing
      {0, 29, 200, EnginePlayer(8)},
  };
  for (const Case& c : cases) {
    h->uStickAngle = c.angle;
    h->uStickMagnitude = c.magnitude;
    h->iFacing = c.facing;
    EXPECT_EQ(pass_UserReceiverChoose(), c.want) << c.angle << " " << c.magnitude;
    EXPECT_EQ(pass_UserRecordGet()->poReceiver, c.want);
  }
  pass_UserMarkersUpdate();
  ball_oBall.poOwner = nullptr;
}

}  // namespace
