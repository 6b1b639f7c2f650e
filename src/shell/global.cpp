// The global record and the game-mode stack.
#include "shell/global.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "framework/qdx_assert.h"
#include "shell/input.h"
#include "shell/mem.h"
#include "shell/user.h"

Global global;
int32_t global_bModeChanged;

GameMode global_eGetGameMode() { return global.eGameMode; }
void global_SetGameMode(GameMode eMode) { global.eGameMode = eMode; }
GameMode global_eGetExtendedGameMode() { return global.eExtendedGameMode; }
void global_SetExtendedGameMode(GameMode eMode) { global.eExtendedGameMode = eMode; }

static void global_StackDump() {
  std::printf("GLOBAL GAME MODE STACK DUMP\n");
  std::printf("iStackPointer = %d\n", global.iStackPointer);
  for (int32_t i = 0; i < GLOBAL_GAME_MODE_STACK_MAX; i++) {
    const GameModeStackEntry& e = global.aStack[i];
    std::printf("mode = %d, pfnInit = %" PRIxPTR ", pfnExit = %" PRIxPTR "\n", static_cast<int>(e.eMode),
                reinterpret_cast<uintptr_t>(e.pfnInit), reinterpret_cast<uintptr_t>(e.pfnExit));
  }
  std::fflush(stdout);
}

void global_GameModePush(GameModeFn pfnInit, GameMode eMode, GameModeFn pfnExit) {
  if (global.iStackPointer > 0) {
    const GameModeStackEntry& top = global.aStack[global.iStackPointer - 1];
    // The same mode with the same enter operation is already on top: ignored.
    if (top.eMode == eMode && top.pfnInit == pfnInit) return;
  }
  if (global.iStackPointer >= GLOBAL_GAME_MODE_STACK_MAX) {
    global_StackDump();
    QDX_ASSERT(0);
  }
  GameModeStackEntry& e = global.aStack[global.iStackPointer];
  e.eMode = eMode;
  e.pfnInit = pfnInit;
  e.pfnExit = pfnExit;
  global.iStackPointer++;
  global_bModeChanged = 1;
}

void global_GameModePopRequest() { global.bPopRequest = 1; }

void global_GameModePop() {
  global.iStackPointer--;
  if (global.iStackPointer < 0) {
    global.iStackPointer = 0;
    QDX_ASSERT(0);
  }
}

void global_GameModeTransition() {
  if (global.bPopRequest) {
    // A pop request on an empty stack is the pop's underflow.
    if (global.iStackPointer <= 0) global_GameModePop();
    GameModeFn pfnExit = global.aStack[global.iStackPointer - 1].pfnExit;
    global_GameModePop();
    if (pfnExit) pfnExit();
    global.bPopRequest = 0;
    // A pop that empties the stack leaves the mode as it is: there is no entry
    // below the popped one to return to.
    if (global.iStackPointer > 0) {
      const GameModeStackEntry& top = global.aStack[global.iStackPointer - 1];
      if (!pfnExit && top.pfnInit) top.pfnInit();
      global.eGameMode = global.aStack[global.iStackPointer - 1].eMode;
    }
  } else if (global_bModeChanged) {
    // A push popped again before it took effect may leave nothing on top.
    if (global.iStackPointer <= 0) {
      global_bModeChanged = 0;
      return;
    }
    const GameModeStackEntry& top = global.aStack[global.iStackPointer - 1];
    if (top.pfnInit) top.pfnInit();
    global_bModeChanged = 0;
    global.eGameMode = global.aStack[global.iStackPointer - 1].eMode;
  }
}

void global_ResetGameModeStack() {
  global.iStackPointer = 0;
  global.aStack[0].eMode = GAME_MODE_NONE;
  global.aStack[0].pfnInit = nullptr;
  global.aStack[0].pfnExit = nullptr;
}

void global_Init() {
  for (int32_t i = 0; i < GLOBAL_GAME_MODE_STACK_MAX; i++) {
    global.aStack[i].eMode = GAME_MODE_NONE;
    global.aStack[i].pfnInit = nullptr;
  }
  global.iStackPointer = 0;
}

// The mode a pop would return to; with fewer than two entries there is none
// and the answer is GAME_MODE_NONE.
GameMode global_eGetPrevGameMode() {
  if (global.iStackPointer < 2) return GAME_MODE_NONE;
  return global.aStack[global.iStackPointer - 2].eMode;
}

GameMode global_eGetPrevGameMode2() { return global_eGetPrevGameMode(); }

User* global_poGetPauseUser() { return global.poPauseUser; }
void global_SetPauseUser(User* poUser) { global.poPauseUser = poUser; }
User* global_poGetMenuUser() { return global.poMenuUser; }
void global_SetMenuUser(User* poUser) { global.poMenuUser = poUser; }
User* global_poGetHomeUser() { return global.poHomeUser; }
void global_SetHomeUser(User* poUser) { global.poHomeUser = poUser; }
User* global_poGetAwayUser() { return global.poAwayUser; }
void global_SetAwayUser(User* poUser) { global.poAwayUser = poUser; }

// The one-side word under the name the match engine reads it by: the
// referee's simple rules, the referee's absence and the player moves without
// him all follow it.
void global_SpareFlagSet(uint8_t bFlag) { global.bOneSide = bFlag; }
uint8_t global_bSpareFlagGet() { return global.bOneSide != 0 ? 1 : 0; }

void global_RecentUsersClear() {
  for (int32_t i = 0; i < GLOBAL_RECENT_USERS_MAX; i++) global.apoRecentUsers[i] = nullptr;
}

void global_RecentUserTouch(User* poUser) {
  User* poCarry = poUser;
  for (int32_t i = 0; i < GLOBAL_RECENT_USERS_MAX; i++) {
    User* poDisplaced = global.apoRecentUsers[i];
    global.apoRecentUsers[i] = poCarry;
    if (poDisplaced == poUser) break;
    poCarry = poDisplaced;
  }
}

User* global_poGetPrevUser() { return global.apoRecentUsers[1]; }

void game_Startup() {
  mem_Init();
  global_Init();
  game_UsersReset();
  input_BindingTablesClear();
  input_PortsInit();
  input_DefaultBindingsRegister();
  input_FirstFreeUserAttach();
}
