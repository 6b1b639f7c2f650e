// The history set-up and options screens: rows and their values, the
// hand-over of every choice, and the way from the main menu through the
// history film and the set-up to the team choice.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "frontend/frontend_services.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhopts.h"
#include "frontend/mfhsetup.h"
#include "frontend/pcgame.h"
#include "frontend/screen_tools.h"
#include "matchflow/options.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "tournament/tla.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "frontend/mhelp.h"
#include "frontend/mteam.h"
#include "frontend/pcsave.h"

namespace {

int SetupKeys(std::initializer_list<int> codes) { return FrontEndKeys(mfhsetup_Input, codes); }

int OptsKeys(std::initializer_list<int> codes) { return FrontEndKeys(mfhopts_Input, codes); }

// The texts of the frame in the order drawn with their colours: (text, red)
// of the front copy (a layer lists its latest item first).
std::vector<std::pair<std::string, int>> Texts() {
  std::vector<std::pair<std::string, int>> a;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && i->aRed[0] != 0) a.emplace_back(i->pszText, i->aRed[0]);
  std::reverse(a.begin(), a.end());
  return a;
}

class HistoryScreens : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = {mcondi_CameraGet(), mcondi_MatchLengthGet(), mcondi_FoulsGet(), options_oBlock.bOffside};
    mlang_iLanguage = 0;
    vsync_Init();
    tmglobal_Reset();
    user_aUsers[0].bActive = 1;
    user_aUsers[0].pip = input_poGetPort(0);
    global_SetMenuUser(&user_aUsers[0]);
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    mfhsetup_Reset();
    mfhopts_Reset();
    mfhsetup_Enter();
    mfhsetup_oScreen.bNeedsEnter = 0;
  }
  void TearDown() override {
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    pcframe_Begin();
    // The other screens' tests find the match options and the tournament as they were.
    mcondi_CameraSet(saved_[0]);
    mcondi_MatchLengthSet(saved_[1]);
    mcondi_FoulsSet(saved_[2]);
    options_oBlock.bOffside = saved_[3];
    tmglobal_Reset();
    global_SetHomeUser(nullptr);
  }
  std::vector<int> saved_;
};

TEST_F(HistoryScreens, SetupRowsKeepTheirRanges) {
  // The first entry after a reset sets the defaults, the next ones keep the choices.
  EXPECT_EQ(mfhsetup_oSettings.iStartYear, 58);
  EXPECT_EQ(mfhsetup_oSettings.bPlayQualifiers, 1);
  EXPECT_EQ(mfhsetup_oSettings.iMatchLength, 5);
  EXPECT_EQ(mfhsetup_oSettings.cHumanTeams, 1);
  EXPECT_EQ(SetupKeys({10, 10}), MFHSETUP_MODE);  // 58 is the first edition
  EXPECT_EQ(mfhsetup_oSettings.iStartYear, 58);
  for (int i = 0; i < 12; i++) SetupKeys({11});
  EXPECT_EQ(mfhsetup_oSettings.iStartYear, 98);
  SetupKeys({10});
  EXPECT_EQ(mfhsetup_oSettings.iStartYear, 94);
  mfhsetup_Enter();
  EXPECT_EQ(mfhsetup_oSettings.iStartYear, 94);
  // Up stops at the first row, Down at the last.
  SetupKeys({8, 9, 11});
  EXPECT_EQ(mfhsetup_oScreen.iCursor, 1);
  EXPECT_EQ(mfhsetup_oSettings.bPlayQualifiers, 0);
  SetupKeys({11});
  EXPECT_EQ(mfhsetup_oSettings.bPlayQualifiers, 0);
  SetupKeys({10});
  EXPECT_EQ(mfhsetup_oSettings.bPlayQualifiers, 1);
  // Match length goes round 5, 10, 15 both ways.
  SetupKeys({9, 9, 9});
  EXPECT_EQ(mfhsetup_oScreen.iCursor, 2);
  const int right[4] = {10, 15, 5, 10};
  for (int v : right) {
    SetupKeys({11});
    EXPECT_EQ(mfhsetup_oSettings.iMatchLength, v);
  }
  const int left[3] = {5, 15, 10};
  for (int v : left) {
    SetupKeys({10});
    EXPECT_EQ(mfhsetup_oSettings.iMatchLength, v);
  }
}

TEST_F(HistoryScreens, SetupDrawsTheCursorRowInYellow) {
  SetupKeys({11, 11, 9});
  pcframe_Begin();
  mfhsetup_Draw();
  const std::vector<std::pair<std::string, int>> a = Texts();
  ASSERT_EQ(a.size(), 6u);
  const std::pair<std::string, int> want[6] = {{"Start Year", 200},  {"1966", 200}, {"Play Qualifiers", 200},
                                               {"Yes", 200},         {"Match Length", 200}, {"5", 200}};
  for (int i = 0; i < 6; i++) EXPECT_EQ(a[static_cast<size_t>(i)], want[i]) << i;
  // The hub's colours: the cursor's row yellow (no blue), the others light grey.
  std::vector<std::pair<std::string, int>> blue;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && i->aRed[0] != 0) blue.emplace_back(i->pszText, i->aBlue[0]);
  std::reverse(blue.begin(), blue.end());
  const std::vector<std::pair<std::string, int>> wantBlue = {{"Start Year", 200}, {"1966", 200},        {"Play Qualifiers", 0},
                                                             {"Yes", 0},          {"Match Length", 200}, {"5", 200}};
  EXPECT_EQ(blue, wantBlue);
}

TEST_F(HistoryScreens, SetupSelectStartsANewHistory) {
  for (bool bQualifiers : {true, false}) {
    SCOPED_TRACE(bQualifiers);
    tmglobal.bStarted = 1;
    tmglobal.bFinals = 7;
    mfhmain_oScreen.iForceState = 0;
    for (RollOfHonourEntry& e : tmglobal.aRoll) e = {1, 2, 3, 4};
    global_SetExtendedGameMode(GAME_MODE_NONE);
    mfhsetup_oSettings = {70, 1, bQualifiers ? 1 : 0, 1, 10};
    EXPECT_EQ(SetupKeys({37, 8}), MTEAM_MODE);  // the select ends the screen's events
    EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
    EXPECT_EQ(global.iDay, 1);
    EXPECT_EQ(global.iMonth, 1);
    EXPECT_EQ(global.iYear, 70);
    EXPECT_EQ(tmglobal.iYear, 70);
    EXPECT_EQ(tmglobal.bFinals, bQualifiers ? 0 : 1);
    EXPECT_EQ(tmglobal.bStarted, 0);
    EXPECT_EQ(mfhmain_ForcedScoreGet(nullptr, nullptr), 0);
    EXPECT_EQ(global_poGetHomeUser(), &user_aUsers[0]);
    EXPECT_EQ(global_poGetAwayUser(), nullptr);
    EXPECT_EQ(mcondi_MatchLengthGet(), 10);
    // 1958 to 1966 come from the record books, 1970 on are to be played.
    EXPECT_EQ(tmmain_RollOfHonourEntryGet(0)->Winner, static_cast<uint32_t>(tla_IDFind("BRA")));
    EXPECT_EQ(tmmain_RollOfHonourEntryGet(2)->Winner, static_cast<uint32_t>(tla_IDFind("ENG")));
    EXPECT_EQ(tmmain_RollOfHonourEntryGet(3)->Winner, 0u);
    EXPECT_EQ(tmmain_RollOfHonourEntryGet(10)->Fourth, 0u);
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
  }
  // Start acts as select; back and the escape key go to the main menu's return.
  EXPECT_EQ(SetupKeys({1}), MTEAM_MODE);
  EXPECT_EQ(SetupKeys({38}), 12);
  EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_MAIN_MENU);
  EXPECT_EQ(SetupKeys({152}), 12);
}

TEST_F(HistoryScreens, SetupRunLeavesRearmed) {
  mfhmain_bYearLoaded = 1;
  mfhsetup_oScreen.bNeedsEnter = 1;
  tmglobal.bFinalsLoaded = 1;
  pcframe_Begin();
  mfhsetup_Run();
  EXPECT_EQ(tmglobal.bFinalsLoaded, 0);
  EXPECT_EQ(mfhsetup_oScreen.bNeedsEnter, 0);
  FrontEndPush(9);
  FrontEndPush(37);
  pcframe_Begin();
  mfhsetup_Run();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), MTEAM_MODE);
  EXPECT_EQ(mfhsetup_oScreen.bNeedsEnter, 1);
  EXPECT_EQ(mfhsetup_oScreen.iCursor, 0);
  EXPECT_EQ(mfhmain_bYearLoaded, 0);
}

TEST_F(HistoryScreens, OptionsRowsChangeTheMatchOptions) {
  mfhopts_Enter();
  EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
  // Defaults of a new history: camera Normal, offside and fouls on, 5 minutes.
  EXPECT_EQ(mcondi_CameraGet(), 2);
  EXPECT_EQ(mfhopts_OffsideGet(), 1);
  EXPECT_EQ(mcondi_FoulsGet(), 1);
  EXPECT_EQ(mcondi_MatchLengthGet(), 5);
  EXPECT_EQ(OptsKeys({10, 11, 11, 11}), MFHOPTS_STAY);
  EXPECT_EQ(mfhsetup_oSettings.iMatchLength, 15);
  EXPECT_EQ(mcondi_MatchLengthGet(), 15);
  OptsKeys({9, 11, 11, 11});
  EXPECT_EQ(mcondi_CameraGet(), 4);
  OptsKeys({10, 10, 10, 10, 10});
  EXPECT_EQ(mcondi_CameraGet(), 0);
  OptsKeys({9, 11, 9, 11});
  EXPECT_EQ(mfhopts_OffsideGet(), 0);
  EXPECT_EQ(options_oBlock.bOffside, 0);  // the word the save keeps
  EXPECT_EQ(mcondi_FoulsGet(), 0);
  // Select on a value row does nothing; Left/Right on an action row neither.
  EXPECT_EQ(OptsKeys({37, 9, 10, 11}), MFHOPTS_STAY);
  EXPECT_EQ(mfhopts_oScreen.iCursor, 4);
  EXPECT_EQ(mcondi_FoulsGet(), 0);
  pcframe_Begin();
  mfhopts_Draw();
  const std::vector<std::pair<std::string, int>> a = Texts();
  ASSERT_EQ(a.size(), 14u);  // ten labels, four values
  EXPECT_EQ(a[0], (std::pair<std::string, int>{"Match Length", 200}));
  EXPECT_EQ(a[1].first, "15");
  EXPECT_EQ(a[3].first, "Very Close");
  EXPECT_EQ(a[5].first, "No");
  EXPECT_EQ(a[8], (std::pair<std::string, int>{"Save Game", 200}));
  EXPECT_EQ(a[13].first, "Exit");
  // The hub's colours: the cursor's row yellow (no blue), the others light grey.
  std::vector<std::pair<std::string, int>> blue;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && i->aRed[0] != 0) blue.emplace_back(i->pszText, i->aBlue[0]);
  std::reverse(blue.begin(), blue.end());
  ASSERT_EQ(blue.size(), 14u);
  EXPECT_EQ(blue[0], (std::pair<std::string, int>{"Match Length", 200}));
  EXPECT_EQ(blue[8], (std::pair<std::string, int>{"Save Game", 0}));
  EXPECT_EQ(blue[13], (std::pair<std::string, int>{"Exit", 200}));
  // "Reset Options" restores the defaults and stays.
  EXPECT_EQ(OptsKeys({9, 9, 9, 37}), MFHOPTS_STAY);
  EXPECT_EQ(mfhopts_oScreen.iCursor, 7);
  EXPECT_EQ(mcondi_CameraGet(), 2);
  EXPECT_EQ(mfhopts_OffsideGet(), 1);
  EXPECT_EQ(mcondi_FoulsGet(), 1);
  EXPECT_EQ(mcondi_MatchLengthGet(), 5);
  EXPECT_EQ(mfhsetup_oSettings.iMatchLength, 5);
}

TEST_F(HistoryScreens, OptionsHandOverFromEveryActionRow) {
  struct Case {
    int row, code, next, extended;
  } cases[] = {{4, 37, PCSAVE_MODE_SAVE, GAME_MODE_HISTORY},    {5, 37, PCSAVE_MODE_LOAD, MFHOPTS_MODE},
               {6, 37, OPTIONS_MODE, GAME_MODE_HISTORY},        {8, 37, MHELP_RULES_MODE, GAME_MODE_HISTORY},
               {9, 37, MFHMAIN_MODE, GAME_MODE_HISTORY},        {0, 38, MFHMAIN_MODE, GAME_MODE_HISTORY},
               {3, 1, MFHMAIN_MODE, GAME_MODE_HISTORY},         {6, 152, MFHMAIN_MODE, GAME_MODE_HISTORY}};
  for (const Case& c : cases) {
    mfhopts_Enter();
    for (int i = 0; i < c.row; i++) FrontEndPush(9);
    EXPECT_EQ(OptsKeys({c.code}), c.next) << c.row << " " << c.code;
    EXPECT_EQ(global_eGetExtendedGameMode(), c.extended) << c.row << " " << c.code;
  }
  // Restore from outside the history returns to the general options.
  mfhopts_Enter();
  global_SetExtendedGameMode(GAME_MODE_MAIN_MENU);
  EXPECT_EQ(OptsKeys({9, 9, 9, 9, 9, 37}), PCSAVE_MODE_LOAD);
  EXPECT_EQ(global_eGetExtendedGameMode(), OPTIONS_MODE);
  // Run sets the mode and re-arms the screen with its cursor at the top.
  mfhopts_oScreen.bNeedsEnter = 1;
  pcframe_Begin();
  mfhopts_Run();
  FrontEndPush(9);
  FrontEndPush(9);
  FrontEndPush(9);
  FrontEndPush(9);
  FrontEndPush(37);
  pcframe_Begin();
  mfhopts_Run();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), PCSAVE_MODE_SAVE);
  EXPECT_EQ(mfhopts_oScreen.bNeedsEnter, 1);
  EXPECT_EQ(mfhopts_oScreen.iCursor, 0);
  // Up at the top and Down at the bottom stay; the window follows.
  mfhopts_Enter();
  OptsKeys({8});
  EXPECT_EQ(mfhopts_oScreen.iCursor, 0);
  for (int i = 0; i < 12; i++) OptsKeys({9});
  EXPECT_EQ(mfhopts_oScreen.iCursor, 9);
  EXPECT_EQ(mfhopts_oScreen.iFirst, 0);
  EXPECT_EQ(mfhopts_oScreen.iLast, 9);
}

// Main menu -> History -> the history film -> set-up -> team choice, with
// the keys a player presses, through each screen's own run.
TEST_F(HistoryScreens, MainMenuReachesTheTeamChoiceThroughTheSetup) {
  pcgame_MainMenuReset();
  global_SetGameMode(GAME_MODE_MAIN_MENU);
  global_GameModeTransition();
  pcframe_Begin();
  pcgame_MainMenuRun();
  pcgame_iColumn = 0;
  pcgame_iRow = 1;
  pcgame_CursorMove(0);
  ASSERT_EQ(pcgame_iChoice, PCGAME_HISTORY);
  FrontEndPush(37);
  pcframe_Begin();
  pcgame_MainMenuRun();
  global_GameModeTransition();
  ASSERT_EQ(global_eGetGameMode(), 84);
  for (int i = 0; i < 3 && global_eGetGameMode() == 84; i++) {
    FrontEndPush(161);
    pcframe_Begin();
    histintro_Run();
    global_GameModeTransition();
  }
  ASSERT_EQ(global_eGetGameMode(), MFHSETUP_MODE);
  mfhsetup_Reset();
  for (int code : {11, 11, 9, 11, 9, 11}) {
    FrontEndPush(code);
    pcframe_Begin();
    mfhsetup_Run();
  }
  FrontEndPush(37);
  pcframe_Begin();
  mfhsetup_Run();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), MTEAM_MODE);
  EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
  EXPECT_EQ(tmglobal.iYear, 66);
  EXPECT_EQ(tmglobal.bFinals, 1);
  EXPECT_EQ(mcondi_MatchLengthGet(), 10);
  EXPECT_EQ(global_poGetMenuUser(), &user_aUsers[0]);
}

}  // namespace
