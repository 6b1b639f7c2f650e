// Text tables per language with the English fallback.
#include <gtest/gtest.h>

#include <cstring>

#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "shell/texts.h"

namespace {

class Texts : public ::testing::Test {
 protected:
  void TearDown() override { mlang_iLanguage = LANGUAGE_ENGLISH; }
};

TEST_F(Texts, EnglishTextsAsTheGameQuotesThem) {
  mlang_SetLanguage(LANGUAGE_ENGLISH);
  EXPECT_STREQ(festr_IDToStr(0), "");
  EXPECT_STREQ(festr_IDToStr(1), "Quit History?");
  EXPECT_STREQ(festr_IDToStr(2), "Really Quit?");
  EXPECT_STREQ(festr_IDToStr(IDS_FE_YES), "Yes");
  EXPECT_STREQ(festr_IDToStr(4), "No");
  EXPECT_STREQ(festr_IDToStr(5), "On");
  EXPECT_STREQ(festr_IDToStr(1004), "Button");
  const char* apszNames[6] = {"English", "French", "German", "Spanish", "Italian", "Portuguese"};
  for (int i = 0; i < 6; i++) EXPECT_STREQ(mlang_pszGetLanguageName(i), apszNames[i]);
  EXPECT_STREQ(glstr_IDToStr(0), "Tactics");
  EXPECT_STREQ(glstr_IDToStr(12), "SW");
  EXPECT_STREQ(glstr_IDToStr(17), "Please check CD");
  EXPECT_STREQ(glstr_IDToStr(18), "5131");
  EXPECT_STREQ(glstr_IDToStr(36), "1351");
  EXPECT_STREQ(glstr_IDToStr(51), "Judgement");
  // An id never authored is the empty text, not a null pointer.
  EXPECT_STREQ(festr_IDToStr(1003), "");
}

TEST_F(Texts, OtherLanguagesAreWindows1252AndFallBackToEnglish) {
  mlang_SetLanguage(LANGUAGE_FRENCH);
  EXPECT_STREQ(festr_IDToStr(IDS_FE_LANGUAGE_FRENCH), "Fran\xE7" "ais");
  EXPECT_STREQ(festr_IDToStr(IDS_FE_YES), "Oui");
  EXPECT_STREQ(festr_IDToStr(IDS_FE_REALLY_QUIT), "Really Quit?");  // not translated: English
  EXPECT_STREQ(festr_IDToStr(IDS_FE_QUIT_HISTORY), "Quitter l'historique ?");
  EXPECT_STREQ(glstr_IDToStr(0), "Tactics");
  mlang_SetLanguage(LANGUAGE_GERMAN);
  EXPECT_STREQ(festr_IDToStr(IDS_FE_LANGUAGE_FRENCH), "Franz\xF6sisch");
  mlang_SetLanguage(LANGUAGE_PORTUGUESE);
  EXPECT_STREQ(festr_IDToStr(IDS_FE_NO), "N\xE3o");
  // Any other index reads every table in English.
  mlang_iLanguage = 6;
  EXPECT_STREQ(festr_IDToStr(IDS_FE_YES), "Yes");
  EXPECT_STREQ(glstr_IDToStr(37), "Speed");
  mlang_iLanguage = -1;
  EXPECT_STREQ(festr_IDToStr(IDS_FE_YES), "Yes");
}

// A value written in a text's bracketed word: in its place, once, the rest
// of the text as it stands; without a bracketed word, in front; cut short
// to the buffer.
TEST_F(Texts, AValueTakesTheBracketedWordsPlace) {
  char sz[64];
  festr_WordFill("[player name] returns from suspension", "Lajos Feky", sz, sizeof sz);
  EXPECT_STREQ(sz, "Lajos Feky returns from suspension");
  festr_WordFill("He will be out for [number] weeks.", "3", sz, sizeof sz);
  EXPECT_STREQ(sz, "He will be out for 3 weeks.");
  festr_WordFill("[number]", "12", sz, sizeof sz);
  EXPECT_STREQ(sz, "12");
  // Only the first bracketed word takes the value.
  festr_WordFill("[a] and [b]", "x", sz, sizeof sz);
  EXPECT_STREQ(sz, "x and [b]");
  // No bracketed word, or one never closed: the value in front.
  festr_WordFill("is suspended", "Feky", sz, sizeof sz);
  EXPECT_STREQ(sz, "Feky is suspended");
  festr_WordFill("[player name is suspended", "Feky", sz, sizeof sz);
  EXPECT_STREQ(sz, "Feky [player name is suspended");
  festr_WordFill("", "Feky", sz, sizeof sz);
  EXPECT_STREQ(sz, "Feky");
  festr_WordFill("[player name] is suspended", nullptr, sz, sizeof sz);
  EXPECT_STREQ(sz, " is suspended");
  festr_WordFill(nullptr, "Feky", sz, sizeof sz);
  EXPECT_STREQ(sz, "Feky");
  char szSmall[8];
  festr_WordFill("[player name] is suspended", "Lajos Feky", szSmall, sizeof szSmall);
  EXPECT_STREQ(szSmall, "Lajos F");
  // The texts as the tables hold them, in every language.
  for (int l = LANGUAGE_ENGLISH; l <= LANGUAGE_PORTUGUESE; l++) {
    mlang_SetLanguage(l);
    for (int id : {278, 287, 297, 299, 300, 302, 303}) {
      festr_WordFill(festr_IDToStr(id), "Feky", sz, sizeof sz);
      EXPECT_EQ(std::strchr(sz, '['), nullptr) << l << " " << id << ": " << sz;
      EXPECT_NE(std::strstr(sz, "Feky"), nullptr) << l << " " << id << ": " << sz;
    }
  }
}

TEST_F(Texts, TeamNamesAreOneTableForAllLanguages) {
  EXPECT_STREQ(festr_TMIDToStr(0), "None");
  EXPECT_STREQ(festr_TMIDToStr(1), "Australia");
  EXPECT_STREQ(festr_TMIDToStr(4), "New Zealand");
  EXPECT_STREQ(festr_TMIDToStr(418), "*randc*1.1*2.1*3.1*4.1*5.1*6.1");
  EXPECT_EQ(festr_StrToTMID("None"), 0);
  EXPECT_EQ(festr_StrToTMID("Fiji"), 3);
  mlang_SetLanguage(LANGUAGE_SPANISH);
  EXPECT_STREQ(festr_TMIDToStr(2), "Cook Islands");
  EXPECT_DEATH(festr_StrToTMID("none"), "Assertion failed: 0");
}

TEST_F(Texts, AbbreviationRowsAndVideoTestTexts) {
  EXPECT_STREQ(tlastr_apszRows[0][0][0], "NON");
  EXPECT_STREQ(tlastr_apszRows[0][0][1], "NONE");
  EXPECT_STREQ(tlastr_apszRows[0][5][3], "Papua New G.");
  EXPECT_STREQ(tlastr_apszRows[0][204][0], "BUR");
  EXPECT_STREQ(tlastr_apszRows[4][144][0], "BRA");  // Italian falls back to English
  pcmain_VideoTestTextsSet(3);
  EXPECT_STREQ(pcmain_pszVideoTestQuestion,
               "We must now check your video cards for higher screen resoloutions.\nThis test can cause your screen "
               "to go blank for up to 60 seconds\n\nWarning - This check can sometimes cause incorrectly configured "
               "machines to crash.\nIf this test crashes, restart and select cancel to disable higher "
               "resoloutions\n\nClick on OK to proceed, or Cancel to disable higher resoloutions.\n\n");
  EXPECT_STREQ(pcmain_pszVideoTestDisabled, "Higher screen resolotions have been disabled\n\nClick on OK to proceed");
  pcmain_VideoTestTextsSet(9);
  EXPECT_EQ(pcmain_pszVideoTestQuestion, pcmain_apszVideoTestTexts[0][0]);
}

TEST_F(Texts, EveryEnglishGlobalText) {
  const char* apsz[IDS_GLOBAL_MAX] = {
      "Tactics", "GK", "CB", "FB", "MF", "ST", "WM", "NA", "XX", "WB", "DM", "AM", "SW",
      "Please insert correct Controller", "Please insert Multi Tap", "Please insert a supported Controller",
      "Please replace Controller", "Please check CD",
      "5131", "541", "532", "523", "451", "442", "4132", "4312", "41212", "424", "433", "343", "352", "334", "1441",
      "1432", "1423", "1342", "1351",
      "Speed", "Stamina", "Energy", "Accuracy", "Power", "Heading", "Passing", "Control", "Creativity", "Awareness",
      "Tackling", "Diving", "Handling", "Reactions", "Judgement"};
  mlang_SetLanguage(LANGUAGE_ENGLISH);
  for (int32_t i = 0; i < IDS_GLOBAL_MAX; i++) EXPECT_STREQ(glstr_IDToStr(i), apsz[i]) << i;
  EXPECT_EQ(IDS_GLOBAL_MAX, 52);
  EXPECT_EQ(IDS_FE_MAX, 1005);
  EXPECT_EQ(TM_MAX, 500);
  EXPECT_STREQ(festr_TMIDToStr(2), "Cook Islands");
  EXPECT_STREQ(festr_TMIDToStr(3), "Fiji");
}

TEST_F(Texts, LanguageModeResetsTheOptionsOnlyAfterItsFirstRun) {
  game_Startup();
  User* poUser = &user_aUsers[0];
  poUser->bActive = 1;
  poUser->pip = input_poGetPort(0);
  ASSERT_NE(poUser->pip, nullptr);
  input_PortBindingSet(1, poUser->pip);
  ASSERT_EQ(poUser->pip->eBinding, 1);
  mlang_bFirstRunDone = 0;
  mlang_Enter();  // the first run keeps the bindings
  EXPECT_EQ(poUser->pip->eBinding, 1);
  global_SetGameMode(GAME_MODE_LANGUAGE);
  mlang_Enter();  // later runs reset the options: menu bindings on every active port
  EXPECT_EQ(poUser->pip->eBinding, 13);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_RETURN_TO_MAIN_MENU);
  game_UsersReset();
}

TEST_F(Texts, VideoTestTextsForEachLanguage) {
  for (int32_t i = -1; i <= 7; i++) {
    pcmain_VideoTestTextsSet(i);
    int32_t l = i >= 1 && i <= 5 ? i : 0;
    EXPECT_EQ(pcmain_pszVideoTestQuestion, pcmain_apszVideoTestTexts[l][VIDEOTEST_QUESTION]) << i;
    EXPECT_EQ(pcmain_pszVideoTestSuccess, pcmain_apszVideoTestTexts[l][VIDEOTEST_SUCCESS]) << i;
    EXPECT_EQ(pcmain_pszVideoTestDisabled, pcmain_apszVideoTestTexts[l][VIDEOTEST_DISABLED]) << i;
  }
  pcmain_VideoTestTextsSet(0);
}

TEST_F(Texts, RangeChecksAssert) {
  EXPECT_DEATH(festr_IDToStr(IDS_FE_MAX), "eStrID<IDS_FE_MAX");
  EXPECT_DEATH(festr_TMIDToStr(TM_MAX), "eStrID<TM_MAX");
  EXPECT_DEATH(glstr_IDToStr(IDS_GLOBAL_MAX), "eStrID<IDS_GLOBAL_MAX");
  EXPECT_DEATH(mlang_SetLanguage(6), "Assertion failed: 0");
  EXPECT_DEATH(mlang_pszGetLanguageName(-1), "Assertion failed: 0");
}

TEST_F(Texts, LanguageModeGoesBackToTheMenu) {
  EXPECT_EQ(mlang_eGetMode(), GAME_MODE_LANGUAGE);
  mlang_bFirstRunDone = 0;
  global_SetGameMode(GAME_MODE_LANGUAGE);
  mlang_Enter();
  EXPECT_EQ(mlang_bFirstRunDone, 1);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_RETURN_TO_MAIN_MENU);
}

}  // namespace
