// Every page of text over the match drawn with the longest team and player
// names, in all six languages: the score strip and name lines, the slide-in
// captions, the half-time and full-time pages, the pause and substitution
// menus, the bench and the line-up panels. The frame packet of each is
// checked before it is drawn: no two texts may overlap, a text drawn over a
// panel must lie wholly inside panels, none may cross a divider or a marker,
// none may leave the screen, and none in another language may show an English
// text its own table translates. Each page is then drawn by the software renderer
// and, when KORVENA_CAPTURE_DIR names a folder, written out to its
// matchtext/ folder to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "../scene3d/capture_shot.h"
#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/team.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/caption.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/menu.h"
#include "matchflow/mformation.h"
#include "matchflow/pausemenu.h"
#include "matchflow/replay.h"
#include "matchflow/subs.h"
#include "render3d/q3d.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/vidselect.h"
#include "scene3d/pcframe.h"
#include "scene3d/scene3d.h"
#include "shell/global.h"
#include "shell/pcinstall.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "support/headless_env.h"
#include "support/team_names.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"

namespace {

namespace fs = std::filesystem;

void Up() {
  const fs::path root = korvena_test::HeadlessRoot();
  std::error_code ec;
  korvena_test::RendererLibrariesCopy();
  fs::copy(fs::path(korvena_test::BuildDir()) / "data" / "textures", root / "data" / "textures",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  QDLDeviceInfoFileNameSet((root / "dxinfo.bin").string().c_str());
  std::strcpy(pcinstall_szTexturePath, "..\\data\\textures\\");
}

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-matchtext", true, Up, nullptr});

constexpr int kScreenW = 640, kScreenH = 480, kCell = 16;

struct Rect {
  int x0, y0, x1, y1;  // x1, y1 exclusive
  bool Overlaps(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
  bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

struct TextBox {
  std::string s;
  Rect r;
};

std::string Show(const TextBox& t) {
  char sz[160];
  std::snprintf(sz, sizeof sz, "\"%s\" (%d,%d)-(%d,%d)", t.s.c_str(), t.r.x0, t.r.y0, t.r.x1, t.r.y1);
  return sz;
}

// A black text a pixel or two from the same text in another colour is that
// text's shadow, part of it.
bool IsShadow(const DrawItem* i) {
  if (i->aRed[0] != 0 || i->aGreen[0] != 0 || i->aBlue[0] != 0) return false;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* o = l->poFirstItem; o; o = o->pNext)
      if (o != i && o->uKind == PCFRAME_KIND_TEXT && o->pszText && std::strcmp(o->pszText, i->pszText) == 0 &&
          (o->aRed[0] | o->aGreen[0] | o->aBlue[0]) != 0 && std::abs(o->aiCoord[0] - i->aiCoord[0]) <= 2 &&
          std::abs(o->aiCoord[1] - i->aiCoord[1]) <= 2)
        return true;
  return false;
}

// The texts and boxes of the current packet in screen pixels, as the
// renderer places them: every character in a 16-pixel cell. A shadow's cells
// are its text's moved by a pixel: that pixel may lie on a neighbour that
// its text touches.
void PacketRead(std::vector<TextBox>* paTexts, std::vector<Rect>* paBoxes) {
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      const int16_t* c = i->aiCoord;
      if (i->uKind == PCFRAME_KIND_TEXT && i->pszText && i->pszText[0]) {
        const int w = kCell * static_cast<int>(std::strlen(i->pszText));
        int x = c[0];
        if (c[3] == 1) x -= w;
        else if (c[3] == 2) x -= w / 2;
        const int m = IsShadow(i) ? 1 : 0;
        paTexts->push_back({i->pszText, {x + m, c[1] + m, x + w - m, c[1] + kCell - m}});
      } else if (i->uKind == PCFRAME_KIND_BOX || i->uKind == PCFRAME_KIND_SHADED_BOX) {
        paBoxes->push_back({std::min(c[0], c[2]), std::min(c[1], c[3]), std::max(c[0], c[2]), std::max(c[1], c[3])});
      }
    }
}

// A box more than two pixels high is a panel or a marker: vertical dividers
// and the small squares, card boxes and bars set beside a text are markers;
// anything larger is a panel.
bool IsPanel(const Rect& b) {
  const int w = b.x1 - b.x0, h = b.y1 - b.y0;
  return h > 2 && !(w <= 2 || (w <= 16 && h <= 32));
}

// The faults of the current packet's layout, one line each. With
// bAllInPanels every text must lie in panels, else texts may also stand
// free on the screen.
std::vector<std::string> LayoutFaults(bool bAllInPanels) {
  std::vector<TextBox> aTexts;
  std::vector<Rect> aBoxes;
  PacketRead(&aTexts, &aBoxes);
  std::vector<Rect> aPanels, aMarks;
  for (const Rect& b : aBoxes) {
    if (b.y1 - b.y0 <= 2) continue;  // a frame's edge or a bar under a text
    (IsPanel(b) ? aPanels : aMarks).push_back(b);
  }
  std::vector<std::string> a;
  for (size_t i = 0; i < aTexts.size(); i++) {
    const TextBox& t = aTexts[i];
    if (t.r.x0 < 0 || t.r.y0 < 0 || t.r.x1 > kScreenW || t.r.y1 > kScreenH) a.push_back("off the screen: " + Show(t));
    for (size_t j = i + 1; j < aTexts.size(); j++) {
      const TextBox& u = aTexts[j];
      const bool bShadow = t.s == u.s && std::abs(t.r.x0 - u.r.x0) <= 2 && std::abs(t.r.y0 - u.r.y0) <= 2;
      if (bShadow) continue;
      if (t.r.Overlaps(u.r)) {
        a.push_back("overlap: " + Show(t) + " and " + Show(u));
        continue;
      }
      // Two texts on one line closer than 6 pixels read as one ("Croatia0 - 5"),
      // unless one is the clock's separator.
      const bool bSameLine = t.r.y0 < u.r.y1 && u.r.y0 < t.r.y1;
      const int iApart = std::max(t.r.x0 - u.r.x1, u.r.x0 - t.r.x1);
      if (bSameLine && iApart < 6 && t.s != ":" && u.s != ":")
        a.push_back("run together: " + Show(t) + " and " + Show(u));
    }
    for (const Rect& m : aMarks)
      if (t.r.Overlaps(m)) a.push_back("over a marker or divider: " + Show(t));
    bool bOnPanel = false;
    for (const Rect& p : aPanels) bOnPanel = bOnPanel || t.r.Overlaps(p);
    if (!bOnPanel && !bAllInPanels) continue;
    bool bInside = true;
    for (int y = t.r.y0; y < t.r.y1 && bInside; y++)
      for (int x = t.r.x0; x < t.r.x1 && bInside; x++) {
        bool bIn = false;
        for (const Rect& p : aPanels) bIn = bIn || p.Contains(x, y);
        bInside = bIn;
      }
    if (!bInside) a.push_back("out of its panel: " + Show(t));
  }
  return a;
}

// The texts of the current packet that stand on no opaque panel (they touch
// none: the picture shows through a see-through box) yet have no shadow: a
// black copy of the text a pixel down and right, on its layer, in its
// alignment. Such a text does not read on a light picture.
std::vector<std::string> ShadowFaults() {
  std::vector<TextBox> aTexts;
  std::vector<Rect> aBoxes;
  PacketRead(&aTexts, &aBoxes);
  std::vector<Rect> aPanels;
  size_t iBox = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      if (i->uKind != PCFRAME_KIND_BOX && i->uKind != PCFRAME_KIND_SHADED_BOX) continue;
      const Rect& b = aBoxes[iBox++];
      if (IsPanel(b) && i->uAlpha == 255) aPanels.push_back(b);
    }
  std::vector<std::string> a;
  size_t k = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      if (i->uKind != PCFRAME_KIND_TEXT || !i->pszText || !i->pszText[0]) continue;
      const TextBox& t = aTexts[k++];
      if (IsShadow(i)) continue;
      bool bOnPanel = false;
      for (const Rect& p : aPanels) bOnPanel = bOnPanel || t.r.Overlaps(p);
      if (bOnPanel) continue;
      bool bShadow = false;
      for (DrawItem* o = l->poFirstItem; o && !bShadow; o = o->pNext)
        bShadow = o->uKind == PCFRAME_KIND_TEXT && o->pszText && std::strcmp(o->pszText, i->pszText) == 0 &&
                  (o->aRed[0] | o->aGreen[0] | o->aBlue[0]) == 0 && o->aiCoord[0] == i->aiCoord[0] + 1 &&
                  o->aiCoord[1] == i->aiCoord[1] + 1 && o->aiCoord[2] == i->aiCoord[2] &&
                  o->aiCoord[3] == i->aiCoord[3];
      if (!bShadow) a.push_back("no shadow on the picture: " + Show(t));
    }
  return a;
}

// Whether psz holds the words of pszWords, not inside a longer word (a
// byte past 127 is part of a word: the accented letters).
bool HoldsWords(const std::string& s, const char* pszWords) {
  auto bLetter = [](unsigned char c) { return std::isalnum(c) || c > 127; };
  const size_t n = std::strlen(pszWords);
  for (size_t i = s.find(pszWords); i != std::string::npos; i = s.find(pszWords, i + 1))
    if ((i == 0 || !bLetter(s[i - 1])) && (i + n == s.size() || !bLetter(s[i + n]))) return true;
  return false;
}

// The texts of the current packet that show an English text of the match's
// tables (in-match and global) which the language has its own text for: a
// text from the wrong table, or one written into the code.
std::vector<std::string> EnglishFaults(int iLanguage) {
  std::vector<std::string> a;
  if (iLanguage == LANGUAGE_ENGLISH) return a;
  std::vector<TextBox> aTexts;
  std::vector<Rect> aBoxes;
  PacketRead(&aTexts, &aBoxes);
  auto Table = [&](const char* pszTable, const char* const* ppszEnglish, const char* const* ppszOwn, int n) {
    for (int id = 0; id < n; id++) {
      const char* e = ppszEnglish[id];
      // Texts with a bracketed word are filled in before they are shown.
      if (e[0] == '\0' || std::strchr(e, '[') || std::strcmp(e, ppszOwn[id]) == 0) continue;
      for (const TextBox& t : aTexts)
        if (HoldsWords(t.s, e))
          a.push_back(std::string(pszTable) + " text " + std::to_string(id) + " in English: " + Show(t));
    }
  };
  Table("in-match", gstatso_apszStrings[0], gstatso_apszStrings[iLanguage], IDS_INGAME_MAX);
  Table("global", glstr_apszStrings[0], glstr_apszStrings[iLanguage], IDS_GLOBAL_MAX);
  return a;
}

const char* const kLanguages[6] = {"english", "french", "german", "spanish", "italian", "portuguese"};

// The longest player names: the longest the generated database holds, a
// name of the database's greatest length (31 characters) and one long word.
const char* const kLongNames[] = {"Jeroen van den Brinkenkens", "Marco van der Hoogerkenslandijk",
                                  "Wolfeschlegelsteinhausenbergerd", "Gijs van der Veldeenrink"};

struct Pages : ::testing::Test {
  static QDLContext ctx;
  static Q3DDevice* dev;
  DBPlayer aHome[16]{}, aAway[16]{};
  int iLanguage = 0;

  static void SetUpTestSuite() {
    ASSERT_EQ(QDLSetup(), 0u);
    QDLContextModeSet(&ctx, 0, QDLFindMode(0, 640, 480, 16, 0), QDLOPEN_WINDOWED);
    dev = Q3DDeviceCreate("q3dswdll.dll");
    ASSERT_NE(dev, nullptr);
    ASSERT_EQ(Q3DDeviceInitialise(dev, &ctx), 0u);
    pcframe_Init();
    scene3d_StartOnDevice(dev, 1, 640, 480);
    scene3d_FontsLoad();
    scene3d_bSpriteSheetCreate();
    scene3d_bFirstFrame = 1;
  }
  static void TearDownTestSuite() {
    if (dev == nullptr) return;
    scene3d_StopOnDevice();
    dev->DisplayShut();
    dev->Destroy();
    Q3DDeviceUnload();
    pcframe_Shutdown();
    QDLShutdown();
    dev = nullptr;
  }

  // The team of the language's longest short name, and the team of its
  // longest whole name (another team): the one stands in its short name
  // wherever the whole does not fit, the other in its whole name wherever
  // that fits.
  static void LongestTeams(int* piFirst, int* piSecond) {
    *piFirst = 1;
    for (int i = 1; i < TLA_COUNT; i++)
      if (std::strlen(tla_ShortNameGet(i)) > std::strlen(tla_ShortNameGet(*piFirst))) *piFirst = i;
    *piSecond = *piFirst == 1 ? 2 : 1;
    for (int i = 1; i < TLA_COUNT; i++)
      if (i != *piFirst && std::strlen(tla_DisplayNameGet(i)) > std::strlen(tla_DisplayNameGet(*piSecond))) *piSecond = i;
  }

  void Language(int i) {
    iLanguage = i;
    mlang_iLanguage = i;
    gstatso_LanguageSet(i);
    int h = 0, a = 0;
    LongestTeams(&h, &a);
    squadcache_Clear();
    for (int k = 0; k < 16; k++) {
      std::snprintf(aHome[k].szName, sizeof aHome[k].szName, "%s", kLongNames[k % 4]);
      std::snprintf(aAway[k].szName, sizeof aAway[k].szName, "%s", kLongNames[(k + 1) % 4]);
      aHome[k].uField88 = aAway[k].uField88 = static_cast<uint32_t>(k == 0 ? 1 : k + 7);
    }
    squadcache_SlotSet("", h, aHome, 16, 3, 0);
    squadcache_SlotSet("", a, aAway, 16, 5, 1);
    match_SquadBuffersPoint();
    match_HomeSquadSet(squadcache_SlotGet(0));
    match_AwaySquadSet(squadcache_SlotGet(1));
    team_PlayersInit();
    match.HomeTeam.poPlayers = &player_aHome[0];
    match.AwayTeam.poPlayers = &player_aAway[0];
    for (int t = 0; t < 2; t++) {
      MatchTeam* po = t == 0 ? &match.HomeTeam : &match.AwayTeam;
      for (int k = 0; k < 11; k++) {
        Player* pp = t == 0 ? &player_aHome[k] : &player_aAway[k];
        pp->pDBPlayer = &po->MySquad[k];
        pp->MyTeam = t == 0 ? player_PlaysFor_Home : player_PlaysFor_Away;
        pp->pNext = k < 10 ? pp + 1 : nullptr;
        pp->Control = PLAYER_CONTROL_COMPUTER;
        pp->pUser = nullptr;
        pp->x = static_cast<int16_t>(k * 300);
        pp->y = 0;
        po->MySquad[k].poNext = k < 10 ? &po->MySquad[k + 1] : nullptr;
      }
      for (int k = 11; k < 16; k++) po->MySquad[k].poNext = k < 15 ? &po->MySquad[k + 1] : nullptr;
      po->poPitchList = &po->MySquad[0];
      po->poBenchList = &po->MySquad[11];
      po->SubRequest = 0;
      gstatso_Clear(&po->MatchStats);
    }
    for (User& u : user_aUsers) u.bActive = 0;
    ball_oBall = Ball{};
    match.HomeGoals = 10;
    match.AwayGoals = 10;
    clock_oClock.iClock = 118 * 1800 + 47 * 30;
    global.eGameMode = GAME_MODE_PLAY;
    global.eExtendedGameMode = GAME_MODE_START_FRIENDLY;
    caption_Init();
  }

  void TearDown() override {
    for (User& u : user_aUsers) u.bActive = 0;
    match_Clear();
    mlang_iLanguage = 0;
    gstatso_LanguageSet(0);
    pcframe_Begin();
  }

  // Checks the packet drawn since Begin and writes the page out.
  void Page(const std::string& name, bool bAllInPanels) {
    const std::vector<std::string> a = LayoutFaults(bAllInPanels);
    std::string all;
    for (const std::string& s : a) all += "\n  " + s;
    EXPECT_TRUE(a.empty()) << name << " in " << kLanguages[iLanguage] << ":" << all;
    std::string unshadowed;
    for (const std::string& f : ShadowFaults()) unshadowed += "\n  " + f;
    EXPECT_EQ(unshadowed, "") << name << " in " << kLanguages[iLanguage];
    std::string english;
    for (const std::string& f : EnglishFaults(iLanguage)) english += "\n  " + f;
    EXPECT_EQ(english, "") << name << " in " << kLanguages[iLanguage];
    ASSERT_EQ(scene3d_DrawFrame(), 1);
    const capture::Shot shot = capture::LastPresented();
    EXPECT_EQ(shot.w, kScreenW);
    if (const char* pszDir = std::getenv("KORVENA_CAPTURE_DIR"))
      capture::WriteShot(std::string(pszDir) + "/matchtext/" + name + "_" + kLanguages[iLanguage] + ".tga", shot);
    pcframe_Begin();
  }

  // A caption held in place at its resting height.
  static void Held(int iType, std::intptr_t iParam, int y) {
    caption_Request(iType, iParam);
    caption_oState.iPending = 2;
    caption_oState.iHold = 30;
    caption_oState.y = y;
    caption_oState.y2 = y;
  }
};

QDLContext Pages::ctx;
Q3DDevice* Pages::dev = nullptr;

TEST_F(Pages, ScoreStripAndNameLines) {
  for (int l = 0; l < 6; l++) {
    Language(l);
    pcframe_Begin();
    // Two users on each side: two name lines a side, one of them steered.
    for (int u = 0; u < 4; u++) {
      user_aUsers[u].bActive = 1;
      Player* pp = u < 2 ? &player_aHome[2 + u] : &player_aAway[2 + u];
      pp->pUser = &user_aUsers[u];
      pp->Control = PLAYER_CONTROL_USER;
    }
    match.HomeTeam.SubRequest = match.AwayTeam.SubRequest = 1;
    match_ScoreClockDraw();
    Page("score_strip", false);
  }
}

// The texts of the current packet, their shadows left out, that stand above
// the screen row yBelow (pixels), top to bottom and left to right.
std::vector<std::string> PacketTextsAbove(int yBelow) {
  std::vector<std::tuple<int, int, std::string>> a;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && i->pszText && i->pszText[0] && !IsShadow(i) && i->aiCoord[1] < yBelow)
        a.emplace_back(i->aiCoord[1], i->aiCoord[0], i->pszText);
  std::sort(a.begin(), a.end());
  std::vector<std::string> v;
  for (const auto& t : a) v.push_back(std::get<2>(t));
  return v;
}

// The red squares of the substitution markers in the current packet, in
// screen pixels, top to bottom and left to right.
std::vector<Rect> SubMarkersRead() {
  std::vector<Rect> a;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      const int16_t* c = i->aiCoord;
      const bool bBox = i->uKind == PCFRAME_KIND_BOX || i->uKind == PCFRAME_KIND_SHADED_BOX;
      if (bBox && i->aRed[0] == 200 && i->aGreen[0] == 30 && i->aBlue[0] == 30)
        a.push_back({std::min(c[0], c[2]), std::min(c[1], c[3]), std::max(c[0], c[2]), std::max(c[1], c[3])});
    }
  std::sort(a.begin(), a.end(), [](const Rect& p, const Rect& q) { return std::tie(p.y0, p.x0) < std::tie(q.y0, q.x0); });
  return a;
}

// The id of the team whose whole name in the current language is psz.
int TeamNamed(const char* psz) {
  for (int i = 1; i < TLA_COUNT; i++)
    if (std::strcmp(tla_DisplayNameGet(i), psz) == 0) return i;
  return 0;
}

// The score strip names each team whole where its room holds the name, else
// by its short name, and never by its abbreviation: on one row while the line
// leaves the clock its room, else on a row a side (both whole names there
// when the rows hold them).
TEST_F(Pages, TheScoreStripNamesEachTeamWholeElseByItsShortName) {
  struct Case {
    int iLanguage;
    const char *pszHome, *pszAway;
    int iHomeGoals, iAwayGoals, iMinute;
    std::vector<std::string> aWanted;  // the strip's texts, row by row, left to right
  };
  const std::vector<Case> aCases = {
      {0, "Brazil", "Italy", 1, 0, 45, {"98", "Brazil 1 - 0 Italy", "98", "45", ":", "00"}},
      // Whole names that differ from their short names ("N.Zealand",
      // "S.Korea"), whole wherever the line fits, on either side.
      {0, "New Zealand", "Wales", 1, 0, 45, {"98", "New Zealand 1 - 0 Wales", "98", "45", ":", "00"}},
      {0, "Wales", "South Korea", 1, 0, 45, {"98", "Wales 1 - 0 South Korea", "98", "45", ":", "00"}},
      // "Czechoslovakia 1 - 0 Wales" leaves the clock no room; the short names do.
      {0, "Czechoslovakia", "Wales", 1, 0, 45, {"98", "Czechoslov. 1 - 0 Wales", "98", "45", ":", "00"}},
      // Not even "Tch\351coslova. 1 - 0 P.de Galles" does: a row a side, whole.
      {1, "Tch\351coslovaquie", "Pays de Galles", 1, 0, 45,
       {"98", "Tch\351coslovaquie", "1", "45", ":", "00", "98", "Pays de Galles", "0"}},
      // Short names that fit one row however long the whole ones.
      {0, "United States of America", "Netherlands Antilles", 10, 10, 118,
       {"98", "USA 10 - 10 N.Antilles", "98", "118", ":", "00"}},
      {2, "Niederl\344ndische Antillen", "Elfenbeink\374ste", 10, 10, 45,
       {"98", "Niederl\344ndische Antillen", "10", "45", ":", "00", "98", "Elfenbeink\374ste", "10"}},
      // In extra time the clock has a third figure, and the rows' room is a
      // cell less: "Niederl\344ndische Antillen" gives way to its short name.
      {2, "Niederl\344ndische Antillen", "Elfenbeink\374ste", 10, 10, 118,
       {"98", "N.Antillen", "10", "118", ":", "00", "98", "Elfenbeink\374ste", "10"}},
  };
  for (const Case& c : aCases) {
    Language(c.iLanguage);
    const int idHome = TeamNamed(c.pszHome), idAway = TeamNamed(c.pszAway);
    ASSERT_GT(idHome, 0) << c.pszHome;
    ASSERT_GT(idAway, 0) << c.pszAway;
    match.HomeTeam.Squad->iTeamId = idHome;
    match.AwayTeam.Squad->iTeamId = idAway;
    match.HomeTeam.Squad->iEdition = match.AwayTeam.Squad->iEdition = 10;
    match.HomeGoals = c.iHomeGoals;
    match.AwayGoals = c.iAwayGoals;
    clock_oClock.iClock = c.iMinute * 1800;
    match.HomeTeam.SubRequest = match.AwayTeam.SubRequest = 1;
    pcframe_Begin();
    match_ScoreClockDraw();
    // The strip's texts (the name lines stand at the foot of the screen).
    const std::vector<std::string> a = PacketTextsAbove(80);
    EXPECT_EQ(a, c.aWanted) << c.pszHome << " v " << c.pszAway << " in " << kLanguages[c.iLanguage];
    // Both sides' substitution markers: the home one at the strip's left
    // edge; the away one on the same row after the away year, or, on two
    // rows, at the left edge of the away row, under the home one.
    std::vector<TextBox> aTexts;
    std::vector<Rect> aBoxes;
    PacketRead(&aTexts, &aBoxes);
    const std::vector<Rect> aMarks = SubMarkersRead();
    ASSERT_EQ(aMarks.size(), 2u);
    const Rect &home = aMarks[0], &away = aMarks[1];
    const bool bTwoRows = c.aWanted.size() > 6;
    if (bTwoRows) {
      EXPECT_EQ(away.x0, home.x0) << "the away marker not under the home one";
      EXPECT_GE(away.y0, home.y1) << "the away marker not under the home one";
      for (const TextBox& t : aTexts)
        if (t.s == c.aWanted[7]) {
          EXPECT_TRUE(away.y0 < t.r.y1 && t.r.y0 < away.y1) << "the away marker off its row";
        }
    } else {
      EXPECT_EQ(away.y0, home.y0) << "the away marker off the strip's row";
      for (const TextBox& t : aTexts)
        if (t.s == c.aWanted[2]) {
          EXPECT_GE(away.x0, t.r.x1) << "the away marker before the away year";
        }
    }
    for (const std::string& t : a)
      for (int id : {idHome, idAway}) {
        if (std::strcmp(tla_TLAGet(id, 1), tla_ShortNameGet(id)) == 0) continue;  // "USA"
        EXPECT_FALSE(HoldsWords(t, tla_TLAGet(id, 1))) << "\"" << t << "\" names a team by its abbreviation";
      }
    Page("score_strip_" + std::string(tla_TLAGet(idHome, 0)) + "_" + std::to_string(c.iMinute), false);
  }
}

// The substitution menu's title names the side whole where the width its
// items give the panel holds the name, else by its short name.
TEST_F(Pages, TheSubstitutionMenusTitleIsTheSidesWholeNameElseItsShortName) {
  const struct {
    int iLanguage;
    const char *pszTeam, *pszWanted;
  } aCases[] = {
      {0, "Wales", "Wales"},
      // "Resume Match" gives the panel twelve cells: not enough for "Czechoslovakia".
      {0, "Czechoslovakia", "Czechoslov."},
      // "Reprendre le match" gives it eighteen.
      {1, "Tch\351coslovaquie", "Tch\351coslovaquie"},
      {1, "Pays de Galles", "Pays de Galles"},
      {1, "Antilles n\351erlandaises", "Antilles n\351."},
  };
  for (const auto& c : aCases) {
    Language(c.iLanguage);
    const int id = TeamNamed(c.pszTeam);
    ASSERT_GT(id, 0) << c.pszTeam;
    match.AwayTeam.Squad->iTeamId = id;
    match.AwayTeam.SubRequest = 1;
    pcframe_Begin();
    subs_MenuDraw();
    const std::vector<std::string> a = PacketTextsAbove(480);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a[0], c.pszWanted) << c.pszTeam;
    Page("subs_menu_" + std::string(tla_TLAGet(id, 0)), true);
  }
}

// The offside-or-foul caption says what the referee called: a foul given no
// card reads "FOUL", an offside "OFFSIDE".
TEST_F(Pages, TheOffsideOrFoulCaptionSaysTheRefereesCall) {
  Language(0);
  const std::intptr_t pp = reinterpret_cast<std::intptr_t>(&player_aAway[3]);
  for (const auto& [iEvent, pszWanted, pszNot] :
       {std::tuple{REFEREE_EVENT_FOUL, "FOUL", "OFFSIDE"}, std::tuple{REFEREE_EVENT_OFFSIDE, "OFFSIDE", "FOUL"}}) {
    referee_MatchStart();
    referee_Update(iEvent, 1000, 0);
    pcframe_Begin();
    Held(CAPTION_OFFSIDE_FOUL, pp, 186);
    caption_Draw();
    std::vector<TextBox> a;
    std::vector<Rect> boxes;
    PacketRead(&a, &boxes);
    bool bWanted = false, bNot = false;
    for (const TextBox& t : a) {
      bWanted = bWanted || t.s == pszWanted;
      bNot = bNot || t.s == pszNot;
    }
    EXPECT_TRUE(bWanted && !bNot) << "event " << iEvent << ": " << pszWanted << " wanted";
    pcframe_Begin();
  }
}

TEST_F(Pages, SlideCaptions) {
  for (int l = 0; l < 6; l++) {
    Language(l);
    tmglobal_YearSet(98);
    const std::intptr_t pp = reinterpret_cast<std::intptr_t>(&player_aAway[3]);
    pcframe_Begin();
    caption_TextSet(gstatso_StrGet(14));
    Held(CAPTION_PLAYER, pp, 186);
    caption_Draw();
    Page("caption_player", true);
    for (int t : {CAPTION_BOOKED, CAPTION_SENT_OFF, CAPTION_OFFSIDE_FOUL, CAPTION_FOUL_PENALTY, CAPTION_POSSESSION}) {
      Held(t, pp, 186);
      caption_Draw();
      // The possession caption's names stand under its strip, over the bar.
      Page("caption_" + std::to_string(t), t != CAPTION_POSSESSION);
    }
    caption_SubstitutionSet(&match.HomeTeam.MySquad[12], &match.HomeTeam.MySquad[4]);
    for (int bOn = 0; bOn < 2; bOn++) {
      Held(CAPTION_SUBSTITUTION, 0, 178);
      caption_oState.bStageOn = bOn;
      caption_oState.iPending = bOn ? 6 : 2;
      caption_Draw();
      Page(bOn ? "caption_sub_on" : "caption_sub_off", true);
    }
    Held(CAPTION_GOAL, pp, 196);
    caption_oState.iSlide = 300;
    caption_Draw();
    Page("caption_goal", true);
    Held(CAPTION_GOAL, reinterpret_cast<std::intptr_t>(&player_aHome[3]), 196);
    caption_oState.iSlide = 300;
    caption_Draw();
    Page("caption_goal_home", true);
    for (int t = 0; t < 2; t++)
      for (int k = 0; k < 5; k++) caption_ShootoutMarkSet(t, k, (k + t) & 1);
    Held(CAPTION_SHOOTOUT, pp, 176);
    caption_Draw();
    Page("caption_shootout", false);
    caption_Clear();
  }
}

TEST_F(Pages, HalfAndFullTimePages) {
  for (int l = 0; l < 6; l++) {
    Language(l);
    for (int t = 0; t < 2; t++) {
      MatchStats* po = t == 0 ? &match.HomeTeam.MatchStats : &match.AwayTeam.MatchStats;
      clock_oClock.iPeriod = 3;
      for (int i = 0; i < 12; i++) {
        const int iMinute[] = {1, 9, 45, 90, 105, 120, 121};
        clock_oClock.iClock = iMinute[i % 7] * 1800;
        global.eGameMode = iMinute[i % 7] > 120 ? static_cast<GameMode>(66) : GAME_MODE_PLAY;
        gstatso_GoalAdd(po, t == 0 ? &aHome[i % 11] : &aAway[i % 11], i % 3 == 2);
      }
      global.eGameMode = GAME_MODE_PLAY;
      for (int i = 0; i < 199; i++) gstatso_ShotOnTargetAdd(po);
      gstatso_PossessionAdd(po, t == 0 ? 1 : 99);
    }
    for (int type = CAPTION_AREAS_HALF; type <= CAPTION_SCORERS_FULL; type++) {
      if (type == CAPTION_OFFSIDE_FOUL) continue;
      pcframe_Begin();
      caption_Request(type, 0);
      caption_Draw();
      Page("page_" + std::to_string(type), true);
    }
  }
}

TEST_F(Pages, PauseAndSubstitutionMenus) {
  for (int l = 0; l < 6; l++) {
    Language(l);
    global.eExtendedGameMode = GAME_MODE_HISTORY;
    pausemenu_Build();
    for (int i = 0; i < 3; i++) {
      pcframe_Begin();
      menu_Open(PAUSEMENU_NAME, pausemenu_pszPageGet(i));
      menu_Step(PAUSEMENU_NAME);
      Page("pause_" + std::to_string(i), true);
    }
    match.AwayTeam.SubRequest = 1;
    pcframe_Begin();
    subs_MenuDraw();
    Page("subs_menu", true);
    pcframe_Begin();
    subs_BenchEnter();
    subs_BenchDraw();
    Page("subs_bench", true);
    subs_BenchEvent(61);  // the attribute panel
    pcframe_Begin();
    subs_BenchDraw();
    Page("subs_bench_details", true);
    mformation_Enter();
    for (int f : {8, 18}) {  // the cursor on the widest name of either column
      mformation_oState.iCursor = f;
      pcframe_Begin();
      mformation_Draw();
      Page("formation_" + std::to_string(f), true);
    }
  }
}

// The replay's mark over the replayed match, with its controls, and the
// demo match's "Press Start": texts on the picture.
TEST_F(Pages, ReplayMarkAndDemoTitle) {
  for (int l = 0; l < 6; l++) {
    Language(l);
    pcframe_Begin();
    replay_oState.iBlinkCounter = 0;
    replay_oState.bBlinkOn = 1;
    replay_oState.bControlsHidden = 0;
    replay_Draw();
    Page("replay", false);
    pcframe_Begin();
    global.eExtendedGameMode = GAME_MODE_DEMO;
    matchflow_TitleRun();
    Page("demo_title", false);
    global.eExtendedGameMode = GAME_MODE_START_FRIENDLY;
  }
}

TEST_F(Pages, LineUpPanelsOfEveryFormation) {
  for (int l = 0; l < 6; l++) {
    Language(l);
    for (int f = 0; f < MATCHFLOW_FORMATIONS; f++) {
      team_FormationSetRaw(&match.HomeTeam, f);
      pcframe_Begin();
      matchflow_LineupPanel(&match.HomeTeam);
      Page("lineup_" + std::to_string(f), true);
    }
  }
}

// The line-up panel's title names the side whole where the box holds the
// name (some thirty-five cells), not by its short name.
TEST_F(Pages, TheLineUpPanelsTitleIsTheSidesWholeName) {
  const struct {
    int iLanguage;
    const char* pszTeam;
  } aCases[] = {
      {0, "Czechoslovakia"},
      {0, "United States of America"},
      {1, "Tch\351coslovaquie"},
      {1, "Antilles n\351erlandaises"},
      {2, "Niederl\344ndische Antillen"},
  };
  for (const auto& c : aCases) {
    Language(c.iLanguage);
    const int id = TeamNamed(c.pszTeam);
    ASSERT_GT(id, 0) << c.pszTeam;
    ASSERT_STRNE(tla_ShortNameGet(id), c.pszTeam);
    match.HomeTeam.Squad->iTeamId = id;
    pcframe_Begin();
    matchflow_LineupPanel(&match.HomeTeam);
    const std::vector<std::string> a = PacketTextsAbove(480);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a[0], c.pszTeam);
    Page("lineup_title_" + std::string(tla_TLAGet(id, 0)), true);
  }
}

// On the line-up panels two names (or numbers) side by side on a line keep
// at least a cell (16 pixels) apart, in every formation and language: no
// two neighbours read as one ("Barilen Nogilit").
TEST_F(Pages, LineUpNamesKeepACellApart) {
  for (int l = 0; l < 6; l++) {
    Language(l);
    for (int f = 0; f < MATCHFLOW_FORMATIONS; f++) {
      team_FormationSetRaw(&match.HomeTeam, f);
      pcframe_Begin();
      matchflow_LineupPanel(&match.HomeTeam);
      std::vector<TextBox> aTexts;
      std::vector<Rect> aBoxes;
      PacketRead(&aTexts, &aBoxes);
      int cNames = 0;
      for (size_t i = 0; i < aTexts.size(); i++)
        for (size_t j = i + 1; j < aTexts.size(); j++) {
          const TextBox &t = aTexts[i], &u = aTexts[j];
          const bool bShadow = t.s == u.s && std::abs(t.r.x0 - u.r.x0) <= 2 && std::abs(t.r.y0 - u.r.y0) <= 2;
          const bool bSameLine = t.r.y0 < u.r.y1 && u.r.y0 < t.r.y1;
          if (bShadow || !bSameLine) continue;
          cNames++;
          EXPECT_GE(std::max(t.r.x0 - u.r.x1, u.r.x0 - t.r.x1), kCell)
              << kLanguages[l] << ", formation " << f << ": " << Show(t) << " and " << Show(u);
        }
      EXPECT_GT(cNames, 0) << "formation " << f;
    }
  }
}

// Names shorten step by step to their room, in 16-pixel cells: the whole
// name, the initial and the rest, the names after the first, the last name,
// the last name cut with a full stop; a team's whole name gives way to its
// short name and that to its own cut, as in the menus, never to its
// abbreviation.
TEST_F(Pages, NamesAndTeamsShortenToTheirRoom) {
  const auto Name = [](const char* psz, int cCells) {
    char sz[DBPLAYER_NAME_SIZE];
    caption_NameFit(psz, cCells * kCell, sz, sizeof sz);
    return std::string(sz);
  };
  EXPECT_EQ(Name("Jeroen van den Brinkenkens", 26), "Jeroen van den Brinkenkens");
  EXPECT_EQ(Name("Jeroen van den Brinkenkens", 25), "J. van den Brinkenkens");
  EXPECT_EQ(Name("Jeroen van den Brinkenkens", 21), "van den Brinkenkens");
  EXPECT_EQ(Name("Jeroen van den Brinkenkens", 18), "Brinkenkens");
  EXPECT_EQ(Name("Jeroen van den Brinkenkens", 8), "Brinken.");
  EXPECT_EQ(Name("Wolfeschlegelsteinhausenbergerd", 10), "Wolfeschl.");
  EXPECT_EQ(Name("Pele", 4), "Pele");
  EXPECT_EQ(Name("", 4), "");
  EXPECT_EQ(Name("Ab", 0), "A");  // never less than a letter
  char sz[32];
  caption_TextFit("FUERA DE JUEGO", 10 * kCell, sz, sizeof sz);
  EXPECT_STREQ(sz, "FUERA DE.");  // the blank before the cut goes too
  caption_TextFit("OFFSIDE", 7 * kCell, sz, sizeof sz);
  EXPECT_STREQ(sz, "OFFSIDE");
  // A team: its whole name where that fits, else its short name, else that
  // cut with a full stop.
  const auto Team = [](const MatchTeam* po, int cCells) {
    char sz[32];
    caption_TeamFit(po, cCells * kCell, sz, sizeof sz);
    return std::string(sz);
  };
  const auto Cells = [](const char* psz) { return static_cast<int>(std::strlen(psz)); };
  Language(0);
  const int id = match_TeamIdGet(&match.HomeTeam);
  const char *pszWhole = tla_DisplayNameGet(id), *pszShort = tla_ShortNameGet(id), *pszTLA = tla_TLAGet(id, 1);
  ASSERT_GT(Cells(pszWhole), Cells(pszShort));
  ASSERT_GT(Cells(pszShort), Cells(pszTLA));
  EXPECT_EQ(Team(&match.HomeTeam, Cells(pszWhole)), pszWhole);
  EXPECT_EQ(Team(&match.HomeTeam, Cells(pszWhole) - 1), pszShort);
  EXPECT_EQ(Team(&match.HomeTeam, Cells(pszShort)), pszShort);
  const std::string sCut = Team(&match.HomeTeam, Cells(pszShort) - 1);
  EXPECT_NE(sCut, pszTLA);
  EXPECT_EQ(sCut, korvena_test::TeamNameShown(id, (Cells(pszShort) - 1) * kCell));
  EXPECT_EQ(sCut.back(), '.');
  EXPECT_EQ(std::string(pszShort).compare(0, sCut.size() - 1, sCut, 0, sCut.size() - 1), 0) << sCut;
  EXPECT_EQ(Team(&match.HomeTeam, 2).size(), 2u);
  // "Tch\351coslovaquie" (15 letters) whole in a room of 15 and more, else
  // its short name, as the menus cut it in the same rooms.
  Language(1);
  int idCzech = 0;
  for (int i = 1; i < TLA_COUNT; i++)
    if (std::strcmp(tla_DisplayNameGet(i), "Tch\351coslovaquie") == 0) idCzech = i;
  ASSERT_GT(idCzech, 0);
  match.HomeTeam.Squad->iTeamId = idCzech;
  const std::int32_t iFont = pctext_iCurrentFont;
  for (const auto& [cCells, pszWanted] : std::vector<std::pair<int, const char*>>{
           {24, "Tch\351coslovaquie"}, {15, "Tch\351coslovaquie"}, {14, "Tch\351coslova."}, {12, "Tch\351coslova."},
           {11, "Tch\351coslov."}, {4, "Tch."}}) {
    EXPECT_EQ(Team(&match.HomeTeam, cCells), pszWanted) << cCells;
    EXPECT_STREQ(PCFEFitted(tla_NamesGet(idCzech), cCells * kCell).c_str(), pszWanted) << cCells;
  }
  pctext_iCurrentFont = iFont;
  EXPECT_NE(Team(&match.HomeTeam, 11), tla_TLAGet(idCzech, 1));
}

// Every team of the database, in English and in French, on both sides of
// the goal caption, under the possession caption's strip and as the line-up
// panel's title: each shows its whole name where its room holds it, else
// the form the one rule gives (its short name, or that cut), never its
// abbreviation. The goal caption's boxes grow to hold a name, up to half
// the screen less the margin and half the gap between the boxes (296): a
// name's room there is that less the box's padding (4 before the name, 2
// after the score), the gap and the score. The possession caption gives each
// name half the strip's widest less the gap; the line-up box is 570 wide.
TEST_F(Pages, EveryTeamShowsWholeWhereItsRoomHoldsIt) {
  const std::intptr_t pp = reinterpret_cast<std::intptr_t>(&player_aAway[3]);
  constexpr int kGoalRoom = 296 - 4 - 8 - kCell - 2, kPossessionRoom = (kScreenW - 16) / 2 - 32, kLineupRoom = 570;
  for (int l : {0, 1}) {
    Language(l);
    match.HomeGoals = 1;
    match.AwayGoals = 0;
    for (int id = 1; id < TLA_COUNT; id++) {
      match.HomeTeam.Squad->iTeamId = match.AwayTeam.Squad->iTeamId = id;
      const std::string sGoal = korvena_test::TeamNameShown(id, kGoalRoom);
      const std::string sPossession = korvena_test::TeamNameShown(id, kPossessionRoom);
      const std::string sLineup = korvena_test::TeamNameShown(id, kLineupRoom);
      const std::string sWhole = tla_NamesGet(id).pszWhole;
      // The rule's form is the whole name wherever that fits its room.
      for (const auto& [iRoom, s] : {std::pair{kGoalRoom, sGoal}, std::pair{kPossessionRoom, sPossession}})
        if (static_cast<int>(sWhole.size()) * kCell <= iRoom) {
          EXPECT_EQ(s, sWhole) << iRoom;
        }
      pcframe_Begin();
      Held(CAPTION_GOAL, pp, 196);
      caption_oState.iSlide = 300;
      caption_Draw();
      EXPECT_EQ(PacketTextsAbove(kScreenH / 4), (std::vector<std::string>{sGoal, "1", sGoal, "0"}))
          << sWhole << " in " << kLanguages[l];
      caption_Clear();
      pcframe_Begin();
      Held(CAPTION_POSSESSION, pp, 186);
      caption_Draw();
      const std::vector<std::string> a = PacketTextsAbove(kScreenH);
      EXPECT_EQ(std::vector<std::string>(a.begin() + 1, a.end()), (std::vector<std::string>{sPossession, sPossession}))
          << sWhole << " in " << kLanguages[l];
      caption_Clear();
      pcframe_Begin();
      matchflow_LineupPanel(&match.HomeTeam);
      const std::vector<std::string> b = PacketTextsAbove(kScreenH);
      ASSERT_FALSE(b.empty());
      EXPECT_EQ(b[0], sLineup) << kLanguages[l];
      pcframe_Begin();
    }
  }
}

// The checker itself: overlapping texts, texts run together, a text hanging
// out of its panel and a text over a divider are each found, a clean page
// passes.
TEST_F(Pages, TheCheckerFindsEachKindOfFault) {
  pcframe_Begin();
  pcframe_AddBox(100, 100, 300, 140, 3, 0, 0, 0, 255, 0);
  pcframe_AddText(110, 110, 2, 255, 255, 255, "ABCD", 0, 0, 0);  // 110..174
  pcframe_AddText(300, 300, 2, 255, 255, 255, "free", 0, 0, 0);
  pcframe_AddText(111, 111, 2, 0, 0, 0, "ABCD", 0, 0, 0);  // its shadow
  EXPECT_TRUE(LayoutFaults(false).empty());
  EXPECT_EQ(LayoutFaults(true).size(), 1u);  // "free" stands on no panel
  pcframe_AddText(170, 110, 2, 255, 255, 255, "E", 0, 0, 0);
  EXPECT_EQ(LayoutFaults(false).size(), 2u);  // over the text and over its shadow
  pcframe_Begin();
  pcframe_AddText(110, 110, 2, 255, 255, 255, "Croatia", 0, 0, 0);  // 110..222
  pcframe_AddText(222, 110, 2, 255, 255, 255, "0 - 5", 0, 0, 0);
  EXPECT_EQ(LayoutFaults(false).size(), 1u);
  pcframe_Begin();
  pcframe_AddText(110, 110, 2, 255, 255, 255, "45", 0, 0, 0);  // the clock's pieces may touch
  pcframe_AddText(142, 110, 2, 255, 255, 255, ":", 0, 0, 0);
  pcframe_AddText(158, 110, 2, 255, 255, 255, "12", 0, 0, 0);
  pcframe_AddText(110, 126, 2, 255, 255, 255, "next", 0, 0, 0);  // the line below may touch
  EXPECT_TRUE(LayoutFaults(false).empty());
  pcframe_Begin();
  pcframe_AddBox(100, 100, 300, 140, 3, 0, 0, 0, 255, 0);
  pcframe_AddText(300, 100, 2, 255, 255, 255, "AB", 0, 0, 1);  // right-aligned: 268..300, inside
  pcframe_AddText(300, 120, 2, 255, 255, 255, "AB", 0, 0, 2);  // centred: 284..316, hangs out
  const std::vector<std::string> a = LayoutFaults(false);
  ASSERT_EQ(a.size(), 1u);
  EXPECT_NE(a[0].find("out of its panel"), std::string::npos);
  pcframe_Begin();
  pcframe_AddBox(100, 100, 300, 140, 3, 0, 0, 0, 255, 0);
  pcframe_AddBox(150, 100, 151, 140, 2, 200, 200, 200, 255, 0);
  pcframe_AddText(110, 110, 2, 255, 255, 255, "ABCD", 0, 0, 0);
  EXPECT_EQ(LayoutFaults(false).size(), 1u);
  pcframe_Begin();
  pcframe_AddText(630, 0, 2, 255, 255, 255, "AB", 0, 0, 0);
  EXPECT_EQ(LayoutFaults(false).size(), 1u);
}

// The shadow check: a text on the picture needs its black copy a pixel down
// and right on its layer and in its alignment; a text on a panel does not.
TEST_F(Pages, TheShadowCheckFindsATextOnThePictureWithoutItsShadow) {
  pcframe_Begin();
  pcframe_AddBox(100, 100, 300, 140, 3, 0, 0, 0, 255, 0);
  pcframe_AddText(110, 110, 2, 255, 255, 255, "ABCD", 0, 0, 0);  // on the panel
  pcframe_AddText(300, 300, 1, 255, 255, 255, "free", 0, 0, 1);
  pcframe_AddText(301, 301, 1, 0, 0, 0, "free", 0, 0, 1);
  EXPECT_TRUE(ShadowFaults().empty());
  pcframe_AddText(300, 400, 1, 200, 200, 200, "bare", 0, 0, 0);
  pcframe_AddText(300, 430, 1, 200, 200, 200, "moved", 0, 0, 0);
  pcframe_AddText(302, 431, 1, 0, 0, 0, "moved", 0, 0, 0);  // not a pixel down and right
  pcframe_AddText(300, 460, 1, 200, 200, 200, "grey", 0, 0, 2);
  pcframe_AddText(301, 461, 1, 0, 0, 0, "grey", 0, 0, 0);  // another alignment
  const std::vector<std::string> a = ShadowFaults();
  ASSERT_EQ(a.size(), 3u);
  EXPECT_NE(a[0].find("\"grey\""), std::string::npos);
  EXPECT_NE(a[1].find("\"moved\""), std::string::npos);
  EXPECT_NE(a[2].find("\"bare\""), std::string::npos);
  pcframe_Begin();
}

}  // namespace
