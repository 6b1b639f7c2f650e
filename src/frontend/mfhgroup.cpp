// The history groups and tables screen and its group-order list.
#include "frontend/mfhgroup.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "audio/audio_services.h"
#include "engine/formation.h"
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "frontend/pcfe.h"
#include "frontend/mfhgroup_layout.h"
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

std::int32_t mfhgroup_bFromNews = 0;

namespace {

struct OrderEntry {
  Group* pGroup;
  Round* pRound;
};
OrderEntry aOrderList[MAX_GROUP_ORDER_LIST_SIZE];
std::int32_t iGroupOrderListSize = 0;

// A round without a long name (most rounds of the year files) is never
// taken for one already listed: each group's round is listed.
bool LongNameListed(const Round* r) {
  if (r->szLongName[0] == '\0') return false;
  for (std::int32_t i = 0; i < iGroupOrderListSize; i++)
    if (std::strcmp(aOrderList[i].pRound->szLongName, r->szLongName) == 0) return true;
  return false;
}

}  // namespace

void mfhgroup_OrderListBuild(Confederation* pConf) {
  iGroupOrderListSize = 0;
  if (!pConf) return;
  static const char kFirst[] = "123456789:";
  for (const char* pc = kFirst; *pc; pc++)
    for (Group* g = pConf->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext) {
        if (r->szName[0] != *pc) continue;
        if (!LongNameListed(r)) {
          QDX_ASSERT(iGroupOrderListSize < MAX_GROUP_ORDER_LIST_SIZE);
          aOrderList[iGroupOrderListSize++] = {g, r};
        }
        break;  // only the group's first round of this character
      }
}

std::int32_t mfhgroup_OrderListSize() { return iGroupOrderListSize; }

Group* mfhgroup_OrderGroupGet(std::int32_t iGroup) {
  QDX_ASSERT(iGroup >= 0 && iGroup < iGroupOrderListSize);
  return aOrderList[iGroup].pGroup;
}

Round* mfhgroup_OrderRoundGet(std::int32_t iGroup) {
  QDX_ASSERT(iGroup >= 0 && iGroup < iGroupOrderListSize);
  return aOrderList[iGroup].pRound;
}

Round* mfhgroup_GroupOfRound(const Group* pGroup, const Round* pRound) {
  if (!pGroup || !pRound) return nullptr;
  for (Round* r = pGroup->pRounds; r; r = r->pNext)
    if (std::strcmp(r->szName, pRound->szName) == 0 && std::strcmp(r->szLongName, pRound->szLongName) == 0) return r;
  return nullptr;
}

// ---- Layouts, markers and the league table ---------------------------------------------

std::int32_t mfhgroup_LayoutGet(const Round* r) {
  if (r->uTieBreak == TB_AGG || r->uTieBreak == TB_AGG2) return MFHGROUP_LAYOUT_TWO_LEGS;
  switch (r->uFormat) {
    case FMT_KO: return MFHGROUP_LAYOUT_KO;
    case FMT_KO1: return MFHGROUP_LAYOUT_KO_REPLAY;
    case FMT_KO2: return MFHGROUP_LAYOUT_KO_REPEAT;
    case FMT_KO3: return MFHGROUP_LAYOUT_KO_PENS;
    case FMT_KO4: return MFHGROUP_LAYOUT_KO_GOLDEN;
    default: return MFHGROUP_LAYOUT_LEAGUE;
  }
}

std::uint32_t mfhgroup_MarkersGet(const Round* r, const Fixture* f) {
  if (!tmglobal_FixturePlayedGet(f)) return 0;
  const std::uint32_t uExtra = (f->cResult & RES_EXTRA) ? MFHGROUP_MARK_EXTRA : 0u;
  const std::uint32_t uPens = (f->cResult & RES_PENALTIES) ? MFHGROUP_MARK_PENALTIES : 0u;
  const std::uint32_t uLots = (f->cResult & RES_LOTS) ? MFHGROUP_MARK_COIN_TOSS : 0u;
  switch (mfhgroup_LayoutGet(r)) {
    case MFHGROUP_LAYOUT_TWO_LEGS:
    case MFHGROUP_LAYOUT_KO_PENS:
      return uExtra | uPens;
    case MFHGROUP_LAYOUT_KO:
    case MFHGROUP_LAYOUT_KO_REPEAT: return uExtra;
    case MFHGROUP_LAYOUT_KO_REPLAY: return uExtra | uLots;
    case MFHGROUP_LAYOUT_KO_GOLDEN:
      // Extra time in this format ends at the first goal.
      return (uExtra && f->cExtraA != f->cExtraB ? static_cast<std::uint32_t>(MFHGROUP_MARK_GOLDEN_GOAL) : 0u) | uPens;
    default: return 0;
  }
}

namespace {

// Ahead in the table: more points, then the better difference, then more goals.
bool Ahead(const TMTeam* a, const TMTeam* b) {
  const std::int32_t pa = history_TeamPointsGet(a), pb = history_TeamPointsGet(b);
  if (pa != pb) return pa > pb;
  const std::int32_t da = a->cFor - a->cAgainst, db = b->cFor - b->cAgainst;
  if (da != db) return da > db;
  return a->cFor > b->cFor;
}

}  // namespace

std::int32_t mfhgroup_LeagueSort(const Round* r, TMTeam** ap) {
  std::int32_t n = 0;
  for (TMTeam* t = r ? r->pTeams : nullptr; t; t = t->pNext) {
    QDX_ASSERT(n < MFHGROUP_TABLE_MAX);
    ap[n++] = t;
  }
  // An exchange sort of neighbours only: equal teams never pass each other.
  for (std::int32_t i = 0; i + 1 < n; i++)
    for (std::int32_t j = 0; j + 1 < n - i; j++)
      if (Ahead(ap[j + 1], ap[j])) {
        TMTeam* t = ap[j];
        ap[j] = ap[j + 1];
        ap[j + 1] = t;
      }
  return n;
}

// ---- The screen -------------------------------------------------------------------------

MFHGroupScreen mfhgroup_oScreen = {1, 0, 0, 0, MFHGROUP_VIEW_TABLE, 0, 0, 0, 0};

namespace {

constexpr std::int32_t kSheet = 11;  // "fhgt"
constexpr std::int32_t kMenuBinding = 42, kOtherBinding = 1;
constexpr std::int32_t kLayer = 1;
// Focus neighbours for up, down, left and right; -1 none.
constexpr std::int32_t kLinks[6][4] = {{5, 1, -1, -1}, {0, 3, -1, -1}, {-1, -1, -1, -1},
                                       {1, 5, 1, 5},   {3, 5, 3, 5},   {3, 0, 3, 0}};

std::uint32_t HumanName() {
  const std::int32_t i = tmglobal.iCurrentHuman;
  return i >= 0 && i < TM_HUMAN_MAX ? tmglobal.aHumans[i].Name : 0;
}

Year* ScreenYear() { return TheYearList ? tmgame_CurrentYearGet() : nullptr; }

Confederation* CurrentConf() { return history_ConfByIndexGet(ScreenYear(), mfhgroup_oScreen.iConf); }

const Round* CurrentRound() {
  const MFHGroupScreen& s = mfhgroup_oScreen;
  return s.iEntry < mfhgroup_OrderListSize() ? mfhgroup_OrderRoundGet(s.iEntry) : nullptr;
}

bool HasGroupName() {
  const MFHGroupScreen& s = mfhgroup_oScreen;
  return s.iEntry < mfhgroup_OrderListSize() && mfhgroup_OrderGroupGet(s.iEntry)->szName[0] != '\0';
}

// A round of a league has a table; the others show their results alone, and
// the view switch has nothing to switch to there.
bool HasTable() {
  const Round* r = CurrentRound();
  return r && mfhgroup_LayoutGet(r) == MFHGROUP_LAYOUT_LEAGUE;
}

bool ShowsTable() { return HasTable() && mfhgroup_oScreen.iView == MFHGROUP_VIEW_TABLE; }

bool ListsTeam(const Round* r, std::uint32_t Name) {
  for (const TMTeam* t = r->pTeams; t; t = t->pNext)
    if (t->Name == Name) return true;
  return false;
}

void ScrollsReset() {
  MFHGroupScreen& s = mfhgroup_oScreen;
  s.iTableRow = s.iTableTop = s.iResultsRow = s.iResultsTop = 0;
}

// The rows of the results: one per fixture, or one per tie of two legs.
std::int32_t ResultRowCount(const Round* r) {
  const std::int32_t n = history_FixtureCountGet(r);
  return mfhgroup_LayoutGet(r) == MFHGROUP_LAYOUT_TWO_LEGS ? (n + 1) / 2 : n;
}

std::int32_t ResultsWindow(const Round* r) {
  return mfhgroup_LayoutGet(r) == MFHGROUP_LAYOUT_TWO_LEGS ? MFHGROUP_LEGS_WINDOW : MFHGROUP_WINDOW;
}

// Selects the confederation and the entry of the last round, in tree order,
// that lists the team; false when none does.
bool LastRoundOfTeamSelect(Year* y, std::uint32_t Name) {
  MFHGroupScreen& s = mfhgroup_oScreen;
  std::int32_t iConf = -1, iEntry = 0, i = 0;
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext, i++) {
    mfhgroup_OrderListBuild(c);
    for (std::int32_t e = 0; e < mfhgroup_OrderListSize(); e++)
      if (ListsTeam(mfhgroup_OrderRoundGet(e), Name)) {
        iConf = i;
        iEntry = e;
      }
  }
  if (iConf < 0) return false;
  s.iConf = iConf;
  s.iEntry = iEntry;
  return true;
}

// The human team's round: that of its next fixture, otherwise (and when the
// news opened the screen) the last round that lists the team.
void EntrySelect() {
  MFHGroupScreen& s = mfhgroup_oScreen;
  s.iConf = 0;
  s.iEntry = 0;
  Year* y = ScreenYear();
  const std::uint32_t Name = HumanName();
  Round* r = nullptr;
  Fixture* f = nullptr;
  Confederation* c = nullptr;
  if (!mfhgroup_bFromNews && y && Name && history_FixtureFindByTeam(y, Name, &r, &f, &c)) {
    std::int32_t i = 0;
    for (Confederation* p = y->pConfs; p && p != c; p = p->pNext) i++;
    mfhgroup_OrderListBuild(c);
    std::int32_t e = -1;
    for (std::int32_t k = 0; k < mfhgroup_OrderListSize() && e < 0; k++)
      if (mfhgroup_OrderRoundGet(k) == r) e = k;
    for (std::int32_t k = 0; k < mfhgroup_OrderListSize() && e < 0; k++)
      if (std::strcmp(mfhgroup_OrderRoundGet(k)->szName, r->szName) == 0) e = k;
    if (e >= 0) {
      s.iConf = i;
      s.iEntry = e;
      return;
    }
  }
  if (!(y && Name && LastRoundOfTeamSelect(y, Name))) s.iConf = 0;
  mfhgroup_OrderListBuild(CurrentConf());
}

std::int32_t Leave(std::int32_t iSound) {
  sfx_Play(iSound);
  if (mfhgroup_bFromNews) {
    mfhgroup_bFromNews = 0;
    mfhnews_bArrived = 1;
    return GAME_MODE_NEWS;
  }
  // Back at the hub the history is the extended mode again.
  global_SetExtendedGameMode(static_cast<GameMode>(GAME_MODE_HISTORY));
  return 47;
}

// Whether the focus passes over a control: the group selector of a round
// without a group name, the view switch of a round without a table.
bool Passed(std::int32_t iFocus) {
  return (iFocus == MFHGROUP_FOCUS_GROUP && !HasGroupName()) || (iFocus == MFHGROUP_FOCUS_VIEW && !HasTable());
}

// Moves the focus; onto a control it passes over it goes on past it, up and
// left to the control above it, down and right to the one below.
bool FocusMove(std::int32_t iDir) {
  MFHGroupScreen& s = mfhgroup_oScreen;
  std::int32_t to = kLinks[s.iFocus][iDir];
  if (to < 0) return false;
  while (Passed(to)) {
    const bool bBack = iDir == 0 || iDir == 2;
    if (to == MFHGROUP_FOCUS_GROUP) to = bBack ? MFHGROUP_FOCUS_CONF : MFHGROUP_FOCUS_VIEW;
    else to = bBack ? MFHGROUP_FOCUS_GROUP : MFHGROUP_FOCUS_EXIT;
  }
  s.iFocus = to;
  sfx_Play(0);
  return true;
}

void Scroll(std::int32_t iDelta) {
  MFHGroupScreen& s = mfhgroup_oScreen;
  const Round* r = CurrentRound();
  if (!r) return;
  const bool bTable = ShowsTable();
  std::int32_t& row = bTable ? s.iTableRow : s.iResultsRow;
  std::int32_t& top = bTable ? s.iTableTop : s.iResultsTop;
  const std::int32_t n = bTable ? history_TeamCountGet(r) : ResultRowCount(r);
  const std::int32_t cWindow = bTable ? MFHGROUP_WINDOW : ResultsWindow(r);
  const std::int32_t to = row + iDelta;
  if (to < 0 || to >= n) return;
  row = to;
  if (row < top) top = row;
  if (row >= top + cWindow) top = row - cWindow + 1;
  sfx_Play(0);
}

void Step(std::int32_t iDelta) {
  MFHGroupScreen& s = mfhgroup_oScreen;
  if (s.iFocus == MFHGROUP_FOCUS_CONF) {
    const std::int32_t to = s.iConf + iDelta;
    if (to < 0 || to >= history_ConfCountGet(ScreenYear())) return;
    s.iConf = to;
    s.iEntry = 0;
    mfhgroup_OrderListBuild(CurrentConf());
  } else if (s.iFocus == MFHGROUP_FOCUS_GROUP) {
    const std::int32_t to = s.iEntry + iDelta;
    if (to < 0 || to >= mfhgroup_OrderListSize()) return;
    s.iEntry = to;
  } else {
    return;
  }
  ScrollsReset();
  sfx_Play(0);
}

// ---- Drawing ------------------------------------------------------------------------------

std::int32_t SX(std::int32_t x) { return pcfe_ScaleX640(static_cast<std::int16_t>(x)); }
std::int32_t SY(std::int32_t y) { return pcfe_ScaleY480(static_cast<std::int16_t>(y)); }
void Colour(std::uint8_t r, std::uint8_t g, std::uint8_t b) { draw2d_TextColourSet(r, g, b, 255); }
void Left(const char* psz, std::int32_t x, std::int32_t y) { pctext_PrintLeft(psz, SX(x), SY(y), kLayer); }
// A team by its team-name id fitted to the room it has (640 x 480 units); a
// place still to be decided shows its code.
void NameLeft(std::uint32_t Name, std::int32_t x, std::int32_t y, std::int32_t iRoom) {
  const PCFEFitted o(tla_NamesOf(Name), SX(static_cast<std::int16_t>(iRoom)));
  pctext_PrintLeft(o.c_str(), SX(x), SY(y), kLayer);
}
void NameRight(std::uint32_t Name, std::int32_t x, std::int32_t y, std::int32_t iRoom) {
  const PCFEFitted o(tla_NamesOf(Name), SX(static_cast<std::int16_t>(iRoom)));
  pctext_PrintRight(o.c_str(), SX(x), SY(y), kLayer);
}
void Centred(const char* psz, std::int32_t x, std::int32_t y) { pctext_PrintCentred(psz, SX(x), SY(y), kLayer); }
void Sprite(const char* pszName, std::int32_t x, std::int32_t y) { mregion_DrawAtByName(pszName, SX(x), SY(y)); }
void Bar(std::int32_t x, std::int32_t y, std::int32_t w) {
  draw2d_FillColourSet(150, 168, 200, 255);
  draw2d_RectFill(SX(x), SY(y), SX(w), SY(3) > 0 ? SY(3) : 1, kLayer);
}
void FocusColour(std::int32_t iFocus) {
  if (mfhgroup_oScreen.iFocus == iFocus) Colour(255, 255, 0);
  else Colour(200, 200, 200);
}

constexpr std::int32_t kColumnX[7] = {330, 365, 400, 435, 470, 505, 548};
// A row's name runs from x 76 to 18 short of the first column.
static_assert(MFHGROUP_TABLE_NAME_ROOM == kColumnX[0] - 76 - 18);

void TableDraw(const Round* r) {
  const MFHGroupScreen& s = mfhgroup_oScreen;
  static const std::int32_t kTitles[7] = {IDS_FE_GRP_PLAYED, IDS_FE_GRP_WON, IDS_FE_GRP_DRAWN, IDS_FE_GRP_LOST,
                                          IDS_FE_GRP_FOR, IDS_FE_GRP_AGAINST, IDS_FE_GRP_POINTS};
  mregion_DrawByName("Results1");
  Colour(255, 255, 0);
  for (std::int32_t i = 0; i < 7; i++) Centred(festr_IDToStr(kTitles[i]), kColumnX[i], 121);
  TMTeam* ap[MFHGROUP_TABLE_MAX];
  const std::int32_t n = mfhgroup_LeagueSort(r, ap);
  static const char* const kPanels[MFHGROUP_WINDOW] = {"League1", "League2", "League3", "League4", "League5"};
  for (std::int32_t k = 0; k < MFHGROUP_WINDOW && s.iTableTop + k < n; k++) {
    const std::int32_t y = mfhgroup_aoLayout[4 + k].y;
    mregion_DrawByName(kPanels[k]);
    const TMTeam* t = ap[s.iTableTop + k];
    if (!tmteam_IsProperName(t->Name)) continue;  // a placeholder: an empty row
    if (s.iFocus == MFHGROUP_FOCUS_AREA && s.iTableTop + k == s.iTableRow) Colour(255, 255, 255);
    else Colour(170, 170, 170);
    NameLeft(t->Name, 76, y + 10, MFHGROUP_TABLE_NAME_ROOM);
    const std::int32_t v[7] = {t->cPlayed, t->cWon, t->cDrawn, t->cLost, t->cFor, t->cAgainst, history_TeamPointsGet(t)};
    char sz[12];
    for (std::int32_t i = 0; i < 7; i++) {
      std::snprintf(sz, sizeof sz, "%d", v[i]);
      Centred(sz, kColumnX[i], y + 10);
    }
  }
  if (s.iTableTop > 0) mregion_DrawByName("YArwU");
  if (s.iTableTop + MFHGROUP_WINDOW < n) mregion_DrawByName("YArwD");
}

void MarkersPrint(std::uint32_t uMarks, std::int32_t x, std::int32_t y) {
  static const std::int32_t kIds[4] = {IDS_FE_GRP_EXTRA_TIME, IDS_FE_GRP_PENALTIES, IDS_FE_GRP_COIN_TOSS,
                                       IDS_FE_GRP_GOLDEN_GOAL};
  Colour(255, 255, 0);
  for (std::int32_t i = 0; i < 4; i++)
    if (uMarks & (1u << i)) {
      Left(festr_IDToStr(kIds[i]), x, y);
      x += pctext_WidthGet(festr_IDToStr(kIds[i])) * 640 / (SX(640) > 0 ? SX(640) : 640) + 6;
    }
}

// The current font's cell height in 640 x 480 units, rounded up.
std::int32_t TextHeight() {
  const std::int32_t h = SY(480) > 0 ? SY(480) : 480;
  return (pctext_HeightGet() * 480 + h - 1) / h;
}

// A text's cell is drawn from 3 units over the point it is printed at: a
// name printed at a row's y fills its score box's height from y - 3. The
// date over the box is printed one cell higher, so that its cell ends where
// the box begins, and the bar parting the row from the one above lies just
// over the date's cell.
std::int32_t DateY(std::int32_t y) { return y - TextHeight(); }
std::int32_t RowBarY(std::int32_t y) { return DateY(y) - 3 - 3; }

// The score box over which a row's texts are printed.
constexpr const FrontEndLayoutRecord& kCover = mfhgroup_aoLayout[13];
static_assert(std::string_view(kCover.pszName) == "ScoreCov");

// The rows of the results, from y 164: a fixture a row, 56 apart; a tie of
// two legs has the line of its aggregate under its score boxes, its cell
// beginning where they end, and so its rows lie further apart, the bar
// parting them clear of the aggregate above and of the dates below.
constexpr std::int32_t kFirstRowY = 164, kRowPitch = 56, kLegsRowPitch = 68;
std::int32_t AggregateY(std::int32_t y) { return y - 3 + kCover.h + 3; }

// One fixture in a row: the date while unplayed, the names, the score.
// iRoom: the width each name may take (640 x 480 units).
void FixturePrint(const Round* r, const Fixture* f, std::int32_t xA, std::int32_t xScore, std::int32_t xB,
                  std::int32_t y, const char* pszCover, std::int32_t iRoom) {
  char sz[24];
  if (!tmglobal_FixturePlayedGet(f)) {
    const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
    if (d) {
      std::snprintf(sz, sizeof sz, "%02d/%02d/%02d", d->cDay, d->cMonth, d->cYear);
      Colour(150, 150, 150);
      Centred(sz, xScore, DateY(y));
    }
  }
  Colour(200, 200, 200);
  NameRight(history_FixtureTeamA(r, f), xA, y, iRoom);
  NameLeft(history_FixtureTeamB(r, f), xB, y, iRoom);
  Sprite(pszCover, xScore - kCover.w / 2, y - 3);
  if (tmglobal_FixturePlayedGet(f)) {
    std::snprintf(sz, sizeof sz, "%d - %d", f->cScoreA + f->cExtraA, f->cScoreB + f->cExtraB);
    Colour(255, 255, 255);
    Centred(sz, xScore, y);
  }
}

// A team's goals in a fixture (extra time's with them); 0 when it does not play in it.
std::int32_t GoalsOf(const Round* r, const Fixture* f, std::uint32_t Name) {
  if (history_FixtureTeamA(r, f) == Name) return f->cScoreA + f->cExtraA;
  if (history_FixtureTeamB(r, f) == Name) return f->cScoreB + f->cExtraB;
  return 0;
}

void ResultsDraw(const Round* r) {
  const MFHGroupScreen& s = mfhgroup_oScreen;
  const std::int32_t iLayout = mfhgroup_LayoutGet(r);
  const bool bLegs = iLayout == MFHGROUP_LAYOUT_TWO_LEGS;
  const std::int32_t n = ResultRowCount(r), cWindow = ResultsWindow(r);
  if (bLegs) {
    mregion_DrawByName("Leg1");
    mregion_DrawByName("Leg2");
    Colour(255, 255, 0);
    Centred(festr_IDToStr(IDS_FE_GRP_FIRST_LEG), 188, 121);
    Centred(festr_IDToStr(IDS_FE_GRP_SECOND_LEG), 452, 121);
  } else {
    mregion_DrawByName("Results");
  }
  for (std::int32_t k = 0; k < cWindow && s.iResultsTop + k < n; k++) {
    const std::int32_t iRow = s.iResultsTop + k, y = kFirstRowY + (bLegs ? kLegsRowPitch : kRowPitch) * k;
    // The ties of two legs are printed in the small font: the bar lies over
    // the dates' cells in it.
    pctext_FontSet(bLegs ? 0 : 1);
    if (k > 0) Bar(70, RowBarY(y), 500);
    if (!bLegs) {
      const Fixture* f = history_FixtureGet(r, iRow);
      FixturePrint(r, f, 290, 320, 350, y, "ScoreCov", MFHGROUP_RESULT_NAME_ROOM);
      MarkersPrint(mfhgroup_MarkersGet(r, f), 520, y);
      continue;
    }
    const Fixture* f1 = history_FixtureGet(r, 2 * iRow);
    const Fixture* f2 = history_FixtureGet(r, 2 * iRow + 1);
    FixturePrint(r, f1, 154, 188, 222, y, "ScoreCov", MFHGROUP_LEG_NAME_ROOM);
    if (f2) {
      FixturePrint(r, f2, 418, 452, 486, y, "ScoreCov_1", MFHGROUP_LEG_NAME_ROOM);
      if (tmglobal_FixturePlayedGet(f1) && tmglobal_FixturePlayedGet(f2)) {
        // Under the second leg, in its order: its home side's goals first.
        const std::uint32_t A = history_FixtureTeamA(r, f2), B = history_FixtureTeamB(r, f2);
        char sz[24];
        std::snprintf(sz, sizeof sz, "%s %d - %d", festr_IDToStr(IDS_FE_GRP_AGGREGATE), GoalsOf(r, f1, A) + GoalsOf(r, f2, A),
                      GoalsOf(r, f1, B) + GoalsOf(r, f2, B));
        Colour(255, 255, 0);
        Centred(sz, 452, AggregateY(y));
      }
      MarkersPrint(mfhgroup_MarkersGet(r, f2), 500, AggregateY(y));
    }
  }
  pctext_FontSet(1);
  if (s.iResultsTop > 0) mregion_DrawByName("YArwU");
  if (s.iResultsTop + cWindow < n) mregion_DrawByName("YArwD");
}

}  // namespace

void mfhgroup_Reset() {
  MFHGroupScreen& s = mfhgroup_oScreen;
  s.bNeedsEnter = 1;
  s.iFocus = MFHGROUP_FOCUS_CONF;
  s.iView = MFHGROUP_VIEW_TABLE;
  ScrollsReset();
}

void mfhgroup_Enter() {
  MFHGroupScreen& s = mfhgroup_oScreen;
  mhelp_HelpShownClear();
  pcfmv_Stop();
  s.bNeedsEnter = 0;
  User* poMenu = global_poGetMenuUser();
  for (User& u : user_aUsers) {
    if (u.bActive != 1 || !u.pip) continue;
    input_EventQueueFlush(&u.pip->oEvents);
    input_PortBindingSet(&u == poMenu ? kMenuBinding : kOtherBinding, u.pip);
  }
  mregion_Reset();
  mregion_LayoutAdd(mfhgroup_aoLayout, MFHGROUP_LAYOUT_RECORDS, kSheet);
  pcfe_ScreenSet(kSheet);
  pcfmv_PlayById(formation_TableGet(1));
  s.iFocus = MFHGROUP_FOCUS_CONF;
  s.iView = MFHGROUP_VIEW_TABLE;
  EntrySelect();
  ScrollsReset();
}

void mfhgroup_Draw() {
  const MFHGroupScreen& s = mfhgroup_oScreen;
  for (const char* psz : {"Layer4", "Layer8", "Layer7", "Layer5"}) mregion_DrawByName(psz);
  pctext_FontSet(1);
  const Confederation* c = CurrentConf();
  const Round* r = CurrentRound();
  FocusColour(MFHGROUP_FOCUS_CONF);
  if (c) Centred(c->szName, 320, 51);
  if (s.iFocus == MFHGROUP_FOCUS_CONF) {
    if (s.iConf > 0) mregion_DrawByName("YArwLU");
    if (s.iConf + 1 < history_ConfCountGet(ScreenYear())) mregion_DrawByName("YArwRU");
  }
  if (r) {
    char sz[96];
    const Group* g = mfhgroup_OrderGroupGet(s.iEntry);
    std::snprintf(sz, sizeof sz, "%s%s%s", g->szName, g->szName[0] && r->szLongName[0] ? "  " : "", r->szLongName);
    FocusColour(MFHGROUP_FOCUS_GROUP);
    Centred(sz, 320, 85);
    if (s.iFocus == MFHGROUP_FOCUS_GROUP) {
      if (s.iEntry > 0) mregion_DrawByName("YArwLL");
      if (s.iEntry + 1 < mfhgroup_OrderListSize()) mregion_DrawByName("YArwRL");
    }
    if (ShowsTable()) TableDraw(r);
    else ResultsDraw(r);
  }
  // The switch names the view it turns to; a round without a table has none
  // to turn to, and the switch stands greyed, passed over by the focus.
  if (!HasTable()) {
    Colour(80, 80, 80);
    Centred(festr_IDToStr(IDS_FE_HIST_GROUP_TABLES), 230, 434);
  } else {
    FocusColour(MFHGROUP_FOCUS_VIEW);
    Centred(festr_IDToStr(s.iView == MFHGROUP_VIEW_TABLE ? IDS_FE_RESULTS : IDS_FE_HIST_GROUP_TABLES), 230, 434);
  }
  FocusColour(MFHGROUP_FOCUS_EXIT);
  Centred(festr_IDToStr(IDS_FE_EXIT), 430, 434);
  pctext_FontSet(0);
}

std::int32_t mfhgroup_Input(User* poUser) {
  MFHGroupScreen& s = mfhgroup_oScreen;
  std::int32_t eNext = MFHGROUP_MODE;
  if (!poUser || !poUser->pip) return eNext;
  // The escape key comes from the keyboard, not from the queue, once a press.
  if (pcfe_bEscapeLastKey()) {
    input_EventQueueFlush(&poUser->pip->oEvents);
    return Leave(2);
  }
  std::int32_t eCode = 0;
  while (eNext == MFHGROUP_MODE && pcfe_bEventCodeNext(poUser, &eCode)) {
    switch (eCode) {
      case 8:
      case 9:
        if (!FocusMove(eCode - 8) && s.iFocus == MFHGROUP_FOCUS_AREA) Scroll(eCode == 8 ? -1 : 1);
        break;
      case 10:
      case 11:
        if (!FocusMove(eCode - 8)) Step(eCode == 10 ? -1 : 1);
        break;
      case 37:
        switch (s.iFocus) {
          case MFHGROUP_FOCUS_CONF:
            s.iFocus = HasGroupName() ? MFHGROUP_FOCUS_GROUP : MFHGROUP_FOCUS_AREA;
            sfx_Play(1);
            break;
          case MFHGROUP_FOCUS_GROUP: s.iFocus = MFHGROUP_FOCUS_AREA; sfx_Play(1); break;
          // From the table or the results select goes on to Exit, so that a
          // player pressing select alone comes to leave the screen.
          case MFHGROUP_FOCUS_AREA: s.iFocus = MFHGROUP_FOCUS_EXIT; sfx_Play(1); break;
          case MFHGROUP_FOCUS_VIEW:
            if (!HasTable()) break;
            s.iView = s.iView == MFHGROUP_VIEW_TABLE ? MFHGROUP_VIEW_RESULTS : MFHGROUP_VIEW_TABLE;
            ScrollsReset();
            sfx_Play(1);
            break;
          case MFHGROUP_FOCUS_EXIT: eNext = Leave(1); break;
          default: break;
        }
        break;
      case 38:
        if (s.iFocus == MFHGROUP_FOCUS_AREA) {
          s.iFocus = HasGroupName() ? MFHGROUP_FOCUS_GROUP : MFHGROUP_FOCUS_CONF;
          s.iResultsRow = s.iResultsTop = 0;
          sfx_Play(2);
        } else {
          eNext = Leave(2);
        }
        break;
      case 56: eNext = Leave(1); break;
      case 152: eNext = Leave(2); break;
      case 157: {
        // Confederation, group, view switch and round again, past the
        // controls the focus passes over.
        static constexpr std::int32_t kCycle[3] = {MFHGROUP_FOCUS_CONF, MFHGROUP_FOCUS_GROUP, MFHGROUP_FOCUS_VIEW};
        std::int32_t i = s.iFocus == MFHGROUP_FOCUS_CONF ? 0 : (s.iFocus == MFHGROUP_FOCUS_GROUP ? 1 : 2);
        do i = (i + 1) % 3;
        while (Passed(kCycle[i]));
        s.iFocus = kCycle[i];
        sfx_Play(1);
        break;
      }
      case 114: mhelp_HelpShownToggle(); break;
      default: break;
    }
  }
  return eNext;
}

void mfhgroup_Run() {
  MFHGroupScreen& s = mfhgroup_oScreen;
  if (s.bNeedsEnter) mfhgroup_Enter();
  mfhgroup_Draw();
  mhelp_ScreenHook();
  User* poMenu = global_poGetMenuUser();
  std::int32_t eNext = MFHGROUP_MODE;
  if (mhelp_bHelpShownGet()) {
    for (User& u : user_aUsers)
      if (u.bActive == 1 && u.pip) mhelp_Input(&u);
  } else if (poMenu && poMenu->bActive == 1 && poMenu->pip) {
    eNext = mfhgroup_Input(poMenu);
  }
  pcfe_OtherUsersInputFlush(poMenu);
  if (eNext == MFHGROUP_MODE) return;
  s.bNeedsEnter = 1;
  global_SetGameMode(static_cast<GameMode>(eNext));
}
