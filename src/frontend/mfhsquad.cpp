// The history squad pages: the pool of the human team's players in two lists
// where a reserve can be swapped into the squad, and the page of the two
// buttons that leads back to the hub.
#include "frontend/mfhsquad.h"

#include <cstdio>

#include "audio/audio_services.h"
#include "engine/cpuman.h"
#include "engine/team.h"
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "frontend/mtatics.h"
#include "shell/debuglog.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "tournament/dbplayer.h"
#include "tournament/squad.h"
#include "tournament/tla.h"

MFHSquadScreen mfhsquad_oScreen = {};

namespace {

constexpr std::int32_t kFirstRowY = 40;
constexpr std::int32_t kRowHeight = 19;
constexpr std::int32_t kRowWidth = 236;
constexpr std::int32_t kButtonY = 197;
constexpr std::int32_t kButtonX[2] = {160, 380};
constexpr std::int32_t kHubMode = 47;

const char* const kMarkers[4] = {"GreenS", "BlueS", "PurpleS", "RedS"};
const char* const kBarLeft[4] = {"gl_1", "bl_1", "pl_1", "rl_1"};
const char* const kBarRight[4] = {"gr_1", "br_1", "pr_1", "rr_1"};

std::int32_t SX(std::int32_t x) { return pcfe_ScaleX(static_cast<std::int16_t>(x)); }
std::int32_t SY(std::int32_t y) { return pcfe_ScaleY(static_cast<std::int16_t>(y)); }
void Grey(std::uint8_t v) { draw2d_TextColourSet(v, v, v, 255); }
void Sprite(const char* pszName, std::int32_t x, std::int32_t y) { mregion_DrawAtByName(pszName, SX(x), SY(y)); }

std::int32_t& Page(TacticsSide* ps) {
  if (ps->iPage != MFHSQUAD_PAGE_LISTS && ps->iPage != MFHSQUAD_PAGE_BUTTONS) ps->iPage = MFHSQUAD_PAGE_BUTTONS;
  return ps->iPage;
}

std::int32_t Count(std::int32_t iList) { return mfhsquad_oScreen.aoLists[iList].cNumListItems; }

// The top row both lists show.
std::int32_t Top() { return mfhsquad_oScreen.aoLists[0].iTop; }
void TopSet(std::int32_t iTop) {
  for (ListControl& l : mfhsquad_oScreen.aoLists) {
    l.iTop = iTop;
    l.iBottom = iTop + MFHSQUAD_VISIBLE_ROWS - 1;
  }
}

// The cursor kept inside its list (a refill may shorten it) and the window
// over the cursor.
void CursorFit(TacticsSide* ps) {
  const std::int32_t c = Count(ps->iCursorList);
  if (ps->iCursorRow >= c) ps->iCursorRow = c > 0 ? c - 1 : 0;
  if (ps->iCursorRow < Top()) TopSet(ps->iCursorRow);
  if (ps->iCursorRow > Top() + MFHSQUAD_VISIBLE_ROWS - 1) TopSet(ps->iCursorRow - MFHSQUAD_VISIBLE_ROWS + 1);
  for (ListControl& l : mfhsquad_oScreen.aoLists) l.iCursor = ps->iCursorRow;
}

void MarkClear(TacticsSide* ps) {
  ps->iMarkedRow = -1;
  ps->iMarkedList = 0;
  ps->MySub1DBPlayer = ps->MySub2DBPlayer = nullptr;
}

std::int32_t* CompleteFlag(const TacticsSide* ps) {
  return ps == &mteam_aoSides[1] ? &mtatics_bAwayComplete : &mtatics_bHomeComplete;
}

void DetailOpen(TacticsSide* ps, MatchTeam* poTeam) {
  ps->bDetailPanel = 1;
  ps->poDetailPlayer = mfhsquad_PlayerFind(poTeam);
  if (!ps->poDetailPlayer && poTeam) ps->poDetailPlayer = poTeam->poPitchList;
}

// Left (iToward 0) or right (1): from the other list back to this one, closing
// the detail panel first; within this list the detail panel opens in place of
// the other list. Only on a row this list has.
void Sideways(TacticsSide* ps, MatchTeam* poTeam, std::int32_t iToward) {
  if (ps->iCursorRow >= Count(iToward)) return;
  sfx_Play(0);
  if (ps->iCursorList != iToward) {
    if (ps->bDetailPanel) ps->bDetailPanel = 0;
    else ps->iCursorList = iToward;
  } else {
    DetailOpen(ps, poTeam);
  }
}

void RowDraw(const ListControl& l, std::int32_t iEntry, std::int32_t x, std::int32_t y, bool bCursor, bool bMarked) {
  const ListControlItem& it = l.aoItems[iEntry];
  const std::int32_t iColour = mtatdisp_PositionColour(it.iValue);
  Grey(200);
  pctext_PrintCentred(formation_PositionStrGet(it.iValue), SX(x + 18), SY(y + 4), 1);
  if (it.iValue2 != 0) {
    char sz[12];
    std::snprintf(sz, sizeof sz, "%d", it.iValue2);
    pctext_PrintCentred(sz, SX(x + 48), SY(y + 4), 1);
  }
  pctext_PrintLeft(it.szText, SX(x + 79), SY(y + 4), 1);
  if (bMarked) mtatdisp_FrameDraw2(200, 200, 0, SX(x), SY(y), SX(kRowWidth - 4), SY(kRowHeight - 4));
  if (bCursor) mtatdisp_FrameDraw1(200, 200, 0, SX(x), SY(y), SX(kRowWidth - 8), SY(kRowHeight - 4));
  Sprite(kMarkers[iColour], x, y);
  if (it.iValue2 != 0) {
    for (std::int32_t k = 0; k < 2; k++) {
      Sprite(kBarLeft[iColour], x + 60 + 80 * k, y);
      Sprite(kBarRight[iColour], x + 124 + 80 * k, y);
    }
  } else {
    draw2d_FillColourSet(40, 40, 40, 255);
    for (std::int32_t k = 0; k < 2; k++) draw2d_RectFill(SX(x + 60 + 80 * k), SY(y), SX(78), SY(15), 2);
  }
}

void ListDraw(const TacticsSide* ps, std::int32_t iList) {
  const ListControl& l = mfhsquad_oScreen.aoLists[iList];
  const std::int32_t x = MFHSQUAD_LIST_X[iList];
  const bool bLists = ps->iPage == MFHSQUAD_PAGE_LISTS;
  // Each list shows only the rows it has: the two are not always as long.
  for (std::int32_t e = l.iTop; e <= l.iBottom && e < l.cNumListItems; e++) {
    const bool bCursor = bLists && ps->iCursorList == iList && ps->iCursorRow == e;
    const bool bMarked = ps->iMarkedRow == e && ps->iMarkedList == iList;
    RowDraw(l, e, x, kFirstRowY + kRowHeight * (e - l.iTop), bCursor, bMarked);
  }
}

void DetailDraw(const TacticsSide* ps, std::int32_t iList) {
  const std::int32_t x = MFHSQUAD_LIST_X[iList];
  const DBPlayer* p = ps->poDetailPlayer;
  Grey(250);
  if (p) draw2d_TextShadowDraw(dbplayer_NameGet(p), SX(x + 105), SY(24));
  mtatdisp_AttributesDraw(p, x);
}

}  // namespace

std::int32_t mfhsquad_ListOfRow(std::int32_t iRow) {
  if (iRow < 11) return 0;
  if (iRow < 22) return 1;
  return (iRow - 22) % 2;
}

TacticsSide* mfhsquad_SideOf(const MatchTeam* poTeam) {
  for (TacticsSide& s : mteam_aoSides)
    if (poTeam && s.poTeamPlayerTeam == poTeam) return &s;
  return mtatdisp_Players;
}

void mfhsquad_Reset() {
  mfhsquad_oScreen.bDrawn = 0;
  for (TacticsSide& s : mteam_aoSides) s.iSquadButton = 0;
}

void mfhsquad_CursorReset() {
  TacticsSide* ps = mtatdisp_Players;
  ps->iCursorRow = 0;
  ps->iCursorList = 0;
  // The lists are filled again at each visit: the team sheet of the hub's
  // "Team" may have rearranged the squad in between.
  mfhsquad_oScreen.bDrawn = 0;
}

void mfhsquad_Run() {}

void mfhsquad_RowsFill(MatchTeam* poTeam) {
  MFHSquadScreen& s = mfhsquad_oScreen;
  for (std::int32_t k = 0; k < 2; k++) {
    const std::int32_t iTop = s.aoLists[k].iTop;
    listctrl_Init(&s.aoLists[k], MFHSQUAD_VISIBLE_ROWS, LISTCTRL_ENTRIES_MAX, SX(kRowWidth), SY(kRowHeight * 8),
                  SX(MFHSQUAD_LIST_X[k]), SY(kFirstRowY), SY(kRowHeight));
    s.aoLists[k].cNumListItems = 0;
    s.aoLists[k].iTop = iTop;
  }
  s.cRows = 0;
  if (!poTeam) return;
  auto add = [&](const DBPlayer* p, bool bStarter) {
    if (s.cRows >= MFHSQUAD_ROWS_MAX) return;  // the pool stops at 36
    ListControl& l = s.aoLists[mfhsquad_ListOfRow(s.cRows)];
    const std::int32_t n = l.cNumListItems++;
    const std::int32_t iPosition = bStarter ? dbplayer_CurrentPositionGet(p) : dbplayer_FirstPositionGet(p);
    listctrl_ItemSet(&l, 1, dbplayer_NameGet(p), iPosition, static_cast<std::int32_t>(dbplayer_Field88Get(p)), n);
    l.aiSelect[n] = s.cRows++;
  };
  std::int32_t i = 0;
  for (const DBPlayer* p = poTeam->poPitchList; p && i < 11; p = p->poNext, i++) add(p, true);
  for (const DBPlayer* p = poTeam->poBenchList; p; p = p->poNext) add(p, false);
  for (const DBPlayer* p = poTeam->poReserveList; p; p = p->poNext) add(p, false);
  TopSet(Top());
  CursorFit(mfhsquad_SideOf(poTeam));
}

DBPlayer* mfhsquad_PlayerFind(MatchTeam* poTeam) {
  const TacticsSide* ps = mfhsquad_SideOf(poTeam);
  const ListControl& l = mfhsquad_oScreen.aoLists[ps->iCursorList & 1];
  DBPlayer* p = nullptr;
  if (poTeam && ps->iCursorRow >= 0 && ps->iCursorRow < l.cNumListItems)
    p = team_PlayerFindByName(poTeam, l.aoItems[ps->iCursorRow].szText);
  QDX_ASSERT(p && "mfhsquad_PlayerFind");
  return p;
}

std::int32_t mfhsquad_Swap(MatchTeam* poTeam) {
  TacticsSide* ps = mfhsquad_SideOf(poTeam);
  QDX_ASSERT(ps->MySub1DBPlayer && "ptPlayer->MySub1DBPlayer");
  QDX_ASSERT(ps->MySub2DBPlayer && "ptPlayer->MySub2DBPlayer");
  if (!poTeam || !ps->MySub1DBPlayer || !ps->MySub2DBPlayer) return 0;
  // A player exchanged with himself leaves the squad as it is.
  if (ps->MySub1DBPlayer == ps->MySub2DBPlayer) return 1;
  if (!team_PlayersSwap(poTeam, ps->MySub1DBPlayer, ps->MySub2DBPlayer, 0)) return 0;
  debuglog_Printf("squad pages: %s and %s change places\n", dbplayer_NameGet(ps->MySub1DBPlayer),
                  dbplayer_NameGet(ps->MySub2DBPlayer));
  return 1;
}

void mfhsquad_Move(MatchTeam* poTeam, std::int32_t eDirection) {
  TacticsSide* ps = mfhsquad_SideOf(poTeam);
  if (Page(ps) == MFHSQUAD_PAGE_BUTTONS) {
    const std::int32_t iButton = eDirection == 10 ? 0 : eDirection == 11 ? 1 : ps->iSquadButton;
    if (iButton != ps->iSquadButton) sfx_Play(0);
    ps->iSquadButton = iButton;
    return;
  }
  switch (eDirection) {
    case 8:
      if (ps->iCursorRow <= 0) return;
      ps->iCursorRow--;
      break;
    case 9:
      if (ps->iCursorRow >= Count(ps->iCursorList) - 1) return;
      ps->iCursorRow++;
      break;
    case 10:
    case 11:
      if (*CompleteFlag(ps)) return;  // the team sheet's edit lock
      Sideways(ps, poTeam, eDirection == 10 ? 0 : 1);
      CursorFit(ps);
      return;
    default: return;
  }
  sfx_Play(0);
  CursorFit(ps);
  if (ps->bDetailPanel) ps->poDetailPlayer = mfhsquad_PlayerFind(poTeam);
}

void mfhsquad_Select(MatchTeam* poTeam, std::int32_t* peNext) {
  TacticsSide* ps = mfhsquad_SideOf(poTeam);
  if (Page(ps) == MFHSQUAD_PAGE_BUTTONS) {
    sfx_Play(1);
    if (ps->iSquadButton == 0) {
      ps->iPage = MFHSQUAD_PAGE_LISTS;
      return;
    }
    mfhmain_bYearLoaded = 1;  // the hub takes up the year's state again
    debuglog_Printf("squad pages: back to the hub\n");
    global_SetExtendedGameMode(static_cast<GameMode>(kHubMode));
    *peNext = kHubMode;
    return;
  }
  DBPlayer* p = mfhsquad_PlayerFind(poTeam);
  if (!p) return;
  if (ps->iMarkedRow < 0) {
    sfx_Play(1);
    ps->MySub1DBPlayer = p;
    ps->iMarkedRow = ps->iCursorRow;
    ps->iMarkedList = ps->iCursorList;
    return;
  }
  ps->MySub2DBPlayer = p;
  sfx_Play(mfhsquad_Swap(poTeam) ? 1 : 3);
  MarkClear(ps);
  mfhsquad_RowsFill(poTeam);
  team_FormationSave(poTeam);
  if (ps->bDetailPanel) ps->poDetailPlayer = mfhsquad_PlayerFind(poTeam);
}

void mfhsquad_Back(MatchTeam* poTeam, std::int32_t* peNext) {
  TacticsSide* ps = mfhsquad_SideOf(poTeam);
  if (Page(ps) == MFHSQUAD_PAGE_LISTS) ps->iPage = MFHSQUAD_PAGE_BUTTONS;
  else *peNext = kHubMode;
}

void mfhsquad_Draw() {
  TacticsSide* ps = mtatdisp_Players;
  MatchTeam* t = ps->poTeamPlayerTeam;
  if (!t) return;
  MFHSquadScreen& s = mfhsquad_oScreen;
  if (!s.bDrawn) {
    TopSet(0);
    mfhsquad_RowsFill(t);
    MarkClear(ps);
    s.bDrawn = 1;
  }
  const bool bButtons = Page(ps) == MFHSQUAD_PAGE_BUTTONS;
  pctext_FontSet(1);
  // The header: the team's name over the left list, "Squad" over the right.
  mregion_DrawByName("opbar");
  Grey(250);
  if (t->Squad) draw2d_TextShadowDraw(tla_DisplayNameGet(t->Squad->iTeamId), SX(130), SY(24));
  draw2d_TextShadowDraw(festr_IDToStr(IDS_FE_SQUAD), SX(365), SY(24));
  mregion_DrawByName("csquadbar");
  const std::int32_t aiTexts[2] = {IDS_FE_HIST_CHANGE_SQUAD, IDS_FE_EXIT};
  for (std::int32_t k = 0; k < 2; k++) {
    if (bButtons && ps->iSquadButton == k) draw2d_TextColourSet(200, 200, 0, 255);
    else Grey(200);
    pctext_PrintCentred(festr_IDToStr(aiTexts[k]), SX(kButtonX[k]), SY(kButtonY), 1);
  }
  // The detail panel takes the place of the list the cursor is not in.
  for (std::int32_t k = 0; k < 2; k++) {
    if (ps->bDetailPanel && k != ps->iCursorList) DetailDraw(ps, k);
    else ListDraw(ps, k);
  }
}
