// Text tables per language; any language index other than 1 to 5 reads English.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "shell/texts.h"
#include "shell/texts_data.h"

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

TEST_F(Texts, OtherLanguagesAreWindows1252) {
  mlang_SetLanguage(LANGUAGE_FRENCH);
  EXPECT_STREQ(festr_IDToStr(IDS_FE_LANGUAGE_FRENCH), "Fran\xE7" "ais");
  EXPECT_STREQ(festr_IDToStr(IDS_FE_YES), "Oui");
  EXPECT_STREQ(festr_IDToStr(IDS_FE_REALLY_QUIT), "Vraiment quitter ?");
  EXPECT_STREQ(festr_IDToStr(IDS_FE_QUIT_HISTORY), "Quitter l'Histoire ?");
  EXPECT_STREQ(glstr_IDToStr(0), "Tactique");
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
  // The texts as the tables hold them, in every language, in each of the
  // team forms (a text that agrees with its team holds its forms apart by
  // '|', and the one shown is the form of the team named).
  char szForm[160];
  for (int l = LANGUAGE_ENGLISH; l <= LANGUAGE_PORTUGUESE; l++) {
    mlang_SetLanguage(l);
    for (int id : {278, 287, 297, 299, 300, 302, 303}) {
      for (int iForm = 0; iForm < 4; iForm++) {
        festr_FormCopy(festr_IDToStr(id), iForm, szForm, sizeof szForm);
        festr_WordFill(szForm, "Feky", sz, sizeof sz);
        EXPECT_EQ(std::strchr(sz, '['), nullptr) << l << " " << id << " " << iForm << ": " << sz;
        EXPECT_EQ(std::strchr(sz, '|'), nullptr) << l << " " << id << " " << iForm << ": " << sz;
        EXPECT_NE(std::strstr(sz, "Feky"), nullptr) << l << " " << id << " " << iForm << ": " << sz;
      }
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
  EXPECT_STREQ(tlastr_apszRows[4][144][0], "BRA");
  EXPECT_STREQ(tlastr_apszRows[4][144][1], "Brasile");
  EXPECT_STREQ(tlastr_apszRows[4][0][0], "NON");  // every language has the row of no team
  pcmain_VideoTestTextsSet(0);
  EXPECT_STREQ(pcmain_pszVideoTestQuestion,
               "We must now check your video cards for higher screen resoloutions.\nThis test can cause your screen "
               "to go blank for up to 60 seconds\n\nWarning - This check can sometimes cause incorrectly configured "
               "machines to crash.\nIf this test crashes, restart and select cancel to disable higher "
               "resoloutions\n\nClick on OK to proceed, or Cancel to disable higher resoloutions.\n\n");
  EXPECT_STREQ(pcmain_pszVideoTestDisabled, "Higher screen resolotions have been disabled\n\nClick on OK to proceed");
  pcmain_VideoTestTextsSet(3);
  EXPECT_STREQ(pcmain_pszVideoTestDisabled,
               "Las resoluciones de pantalla m\xE1s altas se han desactivado\n\nHaga clic en Aceptar para seguir");
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

// The loading screen's "versus" and "Please Wait - Loading", the titles of the
// matches that are not a history's and the shell's messages have their own
// words in every language (once English stood in for them in all five).
TEST_F(Texts, EveryLanguageHasItsOwnLoadingScreenTexts) {
  const int32_t aiFrontEnd[] = {IDS_FE_REALLY_QUIT,     IDS_FE_PLEASE_WAIT_LOADING, IDS_FE_DEMO_MATCH,
                                IDS_FE_PRESS_START,     IDS_FE_FRIENDLY_MATCH,      IDS_FE_TRAINING_SESSION,
                                IDS_FE_VERSUS_WORD};
  const int32_t aiGlobal[] = {IDS_GLOBAL_TACTICS, IDS_GLOBAL_INSERT_CONTROLLER, IDS_GLOBAL_CHECK_CD};
  for (int32_t l = 1; l < TEXT_LANGUAGE_MAX; l++) {
    for (int32_t i : aiFrontEnd) {
      EXPECT_STRNE(festr_apszStrings[l][i], festr_apszStrings[0][i]) << "language " << l << " text " << i;
      EXPECT_NE(festr_apszStrings[l][i][0], 0) << "language " << l << " text " << i;
    }
    for (int32_t i : aiGlobal) EXPECT_STRNE(glstr_apszStrings[l][i], glstr_apszStrings[0][i]) << l << " " << i;
    EXPECT_STRNE(pcmain_apszVideoTestTexts[l][VIDEOTEST_QUESTION], pcmain_apszVideoTestTexts[0][VIDEOTEST_QUESTION]);
  }
  mlang_SetLanguage(LANGUAGE_FRENCH);
  EXPECT_STREQ(festr_IDToStr(IDS_FE_PLEASE_WAIT_LOADING), "Veuillez patienter - Chargement");
  EXPECT_STREQ(festr_IDToStr(IDS_FE_VERSUS_WORD), "contre");
  // The key letters and digits are the same in every language.
  EXPECT_STREQ(festr_IDToStr(203), "0");
  EXPECT_STREQ(festr_IDToStr(238), "Z");
}

// French sets a colon and a semicolon off from the word before with a space
// (an ordinary one or, where a paragraph wraps, a non-breaking one): every
// French text a player reads, the history's rules pages included, is
// scanned; a colon between two digits (a clock's "45:00") is no punctuation.
TEST_F(Texts, FrenchPutsASpaceBeforeEachColonAndSemicolon) {
  std::vector<const char*> apsz;
  for (int32_t i = 0; i < IDS_FE_MAX; i++) apsz.push_back(festr_apszStrings[LANGUAGE_FRENCH][i]);
  for (int32_t i = 0; i < IDS_GLOBAL_MAX; i++) apsz.push_back(glstr_apszStrings[LANGUAGE_FRENCH][i]);
  for (int32_t i = 0; i < IDS_INGAME_MAX; i++) apsz.push_back(gstatso_apszStrings[LANGUAGE_FRENCH][i]);
  for (int32_t i = 0; i < VIDEOTEST_TEXT_MAX; i++) apsz.push_back(pcmain_apszVideoTestTexts[LANGUAGE_FRENCH][i]);
  const auto Digit = [](char c) { return c >= '0' && c <= '9'; };
  int cMarks = 0;
  for (const char* psz : apsz) {
    const std::string o = psz != nullptr ? psz : "";
    for (size_t i = 0; i < o.size(); i++) {
      if (o[i] != ':' && o[i] != ';') continue;
      if (o[i] == ':' && i > 0 && i + 1 < o.size() && Digit(o[i - 1]) && Digit(o[i + 1])) continue;
      cMarks++;
      EXPECT_TRUE(i > 0 && (o[i - 1] == ' ' || o[i - 1] == '\xA0')) << "\"" << o << "\"";
    }
  }
  EXPECT_GT(cMarks, 0);  // the rules pages have some
}

// The qualifying pages of 1958, 1978, 1982 and 1990 name a feminine host and
// a feminine holder, so their places line agrees with both: French
// "qualifiées d'office", Italian "qualificate di diritto".
TEST_F(Texts, QualifyingPagesAgreeWithAFeminineHostAndHolder) {
  const auto Page = [](int32_t iLanguage, int32_t iYear) {
    mlang_SetLanguage(iLanguage);
    std::string o;
    for (int32_t i = rules_aiQual[(iYear - 58) / 4]; rules_aoEntries[i].iText != 1007; i++)
      o += std::string(festr_IDToStr(rules_aoEntries[i].iText)) + "\n";
    return o;
  };
  for (int32_t iYear : {58, 78, 82, 90}) {
    const std::string oFr = Page(LANGUAGE_FRENCH, iYear), oIt = Page(LANGUAGE_ITALIAN, iYear);
    EXPECT_NE(oFr.find("sont qualifi\xE9" "es d'office"), std::string::npos) << iYear;
    EXPECT_EQ(oFr.find("qualifi\xE9s d'office"), std::string::npos) << iYear;
    EXPECT_NE(oIt.find("sono qualificate di diritto"), std::string::npos) << iYear << "\n" << oIt;
    EXPECT_EQ(oIt.find("qualificati di diritto"), std::string::npos) << iYear;
  }
}

// A UTF-8 text of the Latin-1 range in Windows-1252.
std::string From8(const std::string& oUtf8) {
  std::string o;
  for (size_t i = 0; i < oUtf8.size(); i++) {
    unsigned c = static_cast<unsigned char>(oUtf8[i]);
    if (c >= 0xC0 && i + 1 < oUtf8.size()) c = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(oUtf8[++i]) & 0x3Fu);
    o.push_back(static_cast<char>(c));
  }
  return o;
}

// Windows-1252 capitals.
std::string Upper(std::string o) {
  for (char& ch : o) {
    const unsigned c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) ch = static_cast<char>(c - 0x20);
  }
  return o;
}

// The words of a text without an elided article ("l'") and end marks.
std::vector<std::string> Words(const char* psz) {
  std::vector<std::string> ao;
  std::istringstream in(psz);
  for (std::string w; in >> w;) {
    if (const size_t a = w.find('\''); a != std::string::npos) w = w.substr(a + 1);
    while (!w.empty() && (w.back() == '?' || w.back() == '!')) w.pop_back();
    if (!w.empty() && static_cast<unsigned char>(w[0]) == 0xBF) w = w.substr(1);  // an opening question mark
    ao.push_back(w);
  }
  return ao;
}

// The history mode has one name in each language: the main menu's button
// (assets/frontend/mainmenu.txt, in capitals), the hub's Escape question and
// the pause menu's "Quit History" use the same word, the two texts with a
// capital as the mode's name (as English writes "Quit History?").
TEST_F(Texts, TheHistoryModeHasOneNameInEachLanguage) {
  const char* pszSource = std::getenv("KORVENA_SOURCE_DIR");
  ASSERT_NE(pszSource, nullptr);
  std::ifstream in(std::string(pszSource) + "/assets/frontend/mainmenu.txt");
  ASSERT_TRUE(in);
  const char* const kLang[TEXT_LANGUAGE_MAX] = {"eng", "fra", "ger", "spa", "ita", "por"};
  int cFound = 0;
  for (std::string oLine; std::getline(in, oLine);) {
    std::vector<std::string> aoCols;
    std::istringstream cols(oLine);
    for (std::string c; std::getline(cols, c, '\t');) aoCols.push_back(c);
    if (aoCols.size() < 5) continue;
    for (int32_t l = 0; l < TEXT_LANGUAGE_MAX; l++) {
      if (aoCols[0] != kLang[l]) continue;
      cFound++;
      const std::string oName = Upper(From8(aoCols[4]));
      for (const char* psz : {festr_apszStrings[l][IDS_FE_QUIT_HISTORY], gstatso_apszStrings[l][IDS_INGAME_QUIT_HISTORY]}) {
        bool bNamed = false;
        for (const std::string& w : Words(psz)) {
          if (Upper(w) != oName) continue;
          bNamed = true;
          EXPECT_EQ(w[0], oName[0]) << psz << ": the mode's name has its capital";
        }
        EXPECT_TRUE(bNamed) << kLang[l] << ": \"" << psz << "\" does not name the mode " << oName;
      }
    }
  }
  EXPECT_EQ(cFound, TEXT_LANGUAGE_MAX);
}

}  // namespace
