// The main menu: the grid, the hand-over of every choice, the exit
// confirmation and the attract-mode watch.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "frontend/demowatch.h"
#include "frontend/frontend_services.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pcgame.h"
#include "frontend/screen_tools.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pcmain_states.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "platform/input_headless.h"

namespace {

void Push(int port, int code) { FrontEndPushTo(input_poGetPort(port), code); }

void Place(int column, int row) {
  pcgame_iColumn = column;
  pcgame_iRow = row;
  pcgame_CursorMove(0);
}

class MainMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    mlang_iLanguage = 0;
    vsync_Init();
    pcgame_bEnteredOnce = 0;
    pcgame_MainMenuReset();
    global_SetGameMode(GAME_MODE_MAIN_MENU);
    global_GameModeTransition();
    pcframe_Begin();
    pcgame_MainMenuRun();
    pcmain_bQuit = 0;
  }
  void TearDown() override {
    pcmain_bQuit = 0;
    demo_IdleWatchStop();
    pcframe_Begin();
  }
};

TEST_F(MainMenu, EntryLaysOutTheLanguagesRegions) {
  EXPECT_EQ(pcgame_bNeedsEnter, 0);
  EXPECT_EQ(mregion_cCount, 8);
  EXPECT_EQ(pcfe_SheetGet(), 1);
  const char* names[8] = {"main", "exit", "friendly", "qstart", "options", "history", "training", "restore"};
  const int x[8] = {0, 547, 60, 238, 238, 60, 416, 416}, y[8] = {0, 417, 83, 83, 266, 266, 83, 266};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(mregion_FindByName(names[i]), i);
    EXPECT_EQ(mregion_XGet(i), x[i]);
    EXPECT_EQ(mregion_YGet(i), y[i]);
    EXPECT_EQ(mregion_PriorityGet(i), 255 - i);
    EXPECT_EQ(mregion_aoTable[i].iSprite, i);
  }
  // Every language's table holds the same names with sprites 0 to 7 of its sheet.
  for (int lang = 0; lang < 6; ++lang)
    for (int i = 0; i < 8; ++i) EXPECT_STREQ(pcgame_aaoLayouts[lang][i].szName, names[i]);
  mlang_iLanguage = 2;
  pcgame_MainMenuEnter();
  EXPECT_EQ(pcfe_SheetGet(), 3);
  EXPECT_EQ(mregion_aoTable[7].iSheet, 3);
  EXPECT_EQ(mregion_YGet(7), 267);  // the German artwork's "restore" sits a unit lower
  // A language outside 0 to 5 gets the English menu.
  mlang_iLanguage = 9;
  pcgame_MainMenuEnter();
  EXPECT_EQ(pcfe_SheetGet(), 1);
  EXPECT_EQ(mregion_cCount, 8);
  mlang_iLanguage = 0;
}

TEST_F(MainMenu, GridNavigation) {
  EXPECT_EQ(pcgame_iChoice, PCGAME_FRIENDLY);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_DOWN), PCGAME_HISTORY);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_DOWN), PCGAME_EXIT);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_DOWN), PCGAME_EXIT);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_RIGHT), PCGAME_EXIT);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_RIGHT), PCGAME_EXIT);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_RIGHT), PCGAME_EXIT);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_UP), PCGAME_RESTORE);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_UP), PCGAME_TRAINING);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_UP), PCGAME_TRAINING);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_LEFT), PCGAME_QUICK_START);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_DOWN), PCGAME_OPTIONS);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_LEFT), PCGAME_HISTORY);
  EXPECT_EQ(pcgame_CursorMove(PCGAME_LEFT), PCGAME_HISTORY);
  // Through the events of a port, and the cursor survives a later entry.
  Push(0, 11);
  Push(0, 8);
  EXPECT_EQ(pcgame_MainMenuInput(0), GAME_MODE_MAIN_MENU);
  EXPECT_EQ(pcgame_iChoice, PCGAME_QUICK_START);
  pcgame_MainMenuEnter();
  EXPECT_EQ(pcgame_iChoice, PCGAME_QUICK_START);
}

TEST_F(MainMenu, EveryChoiceHandsOverWithItsKindOfGame) {
  struct Case {
    int column, row, extended, next;
  } cases[] = {{0, 0, 50, 11}, {2, 0, 39, 11}, {0, 1, 49, 84}, {1, 1, 12, 41}, {2, 1, 12, 43}, {1, 0, 14, 11}};
  for (const Case& c : cases) {
    global_SetExtendedGameMode(GAME_MODE_NONE);
    global_SetMenuUser(nullptr);
    input_poGetPort(0)->iMark = 0;
    Place(c.column, c.row);
    Push(0, 37);
    EXPECT_EQ(pcgame_MainMenuInput(0), c.next) << c.column << "," << c.row;
    EXPECT_EQ(global_eGetExtendedGameMode(), c.extended) << c.column << "," << c.row;
    // History and quick start mark the active users' ports; history and
    // restore make the taken user the menu user.
    EXPECT_EQ(input_poGetPort(0)->iMark, c.extended == 49 || c.extended == 14 ? 1 : 0) << c.extended;
    EXPECT_EQ(global_poGetMenuUser(), c.next == 84 || c.next == 43 ? &user_aUsers[0] : nullptr) << c.next;
    EXPECT_EQ(user_aUsers[0].pip, input_poGetPort(0));
    EXPECT_EQ(user_aUsers[0].bActive, 1);
    EXPECT_EQ(input_poGetPort(0)->bInUse, 1);
  }
  // Confirm (56) acts like select; the history and load choices make the
  // taken user the menu user.
  Place(2, 1);
  global_SetMenuUser(nullptr);
  Push(0, 56);
  EXPECT_EQ(pcgame_MainMenuInput(0), 43);
  EXPECT_EQ(global_poGetMenuUser(), &user_aUsers[0]);
  // Run hands over: the game mode is set and the screen enters afresh.
  Place(1, 1);
  Push(0, 37);
  pcframe_Begin();
  pcgame_MainMenuRun();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 41);
  EXPECT_EQ(pcgame_bNeedsEnter, 1);
}

TEST_F(MainMenu, ExitAsksFirstAndYesEndsTheProgram) {
  Place(0, 2);
  Push(0, 37);
  EXPECT_EQ(pcgame_MainMenuInput(0), GAME_MODE_MAIN_MENU);
  EXPECT_EQ(pcgame_bConfirmOpen, 1);
  EXPECT_EQ(pcgame_bConfirmYes, 0);
  // The panel: question, yes and no as text items.
  pcframe_Begin();
  pcgame_MainMenuDraw(pcgame_iChoice);
  int texts = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext) texts += i->uKind == PCFRAME_KIND_TEXT;
  EXPECT_EQ(texts, 6);  // three texts, each with its shadow
  // Each text in place and colour, centred, over its black copy one unit
  // right and down; the chosen answer yellow, the other grey.
  auto panel = [] {
    std::string s;
    for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
      for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
        if (i->uKind == PCFRAME_KIND_TEXT)
          s += std::string(i->pszText) + "@" + std::to_string(i->aiCoord[0]) + "," + std::to_string(i->aiCoord[1]) +
               "/" + std::to_string(i->aiCoord[3]) + "=" + std::to_string(i->aRed[0]) + "." +
               std::to_string(i->aGreen[0]) + "." + std::to_string(i->aBlue[0]) + " ";
    return s;
  };
  auto expected = [](bool yes) {
    const std::string yesColour = yes ? "200.200.0" : "200.200.200", noColour = yes ? "200.200.200" : "200.200.0";
    return std::multiset<std::string>{"Confirm Exit?@320,164/2=200.200.200", "Confirm Exit?@321,165/2=0.0.0",
                                      "Yes@270,220/2=" + yesColour,         "Yes@271,221/2=0.0.0",
                                      "No@370,220/2=" + noColour,           "No@371,221/2=0.0.0"};
  };
  auto words = [](const std::string& s) {
    std::multiset<std::string> m;
    std::string w;
    for (char c : s) {
      if (c == ' ' && !w.empty() && w.find('@') != std::string::npos) {
        m.insert(w);
        w.clear();
      } else {
        w += c;
      }
    }
    return m;
  };
  EXPECT_EQ(words(panel()), expected(false));
  Push(0, 10);
  EXPECT_EQ(pcgame_MainMenuInput(0), GAME_MODE_MAIN_MENU);
  pcframe_Begin();
  pcgame_MainMenuDraw(pcgame_iChoice);
  EXPECT_EQ(words(panel()), expected(true));
  Push(0, 11);
  EXPECT_EQ(pcgame_MainMenuInput(0), GAME_MODE_MAIN_MENU);
  // Select with "No" chosen closes the panel and the menu stays.
  Push(0, 37);
  EXPECT_EQ(pcgame_MainMenuInput(0), GAME_MODE_MAIN_MENU);
  EXPECT_EQ(pcgame_bConfirmOpen, 0);
  EXPECT_EQ(pcmain_bQuit, 0);
  // Left chooses yes, right no again; cursor moves are not taken while open.
  Push(0, 37);
  Push(0, 10);
  Push(0, 11);
  Push(0, 8);
  EXPECT_EQ(pcgame_MainMenuInput(0), GAME_MODE_MAIN_MENU);
  EXPECT_EQ(pcgame_bConfirmYes, 0);
  EXPECT_EQ(pcgame_iChoice, PCGAME_EXIT);
  Push(0, 10);
  Push(0, 37);
  pcgame_MainMenuInput(0);
  EXPECT_EQ(pcmain_bQuit, 1);
}

TEST_F(MainMenu, IdleFramesStartTheAttractModeInTurn) {
  for (int i = 0; i < DEMO_IDLE_FRAMES - 1; ++i) vsync_TasksRun();
  EXPECT_EQ(demo_bStartRequested(), 0);
  Push(0, 9);  // input resets the count
  pcgame_MainMenuInput(0);
  for (int i = 0; i < DEMO_IDLE_FRAMES - 1; ++i) vsync_TasksRun();
  EXPECT_EQ(demo_bStartRequested(), 0);
  vsync_TasksRun();
  EXPECT_EQ(demo_bStartRequested(), 1);
  pcframe_Begin();
  pcgame_MainMenuRun();
  global_GameModeTransition();
  const int first = global_eGetGameMode();
  EXPECT_TRUE(first == 15 || first == 83);
  global_SetGameMode(GAME_MODE_MAIN_MENU);
  global_GameModeTransition();
  pcgame_MainMenuRun();  // enters afresh: the watch starts again
  EXPECT_EQ(demo_bStartRequested(), 0);
  for (int i = 0; i < DEMO_IDLE_FRAMES; ++i) vsync_TasksRun();
  pcgame_MainMenuRun();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), first == 15 ? 83 : 15);
}

TEST_F(MainMenu, TheLaterPortsChoiceWinsAndAPortThatStaysCancelsNothing) {
  // A pad plugged in gets port 1 at the next read.
  ASSERT_GE(platform::headlessJoystickPlug("Menu Pad", 6, 12, 1), 0);
  input_DefaultBindingsRegister();
  input_PortBindingSet(PCGAME_MENU_BINDING, input_poGetPort(0));
  input_PortsRead();
  ASSERT_GE(input_iGetPortCount(), 2);
  InputPort* pad = input_poGetPort(1);
  ASSERT_EQ(pad->eDeviceType, INPUT_DEVICE_JOYSTICK);
  // The front end's buttons on a pad port: select is button 1.
  pccontrols_Init();
  const uint8_t buttons[10] = {1, 2, 0, 3, 4, 5, 6, 7, 8, 9};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(pad->aoKeyMap[i].cJoystick, buttons[i]) << i;
    EXPECT_EQ(pad->aoKeyMap[i].cFlags, INPUT_KEYMAP_JOYSTICK) << i;
  }
  // Port 0 picks options, then port 1 moves right and picks load.
  Place(1, 1);
  Push(0, 37);
  Push(1, 11);
  Push(1, 37);
  pcframe_Begin();
  pcgame_MainMenuRun();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 43);
  EXPECT_EQ(user_aUsers[0].pip, pad);
  // Back on the menu: port 0 picks options and port 1 only moves.
  global_SetGameMode(GAME_MODE_MAIN_MENU);
  global_GameModeTransition();
  pcframe_Begin();
  pcgame_MainMenuRun();  // enters afresh
  Place(1, 1);
  Push(0, 37);
  Push(1, 8);
  pcframe_Begin();
  pcgame_MainMenuRun();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 41);
  platform::headlessInputReset();
  input_PortsInit();
}

}  // namespace
