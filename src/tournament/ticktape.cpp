#include "tournament/ticktape.h"

#include <cstdio>
#include <cstring>

#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "framework/math/qrand.h"
#include "matchflow/gstatso.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/pause.h"
#include "shell/texts.h"
#include "shell/texts_data.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tla.h"
#include "tournament/tournament_services.h"
#include "engine/engine_services.h"

TickTape ticktape;

namespace {

constexpr std::int32_t kLayer = 3;
constexpr std::int32_t kSpeed = 3;

bool IsToday(const Round* r, const Fixture* f) {
  const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
  return d && d->cDay == global.iDay && d->cMonth == global.iMonth && d->cYear == global.iYear;
}

// A team's full name in the current language.
const char* FullName(std::uint32_t Team) {
  return Team < static_cast<std::uint32_t>(TLA_COUNT) ? tla_NameGet(static_cast<std::int32_t>(Team))
                                                       : tmteam_NameText(Team);
}

// The line's heading: the in-match "Latest Score" of the on-screen language
// without the blank its text ends with, and its colon as that language
// writes it (French sets it off with a non-breaking space, as its texts do).
void HeadingMake(char* psz, std::size_t cb) {
  const char* pszText = gstatso_StrGet(IDS_INGAME_LATEST_SCORE);
  std::size_t n = std::strlen(pszText);
  while (n > 0 && pszText[n - 1] == ' ') n--;
  std::snprintf(psz, cb, "%.*s%s", static_cast<int>(n), pszText,
                gstatso_LanguageGet() == LANGUAGE_FRENCH ? "\xA0:" : ":");
}

// The text, then its see-through band: a layer draws its items last given
// first, so the band goes down under the text.
void Draw() {
  pctext_FontSet(1);
  draw2d_TextColourSet(240, 240, 30, 255);
  pctext_PrintLeft(ticktape.szText, pcfe_ScaleX640(static_cast<std::int16_t>(ticktape.iX)), pcfe_ScaleY480(25),
                   kLayer);
  draw2d_FillColourSet(52, 52, 52, 0);
  draw2d_RectFill(0, pcfe_ScaleY480(22), pcfe_ScaleX640(640), pcfe_ScaleY480(14), kLayer);
}

}  // namespace

void history_GroupIndexFind(const Year* y, const Group* g) {
  std::int32_t i = 0;
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* p = c->pGroups; p; p = p->pNext, i++)
      if (p == g) {
        tmglobal_GroupIndexSet(i);
        return;
      }
  tmglobal_GroupIndexSet(0);
}

void ticktape_Init() {
  if (!tmglobal_TournamentMatchGet()) return;
  ticktape = TickTape{};
  const Year* y = tmgame_CurrentYearGet();
  std::int32_t i = 0;
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext, i++) {
      if (i != tmglobal_GroupIndexGet()) continue;
      for (const Round* r = g->pRounds; r; r = r->pNext)
        for (const Fixture* f = r->pFixtures; f && ticktape.cResults < TICKTAPE_RESULTS; f = f->pNext) {
          if (!(f->cFlags & FIX_PLAYED) || !(f->cFlags & FIX_SIMULATED) || !IsToday(r, f)) continue;
          TickResult& t = ticktape.aResults[ticktape.cResults++];
          t.TeamA = history_FixtureTeamA(r, f);
          t.TeamB = history_FixtureTeamB(r, f);
          t.uFinalA = f->cScoreA;
          t.uFinalB = f->cScoreB;
        }
    }
  // Without a result the ticker stays idle and draws no minutes, so the
  // match's own random sequence is left as it was.
  if (ticktape.cResults == 0) return;
  for (TickEvent& e : ticktape.aEvents) e.iMinute = QMathRandBetween(2, 90);
  for (std::int32_t r = 0; r < ticktape.cResults; r++)
    for (std::uint32_t side = 0; side < 2; side++) {
      const TickResult& t = ticktape.aResults[r];
      for (std::int32_t g = 0; g < (side ? t.uFinalB : t.uFinalA) && ticktape.cEvents < TICKTAPE_EVENTS; g++) {
        TickEvent& e = ticktape.aEvents[ticktape.cEvents++];
        e.uResult = static_cast<std::uint32_t>(r);
        e.uSide = side;
      }
    }
}

void ticktape_Update() {
  if (!tmglobal_TournamentMatchGet() || pause_bIsPaused()) return;
  TickTape& t = ticktape;
  switch (t.iState) {
    case 0:
      t.iEvent = 0;
      if (t.cEvents > 0) t.iState = 1;
      break;
    case 1: {
      const TickEvent& e = t.aEvents[t.iEvent];
      if (e.iMinute != -1 && clock_MinuteGet() >= e.iMinute) t.iState = 2;
      else t.iEvent = (t.iEvent + 1) % t.cEvents;
      break;
    }
    case 2: {
      TickEvent& e = t.aEvents[t.iEvent];
      e.iMinute = -1;
      TickResult& r = t.aResults[e.uResult];
      (e.uSide ? r.uShownB : r.uShownA)++;
      char szHeading[48];
      HeadingMake(szHeading, sizeof szHeading);
      std::snprintf(t.szText, sizeof(t.szText), "%s %s %d - %d %s", szHeading, FullName(r.TeamA), r.uShownA,
                    r.uShownB, FullName(r.TeamB));
      pctext_FontSet(1);
      t.iWidth = pctext_WidthGet(t.szText);
      t.iX = 640;
      t.iState = 3;
      break;
    }
    case 3:
      Draw();
      t.iX -= kSpeed;
      if (t.iX < -t.iWidth) t.iState = 1;
      break;
    default:
      tmreport_Fault("0", "Gen\\ticktape");
      break;
  }
}
