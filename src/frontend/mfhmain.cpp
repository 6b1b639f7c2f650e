// The history hub's services and its screen.
#include "frontend/mfhmain.h"
#include "frontend/mfhmain_layout.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "audio/audio_services.h"
#include "engine/formation.h"
#include "engine/team.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/mtatics.h"
#include "frontend/mteam_layout.h"
#include "frontend/pcfe.h"
#include "matchflow/demo.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pcstub.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/dbindex.h"
#include "tournament/result.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"
#include "tournament/ticktape.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

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

// ---- Preparing a history match --------------------------------------------------------

std::int32_t mfhmain_State = 0;
MFHMainSheet mfhmain_aoSheets[2] = {{-1, 0, 0, 0}, {-1, 0, 0, 0}};

namespace {

constexpr const char* kSource = "Gen\\mfhmain";
// The team selection's confederation buttons, in the order of its tables.
constexpr const char* kButtons[MTEAM_CONFERENCES] = {"USA", "EURO", "SAM", "ASIA", "OZ", "AFRIC"};

std::vector<std::uint8_t> s_abSquadBuffer(DB_BLOCK_HEADER + DBPLAYER_FILE_SIZE * TEAM_SQUADSIZE_MAX);

std::int32_t TeamOf(const MatchTeam* t) { return t->Squad ? t->Squad->iTeamId : -1; }

// The region of a confederation table's button on the team selection: a
// prepared side shows as if chosen there.
std::int32_t ButtonOf(const ConferenceEntry* p, std::int32_t* piIndex) {
  for (std::int32_t t = 0; t < MTEAM_CONFERENCES; t++) {
    const ConferenceEntry* a = mteam_apConferences[t];
    if (p < a || p >= a + mteam_acConferenceSizes[t]) continue;
    *piIndex = static_cast<std::int32_t>(p - a);
    for (std::int32_t r = 0; r < MTEAM_LAYOUT_RECORDS; r++)
      if (std::strcmp(mteam_aoLayout[r].pszName, kButtons[t]) == 0) return r;
  }
  *piIndex = 0;
  return 0;
}

void SheetStore(MFHMainSheet* po, const MatchTeam* t) {
  po->iTeamId = TeamOf(t);
  po->iEdition = t->Squad ? t->Squad->iEdition : 0;
  po->iFormation = t->iFormation;
  po->iSavedFormation = t->iSavedFormation;
}

const MFHMainSheet* SheetFind(std::int32_t iTeam, std::int32_t iEdition) {
  for (const MFHMainSheet& o : mfhmain_aoSheets)
    if (o.iTeamId == iTeam && o.iEdition == iEdition) return &o;
  return nullptr;
}

// One side of the match: its squad from the cache slot when it holds the
// team already (its kept team sheet restored), else loaded into the slot.
std::int32_t SideSetUp(MatchTeam* t, std::uint32_t Team, std::int32_t iSlot, std::int32_t bHome) {
  const ConferenceEntry* p = mteam_FindConference(static_cast<std::int32_t>(Team));
  if (!p) {
    tmreport_Fault("ptConf", kSource);
    return 0;
  }
  const std::int32_t iEdition = tmglobal_EditionGet();
  Squad* poSlot = squadcache_SlotGet(iSlot);
  const bool bKept = poSlot && poSlot->iTeamId == static_cast<std::int32_t>(Team) && poSlot->iEdition == iEdition &&
                     poSlot->Size > 0;
  if (!bKept) {
    SquadTeamRef ref{static_cast<std::int32_t>(p->uTeam), static_cast<std::int32_t>(p->uKey)};
    poSlot = squadcache_Load(&ref, iEdition, iSlot, s_abSquadBuffer.data(), static_cast<std::int32_t>(s_abSquadBuffer.size()));
    if (!poSlot) {
      tmreport_Fault("pSquad", kSource);
      return 0;
    }
  }
  if (bHome) match_HomeSquadSet(poSlot);
  else match_AwaySquadSet(poSlot);
  t->SubRequest = -1;
  const MFHMainSheet* poSheet = bKept ? SheetFind(static_cast<std::int32_t>(Team), iEdition) : nullptr;
  if (poSheet && poSheet->iSavedFormation >= 0 && poSheet->iSavedFormation < MTATICS_FORMATION_COUNT) {
    t->iFormation = poSheet->iFormation;
    t->iSavedFormation = poSheet->iSavedFormation;
    team_FormationReset(t);
    team_SuspensionsApply(t);
  } else {
    t->iFormation = -1;
    team_SetUp(mteam_FormationGet(p, iEdition), t);
    team_NumbersFromSlots(t);
  }
  team_FormationSave(t);
  if (bHome) pcstub_HomeStrengthAdjust(t);
  else pcstub_AwayStrengthAdjust(t);
  std::int32_t iIndex = 0;
  team_ImageSet(t, ButtonOf(p, &iIndex));
  team_SoundSet(t, iIndex);
  team_PresentationFlagSet(t, 1);
  return 1;
}

// Fixtures played in the year, to see a simulated date change something.
std::int32_t PlayedCount(const Year* y) {
  std::int32_t n = 0;
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext)
        for (const Fixture* f = r->pFixtures; f; f = f->pNext) n += f->cFlags & FIX_PLAYED;
  return n;
}

std::uint32_t RecordName(const HumanTeam* po) { return po ? po->Name : 0; }

// The human team's next fixture and its opponent (0 none).
std::uint32_t NextOpponent(Year* y, std::uint32_t Human, Round** ppr, Fixture** ppf, Group** ppg = nullptr) {
  if (!Human || !y || !history_FixtureFindByTeam(y, Human, ppr, ppf, nullptr, ppg)) return 0;
  const std::uint32_t A = history_FixtureTeamA(*ppr, *ppf);
  return A == Human ? history_FixtureTeamB(*ppr, *ppf) : A;
}

}  // namespace

MatchTeam* mfhmain_poMatchTeamGet(std::uint32_t TeamId) {
  MatchTeam* apo[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
  for (MatchTeam* t : apo)
    if (t->Squad && t->Squad->Size > 0 && TeamOf(t) == static_cast<std::int32_t>(TeamId)) return t;
  return nullptr;
}

std::int32_t mfhmain_MatchPrepare(Year* poYear, std::int32_t iHuman, const HumanTeam* poRecord) {
  const std::uint32_t Human = RecordName(poRecord);
  Round* r = nullptr;
  Fixture* f = nullptr;
  Group* g = nullptr;
  const std::uint32_t Opponent = NextOpponent(poYear, Human, &r, &f, &g);
  if (!Opponent || !tmteam_IsProperName(Opponent)) return 0;
  history_GroupIndexFind(poYear, g);
  const bool bHumanHome = history_FixtureTeamA(r, f) == Human;
  // Sides already loaded keep their team sheets: the players' places go back
  // to their slots and the formations into the cache.
  if (mfhmain_poMatchTeamGet(Human) || mfhmain_poMatchTeamGet(Opponent)) {
    match_SquadsCopyBack();
    SheetStore(&mfhmain_aoSheets[0], match_HomeTeamGet());
    SheetStore(&mfhmain_aoSheets[1], match_AwayTeamGet());
  }
  match_SquadBuffersPoint();
  MatchTeam* poHome = match_HomeTeamGet();
  MatchTeam* poAway = match_AwayTeamGet();
  // The slots are filled human side first: a kept opponent in slot 1 is
  // found before slot 0 is loaded over.
  if (!SideSetUp(bHumanHome ? poHome : poAway, Human, 0, bHumanHome ? 1 : 0)) return 0;
  if (!SideSetUp(bHumanHome ? poAway : poHome, Opponent, 1, bHumanHome ? 0 : 1)) return 0;
  User* poLead = global_poGetMenuUser();
  if (poLead) poLead->MyTeam = bHumanHome ? 1 : 2;
  global_SetHomeUser(bHumanHome ? poLead : nullptr);
  global_SetAwayUser(bHumanHome ? nullptr : poLead);
  tmglobal_TournamentMatchSet(1);
  tmglobal_RoundFormatSet(static_cast<std::int32_t>(r->uFormat));
  tmglobal_TieBreakSet(static_cast<std::int32_t>(r->uTieBreak));
  tmglobal.bSecondLeg = 0;
  if (r->uTieBreak == TB_AGG || r->uTieBreak == TB_AGG2) {
    const Fixture* f0 = history_FixtureGet(r, 0);
    const Fixture* f1 = history_FixtureGet(r, 1);
    tmglobal.bSecondLeg = (f0 && tmglobal_FixturePlayedGet(f0)) || (f1 && tmglobal_FixturePlayedGet(f1)) ? 1 : 0;
  }
  tmglobal_MatchPhaseSet(0);
  (void)iHuman;
  // The round's list holds rows of the stadium table: one drawn evenly.
  const std::int32_t cStadiums = stadium_RoundCountGet(r);
  std::int32_t iStadium = 0;
  if (cStadiums > 0) {
    std::int32_t iRand = static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(cStadiums - 1)));
    QDX_ASSERT(iRand < cStadiums && "iRand < iMax");
    const StadiumLink* s = r->pStadiums;
    while (iRand-- > 0 && s->pNext) s = s->pNext;
    iStadium = s->uId;
    match.HomeGround = stadium_HostGet(iStadium) == TeamOf(poHome) ? 1 : 0;
  } else {
    iStadium = stadium_Choose(tmglobal_EditionGet(), r);
  }
  environ_StadiumSet(iStadium);
  environ_Choose();
  environ_PitchChoose();
  return 1;
}

void mfhmain_SimulateUntilFixture() {
  Year* y = tmgame_CurrentYearGet();
  Round* r = nullptr;
  Fixture* f = nullptr;
  const std::int32_t h = tmglobal.iCurrentHuman;
  const std::uint32_t Human = h >= 0 && h < TM_HUMAN_MAX ? tmglobal.aHumans[h].Name : 0;
  if (!Human || !history_FixtureFindByTeam(y, Human, &r, &f)) return;
  history_CurrentDateFromFixtureSet(r, f);
  // The match day's own computer fixtures too: their results are known at
  // kick-off, for the results ticker to bring them in goal by goal.
  while (!tmgame_AreFixturesDueByTodayPlayed(y)) {
    const std::int32_t iBefore = PlayedCount(y);
    tmgame_DaySimulate();
    if (PlayedCount(y) == iBefore) break;  // nothing more falls due by the date
  }
}

// ---- The forced score -------------------------------------------------------------------

void mfhmain_ForcedScoreDisarm() {
  mfhmain_oScreen.iForceState = MFHMAIN_FORCE_OFF;
  mfhmain_oScreen.uForceKeys = 0;
}

void mfhmain_ForceKey(std::int32_t eCode) {
  MFHMainScreen& s = mfhmain_oScreen;
  if (eCode == 164) {
    mfhmain_ForcedScoreDisarm();
    return;
  }
  if (eCode != 165 && eCode != 166) return;
  if ((s.uForceKeys & 0xFFFu) != MFHMAIN_FORCE_PATTERN) {
    s.uForceKeys = (s.uForceKeys << 1) | (eCode == 166 ? 1u : 0u);
    return;
  }
  if (s.iForceState == MFHMAIN_FORCE_OFF) {
    s.iForceState = 0;
    s.iForceHome = s.iForceAway = 0;
    return;
  }
  std::int32_t& iGoals = eCode == 165 ? s.iForceHome : s.iForceAway;
  iGoals = iGoals >= 10 ? 0 : iGoals + 1;
}

std::int32_t mfhmain_ForcedScoreGet(std::int32_t* piHome, std::int32_t* piAway) {
  const MFHMainScreen& s = mfhmain_oScreen;
  if (s.iForceState >= MFHMAIN_FORCE_OFF) return 0;
  if (piHome) *piHome = s.iForceHome;
  if (piAway) *piAway = s.iForceAway;
  return 1;
}

// ---- The hub screen ------------------------------------------------------------------

MFHMainScreen mfhmain_oScreen = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, MFHMAIN_FORCE_OFF, 0, 0, 0};

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

using PrintFn = void (*)(const char*, std::int32_t, std::int32_t, std::int32_t);

// The frame of "Quit History?" while it shows (display pixels, ends
// excluded), else empty: a hub text it would cut through is left out, so
// that no part of one shows round its edge.
struct CoverRect {
  std::int32_t x0, y0, x1, y1;
};
CoverRect s_oCover = {0, 0, 0, 0};

// A text as fitted, with its shadow (the fitted text's font current while
// it is drawn); not where the quit box covers it.
void HubDraw(const PCFEFitted& o, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b,
             PrintFn pfnPrint) {
  const std::int32_t sx = pcfe_ScaleX(static_cast<std::int16_t>(x)), sy = pcfe_ScaleY(static_cast<std::int16_t>(y));
  // The text's cell with its shadow: from 3 pixels over its place, one font
  // height tall, and one pixel more each way.
  const std::int32_t w = pctext_WidthGet(o.c_str());
  const std::int32_t left = pfnPrint == pctext_PrintRight ? sx - w : (pfnPrint == pctext_PrintCentred ? sx - w / 2 : sx);
  const std::int32_t top = sy - 3, bottom = top + pctext_HeightGet() + 1;
  if (left < s_oCover.x1 && left + w + 1 > s_oCover.x0 && top < s_oCover.y1 && bottom > s_oCover.y0) return;
  draw2d_TextColourSet(0, 0, 0, 255);
  pfnPrint(o.c_str(), sx + 1, sy + 1, kHubLayer);
  draw2d_TextColourSet(r, g, b, 255);
  pfnPrint(o.c_str(), sx, sy, kHubLayer);
}
// iRoom: the width the text may take (640 x 480 units); 0 leaves it as it is.
void HubPrint(const char* psz, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b,
              PrintFn pfnPrint = pctext_PrintLeft, std::int32_t iRoom = 0) {
  HubDraw(PCFEFitted(psz, pcfe_RoomX640(iRoom)), x, y, r, g, b, pfnPrint);
}
// A team by its team-name id, left-aligned in iRoom, in the hub's grey.
void HubTeamPrint(std::uint32_t Name, std::int32_t x, std::int32_t y, std::int32_t iRoom) {
  HubDraw(PCFEFitted(tla_NamesOf(Name), pcfe_RoomX640(iRoom)), x, y, 200, 200, 200, pctext_PrintLeft);
}

// The room of the hub's long texts inside their panels (640 x 480 units):
// the team's name before the year, the fixture's first team before the "v",
// the second before the panel's edge, the round's title across the panel.
constexpr std::int32_t kTeamRoom = 284 * 5 / 4 - 152 * 5 / 4 - 10;
constexpr std::int32_t kFixtureRooms[2] = {258 * 5 / 4 - 148 * 5 / 4 - 8,
                                           mfhmain_aoPanels[2].x + mfhmain_aoPanels[2].w - 370 * 5 / 4 - 8};
constexpr std::int32_t kTitleRoom = mfhmain_aoPanels[2].w - 16;

// The next fixture: both teams (no name for one still unknown), its date and
// the round's title.
void FixtureDraw() {
  Round* r = nullptr;
  Fixture* f = nullptr;
  if (!NextOpponent(tmgame_CurrentYearGet(), CurrentHumanName(), &r, &f)) return;
  const std::uint32_t aTeams[2] = {history_FixtureTeamA(r, f), history_FixtureTeamB(r, f)};
  for (std::int32_t k = 0; k < 2; k++)
    if (tmteam_IsProperName(aTeams[k]))
      HubTeamPrint(aTeams[k], kColumnX[k], 164, kFixtureRooms[k]);
  pctext_FontSet(2);
  HubPrint("v", 258, 163, 200, 200, 200);
  pctext_FontSet(1);
  if (const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate)) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "%d.%d.%d", d->cDay, d->cMonth, d->cYear);
    HubPrint(sz, 450, 46, 200, 200, 200, pctext_PrintRight);
  }
  HubPrint(tmgame_RoundTitleGet(), 256, 188, 200, 200, 200, pctext_PrintCentred, kTitleRoom);
}

// The human team's side for the team sheet: the whole match when the
// opponent is known, else the human side alone.
MatchTeam* HumanSidePrepare() {
  const std::int32_t h = tmglobal.iCurrentHuman;
  Round* r = nullptr;
  Fixture* f = nullptr;
  const std::uint32_t Opponent = NextOpponent(tmgame_CurrentYearGet(), CurrentHumanName(), &r, &f);
  if (!Opponent) return nullptr;
  if (tmteam_IsProperName(Opponent)) {
    if (!mfhmain_MatchPrepare(tmgame_CurrentYearGet(), h, &tmglobal.aHumans[h])) return nullptr;
  } else if (!mfhmain_poMatchTeamGet(CurrentHumanName())) {
    match_SquadBuffersPoint();
    if (!SideSetUp(match_HomeTeamGet(), CurrentHumanName(), 0, 1)) return nullptr;
  }
  return mfhmain_poMatchTeamGet(CurrentHumanName());
}

// The team sheet (mode 13) for a side: its record edits or shows the team.
std::int32_t SheetOpen(std::int32_t iSide, MatchTeam* t, std::int32_t iPage, std::int32_t eExtended) {
  TacticsSide& ps = mteam_aoSides[iSide];
  ps.poTeamPlayerTeam = t;
  ps.iCursorItem = iPage;
  if (iPage != MTATICS_LIST) ps.iPage = iPage;
  ps.iHighlightedFormation = ps.iCurrentFormation = team_FormationGet(t);
  ps.bListSetUp = 0;
  ps.poFirstChosen = ps.poSecondChosen = nullptr;
  global_SetExtendedGameMode(static_cast<GameMode>(eExtended));
  sfx_Play(1);
  return MTATICS_MODE;
}

std::int32_t PlayMatch() {
  const std::int32_t h = tmglobal.iCurrentHuman;
  Round* r = nullptr;
  Fixture* f = nullptr;
  // An opponent still to be decided by other groups is known once the world
  // has played up to the fixture.
  if (!tmteam_IsProperName(NextOpponent(tmgame_CurrentYearGet(), CurrentHumanName(), &r, &f)))
    mfhmain_SimulateUntilFixture();
  if (!mfhmain_MatchPrepare(tmgame_CurrentYearGet(), h, &tmglobal.aHumans[h])) {
    sfx_Play(3);
    return MFHMAIN_MODE;
  }
  mfhmain_SimulateUntilFixture();
  tmmain_CurrentYearCache();
  global_SetExtendedGameMode(GAME_MODE_HISTORY);
  // The match's score is entered after it; a match left early enters no
  // score of an earlier one.
  tmglobal_NormalTimeScoreSet(0, 0);
  tmgame_ResultPendingSet(0, 0, 3);
  demo_Stop();
  sfx_Play(1);
  return GAME_MODE_MATCH_START;
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
        return MFHMAIN_MODE;
      }
      return mfhmain_bHasNextFixture() ? PlayMatch() : MFHMAIN_MODE;
    case 1:
    case 2: {
      if (iItem == 2 && s.bFinals) return MFHMAIN_MODE;
      MatchTeam* t = mfhmain_bHasNextFixture() ? HumanSidePrepare() : nullptr;
      if (!t) {
        sfx_Play(3);
        return MFHMAIN_MODE;
      }
      return iItem == 1 ? SheetOpen(0, t, MTATICS_LIST, 51) : SheetOpen(0, t, 24, 54);
    }
    case 5: {
      Round* r = nullptr;
      Fixture* f = nullptr;
      const std::uint32_t Opponent = NextOpponent(tmgame_CurrentYearGet(), CurrentHumanName(), &r, &f);
      if (!tmteam_IsProperName(Opponent)) return MFHMAIN_MODE;
      MatchTeam* t = mfhmain_poMatchTeamGet(Opponent);
      if (!t) {
        const std::int32_t h = tmglobal.iCurrentHuman;
        if (mfhmain_MatchPrepare(tmgame_CurrentYearGet(), h, &tmglobal.aHumans[h])) t = mfhmain_poMatchTeamGet(Opponent);
      }
      if (!t) {
        sfx_Play(3);
        return MFHMAIN_MODE;
      }
      return SheetOpen(1, t, MTATICS_LIST, 71);
    }
    case 3: sfx_Play(1); global_SetExtendedGameMode(static_cast<GameMode>(48)); return 48;
    case 4: sfx_Play(1); global_SetExtendedGameMode(static_cast<GameMode>(55)); return 55;
    case 6: sfx_Play(1); global_SetExtendedGameMode(static_cast<GameMode>(56)); return 56;
    case 7: sfx_Play(1); return 52;
    default: return MFHMAIN_MODE;
  }
}

std::int32_t QuitSelect() {
  MFHMainScreen& s = mfhmain_oScreen;
  if (s.iQuitChoice != 0) {
    s.bQuitBox = 0;
    sfx_Play(2);
    return MFHMAIN_MODE;
  }
  mfhmain_HistoryLeave();
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

void mfhmain_HistoryLeave() {
  global_SetExtendedGameMode(static_cast<GameMode>(12));
  mfhmain_oScreen.bNeedsEnter = 1;
  tmglobal.bStarted = 0;
  // A match left on the way enters no result, now or in a later history.
  tmgame_FlowReset();
}

void mfhmain_Reset() {
  MFHMainScreen& s = mfhmain_oScreen;
  s.iCursor = 0;
  s.bNeedsEnter = 1;
  s.bQuitBox = 0;
  s.iQuitChoice = 1;
  s.bTeamChoice = 0;
  s.cEditionsPlayed = 0;
  for (MFHMainSheet& o : mfhmain_aoSheets) o = MFHMainSheet{-1, 0, 0, 0};
}

void mfhmain_Enter() {
  MFHMainScreen& s = mfhmain_oScreen;
  pcfmv_Stop();
  s.bNeedsEnter = 0;
  // The hub is the history's own screen: whichever screen it comes back
  // from (the team sheet, the squad pages), the history is the extended
  // mode again, and the round's title under the next fixture shows.
  global_SetExtendedGameMode(GAME_MODE_HISTORY);
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
  s_oCover = {0, 0, 0, 0};
  if (s.bQuitBox) {
    pcfe_ConfirmPanelDraw(IDS_FE_QUIT_HISTORY, s.iQuitChoice == 0);
    std::int32_t x = 0, y = 0, w = 0, h = 0;
    pcfe_ConfirmPanelRect(IDS_FE_QUIT_HISTORY, &x, &y, &w, &h);
    s_oCover = {x, y, x + w, y + h};
    pctext_FontSet(1);
  }
  HubTeamPrint(CurrentHumanName(), 152, 46, kTeamRoom);
  char sz[32];
  std::snprintf(sz, sizeof sz, "19%02d", tmglobal.iYear % 100);
  HubPrint(sz, 284, 46, 200, 200, 200);
  for (std::int32_t i = 0; i < MFHMAIN_ITEMS; i++) {
    const std::int32_t x = kColumnX[i / 4], y = kItemY[i % 4];
    if (i == 2 && s.bFinals) HubPrint(festr_IDToStr(kItemTexts[i]), x, y, 80, 80, 80);
    else if (i == s.iCursor && !s.bTeamChoice) HubPrint(festr_IDToStr(kItemTexts[i]), x, y, 200, 200, 0);
    else HubPrint(festr_IDToStr(kItemTexts[i]), x, y, 200, 200, 200);
  }
  FixtureDraw();
  if (s.iForceState < MFHMAIN_FORCE_OFF) {
    std::snprintf(sz, sizeof sz, "FORCE SCORE %d %d", s.iForceHome, s.iForceAway);
    HubPrint(sz, 100, 20, 200, 200, 200);
  }
  pctext_FontSet(0);
}

std::int32_t mfhmain_Input(User* poUser) {
  MFHMainScreen& s = mfhmain_oScreen;
  std::int32_t eNext = MFHMAIN_MODE;
  if (!poUser || !poUser->pip) return eNext;
  const std::int32_t cHumans = tmglobal.cHumans;
  // Escape comes from the keyboard, not from the queue, once a press.
  if (pcfe_bEscapeLastKey() && !s.bQuitBox) QuitOpen();
  std::int32_t eCode = 0;
  while (eNext == MFHMAIN_MODE && pcfe_bEventCodeNext(poUser, &eCode)) {
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
        if (!s.bQuitBox) QuitOpen();
        break;
      case 164:
      case 165:
      case 166: mfhmain_ForceKey(eCode); break;
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
