// Team abbreviations and names: round trips in all six languages, the
// display name, the kit name and the refused ids.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/team.h"
#include "shell/texts.h"
#include "tournament/squad.h"
#include "tournament/tla.h"

namespace {

struct LanguageGuard {
  std::int32_t iSaved = mlang_iLanguage;
  ~LanguageGuard() { mlang_iLanguage = iSaved; }
};

TEST(TeamNames, RoundTripsInEveryLanguage) {
  LanguageGuard guard;
  for (std::int32_t l = 0; l < 6; l++) {
    mlang_iLanguage = l;
    for (std::int32_t id = 0; id < TLA_COUNT; id++) {
      SCOPED_TRACE(std::to_string(l) + "/" + std::to_string(id));
      const char* pszName = tla_NameGet(id);
      ASSERT_NE(pszName, nullptr);
      EXPECT_GT(std::strlen(pszName), 0u);
      EXPECT_LE(std::strlen(pszName), 24u);
      EXPECT_LE(std::strlen(tla_ShortNameGet(id)), 12u);
      EXPECT_GT(std::strlen(tla_ShortNameGet(id)), 0u);
      EXPECT_EQ(tla_IDFromNameFind(pszName), id);
      EXPECT_EQ(tla_IDFind(tla_TLAGet(id, 1)), id);
      // The English abbreviation and name do not depend on the language.
      mlang_iLanguage = 0;
      const std::string oEnglish = tla_TLAGet(id, 0), oEnglishName = tla_NameGet(id);
      mlang_iLanguage = l;
      EXPECT_EQ(tla_TLAGet(id, 0), oEnglish);
      EXPECT_EQ(tla_EnglishNameGet(id), oEnglishName);
    }
  }
}

TEST(TeamNames, QuotedNamesAndDisplayNames) {
  LanguageGuard guard;
  mlang_iLanguage = 0;
  EXPECT_STREQ(tla_TLAGet(0, 0), "NON");
  EXPECT_STREQ(tla_NameGet(0), "NONE");
  EXPECT_STREQ(tla_ShortNameGet(2), "Cook I.");
  EXPECT_STREQ(tla_NameGet(2), "Cook Islands");
  EXPECT_STREQ(tla_ShortNameGet(4), "N.Zealand");
  EXPECT_STREQ(tla_ShortNameGet(5), "Papua N.G.");
  EXPECT_STREQ(tla_DisplayNameGet(5), "Papua New G.");
  EXPECT_STREQ(tla_DisplayNameGet(1), "Australia");
  EXPECT_STREQ(tla_NameGet(82), "Holland");
  EXPECT_STREQ(tla_NameGet(77), "West Germany");
  EXPECT_STREQ(tla_NameGet(140), "United States of America");
  EXPECT_STREQ(tla_TLAGet(204, 0), "BUR");
  EXPECT_EQ(tla_IDFromNameFind("Brazil"), 144);
  EXPECT_EQ(tla_IDFind("BRA"), 144);
  // An absent text is reported and gives 0; the search is exact.
  EXPECT_EQ(tla_IDFromNameFind("Atlantis"), 0);
  EXPECT_EQ(tla_IDFromNameFind("brazil"), 0);
  EXPECT_EQ(tla_IDFind("XYZ"), 0);
  EXPECT_EQ(tla_IDFind(nullptr), 0);
  // The team-name table's first 205 names are the English full names.
  for (std::int32_t id = 1; id < TLA_COUNT; id++) EXPECT_STREQ(festr_TMIDToStr(id), tla_EnglishNameGet(id)) << id;
  EXPECT_DEATH(tla_NameGet(205), "eTLAID<TLA_MAX");
  EXPECT_DEATH(tla_TLAGet(-1, 0), "eTLAID<TLA_MAX");
}

TEST(TeamNames, KitNamesDoNotDependOnTheLanguage) {
  LanguageGuard guard;
  char sz[TLA_KITNAME_SIZE];
  for (std::int32_t l = 0; l < 6; l++) {
    mlang_iLanguage = l;
    tla_KitNameMake(sz, 144, 3);
    EXPECT_STREQ(sz, "BRA1970");
    tla_KitNameMake(sz, 191, 0);
    EXPECT_STREQ(sz, "CUR1958");
    tla_KitNameMake(sz, 80, 10);
    EXPECT_STREQ(sz, "GER1998");
    tla_KitNameMake(sz, 144, 11);
    EXPECT_STREQ(sz, "BRA");
  }
  // Through a match side: its squad's team id; nothing without a squad.
  MatchTeam side{};
  Squad squad{};
  squad.iTeamId = 72;
  std::strcpy(sz, "untouched");
  kitname_Make(sz, &side, 2);
  EXPECT_STREQ(sz, "untouched");
  side.Squad = &squad;
  kitname_Make(sz, &side, 2);
  EXPECT_STREQ(sz, "ENG1966");
}

}  // namespace
