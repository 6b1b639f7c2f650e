#pragma once
// What a loaded tournament names as teams can be shown: every id the screens
// hand to the name tables is one of theirs (the human teams, the roll of
// honour, the new qualifiers, the holders, the squads), and every team of the
// tree a name of the tournament's table or a free slot.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"

namespace korvena_fuzz {

inline void TeamShown(std::uint32_t u, const char* pszWhat) {
  if (u >= static_cast<std::uint32_t>(TLA_COUNT)) Fail(pszWhat);
  if (tla_NameGet(static_cast<std::int32_t>(u)) == nullptr) Fail(pszWhat);
}

// Every human team of a loaded tournament has a place in its tree: a team
// list or a fixture by name.
inline void HumansInTreeCheck() {
  if (tmglobal.cHumans < 1) Fail("a loaded tournament has no human team");
  for (std::int32_t h = 0; h < tmglobal.cHumans && h < TM_HUMAN_MAX; h++) {
    const std::uint32_t Name = tmglobal.aHumans[h].Name;
    bool bFound = false;
    for (const Year* y = TheYearList; y && !bFound; y = y->pNext)
      for (const Confederation* c = y->pConfs; c && !bFound; c = c->pNext)
        for (const Group* g = c->pGroups; g && !bFound; g = g->pNext) {
          for (const TMTeam* t = g->pTeams; t; t = t->pNext) bFound = bFound || t->Name == Name;
          for (const Round* r = g->pRounds; r; r = r->pNext) {
            for (const TMTeam* t = r->pTeams; t; t = t->pNext) bFound = bFound || t->Name == Name;
            for (const Fixture* f = r->pFixtures; f; f = f->pNext)
              bFound = bFound || ((f->cFlags & FIX_BYNAMEID) && (f->cTeamA == Name || f->cTeamB == Name));
          }
        }
    if (!bFound) Fail("a loaded human team has no place in the tree");
  }
}

// The current human team of a loaded tournament is one of its human teams,
// and the year its flags pick to play is in its tree: else the hub would show
// no team, no date and no fixture.
inline void CurrentHumanAndYearCheck() {
  if (tmglobal.iCurrentHuman < 0 || tmglobal.iCurrentHuman >= tmglobal.cHumans)
    Fail("a loaded current human team is not below the count of human teams");
  if (TheYearList && !tmglobal.pCurrentYear) Fail("a loaded tournament has no year to play");
}

// The 1978 year texts (key 11 the qualifiers, 12 the finals) the fuzzed
// streams' years are checked against, in place of the year files.
inline const std::string& YearText78(std::uint32_t uKey) {
  static const std::string q =
      "78,UEFA,1,1,,ha,,gd,w,,,,1/1/77;8/1/77;15/1/77;22/1/77;29/1/77;5/2/77,12;40,,Australia,Fiji,Tonga\r\n"
      "78,UEFA,Play Off Round Long Name,1,Play Off,ha,,agg,w,,,,1/3/77;8/3/77,,,Angola,Tonga\r\n"
      "78,CONCACAF Qualifying Zone Long,1,Round Two,,once,,gd,*1.1a,,,,1/4/77,3,,Fiji\r\n";
  static const std::string f =
      "F78,1st Round,1,1,,once,,gd2,*,*,,,1/6/78;1/6/78;5/6/78;5/6/78;9/6/78;9/6/78,12;40,,Australia,Fiji,Tonga,"
      "Angola\r\n"
      "F78,World Cup Final,Final,Final,,ko3,,,Winner,,,,25/6/78,3,,*1.1a,*1.1b\r\n";
  return uKey % 2 ? q : f;
}
inline const char* YearText78Source(std::uint32_t uKey, std::int32_t* pc) {
  if (uKey != 11 && uKey != 12) return nullptr;
  *pc = static_cast<std::int32_t>(YearText78(uKey).size());
  return YearText78(uKey).data();
}

inline void LoadedTeamsShownCheck() {
  for (const HumanTeam& h : tmglobal.aHumans) TeamShown(h.Name, "a loaded human team has no name");
  for (const RollOfHonourEntry& e : tmglobal.aRoll)
    for (std::uint32_t u : {e.Winner, e.RunnerUp, e.Third, e.Fourth}) TeamShown(u, "a loaded roll of honour team has no name");
  for (std::int32_t i = 0; i < tmglobal.newqual_iCurrentQualifier && i < NEWQUAL_NUM_QUALIFIERS; i++)
    TeamShown(tmglobal.aNewQual[i].Name, "a loaded new qualifier has no name");
  for (std::uint32_t u : tmglobal.aHolders) TeamShown(u, "a loaded holder has no name");
  for (std::int32_t k = 0; k < SQUADCACHE_SLOTS; k++)
    TeamShown(static_cast<std::uint32_t>(squadcache_SlotGet(k)->iTeamId), "a loaded squad's team has no name");
  for (const Year* y = TheYearList; y; y = y->pNext)
    for (const Confederation* c = y->pConfs; c; c = c->pNext)
      for (const Group* g = c->pGroups; g; g = g->pNext)
        for (const Round* r = g->pRounds; r; r = r->pNext)
          for (const TMTeam* t = r->pTeams; t; t = t->pNext) {
            if (t->Name > static_cast<std::uint32_t>(TM_MAX)) Fail("a loaded tree team is past the name table");
            (void)tmteam_NameText(t->Name);
          }
}

}  // namespace korvena_fuzz
