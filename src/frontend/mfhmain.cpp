// The history hub's services and its screen.
#include "frontend/mfhmain.h"

#include <cstdio>
#include <cstring>

#include "audio/audio_services.h"
#include "engine/formation.h"
#include "frontend/frontend_services.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"

// The code of the first confederation, in tree order, whose rounds list the
// team; "CONMEBOL" counts as 16 in its "Group B". 0 when none lists it.
int32_t mfhmain_ConfCodeGet(std::uint32_t TeamId) {
  static const char* const kNames[] = {"UEFA", "CONMEBOL", "CONCACAF", "AFC-CAF", "CAF-AFC-OFC", "AFC-OFC", "OFC",
                                       "CAF", "AFC", "UEFA-CONMEBOL", "UEFA-OFC", "UEFA-AFC-CAF", "CONMEBOL-OFC",
                                       "CONCACAF-OFC"};
  if (TeamId == 0) return 0;
  for (const Year* y = TheYearList; y != nullptr; y = y->pNext)
    for (const Confederation* c = y->pConfs; c != nullptr; c = c->pNext)
      for (const Group* g = c->pGroups; g != nullptr; g = g->pNext)
        for (const Round* r = g->pRounds; r != nullptr; r = r->pNext)
          for (const TMTeam* t = r->pTeams; t != nullptr; t = t->pNext) {
            if (t->Name != TeamId) continue;
            for (int32_t i = 0; i < 14; ++i) {
              if (std::strcmp(c->szName, kNames[i]) != 0) continue;
              return i == 1 && std::strcmp(g->szName, "Group B") == 0 ? 16 : i + 1;
            }
            break;  // a confederation without a code: look further
          }
  return 0;
}

// ---- The hub screen ------------------------------------------------------------------

MFHMainScreen mfhmain_oScreen = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0};

namespace {

constexpr std::int32_t kHubBinding = 12, kOtherBinding = 1;
constexpr std::int32_t kHubSheet = 19;  // "fhmain"
constexpr std::int32_t kHubInputDelay = 5;
constexpr std::int32_t kColumnX[2] = {148, 370};
constexpr std::int32_t kItemY[4] = {71, 93, 115, 136};
constexpr std::int32_t kHubLayer = 1;
constexpr std::int32_t kItemTexts[MFHMAIN_ITEMS] = {
    IDS_FE_HIST_PLAY_MATCH, IDS_FE_TEAM,              IDS_FE_HIST_CHOOSE_SQUAD, IDS_FE_HIST_FIXTURES,
    IDS_FE_HIST_GROUP_TABLES, IDS_FE_HIST_OPPOSITION, IDS_FE_HIST_ROLL_OF_HONOUR, IDS_FE_HIST_OPTIONS};

const RegionDef kHubMain = {"main", 0, 0, 640, 480, 255, {}, 255, 0, 0, 1, 0, 1};

std::uint32_t CurrentHumanName() {
  const std::int32_t i = tmglobal.iCurrentHuman;
  return i >= 0 && i < TM_HUMAN_MAX ? tmglobal.aHumans[i].Name : 0;
}

void HubPrint(const char* psz, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  const std::int32_t sx = pcfe_ScaleX(static_cast<std::int16_t>(x)), sy = pcfe_ScaleY(static_cast<std::int16_t>(y));
  draw2d_TextColourSet(0, 0, 0, 255);
  pctext_PrintLeft(psz, sx + 1, sy + 1, kHubLayer);
  draw2d_TextColourSet(r, g, b, 255);
  pctext_PrintLeft(psz, sx, sy, kHubLayer);
}

// The cursor one step up or down, past "Choose Squad" in the finals.
std::int32_t Step(std::int32_t iCursor, std::int32_t iDelta) {
  std::int32_t i = iCursor + iDelta;
  if (i == 2 && mfhmain_oScreen.bFinals) i += iDelta;
  return i < 0 || i >= MFHMAIN_ITEMS ? iCursor : i;
}

std::int32_t ItemSelect(std::int32_t iItem) {
  MFHMainScreen& s = mfhmain_oScreen;
  switch (iItem) {
    case 0:
      if (s.bTeamChoice) {
        tmglobal.iCurrentHuman = s.iTeamChoice;
        s.bTeamChoice = 0;
        sfx_Play(1);
      }
      return MFHMAIN_MODE;
    case 3: sfx_Play(1); global_SetExtendedGameMode(static_cast<GameMode>(48)); return 48;
    case 4: sfx_Play(1); global_SetExtendedGameMode(static_cast<GameMode>(55)); return 55;
    case 6: sfx_Play(1); global_SetExtendedGameMode(static_cast<GameMode>(56)); return 56;
    case 7: sfx_Play(1); return 52;
    default: return MFHMAIN_MODE;  // the match sides are not prepared here yet
  }
}

std::int32_t QuitSelect() {
  MFHMainScreen& s = mfhmain_oScreen;
  if (s.iQuitChoice != 0) {
    s.bQuitBox = 0;
    sfx_Play(2);
    return MFHMAIN_MODE;
  }
  global_SetExtendedGameMode(static_cast<GameMode>(12));
  s.bNeedsEnter = 1;
  tmglobal.bStarted = 0;
  sfx_Play(1);
  return 12;
}

void QuitOpen() {
  MFHMainScreen& s = mfhmain_oScreen;
  if (s.iInputDelay != 0) return;
  s.bQuitBox = 1;
  sfx_Play(2);
}

}  // namespace

std::int32_t mfhmain_bHasNextFixture() {
  Round* r = nullptr;
  Fixture* f = nullptr;
  const std::uint32_t Name = CurrentHumanName();
  Year* y = Name ? tmgame_CurrentYearGet() : nullptr;
  return y && history_FixtureFindByTeam(y, Name, &r, &f) ? 1 : 0;
}

void mfhmain_Reset() {
  MFHMainScreen& s = mfhmain_oScreen;
  s.iCursor = 0;
  s.bNeedsEnter = 1;
  s.bQuitBox = 0;
  s.iQuitChoice = 1;
  s.bTeamChoice = 0;
  s.cEditionsPlayed = 0;
}

void mfhmain_Enter() {
  MFHMainScreen& s = mfhmain_oScreen;
  pcfmv_Stop();
  s.bNeedsEnter = 0;
  const std::int32_t h = tmglobal.iCurrentHuman;
  if (!tmgame_FailedToQualifyGet(h) && !tmgame_EliminatedGet(h) &&
      (tmglobal.iYear < 98 || (tmglobal.iYear == 98 && !tmglobal.bTournamentOver)))
    newqual_NewFlagsClear(tmglobal.aNewQual);
  s.bFinals = tmglobal.bFinalsLoaded ? 1 : 0;
  User* poMenu = global_poGetMenuUser();
  global_SetHomeUser(poMenu);
  for (User& u : user_aUsers) {
    if (u.bActive != 1 || !u.pip) continue;
    input_EventQueueFlush(&u.pip->oEvents);
    input_PortBindingSet(&u == poMenu ? kHubBinding : kOtherBinding, u.pip);
  }
  mregion_Reset();
  mregion_Add(&kHubMain, 0, kHubSheet);
  pcfe_ScreenSet(kHubSheet);
  pcfmv_PlayById(formation_TableGet(1));
  s.bQuitBox = 0;
  s.iInputDelay = kHubInputDelay;
}

void mfhmain_Draw() {
  const MFHMainScreen& s = mfhmain_oScreen;
  mregion_DrawByName("main");
  pctext_FontSet(1);
  if (s.bQuitBox) {
    pcfe_ConfirmPanelDraw(IDS_FE_QUIT_HISTORY, s.iQuitChoice == 0);
    pctext_FontSet(1);
  }
  const std::uint32_t Name = CurrentHumanName();
  if (Name > 0 && Name < static_cast<std::uint32_t>(TLA_COUNT))
    HubPrint(tla_DisplayNameGet(static_cast<std::int32_t>(Name)), 152, 46, 200, 200, 200);
  char sz[16];
  std::snprintf(sz, sizeof sz, "19%02d", tmglobal.iYear % 100);
  HubPrint(sz, 284, 46, 200, 200, 200);
  for (std::int32_t i = 0; i < MFHMAIN_ITEMS; i++) {
    const std::int32_t x = kColumnX[i / 4], y = kItemY[i % 4];
    if (i == 2 && s.bFinals) HubPrint(festr_IDToStr(kItemTexts[i]), x, y, 80, 80, 80);
    else if (i == s.iCursor && !s.bTeamChoice) HubPrint(festr_IDToStr(kItemTexts[i]), x, y, 200, 200, 0);
    else HubPrint(festr_IDToStr(kItemTexts[i]), x, y, 200, 200, 200);
  }
  pctext_FontSet(0);
}

std::int32_t mfhmain_Input(User* poUser) {
  MFHMainScreen& s = mfhmain_oScreen;
  std::int32_t eNext = MFHMAIN_MODE;
  if (!poUser || !poUser->pip) return eNext;
  const std::int32_t cHumans = tmglobal.cHumans;
  while (eNext == MFHMAIN_MODE) {
    ListNode* poNode = queue_RemoveHead(&poUser->pip->oEvents);
    if (!poNode) break;
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    const std::int32_t eCode = poEvent->eEvent;
    input_EventFree(&poEvent);
    switch (eCode) {
      case 8:
        if (s.bQuitBox) break;
        if (s.iCursor == 0 && cHumans > 1 && !s.bTeamChoice) {
          s.bTeamChoice = 1;
          s.iTeamChoice = tmglobal.iCurrentHuman;
        }
        if (Step(s.iCursor, -1) != s.iCursor) {
          s.iCursor = Step(s.iCursor, -1);
          sfx_Play(0);
        }
        break;
      case 9:
        if (s.bQuitBox) break;
        s.bTeamChoice = 0;
        if (Step(s.iCursor, 1) != s.iCursor) {
          s.iCursor = Step(s.iCursor, 1);
          sfx_Play(0);
        }
        break;
      case 10:
        if (s.bQuitBox) s.iQuitChoice = 0;
        else if (s.bTeamChoice) s.iTeamChoice = s.iTeamChoice > 0 ? s.iTeamChoice - 1 : 0;
        else if (s.iCursor >= 4 && !(s.iCursor == 6 && s.bFinals)) s.iCursor -= 4;
        else break;
        sfx_Play(0);
        break;
      case 11:
        if (s.bQuitBox) s.iQuitChoice = 1;
        else if (s.bTeamChoice) s.iTeamChoice = s.iTeamChoice + 1 < cHumans ? s.iTeamChoice + 1 : s.iTeamChoice;
        else if (s.iCursor < 4) s.iCursor += 4;
        else break;
        sfx_Play(0);
        break;
      case 38:
      case 152:
        if (!s.bQuitBox) QuitOpen();
        break;
      case 37:
        eNext = s.bQuitBox ? QuitSelect() : ItemSelect(s.iCursor);
        break;
      case 56:
        if (s.bQuitBox) s.bQuitBox = 0;
        else eNext = ItemSelect(0);
        break;
      case 114: mhelp_HelpShownToggle(); break;
      default: break;
    }
  }
  return eNext;
}

void mfhmain_Run() {
  MFHMainScreen& s = mfhmain_oScreen;
  if (s.bNeedsEnter) mfhmain_Enter();
  mfhmain_Draw();
  mhelp_ScreenHook();
  User* poMenu = global_poGetMenuUser();
  std::int32_t eNext = MFHMAIN_MODE;
  for (User& u : user_aUsers) {
    if (u.bActive != 1 || !u.pip) continue;
    if (mhelp_bHelpShownGet()) {
      mhelp_Input(&u);
    } else if (&u == poMenu) {
      const std::int32_t e = mfhmain_Input(&u);
      if (e != MFHMAIN_MODE) eNext = e;
    } else {
      input_EventQueueFlush(&u.pip->oEvents);
    }
  }
  if (s.iInputDelay > 0) s.iInputDelay--;
  if (eNext == MFHMAIN_MODE) {
    for (User& u : user_aUsers) {
      if (u.bActive != 1 || !u.pip) continue;
      input_EventQueueFlush(&u.pip->oEvents);
      input_PortBindingSet(&u == poMenu ? kHubBinding : kOtherBinding, u.pip);
    }
    global_SetHomeUser(poMenu);
    return;
  }
  s.bNeedsEnter = 1;
  global_SetGameMode(static_cast<GameMode>(eNext));
}
