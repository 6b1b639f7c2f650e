// The history hub: its menu in two columns, "Choose Squad" skipped in the
// finals, the choice among several human teams, the quit box and the screens
// it hands over to; entered first after a load.
#include <gtest/gtest.h>

#include <initializer_list>

#include "frontend/frontend_services.h"
#include "frontend/mfhmain.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/screen_tools.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "tournament/tmtree.h"

namespace {

int Keys(std::initializer_list<int> codes) { return FrontEndKeys(mfhmain_Input, codes); }

class Hub : public ::testing::Test {
 protected:
  void SetUp() override {
    mlang_iLanguage = 0;
    vsync_Init();
    tmglobal_Reset();
    tmglobal.cHumans = 1;
    user_aUsers[0].bActive = 1;
    user_aUsers[0].pip = input_poGetPort(0);
    global_SetMenuUser(&user_aUsers[0]);
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    mfhmain_Reset();
    mfhmain_Enter();
    mfhmain_oScreen.iInputDelay = 0;
  }
  void TearDown() override {
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    pcframe_Begin();
    tmglobal_Reset();
    global_SetHomeUser(nullptr);
  }
};

TEST_F(Hub, EnteredFirstAfterALoadShowsItsSheet) {
  // A load from the main menu lands here with the screen armed.
  mfhmain_Reset();
  global_SetGameMode(static_cast<GameMode>(47));
  global_GameModeTransition();
  pcframe_Begin();
  mfhmain_Run();
  EXPECT_EQ(mfhmain_oScreen.bNeedsEnter, 0);
  EXPECT_EQ(pcfe_SheetGet(), 19);
  EXPECT_EQ(mregion_FindByName("main"), 0);
  EXPECT_EQ(mfhmain_oScreen.iInputDelay, 4);  // 5 on entering, one frame gone
  EXPECT_EQ(global_poGetHomeUser(), &user_aUsers[0]);
  EXPECT_EQ(mfhmain_bHasNextFixture(), 0);  // no year loaded
  // Select on "Play Match" without a fixture does nothing.
  EXPECT_EQ(Keys({37}), 47);
}

TEST_F(Hub, CursorMovesInTwoColumnsAndSkipsChooseSquadInTheFinals) {
  struct Case {
    int finals, from, code, to;
  } cases[] = {{0, 3, 8, 2}, {1, 3, 8, 1}, {0, 1, 9, 2}, {1, 1, 9, 3}, {0, 6, 10, 2}, {1, 6, 10, 6},
               {0, 0, 8, 0}, {0, 7, 9, 7}, {0, 2, 11, 6}, {0, 5, 10, 1}, {0, 4, 11, 4}, {0, 3, 10, 3},
               {1, 5, 10, 1}, {0, 4, 8, 3}};
  for (const Case& c : cases) {
    mfhmain_oScreen.bFinals = c.finals;
    mfhmain_oScreen.iCursor = c.from;
    EXPECT_EQ(Keys({c.code}), 47);
    EXPECT_EQ(mfhmain_oScreen.iCursor, c.to) << c.finals << " " << c.from << " " << c.code;
  }
  // The finals flag comes from the loaded finals when the hub is entered.
  tmglobal.bFinalsLoaded = 1;
  mfhmain_Enter();
  EXPECT_EQ(mfhmain_oScreen.bFinals, 1);
  pcframe_Begin();
  mfhmain_Draw();
  int dark = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && i->aRed[0] == 80) dark++;
  EXPECT_EQ(dark, 1);
}

TEST_F(Hub, ItemsHandOverToTheirScreens) {
  struct Case {
    int item, next, extended;
  } cases[] = {{3, 48, 48}, {4, 55, 55}, {6, 56, 56}, {7, 52, 49}};
  for (const Case& c : cases) {
    global_SetExtendedGameMode(GAME_MODE_HISTORY);
    mfhmain_oScreen.iCursor = c.item;
    EXPECT_EQ(Keys({37}), c.next) << c.item;
    EXPECT_EQ(global_eGetExtendedGameMode(), c.extended) << c.item;
  }
  // Run sets the mode and re-arms the hub.
  mfhmain_oScreen.iCursor = 7;
  FrontEndPush(37);
  pcframe_Begin();
  mfhmain_Run();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 52);
  EXPECT_EQ(mfhmain_oScreen.bNeedsEnter, 1);
}

TEST_F(Hub, QuitBoxWaitsForTheDelayAndEndsTheHistoryOnYes) {
  mfhmain_oScreen.iInputDelay = 3;
  EXPECT_EQ(Keys({38}), 47);
  EXPECT_EQ(mfhmain_oScreen.bQuitBox, 0);
  mfhmain_oScreen.iInputDelay = 0;
  Keys({38});
  EXPECT_EQ(mfhmain_oScreen.bQuitBox, 1);
  EXPECT_EQ(mfhmain_oScreen.iQuitChoice, 1);  // "No" first
  // While it shows, the menu does not move; select on "No" closes it.
  mfhmain_oScreen.iCursor = 3;
  EXPECT_EQ(Keys({9, 37}), 47);
  EXPECT_EQ(mfhmain_oScreen.iCursor, 3);
  EXPECT_EQ(mfhmain_oScreen.bQuitBox, 0);
  // Start closes it too.
  Keys({38, 56});
  EXPECT_EQ(mfhmain_oScreen.bQuitBox, 0);
  tmglobal.bStarted = 1;
  EXPECT_EQ(Keys({38, 10, 37}), 12);
  EXPECT_EQ(global_eGetExtendedGameMode(), 12);
  EXPECT_EQ(tmglobal.bStarted, 0);
  EXPECT_EQ(mfhmain_oScreen.bNeedsEnter, 1);
}

TEST_F(Hub, SeveralHumanTeamsAreChosenAboveTheMenu) {
  // One human team: Up on "Play Match" stays in the menu.
  Keys({8});
  EXPECT_EQ(mfhmain_oScreen.bTeamChoice, 0);
  tmglobal.cHumans = 3;
  Keys({8, 11, 11, 11});
  EXPECT_EQ(mfhmain_oScreen.bTeamChoice, 1);
  EXPECT_EQ(mfhmain_oScreen.iTeamChoice, 2);
  Keys({10, 37});
  EXPECT_EQ(tmglobal.iCurrentHuman, 1);
  EXPECT_EQ(mfhmain_oScreen.bTeamChoice, 0);
  // Down leaves the choice without taking it.
  Keys({8, 10, 9});
  EXPECT_EQ(mfhmain_oScreen.bTeamChoice, 0);
  EXPECT_EQ(tmglobal.iCurrentHuman, 1);
  EXPECT_EQ(mfhmain_oScreen.iCursor, 1);
}

}  // namespace
