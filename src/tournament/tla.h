#pragma once
// Team abbreviations and names: every national team has an id 0..204 and,
// per language, an abbreviation, a short name, a full name and an optional
// alternative name for display.
#include <cstdint>

struct MatchTeam;

constexpr std::int32_t TLA_COUNT = 205;
constexpr std::int32_t TLA_KITNAME_SIZE = 12;  // "ABC1998" with room to spare

// Each asserts "eTLAID<TLA_MAX" for an id outside 0..204.
const char* tla_TLAGet(std::int32_t iTeamId, std::int32_t bCurrentLanguage);
const char* tla_NameGet(std::int32_t iTeamId);
const char* tla_EnglishNameGet(std::int32_t iTeamId);
const char* tla_ShortNameGet(std::int32_t iTeamId);
const char* tla_DisplayNameGet(std::int32_t iTeamId);
// A team's names in the current language, longest first, as the screens
// and the match choose among them for a room (pcfe_TeamNameFit): its whole
// (full) name; the name it has for display where room is short, its whole
// name when it has none ("Papua New G."); its short name.
struct TLANames {
  const char* pszWhole;
  const char* pszDisplay;
  const char* pszShort;
};
TLANames tla_NamesGet(std::int32_t iTeamId);
// The names of what a tournament names by a team-name id: a team's own
// (ids 1..204); for any other id its one text in the names table in every
// form (a place still to be decided by its code, "*2.2*b"; an empty slot
// none); none for id 0, which names no team.
TLANames tla_NamesOf(std::uint32_t Name);
// The gender and number of a team's full name in the current language, which
// the words of a sentence naming it agree with (festr_FormCopy); masculine
// singular for an id outside 0..204.
enum : std::int32_t { TLA_FORM_MASCULINE, TLA_FORM_FEMININE, TLA_FORM_MASCULINE_PLURAL, TLA_FORM_FEMININE_PLURAL };
std::int32_t tla_FormGet(std::int32_t iTeamId);
// The id whose full name (abbreviation) in the current language equals the
// text exactly; an absent text is reported and gives 0.
std::int32_t tla_IDFromNameFind(const char* pszName);
std::int32_t tla_IDFind(const char* pszAbbreviation);

// The kit texture name of a team and edition: the English abbreviation and
// the year "1958".."1998"; the abbreviation alone for edition 11 or more.
void tla_KitNameMake(char* pszOut, std::int32_t iTeamId, std::int32_t iEdition);
// The kit name of a match side's team (its squad's team id); nothing is
// written when the side has no squad.
void kitname_Make(char* pszOut, const MatchTeam* poTeam, std::int32_t iEdition);
