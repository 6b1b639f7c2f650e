// Team selection: the confederation lookups and the sort against a small
// reference in six languages, and the hand-overs of the four kinds of game
// driven by events the way users press them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <string>
#include <vector>

#include "engine/team.h"
#include "frontend/frontend_services.h"
#include "frontend/mregion.h"
#include "frontend/mteam.h"
#include "frontend/mteam_layout.h"
#include "frontend/screen_tools.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "support/match_harness.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"

namespace mh = match_harness;

namespace {

// ---- Reference sort ----------------------------------------------------------------------

// The accent pairs as a reader of the rules writes them (UTF-8 letters, all
// below U+0100, so the code point is the Windows-1252 byte).
const char* const kPairs = "¢c ÀA ÁA ÂA ÃA ÄA ÅA ÆA ÇC ÈE ÉE ÊE ËE ÌI ÍI ÎI ÏI ÑN ÖO ßB àa áa âa äa åa æa çc "
                           "èe ée êe ëe ìi îi ïi ñn òo óo ôo öo ùu úu ûu üu ÿy";

std::vector<std::pair<unsigned char, char>> Pairs() {
  std::vector<std::pair<unsigned char, char>> v;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(kPairs);
  while (*p) {
    if (*p == ' ') {
      p++;
      continue;
    }
    unsigned c = *p++;
    if (c >= 0xC0) c = ((c & 0x1F) << 6) | (*p++ & 0x3F);
    v.push_back({static_cast<unsigned char>(c), static_cast<char>(*p++)});
  }
  return v;
}

std::string Folded(const char* psz) {
  static const auto pairs = Pairs();
  std::string s(psz);
  for (char& c : s)
    for (const auto& [from, to] : pairs)
      if (static_cast<unsigned char>(c) == from) c = to;
  return s;
}

// Signed byte order, as the game compares texts.
bool Less(const std::string& a, const std::string& b) {
  for (size_t i = 0;; i++) {
    const int x = i < a.size() ? static_cast<signed char>(a[i]) : 0;
    const int y = i < b.size() ? static_cast<signed char>(b[i]) : 0;
    if (x != y) return x < y;
    if (!x) return false;
  }
}

void Push(User* u, int code) { FrontEndPushTo(u->pip, code); }

class TeamSelection : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    mlang_iLanguage = 0;
    FrontEndUsersIdle();
    global_SetMenuUser(nullptr);
    match_HomeTeamGet()->bPresentation = 0;
    match_AwayTeamGet()->bPresentation = 0;
    tmglobal.iYear = 98;
    mteam_Reset();
  }
  User* Home(int i = 0) {
    User* u = &user_aUsers[i];
    u->bActive = 1;
    u->MyTeam = 1;
    global_SetHomeUser(u);
    return u;
  }
  User* Away(int i = 1) {
    User* u = &user_aUsers[i];
    u->bActive = 1;
    u->MyTeam = 2;
    global_SetAwayUser(u);
    return u;
  }
  // One frame of the screen, after queueing the user's events.
  int Frame(User* u = nullptr, std::initializer_list<int> codes = {}) {
    for (int c : codes) Push(u, c);
    global_SetGameMode(static_cast<GameMode>(9));
    pcframe_Begin();
    mteam_Run();
    return global_eGetGameMode();
  }
  void Start(int extended) {
    global_SetExtendedGameMode(static_cast<GameMode>(extended));
    Frame();
  }
  const char* Button(int side) { return mregion_NameGet(mteam_aoSides[side].iButton); }
  const ConferenceEntry* Entry(int side) {
    int c = 0;
    ConferenceEntry* p = mteam_TableOfButton(side, &c);
    return p ? &p[mteam_aoSides[side].iTeamIndex] : nullptr;
  }
};

TEST_F(TeamSelection, TablesSortByFoldedNamesInEveryLanguage) {
  mregion_Reset();
  for (int lang = 0; lang < 6; lang++) {
    mlang_iLanguage = lang;
    for (int t = 0; t < MTEAM_CONFERENCES; t++) {
      ConferenceEntry* p = mteam_apConferences[t];
      const int n = mteam_acConferenceSizes[t];
      std::vector<ConferenceEntry> model(p, p + n);
      std::stable_sort(model.begin(), model.end(), [](const ConferenceEntry& a, const ConferenceEntry& b) {
        return Less(Folded(tla_DisplayNameGet(static_cast<int>(a.uTeam))), Folded(tla_DisplayNameGet(static_cast<int>(b.uTeam))));
      });
      mteam_TableSort(p, n);
      for (int i = 0; i < n; i++) EXPECT_EQ(p[i].uTeam, model[static_cast<size_t>(i)].uTeam) << lang << " " << t << " " << i;
    }
  }
  // An initial É sorts among the E names (French "États-Unis" after "Équateur"
  // and before "Espagne"? no: among the E names, not before the A names).
  mlang_iLanguage = 1;
  mteam_TablesSort();
  const ConferenceEntry* usa = mteam_apConferences[0];
  int iFirstE = -1, iUsa = -1;
  for (int i = 0; i < mteam_acConferenceSizes[0]; i++) {
    const std::string name = Folded(tla_DisplayNameGet(static_cast<int>(usa[i].uTeam)));
    if (iFirstE < 0 && name[0] == 'E') iFirstE = i;
    if (usa[i].uTeam == static_cast<std::uint32_t>(tla_IDFind("USA"))) iUsa = i;
  }
  ASSERT_GE(iUsa, 0);
  EXPECT_EQ(static_cast<unsigned char>(tla_DisplayNameGet(static_cast<int>(usa[iUsa].uTeam))[0]), 0xC9u);
  EXPECT_GE(iUsa, iFirstE);
  mlang_iLanguage = 0;
  mteam_TablesSort();
}

TEST_F(TeamSelection, FoldingAndStableTies) {
  for (const auto& [from, to] : Pairs()) {
    char sz[3] = {static_cast<char>(from), 'x', 0};
    mteam_NameFold(sz);
    EXPECT_EQ(sz[0], to);
    EXPECT_EQ(sz[1], 'x');
  }
  EXPECT_EQ(Pairs().size(), 44u);
  // Equal names keep their order: the same team three times, told apart by key.
  const std::uint32_t bra = static_cast<std::uint32_t>(tla_IDFind("BRA")), arg = static_cast<std::uint32_t>(tla_IDFind("ARG"));
  ConferenceEntry a[5] = {};
  const std::uint32_t teams[5] = {bra, arg, bra, arg, bra};
  for (int i = 0; i < 5; i++) {
    a[i].uTeam = teams[i];
    a[i].uKey = static_cast<std::uint32_t>(i);
  }
  mteam_TableSort(a, 5);
  const std::uint32_t keys[5] = {1, 3, 0, 2, 4};
  for (int i = 0; i < 5; i++) EXPECT_EQ(a[i].uKey, keys[i]);
}

TEST_F(TeamSelection, LookupsOverTheTables) {
  Start(GAME_MODE_START_FRIENDLY);
  // SOL stands in Asia in 1994 and in Oceania in 1998.
  tmglobal.iYear = 94;
  const ConferenceEntry* p94 = mteam_FindConference(tla_IDFind("SOL"));
  tmglobal.iYear = 98;
  const ConferenceEntry* p98 = mteam_FindConference(tla_IDFind("SOL"));
  ASSERT_TRUE(p94 && p98);
  EXPECT_TRUE(p94 >= mteam_apConferences[3] && p94 < mteam_apConferences[3] + mteam_acConferenceSizes[3]);
  EXPECT_TRUE(p98 >= mteam_apConferences[4] && p98 < mteam_apConferences[4] + mteam_acConferenceSizes[4]);
  EXPECT_EQ(mteam_FormationGet(p98, 10), 5);
  // Button names and federations.
  EXPECT_STREQ(mteam_FederationName("SAM"), "CONMEBOL");
  EXPECT_EQ(mteam_FederationName("main"), nullptr);
  int c = -1;
  EXPECT_EQ(mteam_TableSize(5, &c), 0);
  EXPECT_EQ(c, 46);
  mteam_TableSize(6, &c);
  EXPECT_EQ(c, 46);
  // Counting and indexing by edition in Europe, 1998.
  mteam_aoSides[0].iButton = mregion_FindByName("EURO");
  const std::uint32_t m98 = 1u << 10;
  const int n98 = mteam_TeamCountForMask(0, m98, &c);
  EXPECT_EQ(n98, c);
  int expect = 0;
  for (int i = 0; i < 54; i++) expect += (mteam_apConferences[1][i].uMask & m98) != 0;
  EXPECT_EQ(n98, expect);
  for (int k = 0; k < n98; k++) {
    mteam_aoSides[0].iTeamIndex = k;
    const ConferenceEntry* e = mteam_TeamByIndex(0, m98, k);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(&mteam_apConferences[1][mteam_TableIndexOfTeam(0, m98)], e);
  }
  EXPECT_EQ(mteam_TeamByIndex(0, m98, n98), nullptr);
  mteam_aoSides[0].iButton = mregion_FindByName("redbox");
  EXPECT_EQ(mteam_TableOfButton(0, &c), nullptr);
  EXPECT_EQ(mteam_TeamCountForMask(0, m98, &c), 0);
  // Finding by name: the current language's name or the English one.
  mlang_iLanguage = 2;
  const int frg = tla_IDFind("FRG");
  const ConferenceEntry* f = mteam_poFindTeamByName(tla_NameGet(frg), 4);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->uTeam, static_cast<std::uint32_t>(frg));
  EXPECT_EQ(mteam_poFindTeamByName(tla_EnglishNameGet(frg), 4), f);
  EXPECT_EQ(mteam_poFindTeamByName(tla_EnglishNameGet(frg), 10), nullptr);  // Germany by then
  mlang_iLanguage = 0;
  EXPECT_EQ(mteam_YearIndexFromMask(0x600), 9);
}

TEST_F(TeamSelection, AOneEditionTeamShowsOnlyItsYear) {
  Home();
  Start(GAME_MODE_START_FRIENDLY);
  TacticsSide& s = mteam_aoSides[0];
  s.iButton = mregion_FindByName("USA");
  int c = 0;
  ConferenceEntry* p = mteam_TableOfButton(0, &c);
  const std::uint32_t cur = static_cast<std::uint32_t>(tla_IDFind("CUR"));
  s.iTeamIndex = static_cast<int>(std::find_if(p, p + c, [&](const ConferenceEntry& e) { return e.uTeam == cur; }) - p);
  ASSERT_LT(s.iTeamIndex, c);
  EXPECT_EQ(mteam_EditionFirst(0), 0);
  EXPECT_EQ(mteam_EditionLast(0), 0);
  s.iPhase = MTEAM_EDITION;
  s.iEdition = 0;
  Frame(&user_aUsers[0], {8, 9, 8});
  EXPECT_EQ(s.iEdition, 0);
  // The column prints the one year between the grey neighbours' rows.
  EXPECT_EQ(s.iPhase, MTEAM_EDITION);
}

TEST_F(TeamSelection, MapRingAndListWindow) {
  User* u = Home();
  Start(GAME_MODE_START_FRIENDLY);
  EXPECT_STREQ(Button(0), "EURO");
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_MAP);
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_IDLE);
  EXPECT_EQ(mteam_bSingleSide, 1);
  const char* ring[6] = {"ASIA", "OZ", "USA", "SAM", "AFRIC", "EURO"};
  for (const char* name : ring) {
    Frame(u, {11});
    EXPECT_STREQ(Button(0), name);
  }
  Frame(u, {10, 10});
  EXPECT_STREQ(Button(0), "SAM");
  Frame(u, {8});
  EXPECT_STREQ(Button(0), "USA");
  Frame(u, {8});
  EXPECT_STREQ(Button(0), "OZ");
  // The list: up on the first team and down on the last change nothing.
  Frame(u, {37});
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_LIST);
  Frame(u, {8});
  EXPECT_EQ(mteam_aoSides[0].iTeamIndex, 0);
  for (int i = 0; i < 20; i++) Frame(u, {9});
  EXPECT_EQ(mteam_aoSides[0].iTeamIndex, 9);
  EXPECT_EQ(mteam_aoSides[0].iEdition, mteam_EditionFirst(0));
  // A move on the map resets the team index.
  Frame(u, {38, 11});
  EXPECT_STREQ(Button(0), "USA");
  EXPECT_EQ(mteam_aoSides[0].iTeamIndex, 0);
}

// A lone user who starts at home picks both teams; the team sheet follows
// with both squads built from the choices.
TEST_F(TeamSelection, OneUserFromTheHomeSide) {
  User* u = Home();
  Start(GAME_MODE_START_FRIENDLY);
  Frame(u, {37, 9, 9, 37});  // Europe, the third team, its editions
  const ConferenceEntry* home = Entry(0);
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_EDITION);
  EXPECT_EQ(mteam_aoSides[0].iEdition, mteam_EditionLast(0));
  if (mteam_EditionFirst(0) != mteam_EditionLast(0)) Frame(u, {9});
  const int homeEdition = mteam_aoSides[0].iEdition;
  EXPECT_EQ(Frame(u, {37}), 9);
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_DONE);
  // Moved to the away side, which opens on its map.
  EXPECT_EQ(global_poGetAwayUser(), u);
  EXPECT_EQ(global_poGetHomeUser(), nullptr);
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_MAP);
  EXPECT_EQ(mteam_bSwapped, 1);
  // Back from the opponent's map returns to the home team's edition.
  Frame(u, {38});
  EXPECT_EQ(global_poGetHomeUser(), u);
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_EDITION);
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_IDLE);
  Frame(u, {37});
  EXPECT_EQ(global_poGetAwayUser(), u);
  Frame(u, {10, 37, 37});  // Africa, its first team, latest edition
  const ConferenceEntry* away = Entry(1);
  ASSERT_NE(away, nullptr);
  const int awayEdition = mteam_aoSides[1].iEdition;
  EXPECT_EQ(Frame(u, {37}), 13);
  EXPECT_EQ(global_poGetHomeUser(), u);  // back on the side the user started on
  EXPECT_EQ(global_poGetAwayUser(), nullptr);
  EXPECT_EQ(mteam_bNeedsEnter, 1);
  MatchTeam* h = match_HomeTeamGet();
  MatchTeam* a = match_AwayTeamGet();
  ASSERT_TRUE(h->Squad && a->Squad);
  EXPECT_EQ(static_cast<std::uint32_t>(h->Squad->iTeamId), home->uTeam);
  EXPECT_EQ(h->Squad->iEdition, homeEdition);
  EXPECT_EQ(static_cast<std::uint32_t>(a->Squad->iTeamId), away->uTeam);
  EXPECT_EQ(a->Squad->iEdition, awayEdition);
  EXPECT_EQ(team_FormationGet(h), mteam_FormationGet(home, homeEdition));
  EXPECT_EQ(team_FormationGet(a), mteam_FormationGet(away, awayEdition));
  EXPECT_EQ(environ_StadiumGet(), stadium_Choose(homeEdition, nullptr));
  EXPECT_EQ(team_ImageGet(h), mregion_FindByName("EURO"));
  EXPECT_EQ(team_SoundGet(h), 2);
  EXPECT_EQ(team_ImageGet(a), mregion_FindByName("AFRIC"));
  EXPECT_EQ(team_PresentationFlagGet(a), 1);
  // Coming back (from the team sheet) reopens on the choice.
  Frame();
  EXPECT_STREQ(Button(0), "EURO");
  EXPECT_EQ(mteam_aoSides[0].iTeamIndex, 2);
  EXPECT_STREQ(Button(1), "AFRIC");
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_MAP);
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_IDLE);
}

// A lone user who starts away chooses the away team first; Back from the
// home map returns to the away side's finished choice, one more Back to its list.
TEST_F(TeamSelection, OneUserFromTheAwaySide) {
  User* u = Away(0);
  Start(GAME_MODE_START_FRIENDLY);
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_IDLE);
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_MAP);
  Frame(u, {37, 37, 37});
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_DONE);
  EXPECT_EQ(global_poGetHomeUser(), u);
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_MAP);
  Frame(u, {38});
  EXPECT_EQ(global_poGetAwayUser(), u);
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_DONE);
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_IDLE);
  Frame(u, {38});
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_LIST);
  Frame(u, {37, 37});
  EXPECT_EQ(global_poGetHomeUser(), u);
  EXPECT_EQ(Frame(u, {37, 37, 37}), 13);
  EXPECT_EQ(global_poGetAwayUser(), u);
  EXPECT_EQ(global_poGetHomeUser(), nullptr);
}

TEST_F(TeamSelection, BackAtEveryPhase) {
  User* u = Home();
  Start(GAME_MODE_START_FRIENDLY);
  Frame(u, {37, 37});
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_EDITION);
  Frame(u, {38});
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_LIST);
  Frame(u, {38});
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_MAP);
  EXPECT_EQ(Frame(u, {38}), 11);
  EXPECT_EQ(global_poGetHomeUser(), nullptr);
  EXPECT_EQ(mteam_bSingleSide, 0);
  EXPECT_EQ(mteam_bNeedsEnter, 1);
  // Two users: Back on one map idles that side; the other still chooses.
  User* h = Home(0);
  User* a = Away(1);
  Start(GAME_MODE_START_FRIENDLY);
  EXPECT_EQ(mteam_bSingleSide, 0);
  Frame(a, {38});
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_IDLE);
  EXPECT_EQ(global_poGetAwayUser(), a);
  Frame(h, {37, 37, 37});
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_DONE);
  EXPECT_EQ(global_poGetHomeUser(), h);  // no one moves with two users
  Frame(a, {37});
  EXPECT_EQ(mteam_aoSides[1].iPhase, MTEAM_MAP);
  EXPECT_EQ(Frame(a, {37, 37, 37}), 13);
}

TEST_F(TeamSelection, TwoMarkersOnOneButtonAlternate) {
  Home(0);
  Away(1);
  Start(GAME_MODE_START_FRIENDLY);
  std::vector<int> toggles;
  for (int i = 0; i < 24; i++) {
    Frame();
    toggles.push_back(mteam_bMarkerToggle);
  }
  int flips = 0;
  for (size_t i = 1; i < toggles.size(); i++) flips += toggles[i] != toggles[i - 1];
  EXPECT_GE(flips, 3);
  EXPECT_LE(flips, 4);
  // Apart, each draws every frame and the toggle rests.
  Frame(&user_aUsers[1], {11});
  const int t = mteam_bMarkerToggle;
  for (int i = 0; i < 12; i++) Frame();
  EXPECT_EQ(mteam_bMarkerToggle, t);
}

TEST_F(TeamSelection, TrainingStartsTheMatchWithTheHomeSideOnly) {
  User* u = Home();
  Start(GAME_MODE_START_TRAINING);
  Frame(u, {37, 9, 37});
  EXPECT_EQ(mteam_aoSides[0].iEdition, mteam_EditionLast(0));
  const ConferenceEntry* e = Entry(0);
  EXPECT_EQ(Frame(u, {37}), GAME_MODE_MATCH_START);
  EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_START_TRAINING);
  ASSERT_NE(match_HomeTeamGet()->Squad, nullptr);
  EXPECT_EQ(static_cast<std::uint32_t>(match_HomeTeamGet()->Squad->iTeamId), e->uTeam);
  EXPECT_EQ(match_AwayTeamGet()->Squad, nullptr);
  EXPECT_EQ(team_ImageGet(match_HomeTeamGet()), 0);
  EXPECT_EQ(team_SoundGet(match_HomeTeamGet()), 4);
  EXPECT_EQ(mteam_bNeedsEnter, 0);  // left as it was
  // The training's remembered values name no button: the next friendly
  // (after the front end restarts) opens on Europe.
  mteam_Reset();
  Home();
  Start(GAME_MODE_START_FRIENDLY);
  EXPECT_STREQ(Button(0), "EURO");
  EXPECT_EQ(mteam_aoSides[0].iTeamIndex, 0);
}

TEST_F(TeamSelection, HistoryChoiceAndHistoryFriendly) {
  User* u = Home();
  global_SetMenuUser(u);
  tmglobal.iYear = 98;
  Start(GAME_MODE_HISTORY);
  EXPECT_EQ(mteam_bSingleSide, 1);
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_MAP);
  // Other users' events are dropped.
  User* other = &user_aUsers[1];
  other->bActive = 1;
  Frame(other, {11, 11});
  EXPECT_STREQ(Button(0), "EURO");
  Frame(u, {37, 9});
  const std::uint32_t m = tmglobal_EditionMaskGet();
  const ConferenceEntry* e = mteam_TeamByIndex(0, m, 1);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(Frame(u, {37}), GAME_MODE_NEWS);
  EXPECT_EQ(tmglobal.aHumans[0].Name, e->uTeam);
  ASSERT_NE(match_HomeTeamGet()->Squad, nullptr);
  EXPECT_EQ(match_HomeTeamGet()->Squad->iEdition, 10);
  EXPECT_EQ(squadcache_SlotGet(0), match_HomeTeamGet()->Squad);
  // The history friendly: the human team itself cannot be chosen.
  other->bActive = 0;
  tmglobal.iCurrentHuman = 0;
  Start(69);
  Frame(u, {37});
  for (int k = 0; mteam_TeamByIndex(0, m, k); k++) {
    if (mteam_TeamByIndex(0, m, k)->uTeam != e->uTeam) continue;
    mteam_aoSides[0].iTeamIndex = k;
    break;
  }
  EXPECT_EQ(Frame(u, {37}), 9);
  mfhfixtr_pendingChoice = 0;
  Frame(u, {9});
  const ConferenceEntry* o = mteam_TeamByIndex(0, m, mteam_aoSides[0].iTeamIndex);
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(Frame(u, {37}), 48);
  EXPECT_EQ(mfhfixtr_chosenTeam, o->uTeam);
  EXPECT_EQ(mfhfixtr_pendingChoice, 1);
  // Back from the map: the fixtures with no opponent recorded.
  mfhfixtr_pendingChoice = 0;
  Start(69);
  EXPECT_EQ(Frame(u, {38}), 48);
  EXPECT_EQ(mfhfixtr_pendingChoice, 0);
  EXPECT_EQ(mteam_bTeamChosen, 0);
  // In a history choice a confederation without a team of the edition keeps the side on its map.
  tmglobal.iYear = 58;
  Start(GAME_MODE_HISTORY);
  Frame(u, {10, 10, 10, 10});  // Oceania
  EXPECT_STREQ(Button(0), "OZ");
  EXPECT_EQ(mteam_TeamCountForMask(0, tmglobal_EditionMaskGet(), nullptr), 0);
  Frame(u, {37});
  EXPECT_EQ(mteam_aoSides[0].iPhase, MTEAM_MAP);
  EXPECT_EQ(Frame(u, {38}), 45);
  tmglobal.iYear = 98;
}

TEST(TeamSheets, EachSheetHoldsItsLayoutsSprites) {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  ASSERT_NE(build, nullptr);
  const std::filesystem::path dir = std::filesystem::path(build) / "data" / "frontend";
  const auto team = FrontEndSheetSpriteSizes(dir / "team.spr");
  ASSERT_EQ(team.size(), static_cast<size_t>(MTEAM_LAYOUT_RECORDS));
  for (int i = 0; i < MTEAM_LAYOUT_RECORDS; i++)
    EXPECT_EQ(team[static_cast<size_t>(i)], (std::pair<int, int>{mteam_aoLayout[i].w, mteam_aoLayout[i].h})) << mteam_aoLayout[i].pszName;
  const auto tactics = FrontEndSheetSpriteSizes(dir / "tactics.spr");
  ASSERT_EQ(tactics.size(), static_cast<size_t>(MTATDISP_LAYOUT_RECORDS));
  for (int i = 0; i < MTATDISP_LAYOUT_RECORDS; i++)
    EXPECT_EQ(tactics[static_cast<size_t>(i)], (std::pair<int, int>{mtatdisp_aoLayout[i].w, mtatdisp_aoLayout[i].h})) << mtatdisp_aoLayout[i].pszName;
}

}  // namespace
