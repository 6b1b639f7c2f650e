// Qualification (mode 76) and the shape the three caption screens share.
#include "frontend/wcqual.h"

#include <cstdio>
#include <cstring>

#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

WCCaptionScreen wcqual_oScreen;

namespace {

// Films by language: English, French, German, Spanish, Italian, Portuguese.
// A Portuguese elimination plays the Spanish film.
constexpr int32_t kWinnerFilms[6] = {173, 174, 178, 177, 176, 179};
constexpr int32_t kQualifiedFilms[6] = {180, 181, 185, 184, 183, 186};
constexpr int32_t kEliminatedFilms[6] = {187, 188, 192, 191, 190, 191};

// A team's name in the current language, as the news writes it; a name
// that is not a national team's keeps the tournament's own text.
const char* TeamNameText(std::uint32_t Name) {
  if (Name == 0) return "";
  if (Name < static_cast<std::uint32_t>(TLA_COUNT)) return tla_NameGet(static_cast<int32_t>(Name));
  return tmteam_NameText(Name);
}

std::uint32_t HumanTeam() {
  const int32_t i = tmglobal.iCurrentHuman;
  return i >= 0 && i < TM_HUMAN_MAX ? tmglobal.aHumans[i].Name : 0;
}

const char* HumanNameGet() { return TeamNameText(HumanTeam()); }

// The gender and number the caption's words agree with: the human team's
// name's in the current language (a name that is not a national team's is
// masculine singular).
int32_t HumanFormGet() {
  const std::uint32_t Name = HumanTeam();
  return Name < static_cast<std::uint32_t>(TLA_COUNT) ? tla_FormGet(static_cast<int32_t>(Name)) : TLA_FORM_MASCULINE;
}

// The team that the final's "Winner" place recorded as the next edition's
// holder: the roll of honour is filled only after this screen.
const char* WinnerNameGet() {
  const int32_t e = tmglobal_EditionGet();
  return TeamNameText(e >= 0 && e < TM_EDITIONS ? tmglobal.aHolders[e + 1] : 0);
}

void Line(WCCaptionLine* po, int32_t y, const char* psz) {
  po->y = y;
  std::snprintf(po->sz, sizeof po->sz, "%s", psz != nullptr ? psz : "");
}

// A line whose words agree with the human team.
void TeamLine(WCCaptionLine* po, int32_t y, int32_t eText) {
  po->y = y;
  festr_FormCopy(festr_IDToStr(eText), HumanFormGet(), po->sz, sizeof po->sz);
}

// The line that holds the year: the text writes "19%d" where its language
// puts the year ("1962 FINALS", "PHASE FINALE 1962"); no text, the year alone.
void YearLine(WCCaptionLine* po, int32_t y, const char* pszText) {
  po->y = y;
  const int iYear = static_cast<int>(tmglobal_YearGet());
  const char* pszYear = pszText != nullptr ? std::strstr(pszText, "19%d") : nullptr;
  if (pszText == nullptr) std::snprintf(po->sz, sizeof po->sz, "19%d", iYear);
  else if (pszYear == nullptr) std::snprintf(po->sz, sizeof po->sz, "%s", pszText);
  else
    std::snprintf(po->sz, sizeof po->sz, "%.*s19%02d%s", static_cast<int>(pszYear - pszText), pszText, iYear % 100,
                  pszYear + 4);
}

}  // namespace

int32_t wc_MovieGet(int32_t iMode, int32_t iLanguage, int32_t iYear) {
  if (iMode == WC_MODE_INTRO) {
    if (iYear < 58 || iYear > 98 || (iYear - 58) % 4 != 0) return -1;
    return 193 + (iYear - 58) / 4;
  }
  if (iLanguage < 0 || iLanguage > 5) return -1;
  switch (iMode) {
    case WC_MODE_WINNER: return kWinnerFilms[iLanguage];
    case WC_MODE_QUALIFIED: return kQualifiedFilms[iLanguage];
    case WC_MODE_NOT_QUALIFIED:
    case WC_MODE_ELIMINATED: return kEliminatedFilms[iLanguage];
    default: return -1;
  }
}

int32_t wc_CaptionGet(int32_t iMode, WCCaptionLine* pao) {
  switch (iMode) {
    case WC_MODE_QUALIFIED:
      Line(&pao[0], 90, festr_IDToStr(IDS_FE_CONGRATULATIONS));
      Line(&pao[1], 110, HumanNameGet());
      TeamLine(&pao[2], 130, IDS_FE_HAVE_QUALIFIED_FOR_THE);
      YearLine(&pao[3], 150, festr_IDToStr(IDS_FE_FINALS));
      return 4;
    case WC_MODE_NOT_QUALIFIED:
      Line(&pao[0], 90, HumanNameGet());
      TeamLine(&pao[1], 110, IDS_FE_HAVE_NOT_QUALIFIED_FOR_THE);
      YearLine(&pao[2], 130, festr_IDToStr(IDS_FE_FINALS));
      return 3;
    case WC_MODE_ELIMINATED:
      Line(&pao[0], 90, HumanNameGet());
      TeamLine(&pao[1], 110, IDS_FE_HAVE_BEEN_ELIMINATED);
      Line(&pao[2], 130, festr_IDToStr(IDS_FE_FROM_THE_TOURNAMENT));
      return 3;
    case WC_MODE_WINNER:
      Line(&pao[0], 90, WinnerNameGet());
      YearLine(&pao[1], 110, nullptr);
      return 2;
    default: return 0;
  }
}

void wc_CaptionEnter(WCCaptionScreen* po, int32_t iMode) {
  input_ActiveUsersBind(WC_BINDING_CAPTION);
  const int32_t iFilm = wc_MovieGet(iMode, mlang_iLanguage, tmglobal_YearGet());
  QDX_ASSERT(iFilm >= 0);
  if (iFilm >= 0) pcfmv_PlayById(iFilm);
  po->bMovieEnded = 0;
  po->iCountdown = WC_CAPTION_FRAMES;
}

void wc_EventsDrain(User* poUser) {
  if (poUser != nullptr && poUser->pip != nullptr) input_EventQueueFlush(&poUser->pip->oEvents);
}

void wc_CaptionRun(WCCaptionScreen* po, int32_t iMode) {
  if (po->bNeedsEnter) {
    wc_CaptionEnter(po, iMode);
    po->bNeedsEnter = 0;
  }
  for (User& usr : user_aUsers)
    if (usr.bActive) wc_EventsDrain(&usr);
  po->xLeft = po->xRight = 256;
  WCCaptionLine ao[4];
  const int32_t c = wc_CaptionGet(iMode, ao);
  pctext_FontSet(2);
  draw2d_TextColourSet(150, 150, 150, 255);
  for (int32_t i = 0; i < c; ++i)
    pctext_PrintCentred(ao[i].sz, pcfe_ScaleX(static_cast<int16_t>(po->xLeft)), pcfe_ScaleY(static_cast<int16_t>(ao[i].y)), 1);
  pctext_FontSet(0);
  if (!po->bMovieEnded && pcfmv_IsIdle()) {
    pcfmv_Stop();
    po->bMovieEnded = 1;
  }
  if (!po->bMovieEnded || --po->iCountdown > 0) return;
  global_SetGameMode(GAME_MODE_NEWS);
  po->bNeedsEnter = 1;
  mfhnews_bArrived = 1;
}

void wcqual_Enter() { wc_CaptionEnter(&wcqual_oScreen, WC_MODE_QUALIFIED); }
void wcqual_Input(User* poUser) { wc_EventsDrain(poUser); }
void wcqual_Run() { wc_CaptionRun(&wcqual_oScreen, WC_MODE_QUALIFIED); }
