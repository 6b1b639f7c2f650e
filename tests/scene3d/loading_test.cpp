#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "fake_device.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "engine/anim.h"
#include "engine/player.h"
#include "scene3d/kits3d.h"
#include "scene3d/kits_slots.h"
#include "scene3d/loading.h"
#include "scene3d/pcframe.h"
#include "tournament/dbplayer.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_query.h"
#include "scene3d/scene3d_state.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "shell/texts_data.h"
#include "tournament/squad.h"
#include "tournament/tla.h"

namespace {

using Calls = std::vector<std::string>;

struct LoadingTest : ::testing::Test {
  RecordingDevice device;
  void SetUp() override {
    pcframe_Init();
    scene3d_StartOnDevice(&device, 1, 640, 480);
    loading_bRunStep(0);
    device.calls.clear();
  }
  void TearDown() override {
    scene3d_StopOnDevice();
    pcframe_Shutdown();
  }
  // The sweep vertex counts drawn in a frame's calls.
  static std::vector<int> Sweeps(const Calls& c) {
    std::vector<int> n;
    for (const std::string& s : c)
      if (s.rfind("VertexListDraw ", 0) == 0) n.push_back(std::stoi(s.substr(15)));
    return n;
  }
  static int Count(const Calls& c, const std::string& prefix) {
    return static_cast<int>(std::count_if(c.begin(), c.end(), [&](const std::string& s) { return s.rfind(prefix, 0) == 0; }));
  }
};

TEST_F(LoadingTest, OneStepAFrameTheScreenTwiceThePagesAndTheProgress) {
  std::vector<int> stepOfFrame;
  std::vector<float> progress;
  int frames = 0, done = 0;
  Calls screen1, screen2, pages;
  while (frames < 400) {
    device.calls.clear();
    stepOfFrame.push_back(loading_iStep);
    loading_fLastProgress = -1.0f;
    done = loading_bRunStep(1);
    ++frames;
    progress.push_back(loading_fLastProgress);
    // Every frame is one scene, presented and kept.
    ASSERT_EQ(device.calls.front(), "SceneBegin");
    ASSERT_EQ(device.calls[1], "RenderStateSet 11 0");
    ASSERT_EQ(device.calls[2], "RenderStateSet 3 8");
    ASSERT_EQ(device.calls[device.calls.size() - 2], "SceneEnd");
    ASSERT_EQ(device.calls.back(), "Present 0");
    if (frames == 2) screen1 = device.calls;
    if (frames == 3) screen2 = device.calls;
    if (frames == 9) pages = device.calls;
    if (done) break;
  }
  // 1, 2 twice, 3..7, 8 over 1 + 145 + 2 frames, 9..13.
  EXPECT_EQ(frames, 1 + 2 + 5 + 148 + 5);
  EXPECT_EQ(done, 1);
  EXPECT_EQ(stepOfFrame[1], 1);
  EXPECT_EQ(stepOfFrame[2], 1);
  EXPECT_EQ(stepOfFrame[3], 2);
  // The loading screen on two frames: backdrop, two logo halves, the clock
  // with no sweep at 0, the texts (the one of text 10 at least).
  for (const Calls* c : {&screen1, &screen2}) {
    EXPECT_EQ(Count(*c, "ScreenQuadDraw 2 0 0 640 480"), 1);
    EXPECT_EQ(Count(*c, "ScreenQuadDraw 2 32 376 160 440"), 1);
    EXPECT_EQ(Count(*c, "ScreenQuadDraw 2 490 245 618 309"), 1);
    EXPECT_EQ(Count(*c, "ScreenQuadDraw 2 490 309 618 437"), 1);
    EXPECT_TRUE(Sweeps(*c).empty());
    EXPECT_GE(Count(*c, "TextDraw"), 2);
    EXPECT_EQ(Count(*c, "Clear"), 1);
  }
  // The second showing frees the fonts and the screen's textures.
  EXPECT_EQ(Count(screen1, "TextureFree"), 0);
  EXPECT_GE(Count(screen2, "TextureFree"), 2);
  // Step 8: seven grey pages made, no piece named: no page image loaded.
  EXPECT_EQ(Count(pages, "ImageCreate 256x256"), 7);
  // Progress by frame: none for step 1, 0 for the screen, then the table.
  const std::vector<std::pair<int, float>> want = {
      {1, 0.0f},    {2, 0.0f},   {3, 0.05f},  {4, 0.1f},   {5, 0.15f},  {6, 0.25f},  {7, 0.3f},
      {8, 0.325f},  {9, 0.4f + 0.3f / 145},   {153, 0.4f + 145 * 0.3f / 145}, {154, 0.75f}, {155, 0.8f},
      {156, 0.825f}, {157, 0.85f}, {158, 0.9f}, {159, 0.95f}, {160, 1.0f}};
  EXPECT_EQ(progress[0], -1.0f);
  for (const auto& [frame, f] : want) EXPECT_FLOAT_EQ(progress[static_cast<size_t>(frame)], f) << frame;
  // The page textures: registered under their names with their materials.
  for (int i = 0; i < LOADING_PAGES; ++i) {
    ASSERT_NE(loading_apoPageTexture[i], nullptr);
    EXPECT_EQ(std::string(loading_apoPageTexture[i]->oHeader.szName), "PlayerPage" + std::to_string(i));
  }
  for (Q3DMaterial* m : loading_apoPageMaterial) EXPECT_NE(m, nullptr);
  // The composed pages stay for heads named later, until the release.
  EXPECT_EQ(device.liveImages, LOADING_PAGES);
  EXPECT_NE(scene3d_poSpriteSheet, nullptr);
  EXPECT_NE(scene3d_apoFont[0], nullptr);
  EXPECT_NE(scene3d_poScene->poShadowTexture, nullptr);
}

// A piece named after the pages were composed (a head first worn by a
// substitute) is loaded into its page, and only that page goes to the device
// again; nothing new, nothing loaded.
TEST_F(LoadingTest, APieceNamedAfterThePagesAreComposedJoinsItsPage) {
  EXPECT_EQ(loading_PiecesRefresh(), 0);  // no pages yet
  while (loading_bRunStep(1) == 0) {
  }
  device.calls.clear();
  EXPECT_EQ(loading_PiecesRefresh(), 0);
  EXPECT_TRUE(device.calls.empty());
  LoadingPiece& head = loading_aoPieces[45];
  head = LoadingPiece{128, 32, 32, 32, 5, "head\\face\\short\\white.tga"};
  EXPECT_EQ(loading_PiecesRefresh(), 1);
  EXPECT_EQ(Count(device.calls, "ImageCreate 32x32"), 1);
  EXPECT_EQ(Count(device.calls, "TextureRegister"), 1);
  EXPECT_EQ(device.liveImages, LOADING_PAGES);
  device.calls.clear();
  EXPECT_EQ(loading_PiecesRefresh(), 0);
  EXPECT_TRUE(device.calls.empty());
  loading_Release();
  EXPECT_EQ(device.liveImages, 0);
}

// A substitute coming on after loading, whose head no one on the pages
// wears, is dressed in the kit of the player he replaces and his head joins
// the pages in the frame he first appears in.
TEST_F(LoadingTest, ASubstitutesNewHeadJoinsThePagesWhenHeFirstAppears) {
  anim_TableInit();
  kits_Choose("BRA", 9, "ITA", 9);
  while (loading_bRunStep(1) == 0) {
  }
  static DBPlayer outDb{}, inDb{};
  outDb.uAppearance = 0x0100 | 0x38;  // short hair, white
  inDb.uAppearance = 0x00C0 | 0x10;   // long hair, black: on no page yet
  outDb.uField88 = 4;
  inDb.uField88 = 12;
  static Player out{}, in{};
  out.pDBPlayer = &outDb;
  in.pDBPlayer = &inDb;
  out.MyTeam = in.MyTeam = player_PlaysFor_Home;
  static FramePacket packet{};
  auto frame = [&](Player* p) {
    PacketPlayer& e = packet.aoHome[0];
    e = PacketPlayer{};
    e.poPlayer = p;
    e.pAnimation = anim_RecordGet(ANIM_STAND)->pfPose;
    packet.aiSnapshotCounts[PCFRAME_COUNT_HOME] = 1;
    device.calls.clear();
    players3d_FrameUpdate(&packet);
  };
  frame(&out);
  // His face is named once he is dressed; it was on no page.
  kits_CopyAppearance(&in, &out);
  frame(&in);
  EXPECT_GE(Count(device.calls, "ImageCreate 32x32"), 4);  // face, face side, head back, head top
  EXPECT_GE(Count(device.calls, "TextureRegister"), 1);
  EXPECT_EQ(loading_PiecesRefresh(), 0);  // every named piece is on its page
  Player3D* o = kits_poObjectFor(&in, &inDb, 0);
  const int32_t face = o->auSlots[9];
  EXPECT_STREQ(loading_aoPieces[face].szImage, "head\\face\\long\\black.tga");
  EXPECT_EQ(o->auSlots[17], KITS_FIRST_NUMBER_SLOT + 11);
  // The next frame loads nothing.
  frame(&in);
  EXPECT_EQ(Count(device.calls, "ImageCreate"), 0);
  kits_PlayerObjectsFree();
}

TEST_F(LoadingTest, RestartingGoesBackToTheFirstStep) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(loading_bRunStep(1), 0);
  EXPECT_EQ(loading_iStep, 4);
  device.calls.clear();
  EXPECT_EQ(loading_bRunStep(0), 0);
  EXPECT_TRUE(device.calls.empty());
  EXPECT_EQ(loading_iStep, 0);
  loading_bRunStep(1);
  EXPECT_EQ(loading_iStep, 1);
  device.calls.clear();
  loading_bRunStep(1);  // the loading screen again, not yet finished
  EXPECT_EQ(loading_iStep, 1);
  EXPECT_EQ(Count(device.calls, "ScreenQuadDraw 2 0 0 640 480"), 1);
}

TEST_F(LoadingTest, TheProgressClockSweepsOneSegmentPer32nd) {
  loading_bRunStep(1);  // builds the sweep
  const Q3DScreenVertex* v = loading_SweepGet();
  EXPECT_FLOAT_EQ(v[0].x, 554.0f);
  EXPECT_FLOAT_EQ(v[0].y, 373.0f);
  EXPECT_NEAR(v[1].x, 554.0f, 1e-4);  // straight up
  EXPECT_NEAR(v[1].y, 373.0f - 48.0f, 1e-4);
  EXPECT_NEAR(v[9].x, 554.0f + 48.0f, 1e-4);  // a quarter clockwise
  EXPECT_NEAR(v[9].y, 373.0f, 1e-4);
  EXPECT_FLOAT_EQ(v[33].x, v[1].x);
  EXPECT_FLOAT_EQ(v[33].y, v[1].y);
  EXPECT_EQ(v[5].oColour.r, 128);
  EXPECT_EQ(v[5].oColour.a, 64);
  const struct {
    float f;
    std::vector<int> sweeps;
  } cases[] = {{0.0f, {}}, {0.03f, {}}, {0.05f, {3}}, {0.5f, {18}}, {0.99f, {33}}, {1.0f, {34}}};
  for (int software : {1, 0}) {
    scene3d_bSoftware = software;
    for (const auto& c : cases) {
      device.calls.clear();
      loading_ProgressDraw(c.f);
      EXPECT_EQ(Sweeps(device.calls), c.sweeps) << c.f;
      if (!c.sweeps.empty()) {
        // Flat colour on the software device, the vertices' own elsewhere.
        EXPECT_EQ(Count(device.calls, software ? "RenderStateSet 4 3" : "RenderStateSet 4 12"), 1);
        EXPECT_EQ(Count(device.calls, "ParameterSet 1 128,0,0,64"), software ? 1 : 0);
      }
    }
  }
  // At another screen size the clock scales by the x factor.
  scene3d_StopOnDevice();
  scene3d_StartOnDevice(&device, 1, 1280, 960);
  loading_bRunStep(0);
  loading_bRunStep(1);
  EXPECT_FLOAT_EQ(loading_SweepGet()[0].x, 1108.0f);
  EXPECT_NEAR(loading_SweepGet()[9].x, 1108.0f + 96.0f, 1e-3);
}

// The loading screen names the city of the match's stadium in the current
// language, below the away team, with its shadow a pixel right and down.
TEST_F(LoadingTest, TheScreenNamesTheStadiumsCityInTheCurrentLanguage) {
  const int32_t keepStadium = environ_StadiumGet(), keepLanguage = mlang_iLanguage;
  const struct {
    int32_t stadium, language;
    const char* city;
  } cases[] = {{3, 0, "Algiers"}, {3, 1, "Alger"}, {3, 2, "Algier"}, {117, 2, "Munchen"}, {0, 0, "Kabul"}};
  for (const auto& c : cases) {
    environ_StadiumSet(c.stadium);
    mlang_iLanguage = c.language;
    loading_bRunStep(0);
    loading_bRunStep(1);
    device.calls.clear();
    loading_bRunStep(1);  // the loading screen
    const std::string font = std::to_string(scene3d_apoFont[0]->iHandle);
    EXPECT_EQ(Count(device.calls, "TextDraw " + font + " 49 249 0 " + c.city), 1) << c.city;
    EXPECT_EQ(Count(device.calls, "TextDraw " + font + " 48 248 0 " + c.city), 1) << c.city;
  }
  // A stadium id outside the table leaves the line empty.
  environ_StadiumSet(400);
  EXPECT_STREQ(scene3d_pszCityNameGet(), "");
  environ_StadiumSet(keepStadium);
  mlang_iLanguage = keepLanguage;
}

// The loading screen names each side whole where its name keeps to one line
// of the screen beside its year, else by its short name.
TEST_F(LoadingTest, EachTeamIsNamedWholeWhereItsLineHoldsItElseByItsShortName) {
  const GameMode keepMode = global.eExtendedGameMode;
  const int32_t keepLanguage = mlang_iLanguage;
  Squad* const keepSquads[2] = {match.HomeTeam.Squad, match.AwayTeam.Squad};
  Squad aSquads[2]{};
  match.HomeTeam.Squad = &aSquads[0];
  match.AwayTeam.Squad = &aSquads[1];
  aSquads[0].iEdition = aSquads[1].iEdition = 10;  // "98"
  global.eExtendedGameMode = static_cast<GameMode>(50);  // a friendly: the names with their years
  const auto IdOf = [](const char* psz) {
    for (int32_t i = 1; i < TLA_COUNT; i++)
      if (std::string(tla_DisplayNameGet(i)) == psz) return i;
    return 0;
  };
  // What the screen draws for a text: every character through the remap.
  const auto Drawn = [](std::string s) {
    for (char& c : s) c = static_cast<char>(pcframe_CharRemap(static_cast<uint8_t>(c)));
    return s;
  };
  const struct {
    int32_t w, h, language;
    const char *home, *away, *homeShown, *awayShown;
  } cases[] = {
      // 34 characters a line at 640, 21 at 400, 17 at 320.
      {640, 480, 0, "United States of America", "Netherlands Antilles", "United States of America 98",
       "Netherlands Antilles 98"},
      {400, 300, 0, "United States of America", "Netherlands Antilles", "USA 98", "N.Antilles 98"},
      {640, 480, 1, "Tch\351coslovaquie", "Pays de Galles", "Tch\351coslovaquie 98", "Pays de Galles 98"},
      {320, 240, 1, "Tch\351coslovaquie", "Pays de Galles", "Tch\351coslova. 98", "Pays de Galles 98"},
  };
  for (const auto& c : cases) {
    scene3d_StopOnDevice();
    scene3d_StartOnDevice(&device, 1, static_cast<uint32_t>(c.w), static_cast<uint32_t>(c.h));
    mlang_iLanguage = c.language;
    aSquads[0].iTeamId = IdOf(c.home);
    aSquads[1].iTeamId = IdOf(c.away);
    ASSERT_GT(aSquads[0].iTeamId, 0) << c.home;
    ASSERT_GT(aSquads[1].iTeamId, 0) << c.away;
    loading_bRunStep(0);
    loading_bRunStep(1);
    device.calls.clear();
    loading_bRunStep(1);  // the loading screen
    std::vector<std::string> texts;
    for (const std::string& call : device.calls) {
      std::istringstream in(call);
      std::string kind, text;
      int font = 0, x = 0, y = 0;
      unsigned align = 0;
      if (!(in >> kind >> font >> x >> y >> align) || kind != "TextDraw") continue;
      std::getline(in, text);
      texts.push_back(text.substr(1));
    }
    for (const char* shown : {c.homeShown, c.awayShown})
      EXPECT_EQ(std::count(texts.begin(), texts.end(), Drawn(shown)), 2) << c.w << ": " << shown;  // with its shadow
  }
  scene3d_StopOnDevice();
  scene3d_StartOnDevice(&device, 1, 640, 480);
  match.HomeTeam.Squad = keepSquads[0];
  match.AwayTeam.Squad = keepSquads[1];
  global.eExtendedGameMode = keepMode;
  mlang_iLanguage = keepLanguage;
}

// A loading-screen text in the lines a screen's width holds: broken at the
// last blank that fits, the blanks of a break dropped, a word longer than a
// line broken where the line ends.
TEST(LoadingTextLines, BreakAtTheLastBlankThatFits) {
  using V = std::vector<std::string>;
  EXPECT_EQ(loading_TextLines("Coupe du Monde 1er tour", 34), V{"Coupe du Monde 1er tour"});
  EXPECT_EQ(loading_TextLines("Coupe du Monde 1er tour", 23), V{"Coupe du Monde 1er tour"});
  EXPECT_EQ(loading_TextLines("Coupe du Monde 1er tour", 22), (V{"Coupe du Monde 1er", "tour"}));
  EXPECT_EQ(loading_TextLines("Coupe du Monde 1er tour", 17), (V{"Coupe du Monde", "1er tour"}));
  EXPECT_EQ(loading_TextLines("Coupe du Monde match pour la 3e place", 34), (V{"Coupe du Monde match pour la 3e", "place"}));
  EXPECT_EQ(loading_TextLines("Weltmeisterschaft 1958", 10), (V{"Weltmeiste", "rschaft", "1958"}));
  EXPECT_EQ(loading_TextLines("a  b", 1), (V{"a", "b"}));
  EXPECT_EQ(loading_TextLines("", 34), V{});
  EXPECT_EQ(loading_TextLines(nullptr, 34), V{});
}

std::string Unblanked(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
  return s;
}

// Every language's titles of the loading screen (the history's rounds, the
// demonstration, the friendly and the training) and its bottom line, drawn
// at 640 x 480 and at two smaller screens: every line keeps a margin as wide
// as the left one (48 of 640) from the right edge as well, and the lines
// give the whole text (a word longer than a line broken where it ends).
TEST_F(LoadingTest, EveryTitleKeepsToTheScreenInEveryLanguage) {
  const GameMode keepMode = global.eExtendedGameMode;
  const int32_t keepLanguage = mlang_iLanguage;
  const struct {
    int32_t w, h;
  } screens[] = {{640, 480}, {400, 300}, {320, 240}};
  int cWrapped640 = 0;
  for (const auto& sc : screens) {
    scene3d_StopOnDevice();
    scene3d_StartOnDevice(&device, 1, static_cast<uint32_t>(sc.w), static_cast<uint32_t>(sc.h));
    const int32_t margin = 48 * sc.w / 640;
    for (int32_t l = 0; l < TEXT_LANGUAGE_MAX; l++) {
      mlang_iLanguage = l;
      // The history's round titles through the line breaking the screen uses.
      for (int32_t id = 182; id <= 189; id++) {
        const std::vector<std::string> lines = loading_TextLines(festr_IDToStr(id), (sc.w - 2 * margin) / 16);
        std::string whole;
        for (const std::string& s : lines) {
          EXPECT_LE(margin + 16 * static_cast<int32_t>(s.size()), sc.w - margin) << s;
          whole += (whole.empty() ? "" : " ") + s;
        }
        EXPECT_EQ(Unblanked(whole), Unblanked(festr_IDToStr(id))) << sc.w;
        if (sc.w == 640 && lines.size() > 1) cWrapped640++;
      }
      // The screen itself in the demonstration, the friendly and the training.
      for (int32_t mode : {15, 50, 39}) {
        global.eExtendedGameMode = static_cast<GameMode>(mode);
        loading_bRunStep(0);
        loading_bRunStep(1);
        device.calls.clear();
        loading_bRunStep(1);  // the loading screen
        const char* title = festr_IDToStr(mode == 15 ? IDS_FE_DEMO_MATCH : mode == 50 ? IDS_FE_FRIENDLY_MATCH : IDS_FE_TRAINING_SESSION);
        std::string shown;
        int cTexts = 0;
        for (size_t i = 0; i < device.calls.size(); ++i) {
          std::istringstream in(device.calls[i]);
          std::string kind;
          int font = 0, x = 0, y = 0;
          unsigned align = 0;
          if (!(in >> kind >> font >> x >> y >> align) || kind != "TextDraw") continue;
          std::string text;
          std::getline(in, text);
          text = text.substr(1);
          if (++cTexts % 2 == 1) continue;  // the shadow
          const int32_t w = 16 * static_cast<int32_t>(text.size());
          const int32_t left = align == 2 ? x - w / 2 : x;
          EXPECT_GE(left, margin) << sc.w << " " << text;
          EXPECT_LE(left + w, sc.w - margin) << sc.w << " " << text;
          EXPECT_GE(y, 0) << text;
          if (y < 108 * sc.h / 480) shown += (shown.empty() ? "" : " ") + text;
        }
        EXPECT_EQ(Unblanked(shown), Unblanked(title)) << sc.w << " language " << l;
      }
    }
  }
  EXPECT_GE(cWrapped640, 1);  // the French third-place play-off at least
  scene3d_StopOnDevice();
  scene3d_StartOnDevice(&device, 1, 640, 480);
  global.eExtendedGameMode = keepMode;
  mlang_iLanguage = keepLanguage;
}

}  // namespace
