// In-match captions: slides, cool-down, layouts in the frame packet and the
// statistics arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/player.h"
#include "matchflow/caption.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "shell/texts_data.h"
#include "tournament/dbplayer.h"

// The input layer's missing-controller answer as this test program has it
// (linked with --wrap): missing while g_bControllerMissing is set, else the
// game's own answer (this platform never reports a controller missing).
namespace {
bool g_bControllerMissing = false;
}  // namespace
extern "C" std::int32_t __real__Z24input_bControllerMissingv();
extern "C" std::int32_t __wrap__Z24input_bControllerMissingv() {
  return g_bControllerMissing ? 1 : __real__Z24input_bControllerMissingv();
}

namespace {

struct PacketItems {
  std::vector<std::string> asText;
  std::int32_t cBoxes = 0;
  std::int32_t cSheet = 0;
  std::vector<std::int32_t> aiSheetFrames;
  std::vector<std::int32_t> aiBoxColours;  // r << 16 | g << 8 | b
  std::vector<std::int32_t> aiStripColours;  // a shaded strip's first corner, r << 16 | g << 8 | b
};

PacketItems Collect() {
  PacketItems o;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      if (i->uKind == PCFRAME_KIND_TEXT) o.asText.emplace_back(i->pszText);
      if (i->uKind == PCFRAME_KIND_BOX) {
        o.cBoxes++;
        o.aiBoxColours.push_back(i->aRed[0] << 16 | i->aGreen[0] << 8 | i->aBlue[0]);
      }
      if (i->uKind == PCFRAME_KIND_SHADED_BOX)
        o.aiStripColours.push_back(i->aRed[0] << 16 | i->aGreen[0] << 8 | i->aBlue[0]);
      if (i->uKind == PCFRAME_KIND_SHEET_SPRITE) {
        o.cSheet++;
        o.aiSheetFrames.push_back(i->aiCoord[2]);
      }
    }
  return o;
}

bool Has(const PacketItems& o, const std::string& s) {
  for (const std::string& t : o.asText)
    if (t == s) return true;
  return false;
}

bool HasColour(const PacketItems& o, std::int32_t r, std::int32_t g, std::int32_t b) {
  for (std::int32_t c : o.aiBoxColours)
    if (c == (r << 16 | g << 8 | b)) return true;
  return false;
}

bool HasStrip(const PacketItems& o, std::int32_t r, std::int32_t g, std::int32_t b) {
  return std::find(o.aiStripColours.begin(), o.aiStripColours.end(), r << 16 | g << 8 | b) != o.aiStripColours.end();
}

class CaptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pcframe_Init();
    caption_Init();
    global_Init();
    oDb = DBPlayer{};
    std::snprintf(oDb.szName, sizeof oDb.szName, "%s", "Ulvang");
    oDb.uField88 = 9;
    oPlayer = Player{};
    oPlayer.pDBPlayer = &oDb;
    oPlayer.MyTeam = player_PlaysFor_Home;
  }
  void TearDown() override { pcframe_Shutdown(); }
  // One tick: a new packet, then the captions.
  PacketItems Tick() {
    pcframe_Begin();
    caption_Draw();
    return Collect();
  }
  DBPlayer oDb;
  Player oPlayer;
};

TEST_F(CaptionTest, StandardSlideInHoldOutThenCoolDown) {
  caption_Request(CAPTION_BOOKED, reinterpret_cast<std::intptr_t>(&oPlayer));
  EXPECT_TRUE(caption_bIsBusy());
  // A model of the slide: 4 up a tick until below 190, a hold of 31 ticks,
  // 4 down a tick until above 256.
  std::vector<std::int32_t> aiWant;
  std::int32_t y = 258;
  while (y >= 190) aiWant.push_back(y -= 4);
  for (std::int32_t i = 0; i < 31; i++) aiWant.push_back(y);
  while (y <= 256) aiWant.push_back(y += 4);
  for (std::size_t t = 0; t < aiWant.size(); t++) {
    ASSERT_TRUE(caption_bIsPending()) << t;
    const PacketItems o = Tick();
    ASSERT_EQ(caption_oState.y, aiWant[t]) << t;
    if (t == 0) {
      EXPECT_TRUE(Has(o, "BOOKED"));
      EXPECT_TRUE(Has(o, "Ulvang"));
      EXPECT_TRUE(Has(o, "9"));
    }
  }
  EXPECT_FALSE(caption_bIsPending());
  // Busy for the 15-frame cool-down after the end.
  for (std::int32_t t = 0; t < 15; t++) {
    EXPECT_TRUE(caption_bIsBusy()) << t;
    Tick();
  }
  EXPECT_FALSE(caption_bIsBusy());
}

TEST_F(CaptionTest, RequestDuringASlideReplacesTheTypeWithoutRestarting) {
  caption_Request(CAPTION_BOOKED, reinterpret_cast<std::intptr_t>(&oPlayer));
  for (std::int32_t t = 0; t < 5; t++) Tick();
  EXPECT_EQ(caption_oState.y, 238);
  caption_Request(CAPTION_SENT_OFF, reinterpret_cast<std::intptr_t>(&oPlayer));
  const PacketItems o = Tick();
  EXPECT_EQ(caption_oState.y, 234);
  EXPECT_EQ(caption_iTypeGet(), CAPTION_SENT_OFF);
  EXPECT_TRUE(Has(o, "SENT OFF"));
  EXPECT_FALSE(Has(o, "BOOKED"));
  EXPECT_TRUE(HasColour(o, 250, 0, 63));  // the red card box
}

TEST_F(CaptionTest, UnknownTypeDoesNotStick) {
  caption_Request(42, 0);
  EXPECT_TRUE(caption_bIsPending());
  const PacketItems o = Tick();
  EXPECT_TRUE(o.asText.empty());
  EXPECT_FALSE(caption_bIsPending());
  for (std::int32_t t = 0; t < 15; t++) Tick();
  EXPECT_FALSE(caption_bIsBusy());
}

TEST_F(CaptionTest, ClearEndsAndRestartsTheCoolDown) {
  caption_Request(CAPTION_SHOOTOUT, 0);
  for (std::int32_t t = 0; t < 100; t++) Tick();
  EXPECT_TRUE(caption_bIsPending());  // the shoot-out stays until cleared
  EXPECT_EQ(caption_oState.y, 178);
  caption_Clear();
  EXPECT_FALSE(caption_bIsPending());
  EXPECT_EQ(caption_oState.y, 258);
  EXPECT_EQ(caption_oState.iCooldown, 15);
}

TEST_F(CaptionTest, ShootoutMarksUseSheetFrames) {
  caption_ShootoutMarkSet(0, 0, 1);
  caption_ShootoutMarkSet(1, 0, 0);
  caption_ShootoutMarkSet(0, 1, 1);
  caption_ShootoutMarkSet(2, 0, 1);  // no such team: ignored
  caption_ShootoutMarkSet(0, 5, 1);  // no such kick: ignored
  scene3d_bDisplay3DUp = 1;
  caption_Request(CAPTION_SHOOTOUT, reinterpret_cast<std::intptr_t>(&oPlayer));
  const PacketItems o = Tick();
  scene3d_bDisplay3DUp = 0;
  EXPECT_TRUE(Has(o, "PENALTY SHOOTOUT"));
  EXPECT_EQ(o.cSheet, 3);
  std::int32_t cScored = 0, cMissed = 0;
  for (std::int32_t f : o.aiSheetFrames) (f == 0 ? cScored : cMissed)++;
  EXPECT_EQ(cScored, 2);
  EXPECT_EQ(cMissed, 1);
  for (std::int32_t t = 0; t < 40; t++) Tick();
  EXPECT_EQ(caption_oState.y, 178);
  caption_ShootoutSlideOut();
  std::int32_t n = 0;
  while (caption_bIsPending() && n < 100) {
    Tick();
    n++;
  }
  EXPECT_EQ(n, 20);  // from 258 - 4 x 20 = 178 back above 256
}

TEST_F(CaptionTest, SubstitutionTwoStageSlide) {
  DBPlayer oOff{};
  std::snprintf(oOff.szName, sizeof oOff.szName, "%s", "Tessmer");
  caption_SubstitutionSet(&oDb, &oOff);
  caption_Request(CAPTION_SUBSTITUTION, 0);
  PacketItems o = Tick();
  EXPECT_TRUE(Has(o, "SUBSTITUTION"));
  EXPECT_TRUE(Has(o, "OFF"));
  EXPECT_TRUE(Has(o, "Tessmer"));
  bool bSawOn = false;
  std::int32_t n = 1;
  while (caption_bIsPending() && n < 1000) {
    o = Tick();
    if (Has(o, "ON")) {
      bSawOn = true;
      EXPECT_TRUE(Has(o, "Ulvang"));
    }
    n++;
  }
  EXPECT_TRUE(bSawOn);
  // 27 up (3 a tick to 177), 31 held, 27 out and 27 back, 31 held, 40 out at 2 a tick.
  EXPECT_EQ(n, 27 + 31 + 27 + 27 + 31 + 40);
}

TEST_F(CaptionTest, GoalStripBySideAndTraining) {
  const struct {
    std::int32_t iTeam;
    GameMode eKind;
    std::int32_t iStripX;
  } aoCases[] = {{player_PlaysFor_Home, GAME_MODE_START_FRIENDLY, 60},
                 {player_PlaysFor_Away, GAME_MODE_START_FRIENDLY, 340},
                 {player_PlaysFor_Away, GAME_MODE_START_TRAINING, 200}};
  for (const auto& c : aoCases) {
    caption_Init();
    oPlayer.MyTeam = c.iTeam;
    global_SetExtendedGameMode(c.eKind);
    caption_Request(CAPTION_GOAL, reinterpret_cast<std::intptr_t>(&oPlayer));
    Tick();
    EXPECT_EQ(caption_oState.iStripX, c.iStripX);
    std::int32_t n = 1;
    while (caption_bIsPending() && n < 1000) {
      Tick();
      n++;
    }
    // 38 ticks of side boxes to 300 (the last one clamps), 15 up, 31 held, 38 out.
    EXPECT_EQ(n, 38 + 15 + 31 + 38);
  }
}

// A goal in a match shows both team boxes with their scores; training has no
// away side, so its goal shows the home box and the scorer only (no away
// box, no away score).
TEST_F(CaptionTest, ATrainingGoalShowsTheScorerAndNoAwayBox) {
  match.HomeGoals = 3;
  match.AwayGoals = 7;
  for (const GameMode eKind : {GAME_MODE_START_FRIENDLY, GAME_MODE_START_TRAINING}) {
    caption_Init();
    global_SetExtendedGameMode(eKind);
    caption_Request(CAPTION_GOAL, reinterpret_cast<std::intptr_t>(&oPlayer));
    PacketItems o;
    for (int i = 0; i < 60; i++) o = Tick();  // the boxes are in, the strip up
    const bool bMatch = eKind == GAME_MODE_START_FRIENDLY;
    EXPECT_TRUE(Has(o, "3")) << eKind;
    EXPECT_TRUE(HasStrip(o, 110, 13, 8)) << eKind;  // the home box
    EXPECT_EQ(Has(o, "7"), bMatch) << eKind;
    EXPECT_EQ(HasStrip(o, 23, 52, 190), bMatch) << eKind;  // the away box
    bool bScorer = false;
    for (const std::string& t : o.asText) bScorer = bScorer || t.find("Ulvang") != std::string::npos;
    EXPECT_TRUE(bScorer) << eKind;
  }
  match.HomeGoals = match.AwayGoals = 0;
}

TEST_F(CaptionTest, SharesAndThirds) {
  const struct {
    std::int32_t h, a, wantH, wantA;
  } aoShares[] = {{0, 0, 50, 50}, {1, 2, 33, 67}, {2, 1, 66, 34}, {5, 0, 100, 0}, {0, 7, 0, 100},
                  {1000000, 3000000, 25, 75}, {-5, 3, 0, 100}};
  for (const auto& c : aoShares) {
    std::int32_t h, a;
    caption_SharesGet(c.h, c.a, &h, &a);
    EXPECT_EQ(h, c.wantH) << c.h << " " << c.a;
    EXPECT_EQ(a, c.wantA) << c.h << " " << c.a;
  }
  const struct {
    std::int32_t ai[3], want[3];
  } aoThirds[] = {{{1, 1, 1}, {33, 34, 33}}, {{2, 0, 1}, {67, 0, 33}}, {{0, 0, 0}, {0, 100, 0}},
                  {{1, 0, 1}, {50, 0, 50}},  {{1, 1, 0}, {50, 50, 0}}, {{5, 90, 5}, {5, 90, 5}}};
  for (const auto& c : aoThirds) {
    std::int32_t o[3];
    caption_ThirdsGet(c.ai, o);
    for (int i = 0; i < 3; i++) EXPECT_EQ(o[i], c.want[i]) << i;
  }
}

TEST_F(CaptionTest, StatisticsAndActionAreaPages) {
  match_Clear();
  gstatso_Clear(&match.HomeTeam.MatchStats);
  gstatso_Clear(&match.AwayTeam.MatchStats);
  for (int i = 0; i < 3; i++) gstatso_ShotAdd(&match.HomeTeam.MatchStats);
  gstatso_CornerAdd(&match.AwayTeam.MatchStats);
  gstatso_PossessionAdd(&match.HomeTeam.MatchStats, 1);
  gstatso_PossessionAdd(&match.AwayTeam.MatchStats, 2);
  caption_Request(CAPTION_STATS_FULL, 0);
  PacketItems o = Tick();
  EXPECT_TRUE(Has(o, "FULL TIME"));
  EXPECT_TRUE(Has(o, "SHOTS"));
  EXPECT_TRUE(Has(o, "POSSESSION"));
  EXPECT_TRUE(Has(o, "3"));
  EXPECT_TRUE(Has(o, "33%"));
  EXPECT_TRUE(Has(o, "67%"));
  EXPECT_TRUE(caption_bIsPending());  // the pages stay while requested

  // The thirds: read in the other order at full time.
  gstatso_ActionArea0Add(&match.HomeTeam.MatchStats, 2);
  gstatso_ActionArea2Add(&match.HomeTeam.MatchStats, 1);
  caption_Request(CAPTION_AREAS_HALF, 0);
  o = Tick();
  EXPECT_TRUE(Has(o, "HALF TIME ACTION AREAS"));
  std::vector<std::string> asPct;
  for (const std::string& s : o.asText)
    if (!s.empty() && s.back() == '%') asPct.push_back(s);
  ASSERT_EQ(asPct.size(), 3u);
  caption_Request(CAPTION_AREAS_FULL, 0);
  o = Tick();
  EXPECT_TRUE(Has(o, "FULL TIME ACTION AREAS"));
  EXPECT_TRUE(Has(o, "67%"));
  EXPECT_TRUE(Has(o, "33%"));
  EXPECT_TRUE(Has(o, "0%"));
  caption_Clear();
}

TEST_F(CaptionTest, ScorersScrollAndShootoutGoals) {
  match_Clear();
  gstatso_Clear(&match.HomeTeam.MatchStats);
  gstatso_Clear(&match.AwayTeam.MatchStats);
  MatchStats& s = match.HomeTeam.MatchStats;
  for (std::int32_t i = 0; i < 14; i++) {
    s.GoalScorer[i] = &oDb;
    s.GoalMinute[i] = static_cast<std::uint8_t>(i < 13 ? 10 + i : 121);
    s.GoalKind[i] = 0;
  }
  s.GoalCount = 14;
  caption_ScorersScrollReset();
  for (std::int32_t i = 0; i < 5; i++) caption_ScorersScrollDown();
  EXPECT_EQ(caption_oState.iScroll, 2);
  caption_Request(CAPTION_SCORERS_FULL, 0);
  PacketItems o = Tick();
  EXPECT_TRUE(Has(o, "P"));    // the shoot-out goal after minute 120
  EXPECT_FALSE(Has(o, "11"));  // scrolled past the first two rows
  EXPECT_TRUE(Has(o, "12"));
  for (std::int32_t i = 0; i < 5; i++) caption_ScorersScrollUp();
  EXPECT_EQ(caption_oState.iScroll, 0);
  caption_Clear();
}

TEST_F(CaptionTest, CardBoxByGameKind) {
  // Editions from 1970 on always show it; the conditions-screen games too.
  global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  EXPECT_TRUE(caption_bCardBoxShown());
  caption_Request(CAPTION_BOOKED, reinterpret_cast<std::intptr_t>(&oPlayer));
  const PacketItems o = Tick();
  EXPECT_TRUE(HasColour(o, 229, 199, 0));
}

// The insert-controller message belongs to the match: it is drawn in the
// match's (On Screen Text) language, not the menus', each way round.
TEST_F(CaptionTest, TheControllerMessageIsInTheLanguageOfTheMatch) {
  const std::int32_t iMenus = mlang_iLanguage;
  for (const auto& [iMenuLanguage, iMatchLanguage] : {std::pair{LANGUAGE_ENGLISH, LANGUAGE_GERMAN},
                                                      std::pair{LANGUAGE_FRENCH, LANGUAGE_ENGLISH}}) {
    mlang_iLanguage = iMenuLanguage;
    gstatso_LanguageSet(iMatchLanguage);
    g_bControllerMissing = true;
    pcframe_Begin();
    const std::int32_t bShown = caption_ControllerMsgDraw();
    const PacketItems o = Collect();
    g_bControllerMissing = false;
    gstatso_LanguageSet(-1);
    mlang_iLanguage = iMenus;
    const char* pszMatch = glstr_apszStrings[iMatchLanguage][IDS_GLOBAL_INSERT_CONTROLLER];
    const char* pszMenus = glstr_apszStrings[iMenuLanguage][IDS_GLOBAL_INSERT_CONTROLLER];
    ASSERT_STRNE(pszMatch, pszMenus);
    EXPECT_EQ(bShown, 1);
    EXPECT_TRUE(Has(o, pszMatch)) << iMatchLanguage;
    EXPECT_FALSE(Has(o, pszMenus)) << iMenuLanguage;
  }
  pcframe_Begin();
  EXPECT_EQ(caption_ControllerMsgDraw(), 0);  // none missing: nothing drawn
  EXPECT_TRUE(Collect().asText.empty());
}

TEST_F(CaptionTest, PossessionPeriodicAndPanels) {
  global_SetGameMode(GAME_MODE_GOAL_KICK);
  caption_PossessionPeriodic();
  EXPECT_FALSE(caption_bIsPending());  // the clock has not passed 30 minutes
  caption_oState.iLastPossession = -60000;
  caption_PossessionPeriodic();
  EXPECT_TRUE(caption_bIsPending());
  EXPECT_EQ(caption_iTypeGet(), CAPTION_POSSESSION);
  caption_Init();
  pcframe_Begin();
  caption_PanelDraw(100, 50, 128, 200, 80);
  caption_LineCentred("Camera", 20);
  PacketItems o = Collect();
  EXPECT_EQ(std::count(o.asText.begin(), o.asText.end(), "Camera"), 2);  // text and shadow
  EXPECT_EQ(caption_ControllerMsgDraw(), 0);
}

}  // namespace
