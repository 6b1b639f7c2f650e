// The tournament tree: pools, year files, fixtures, simulated results,
// tables and places.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "framework/math/qrand.h"
#include "frontend/mteam_conf.h"
#include "shell/texts.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/stadium.h"
#include "tournament/tla.h"
#include "tournament/tmsave.h"
#include "tournament/tmgame.h"
#include "shell/global.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"
#include "tournament/yearfile.h"
#include "tournament_env.h"

namespace {

std::string Name(int id) { return festr_TMIDToStr(id); }

// One year-file line.
std::string Line(const std::string& key, const std::string& conf, const std::string& group, const std::string& round,
                 const std::string& format, const std::string& tb, const std::string& places,
                 const std::string& dates, const std::string& teams, const std::string& longName = "") {
  return key + "," + conf + "," + group + "," + round + "," + longName + "," + format + ",," + tb + "," + places +
         "," + dates + ",,," + teams + "\r\n";
}

void Fresh() {
  tmmain_PoolsReset();
  tmglobal_Reset();
  tmreport_CountReset();
  history_PatternsReset();
  result_RandSeed(1);
}

Round* FirstRound() { return TheYearList->pConfs->pGroups->pRounds; }

}  // namespace

TEST(TournamentPools, LimitsAndResets) {
  Fresh();
  for (int i = 0; i < TMMAX_FIXTURES; i++) ASSERT_NE(tmmain_FixtureAlloc(), nullptr) << i;
  EXPECT_EQ(tmmain_FixtureAlloc(), nullptr);
  EXPECT_EQ(tmreport_CountGet(), 1);
  EXPECT_EQ(tmmain_PoolCountsGet().cFixtures, TMMAX_FIXTURES);
  for (int i = 0; i < TMMAX_YEARS; i++) ASSERT_NE(tmmain_YearAlloc(), nullptr);
  EXPECT_EQ(tmmain_YearAlloc(), nullptr);
  for (int i = 0; i < TMMAX_STADIUMS; i++) ASSERT_NE(tmmain_StadiumLinkAlloc(), nullptr);
  EXPECT_EQ(tmmain_StadiumLinkAlloc(), nullptr);
  tmmain_PoolsReset();
  const TMPoolCounts c = tmmain_PoolCountsGet();
  EXPECT_EQ(c.cFixtures + c.cYears + c.cStadiums + c.cTeams, 0);
  EXPECT_EQ(TheYearList, nullptr);
  EXPECT_EQ(history_ConfCountGet(TheYearList), 0);
  // The rating list keeps one entry a team.
  TeamRating* a = tmmain_TeamRatingAdd(7);
  EXPECT_EQ(tmmain_TeamRatingAdd(7), a);
  EXPECT_NE(tmmain_TeamRatingAdd(8), a);
  EXPECT_EQ(tmmain_PoolCountsGet().cRatings, 2);
  tmmain_TeamRatingsReset();
  EXPECT_EQ(tmglobal.pRatings, nullptr);
}

TEST(TournamentPools, KeysEditionsAndFlags) {
  Fresh();
  EXPECT_EQ(tmdata_KeyIndexGet("58"), 1);
  EXPECT_EQ(tmdata_KeyIndexGet("F58"), 2);
  EXPECT_EQ(tmdata_KeyIndexGet("F98"), 22);
  EXPECT_EQ(tmdata_KeyIndexGet("f98"), 0);
  EXPECT_EQ(tmreport_CountGet(), 1);
  tmglobal_YearSet(74);
  EXPECT_EQ(tmglobal_EditionGet(), 4);
  EXPECT_EQ(tmglobal_EditionMaskGet(), 16u);
  EXPECT_EQ(tmglobal_YearFromEditionGet(10), 98);
  Fixture f{};
  history_FixtureSlotBSet(&f, 1);
  history_FixturePlayOffSet(&f, 1);
  EXPECT_EQ(f.cFlags, FIX_SLOTB | FIX_PLAYOFF);
  history_FixtureSlotBSet(&f, 0);
  EXPECT_EQ(history_FixturePlayOffGet(&f), 1);
  EXPECT_EQ(history_FixtureSlotBGet(&f), 0);
  history_LotsSet(&f, 1);
  EXPECT_EQ(f.cResult, RES_LOTS | RES_LOTS_SECOND);
  history_ScoreSet(&f, 2, 1);
  history_ResultClear(&f);
  EXPECT_EQ(f.cResult, 0);
  EXPECT_EQ(f.cScoreA, 0);
  tmglobal_NormalTimeScoreSet(1, 1);
  tmglobal_ExtraTimeScoreSet(3, 1);
  EXPECT_EQ(tmglobal.cExtraA, 2);
  EXPECT_EQ(tmglobal.cExtraB, 0);
  tmgame_QualifiedSet(1, 1);
  tmgame_Played3rdPlacePOSet(1, 1);
  EXPECT_EQ(tmglobal.aHumans[1].uFlags, TMF_QUALIFIED | TMF_THIRD_PLACE);
  tmmain_UserTeamFlagsClearAll();
  EXPECT_EQ(tmgame_QualifiedGet(1), 0);
}

TEST(YearFile, LinesBuildTheTree) {
  Fresh();
  tmglobal_YearSet(58);
  const std::string t1 = Name(1), t2 = Name(2), t3 = Name(3), t4 = Name(4);
  std::string s = Line("58", "UEFA", "1", "1", "once", "gd", "w,o,o,o", "05/06/58;07/06/58", t1 + "," + t2) +
                  ",,,,\r\n" +
                  Line("58", "UEFA", "1", "1", "once", "gd", "w,o,o,o", "09/06/58", t3 + "," + t1) +
                  Line("58", "UEFA", "2", "1", "ko", "bye", ",,,", "01/02/58", t4) +
                  Line("58", "UEFA", "3", "1", "ko", "", ",,,", "", t4);
  EXPECT_EQ(history_YearTextParse(s.data(), static_cast<int>(s.size())), 4);
  EXPECT_EQ(tmreport_CountGet(), 0);
  ASSERT_NE(TheYearList, nullptr);
  EXPECT_EQ(TheYearList->uKey, 1u);
  Confederation* c = TheYearList->pConfs;
  EXPECT_STREQ(c->szName, "UEFA");
  EXPECT_EQ(history_GroupCountGet(c), 3);
  Round* r = FirstRound();
  EXPECT_EQ(history_TeamCountGet(r), 3);  // the repeated team keeps one entry
  EXPECT_EQ(history_FixtureDateCountGet(r), 3);
  FixtureDate* d = tmglobal_FixtureDateGet(r, 0);
  EXPECT_EQ(d->cDay, 5);
  EXPECT_EQ(d->cMonth, 6);
  EXPECT_EQ(d->cYear, 58);
  EXPECT_EQ(r->uFormat, FMT_ONCE);
  EXPECT_EQ(r->uTieBreak, TB_GD);
  EXPECT_STREQ(r->szPlace1, "w");
  Round* bye = history_GroupGet(c, 1)->pRounds;
  EXPECT_EQ(history_FixtureDateCountGet(bye), 0);  // a bye reads no dates
  Round* open = history_GroupGet(c, 2)->pRounds;
  ASSERT_EQ(history_FixtureDateCountGet(open), 1);
  EXPECT_EQ(open->pDates->cDay, 1);
  EXPECT_EQ(open->pDates->cYear, 50);
  EXPECT_EQ(history_DateCountGet(open), 0);
}

TEST(YearFile, FaultsAreReportedAndSkipped) {
  Fresh();
  tmglobal_YearSet(58);
  const std::string t1 = Name(1);
  const std::string s = Line("58", "UEFA", "1", "1", "zz", "qq", ",,,", "00/06/58;05/13/58;05/06/99;5/6/58",
                             "Nowhere Land," + t1) +
                        Line("58", std::string(80, 'C'), "1", "1", "ha", "", ",,,", "1/1/58", t1);
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  // format, tie-break, three dates, the unknown team, the long confederation
  // (cut to its buffer and over 24 characters)
  EXPECT_EQ(tmreport_CountGet(), 8);
  ASSERT_NE(TheYearList, nullptr);
  Round* r = FirstRound();
  EXPECT_EQ(history_FixtureDateCountGet(r), 1);
  EXPECT_EQ(history_TeamCountGet(r), 1);
  EXPECT_EQ(r->uFormat, 0u);
}

// The faults of a parse in words, for a player who has no debug log: the
// first faulty line (counted in the file, blank lines included), its field
// and what is wrong there, and how many faults there were.
TEST(YearFile, TheFirstFaultIsNamedByItsLineFieldAndWhat) {
  const std::string t1 = Name(1), t2 = Name(2);
  const auto described = [](const std::string& s) {
    Fresh();
    tmglobal_YearSet(58);
    history_YearTextParse(s.data(), static_cast<int>(s.size()));
    char sz[240];
    history_YearTextFaultDescribe(tmreport_CountGet(), sz, sizeof(sz));
    return std::string(sz);
  };
  const std::string good = Line("58", "UEFA", "1", "1", "once", "gd", "w,o,o,o", "05/06/58", t1 + "," + t2);
  EXPECT_EQ(described(good + "\r\n" + Line("58", "UEFA", "2", "1", "once", "gd", "w,o,o,o", "05/06/58",
                                           t1 + ",Nowhere Land," + t2 + ",Atlantis")),
            "its line 3 has an unknown team \"Nowhere Land\" in field 17 (a team) (2 faults in all)");
  EXPECT_EQ(described(Line("58", "UEFA", "1", "1", "zz", "gd", "w,o,o,o", "05/06/58", t1)),
            "its line 1 has an unknown play format \"zz\" in field 6 (the play format)");
  EXPECT_EQ(described(good + Line("58", "UEFA", "1", "2", "once", "qq", "w,o,o,o", "05/06/58", t1)),
            "its line 2 has an unknown tie-break \"qq\" in field 8 (the tie-break)");
  EXPECT_EQ(described(good + good + Line("58", "UEFA", "1", "1", "once", "gd", "w,o,o,o", "05/13/58;40/1/58", t1)),
            "its line 3 has a month outside 1 to 12 in field 13 (the dates) (2 faults in all)");
  EXPECT_EQ(described(Line("58", "UEFA", "1", "1", "once", "gd", "w,o," + std::string(30, 'p') + ",q", "05/06/58", t1)),
            "its line 1 has a place code longer than its buffer \"" + std::string(30, 'p') +
                "\" in field 11 (the third place code)");
}

TEST(YearFile, PlaceCodesLongerThanTheirBuffersAreCutAndReported) {
  Fresh();
  tmglobal_YearSet(58);
  const std::string sLong(30, 'p'), sFirst(54, 'w');
  // The first code fills its buffer exactly; the third is six too long for its 25 bytes.
  std::string s = Line("58", "UEFA", "1", "1", "once", "gd", sFirst + ",o," + sLong + ",q", "05/06/58", Name(1));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  EXPECT_EQ(tmreport_CountGet(), 1);
  ASSERT_NE(TheYearList, nullptr);
  Round* r = FirstRound();
  EXPECT_EQ(std::string(r->szPlace1), sFirst);
  EXPECT_STREQ(r->szPlace2, "o");
  EXPECT_EQ(std::string(r->szPlace3), std::string(24, 'p'));
  EXPECT_STREQ(r->szPlace4, "q");
  // The fourth code too long for its 28 bytes: one report a line.
  Fresh();
  tmglobal_YearSet(58);
  s = Line("58", "UEFA", "1", "1", "once", "gd", "w,,," + std::string(28, 'z'), "05/06/58", Name(1));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  EXPECT_EQ(tmreport_CountGet(), 1);
  EXPECT_EQ(std::string(FirstRound()->szPlace4), std::string(27, 'z'));
}

TEST(YearFile, HolderIsLeftOutOfQualifiers) {
  Fresh();
  tmglobal_YearSet(62);
  tmglobal.bHolderOption = 1;
  const std::string h = Name(static_cast<int>(tmglobal.aHolders[1]));
  const std::string s = Line("62", "CONMEBOL", "3", "1", "ha", "po", "w,,,", "1/1/61;8/1/61", Name(1) + "," + h);
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  EXPECT_EQ(history_bTeamNotAdded, 1);
  EXPECT_EQ(history_TeamCountGet(FirstRound()), 1);
  history_YearFixturesBuild(TheYearList);
  EXPECT_EQ(history_bTeamNotAdded, 0);
  EXPECT_EQ(history_FixtureCountGet(FirstRound()), 0);  // the left-out team's pairings are absent
  EXPECT_EQ(FirstRound()->bComplete, 0u);
}

TEST(YearFile, TruncatedAndCorruptedInputNeverCrash) {
  const std::string t1 = Name(1), t2 = Name(2);
  std::string s;
  for (int g = 0; g < 6; g++)
    s += Line("F58", "1st Round", std::to_string(g), "1", g % 2 ? "ha" : "ko3", g % 2 ? "gd" : "agg", "a,b,c,d",
              "1/6/58;2/6/58;3/6/58;4/6/58", t1 + "," + t2);
  for (size_t n = 0; n <= s.size(); n += 3) {
    Fresh();
    tmglobal_YearSet(58);
    history_YearTextParse(s.data(), static_cast<int>(n));
    history_YearFixturesBuild(TheYearList);
  }
  std::uint32_t x = 12345;
  for (int k = 0; k < 300; k++) {
    std::string c = s;
    for (int j = 0; j < 8; j++) {
      x = x * 1103515245u + 12345u;
      c[(x >> 8) % c.size()] = static_cast<char>(x >> 24);
    }
    Fresh();
    tmglobal_YearSet(58);
    history_YearTextParse(c.data(), static_cast<int>(c.size()));
    history_YearFixturesBuild(TheYearList);
    const TMPoolCounts p = tmmain_PoolCountsGet();
    EXPECT_LE(p.cGroups, TMMAX_GROUPS);
    EXPECT_LE(p.cFixtures, TMMAX_FIXTURES);
  }
}

TEST(Fixtures, EveryListIsAValidSchedule) {
  for (int table = 1; table <= 2; table++)
    for (int n = 2; n <= 10; n++) {
      history_PatternsReset();
      for (int shuffle = 0; shuffle < 3; shuffle++) {
        const char* p = history_PatternGet(table, n);
        if (!p) {
          EXPECT_TRUE(n == 8 || (n == 10 && table == 1)) << n;
          break;
        }
        std::set<std::string> seen;
        std::set<char> day;
        int pairsToday = 0, days = 0;
        for (; *p != '$'; p++) {
          if (*p == '!') {
            days++;
            if (n % 2 == 0) {
              EXPECT_EQ(pairsToday, 1);
            }
            continue;
          }
          std::string pair{p[0], p[1]};
          ASSERT_LT(p[0] - 'A', n);
          ASSERT_LT(p[1] - 'A', n);
          if (table == 1 && pair[0] > pair[1]) std::swap(pair[0], pair[1]);
          EXPECT_TRUE(seen.insert(pair).second) << "pair twice " << pair << " n " << n;
          pairsToday = 1;
          p++;
        }
        EXPECT_EQ(static_cast<int>(seen.size()), table == 1 ? n * (n - 1) / 2 : n * (n - 1)) << n;
        EXPECT_EQ(days, static_cast<int>(seen.size()));
        history_PatternsShuffle();
      }
    }
}

TEST(Fixtures, CountsDatesAndStableSort) {
  Fresh();
  tmglobal_YearSet(66);
  std::string teams = Name(1) + "," + Name(2) + "," + Name(3) + "," + Name(4);
  std::string dates;
  for (int i = 0; i < 12; i++) dates += (i ? ";" : "") + std::to_string(1 + i / 2) + "/5/65";
  std::string s = Line("66", "UEFA", "1", "1", "ha", "gd", "w,,,", dates, teams) +
                  Line("66", "UEFA", "2", "1", "once", "gd", "w,,,", "1/5/65;2/5/65;3/5/65;4/5/65;5/5/65;6/5/65",
                       teams) +
                  Line("66", "UEFA", "3", "1", "ko", "", "w,,,", "9/5/65", Name(5) + "," + Name(6));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  history_YearFixturesBuild(TheYearList);
  EXPECT_EQ(tmreport_CountGet(), 0);
  Confederation* c = TheYearList->pConfs;
  Round* ha = history_GroupGet(c, 0)->pRounds;
  Round* once = history_GroupGet(c, 1)->pRounds;
  Round* ko = history_GroupGet(c, 2)->pRounds;
  EXPECT_EQ(history_FixtureCountGet(ha), 12);
  EXPECT_EQ(history_FixtureCountGet(once), 6);
  ASSERT_EQ(history_FixtureCountGet(ko), 1);
  EXPECT_EQ(ko->pFixtures->cTeamA, 0);
  EXPECT_EQ(ko->pFixtures->cDate, 0);
  // Each ordered pair once, no team twice on a calendar day, sorted by date.
  std::set<std::pair<int, int>> pairs;
  std::map<std::pair<int, int>, int> perDay;
  int last = -1;
  for (Fixture* f = ha->pFixtures; f; f = f->pNext) {
    const int day = tmglobal_FixtureDateGet(ha, f->cDate)->cDay;
    EXPECT_GE(day, last);
    last = day;
    EXPECT_TRUE(pairs.insert({f->cTeamA, f->cTeamB}).second);
    const FixtureDate* d = tmglobal_FixtureDateGet(ha, f->cDate);
    const std::pair<int, int> ka{f->cTeamA, d->cDay}, kb{f->cTeamB, d->cDay};
    EXPECT_EQ(++perDay[ka], 1);
    EXPECT_EQ(++perDay[kb], 1);
  }
  // Equal dates keep their order; the links stay with the nodes.
  int tag = 0;
  for (Fixture* f = once->pFixtures; f; f = f->pNext) {
    f->cDate = (tag == 4) ? 0 : 3;
    f->cScoreA = static_cast<std::uint8_t>(tag++);
  }
  history_RoundFixturesSort(once);
  std::string order;
  for (Fixture* f = once->pFixtures; f; f = f->pNext) order += static_cast<char>('0' + f->cScoreA);
  EXPECT_EQ(order, "401235");
  Fixture* f0 = once->pFixtures;
  Fixture* f1 = f0->pNext;
  f0->cScoreA = 7;
  f1->cScoreA = 8;
  history_FixtureSwap(f0, f1);
  EXPECT_EQ(f0->cScoreA, 8);
  EXPECT_EQ(f0->pNext, f1);
  // A round without enough dates gets no fixtures.
  Fresh();
  tmglobal_YearSet(66);
  s = Line("66", "UEFA", "1", "1", "once", "gd", "w,,,", "1/5/65", teams);
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  history_YearFixturesBuild(TheYearList);
  EXPECT_EQ(history_FixtureCountGet(FirstRound()), 0);
  EXPECT_GT(tmreport_CountGet(), 0);
}

TEST(Results, TablesAndDraws) {
  // Every table ends at a threshold of at least 1000 and rises.
  auto check = [](const ScoreTable& t) {
    EXPECT_GE(t.pEntries[t.cEntries - 1].uThreshold, 1000);
    for (int i = 1; i < t.cEntries; i++) EXPECT_GE(t.pEntries[i].uThreshold, t.pEntries[i - 1].uThreshold);
  };
  for (const auto& t : result_aFullTime) check(t);
  for (int i = 0; i < 5; i++) {
    check(result_aExtraTime[i]);
    check(result_aExtraTime2[i]);
    check(result_aPenalties[i]);
  }
  EXPECT_EQ(result_aPenalties[0].pEntries[result_aPenalties[0].cEntries - 1].uThreshold, 1995);
  EXPECT_EQ(result_TableDraw(result_aFullTime[RT_CLOSE], 210)->cFirst, 1);
  EXPECT_EQ(result_TableDraw(result_aFullTime[RT_CLOSE], 211)->cFirst, 2);
  EXPECT_EQ(result_TableDraw(result_aExtraTime[0], 997)->cFirst, 3);  // the first of repeated thresholds
  EXPECT_EQ(result_TableChoose(0, 50, 50), RT_UPSET);
  EXPECT_EQ(result_TableChoose(0, 10, 70), RT_BIG_UPSET);
  EXPECT_EQ(result_TableChoose(0, 90, 10), RT_BIG);
  EXPECT_EQ(result_TableChoose(0, 100, 10), RT_ROUT);
  EXPECT_EQ(result_TableChoose(1, 10, 90), RT_ROUT);  // B's rout begins above 70
  EXPECT_EQ(result_BandGet(3, 12), 0);
  EXPECT_EQ(result_BandGet(3, 13), 1);
  // Random100 stays in 0..100 and repeats with the seed.
  result_RandSeed(5);
  const int a = result_Random100();
  result_RandSeed(5);
  EXPECT_EQ(result_Random100(), a);
  for (int i = 0; i < 2000; i++) {
    const int r = result_Random1000();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 1000);
  }
}

TEST(Results, GenerateFrequenciesFollowTheChances) {
  tmglobal_Reset();
  tmglobal_FinalsSet(1);
  result_RandSeed(99);
  const int N = 40000;
  int win = 0, loss = 0;
  for (int i = 0; i < N; i++) {
    int a, b;
    result_Generate(5, 5, &a, &b);
    win += a > b;
    loss += a < b;
  }
  // Reference model: both sides drop 20 points with chance 0.3 each.
  double w = 0, l = 0;
  for (int da = 0; da < 2; da++)
    for (int db = 0; db < 2; db++) {
      const double p = (da ? 0.3 : 0.7) * (db ? 0.3 : 0.7);
      const int A = da ? 30 : 50, B = db ? 30 : 50, d = A - B;
      int ww, ll;
      if (d >= 0) {
        ww = 35 + d * 65 / 100;
        ll = (100 - ww) * 45 / 100;
      } else {
        ll = (-d * 100 / 90) * 80 / 100 + 20;
        ww = (100 - ll) * 45 / 100;
      }
      w += p * ww / 101.0;
      l += p * ll / 101.0;
    }
  EXPECT_NEAR(win / double(N), w, 0.015);
  EXPECT_NEAR(loss / double(N), l, 0.015);
}

namespace {
// Builds and simulates one knock-out round of two teams.
Fixture* KnockOut(const char* fmt, const char* tb, int seed) {
  Fresh();
  tmglobal_YearSet(90);
  tmglobal_FinalsSet(1);
  result_RandSeed(static_cast<std::uint32_t>(seed));
  const std::string s = Line("F90", "Quarter Finals", "Q1", "1", fmt, tb, "a,,,", "1/7/90;5/7/90", Name(1) + "," + Name(4));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  history_YearFixturesBuild(TheYearList);
  Round* r = FirstRound();
  history_FixtureSimulate(r, r->pFixtures);
  return r->pFixtures;
}
}  // namespace

TEST(Results, KnockOutRules) {
  for (int seed = 1; seed < 400; seed++) {
    Fixture* f = KnockOut("ko2", "", seed);
    EXPECT_FALSE(f->cScoreA == f->cScoreB && f->cExtraA == f->cExtraB) << seed;
    f = KnockOut("ko3", "", seed);
    if (f->cScoreA == f->cScoreB && f->cExtraA == f->cExtraB) {
      EXPECT_NE(f->cPenA, f->cPenB);
    }
    f = KnockOut("ko1", "", seed);
    if (f->cScoreA == f->cScoreB && f->cExtraA == f->cExtraB) {
      EXPECT_TRUE(f->cResult & RES_LOTS);
    }
  }
}

TEST(Tables, PointsTieBreaksAndPlaces) {
  Fresh();
  tmglobal_YearSet(94);
  const std::string s = Line("94", "UEFA", "1", "1", "once", "gd2", "w,o,,", "1/1/93;2/1/93;3/1/93",
                             Name(1) + "," + Name(2) + "," + Name(3)) +
                        Line("F94", "1st Round", "A", "1", "once", "gd", "a,b,,", "1/6/94;2/6/94;3/6/94",
                             Name(1) + "," + Name(2) + "," + Name(3));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  history_YearFixturesBuild(TheYearList);
  history_YearFixturesBuild(TheYearList->pNext);
  Round* q = FirstRound();
  Round* fr = TheYearList->pNext->pConfs->pGroups->pRounds;
  // Every game drawn 1-1 but one 2-0 win: 2 points in the 1994 qualifiers.
  for (Fixture* f = q->pFixtures; f; f = f->pNext) {
    history_ScoreSet(f, 1, 1);
    f->cFlags |= FIX_PLAYED;
  }
  history_ScoreSet(q->pFixtures, 2, 0);
  for (Fixture* f = q->pFixtures; f; f = f->pNext) {
    tmglobal_FinalsSet(0);
    tmteam_FixtureResultApply(q, history_FixtureTeamA(q, f), f, 1);
    tmteam_FixtureResultApply(q, history_FixtureTeamB(q, f), f, 0);
  }
  const TMTeam* w = tmteam_TeamEntryGet(q, history_FixtureTeamA(q, q->pFixtures));
  EXPECT_EQ(w->cPoints, 3);  // 2 for the win, 1 for the draw
  tmglobal_FinalsSet(1);
  for (Fixture* f = fr->pFixtures; f; f = f->pNext) {
    history_ScoreSet(f, 1, 0);
    f->cFlags |= FIX_PLAYED;
    tmteam_FixtureResultApply(fr, history_FixtureTeamA(fr, f), f, 1);
    tmteam_FixtureResultApply(fr, history_FixtureTeamB(fr, f), f, 0);
  }
  EXPECT_EQ(fr->pTeams->cPoints, 6);  // 3 a win in the 1994 finals
  // Settle the qualifying round: the winner code adds a new qualifier.
  newqual_Clear(tmglobal.aNewQual);
  EXPECT_EQ(history_ResultsApply(TheYearList->pConfs->pGroups, q), 1);
  EXPECT_EQ(q->bComplete, 1u);
  EXPECT_EQ(newqual_iCountGet(), 1);
  EXPECT_STREQ(q->szPlace1, tmteam_NameText(w->Name));
  std::uint32_t n = 0;
  EXPECT_GE(tmteam_PlaceCodeResolve(TheYearList, "*1.1", &n, 0), 0);
  EXPECT_EQ(n, w->Name);
  EXPECT_EQ(tmteam_PlaceCodeResolve(TheYearList, "*9.1", &n, 0), -1);
}

TEST(Tables, GroupPlaceFindLevelPairs) {
  for (const char* fmt : {"once", "ko1"}) {
    Fresh();
    tmglobal_YearSet(70);
    const std::string s = Line("70", "UEFA", "G", "1", fmt, "gd", "w,,,", "1/1/69;2/1/69;3/1/69",
                               Name(1) + "," + Name(2));
    history_YearTextParse(s.data(), static_cast<int>(s.size()));
    Round* r = FirstRound();
    r->pTeams->cPoints = 2;
    r->pTeams->pNext->cPoints = 2;
    std::uint32_t n = 0;
    const int p = tmteam_GroupPlaceFind(TheYearList, "*G.1", &n);
    EXPECT_EQ(p, 3);
    const std::uint32_t expected = std::strcmp(fmt, "ko1") == 0 ? r->pTeams->pNext->Name : r->pTeams->Name;
    EXPECT_EQ(n, expected);
    // Asked again, the same team is alone on top, with its extra win.
    EXPECT_EQ(tmteam_GroupPlaceFind(TheYearList, "*G.1", &n), 4);
    EXPECT_EQ(n, expected);
  }
}

TEST(Tables, PlayOffWaitsForTheHumanTeam) {
  Fresh();
  tmglobal_YearSet(62);
  const std::string s = Line("62", "UEFA", "1", "1", "once", "po", "w,,,", "1/1/61;2/1/61", Name(1) + "," + Name(2));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  history_YearFixturesBuild(TheYearList);
  Round* r = FirstRound();
  tmglobal.cHumans = 1;
  tmglobal.aHumans[0].Name = r->pTeams->Name;
  history_ScoreSet(r->pFixtures, 1, 1);
  r->pFixtures->cFlags |= FIX_PLAYED;
  tmteam_FixtureResultApply(r, r->pTeams->Name, r->pFixtures, 1);
  tmteam_FixtureResultApply(r, r->pTeams->pNext->Name, r->pFixtures, 0);
  EXPECT_EQ(history_ResultsApply(TheYearList->pConfs->pGroups, r), 0);
  ASSERT_EQ(history_FixtureCountGet(r), 2);
  Fixture* po = r->pFixtures->pNext;
  EXPECT_TRUE(po->cFlags & FIX_PLAYOFF);
  EXPECT_EQ(po->cDate, 1);
  EXPECT_EQ(history_ResultsApply(TheYearList->pConfs->pGroups, r), 0);
  history_ScoreSet(po, 0, 2);
  po->cFlags |= FIX_PLAYED;
  tmteam_FixtureResultApply(r, r->pTeams->Name, po, 1);
  tmteam_FixtureResultApply(r, r->pTeams->pNext->Name, po, 0);
  EXPECT_EQ(history_ResultsApply(TheYearList->pConfs->pGroups, r), 1);
  EXPECT_EQ(tmgame_FailedToQualifyGet(0), 1);
}

TEST(RollOfHonour, InitAndNewQualifiers) {
  tmglobal_Reset();
  tmmain_RollOfHonourInit(3);
  EXPECT_NE(tmmain_RollOfHonourEntryGet(2)->Winner, 0u);
  EXPECT_EQ(tmmain_RollOfHonourEntryGet(3)->Winner, 0u);
  EXPECT_EQ(tmmain_RollOfHonourEntryGet(0)->Winner, tmmain_RollOfHonourEntryGet(1)->Winner);
  newqual_Clear(tmglobal.aNewQual);
  newqual_Add(tmglobal.aNewQual, 5);
  newqual_Add(tmglobal.aNewQual, 5);
  EXPECT_EQ(newqual_iCountGet(), 1);
  for (std::uint32_t i = 10; i < 60; i++) newqual_Add(tmglobal.aNewQual, i);
  EXPECT_EQ(newqual_iCountGet(), NEWQUAL_NUM_QUALIFIERS);
}

TEST(Simulation, SmallEditionPlaysToAWinner) {
  for (int seed = 1; seed <= 20; seed++) {
    Fresh();
    tmglobal_YearSet(78);
    tmglobal_FinalsSet(1);
    result_RandSeed(static_cast<std::uint32_t>(seed));
    std::string s;
    s += Line("F78", "1st Round", "1", "1", "once", "gd2", "*,*,,", "1/6/78;1/6/78;5/6/78;5/6/78;9/6/78;9/6/78",
              Name(1) + "," + Name(2) + "," + Name(3) + "," + Name(4));
    s += Line("F78", "World Cup Final", "Final", "1", "ko3", "", "Winner,,,", "25/6/78", Name(5) + "," + Name(6));
    history_YearTextParse(s.data(), static_cast<int>(s.size()));
    history_YearFixturesBuild(TheYearList);
    global.iDay = 31;
    global.iMonth = 12;
    global.iYear = 99;
    for (int i = 0; i < 5 && !TheYearList->bComplete; i++) {
      history_DaySimulate(TheYearList);
      history_PlaceholdersResolve(TheYearList);
      history_YearCompleteCheck(TheYearList);
    }
    ASSERT_EQ(TheYearList->bComplete, 1u) << seed;
    const std::uint32_t h = tmglobal.aHolders[6];
    EXPECT_TRUE(h == 5 || h == 6) << h;
    RollOfHonourEntry e{};
    tmmain_RollOfHonourFromFinals(TheYearList, &e);
    EXPECT_EQ(e.Winner, h);
    EXPECT_EQ(e.Winner + e.RunnerUp, 11u);
    tmteam_GroupTablesCollect(TheYearList);
    tmteam_GroupTablesSortAll(TheYearList);
    Group* g = TheYearList->pConfs->pGroups;
    EXPECT_EQ(tmteam_GroupTeamCountGet(g), 4);
    for (TMTeam* t = g->pTeams; t && t->pNext; t = t->pNext) EXPECT_GE(t->cPoints, t->pNext->cPoints);
    EXPECT_EQ(tmreport_CountGet(), 0);
  }
}

namespace {
std::string ReadYearFile(const char* folder, int yy, bool finals) {
  const auto p = BuildDir() / "data" / "database" / "tm" / folder /
                 ("year" + std::to_string(yy) + (finals ? "f" : "") + ".csv");
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Simulates dates until the year is complete; the number of passes.
int PlayOut(Year* y) {
  int passes = 0;
  while (!y->bComplete && passes < 40) {
    history_DaySimulate(y);
    history_PlaceholdersResolve(y);
    history_YearCompleteCheck(y);
    tmteam_GroupTablesCollect(y);
    tmteam_GroupTablesSortAll(y);
    passes++;
  }
  return passes;
}
}  // namespace

TEST(YearFiles, EveryEditionPlaysThroughInEveryLanguage) {
  const char* const folders[6] = {"english", "french", "german", "spanish", "italian", "portuguese"};
  std::map<int, std::string> shapes;
  for (int lang = 0; lang < 6; lang++) {
    for (int e = 0; e < 11; e++) {
      const int yy = 58 + 4 * e;
      const std::string q = ReadYearFile(folders[lang], yy, false), f = ReadYearFile(folders[lang], yy, true);
      ASSERT_FALSE(q.empty()) << folders[lang] << " " << yy;
      ASSERT_FALSE(f.empty()) << folders[lang] << " " << yy;
      Fresh();
      tmglobal_YearSet(yy);
      tmglobal.bHolderOption = 1;
      result_RandSeed(static_cast<std::uint32_t>(lang * 100 + e));
      global.iDay = 31;
      global.iMonth = 12;
      global.iYear = 99;
      history_YearTextParse(q.data(), static_cast<int>(q.size()));
      EXPECT_EQ(history_bTeamNotAdded, 1) << "the holder is left out of the qualifiers " << yy;
      history_YearFixturesBuild(TheYearList);
      EXPECT_EQ(history_bTeamNotAdded, 0);
      history_YearTextParse(f.data(), static_cast<int>(f.size()));
      history_YearFixturesBuild(TheYearList->pNext);
      ASSERT_NE(TheYearList, nullptr);
      ASSERT_NE(TheYearList->pNext, nullptr);
      EXPECT_EQ(TheYearList->uKey, static_cast<std::uint32_t>(2 * e + 1));
      // One tree shape in every language.
      std::string shape;
      for (Year* y = TheYearList; y; y = y->pNext)
        for (Confederation* c = y->pConfs; c; c = c->pNext)
          for (Group* g = c->pGroups; g; g = g->pNext)
            for (Round* r = g->pRounds; r; r = r->pNext)
              shape += std::string(g->szName) + "." + r->szName + ":" + std::to_string(history_TeamCountGet(r)) + ";";
      if (lang == 0) shapes[e] = shape;
      else EXPECT_EQ(shape, shapes[e]) << folders[lang] << " " << yy;
      tmglobal_FinalsSet(0);
      PlayOut(TheYearList);
      EXPECT_EQ(TheYearList->bComplete, 1u) << yy;
      tmglobal_FinalsSet(1);
      tmglobal.bFinalsLoaded = 1;
      PlayOut(TheYearList->pNext);
      EXPECT_EQ(TheYearList->pNext->bComplete, 1u) << folders[lang] << " " << yy;
      RollOfHonourEntry entry{};
      tmmain_RollOfHonourFromFinals(TheYearList->pNext, &entry);
      EXPECT_TRUE(tmteam_IsProperName(entry.Winner)) << yy;
      EXPECT_TRUE(tmteam_IsProperName(entry.Fourth)) << yy;
      EXPECT_EQ(tmglobal.aHolders[e + 1], entry.Winner);
      std::set<std::uint32_t> four{entry.Winner, entry.RunnerUp, entry.Third, entry.Fourth};
      EXPECT_EQ(four.size(), 4u);
      EXPECT_EQ(tmreport_CountGet(), 0) << folders[lang] << " " << yy;
      const TMPoolCounts p = tmmain_PoolCountsGet();
      EXPECT_LE(p.cTeams, TMMAX_TEAMS);
      EXPECT_LE(p.cFixtures, TMMAX_FIXTURES);
      // Both years of the edition, tables collected, fit what the save block
      // leaves for the tree.
      tmteam_GroupTablesCollect(TheYearList);
      tmteam_GroupTablesCollect(TheYearList->pNext);
      EXPECT_LE(tmmain_TreeSizeGet(TheYearList), TMSAVE_BLOCK_SIZE - 4 - TMSAVE_GLOBAL_SIZE - TMSAVE_TEAMSTATE_SIZE)
          << folders[lang] << " " << yy;
    }
  }
}

// The qualifying places of every edition add up to the finals: played out
// over several seeds in every language (the holder left out), the qualifiers
// name exactly as many distinct teams as the finals have places beside the
// host and the holder, each an entrant of that edition.
TEST(YearFiles, EveryEditionsQualifiersFillExactlyTheFinals) {
  const char* const folders[6] = {"english", "french", "german", "spanish", "italian", "portuguese"};
  for (int lang = 0; lang < 6; lang++) {
    for (int e = 0; e < 11; e++) {
      const int yy = 58 + 4 * e;
      const int cFinals = yy < 82 ? 16 : yy < 98 ? 24 : 32;
      const std::string q = ReadYearFile(folders[lang], yy, false);
      for (std::uint32_t seed = 1; seed <= 3; seed++) {
        Fresh();
        tmglobal_YearSet(yy);
        tmglobal.bHolderOption = 1;
        result_RandSeed(seed * 104729u + static_cast<std::uint32_t>(lang));
        global.iDay = 31;
        global.iMonth = 12;
        global.iYear = 99;
        history_YearTextParse(q.data(), static_cast<int>(q.size()));
        history_YearFixturesBuild(TheYearList);
        tmglobal_FinalsSet(0);
        PlayOut(TheYearList);
        ASSERT_EQ(TheYearList->bComplete, 1u) << folders[lang] << " " << yy << " seed " << seed;
        ASSERT_EQ(newqual_iCountGet(), cFinals - 2) << folders[lang] << " " << yy << " seed " << seed;
        std::set<std::uint32_t> seen;
        for (int i = 0; i < newqual_iCountGet(); i++) {
          const std::uint32_t t = tmglobal.aNewQual[i].Name;
          EXPECT_TRUE(tmteam_IsProperName(t)) << yy;
          EXPECT_NE(t, tmglobal.aHolders[e]) << yy;
          EXPECT_NE(mteam_FindConferenceForYear(static_cast<std::int32_t>(t), e), nullptr) << yy << " " << Name(static_cast<int>(t));
          seen.insert(t);
        }
        EXPECT_EQ(seen.size(), static_cast<size_t>(cFinals - 2)) << yy;
        EXPECT_EQ(tmreport_CountGet(), 0) << folders[lang] << " " << yy;
      }
    }
  }
}

TEST(Tables, CodeTeamResolveWaitsOnlyForAFilledOpenSlot) {
  Fresh();
  tmglobal_YearSet(70);
  const std::string s = Line("70", "UEFA", "A", "1", "once", "gd", "*,,,", "1/1/69", Name(1) + "," + Name(2)) +
                        Line("70", "UEFA", "B", "1", "once", "gd", "w,,,", "1/2/69", "*A.1*a," + Name(3));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  history_YearFixturesBuild(TheYearList);
  Round* a = TheYearList->pConfs->pGroups->pRounds;
  Round* b = TheYearList->pConfs->pGroups->pNext->pRounds;
  ASSERT_EQ(history_FixtureCountGet(a), 1);
  // Unplayed, but no open slot filled: settled as far as the code goes.
  EXPECT_EQ(history_CodeTeamResolve(TheYearList, b, 0), 1);
  a->pFixtures->cFlags |= FIX_BYNAMEID;
  EXPECT_EQ(history_CodeTeamResolve(TheYearList, b, 0), 1);
  a->pFixtures->cFlags |= FIX_SLOTFILLED;
  EXPECT_EQ(history_CodeTeamResolve(TheYearList, b, 0), 0);
  a->pFixtures->cFlags |= FIX_PLAYED;
  EXPECT_EQ(history_CodeTeamResolve(TheYearList, b, 0), 1);
  EXPECT_EQ(tmreport_CountGet(), 0);
  // A proper team is no code: reported, 0.
  EXPECT_EQ(history_CodeTeamResolve(TheYearList, b, 1), 0);
  EXPECT_EQ(tmreport_CountGet(), 1);
}

TEST(Stadiums, TableLookupsAndChoice) {
  // Rows the table pins.
  char sz[STADIUM_CITY_SIZE];
  const struct {
    int id;
    const char* host;
    const char* city;
  } pinned[] = {{0, "AFG", "Kabul"}, {1, "AGO", "Luanda"}, {3, "ALG", "Algiers"}, {50, "CRC", "San Jose"},
                {100, "FRA", "Lens"}, {322, "ZIM", "Harare"}};
  mlang_iLanguage = 0;
  for (const auto& p : pinned) {
    EXPECT_EQ(stadium_HostGet(p.id), tla_IDFind(p.host)) << p.id;
    stadium_CityNameGet(p.id, sz);
    EXPECT_STREQ(sz, p.city);
  }
  EXPECT_EQ(stadium_aTable[100].cType, 0);
  EXPECT_EQ(stadium_aTable[100].uFirst, 1998);
  for (int id : {71, 107, 117, 125, 157, 174, 300}) EXPECT_EQ(stadium_SpecialGet(id), 1) << id;
  mlang_iLanguage = 2;
  stadium_CityNameGet(117, sz);
  EXPECT_STREQ(sz, "Munchen");
  mlang_iLanguage = 0;
  // A venue of type 0 is never a home; a team's home covers the year.
  for (int team = 1; team <= 204; team++)
    for (int e = 0; e < 11; e++) {
      const int id = stadium_HomeFind(team, e);
      ASSERT_EQ(stadium_HostGet(id), team) << team;
      EXPECT_NE(stadium_aTable[id].cType, 0);
    }
  // A history round plays in its first listed stadium.
  Fresh();
  tmglobal_YearSet(90);
  const std::string s = "F90,1st Round,1,1,,once,,gd,*,*,,,1/6/90;1/6/90;5/6/90;5/6/90;9/6/90;9/6/90,12;40,,," +
                        Name(1) + "," + Name(2) + "\r\n";
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  Round* r = FirstRound();
  EXPECT_EQ(stadium_RoundCountGet(r), 2);
  const GameMode eOld = global.eExtendedGameMode;
  global.eExtendedGameMode = GAME_MODE_HISTORY;
  EXPECT_EQ(stadium_Choose(8, r), 12);
  global.eExtendedGameMode = eOld;
  // Reloading the stadium lists pairs lines with rounds by order.
  r->pStadiums = nullptr;
  history_StadiumsTextReload(s.data(), static_cast<int>(s.size()), tmdata_KeyIndexGet("F90"));
  ASSERT_NE(r->pStadiums, nullptr);
  EXPECT_EQ(r->pStadiums->uId, 12);
  EXPECT_EQ(stadium_IDFromText("0040"), 40);
}

TEST(Results, NextHostNeverWinsASimulatedFinalBefore1998) {
  for (int seed = 1; seed <= 60; seed++) {
    Fresh();
    tmglobal_YearSet(62);  // the host of 1966 is England
    tmglobal_FinalsSet(1);
    result_RandSeed(static_cast<std::uint32_t>(seed));
    const std::uint32_t host = result_NextHostGet(1);
    ASSERT_EQ(host, static_cast<std::uint32_t>(tla_IDFind("ENG")));
    const std::string s = Line("F62", "World Cup Final", "Final", "Final", "ko1", "", "Winner,,,", "17/6/62",
                               Name(static_cast<int>(tla_IDFind("BRA"))) + "," + Name(static_cast<int>(host)));
    history_YearTextParse(s.data(), static_cast<int>(s.size()));
    history_YearFixturesBuild(TheYearList);
    global.iDay = 31;
    global.iMonth = 12;
    global.iYear = 99;
    history_DaySimulate(TheYearList);
    Fixture* f = FirstRound()->pFixtures;
    EXPECT_GT(f->cScoreA, f->cScoreB);
    EXPECT_LE(f->cScoreB, 3);
    EXPECT_LE(f->cScoreA - f->cScoreB, 3);
    EXPECT_EQ(f->cResult, 0);  // written directly, no result bit
  }
}

TEST(Tables, AggregateAndAwayGoals) {
  // Two legs: 2-1 then 1-0 for the other side: 2-2 on aggregate, the first
  // leg's visitor scored away and goes through.
  Fresh();
  tmglobal_YearSet(70);
  const std::string s = Line("70", "UEFA", "P", "1", "ha", "agg", "w,,,", "1/1/69;8/1/69", Name(1) + "," + Name(2));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  history_YearFixturesBuild(TheYearList);
  Round* r = FirstRound();
  ASSERT_EQ(history_FixtureCountGet(r), 2);
  Fixture* a = r->pFixtures;
  Fixture* b = a->pNext;
  history_ScoreSet(a, 2, 1);
  history_ScoreSet(b, 1, 0);
  a->cFlags |= FIX_PLAYED;
  b->cFlags |= FIX_PLAYED;
  RoundPlaces pl;
  tmteam_RoundOutcomeGet(TheYearList->pConfs->pGroups, r, &pl);
  EXPECT_EQ(pl.aName[0], history_FixtureTeamB(r, a));
  // A simulated second leg never leaves the tie level.
  for (int seed = 1; seed < 200; seed++) {
    result_RandSeed(static_cast<std::uint32_t>(seed));
    history_FixtureSimulate(r, b);
    const int aggA = a->cScoreA + b->cScoreB + b->cExtraB, aggB = a->cScoreB + b->cScoreA + b->cExtraA;
    const int awayA = b->cScoreB + b->cExtraB, awayB = a->cScoreB;
    if (aggA == aggB && awayA == awayB) {
      EXPECT_NE(b->cPenA, b->cPenB) << seed;
    }
  }
}

TEST(YearFiles, ManySeedsComplete) {
  for (int e = 0; e < 11; e++) {
    const int yy = 58 + 4 * e;
    const std::string q = ReadYearFile("english", yy, false), f = ReadYearFile("english", yy, true);
    for (std::uint32_t seed = 1; seed <= 8; seed++) {
      Fresh();
      tmglobal_YearSet(yy);
      result_RandSeed(seed * 7919u);
      global.iDay = 31;
      global.iMonth = 12;
      global.iYear = 99;
      history_YearTextParse(q.data(), static_cast<int>(q.size()));
      history_YearFixturesBuild(TheYearList);
      history_YearTextParse(f.data(), static_cast<int>(f.size()));
      history_YearFixturesBuild(TheYearList->pNext);
      tmglobal_FinalsSet(0);
      PlayOut(TheYearList);
      tmglobal_FinalsSet(1);
      PlayOut(TheYearList->pNext);
      ASSERT_EQ(TheYearList->bComplete & TheYearList->pNext->bComplete, 1u) << yy << " seed " << seed;
      EXPECT_TRUE(tmteam_IsProperName(tmglobal.aHolders[e + 1]));
      EXPECT_EQ(tmreport_CountGet(), 0);
    }
  }
}

TEST(Conferences, TablesAndRatings) {
  const int sizes[6] = {30, 54, 10, 42, 10, 46};
  for (int t = 0; t < 6; t++) EXPECT_EQ(mteam_acConferenceSizes[t], sizes[t]);
  tmglobal_Reset();
  tmglobal_YearSet(94);
  const ConferenceEntry* p = mteam_FindConference(144);  // Brazil
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->uMask, 0x7FFu);
  EXPECT_EQ(p->uKey, 384u);
  EXPECT_EQ(mteam_RatingGet(p, 9), 10);
  EXPECT_EQ(mteam_RatingGet(p, 2), 7);
  EXPECT_EQ(p->acFormations[8], 2);
  // A team of two tables: Asia in 1994, Oceania in 1998.
  const ConferenceEntry* asia = mteam_FindConference(6);
  ASSERT_NE(asia, nullptr);
  EXPECT_EQ(asia->uMask, 0x200u);
  const ConferenceEntry* oz = mteam_FindConferenceForYear(6, 10);
  ASSERT_NE(oz, nullptr);
  EXPECT_EQ(oz->uMask, 0x400u);
  EXPECT_EQ(mteam_FindConferenceForYear(6, 0), nullptr);
  EXPECT_EQ(result_RatingGet(144, 9), 10);
  EXPECT_EQ(result_RatingGet(80, 9), 7);  // Germany
  // A team in no table draws 1 to 6.
  for (int i = 0; i < 50; i++) {
    const int r = result_RatingGet(0, 9);
    EXPECT_GE(r, 1);
    EXPECT_LE(r, 6);
  }
  EXPECT_EQ(result_RatingGet(144, 11), 0);
}

TEST(Tables, WinnerAndLoserAcrossRounds) {
  Fresh();
  tmglobal_YearSet(70);
  std::string s;
  for (int g = 1; g <= 3; g++)
    s += Line("70", "UEFA", "u" + std::to_string(g), "1", "once", "gd", "w,,,", "1/1/69",
              Name(2 * g) + "," + Name(2 * g + 1));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  history_YearFixturesBuild(TheYearList);
  std::uint32_t n = 0;
  EXPECT_EQ(tmteam_WinnerGet(TheYearList, "*statc*u1.1*u2.1*u3.1", &n), -1);  // nothing played
  int g = 0;
  for (Confederation* c = TheYearList->pConfs; c; c = c->pNext)
    for (Group* gr = c->pGroups; gr; gr = gr->pNext, g++) {
      Round* r = gr->pRounds;
      Fixture* f = r->pFixtures;
      history_ScoreSet(f, 1 + g, 0);
      f->cFlags |= FIX_PLAYED;
      tmteam_FixtureResultApply(r, history_FixtureTeamA(r, f), f, 1);
      tmteam_FixtureResultApply(r, history_FixtureTeamB(r, f), f, 0);
      r->pTeams->cPoints = static_cast<std::uint8_t>(2 + g);  // u3's winner has the most
    }
  EXPECT_EQ(tmteam_WinnerGet(TheYearList, "*statc*u1.1*u2.1*u3.1", &n), 1);
  Round* r3 = history_RoundFindByNames(TheYearList, "u3", "1");
  EXPECT_EQ(n, r3->pTeams->Name);
  EXPECT_STREQ(r3->szPlace1, "out");
  // The fewest points among the places named: u1's winner (2 points).
  EXPECT_EQ(tmteam_LoserGet(TheYearList, "*losc*u1.1*u2.1", &n), 1);
  EXPECT_EQ(n, history_RoundFindByNames(TheYearList, "u1", "1")->pTeams->Name);
}

TEST(Tables, CombinedWinnersWeakestGoesOut) {
  Fresh();
  tmglobal_YearSet(62);
  std::string s;
  for (int g = 1; g <= 3; g++)
    s += Line("62", "UEFA", "cmb" + std::to_string(g), "1", "once", "gd", "w,,,", "1/1/61",
              Name(2 * g) + "," + Name(2 * g + 1));
  s += Line("62", "UEFA", "X", "1", "ha", "agg", "w,,,", "1/5/61;8/5/61", Name(20) + "," + Name(21));
  history_YearTextParse(s.data(), static_cast<int>(s.size()));
  history_YearFixturesBuild(TheYearList);
  int g = 0;
  for (Group* gr = TheYearList->pConfs->pGroups; gr && g < 3; gr = gr->pNext, g++) {
    Round* r = gr->pRounds;
    Fixture* f = r->pFixtures;
    history_ScoreSet(f, 3 - g, 0);  // cmb3's winner scores least
    f->cFlags |= FIX_PLAYED;
    tmteam_FixtureResultApply(r, history_FixtureTeamA(r, f), f, 1);
    tmteam_FixtureResultApply(r, history_FixtureTeamB(r, f), f, 0);
  }
  Round* x = history_RoundFindByNames(TheYearList, "X", "1");
  history_CombinedCodesResolve(TheYearList, x, 1);
  Round* r3 = history_RoundFindByNames(TheYearList, "cmb3", "1");
  EXPECT_STREQ(r3->szPlace1, "out");
  EXPECT_STREQ(history_RoundFindByNames(TheYearList, "cmb1", "1")->szPlace1, "wcf");
  EXPECT_EQ(tmglobal_TeamIDGet(x, 1), r3->pTeams->Name);
}

TEST(Tables, UStatRunnersUpTheWeakestStaysOut) {
  // Runners-up of u1, u2, u4 (ids 2, 5, 8) with their points, for, against.
  struct Row {
    std::uint8_t cPoints, cFor, cAgainst;
  };
  const auto Run = [](const Row (&a)[3], const char* pszGroup3) {
    Fresh();
    tmglobal_YearSet(70);
    std::string s;
    const char* const apszGroups[3] = {"u1", "u2", pszGroup3};
    for (int g = 0; g < 3; g++)
      s += Line("70", "UEFA", apszGroups[g], "1", "once", "gd", "w,*ustat2/3,,", "1/1/69;2/1/69;3/1/69",
                Name(3 * g + 1) + "," + Name(3 * g + 2) + "," + Name(3 * g + 3));
    history_YearTextParse(s.data(), static_cast<int>(s.size()));
    for (int g = 0; g < 3; g++) {
      Round* r = history_RoundFindByNames(TheYearList, apszGroups[g], "1");
      const Row aRows[3] = {{6, 9, 0}, a[g], {0, 0, 9}};
      for (int k = 0; k < 3; k++) {
        TMTeam* t = tmteam_TeamEntryGet(r, static_cast<std::uint32_t>(3 * g + 1 + k));
        t->cPoints = aRows[k].cPoints;
        t->cFor = aRows[k].cFor;
        t->cAgainst = aRows[k].cAgainst;
      }
    }
    history_QualifiedListClear();
    tmteam_UCodesRank(TheYearList);
    std::string sOut;
    for (int i = 0; i < history_QualifiedCountGet(); i++) sOut += std::to_string(history_QualifiedGet(i)) + " ";
    return sOut;
  };
  // 30104, 30002, 30106: u2's runner-up is the weakest.
  EXPECT_EQ(Run({{3, 4, 3}, {3, 2, 2}, {3, 6, 5}}, "u4"), "2 8 ");
  EXPECT_STREQ(history_RoundFindByNames(TheYearList, "u2", "1")->szPlace2, tmteam_NameText(5));
  EXPECT_STREQ(history_RoundFindByNames(TheYearList, "u4", "1")->szPlace2, tmteam_NameText(8));
  // Goals for decide between equal points and difference: 30102 against 30103.
  EXPECT_EQ(Run({{3, 2, 1}, {3, 3, 2}, {4, 1, 1}}, "u4"), "5 8 ");
  // Equal lowest: the first of them stays out.
  EXPECT_EQ(Run({{3, 4, 3}, {3, 4, 3}, {3, 6, 5}}, "u4"), "5 8 ");
  // A point outweighs goals: 1 point and none (10000) beats no point and 99
  // goals for (9999).
  EXPECT_EQ(Run({{1, 0, 0}, {0, 99, 0}, {2, 0, 0}}, "u4"), "2 8 ");
  // Without group u4 nothing is added.
  EXPECT_EQ(Run({{3, 4, 3}, {3, 2, 2}, {3, 6, 5}}, "u3"), "");
}
