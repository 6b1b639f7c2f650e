// The match record written into a saved history and read back.
//
// Layout (little-endian):
//   0     home side (256 bytes), 256 away side (256 bytes):
//         0 presentation flag, 4 image, 8 sound, 12 club state, 16 previous
//         club state, 20 kick-off end, 24 formation, 28 saved formation,
//         32 team number, 36 squad-cache slot + 1 (0 none), 40 squad size,
//         44 1 when the side uses its own squad copy, 48..68 the pitch, bench
//         and reserve lists and their cursors (entry + 1 in the side's copy),
//         72 substitution request, 76 substitutions allowed, 80 rating,
//         84 statistics: 84..90 the seven counters, 92 possession, 96 the
//         three action areas, 108 goal count, 109 scorers (1..50 a home copy
//         entry, 51..100 an away one, 0 none), 139 minutes, 169 kinds
//   512   home ground, home goals, away goals, reserved word, coin toss
//   532   the two removal counters
//   540   the environment's eight words
//   1084  the home copy, 50 records of 112 bytes in the database file's
//         layout (only the squad's entries; the rest 0), whose link places
//         hold 92 the formation slot, 96 the saved slot (each 1 + its place in
//         the formation table, 0 none) and 104 the next entry (entry + 1)
//   6684  the away copy
#include "matchflow/matcha_save.h"

#include <cstring>
#include <initializer_list>

#include "engine/formation.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"

namespace {

constexpr std::int32_t kSide = 256, kWords = 512, kRemovals = 532, kEnvironment = 540;
constexpr std::int32_t kCopies = MATCH_SAVE_SQUAD_COPIES;
constexpr std::int32_t kCopySize = TEAM_SQUADSIZE_MAX * DBPLAYER_FILE_SIZE;
constexpr std::int32_t kFormationPlaces = FORMATION_MAX * FORMATION_SLOTS;
static_assert(kCopies + 2 * kCopySize == MATCH_SAVE_AREA_SIZE);
static_assert(sizeof(Environment) == 8 * 4);

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (std::int32_t i = 0; i < 4; i++) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int32_t GetI(const std::uint8_t* p) { return static_cast<std::int32_t>(Get32(p)); }

DBPlayer* Copy(std::int32_t iSide) { return iSide ? match_aAwaySquad : match_aHomeSquad; }

// Entry + 1 of a player in a copy, 0 for none or a player elsewhere.
std::uint32_t EntryOf(const DBPlayer* p, const DBPlayer* paCopy) {
  if (!p || p < paCopy || p >= paCopy + TEAM_SQUADSIZE_MAX) return 0;
  return static_cast<std::uint32_t>(p - paCopy) + 1;
}
DBPlayer* EntryAt(std::uint32_t u, DBPlayer* paCopy) { return u ? &paCopy[u - 1] : nullptr; }

std::uint32_t PlaceOf(const FormationSlot* p) {
  const FormationSlot* pFirst = &formation_aRecords[0][0];
  if (!p || p < pFirst || p >= pFirst + kFormationPlaces) return 0;
  return static_cast<std::uint32_t>(p - pFirst) + 1;
}
const FormationSlot* PlaceAt(std::uint32_t u) { return u ? &formation_aRecords[0][0] + (u - 1) : nullptr; }

std::uint32_t SlotOf(const Squad* p) {
  for (std::int32_t i = 0; i < SQUADCACHE_SLOTS; i++)
    if (p && p == squadcache_SlotGet(i)) return static_cast<std::uint32_t>(i) + 1;
  return 0;
}

void Lists(MatchTeam* t, DBPlayer** a[6]) {
  a[0] = &t->poPitchList;
  a[1] = &t->poBenchList;
  a[2] = &t->poReserveList;
  a[3] = &t->poPitchCursor;
  a[4] = &t->poBenchCursor;
  a[5] = &t->poReserveCursor;
}

void SideWrite(std::uint8_t* p, MatchTeam* t, std::int32_t iSide) {
  const std::int32_t aWords[9] = {t->bPresentation, t->iImage,     t->iSound,          t->iClubState, t->iPrevClubState,
                                  t->KickOff,       t->iFormation, t->iSavedFormation, t->iTeam};
  for (std::int32_t i = 0; i < 9; i++) Put32(p + 4 * i, static_cast<std::uint32_t>(aWords[i]));
  Put32(p + 36, SlotOf(t->Squad));
  Put32(p + 40, static_cast<std::uint32_t>(t->iSquadSize));
  Put32(p + 44, t->MySquad == Copy(iSide) ? 1u : 0u);
  DBPlayer** a[6];
  Lists(t, a);
  for (std::int32_t i = 0; i < 6; i++) Put32(p + 48 + 4 * i, EntryOf(*a[i], Copy(iSide)));
  Put32(p + 72, static_cast<std::uint32_t>(t->SubRequest));
  Put32(p + 76, static_cast<std::uint32_t>(t->iSubsAllowed));
  Put32(p + 80, static_cast<std::uint32_t>(t->iRating));
  const MatchStats& s = t->MatchStats;
  const std::uint8_t aCounters[7] = {s.Shots, s.OnTarget, s.Corners, s.FreeKicks, s.Offsides, s.Booked, s.SentOff};
  std::memcpy(p + 84, aCounters, 7);
  Put32(p + 92, static_cast<std::uint32_t>(s.Possession));
  for (std::int32_t i = 0; i < 3; i++) Put32(p + 96 + 4 * i, static_cast<std::uint32_t>(s.ActionArea[i]));
  p[108] = s.GoalCount;
  for (std::int32_t i = 0; i < GSTATSO_GOALS_MAX; i++) {
    const std::uint32_t uHome = EntryOf(s.GoalScorer[i], match_aHomeSquad);
    const std::uint32_t uAway = EntryOf(s.GoalScorer[i], match_aAwaySquad);
    p[109 + i] = static_cast<std::uint8_t>(uHome ? uHome : uAway ? uAway + TEAM_SQUADSIZE_MAX : 0);
    p[139 + i] = s.GoalMinute[i];
    p[169 + i] = s.GoalKind[i];
  }
}

bool SideCheck(const std::uint8_t* p) {
  const std::int32_t iSize = GetI(p + 40);
  if (Get32(p + 12) > 1 || Get32(p + 16) > 1 || Get32(p + 20) > 1) return false;
  for (std::int32_t o : {24, 28})
    if (GetI(p + o) < -1 || GetI(p + o) >= FORMATION_MAX) return false;
  if (Get32(p + 32) > 2 || Get32(p + 36) > SQUADCACHE_SLOTS || Get32(p + 44) > 1) return false;
  if (iSize < 0 || iSize > TEAM_SQUADSIZE_MAX) return false;
  for (std::int32_t i = 0; i < 6; i++)
    if (GetI(p + 48 + 4 * i) < 0 || GetI(p + 48 + 4 * i) > iSize) return false;
  if (p[108] > GSTATSO_GOALS_MAX) return false;
  for (std::int32_t i = 0; i < GSTATSO_GOALS_MAX; i++)
    if (p[109 + i] > 2 * TEAM_SQUADSIZE_MAX) return false;
  return true;
}

void SideRead(const std::uint8_t* p, MatchTeam* t, std::int32_t iSide) {
  t->poPlayers = nullptr;  // the pitch's player records are linked again at the next kick-off
  t->bPresentation = GetI(p + 0);
  t->iImage = GetI(p + 4);
  t->iSound = GetI(p + 8);
  t->iClubState = GetI(p + 12);
  t->iPrevClubState = GetI(p + 16);
  t->KickOff = GetI(p + 20);
  t->iFormation = GetI(p + 24);
  t->iSavedFormation = GetI(p + 28);
  t->iTeam = GetI(p + 32);
  t->Squad = Get32(p + 36) ? squadcache_SlotGet(GetI(p + 36) - 1) : nullptr;
  t->iSquadSize = GetI(p + 40);
  t->MySquad = Get32(p + 44) ? Copy(iSide) : nullptr;
  DBPlayer** a[6];
  Lists(t, a);
  for (std::int32_t i = 0; i < 6; i++) *a[i] = EntryAt(Get32(p + 48 + 4 * i), Copy(iSide));
  t->SubRequest = GetI(p + 72);
  t->iSubsAllowed = GetI(p + 76);
  t->iRating = GetI(p + 80);
  MatchStats& s = t->MatchStats;
  s.Shots = p[84];
  s.OnTarget = p[85];
  s.Corners = p[86];
  s.FreeKicks = p[87];
  s.Offsides = p[88];
  s.Booked = p[89];
  s.SentOff = p[90];
  s.Possession = GetI(p + 92);
  for (std::int32_t i = 0; i < 3; i++) s.ActionArea[i] = GetI(p + 96 + 4 * i);
  s.GoalCount = p[108];
  for (std::int32_t i = 0; i < GSTATSO_GOALS_MAX; i++) {
    const std::uint32_t u = p[109 + i];
    s.GoalScorer[i] = u > TEAM_SQUADSIZE_MAX ? EntryAt(u - TEAM_SQUADSIZE_MAX, match_aAwaySquad)
                                             : EntryAt(u, match_aHomeSquad);
    s.GoalMinute[i] = p[139 + i];
    s.GoalKind[i] = p[169 + i];
  }
}

void CopyWrite(std::uint8_t* p, const DBPlayer* paCopy, std::int32_t cSize) {
  for (std::int32_t i = 0; i < cSize; i++) {
    std::uint8_t* pb = p + DBPLAYER_FILE_SIZE * i;
    const DBPlayer& o = paCopy[i];
    dbplayer_Encode(&o, pb);
    Put32(pb + 92, PlaceOf(o.poSlot));
    Put32(pb + 96, PlaceOf(o.poSavedSlot));
    Put32(pb + 104, EntryOf(o.poNext, paCopy));
  }
}

bool CopyCheck(const std::uint8_t* p, std::int32_t cSize) {
  for (std::int32_t i = 0; i < cSize; i++) {
    const std::uint8_t* pb = p + DBPLAYER_FILE_SIZE * i;
    DBPlayer o;
    if (!dbplayer_Decode(pb, &o)) return false;
    if (Get32(pb + 92) > kFormationPlaces || Get32(pb + 96) > kFormationPlaces) return false;
    if (Get32(pb + 104) > static_cast<std::uint32_t>(cSize)) return false;
  }
  return true;
}

void CopyRead(const std::uint8_t* p, DBPlayer* paCopy, std::int32_t cSize) {
  for (std::int32_t i = 0; i < TEAM_SQUADSIZE_MAX; i++) {
    DBPlayer& o = paCopy[i];
    o = DBPlayer{};
    if (i >= cSize) continue;
    const std::uint8_t* pb = p + DBPLAYER_FILE_SIZE * i;
    dbplayer_Decode(pb, &o);
    o.poSlot = PlaceAt(Get32(pb + 92));
    o.poSavedSlot = PlaceAt(Get32(pb + 96));
    o.poNext = EntryAt(Get32(pb + 104), paCopy);
    o.po3DObject = nullptr;
  }
}

}  // namespace

void match_SaveAreaWrite(std::uint8_t* pb) {
  std::memset(pb, 0, MATCH_SAVE_AREA_SIZE);
  SideWrite(pb, &match.HomeTeam, 0);
  SideWrite(pb + kSide, &match.AwayTeam, 1);
  const std::int32_t aWords[5] = {match.HomeGround, match.HomeGoals, match.AwayGoals,
                                  static_cast<std::int32_t>(match.uReserved), match.CoinToss};
  for (std::int32_t i = 0; i < 5; i++) Put32(pb + kWords + 4 * i, static_cast<std::uint32_t>(aWords[i]));
  for (std::int32_t i = 0; i < 2; i++) Put32(pb + kRemovals + 4 * i, static_cast<std::uint32_t>(match_aiRemovals[i]));
  const Environment& e = environ_oEnvironment;
  const std::int32_t aEnv[8] = {e.StadiumID, e.iLook, e.iVariant, e.iRandomBit, e.bNight, e.iLights, e.iPitchType, e.iPitchWear};
  for (std::int32_t i = 0; i < 8; i++) Put32(pb + kEnvironment + 4 * i, static_cast<std::uint32_t>(aEnv[i]));
  const std::int32_t cHome = match.HomeTeam.iSquadSize, cAway = match.AwayTeam.iSquadSize;
  CopyWrite(pb + kCopies, match_aHomeSquad, cHome < 0 ? 0 : cHome > TEAM_SQUADSIZE_MAX ? TEAM_SQUADSIZE_MAX : cHome);
  CopyWrite(pb + kCopies + kCopySize, match_aAwaySquad,
            cAway < 0 ? 0 : cAway > TEAM_SQUADSIZE_MAX ? TEAM_SQUADSIZE_MAX : cAway);
}

std::int32_t match_SaveAreaCheck(const std::uint8_t* pb) {
  if (!SideCheck(pb) || !SideCheck(pb + kSide)) return 0;
  if (Get32(pb + kWords + 16) > 1) return 0;
  const std::int32_t iStadium = GetI(pb + kEnvironment);
  if (iStadium < -1 || iStadium >= STADIUM_COUNT || Get32(pb + kEnvironment + 4) > 31 ||
      Get32(pb + kEnvironment + 8) > 3 || Get32(pb + kEnvironment + 24) > ENVIRON_PITCH_DEFAULT)
    return 0;
  if (!CopyCheck(pb + kCopies, GetI(pb + 40)) || !CopyCheck(pb + kCopies + kCopySize, GetI(pb + kSide + 40))) return 0;
  return 1;
}

std::int32_t match_SaveAreaRead(const std::uint8_t* pb) {
  if (!match_SaveAreaCheck(pb)) return 0;
  SideRead(pb, &match.HomeTeam, 0);
  SideRead(pb + kSide, &match.AwayTeam, 1);
  match.HomeGround = GetI(pb + kWords);
  match.HomeGoals = GetI(pb + kWords + 4);
  match.AwayGoals = GetI(pb + kWords + 8);
  match.uReserved = Get32(pb + kWords + 12);
  match.CoinToss = GetI(pb + kWords + 16);
  for (std::int32_t i = 0; i < 2; i++) match_aiRemovals[i] = GetI(pb + kRemovals + 4 * i);
  Environment& e = environ_oEnvironment;
  std::int32_t* const aEnv[8] = {&e.StadiumID, &e.iLook,   &e.iVariant,   &e.iRandomBit,
                                 &e.bNight,    &e.iLights, &e.iPitchType, &e.iPitchWear};
  for (std::int32_t i = 0; i < 8; i++) *aEnv[i] = GetI(pb + kEnvironment + 4 * i);
  CopyRead(pb + kCopies, match_aHomeSquad, match.HomeTeam.iSquadSize);
  CopyRead(pb + kCopies + kCopySize, match_aAwaySquad, match.AwayTeam.iSquadSize);
  return 1;
}
