// The text-menu library on its own, the pause menu over real input ports and
// the attract-mode demo's state machine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/qdx_input.h"
#include "matchflow/camera.h"
#include "matchflow/clock.h"
#include "matchflow/demo.h"
#include "matchflow/matcha.h"
#include "matchflow/menu.h"
#include "matchflow/mflow_services.h"
#include "matchflow/pausemenu.h"
#include "platform/platform.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/pause.h"
#include "shell/user.h"
#include "support/input_ports.h"

namespace {

std::vector<std::string> g_aRan;
std::int32_t g_cAgain = 0;

std::int32_t OpA(Menu*) {
  g_aRan.push_back("A");
  return 0;
}
// Asks to run again until its count is used up.
std::int32_t OpAgain(Menu*) {
  g_aRan.push_back("again");
  return g_cAgain-- > 0 ? 1 : 0;
}

class MenuLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    menu_Reset();
    g_aRan.clear();
    menu_PositionSet(255, 125);
    menu_RowHeightSet(10);
    menu_RowsSet(6);
  }
  static void Press(std::int32_t iFlag) {
    menu_FlagSet(iFlag, 1);
    menu_Step("M");
  }
  static std::string Current() {
    const Menu* pm = menu_MenuFind("M");
    return pm->poCurrentPage->poCurrent ? pm->poCurrentPage->poCurrent->szLabel : "";
  }
  static std::int32_t Index() { return menu_MenuFind("M")->poCurrentPage->iIndex; }
};

TEST_F(MenuLibrary, NamesAreUniqueAndThePoolsRefuseWhatDoesNotFit) {
  EXPECT_EQ(menu_MenuAdd("M"), 1);
  EXPECT_EQ(menu_MenuAdd("M"), 0);
  EXPECT_EQ(menu_iPoolUsedGet(0), 1);
  EXPECT_EQ(menu_MenuAdd("N"), 1);
  EXPECT_EQ(menu_MenuAdd("Third"), 0) << "a third menu";
  EXPECT_EQ(menu_MenuFind("Third"), nullptr);
  EXPECT_EQ(menu_PageAdd("nobody", "P", MENU_LAYOUT_LIST, 0), 0);
  EXPECT_EQ(menu_PageAdd("M", "P", MENU_LAYOUT_LIST, 0), 1);
  EXPECT_EQ(menu_PageAdd("M", "P", MENU_LAYOUT_LIST, 0), 0) << "a page name twice in one menu";
  for (std::int32_t i = 1; i < MENU_PAGE_MAX; i++) {
    EXPECT_EQ(menu_PageAdd("N", ("P" + std::to_string(i)).c_str(), MENU_LAYOUT_LIST, 0), 1);
  }
  EXPECT_EQ(menu_PageAdd("N", "P13", MENU_LAYOUT_LIST, 0), 0) << "a thirteenth page";
  EXPECT_EQ(menu_iPoolUsedGet(1), MENU_PAGE_MAX);
  for (std::int32_t i = 0; i < MENU_ITEM_MAX; i++) {
    EXPECT_EQ(menu_ItemAdd("M", "P", "x", 1, nullptr, nullptr, nullptr), 1);
  }
  EXPECT_EQ(menu_ItemAdd("M", "P", "x", 1, nullptr, nullptr, nullptr), 0) << "a twenty-first item";
  EXPECT_EQ(menu_PageFind("M", "P")->cItems, MENU_ITEM_MAX);
  EXPECT_EQ(menu_ItemAdd("M", "missing", "x", 1, nullptr, nullptr, nullptr), 0);
  // The reset empties all three pools.
  menu_Reset();
  EXPECT_EQ(menu_MenuFind("M"), nullptr);
  EXPECT_EQ(menu_iPoolUsedGet(0) + menu_iPoolUsedGet(1) + menu_iPoolUsedGet(2), 0);
  EXPECT_EQ(menu_MenuAdd("M"), 1);
}

TEST_F(MenuLibrary, LongNamesAreCutToTheirFields) {
  const std::string sLong(60, 'a');
  ASSERT_EQ(menu_MenuAdd(sLong.c_str()), 1);
  EXPECT_EQ(std::strlen(menu_MenuFind(sLong.c_str())->szName), 32u);
  ASSERT_EQ(menu_PageAdd(sLong.c_str(), "P", MENU_LAYOUT_LIST, 0), 1);
  ASSERT_EQ(menu_ItemAdd(sLong.c_str(), "P", sLong.c_str(), 1, sLong.c_str(), sLong.c_str(), nullptr), 1);
  const MenuItem* p = menu_PageFind(sLong.c_str(), "P")->poFirst;
  EXPECT_EQ(std::strlen(p->szLabel), 32u);
  EXPECT_EQ(std::strlen(p->szSelectPage), 30u);
  EXPECT_EQ(std::strlen(p->szBackPage), 30u);
  // A missing page name is stored as the empty text.
  ASSERT_EQ(menu_ItemAdd(sLong.c_str(), "P", "b", 1, nullptr, nullptr, nullptr), 1);
  EXPECT_STREQ(p->poNext->szSelectPage, "");
}

TEST_F(MenuLibrary, UpAndDownSkipDimmedItemsAndWrapToTheLastIndex) {
  menu_MenuAdd("M");
  menu_PageAdd("M", "P", MENU_LAYOUT_LIST, 0);
  menu_ItemAdd("M", "P", "one", 1, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "P", "two", 0, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "P", "three", 1, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "P", "four", 5, nullptr, nullptr, nullptr);
  menu_Open("M", "P");
  EXPECT_EQ(Current(), "one");
  Press(MENU_FLAG_DOWN);
  EXPECT_EQ(Current(), "three");
  EXPECT_EQ(Index(), 2);
  Press(MENU_FLAG_DOWN);
  EXPECT_EQ(Current(), "one");
  EXPECT_EQ(Index(), 0);
  Press(MENU_FLAG_UP);
  EXPECT_EQ(Current(), "three");
  EXPECT_EQ(Index(), 2) << "a backward wrap lands on the last item's index, not the count";
  menu_ItemTypeSet("M", 1, 3);
  Press(MENU_FLAG_DOWN);
  EXPECT_EQ(Current(), "four");
  EXPECT_EQ(Index(), 3);
  Press(MENU_FLAG_DOWN);
  EXPECT_EQ(Index(), 0);
  Press(MENU_FLAG_UP);
  EXPECT_EQ(Index(), 3);
  EXPECT_EQ(menu_FlagGet(MENU_FLAG_UP), 0);
  EXPECT_EQ(menu_FlagGet(MENU_FLAG_DOWN), 0);
}

TEST_F(MenuLibrary, APageWithoutAnotherSelectableItemKeepsTheCursor) {
  menu_MenuAdd("M");
  menu_PageAdd("M", "P", MENU_LAYOUT_LIST, 0);
  menu_PageAdd("M", "Q", MENU_LAYOUT_TWO_COLUMNS, 0);
  menu_ItemAdd("M", "P", "one", 1, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "P", "two", 0, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "Q", "dim", 0, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "Q", "dim too", 3, nullptr, nullptr, nullptr);
  menu_Open("M", "P");
  Press(MENU_FLAG_DOWN);
  EXPECT_EQ(Current(), "one");
  Press(MENU_FLAG_UP);
  EXPECT_EQ(Current(), "one");
  EXPECT_EQ(Index(), 0);
  // Nothing selectable at all: the search ends after one round.
  menu_Open("M", "Q");
  Press(MENU_FLAG_DOWN);
  Press(MENU_FLAG_UP);
  EXPECT_EQ(Current(), "dim");
  EXPECT_EQ(Index(), 0);
}

TEST_F(MenuLibrary, ItemTypeSetAcceptsIndexesBelowTheCountOnly) {
  menu_MenuAdd("M");
  menu_PageAdd("M", "P", MENU_LAYOUT_LIST, 0);
  menu_ItemAdd("M", "P", "one", 1, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "P", "two", 1, nullptr, nullptr, nullptr);
  menu_ItemTypeSet("M", 0, 2);
  menu_ItemTypeSet("M", 0, -1);
  const MenuPage* pmp = menu_PageFind("M", "P");
  EXPECT_EQ(pmp->poFirst->iType, 1);
  EXPECT_EQ(pmp->poLast->iType, 1);
  menu_ItemTypeSet("M", 0, 1);
  EXPECT_EQ(pmp->poLast->iType, 0);
}

TEST_F(MenuLibrary, StatesOpenSelectOperationsAndBack) {
  menu_MenuAdd("M");
  menu_PageAdd("M", "Main", MENU_LAYOUT_LIST, 0);
  menu_PageAdd("M", "Sub", MENU_LAYOUT_LIST, 0);
  menu_ItemAdd("M", "Main", "go", 1, "Sub", nullptr, nullptr);
  menu_ItemAdd("M", "Main", "run", 1, nullptr, nullptr, OpAgain);
  menu_ItemAdd("M", "Sub", "dim", 0, nullptr, "Main", nullptr);
  menu_ItemAdd("M", "Sub", "a", 1, "nowhere", "Main", OpA);
  Menu* pm = menu_MenuFind("M");
  // Closed: nothing until the open flag.
  menu_Step("M");
  EXPECT_EQ(pm->eState, MENU_STATE_CLOSED);
  Press(MENU_FLAG_OPEN);
  EXPECT_EQ(pm->eState, MENU_STATE_SHOWING);
  EXPECT_EQ(menu_FlagGet(MENU_FLAG_OPEN), 0);
  // Select on an item with a page opens it at its first item.
  Press(MENU_FLAG_SELECT);
  EXPECT_STREQ(pm->szCurrentPage, "Sub");
  EXPECT_EQ(Current(), "dim");
  Press(MENU_FLAG_DOWN);
  EXPECT_EQ(Current(), "a");
  // Select on an item with an operation runs it on the next step, once.
  Press(MENU_FLAG_SELECT);
  EXPECT_EQ(pm->eState, MENU_STATE_RUNNING);
  EXPECT_TRUE(g_aRan.empty());
  menu_Step("M");
  EXPECT_EQ(g_aRan, std::vector<std::string>{"A"});
  EXPECT_EQ(pm->eState, MENU_STATE_SHOWING);
  // Back opens the item's back page where its cursor was.
  Press(MENU_FLAG_BACK);
  EXPECT_STREQ(pm->szCurrentPage, "Main");
  EXPECT_EQ(menu_FlagGet(MENU_FLAG_BACK), 0);
  // An operation answering 1 runs again on each step.
  Press(MENU_FLAG_DOWN);
  Press(MENU_FLAG_SELECT);
  g_aRan.clear();
  g_cAgain = 2;
  for (int i = 0; i < 3; i++) menu_Step("M");
  EXPECT_EQ(g_aRan.size(), 3u);
  EXPECT_EQ(pm->eState, MENU_STATE_SHOWING);
  // Closing goes back to the first page's first item.
  menu_Close("M");
  EXPECT_EQ(pm->eState, MENU_STATE_CLOSED);
  EXPECT_STREQ(pm->szCurrentPage, "Main");
  EXPECT_EQ(Current(), "go");
  EXPECT_EQ(Index(), 0);
}

TEST_F(MenuLibrary, ListAndTwoColumnPagesArePlacedAndColoured) {
  menu_MenuAdd("M");
  menu_PageAdd("M", "L", MENU_LAYOUT_LIST, 0);
  menu_PageAdd("M", "T", MENU_LAYOUT_TWO_COLUMNS, 0);
  for (const char* psz : {"a", "b", "c"}) menu_ItemAdd("M", "L", psz, 1, nullptr, nullptr, nullptr);
  menu_ItemTypeSet("M", 0, 2);
  MenuItemPlace ao[MENU_ITEM_MAX];
  ASSERT_EQ(menu_PageLayout(menu_PageFind("M", "L"), ao, MENU_ITEM_MAX), 3);
  EXPECT_EQ(ao[0].x, 330);
  EXPECT_EQ(ao[0].y, 125);
  EXPECT_EQ(ao[2].y, 145);
  EXPECT_EQ((std::vector<int>{ao[0].r, ao[0].g, ao[0].b}), (std::vector<int>{200, 200, 0}));
  EXPECT_EQ((std::vector<int>{ao[1].r, ao[1].g, ao[1].b}), (std::vector<int>{200, 200, 200}));
  EXPECT_EQ((std::vector<int>{ao[2].r, ao[2].g, ao[2].b}), (std::vector<int>{90, 90, 90}));
  // Two columns: five rows split three and two, the second 23 rows further right.
  for (const char* psz : {"1", "2", "3", "4", "5"}) menu_ItemAdd("M", "T", psz, 1, nullptr, nullptr, nullptr);
  ASSERT_EQ(menu_PageLayout(menu_PageFind("M", "T"), ao, MENU_ITEM_MAX), 5);
  EXPECT_EQ(ao[2].x, 330);
  EXPECT_EQ(ao[2].y, 145);
  EXPECT_EQ(ao[3].x, 330 + 230);
  EXPECT_EQ(ao[3].y, 125);
  EXPECT_EQ(ao[4].y, 135);
  // With only three rows visible a list still shows three, from the first item.
  menu_RowsSet(2);
  EXPECT_EQ(menu_PageLayout(menu_PageFind("M", "L"), ao, MENU_ITEM_MAX), 2);
}

TEST_F(MenuLibrary, AColumnMarkerStartsTheSecondColumnAndIsNotCountedAsARow) {
  menu_MenuAdd("M");
  menu_PageAdd("M", "T", MENU_LAYOUT_TWO_COLUMNS, 0);
  menu_ItemAdd("M", "T", "Home", MENU_ITEM_COLUMN_A, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "T", "h1", 1, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "T", "Away", MENU_ITEM_COLUMN_B, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "T", "a1", 1, nullptr, nullptr, nullptr);
  menu_ItemAdd("M", "T", "a2", 1, nullptr, nullptr, nullptr);
  menu_Open("M", "T");
  MenuItemPlace ao[MENU_ITEM_MAX];
  ASSERT_EQ(menu_PageLayout(menu_PageFind("M", "T"), ao, MENU_ITEM_MAX), 5);
  EXPECT_EQ(ao[1].x, 330);
  EXPECT_EQ(ao[2].x, 560) << "the marker restarts the column";
  EXPECT_EQ(ao[2].y, 125);
  EXPECT_EQ(ao[4].y, 145);
  EXPECT_EQ((std::vector<int>{ao[2].r, ao[2].g, ao[2].b}), (std::vector<int>{200, 200, 200}));
  // The first item was current when added; move off it to see its marker colour.
  menu_FlagSet(MENU_FLAG_DOWN, 1);
  menu_Step("M");
  menu_PageLayout(menu_PageFind("M", "T"), ao, MENU_ITEM_MAX);
  EXPECT_EQ((std::vector<int>{ao[0].r, ao[0].g, ao[0].b}), (std::vector<int>{127, 0, 127}));
  EXPECT_EQ(menu_MenuFind("M")->poCurrentPage->poCurrent->szLabel, std::string("h1"));
}

// ---- The pause menu over a real port -----------------------------------------------------

void NoResume() {}

// Suites that queue events on real input ports.
class WithPorts : public ::testing::Test {
 protected:
  // Enters a mode the way the stack does.
  static void ModeSet(GameMode e) {
    global_ResetGameModeStack();
    global_GameModePush(nullptr, e, nullptr);
    global_GameModeTransition();
  }
  static void Queue(User* pu, std::int32_t e) {
    InputEvent* pEvent = nullptr;
    ASSERT_TRUE(input_bEventAlloc(&pEvent));
    pEvent->eEvent = e;
    pEvent->pWidget = nullptr;
    queue_Append(&pu->pip->oEvents, &pEvent->oLink);
  }
  static void SetUpTestSuite() { korvena_test::InputPortsUp(); }
};

class PauseMenu : public WithPorts {
 protected:
  void SetUp() override {
    global_Init();
    global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
    pause_FlagClear();
    demo_Stop();
    pausemenu_Build();
    for (User& u : user_aUsers) u = User{};
    pusr = &user_aUsers[0];
    pusr->pip = input_poGetPort(0);
    pusr->bActive = 1;
    pusr->MyTeam = 1;
    input_EventQueueFlush(&pusr->pip->oEvents);
    pusr->pip->bInUse = 1;
    pusr->pip->bEventsEnabled = 1;
    input_PortBindingSet(9, pusr->pip);
    input_PortBindingSave(pusr->pip);
  }
  void TearDown() override { input_EventQueueFlush(&pusr->pip->oEvents); }
  void Events(std::vector<std::int32_t> ae) {
    for (std::int32_t e : ae) Queue(pusr, e);
    pausemenu_UserInput(pusr);
    menu_Step(PAUSEMENU_NAME);
    global_GameModeTransition();
  }
  static const MenuItem* CameraItem() { return menu_PageFind(PAUSEMENU_NAME, "Game Paused")->poFirst->poNext->poNext; }
  static std::string CurrentLabel() {
    return menu_MenuFind(PAUSEMENU_NAME)->poCurrentPage->poCurrent->szLabel;
  }
  User* pusr = nullptr;
};

TEST_F(PauseMenu, IsBuiltWithThreePagesAndElevenItems) {
  EXPECT_EQ(menu_iPoolUsedGet(0), 1);
  EXPECT_EQ(menu_iPoolUsedGet(1), 3);
  EXPECT_EQ(menu_iPoolUsedGet(2), 11);
  std::vector<std::string> a;
  for (const MenuItem* p = menu_PageFind(PAUSEMENU_NAME, "Game Paused")->poFirst; p; p = p->poNext) a.push_back(p->szLabel);
  EXPECT_EQ(a, (std::vector<std::string>{"Resume Match", "Action Replay", "Camera", "Quit Match"}));
  global_SetExtendedGameMode(GAME_MODE_HISTORY);
  pausemenu_Build();
  EXPECT_NE(menu_PageFind(PAUSEMENU_NAME, "Quit History"), nullptr);
  EXPECT_EQ(menu_PageFind(PAUSEMENU_NAME, "Quit Match"), nullptr);
}

TEST_F(PauseMenu, OpensOnlyForAUserWithASideAndPausesTheMatch) {
  ModeSet(GAME_MODE_PLAY);
  pusr->MyTeam = 0;
  pausemenu_Open(pusr, NoResume);
  global_GameModeTransition();
  EXPECT_EQ(global.eGameMode, GAME_MODE_PLAY);
  EXPECT_EQ(pause_bIsPaused(), 0);
  pusr->MyTeam = 2;
  demo_Start();
  input_PortBindingSet(4, pusr->pip);
  pausemenu_Open(pusr, NoResume);
  global_GameModeTransition();
  EXPECT_EQ(global.eGameMode, GAME_MODE_PAUSE_MENU);
  EXPECT_EQ(global_poGetPauseUser(), pusr);
  EXPECT_EQ(pause_bIsPaused(), 1);
  EXPECT_EQ(demo_bIsRunning(), 0) << "a running demo is stopped";
  EXPECT_EQ(pusr->pip->eBinding, 8) << "the enter gives the menu's binding";
  EXPECT_EQ(menu_MenuFind(PAUSEMENU_NAME)->eState, MENU_STATE_SHOWING);
  EXPECT_EQ(CameraItem()->iType, MENU_ITEM_SELECTABLE);
}

TEST_F(PauseMenu, CameraIsDimmedWhenPausedFromARestart) {
  ModeSet(GAME_MODE_THROW_IN);
  pausemenu_Open(pusr, NoResume);
  global_GameModeTransition();
  ASSERT_EQ(global.eGameMode, GAME_MODE_PAUSE_MENU);
  EXPECT_EQ(CameraItem()->iType, MENU_ITEM_DIMMED);
  // Down from "Action Replay" jumps over it to "Quit Match".
  Events({9});
  EXPECT_EQ(CurrentLabel(), "Action Replay");
  Events({9});
  EXPECT_EQ(CurrentLabel(), "Quit Match");
  Events({8});
  EXPECT_EQ(CurrentLabel(), "Action Replay");
}

std::int32_t g_cResumed = 0;
void CountResume() { ++g_cResumed; }

TEST_F(PauseMenu, StartResumesAndQuitYesLeavesTheMatch) {
  ModeSet(GAME_MODE_PLAY);
  g_cResumed = 0;
  pausemenu_Open(pusr, CountResume);
  global_GameModeTransition();
  ASSERT_EQ(global.eGameMode, GAME_MODE_PAUSE_MENU);
  Events({5});
  EXPECT_EQ(global.eGameMode, GAME_MODE_PLAY);
  EXPECT_EQ(g_cResumed, 1);
  EXPECT_EQ(pause_bIsPaused(), 0);
  EXPECT_EQ(menu_MenuFind(PAUSEMENU_NAME)->eState, MENU_STATE_CLOSED);
  EXPECT_EQ(pusr->pip->pipbInputPortBinding, input_apipbInputBindings[9])
      << "the port's selected binding is active again";

  // "Resume Match" through the menu does the same.
  pausemenu_Open(pusr, CountResume);
  global_GameModeTransition();
  Events({6});
  Events({});
  EXPECT_EQ(global.eGameMode, GAME_MODE_PLAY);
  EXPECT_EQ(g_cResumed, 2);

  // Quit Match, then No goes back, then Yes leaves.
  pausemenu_Open(pusr, CountResume);
  global_GameModeTransition();
  Events({9, 9});  // one move a tick
  EXPECT_EQ(CurrentLabel(), "Action Replay");
  Events({9});
  Events({9});
  ASSERT_EQ(CurrentLabel(), "Quit Match");
  Events({6});
  EXPECT_STREQ(menu_MenuFind(PAUSEMENU_NAME)->szCurrentPage, "Quit Match");
  EXPECT_EQ(CurrentLabel(), "No");
  Events({6});
  EXPECT_STREQ(menu_MenuFind(PAUSEMENU_NAME)->szCurrentPage, "Game Paused");
  EXPECT_EQ(CurrentLabel(), "Resume Match");
  for (int i = 0; i < 3; i++) Events({9});
  Events({6});
  Events({9});
  EXPECT_EQ(CurrentLabel(), "Yes");
  EXPECT_EQ(pausemenu_bQuitGet(), 0);
  Events({6});
  Events({});
  EXPECT_EQ(pausemenu_bQuitGet(), 1);
  EXPECT_EQ(global.eGameMode, GAME_MODE_MATCH_END);
}

TEST_F(PauseMenu, TheCameraPageChangesTheDistanceFromOpenPlay) {
  camera_TypesRegister();
  camera_Init();
  camera_Push(1);
  ModeSet(GAME_MODE_PLAY);
  pausemenu_Open(pusr, NoResume);
  global_GameModeTransition();
  Events({9});
  Events({9});
  ASSERT_EQ(CurrentLabel(), "Camera");
  Events({6});
  EXPECT_STREQ(menu_MenuFind(PAUSEMENU_NAME)->szCurrentPage, "Camera");
  const std::int32_t aiIds[] = {15, 3, 1, 2, 18};
  for (std::int32_t i = 0; i < 5; i++) {
    if (i > 0) Events({9});
    Events({6});
    Events({});
    EXPECT_EQ(camera_iCurrentGet(), aiIds[i]) << CurrentLabel();
    EXPECT_STREQ(menu_MenuFind(PAUSEMENU_NAME)->szCurrentPage, "Camera");
  }
  Events({7});
  EXPECT_STREQ(menu_MenuFind(PAUSEMENU_NAME)->szCurrentPage, "Game Paused");
  EXPECT_EQ(global.eGameMode, GAME_MODE_PAUSE_MENU);
}

TEST_F(PauseMenu, OnlyThePauseUsersEventsCount) {
  ModeSet(GAME_MODE_PLAY);
  pausemenu_Open(pusr, NoResume);
  global_GameModeTransition();
  User* poOther = &user_aUsers[1];
  poOther->pip = input_poGetPort(1);
  poOther->bActive = 1;
  poOther->MyTeam = 2;
  Queue(poOther, 5);
  // The mode's input step: the other user's Start is flushed, not obeyed.
  for (User& u : user_aUsers) {
    if (!u.bActive || u.pip == nullptr) continue;
    if (&u == global_poGetPauseUser()) pausemenu_UserInput(&u);
    else input_EventQueueFlush(&u.pip->oEvents);
  }
  global_GameModeTransition();
  EXPECT_EQ(global.eGameMode, GAME_MODE_PAUSE_MENU);
  EXPECT_EQ(queue_RemoveHead(&poOther->pip->oEvents), nullptr);
  poOther->bActive = 0;
}

// Quit Match, Yes: the match ends at the tick's end with nothing paused,
// though the menu is still on the stack under the match end.
TEST_F(PauseMenu, QuitYesLeavesNothingPaused) {
  // One tick of the menu, ended as the match tick ends it.
  auto Tick = [this](std::vector<std::int32_t> ae) {
    for (std::int32_t e : ae) Queue(pusr, e);
    pausemenu_UserInput(pusr);
    menu_Step(PAUSEMENU_NAME);
    pausemenu_Settle();
    global_GameModeTransition();
  };
  ModeSet(GAME_MODE_PLAY);
  pausemenu_Open(pusr, NoResume);
  pausemenu_Settle();
  global_GameModeTransition();
  ASSERT_EQ(pause_bIsPaused(), 1);
  for (int i = 0; i < 3; i++) Tick({9});
  Tick({6});
  Tick({9});
  ASSERT_EQ(CurrentLabel(), "Yes");
  Tick({6});
  Tick({});
  ASSERT_EQ(pausemenu_bQuitGet(), 1);
  ASSERT_EQ(global.eGameMode, GAME_MODE_MATCH_END);
  EXPECT_EQ(pause_bIsPaused(), 0);
}

// The game-mode stack emptied under the menu (a new match set up over it):
// the tick's end leaves nothing paused.
TEST_F(PauseMenu, ATickEndingWithoutThePauseMenuOnTheStackEndsThePause) {
  ModeSet(GAME_MODE_PLAY);
  pausemenu_Open(pusr, NoResume);
  global_GameModeTransition();
  ASSERT_EQ(pause_bIsPaused(), 1);
  global_ResetGameModeStack();
  global_GameModePush(nullptr, GAME_MODE_MATCH_START, nullptr);
  pausemenu_Settle();
  global_GameModeTransition();
  EXPECT_EQ(global.eGameMode, GAME_MODE_MATCH_START);
  EXPECT_EQ(pause_bIsPaused(), 0);
}

std::int32_t g_cEntered = 0;
void CountEnter() { ++g_cEntered; }

// Start on the tick the current mode ends is dropped: the mode below is
// entered once, on that tick, as without the Start (not again on the next).
TEST_F(PauseMenu, StartOnTheTickItsModeEndsIsDroppedAndTheModeBelowIsEnteredOnce) {
  global_ResetGameModeStack();
  global_GameModePush(CountEnter, GAME_MODE_PLAY, nullptr);
  global_GameModePush(nullptr, GAME_MODE_RETURN_POSITIONS, nullptr);
  global_GameModeTransition();
  global_SetPauseUser(nullptr);
  g_cEntered = 0;
  global_GameModePopRequest();
  pausemenu_Open(pusr, NoResume);
  pausemenu_Settle();
  global_GameModeTransition();
  EXPECT_EQ(global.eGameMode, GAME_MODE_PLAY);
  EXPECT_EQ(g_cEntered, 1);
  pausemenu_Settle();
  global_GameModeTransition();
  EXPECT_EQ(g_cEntered, 1) << "entered again on the next tick";
  EXPECT_EQ(pause_bIsPaused(), 0);
  EXPECT_EQ(global_poGetPauseUser(), nullptr);
}

// ---- The attract-mode demo ---------------------------------------------------------------

class Demo : public WithPorts {
 protected:
  void SetUp() override {
    global_Init();
    ModeSet(GAME_MODE_PLAY);
    for (User& u : user_aUsers) u = User{};
    match.HomeGoals = match.AwayGoals = 0;
    clock_Init();
    demo_Start();
  }
  // Puts the match clock just before or at the start of minute 5.
  static void ClockAtMinute5(bool bReached) {
    clock_oClock.iClock = DEMO_LAST_MINUTE * CLOCK_UNITS_PER_MINUTE - (bReached ? 0 : 1);
    ASSERT_EQ(clock_MinuteGet(), bReached ? 5 : 4);
  }
  static GameMode Top() {
    global_GameModeTransition();
    return global.eGameMode;
  }
};

TEST_F(Demo, WithoutAGoalItLeavesTwelveTicksAfterMinuteFive) {
  ClockAtMinute5(false);
  demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_RUNNING);
  ClockAtMinute5(true);
  demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_COUNTDOWN);
  for (int i = 0; i < 10; i++) {
    demo_Update();
    EXPECT_EQ(demo_oMachine.eState, DEMO_COUNTDOWN) << i;
  }
  demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_LEAVE) << "eleven ticks after the countdown began";
  EXPECT_EQ(Top(), GAME_MODE_PLAY);
  demo_Update();
  EXPECT_EQ(Top(), GAME_MODE_MATCH_END) << "the leave request on the tick after";
  const std::int32_t sp = global.iStackPointer;
  demo_Update();
  EXPECT_EQ(global.iStackPointer, sp) << "the repeated push is ignored";
}

TEST_F(Demo, AGoalWaitsForTheKickOffAndALateGoalCountsDownShort) {
  match.HomeGoals = 1;
  demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_GOAL_SCORED);
  EXPECT_EQ(demo_oMachine.iCountdown, DEMO_COUNTDOWN_GOAL);
  for (int i = 0; i < 50; i++) demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_GOAL_SCORED);
  global_GameModePush(nullptr, GAME_MODE_KICK_OFF, nullptr);
  global_GameModeTransition();
  demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_LEAVE);
  ModeSet(GAME_MODE_PLAY);
  demo_Start();
  ClockAtMinute5(true);
  demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_COUNTDOWN);
  EXPECT_EQ(demo_oMachine.iCountdown, DEMO_COUNTDOWN_MINUTE);
}

TEST_F(Demo, StopRequestsAndTheQuitEvent) {
  demo_Stop();
  demo_StopRequest();
  EXPECT_EQ(demo_oMachine.eState, DEMO_OFF) << "only a running demo takes the request";
  EXPECT_EQ(demo_bIsRunning(), 0);
  demo_Update();
  EXPECT_EQ(global.iStackPointer, 1);
  demo_Start();
  demo_StopRequest();
  EXPECT_EQ(demo_oMachine.eState, DEMO_STOP_REQUESTED);
  demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_LEAVE);
  // Event 158 from any active user, here the second.
  demo_Start();
  User& u = user_aUsers[1];
  u.bActive = 1;
  u.pip = input_poGetPort(1);
  Queue(&u, 158);
  demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_LEAVE);
  EXPECT_EQ(queue_RemoveHead(&u.pip->oEvents), nullptr);
  demo_Update();
  EXPECT_EQ(Top(), GAME_MODE_MATCH_END);
  u = User{};
}

TEST_F(Demo, TheQuitKeysWorkThroughTheKickOffAndTheRestarts) {
  // The kick-off gives a player without a side the empty binding; the demo
  // hands its own back on its next tick, so his keys still make event 158.
  User& u = user_aUsers[2];
  u.bActive = 1;
  u.pip = input_poGetPort(2);
  input_PortBindingSet(16, u.pip);
  demo_Update();
  EXPECT_EQ(u.pip->eBinding, DEMO_BINDING);
  EXPECT_EQ(u.pip->pipbInputPortBinding, input_apipbInputBindings[DEMO_BINDING]);
  EXPECT_EQ(demo_oMachine.eState, DEMO_RUNNING);
  // The kick-off and the centre-spot wait empty the queues themselves, before
  // the demo's tick: the quit event they take still ends the demo.
  Queue(&u, 158);
  std::int32_t iSeen = 0;
  mflow_UserEventsEach([&iSeen](User*, std::int32_t iEvent) { iSeen = iEvent; });
  EXPECT_EQ(iSeen, 158);
  EXPECT_EQ(demo_oMachine.eState, DEMO_STOP_REQUESTED);
  demo_Update();
  EXPECT_EQ(demo_oMachine.eState, DEMO_LEAVE);
  // So does a set piece's staging, which drops every other press.
  demo_Start();
  Queue(&u, 158);
  EXPECT_FALSE(pausemenu_StagingInput());
  EXPECT_EQ(queue_RemoveHead(&u.pip->oEvents), nullptr);
  EXPECT_EQ(demo_oMachine.eState, DEMO_STOP_REQUESTED);
  // Outside a demo the event changes nothing.
  demo_Stop();
  Queue(&u, 158);
  mflow_UserEventsEach([](User*, std::int32_t) {});
  EXPECT_EQ(demo_oMachine.eState, DEMO_OFF);
  u = User{};
}

TEST_F(Demo, TheTextShowsOnNineteenOfEveryThirtyTwoTicks) {
  std::int32_t c = 0;
  for (std::uint32_t u = 1; u <= 320; u++) c += demo_bTextShows(u);
  EXPECT_EQ(c, 190);
  EXPECT_EQ(demo_bTextShows(12), 0);
  EXPECT_EQ(demo_bTextShows(13), 1);
  EXPECT_EQ(demo_bTextShows(31), 1);
  EXPECT_EQ(demo_bTextShows(32), 0);
  for (int i = 0; i < 5; i++) demo_Update();
  EXPECT_EQ(demo_oMachine.uBlink, 5u);
}

}  // namespace
