// The front-end tick and the match tick dispatch on the game mode.
#include <gtest/gtest.h>

#include "frontend/frontend_services.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "shell/vsync.h"
#include "shell_env.h"

namespace {

int32_t StayTask() { return 1; }
int g_cEnter;
void CountEnter() { g_cEnter++; }

class Ticks : public ::testing::Test {
 protected:
  void SetUp() override {
    ShellGameStateFresh();
    g_cEnter = 0;
  }
};

TEST_F(Ticks, FrontEndReplacesMatchModesWithModeOne) {
  for (int32_t iMode : {2, 3, 24, 34, 82, 86, 0, 89, -4}) {
    global_SetGameMode(static_cast<GameMode>(iMode));
    EXPECT_EQ(game_FrontEndTick(), 1) << iMode;
    EXPECT_EQ(global_eGetGameMode(), GAME_MODE_REPLAY_BINDINGS) << iMode;
  }
}

TEST_F(Ticks, FrontEndKeepsIdleModesAndReturnsToTheMenu) {
  for (int32_t iMode : {4, 5, 25}) {
    global_SetGameMode(static_cast<GameMode>(iMode));
    EXPECT_EQ(game_FrontEndTick(), 1);
    EXPECT_EQ(global_eGetGameMode(), iMode);
  }
  global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
  game_FrontEndTick();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_MAIN_MENU);
  global_SetGameMode(static_cast<GameMode>(8));
  global_SetExtendedGameMode(GAME_MODE_HISTORY);
  game_FrontEndTick();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_NEWS);
}

TEST_F(Ticks, FrontEndModeSeventyThreeByKindOfGame) {
  struct Case { int32_t iExtended; int32_t bHistory; GameMode eExpected; };
  mfhmain_State = 3;
  for (Case c : {Case{49, 1, GAME_MODE_RETURN_TO_MAIN_MENU}, Case{49, 0, GAME_MODE_NEWS},
                 Case{74, 0, GAME_MODE_MAIN_MENU}, Case{50, 0, GAME_MODE_MAIN_MENU},
                 Case{39, 0, GAME_MODE_MAIN_MENU}, Case{15, 0, GAME_MODE_RETURN_TO_MAIN_MENU}}) {
    global_SetGameMode(GAME_MODE_INTRO);
    global_SetExtendedGameMode(static_cast<GameMode>(c.iExtended));
    global.bHistory = c.bHistory;
    game_FrontEndTick();
    EXPECT_EQ(global_eGetGameMode(), c.eExpected) << c.iExtended;
  }
  mfhmain_State = 0;
}

TEST_F(Ticks, FrontEndStartsAMatchInModesTwentyTwoAndThirtyThree) {
  for (int32_t iMode : {22, 33}) {
    vsync_TaskAdd(StayTask);
    global_SetGameMode(static_cast<GameMode>(iMode));
    EXPECT_EQ(game_FrontEndTick(), 0);
    EXPECT_EQ(cVSync_Tasks, 0);  // the task list is emptied
  }
}

TEST_F(Ticks, FrontEndLanguageModeGoesToTheMenu) {
  global_SetGameMode(GAME_MODE_LANGUAGE);
  EXPECT_EQ(game_FrontEndTick(), 1);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_RETURN_TO_MAIN_MENU);
}

TEST_F(Ticks, MatchModeWithoutHandlerStillRunsTheTransition) {
  global_SetGameMode(static_cast<GameMode>(60));
  global_GameModePush(CountEnter, GAME_MODE_PLAY, nullptr);
  EXPECT_EQ(game_MatchTick(), 1);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  EXPECT_EQ(g_cEnter, 1);
}

TEST_F(Ticks, MatchModeThirtyThreeEndsTheMatchAfterTheCommonCalls) {
  vsync_TaskAdd(StayTask);
  global_GameModePush(nullptr, GAME_MODE_MATCH_END, nullptr);
  global_GameModeTransition();
  global_GameModePush(CountEnter, GAME_MODE_PLAY, nullptr);
  EXPECT_EQ(game_MatchTick(), 0);
  EXPECT_EQ(cVSync_Tasks, 0);
  EXPECT_EQ(g_cEnter, 1);  // the pending push still took effect
}

TEST_F(Ticks, MatchEnterStartsTheInMatchSetUp) {
  global.bHistory = 1;
  game_MatchEnter();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_IN_MATCH_SETUP);
  EXPECT_EQ(global.bHistory, 0);
}

}  // namespace
