// Substitutions: the queue, the spare record's walk-on, the substitution
// menu and the bench.
#include "matchflow/subs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "engine/anim.h"
#include "engine/cpuman.h"
#include "engine/engine_services.h"
#include "engine/newgoalo.h"
#include "engine/spscript.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/caption.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "scene3d/scene3d_services.h"
#include "shell/draw2d.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/texts_data.h"
#include "shell/user.h"
#include "tournament/dbplayer.h"
#include "tournament/squad.h"

void mformation_Enter();

SubsState subs_oState;

namespace {

SubsState& s = subs_oState;

constexpr std::int32_t kBinding = 8;
enum : std::int32_t {
  kEventStart = 5,
  kEventSelect = 6,
  kEventBack = 7,
  kEventUp = 8,
  kEventDown = 9,
  kEventLeft = 10,
  kEventRight = 11,
  kEventDetails = 61,
};

MatchTeam* SideTeam(std::int32_t iSide) {
  return iSide == player_PlaysFor_Home ? match_HomeTeamGet() : match_AwayTeamGet();
}

// The side's Player record that carries the database player.
Player* RecordOf(MatchTeam* poTeam, const DBPlayer* poDb) {
  if (!poDb) return nullptr;
  for (Player* pp = poTeam->poPlayers; pp; pp = pp->pNext)
    if (pp->pDBPlayer == poDb && pp != &s.oSpare) return pp;
  return nullptr;
}

bool FreeOnBench(const DBPlayer* p) { return !dbplayer_SubstitutedGet(p) && !dbplayer_SuspendedGet(p); }

void BindSideUsers() {
  for (User& u : user_aUsers)
    if (u.bActive && u.pip && u.MyTeam != 0) input_PortBindingSet(kBinding, u.pip);
}

void RoleFromSlot(Player* pp, const FormationSlot* ps) {
  if (!ps) return;
  pp->PositionCode = ps->iPosition;
  roles_RoleSet(pp, ps->iPosition, ps->iRoleFlip);
}

// Index of a node in a list; -1 when absent.
std::int32_t IndexIn(const DBPlayer* poList, const DBPlayer* poNode) {
  std::int32_t i = 0;
  for (const DBPlayer* p = poList; p; p = p->poNext, i++)
    if (p == poNode) return i;
  return -1;
}

DBPlayer* At(DBPlayer* poList, std::int32_t i) {
  for (DBPlayer* p = poList; p; p = p->poNext, i--)
    if (i == 0) return p;
  return nullptr;
}

std::int32_t Count(const DBPlayer* poList) {
  std::int32_t n = 0;
  for (const DBPlayer* p = poList; p; p = p->poNext) n++;
  return n;
}

void RealSubstitution(MatchTeam* poTeam, Player* poOut, DBPlayer* poIn) {
  DBPlayer* poOutDb = poOut->pDBPlayer;
  // A booking waiting on the outgoing player is written now; a second
  // booking or a sending-off suspends him for the next match.
  if (poOut->iCardState == 1) {
    dbplayer_YellowCardAdd(poOutDb);
    const std::uint32_t c = dbplayer_CardStateGet(poOutDb);
    if (c == DBPLAYER_CARD_SENT_OFF || c == DBPLAYER_CARD_SENT_OFF_BOOKED || c == DBPLAYER_CARD_TWO_YELLOWS) {
      dbplayer_SuspendedSet(poOutDb, 1);
      dbplayer_SuspensionChangedSet(poOutDb, 1);
      dbplayer_InjuryDaySet(poOutDb, -1);
      dbplayer_InjuryMonthSet(poOutDb, 1);
    }
    poOut->iCardState = 0;
  }
  subs_QueueAdd(poOut, poIn);
  team_PlayersSwap(poTeam, poOutDb, poIn, 1);
  team_SubsAllowedSet(poTeam, team_SubsAllowedGet(poTeam) - 1);
}

const SubsEntry* FirstQueued() {
  for (const SubsEntry& e : s.aQueue)
    if (e.poOut && !e.bDone) return &e;
  return nullptr;
}

}  // namespace

// ---- Requests and queue -------------------------------------------------------------------

void subs_Reset() {
  s = SubsState{};
  for (MatchTeam* po : {match_HomeTeamGet(), match_AwayTeamGet()})
    if (po) po->SubRequest = 0;
}

std::int32_t subs_bIsPending() {
  const MatchTeam* h = match_HomeTeamGet();
  const MatchTeam* a = match_AwayTeamGet();
  return (h && h->SubRequest) || (a && a->SubRequest) ? 1 : 0;
}

void subs_RequestToggle(User* pusr) {
  if (!pusr || pusr->MyTeam == 0) return;
  MatchTeam* po = SideTeam(pusr->MyTeam);
  po->SubRequest = po->SubRequest ? 0 : 1;
}

std::int32_t subs_QueuedCount() { return s.cPending; }

std::int32_t subs_QueueAdd(Player* poOut, DBPlayer* poIn) {
  for (SubsEntry& e : s.aQueue) {
    if (e.poOut) continue;
    e = SubsEntry{poOut, poIn, 0};
    s.cPending++;
    return 1;
  }
  return 0;
}

std::int32_t subs_AvailableCount(const MatchTeam* poTeam) {
  std::int32_t n = 0;
  for (const DBPlayer* p = poTeam->poBenchList; p; p = p->poNext)
    if (FreeOnBench(p)) n++;
  const std::int32_t iLeft = poTeam->iSubsAllowed;
  return iLeft < n ? iLeft : n;
}

std::int32_t subs_Queue(MatchTeam* poTeam, DBPlayer* poFirst, DBPlayer* poSecond) {
  std::int32_t bQueued = 0;
  if (poTeam && poFirst && poSecond && poFirst != poSecond && s.cPending < SUBS_QUEUE_MAX) {
    const bool bFirstOn = team_IsOnPitch(poTeam, poFirst) != 0;
    const bool bSecondOn = team_IsOnPitch(poTeam, poSecond) != 0;
    Player* poA = RecordOf(poTeam, poFirst);
    Player* poB = RecordOf(poTeam, poSecond);
    Player* poKeeper = poTeam->poPlayers;
    if (bFirstOn && bSecondOn) {
      // Two players on the pitch change places; no substitution is used.
      if (poA && poB && poA != poKeeper && poB != poKeeper && team_PlayersSwap(poTeam, poFirst, poSecond, 0)) {
        const RoleRecord r = poA->oRole;
        poA->oRole = poB->oRole;
        poB->oRole = r;
        const std::int32_t c = poA->PositionCode;
        poA->PositionCode = poB->PositionCode;
        poB->PositionCode = c;
      }
    } else if (bFirstOn != bSecondOn) {
      Player* poOn = bFirstOn ? poA : poB;
      DBPlayer* poBench = bFirstOn ? poSecond : poFirst;
      if (poOn && poOn != poKeeper && poOn->pDBPlayer) {
        if (dbplayer_SuspendedGet(poBench)) {
          // A suspended player never comes on: only the role changes.
          RoleFromSlot(poOn, poBench->poSlot);
        } else if (!dbplayer_SubstitutedGet(poBench) && poTeam->iSubsAllowed > 0 &&
                   IndexIn(poTeam->poBenchList, poBench) >= 0) {
          bool bAlready = false;
          for (const SubsEntry& e : s.aQueue) bAlready = bAlready || (e.poOut == poOn && !e.bDone);
          if (!bAlready) {
            RealSubstitution(poTeam, poOn, poBench);
            bQueued = 1;
          }
        }
      }
    }
  }
  s.oBench.poFirst = nullptr;
  s.oBench.poSecond = nullptr;
  s.oBench.iDepth = 0;
  return bQueued;
}

Player* subs_PendingPlayerGet() {
  const SubsEntry* e = FirstQueued();
  return e ? e->poOut : nullptr;
}

Player* subs_SparePlayerGet() { return s.bSpareStaged ? &s.oSpare : nullptr; }

// Also the players the set-piece actions leave alone: the outgoing player
// (0) and the substitute walking on (1).
Player* setp_poSubstituteGet(std::int32_t i) {
  if (!s.bSpareStaged) return nullptr;
  return i == 0 ? subs_PendingPlayerGet() : i == 1 ? &s.oSpare : nullptr;
}

// ---- Walk-on and the change -----------------------------------------------------------------

void subs_WalkOnStage() {
  const SubsEntry* e = FirstQueued();
  if (s.bSpareStaged || !e) return;
  Player* poOut = e->poOut;
  Player& sp = s.oSpare;
  const bool bKeeper = poOut->pGoalie != nullptr;
  sp = Player{};
  sp.pDBPlayer = e->poIn;
  sp.MyTeam = poOut->MyTeam;
  const std::int32_t iSideBase = poOut->MyTeam == player_PlaysFor_Home ? 0 : 2;
  s.iSpareStagedId = SUBS_SPARE_ID_FIRST + iSideBase + (bKeeper ? 1 : 0);
  sp.ID = static_cast<std::uint8_t>(s.iSpareStagedId);
  // The kick-off set-up would take a keeper object from the pool of two
  // for a keeper's slot: the spare borrows the outgoing keeper's instead.
  const FormationSlot* ps = sp.pDBPlayer->poSlot;
  sp.pDBPlayer->poSlot = nullptr;
  plyrInit_KickOffInit(&sp, PLAYER_CONTROL_COMPUTER);
  sp.pDBPlayer->poSlot = ps;
  RoleFromSlot(&sp, ps);
  sp.pGoalie = poOut->pGoalie;
  if (bKeeper) {
    for (Player* pk : {match_HomeFirstPlayerGet(), match_AwayFirstPlayerGet()})
      if (pk && pk->pGoalie) newgoalo_MoveFlagSet(pk->pGoalie, 1);
  }
  sp.ID = poOut->ID;
  sp.MyTeam = poOut->MyTeam;
  sp.Direction = poOut->Direction;
  sp.PositionCode = poOut->PositionCode;
  kits_CopyAppearance(&sp, poOut);
  sp.x = SUBS_WALK_ON_X;
  sp.y = SUBS_WALK_ON_Y;
  sp.height = 0;
  PlayerO_MoveToSet(&sp, sp.x, sp.y, ANIM_STAND);
  s.iOutX = poOut->x;
  s.iOutY = poOut->y;
  sp.iSupportState = 4;
  poOut->iSupportState = 2;
  MatchTeam* poTeam = SideTeam(poOut->MyTeam);
  Player* poLast = poTeam->poPlayers;
  while (poLast && poLast->pNext) poLast = poLast->pNext;
  if (poLast) poLast->pNext = &sp;
  sp.pNext = nullptr;
  s.bSpareStaged = 1;
}

void subs_Apply(Player* poSpare, Player* poPlayer) {
  if (!poSpare || !poPlayer || poSpare != &s.oSpare || !s.bSpareStaged) return;
  MatchTeam* poTeam = SideTeam(poPlayer->MyTeam);
  // The spare leaves the chain; the chain's own records stay as they were.
  if (poTeam->poPlayers == poSpare) {
    poTeam->poPlayers = poSpare->pNext;
  } else {
    for (Player* pp = poTeam->poPlayers; pp; pp = pp->pNext)
      if (pp->pNext == poSpare) {
        pp->pNext = poSpare->pNext;
        break;
      }
  }
  poSpare->pNext = nullptr;
  DBPlayer* poIn = poSpare->pDBPlayer;
  poPlayer->pDBPlayer = poIn;
  poPlayer->x = poSpare->x;
  if (poPlayer->pGoalie) poPlayer->x = static_cast<std::int16_t>(poPlayer->Direction == 1 ? -9360 : 9360);
  poPlayer->y = 0;
  poPlayer->height = 0;
  poPlayer->uPower = poSpare->uPower;
  poPlayer->uStamina = poSpare->uStamina;
  // Back to ordinary support play (the walk-on's state 2 would last the match).
  poPlayer->iSupportState = 1;
  RoleFromSlot(poPlayer, poIn ? poIn->poSlot : nullptr);
  for (SubsEntry& e : s.aQueue)
    if (e.poOut && e.poIn == poIn && !e.bDone) {
      e = SubsEntry{};
      if (s.cPending > 0) s.cPending--;
      break;
    }
  s.bSpareStaged = 0;
}

void subs_ScriptStart() {
  subs_WalkOnStage();
  spscript_StartSubstitution();
}

void subs_ScriptPush() {
  if (s.cPending > 0) global_GameModePush(subs_ScriptStart, GAME_MODE_SET_PIECE_SCRIPT, subs_ScriptCheck);
}

// The script's exit: the next queued substitution, else back to the mode
// beneath, whose enter runs again.
void subs_ScriptCheck() {
  if (s.cPending > 0) {
    subs_ScriptPush();
    return;
  }
  if (global.iStackPointer > 0) {
    const GameModeStackEntry& top = global.aStack[global.iStackPointer - 1];
    if (top.pfnInit) top.pfnInit();
  }
}

// ---- Input ------------------------------------------------------------------------------------

void subs_EventsDrain(const User* poLeader, void (*pfnEvent)(std::int32_t)) {
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip) continue;
    if (&u != poLeader) {
      input_EventQueueFlush(&u.pip->oEvents);
      continue;
    }
    while (ListNode* pn = queue_RemoveHead(&u.pip->oEvents)) {
      InputEvent* pe = reinterpret_cast<InputEvent*>(pn);
      const std::int32_t iEvent = pe->eEvent;
      input_EventFree(&pe);
      pfnEvent(iEvent);
    }
  }
}

// ---- Mode 67: the substitution menu ---------------------------------------------------------

void subs_Mode67Enter() {
  BindSideUsers();
  const MatchTeam* h = match_HomeTeamGet();
  s.poMenuUser = h && h->SubRequest ? global_poGetHomeUser() : global_poGetAwayUser();
  s.iMenuCursor = 0;
}

void subs_Mode67Check() {
  if (subs_bIsPending()) {
    global_GameModePush(subs_Mode67Enter, static_cast<GameMode>(67), subs_Mode67Check);
    return;
  }
  if (global.iStackPointer > 0) {
    const GameModeStackEntry& top = global.aStack[global.iStackPointer - 1];
    if (top.pfnInit) top.pfnInit();
  }
}

namespace {

MatchTeam* MenuSide() {
  const MatchTeam* h = match_HomeTeamGet();
  return h && h->SubRequest ? match_HomeTeamGet() : match_AwayTeamGet();
}

}  // namespace

void subs_MenuEvent(std::int32_t iEvent) {
  switch (iEvent) {
    case kEventUp: s.iMenuCursor = s.iMenuCursor == 0 ? SUBS_MENU_ITEMS - 1 : s.iMenuCursor - 1; break;
    case kEventDown: s.iMenuCursor = s.iMenuCursor == SUBS_MENU_ITEMS - 1 ? 0 : s.iMenuCursor + 1; break;
    case kEventSelect:
      if (s.iMenuCursor == 0) {
        MenuSide()->SubRequest = 0;
        global_GameModePopRequest();
      } else if (s.iMenuCursor == 1) {
        global_GameModePush(subs_BenchEnter, static_cast<GameMode>(59), nullptr);
      } else {
        global_GameModePush(mformation_Enter, static_cast<GameMode>(61), nullptr);
      }
      break;
    case kEventStart:
      MenuSide()->SubRequest = 0;
      global_GameModePopRequest();
      break;
    default: break;
  }
}

void subs_MenuInput() { subs_EventsDrain(s.poMenuUser, subs_MenuEvent); }

std::int32_t subs_X(std::int32_t x) { return pcfe_ScaleX(static_cast<std::int16_t>(x)); }
std::int32_t subs_Y(std::int32_t y) { return pcfe_ScaleY(static_cast<std::int16_t>(y)); }

void subs_PanelFill(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t iLayer) {
  draw2d_RectFill(subs_X(x), subs_Y(y), subs_X(x + w) - subs_X(x), subs_Y(y + h) - subs_Y(y), iLayer);
}

void subs_TextLeft(const char* psz, std::int32_t x, std::int32_t y) {
  draw2d_TextShadowDrawRemapped(psz, subs_X(x), subs_Y(y));
}

void subs_TextCentred(const char* psz, std::int32_t x, std::int32_t y) {
  draw2d_TextShadowDraw(psz, subs_X(x), subs_Y(y));
}

void subs_MenuDraw() {
  // The items in the match's on-screen language, as the pause menu's.
  const char* const apszItems[SUBS_MENU_ITEMS] = {gstatso_StrGet(IDS_INGAME_RESUME_MATCH),
                                                  gstatso_StrGet(IDS_INGAME_SUBSTITUTION),
                                                  gstatso_StrGet(IDS_INGAME_FORMATION)};
  const MatchTeam* po = MenuSide();
  // The panel holds its items whatever the size of the text (a margin of 10
  // either side). Its title names the side as every team name in a room is
  // chosen: whole where the items' width holds it, else its short name, which
  // the panel widens for when it must.
  const auto Units = [](const char* psz) { return (pctext_WidthGet(psz) * 640 + subs_X(640) - 1) / subs_X(640); };
  std::int32_t w = 150;
  for (const char* psz : apszItems)
    if (Units(psz) + 20 > w) w = Units(psz) + 20;
  char szName[64] = "";
  if (po && po->Squad) caption_TeamFit(po, subs_X(245 + w - 10) - subs_X(255), szName, sizeof szName);
  const char* pszName = szName;
  if (Units(pszName) + 20 > w) w = Units(pszName) + 20;
  draw2d_FillColourSet(0, 0, 0, 160);
  subs_PanelFill(245, 100, w, 14 + 10 * SUBS_MENU_ITEMS + (pctext_HeightGet() * 240 + subs_Y(240) - 1) / subs_Y(240), 2);
  draw2d_TextColourSet(255, 255, 255, 255);
  subs_TextLeft(pszName, 255, 104);
  for (std::int32_t i = 0; i < SUBS_MENU_ITEMS; i++) {
    if (i == s.iMenuCursor) draw2d_TextColourSet(200, 200, 0, 255);
    else draw2d_TextColourSet(255, 255, 255, 255);
    subs_TextLeft(apszItems[i], 255, 120 + 10 * i);
  }
}

void subs_Mode67Update() {
  subs_MenuInput();
  game_MatchFrameNoSim();
  subs_MenuDraw();
}

void subs_Mode62Update() {}

// ---- Mode 59: the bench ----------------------------------------------------------------------

void subs_BenchEnter() {
  BindSideUsers();
  MatchTeam* h = match_HomeTeamGet();
  MatchTeam* a = match_AwayTeamGet();
  SubsBench& b = s.oBench;
  MatchTeam* poTeam = h && h->SubRequest ? h : a && a->SubRequest ? a : s.poLastBenchTeam ? s.poLastBenchTeam : h;
  b = SubsBench{};
  b.poTeam = poTeam;
  s.poLastBenchTeam = poTeam;
  if (!poTeam) return;
  b.poPitchCursor = poTeam->poPitchList;
  // What is left of the three, never more than the bench can give.
  team_SubsAllowedSet(poTeam, subs_AvailableCount(poTeam));
}

namespace {

void BenchStep(std::int32_t iDir) {
  SubsBench& b = s.oBench;
  MatchTeam* t = b.poTeam;
  if (b.poPitchCursor) {
    const std::int32_t n = Count(t->poPitchList);
    if (n == 0) return;
    b.iRow = (IndexIn(t->poPitchList, b.poPitchCursor) + iDir + n) % n;
    b.poPitchCursor = At(t->poPitchList, b.iRow);
    return;
  }
  const std::int32_t n = Count(t->poBenchList);
  if (n == 0) return;
  std::int32_t i = IndexIn(t->poBenchList, b.poBenchCursor);
  if (i < 0) i = 0;
  for (std::int32_t k = 0; k < n; k++) {
    i = (i + iDir + n) % n;
    DBPlayer* p = At(t->poBenchList, i);
    if (FreeOnBench(p)) {
      b.poBenchCursor = p;
      b.iRow = i;
      return;
    }
  }
}

void BenchColumnChange() {
  SubsBench& b = s.oBench;
  MatchTeam* t = b.poTeam;
  if (!b.poPitchCursor) {
    const std::int32_t n = Count(t->poPitchList);
    for (std::int32_t i = b.iRow < n ? b.iRow : n - 1; i >= 0 && i < n; i++) {
      DBPlayer* p = At(t->poPitchList, i);
      if (!dbplayer_SuspendedGet(p)) {
        b.poPitchCursor = p;
        b.iRow = i;
        return;
      }
    }
    return;
  }
  if (t->iSubsAllowed <= 0) return;
  const std::int32_t n = Count(t->poBenchList);
  for (std::int32_t i = b.iRow; i < n; i++) {
    DBPlayer* p = At(t->poBenchList, i);
    if (FreeOnBench(p)) {
      b.poBenchCursor = p;
      b.poPitchCursor = nullptr;
      b.iRow = i;
      return;
    }
  }
  if (n > 0) b.iRow = n - 1;
}

}  // namespace

void subs_BenchEvent(std::int32_t iEvent) {
  SubsBench& b = s.oBench;
  if (!b.poTeam) return;
  switch (iEvent) {
    case kEventStart: subs_BenchFinish(); break;
    case kEventSelect:
      b.iDepth++;
      if (b.iDepth == 1) {
        b.poFirst = b.poPitchCursor ? b.poPitchCursor : b.poBenchCursor;
      } else {
        b.poSecond = b.poPitchCursor ? b.poPitchCursor : (b.poTeam->iSubsAllowed > 0 ? b.poBenchCursor : nullptr);
        subs_Queue(b.poTeam, b.poFirst, b.poSecond);
      }
      break;
    case kEventBack:
      if (b.iDepth == 0) {
        subs_BenchFinish();
      } else {
        if (b.iDepth == 1) b.poFirst = nullptr;
        b.iDepth--;
      }
      break;
    case kEventUp: BenchStep(-1); break;
    case kEventDown: BenchStep(1); break;
    case kEventLeft:
    case kEventRight: BenchColumnChange(); break;
    case kEventDetails: b.bDetails ^= 1; break;
    default: break;
  }
}

void subs_BenchInput() {
  const MatchTeam* t = s.oBench.poTeam;
  const User* poLeader = nullptr;
  if (t && t->SubRequest) poLeader = t == match_HomeTeamGet() ? global_poGetHomeUser() : global_poGetAwayUser();
  subs_EventsDrain(poLeader, subs_BenchEvent);
}

void subs_BenchFinish() {
  if (s.cPending == 0) {
    global_GameModePopRequest();
    return;
  }
  subs_ScriptPush();
}

namespace {

void PositionColour(std::int32_t iCode) {
  switch (formation_PositionStrIdGet(iCode)) {
    case 1: draw2d_FillColourSet(220, 180, 0, 255); break;   // goalkeeper
    case 2: case 3: case 9: case 12: draw2d_FillColourSet(40, 90, 220, 255); break;
    case 5: draw2d_FillColourSet(220, 40, 40, 255); break;
    default: draw2d_FillColourSet(40, 180, 60, 255); break;
  }
}

void EntryDraw(const DBPlayer* p, std::int32_t x, std::int32_t y, bool bCursor, bool bChosen, bool bRight) {
  // The number in two places, then the name fitted to the column: a column
  // is 304 wide, the text starts 8 in and keeps 8 clear of the next.
  char szName[DBPLAYER_NAME_SIZE];
  char szNumber[8];
  std::snprintf(szNumber, sizeof szNumber, "%2u ", static_cast<unsigned>(p->uField88));
  caption_NameFit(p->szName, subs_X(304 - 8 - 8) - subs_X(0) - pctext_WidthGet(szNumber) - 1, szName, sizeof szName);
  char sz[48];
  std::snprintf(sz, sizeof sz, "%s%s", szNumber, szName);
  PositionColour(p->poSlot ? p->poSlot->iPosition : dbplayer_FirstPositionGet(p));
  subs_PanelFill(x, y + 1, 4, 7, 1);
  if (bChosen) draw2d_TextColourSet(200, 200, 0, 255);
  else if (bCursor) draw2d_TextColourSet(bRight ? 220 : 200, bRight ? 40 : 200, bRight ? 40 : 0, 255);
  else if (!FreeOnBench(p) && !bRight) draw2d_TextColourSet(255, 255, 255, 255);
  else if (!FreeOnBench(p)) draw2d_TextColourSet(120, 120, 120, 255);
  else draw2d_TextColourSet(255, 255, 255, 255);
  subs_TextLeft(sz, x + 8, y);
}

// The attribute panel over one of the two columns (x its left edge): the
// skills' names (global texts, outfield then goalkeeping) in the match's
// on-screen language, each followed by its value.
void DetailsDraw(const DBPlayer* p, std::int32_t x) {
  constexpr std::int32_t kOutfield = 11, kSkills = 15;
  const std::int32_t aiValues[kSkills] = {p->uSpeed,      p->iStamina,   p->uFitness78, p->uAccuracy, p->uPower,
                                          p->iHeading,    p->uPassing,   p->uControl,   p->uCreativity,
                                          p->uAwareness,  p->uTackling,  p->uDiving,    p->uHandling,
                                          p->uReactions,  p->uJudgement};
  draw2d_FillColourSet(0, 0, 0, 230);
  subs_PanelFill(x, 30, 304, 200, 2);
  draw2d_TextColourSet(255, 255, 255, 255);
  const std::int32_t cShown = dbplayer_FirstPositionGet(p) == 0 ? kSkills : kOutfield;
  // The values in one column after the longest name (eleven at least).
  int iPad = 11;
  for (std::int32_t i = 0; i < cShown; i++)
    iPad = std::max(iPad, static_cast<int>(std::strlen(gstatso_GlobalStrGet(IDS_GLOBAL_SKILL_SPEED + i))));
  char sz[64];
  for (std::int32_t i = 0, y = 36; i < cShown; i++, y += 10) {
    std::snprintf(sz, sizeof sz, "%-*s %3d", iPad, gstatso_GlobalStrGet(IDS_GLOBAL_SKILL_SPEED + i),
                  static_cast<int>(aiValues[i]));
    subs_TextLeft(sz, x + 8, y);
  }
}

}  // namespace

void subs_BenchDraw() {
  const SubsBench& b = s.oBench;
  if (!b.poTeam) return;
  // Two columns of 16-pixel characters share the width; the attribute panel
  // takes the place of the column the cursor is not in.
  const DBPlayer* poUnder = b.poPitchCursor ? b.poPitchCursor : b.poBenchCursor;
  const bool bDetails = b.bDetails && poUnder;
  draw2d_FillColourSet(0, 0, 0, 160);
  subs_PanelFill(16, 30, 608, 200, 3);
  draw2d_TextColourSet(255, 255, 255, 255);
  if (!bDetails || !b.poPitchCursor) {
    subs_TextLeft(gstatso_StrGet(IDS_INGAME_SUBS), 328, 34);
    std::int32_t y = 48;
    for (const DBPlayer* p = b.poTeam->poBenchList; p; p = p->poNext, y += 10)
      EntryDraw(p, 328, y, !b.poPitchCursor && p == b.poBenchCursor, p == b.poFirst || p == b.poSecond, true);
  }
  if (!bDetails || b.poPitchCursor) {
    draw2d_TextColourSet(255, 255, 255, 255);
    subs_TextLeft(gstatso_StrGet(IDS_INGAME_TEAM), 24, 34);
    std::int32_t y = 48;
    for (const DBPlayer* p = b.poTeam->poPitchList; p; p = p->poNext, y += 10)
      EntryDraw(p, 24, y, p == b.poPitchCursor, p == b.poFirst || p == b.poSecond, false);
  }
  if (bDetails) DetailsDraw(poUnder, b.poPitchCursor ? 320 : 16);
}

void subs_Update() {
  subs_BenchInput();
  game_MatchFrameNoSim();
  subs_BenchDraw();
}
