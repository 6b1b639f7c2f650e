// Match statistics: counters, the goal list with its minute caps, the action
// areas, and the in-match texts in six languages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "flow_fakes.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "tournament/dbplayer.h"

extern std::int32_t mlang_iLanguage;

namespace {

TEST(MatchStats, CountersWrapAndAShotOnTargetIsAShot) {
  MatchStats s{};
  gstatso_ShotOnTargetAdd(&s);
  gstatso_ShotAdd(&s);
  EXPECT_EQ(gstatso_ShotsGet(&s), 2);
  EXPECT_EQ(gstatso_OnTargetGet(&s), 1);
  void (*adds[])(MatchStats*) = {gstatso_CornerAdd, gstatso_FreeKickAdd, gstatso_OffsideAdd, gstatso_BookedAdd,
                                 gstatso_SentOffAdd};
  std::int32_t (*gets[])(const MatchStats*) = {gstatso_CornersGet, gstatso_FreeKicksGet, gstatso_OffsidesGet,
                                               gstatso_BookedGet, gstatso_SentOffGet};
  for (int k = 0; k < 5; k++) {
    for (int i = 0; i < 257 + k; i++) adds[k](&s);
    EXPECT_EQ(gets[k](&s), 1 + k) << k;  // 257 + k wraps to 1 + k
  }
  gstatso_PossessionAdd(&s, 500);
  gstatso_ActionArea0Add(&s, 1);
  gstatso_ActionArea1Add(&s, 2);
  gstatso_ActionArea2Add(&s, 3);
  gstatso_ActionAreasSwap(&s);
  EXPECT_EQ(gstatso_ActionAreaGet(&s, 0), 3);
  EXPECT_EQ(gstatso_ActionAreaGet(&s, 1), 2);
  EXPECT_EQ(gstatso_ActionAreaGet(&s, 2), 1);
  gstatso_ActionAreasSwap(&s);
  EXPECT_EQ(gstatso_ActionAreaGet(&s, 0), 1);
  EXPECT_EQ(gstatso_ActionAreaGet(&s, 2), 3);
  gstatso_GoalAdd(&s, nullptr, 0);
  gstatso_Clear(&s);
  MatchStats zero{};
  EXPECT_EQ(std::memcmp(&s.Shots, &zero.Shots, 7), 0);
  EXPECT_EQ(s.Possession, 0);
  EXPECT_EQ(s.ActionArea[0] + s.ActionArea[1] + s.ActionArea[2], 0);
  EXPECT_EQ(gstatso_GoalCountGet(&s), 0);
}

TEST(MatchStats, GoalMinutesAreCappedByThePeriod) {
  flowfake::Reset();
  // {period, clock, minute listed}
  const std::int32_t table[][3] = {{0, 46 * 1800 + 10 * 30, 45}, {0, 30 * 1800, 30},      {1, 93 * 1800, 90},
                                   {1, 60 * 1800 + 1799, 60},   {2, 110 * 1800, 105},    {3, 125 * 1800, 120},
                                   {3, 119 * 1800, 119},        {0, 0, 0}};
  DBPlayer scorer{};
  for (auto& row : table) {
    MatchStats s{};
    clock_oClock.iPeriod = row[0];
    clock_oClock.iClock = row[1];
    EXPECT_EQ(gstatso_GoalAdd(&s, &scorer, 3), 1);
    EXPECT_EQ(gstatso_GoalMinuteGet(&s, 0), row[2]) << row[0] << " " << row[1];
    EXPECT_EQ(gstatso_GoalScorerGet(&s, 0), &scorer);
    EXPECT_EQ(gstatso_GoalKindGet(&s, 0), 3);
  }
  // A shoot-out kick is listed at 121 whatever the period.
  global.eGameMode = static_cast<GameMode>(66);
  for (std::int32_t p : {4, 5, 0}) {
    MatchStats s{};
    clock_oClock.iPeriod = p;
    gstatso_GoalAdd(&s, &scorer, 0);
    EXPECT_EQ(gstatso_GoalMinuteGet(&s, 0), GSTATSO_SHOOTOUT_MINUTE);
  }
  global.eGameMode = GAME_MODE_PLAY;
  clock_oClock.iPeriod = 4;
  MatchStats s{};
  EXPECT_DEATH(gstatso_GoalAdd(&s, &scorer, 0), "iPeriod");
}

TEST(MatchStats, AFullGoalListKeepsItsThirtyGoals) {
  flowfake::Reset();
  clock_oClock.iPeriod = 1;
  MatchStats s{};
  DBPlayer scorers[32]{};
  for (int i = 0; i < 32; i++) {
    clock_oClock.iClock = (50 + i) * 1800;
    EXPECT_EQ(gstatso_GoalAdd(&s, &scorers[i], i & 1), i < 30 ? i + 1 : 30);
  }
  EXPECT_EQ(gstatso_GoalCountGet(&s), 30);
  EXPECT_EQ(gstatso_GoalScorerGet(&s, 0), &scorers[0]);
  EXPECT_EQ(gstatso_GoalScorerGet(&s, 29), &scorers[29]);
  EXPECT_EQ(gstatso_GoalMinuteGet(&s, 29), 79);
}

TEST(MatchStats, InMatchTextsInEveryLanguage) {
  const std::int32_t iSaved = mlang_iLanguage;
  mlang_iLanguage = 0;
  const std::pair<int, const char*> english[] = {{0, "R"}, {1, "Shots On Target"}, {7, "[player name] misses next match"},
                                                 {20, "PENALTY SHOOTOUT"}, {33, "Latest Score "}, {36, "OG"},
                                                 {46, "Really Quit?"}, {52, ""}, {60, "Very Close"}, {64, "DEMO"}};
  for (auto [id, psz] : english) EXPECT_STREQ(gstatso_StrGet(id), psz) << id;
  for (std::int32_t l = 1; l < 6; l++) {
    mlang_iLanguage = l;
    EXPECT_STRNE(gstatso_StrGet(39), "Game Paused") << l;  // translated
    EXPECT_STREQ(gstatso_StrGet(52), "");
    EXPECT_NE(std::string(gstatso_StrGet(7)).find("[player name]"), std::string::npos) << l;
  }
  mlang_iLanguage = 7;  // an unknown language reads English
  EXPECT_STREQ(gstatso_StrGet(39), "Game Paused");
  mlang_iLanguage = iSaved;
  EXPECT_DEATH(gstatso_StrGet(65), "GSTATSO_STRINGS_MAX");
}

}  // namespace
