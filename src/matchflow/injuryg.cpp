// Injuries and suspensions between matches.
#include "matchflow/injuryg.h"

#include <iterator>

#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "tournament/dbplayer.h"

const InjuryType injuryg_aInjuryTypes[INJURYG_TYPES] = {
    {25, 0, 0, 278, 0},  {15, 7, 21, 279, 0},  {5, 21, 35, 280, 0},
    {13, 14, 28, 281, 0}, {13, 14, 21, 282, 0}, {13, 14, 42, 283, 0},
    {6, 84, 224, 284, 0}, {5, 56, 84, 285, 0},  {5, 14, 42, 286, 0},
};

namespace {

Player* injuryg_poInjured = nullptr;
Player* injuryg_poBooked = nullptr;
std::int32_t injuryg_bNew = 0;
std::int32_t injuryg_iFlag = 0;

constexpr std::int32_t aiMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::int32_t MonthDays(std::int32_t iMonth, std::int32_t iYear) {
  if (iMonth == 2 && iYear % 4 == 0) return 29;
  return aiMonthDays[iMonth - 1];
}

// The current date with its month and day brought into range (outside the
// history mode it is 0.0.0).
void CurrentDate(std::int32_t* d, std::int32_t* m, std::int32_t* y) {
  *y = ((global.iYear % 100) + 100) % 100;
  *m = global.iMonth < 1 ? 1 : global.iMonth > 12 ? 12 : global.iMonth;
  const std::int32_t iLast = MonthDays(*m, *y);
  *d = global.iDay < 1 ? 1 : global.iDay > iLast ? iLast : global.iDay;
}

std::int32_t CardFlag(const DBPlayer* p) {
  return dbplayer_TwoYellowsGet(p) || dbplayer_SentOffGet(p) || dbplayer_SentOffBookedGet(p);
}

template <typename Fn>
void ForEachListed(Fn fn, bool bPitch, bool bOthers) {
  MatchTeam* apoTeams[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
  for (MatchTeam* t : apoTeams) {
    if (!t) continue;
    DBPlayer* apoLists[3] = {bPitch ? t->poPitchList : nullptr, bOthers ? t->poBenchList : nullptr,
                             bOthers ? t->poReserveList : nullptr};
    for (DBPlayer* po : apoLists)
      for (DBPlayer* p = po; p; p = p->poNext) fn(p);
  }
}

// Heals an injury whose end has come; 1 when it healed.
std::int32_t Heal(DBPlayer* p, std::int32_t iToday) {
  if (dbplayer_InjuryDayGet(p) == -1) {
    const std::int32_t iOut = dbplayer_InjuryMonthGet(p);
    QDX_ASSERT(iOut > 0);
    if (iOut != 1) return 0;
  } else if (iToday < injuryg_SerialDay(dbplayer_InjuryDayGet(p), dbplayer_InjuryMonthGet(p),
                                         dbplayer_InjuryYearGet(p))) {
    return 0;
  }
  dbplayer_InjuredSet(p, 0);
  dbplayer_InjuryChangedSet(p, 1);
  return 1;
}

}  // namespace

void injuryg_InjuredPlayerSet(Player* pp) { injuryg_poInjured = pp; }
void injuryg_BookedPlayerSet(Player* pp) { injuryg_poBooked = pp; }
Player* injuryg_InjuredPlayerGet() { return injuryg_poInjured; }
Player* injuryg_BookedPlayerGet() { return injuryg_poBooked; }

void injuryg_PlayerOffApply() {
  if (!injuryg_poInjured) return;
  match_PlayerRemove(injuryg_poInjured);
  injuryg_poInjured = nullptr;
}

std::int32_t injuryg_SerialDay(std::int32_t iDay, std::int32_t iMonth, std::int32_t iYear) {
  const std::int32_t y = ((iYear % 100) + 100) % 100;
  const std::int32_t m = iMonth < 1 ? 1 : iMonth > 12 ? 12 : iMonth;
  const std::int32_t d = iDay < 1 ? 1 : iDay > MonthDays(m, y) ? MonthDays(m, y) : iDay;
  std::int32_t n = y * 365 + (y + 3) / 4;  // leap days of the years before
  for (std::int32_t k = 1; k < m; k++) n += MonthDays(k, y);
  return n + d - 1;
}

void injuryg_DateNext(std::int32_t* piDay, std::int32_t* piMonth, std::int32_t* piYear) {
  if (*piMonth < 1) *piMonth = 1;
  if (*piMonth > 12) *piMonth = 12;
  if (*piDay < 1) *piDay = 1;
  (*piDay)++;
  if (*piDay > MonthDays(*piMonth, *piYear)) {
    *piDay = 1;
    (*piMonth)++;
    if (*piMonth > 12) {
      *piMonth = 1;
      *piYear = (*piYear + 1) % 100;
    }
  }
}

void injuryg_InjuryDateSet(DBPlayer* p) {
  const InjuryType& t = injuryg_aInjuryTypes[dbplayer_InjuryTypeGet(p)];
  const std::int32_t n = QMathRandBetween(static_cast<std::int32_t>(t.uMinDays), static_cast<std::int32_t>(t.uMaxDays));
  std::int32_t d, m, y;
  CurrentDate(&d, &m, &y);
  for (std::int32_t i = 0; i < n; i++) injuryg_DateNext(&d, &m, &y);
  dbplayer_InjuryDaySet(p, d);
  dbplayer_InjuryMonthSet(p, m);
  dbplayer_InjuryYearSet(p, y);
}

std::int32_t injuryg_DaysLeft(const DBPlayer* pDBp) {
  QDX_ASSERT(dbplayer_InjuryDayGet(pDBp) != -1);
  std::int32_t d, m, y;
  CurrentDate(&d, &m, &y);
  const std::int32_t n = injuryg_SerialDay(dbplayer_InjuryDayGet(pDBp), dbplayer_InjuryMonthGet(pDBp),
                                           dbplayer_InjuryYearGet(pDBp)) -
                         injuryg_SerialDay(d, m, y);
  return n > 0 ? n : 0;
}

std::int32_t injuryg_InjuryDaysLeftGet(const DBPlayer* p) { return injuryg_DaysLeft(p); }

void injuryg_Update() {
  injuryg_bNew = 0;
  std::int32_t d, m, y;
  CurrentDate(&d, &m, &y);
  const std::int32_t iToday = injuryg_SerialDay(d, m, y);
  // Healing covers every listed player of both sides, so one who sat the
  // match out heals too; a player healed now takes no new injury in this pass.
  const DBPlayer* apoHealed[2 * 3 * 50];
  std::int32_t cHealed = 0;
  ForEachListed(
      [&](DBPlayer* p) {
        if (dbplayer_InjuredGet(p) && Heal(p, iToday) && cHealed < static_cast<std::int32_t>(std::size(apoHealed)))
          apoHealed[cHealed++] = p;
      },
      true, true);
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
    DBPlayer* p = PlayerO_DBPlayerGet(pp);
    if (!p || dbplayer_InjuredGet(p)) continue;
    bool bHealed = false;
    for (std::int32_t i = 0; i < cHealed; i++) bHealed = bHealed || apoHealed[i] == p;
    if (bHealed || PlayerO_KnocksGet(pp) <= INJURYG_KNOCKS_LIMIT) continue;
    injuryg_bNew = 1;
    dbplayer_InjuredSet(p, 1);
    dbplayer_InjuryChangedSet(p, 1);
    std::int32_t r = static_cast<std::int32_t>(QMathRandRange(99));
    std::int32_t iType = 0;
    while (iType < INJURYG_TYPES - 1 && r >= static_cast<std::int32_t>(injuryg_aInjuryTypes[iType].uWeight)) {
      r -= static_cast<std::int32_t>(injuryg_aInjuryTypes[iType].uWeight);
      iType++;
    }
    dbplayer_InjuryTypeSet(p, iType);
    if (iType == 0) {
      dbplayer_InjuryDaySet(p, -1);
      dbplayer_InjuryMonthSet(p, 1);
    } else {
      injuryg_InjuryDateSet(p);
    }
  }
}

void injuryg_SuspensionSet(DBPlayer* p) {
  dbplayer_SuspendedSet(p, 1);
  dbplayer_SuspensionChangedSet(p, 1);
  injuryg_iFlag = 1;
  dbplayer_InjuryDaySet(p, -1);
  dbplayer_InjuryMonthSet(p, 1);
}

void injuryg_SuspensionServe(DBPlayer* p) {
  const std::int32_t iOut = dbplayer_InjuryMonthGet(p);
  QDX_ASSERT(iOut > 0);
  if (iOut != 1) return;
  dbplayer_SuspendedSet(p, 0);
  dbplayer_InjuryMonthSet(p, 0);
  dbplayer_SuspensionChangedSet(p, 1);
  injuryg_iFlag = 1;
  // The card that caused the ban is served with it; left as it was it would
  // ban him again after every match.
  dbplayer_SuspensionServe(p);
}

// The suspension news: set when a ban starts or ends as the match is left.
void injuryg_MatchEndUpdate() {
  injuryg_iFlag = 0;
  ForEachListed(
      [](DBPlayer* p) {
        if (!dbplayer_InjuredGet(p) && CardFlag(p)) injuryg_SuspensionSet(p);
      },
      true, false);
  ForEachListed(
      [](DBPlayer* p) {
        if (dbplayer_SuspendedGet(p)) injuryg_SuspensionServe(p);
        else if (CardFlag(p)) injuryg_SuspensionSet(p);
      },
      false, true);
}

void injuryg_InjuryChangedClear() {
  ForEachListed([](DBPlayer* p) { dbplayer_InjuryChangedSet(p, 0); }, true, true);
}
void injuryg_SuspensionChangedClear() {
  ForEachListed([](DBPlayer* p) { dbplayer_SuspensionChangedSet(p, 0); }, true, true);
}

std::int32_t injuryg_bNewInjury() { return injuryg_bNew; }
std::int32_t injuryg_bInjuryNewsGet() { return injuryg_bNew; }
std::int32_t injuryg_bSuspensionNewsGet() { return injuryg_iFlag; }
std::int32_t injuryg_FlagGet() { return injuryg_iFlag; }
