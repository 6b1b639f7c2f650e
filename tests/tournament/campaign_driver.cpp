#include "campaign_driver.h"

#include <cstring>
#include <filesystem>
#include <utility>

#include "support/headless_env.h"
#include "tournament_env.h"

#include "framework/math/qrand.h"
#include "shell/global.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmtree.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tournament_services.h"

void CampaignReset(std::uint32_t uSeed) {
  // The year files of every language into the test's data folder, once.
  static const bool bCopied = [] {
    const auto to = korvena_test::HeadlessRoot() / "data" / "database" / "tm";
    std::filesystem::create_directories(to);
    std::filesystem::copy(BuildDir() / "data" / "database" / "tm", to,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    return true;
  }();
  (void)bCopied;
  tmmain_PoolsReset();
  tmglobal_Reset();
  tmreport_CountReset();
  history_PatternsReset();
  tmgame_FlowReset();
  result_RandSeed(uSeed);
  QMathRandState s;
  QMathRandStateInitial(&s);
  QMathRandStateRestore(&s);
  QMathRandSkip(uSeed & 0xFFFF);
}

Campaign::Campaign(std::uint32_t Team, Script script, std::uint32_t uSeed) : m_Team(Team), m_Script(script) {
  CampaignReset(uSeed);
  tmglobal.aHumans[0].Name = Team;
  tmglobal.cHumans = 1;
  tmglobal.iCurrentHuman = 0;
}

bool Campaign::EditionStart(std::int32_t iYear) {
  m_Rec = EditionRecord{};
  m_Rec.iYear = iYear;
  const std::int32_t e = (iYear - 58) / 4;
  tmglobal_YearSet(iYear);
  tmmain_UserTeamFlagsClearAll();
  const bool bSeeded = m_Team == result_HostGet(e) || m_Team == tmglobal.aHolders[e];
  tmglobal.bHolderOption = m_Team != tmglobal.aHolders[e] ? 1 : 0;
  tmglobal.bStarted = 0;
  global.iDay = 1;
  global.iMonth = 1;
  global.iYear = iYear - 5;
  tmmain_YearStart(bSeeded ? 0 : 1, 1, iYear);
  global.iDay = 1;
  global.iMonth = 1;
  global.iYear = iYear - 5;
  m_Rec.bPlayedQualifiers = !tmglobal.bFinalsLoaded;
  m_Rec.bFinalsReached = tmglobal.bFinalsLoaded != 0;
  m_Rec.bTookPart = tmgame_IsTeamInYear(tmgame_CurrentYearGet(), m_Team) != 0;
  return m_Rec.bTookPart;
}

bool Campaign::FinalsStart(std::int32_t iYear) {
  m_Rec = EditionRecord{};
  m_Rec.iYear = iYear;
  tmglobal_YearSet(iYear);
  tmmain_UserTeamFlagsClearAll();
  tmglobal.bStarted = 0;
  tmmain_YearStart(0, 1, iYear);
  global.iDay = 1;
  global.iMonth = 1;
  global.iYear = iYear - 1;
  m_Rec.bFinalsReached = tmglobal.bFinalsLoaded != 0;
  m_Rec.bTookPart = m_Rec.bFinalsReached && tmgame_IsTeamInYear(tmgame_CurrentYearGet(), m_Team) != 0;
  return m_Rec.bTookPart;
}

bool Campaign::MatchPlay() {
  Year* y = tmgame_CurrentYearGet();
  Round* r = nullptr;
  Fixture* f = nullptr;
  if (!tmglobal.bFinalsLoaded) {
    if (!history_FixtureFindByTeam(y, m_Team, &r, &f)) tmgame_FixtureDateSettle();
    if (TheYearList->bComplete) {
      if (!tmgame_QualifiedGet(0)) return false;
      tmgame_QualifiersExtract();
      tmgame_FinalsAfterQualifiersLoad();
      m_Rec.bFinalsReached = true;
      y = tmgame_CurrentYearGet();
    }
  }
  if (!history_FixtureFindByTeam(y, m_Team, &r, &f)) return false;
  // Up to the match: everything due before it, and the same day's others.
  for (int i = 0; i < 4; i++) {
    tmgame_UserFixtureDateSet();
    tmgame_Step(y, nullptr, 0, tmglobal.bPlayQualifiers);
    if (!history_FixtureFindByTeam(y, m_Team, &r, &f)) return false;
    if (tmteam_IsProperName(history_FixtureTeamA(r, f)) && tmteam_IsProperName(history_FixtureTeamB(r, f))) break;
  }
  const bool bHumanA = history_FixtureTeamA(r, f) == m_Team;
  const bool bSecondLeg = (r->uTieBreak == TB_AGG || r->uTieBreak == TB_AGG2) && r->pFixtures != f;
  const bool bKnockout = r->uFormat == FMT_KO || r->uFormat == FMT_KO1 || r->uFormat == FMT_KO2 ||
                         r->uFormat == FMT_KO3 || r->uFormat == FMT_KO4;
  if (history_FixturePlayOffGet(f)) m_Rec.cPlayOffs++;
  if (bSecondLeg) m_Rec.cTwoLegged++;
  m_Rec.cMatches++;
  if (!tmglobal.bFinalsLoaded) m_Rec.cQualifierMatches++;
  std::int32_t iHuman = 0, iOther = 0;
  switch (m_Script) {
    case Script::Win: iHuman = 2 + m_Rec.cMatches % 2; iOther = m_Rec.cMatches % 2; break;
    case Script::Lose: iHuman = 0; iOther = 1 + m_Rec.cMatches % 3; break;
    case Script::Draw: iHuman = iOther = 1; break;
    case Script::DrawTwice:
      iHuman = m_Rec.cMatches <= 2 ? 1 : 0;
      iOther = 1;
      break;
    case Script::Third:
      iHuman = 2;
      iOther = 0;
      if (tmglobal.bFinalsLoaded && (std::strcmp(r->szName, "S1") == 0 || std::strcmp(r->szName, "S2") == 0))
        std::swap(iHuman, iOther);
      break;
  }
  if (m_Script == Script::Draw && (bKnockout || bSecondLeg)) {
    // Level after extra time; the shoot-out alternates.
    const bool bWin = (m_iDraw++ % 2) == 0;
    tmglobal_NormalTimeScoreSet(1, 1);
    tmglobal_ExtraTimeScoreSet(1, 1);
    tmglobal_PenaltyScoreSet(bWin == bHumanA ? 5 : 4, bWin == bHumanA ? 4 : 5);
    tmglobal_MatchPhaseSet(5);
    tmgame_ResultPendingSet(1, 1, 3);
  } else {
    tmgame_ResultPendingSet(bHumanA ? iHuman : iOther, bHumanA ? iOther : iHuman, 0);
  }
  tmgame_FixtureDateSettle();
  if (onMatch) onMatch();
  return true;
}

EditionRecord Campaign::EditionFinish() {
  if (tmglobal.bFinalsLoaded) tmgame_FixtureDateSettle();
  Year* y = tmgame_CurrentYearGet();
  if (tmglobal.bFinalsLoaded && y && !y->bComplete) tmgame_YearFinish();
  m_Rec.uFlags = tmglobal.aHumans[0].uFlags;
  m_Rec.bFinalsComplete = tmglobal.bFinalsLoaded && TheYearList && TheYearList->pNext && TheYearList->pNext->bComplete;
  m_Rec.bOver = tmglobal.bTournamentOver != 0;
  m_Rec.cFaults = tmreport_CountGet();
  m_Rec.sStuck = tmgame_StuckGet();
  for (Year* p = TheYearList; p; p = p->pNext)
    for (Confederation* c = p->pConfs; c; c = c->pNext)
      for (Group* g = c->pGroups; g; g = g->pNext)
        for (Round* r = g->pRounds; r; r = r->pNext)
          for (Fixture* f = r->pFixtures; f; f = f->pNext)
            if ((f->cFlags & FIX_PLAYED) &&
                (history_FixtureTeamA(r, f) == m_Team || history_FixtureTeamB(r, f) == m_Team))
              m_Rec.cPlayedFixtures++;
  return m_Rec;
}

std::vector<EditionRecord> Campaign::Run(std::int32_t iFirst, std::int32_t iLast) {
  std::vector<EditionRecord> v;
  for (std::int32_t iYear = iFirst; iYear <= iLast; iYear += 4) {
    if (!EditionStart(iYear)) {
      v.push_back(m_Rec);
      continue;
    }
    for (int i = 0; i < 200 && MatchPlay(); i++) {
    }
    v.push_back(EditionFinish());
  }
  return v;
}

bool TeamInTreeLists(std::uint32_t Name) {
  for (const Year* y = TheYearList; y; y = y->pNext)
    for (const Confederation* c = y->pConfs; c; c = c->pNext)
      for (const Group* g = c->pGroups; g; g = g->pNext) {
        for (const TMTeam* t = g->pTeams; t; t = t->pNext)
          if (t->Name == Name) return true;
        for (const Round* r = g->pRounds; r; r = r->pNext)
          for (const TMTeam* t = r->pTeams; t; t = t->pNext)
            if (t->Name == Name) return true;
      }
  return false;
}
