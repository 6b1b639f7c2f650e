// The player database as the game reads it: every team edition of the block
// index loads through the squad cache and holds the squad the team set-up
// needs; damaged files give no squad and leave the slots as they were; the
// record's file form round-trips; cards follow their transitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "engine/formation.h"
#include "tournament/dbindex.h"
#include "tournament/dbplayer.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament_env.h"

namespace {

constexpr std::int32_t kBuffer = 4 + 112 * TEAM_SQUADSIZE_MAX;

struct LoadBuffer {
  std::vector<std::uint8_t> ab = std::vector<std::uint8_t>(kBuffer);
};

Squad* Load(const DBTeamEditions& t, std::int32_t e, std::int32_t slot, LoadBuffer& b) {
  SquadTeamRef ref{t.iTeamId, t.iNumber * DB_KEY_STEP};
  return squadcache_Load(&ref, e, slot, b.ab.data(), kBuffer);
}

const DBTeamEditions& Team(std::int32_t id) {
  const DBTeamEditions* p = dbteams_Find(id);
  EXPECT_NE(p, nullptr) << id;
  return *p;
}

// What a slot holds, to compare before and after a refused load.
std::vector<std::uint8_t> SlotBytes(std::int32_t slot) {
  const Squad* s = squadcache_SlotGet(slot);
  std::vector<std::uint8_t> ab(reinterpret_cast<const std::uint8_t*>(s),
                               reinterpret_cast<const std::uint8_t*>(s) + sizeof(Squad));
  for (std::int32_t i = 0; i < s->Size; i++) {
    std::uint8_t rec[DBPLAYER_FILE_SIZE];
    dbplayer_Encode(&s->poFirstPlayer[i], rec);
    ab.insert(ab.end(), rec, rec + sizeof rec);
  }
  return ab;
}

TEST(Database, EveryTeamEditionLoadsAndFillsItsFormation) {
  squadcache_Clear();
  LoadBuffer b;
  int cLoaded = 0;
  std::set<std::int32_t> numbers;
  for (std::int32_t k = 0; k < dbteams_cTeams; k++) {
    const DBTeamEditions& t = dbteams_aTeams[k];
    EXPECT_TRUE(numbers.insert(t.iNumber).second) << "number " << t.iNumber << " twice";
    for (std::int32_t e = 0; e < DB_EDITIONS; e++) {
      const bool bIn = (t.uMask >> e) & 1;
      const std::uint32_t uSize = director_DumpBlockSizeGet(t.iNumber * DB_KEY_STEP, e);
      ASSERT_EQ(bIn, uSize != 0) << t.iTeamId << " edition " << e;
      if (!bIn) {
        EXPECT_EQ(Load(t, e, 0, b), nullptr);
        continue;
      }
      EXPECT_EQ(director_DumpBlockOffsetGet(t.iNumber * DB_KEY_STEP, e) % DB_BLOCK_ALIGN, 0u);
      Squad* s = Load(t, e, cLoaded & 1, b);
      ASSERT_NE(s, nullptr) << t.iTeamId << " edition " << e;
      cLoaded++;
      EXPECT_EQ(s, squadcache_SlotGet((cLoaded - 1) & 1));
      EXPECT_EQ(s->iTeamId, t.iTeamId);
      EXPECT_EQ(s->iEdition, e);
      EXPECT_STREQ(s->szTeamName, tla_NameGet(t.iTeamId));
      EXPECT_EQ(static_cast<std::uint32_t>(4 + 112 * s->Size), uSize);
      const bool bFinals = (t.uFinalsMask >> e) & 1;
      if (bFinals) {
        EXPECT_EQ(s->Size, 22);
      }
      EXPECT_GE(s->Size, 16);
      EXPECT_LE(s->Size, 22);
      // The starters hold exactly the formation's positions and sides, so the
      // first matching pass fills every slot; the lists are as the edition has them.
      std::multiset<std::pair<std::uint32_t, std::uint32_t>> starters, slots;
      const FormationSlot* f = formation_RecordGet(t.aiFormation[e]);
      for (int i = 0; i < FORMATION_SLOTS; i++)
        slots.insert({static_cast<std::uint32_t>(f[i].iPosition), static_cast<std::uint32_t>(f[i].iSide)});
      int cBench = 0, cBenchKeepers = 0, cPenalty = 0;
      std::set<std::string> names;
      std::set<std::uint32_t> shirts;
      for (std::int32_t i = 0; i < s->Size; i++) {
        const DBPlayer& p = s->poFirstPlayer[i];
        EXPECT_TRUE(names.insert(p.szName).second) << p.szName;
        EXPECT_TRUE(shirts.insert(p.uField88).second);
        EXPECT_GE(p.uField88, 1u);
        EXPECT_LE(p.uField88, 22u);
        EXPECT_LE((p.uAppearance >> 6) & 7, 4);
        EXPECT_EQ(dbplayer_StarterGet(&p) + dbplayer_BenchGet(&p) + dbplayer_ReserveGet(&p) + dbplayer_Reserve2Get(&p), 1);
        EXPECT_EQ(p.poSlot, nullptr);
        EXPECT_EQ(p.poNext, nullptr);
        EXPECT_EQ(p.po3DObject, nullptr);
        if (dbplayer_StarterGet(&p)) {
          starters.insert({p.auPosition[0], p.uSide});
          if (p.uPenaltyOrder >= 1 && p.uPenaltyOrder <= 5) cPenalty++;
        }
        if (dbplayer_BenchGet(&p)) {
          cBench++;
          cBenchKeepers += p.auPosition[0] == 0;
        }
      }
      EXPECT_EQ(starters, slots) << t.iTeamId << " edition " << e;
      EXPECT_EQ(cBench, e <= 2 ? 0 : e <= 8 ? 5 : 7);
      if (cBench > 0) {
        EXPECT_GE(cBenchKeepers, 1);
      }
      EXPECT_EQ(cPenalty, 5);
    }
  }
  EXPECT_GT(cLoaded, 900);
  // The keys the team-selection tables give.
  const std::map<std::int32_t, std::int32_t> pinned = {{144, 384}, {191, 608}, {72, 816}, {77, 944},
                                                       {80, 1008}, {43, 2256}, {6, 2480}};
  for (auto [id, key] : pinned) EXPECT_EQ(Team(id).iNumber * DB_KEY_STEP, key) << id;
  EXPECT_EQ(Team(144).uMask, 0x7FF);
  EXPECT_EQ(Team(77).uMask, 0x1FF);
  EXPECT_EQ(Team(80).uMask, 0x600);
  EXPECT_EQ(Team(191).uMask, 0x001);
  EXPECT_EQ(Team(43).uMask, 0x008);
  EXPECT_EQ(Team(6).uMask, 0x600);
  const std::int8_t aBraRatings[11] = {10, 10, 7, 10, 8, 9, 10, 8, 7, 10, 9};
  const std::int8_t aBraFormations[11] = {9, 5, 5, 5, 4, 5, 5, 6, 2, 5, 5};
  EXPECT_EQ(0, std::memcmp(Team(144).aiRating, aBraRatings, 11));
  EXPECT_EQ(0, std::memcmp(Team(144).aiFormation, aBraFormations, 11));
}

TEST(Database, TheIndexRefusesWhatLiesOutsideIt) {
  const DBTeamEditions& bra = Team(144);
  const std::int32_t key = bra.iNumber * DB_KEY_STEP;
  EXPECT_NE(director_DumpBlockSizeGet(key, 10), 0u);
  EXPECT_EQ(director_DumpBlockSizeGet(key, 11), 0u);  // the dream team has no row entry
  EXPECT_EQ(director_DumpBlockOffsetGet(key, 11), 0u);
  EXPECT_EQ(director_DumpBlockSizeGet(key, -1), 0u);
  EXPECT_EQ(director_DumpBlockSizeGet(-16, 0), 0u);
  EXPECT_EQ(director_DumpBlockSizeGet(director_cDumpIndexRows * DB_KEY_STEP, 0), 0u);
  // Keys within a row of 16 read the same row.
  EXPECT_EQ(director_DumpBlockOffsetGet(key + 15, 4), director_DumpBlockOffsetGet(key, 4));
  LoadBuffer b;
  squadcache_Clear();
  EXPECT_EQ(Load(bra, 11, 0, b), nullptr);
  EXPECT_EQ(dbteams_Find(0), nullptr);
  EXPECT_EQ(dbteams_Find(205), nullptr);
}

TEST(Database, DamagedFilesGiveNoSquadAndLeaveTheSlots) {
  const std::vector<std::uint8_t> good = GeneratedDump();
  ASSERT_FALSE(good.empty());
  const DBTeamEditions& eng = Team(72);
  const DBTeamEditions& bra = Team(144);
  const std::uint32_t off = director_DumpBlockOffsetGet(bra.iNumber * DB_KEY_STEP, 3);
  const std::uint32_t size = director_DumpBlockSizeGet(bra.iNumber * DB_KEY_STEP, 3);
  LoadBuffer b;
  auto refused = [&](const std::vector<std::uint8_t>& file, const char* what) {
    TestDumpWrite(good);
    squadcache_Clear();
    ASSERT_NE(Load(eng, 2, 0, b), nullptr);
    ASSERT_NE(Load(eng, 3, 1, b), nullptr);
    const std::vector<std::uint8_t> before0 = SlotBytes(0), before1 = SlotBytes(1);
    TestDumpWrite(file);
    EXPECT_EQ(Load(bra, 3, 0, b), nullptr) << what;
    EXPECT_EQ(Load(bra, 3, 1, b), nullptr) << what;
    EXPECT_EQ(SlotBytes(0), before0) << what;
    EXPECT_EQ(SlotBytes(1), before1) << what;
  };
  // Truncated anywhere inside the block, or before it.
  for (std::uint32_t cut : {0u, off, off + 3, off + 4, off + 4 + 112 * 7 + 31, off + size - 1}) {
    std::vector<std::uint8_t> f(good.begin(), good.begin() + cut);
    refused(f, "truncated");
  }
  {
    std::vector<std::uint8_t> f = good;
    f[off + 2] = static_cast<std::uint8_t>(f[off + 2] + 1);  // header count off the index size
    refused(f, "count");
  }
  {
    std::vector<std::uint8_t> f = good;
    f[off + 3] = 0x80;  // a negative count
    refused(f, "negative count");
  }
  {
    std::vector<std::uint8_t> f = good;
    std::memset(&f[off + 4 + 112 * 5], 'A', 32);  // a name without its NUL
    refused(f, "name");
  }
  {
    std::vector<std::uint8_t> f = good;
    f[off + 4 + 112 * 9 + 36] = 25;  // a first position past 24
    refused(f, "position");
  }
  {
    std::vector<std::uint8_t> f = good;
    f[off + 4 + 112 * 21 + 48] = 3;  // a side past 2
    refused(f, "side");
  }
  {
    // No database at all.
    std::filesystem::remove(TestDumpPath());
    squadcache_Clear();
    EXPECT_EQ(Load(bra, 3, 0, b), nullptr);
  }
  // A buffer too small for the block is never read past.
  TestDumpWrite(good);
  squadcache_Clear();
  std::vector<std::uint8_t> small(size - 1, 0xEE);
  SquadTeamRef ref{bra.iTeamId, bra.iNumber * DB_KEY_STEP};
  EXPECT_EQ(squadcache_Load(&ref, 3, 0, small.data(), static_cast<std::int32_t>(small.size())), nullptr);
  EXPECT_EQ(Load(bra, 3, 0, b)->Size, 22);
}

TEST(Database, SlotsOutliveTheBufferAndFindByTeamAndEdition) {
  TestDumpWrite(GeneratedDump());
  squadcache_Clear();
  LoadBuffer b;
  Squad* home = Load(Team(144), 10, 0, b);
  ASSERT_NE(home, nullptr);
  const std::string first = home->poFirstPlayer[0].szName;
  std::fill(b.ab.begin(), b.ab.end(), 0xCD);  // the scratch buffer is reused
  Squad* away = Load(Team(72), 10, 1, b);
  ASSERT_NE(away, nullptr);
  EXPECT_EQ(home->poFirstPlayer[0].szName, first);
  EXPECT_NE(home->poFirstPlayer, away->poFirstPlayer);
  EXPECT_EQ(squadcache_Find(144, 10), home);
  EXPECT_EQ(squadcache_Find(72, 10), away);
  EXPECT_EQ(squadcache_Find(72, 9), nullptr);
  squadcache_Clear();
  EXPECT_EQ(squadcache_Find(144, 10), nullptr);
  EXPECT_STREQ(squadcache_SlotGet(0)->szTeamName, "");
  EXPECT_EQ(squadcache_SlotGet(0)->Size, 0);
  // A squad of 60 keeps 50.
  std::vector<DBPlayer> many(60);
  for (int i = 0; i < 60; i++) std::snprintf(many[static_cast<size_t>(i)].szName, 32, "P%d", i);
  squadcache_SlotSet("Sixty", 5, many.data(), 60, 4, 1);
  EXPECT_EQ(squadcache_SlotGet(1)->Size, TEAM_SQUADSIZE_MAX);
  EXPECT_STREQ(squadcache_SlotGet(1)->poFirstPlayer[49].szName, "P49");
  EXPECT_EQ(squadcache_Find(5, 4), squadcache_SlotGet(1));
}

TEST(Database, RecordsRoundTripThroughTheirFileForm) {
  const std::vector<std::uint8_t> file = GeneratedDump();
  const DBTeamEditions& t = Team(76);
  for (std::int32_t e = 0; e < DB_EDITIONS; e++) {
    const std::uint32_t off = director_DumpBlockOffsetGet(t.iNumber * DB_KEY_STEP, e);
    const std::uint32_t size = director_DumpBlockSizeGet(t.iNumber * DB_KEY_STEP, e);
    for (std::uint32_t at = off + 4; at + 112 <= off + size; at += 112) {
      DBPlayer p;
      ASSERT_EQ(dbplayer_Decode(&file[at], &p), 1);
      std::uint8_t back[DBPLAYER_FILE_SIZE];
      dbplayer_Encode(&p, back);
      EXPECT_EQ(0, std::memcmp(back, &file[at], DBPLAYER_FILE_SIZE));
    }
  }
  // Every field lands at its byte, signed bytes included.
  std::uint8_t rec[DBPLAYER_FILE_SIZE];
  for (int i = 0; i < DBPLAYER_FILE_SIZE; i++) rec[i] = static_cast<std::uint8_t>(i + 1);
  std::memcpy(rec, "Name", 5);
  std::memset(rec + 36, 0, 4);
  rec[36] = 24;
  std::memset(rec + 48, 0, 4);
  rec[48] = 2;
  rec[57] = 0xF0;
  rec[108] = 0xFF;
  std::memset(rec + 92, 0, 16);  // link places
  DBPlayer p;
  ASSERT_EQ(dbplayer_Decode(rec, &p), 1);
  EXPECT_EQ(p.iHeading, -16);
  EXPECT_EQ(dbplayer_InjuryDayGet(&p), -1);
  EXPECT_EQ(p.uSpeed, 53);
  EXPECT_EQ(p.uDiving, 71);
  EXPECT_EQ(p.uAppearance, 75 | (76 << 8));
  EXPECT_EQ(dbplayer_PositionGet(&p, 2), static_cast<std::int32_t>(45 | (46 << 8) | (47 << 16) | (48u << 24)));
  std::uint8_t back[DBPLAYER_FILE_SIZE];
  dbplayer_Encode(&p, back);
  EXPECT_EQ(0, std::memcmp(back, rec, DBPLAYER_FILE_SIZE));
  EXPECT_DEATH(dbplayer_PositionGet(&p, 3), "cPosition < 3");
}

TEST(Database, CardTransitions) {
  // {state before, after a booking, after a red card, after serving}
  const std::uint32_t table[][4] = {{0, 1, 4, 0}, {1, 2, 8, 1}, {2, 2, 2, 0}, {4, 4, 4, 0}, {8, 8, 8, 1}};
  for (auto& row : table) {
    DBPlayer p{};
    p.uFlags = 0x00F00021u | (row[0] << 16);  // other bits are kept
    DBPlayer y = p, r = p, s = p;
    dbplayer_YellowCardAdd(&y);
    dbplayer_RedCardAdd(&r);
    dbplayer_SuspensionServe(&s);
    EXPECT_EQ(dbplayer_CardStateGet(&y), row[1]) << row[0];
    EXPECT_EQ(dbplayer_CardStateGet(&r), row[2]) << row[0];
    EXPECT_EQ(dbplayer_CardStateGet(&s), row[3]) << row[0];
    EXPECT_EQ(y.uFlags & ~DBPLAYER_CARD_MASK, 0x00F00021u);
  }
  // A booked player sent off becomes 8; after the suspension he is booked again.
  DBPlayer p{};
  dbplayer_YellowCardAdd(&p);
  dbplayer_RedCardAdd(&p);
  EXPECT_TRUE(dbplayer_SentOffBookedGet(&p));
  dbplayer_SuspensionServe(&p);
  EXPECT_TRUE(dbplayer_BookedGet(&p));
  dbplayer_YellowCardAdd(&p);
  EXPECT_TRUE(dbplayer_TwoYellowsGet(&p));
  EXPECT_FALSE(dbplayer_SentOffGet(&p));
}

TEST(Database, FlagAccessorsTouchOnlyTheirBit) {
  struct Row {
    std::int32_t (*get)(const DBPlayer*);
    void (*set)(DBPlayer*, std::int32_t);
    int bit;
  };
  const Row rows[] = {{dbplayer_InSquadGet, dbplayer_InSquadSet, 2},
                      {dbplayer_InjuredGet, dbplayer_InjuredSet, 6},
                      {dbplayer_SuspendedGet, dbplayer_SuspendedSet, 8},
                      {dbplayer_SubstitutedGet, dbplayer_SubstitutedSet, 9},
                      {dbplayer_PenaltyTakenGet, dbplayer_PenaltyTakenSet, 10},
                      {dbplayer_InjuryChangedGet, dbplayer_InjuryChangedSet, 11},
                      {dbplayer_SuspensionChangedGet, dbplayer_SuspensionChangedSet, 12}};
  for (const Row& r : rows) {
    DBPlayer p{};
    p.uFlags = 0xA5A5A5A5u & ~(1u << r.bit);
    r.set(&p, 1);
    EXPECT_EQ(p.uFlags, (0xA5A5A5A5u & ~(1u << r.bit)) | (1u << r.bit)) << r.bit;
    EXPECT_EQ(r.get(&p), 1);
    r.set(&p, 0);
    EXPECT_EQ(p.uFlags, 0xA5A5A5A5u & ~(1u << r.bit));
    EXPECT_EQ(r.get(&p), 0);
  }
  const std::pair<std::int32_t (*)(const DBPlayer*), int> gets[] = {
      {dbplayer_StarterGet, 0}, {dbplayer_HardTackleGet, 3}, {dbplayer_Flag4Get, 4}, {dbplayer_SetPieceTakerGet, 5},
      {dbplayer_ReserveGet, 13}, {dbplayer_Reserve2Get, 14}, {dbplayer_BenchGet, 15}};
  for (auto [get, bit] : gets) {
    DBPlayer p{};
    p.uFlags = ~(1u << bit);
    EXPECT_EQ(get(&p), 0) << bit;
    p.uFlags = 1u << bit;
    EXPECT_EQ(get(&p), 1) << bit;
  }
}

}  // namespace
