// The roll of honour screen.
#include "frontend/mfhrole.h"

#include <cstdio>

#include "audio/audio_services.h"
#include "engine/formation.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhfixtr_layout.h"
#include "frontend/pcfe.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"

MFHRoleScreen mfhrole_oScreen = {1, 0, 1, 0};
std::int32_t mfhrole_bFromNews = 0;

namespace {

constexpr std::int32_t kBinding = 12, kHub = 47, kNews = 57;
constexpr std::int32_t kLayer = 1;
// The texts in 512 x 240 units inside the panel: the title, the names and
// the place labels (and "Exit" centred under them).
constexpr std::int32_t kTitleX = 120, kNameX = 193, kLabelX = 355, kRowY[4] = {99, 118, 136, 155};
// Room left of the labels for a name, and for the title before the right
// arrow (640 x 480 units).
constexpr std::int32_t kNameRoom = (kLabelX - kNameX) * 5 / 4 - 8;
constexpr std::int32_t kTitleRoom = 502 - kTitleX * 5 / 4 - 6;
constexpr std::int32_t kPlaceTexts[4] = {IDS_FE_ROLL_1ST, IDS_FE_ROLL_2ND, IDS_FE_ROLL_3RD, IDS_FE_ROLL_4TH};

// A text as fitted (the fitted text's font current while it is drawn).
void Print(const PCFEFitted& o, std::int32_t x, std::int32_t y, bool bLit, bool bCentred) {
  const std::int32_t sx = pcfe_ScaleX(static_cast<std::int16_t>(x)), sy = pcfe_ScaleY(static_cast<std::int16_t>(y));
  if (bLit) draw2d_TextColourSet(200, 200, 0, 255);
  else draw2d_TextColourSet(200, 200, 200, 255);
  if (bCentred) pctext_PrintCentred(o.c_str(), sx, sy, kLayer);
  else pctext_PrintLeft(o.c_str(), sx, sy, kLayer);
}
// iRoom: the width the text may take (640 x 480 units); 0 leaves it as it is.
void Print(const char* psz, std::int32_t x, std::int32_t y, bool bLit, bool bCentred, std::int32_t iRoom = 0) {
  Print(PCFEFitted(psz, pcfe_RoomX640(iRoom)), x, y, bLit, bCentred);
}

}  // namespace

void mfhrole_Reset() {
  MFHRoleScreen& s = mfhrole_oScreen;
  s.bNeedsEnter = 1;
  s.iEdition = 0;
  s.bBrowsing = 1;
}

void mfhrole_Enter() {
  MFHRoleScreen& s = mfhrole_oScreen;
  s.bNeedsEnter = 0;
  mhelp_HelpShownClear();
  pcfmv_Stop();
  mregion_Reset();
  mregion_LayoutAdd(mfhrole_aoLayout, MFHROLE_LAYOUT_RECORDS, MFHROLE_SHEET);
  pcfe_ScreenSet(MFHROLE_SHEET);
  s.cUsers = 0;
  for (User& u : user_aUsers) {
    if (u.bActive != 1 || !u.pip) continue;
    input_EventQueueFlush(&u.pip->oEvents);
    input_PortBindingSet(kBinding, u.pip);
    s.cUsers++;
  }
  const std::int32_t e = tmglobal_EditionGet();
  s.iEdition = e < 0 ? 0 : (e > MFHROLE_LAST_EDITION ? MFHROLE_LAST_EDITION : e);
  if (!TheYearList) tmreport_Fault("pCurrentYear", "Gen\\mfhrole");
  // The edition's finals fill its entry; only places already decided are
  // written, so an unfinished edition stays incomplete.
  else if (tmglobal.bFinalsLoaded)
    tmmain_RollOfHonourFromFinals(tmgame_CurrentYearGet(), tmmain_RollOfHonourEntryGet(s.iEdition));
  pcfmv_PlayById(formation_TableGet(1));
  s.bBrowsing = 1;
}

void mfhrole_Draw() {
  const MFHRoleScreen& s = mfhrole_oScreen;
  mregion_DrawByName("main");
  pctext_FontSet(1);
  const RollOfHonourEntry* p = tmmain_RollOfHonourEntryGet(s.iEdition);
  if (p && p->Winner != 0) {
    const std::uint32_t aPlaces[4] = {p->Winner, p->RunnerUp, p->Third, p->Fourth};
    for (std::int32_t i = 0; i < 4; i++) {
      Print(PCFEFitted(tla_NamesOf(aPlaces[i]), pcfe_RoomX640(kNameRoom)), kNameX, kRowY[i], false, false);
      Print(festr_IDToStr(kPlaceTexts[i]), kLabelX, kRowY[i], false, false);
    }
  } else {
    Print(festr_IDToStr(IDS_FE_ROLL_FINALS_INCOMPLETE), kNameX, kRowY[0], false, false, kTitleRoom - (kNameX - kTitleX) * 5 / 4);
  }
  char sz[64];
  std::snprintf(sz, sizeof sz, "%s 19%d", tla_NamesOf(result_HostGet(s.iEdition)).pszWhole, 58 + 4 * s.iEdition);
  Print(sz, kTitleX, 75, false, false, kTitleRoom);
  Print(festr_IDToStr(IDS_FE_EXIT), kLabelX, 170, s.bBrowsing == 0, true);
  if (s.bBrowsing && s.iEdition > 0) mregion_DrawByName("YArrowL");
  if (s.bBrowsing && s.iEdition < MFHROLE_LAST_EDITION) mregion_DrawByName("YArrowR");
  pctext_FontSet(0);
}

std::int32_t mfhrole_Input(User* poUser) {
  MFHRoleScreen& s = mfhrole_oScreen;
  std::int32_t eNext = MFHROLE_MODE;
  if (!poUser || !poUser->pip) return eNext;
  // The escape key comes from the keyboard, not from the queue, once a press.
  if (pcfe_bEscapeLastKey()) {
    input_EventQueueFlush(&poUser->pip->oEvents);
    sfx_Play(2);
    eNext = kHub;
  }
  std::int32_t eCode = 0;
  while (eNext == MFHROLE_MODE && pcfe_bEventCodeNext(poUser, &eCode)) {
    switch (eCode) {
      case 8:
      case 9: {
        const std::int32_t b = eCode == 8 ? 1 : 0;
        if (s.bBrowsing != b) sfx_Play(0);
        s.bBrowsing = b;
        break;
      }
      case 10:
      case 11: {
        const std::int32_t e = s.iEdition + (eCode == 10 ? -1 : 1);
        if (!s.bBrowsing || e < 0 || e > MFHROLE_LAST_EDITION) break;
        s.iEdition = e;
        sfx_Play(0);
        break;
      }
      case 37:
        if (s.bBrowsing) break;
        sfx_Play(1);
        eNext = kHub;
        break;
      case 38:
      case 56:
      case 152:
        sfx_Play(2);
        eNext = kHub;
        break;
      default: break;
    }
  }
  if (eNext != MFHROLE_MODE) global_SetExtendedGameMode(static_cast<GameMode>(GAME_MODE_HISTORY));
  return eNext;
}

void mfhrole_Run() {
  MFHRoleScreen& s = mfhrole_oScreen;
  const std::int32_t eNext = pcfe_MenuScreenStep(&s.bNeedsEnter, mfhrole_Enter, mfhrole_Draw, mfhrole_Input);
  if (eNext == MFHROLE_MODE) return;
  s.iEdition = 0;
  s.bNeedsEnter = 1;
  if (mfhrole_bFromNews) {
    mfhrole_bFromNews = 0;
    mfhnews_bArrived = 1;
    global_SetGameMode(static_cast<GameMode>(kNews));
    return;
  }
  global_SetGameMode(static_cast<GameMode>(eNext));
}
