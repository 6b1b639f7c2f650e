// The game-mode stack: push, pop requests and the one transition per tick.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unistd.h>

#include "shell/global.h"
#include "shell_env.h"

namespace {

std::vector<std::string> g_aoCalls;

void EnterA() { g_aoCalls.push_back("enterA"); }
void ExitA() { g_aoCalls.push_back("exitA"); }
void EnterB() { g_aoCalls.push_back("enterB"); }
void ExitB() { g_aoCalls.push_back("exitB"); }
void EnterC() { g_aoCalls.push_back("enterC"); }

class GameModeStack : public ::testing::Test {
 protected:
  void SetUp() override {
    ShellGameStateFresh();
    g_aoCalls.clear();
  }
};

TEST_F(GameModeStack, PushTakesEffectAtTheNextTransition) {
  global_SetGameMode(GAME_MODE_PLAY);
  global_GameModePush(EnterA, GAME_MODE_CORNER, ExitA);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  EXPECT_TRUE(g_aoCalls.empty());
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_CORNER);
  EXPECT_EQ(g_aoCalls, std::vector<std::string>({"enterA"}));
  // Nothing pending: nothing happens.
  global_GameModeTransition();
  EXPECT_EQ(g_aoCalls.size(), 1u);
}

TEST_F(GameModeStack, DuplicatePushIsIgnoredEvenWithAnotherExit) {
  global_GameModePush(EnterA, GAME_MODE_CORNER, ExitA);
  global_GameModeTransition();
  global_GameModePush(EnterA, GAME_MODE_CORNER, ExitB);
  EXPECT_EQ(global.iStackPointer, 1);
  EXPECT_EQ(global_bModeChanged, 0);
  EXPECT_EQ(global.aStack[0].pfnExit, &ExitA);
  // The same mode with another enter operation is a new entry.
  global_GameModePush(EnterB, GAME_MODE_CORNER, nullptr);
  EXPECT_EQ(global.iStackPointer, 2);
}

TEST_F(GameModeStack, PopWithExitDoesNotRerunTheEnterBelow) {
  global_GameModePush(EnterA, GAME_MODE_PLAY, ExitA);
  global_GameModeTransition();
  global_GameModePush(EnterB, GAME_MODE_THROW_IN, ExitB);
  global_GameModeTransition();
  g_aoCalls.clear();
  global_GameModePopRequest();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  EXPECT_EQ(g_aoCalls, std::vector<std::string>({"exitB"}));
  EXPECT_EQ(global.bPopRequest, 0);
}

TEST_F(GameModeStack, PopWithoutExitRerunsTheEnterBelow) {
  global_GameModePush(EnterA, GAME_MODE_PLAY, ExitA);
  global_GameModeTransition();
  global_GameModePush(EnterB, GAME_MODE_THROW_IN, nullptr);
  global_GameModeTransition();
  g_aoCalls.clear();
  global_GameModePopRequest();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  EXPECT_EQ(g_aoCalls, std::vector<std::string>({"enterA"}));
}

TEST_F(GameModeStack, PopRequestIsServedBeforeAPendingPush) {
  global_GameModePush(EnterA, GAME_MODE_PLAY, nullptr);
  global_GameModeTransition();
  // A push and a pop request in one tick: the transition pops the pushed
  // entry and leaves the push flagged, so the next one runs the top's enter.
  global_GameModePush(EnterB, GAME_MODE_THROW_IN, ExitB);
  global_GameModePopRequest();
  g_aoCalls.clear();
  global_GameModeTransition();
  EXPECT_EQ(g_aoCalls, std::vector<std::string>({"exitB"}));
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  EXPECT_EQ(global_bModeChanged, 1);
  global_GameModeTransition();
  EXPECT_EQ(g_aoCalls, std::vector<std::string>({"exitB", "enterA"}));
  EXPECT_EQ(global_bModeChanged, 0);
}

TEST_F(GameModeStack, SeveralPushesRunOnlyTheTopEnter) {
  global_GameModePush(EnterA, GAME_MODE_PLAY_ON, nullptr);
  global_GameModePush(EnterB, GAME_MODE_CORNER, nullptr);
  global_GameModePush(EnterC, GAME_MODE_SET_PIECE_SCRIPT, nullptr);
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_SET_PIECE_SCRIPT);
  EXPECT_EQ(g_aoCalls, std::vector<std::string>({"enterC"}));
  EXPECT_EQ(global_eGetPrevGameMode(), GAME_MODE_CORNER);
  EXPECT_EQ(global_eGetPrevGameMode2(), GAME_MODE_CORNER);
}

TEST_F(GameModeStack, PopThatEmptiesTheStackKeepsTheMode) {
  global_GameModePush(EnterA, GAME_MODE_PLAY, nullptr);
  global_GameModeTransition();
  g_aoCalls.clear();
  global_GameModePopRequest();
  global_GameModeTransition();
  EXPECT_EQ(global.iStackPointer, 0);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  EXPECT_TRUE(g_aoCalls.empty());
  EXPECT_EQ(global_eGetPrevGameMode(), GAME_MODE_NONE);
}

TEST_F(GameModeStack, PushAndPopOnAnEmptyStackLeaveNothingToEnter) {
  global_SetGameMode(GAME_MODE_PLAY);
  global_GameModePush(EnterA, GAME_MODE_CORNER, ExitA);
  global_GameModePopRequest();
  global_GameModeTransition();
  EXPECT_EQ(g_aoCalls, std::vector<std::string>({"exitA"}));
  global_GameModeTransition();  // the push is still flagged, but nothing is on top
  EXPECT_EQ(g_aoCalls.size(), 1u);
  EXPECT_EQ(global_bModeChanged, 0);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
}

TEST_F(GameModeStack, SixteenPushesWorkTheSeventeenthDumpsAndAsserts) {
  for (int i = 0; i < GLOBAL_GAME_MODE_STACK_MAX; i++) global_GameModePush(nullptr, static_cast<GameMode>(i + 1), nullptr);
  EXPECT_EQ(global.iStackPointer, 16);
  // The dump goes to standard output; the child sends it to stderr for the check.
  EXPECT_DEATH(
      {
        ::dup2(2, 1);
        global_GameModePush(nullptr, GAME_MODE_LAST, nullptr);
      },
               "GLOBAL GAME MODE STACK DUMP\niStackPointer = 16\nmode = 1, pfnInit = 0, pfnExit = 0\n"
               "(.|\n)*mode = 16, pfnInit = 0, pfnExit = 0\n(.|\n)*Assertion failed: 0");
}

TEST_F(GameModeStack, PopOfAnEmptyStackAsserts) {
  EXPECT_DEATH(global_GameModePop(), "Assertion failed: 0, file");
  // A pop request served on an empty stack is the same underflow.
  global_GameModePopRequest();
  EXPECT_DEATH(global_GameModeTransition(), "Assertion failed: 0, file");
}

TEST_F(GameModeStack, ResetClearsEntryZero) {
  global_GameModePush(EnterA, GAME_MODE_PLAY, ExitA);
  global_ResetGameModeStack();
  EXPECT_EQ(global.iStackPointer, 0);
  EXPECT_EQ(global.aStack[0].eMode, GAME_MODE_NONE);
  EXPECT_EQ(global.aStack[0].pfnInit, nullptr);
  EXPECT_EQ(global.aStack[0].pfnExit, nullptr);
}

TEST(RecentUsers, TouchMovesToFrontWithoutDuplicatesAndDropsTheOldest) {
  User* apo[5];
  for (int i = 0; i < 5; i++) apo[i] = reinterpret_cast<User*>(0x1000 + 0x100 * i);
  global_RecentUsersClear();
  global_RecentUserTouch(apo[0]);
  global_RecentUserTouch(apo[1]);
  global_RecentUserTouch(apo[2]);
  global_RecentUserTouch(apo[3]);
  EXPECT_EQ(global.apoRecentUsers[0], apo[3]);
  EXPECT_EQ(global.apoRecentUsers[3], apo[0]);
  // Already first: nothing changes.
  global_RecentUserTouch(apo[3]);
  EXPECT_EQ(global.apoRecentUsers[0], apo[3]);
  EXPECT_EQ(global.apoRecentUsers[1], apo[2]);
  // From the middle to the front.
  global_RecentUserTouch(apo[1]);
  EXPECT_EQ(global.apoRecentUsers[0], apo[1]);
  EXPECT_EQ(global.apoRecentUsers[1], apo[3]);
  EXPECT_EQ(global.apoRecentUsers[2], apo[2]);
  EXPECT_EQ(global.apoRecentUsers[3], apo[0]);
  EXPECT_EQ(global_poGetPrevUser(), apo[3]);
  // A fifth user pushes the oldest out.
  global_RecentUserTouch(apo[4]);
  EXPECT_EQ(global.apoRecentUsers[0], apo[4]);
  EXPECT_EQ(global.apoRecentUsers[3], apo[2]);
}

}  // namespace
