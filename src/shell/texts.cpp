// Text lookups by id and the language.
#include "shell/texts.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "display/qdl_device.h"
#include "framework/qdx_assert.h"
#include "shell/cstring.h"
#include "shell/match_services.h"
#include "frontend/frontend_services.h"
#include "shell/input.h"
#include "shell/user.h"

int32_t mlang_iLanguage;
int32_t mlang_bFirstRunDone;

const char* pcmain_pszVideoTestQuestion = pcmain_apszVideoTestTexts[LANGUAGE_ENGLISH][VIDEOTEST_QUESTION];
const char* pcmain_pszVideoTestSuccess = pcmain_apszVideoTestTexts[LANGUAGE_ENGLISH][VIDEOTEST_SUCCESS];
const char* pcmain_pszVideoTestDisabled = pcmain_apszVideoTestTexts[LANGUAGE_ENGLISH][VIDEOTEST_DISABLED];

static int32_t festr_iTableLanguage() {
  return (mlang_iLanguage >= 0 && mlang_iLanguage < TEXT_LANGUAGE_MAX) ? mlang_iLanguage : LANGUAGE_ENGLISH;
}

const char* festr_IDToStr(int32_t eStrID) {
  QDX_ASSERT(eStrID<IDS_FE_MAX);
  QDX_ASSERT(eStrID >= 0);
  return festr_apszStrings[festr_iTableLanguage()][eStrID];
}

const char* festr_TMIDToStr(int32_t eStrID) {
  QDX_ASSERT(eStrID<TM_MAX);
  QDX_ASSERT(eStrID >= 0);
  return festr_apszTMNames[eStrID];
}

int32_t festr_StrToTMID(const char* pszName) {
  for (int32_t i = 0; i < TM_MAX; i++) {
    if (cstring_bEqual(festr_apszTMNames[i], pszName)) return i;
  }
  QDX_ASSERT(0);
  return 0;
}

const char* glstr_IDToStr(int32_t eStrID) {
  QDX_ASSERT(eStrID<IDS_GLOBAL_MAX);
  QDX_ASSERT(eStrID >= 0);
  return glstr_apszStrings[festr_iTableLanguage()][eStrID];
}

void festr_WordFill(const char* pszText, const char* pszValue, char* pszOut, size_t cb) {
  if (pszOut == nullptr || cb == 0) return;
  const char* pszT = pszText != nullptr ? pszText : "";
  const char* pszV = pszValue != nullptr ? pszValue : "";
  const char* pOpen = std::strchr(pszT, '[');
  const char* pClose = pOpen != nullptr ? std::strchr(pOpen, ']') : nullptr;
  if (pClose == nullptr) {
    std::snprintf(pszOut, cb, "%s%s%s", pszV, pszV[0] != '\0' && pszT[0] != '\0' ? " " : "", pszT);
    return;
  }
  std::snprintf(pszOut, cb, "%.*s%s%s", static_cast<int>(pOpen - pszT), pszT, pszV, pClose + 1);
}

void festr_FormCopy(const char* pszText, int32_t iForm, char* pszOut, size_t cb) {
  if (pszOut == nullptr || cb == 0) return;
  const char* p = pszText != nullptr ? pszText : "";
  int32_t cForms = 1;
  for (const char* q = p; *q != '\0'; ++q) cForms += *q == '|';
  // The form wanted: a plural team takes the second of two forms.
  int32_t i = 0;
  if (iForm >= 0 && iForm <= 3) i = cForms == 4 ? iForm : (cForms == 2 ? iForm / 2 : 0);
  for (; i > 0; i--) p = std::strchr(p, '|') + 1;
  const char* pEnd = std::strchr(p, '|');
  const int n = static_cast<int>(pEnd != nullptr ? pEnd - p : static_cast<std::ptrdiff_t>(std::strlen(p)));
  std::snprintf(pszOut, cb, "%.*s", n, p);
}

void mlang_SetLanguage(int32_t iLanguage) {
  if (iLanguage < 0 || iLanguage >= TEXT_LANGUAGE_MAX) QDX_ASSERT(0);
  mlang_iLanguage = iLanguage;
}

const char* mlang_pszGetLanguageName(int32_t iLanguage) {
  if (iLanguage < 0 || iLanguage >= TEXT_LANGUAGE_MAX) QDX_ASSERT(0);
  return festr_IDToStr(IDS_FE_LANGUAGE_ENGLISH + iLanguage);
}

GameMode mlang_eGetMode() { return GAME_MODE_LANGUAGE; }

void mlang_Enter() {
  if (mlang_bFirstRunDone) mlang_OptionsDefault();
  mlang_bFirstRunDone = 1;
  global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
}

void mlang_OptionsDefault() {
  options_SetDefaults();
  mfhsetup_DefaultsSet();
  user_ActiveEventQueuesFlush();
  input_ActiveUsersBind(13);
}

void pcmain_VideoTestTextsSet(int32_t iLanguage) {
  int32_t l = (iLanguage >= 1 && iLanguage <= 5) ? iLanguage : LANGUAGE_ENGLISH;
  pcmain_pszVideoTestQuestion = pcmain_apszVideoTestTexts[l][VIDEOTEST_QUESTION];
  pcmain_pszVideoTestSuccess = pcmain_apszVideoTestTexts[l][VIDEOTEST_SUCCESS];
  pcmain_pszVideoTestDisabled = pcmain_apszVideoTestTexts[l][VIDEOTEST_DISABLED];
  QDLDeviceTestTextsSet(pcmain_pszVideoTestQuestion, pcmain_pszVideoTestSuccess, pcmain_pszVideoTestDisabled);
}
