// The history groups and tables screen: its group-order list on hand-made
// trees and on every confederation of every edition's year files.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "campaign_driver.h"
#include "frontend/mfhgroup.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

namespace {

std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

// A confederation of hand-made groups; each round is "name/long name".
class Tree {
 public:
  Tree() {
    tmmain_PoolsReset();
    conf = tmmain_ConfAlloc();
    history_ConfInit(conf);
  }
  Group* GroupAdd(const char* pszName, std::initializer_list<std::pair<const char*, const char*>> rounds) {
    Group* g = tmmain_GroupAlloc();
    history_GroupInit(g);
    std::strcpy(g->szName, pszName);
    Group** pp = &conf->pGroups;
    while (*pp) pp = &(*pp)->pNext;
    *pp = g;
    Round** ppr = &g->pRounds;
    for (const auto& [name, longName] : rounds) {
      Round* r = tmmain_RoundAlloc();
      history_RoundInit(r);
      std::strcpy(r->szName, name);
      std::strcpy(r->szLongName, longName);
      *ppr = r;
      ppr = &r->pNext;
    }
    return g;
  }
  Confederation* conf;
};

std::string Listed() {
  std::string s;
  for (std::int32_t i = 0; i < mfhgroup_OrderListSize(); i++)
    s += std::string(mfhgroup_OrderGroupGet(i)->szName) + ":" + mfhgroup_OrderRoundGet(i)->szName + " ";
  return s;
}

}  // namespace

TEST(GroupOrderList, ByFirstCharacterThenGroupSkippingRepeatedLongNames) {
  Tree t;
  t.GroupAdd("A", {{"1", "First Round"}, {"2a", "Second Round"}, {"2b", "Second Round B"}, {":", "Final"}});
  t.GroupAdd("B", {{"1", "First Round"}, {"x", "Unlisted"}, {"9", "Play-off B"}});
  t.GroupAdd("C", {{"2", "Second Round C"}, {"1", "Group C"}, {"1b", "Group C replay"}});
  t.GroupAdd("D", {{"2", ""}, {"5", ""}});
  t.GroupAdd("E", {{"2", ""}, {"4", "Second Round"}});
  mfhgroup_OrderListBuild(t.conf);
  // "1" of A; B's "1" repeats A's long name; C's first "1" round only; then
  // each group's first "2" round, rounds without a long name all listed; E's
  // "4" repeats A's "2a"; "9"; ":" last; a name outside "1".."9", ":" never
  // listed.
  EXPECT_EQ(Listed(), "A:1 C:1 A:2a C:2 D:2 E:2 D:5 B:9 A:: ");
  mfhgroup_OrderListBuild(nullptr);
  EXPECT_EQ(mfhgroup_OrderListSize(), 0);
}

TEST(GroupOrderList, ThirtyEntriesFitAndTheSameStageIsFoundInOtherGroups) {
  Tree t;
  char szGroup[8], szLong[32];
  for (int i = 0; i < MAX_GROUP_ORDER_LIST_SIZE - 1; i++) {
    std::snprintf(szGroup, sizeof szGroup, "G%d", i);
    std::snprintf(szLong, sizeof szLong, "Group %d", i);
    t.GroupAdd(szGroup, {{"1", szLong}, {"2", "Semi-final"}});
  }
  mfhgroup_OrderListBuild(t.conf);
  ASSERT_EQ(mfhgroup_OrderListSize(), MAX_GROUP_ORDER_LIST_SIZE);
  EXPECT_STREQ(mfhgroup_OrderGroupGet(28)->szName, "G28");
  EXPECT_STREQ(mfhgroup_OrderGroupGet(29)->szName, "G0");
  EXPECT_STREQ(mfhgroup_OrderRoundGet(29)->szName, "2");
  // The "2" stage is only in the list once (G0's), but every group has it.
  const Round* r = t.conf->pGroups->pRounds->pNext;
  for (const Group* g = t.conf->pGroups; g; g = g->pNext) {
    const Round* same = mfhgroup_GroupOfRound(g, r);
    ASSERT_NE(same, nullptr);
    EXPECT_EQ(same, g->pRounds->pNext);
  }
  // A round with the same name and another long name is another stage.
  EXPECT_EQ(mfhgroup_GroupOfRound(t.conf->pGroups->pNext, t.conf->pGroups->pRounds), nullptr);
}

TEST(GroupOrderListDeathTest, MoreThanThirtyEntriesIsAnAssertion) {
  Tree t;
  char szGroup[8], szLong[32];
  for (int i = 0; i <= MAX_GROUP_ORDER_LIST_SIZE; i++) {
    std::snprintf(szGroup, sizeof szGroup, "G%d", i);
    std::snprintf(szLong, sizeof szLong, "Group %d", i);
    t.GroupAdd(szGroup, {{"1", szLong}});
  }
  EXPECT_DEATH(mfhgroup_OrderListBuild(t.conf), "MAX_GROUP_ORDER_LIST_SIZE");
  mfhgroup_OrderListBuild(nullptr);
  EXPECT_DEATH(mfhgroup_OrderRoundGet(0), "iGroupOrderListSize");
}

namespace {

// Every confederation of the loaded years: within the limit, each long name
// once, only "1".."9" and ":" rounds, in character order.
void ExpectOrderListsSound(const std::string& where) {
  for (const Year* y = TheYearList; y; y = y->pNext)
    for (Confederation* c = y->pConfs; c; c = c->pNext) {
      SCOPED_TRACE(where + " " + c->szName);
      mfhgroup_OrderListBuild(c);
      const std::int32_t n = mfhgroup_OrderListSize();
      bool bListable = false;
      for (const Group* g = c->pGroups; g; g = g->pNext)
        for (const Round* r = g->pRounds; r; r = r->pNext) bListable |= r->szName[0] >= '1' && r->szName[0] <= ':';
      EXPECT_EQ(n > 0, bListable);
      EXPECT_LE(n, MAX_GROUP_ORDER_LIST_SIZE);
      std::set<std::string> longNames;
      char cLast = '1';
      for (std::int32_t i = 0; i < n; i++) {
        const Round* r = mfhgroup_OrderRoundGet(i);
        if (r->szLongName[0]) {
          EXPECT_TRUE(longNames.insert(r->szLongName).second) << r->szLongName;
        }
        EXPECT_TRUE(r->szName[0] >= '1' && r->szName[0] <= ':') << r->szName;
        EXPECT_GE(r->szName[0], cLast);
        cLast = r->szName[0];
      }
    }
}

}  // namespace

TEST(GroupOrderList, EveryEditionsConfederationsAndTheHumanTeamsRound) {
  int cChecked = 0;
  for (const char* tla : {"SCO", "MEX", "KOR", "CMR"}) {
    const std::uint32_t Team = Id(tla);
    Campaign c(Team, Script::Win, 7);
    for (std::int32_t iYear = 58; iYear <= 98; iYear += 4) {
      const std::string where = std::string(tla) + " 19" + std::to_string(iYear);
      if (!c.EditionStart(iYear)) continue;
      ExpectOrderListsSound(where);
      bool bFinalsChecked = false;
      for (int i = 0; i < 200; i++) {
        Round* r = nullptr;
        Fixture* f = nullptr;
        Confederation* pConf = nullptr;
        if (history_FixtureFindByTeam(tmgame_CurrentYearGet(), Team, &r, &f, &pConf)) {
          mfhgroup_OrderListBuild(pConf);
          cChecked++;
          bool bFound = false;
          for (std::int32_t e = 0; e < mfhgroup_OrderListSize(); e++)
            bFound = bFound || std::strcmp(mfhgroup_OrderRoundGet(e)->szName, r->szName) == 0;
          // Stages named otherwise ("S1", "Final") are not in the list.
          const bool bListable = r->szName[0] >= '1' && r->szName[0] <= ':';
          EXPECT_EQ(bFound, bListable) << where << " round " << r->szName << " " << r->szLongName;
        }
        if (tmglobal.bFinalsLoaded && !bFinalsChecked) {
          ExpectOrderListsSound(where + " finals");
          bFinalsChecked = true;
        }
        if (!c.MatchPlay()) break;
      }
      c.EditionFinish();
    }
  }
  EXPECT_GT(cChecked, 100);
}
