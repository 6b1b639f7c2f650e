#pragma once
// The global record: the game mode the ticks dispatch on, the kind of game
// under way, the users that hold the menus and the sides, the history date
// and the 16-deep game-mode stack.
#include <cstdint>

struct Player;
struct User;

// Game modes 1 to 88. Most are known only by number; those named here are the
// ones other parts of the game refer to by name.
enum GameMode : int32_t {
  GAME_MODE_NONE = 0,
  GAME_MODE_REPLAY_BINDINGS = 1,
  GAME_MODE_PLAY = 2,
  GAME_MODE_PAUSE_MENU = 7,
  GAME_MODE_MAIN_MENU = 12,
  GAME_MODE_QUICK_START = 14,
  GAME_MODE_DEMO = 15,
  GAME_MODE_RETURN_TO_MAIN_MENU = 21,
  GAME_MODE_MATCH_START = 22,
  GAME_MODE_KICK_OFF = 23,
  GAME_MODE_IN_MATCH_SETUP = 24,
  GAME_MODE_GOAL_KICK = 26,
  GAME_MODE_CORNER = 27,
  GAME_MODE_MATCH_END = 33,
  GAME_MODE_PERIOD_BREAK = 34,
  GAME_MODE_PERIOD_END = 35,
  GAME_MODE_RETURN_POSITIONS = 36,
  GAME_MODE_START_TRAINING = 39,
  GAME_MODE_THROW_IN = 40,
  GAME_MODE_FREE_KICK = 44,
  GAME_MODE_REPLAY = 46,
  GAME_MODE_HISTORY = 49,
  GAME_MODE_START_FRIENDLY = 50,
  GAME_MODE_HISTORY_SQUAD = 54,  // extended mode: the team sheet's squad pages in a history
  GAME_MODE_NEWS = 57,
  GAME_MODE_PENALTY = 58,  // a penalty kick in the match
  GAME_MODE_FORMATION_CHANGE = 61,  // a side's formation chosen from the substitution menu
  GAME_MODE_GOAL_CELEBRATION = 64,
  GAME_MODE_SHOOTOUT = 66,  // one kick of the penalty shoot-out
  GAME_MODE_INTERVAL = 72,  // the centre-spot wait before a kick-off
  GAME_MODE_INTRO = 73,
  GAME_MODE_KEEPER_HANDS = 80,
  GAME_MODE_LANGUAGE = 81,
  GAME_MODE_SET_PIECE_SCRIPT = 82,
  GAME_MODE_HISTORY_INTRO = 84,  // the film shown when the history mode is chosen
  GAME_MODE_CPU_SUBS = 85,
  GAME_MODE_PLAY_ON = 86,
  GAME_MODE_LAST = 88,
};

using GameModeFn = void (*)();

struct GameModeStackEntry {
  GameMode eMode;
  GameModeFn pfnInit;
  GameModeFn pfnExit;
};

constexpr int32_t GLOBAL_GAME_MODE_STACK_MAX = 16;
constexpr int32_t GLOBAL_RECENT_USERS_MAX = 4;

struct Global {
  GameMode eGameMode;
  GameMode eExtendedGameMode;
  User* poPauseUser;
  User* poMenuUser;
  User* poHomeUser;
  User* poAwayUser;
  int32_t bOneSide;  // 1 while one side has no players on the pitch (training)
  int32_t bPopRequest;
  GameModeStackEntry aStack[GLOBAL_GAME_MODE_STACK_MAX];
  int32_t iStackPointer;
  int32_t iHistoryWord;  // used by the history screens
  int32_t iDay;
  int32_t iMonth;
  int32_t iYear;
  User* apoRecentUsers[GLOBAL_RECENT_USERS_MAX];
  int32_t bHistory;
  Player* poScorer;  // the player the goal celebration follows
};

extern Global global;
extern int32_t global_bModeChanged;

GameMode global_eGetGameMode();
void global_SetGameMode(GameMode eMode);
GameMode global_eGetExtendedGameMode();
void global_SetExtendedGameMode(GameMode eMode);

void global_GameModePush(GameModeFn pfnInit, GameMode eMode, GameModeFn pfnExit);
void global_GameModePopRequest();
void global_GameModePop();
void global_GameModeTransition();
void global_ResetGameModeStack();
void global_Init();
GameMode global_eGetPrevGameMode();
GameMode global_eGetPrevGameMode2();

User* global_poGetPauseUser();
void global_SetPauseUser(User* poUser);
User* global_poGetMenuUser();
void global_SetMenuUser(User* poUser);
User* global_poGetHomeUser();
void global_SetHomeUser(User* poUser);
User* global_poGetAwayUser();
void global_SetAwayUser(User* poUser);

// The one-side word (bOneSide) as the match engine sets and reads it.
void global_SpareFlagSet(uint8_t bFlag);
uint8_t global_bSpareFlagGet();

void global_RecentUsersClear();
void global_RecentUserTouch(User* poUser);
User* global_poGetPrevUser();

// The one-time game set-up at start-up.
void game_Startup();
