// Team abbreviations and names over the generated abbreviation tables, and
// the kit texture name of a team and edition.
#include "tournament/tla.h"

#include <cstdio>
#include <cstring>

#include "engine/team.h"
#include "framework/qdx_assert.h"
#include "tournament/squad.h"
#include "tournament/tmtree.h"

// The text tables and the language index of the game shell (shell/texts.h).
extern std::int32_t mlang_iLanguage;
extern const char* const tlastr_apszRows[6][TLA_COUNT][4];
extern const std::uint8_t tlastr_aauForms[6][TLA_COUNT];

namespace {

enum { kAbbreviation, kShort, kFull, kAlternative };

const char* Field(std::int32_t iTeamId, std::int32_t iLanguage, std::int32_t iField) {
  QDX_ASSERT(iTeamId >= 0 && iTeamId < TLA_COUNT && "eTLAID<TLA_MAX");
  QDX_ASSERT(iLanguage >= 0 && iLanguage < 6);
  return tlastr_apszRows[iLanguage][iTeamId][iField];
}

std::int32_t FindBy(const char* pszText, std::int32_t iField) {
  if (pszText)
    for (std::int32_t i = 0; i < TLA_COUNT; i++)
      if (const char* f = Field(i, mlang_iLanguage, iField); f[0] == pszText[0] && std::strcmp(f, pszText) == 0) return i;
  std::fprintf(stderr, "tla: no team %s \"%s\"\n", iField == kFull ? "named" : "abbreviated",
               pszText ? pszText : "(null)");
  return 0;
}

}  // namespace

const char* tla_TLAGet(std::int32_t iTeamId, std::int32_t bCurrentLanguage) {
  return Field(iTeamId, bCurrentLanguage ? mlang_iLanguage : 0, kAbbreviation);
}
const char* tla_NameGet(std::int32_t iTeamId) { return Field(iTeamId, mlang_iLanguage, kFull); }
const char* tla_EnglishNameGet(std::int32_t iTeamId) { return Field(iTeamId, 0, kFull); }
const char* tla_ShortNameGet(std::int32_t iTeamId) { return Field(iTeamId, mlang_iLanguage, kShort); }
TLANames tla_NamesGet(std::int32_t iTeamId) {
  return {Field(iTeamId, mlang_iLanguage, kFull), tla_DisplayNameGet(iTeamId), Field(iTeamId, mlang_iLanguage, kShort)};
}
TLANames tla_NamesOf(std::uint32_t Name) {
  if (Name == 0) return {"", "", ""};
  if (Name < static_cast<std::uint32_t>(TLA_COUNT)) return tla_NamesGet(static_cast<std::int32_t>(Name));
  const char* psz = tmteam_NameText(Name);
  return {psz, psz, psz};
}
std::int32_t tla_FormGet(std::int32_t iTeamId) {
  if (iTeamId < 0 || iTeamId >= TLA_COUNT || mlang_iLanguage < 0 || mlang_iLanguage >= 6) return TLA_FORM_MASCULINE;
  return tlastr_aauForms[mlang_iLanguage][iTeamId];
}
const char* tla_DisplayNameGet(std::int32_t iTeamId) {
  const char* psz = Field(iTeamId, mlang_iLanguage, kAlternative);
  return psz[0] != '\0' ? psz : Field(iTeamId, mlang_iLanguage, kFull);
}
std::int32_t tla_IDFromNameFind(const char* pszName) { return FindBy(pszName, kFull); }
std::int32_t tla_IDFind(const char* pszAbbreviation) { return FindBy(pszAbbreviation, kAbbreviation); }

void tla_KitNameMake(char* pszOut, std::int32_t iTeamId, std::int32_t iEdition) {
  QDX_ASSERT(pszOut);
  const char* pszTLA = tla_TLAGet(iTeamId, 0);
  if (iEdition >= 0 && iEdition < 11) std::snprintf(pszOut, TLA_KITNAME_SIZE, "%s%d", pszTLA, 1958 + 4 * iEdition);
  else std::snprintf(pszOut, TLA_KITNAME_SIZE, "%s", pszTLA);
}

void kitname_Make(char* pszOut, const MatchTeam* poTeam, std::int32_t iEdition) {
  QDX_ASSERT(poTeam);
  if (!poTeam->Squad) return;
  tla_KitNameMake(pszOut, poTeam->Squad->iTeamId, iEdition);
}
