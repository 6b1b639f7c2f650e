// Injuries and suspensions between matches: the calendar, healing over every
// list of both sides, suspensions over three matches, the type draw.
#include <gtest/gtest.h>

#include <chrono>

#include "flow_fakes.h"
#include "matchflow/injuryg.h"
#include "tournament/dbplayer.h"

namespace {

using namespace std::chrono;

void DateSet(std::int32_t d, std::int32_t m, std::int32_t y) {
  global.iDay = d;
  global.iMonth = m;
  global.iYear = y;
}

TEST(Injuries, TheCalendarAgainstAReference) {
  sys_days day = year{1956} / January / 1;
  const sys_days last = year{1999} / December / 31;
  const std::int32_t iFirst = injuryg_SerialDay(1, 1, 56);
  for (; day < last; day += days{1}) {
    const year_month_day ymd{day};
    std::int32_t d = static_cast<int>(static_cast<unsigned>(ymd.day()));
    std::int32_t m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    std::int32_t y = static_cast<int>(ymd.year()) % 100;
    ASSERT_EQ(injuryg_SerialDay(d, m, y) - iFirst, (day - sys_days{year{1956} / January / 1}).count());
    injuryg_DateNext(&d, &m, &y);
    const year_month_day next{day + days{1}};
    ASSERT_EQ(d, static_cast<int>(static_cast<unsigned>(next.day())));
    ASSERT_EQ(m, static_cast<int>(static_cast<unsigned>(next.month())));
    ASSERT_EQ(y, static_cast<int>(next.year()) % 100);
  }
  // A calf strain from 26 February 1996 with n = 7 ends on 4 March 1996; from
  // 25 March 1998, on 1 April 1998.
  std::int32_t d = 26, m = 2, y = 96;
  for (int i = 0; i < 7; i++) injuryg_DateNext(&d, &m, &y);
  EXPECT_EQ(d * 10000 + m * 100 + y, 40396);
  d = 25, m = 3, y = 98;
  for (int i = 0; i < 7; i++) injuryg_DateNext(&d, &m, &y);
  EXPECT_EQ(d * 10000 + m * 100 + y, 10498);
  // Outside the history mode the date is 0.0.0: it is brought into range.
  d = 0, m = 0, y = 0;
  injuryg_DateNext(&d, &m, &y);
  EXPECT_EQ(d * 10000 + m * 100 + y, 20100);
}

struct Side {
  DBPlayer pitch[2]{}, bench[2]{}, reserve[2]{};
};

void Lists(MatchTeam& t, Side& s) {
  for (int i = 0; i < 2; i++) {
    s.pitch[i].poNext = i == 0 ? &s.pitch[1] : nullptr;
    s.bench[i].poNext = i == 0 ? &s.bench[1] : nullptr;
    s.reserve[i].poNext = i == 0 ? &s.reserve[1] : nullptr;
  }
  t.poPitchList = &s.pitch[0];
  t.poBenchList = &s.bench[0];
  t.poReserveList = &s.reserve[0];
}

void Injure(DBPlayer* p, std::int32_t d, std::int32_t m, std::int32_t y) {
  dbplayer_InjuredSet(p, 1);
  dbplayer_InjuryDaySet(p, d);
  dbplayer_InjuryMonthSet(p, m);
  dbplayer_InjuryYearSet(p, y);
}

TEST(Injuries, HealingOverEveryListOfBothSides) {
  flowfake::Reset();
  Side home, away;
  Lists(flowfake::oHome, home);
  Lists(flowfake::oAway, away);
  DateSet(1, 4, 98);
  Injure(&home.pitch[0], 31, 3, 98);   // ended yesterday
  Injure(&home.bench[1], 1, 4, 98);    // ends today
  Injure(&away.reserve[0], 2, 4, 98);  // tomorrow
  Injure(&away.bench[0], 15, 1, 99);   // next year
  Injure(&away.pitch[1], 28, 2, 97);   // last year, a later day of the month
  Injure(&home.reserve[1], -1, 1, 0);  // out for one match
  EXPECT_EQ(injuryg_DaysLeft(&away.reserve[0]), 1);
  EXPECT_EQ(injuryg_DaysLeft(&away.bench[0]), 289);
  EXPECT_EQ(injuryg_DaysLeft(&home.pitch[0]), 0);
  EXPECT_DEATH(injuryg_DaysLeft(&home.reserve[1]), "dbplayer_InjuryDayGet\\(pDBp\\) != -1");
  injuryg_Update();
  EXPECT_FALSE(dbplayer_InjuredGet(&home.pitch[0]));
  EXPECT_FALSE(dbplayer_InjuredGet(&home.bench[1]));
  EXPECT_TRUE(dbplayer_InjuredGet(&away.reserve[0]));
  EXPECT_TRUE(dbplayer_InjuredGet(&away.bench[0]));
  EXPECT_FALSE(dbplayer_InjuredGet(&away.pitch[1]));
  EXPECT_FALSE(dbplayer_InjuredGet(&home.reserve[1]));
  EXPECT_TRUE(dbplayer_InjuryChangedGet(&home.bench[1]));
  EXPECT_FALSE(dbplayer_InjuryChangedGet(&away.reserve[0]));
  EXPECT_EQ(injuryg_bNewInjury(), 0);
  injuryg_InjuryChangedClear();
  for (Side* s : {&home, &away})
    for (DBPlayer* l : {s->pitch, s->bench, s->reserve})
      for (int i = 0; i < 2; i++) EXPECT_FALSE(dbplayer_InjuryChangedGet(&l[i]));
}

TEST(Injuries, ABanOverThreeMatches) {
  flowfake::Reset();
  Side home, away;
  Lists(flowfake::oHome, home);
  Lists(flowfake::oAway, away);
  // Match 1: sent off while on the pitch list.
  DBPlayer* p = &home.pitch[1];
  dbplayer_RedCardAdd(p);
  DBPlayer* q = &away.pitch[0];
  dbplayer_YellowCardAdd(q);
  dbplayer_YellowCardAdd(q);
  DBPlayer* booked = &away.pitch[1];
  dbplayer_YellowCardAdd(booked);
  injuryg_MatchEndUpdate();
  EXPECT_TRUE(dbplayer_SuspendedGet(p));
  EXPECT_TRUE(dbplayer_SuspendedGet(q));
  EXPECT_FALSE(dbplayer_SuspendedGet(booked));
  EXPECT_TRUE(dbplayer_SuspensionChangedGet(p));
  EXPECT_EQ(dbplayer_InjuryDayGet(p), -1);
  EXPECT_EQ(dbplayer_InjuryMonthGet(p), 1);
  // Match 2: he sits it out on the bench and so serves it.
  std::swap(home.pitch[1], home.bench[0]);
  Lists(flowfake::oHome, home);
  p = &home.bench[0];
  dbplayer_SuspensionChangedSet(p, 0);
  injuryg_MatchEndUpdate();
  EXPECT_FALSE(dbplayer_SuspendedGet(p));
  EXPECT_TRUE(dbplayer_SuspensionChangedGet(p));
  EXPECT_EQ(injuryg_bSuspensionNewsGet(), 1) << "a served ban is news";
  EXPECT_EQ(dbplayer_CardStateGet(p), DBPLAYER_CARD_NONE);
  // Match 3: back on the pitch, no new card: no new ban.
  std::swap(home.pitch[1], home.bench[0]);
  Lists(flowfake::oHome, home);
  p = &home.pitch[1];
  injuryg_MatchEndUpdate();
  EXPECT_FALSE(dbplayer_SuspendedGet(p));
  // A booked player sent off keeps his earlier booking once the ban is served.
  DBPlayer r{};
  dbplayer_YellowCardAdd(&r);
  dbplayer_RedCardAdd(&r);
  injuryg_SuspensionSet(&r);
  injuryg_SuspensionServe(&r);
  EXPECT_TRUE(dbplayer_BookedGet(&r));
  EXPECT_FALSE(dbplayer_SuspendedGet(&r));
  EXPECT_EQ(injuryg_bSuspensionNewsGet(), 1);
}

TEST(Injuries, KnocksTypesAndLengths) {
  flowfake::Reset();
  DateSet(10, 6, 86);
  std::int32_t counts[INJURYG_TYPES] = {};
  const int kRuns = 4000;
  for (int i = 0; i < kRuns; i++) {
    Player a{}, b{};
    DBPlayer da{}, db{};
    a.pDBPlayer = &da;
    b.pDBPlayer = &db;
    a.ID = 3;
    b.ID = 14;
    a.iKnocks = 101;
    b.iKnocks = 100;  // exactly 100: no injury
    flowfake::ChainsSet({&a}, {&b});
    injuryg_Update();
    ASSERT_TRUE(dbplayer_InjuredGet(&da));
    ASSERT_FALSE(dbplayer_InjuredGet(&db));
    EXPECT_EQ(injuryg_bNewInjury(), 1);
    EXPECT_EQ(injuryg_bInjuryNewsGet(), 1);
    const std::int32_t t = dbplayer_InjuryTypeGet(&da);
    counts[t]++;
    const InjuryType& it = injuryg_aInjuryTypes[t];
    if (t == 0) {
      EXPECT_EQ(dbplayer_InjuryDayGet(&da), -1);
      EXPECT_EQ(dbplayer_InjuryMonthGet(&da), 1);
    } else {
      const std::int32_t n = injuryg_DaysLeft(&da);
      EXPECT_GE(n, static_cast<std::int32_t>(it.uMinDays));
      EXPECT_LT(n, static_cast<std::int32_t>(it.uMaxDays));
    }
  }
  for (int t = 0; t < INJURYG_TYPES; t++)
    EXPECT_NEAR(counts[t], kRuns * static_cast<int>(injuryg_aInjuryTypes[t].uWeight) / 100, kRuns / 25) << t;
  const std::uint16_t ids[INJURYG_TYPES] = {278, 279, 280, 281, 282, 283, 284, 285, 286};
  std::uint32_t total = 0;
  for (int t = 0; t < INJURYG_TYPES; t++) {
    EXPECT_EQ(injuryg_aInjuryTypes[t].uTextId, ids[t]);
    total += injuryg_aInjuryTypes[t].uWeight;
  }
  EXPECT_EQ(total, 100u);
  // Outside the history mode (date 0.0.0) a dated injury still gets a sound date.
  DateSet(0, 0, 0);
  DBPlayer z{};
  dbplayer_InjuryTypeSet(&z, 6);
  injuryg_InjuryDateSet(&z);
  EXPECT_GE(injuryg_DaysLeft(&z), 84);
  // Taking the marked player off.
  Player off{};
  off.ID = 7;
  flowfake::aoTrace.clear();
  injuryg_PlayerOffApply();
  EXPECT_TRUE(flowfake::aoTrace.empty());
  injuryg_InjuredPlayerSet(&off);
  injuryg_PlayerOffApply();
  injuryg_PlayerOffApply();
  EXPECT_EQ(flowfake::aoTrace, std::vector<std::string>{"remove 7"});
}

}  // namespace
