// A human team third in its finals group in the editions whose round of 16
// takes the four best third-placed teams (1986, 1990, 1994): through as one
// of them, it has its round-of-16 fixture at the hub and plays it; left out,
// it is out and the edition ends.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "campaign_driver.h"
#include "shell/global.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament_env.h"

namespace {

std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

Year* Finals() { return TheYearList ? TheYearList->pNext : nullptr; }

// The first-stage round of the finals (its first stage's groups "1" to "6")
// that holds the team, and its group.
Round* FirstStageRound(std::uint32_t Name, Group** ppGroup) {
  for (Group* g = Finals()->pConfs->pGroups; g; g = g->pNext) {
    if (g->szName[0] < '1' || g->szName[0] > '6' || g->szName[1]) continue;
    for (Round* r = g->pRounds; r; r = r->pNext)
      if (tmteam_TeamEntryGet(r, Name)) {
        *ppGroup = g;
        return r;
      }
  }
  return nullptr;
}

// Whether the team stands in one of the round of 16's ties.
bool InRoundOf16(std::uint32_t Name) {
  for (Confederation* c = Finals()->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      if (std::strcmp(g->szName, "R16") == 0)
        for (Round* r = g->pRounds; r; r = r->pNext)
          if (tmteam_TeamEntryGet(r, Name)) return true;
  return false;
}

FixtureDate Today() {
  FixtureDate d{};
  d.cDay = static_cast<std::uint8_t>(global.iDay);
  d.cMonth = static_cast<std::uint8_t>(global.iMonth);
  d.cYear = static_cast<std::uint8_t>(global.iYear);
  return d;
}

// Fixtures of the finals played though dated after today.
int PlayedAfterToday() {
  const FixtureDate now = Today();
  int n = 0;
  for (Confederation* c = Finals()->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (Fixture* f = r->pFixtures; f; f = f->pNext)
          if ((f->cFlags & FIX_PLAYED) && history_DateCompare(tmglobal_FixtureDateGet(r, f->cDate), &now) > 0) n++;
  return n;
}

// Teams of each edition's finals that are soon third on their draws.
struct Edition {
  std::int32_t iYear;
  const char* apszTeams[4];
};
const Edition kEditions[] = {
    {86, {"CAN", "IRQ", "KOR", "HUN"}},
    {90, {"UAE", "USA", "CRC", "EGY"}},
    {94, {"KSA", "BOL", "GRE", "NOR"}},
};

constexpr int kFirstStageMatches = 3;

// Team third in its first-stage round, which is settled (a failure when it
// is not).
bool ThirdInItsSettledRound(std::uint32_t Team) {
  Group* g = nullptr;
  Round* r = FirstStageRound(Team, &g);
  if (r == nullptr || !r->bComplete) {
    ADD_FAILURE() << "no settled first-stage round";
    return false;
  }
  RoundPlaces pl;
  tmteam_RoundOutcomeGet(g, r, &pl);
  return pl.aName[2] == Team;
}
constexpr std::uint32_t kSeeds = 60;

}  // namespace

// Each edition's first stage played with the human team's matches drawn
// (all three, or two and the last lost), over seeds until the team is third
// and through, and third and out.
TEST(BestThirds, AThirdThroughPlaysItsRoundOf16AndAThirdLeftOutIsOut) {
  for (const Edition& e : kEditions) {
    bool bThrough = false, bOut = false;
    for (const char* pszTeam : e.apszTeams) {
      const std::uint32_t Team = Id(pszTeam);
      for (std::uint32_t seed = 1; seed <= kSeeds && !(bThrough && bOut); seed++) {
        // Three draws give three points, two draws and a defeat two.
        const Script script = seed % 2 ? Script::Draw : Script::DrawTwice;
        SCOPED_TRACE(std::to_string(e.iYear) + " " + pszTeam + " seed " + std::to_string(seed));
        Campaign c(Team, script, seed);
        ASSERT_TRUE(c.FinalsStart(e.iYear));
        for (int i = 0; i < kFirstStageMatches; i++) ASSERT_TRUE(c.MatchPlay());
        if (!ThirdInItsSettledRound(Team)) continue;
        const std::uint32_t uFlags = tmglobal.aHumans[0].uFlags;
        Round* pNext = nullptr;
        Fixture* f = nullptr;
        const bool bFixture = history_FixtureFindByTeam(Finals(), Team, &pNext, &f) != 0;
        if (InRoundOf16(Team)) {
          bThrough = true;
          // Not out; the round-of-16 tie at the hub, its opponent known, the
          // date the day before it and nothing played beyond it.
          EXPECT_EQ(uFlags & (TMF_ELIMINATED | TMF_ELIMINATED_NEWS), 0u);
          ASSERT_TRUE(bFixture);
          EXPECT_TRUE(tmteam_IsProperName(history_FixtureTeamA(pNext, f)));
          EXPECT_TRUE(tmteam_IsProperName(history_FixtureTeamB(pNext, f)));
          EXPECT_TRUE(InRoundOf16(history_FixtureTeamA(pNext, f)) && InRoundOf16(history_FixtureTeamB(pNext, f)));
          EXPECT_FALSE(f->cFlags & FIX_PLAYED);
          const int iDay = global.iDay, iMonth = global.iMonth, iYear = global.iYear;
          const FixtureDate* d = tmglobal_FixtureDateGet(pNext, f->cDate);
          ASSERT_NE(d, nullptr);
          int iFixDay = d->cDay, iFixMonth = d->cMonth, iFixYear = d->cYear;
          history_DateDecrement(&iFixDay, &iFixMonth, &iFixYear);
          EXPECT_EQ(iDay * 10000 + iMonth * 100 + iYear, iFixDay * 10000 + iFixMonth * 100 + iFixYear);
          EXPECT_EQ(PlayedAfterToday(), 0);
          // The team plays the tie itself, and the edition ends settled.
          ASSERT_TRUE(c.MatchPlay());
          EXPECT_TRUE(f->cFlags & FIX_PLAYED);
          while (c.MatchPlay()) {
          }
          const EditionRecord rec = c.EditionFinish();
          EXPECT_EQ(rec.cFaults, 0);
          EXPECT_EQ(rec.sStuck, "");
          EXPECT_TRUE(rec.bFinalsComplete);
          EXPECT_GT(rec.cMatches, kFirstStageMatches);
          EXPECT_EQ(rec.cPlayedFixtures, rec.cMatches);
        } else {
          bOut = true;
          // Out, with its news; no fixture left, the edition ends.
          EXPECT_EQ(uFlags & (TMF_ELIMINATED | TMF_ELIMINATED_NEWS), TMF_ELIMINATED | TMF_ELIMINATED_NEWS);
          EXPECT_FALSE(bFixture);
          EXPECT_FALSE(c.MatchPlay());
          const EditionRecord rec = c.EditionFinish();
          EXPECT_EQ(rec.cFaults, 0);
          EXPECT_EQ(rec.sStuck, "");
          EXPECT_TRUE(rec.bFinalsComplete);
          EXPECT_EQ(rec.cMatches, kFirstStageMatches);
          EXPECT_EQ(rec.cPlayedFixtures, rec.cMatches);
        }
      }
    }
    EXPECT_TRUE(bThrough) << e.iYear << ": no third went through";
    EXPECT_TRUE(bOut) << e.iYear << ": no third was left out";
  }
}

namespace {

// Teams of each edition's first-stage group that is decided last: its round
// is settled only once the best thirds are ranked.
const Edition kLastGroups[] = {
    {86, {"FRG", "URU", "SCO", "DEN"}},
    {90, {"BEL", "KOR", "URU", "ESP"}},
    {94, {"ARG", "GRE", "NGA", "BGR"}},
};

}  // namespace

// A third of the group decided last is ranked among the best thirds before
// its own round is settled: through, it is not out when the round settles.
TEST(BestThirds, AThirdOfTheLastGroupToFinishThroughIsNotOut) {
  for (const Edition& e : kLastGroups) {
    bool bThrough = false;
    for (const char* pszTeam : e.apszTeams) {
      const std::uint32_t Team = Id(pszTeam);
      for (std::uint32_t seed = 1; seed <= kSeeds && !bThrough; seed++) {
        const Script script = seed % 2 ? Script::Draw : Script::DrawTwice;
        SCOPED_TRACE(std::to_string(e.iYear) + " " + pszTeam + " seed " + std::to_string(seed));
        Campaign c(Team, script, seed);
        ASSERT_TRUE(c.FinalsStart(e.iYear));
        for (int i = 0; i < kFirstStageMatches; i++) ASSERT_TRUE(c.MatchPlay());
        if (!ThirdInItsSettledRound(Team) || !InRoundOf16(Team)) continue;
        bThrough = true;
        EXPECT_EQ(tmglobal.aHumans[0].uFlags & (TMF_ELIMINATED | TMF_ELIMINATED_NEWS), 0u);
        Round* pNext = nullptr;
        Fixture* f = nullptr;
        ASSERT_TRUE(history_FixtureFindByTeam(Finals(), Team, &pNext, &f));
        ASSERT_TRUE(c.MatchPlay());
        EXPECT_TRUE(f->cFlags & FIX_PLAYED);
      }
    }
    EXPECT_TRUE(bThrough) << e.iYear << ": no third of the last group went through";
  }
}

// A fixture already due that stays unplayed (here one of a round settled
// before the human team's last first-stage match) does not stop the year
// being played on a date at a time while the team waits for the best
// thirds: through, it has its tie the day before, and nothing dated after
// today is played.
TEST(BestThirds, AThirdWaitsDateByDatePastAFixtureLeftUnplayed) {
  const char* const apszTeams[] = {"BRA", "ESP", "NIR", "ALG"};  // 1986, group 4: decided before group 5
  int cThrough = 0;
  for (const char* pszTeam : apszTeams) {
    const std::uint32_t Team = Id(pszTeam);
    for (std::uint32_t seed = 1; seed <= kSeeds && cThrough < 3; seed++) {
      const Script script = seed % 2 ? Script::Draw : Script::DrawTwice;
      SCOPED_TRACE(std::string(pszTeam) + " seed " + std::to_string(seed));
      Campaign c(Team, script, seed);
      ASSERT_TRUE(c.FinalsStart(86));
      for (int i = 0; i < kFirstStageMatches - 1; i++) ASSERT_TRUE(c.MatchPlay());
      // A played fixture of a settled round, dated before today, unplayed.
      const FixtureDate now = Today();
      Fixture* pLeft = nullptr;
      for (Group* h = Finals()->pConfs->pGroups; h && !pLeft; h = h->pNext)
        for (Round* p = h->pRounds; p && !pLeft; p = p->pNext)
          for (Fixture* f = p->pFixtures; p->bComplete && f && !pLeft; f = f->pNext)
            if ((f->cFlags & FIX_PLAYED) && history_DateCompare(tmglobal_FixtureDateGet(p, f->cDate), &now) < 0)
              pLeft = f;
      ASSERT_NE(pLeft, nullptr) << "no round settled before the last match";
      pLeft->cFlags = static_cast<std::uint8_t>(pLeft->cFlags & ~FIX_PLAYED);
      ASSERT_TRUE(c.MatchPlay());
      Group* g = nullptr;
      Round* r = FirstStageRound(Team, &g);
      ASSERT_NE(r, nullptr);
      RoundPlaces pl;
      tmteam_RoundOutcomeGet(g, r, &pl);
      if (pl.aName[2] != Team || !InRoundOf16(Team)) continue;
      cThrough++;
      Round* pNext = nullptr;
      Fixture* f = nullptr;
      ASSERT_TRUE(history_FixtureFindByTeam(Finals(), Team, &pNext, &f));
      const FixtureDate* d = tmglobal_FixtureDateGet(pNext, f->cDate);
      ASSERT_NE(d, nullptr);
      int iFixDay = d->cDay, iFixMonth = d->cMonth, iFixYear = d->cYear;
      history_DateDecrement(&iFixDay, &iFixMonth, &iFixYear);
      EXPECT_EQ(global.iDay * 10000 + global.iMonth * 100 + global.iYear,
                iFixDay * 10000 + iFixMonth * 100 + iFixYear);
      EXPECT_EQ(PlayedAfterToday(), 0);
      EXPECT_FALSE(pLeft->cFlags & FIX_PLAYED);
    }
  }
  EXPECT_EQ(cThrough, 3) << "too few thirds went through";
}
