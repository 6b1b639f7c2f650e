// The team-state block of a saved history: the squads of the squad cache, the
// match record with its squad copies and lists, the settings words; damaged
// blocks refused with the running tournament unchanged.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "campaign_driver.h"
#include "engine/formation.h"
#include "engine/team.h"
#include "matchflow/environ.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "matchflow/matcha_save.h"
#include "matchflow/options.h"
#include "tournament/dbindex.h"
#include "tournament/result.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"
#include "tournament/tla.h"
#include "tournament/tmsave.h"
#include "tournament/tmtree.h"

namespace {

constexpr std::int32_t kTeamState = 4 + TMSAVE_GLOBAL_SIZE;
constexpr std::int32_t kSlots = kTeamState + MATCH_SAVE_AREA_SIZE;
constexpr std::int32_t kHomeCopy = kTeamState + MATCH_SAVE_SQUAD_COPIES;
constexpr std::int32_t kSettings = kTeamState + TMSAVE_TEAMSTATE_SIZE - 4 * TMSAVE_SETTINGS_WORDS;

std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

std::vector<std::uint8_t> Save() {
  std::vector<std::uint8_t> v(TMSAVE_BLOCK_SIZE);
  const std::int32_t n = tmsave_Write(v.data(), static_cast<std::int32_t>(v.size()));
  v.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return v;
}
std::int32_t Load(const std::vector<std::uint8_t>& v) {
  return tmsave_Read(v.data(), static_cast<std::int32_t>(v.size()));
}

std::vector<std::uint8_t> g_abBuffer(4 + 112 * TEAM_SQUADSIZE_MAX);

// A team's squad of an edition from the database into a slot, handed to its
// side and set up in the formation.
MatchTeam* Side(std::int32_t iSide, const char* pszTeam, std::int32_t iEdition, std::int32_t iFormation) {
  const std::int32_t iTeam = static_cast<std::int32_t>(Id(pszTeam));
  const DBTeamEditions* t = dbteams_Find(iTeam);
  EXPECT_NE(t, nullptr);
  SquadTeamRef ref{iTeam, t->iNumber * DB_KEY_STEP};
  Squad* s = squadcache_Load(&ref, iEdition, iSide, g_abBuffer.data(), static_cast<std::int32_t>(g_abBuffer.size()));
  EXPECT_NE(s, nullptr);
  match_SquadBuffersPoint();
  MatchTeam* poTeam = iSide ? match_AwayTeamGet() : match_HomeTeamGet();
  if (iSide) match_AwaySquadSet(s);
  else match_HomeSquadSet(s);
  poTeam->iFormation = -1;
  team_SetUp(iFormation, poTeam);
  team_NumbersFromSlots(poTeam);
  team_FormationSave(poTeam);
  return poTeam;
}

std::string Player(const DBPlayer* p) {
  if (!p) return "-";
  return std::string(p->szName) + "/" + std::to_string(p->uFlags) + "/" + std::to_string(p->iInjuryDay) + "." +
         std::to_string(p->uInjuryMonth) + "." + std::to_string(p->uInjuryYear) + "." +
         std::to_string(p->uInjuryType) + "/" + std::to_string(p->uField88);
}
std::string SlotPlace(const FormationSlot* p) {
  return p ? std::to_string(p - &formation_aRecords[0][0]) : "none";
}

// Everything the block keeps, spelled out through the records' own links.
std::string State() {
  std::string s;
  for (std::int32_t k = 0; k < SQUADCACHE_SLOTS; k++) {
    const Squad* q = squadcache_SlotGet(k);
    s += "slot " + std::string(q->szTeamName) + " " + std::to_string(q->iTeamId) + " " + std::to_string(q->iEdition) +
         " " + std::to_string(q->Size) + ":";
    for (std::int32_t i = 0; q->poFirstPlayer && i < q->Size; i++) s += " " + Player(&q->poFirstPlayer[i]);
    s += "\n";
  }
  for (const MatchTeam* t : {&match.HomeTeam, &match.AwayTeam}) {
    s += "side " + std::to_string(t->iFormation) + " " + std::to_string(t->iSavedFormation) + " " +
         std::to_string(t->iSquadSize) + " " + std::to_string(t->Squad == squadcache_SlotGet(0)) + " " +
         std::to_string(t->iClubState) + " " + std::to_string(t->KickOff) + " " + std::to_string(t->SubRequest) +
         " " + std::to_string(t->iSubsAllowed) + " " + std::to_string(t->MatchStats.Shots) + " " +
         std::to_string(t->MatchStats.Possession) + " goals";
    for (std::int32_t i = 0; i < t->MatchStats.GoalCount; i++)
      s += " " + Player(t->MatchStats.GoalScorer[i]) + "@" + std::to_string(t->MatchStats.GoalMinute[i]);
    const char* const apszList[3] = {" pitch", " bench", " reserves"};
    const DBPlayer* const apoList[3] = {t->poPitchList, t->poBenchList, t->poReserveList};
    for (std::int32_t l = 0; l < 3; l++) {
      s += apszList[l];
      for (const DBPlayer* p = apoList[l]; p; p = p->poNext)
        s += " " + Player(p) + "[" + SlotPlace(p->poSlot) + "," + SlotPlace(p->poSavedSlot) + "]";
    }
    s += " cursor " + Player(t->poBenchCursor) + "\n";
  }
  const Environment& e = environ_oEnvironment;
  s += "match " + std::to_string(match.HomeGoals) + "-" + std::to_string(match.AwayGoals) + " " +
       std::to_string(match.CoinToss) + " " + std::to_string(match_aiRemovals[0]) + " env " +
       std::to_string(e.StadiumID) + " " + std::to_string(e.iLook) + " " + std::to_string(e.bNight) + " " +
       std::to_string(e.iPitchType) + "\n";
  s += "settings " + std::to_string(options_oBlock.iMatchLength) + " " + std::to_string(options_oBlock.iReferee) +
       " " + std::to_string(options_oBlock.iExtraTime) + " " + std::to_string(options_oBlock.iMusicVolume) + " " + std::to_string(tmglobal.aHumans[1].Name) + " " +
       std::to_string(tmglobal.aHumans[1].uFlags) + " " + std::to_string(result_RandStateGet()) + "\n";
  return s;
}

// A campaign in the 1970 qualifiers whose human team has played: an injured
// player, a booked one, a substitution made, goals with their scorers.
void SquadsChange() {
  Campaign c(Id("MEX"), Script::Win, 21);
  ASSERT_TRUE(c.EditionStart(70));
  c.MatchPlay();
  MatchTeam* home = Side(0, "BRA", 3, 5);
  MatchTeam* away = Side(1, "ITA", 3, 2);
  DBPlayer* poInjured = home->poPitchList->poNext->poNext;
  dbplayer_InjuredSet(poInjured, 1);
  dbplayer_InjuryDaySet(poInjured, 14);
  dbplayer_InjuryMonthSet(poInjured, 7);
  dbplayer_InjuryYearSet(poInjured, 70);
  dbplayer_InjuryTypeSet(poInjured, 5);
  dbplayer_YellowCardAdd(away->poPitchList->poNext);
  ASSERT_TRUE(team_PlayersSwap(home, home->poPitchList->poNext->poNext->poNext, home->poBenchList, 1));
  home->poBenchCursor = home->poBenchList->poNext;
  home->SubRequest = 1;
  home->iSubsAllowed = 2;
  match.HomeGoals = 2;
  match.AwayGoals = 1;
  match.CoinToss = 1;
  match_aiRemovals[0] = 1;
  home->MatchStats.Shots = 9;
  home->MatchStats.Possession = 40000;
  home->MatchStats.GoalCount = 2;
  home->MatchStats.GoalScorer[0] = home->poPitchList->poNext;
  home->MatchStats.GoalMinute[0] = 12;
  home->MatchStats.GoalScorer[1] = away->poPitchList;  // an own goal
  home->MatchStats.GoalMinute[1] = 77;
  // The squads' state after the match, kept in the slots.
  squadcache_SlotGet(0)->poFirstPlayer[3].uFlags |= DBPLAYER_FLAG_INJURED;
  squadcache_SlotGet(0)->poFirstPlayer[3].iInjuryDay = 20;
  squadcache_SlotGet(1)->poFirstPlayer[0].uFlags |= 1u << 16;
  environ_oEnvironment.StadiumID = 117;
  environ_oEnvironment.iLook = 9;
  environ_oEnvironment.bNight = 1;
  environ_oEnvironment.iPitchType = 2;
  options_oBlock.iMatchLength = 15;
  options_oBlock.iReferee = 2;
  options_oBlock.iExtraTime = 1;
  options_oBlock.iMusicVolume = 11;
  tmglobal.aHumans[1] = HumanTeam{Id("ENG"), 6};
  result_RandSeed(987654321u);
}

// Everything the block holds, overwritten.
void Scramble() {
  squadcache_Clear();
  match = Match{};
  for (DBPlayer* pa : {match_aHomeSquad, match_aAwaySquad})
    for (std::int32_t i = 0; i < TEAM_SQUADSIZE_MAX; i++) pa[i] = DBPlayer{};
  match_aiRemovals[0] = 0;
  environ_Reset();
  environ_PitchReset();
  options_oBlock.iMatchLength = 5;
  options_oBlock.iReferee = 0;
  options_oBlock.iExtraTime = 0;
  options_oBlock.iMusicVolume = 4;
  tmglobal.aHumans[1] = HumanTeam{};
  result_RandSeed(5);
}

}  // namespace

TEST(TournamentTeamState, ASavedHistoryKeepsTheSquadsAndTheMatchRecord) {
  SquadsChange();
  const std::string sBefore = State();
  ASSERT_NE(sBefore.find("slot "), std::string::npos);
  const std::vector<std::uint8_t> a = Save();
  ASSERT_FALSE(a.empty());
  Scramble();
  ASSERT_NE(State(), sBefore);
  ASSERT_EQ(Load(a), 1);
  EXPECT_EQ(State(), sBefore);
  EXPECT_EQ(Save(), a);
  // Links come back as links into the match's own copies and slots.
  EXPECT_EQ(match.HomeTeam.MySquad, match_aHomeSquad);
  EXPECT_EQ(match.AwayTeam.Squad, squadcache_SlotGet(1));
  EXPECT_EQ(match.HomeTeam.MatchStats.GoalScorer[1], match.AwayTeam.poPitchList);
  EXPECT_EQ(squadcache_Find(static_cast<std::int32_t>(Id("BRA")), 3), squadcache_SlotGet(0));
  EXPECT_EQ(match.HomeTeam.poPlayers, nullptr);  // linked again at the next kick-off
  EXPECT_EQ(options_oBlock.iMusicVolume, 11);
  // The slots' players are the human team's squad: its injury is kept.
  EXPECT_TRUE(dbplayer_InjuredGet(&squadcache_SlotGet(0)->poFirstPlayer[3]));
  EXPECT_EQ(squadcache_SlotGet(0)->poFirstPlayer[3].iInjuryDay, 20);
}

TEST(TournamentTeamState, EmptySlotsAndAnEmptyMatchRecordComeBackEmpty) {
  Campaign c(Id("KOR"), Script::Draw, 3);
  ASSERT_TRUE(c.EditionStart(74));
  Scramble();
  const std::vector<std::uint8_t> a = Save();
  SquadsChange();
  ASSERT_EQ(Load(a), 1);
  EXPECT_EQ(squadcache_SlotGet(0)->poFirstPlayer, nullptr);
  EXPECT_EQ(squadcache_Find(static_cast<std::int32_t>(Id("BRA")), 3), nullptr);
  EXPECT_EQ(match.HomeTeam.iSquadSize, 0);
  EXPECT_EQ(match.HomeTeam.poPitchList, nullptr);
  EXPECT_EQ(Save(), a);
}

TEST(TournamentTeamState, ASquadLargerThanItsBlockIsNotSaved) {
  SquadsChange();
  std::vector<DBPlayer> many(TMSAVE_SQUAD_BLOCK_PLAYERS + 1, squadcache_SlotGet(1)->poFirstPlayer[0]);
  squadcache_SlotSet("Many", 9, many.data(), static_cast<std::int32_t>(many.size()), 3, 1);
  std::vector<std::uint8_t> v(TMSAVE_BLOCK_SIZE, 0xAB);
  EXPECT_EQ(tmsave_Write(v.data(), static_cast<std::int32_t>(v.size())), 0);
  squadcache_SlotSet("Many", 9, many.data(), TMSAVE_SQUAD_BLOCK_PLAYERS, 3, 1);
  const std::vector<std::uint8_t> a = Save();
  ASSERT_FALSE(a.empty());
  ASSERT_EQ(Load(a), 1);
  EXPECT_EQ(squadcache_SlotGet(1)->Size, TMSAVE_SQUAD_BLOCK_PLAYERS);
}

TEST(TournamentTeamState, DamagedBlocksAreRefusedAndChangeNothing) {
  SquadsChange();
  const std::vector<std::uint8_t> good = Save();
  Campaign c(Id("SCO"), Script::Lose, 8);  // the running tournament, squads and all
  ASSERT_TRUE(c.EditionStart(82));
  c.MatchPlay();
  Side(0, "SCO", 6, 3);
  const std::vector<std::uint8_t> other = Save();
  const std::string sOther = State();
  ASSERT_FALSE(other.empty());
  const auto refused = [&](std::int32_t at, std::uint32_t value, std::int32_t cBytes, const char* what) {
    std::vector<std::uint8_t> v = good;
    for (std::int32_t i = 0; i < cBytes; i++) v[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    EXPECT_EQ(Load(v), 0) << what;
    EXPECT_EQ(State(), sOther) << what;
    EXPECT_EQ(Save(), other) << what;
  };
  refused(kTeamState + 12, 2, 4, "club state");
  refused(kTeamState + 24, FORMATION_MAX, 4, "formation");
  refused(kTeamState + 36, 3, 4, "squad slot");
  refused(kTeamState + 40, TEAM_SQUADSIZE_MAX + 1, 4, "squad size");
  refused(kTeamState + 48, TEAM_SQUADSIZE_MAX, 4, "pitch list past the squad");
  refused(kTeamState + 108, 31, 1, "goal count");
  refused(kTeamState + 109, 101, 1, "scorer");
  refused(kTeamState + 540, STADIUM_COUNT, 4, "stadium");
  refused(kHomeCopy + 36, 25, 4, "position of a copy's player");
  refused(kHomeCopy + 92, FORMATION_MAX * FORMATION_SLOTS + 1, 4, "formation slot of a copy's player");
  refused(kHomeCopy + 104, TEAM_SQUADSIZE_MAX, 4, "next player past the squad");
  {
    std::vector<std::uint8_t> v = good;
    std::memset(v.data() + kSlots, 'x', SQUAD_NAME_SIZE);
    EXPECT_EQ(Load(v), 0) << "slot name without its NUL";
    EXPECT_EQ(Save(), other);
  }
  refused(kSlots + 44, 12, 4, "edition");
  refused(kSlots + 48, 1, 4, "a pointer in the stream");
  refused(kSlots + 64, TMSAVE_SQUAD_BLOCK_PLAYERS + 1, 4, "slot size");
  refused(kSlots + 144 + 2, 3, 1, "block count unlike the slot's");
  refused(kSlots + 144 + 4 + 48, 3, 4, "side code of a block's player");
  refused(kSettings + 4 * 19, TM_MAX + 1, 4, "second human team");
  refused(kSettings + 4 * 47, 1, 4, "reserved settings word");
  // Random damage inside the block: refused with nothing changed, or read as
  // a state that saves and loads again to the same bytes.
  std::mt19937 rng(11);
  int cRefused = 0;
  for (int k = 0; k < 600; k++) {
    std::vector<std::uint8_t> v = good;
    for (int j = 0; j < 1 + k % 3; j++)
      v[static_cast<std::size_t>(kTeamState + static_cast<std::int32_t>(rng() % TMSAVE_TEAMSTATE_SIZE))] =
          static_cast<std::uint8_t>(rng());
    if (Load(v) == 0) {
      cRefused++;
      ASSERT_EQ(Save(), other);
    } else {
      const std::vector<std::uint8_t> again = Save();
      ASSERT_EQ(Load(again), 1);
      ASSERT_EQ(Save(), again);
      ASSERT_EQ(Load(other), 1);
    }
  }
  EXPECT_GT(cRefused, 30);
}

// Each option word a load restores is refused out of its range, by name,
// value and range, with nothing changed; at each end of its range it loads,
// and saves and loads again as it was.
TEST(TournamentTeamState, AnOptionWordOutOfItsRangeIsRefusedByNameAndValue) {
  SquadsChange();
  const std::vector<std::uint8_t> good = Save();
  ASSERT_FALSE(good.empty());
  const std::string sGood = State();
  const struct {
    std::int32_t iWord;
    const char* pszName;
    std::int32_t lo, hi;
  } kWords[] = {{0, "match length", 5, 15}, {1, "music volume", 0, 16}, {2, "effects volume", 0, 16},
                {4, "player chat", 0, 8},   {5, "offside", 0, 1},      {6, "camera", 0, 4},
                {7, "catch-up", 0, 1},      {8, "extra time", 0, 2},   {9, "penalties", 0, 1},
                {10, "fouls", 0, 1},        {11, "referee", 0, 2},     {12, "day or night", 0, 1},
                {17, "level of detail", 0, 4}};
  const auto with = [&](std::int32_t iWord, std::int32_t v) {
    std::vector<std::uint8_t> a = good;
    for (std::int32_t i = 0; i < 4; i++)
      a[static_cast<std::size_t>(kSettings + 4 * iWord + i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
    return a;
  };
  for (const auto& w : kWords) {
    const std::string range = w.iWord == 0 ? "5, 10 or 15" : std::to_string(w.lo) + " to " + std::to_string(w.hi);
    for (std::int32_t v : {w.lo - 1, w.hi + 1, 99, -1, INT32_MIN, w.iWord == 0 ? 7 : INT32_MAX}) {
      ASSERT_EQ(Load(good), 1);
      EXPECT_EQ(Load(with(w.iWord, v)), 0) << w.pszName << " " << v;
      EXPECT_EQ(std::string(tmsave_RefusalGet()), "its " + std::string(w.pszName) + " option (settings word " +
                                                      std::to_string(w.iWord) + ") is " + std::to_string(v) +
                                                      ", not " + range);
      EXPECT_EQ(State(), sGood) << w.pszName << " " << v;
    }
    for (std::int32_t v : {w.lo, w.hi}) {
      const std::vector<std::uint8_t> a = with(w.iWord, v);
      ASSERT_EQ(Load(a), 1) << w.pszName << " " << v << ": " << tmsave_RefusalGet();
      EXPECT_EQ(reinterpret_cast<const std::int32_t*>(&options_oBlock)[w.iWord], v) << w.pszName;
      EXPECT_EQ(Save(), a) << w.pszName << " " << v;
    }
  }
  // The words no one reads and the text language (kept from the running
  // game) load whatever they hold.
  for (std::int32_t iWord : {3, 13, 14, 15, 16}) EXPECT_EQ(Load(with(iWord, 12345)), 1) << iWord;
}

// A training session after a match takes the away side's squad away: its
// lists, which pointed into the old copy, go with it, and the history saved
// after that loads.
TEST(TournamentTeamState, ASideLeftWithoutItsSquadAfterAMatchSavesAndLoads) {
  SquadsChange();
  ASSERT_NE(match.AwayTeam.poPitchList, nullptr);
  match_AwaySquadSet(nullptr);
  // The session's kick-off clears the statistics (the own goal's scorer was
  // an away player).
  gstatso_Clear(&match.HomeTeam.MatchStats);
  gstatso_Clear(&match.AwayTeam.MatchStats);
  EXPECT_EQ(match.AwayTeam.iSquadSize, 0);
  EXPECT_EQ(match.AwayTeam.poPitchList, nullptr);
  EXPECT_EQ(match.AwayTeam.poBenchList, nullptr);
  EXPECT_EQ(match.AwayTeam.poReserveCursor, nullptr);
  const std::string sBefore = State();
  const std::vector<std::uint8_t> a = Save();
  ASSERT_FALSE(a.empty());
  Scramble();
  ASSERT_EQ(Load(a), 1);
  EXPECT_EQ(State(), sBefore);
  EXPECT_EQ(Save(), a);
  // The home side given a squad again starts from no lists either.
  match_HomeSquadSet(squadcache_SlotGet(0));
  EXPECT_EQ(match.HomeTeam.poPitchList, nullptr);
  EXPECT_EQ(match.HomeTeam.poBenchCursor, nullptr);
}
