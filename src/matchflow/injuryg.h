#pragma once
// Injuries and suspensions of database players between matches: knocks
// become injuries of a random type and length when the match is left,
// injuries heal when their end date comes, and sending-offs and second
// bookings become one-match suspensions served in the next match.
#include <cstdint>

struct DBPlayer;
struct Player;

struct InjuryType {
  std::uint32_t uWeight;   // per cent; the nine add up to 100
  std::uint32_t uMinDays;
  std::uint32_t uMaxDays;  // never drawn itself
  std::uint16_t uTextId;   // front-end text of the news
  std::uint16_t uCleared;
};
constexpr std::int32_t INJURYG_TYPES = 9;
constexpr std::int32_t INJURYG_KNOCKS_LIMIT = 100;  // more knocks than this: an injury
extern const InjuryType injuryg_aInjuryTypes[INJURYG_TYPES];

void injuryg_InjuredPlayerSet(Player* pp);
void injuryg_BookedPlayerSet(Player* pp);
Player* injuryg_InjuredPlayerGet();
Player* injuryg_BookedPlayerGet();
void injuryg_PlayerOffApply();
void injuryg_Update();
void injuryg_MatchEndUpdate();
void injuryg_SuspensionServe(DBPlayer* poDb);
void injuryg_SuspensionSet(DBPlayer* poDb);
void injuryg_InjuryDateSet(DBPlayer* poDb);
// Days from the current date to the end of the injury, at least 0; asserts
// "dbplayer_InjuryDayGet(pDBp) != -1" for one counted in matches.
std::int32_t injuryg_DaysLeft(const DBPlayer* poDb);
std::int32_t injuryg_InjuryDaysLeftGet(const DBPlayer* poDb);
// Advances a date (two-digit year) by one day.
void injuryg_DateNext(std::int32_t* piDay, std::int32_t* piMonth, std::int32_t* piYear);
// Days since 1 January 1900 of a date with a two-digit year, February having
// 29 days in the years divisible by 4; months and days outside their range
// are clamped first.
std::int32_t injuryg_SerialDay(std::int32_t iDay, std::int32_t iMonth, std::int32_t iYear);
void injuryg_InjuryChangedClear();
void injuryg_SuspensionChangedClear();
std::int32_t injuryg_bNewInjury();
std::int32_t injuryg_bInjuryNewsGet();
std::int32_t injuryg_bSuspensionNewsGet();
std::int32_t injuryg_FlagGet();
