// The rules pages: layout against a small word-wrapper, the page each
// edition and confederation shows, every real page within the layout buffer,
// the rules screen driven by events, the help panel, and the presentation
// screens' films, captions and hand-over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <tuple>
#include <random>
#include <string>
#include <vector>

#include "frontend/frontend_services.h"
#include "frontend/mhelp.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "frontend/screen_tools.h"
#include "frontend/wcqual.h"
#include "frontend_env.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

namespace {

int32_t Width(uint8_t c) { return c == ' ' ? 2 : 3 + c % 5; }

// Greedy reference: paragraphs (run-on entries joined) split at line breaks
// and into words carrying their trailing spaces; a word that does not fit
// starts a new line unless the line is empty.
std::string Reference(const std::vector<std::pair<std::string, int>>& paragraphs, int w) {
  std::string out;
  int lineW = 0;
  bool has = false;
  for (const auto& [text, spacing] : paragraphs) {
    size_t i = 0;
    while (i <= text.size()) {
      if (i == text.size()) break;
      if (text[i] == '\n') {
        out += '\n', lineW = 0, has = false, ++i;
        continue;
      }
      size_t j = i;
      while (j < text.size() && text[j] != ' ' && text[j] != '\n') ++j;
      if (j < text.size() && text[j] == ' ') ++j;
      const std::string word = text.substr(i, j - i);
      int ww = 0;
      for (char c : word) ww += Width(static_cast<uint8_t>(c));
      if (has && lineW + ww > w) out += '\n', lineW = 0;
      out += word, lineW += ww, has = true;
      i = j;
    }
    for (int k = 0; k < spacing; ++k) out += '\n', lineW = 0, has = false;
  }
  return out;
}

int Lines(const std::string& s) {
  int n = 0;
  for (char c : s) n += c == '\n';
  return n + (!s.empty() && s.back() != '\n');
}

void Push(User* u, int code) { FrontEndPushTo(u->pip, code); }

std::vector<std::string> Texts() {
  std::vector<std::string> a;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT) a.emplace_back(i->pszText);
  return a;
}

int SheetSprites(int sprite) {
  int n = 0;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_BACKDROP_SPRITE && i->aiCoord[3] == sprite) n++;
  return n;
}

// A one-year tree: each confederation a group holding one round of teams.
struct Tree {
  Year year{};
  std::vector<Confederation> confs;
  std::vector<Group> groups;
  std::vector<Round> rounds;
  std::vector<TMTeam> teams;
  Tree(const std::vector<std::tuple<const char*, const char*, std::uint32_t>>& rows)
      : confs(rows.size()), groups(rows.size()), rounds(rows.size()), teams(rows.size()) {
    for (size_t i = 0; i < rows.size(); ++i) {
      std::snprintf(confs[i].szName, sizeof confs[i].szName, "%s", std::get<0>(rows[i]));
      std::snprintf(groups[i].szName, sizeof groups[i].szName, "%s", std::get<1>(rows[i]));
      teams[i].Name = std::get<2>(rows[i]);
      rounds[i].pTeams = &teams[i];
      groups[i].pRounds = &rounds[i];
      confs[i].pGroups = &groups[i];
      confs[i].pNext = i + 1 < rows.size() ? &confs[i + 1] : nullptr;
    }
    year.pConfs = confs.empty() ? nullptr : &confs[0];
    TheYearList = &year;
  }
  ~Tree() { TheYearList = nullptr; }
};

std::string PageText(const MHelpEntry* page, int w = 100000) {
  char buf[MHELP_LAYOUT_MAX];
  const MHelpEntry* pages[1] = {page};
  mhelp_Layout(pages, 1, nullptr, 0, w, Width, buf, sizeof buf);
  return buf;
}

class Help : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = tmglobal;
    mlang_iLanguage = 0;
    mhelp_HelpShownClear();
    user_aUsers[0].bActive = 1;
    user_aUsers[0].pip = input_poGetPort(0);
    global_SetMenuUser(&user_aUsers[0]);
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    pcframe_Begin();
  }
  void TearDown() override {
    tmglobal = saved_;
    TheYearList = nullptr;
    mhelp_HelpShownClear();
    pcframe_Begin();
  }
  TMGlobal saved_;
};

TEST_F(Help, LayoutMatchesAGreedyWordWrapper) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 300; ++round) {
    // Paragraphs of seeded words from the front-end table's ids 3..5 and
    // substitutions, with line breaks in the passed strings.
    std::vector<MHelpEntry> page;
    std::vector<std::pair<std::string, int>> model;
    std::string cur;
    int used = 0;
    const int w = 20 + static_cast<int>(rng() % 120);
    const int cEntries = 1 + static_cast<int>(rng() % 12);
    std::vector<std::string> subst;
    for (int i = 0; i < 4; ++i) {
      std::string s;
      const int words = 1 + static_cast<int>(rng() % 6);
      for (int k = 0; k < words; ++k) {
        s += std::string(1 + rng() % (k == 2 ? 30 : 7), static_cast<char>('a' + rng() % 26));
        s += rng() % 9 == 0 ? "\n" : (k + 1 < words || rng() % 2 ? " " : "");
      }
      subst.push_back(s);
    }
    const char* ps[4] = {subst[0].c_str(), subst[1].c_str(), subst[2].c_str(), subst[3].c_str()};
    for (int i = 0; i < cEntries; ++i) {
      const int spacing = static_cast<int>(rng() % 4) - 1;
      page.push_back({MHELP_PAGE_STRING, static_cast<int16_t>(spacing)});
      if (used < 4) cur += ps[used];
      used++;
      if (spacing >= 0) {
        model.emplace_back(cur, spacing);
        cur.clear();
      }
    }
    model.emplace_back(cur, 0);
    page.push_back({MHELP_PAGE_END, 0});
    char buf[MHELP_LAYOUT_MAX];
    const MHelpEntry* pages[1] = {page.data()};
    const int lines = mhelp_Layout(pages, 1, ps, 4, w, Width, buf, sizeof buf);
    const std::string want = Reference(model, w);
    ASSERT_EQ(std::string(buf), want) << "round " << round << " width " << w;
    EXPECT_EQ(lines, Lines(want));
  }
}

TEST_F(Help, LayoutEdgeCases) {
  // A word wider than the width keeps a line of its own; the next word wraps.
  const char* s[3] = {"ab ", "cdefghijklmnop ", "q"};
  const MHelpEntry run[] = {{1006, -1}, {1006, -1}, {1006, 1}, {1007, 0}};
  const MHelpEntry* pages[1] = {run};
  char buf[64];
  EXPECT_EQ(mhelp_Layout(pages, 1, s, 3, 20, Width, buf, sizeof buf), 3);
  EXPECT_STREQ(buf, "ab \ncdefghijklmnop \nq\n");
  // A 1006 past the passed strings prints nothing.
  EXPECT_EQ(mhelp_Layout(pages, 1, s, 1, 1000, Width, buf, sizeof buf), 1);
  EXPECT_STREQ(buf, "ab \n");
  // Spacing adds line breaks; spacing 0 lets the next paragraph run on the line.
  const MHelpEntry gaps[] = {{1006, 2}, {1006, 0}, {1006, 0}, {1007, 0}};
  pages[0] = gaps;
  EXPECT_EQ(mhelp_Layout(pages, 1, s, 3, 1000, Width, buf, sizeof buf), 3);
  EXPECT_STREQ(buf, "ab \n\ncdefghijklmnop q");
  // A buffer too small ends the text at a line end, never past the buffer.
  const MHelpEntry many[] = {{1006, 1}, {1006, 1}, {1006, 1}, {1007, 0}};
  pages[0] = many;
  char small[12];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(mhelp_Layout(pages, 1, s, 3, 1000, Width, small, sizeof small), 1);
  EXPECT_STREQ(small, "ab \n");
}

TEST_F(Help, PagesByEditionConfederationAndNote) {
  // Every edition has a finals page and a general qualifying page; notes only
  // in their editions.
  for (int e = 0; e < 11; ++e) {
    EXPECT_NE(mhelp_poPageGet(0, e, 0), nullptr) << e;
    EXPECT_NE(mhelp_poPageGet(1, e, 0), nullptr) << e;
    const int y = 58 + 4 * e;
    EXPECT_EQ(mhelp_poPageGet(3, e, 0) != nullptr, y == 70 || y == 90 || y == 94 || y == 98) << y;
    EXPECT_EQ(mhelp_poPageGet(4, e, 0) != nullptr, y == 82 || y == 86 || y == 94) << y;
  }
  EXPECT_EQ(mhelp_poPageGet(0, 11, 0), nullptr);
  EXPECT_EQ(mhelp_poPageGet(2, 0, 7), nullptr);  // no Oceania page in 1958
  EXPECT_EQ(PageText(mhelp_poPageGet(0, 0, 0)).substr(0, 13), "SWEDEN 1958\n\n");
  EXPECT_NE(PageText(mhelp_poPageGet(0, 0, 0)).find("QUARTER FINALS\nA - Winners Group 4 vs Runner Up Group 3\n"),
            std::string::npos);

  // (year, finals flag, the human team's confederation) -> what the screen shows.
  const std::uint32_t kTeam = 7;
  struct Case {
    int year, finals;
    const char* conf;
    const char* group;
    int code;
    const char* first;
    const char* then;  // null: the general list only
  } cases[] = {
      {58, 0, "UEFA", "1", 1, "1958 QUALIFYING TOURNAMENT", "UEFA\nThe group winners qualify"},
      {94, 0, "CONMEBOL", "Group B", 16, "1994 QUALIFYING TOURNAMENT", "CONMEBOL\nThe top two of Group B"},
      {94, 0, "CONMEBOL", "Group A", 2, "1994 QUALIFYING TOURNAMENT", "CONMEBOL\nThe winner of Group A"},
      {58, 0, "OFC", "1", 7, "1958 QUALIFYING TOURNAMENT", nullptr},
      // A confederation without a code is passed over for the next that lists the team.
      {58, 0, "Somewhere", "1", 1, "1958 QUALIFYING TOURNAMENT", "here.\n\nUEFA\nThe group winners qualify"},
      {98, 1, "UEFA", "1", 1, "FRANCE 1998", nullptr},
  };
  for (const Case& c : cases) {
    Tree tree({{"CAF", "1", 99}, {c.conf, c.group, kTeam}, {"UEFA", "2", kTeam}});
    tmglobal.iYear = c.year;
    tmglobal.bFinals = c.finals;
    tmglobal.iCurrentHuman = 0;
    tmglobal.aHumans[0].Name = kTeam;
    EXPECT_EQ(mfhmain_ConfCodeGet(kTeam), c.code) << c.conf;
    mhelp_ScrollReset();
    mhelp_Draw();
    const std::string text = mhelp_szLayout;
    EXPECT_EQ(text.rfind(c.first, 0), 0u) << text;
    if (c.then) {
      EXPECT_NE(text.find(c.then), std::string::npos) << text;
    }
    if (!c.then && !c.finals) {
      // The general list alone ends with the places line.
      EXPECT_EQ(text.find("UEFA\n"), std::string::npos) << text;
    }
  }
  EXPECT_EQ(mfhmain_ConfCodeGet(kTeam), 0);  // no tree
}

TEST_F(Help, EveryPageInEveryLanguageFitsTheLayoutBuffer) {
  const FrontEndFont font("SWfont18pt.bmp");
  ASSERT_NE(font.get(), nullptr);
  pctext_FontSet(1);
  for (int lang = 0; lang < 6; ++lang) {
    mlang_iLanguage = lang;
    for (int e = 0; e < 11; ++e)
      for (int kind = 0; kind < 5; ++kind)
        for (int code = kind == 2 ? 1 : 0; code <= (kind == 2 ? 16 : 0); ++code) {
          const MHelpEntry* p = mhelp_poPageGet(kind, e, code);
          if (!p) continue;
          const MHelpEntry* pages[2] = {mhelp_poPageGet(1, e, 0), p};
          char buf[MHELP_LAYOUT_MAX];
          std::vector<char> big(1 << 16);
          const int w = pcfe_ScaleX(378);
          const int n = mhelp_Layout(pages, 2, nullptr, 0, w, pctext_CharWidthGet, buf, sizeof buf);
          const int m = mhelp_Layout(pages, 2, nullptr, 0, w, pctext_CharWidthGet, big.data(), 1 << 16);
          EXPECT_EQ(n, m) << lang << " " << e << " " << kind;
          EXPECT_STREQ(buf, big.data());
        }
  }
}

TEST_F(Help, RulesScreenScrollsAndLeaves) {
  Tree tree({{"UEFA", "1", 7}});
  tmglobal.iYear = 62;
  tmglobal.bFinals = 1;
  global_SetGameMode(static_cast<GameMode>(88));
  global_GameModeTransition();
  mhelp_Run();
  EXPECT_EQ(pcfe_SheetGet(), MHELP_RULES_SHEET);
  ASSERT_EQ(mregion_cCount, 5);
  const int lines = mhelp_iLineCount;
  ASSERT_GT(lines, MHELP_SCREEN_LINES);
  const int yarrowu = mregion_aoTable[mregion_FindByName("yarrowu")].iSprite;
  const int yarrowd = mregion_aoTable[mregion_FindByName("yarrowd")].iSprite;
  pcframe_Begin();
  mhelp_Run();
  EXPECT_EQ(SheetSprites(yarrowu), 0);
  EXPECT_EQ(SheetSprites(yarrowd), 1);
  std::vector<std::string> t = Texts();
  EXPECT_NE(std::find(t.begin(), t.end(), "CHILE 1962"), t.end());
  EXPECT_NE(std::find(t.begin(), t.end(), "Rules"), t.end());
  EXPECT_NE(std::find(t.begin(), t.end(), "Exit"), t.end());
  // Down to the end: the target stops at line count - 11, the shown line follows.
  for (int i = 0; i < lines + 5; ++i) {
    Push(&user_aUsers[0], 9);
    pcframe_Begin();
    mhelp_Run();
  }
  for (int i = 0; i < 20; ++i) mhelp_Run();
  EXPECT_EQ(mhelp_iTargetLine, lines - MHELP_SCREEN_LINES);
  EXPECT_EQ(mhelp_iShownLine, mhelp_iTargetLine);
  pcframe_Begin();
  mhelp_Run();
  EXPECT_EQ(SheetSprites(yarrowu), 1);
  EXPECT_EQ(SheetSprites(yarrowd), 0);
  t = Texts();
  EXPECT_EQ(std::find(t.begin(), t.end(), "CHILE 1962"), t.end());  // scrolled off
  // Back up to the top.
  for (int i = 0; i < lines; ++i) {
    Push(&user_aUsers[0], 8);
    mhelp_Run();
  }
  EXPECT_EQ(mhelp_iTargetLine, 0);
  // Another user's events are flushed; the menu user's select leaves for 52.
  Push(&user_aUsers[0], 37);
  mhelp_Run();
  EXPECT_EQ(global_eGetGameMode(), 52);
}

TEST_F(Help, AShortPageShowsNoArrow) {
  mhelp_iLineCount = MHELP_SCREEN_LINES;
  mhelp_ScrollReset();
  EXPECT_FALSE(mhelp_bCanScrollUp());
  EXPECT_FALSE(mhelp_bCanScrollDown());
  mhelp_ScrollDown();
  EXPECT_EQ(mhelp_iTargetLine, 0);
  mhelp_iLineCount = MHELP_SCREEN_LINES + 1;
  EXPECT_TRUE(mhelp_bCanScrollDown());
  mhelp_ScrollDown();
  EXPECT_EQ(mhelp_iTargetLine, 1);
  EXPECT_FALSE(mhelp_bCanScrollDown());
  EXPECT_TRUE(mhelp_bCanScrollUp());
}

TEST_F(Help, HelpPanelOpensOnlyWithAnEditionAndClosesWhole) {
  TheYearList = nullptr;
  mhelp_HelpShownToggle();
  EXPECT_FALSE(mhelp_bHelpShownGet());
  EXPECT_FALSE(mhelp_bRulesShownGet());
  mhelp_ScreenHook();
  EXPECT_TRUE(Texts().empty());

  Tree tree({{"UEFA", "1", 7}});
  tmglobal.iYear = 58;
  tmglobal.bFinals = 1;
  for (int key : {114, 37, 169}) {
    mhelp_HelpShownToggle();
    ASSERT_TRUE(mhelp_bHelpShownGet());
    ASSERT_TRUE(mhelp_bRulesShownGet());
    pcframe_Begin();
    mhelp_ScreenHook();
    std::vector<std::string> t = Texts();
    EXPECT_NE(std::find(t.begin(), t.end(), "SWEDEN 1958"), t.end());
    // Scrolling in the panel stops at line count - 8.
    for (int i = 0; i < 40; ++i) Push(&user_aUsers[0], 9);
    mhelp_Input(&user_aUsers[0]);
    EXPECT_EQ(mhelp_iTargetLine, mhelp_iLineCount - MHELP_PANEL_LINES);
    EXPECT_TRUE(mhelp_bMoved);
    Push(&user_aUsers[0], key);
    mhelp_Input(&user_aUsers[0]);
    EXPECT_FALSE(mhelp_bHelpShownGet()) << key;
    EXPECT_FALSE(mhelp_bRulesShownGet()) << key;
  }
}

TEST_F(Help, PresentationFilmsAndCaptions) {
  struct Film {
    int mode, lang, year, film;
  } films[] = {{75, 0, 70, 173}, {75, 5, 70, 179}, {76, 2, 58, 185}, {77, 5, 90, 191}, {78, 3, 90, 191},
               {78, 4, 90, 190}, {79, 1, 58, 193}, {79, 0, 98, 203}, {79, 0, 60, -1}, {76, 6, 70, -1}};
  for (const Film& f : films) EXPECT_EQ(wc_MovieGet(f.mode, f.lang, f.year), f.film) << f.mode << " " << f.lang;

  std::uint32_t team = 1;
  while (team < TM_MAX && !tmteam_IsProperName(team)) team++;
  std::uint32_t other = team + 1;
  while (other < TM_MAX && !tmteam_IsProperName(other)) other++;
  const std::string name = tmteam_NameText(team), winner = tmteam_NameText(other);
  tmglobal.iYear = 70;
  tmglobal.iCurrentHuman = 0;
  tmglobal.aHumans[0].Name = team;
  tmglobal.aHolders[4] = other;  // the holder the 1970 final recorded
  tmglobal.aRoll[3].Winner = team;
  WCCaptionLine l[4];
  ASSERT_EQ(wc_CaptionGet(76, l), 4);
  EXPECT_STREQ(l[0].sz, "CONGRATULATIONS");
  EXPECT_EQ(l[1].sz, name);
  EXPECT_STREQ(l[2].sz, "HAVE QUALIFIED FOR THE");
  EXPECT_STREQ(l[3].sz, "1970 FINALS");
  EXPECT_EQ(l[3].y, 150);
  ASSERT_EQ(wc_CaptionGet(77, l), 3);
  EXPECT_STREQ(l[1].sz, "HAVE NOT QUALIFIED FOR THE");
  EXPECT_STREQ(l[2].sz, "1970 FINALS");
  ASSERT_EQ(wc_CaptionGet(78, l), 3);
  EXPECT_STREQ(l[2].sz, "FROM THE TOURNAMENT");
  ASSERT_EQ(wc_CaptionGet(75, l), 2);
  EXPECT_EQ(l[0].sz, winner);
  EXPECT_STREQ(l[1].sz, "1970");
  mlang_iLanguage = 1;
  wc_CaptionGet(76, l);
  EXPECT_STREQ(l[0].sz, "F\311LICITATIONS");
}

// The captions name the teams in the player's language, as the news pages
// of the same history do.
TEST_F(Help, PresentationCaptionsNameTheTeamsInTheChosenLanguage) {
  const std::uint32_t England = static_cast<std::uint32_t>(tla_IDFind("ENG"));
  const std::uint32_t Germany = static_cast<std::uint32_t>(tla_IDFind("FRG"));
  tmglobal.iYear = 58;
  tmglobal.iCurrentHuman = 0;
  tmglobal.aHumans[0].Name = England;
  tmglobal.aHolders[1] = Germany;
  WCCaptionLine l[4];
  struct Case {
    int lang;
    const char *team, *holder, *notQualified;
  } cases[] = {{1, "Angleterre", "RFA", "NE S'EST PAS QUALIFI\311E POUR LA"},
               {3, "Inglaterra", "RFA", nullptr},
               {2, "England", "BR Deutschland", nullptr},
               {0, "England", "West Germany", "HAVE NOT QUALIFIED FOR THE"}};
  for (const Case& c : cases) {
    mlang_iLanguage = c.lang;
    SCOPED_TRACE(c.lang);
    // The caption writes the name the news pages write.
    EXPECT_STREQ(tla_NameGet(static_cast<std::int32_t>(England)), c.team);
    ASSERT_EQ(wc_CaptionGet(77, l), 3);
    EXPECT_STREQ(l[0].sz, c.team);
    if (c.notQualified) {
      EXPECT_STREQ(l[1].sz, c.notQualified);
    }
    ASSERT_EQ(wc_CaptionGet(76, l), 4);
    EXPECT_STREQ(l[1].sz, c.team);
    ASSERT_EQ(wc_CaptionGet(78, l), 3);
    EXPECT_STREQ(l[0].sz, c.team);
    ASSERT_EQ(wc_CaptionGet(75, l), 2);
    EXPECT_STREQ(l[0].sz, c.holder);
  }
}

// A UTF-8 literal of Latin letters as the texts' Windows-1252 bytes.
std::string Cp1252(const char* psz) {
  std::string o;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(psz); *p; ++p)
    if ((*p & 0xE0) == 0xC0 && p[1]) {
      o.push_back(static_cast<char>(((*p & 0x1F) << 6) | (p[1] & 0x3F)));
      ++p;
    } else {
      o.push_back(static_cast<char>(*p));
    }
  return o;
}

// The captions' sentences per language: their words agree with the team's
// name (gender and number where the language has them) and the year stands
// where the language puts it.
TEST_F(Help, PresentationCaptionsAgreeWithTheTeamAndPlaceTheYear) {
  struct Case {
    int lang;
    const char* team;
    int mode;
    std::vector<const char*> lines;
  } cases[] = {
      {0, "BRA", 76, {"CONGRATULATIONS", "Brazil", "HAVE QUALIFIED FOR THE", "1962 FINALS"}},
      {0, "BRA", 77, {"Brazil", "HAVE NOT QUALIFIED FOR THE", "1962 FINALS"}},
      {0, "BRA", 78, {"Brazil", "HAVE BEEN ELIMINATED", "FROM THE TOURNAMENT"}},
      {1, "BRA", 76, {"FÉLICITATIONS", "Brésil", "S'EST QUALIFIÉ POUR LA", "PHASE FINALE 1962"}},
      {1, "BRA", 77, {"Brésil", "NE S'EST PAS QUALIFIÉ POUR LA", "PHASE FINALE 1962"}},
      {1, "BRA", 78, {"Brésil", "EST ÉLIMINÉ", "DU TOURNOI"}},
      {1, "ITA", 78, {"Italie", "EST ÉLIMINÉE", "DU TOURNOI"}},
      {1, "USA", 77, {"États-Unis", "NE SE SONT PAS QUALIFIÉS POUR LA", "PHASE FINALE 1962"}},
      {1, "USA", 78, {"États-Unis", "SONT ÉLIMINÉS", "DU TOURNOI"}},
      {1, "COK", 76, {"FÉLICITATIONS", "Îles Cook", "SE SONT QUALIFIÉES POUR LA", "PHASE FINALE 1962"}},
      {2, "BRA", 76, {"HERZLICHEN GLÜCKWUNSCH", "Brasilien", "HAT SICH FÜR DIE", "ENDRUNDE 1962 QUALIFIZIERT"}},
      {2, "BRA", 77, {"Brasilien", "HAT SICH NICHT FÜR DIE", "ENDRUNDE 1962 QUALIFIZIERT"}},
      {2, "BRA", 78, {"Brasilien", "IST AUS DEM", "TURNIER AUSGESCHIEDEN"}},
      {2, "USA", 78, {"USA", "SIND AUS DEM", "TURNIER AUSGESCHIEDEN"}},
      {3, "BRA", 76, {"ENHORABUENA", "Brasil", "SE HA CLASIFICADO PARA LA", "FASE FINAL DE 1962"}},
      {3, "BRA", 77, {"Brasil", "NO SE HA CLASIFICADO PARA LA", "FASE FINAL DE 1962"}},
      {3, "BRA", 78, {"Brasil", "QUEDA FUERA", "DEL TORNEO"}},
      {4, "BRA", 76, {"CONGRATULAZIONI", "Brasile", "SI QUALIFICA PER LA", "FASE FINALE 1962"}},
      {4, "BRA", 77, {"Brasile", "NON SI QUALIFICA PER LA", "FASE FINALE 1962"}},
      {4, "BRA", 78, {"Brasile", "È FUORI", "DAL TORNEO"}},
      {4, "USA", 78, {"Stati Uniti", "SONO FUORI", "DAL TORNEO"}},
      {5, "BRA", 76, {"PARABÉNS", "Brasil", "QUALIFICOU-SE PARA A", "FASE FINAL DE 1962"}},
      {5, "BRA", 77, {"Brasil", "NÃO SE QUALIFICOU PARA A", "FASE FINAL DE 1962"}},
      {5, "BRA", 78, {"Brasil", "ESTÁ FORA", "DO TORNEIO"}},
      {5, "USA", 78, {"Estados Unidos", "ESTÃO FORA", "DO TORNEIO"}},
  };
  tmglobal.iYear = 62;
  tmglobal.iCurrentHuman = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.lang) + " " + c.team + " " + std::to_string(c.mode));
    mlang_iLanguage = LANGUAGE_ENGLISH;  // the English abbreviations
    tmglobal.aHumans[0].Name = static_cast<std::uint32_t>(tla_IDFind(c.team));
    mlang_iLanguage = c.lang;
    WCCaptionLine l[4];
    ASSERT_EQ(wc_CaptionGet(c.mode, l), static_cast<int32_t>(c.lines.size()));
    for (size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(l[i].sz, Cp1252(c.lines[i])) << i;
  }
  mlang_iLanguage = LANGUAGE_ENGLISH;
}

TEST_F(Help, PresentationScreensHandOverToTheNews) {
  tmglobal.iYear = 82;
  struct Screen {
    int mode;
    void (*run)();
  } screens[] = {{75, wcwin_Run}, {76, wcqual_Run}, {77, wcelim_Run}, {78, wcelim_Run}};
  for (const Screen& s : screens) {
    global_SetGameMode(static_cast<GameMode>(s.mode));
    global_GameModeTransition();
    mfhnews_bArrived = 0;
    // With no film the caption stays 200 frames, events ignored.
    for (int i = 0; i < 199; ++i) {
      Push(&user_aUsers[0], 161);
      pcframe_Begin();
      s.run();
      ASSERT_EQ(global_eGetGameMode(), s.mode) << "frame " << i;
      ASSERT_FALSE(Texts().empty());
    }
    s.run();
    EXPECT_EQ(global_eGetGameMode(), GAME_MODE_NEWS) << s.mode;
    EXPECT_EQ(mfhnews_bArrived, 1);
    global_GameModeTransition();
  }
  // The introduction leaves at once when its film is over, or on 161.
  global_SetGameMode(static_cast<GameMode>(79));
  global_GameModeTransition();
  mfhnews_bArrived = 0;
  Push(&user_aUsers[0], 161);
  wcintro_Run();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_NEWS);
  EXPECT_EQ(mfhnews_bArrived, 1);
  EXPECT_EQ(input_poGetPort(0)->oEvents.pHead, nullptr);
}

// Texts of the frame with their places, in display pixels.
struct Placed {
  std::string text;
  int x, y;
};
std::vector<Placed> PlacedTexts() {
  std::vector<Placed> a;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT) a.push_back({i->pszText, i->aiCoord[0], i->aiCoord[1]});
  return a;
}

TEST_F(Help, AnEditionLoadedFromItsFilesShowsItsRulesInsideTheReadingPanel) {
  // The year files into the test's data folder.
  const auto to = FrontEndTestRoot() / "data" / "database" / "tm";
  std::filesystem::create_directories(to);
  std::filesystem::copy(FrontEndBuildData() / "database" / "tm", to,
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  tmmain_PoolsReset();
  tmglobal_Reset();
  const std::uint32_t bra = static_cast<std::uint32_t>(tla_IDFind("BRA"));
  tmglobal.aHumans[0].Name = bra;
  tmglobal.cHumans = 1;
  tmmain_YearStart(1, 1, 94);
  ASSERT_NE(TheYearList, nullptr);
  ASSERT_FALSE(tmglobal_FinalsGet());
  EXPECT_EQ(mfhmain_ConfCodeGet(bra), 16);  // CONMEBOL's "Group B"
  global_SetGameMode(static_cast<GameMode>(88));
  global_GameModeTransition();
  pcframe_Begin();
  mhelp_Run();
  const int lines = mhelp_iLineCount;
  // Down to the end of the page and back; every line of the page is drawn
  // inside the text window, 11 at most.
  bool seenGroupB = false;
  for (int step = 0; step < 2 * lines + 30; ++step) {
    Push(&user_aUsers[0], step < lines + 10 ? 9 : 8);
    pcframe_Begin();
    mhelp_Run();
    int inWindow = 0;
    for (const Placed& p : PlacedTexts()) {
      if (p.text == "Rules" || p.text == "Exit") continue;
      EXPECT_GE(p.x, pcfe_ScaleX(60)) << p.text;
      EXPECT_GE(p.y, pcfe_ScaleY(67)) << p.text;
      EXPECT_LT(p.y, pcfe_ScaleY(190)) << p.text;
      EXPECT_LE(static_cast<int>(p.text.size()), MHELP_LINE_MAX);
      seenGroupB = seenGroupB || p.text.find("Group B") != std::string::npos;
      inWindow++;
    }
    EXPECT_LE(inWindow, MHELP_SCREEN_LINES);
  }
  EXPECT_TRUE(seenGroupB);
  EXPECT_EQ(mhelp_iTargetLine, 0);
  tmmain_PoolsReset();
  tmglobal_Reset();
  TheYearList = nullptr;
}

}  // namespace
