// The tactics screen's entry and display: the squad list with its marks, the
// attribute panel, the formation list, the pitch of the starters, the
// "Complete" banners and the headers.
#include <cstdio>

#include "engine/cpuman.h"
#include "engine/formation.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "frontend/mtatics.h"
#include "frontend/mteam_layout.h"
#include "matchflow/matcha.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/dbplayer.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

std::int32_t mtatics_bOneSheet = 1;
std::int32_t mtatics_bHomeComplete = 0, mtatics_bAwayComplete = 0;
TacticsSide* mtatdisp_Players = &mteam_aoSides[0];

namespace {

constexpr std::int32_t kSheet = 8;
constexpr std::int32_t kRowHeight = 19;
constexpr std::int32_t kFirstRowY = 54;

std::int32_t Extended() { return global_eGetExtendedGameMode(); }
std::int32_t SX(std::int32_t x) { return pcfe_ScaleX(static_cast<std::int16_t>(x)); }
std::int32_t SY(std::int32_t y) { return pcfe_ScaleY(static_cast<std::int16_t>(y)); }
void Grey(std::uint8_t v) { draw2d_TextColourSet(v, v, v, 255); }
void Yellow() { draw2d_TextColourSet(200, 200, 0, 255); }
// Texts and sprites placed in 512 x 240 units.
void PrintCentred(const char* psz, std::int32_t x, std::int32_t y) {
  if (psz) pctext_PrintCentred(psz, SX(x), SY(y), 1);
}
void PrintLeft(const char* psz, std::int32_t x, std::int32_t y) {
  if (psz) pctext_PrintLeft(psz, SX(x), SY(y), 1);
}
void ShadowCentred(const char* psz, std::int32_t x, std::int32_t y) {
  if (psz) draw2d_TextShadowDraw(psz, SX(x), SY(y));
}
// A team's name on the bottom bar, left (0) or right (1), fitted inside it.
void BarNameDraw(std::int32_t iTeamId, std::int32_t iSide) {
  const PCFEFitted o(tla_NamesGet(iTeamId), mtatdisp_BarNameRoom());
  ShadowCentred(o.c_str(), MTATDISP_BAR_NAME_X[iSide], 197);
}
void Sprite(const char* pszName, std::int32_t x, std::int32_t y) { mregion_DrawAtByName(pszName, SX(x), SY(y)); }
void Fill(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a, std::int32_t x, std::int32_t y, std::int32_t w,
          std::int32_t h, std::int32_t iLayer) {
  draw2d_FillColourSet(r, g, b, a);
  draw2d_RectFill(SX(x), SY(y), SX(w), SY(h), iLayer);
}

std::int32_t PositionColour(std::int32_t iCode) { return mtatdisp_PositionColour(iCode); }
const char* const kMarkers[4] = {"GreenS", "BlueS", "PurpleS", "RedS"};
const char* const kLeftBadges[4] = {"gl", "bl", "pl", "rl"};
const char* const kRightBadges[4] = {"gr", "br", "pr", "rr"};

bool IsLeftSheet() { return Extended() == 51 || !global_poGetAwayUser(); }

void ListSetUp(TacticsSide* ps, std::int32_t x, std::int32_t cCap) {
  if (ps->bListSetUp) return;
  const MatchTeam* t = ps->poTeamPlayerTeam;
  QDX_ASSERT(t && "ptPlayer->poTeamPlayerTeam");
  if (!t) return;
  const std::int32_t b = team_BenchCount(t), r = team_ReserveCount(t);
  std::int32_t c = b == 0 ? 12 : b + 13;
  if (r > 0) c += r + 1;
  if (c > cCap) c = cCap;
  listctrl_Init(&ps->oList, 7, c, SX(236), SY(141), SX(x), SY(kFirstRowY), SY(kRowHeight));
  ps->bListSetUp = 1;
}

std::int32_t ListX(const TacticsSide* ps) {
  return ps->oList.iX == SX(260) ? 260 : 25;
}

void Marks(const DBPlayer* p, std::int32_t x, std::int32_t y) {
  if (dbplayer_InjuredGet(p)) Fill(100, 100, 200, 255, x + 208, y + 3, 16, 8, 1);
  switch (dbplayer_CardStateGet(p)) {
    case DBPLAYER_CARD_BOOKED: Fill(200, 200, 0, 255, x + 217, y + 3, 7, 8, 1); break;
    case DBPLAYER_CARD_TWO_YELLOWS:
      Fill(200, 200, 0, 255, x + 208, y + 3, 7, 8, 1);
      Fill(200, 200, 0, 255, x + 217, y + 3, 7, 8, 1);
      break;
    case DBPLAYER_CARD_SENT_OFF: Fill(200, 0, 0, 255, x + 217, y + 3, 7, 8, 1); break;
    case DBPLAYER_CARD_SENT_OFF_BOOKED:
      Fill(200, 200, 0, 255, x + 208, y + 3, 7, 8, 1);
      Fill(200, 0, 0, 255, x + 217, y + 3, 7, 8, 1);
      break;
    default: break;
  }
}

void RowDraw(const ListControl* poList, std::int32_t iEntry, const TacticsSide* ps, std::int32_t x, std::int32_t y,
             bool bHighlight, const DBPlayer* p) {
  const ListControlItem& it = poList->aoItems[iEntry];
  Grey(200);
  if (it.iKind == 0) {
    PrintLeft(it.szText, x + 76, y + 4);
    Sprite("Blackbar", x, y);
    return;
  }
  if (!p) return;
  PrintCentred(formation_PositionStrGet(it.iValue), x + 18, y + 4);
  if (it.iValue2 != 0) {
    char sz[12];
    std::snprintf(sz, sizeof(sz), "%d", it.iValue2);
    PrintCentred(sz, x + 54, y + 4);
  }
  PrintLeft(it.szText, x + 79, y + 4);
  if (p == ps->poFirstChosen) mtatdisp_FrameDraw2(200, 200, 0, SX(x), SY(y), SX(236 - 4), SY(kRowHeight - 4));
  if (bHighlight) mtatdisp_FrameDraw1(200, 200, 0, SX(x), SY(y), SX(236 - 8), SY(kRowHeight - 4));
  const std::int32_t iFirst = dbplayer_FirstPositionGet(p);
  const std::int32_t iSecond = dbplayer_PositionGet(p, 1);
  Sprite(kMarkers[PositionColour(it.iValue)], x, y);
  Sprite("Number", x + 36, y);
  Sprite(kLeftBadges[PositionColour(iFirst)], x + 69, y);
  Sprite(kRightBadges[PositionColour(iSecond >= 0 && iSecond <= 9 ? iSecond : iFirst)], x + 147, y);
  Marks(p, x, y);
}

}  // namespace

std::int32_t mtatdisp_PositionColour(std::int32_t iCode) {
  static const std::int8_t kColours[25] = {0, 1, 1, 2, 2, 3, 1, 1, 1, 2, 2, 2, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 1};
  return iCode >= 0 && iCode < 25 ? kColours[iCode] : 1;
}

std::int32_t mtatdisp_BarLength(std::int32_t iSkill) {
  // A skill below 30 would wrap to a full bar: it draws an empty one.
  if (iSkill <= 30) return 0;
  const std::int32_t v = iSkill - 30 > 70 ? 70 : iSkill - 30;
  return v * 200 / 70;
}

void mtatdisp_FrameDraw1(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::int32_t x, std::int32_t y, std::int32_t w,
                         std::int32_t h) {
  draw2d_FillColourSet(r, g, b, 255);
  draw2d_RectFill(x - 1, y - 1, w, 1, 1);
  draw2d_RectFill(x - 1, y + h, w, 1, 1);
  draw2d_RectFill(x - 1, y - 1, 1, h + 2, 1);
  draw2d_RectFill(x + w - 1, y - 1, 1, h + 2, 1);
}

void mtatdisp_FrameDraw2(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::int32_t x, std::int32_t y, std::int32_t w,
                         std::int32_t h) {
  draw2d_FillColourSet(r, g, b, 255);
  draw2d_RectFill(x - 2, y - 2, w + 2, 2, 1);
  draw2d_RectFill(x - 2, y + h, w + 2, 2, 1);
  draw2d_RectFill(x - 2, y - 2, 2, h + 2, 1);
  draw2d_RectFill(x + w - 2, y - 2, 2, h + 2, 1);
}

void mtatdisp_PanelFrameDraw(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  draw2d_FillColourSet(200, 200, 0, 255);
  draw2d_RectFill(x - 1, y - 1, w + 2, 1, 1);
  draw2d_RectFill(x - 1, y + h + 1, w + 3, 1, 1);
  draw2d_RectFill(x - 1, y - 1, 1, h + 2, 1);
  draw2d_RectFill(x + w + 1, y - 1, 1, h + 2, 1);
}

void mtatdisp_Enter() {
  mhelp_HelpShownClear();
  pcfmv_Stop();
  mtatics_bNeedsEnter = 0;
  mtatics_bHomeComplete = mtatics_bAwayComplete = 0;
  const std::int32_t eExt = Extended();
  const bool bHistory = eExt == 51 || eExt == 71 || eExt == GAME_MODE_HISTORY_SQUAD;
  User* poHome = global_poGetHomeUser();
  User* poAway = global_poGetAwayUser();
  if (eExt == 71) mtatdisp_Players = &mteam_aoSides[1];
  else if (eExt == 51 || eExt == GAME_MODE_HISTORY_SQUAD || (poHome && poAway) || !poAway) mtatdisp_Players = &mteam_aoSides[0];
  else mtatdisp_Players = &mteam_aoSides[1];
  if (eExt == 71 || eExt == 51) QDX_ASSERT(mtatdisp_Players->poTeamPlayerTeam && "mtatdisp_Players->poTeamPlayerTeam");
  mregion_Reset();
  mregion_LayoutAdd(mtatdisp_aoLayout, MTATDISP_LAYOUT_RECORDS, kSheet);
  pcfe_ScreenSet(kSheet);
  // The binding set stays the active one: the front end keeps no saved
  // binding state to restore over it.
  for (User& u : user_aUsers) {
    if (u.bActive != 1 || !u.pip) continue;
    input_EventQueueFlush(&u.pip->oEvents);
    input_PortBindingSet(bHistory ? 43 : 17, u.pip);
  }
  if (bHistory && global_poGetMenuUser() && global_poGetMenuUser()->pip)
    input_PortBindingSet(17, global_poGetMenuUser()->pip);
  mtatics_bOneSheet = !(poHome && poAway);
  MatchTeam* apoTeams[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
  for (std::int32_t k = 0; k < 2; k++) {
    TacticsSide* ps = &mteam_aoSides[k];
    if (!bHistory) {
      ps->iCursorItem = MTATICS_LIST;
      ps->iSubIndex = ps->iHighlightedPlayer = ps->iCleared1 = 0;
      ps->aiCleared2[0] = ps->aiCleared2[1] = 0;
      ps->aiCleared3[0] = ps->aiCleared3[1] = ps->aiCleared3[2] = 0;
      ps->poFirstChosen = ps->poSecondChosen = ps->playerOption = nullptr;
      ps->bListSetUp = 0;
      ps->poTeamPlayerTeam = apoTeams[k];
      ps->iHighlightedFormation = ps->iCurrentFormation = team_FormationGet(apoTeams[k]);
    } else if (ps->poTeamPlayerTeam) {
      team_SuspensionsApply(ps->poTeamPlayerTeam);
    }
  }
  const std::int32_t cEdited = bHistory ? 1 : 2;
  for (std::int32_t k = 0; k < cEdited; k++) {
    TacticsSide* ps = bHistory ? mtatdisp_Players : &mteam_aoSides[k];
    ps->bAttributePanel = 0;
    ps->poFirstChosen = ps->poSecondChosen = nullptr;
    ps->iHighlightedPlayer = 0;
  }
  for (std::int32_t k = 0; k < 2; k++) {
    TacticsSide* ps = &mteam_aoSides[k];
    if (ps->iHighlightedFormation < 0 || ps->iHighlightedFormation >= MTATICS_FORMATION_COUNT) ps->iHighlightedFormation = 0;
    ps->iFormationFirst = ps->iHighlightedFormation - 3 < 0 ? 0 : ps->iHighlightedFormation - 3;
    ps->iFormationLast = ps->iFormationFirst + 6;
    if (ps->iFormationLast >= MTATICS_FORMATION_COUNT) {
      ps->iFormationLast = MTATICS_FORMATION_COUNT - 1;
      ps->iFormationFirst = MTATICS_FORMATION_COUNT - 7;
    }
  }
  mfhsquad_CursorReset();
  mtatdisp_Players->bListSetUp = 0;
  pcfmv_PlayById(formation_TableGet(6));  // the sheet's film entry: none is made
}

void mtatdisp_ListFill(ListControl* poList, TacticsSide* ps) {
  MatchTeam* t = ps->poTeamPlayerTeam;
  if (!t) return;
  const std::int32_t cLimit = Extended() == 51 ? 22 : 36;
  const std::int32_t b = team_BenchCount(t), r = team_ReserveCount(t);
  std::int32_t n = 0, cPlayers = 0;
  auto add = [&](std::int32_t iKind, const char* psz, std::int32_t v, std::int32_t v2, std::int32_t sel) {
    if (n >= LISTCTRL_ENTRIES_MAX) return;
    if (n >= poList->cNumListItems) poList->cNumListItems = n + 1;
    listctrl_ItemSet(poList, iKind, psz, v, v2, n);
    poList->aiSelect[n++] = sel;
  };
  auto player = [&](DBPlayer* p, bool bStarter) {
    QDX_ASSERT(p && "MyDBPlayer != NULL");
    if (!p || cPlayers >= cLimit) return;
    const std::int32_t v = bStarter ? dbplayer_CurrentPositionGet(p) : dbplayer_FirstPositionGet(p);
    add(1, dbplayer_NameGet(p), v, static_cast<std::int32_t>(dbplayer_Field88Get(p)), cPlayers++);
  };
  DBPlayer* p = t->poPitchList;
  for (std::int32_t i = 0; i < 11 && p; i++, p = p->poNext) player(p, true);
  if (b > 0) {
    add(0, festr_IDToStr(IDS_FE_SUBS), 0, -1, LISTCTRL_SKIP);
    for (p = t->poBenchList; p; p = p->poNext) player(p, false);
  }
  if (r > 0 && 11 + b < cLimit) {
    add(0, festr_IDToStr(IDS_FE_SQUAD), 0, -1, LISTCTRL_SKIP);
    for (p = t->poReserveList; p; p = p->poNext) player(p, false);
  }
  poList->cNumListItems = n;
  if (poList->iBottom >= n) {
    poList->iBottom = n - 1;
    poList->iTop = n - poList->cVisibleRows < 0 ? 0 : n - poList->cVisibleRows;
  }
}

void mtatdisp_RowsDraw(TacticsSide* ps) {
  ListControl* l = &ps->oList;
  const std::int32_t x = ListX(ps);
  const std::int32_t cBench = ps->poTeamPlayerTeam ? team_BenchCount(ps->poTeamPlayerTeam) : 0;
  for (std::int32_t e = l->iTop; e <= l->iBottom && e < l->cNumListItems; e++) {
    const std::int32_t y = kFirstRowY + kRowHeight * (e - l->iTop);
    const std::int32_t sel = l->aiSelect[e];
    bool bHighlight = false;
    if (sel >= 0 && sel == ps->iHighlightedPlayer) {
      const std::int32_t id = sel < 11 ? IDS_FE_TEAM : (sel < 11 + cBench ? IDS_FE_SUBS : IDS_FE_SQUAD);
      Grey(ps->iCursorItem == MTATICS_LIST ? 250 : 160);
      ShadowCentred(festr_IDToStr(id), x + 114, 33);
      bHighlight = ps->iCursorItem == MTATICS_LIST;
    }
    RowDraw(l, e, ps, x, y, bHighlight, sel >= 0 ? mtatics_PlayerAt(ps->poTeamPlayerTeam, sel) : nullptr);
  }
}

void mtatdisp_AttributeBarDraw(std::int32_t iRow, std::int32_t x, std::int32_t iSkill, const char* pszLabel,
                               std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  const std::int32_t y = 60 + 12 * iRow;
  const std::int32_t L = mtatdisp_BarLength(iSkill);
  Fill(r, g, b, 255, x + 15, y, L, 10, 2);
  Fill(r / 2, g / 2, b / 2, 128, x + 15 + L - 3, y, 200 - L, 10, 2);
  Grey(180);
  PrintLeft(pszLabel, x + 18, y + 1);
}

void mtatdisp_AttributePanelDraw(TacticsSide* ps, std::int32_t bRight) {
  const std::int32_t x = bRight ? 260 : 25;
  const ListControl* l = &ps->oList;
  const char* pszName = l->iCursor >= 0 && l->iCursor < l->cNumListItems ? l->aoItems[l->iCursor].szText : "";
  Grey(ps->iCursorItem == MTATICS_LIST ? 250 : 160);
  ShadowCentred(pszName, bRight ? 365 : 130, 33);
  mtatdisp_AttributesDraw(ps->poTeamPlayerTeam ? team_PlayerFindByName(ps->poTeamPlayerTeam, pszName) : nullptr, x);
}

void mtatdisp_AttributesDraw(const DBPlayer* p, std::int32_t x) {
  Fill(32, 32, 32, 128, x + 5, 55, 216, 126, 3);
  if (!p) return;
  if (dbplayer_FirstPositionGet(p) == 0) {
    const std::int32_t aiSkills[4] = {p->uDiving, p->uHandling, p->uReactions, p->uJudgement};
    for (std::int32_t i = 0; i < 4; i++)
      mtatdisp_AttributeBarDraw(3 + i, x, aiSkills[i], glstr_IDToStr(IDS_GLOBAL_SKILL_DIVING + i), 0, 150, 0);
    return;
  }
  struct Bar {
    std::int32_t iText, iSkill;
    std::uint8_t r, g, b;
  };
  const Bar aoBars[10] = {{37, p->uSpeed, 150, 0, 0},      {38, p->iStamina, 130, 0, 15},  {40, p->uAccuracy, 112, 0, 30},
                          {41, p->uPower, 90, 0, 45},      {42, p->iHeading, 75, 0, 60},   {43, p->uPassing, 60, 0, 75},
                          {44, p->uControl, 45, 0, 90},    {45, p->uCreativity, 30, 0, 112}, {46, p->uAwareness, 15, 0, 130},
                          {47, p->uTackling, 0, 0, 150}};
  for (std::int32_t i = 0; i < 10; i++)
    mtatdisp_AttributeBarDraw(i, x, aoBars[i].iSkill, glstr_IDToStr(aoBars[i].iText), aoBars[i].r, aoBars[i].g,
                              aoBars[i].b);
}

void mtatdisp_CompleteDraw(std::int32_t bHomeComplete, std::int32_t bAwayComplete) {
  pctext_FontSet(2);
  const char* psz = festr_IDToStr(IDS_FE_COMPLETE);
  const std::int32_t w = pctext_WidthGet(psz);
  for (std::int32_t k = 0; k < 2; k++) {
    if (!(k == 0 ? bHomeComplete : bAwayComplete)) continue;
    const std::int32_t cx = k == 0 ? 128 : 384;
    draw2d_FillColourSet(10, 10, 10, 255);
    draw2d_RectFill(SX(cx - 5) - w / 2, SY(95), w + 10, SY(21), 2);
    Yellow();
    ShadowCentred(psz, cx, 100);
  }
  pctext_FontSet(1);
}

void mtatdisp_SquadSideDraw(TacticsSide* ps, std::int32_t iSideNumber, std::int32_t bRight) {
  (void)iSideNumber;
  pctext_FontSet(1);
  mtatdisp_ListFill(&ps->oList, ps);
  mtatdisp_CompleteDraw(mtatics_bHomeComplete, mtatics_bAwayComplete);
  if (ps->bAttributePanel) mtatdisp_AttributePanelDraw(ps, bRight);
  else mtatdisp_RowsDraw(ps);
}

void mtatdisp_FormationListDraw(TacticsSide* ps, std::int32_t bRight) {
  pctext_FontSet(1);
  const std::int32_t x = bRight ? 440 : 75, xFrame = bRight ? 391 : 26, xHeading = bRight ? 372 : 132;
  const bool bView = Extended() == 71;
  for (std::int32_t f = ps->iFormationFirst; f <= ps->iFormationLast; f++) {
    const std::int32_t y = 56 + kRowHeight * (f - ps->iFormationFirst);
    Grey(160);
    if (f == ps->iCurrentFormation) Yellow();
    if (f == ps->iHighlightedFormation && !bView) {
      Grey(250);
      if (ps->iCursorItem == MTATICS_FORMATIONS) mtatdisp_PanelFrameDraw(SX(xFrame), SY(y - 2), SX(92), SY(13));
    }
    PrintCentred(glstr_IDToStr(IDS_GLOBAL_FORMATION_5131 + f), x, y + 1);
  }
  Grey(ps->iCursorItem == MTATICS_FORMATIONS ? 250 : 160);
  ShadowCentred(festr_IDToStr(IDS_FE_FORMATION), xHeading, 33);
}

void mtatdisp_PitchMarkersDraw(TacticsSide* ps, std::int32_t bRight) {
  const MatchTeam* t = ps->poTeamPlayerTeam;
  if (!t) return;
  std::int32_t i = 0;
  for (const DBPlayer* p = t->poPitchList; p && i < 11; p = p->poNext, i++) {
    if (!p->poSlot) continue;
    const bool bHighlighted = i == ps->iHighlightedPlayer;
    const char* pszSprite = (bHighlighted != (bRight != 0)) ? "upred" : "upyel";
    Sprite(pszSprite, 12 * p->poSlot->iColumn + (bRight ? 253 : 120), 12 * p->poSlot->iRow + 63);
  }
}

void mtatdisp_TacticsSideDraw(TacticsSide* ps, std::int32_t iSideNumber, std::int32_t bRight) {
  (void)iSideNumber;
  pctext_FontSet(0);
  const std::int32_t iPitch = mregion_FindByName("pitchr"), iTitle = mregion_FindByName("title");
  const std::int32_t yTitle = mregion_YGet(iTitle) * 240 / 480;
  if (bRight) mregion_DrawByName("pitchr");
  else mregion_DrawAtByName("pitchr", SX(127), mregion_YGet(iPitch));
  for (std::int32_t k = 0; k < 7; k++) Sprite("title", bRight ? 390 : 25, yTitle + kRowHeight * k);
  Grey(200);
  mtatdisp_FormationListDraw(ps, bRight);
  mtatdisp_PitchMarkersDraw(ps, bRight);
  mtatdisp_CompleteDraw(mtatics_bHomeComplete, mtatics_bAwayComplete);
}

void mtatdisp_OneSheetDraw() {
  Sprite("header", 25, mregion_YGet(mregion_FindByName("header")) * 240 / 480);
  Sprite("header", 260, mregion_YGet(mregion_FindByName("header")) * 240 / 480);
  TacticsSide* ps = mtatdisp_Players;
  const bool bLeft = IsLeftSheet();
  QDX_ASSERT(ps->poTeamPlayerTeam && "ptPlayer->poTeamPlayerTeam != NULL");
  if (!ps->poTeamPlayerTeam) return;
  ListSetUp(ps, bLeft ? 25 : 260, Extended() == 51 ? 24 : LISTCTRL_ENTRIES_MAX);
  const std::int32_t iNumber = ps == &mteam_aoSides[1] ? 1 : 0;
  mtatdisp_TacticsSideDraw(ps, iNumber, bLeft ? 1 : 0);
  mtatdisp_SquadSideDraw(ps, iNumber, bLeft ? 0 : 1);
}

void mtatdisp_TwoSheetsDraw() {
  Sprite("header", 25, mregion_YGet(mregion_FindByName("header")) * 240 / 480);
  Sprite("header", 260, mregion_YGet(mregion_FindByName("header")) * 240 / 480);
  for (std::int32_t k = 0; k < 2; k++) {
    TacticsSide* ps = &mteam_aoSides[k];
    if (!ps->poTeamPlayerTeam) continue;
    ListSetUp(ps, k == 0 ? 25 : 260, LISTCTRL_ENTRIES_MAX);
    if (ps->iCursorItem == MTATICS_LIST) mtatdisp_SquadSideDraw(ps, k, k);
    else if (ps->iCursorItem == MTATICS_FORMATIONS) mtatdisp_TacticsSideDraw(ps, k, k);
    else QDX_ASSERT(0);
  }
}

std::int32_t mtatdisp_BarNameRoom() {
  const FrontEndLayoutRecord& bar = mtatdisp_BarRecord();
  const std::int32_t x0 = pcfe_ScaleX640(static_cast<std::int16_t>(bar.x + MTATDISP_BAR_NAME_MARGIN));
  const std::int32_t x1 = pcfe_ScaleX640(static_cast<std::int16_t>(bar.x + bar.w - MTATDISP_BAR_NAME_MARGIN));
  const std::int32_t iLeft = SX(MTATDISP_BAR_NAME_X[0]) - x0, iRight = x1 - SX(MTATDISP_BAR_NAME_X[1]);
  return 2 * (iLeft < iRight ? iLeft : iRight);
}

void mtatdisp_MatchHeaderDraw() {
  const Squad* apSquads[2] = {match_HomeTeamGet()->Squad, match_AwayTeamGet()->Squad};
  pctext_FontSet(1);
  Grey(250);
  for (std::int32_t k = 0; k < 2; k++)
    if (apSquads[k]) BarNameDraw(apSquads[k]->iTeamId, k);
  pctext_FontSet(0);
  for (std::int32_t k = 0; k < 2; k++)
    if (apSquads[k]) PrintCentred(zone_YearToStr(apSquads[k]->iEdition, 0), k == 0 ? 216 : 296, 197);
  pctext_FontSet(1);
  mregion_DrawByName("box");
}

void mtatdisp_HistoryHeaderDraw() {
  const std::int32_t i = tmglobal_CurrentHumanGet();
  const std::uint32_t Human = i >= 0 && i < TM_HUMAN_MAX ? tmglobal.aHumans[i].Name : 0;
  Round* r = nullptr;
  Fixture* f = nullptr;
  pctext_FontSet(1);
  Grey(200);
  // The human team and its next opponent, once that opponent is known.
  if (Human && history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human, &r, &f)) {
    const std::uint32_t A = history_FixtureTeamA(r, f);
    const std::uint32_t Opponent = A == Human ? history_FixtureTeamB(r, f) : A;
    if (tmteam_IsProperName(Opponent)) {
      BarNameDraw(static_cast<std::int32_t>(Human), 0);
      BarNameDraw(static_cast<std::int32_t>(Opponent), 1);
    }
  }
  pctext_FontSet(0);
  mregion_DrawByName("box");
}

void mtatdisp_Draw() {
  switch (Extended()) {
    case GAME_MODE_START_FRIENDLY:
    case 74:
      if (mtatics_bOneSheet) mtatdisp_OneSheetDraw();
      else mtatdisp_TwoSheetsDraw();
      mregion_DrawAll();
      mtatdisp_MatchHeaderDraw();
      break;
    case 51:
    case 71:
      mtatdisp_OneSheetDraw();
      mtatdisp_HistoryHeaderDraw();
      break;
    case GAME_MODE_HISTORY_SQUAD: mfhsquad_Draw(); break;
    default: break;
  }
  mhelp_ScreenHook();
  pctext_FontSet(1);
}
