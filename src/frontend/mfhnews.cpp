// The history news screen: scripts of page codes run one after another; a
// code that shows nothing lets the next run in the same frame, a page waits
// for select or start, and a code that hands over to another screen ends the
// frame (the screen comes back here with the arrival flag and goes on).
#include "frontend/mfhnews.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "audio/audio_services.h"
#include "engine/engine_services.h"
#include "engine/formation.h"
#include "engine/team.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhgroup.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhrole.h"
#include "frontend/mhelp.h"
#include "frontend/mhelp_layout.h"
#include "frontend/mregion.h"
#include "frontend/mtatics.h"
#include "frontend/mteam.h"
#include "frontend/mteam_conf.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/injuryg.h"
#include "matchflow/matcha.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/dbplayer.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"
#include "tournament/yearfile.h"

std::int32_t mfhnews_bPending = 0;
std::int32_t mfhnews_bArrived = 0;

const std::int8_t mfhnews_aaScripts[MFHNEWS_SCRIPTS][24] = {
    {47, 40, 45, 31, 2, 3, 1, 5, 49, -1},
    {42, 42, 32, 42, 42, 37, 47, 45, 31, 9, 11, 12, 10, 14, 49, -1},
    {47, 6, 7, 23, 24, 25, 5, 8, 1, 49, -1},
    {47, 15, 16, 23, 26, 27, 14, 17, 10, 49, -1},
    {40, 47, 40, 28, 5, 36, 29, 47, 5, 36, 44, 41, 41, 43, 30, -1},
    {40, 47, 40, 28, 5, 36, 42, 42, 32, 42, 42, 37, 46, 47, 45, 31, 9, 11, 12, 10, 14, 49, -1},
    {41, 41, 29, 47, 14, 36, 41, 41, 47, 44, 43, 30, -1},
    {41, 29, 48, 42, 42, 47, 41, 14, 36, 41, 41, 33, 44, 43, 30, -1},
    {42, 42, 0, 38, 47, 40, 45, 31, 2, 3, 1, 5, 49, -1},
    {42, 42, 32, 42, 42, 0, 42, 42, 38, 37, 47, 45, 31, 9, 11, 12, 10, 14, 49, -1},
    {47, 40, 35, 42, 42, 47, 34, 39, -1},
};

MFHNewsScreen mfhnews_oScreen = {1, 0, 0, -1, 49, 0, 0, 1, 1, 0, 0, MFHNEWS_WINDOW_LINES, 0, MFHNEWS_MODE, 0};
MFHNewsMarkers mfhnews_oMarkers = {-1, {0, 0, 0}, {0, 0, 0}, "", "", -1};

namespace {

constexpr std::int32_t kBinding = 46;
constexpr std::int32_t kLayer = 1;
constexpr std::int32_t kTop = 67, kLineStep = 10;
constexpr std::int32_t kEditionWait = 9;  // frames before code 43 acts
constexpr std::int32_t kSquadBuffer = 4 + 112 * TEAM_SQUADSIZE_MAX;
constexpr std::int32_t kSquadPage = 24;
constexpr const char* kSource = "Gen\\mfhnews";

// What a code did this frame.
enum Outcome { kWait, kDone, kHandOver };

std::uint32_t Human() {
  const std::int32_t i = tmglobal.iCurrentHuman;
  return i >= 0 && i < TM_HUMAN_MAX ? tmglobal.aHumans[i].Name : 0;
}

const char* Text(std::int32_t id) { return festr_IDToStr(id); }

void Colour(std::uint8_t r, std::uint8_t g, std::uint8_t b) { draw2d_TextColourSet(r, g, b, 255); }

std::int32_t X(std::int32_t x) { return pcfe_ScaleX(static_cast<std::int16_t>(x)); }
std::int32_t Y(std::int32_t y) { return pcfe_ScaleY(static_cast<std::int16_t>(y)); }

// Line n of the page when it is inside the text window: its y, else -1.
std::int32_t LineY(std::int32_t n) {
  const MFHNewsScreen& s = mfhnews_oScreen;
  if (n < s.iFirstLine || n >= s.iLastLine) return -1;
  return kTop + kLineStep * (n - s.iFirstLine);
}

void LineCentred(std::int32_t n, const char* psz) {
  const std::int32_t y = LineY(n);
  if (y >= 0) pctext_PrintCentred(psz, X(256), Y(y), kLayer);
}

void WindowSet(std::int32_t cVisible) {
  mfhnews_oScreen.iFirstLine = 0;
  mfhnews_oScreen.iLastLine = cVisible;
}

// A hand-over to another screen that comes back here.
Outcome HandOver(std::int32_t eMode) {
  mfhnews_oScreen.iNextMode = eMode;
  return kHandOver;
}

void SimulateDueDays() {
  Year* y = tmgame_CurrentYearGet();
  for (std::int32_t i = 0; y && i < 800 && !tmgame_AreDueFixturesPlayed(y); i++) {
    tmgame_DaySimulate();
    y = tmgame_CurrentYearGet();
  }
}

void DayBeforeNextFixture() {
  Round* r = nullptr;
  Fixture* f = nullptr;
  if (!history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human(), &r, &f)) return;
  history_CurrentDateFromFixtureSet(r, f);
  history_DateDecrement(&global.iDay, &global.iMonth, &global.iYear);
}

void QualifiersToFinals() {
  if (tmglobal.bFinalsLoaded) return;
  tmgame_QualifiersExtract();
  tmgame_FinalsAfterQualifiersLoad();
  mfhmain_oScreen.bFinals = tmglobal.bFinalsLoaded ? 1 : 0;
}

Year* FinalsYear() { return TheYearList && tmglobal.bFinalsLoaded ? TheYearList->pNext : nullptr; }

// The edition's roll-of-honour entry from its finals; the winner holds the
// title entering the next edition.
void RollOfHonourFill() {
  const std::int32_t e = tmglobal_EditionGet();
  RollOfHonourEntry* p = tmmain_RollOfHonourEntryGet(e);
  Year* y = FinalsYear();
  if (!p || !y) return;
  tmmain_RollOfHonourFromFinals(y, p);
  if (p->Winner == 0) return;
  std::snprintf(tmglobal.szLastWinner, sizeof tmglobal.szLastWinner, "%s", tmteam_NameText(p->Winner));
  if (e + 1 <= TM_EDITIONS) tmglobal.aHolders[e + 1] = p->Winner;
}

// The human team of the edition code 43 left, under its name then: the
// squad changes page compares its squad with the new one.
std::uint32_t s_uLastTeam = 0;

// Code 43: the next edition the human team takes part in, or the Over script.
void NextEdition() {
  const std::int32_t ePrev = tmglobal_EditionGet();
  s_uLastTeam = Human();
  tmglobal.bFinalsLoaded = 0;
  mfhmain_bYearLoaded = 0;
  newqual_NewFlagsClear(tmglobal.aNewQual);
  if (tmglobal.iYear >= 90)
    for (HumanTeam& h : tmglobal.aHumans)
      if (h.Name == 70 || h.Name == 77) h.Name = 80;
  if (!mfhmain_NextEditionStart()) {
    tmmain_RollOfHonourDefaultsCopy(ePrev + 1, TM_EDITIONS - 1);
    mfhnews_oScreen.iPendingScript = MFHNEWS_OVER;
    return;
  }
  newqual_Clear(tmglobal.aNewQual);
  tmgame_QualifiedSet(tmglobal.iCurrentHuman, 0);
  if (Year* y = TheYearList ? tmgame_CurrentYearGet() : nullptr) history_UserFixturesMark(y);
  Round* r = nullptr;
  Fixture* f = nullptr;
  for (std::int32_t i = 0; i < 800 && !history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human(), &r, &f); i++)
    tmgame_DaySimulate();
  tmmain_RollOfHonourDefaultsCopy(ePrev + 1, tmglobal_EditionGet() - 1);
}

// ---- Pages -----------------------------------------------------------------------

bool SameDate(const std::int32_t* a, const std::int32_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

void ResultNamePrint(std::int32_t iTeamId, std::int32_t x, std::int32_t y, bool bRight) {
  const PCFEFitted o(tla_NamesGet(iTeamId), mfhnews_ResultNameRoom());
  if (bRight) pctext_PrintRight(o.c_str(), X(x), Y(y), kLayer);
  else pctext_PrintLeft(o.c_str(), X(x), Y(y), kLayer);
}

Outcome ResultsPage(std::int32_t bDraw) {
  MFHNewsMarkers& m = mfhnews_oMarkers;
  const std::int32_t aiNow[3] = {global.iDay, global.iMonth, global.iYear % 100};
  if (!SameDate(aiNow, m.aiLast)) {
    std::memcpy(m.aiBefore, m.aiLast, sizeof m.aiBefore);
    std::memcpy(m.aiLast, aiNow, sizeof m.aiLast);
  }
  FixtureDate oFrom{};
  oFrom.cDay = static_cast<std::uint8_t>(m.aiBefore[0]);
  oFrom.cMonth = static_cast<std::uint8_t>(m.aiBefore[1]);
  oFrom.cYear = static_cast<std::uint8_t>(m.aiBefore[2]);
  std::int32_t n = 0;
  char sz[16];
  for (Confederation* c = tmgame_CurrentYearGet() ? tmgame_CurrentYearGet()->pConfs : nullptr; c; c = c->pNext) {
    bool bConf = false;
    const char* pszLastRound = "";
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext) {
        bool bRound = false;
        for (Fixture* f = r->pFixtures; f; f = f->pNext) {
          if (!tmglobal_FixturePlayedGet(f) || !history_FixtureDateIsPast(r, f)) continue;
          const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
          if (!d || history_DateCompare(d, &oFrom) < 0) continue;
          std::int32_t y;
          if (!bConf) {
            bConf = true;
            if (bDraw && (y = LineY(n)) >= 0) {
              Colour(0, 155, 0);
              pctext_PrintLeft(c->szName, X(60), Y(y), kLayer);
            }
            n++;
          }
          if (!bRound) {
            bRound = true;
            if (r->szLongName[0] && std::strcmp(r->szLongName, pszLastRound) != 0) {
              if (bDraw && (y = LineY(n)) >= 0) {
                Colour(255, 255, 0);
                pctext_PrintLeft(r->szLongName, X(60), Y(y), kLayer);
              }
              n++;
            }
            pszLastRound = r->szLongName;
          }
          y = LineY(n++);
          if (!bDraw || y < 0) continue;
          const std::int32_t A = static_cast<std::int32_t>(history_FixtureTeamA(r, f));
          const std::int32_t B = static_cast<std::int32_t>(history_FixtureTeamB(r, f));
          Colour(255, 255, 255);
          std::snprintf(sz, sizeof sz, "%d.%d", d->cDay, d->cMonth);
          pctext_PrintLeft(sz, X(60), Y(y), kLayer);
          ResultNamePrint(A, 219, y, true);
          std::snprintf(sz, sizeof sz, "%d", f->cScoreA + f->cExtraA);
          pctext_PrintLeft(sz, X(229), Y(y), kLayer);
          if (f->cPenA + f->cPenB > 0) {
            std::snprintf(sz, sizeof sz, "(%d)", f->cPenA);
            pctext_PrintLeft(sz, X(239), Y(y), kLayer);
            std::snprintf(sz, sizeof sz, "(%d)", f->cPenB);
            pctext_PrintRight(sz, X(285), Y(y), kLayer);
          } else {
            pctext_PrintLeft("-", X(258), Y(y), kLayer);
          }
          std::snprintf(sz, sizeof sz, "%d", f->cScoreB + f->cExtraB);
          pctext_PrintRight(sz, X(295), Y(y), kLayer);
          ResultNamePrint(B, 305, y, false);
        }
      }
  }
  mfhnews_oScreen.cLines = n;
  return n == 0 ? kDone : kWait;
}

Outcome QualificationPage() {
  const std::int32_t h = tmglobal.iCurrentHuman;
  char sz[128];
  if (tmglobal.bFinalsLoaded) {
    Round* r = nullptr;
    Fixture* f = nullptr;
    Confederation* c = nullptr;
    const bool bQualified = history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human(), &r, &f, &c) &&
                            !tmgame_IsRoundStarted(r) && c;
    const bool bFailed = tmgame_FailedToQualifyGet(h) != 0;
    if (!bQualified && !bFailed) return kDone;
    Colour(255, 255, 255);
    if (bQualified) {
      pctext_PrintCentred(Text(874), X(256), Y(97), kLayer);
      pctext_PrintCentred(c->szName, X(256), Y(117), kLayer);
    }
    if (bFailed) pctext_PrintCentred(Text(872), X(256), Y(bQualified ? 97 : 67), kLayer);
    mfhnews_oScreen.cLines = 0;
    return kWait;
  }
  if (mfhnews_oScreen.bFirstFrame) WindowSet(9);
  const bool bQualified = tmgame_QualifiedGet(h) != 0, bFailed = tmgame_FailedToQualifyGet(h) != 0;
  const std::int32_t cNew = newqual_iCountGet();
  if (!bQualified && !bFailed && cNew == 0) return kDone;
  std::int32_t y = kTop;
  Colour(255, 255, 255);
  if (bQualified) {
    // The sentence's words agree with the team's name.
    char szForm[128];
    festr_FormCopy(Text(303), tla_FormGet(static_cast<std::int32_t>(Human())), szForm, sizeof szForm);
    festr_WordFill(szForm, tla_NameGet(static_cast<std::int32_t>(Human())), sz, sizeof sz);
    pctext_PrintCentred(sz, X(256), Y(y), kLayer);
    y += 20;
  }
  if (bFailed) {
    pctext_PrintCentred(Text(872), X(256), Y(y), kLayer);
    y += 20;
  }
  if (cNew > 0) {
    std::snprintf(sz, sizeof sz, Text(875), tmglobal.iYear % 100);
    pctext_PrintCentred(sz, X(256), Y(y), kLayer);
    std::snprintf(sz, sizeof sz, Text(876), tmglobal.iYear % 100);
    pctext_PrintCentred(sz, X(256), Y(y + 10), kLayer);
    y += 30;
  }
  // The marked-new entries first in white, then the others in yellow.
  std::int32_t n = 0;
  for (std::int32_t pass = 1; pass >= 0; pass--)
    for (std::int32_t i = 0; i < cNew && i < NEWQUAL_NUM_QUALIFIERS; i++) {
      const NewQualifier& q = tmglobal.aNewQual[i];
      if ((q.bNew != 0) != (pass == 1)) continue;
      const std::int32_t iLine = n++;
      if (iLine < mfhnews_oScreen.iFirstLine || iLine >= mfhnews_oScreen.iLastLine) continue;
      if (pass) Colour(255, 255, 255);
      else Colour(255, 255, 0);
      pctext_PrintCentred(tla_NameGet(static_cast<std::int32_t>(q.Name)), X(256),
                          Y(y + kLineStep * (iLine - mfhnews_oScreen.iFirstLine)), kLayer);
    }
  mfhnews_oScreen.cLines = n;
  return kWait;
}

Outcome QualifiersPage() {
  if (mfhnews_oScreen.bFirstFrame) WindowSet(9);
  char sz[64];
  Colour(255, 255, 0);
  std::snprintf(sz, sizeof sz, Text(875), tmglobal.iYear % 100);
  pctext_PrintCentred(sz, X(256), Y(67), kLayer);
  std::snprintf(sz, sizeof sz, Text(876), tmglobal.iYear % 100);
  pctext_PrintCentred(sz, X(256), Y(77), kLayer);
  const std::int32_t c = history_QualifiedCountGet();
  Colour(255, 255, 255);
  for (std::int32_t i = mfhnews_oScreen.iFirstLine; i < c && i < mfhnews_oScreen.iLastLine; i++)
    pctext_PrintCentred(tla_NameGet(static_cast<std::int32_t>(history_QualifiedGet(i))), X(256),
                        Y(87 + kLineStep * (i - mfhnews_oScreen.iFirstLine)), kLayer);
  mfhnews_oScreen.cLines = c;
  return kWait;
}

bool IsKnockOut(const Round* r) {
  return r->uTieBreak == TB_AGG || r->uTieBreak == TB_AGG2 || r->uFormat == FMT_KO || r->uFormat == FMT_KO1 ||
         r->uFormat == FMT_KO2 || r->uFormat == FMT_KO3 || r->uFormat == FMT_KO4;
}

void TeamColour(std::uint32_t Name) {
  if (Name == Human()) Colour(0, 185, 245);
  else Colour(255, 255, 255);
}

// One round of the draw page from line *pn on.
void DrawRoundLines(const Round* r, bool bFirst, std::int32_t* pn) {
  std::int32_t& n = *pn;
  if (!bFirst) n += 2;
  if (LineY(n) >= 0) Colour(255, 255, 0);
  LineCentred(n++, r->szLongName);
  n++;
  if (!IsKnockOut(r)) {
    for (const TMTeam* t = r->pTeams; t; t = t->pNext) {
      if (!tmteam_IsProperName(t->Name)) continue;
      if (LineY(n) >= 0) TeamColour(t->Name);
      LineCentred(n++, tla_DisplayNameGet(static_cast<std::int32_t>(t->Name)));
    }
    return;
  }
  const TMTeam* a = r->pTeams;
  const TMTeam* b = a ? a->pNext : nullptr;
  const std::int32_t y = LineY(n);
  if (a && b) {
    // The tie as its first match is played, its home side first, as the
    // hub and the results give it: the fixtures' home sides are drawn by
    // lot, not in the order the round lists its teams.
    std::uint32_t A = a->Name, B = b->Name;
    if (const Fixture* f = history_FixtureGet(r, 0)) {
      A = history_FixtureTeamA(r, f);
      B = history_FixtureTeamB(r, f);
    }
    if (!tmteam_IsProperName(A) || !tmteam_IsProperName(B)) return;
    if (y >= 0) {
      TeamColour(A);
      pctext_PrintCentred(tla_DisplayNameGet(static_cast<std::int32_t>(A)), X(156), Y(y), kLayer);
      Colour(255, 255, 255);
      pctext_PrintCentred(Text(133), X(256), Y(y), kLayer);
      TeamColour(B);
      pctext_PrintCentred(tla_DisplayNameGet(static_cast<std::int32_t>(B)), X(356), Y(y), kLayer);
    }
    n++;
  } else if (a && tmteam_IsProperName(a->Name)) {
    if (y >= 0) TeamColour(a->Name);
    LineCentred(n++, tla_DisplayNameGet(static_cast<std::int32_t>(a->Name)));
  }
}

// The rounds of the draw page, group after group from the first of the
// fixture's round, inside the text window; the page's line count. Each
// group is listed once, though the order list holds an entry for every
// group whose round has no long name of its own. The line of the title of
// the round of group g in *piGroupLine, when asked.
std::int32_t DrawRoundsLines(const Round* r, const Group* g, std::int32_t* piGroupLine) {
  std::int32_t n = 0;
  bool bFirst = true;
  std::vector<const Group*> aListed;
  for (std::int32_t i = 0; i < mfhgroup_OrderListSize(); i++) {
    Round* pOrder = mfhgroup_OrderRoundGet(i);
    Group* pGroup = mfhgroup_OrderGroupGet(i);
    if (!pOrder || !pGroup || std::strcmp(pOrder->szName, r->szName) != 0) continue;
    for (const Group* p = pGroup; p; p = p->pNext) {
      const Round* q = p == pGroup ? pOrder : mfhgroup_GroupOfRound(p, pOrder);
      if (!q || std::find(aListed.begin(), aListed.end(), p) != aListed.end()) continue;
      aListed.push_back(p);
      if (p == g && piGroupLine) *piGroupLine = bFirst ? n : n + 2;
      DrawRoundLines(q, bFirst, &n);
      bFirst = false;
    }
  }
  return n + 1;
}

// The tournament a draw belongs to: an edition's qualifiers or its finals.
// Their rounds and groups take the same names from one to the next ("1" of
// "1"), so the draw page tells them apart by this too.
std::int32_t DrawStage() { return tmglobal.iYear * 2 + (tmglobal.bFinalsLoaded ? 1 : 0); }

// Codes 1 and 10: the rounds of the human team's next fixture, as drawn;
// each draw once.
Outcome DrawPage() {
  MFHNewsScreen& s = mfhnews_oScreen;
  MFHNewsMarkers& m = mfhnews_oMarkers;
  Round* r = nullptr;
  Fixture* f = nullptr;
  Confederation* c = nullptr;
  Group* g = nullptr;
  if (!history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human(), &r, &f, &c, &g) || !c || !g) {
    tmreport_Fault("bFlag", kSource);
    return kDone;
  }
  if (s.bFirstFrame) {
    if (m.iDrawStage == DrawStage() && std::strcmp(m.szDrawRound, r->szName) == 0 &&
        std::strcmp(m.szDrawGroup, g->szName) == 0)
      return kDone;
    std::snprintf(m.szDrawRound, sizeof m.szDrawRound, "%s", r->szName);
    std::snprintf(m.szDrawGroup, sizeof m.szDrawGroup, "%s", g->szName);
    m.iDrawStage = DrawStage();
  }
  mfhgroup_OrderListBuild(c);
  // The page opens on the human team's own group: laid out once unseen,
  // the text window then starts at its round's title (as far as the page's
  // lines allow) and the page is drawn.
  if (s.bFirstFrame) {
    const std::int32_t cVisible = s.iLastLine - s.iFirstLine;
    s.iFirstLine = s.iLastLine = 0;
    std::int32_t iHuman = 0;
    const std::int32_t cLines = DrawRoundsLines(r, g, &iHuman);
    s.iFirstLine = iHuman + cVisible <= cLines ? iHuman : (cLines > cVisible ? cLines - cVisible : 0);
    s.iLastLine = s.iFirstLine + cVisible;
  }
  s.cLines = DrawRoundsLines(r, g, nullptr);
  return kWait;
}

// The squads the player database did not give while this news runs, by
// team and edition, however many teams that is: not asked for again, so that
// a page drawn each frame over an unreadable database shows its error box
// once and goes on without them.
std::set<std::pair<std::uint32_t, std::int32_t>> s_aoMissing;

// Loads a team's squad of an edition into a squad-cache slot.
Squad* SquadLoad(std::uint32_t Team, std::int32_t iEdition, std::int32_t iSlot) {
  static std::uint8_t abBuffer[kSquadBuffer];
  if (Squad* p = squadcache_Find(static_cast<std::int32_t>(Team), iEdition)) {
    if (p == squadcache_SlotGet(iSlot)) return p;
  }
  if (s_aoMissing.count({Team, iEdition}) != 0) return nullptr;
  const ConferenceEntry* c = mteam_FindConferenceForYear(static_cast<std::int32_t>(Team), iEdition);
  if (!c) return nullptr;
  const SquadTeamRef o = {static_cast<std::int32_t>(Team), static_cast<std::int32_t>(c->uKey)};
  Squad* p = squadcache_Load(&o, iEdition, iSlot, abBuffer, kSquadBuffer);
  if (!p) s_aoMissing.insert({Team, iEdition});
  return p;
}

// Code 38: the human team's squad of the new edition becomes the home side.
// The away side lets go of its slot, which the squad changes page may have
// filled with another squad.
void HomeSideSetUp() {
  const std::int32_t h = tmglobal.iCurrentHuman;
  const std::int32_t e = tmglobal_EditionGet();
  if (h >= 0 && h < TM_HUMAN_MAX) mfhmain_aiHumanEdition[h] = e;
  Squad* p = SquadLoad(Human(), e, 0);
  const ConferenceEntry* c = mteam_FindConference(static_cast<std::int32_t>(Human()));
  if (!p || !c) return;
  match_SquadBuffersPoint();
  match_AwaySquadSet(nullptr);
  match_HomeSquadSet(p);
  MatchTeam* t = match_HomeTeamGet();
  t->SubRequest = -1;
  t->iFormation = -1;
  team_SetUp(mteam_FormationGet(c, e), t);
  team_NumbersFromSlots(t);
  team_FormationSave(t);
}

bool InSquad(const Squad* p, const char* pszName) {
  for (std::int32_t i = 0; p && i < p->Size; i++)
    if (std::strcmp(dbplayer_NameGet(&p->poFirstPlayer[i]), pszName) == 0) return true;
  return false;
}

// Code 0: the players who joined and left the human team's squad.
Outcome SquadChangesPage() {
  MFHNewsScreen& s = mfhnews_oScreen;
  const std::int32_t h = tmglobal.iCurrentHuman;
  const std::int32_t eOld = h >= 0 && h < TM_HUMAN_MAX ? mfhmain_aiHumanEdition[h] : -1;
  if (s.bFirstFrame) pcfmv_PlayById(formation_TableGet(1));
  const Squad* poOld = eOld >= 0 ? SquadLoad(s_uLastTeam ? s_uLastTeam : Human(), eOld, 1) : nullptr;
  const Squad* poNew = SquadLoad(Human(), tmglobal_EditionGet(), 0);
  std::int32_t n = 0;
  auto Line = [&](const char* psz, std::uint8_t g, std::uint8_t b) {
    if (LineY(n) >= 0) Colour(255, g, b);
    LineCentred(n++, psz);
  };
  bool bAny = false;
  for (std::int32_t i = 0; poNew && i < poNew->Size; i++) {
    const char* psz = dbplayer_NameGet(&poNew->poFirstPlayer[i]);
    if (InSquad(poOld, psz)) continue;
    if (!bAny) {
      Line(Text(308), 255, 0);
      Line(Text(309), 255, 0);
      bAny = true;
    }
    Line(psz, 255, 255);
  }
  n++;
  bAny = false;
  for (std::int32_t i = 0; poOld && i < poOld->Size; i++) {
    const char* psz = dbplayer_NameGet(&poOld->poFirstPlayer[i]);
    if (InSquad(poNew, psz)) continue;
    if (!bAny) {
      Line(Text(310), 255, 0);
      n++;
      bAny = true;
    }
    Line(psz, 255, 255);
  }
  s.cLines = n;
  return kWait;
}

// Code 37: the human team's squad page of the team sheet, coming back here;
// passes when the next fixture's sides cannot be prepared.
Outcome SquadPageOpen() {
  const std::int32_t h = tmglobal.iCurrentHuman;
  if (h < 0 || h >= TM_HUMAN_MAX || !mfhmain_MatchPrepare(tmgame_CurrentYearGet(), h, &tmglobal.aHumans[h]))
    return kDone;
  MatchTeam* t = mfhmain_poMatchTeamGet(Human());
  if (!t) return kDone;
  TacticsSide& ps = mteam_aoSides[0];
  ps.poTeamPlayerTeam = t;
  ps.iCursorItem = ps.iPage = kSquadPage;
  ps.iHighlightedFormation = ps.iCurrentFormation = team_FormationGet(t);
  ps.bListSetUp = 0;
  ps.poFirstChosen = ps.poSecondChosen = nullptr;
  mfhnews_bPending = 1;
  global_SetExtendedGameMode(static_cast<GameMode>(54));
  return HandOver(MTATICS_MODE);
}

void ExitDraw() {
  pctext_FontSet(1);
  Colour(200, 200, 0);
  pctext_PrintCentred(Text(IDS_FE_EXIT), X(428), Y(191), kLayer);
}

// "PLAYING MATCHES" in the middle of the page, while codes 23 and 43 play
// the tournament on.
void PlayingMatchesDraw() {
  pctext_FontSet(1);
  Colour(255, 255, 255);
  pctext_PrintCentred(Text(IDS_FE_HIST_PLAYING_MATCHES), X(256), Y(120), kLayer);
}

// Runs one code; pages draw themselves.
Outcome CodeRun(std::int32_t iCode) {
  MFHNewsScreen& s = mfhnews_oScreen;
  const std::int32_t h = tmglobal.iCurrentHuman;
  switch (iCode) {
    case 0: return SquadChangesPage();
    case 1:
    case 10: return DrawPage();
    case 2:
    case 11:
      if (iCode == 2) mhelp_QualPageDraw(MHELP_STYLE_SCREEN);
      else mhelp_FinalsPageDraw(MHELP_STYLE_SCREEN);
      return kWait;
    case 3:
    case 12:
      // Note A, then (after a confirm) note B; an edition without notes passes.
      if (s.iNote == 0 && !mhelp_bHasRuleChangeA()) s.iNote = 1;
      if (s.iNote == 1 && !mhelp_bHasRuleChangeB()) return kDone;
      if (s.iNote == 0) mhelp_RuleChangeADraw(nullptr, 0);
      else mhelp_RuleChangeBDraw(nullptr, 0);
      return kWait;
    case 5:
    case 14: return ResultsPage(1);
    case 6:
    case 15:
      if (!injuryg_bInjuryNewsGet()) return kDone;
      mfhnews_InjuriesPageDraw();
      return kWait;
    case 7:
    case 16:
      if (!injuryg_bSuspensionNewsGet()) return kDone;
      mfhnews_SuspensionsPageDraw();
      return kWait;
    case 8:
    case 17: return QualificationPage();
    case 9: return QualifiersPage();
    case 23:
      if (s.cFrames == 0) {
        PlayingMatchesDraw();
        s.bBlocked = 1;
        return kWait;
      }
      s.bBlocked = 0;
      if (std::int32_t iHome = 0, iAway = 0; mfhmain_ForcedScoreGet(&iHome, &iAway))
        tmglobal_NormalTimeScoreSet(iHome, iAway);
      tmgame_Step(tmgame_CurrentYearGet(), nullptr, h, tmglobal.bPlayQualifiers);
      tmgame_FixtureDateSettle();
      return kDone;
    case 24:
      if (!tmgame_FailedToQualifyGet(h)) return kDone;
      s.iPendingScript = MFHNEWS_FAILED;
      return HandOver(77);
    case 25:
      if (!tmgame_QualifiedGet(h)) return kDone;
      s.iPendingScript = MFHNEWS_QUALIFIED;
      return HandOver(76);
    case 26:
      if (!tmgame_EliminatedGet(h)) return kDone;
      s.iPendingScript = MFHNEWS_ELIMINATED;
      return HandOver(78);
    case 27:
      if (tmgame_IsPlayed3rdPlacePO(h) || (tmglobal.bTournamentOver && !tmgame_EliminatedGet(h)))
        s.iPendingScript = MFHNEWS_AFTER_FINAL;
      return kDone;
    case 28:
      if (tmglobal.bFinalsLoaded) tmreport_Fault("!bFinalsLoaded", kSource);
      else tmgame_YearFinish();
      return kDone;
    case 29:
      if (!tmglobal.bFinalsLoaded) {
        tmgame_YearFinish();
        QualifiersToFinals();
      }
      tmgame_YearFinish();
      return kDone;
    case 30:
      s.iPendingScript = tmglobal.bFinalsLoaded ? MFHNEWS_NEXT_FINALS : MFHNEWS_NEXT_QUALIFYING;
      return kDone;
    case 31: SimulateDueDays(); return kDone;
    case 32:
      if (mfhnews_oMarkers.iIntroYear == tmglobal.iYear) return kDone;
      mfhnews_oMarkers.iIntroYear = tmglobal.iYear;
      return HandOver(79);
    case 33: tmgame_WonSet(h, 1); return kDone;
    case 34:
      pctext_FontSet(1);
      Colour(255, 255, 255);
      pctext_PrintCentred(Text(IDS_FE_HIST_GAME_OVER), X(256), Y(120), kLayer);
      return kWait;
    case 35:
      mfhrole_bFromNews = 1;
      global_SetExtendedGameMode(static_cast<GameMode>(56));
      return HandOver(56);
    case 36:
      mfhgroup_bFromNews = 1;
      global_SetExtendedGameMode(static_cast<GameMode>(55));
      return HandOver(55);
    case 37: return SquadPageOpen();
    case 38: HomeSideSetUp(); return kDone;
    case 39: return HandOver(21);
    case 40: s.bShowExit = 0; return kDone;
    case 41: mhelp_ScreenHook(); return kDone;
    case 42:
      s.bShowExit = 0;
      mhelp_ScreenHook();
      return kDone;
    case 43:
      s.bBlocked = 1;
      if (s.cFrames < kEditionWait) {
        // The next edition's matches are played up to the human team's
        // first: the page says so while it waits.
        PlayingMatchesDraw();
        return kWait;
      }
      s.bBlocked = 0;
      NextEdition();
      return kDone;
    case 44: RollOfHonourFill(); return kDone;
    case 45: DayBeforeNextFixture(); return kDone;
    case 46:
      // The finals number the reserves too.
      QualifiersToFinals();
      if (MatchTeam* t = mfhmain_poMatchTeamGet(Human())) team_NumbersFromSlots(t);
      return kDone;
    case 47: pcfmv_PlayById(formation_TableGet(1)); return kDone;
    case 48: return HandOver(75);
    case 49: mfhnews_bPending = 0; return HandOver(47);
    default: return kDone;
  }
}

// The page's marks cleared as the script moves on from it.
void MarksClear(std::int32_t iCode) {
  if (iCode == 6 || iCode == 15) injuryg_InjuryChangedClear();
  if (iCode == 7 || iCode == 16) injuryg_SuspensionChangedClear();
}

void Advance() {
  MFHNewsScreen& s = mfhnews_oScreen;
  MarksClear(s.iPage);
  if (mfhnews_aaScripts[s.iScript][s.iPos] >= 0) s.iPos++;
  s.bFirstFrame = 1;
  s.cFrames = 0;
  s.cLines = 0;
  s.iNote = 0;
  WindowSet(MFHNEWS_WINDOW_LINES);
  mhelp_ScrollReset();
}

bool TitleOf(std::int32_t iCode, std::int32_t* pid) {
  static const std::int16_t kTitles[18] = {854, 852, 853, 861, 0, 855, 856, 857, 858, 859, 852, 853, 861, 0, 855, 856, 857, 858};
  if (iCode < 0 || iCode >= 18 || kTitles[iCode] == 0) return false;
  *pid = kTitles[iCode];
  return true;
}

}  // namespace

// ---- Injuries and suspensions ------------------------------------------------------

std::int32_t mfhnews_PlayerPageBuild(std::int32_t bSuspensions, MHelpEntry* pao,
                                     char (*pasz)[MFHNEWS_STRING_SIZE], std::int32_t* pcStrings) {
  std::int32_t cEntries = 0, cStrings = 0;
  MatchTeam* apoTeams[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
  auto Put = [&](std::int32_t id, std::int32_t iSpacing) {
    pao[cEntries++] = {static_cast<std::int16_t>(id), static_cast<std::int16_t>(iSpacing)};
  };
  // A text whose bracketed word (the player's name, the number of weeks or
  // months) takes its value in place: the value is shown once, where the
  // sentence has it, and the bracketed word not at all.
  auto PutFilled = [&](std::int32_t id, const char* pszValue, std::int32_t iSpacing) {
    festr_WordFill(Text(id), pszValue, pasz[cStrings++], MFHNEWS_STRING_SIZE);
    Put(MHELP_PAGE_STRING, iSpacing);
  };
  bool bFull = false;
  for (MatchTeam* t : apoTeams) {
    if (!t) continue;
    DBPlayer* apoLists[3] = {t->poPitchList, t->poBenchList, t->poReserveList};
    for (DBPlayer* po : apoLists)
      for (DBPlayer* p = po; p && !bFull; p = p->poNext) {
        if (!(bSuspensions ? dbplayer_SuspensionChangedGet(p) : dbplayer_InjuryChangedGet(p))) continue;
        const std::int32_t iType = dbplayer_InjuryTypeGet(p);
        const bool bLength = !bSuspensions && dbplayer_InjuredGet(p) && iType != 0;
        // A paragraph that would not fit ends the page (the end entry kept).
        const std::int32_t cNeed = bLength ? 3 : 1, cNeedStrings = bLength ? 2 : 1;
        bFull = cEntries + cNeed + 1 > MFHNEWS_PAGE_ENTRIES || cStrings + cNeedStrings > MFHNEWS_PAGE_STRINGS;
        if (bFull) break;
        const char* pszName = dbplayer_NameGet(p);
        if (bSuspensions) {
          PutFilled(dbplayer_SuspendedGet(p) ? 300 : 302, pszName, 2);
        } else if (!dbplayer_InjuredGet(p)) {
          PutFilled(287, pszName, 2);
        } else if (!bLength) {
          PutFilled(injuryg_aInjuryTypes[0].uTextId, pszName, 2);
        } else {
          PutFilled(injuryg_aInjuryTypes[iType].uTextId, pszName, -1);
          const std::int32_t w = (injuryg_InjuryDaysLeftGet(p) + 3) / 7;
          char sz[16];
          std::snprintf(sz, sizeof sz, "%d", w < 8 ? w : (2 * w) / 9);
          Put(w < 8 ? 296 : 298, -1);
          PutFilled(w < 8 ? 297 : 299, sz, 2);
        }
      }
  }
  Put(MHELP_PAGE_END, 0);
  *pcStrings = cStrings;
  return cEntries;
}

namespace {

void PlayerPageDraw(std::int32_t bSuspensions) {
  static MHelpEntry aoPage[MFHNEWS_PAGE_ENTRIES];
  static char aszStrings[MFHNEWS_PAGE_STRINGS][MFHNEWS_STRING_SIZE];
  std::int32_t cStrings = 0;
  mfhnews_PlayerPageBuild(bSuspensions, aoPage, aszStrings, &cStrings);
  const char* apsz[MFHNEWS_PAGE_STRINGS];
  for (std::int32_t i = 0; i < cStrings; i++) apsz[i] = aszStrings[i];
  mhelp_ScreenLayoutDrawArgs(aoPage, apsz, cStrings);
}

}  // namespace

void mfhnews_InjuriesPageDraw() {
  mfhnews_PageTitleDraw(6);
  PlayerPageDraw(0);
}

void mfhnews_SuspensionsPageDraw() {
  mfhnews_PageTitleDraw(7);
  PlayerPageDraw(1);
}

void mfhnews_PageTitleDraw(std::int32_t iCode) {
  std::int32_t id = 0;
  if (!TitleOf(iCode, &id)) return;
  pctext_FontSet(1);
  Colour(255, 255, 255);
  pctext_PrintLeft(Text(id), X(135), Y(42), kLayer);
}

// ---- The screen ------------------------------------------------------------------

void mfhnews_Reset() {
  MFHNewsScreen& s = mfhnews_oScreen;
  s.bNeedsEnter = 1;
  s.iPendingScript = -1;
  s.bBlocked = 0;
  s.iNextMode = MFHNEWS_MODE;
}

void mfhnews_NewsReset() {
  MFHNewsMarkers& m = mfhnews_oMarkers;
  m.iIntroYear = -1;
  for (std::int32_t i = 0; i < 3; i++) m.aiLast[i] = m.aiBefore[i] = 0;
  m.szDrawRound[0] = m.szDrawGroup[0] = 0;
  m.iDrawStage = -1;
  newqual_Clear(tmglobal.aNewQual);
  s_uLastTeam = 0;
  s_aoMissing.clear();
  mfhnews_oScreen.iPage = 49;
  mfhnews_oScreen.iPendingScript = -1;
}

// A loaded history comes back at the hub, after the news that showed the
// draw of the human team's next round: the draw page's markers are not in
// the save, so they are taken again from that round and its group.
void mfhnews_DrawMarkersRestore() {
  MFHNewsMarkers& m = mfhnews_oMarkers;
  m.szDrawRound[0] = m.szDrawGroup[0] = 0;
  m.iDrawStage = -1;
  Round* r = nullptr;
  Fixture* f = nullptr;
  Confederation* c = nullptr;
  Group* g = nullptr;
  if (!tmgame_CurrentYearGet() || !history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human(), &r, &f, &c, &g) ||
      !r || !g)
    return;
  std::snprintf(m.szDrawRound, sizeof m.szDrawRound, "%s", r->szName);
  std::snprintf(m.szDrawGroup, sizeof m.szDrawGroup, "%s", g->szName);
  m.iDrawStage = DrawStage();
}

void mfhnews_Enter() {
  MFHNewsScreen& s = mfhnews_oScreen;
  s.bNeedsEnter = 0;
  if (!mfhnews_bArrived) {
    const bool bStart = !tmglobal.bStarted;
    const std::int32_t cUnreadable = history_YearFilesUnreadableGet();
    mfhmain_HistoryBegin();
    if (bStart && history_YearFilesUnreadableGet() != cUnreadable) {
      // A year file of the edition could not be read (it was named): no
      // history begins, and the main menu shows the error box naming it
      // until the player presses a key.
      tmmain_PoolsReset();
      tmglobal.bStarted = 0;
      mfhmain_bYearLoaded = 0;
      pctext_ErrorBoxHold(history_YearFileUnreadableShortGet());
      global_SetExtendedGameMode(GAME_MODE_MAIN_MENU);
      s.iNextMode = GAME_MODE_RETURN_TO_MAIN_MENU;
      return;
    }
    tmglobal.iCurrentHuman = 0;
    s_aoMissing.clear();
    if (bStart) s.iScript = tmglobal.bFinalsLoaded ? MFHNEWS_START_FINALS : MFHNEWS_START_QUALIFYING;
    else s.iScript = tmglobal.bFinalsLoaded ? MFHNEWS_FINALS : MFHNEWS_QUALIFYING;
    s.iPos = 0;
    s.iPendingScript = -1;
  }
  mfhnews_bArrived = 0;
  s.iNextMode = MFHNEWS_MODE;
  mhelp_HelpShownClear();
  pcfmv_Stop();
  mregion_Reset();
  mregion_LayoutAdd(mhelp_aoLayout, MHELP_RECORDS, MHELP_RULES_SHEET);
  pcfe_ScreenSet(MHELP_RULES_SHEET);
  for (User& u : user_aUsers) {
    if (!u.bActive || !u.pip) continue;
    input_EventQueueFlush(&u.pip->oEvents);
    input_PortBindingSet(kBinding, u.pip);
  }
  s.bBlocked = 0;
  s.bFirstFrame = 1;
  s.iNote = 0;
  s.cFrames = 0;
  s.cLines = 0;
  WindowSet(MFHNEWS_WINDOW_LINES);
  mhelp_ScrollReset();
}

void mfhnews_Draw() {
  MFHNewsScreen& s = mfhnews_oScreen;
  s.bShowExit = 1;
  for (std::int32_t iGuard = 0; iGuard < 64; iGuard++) {
    if (s.iPendingScript >= 0) {
      s.iScript = s.iPendingScript;
      s.iPos = 0;
      s.iPendingScript = -1;
    }
    const std::int32_t iCode = mfhnews_aaScripts[s.iScript][s.iPos];
    if (iCode < 0) return;
    s.iPage = iCode;
    const Outcome o = CodeRun(iCode);
    if (o == kWait) {
      if (iCode != 6 && iCode != 15 && iCode != 7 && iCode != 16 && iCode != 23 && iCode != 34 && iCode != 43)
        mfhnews_PageTitleDraw(iCode);
      s.bFirstFrame = 0;
      s.cFrames++;
      break;
    }
    // On at the next code: the screen handed over to comes back with the
    // arrival flag and the script goes on from there.
    Advance();
    if (o == kHandOver) return;
    s.bPageDone = 1;
  }
  const bool bHelpPage = s.iPage == 2 || s.iPage == 11 || s.iPage == 3 || s.iPage == 12 || s.iPage == 6 ||
                         s.iPage == 15 || s.iPage == 7 || s.iPage == 16;
  const bool bUp = bHelpPage ? mhelp_bCanScrollUp() != 0 : s.iFirstLine > 0;
  const bool bDown = bHelpPage ? mhelp_bCanScrollDown() != 0 : s.iLastLine < s.cLines;
  if (bUp) mregion_DrawByName("yarrowu");
  if (bDown) mregion_DrawByName("yarrowd");
  if (s.bShowExit) ExitDraw();
  pctext_FontSet(0);
  mregion_DrawAll();
}

// The first team's column runs from a blank past the widest date ("30.12"
// at x 60) to 219, the second team's from 305 to 2 units (640 x 480) short
// of the reading panel's edge. Both take the narrower, so that a team reads
// alike on either side.
std::int32_t mfhnews_ResultNameRoom() {
  const std::int32_t iFirst = X(219) - X(60) - pctext_WidthGet("30.12 ");
  const std::int32_t iSecond = pcfe_ScaleX640(static_cast<std::int16_t>(MHELP_PANEL_X1 - 2)) - X(305);
  return std::min(iFirst, iSecond);
}

std::int32_t mfhnews_Input(User* poUser) {
  MFHNewsScreen& s = mfhnews_oScreen;
  if (!poUser || !poUser->pip) return MFHNEWS_MODE;
  std::int32_t e = 0;
  while (pcfe_bEventCodeNext(poUser, &e)) {
    if (s.bBlocked || s.iNextMode != MFHNEWS_MODE) continue;
    switch (e) {
      case 8:
        if (s.iFirstLine > 0) {
          s.iFirstLine--;
          s.iLastLine--;
        }
        mhelp_ScrollUp();
        break;
      case 9:
        if (s.iLastLine < s.cLines) {
          s.iFirstLine++;
          s.iLastLine++;
        }
        mhelp_ScrollDown();
        break;
      case 37:
      case 56:
        sfx_Play(1);
        if ((s.iPage == 3 || s.iPage == 12) && s.iNote == 0 && mhelp_bHasRuleChangeB()) {
          s.iNote = 1;
          mhelp_ScrollReset();
        } else {
          Advance();
        }
        break;
      default: break;
    }
  }
  return s.iNextMode;
}

void mfhnews_Run() {
  MFHNewsScreen& s = mfhnews_oScreen;
  if (s.bNeedsEnter) mfhnews_Enter();
  if (s.iNextMode == GAME_MODE_RETURN_TO_MAIN_MENU) {
    s.iNextMode = MFHNEWS_MODE;
    s.bNeedsEnter = 1;
    global_SetGameMode(GAME_MODE_RETURN_TO_MAIN_MENU);
    return;
  }
  mfhnews_Draw();
  User* poMenu = global_poGetMenuUser();
  pcfe_OtherUsersInputFlush(poMenu);
  const std::int32_t eNext = mfhnews_Input(poMenu);
  if (eNext == MFHNEWS_MODE) return;
  s.bNeedsEnter = 1;
  global_SetGameMode(static_cast<GameMode>(eNext));
}
