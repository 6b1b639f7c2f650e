// Choosing sides and the match conditions: the entries after each event of
// each port, what a commit makes of them, where the icons are drawn, and the
// conditions' rows and values, kick-off and leaving.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/referee.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_env.h"
#include "frontend/frontend_services.h"
#include "frontend/mcondi.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pcsides.h"
#include "frontend/pctext.h"
#include "matchflow/demo.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "matchflow/options.h"
#include "platform/input_headless.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

namespace {

void Push(int port, int code) {
  InputEvent* e = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&e));
  e->eEvent = code;
  queue_Append(&input_poGetPort(port)->oEvents, &e->oLink);
}

// The entries as "H<port>" (home), "A<port>" (away) or "-" (free).
std::string Entries() {
  std::string s;
  for (const SidesEntry& e : pcsides_aEntries) {
    if (!s.empty()) s += " ";
    if (e.pip == nullptr) s += "-";
    else s += std::string(e.cSide == PCSIDES_HOME ? "H" : e.cSide == PCSIDES_AWAY ? "A" : "?") + std::to_string(e.pip->iIndex);
  }
  return s;
}

// The backdrop sprites of the frame: "sprite@x,y".
std::vector<std::string> Sprites() {
  std::vector<std::string> v;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_BACKDROP_SPRITE)
        v.push_back(std::string(pcsides_aoLayout[i->aiCoord[3]].szName) + "@" + std::to_string(i->aiCoord[0]) + "," +
                    std::to_string(i->aiCoord[1]));
  return v;
}

class Sides : public ::testing::Test {
 protected:
  void SetUp() override {
    mlang_iLanguage = 0;
    vsync_Init();
    // The keyboard and four pads: five ports.
    for (int i = 0; input_iGetPortCount() < 5 && i < 8; ++i) {
      ASSERT_GE(platform::headlessJoystickPlug(("Side Pad " + std::to_string(i)).c_str(), 6, 12, 1), 0);
      input_PortsRead();
    }
    ASSERT_GE(input_iGetPortCount(), 5);
    input_DefaultBindingsRegister();
    global_SetExtendedGameMode(GAME_MODE_QUICK_START);
    Enter();
  }
  void TearDown() override {
    platform::headlessInputReset();
    QKeyboardPoll();
    pcframe_Begin();
  }
  // The screen entered afresh, forgetting its choices.
  void Enter() {
    pcsides_ChoicesForget();
    pcsides_Reset();
    global_SetGameMode(static_cast<GameMode>(11));
    global_GameModeTransition();
    pcframe_Begin();
    pcsides_Run();
    ASSERT_EQ(pcsides_bNeedsEnter, 0);
  }
  std::int32_t Event(int port, int code) {
    Push(port, code);
    return pcsides_Input(port);
  }
};

TEST_F(Sides, EachPortsEventsMoveItsIconBetweenTheColumns) {
  EXPECT_EQ(Entries(), "- - - -");
  EXPECT_EQ(pcfe_SheetGet(), PCSIDES_SHEET);
  EXPECT_EQ(mregion_cCount, PCSIDES_RECORDS);
  struct Step {
    int port, code;
    const char* entries;
  } steps[] = {
      {0, 10, "H0 - - -"},    // left from the middle: home
      {0, 10, "H0 - - -"},    // home already
      {0, 11, "- - - -"},     // right from home: back to the middle
      {0, 11, "A0 - - -"},    // right from the middle: away
      {0, 11, "A0 - - -"},
      {2, 11, "A0 A2 - -"},   // the next port takes the first free entry
      {0, 10, "- A2 - -"},    // left from away frees the entry
      {3, 10, "H3 A2 - -"},   // and the next port takes it
      {0, 10, "H3 A2 H0 -"},
      {1, 11, "H3 A2 H0 A1"},
      {4, 11, "H3 A2 H0 A1"},  // a fifth port finds no free entry
      {4, 10, "H3 A2 H0 A1"},
      {2, 10, "H3 - H0 A1"},
      {4, 10, "H3 H4 H0 A1"},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(Event(s.port, s.code), 11) << s.port << " " << s.code;
    EXPECT_EQ(Entries(), s.entries) << s.port << " " << s.code;
  }
}

TEST_F(Sides, FourPortsGoingRightFillEveryEntryAsAway) {
  for (int p = 1; p <= 4; ++p) Event(p, 11);
  EXPECT_EQ(Entries(), "A1 A2 A3 A4");
  EXPECT_EQ(pcsides_EntryFree(), -1);
  EXPECT_EQ(pcsides_EntryOfPort(input_poGetPort(3)), 2);
  EXPECT_EQ(pcsides_EntryOfPort(input_poGetPort(0)), -1);
  Event(0, 11);
  Event(0, 10);
  EXPECT_EQ(Entries(), "A1 A2 A3 A4");
  EXPECT_EQ(pcsides_ComputerSideGet(), 1);  // only away chosen: the computer plays home
}

TEST_F(Sides, TrainingHasOnlyTheHomeSide) {
  global_SetExtendedGameMode(GAME_MODE_START_TRAINING);
  EXPECT_EQ(Event(0, 11), 11);
  EXPECT_EQ(Entries(), "- - - -");
  Event(0, 10);
  EXPECT_EQ(Entries(), "H0 - - -");
  Event(0, 11);
  EXPECT_EQ(Entries(), "- - - -");
  // Neither the away column nor its badge is drawn.
  Event(0, 10);
  pcframe_Begin();
  pcsides_Draw();
  const std::vector<std::string> v = Sprites();
  for (const std::string& s : v) EXPECT_TRUE(s.rfind("away@", 0) != 0 && s.rfind("2@", 0) != 0) << s;
}

TEST_F(Sides, SelectBackAndEscapeByKindOfGame) {
  // Select from a port still in the middle does nothing.
  EXPECT_EQ(Event(0, 37), 11);
  Event(0, 10);
  // Quick start goes to the quick match, the others to the team selection
  // with the active users' ports marked.
  EXPECT_EQ(Event(0, 37), 14);
  global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  EXPECT_EQ(Event(0, 37), 9);
  global_SetExtendedGameMode(GAME_MODE_START_TRAINING);
  EXPECT_EQ(Event(0, 37), 9);
  // Back: the main menu, or the history hub in its context.
  EXPECT_EQ(Event(0, 38), 12);
  global_SetExtendedGameMode(static_cast<GameMode>(47));
  EXPECT_EQ(Event(1, 38), 47);
  // Escape held: the same, whatever the events.
  ASSERT_EQ(QKeyboardSetup(0), 0);
  ASSERT_TRUE(platform::headlessKey(1, true));
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(Event(2, 10), 47);
  global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  EXPECT_EQ(Event(2, 10), 12);
  platform::headlessKey(1, false);
  QKeyboardPoll();
  EXPECT_EQ(Event(2, 10), 11);
  QKeyboardShutdown();
}

TEST_F(Sides, BackFromTheHistoryContextReturnsToTheHubAndAttachesTheFirstUser) {
  global_SetExtendedGameMode(static_cast<GameMode>(47));
  Push(1, 38);
  pcframe_Begin();
  pcsides_Run();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 47);
  EXPECT_EQ(user_aUsers[0].pip, input_poGetPort(0));
  EXPECT_EQ(user_aUsers[0].bAttachPending, 1);
}

TEST_F(Sides, ACommitMakesTheEntriesTheUsersSidesAndReleasesTheOtherPorts) {
  Event(2, 11);
  Event(0, 10);
  Event(3, 10);
  ASSERT_EQ(Entries(), "A2 H0 H3 -");
  EXPECT_EQ(pcsides_ComputerSideGet(), 0);  // both sides human
  Push(0, 37);
  pcframe_Begin();
  pcsides_Run();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 14);
  EXPECT_EQ(pcsides_bNeedsEnter, 1);
  EXPECT_EQ(pcsides_bKeepEntries, 0);
  const int sides[4] = {2, 1, 1, 0}, ports[4] = {2, 0, 3, -1};
  for (int i = 0; i < 4; ++i) {
    const User& u = user_aUsers[i];
    EXPECT_EQ(u.MyTeam, sides[i]) << i;
    EXPECT_EQ(u.pip, ports[i] < 0 ? nullptr : input_poGetPort(ports[i])) << i;
    EXPECT_EQ(u.bActive, ports[i] < 0 ? 0 : 1) << i;
    if (ports[i] >= 0) {
      EXPECT_EQ(input_poGetPort(ports[i])->pusr, &u) << i;
    }
  }
  // The first home user and the first away user lead.
  EXPECT_EQ(global_poGetHomeUser(), &user_aUsers[1]);
  EXPECT_EQ(global_poGetAwayUser(), &user_aUsers[0]);
  // Ports without an entry are released.
  for (int p : {1, 4}) {
    EXPECT_EQ(input_poGetPort(p)->bInUse, 0) << p;
    EXPECT_EQ(input_poGetPort(p)->pusr, nullptr) << p;
  }
  // Coming back without forgetting keeps the choices; after the main menu
  // has asked to forget them, they are gone.
  global_SetGameMode(static_cast<GameMode>(11));
  global_GameModeTransition();
  pcframe_Begin();
  pcsides_Run();
  EXPECT_EQ(Entries(), "A2 H0 H3 -");
  Enter();
  EXPECT_EQ(Entries(), "- - - -");
}

TEST_F(Sides, TheComputerTakesTheSideNobodyChose) {
  EXPECT_EQ(pcsides_ComputerSideGet(), 0);
  Event(1, 10);
  Event(2, 10);
  EXPECT_EQ(pcsides_ComputerSideGet(), 2);
  Event(1, 11);
  Event(2, 11);
  Event(2, 11);
  EXPECT_EQ(pcsides_ComputerSideGet(), 1);
}

TEST_F(Sides, IconsAreDrawnInTheirSidesColumnOnTheirPlayersRow) {
  Event(0, 10);  // entry 0: the keyboard at home
  Event(1, 11);  // entry 1: a pad away
  Event(2, 10);  // entry 2: a pad at home
  Event(2, 11);  //   back to the middle, freeing entry 2
  Event(3, 10);  // entry 2 again: a pad at home
  Event(4, 11);  // entry 3: a pad away
  Event(4, 10);  //   back to the middle: entry 3 free
  ASSERT_EQ(Entries(), "H0 A1 H3 -");
  pcframe_Begin();
  pcsides_Draw();
  const std::vector<std::string> want = {"main@0,0",       "keyboard1@58,88", "joypad2@501,166", "joypad3@60,252",
                                         "P4@291,341",     "away@472,46",     "2@424,370"};
  std::vector<std::string> got = Sprites();
  std::sort(got.begin(), got.end());
  std::vector<std::string> sorted = want;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(got, sorted);
  // Each icon lies on the row of its player's marker.
  for (int n = 1; n <= 4; ++n) {
    const int p = mregion_FindByName(("P" + std::to_string(n)).c_str());
    const int centre = mregion_YGet(p) + mregion_HeightGet(p) / 2;
    for (const char* kind : {"keyboard", "joypad", "joystick"}) {
      const int i = mregion_FindByName((kind + std::to_string(n)).c_str());
      EXPECT_NEAR(mregion_YGet(i) + mregion_HeightGet(i) / 2, centre, 1) << kind << n;
    }
  }
}

// ---- Match conditions -------------------------------------------------------------------------

class Conditions : public ::testing::Test {
 protected:
  void SetUp() override {
    mlang_iLanguage = 0;
    vsync_Init();
    input_DefaultBindingsRegister();
    game_UsersReset();
    input_PortsReinit();
    user_aUsers[0].pip = input_poGetPort(0);
    user_aUsers[0].bActive = 1;
    mcondi_bDefaultsApplied = 0;
    mcondi_bNeedsEnter = 1;
    saved_ = options_oBlock;
    global_SetGameMode(static_cast<GameMode>(20));
    global_GameModeTransition();
    pcframe_Begin();
    mcondi_Run();
  }
  void TearDown() override {
    options_oBlock = saved_;
    match_HomeTeamGet()->Squad = nullptr;
    platform::headlessInputReset();
    QKeyboardPoll();
    pcframe_Begin();
  }
  std::int32_t Event(int code) {
    Push(0, code);
    return mcondi_Input(&user_aUsers[0]);
  }
  OptionsBlock saved_{};
};

TEST_F(Conditions, TheDefaultsComeOnceARun) {
  EXPECT_EQ(mcondi_iRow, 0);
  EXPECT_EQ(pcfe_SheetGet(), MCONDI_SHEET);
  const std::int32_t want[9] = {10, 2, 1, 1, 1, 1, 1, 1, 1};
  for (int r = 0; r < 9; ++r) EXPECT_EQ(mcondi_ValueGet(r), want[r]) << r;
  Event(11);  // 15 minutes
  mcondi_bNeedsEnter = 1;
  pcframe_Begin();
  mcondi_Run();
  EXPECT_EQ(mcondi_MatchLengthGet(), 15);
}

TEST_F(Conditions, RowsAndValuesStopAtBothEnds) {
  Event(8);
  EXPECT_EQ(mcondi_iRow, 0);
  for (int i = 0; i < 12; ++i) Event(9);
  EXPECT_EQ(mcondi_iRow, 9);
  // Per row: the values after left x 3 then right x 4 from the default.
  struct Row {
    int row;
    std::vector<int> values;
  } rows[] = {
      {0, {5, 5, 5, 10, 15, 15, 15}}, {1, {1, 0, 0, 1, 2, 3, 4}}, {2, {1, 1, 1, 0, 0, 0, 0}},
      {3, {0, 0, 0, 1, 2, 2, 2}},     {4, {1, 1, 1, 0, 0, 0, 0}}, {5, {1, 1, 1, 0, 0, 0, 0}},
      {6, {1, 1, 1, 0, 0, 0, 0}},     {7, {0, 0, 0, 1, 2, 2, 2}}, {8, {1, 1, 1, 0, 0, 0, 0}},
  };
  for (const Row& r : rows) {
    mcondi_iRow = r.row;
    for (int k = 0; k < 7; ++k) {
      EXPECT_EQ(Event(k < 3 ? 10 : 11), 20);
      EXPECT_EQ(mcondi_ValueGet(r.row), r.values[static_cast<std::size_t>(k)]) << r.row << " " << k;
    }
  }
  // The getters the match code calls read the same words.
  EXPECT_EQ(mcondi_MatchLengthGet(), 15);
  EXPECT_EQ(mcondi_CameraGet(), 4);
  EXPECT_EQ(mcondi_CatchUpGet(), 0);
  EXPECT_EQ(mcondi_ExtraTimeGet(), 2);
  EXPECT_EQ(mcondi_PenaltiesGet(), 0);
  EXPECT_EQ(mcondi_OffsideGet(), 0);
  EXPECT_EQ(mcondi_FoulsGet(), 0);
  EXPECT_EQ(mcondi_RefereeGet(), 2);
  EXPECT_EQ(mcondi_DayNightGet(), 0);
  // Left and right on "Kick Off" change nothing.
  const OptionsBlock before = options_oBlock;
  mcondi_iRow = 9;
  Event(10);
  Event(11);
  EXPECT_EQ(std::memcmp(&before, &options_oBlock, sizeof before), 0);
}

TEST_F(Conditions, TheMatchCodeReadsWhatTheScreenSet) {
  mcondi_iRow = 7;  // referee: Harsh
  Event(11);
  EXPECT_EQ(referee_StrictnessGet(), referee_StrictnessFor(2));
  Event(10);
  Event(10);  // Lenient
  EXPECT_EQ(referee_StrictnessGet(), referee_StrictnessFor(0));
  mcondi_iRow = 8;  // night
  Event(11);
  global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  environ_NightChoose();
  EXPECT_EQ(environ_bIsNight(), 1);
  Event(10);  // day
  environ_NightChoose();
  EXPECT_EQ(environ_bIsNight(), 0);
}

TEST_F(Conditions, KickOffFromItsRowOrByConfirmFromAnyRow) {
  Squad home{};
  home.iTeamId = 144;  // Brazil
  home.iEdition = 3;   // 1970
  match_HomeTeamGet()->Squad = &home;
  tmglobal_TournamentMatchSet(1);
  for (int r = 0; r < 9; ++r) {
    mcondi_iRow = r;
    EXPECT_EQ(Event(37), 20) << r;
  }
  mcondi_iRow = 9;
  EXPECT_EQ(Event(37), 33);
  EXPECT_EQ(tmglobal_YearGet(), 70);
  EXPECT_EQ(tmglobal_TournamentMatchGet(), 0);
  EXPECT_EQ(environ_StadiumGet(), stadium_Choose(3, nullptr));
  tmglobal_TournamentMatchSet(1);
  tmglobal_YearSet(58);
  mcondi_iRow = 2;
  EXPECT_EQ(Event(56), 33);
  EXPECT_EQ(tmglobal_YearGet(), 70);
  EXPECT_EQ(tmglobal_TournamentMatchGet(), 0);
  // Back, by the event or by Escape, goes to the tactics screen.
  EXPECT_EQ(Event(38), 13);
}

TEST_F(Conditions, LeavingResetsTheRowAndStopsTheAttractMode) {
  mcondi_iRow = 9;
  demo_Start();
  Push(0, 37);
  Squad home{};
  home.iTeamId = 144;
  home.iEdition = 10;
  match_HomeTeamGet()->Squad = &home;
  pcframe_Begin();
  mcondi_Run();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 33);
  EXPECT_EQ(mcondi_iRow, 0);
  EXPECT_EQ(mcondi_bNeedsEnter, 1);
  EXPECT_EQ(demo_bIsRunning(), 0);
  EXPECT_EQ(tmglobal_YearGet(), 98);
}

TEST_F(Conditions, EscapeGoesBackToTheTactics) {
  ASSERT_EQ(QKeyboardSetup(0), 0);
  ASSERT_TRUE(platform::headlessKey(1, true));
  ASSERT_EQ(QKeyboardPoll(), 0);
  EXPECT_EQ(mcondi_Input(&user_aUsers[0]), 13);
  platform::headlessKey(1, false);
  QKeyboardPoll();
  EXPECT_EQ(mcondi_Input(&user_aUsers[0]), 20);
  QKeyboardShutdown();
}

TEST_F(Conditions, DrawnLabelsAndValuesOnTheirRowsTheCurrentOneYellow) {
  mcondi_iRow = 3;
  pcframe_Begin();
  mcondi_Draw();
  std::vector<std::string> v;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && i->aRed[0] != 0)
        v.push_back(std::string(i->pszText) + "@" + std::to_string(i->aiCoord[0]) + "," +
                    std::to_string(i->aiCoord[1]) + (i->aBlue[0] == 0 ? " yellow" : ""));
  const std::vector<std::string> want = {
      "Match Length@" + std::to_string(pcfe_ScaleX(76)) + "," + std::to_string(pcfe_ScaleY(63)),
      "10@" + std::to_string(pcfe_ScaleX(278)) + "," + std::to_string(pcfe_ScaleY(63)),
      "Extra Time@" + std::to_string(pcfe_ScaleX(76)) + "," + std::to_string(pcfe_ScaleY(106)) + " yellow",
      "30 mins@" + std::to_string(pcfe_ScaleX(278)) + "," + std::to_string(pcfe_ScaleY(106)) + " yellow",
      "Kick Off@" + std::to_string(pcfe_ScaleX(76)) + "," + std::to_string(pcfe_ScaleY(189)),
  };
  for (const std::string& w : want) EXPECT_NE(std::find(v.begin(), v.end(), w), v.end()) << w;
  EXPECT_EQ(v.size(), 19u);  // ten labels and nine values
}

// In every language the labels of the nine option rows, from x 76 of the
// 512-unit screen, end before their values begin at x 278, in the screen's
// font.
TEST(ConditionsTexts, EveryLanguagesLabelsEndLeftOfTheValues) {
  const int32_t saved = mlang_iLanguage;
  const std::int32_t aiLabels[] = {IDS_FE_MATCH_LENGTH, IDS_FE_CAMERA,   IDS_FE_CATCH_UP,
                                   IDS_FE_EXTRA_TIME,   IDS_FE_PENALTIES, IDS_FE_OFFSIDE,
                                   IDS_FE_FOULS,        IDS_FE_REFEREE,   IDS_FE_DAY_OR_NIGHT};
  {
    const FrontEndFont font("SW24pt.bmp");
    ASSERT_NE(font.get(), nullptr);
    pctext_FontSet(0);
    for (int32_t l = 0; l < 6; ++l) {
      mlang_iLanguage = l;
      for (std::int32_t id : aiLabels) {
        const char* psz = festr_IDToStr(id);
        EXPECT_LE(pcfe_ScaleX(76) + pctext_WidthGet(psz), pcfe_ScaleX(278)) << l << " " << psz;
      }
    }
  }
  mlang_iLanguage = saved;
}

}  // namespace
