#pragma once
// Text tables and the language: every text the game shows is taken by id from
// tables compiled into the program, one per language (0 English, 1 French,
// 2 German, 3 Spanish, 4 Italian, 5 Portuguese; any other index reads as
// English). Team and competition names have one table for all languages.
#include <cstddef>
#include <cstdint>

#include "shell/global.h"
#include "shell/texts_data.h"

constexpr int32_t LANGUAGE_ENGLISH = 0;
constexpr int32_t LANGUAGE_FRENCH = 1;
constexpr int32_t LANGUAGE_GERMAN = 2;
constexpr int32_t LANGUAGE_SPANISH = 3;
constexpr int32_t LANGUAGE_ITALIAN = 4;
constexpr int32_t LANGUAGE_PORTUGUESE = 5;

// The language index, shared with the "Language" setting.
extern int32_t mlang_iLanguage;
// The language screen's first-run flag.
extern int32_t mlang_bFirstRunDone;

const char* festr_IDToStr(int32_t eStrID);
const char* festr_TMIDToStr(int32_t eStrID);
int32_t festr_StrToTMID(const char* pszName);
const char* glstr_IDToStr(int32_t eStrID);

// Writes a text that names its value by a bracketed word ("[player name] is
// suspended...", "[number] weeks") with pszValue in the word's place, into
// pszOut of cb bytes (cut short to fit, always ended). A text without a
// bracketed word gets the value in front of it, a space between.
void festr_WordFill(const char* pszText, const char* pszValue, char* pszOut, size_t cb);
// Copies the form of a text that agrees with a team of form iForm (its
// gender and number, tla_FormGet) into pszOut of cb bytes: a text holds its
// forms apart by '|', four (masculine, feminine, masculine plural, feminine
// plural), two (singular, plural) or one for every team.
void festr_FormCopy(const char* pszText, int32_t iForm, char* pszOut, size_t cb);

void mlang_SetLanguage(int32_t iLanguage);
const char* mlang_pszGetLanguageName(int32_t iLanguage);
GameMode mlang_eGetMode();
void mlang_Enter();
void mlang_OptionsDefault();

// The three texts of the video-card test in the chosen language.
extern const char* pcmain_pszVideoTestQuestion;
extern const char* pcmain_pszVideoTestSuccess;
extern const char* pcmain_pszVideoTestDisabled;
void pcmain_VideoTestTextsSet(int32_t iLanguage);
