#pragma once
// Substitutions: the request a side makes with Select, the substitution menu
// (mode 67), the bench (mode 59), the queue of substitutions, the spare
// player record that walks the substitute on, and the change carried out by
// the substitution script.
#include <cstdint>

#include "engine/player.h"

struct DBPlayer;
struct MatchTeam;
struct User;

constexpr std::int32_t SUBS_QUEUE_MAX = 5;
constexpr std::int32_t SUBS_MENU_ITEMS = 3;  // Resume Match, Substitution, Formation
// Where the substitute starts his walk on.
constexpr std::int32_t SUBS_WALK_ON_X = -288;
constexpr std::int32_t SUBS_WALK_ON_Y = -5904;
// The spare's ids while staged: home outfield, home keeper, away outfield,
// away keeper.
constexpr std::int32_t SUBS_SPARE_ID_FIRST = 22;

struct SubsEntry {
  Player* poOut;    // the outgoing player's record; null for an empty entry
  DBPlayer* poIn;   // the incoming database player
  std::int32_t bDone;
};

struct SubsBench {
  MatchTeam* poTeam;
  DBPlayer* poPitchCursor;  // null while the cursor is in the bench column
  DBPlayer* poBenchCursor;
  std::int32_t iRow;
  std::int32_t iDepth;      // 0, 1, 2
  DBPlayer* poFirst;
  DBPlayer* poSecond;
  std::int32_t bDetails;
};

struct SubsState {
  SubsEntry aQueue[SUBS_QUEUE_MAX];
  std::int32_t cPending;
  Player oSpare;
  std::int32_t bSpareStaged;
  std::int32_t iSpareStagedId;     // 22..25 while being set up
  std::int32_t iOutX, iOutY;       // where the outgoing player stood
  std::int32_t iMenuCursor;
  User* poMenuUser;
  SubsBench oBench;
  MatchTeam* poLastBenchTeam;
};
extern SubsState subs_oState;

// Clears the queue, the spare and the screens' state (every match start).
void subs_Reset();
// Either side asked for a substitution.
std::int32_t subs_bIsPending();
void subs_RequestToggle(User* pusr);

// Pairs two database players of a side: two on the pitch swap places; one
// on the pitch with a suspended bench player takes that player's role; one
// on the pitch with a free bench player is a substitution and is queued.
// Returns 1 when a substitution was queued.
std::int32_t subs_Queue(MatchTeam* poTeam, DBPlayer* poFirst, DBPlayer* poSecond);
std::int32_t subs_QueuedCount();
// Appends an entry to the queue; 0 when it is full.
std::int32_t subs_QueueAdd(Player* poOut, DBPlayer* poIn);
// Substitutions the side may still make: what is left of its three, at most
// its bench players neither substituted nor suspended.
std::int32_t subs_AvailableCount(const MatchTeam* poTeam);
Player* subs_PendingPlayerGet();
Player* subs_SparePlayerGet();
// Sets the spare up for the first queued substitution and appends him to
// his side's chain; nothing when he is already staged or nothing is queued.
// The players the set-piece actions leave alone while a substitute walks
// on: the outgoing player (0) and the spare (1); none otherwise.
Player* setp_poSubstituteGet(std::int32_t i);
void subs_WalkOnStage();
// The script's substitution step: the outgoing player's record becomes the
// substitute, the spare leaves the chain, the entry is done.
void subs_Apply(Player* poSpare, Player* poPlayer);
// Pushes the substitution script when substitutions are queued.
void subs_ScriptPush();
void subs_ScriptStart();
void subs_ScriptCheck();

// Mode 67.
void subs_Mode67Enter();
void subs_Mode67Check();
void subs_Mode67Update();
void subs_MenuEvent(std::int32_t iEvent);
void subs_MenuInput();
void subs_MenuDraw();
// Mode 59.
void subs_BenchEnter();
void subs_Update();
void subs_BenchEvent(std::int32_t iEvent);
void subs_BenchInput();
void subs_BenchDraw();
void subs_BenchFinish();
// Mode 62 is never pushed: it keeps its mode.
void subs_Mode62Update();

// Drains the port of every active user; events of the leading user go to
// the handler, the others are dropped.
void subs_EventsDrain(const User* poLeader, void (*pfnEvent)(std::int32_t));

// The substitution menu, the bench and the formation change are laid out on
// the match's 2D overlay (640 x 240 units): these place and draw in its units.
std::int32_t subs_X(std::int32_t x);
std::int32_t subs_Y(std::int32_t y);
// A box on a layer (text is drawn on layer 1; higher layers lie beneath it).
void subs_PanelFill(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t iLayer);
void subs_TextLeft(const char* psz, std::int32_t x, std::int32_t y);    // with its shadow
void subs_TextCentred(const char* psz, std::int32_t x, std::int32_t y);
