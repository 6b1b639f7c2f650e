// Team selection on the world map, and the confederation tables' lookups.
#include "frontend/mteam.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "audio/audio_services.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "framework/qdx_assert.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/mregion.h"
#include "frontend/mteam_layout.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/demo.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "shell/cstring.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pcstub.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/dbindex.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

TacticsSide mteam_aoSides[MTEAM_SIDES];
std::int32_t mteam_bNeedsEnter = 1;
std::int32_t mteam_bSingleSide = 0;
std::int32_t mteam_bSwapped = 0;
std::int32_t mteam_bTeamChosen = 1;
std::int32_t mteam_iListTop = 0, mteam_iListBottom = 4;
std::int32_t mteam_iRedBlock = 0, mteam_iBlueBlock = 1;
std::int32_t mteam_bMarkerToggle = 1, mteam_iMarkerCounter = 0;

namespace {

constexpr std::int32_t kSheet = 9;
constexpr std::int32_t kBinding = 12;
// The set-up of a history always gives one human team.
constexpr std::int32_t kHumanTeamCount = 1;

const char* const kButtons[MTEAM_CONFERENCES] = {"USA", "EURO", "SAM", "ASIA", "OZ", "AFRIC"};
const char* const kFederations[MTEAM_CONFERENCES] = {"CONCACAF", "UEFA", "CONMEBOL", "AFC", "OFC", "CAF"};

// The folding table: each letter and the plain letter it sorts as.
const unsigned char kFold[44][2] = {
    {0xA2, 'c'}, {0xC0, 'A'}, {0xC1, 'A'}, {0xC2, 'A'}, {0xC3, 'A'}, {0xC4, 'A'}, {0xC5, 'A'}, {0xC6, 'A'},
    {0xC7, 'C'}, {0xC8, 'E'}, {0xC9, 'E'}, {0xCA, 'E'}, {0xCB, 'E'}, {0xCC, 'I'}, {0xCD, 'I'}, {0xCE, 'I'},
    {0xCF, 'I'}, {0xD1, 'N'}, {0xD6, 'O'}, {0xDF, 'B'}, {0xE0, 'a'}, {0xE1, 'a'}, {0xE2, 'a'}, {0xE4, 'a'},
    {0xE5, 'a'}, {0xE6, 'a'}, {0xE7, 'c'}, {0xE8, 'e'}, {0xE9, 'e'}, {0xEA, 'e'}, {0xEB, 'e'}, {0xEC, 'i'},
    {0xEE, 'i'}, {0xEF, 'i'}, {0xF1, 'n'}, {0xF2, 'o'}, {0xF3, 'o'}, {0xF4, 'o'}, {0xF6, 'o'}, {0xF9, 'u'},
    {0xFA, 'u'}, {0xFB, 'u'}, {0xFC, 'u'}, {0xFF, 'y'}};

std::int32_t s_cActiveRed = 0, s_cActiveBlue = 0;
User* s_poHistoryUser = nullptr;
std::vector<std::uint8_t> s_abSquadBuffer(DB_BLOCK_HEADER + DBPLAYER_FILE_SIZE * TEAM_SQUADSIZE_MAX);

// The team of the current human team of the history.
std::uint32_t HumanTeamId() {
  const std::int32_t i = tmglobal_CurrentHumanGet();
  return i >= 0 && i < TM_HUMAN_MAX ? tmglobal.aHumans[i].Name : 0;
}

std::int32_t Extended() { return global_eGetExtendedGameMode(); }
bool HistoryChoice() { return Extended() == GAME_MODE_HISTORY || Extended() == 69; }

std::int32_t TableNumberOfName(const char* pszName) {
  if (!pszName) return -1;
  for (std::int32_t t = 0; t < MTEAM_CONFERENCES; t++)
    if (cstring_iCompare(pszName, kButtons[t]) == 0) return t;
  return -1;
}

void SideToButton(TacticsSide* ps, std::int32_t iRegion) {
  ps->iButton = iRegion;
  ps->x = mregion_XGet(iRegion);
  ps->y = mregion_YGet(iRegion);
}

// The side's entry at its team index taken as a raw table index.
const ConferenceEntry* RawEntry(std::int32_t iSide) {
  std::int32_t c = 0;
  const ConferenceEntry* p = mteam_TableOfButton(iSide, &c);
  const std::int32_t i = mteam_aoSides[iSide].iTeamIndex;
  return p && i >= 0 && i < c ? &p[i] : nullptr;
}

// The number of teams the list of the side's confederation offers.
std::int32_t ListCount(std::int32_t iSide) {
  std::int32_t c = 0;
  if (HistoryChoice()) return mteam_TeamCountForMask(iSide, tmglobal_EditionMaskGet(), &c);
  mteam_TableOfButton(iSide, &c);
  return c;
}

// The entry a side has chosen: by raw index in a friendly or training, among
// the tournament edition's teams in the history choices.
const ConferenceEntry* ChosenEntry(std::int32_t iSide) {
  if (!HistoryChoice()) return RawEntry(iSide);
  std::int32_t c = 0;
  ConferenceEntry* p = mteam_TableOfButton(iSide, &c);
  if (!p) return nullptr;
  return &p[mteam_TableIndexOfTeam(iSide, tmglobal_EditionMaskGet())];
}

std::int32_t ChosenEdition(std::int32_t iSide) {
  return HistoryChoice() ? tmglobal_EditionGet() : mteam_aoSides[iSide].iEdition;
}

Squad* SquadLoad(const ConferenceEntry* p, std::int32_t iEdition, std::int32_t iSlot) {
  if (!p) return nullptr;
  SquadTeamRef ref{static_cast<std::int32_t>(p->uTeam), static_cast<std::int32_t>(p->uKey)};
  return squadcache_Load(&ref, iEdition, iSlot, s_abSquadBuffer.data(), static_cast<std::int32_t>(s_abSquadBuffer.size()));
}

// A side's squad must load before its choice is taken: a damaged database
// refuses the choice, and the side stays where it is.
bool ChoiceLoads(std::int32_t iSide) {
  const std::int32_t iSlot = HistoryChoice() ? 0 : (iSide == 0 ? 0 : 1);
  if (SquadLoad(ChosenEntry(iSide), ChosenEdition(iSide), iSlot)) return true;
  sfx_Play(3);
  pctext_MessageSet(festr_IDToStr(IDS_FE_SQUAD_NOT_AVAILABLE));
  return false;
}

void TeamSetUp(MatchTeam* poTeam, const ConferenceEntry* p, std::int32_t iEdition) {
  poTeam->iFormation = -1;
  team_SetUp(mteam_FormationGet(p, iEdition), poTeam);
  team_NumbersFromSlots(poTeam);
}

// The single user changes sides: a home user becomes the away user, an away
// user the home user.
void SingleUserMove() {
  User* poHome = global_poGetHomeUser();
  User* poAway = global_poGetAwayUser();
  if (poHome && !poAway) {
    poHome->MyTeam = 2;
    global_SetAwayUser(poHome);
    global_SetHomeUser(nullptr);
  } else if (poAway && !poHome) {
    poAway->MyTeam = 1;
    global_SetHomeUser(poAway);
    global_SetAwayUser(nullptr);
  }
}

bool BothUsers() { return global_poGetHomeUser() && global_poGetAwayUser(); }

std::int32_t LeaveMode() {
  if (Extended() == GAME_MODE_HISTORY) return 45;
  if (Extended() == 69) {
    mteam_bTeamChosen = 0;
    return 48;
  }
  return 11;
}

std::int32_t Complete(std::int32_t iSide) {
  TacticsSide* ps = &mteam_aoSides[iSide];
  if (Extended() == GAME_MODE_HISTORY) {
    if (iSide == mteam_iRedBlock) {
      if (mteam_iRedBlock + 2 <= s_cActiveRed) mteam_iRedBlock += 2;
    } else if (mteam_iBlueBlock + 2 <= s_cActiveBlue) {
      mteam_iBlueBlock += 2;
    }
    std::int32_t cDone = 0;
    for (const TacticsSide& s : mteam_aoSides) cDone += s.iPhase == MTEAM_DONE;
    return cDone == kHumanTeamCount ? 47 : MTEAM_MODE;
  }
  (void)ps;
  TacticsSide* po = &mteam_aoSides[1 - iSide];
  switch (po->iPhase) {
    case MTEAM_IDLE:
      if (BothUsers()) return MTEAM_MODE;
      SingleUserMove();
      mteam_bSwapped = 1;
      po->iPhase = MTEAM_MAP;
      mteam_bSingleSide = 1;
      return MTEAM_MODE;
    case MTEAM_DONE:
      if (mteam_bSwapped) SingleUserMove();
      return 13;
    default:
      // The other side is still choosing, or (a single user with the other
      // side on its map or list, which no flow reaches) nothing happens.
      return MTEAM_MODE;
  }
}

std::int32_t Select(std::int32_t iSide) {
  TacticsSide* ps = &mteam_aoSides[iSide];
  sfx_Play(1);
  ps->bSelectOrBack = 1;
  const std::int32_t eExt = Extended();
  switch (ps->iPhase) {
    case MTEAM_IDLE: ps->iPhase = MTEAM_MAP; return MTEAM_MODE;
    case MTEAM_MAP:
      ps->iTeamIndex = 0;
      mteam_iListTop = 0;
      mteam_iListBottom = 4;
      if (ListCount(iSide) > 0) {
        ps->iPhase = MTEAM_LIST;
        ps->iEdition = mteam_EditionFirst(iSide);
      }
      return MTEAM_MODE;
    case MTEAM_LIST:
    case MTEAM_EDITION:
      if (eExt == GAME_MODE_HISTORY) {
        if (!ChoiceLoads(iSide)) return MTEAM_MODE;
        ps->iPhase = MTEAM_DONE;
        return Complete(iSide);
      }
      if (eExt == 69) {
        const ConferenceEntry* p = mteam_TeamByIndex(iSide, tmglobal_EditionMaskGet(), ps->iTeamIndex);
        const std::uint32_t uHuman = HumanTeamId();
        if (!p || p->uTeam == uHuman) return MTEAM_MODE;
        ps->iPhase = MTEAM_DONE;
        return 48;
      }
      if (ps->iPhase == MTEAM_LIST) {
        ps->iPhase = MTEAM_EDITION;
        ps->iEdition = mteam_EditionLast(iSide);
        return MTEAM_MODE;
      }
      if (!ChoiceLoads(iSide)) return MTEAM_MODE;
      if (eExt == GAME_MODE_START_TRAINING) return GAME_MODE_START_TRAINING;
      ps->iPhase = MTEAM_DONE;
      return Complete(iSide);
    default: return MTEAM_MODE;
  }
}

std::int32_t Back(std::int32_t iSide) {
  TacticsSide* ps = &mteam_aoSides[iSide];
  sfx_Play(2);
  ps->bSelectOrBack = 1;
  TacticsSide* po = &mteam_aoSides[1 - iSide];
  switch (ps->iPhase) {
    case MTEAM_MAP:
      ps->iPhase = MTEAM_IDLE;
      if (HistoryChoice() || po->iPhase == MTEAM_IDLE) return LeaveMode();
      if (po->iPhase == MTEAM_EDITION || BothUsers()) return MTEAM_MODE;
      if (global_poGetAwayUser()) po->iPhase = MTEAM_EDITION;
      SingleUserMove();
      return MTEAM_MODE;
    case MTEAM_LIST:
      ps->iPhase = MTEAM_MAP;
      if (Extended() == GAME_MODE_HISTORY && !mteam_bSingleSide) return 45;
      return MTEAM_MODE;
    case MTEAM_EDITION:
    case MTEAM_DONE: ps->iPhase = MTEAM_LIST; return MTEAM_MODE;
    default: return MTEAM_MODE;
  }
}

void Move(std::int32_t iSide, std::int32_t eCode) {
  TacticsSide* ps = &mteam_aoSides[iSide];
  switch (ps->iPhase) {
    case MTEAM_MAP: {
      const std::int32_t n = mregion_LinkGet(ps->iButton, eCode);
      if (n < 0) return;
      SideToButton(ps, n);
      ps->iMoveCleared = 0;
      ps->iTeamIndex = 0;
      sfx_Play(0);
      return;
    }
    case MTEAM_LIST:
      if (eCode == 8) {
        if (ps->iTeamIndex > 0) {
          ps->iTeamIndex--;
          sfx_Play(0);
          if (ps->iTeamIndex < mteam_iListTop && mteam_iListTop > 0) {
            mteam_iListTop--;
            mteam_iListBottom--;
          }
        }
        ps->iEdition = mteam_EditionFirst(iSide);
      } else if (eCode == 9) {
        if (ps->iTeamIndex < ListCount(iSide) - 1) {
          ps->iTeamIndex++;
          sfx_Play(0);
          if (ps->iTeamIndex == mteam_iListBottom) {
            mteam_iListTop++;
            mteam_iListBottom++;
          }
        }
        ps->iEdition = mteam_EditionFirst(iSide);
      }
      return;
    case MTEAM_EDITION:
      if (eCode == 8 && ps->iEdition != mteam_EditionLast(iSide)) {
        ps->iEdition = mteam_EditionNext(iSide);
        sfx_Play(0);
      } else if (eCode == 9 && ps->iEdition != mteam_EditionFirst(iSide)) {
        ps->iEdition = mteam_EditionPrev(iSide);
        sfx_Play(0);
      }
      return;
    default: return;
  }
}

// Builds the match sides from the choices; 0 when a squad did not load.
std::int32_t SidesBuild() {
  const bool bHistory = Extended() == GAME_MODE_HISTORY;
  const std::int32_t cSides = bHistory ? kHumanTeamCount : 2;
  match_SquadBuffersPoint();
  if (bHistory) {
    // A new history's squads are loaded afresh: no side keeps a slot (or the
    // copy of a squad) from an earlier history, else the hub's next
    // preparation would copy that squad back into the new team's slot.
    squadcache_Clear();
    match_AwaySquadSet(nullptr);
  }
  for (std::int32_t k = 0; k < cSides; k++) {
    TacticsSide* ps = &mteam_aoSides[k];
    const ConferenceEntry* p = ChosenEntry(k);
    QDX_ASSERT(p && "pConf");
    if (!p) return 0;
    if (bHistory) {
      if (k < TM_HUMAN_MAX) {
        tmgame_UserTeamFlagsClear(k);
        tmglobal.aHumans[k].Name = p->uTeam;
      }
      ps->iEdition = tmglobal_EditionGet();
    }
    if (!SquadLoad(p, ps->iEdition, bHistory ? 0 : k)) return 0;
    MatchTeam* poTeam = k == 0 ? match_HomeTeamGet() : match_AwayTeamGet();
    const std::int32_t iEdition = mteam_aoSides[k == 0 ? 0 : 1].iEdition;
    Squad* poSquad = squadcache_Find(static_cast<std::int32_t>(p->uTeam), iEdition);
    if (!poSquad) return 0;
    if (k == 0) {
      match_HomeSquadSet(poSquad);
      pcstub_HomeStrengthAdjust(poTeam);
    } else {
      match_AwaySquadSet(poSquad);
      pcstub_AwayStrengthAdjust(poTeam);
    }
    poTeam->SubRequest = -1;
    TeamSetUp(poTeam, p, iEdition);
    team_FormationSave(poTeam);
  }
  if (!bHistory) {
    environ_StadiumSet(stadium_Choose(mteam_aoSides[0].iEdition, nullptr));
    environ_Choose();
    environ_PitchChoose();
  }
  MatchTeam* apoTeams[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
  for (std::int32_t k = 0; k < 2; k++) {
    team_ImageSet(apoTeams[k], mteam_aoSides[k].iButton);
    team_SoundSet(apoTeams[k], mteam_aoSides[k].iTeamIndex);
    team_PresentationFlagSet(apoTeams[k], 1);
  }
  return 1;
}

std::int32_t TrainingStart() {
  match_SquadBuffersPoint();
  const ConferenceEntry* p = RawEntry(0);
  const std::int32_t iEdition = mteam_aoSides[0].iEdition;
  Squad* poSquad = SquadLoad(p, iEdition, 0) ? squadcache_Find(static_cast<std::int32_t>(p->uTeam), iEdition) : nullptr;
  if (!poSquad) return 0;
  MatchTeam* poHome = match_HomeTeamGet();
  match_HomeSquadSet(poSquad);
  poHome->SubRequest = -1;
  TeamSetUp(poHome, p, iEdition);
  team_FormationSave(poHome);
  match_AwaySquadSet(nullptr);
  team_ImageSet(poHome, 0);
  team_SoundSet(poHome, 4);
  team_PresentationFlagSet(poHome, 1);
  global_SetHomeUser(nullptr);
  global_SetAwayUser(nullptr);
  environ_Reset();
  environ_PitchReset();
  global_SetGameMode(GAME_MODE_MATCH_START);
  global_SetExtendedGameMode(GAME_MODE_START_TRAINING);
  tmglobal_TournamentMatchSet(0);
  demo_Stop();
  mcondi_CameraSet(2);
  return 1;
}

// A refused build: the sides go back to their editions and stay on the screen.
void BuildRefused() {
  sfx_Play(3);
  pctext_MessageSet(festr_IDToStr(IDS_FE_SQUAD_NOT_AVAILABLE));
  for (TacticsSide& s : mteam_aoSides)
    if (s.iPhase == MTEAM_DONE) s.iPhase = HistoryChoice() ? MTEAM_LIST : MTEAM_EDITION;
}

void Print(const char* psz, std::int32_t x, std::int32_t y) {
  if (psz) draw2d_TextShadowDraw(psz, pcfe_ScaleX(static_cast<std::int16_t>(x)), pcfe_ScaleY(static_cast<std::int16_t>(y)));
}
// The x (512 x 240 units) about which a side's list is centred.
std::int32_t ListX(std::int32_t iSide) { return iSide == 0 || iSide == 2 ? 160 : 355; }
// A team's name in a side's list, fitted to its room.
void TeamPrint(std::uint32_t uTeam, std::int32_t iSide, std::int32_t y) {
  const PCFEFitted o(tla_NamesGet(static_cast<std::int32_t>(uTeam)), mteam_ListNameRoom(iSide));
  Print(o.c_str(), ListX(iSide), y);
}
void Grey() { draw2d_TextColourSet(200, 200, 200, 255); }
void Yellow() { draw2d_TextColourSet(200, 200, 0, 255); }

void SideDraw(std::int32_t iSide, std::int32_t* pacDoneDrawn) {
  const TacticsSide* ps = &mteam_aoSides[iSide];
  const bool bRed = iSide == 0 || iSide == 2;
  const std::int32_t x = ListX(iSide);
  const bool bHistory = HistoryChoice();
  switch (ps->iPhase) {
    case MTEAM_IDLE: return;
    case MTEAM_MAP:
      mteam_ButtonDraw(iSide);
      Grey();
      Print(mteam_FederationName(mregion_NameGet(ps->iButton)), x, 184);
      if (bHistory && ListCount(iSide) == 0) {
        Yellow();
        Print(festr_IDToStr(IDS_FE_NO_TEAMS), x, 199);
      }
      return;
    case MTEAM_LIST: {
      mteam_ButtonDraw(iSide);
      if (iSide != mteam_iRedBlock && iSide != mteam_iBlueBlock) return;
      std::int32_t c = 0;
      ConferenceEntry* p = mteam_TableOfButton(iSide, &c);
      if (!p) return;
      if (!bHistory) {
        for (std::int32_t i = 0; i < 4; i++) {
          const std::int32_t n = ps->iTeamIndex - 1 + i;
          if (n < 0 || n >= c) continue;
          if (n == ps->iTeamIndex) Yellow();
          else Grey();
          TeamPrint(p[n].uTeam, iSide, 174 + 10 * i);
        }
        return;
      }
      const std::uint32_t uMask = tmglobal_EditionMaskGet();
      const std::uint32_t uHuman = HumanTeamId();
      for (std::int32_t r = 0; r < mteam_iListBottom - mteam_iListTop; r++) {
        const ConferenceEntry* e = mteam_TeamByIndex(iSide, uMask, mteam_iListTop + r);
        if (!e) continue;
        if (mteam_iListTop + r == ps->iTeamIndex) Yellow();
        else if (Extended() == 69 && e->uTeam == uHuman) draw2d_TextColourSet(0, 200, 0, 255);
        else Grey();
        TeamPrint(e->uTeam, iSide, 174 + 10 * r);
      }
      return;
    }
    case MTEAM_EDITION: {
      mteam_EditionColumnDraw(iSide, x);
      const ConferenceEntry* p = RawEntry(iSide);
      Grey();
      if (p) TeamPrint(p->uTeam, iSide, 174);
      return;
    }
    case MTEAM_DONE: {
      const ConferenceEntry* p = bHistory ? ChosenEntry(iSide) : RawEntry(iSide);
      Grey();
      if (bHistory) {
        if (p) TeamPrint(p->uTeam, iSide, 150 + 10 * pacDoneDrawn[bRed ? 0 : 1]);
        pacDoneDrawn[bRed ? 0 : 1]++;
        return;
      }
      if (p) TeamPrint(p->uTeam, iSide, 174);
      mteam_EditionColumnDraw(iSide, x);
      return;
    }
    default: QDX_ASSERT(0 && "mTeam"); return;
  }
}

}  // namespace

// ---- Lookups ---------------------------------------------------------------------------

ConferenceEntry* mteam_TableOfButton(std::int32_t iSide, std::int32_t* pcCount) {
  const std::int32_t t = TableNumberOfName(mregion_NameGet(mteam_aoSides[iSide].iButton));
  if (t < 0) return nullptr;
  if (pcCount) *pcCount = mteam_acConferenceSizes[t];
  return mteam_apConferences[t];
}

std::int32_t mteam_TeamCountForMask(std::int32_t iSide, std::uint32_t uMask, std::int32_t* pcCount) {
  std::int32_t c = 0, n = 0;
  const ConferenceEntry* p = mteam_TableOfButton(iSide, &c);
  for (std::int32_t i = 0; p && i < c; i++) n += (p[i].uMask & uMask) != 0;
  if (pcCount) *pcCount = n;
  return n;
}

ConferenceEntry* mteam_TeamByIndex(std::int32_t iSide, std::uint32_t uMask, std::int32_t n) {
  std::int32_t c = 0;
  ConferenceEntry* p = mteam_TableOfButton(iSide, &c);
  for (std::int32_t i = 0; p && i < c; i++)
    if ((p[i].uMask & uMask) && n-- == 0) return &p[i];
  return nullptr;
}

std::int32_t mteam_SidesBuild(std::int32_t) { return SidesBuild(); }

std::int32_t mteam_TableIndexOfTeam(std::int32_t iSide, std::uint32_t uMask) {
  std::int32_t c = 0;
  const ConferenceEntry* p = mteam_TableOfButton(iSide, &c);
  std::int32_t n = mteam_aoSides[iSide].iTeamIndex;
  for (std::int32_t i = 0; p && i < c; i++)
    if ((p[i].uMask & uMask) && n-- == 0) return i;
  return 0;
}

const char* mteam_FederationName(const char* pszButton) {
  const std::int32_t t = TableNumberOfName(pszButton);
  return t < 0 ? nullptr : kFederations[t];
}

std::int32_t mteam_TableSize(std::int32_t iTable, std::int32_t* pcCount) {
  if (iTable >= 0 && iTable < MTEAM_CONFERENCES && pcCount) *pcCount = mteam_acConferenceSizes[iTable];
  return 0;
}

std::int32_t mteam_EditionFirst(std::int32_t iSide) {
  const ConferenceEntry* p = RawEntry(iSide);
  return p ? mteam_YearIndexFromMask(p->uMask) : 0;
}

std::int32_t mteam_EditionLast(std::int32_t iSide) {
  const ConferenceEntry* p = RawEntry(iSide);
  std::int32_t e = 0;
  for (std::int32_t i = 0; p && i < 11; i++)
    if (p->uMask & (1u << i)) e = i;
  return e;
}

std::int32_t mteam_EditionPrev(std::int32_t iSide) {
  const ConferenceEntry* p = RawEntry(iSide);
  const std::int32_t e = mteam_aoSides[iSide].iEdition;
  for (std::int32_t i = e - 1; p && i >= 0; i--)
    if (p->uMask & (1u << i)) return i;
  return e;
}

std::int32_t mteam_EditionNext(std::int32_t iSide) {
  const ConferenceEntry* p = RawEntry(iSide);
  const std::int32_t e = mteam_aoSides[iSide].iEdition;
  for (std::int32_t i = e + 1; p && i < 11; i++)
    if (p->uMask & (1u << i)) return i;
  return e;
}

MTeam* mteam_poFindTeamByName(const char* pszName, std::int32_t iYearIndex) {
  if (!pszName || iYearIndex < 0 || iYearIndex > 10) return nullptr;
  for (std::int32_t t = 0; t < MTEAM_CONFERENCES; t++)
    for (std::int32_t i = 0; i < mteam_acConferenceSizes[t]; i++) {
      ConferenceEntry* p = &mteam_apConferences[t][i];
      if (!(p->uMask & (1u << iYearIndex))) continue;
      const std::int32_t iTeam = static_cast<std::int32_t>(p->uTeam);
      if (cstring_iCompare(tla_NameGet(iTeam), pszName) == 0 || cstring_iCompare(tla_EnglishNameGet(iTeam), pszName) == 0)
        return p;
    }
  return nullptr;
}

std::int32_t mteam_YearIndexFromMask(std::uint32_t uMask) {
  QDX_ASSERT(uMask != 0 && "iYear != 0");
  std::int32_t i = 0;
  while (i < 31 && !(uMask & (1u << i))) i++;
  return i;
}

std::int32_t mteam_FormationGet(const ConferenceEntry* poConference, std::int32_t eYear) {
  QDX_ASSERT(poConference);
  QDX_ASSERT(eYear >= 0);
  QDX_ASSERT(eYear < 11);
  if (!poConference || eYear < 0 || eYear >= 11) return 0;
  return poConference->acFormations[eYear];
}

void mteam_NameFold(char* pszText) {
  for (; pszText && *pszText; pszText++)
    for (const auto& f : kFold)
      if (static_cast<unsigned char>(*pszText) == f[0]) {
        *pszText = static_cast<char>(f[1]);
        break;
      }
}

void mteam_TableSort(ConferenceEntry* paTable, std::int32_t cCount) {
  // Each name is folded once; a pair exchanged takes its names along.
  constexpr std::int32_t kMax = 64;  // the tables hold at most 54 entries
  QDX_ASSERT(cCount <= kMax);
  const std::int32_t c = cCount < kMax ? cCount : kMax;
  char aszNames[kMax][48];
  for (std::int32_t i = 0; i < c; i++) {
    std::snprintf(aszNames[i], sizeof(aszNames[i]), "%s", tla_DisplayNameGet(static_cast<std::int32_t>(paTable[i].uTeam)));
    mteam_NameFold(aszNames[i]);
  }
  char szSwap[48];
  for (std::int32_t pass = 0; pass < c - 1; pass++)
    for (std::int32_t i = 0; i < c - 1; i++)
      if (cstring_iCompare(aszNames[i], aszNames[i + 1]) > 0) {
        const ConferenceEntry o = paTable[i];
        paTable[i] = paTable[i + 1];
        paTable[i + 1] = o;
        std::memcpy(szSwap, aszNames[i], sizeof(szSwap));
        std::memcpy(aszNames[i], aszNames[i + 1], sizeof(szSwap));
        std::memcpy(aszNames[i + 1], szSwap, sizeof(szSwap));
      }
}

void mteam_TablesSort() {
  for (std::int32_t t = 0; t < MTEAM_CONFERENCES; t++) mteam_TableSort(mteam_apConferences[t], mteam_acConferenceSizes[t]);
}

// ---- Screen ------------------------------------------------------------------------------

void mteam_Reset() {
  mteam_bNeedsEnter = 1;
  mteam_bSingleSide = 0;
  mteam_bSwapped = 0;
  mteam_bMarkerToggle = 1;
  mteam_iMarkerCounter = 0;
}

void mteam_Enter() {
  mteam_bSwapped = 0;
  mhelp_HelpShownClear();
  pcfmv_Stop();
  mregion_Reset();
  pcfmv_Stop();
  mteam_iListTop = 0;
  mteam_iListBottom = 4;
  mregion_LayoutAdd(mteam_aoLayout, MTEAM_LAYOUT_RECORDS, kSheet);
  pcfe_ScreenSet(kSheet);
  const std::int32_t iEuro = mregion_FindByName("EURO");
  const std::int32_t eExt = Extended();
  if (eExt == GAME_MODE_HISTORY || eExt == 69) {
    for (TacticsSide& s : mteam_aoSides) s.iPhase = MTEAM_IDLE;
    SideToButton(&mteam_aoSides[0], iEuro);
    mteam_aoSides[0].iTeamIndex = 0;
    mteam_aoSides[0].iPhase = MTEAM_MAP;
    if (TableNumberOfName(mregion_NameGet(mteam_aoSides[1].iButton)) < 0) SideToButton(&mteam_aoSides[1], iEuro);
    s_cActiveRed = eExt == 69 ? 1 : 0;
    s_cActiveBlue = 0;
    const std::int32_t cSides = eExt == 69 ? 2 : USER_MAX;
    for (std::int32_t u = 0; u < cSides; u++) {
      TacticsSide* ps = &mteam_aoSides[u];
      if (eExt == GAME_MODE_HISTORY && user_aUsers[u].bActive == 1) (u % 2 ? s_cActiveBlue : s_cActiveRed)++;
      const TacticsSide& o = mteam_aoSides[u % 2];
      ps->x = mregion_XGet(o.iButton);
      ps->y = mregion_YGet(o.iButton);
      ps->bHistoryEntry = 1;
      ps->iMoveCleared = 0;
      ps->aiCleared2[0] = 0;
      ps->aiCleared2[1] = 11;
      if (eExt == GAME_MODE_HISTORY && u < kHumanTeamCount) {
        ps->iButton = o.iButton;
        ps->iPhase = MTEAM_MAP;
      }
    }
  } else {
    MatchTeam* apoTeams[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
    User* apoUsers[2] = {global_poGetHomeUser(), global_poGetAwayUser()};
    for (std::int32_t k = 0; k < 2; k++) {
      TacticsSide* ps = &mteam_aoSides[k];
      // A remembered choice counts only when it names a confederation
      // button: a quick match or training leaves other values there.
      const std::int32_t iImage = team_ImageGet(apoTeams[k]);
      const bool bKept = team_PresentationFlagGet(apoTeams[k]) && iImage >= 0 && iImage < mregion_cCount &&
                         TableNumberOfName(mregion_NameGet(iImage)) >= 0;
      SideToButton(ps, bKept ? iImage : iEuro);
      ps->iTeamIndex = bKept ? team_SoundGet(apoTeams[k]) : 0;
      std::int32_t c = 0;
      mteam_TableOfButton(k, &c);
      if (ps->iTeamIndex < 0 || ps->iTeamIndex >= c) ps->iTeamIndex = 0;
      if (bKept) team_PresentationFlagSet(apoTeams[k], 1);
      ps->iPhase = apoUsers[k] ? MTEAM_MAP : MTEAM_IDLE;
    }
    mteam_aoSides[2].iPhase = mteam_aoSides[3].iPhase = MTEAM_IDLE;
  }
  mteam_iRedBlock = 0;
  mteam_iBlueBlock = 1;
  // The binding set stays the active one: the front end keeps no saved
  // binding state to restore over it.
  for (User& u : user_aUsers) {
    if (u.bActive != 1 || !u.pip) continue;
    input_EventQueueFlush(&u.pip->oEvents);
    input_PortBindingSet(kBinding, u.pip);
  }
  if (HistoryChoice()) mteam_bSingleSide = kHumanTeamCount == 1;
  else mteam_bSingleSide = !global_poGetHomeUser() || !global_poGetAwayUser();
  mregion_LinksSet("USA", "OZ", "SAM", "OZ", "SAM");
  mregion_LinksSet("SAM", "USA", "AFRIC", "USA", "AFRIC");
  mregion_LinksSet("AFRIC", "SAM", "EURO", "SAM", "EURO");
  mregion_LinksSet("EURO", "AFRIC", "ASIA", "AFRIC", "ASIA");
  mregion_LinksSet("ASIA", "EURO", "OZ", "EURO", "OZ");
  mregion_LinksSet("OZ", "ASIA", "USA", "ASIA", "USA");
  // The map's movie: id 164 has no row in the movie table, so nothing plays.
  pcfmv_PlayById(164);
  if (HistoryChoice()) s_poHistoryUser = global_poGetMenuUser();
  mteam_bTeamChosen = 1;
  mteam_TablesSort();
}

void mteam_HighlightDraw(const char* pszSprite) {
  char sz[MREGION_NAME_SIZE + 4];
  for (std::int32_t i = 1; i <= 3; i++) {
    std::snprintf(sz, sizeof(sz), "%s_%d", pszSprite, i);
    if (mregion_FindByName(sz) >= 0) mregion_DrawByName(sz);
  }
}

void mteam_ButtonDraw(std::int32_t iSide) {
  const TacticsSide* ps = &mteam_aoSides[iSide];
  char sz[MREGION_NAME_SIZE + 2];
  std::snprintf(sz, sizeof(sz), (iSide == 0 || iSide == 2) ? "%sR" : "%sB", mregion_NameGet(ps->iButton));
  const TacticsSide& a = mteam_aoSides[0];
  const TacticsSide& b = mteam_aoSides[1];
  const bool bShared = iSide < 2 && a.iButton == b.iButton && (a.iPhase == MTEAM_MAP || a.iPhase == MTEAM_LIST) &&
                       (b.iPhase == MTEAM_MAP || b.iPhase == MTEAM_LIST);
  if (bShared && (mteam_bMarkerToggle ? 0 : 1) != iSide) return;
  mregion_DrawByName(sz);
  mteam_HighlightDraw(sz);
  if (!bShared) return;
  if (++mteam_iMarkerCounter > 5) {
    mteam_iMarkerCounter = 0;
    mteam_bMarkerToggle = !mteam_bMarkerToggle;
  }
}

std::int32_t mteam_ListNameRoom(std::int32_t iSide) {
  const bool bRed = iSide == 0 || iSide == 2;
  for (const FrontEndLayoutRecord& r : mteam_aoLayout)
    if (std::strcmp(r.pszName, bRed ? "redbox" : "bluebox") == 0) {
      const std::int32_t sx = pcfe_ScaleX(static_cast<std::int16_t>(ListX(iSide)));
      const std::int32_t x0 = pcfe_ScaleX640(static_cast<std::int16_t>(r.x + 6)),
                         x1 = pcfe_ScaleX640(static_cast<std::int16_t>(r.x + r.w - 6));
      return 2 * (sx - x0 < x1 - sx ? sx - x0 : x1 - sx);
    }
  return 1 << 20;
}

void mteam_EditionColumnDraw(std::int32_t iSide, std::int32_t x) {
  const TacticsSide* ps = &mteam_aoSides[iSide];
  Grey();
  if (ps->iEdition < mteam_EditionLast(iSide)) Print(zone_YearToStr(mteam_EditionNext(iSide), 0), x, 185);
  Yellow();
  Print(zone_YearToStr(ps->iEdition, 0), x, 195);
  Grey();
  if (ps->iEdition > mteam_EditionFirst(iSide)) Print(zone_YearToStr(mteam_EditionPrev(iSide), 0), x, 205);
}

void mteam_Draw() {
  pctext_FontSet(1);
  std::int32_t acDone[2] = {0, 0};
  const std::int32_t cSides = HistoryChoice() ? 4 : 2;
  for (std::int32_t k = 0; k < cSides; k++) SideDraw(k, acDone);
  mregion_DrawAll();
  pctext_FontSet(0);
  Grey();
  if (HistoryChoice()) {
    char sz[16];
    std::snprintf(sz, sizeof(sz), "%d", mteam_iRedBlock + 1);
    mregion_DrawByName(sz);
    std::snprintf(sz, sizeof(sz), "%d", mteam_iBlueBlock + 1);
    mregion_DrawByName(sz);
  } else {
    mregion_DrawByName("1");
    mregion_DrawByName("2");
  }
  mhelp_ScreenHook();
}

std::int32_t mteam_Input(User* poUser) {
  std::int32_t eNext = MTEAM_MODE;
  InputPort* pip = poUser ? poUser->pip : nullptr;
  if (!pip) return eNext;
  std::int32_t iSide = -1;
  if (HistoryChoice()) {
    if (poUser == s_poHistoryUser) iSide = 0;
  } else if (poUser == global_poGetAwayUser()) {
    iSide = 1;
  } else if (poUser == global_poGetHomeUser()) {
    iSide = 0;
  }
  if (pcfe_bEscapeLastKey()) {  // Escape, whatever modifier is held
    sfx_Play(2);
    eNext = LeaveMode();
  }
  if (iSide < 0) {
    input_EventQueueFlush(&pip->oEvents);
    return eNext;
  }
  while (ListNode* poNode = queue_RemoveHead(&pip->oEvents)) {
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    std::int32_t e = MTEAM_MODE;
    switch (poEvent->eEvent) {
      case 8:
      case 9:
      case 10:
      case 11: Move(iSide, poEvent->eEvent); break;
      case 37: e = Select(iSide); break;
      case 38: e = Back(iSide); break;
      default: break;
    }
    if (e != MTEAM_MODE) eNext = e;
    input_EventFree(&poEvent);
  }
  return eNext;
}

void mteam_Run() {
  if (mteam_bNeedsEnter) {
    mteam_Enter();
    mteam_bNeedsEnter = 0;
  }
  mteam_Draw();
  std::int32_t eNext = MTEAM_MODE;
  for (User& u : user_aUsers) {
    if (u.bActive != 1) continue;
    const std::int32_t e = mteam_Input(&u);
    if (e != MTEAM_MODE) eNext = e;
  }
  switch (eNext) {
    case MTEAM_MODE:
    case 69: return;
    case 11:
    case 45:
      global_SetGameMode(static_cast<GameMode>(eNext));
      global_SetHomeUser(nullptr);
      global_SetAwayUser(nullptr);
      mteam_bSingleSide = 0;
      mteam_bNeedsEnter = 1;
      return;
    case GAME_MODE_START_TRAINING:
      if (!TrainingStart()) BuildRefused();
      return;
    case 48:
      global_SetGameMode(static_cast<GameMode>(48));
      if (mteam_bTeamChosen) {
        std::int32_t c = 0;
        ConferenceEntry* p = mteam_TableOfButton(0, &c);
        QDX_ASSERT(p && "pConf");
        if (p) {
          mfhfixtr_chosenTeam = p[mteam_TableIndexOfTeam(0, tmglobal_EditionMaskGet())].uTeam;
          mfhfixtr_pendingChoice = 1;
        }
      }
      mteam_bNeedsEnter = 1;
      return;
    case 13:
    case 57:
    case 47:
      if (!SidesBuild()) {
        BuildRefused();
        return;
      }
      global_SetGameMode(static_cast<GameMode>(eNext == 47 ? 57 : eNext));
      mteam_bNeedsEnter = 1;
      return;
    default: QDX_ASSERT(0 && "mTeam"); return;
  }
}
