// The history fixtures screen.
#include "frontend/mfhfixtr.h"

#include <algorithm>
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
#include "tournament/tmtree.h"

// The friendly opponent chosen on the world map (a team id), waiting to be
// written into its fixture when this screen comes back.
std::uint32_t mfhfixtr_chosenTeam = 0;
std::int32_t mfhfixtr_pendingChoice = 0;

MFHFixtrScreen mfhfixtr_oScreen = {1, 0, 0, 0, 0, 1, 0, MFHFIXTR_WINDOW};

namespace {

constexpr std::int32_t kBinding = 13, kHub = 47, kTeamChoice = 9, kTeamChoiceExtended = 69;
constexpr std::int32_t kLayer = 1;
constexpr std::int32_t kRowY[MFHFIXTR_WINDOW] = {82, 97, 113, 128, 143};
constexpr std::int32_t kDateX = 120, kNameX = 252, kVenueX = 361, kKindX = 414;
// The room of an opponent's name between the date and the venue, and of
// the team's name over the panel (640 x 480 units).
constexpr std::int32_t kNameRoom = 180, kHeaderRoom = 380;
constexpr std::int32_t kButtonY = 179, kFixturesX = 252, kExitX = 413;

struct Colour {
  std::uint8_t r, g, b;
};
constexpr Colour kGrey{200, 200, 200}, kYellow{200, 200, 0}, kDark{64, 64, 64};

std::uint32_t HumanName() {
  const std::int32_t i = tmglobal.iCurrentHuman;
  return i >= 0 && i < TM_HUMAN_MAX ? tmglobal.aHumans[i].Name : 0;
}

// The screen's round and its list, found afresh whenever they are needed.
struct List {
  Round* r = nullptr;
  std::vector<Fixture*> v;
};
List ListGet() {
  List l;
  const std::uint32_t Name = HumanName();
  Year* y = Name ? tmgame_CurrentYearGet() : nullptr;
  l.r = mfhfixtr_RoundFind(y, Name);
  if (l.r) l.v = mfhfixtr_ListBuild(l.r);
  return l;
}

bool Friendly(const Fixture* f) { return (f->cFlags & FIX_BYNAMEID) != 0; }
bool SlotOpen(const Fixture* f) { return Friendly(f) && !(f->cFlags & FIX_SLOTFILLED); }

// A text as fitted, with its shadow (the fitted text's font current while
// it is drawn).
void Print(const PCFEFitted& o, std::int32_t x, std::int32_t y, Colour c, bool bCentred) {
  const char* psz = o.c_str();
  const std::int32_t sx = pcfe_ScaleX(static_cast<std::int16_t>(x)), sy = pcfe_ScaleY(static_cast<std::int16_t>(y));
  draw2d_TextColourSet(0, 0, 0, 255);
  if (bCentred) pctext_PrintCentred(psz, sx + 1, sy + 1, kLayer);
  else pctext_PrintLeft(psz, sx + 1, sy + 1, kLayer);
  draw2d_TextColourSet(c.r, c.g, c.b, 255);
  if (bCentred) pctext_PrintCentred(psz, sx, sy, kLayer);
  else pctext_PrintLeft(psz, sx, sy, kLayer);
}
void Print(const char* psz, std::int32_t x, std::int32_t y, Colour c, bool bCentred) {
  Print(PCFEFitted(psz, 1 << 20), x, y, c, bCentred);
}
// A team by its team-name id, centred, in iRoom (640 x 480 units); nothing
// for a place still to be decided.
void TeamPrint(std::uint32_t Name, std::int32_t x, std::int32_t y, Colour c, std::int32_t iRoom) {
  if (tmteam_IsProperName(Name)) Print(PCFEFitted(tla_NamesOf(Name), pcfe_ScaleX640(static_cast<std::int16_t>(iRoom))), x, y, c, true);
}

void WindowFollow(MFHFixtrScreen& s) {
  if (s.iCursor < s.iFirst) {
    s.iFirst = s.iCursor;
    s.iLast = s.iFirst + MFHFIXTR_WINDOW;
  } else if (s.iCursor >= s.iLast) {
    s.iLast = s.iCursor + 1;
    s.iFirst = s.iLast - MFHFIXTR_WINDOW;
  }
}

// The friendly's chosen opponent into the slot its flag names.
void ChoiceTake(MFHFixtrScreen& s) {
  mfhfixtr_pendingChoice = 0;
  const List l = ListGet();
  if (s.iCursor < 0 || s.iCursor >= static_cast<std::int32_t>(l.v.size())) {
    tmreport_Fault("pThisFixture", "Gen\\mfhfixtr");
    return;
  }
  Fixture* f = l.v[static_cast<std::size_t>(s.iCursor)];
  const std::uint8_t Chosen = static_cast<std::uint8_t>(mfhfixtr_chosenTeam);
  if (history_FixtureSlotBGet(f)) f->cTeamB = Chosen;
  else f->cTeamA = Chosen;
  history_FixtureSlotFilledSet(f, 1);
  s.bInList = 1;
  s.bRowMode = 0;
  s.bOnFixtures = 1;
  WindowFollow(s);
}

// Select on a friendly: in venue mode back to the rows; in row mode the
// opponent is chosen on the map, into the slot that does not hold the human
// team.
std::int32_t FriendlySelect(MFHFixtrScreen& s, Round* r, Fixture* f) {
  sfx_Play(1);
  if (!s.bRowMode) {
    s.bRowMode = 1;
    return MFHFIXTR_MODE;
  }
  history_FixtureSlotBSet(f, tmgame_IsHumanTeam(history_FixtureTeamA(r, f)) ? 1 : 0);
  global_SetHomeUser(global_poGetMenuUser());
  global_SetAwayUser(nullptr);
  s.bRowMode = 0;
  global_SetExtendedGameMode(static_cast<GameMode>(kTeamChoiceExtended));
  return kTeamChoice;
}

std::int32_t ListInput(MFHFixtrScreen& s, std::int32_t eCode) {
  const List l = ListGet();
  const std::int32_t n = static_cast<std::int32_t>(l.v.size());
  Fixture* f = s.iCursor >= 0 && s.iCursor < n ? l.v[static_cast<std::size_t>(s.iCursor)] : nullptr;
  switch (eCode) {
    case 8:
    case 9: {
      const std::int32_t i = s.iCursor + (eCode == 8 ? -1 : 1);
      if (!s.bRowMode || i < 0 || i >= n) break;
      s.iCursor = i;
      WindowFollow(s);
      sfx_Play(0);
      break;
    }
    case 10:
    case 11:
      // Home and away change places on an arranged friendly not yet played;
      // the open-slot flag follows the opponent.
      if (s.bRowMode || !f || !Friendly(f) || SlotOpen(f) || (f->cFlags & FIX_PLAYED)) break;
      std::swap(f->cTeamA, f->cTeamB);
      history_FixtureSlotBSet(f, history_FixtureSlotBGet(f) ? 0 : 1);
      sfx_Play(0);
      break;
    case 37:
      if (f && Friendly(f) && !(f->cFlags & FIX_PLAYED)) return FriendlySelect(s, l.r, f);
      break;
    case 38:
    case 56:
      sfx_Play(1);
      s.bInList = 0;
      s.bRowMode = 1;
      break;
    case 152: sfx_Play(2); return kHub;
    default: break;
  }
  return MFHFIXTR_MODE;
}

std::int32_t ButtonsInput(MFHFixtrScreen& s, std::int32_t eCode) {
  switch (eCode) {
    case 10:
      if (tmglobal.bFinalsLoaded || s.bOnFixtures) break;
      s.bOnFixtures = 1;
      sfx_Play(0);
      break;
    case 11:
      if (!s.bOnFixtures) break;
      s.bOnFixtures = 0;
      sfx_Play(0);
      break;
    case 37:
      sfx_Play(1);
      if (!s.bOnFixtures) return kHub;
      if (!ListGet().v.empty()) {
        s.bInList = 1;
        s.bRowMode = 1;
      }
      break;
    case 38:
    case 56: sfx_Play(1); return kHub;
    case 152: sfx_Play(2); return kHub;
    default: break;
  }
  return MFHFIXTR_MODE;
}

}  // namespace

Round* mfhfixtr_RoundFind(Year* y, std::uint32_t Name) {
  Round* r = nullptr;
  Fixture* f = nullptr;
  if (!y || Name == 0) return nullptr;
  if (history_FixtureFindByTeam(y, Name, &r, &f)) return r;
  // No fixture left: the last round that lists the team among its teams or
  // in a fixture.
  Round* pLast = nullptr;
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* p = g->pRounds; p; p = p->pNext) {
        bool bListed = false;
        for (const TMTeam* t = p->pTeams; t && !bListed; t = t->pNext) bListed = t->Name == Name;
        for (const Fixture* x = p->pFixtures; x && !bListed; x = x->pNext)
          bListed = history_FixtureTeamA(p, x) == Name || history_FixtureTeamB(p, x) == Name;
        if (bListed) pLast = p;
      }
  return pLast;
}

std::vector<Fixture*> mfhfixtr_ListBuild(const Round* r) {
  std::vector<Fixture*> v;
  for (Fixture* f = r ? r->pFixtures : nullptr; f; f = f->pNext)
    if (f->cFlags & FIX_USER) v.push_back(f);
  auto key = [r](const Fixture* f) {
    const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
    return d ? (d->cYear * 16 + d->cMonth) * 32 + d->cDay : 0x7fffffff;
  };
  std::stable_sort(v.begin(), v.end(), [&](const Fixture* a, const Fixture* b) { return key(a) < key(b); });
  return v;
}

void mfhfixtr_Reset() {
  MFHFixtrScreen& s = mfhfixtr_oScreen;
  mfhfixtr_pendingChoice = 0;
  s.bNeedsEnter = 1;
  s.bVisited = 0;
  s.iCursor = 0;
  s.iFirst = 0;
  s.iLast = MFHFIXTR_WINDOW;
  s.bRowMode = 1;
}

void mfhfixtr_Enter() {
  MFHFixtrScreen& s = mfhfixtr_oScreen;
  s.bNeedsEnter = 0;
  mhelp_HelpShownClear();
  pcfmv_Stop();
  User* poMenu = global_poGetMenuUser();
  if (poMenu && poMenu->pip) input_PortBindingSet(kBinding, poMenu->pip);
  mregion_Reset();
  mregion_LayoutAdd(mfhfixtr_aoLayout, MFHFIXTR_LAYOUT_RECORDS, MFHFIXTR_SHEET);
  pcfe_ScreenSet(MFHFIXTR_SHEET);
  pcfmv_PlayById(formation_TableGet(1));
  if (!s.bVisited) s.iCursor = 0;
  s.bVisited = 1;
  s.iFirst = 0;
  s.iLast = MFHFIXTR_WINDOW;
  s.bRowMode = 1;
  s.bInList = 0;
  s.bOnFixtures = 0;
  if (mfhfixtr_pendingChoice) ChoiceTake(s);
}

void mfhfixtr_Draw() {
  const MFHFixtrScreen& s = mfhfixtr_oScreen;
  const bool bFinals = tmglobal.bFinalsLoaded != 0;
  mregion_DrawByName("main");
  pctext_FontSet(1);
  Print(festr_IDToStr(IDS_FE_FIX_FIXTURES), kFixturesX, kButtonY,
        bFinals ? kDark : (!s.bInList && s.bOnFixtures ? kYellow : kGrey), true);
  Print(festr_IDToStr(IDS_FE_EXIT), kExitX, kButtonY, !s.bInList && !s.bOnFixtures ? kYellow : kGrey, true);
  const std::uint32_t Human = HumanName();
  TeamPrint(Human, kNameX, 55, kYellow, kHeaderRoom);
  const List l = ListGet();
  const std::int32_t n = static_cast<std::int32_t>(l.v.size());
  char sz[24];
  for (std::int32_t i = s.iFirst; i < s.iLast && i < n; i++) {
    const Fixture* f = l.v[static_cast<std::size_t>(i)];
    const std::int32_t y = kRowY[i - s.iFirst];
    if (s.bInList && i == s.iCursor)
      mregion_DrawAtByName(s.bRowMode ? "frame" : "framev",
                           mfhfixtr_aoLayout[s.bRowMode ? 1 : 2].x, y * 2 - MFHFIXTR_FRAME_RISE);
    if (const FixtureDate* d = tmglobal_FixtureDateGet(l.r, f->cDate)) {
      std::snprintf(sz, sizeof sz, "%d.%d.%d", d->cDay, d->cMonth, d->cYear);
      Print(sz, kDateX, y, kGrey, false);
    }
    const std::uint32_t A = history_FixtureTeamA(l.r, f), B = history_FixtureTeamB(l.r, f);
    const bool bHome = tmgame_IsHumanTeam(A) != 0;
    if (SlotOpen(f)) {
      Print(festr_IDToStr(IDS_FE_FIX_ARRANGE_FRIENDLY), kNameX, y, kGrey, true);
      Print("-", kVenueX, y, kGrey, true);
    } else {
      TeamPrint(bHome ? B : A, kNameX, y, kGrey, kNameRoom);
      Print(festr_IDToStr(bHome ? IDS_FE_FIX_HOME : IDS_FE_FIX_AWAY), kVenueX, y, kGrey, true);
    }
    const std::int32_t eKind = Friendly(f) ? IDS_FE_FIX_FR : (bFinals ? IDS_FE_FIX_WCF : IDS_FE_FIX_WCQ);
    Print(festr_IDToStr(eKind), kKindX, y, kGrey, true);
  }
  if (s.bInList && s.iCursor > 0) mregion_DrawByName("YArrowU");
  if (s.bInList && s.iCursor < n - 1) mregion_DrawByName("YArrowD");
  pctext_FontSet(0);
}

std::int32_t mfhfixtr_Input(User* poUser) {
  MFHFixtrScreen& s = mfhfixtr_oScreen;
  std::int32_t eNext = MFHFIXTR_MODE;
  if (!poUser || !poUser->pip) return eNext;
  // The escape key comes from the keyboard, not from the queue, once a press.
  if (pcfe_bEscapeLastKey()) {
    input_EventQueueFlush(&poUser->pip->oEvents);
    sfx_Play(2);
    eNext = kHub;
  }
  std::int32_t eCode = 0;
  while (eNext == MFHFIXTR_MODE && pcfe_bEventCodeNext(poUser, &eCode)) {
    eNext = s.bInList ? ListInput(s, eCode) : ButtonsInput(s, eCode);
  }
  return eNext;
}

void mfhfixtr_Run() {
  MFHFixtrScreen& s = mfhfixtr_oScreen;
  const std::int32_t eNext = pcfe_MenuScreenStep(&s.bNeedsEnter, mfhfixtr_Enter, mfhfixtr_Draw, mfhfixtr_Input);
  if (eNext == MFHFIXTR_MODE) return;
  s.bNeedsEnter = 1;
  if (eNext == kHub) global_SetExtendedGameMode(static_cast<GameMode>(GAME_MODE_HISTORY));
  global_SetGameMode(static_cast<GameMode>(eNext));
}
