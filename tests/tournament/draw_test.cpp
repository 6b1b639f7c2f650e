// The finals draw after played qualifiers: every first-stage slot of the
// finals file names the route its real team came through, so the qualifying
// rounds won as they really were give the real groups, and another winner
// takes the slot of the team it beat.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/global.h"
#include "shell/texts.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"
#include "tournament/yearfile.h"
#include "tournament_env.h"

namespace {

const char* const kFolders[6] = {"english", "french", "german", "spanish", "italian", "portuguese"};

std::string YearText(const char* folder, int yy, bool finals) {
  const auto p = BuildDir() / "data" / "database" / "tm" / folder / ("year" + std::to_string(yy) + (finals ? "f" : "") + ".csv");
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> Split(const std::string& s, char c) {
  std::vector<std::string> v(1);
  for (char ch : s) {
    if (ch == c) v.emplace_back();
    else v.back() += ch;
  }
  return v;
}

// A first-stage slot of the finals file: its group, real team and route.
struct Slot {
  std::string group;
  std::uint32_t real = 0;
  std::string route;
};

// Read straight from the year file, apart from the reader.
std::vector<Slot> Slots(const std::string& text) {
  std::vector<Slot> v;
  for (std::string line : Split(text, '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto f = Split(line, ',');
    if (f.size() < 16 || f[14].empty()) continue;
    const auto routes = Split(f[14], ';');
    EXPECT_EQ(routes.size(), f.size() - 15) << line;
    for (size_t i = 0; i < routes.size() && 15 + i < f.size(); i++) {
      const std::int32_t id = tmteam_NameFind(f[15 + i].c_str());
      EXPECT_GT(id, 0) << f[15 + i];
      v.push_back({f[2], static_cast<std::uint32_t>(id), routes[i]});
    }
  }
  return v;
}

// The team a route gives in the played qualifiers, 0 for none.
std::uint32_t Outcome(const std::string& route) {
  char g[32], r[32], place = 0;
  if (std::sscanf(route.c_str(), "*%31[^.].%31[^*]*%c", g, r, &place) != 3) return 0;
  Group* pg = nullptr;
  Round* pr = history_RoundFindByNames(TheYearList, g, r, &pg);
  if (!pr) return 0;
  RoundPlaces pl;
  tmteam_RoundOutcomeGet(pg, pr, &pl);
  return tmteam_IsProperName(pl.aName[place - 'a']) ? pl.aName[place - 'a'] : 0;
}

// Two teams exchange every entry of the qualifying year: each takes the
// other's results and places.
void Swap(std::uint32_t a, std::uint32_t b) {
  if (a == b) return;
  const std::uint32_t kSpare = 0x7FFFFFF0u;
  tmgame_TeamReplace(TheYearList, kSpare, a);
  tmgame_TeamReplace(TheYearList, a, b);
  tmgame_TeamReplace(TheYearList, b, kSpare);
}

void Extract() {
  tmglobal.bQualifiersExtracted = 0;
  history_QualifiedListClear();
  tmgame_QualifiersExtract();
}

// An edition's qualifiers played out by the simulation over a seed.
struct Edition {
  int yy;
  std::string finals;
  std::vector<Slot> slots;
  std::uint32_t host = 0, holder = 0;

  Edition(const char* folder, int e, std::uint32_t seed) : yy(58 + 4 * e) {
    tmmain_PoolsReset();
    tmglobal_Reset();
    tmreport_CountReset();
    history_PatternsReset();
    tmglobal_YearSet(yy);
    tmglobal.bHolderOption = 1;
    result_RandSeed(seed);
    global.iDay = 31;
    global.iMonth = 12;
    global.iYear = 99;
    const std::string q = YearText(folder, yy, false);
    finals = YearText(folder, yy, true);
    slots = Slots(finals);
    for (const Slot& s : slots) {
      if (s.route == "host") host = s.real;
      if (s.route == "holder") holder = s.real;
    }
    history_YearTextParse(q.data(), static_cast<int>(q.size()));
    history_YearFixturesBuild(TheYearList);
    tmglobal_FinalsSet(0);
    for (int pass = 0; pass < 40 && !TheYearList->bComplete; pass++) {
      history_DaySimulate(TheYearList);
      history_PlaceholdersResolve(TheYearList);
      history_YearCompleteCheck(TheYearList);
      tmteam_GroupTablesCollect(TheYearList);
      tmteam_GroupTablesSortAll(TheYearList);
    }
  }

  // Renames teams until every qualifying route ends with its real team,
  // and the team a ranking rule sends (the best UEFA runner-up) is real too.
  void ResolveAsItWas() {
    for (int pass = 0; pass < 8; pass++) {
      bool bChanged = false;
      for (const Slot& s : slots) {
        const std::uint32_t w = Outcome(s.route);
        if (w && w != s.real) {
          Swap(w, s.real);
          bChanged = true;
        }
      }
      Extract();
      std::set<std::uint32_t> byRoute{host, holder};
      for (const Slot& s : slots) byRoute.insert(Outcome(s.route));
      for (const Slot& s : slots) {
        if (s.route[0] != '*' || Outcome(s.route)) continue;
        for (int i = 0; i < history_QualifiedCountGet(); i++)
          if (!byRoute.count(history_QualifiedGet(i)) && history_QualifiedGet(i) != s.real) {
            Swap(history_QualifiedGet(i), s.real);
            bChanged = true;
            break;
          }
      }
      if (!bChanged) return;
    }
  }

  // The finals read and filled; each group's teams.
  std::map<std::string, std::multiset<std::uint32_t>> Fill() {
    Extract();
    history_YearTextParse(finals.data(), static_cast<int>(finals.size()));
    history_FinalsTeamsFill(TheYearList->pNext, host, holder);
    std::map<std::string, std::multiset<std::uint32_t>> groups;
    const Confederation* c = TheYearList->pNext->pConfs;
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext)
        for (const TMTeam* t = r->pTeams; t; t = t->pNext) groups[g->szName].insert(t->Name);
    return groups;
  }

  std::map<std::string, std::multiset<std::uint32_t>> RealDraw() const {
    std::map<std::string, std::multiset<std::uint32_t>> groups;
    for (const Slot& s : slots) groups[s.group].insert(s.real);
    return groups;
  }
};

std::string Names(const std::multiset<std::uint32_t>& s) {
  std::string out;
  for (std::uint32_t id : s) out += std::string(festr_TMIDToStr(static_cast<std::int32_t>(id))) + " ";
  return out;
}

}  // namespace

// With every qualifying round won by its real team, each edition's finals
// groups are the real draw, group by group.
TEST(FinalsDraw, RealQualifyingWinnersGiveTheRealGroups) {
  for (int e = 0; e < 11; e++) {
    Edition ed("english", e, 17u + static_cast<std::uint32_t>(e));
    ASSERT_EQ(TheYearList->bComplete, 1u) << ed.yy;
    ASSERT_EQ(ed.slots.size(), e <= 5 ? 16u : e <= 9 ? 24u : 32u) << ed.yy;
    ed.ResolveAsItWas();
    const auto want = ed.RealDraw();
    const auto got = ed.Fill();
    ASSERT_EQ(got.size(), want.size()) << ed.yy;
    for (const auto& [g, teams] : want) EXPECT_EQ(Names(got.at(g)), Names(teams)) << ed.yy << " group " << g;
    EXPECT_EQ(tmreport_CountGet(), 0) << ed.yy;
  }
}

// A team that beats the real winner of its group takes that winner's slot;
// every other slot keeps its real team.
TEST(FinalsDraw, AnUpsetWinnerTakesTheLosersSlot) {
  for (int e = 0; e < 11; e++) {
    Edition ed("english", e, 31u + static_cast<std::uint32_t>(e));
    ed.ResolveAsItWas();
    // The first route whose round holds a team that went no further.
    Extract();
    std::set<std::uint32_t> qualified;
    for (int i = 0; i < history_QualifiedCountGet(); i++) qualified.insert(history_QualifiedGet(i));
    const Slot* beaten = nullptr;
    std::uint32_t upset = 0;
    for (const Slot& s : ed.slots) {
      char g[32], r[32], place = 0;
      if (beaten || std::sscanf(s.route.c_str(), "*%31[^.].%31[^*]*%c", g, r, &place) != 3) continue;
      for (const TMTeam* t = history_RoundFindByNames(TheYearList, g, r)->pTeams; t && !upset; t = t->pNext)
        if (tmteam_IsProperName(t->Name) && !qualified.count(t->Name)) upset = t->Name;
      if (upset) beaten = &s;
    }
    ASSERT_NE(beaten, nullptr) << ed.yy;
    Swap(beaten->real, upset);
    ASSERT_EQ(Outcome(beaten->route), upset) << ed.yy;
    auto want = ed.RealDraw();
    want[beaten->group].erase(want[beaten->group].find(beaten->real));
    want[beaten->group].insert(upset);
    const auto got = ed.Fill();
    for (const auto& [g, teams] : want) EXPECT_EQ(Names(got.at(g)), Names(teams)) << ed.yy << " group " << g;
  }
}

// Whatever the simulation gives, in every language and over many seeds: each
// slot holds the team its route gave, the first stage holds the host, the
// holder and every qualified team once, and the finals play to a winner.
TEST(FinalsDraw, EverySlotTakesItsRoutesWinner) {
  for (int lang = 0; lang < 6; lang++)
    for (int e = 0; e < 11; e++)
      for (std::uint32_t seed = 1; seed <= 4; seed++) {
        Edition ed(kFolders[lang], e, seed * 7919u + static_cast<std::uint32_t>(100 * lang + e));
        ASSERT_EQ(TheYearList->bComplete, 1u) << ed.yy;
        std::map<std::uint32_t, std::uint32_t> byRoute;  // real team -> the route's winner
        for (const Slot& s : ed.slots) byRoute[s.real] = Outcome(s.route);
        ed.Fill();
        std::multiset<std::uint32_t> got, want{ed.host, ed.holder};
        for (int i = 0; i < history_QualifiedCountGet(); i++) want.insert(history_QualifiedGet(i));
        size_t k = 0;
        for (const Group* g = TheYearList->pNext->pConfs->pGroups; g; g = g->pNext)
          for (const TMTeam* t = g->pRounds->pTeams; t; t = t->pNext, k++) {
            got.insert(t->Name);
            const Slot& s = ed.slots[k];
            const std::uint32_t w = s.route == "host" ? ed.host : s.route == "holder" ? ed.holder : byRoute[s.real];
            if (w) {
              EXPECT_EQ(t->Name, w) << ed.yy << " " << s.route;
            }
          }
        EXPECT_EQ(Names(got), Names(want)) << kFolders[lang] << " " << ed.yy << " seed " << seed;
        // The finals so drawn play through to a winner.
        history_YearFixturesBuild(TheYearList->pNext);
        tmglobal_FinalsSet(1);
        tmglobal.bFinalsLoaded = 1;
        Year* f = TheYearList->pNext;
        for (int pass = 0; pass < 40 && !f->bComplete; pass++) {
          history_DaySimulate(f);
          history_PlaceholdersResolve(f);
          history_YearCompleteCheck(f);
          tmteam_GroupTablesCollect(f);
          tmteam_GroupTablesSortAll(f);
        }
        ASSERT_EQ(f->bComplete, 1u) << kFolders[lang] << " " << ed.yy << " seed " << seed;
        RollOfHonourEntry entry{};
        tmmain_RollOfHonourFromFinals(f, &entry);
        EXPECT_TRUE(tmteam_IsProperName(entry.Winner)) << kFolders[lang] << " " << ed.yy;
        EXPECT_EQ(tmreport_CountGet(), 0) << kFolders[lang] << " " << ed.yy;
      }
}
