// The tournament save stream: sizes, round trips at every point of seeded
// campaigns, a campaign continued after a load, other languages, and streams
// cut short or damaged, which must leave the running tournament as it was.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "campaign_driver.h"
#include "frontend/mfhmain.h"
#include "matchflow/matcha_save.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmsave.h"
#include "tournament/tmteam.h"
#include "tournament/yearfile.h"

namespace {

std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

std::vector<std::uint8_t> Save() {
  std::vector<std::uint8_t> v(TMSAVE_BLOCK_SIZE);
  const std::int32_t n = tmsave_Write(v.data(), static_cast<std::int32_t>(v.size()));
  EXPECT_GT(n, 0);
  v.resize(static_cast<std::size_t>(n));
  return v;
}

// What a campaign leaves behind: every edition's flags and ending, and the
// last save.
std::string Trace(const std::vector<EditionRecord>& v) {
  std::string s;
  for (const EditionRecord& r : v)
    s += std::to_string(r.iYear) + ":" + std::to_string(r.uFlags) + "/" + std::to_string(r.cMatches) + "/" +
         std::to_string(r.bOver) + " ";
  return s;
}

// A campaign in the middle of the 1970 qualifiers.
std::vector<std::uint8_t> MidCampaign(std::uint32_t Team, int cMatches) {
  Campaign c(Team, Script::Win, 21);
  EXPECT_TRUE(c.EditionStart(70));
  for (int i = 0; i < cMatches; i++) c.MatchPlay();
  return Save();
}

// Where the global chunk's words are in a stream.
constexpr std::int32_t kGlobalAt = 4;
constexpr std::int32_t kSecondHumanAt = 4 + TMSAVE_GLOBAL_SIZE + TMSAVE_TEAMSTATE_SIZE - 4 * TMSAVE_SETTINGS_WORDS + 4 * 19;

// A stream with one word set.
std::vector<std::uint8_t> With(std::vector<std::uint8_t> v, std::int32_t at, std::uint32_t value) {
  for (std::int32_t i = 0; i < 4; i++) v[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(value >> (8 * i));
  return v;
}

std::int32_t Load(const std::vector<std::uint8_t>& v) {
  return tmsave_Read(v.data(), static_cast<std::int32_t>(v.size()));
}

bool HumanHasFixture() {
  Round* r = nullptr;
  Fixture* f = nullptr;
  Year* y = tmgame_CurrentYearGet();
  return y && history_FixtureFindByTeam(y, tmglobal.aHumans[tmglobal.iCurrentHuman].Name, &r, &f);
}

// The 1978 edition begun as the history hub begins it, for one human team,
// with or without the qualifiers.
std::vector<std::uint8_t> Begun78(std::uint32_t Team, std::int32_t bPlayQualifiers) {
  CampaignReset(9);
  tmglobal.aHumans[0].Name = Team;
  tmglobal.cHumans = 1;
  tmglobal.iCurrentHuman = 0;
  tmglobal.bPlayQualifiers = bPlayQualifiers;
  tmglobal.bSecondOption = 1;
  tmglobal_YearSet(78);
  global.iDay = 1;
  global.iMonth = 1;
  global.iYear = 77;
  mfhmain_YearLoad(78);
  EXPECT_EQ(tmreport_CountGet(), 0);
  EXPECT_TRUE(HumanHasFixture());
  return Save();
}

}  // namespace

TEST(TournamentSave, TreeSizes) {
  CampaignReset(1);
  EXPECT_EQ(tmmain_TreeSizeGet(nullptr), 1);
  tmglobal_YearSet(70);
  const std::string s = "70,UEFA,A,1,,ha,,gd,w,,,,1/1/69,,," + std::string(festr_TMIDToStr(1)) + "," +
                        festr_TMIDToStr(2) + "\r\n";
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  Round* r = TheYearList->pConfs->pGroups->pRounds;
  // One date and one fixture: 12 + 28 + 16 + 192 + 2 x 16 + 13 + 4 + 1.
  Fixture* f = tmmain_FixtureAlloc();
  history_FixtureInit(f);
  r->pFixtures = f;
  EXPECT_EQ(tmmain_TreeSizeGet(TheYearList), 298);
  std::vector<std::uint8_t> v(1000);
  std::uint8_t* p = v.data();
  tmmain_TreeSave(TheYearList, &p);
  EXPECT_EQ(p - v.data(), 298);
  EXPECT_EQ(v[297], TMMAIN_CHUNKEND);
  EXPECT_EQ(v[0], TMMAIN_CHUNKYEAR);
}

TEST(TournamentSave, SaveLoadSaveGivesTheSameBytesEverywhere) {
  int cPoints = 0;
  for (const char* tla : {"SCO", "MEX", "KOR"}) {
    Campaign c(Id(tla), Script::Draw, 7);
    c.onMatch = [&] {
      const std::vector<std::uint8_t> a = Save();
      ASSERT_EQ(tmsave_Read(a.data(), static_cast<std::int32_t>(a.size())), 1);
      EXPECT_EQ(Save(), a) << tla << " " << tmglobal.iYear;
      cPoints++;
    };
    c.Run(58, 78);
    EXPECT_EQ(tmreport_CountGet(), 0);
  }
  EXPECT_GT(cPoints, 50);
}

TEST(TournamentSave, ACampaignContinuedAfterALoadEndsAsOneNeverSaved) {
  for (const char* tla : {"SCO", "CHI", "MOR"}) {
    for (Script script : {Script::Win, Script::Draw}) {
      Campaign plain(Id(tla), script, 13);
      const std::string sPlain = Trace(plain.Run());
      const std::vector<std::uint8_t> aPlainEnd = Save();
      Campaign saved(Id(tla), script, 13);
      int n = 0;
      saved.onMatch = [&] {
        if (n++ % 2) return;
        const std::vector<std::uint8_t> a = Save();
        ASSERT_EQ(tmsave_Read(a.data(), static_cast<std::int32_t>(a.size())), 1);
      };
      EXPECT_EQ(Trace(saved.Run()), sPlain) << tla;
      EXPECT_EQ(Save(), aPlainEnd) << tla;
    }
  }
}

TEST(TournamentSave, ASaveLoadedInAnotherLanguageKeepsTheTree) {
  const std::vector<std::uint8_t> english = MidCampaign(Id("SCO"), 3);
  Confederation* c0 = TheYearList->pConfs;
  const std::string sEnglishConf = c0->szName;
  mlang_iLanguage = 1;
  ASSERT_EQ(tmsave_Read(english.data(), static_cast<std::int32_t>(english.size())), 1);
  const std::vector<std::uint8_t> french = Save();
  mlang_iLanguage = 0;
  ASSERT_EQ(tmsave_Read(french.data(), static_cast<std::int32_t>(french.size())), 1);
  EXPECT_EQ(Save(), english);
  EXPECT_EQ(TheYearList->pConfs->szName, sEnglishConf);
}

TEST(TournamentSave, LongNamesAndDrawnLotsComeBack) {
  // The finals of 1958 fresh: rounds named "Final" and "Third".
  CampaignReset(3);
  tmglobal.aHumans[0].Name = Id("SWE");
  tmglobal.cHumans = 1;
  tmmain_YearStart(0, 1, 58);
  Year* y = TheYearList->pNext;
  Round* pFinal = nullptr;
  Round* pLongest = nullptr;
  for (Confederation* cf = y->pConfs; cf; cf = cf->pNext)
    for (Group* g = cf->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext) {
        if (!pLongest || std::strlen(cf->szName) > 22) pLongest = r;
        if (std::strcmp(g->szName, "Final") == 0) pFinal = r;
      }
  ASSERT_NE(pFinal, nullptr);
  Fixture* f = pFinal->pFixtures;
  ASSERT_NE(f, nullptr);
  history_ScoreSet(f, 1, 1);
  history_LotsSet(f, 1);
  const std::vector<std::uint8_t> a = Save();
  ASSERT_EQ(tmsave_Read(a.data(), static_cast<std::int32_t>(a.size())), 1);
  Group* g = nullptr;
  Round* r = history_RoundFindByNames(TheYearList->pNext, "Final", pFinal->szName, &g);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->pFixtures->cResult & (RES_LOTS | RES_LOTS_SECOND), RES_LOTS | RES_LOTS_SECOND);
  EXPECT_NE(r->pStadiums, nullptr);
  EXPECT_EQ(Save(), a);
}

// What a load leaves of the running program's state: the qualified list
// (not in the stream) and the holders (two in the stream) come from the
// save, not from whatever the program played before.
TEST(TournamentSave, ALoadInTheFinalsListsTheirTeamsAndTakesTheHoldersFromTheSave) {
  // The host of 1990 goes straight to the finals; the qualified list holds
  // every finals team.
  Campaign c(Id("ITA"), Script::Win, 5);
  ASSERT_TRUE(c.EditionStart(90));
  ASSERT_TRUE(tmglobal.bFinalsLoaded);
  ASSERT_TRUE(c.MatchPlay());
  std::vector<std::uint32_t> list;
  for (std::int32_t i = 0; i < history_QualifiedCountGet(); i++) list.push_back(history_QualifiedGet(i));
  EXPECT_EQ(list.size(), 24u);
  std::vector<std::uint32_t> holders(std::begin(tmglobal.aHolders), std::end(tmglobal.aHolders));
  const std::vector<std::uint8_t> a = Save();
  // Another campaign played on: another list, other holders.
  history_QualifiedListClear();
  history_QualifiedListAdd(Id("SCO"));
  for (std::uint32_t& h : tmglobal.aHolders) h = Id("SCO");
  ASSERT_EQ(tmsave_Read(a.data(), static_cast<std::int32_t>(a.size())), 1);
  std::vector<std::uint32_t> loaded;
  for (std::int32_t i = 0; i < history_QualifiedCountGet(); i++) loaded.push_back(history_QualifiedGet(i));
  EXPECT_EQ(loaded, list);
  EXPECT_EQ(std::vector<std::uint32_t>(std::begin(tmglobal.aHolders), std::end(tmglobal.aHolders)), holders);
  // In the qualifiers the list is empty, as when they started.
  Campaign q(Id("SCO"), Script::Win, 5);
  ASSERT_TRUE(q.EditionStart(90));
  ASSERT_FALSE(tmglobal.bFinalsLoaded);
  ASSERT_TRUE(q.MatchPlay());
  EXPECT_EQ(history_QualifiedCountGet(), 0);
  const std::vector<std::uint8_t> b = Save();
  history_QualifiedListAdd(Id("ITA"));
  ASSERT_EQ(tmsave_Read(b.data(), static_cast<std::int32_t>(b.size())), 1);
  EXPECT_EQ(history_QualifiedCountGet(), 0);
}

TEST(TournamentSave, DamagedStreamsAreRefusedAndChangeNothing) {
  const std::vector<std::uint8_t> good = MidCampaign(Id("MEX"), 4);
  const std::vector<std::uint8_t> other = MidCampaign(Id("SCO"), 2);  // the running tournament
  const auto refused = [&](std::vector<std::uint8_t> v, std::int32_t cBlock, const char* what) {
    EXPECT_EQ(tmsave_Read(v.data(), cBlock), 0) << what;
    EXPECT_EQ(Save(), other) << what;
  };
  const std::int32_t n = static_cast<std::int32_t>(good.size());
  const std::int32_t kTree = 4 + TMSAVE_GLOBAL_SIZE + TMSAVE_TEAMSTATE_SIZE;
  // Every prefix, as a short block and with the size word saying so.
  for (std::int32_t i = 0; i < n; i += (i < kTree ? 97 : 1)) {
    std::vector<std::uint8_t> v(good.begin(), good.begin() + i);
    EXPECT_EQ(tmsave_Read(v.data(), i), 0) << i;
    if (i >= 4) {
      v[0] = static_cast<std::uint8_t>(i);
      v[1] = static_cast<std::uint8_t>(i >> 8);
      EXPECT_EQ(tmsave_Read(v.data(), i), 0) << i;
    }
  }
  EXPECT_EQ(Save(), other);
  // Targeted faults.
  auto damaged = [&](std::int32_t at, std::uint8_t value) {
    std::vector<std::uint8_t> v = good;
    v[static_cast<std::size_t>(at)] = value;
    return v;
  };
  refused(damaged(4, 'Q'), n, "global tag");
  refused(damaged(8, 124), n, "version");
  refused(damaged(13, 61), n, "year");
  refused(damaged(kTree, 'J'), n, "round before its year");
  refused(damaged(kTree, 'Z'), n, "unknown tag");
  refused(damaged(kTree, 'O'), n, "global tag in the tree");
  refused(damaged(n - 1, 'N'), n, "no end chunk");
  // A fixture naming a team beyond its round's list, a date beyond its dates,
  // a name without its NUL.
  std::int32_t iFixture = -1, iConf = -1, iRound = -1;
  for (std::int32_t i = kTree; i < n;) {
    const std::uint8_t t = good[static_cast<std::size_t>(i)];
    if (t == 'M' && iFixture < 0) iFixture = i;
    if (t == 'H' && iConf < 0) iConf = i;
    if (t == 'J' && iRound < 0) iRound = i;
    i += t == 'G' ? 12 : t == 'H' ? 28 : t == 'I' ? 16 : t == 'J' ? 192 : (t == 'K' || t == 'L') ? 16 : t == 'M' ? 13 : t == 'N' ? 4 : 1;
  }
  ASSERT_GT(iFixture, 0);
  refused(damaged(iFixture + 1, 200), n, "team index");
  refused(damaged(iFixture + 12, 250), n, "date index");
  {
    std::vector<std::uint8_t> v = good;
    std::memset(v.data() + iConf + 1, 'x', 23);
    refused(v, n, "name without NUL");
  }
  {
    // A third place code that fits its field but not the round's 25 bytes.
    ASSERT_GT(iRound, 0);
    std::vector<std::uint8_t> v = good;
    std::memset(v.data() + iRound + 122, 'x', 30);
    v[static_cast<std::size_t>(iRound + 122 + 30)] = 0;
    refused(v, n, "place code longer than its round's");
  }
  // Random damage: refused with nothing changed, or read as a tournament
  // that saves and loads again.
  std::mt19937 rng(5);
  int cRefused = 0;
  for (int k = 0; k < 400; k++) {
    std::vector<std::uint8_t> v = good;
    for (int j = 0; j < 1 + k % 4; j++)
      v[static_cast<std::size_t>(kTree + static_cast<std::int32_t>(rng() % static_cast<std::uint32_t>(n - kTree)))] =
          static_cast<std::uint8_t>(rng());
    if (tmsave_Read(v.data(), n) == 0) {
      cRefused++;
      EXPECT_EQ(Save(), other);
    } else {
      const std::vector<std::uint8_t> again = Save();
      ASSERT_EQ(tmsave_Read(again.data(), static_cast<std::int32_t>(again.size())), 1);
      ASSERT_EQ(tmsave_Read(other.data(), static_cast<std::int32_t>(other.size())), 1);
    }
  }
  EXPECT_GT(cRefused, 100);
}

// Every team id a save holds names one of the table's teams (the tree's free
// slot aside): a save with any other is refused, says why, and changes
// nothing, where it would once load and stop the game at the first screen
// that shows the name.
TEST(TournamentSave, TeamIdsOutsideTheNameTableAreRefused) {
  const std::vector<std::uint8_t> good = MidCampaign(Id("MEX"), 4);
  const std::vector<std::uint8_t> other = MidCampaign(Id("SCO"), 2);  // the running tournament
  const std::int32_t n = static_cast<std::int32_t>(good.size());
  const std::int32_t kGlobal = 4, kTeamState = 4 + TMSAVE_GLOBAL_SIZE, kTree = kTeamState + TMSAVE_TEAMSTATE_SIZE;
  const std::int32_t kSettings = kTeamState + TMSAVE_TEAMSTATE_SIZE - 4 * TMSAVE_SETTINGS_WORDS;
  const auto with = [&](std::int32_t at, std::uint32_t value) {
    std::vector<std::uint8_t> v = good;
    for (std::int32_t i = 0; i < 4; i++) v[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return v;
  };
  const auto refused = [&](std::int32_t at, std::uint32_t value, const char* what, const char* reason) {
    std::vector<std::uint8_t> v = with(at, value);
    EXPECT_EQ(tmsave_Read(v.data(), n), 0) << what;
    EXPECT_NE(std::string(tmsave_RefusalGet()).find(reason), std::string::npos) << what << ": " << tmsave_RefusalGet();
    EXPECT_NE(std::string(tmsave_RefusalGet()).find(std::to_string(value)), std::string::npos) << tmsave_RefusalGet();
    EXPECT_EQ(Save(), other) << what;
  };
  refused(kGlobal + 108, TLA_COUNT, "the human team", "human team id");
  refused(kGlobal + 108, TM_MAX, "the human team as a free slot", "human team id");
  refused(kGlobal + 156 + 16 * 2, TLA_COUNT, "a roll of honour's winner", "roll of honour");
  refused(kGlobal + 168 + 16 * 10, 400, "a roll of honour's fourth", "roll of honour");
  refused(kGlobal + 352, TLA_COUNT, "the first new qualifier", "new qualifier");
  refused(kGlobal + 352 + 8 * 31, TM_MAX, "the last new qualifier", "new qualifier");
  refused(kGlobal + 608, TLA_COUNT, "the last holder", "holder");
  refused(kTeamState + MATCH_SAVE_AREA_SIZE + 40, TLA_COUNT, "the squad slot's team", "squad 0");
  refused(kSettings + 4 * 19, TLA_COUNT, "the second human team", "human team 2");
  // A team of the tree may be any name of the tournament's table, places
  // included, or the free slot; past that it is refused.
  std::int32_t iTeam = -1;
  for (std::int32_t i = kTree; i < n && iTeam < 0;) {
    const std::uint8_t t = good[static_cast<std::size_t>(i)];
    if (t == 'L') iTeam = i;
    i += t == 'G' ? 12 : t == 'H' ? 28 : t == 'I' ? 16 : t == 'J' ? 192 : (t == 'K' || t == 'L') ? 16 : t == 'M' ? 13 : t == 'N' ? 4 : 1;
  }
  ASSERT_GT(iTeam, 0);
  refused(iTeam + 4, TM_MAX + 1, "a round's team", "tree's team id");
  for (std::uint32_t u : {static_cast<std::uint32_t>(TLA_COUNT), static_cast<std::uint32_t>(TM_MAX)}) {
    std::vector<std::uint8_t> v = with(iTeam + 4, u);
    EXPECT_EQ(tmsave_Read(v.data(), n), 1) << u;
    EXPECT_STREQ(tmsave_RefusalGet(), "");
    ASSERT_EQ(tmsave_Read(other.data(), static_cast<std::int32_t>(other.size())), 1);
  }
  // The good save loads, and every id it brings can be shown.
  ASSERT_EQ(tmsave_Read(good.data(), n), 1);
  EXPECT_LT(tmglobal.aHumans[0].Name, static_cast<std::uint32_t>(TLA_COUNT));
  for (const RollOfHonourEntry& e : tmglobal.aRoll)
    for (std::uint32_t u : {e.Winner, e.RunnerUp, e.Third, e.Fourth}) EXPECT_LT(u, static_cast<std::uint32_t>(TLA_COUNT));
  for (const NewQualifier& q : tmglobal.aNewQual) EXPECT_LT(q.Name, static_cast<std::uint32_t>(TLA_COUNT));
}

// A human team must have a place in its edition's tree (its team lists or
// its fixtures): a save naming another team (the first id, the last, a team
// of other editions) would load into a hub with no match to play. The
// human teams after the first count as the count of human teams says.
TEST(TournamentSave, AHumanTeamWithoutAPlaceInTheTreeIsRefused) {
  const std::vector<std::uint8_t> good = MidCampaign(Id("MEX"), 2);
  ASSERT_EQ(tmsave_Read(good.data(), static_cast<std::int32_t>(good.size())), 1);
  // A team of the 1970 tree besides Mexico, and teams it does not name.
  std::uint32_t uIn = 0, uOut = 0;
  for (std::uint32_t u = 1; u < static_cast<std::uint32_t>(TLA_COUNT); u++) {
    if (!uIn && u != Id("MEX") && TeamInTreeLists(u)) uIn = u;
    if (!uOut && !TeamInTreeLists(u)) uOut = u;
  }
  ASSERT_NE(uIn, 0u);
  ASSERT_NE(uOut, 0u);
  ASSERT_FALSE(TeamInTreeLists(0));
  ASSERT_FALSE(TeamInTreeLists(TLA_COUNT - 1));
  const std::vector<std::uint8_t> other = MidCampaign(Id("SCO"), 1);  // the running tournament
  const std::int32_t n = static_cast<std::int32_t>(good.size());
  const std::int32_t kGlobal = 4, kTeamState = 4 + TMSAVE_GLOBAL_SIZE;
  const std::int32_t kSettings = kTeamState + TMSAVE_TEAMSTATE_SIZE - 4 * TMSAVE_SETTINGS_WORDS;
  const auto with = [&](std::vector<std::uint8_t> v, std::int32_t at, std::uint32_t value) {
    for (std::int32_t i = 0; i < 4; i++) v[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return v;
  };
  const auto refused = [&](const std::vector<std::uint8_t>& v, const std::string& reason) {
    EXPECT_EQ(tmsave_Read(v.data(), n), 0) << reason;
    EXPECT_EQ(std::string(tmsave_RefusalGet()), reason);
    EXPECT_EQ(Save(), other) << reason;
  };
  for (std::uint32_t u : {0u, static_cast<std::uint32_t>(TLA_COUNT - 1), uOut})
    refused(with(good, kGlobal + 108, u), "human team 1's id " + std::to_string(u) + " has no place in the tree of its edition");
  refused(with(good, kGlobal + 116, 0), "it has no human team");
  // A second human team.
  const std::vector<std::uint8_t> two = with(good, kGlobal + 116, 2);
  for (std::uint32_t u : {0u, uOut})
    refused(with(two, kSettings + 4 * 19, u), "human team 2's id " + std::to_string(u) + " has no place in the tree of its edition");
  const std::vector<std::uint8_t> second = with(two, kSettings + 4 * 19, uIn);
  ASSERT_EQ(tmsave_Read(second.data(), n), 1) << tmsave_RefusalGet();
  EXPECT_EQ(tmglobal.cHumans, 2);
  EXPECT_EQ(tmglobal.aHumans[1].Name, uIn);
  ASSERT_EQ(tmsave_Read(good.data(), n), 1);
  EXPECT_EQ(tmglobal.aHumans[0].Name, Id("MEX"));
}

// Short and damaged streams say why they were refused.
TEST(TournamentSave, ARefusalSaysWhy) {
  const std::vector<std::uint8_t> good = MidCampaign(Id("MEX"), 1);
  std::vector<std::uint8_t> v = good;
  EXPECT_EQ(tmsave_Read(v.data(), 100), 0);
  EXPECT_STREQ(tmsave_RefusalGet(), "the block is too short");
  v[8] = 124;
  EXPECT_EQ(tmsave_Read(v.data(), static_cast<std::int32_t>(v.size())), 0);
  EXPECT_STREQ(tmsave_RefusalGet(), "its version is 124, not 125");
  v = good;
  v[v.size() - 1] = 'N';
  EXPECT_EQ(tmsave_Read(v.data(), static_cast<std::int32_t>(v.size())), 0);
  EXPECT_STREQ(tmsave_RefusalGet(), "the tournament tree is damaged");
  EXPECT_EQ(tmsave_Read(good.data(), static_cast<std::int32_t>(good.size())), 1);
  EXPECT_STREQ(tmsave_RefusalGet(), "");
}

// The current human team is one of the human teams: with one human team a
// current human team of 1 to 3 (or -1) is refused, naming the word, its value
// and its range, where it once loaded into a hub with no team, no date and no
// fixture. With two human teams the second may be the current one.
TEST(TournamentSave, TheCurrentHumanTeamIsBelowTheCountOfHumanTeams) {
  const std::vector<std::uint8_t> good = MidCampaign(Id("MEX"), 2);
  ASSERT_EQ(Load(good), 1);
  std::uint32_t uIn = 0;
  for (std::uint32_t u = 1; u < static_cast<std::uint32_t>(TLA_COUNT) && !uIn; u++)
    if (u != Id("MEX") && TeamInTreeLists(u)) uIn = u;
  ASSERT_NE(uIn, 0u);
  const std::vector<std::uint8_t> other = MidCampaign(Id("SCO"), 1);  // the running tournament
  const auto refused = [&](const std::vector<std::uint8_t>& v, const std::string& reason) {
    EXPECT_EQ(Load(v), 0) << reason;
    EXPECT_EQ(std::string(tmsave_RefusalGet()), reason);
    EXPECT_EQ(Save(), other) << reason;
  };
  for (std::int32_t i : {1, 2, 3, -1})
    refused(With(good, kGlobalAt + 48, static_cast<std::uint32_t>(i)),
            "its current human team (tournament word 48) is " + std::to_string(i) + ", not 0: it has one human team");
  const std::vector<std::uint8_t> two = With(With(good, kGlobalAt + 116, 2), kSecondHumanAt, uIn);
  refused(With(two, kGlobalAt + 48, 2), "its current human team (tournament word 48) is 2, not 0 to 1: it has 2 human teams");
  for (std::int32_t i : {0, 1}) {
    // The word and its byte copy at offset 8, as the game writes them.
    std::vector<std::uint8_t> v = With(two, kGlobalAt + 48, static_cast<std::uint32_t>(i));
    v[kGlobalAt + 8] = static_cast<std::uint8_t>(i);
    ASSERT_EQ(Load(v), 1) << i << ": " << tmsave_RefusalGet();
    EXPECT_STREQ(tmsave_RefusalGet(), "");
    EXPECT_EQ(tmglobal.cHumans, 2);
    EXPECT_EQ(tmglobal.iCurrentHuman, i);
    EXPECT_EQ(Save(), v);
  }
}

// An edition's tree holds its qualifying year, then its finals once they are
// loaded. A history begun with the qualifiers whose Play Qualifiers setting
// is cleared would play a finals year it does not have (the hub without a
// fixture): it is refused, as are the other flags that pick a year the tree
// lacks. A history whose human team hosts the edition starts in the finals
// with the setting kept, so a tree made without the qualifiers with the
// setting on is one the game writes: it loads and plays.
TEST(TournamentSave, FlagsThatDisagreeWithTheTreeAreRefused) {
  const std::uint32_t Host = result_HostGet(5);
  std::uint32_t Team = 0;
  for (const char* tla : {"SCO", "MEX", "KOR", "CHI"})
    if (!Team && Id(tla) != Host) Team = Id(tla);
  const std::vector<std::uint8_t> withQualifiers = Begun78(Team, 1);
  ASSERT_EQ(tmglobal.bFinalsLoaded, 0);
  ASSERT_EQ(TheYearList->pNext, nullptr);
  const std::vector<std::uint8_t> without = Begun78(Team, 0);
  ASSERT_EQ(tmglobal.bFinalsLoaded, 1);
  ASSERT_NE(TheYearList->pNext, nullptr);
  const std::vector<std::uint8_t> hosted = Begun78(Host, 1);
  ASSERT_EQ(tmglobal.bPlayQualifiers, 1);
  ASSERT_EQ(tmglobal.bFinalsLoaded, 1);
  const std::vector<std::uint8_t> other = MidCampaign(Id("SCO"), 1);  // the running tournament
  const auto refused = [&](const std::vector<std::uint8_t>& v, const std::string& reason) {
    EXPECT_EQ(Load(v), 0) << reason;
    EXPECT_EQ(std::string(tmsave_RefusalGet()), reason);
    EXPECT_EQ(Save(), other) << reason;
  };
  refused(With(withQualifiers, kGlobalAt + 124, 0),
          "its Play Qualifiers setting is 0 (No), but its tree holds the qualifiers being played and no finals");
  refused(With(withQualifiers, kGlobalAt + 32, 1), "its finals-loaded flag is 1, but its tree holds only the qualifying year");
  refused(With(withQualifiers, kGlobalAt + 28, 1), "its qualifiers-extracted flag is 1, but its tree holds no finals for them");
  refused(With(without, kGlobalAt + 32, 0), "its finals-loaded flag is 0, but its tree holds the finals");
  // The finals alone, without their qualifying year.
  CampaignReset(9);
  tmglobal_YearSet(78);
  ASSERT_TRUE(tmmain_FinalsFileLoad(78));
  tmglobal.aHumans[0].Name = Host;
  tmglobal.cHumans = 1;
  tmglobal.bPlayQualifiers = 1;
  const std::vector<std::uint8_t> finalsAlone = Save();
  ASSERT_EQ(Load(other), 1);
  refused(finalsAlone, "its tree begins with the finals, without their qualifying year");
  // What the game writes loads, with the human team's fixture in the year
  // its flags pick and no fault, and saves again as it was.
  for (const auto& v : {withQualifiers, without, hosted, With(without, kGlobalAt + 124, 1)}) {
    tmreport_CountReset();
    ASSERT_EQ(Load(v), 1) << tmsave_RefusalGet();
    EXPECT_TRUE(HumanHasFixture());
    EXPECT_EQ(tmreport_CountGet(), 0);
    EXPECT_EQ(Save(), v);
    ASSERT_EQ(Load(other), 1);
  }
}

// A reason names the word as the game calls it, with its range, and prints
// a signed word signed.
TEST(TournamentSave, AReasonNamesTheWordItsSignedValueAndItsRange) {
  const std::vector<std::uint8_t> good = MidCampaign(Id("MEX"), 1);
  const std::uint32_t kMinusOne = 0xFFFFFFFFu, kIntMin = static_cast<std::uint32_t>(INT_MIN);
  struct Case {
    std::int32_t at;
    std::uint32_t value;
    const char* pszReason;
  };
  const Case aCases[] = {
      {124, 2, "its Play Qualifiers setting (tournament word 124) is 2, not 0 or 1"},
      {124, kMinusOne, "its Play Qualifiers setting (tournament word 124) is -1, not 0 or 1"},
      {32, kIntMin, "its finals-loaded flag (tournament word 32) is -2147483648, not 0 or 1"},
      {24, 7, "its history-started flag (tournament word 24) is 7, not 0 or 1"},
      {20, 2, "its first leg's played flag (tournament word 20) is 2, not 0 or 1"},
      {340, kMinusOne, "its tournament-match flag (tournament word 340) is -1, not 0 or 1"},
      {12, 256, "its first leg's home score (tournament word 12) is 256, not 0 to 255"},
      {116, 5, "its number of human teams (tournament word 116) is 5, not 1 to 4"},
      {116, kMinusOne, "its number of human teams (tournament word 116) is -1, not 1 to 4"},
      {152, kMinusOne, "its match phase (tournament word 152) is -1, not 0 to 5"},
      {152, 6, "its match phase (tournament word 152) is 6, not 0 to 5"},
      {332, kIntMin, "its round format (tournament word 332) is -2147483648, not 0 to 9"},
      {336, 9, "its tie-break (tournament word 336) is 9, not 0 to 8"},
      {344, kMinusOne, "its number of new qualifiers (tournament word 344) is -1, not 0 to 32"},
      {616, 32, "its date's day (tournament word 616) is 32, not 0 to 31"},
      {620, kMinusOne, "its date's month (tournament word 620) is -1, not 0 to 12"},
      {624, 100, "its date's two-digit year (tournament word 624) is 100, not 0 to 99"},
      {4, kMinusOne, "its version is -1, not 125"},
  };
  for (const Case& c : aCases) {
    EXPECT_EQ(Load(With(good, kGlobalAt + c.at, c.value)), 0) << c.pszReason;
    EXPECT_STREQ(tmsave_RefusalGet(), c.pszReason);
  }
  std::vector<std::uint8_t> v = good;
  v[kGlobalAt + 9] = 61;
  EXPECT_EQ(Load(v), 0);
  EXPECT_STREQ(tmsave_RefusalGet(), "its year (tournament byte 9) is 61, not 58 to 98 in steps of 4");
  // The team-state block's words likewise.
  constexpr std::int32_t kTeamState = kGlobalAt + TMSAVE_GLOBAL_SIZE;
  EXPECT_EQ(Load(With(good, kTeamState + MATCH_SAVE_AREA_SIZE + 44, kMinusOne)), 0);
  EXPECT_STREQ(tmsave_RefusalGet(), "squad 0's edition is -1, not 0 to 11");
  EXPECT_EQ(Load(With(good, kTeamState + TMSAVE_TEAMSTATE_SIZE - 4, kIntMin)), 0);
  EXPECT_STREQ(tmsave_RefusalGet(), "the reserved settings word 47 is -2147483648, not 0");
  ASSERT_EQ(Load(good), 1);
  EXPECT_STREQ(tmsave_RefusalGet(), "");
}
